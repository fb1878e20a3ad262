// The main page: start-up, tabs, child pages, tooltips and the closing
// sequence. Its decisions are in main_page_logic; this file carries them
// out with the platform.
#include "cpl/frame/main_page.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/direct_input.h"
#include "cpl/frame/gdi_tally.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/pages/preset_list.h"
#include "cpl/res/cpl_resource.h"
#include "driver/discovery.h"
#include "driver/host_win32.h"
#include "preset/file_system.h"
#include "preset/os_level.h"
#include "preset/preset_file.h"
#include "preset/program_messages.h"

namespace zentra {

namespace {

MainPageState g_page;

// The order in which the closing sequence destroys the child pages.
constexpr int kDestroyOrder[kTabCount] = {kTabPov, kTabTest, kTabAxis, kTabPresets, kTabButtons};

constexpr int kNotPresetFileString = 53;
constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT, newer headers only

// The control panel tells the user that a file is not a preset file.
class PanelPresetNotice : public PresetFileNotice {
public:
    void notPresetFile(OwnerWindow owner) override {
        char text[256];
        if (!LoadLocalizedString(cplModuleInstance(), kNotPresetFileString, UiLanguage, text, sizeof text)) text[0] = 0;
        MessageBoxA(static_cast<HWND>(owner), text, nullptr, MB_OK);
    }
};

HWND tabWindow(int id) { return GetDlgItem(g_page.page, id); }

void repaintTab(int id) {
    if (HWND tab = tabWindow(id)) InvalidateRect(tab, nullptr, FALSE);
}

// The tab whose window is `window`, or 0.
int tabOf(HWND window) {
    if (!window || GetParent(window) != g_page.page) return 0;
    const int id = GetDlgCtrlID(window);
    return findTab(id) ? id : 0;
}

// The shared bitmaps and where the page keeps each.
struct SharedBitmap {
    int id;
    HBITMAP MainPageState::*place;
};
constexpr SharedBitmap kSharedBitmaps[] = {{IDB_CPL_SKIN, &MainPageState::skin},
                                           {IDB_CPL_PRESETS_PAGE, &MainPageState::presetsBackground},
                                           {IDB_CPL_TEST_PAGE, &MainPageState::testBackground},
                                           {IDB_CPL_BUTTON_PAGE, &MainPageState::configBackground}};

// The shared bitmaps for the scale, in their order: at 96 DPI (and where a
// set's bitmap has the room's size already) loaded here; otherwise made at
// the room's size here, and loaded and brought to it by a worker while the
// page starts and the sheet draws itself (sharedBitmap waits for it).
void loadSharedBitmaps() {
    int ids[std::size(kSharedBitmaps)];
    HBITMAP loaded[std::size(kSharedBitmaps)];
    for (size_t i = 0; i < std::size(kSharedBitmaps); ++i) ids[i] = kSharedBitmaps[i].id;
    g_page.skinFitting = StartSkinBitmaps(ids, loaded, int(std::size(kSharedBitmaps)));
    for (size_t i = 0; i < std::size(kSharedBitmaps); ++i) g_page.*kSharedBitmaps[i].place = gdiTallied(loaded[i]);
}

void deleteSharedBitmaps() {
    EndSkinBitmaps(g_page.skinFitting);
    for (const SharedBitmap& shared : kSharedBitmaps) gdiDelete(g_page.*shared.place);
}

// Step 2 of the start: OsLevel and the "Driver" text.
int takeOsLevel() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return 3;
    const bool nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    if (const char* name = windowsGenerationName(nt, version.dwMajorVersion, version.dwMinorVersion))
        panelRegistry().writeRegString(kProductKey, kDriverValue, name);
    return computeOsLevel(int(version.dwPlatformId), version.dwMajorVersion, version.dwMinorVersion);
}

// The clip to the first place where its file can be made: any old file is
// deleted, the resource's bytes written in one call, both times set to the
// fixed stamp. False when there is no resource or no file could be written.
bool writeVideoFile(const std::string& path) {
    HINSTANCE instance = cplModuleInstance();
    // The clip drawn for the panel's picture set, else the 100 % one.
    HRSRC found = nullptr;
    for (const skin::PictureSet& set : skin::kPictureSets)
        if (set.percent == skinScale().percent && set.idOffset)
            found = FindResourceA(instance, MAKEINTRESOURCEA(IDR_CPL_WHEEL_AVI + set.idOffset), "AVI");
    if (!found) found = FindResourceA(instance, MAKEINTRESOURCEA(IDR_CPL_WHEEL_AVI), "AVI");
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(instance, found) : 0;
    if (!bytes || size == 0) return false;
    DeleteFileA(path.c_str());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_FLAG_WRITE_THROUGH | FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    const SYSTEMTIME stamp{kVideoFileStamp.year, kVideoFileStamp.month, 0, kVideoFileStamp.day,
                           kVideoFileStamp.hour, kVideoFileStamp.minute, kVideoFileStamp.second, 0};
    FILETIME time;
    if (ok && SystemTimeToFileTime(&stamp, &time)) SetFileTime(file, &time, nullptr, &time);
    CloseHandle(file);
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

void writeVideo() {
    char windows[256] = "", temp[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    GetTempPathA(sizeof temp, temp);
    const std::vector<std::string> paths = videoPathCandidates(windows, temp);
    for (const std::string& path : paths) {
        if (path.size() >= sizeof g_page.videoPath) continue;
        if (writeVideoFile(path)) {
            std::snprintf(g_page.videoPath, sizeof g_page.videoPath, "%s", path.c_str());
            return;
        }
    }
}

// Steps 15 and 16 of the start: the preset table from "TemporaryFile", or a
// single default preset and a new temporary path.
void loadPresets() {
    PanelState& state = panelState();
    Registry& registry = panelRegistry();
    const std::string defaultPath =
        defaultTemporaryPresetPath(g_page.osLevel, std::getenv("temp"), std::getenv("SystemRoot"));
    PanelPresetNotice notice;
    const char* stored = registry.readRegString(kPanelKey, kTemporaryFileValue);
    const std::string path = stored ? stored : "";
    if (stored && loadPresetFile(g_page.page, path.c_str(), state.table, platformFileSystem(), &notice) == 0) {
        state.currentIndex =
            startingPresetIndex(registry.readRegDword(kPanelKey, kLastIndexValue), state.table.presetCount);
        // A file without presets is the user's (every preset deleted): it
        // stays so, and the preset worked on is the default one.
        if (state.table.presetCount > 0)
            copyPreset(state.currentPreset, state.table.presets[state.currentIndex]);
        else
            resetPreset(state.currentPreset, Deliverable::Panel);
    } else {
        resetPreset(state.currentPreset, Deliverable::Panel);
        copyPreset(state.table.presets[0], state.currentPreset);
        state.table.presetCount = 1;
        state.currentIndex = 0;
        registry.writeRegString(kPanelKey, kTemporaryFileValue, defaultPath.c_str());
    }
    forgetUndo(presetLists());
    g_page.presetsLoaded = true;
}

// The message hook: mouse messages for the page's controls go to the
// tooltip too.
LRESULT CALLBACK relayMouseToTooltip(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_page.tooltip && IsWindow(g_page.tooltip)) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        switch (message->message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            if (IsChild(g_page.page, message->hwnd)) {
                MSG copy = *message;
                SendMessageA(g_page.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
            }
            break;
        default: break;
        }
    }
    return CallNextHookEx(g_page.hook, code, wParam, lParam);
}

void shapePresetsTab();

void createTabs(uint32_t isEmulationDevice) {
    for (const TabInfo& tab : kTabs) {
        if (!tabCreated(tab, isEmulationDevice)) continue;
        CreateFlatButton(g_page.page, tab.place.left, tab.place.top, tab.place.right - tab.place.left,
                         tab.place.bottom - tab.place.top, tab.id);
    }
    shapePresetsTab();
    // The game's icon shows through the presets tab's hole; without that
    // tab there is nothing for it to show through.
    CreateScaledWindow(0, "CUSTOMICON", WS_CHILD | (tabWindow(kTabPresets) ? WS_VISIBLE : 0), kGameIconPlace.left,
                       kGameIconPlace.top, kGameIconPlace.right - kGameIconPlace.left,
                       kGameIconPlace.bottom - kGameIconPlace.top, g_page.page, kGameIconId);
    for (const TabInfo& tab : kTabs) {
        char text[256];
        if (HWND window = tabWindow(tab.id))
            if (LoadLocalizedString(cplModuleInstance(), tab.textId, UiLanguage, text, sizeof text))
                SetWindowTextA(window, text);
    }
}

void shapePresetsTab() {
    if (HWND presets = tabWindow(kTabPresets)) {
        const TabInfo* tab = findTab(kTabPresets);
        const int x = tab->place.left, y = tab->place.top;
        HRGN region = CreateScaledRectRgn(0, 0, 88, 57, x, y);
        HRGN hole = CreateScaledRectRgn(kPresetsTabIconHole.left, kPresetsTabIconHole.top, kPresetsTabIconHole.right,
                                        kPresetsTabIconHole.bottom, x, y);
        CombineRgn(region, region, hole, RGN_DIFF);
        DeleteObject(hole);
        if (!SetWindowRgn(presets, region, TRUE)) DeleteObject(region);
    }
}

BOOL onInitDialog(HWND page, LPARAM lParam) {
    resetMainPageState();
    g_page.page = page;
    PanelState& state = panelState();
    // 1-2. Video path, Windows generation.
    char windows[256] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string videoPath = videoPathIn(windows);
    std::snprintf(g_page.videoPath, sizeof g_page.videoPath, "%s", videoPath.c_str());
    g_page.osLevel = takeOsLevel();
    // 3-4.
    sendPanelState(1);
    g_page.applyOnClose = 1;
    g_page.tabs.lastHovered = 0;
    // 5. The sheet object is the page parameter.
    const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    g_page.sheet = sheetPage ? reinterpret_cast<IDIGameCntrlPropSheet*>(sheetPage->lParam) : nullptr;
    if (g_page.sheet) g_page.joystickId = g_page.sheet->GetID();
    // 6. Without DirectInput the page stays empty.
    if (FAILED(AcquireDirectInput(GetParent(page), g_page.sheet))) return TRUE;
    // 7-9. The wheel's link, the keyboard emulation switch.
    DirectInputDevicePath path(directInputState().device);
    DiscoveryContext context{panelRegistry(), platformDeviceIo(), platformProcessHost(), path};
    openDeviceLink(state.wheel.link, g_page.osLevel, context);
    if (state.wheel.link.isEmulationDevice == 1) sendPanelState(1);
    const EmulationSwitch emulation{kEmulationSelector, state.wheel.link.isEmulationDevice};
    sendEmulationSwitch(platformDeviceIo(), state.wheel.link.linkHandle, emulation, sizeof emulation);
    // 10. The sheet in the dialog's user data, the shared bitmaps.
    SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(g_page.sheet));
    takeSkinScale(page);
    loadSharedBitmaps();
    // 11-13. Tabs, the game icon, tab texts.
    createTabs(state.wheel.link.isEmulationDevice);
    // 14-16. Calibration and presets.
    loadHardwareConfiguration(state.wheel.hardware, panelRegistry(), state.wheel.link.deviceNumber);
    loadPresets();
    // 17. Tooltip with one tool for each tab.
    g_page.tooltip = CreateTooltip(page);
    for (const TabInfo& tab : kTabs)
        if (tabWindow(tab.id)) AddTooltipTool(page, g_page.tooltip, tab.id);
    // 18. The hook that feeds the tooltip.
    g_page.hook = SetWindowsHookExA(WH_GETMESSAGE, relayMouseToTooltip, nullptr, GetCurrentThreadId());
    if (!g_page.hook) return FALSE;
    // 19-21.
    clearTabStates(g_page.tabs);
    writeVideo();
    SendMessageA(page, WM_COMMAND, kTabTest, 0);
    return FALSE;
}

HWND createChildPage(const TabInfo& tab) {
    return CreateScaledWindow(0, tab.childClass, WS_CHILD | WS_VISIBLE, 0, 0, kChildPageWidth, kChildPageHeight,
                              g_page.page, tab.childId);
}

void onTab(int id) {
    const TabInfo* tab = findTab(id);
    if (!tab) return;
    std::vector<int> shown;
    for (const TabInfo& t : kTabs)
        if (g_page.children[tabIndex(t.id)]) shown.push_back(t.id);
    for (int closed : switchToTab(g_page.tabs, id, shown)) {
        DestroyWindow(g_page.children[tabIndex(closed)]);
        g_page.children[tabIndex(closed)] = nullptr;
        repaintTab(closed);
    }
    HWND& child = g_page.children[tabIndex(id)];
    if (!child) child = createChildPage(*tab);
    repaintTab(id);
}

// The system moved the sheet to a screen of another DPI (newer systems tell
// child windows so): the page takes the new scale, its pictures (and clip)
// for it, and lays its tabs out again; the open child page is made anew
// (closing writes its edits back, as a tab switch does).
void layOutAgain(HWND page) {
    const int percent = skinScale().percent;
    std::vector<const TabInfo*> open;
    for (const TabInfo& tab : kTabs) {
        HWND& child = g_page.children[tabIndex(tab.id)];
        if (!child) continue;
        DestroyWindow(child);
        child = nullptr;
        open.push_back(&tab);
    }
    takeSkinScale(page);
    if (skinScale().percent != percent) writeVideo();
    deleteSharedBitmaps();
    loadSharedBitmaps();
    for (const TabInfo& tab : kTabs)
        if (HWND window = tabWindow(tab.id))
            MoveControl(window, tab.place.left, tab.place.top, tab.place.right - tab.place.left,
                        tab.place.bottom - tab.place.top, TRUE);
    shapePresetsTab();
    MoveControl(GetDlgItem(page, kGameIconId), kGameIconPlace.left, kGameIconPlace.top,
                kGameIconPlace.right - kGameIconPlace.left, kGameIconPlace.bottom - kGameIconPlace.top, TRUE);
    for (const TabInfo* tab : open) g_page.children[tabIndex(tab->id)] = createChildPage(*tab);
    InvalidateRect(page, nullptr, TRUE);
}

void onPaint(HWND page) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(page, &ps);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, sharedBitmap(IDB_CPL_SKIN));
    // The tiles at 96 DPI, around the part to paint.
    const SkinPoint from = unscalePoint(skinScale(), SkinPoint{ps.rcPaint.left, ps.rcPaint.top});
    const SkinPoint to = unscalePoint(skinScale(), SkinPoint{ps.rcPaint.right, ps.rcPaint.bottom});
    const int slack = isIdentity(skinScale()) ? 0 : 1;
    for (const TileCopy& tile : backgroundTiles(SkinRect{from.x - slack, from.y - slack, to.x + slack, to.y + slack})) {
        const SkinRect& d = tile.destination;
        const RECT place = scaledRect(d.left, d.top, d.right - d.left, d.bottom - d.top);
        BitBlt(dc, place.left, place.top, place.right - place.left, place.bottom - place.top, memory,
               scaledX(tile.sourceX), scaledY(tile.sourceY), SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    EndPaint(page, &ps);
}

INT_PTR onNotify(const NMHDR* header, LPARAM lParam) {
    const int32_t code = int32_t(header->code);
    if (code == int32_t(TTN_GETDISPINFOA)) {
        auto* request = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        answerTooltip(request, tooltipStringFor(tooltipControlId(request)), g_page.tooltipText,
                      sizeof g_page.tooltipText);
        return TRUE;
    }
    if (code == int32_t(PSN_APPLY)) g_page.applyOnClose = 1;
    if (code == int32_t(PSN_QUERYCANCEL)) g_page.applyOnClose = 0;
    if (const char* line = notificationDebugLine(code)) OutputDebugStringA(line);
    return FALSE;  // NM_CUSTOMDRAW included: default drawing
}

void onDestroy() {
    PanelState& state = panelState();
    Registry& registry = panelRegistry();
    // 1-2.
    OutputDebugStringA("MainPage - WM_DESTROY\n");
    // The tooltip belongs to the sheet, which may have destroyed it already.
    if (g_page.tooltip && IsWindow(g_page.tooltip))
        for (const TabInfo& tab : kTabs)
            if (tabWindow(tab.id)) RemoveTooltipTool(g_page.page, g_page.tooltip, tab.id);
    if (g_page.hook && UnhookWindowsHookEx(g_page.hook)) g_page.hook = nullptr;
    // 3. Child pages, each one closing writes its edits back.
    for (int id : kDestroyOrder) {
        HWND& child = g_page.children[tabIndex(id)];
        if (child) DestroyWindow(child);
        child = nullptr;
    }
    // 4-6. A page whose start stopped before the presets were loaded has
    // no table of its own: it must not write one over the user's file.
    sendPanelState(0);
    if (g_page.presetsLoaded) {
        if (g_page.applyOnClose == 1)
            if (const char* path = registry.readRegString(kPanelKey, kTemporaryFileValue))
                savePresetFile(g_page.page, std::string(path).c_str(), state.table, platformFileSystem());
        registry.writeRegDword(state.currentIndex, kPanelKey, kLastIndexValue);
    }
    // 7. The root; the device and configuration belong to the sheet.
    releaseDirectInput();
    // 8-9. The wheel.
    DeviceIo& io = platformDeviceIo();
    if (state.wheel.link.linkHandle && state.wheel.link.isEmulationDevice == 0) {
        const EmulationSwitch off{0, 0};
        sendEmulationSwitch(io, state.wheel.link.linkHandle, off, sizeof off);
    }
    if (g_page.presetsLoaded) uploadParameters(1, state.wheel, state.currentPreset, registry, io);
    // 10.
    if (state.wheel.link.linkHandle) io.close(state.wheel.link.linkHandle);
    state.wheel.link.linkHandle = 0;
    if (g_page.videoPath[0]) DeleteFileA(g_page.videoPath);
    deleteSharedBitmaps();
    g_page.tooltip = nullptr;  // owned by the sheet, destroyed with it
}

}  // namespace

MainPageState& mainPageState() { return g_page; }

void resetMainPageState() {
    g_page = MainPageState{};
    resetSkinScale();
}

IDIGameCntrlPropSheet* mainPageSheet() { return g_page.sheet; }

HBITMAP sharedBitmap(int id) {
    for (const SharedBitmap& shared : kSharedBitmaps) {
        if (shared.id != id) continue;
        WaitForSkinBitmap(g_page.skinFitting, g_page.*shared.place);
        return g_page.*shared.place;
    }
    return nullptr;
}

PresetFileNotice& panelPresetNotice() {
    static PanelPresetNotice notice;
    return notice;
}

Registry& panelRegistry() {
    static Registry registry(platformRegistryStore(), Deliverable::Panel);
    return registry;
}

void sendPanelState(WPARAM state) {
    // The stored handle may be left from a tray program that has ended and
    // now name another program's window: only the tray program's own class
    // gets the message.
    const uint32_t stored = panelRegistry().readRegDword(kPanelKey, kLoaderWindowValue);
    HWND loader = reinterpret_cast<HWND>(LONG_PTR(LONG(stored)));
    char cls[32] = "";
    if (!loader || !GetClassNameA(loader, cls, sizeof cls) || std::strcmp(cls, kLoaderClassName) != 0) return;
    SendMessageA(loader, MSG_PANEL_STATE, state, 0);
}

INT_PTR CALLBACK MainPage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog, lParam);
    case WM_COMMAND:
        wParam = skinnedCommand(wParam, lParam);
        if (findTab(LOWORD(wParam))) onTab(LOWORD(wParam));
        return FALSE;
    case WM_SETCURSOR:
        for (int id : hoverTab(g_page.tabs, tabOf(reinterpret_cast<HWND>(wParam)))) repaintTab(id);
        return FALSE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const TabInfo* tab = item->CtlType == ODT_BUTTON ? findTab(int(item->CtlID)) : nullptr;
        if (!tab) return FALSE;
        PaintSkinButton(item, sharedBitmap(IDB_CPL_SKIN), pictureRect(tab->normal), pictureRect(tab->hovered),
                        pictureRect(tab->selected), g_page.tabs.visual[tabIndex(tab->id)]);
        return TRUE;
    }
    case WM_PAINT: onPaint(dialog); return FALSE;
    case kDpiChangedAfterParent: layOutAgain(dialog); return FALSE;
    case WM_SIZE: {
        // A sheet that gives the page another room than it had at the start.
        if (g_page.page == dialog && g_page.skin && skinScaleOf(dialog) != skinScale()) layOutAgain(dialog);
        return FALSE;
    }
    case WM_NOTIFY: return onNotify(reinterpret_cast<const NMHDR*>(lParam), lParam);
    case WM_DESTROY: onDestroy(); return FALSE;
    default: return FALSE;
    }
}

}  // namespace zentra
