// The loader's main window: hidden most of the time, it owns the tray icon,
// the settings controls and the popup menu, and carries out every preset
// transition on its thread.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "driver/discovery.h"
#include "loader/loader_text.h"
#include "loader/startup.h"
#include "loader/win32/loader_app.h"
#include "preset/display_scale.h"
#include "preset/os_level.h"

namespace zentra {

namespace {

constexpr int kIconNormal = 234;
constexpr int kIconEmulationOff = 235;
constexpr char kTrayTip[] = "MORVENHOLLOW ZENTRAVOLI RACING WHEEL";
constexpr int kTextSize = 64;

std::string text(int id) {
    char buffer[kTextSize];
    loadLoaderString(loaderApp().instance, loaderApp().language, id, buffer, sizeof buffer);
    return buffer;
}

HWND child(HWND window, int id) { return GetDlgItem(window, id); }

// The window's size and its controls' places at 96 DPI, in the order the
// controls are created; shown multiplied by the window's DPI / 96.
constexpr int kWindowWidth = 335, kWindowHeight = 200;
struct ControlPlace {
    int id, x, y, width, height;
};
constexpr ControlPlace kControlPlaces[] = {
    {IDC_DISABLE_KBD_EMULATION, 10, 10, 320, 30}, {IDC_MANUAL_PRESET, 10, 70, 320, 30},
    {IDC_LAUNCH_ON_STARTUP, 10, 40, 320, 30},     {IDC_PRESET_COMBO, 10, 110, 200, 100},
    {IDC_START_STOP, 240, 140, 80, 30},
};

// A control's place and size at `dpi`: left, top, width, height.
struct ScaledPlace {
    int x, y, width, height;
};
ScaledPlace scaledPlace(const ControlPlace& p, int dpi) {
    return {scaleToDpi(p.x, dpi), scaleToDpi(p.y, dpi), scaleToDpi(p.width, dpi), scaleToDpi(p.height, dpi)};
}

HWND createControl(HWND window, int dpi, const ControlPlace& p, DWORD exStyle, const char* cls, const char* label,
                   DWORD style) {
    const ScaledPlace at = scaledPlace(p, dpi);
    return CreateWindowExA(exStyle, cls, label, style, at.x, at.y, at.width, at.height, window, HMENU(INT_PTR(p.id)),
                           loaderApp().instance, nullptr);
}

void createControls(HWND window) {
    const int dpi = windowDpi(window);
    const DWORD checkBox = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX;
    createControl(window, dpi, kControlPlaces[0], 0, "button", text(kStrDisableEmulation).c_str(), checkBox);
    createControl(window, dpi, kControlPlaces[1], 0, "button", text(kStrManualPreset).c_str(), checkBox);
    createControl(window, dpi, kControlPlaces[2], 0, "button", text(kStrLaunchOnStartup).c_str(), checkBox);
    HWND combo = createControl(window, dpi, kControlPlaces[3], WS_EX_NOPARENTNOTIFY, "COMBOBOX", nullptr, 0x50210203);
    SetWindowLongA(combo, GWL_STYLE, 0x58200203);
    createControl(window, dpi, kControlPlaces[4], 0, "BUTTON", text(kStrStart).c_str(), 0x58001000);
}

// The tray icon of the emulation state at the size the notification area
// asks for at the window's DPI (the icon files hold 16, 20, 24, 32 and 48
// pixels). Both icons are loaded again when the DPI changes; the shell keeps
// its own copy of the one shown, so the old ones can go.
void loadTrayIcons(HWND window) {
    LoaderApp& app = loaderApp();
    const int size = trayIconSize(windowDpi(window));
    const int ids[2] = {kIconNormal, kIconEmulationOff};
    for (int i = 0; i < 2; ++i) {
        HICON icon = HICON(LoadImageA(app.instance, MAKEINTRESOURCEA(ids[i]), IMAGE_ICON, size, size, 0));
        if (app.trayIcons[i]) DestroyIcon(app.trayIcons[i]);
        app.trayIcons[i] = icon;
    }
}

HICON trayIcon() { return loaderApp().trayIcons[loaderApp().emulationEnabled ? 0 : 1]; }

void destroyTrayIcons() {
    for (HICON& icon : loaderApp().trayIcons) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
}

// The system moved the window to a screen of another DPI (per-monitor
// awareness): it takes the size the system suggests and its controls their
// places at the new DPI; the tray icon is drawn again at its new size.
void onDpiChanged(HWND window, int dpi, const RECT& suggested) {
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ControlPlace& p : kControlPlaces) {
        const ScaledPlace at = scaledPlace(p, dpi);
        MoveWindow(child(window, p.id), at.x, at.y, at.width, at.height, TRUE);
    }
    LoaderApp& app = loaderApp();
    if (!app.tray.hWnd) return;
    loadTrayIcons(window);
    app.tray.hIcon = trayIcon();
    Shell_NotifyIconA(NIM_MODIFY, &app.tray);
}

void fillPresetCombo(HWND window) {
    HWND combo = child(window, IDC_PRESET_COMBO);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    loaderApp().presets->withTable([&](const PresetTable& table) {
        for (int i = 0; i < table.presetCount; ++i)
            SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(table.presets[i].gameName));
        return 0;
    });
}

void setEnabledStyle(HWND control, DWORD style) {
    SetWindowLongA(control, GWL_STYLE, style);
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
}

void centre(HWND window) {
    HDC screen = GetDC(nullptr);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    RECT r;
    GetWindowRect(window, &r);
    const WindowPlace place = centredPlace(width, height, r.right - r.left, r.bottom - r.top);
    MoveWindow(window, place.left, place.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void writeRunValue(Registry& registry) {
    char folder[256] = "";
    GetWindowsDirectoryA(folder, 255);
    registry.writeRegString(kRunKey, kRunValue, runValueCommand(folder, loaderApp().osLevel).c_str());
}

// Step 8 of creation: the table from "TemporaryFile", or a one-entry default
// table and the default path stored for the control panel to write.
void loadTableAtCreation() {
    LoaderApp& app = loaderApp();
    LoaderContext ctx = mainContext();
    if (loadTableOrDefault(ctx) == 0) return;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::string fallback = temp;
    if (!fallback.empty() && (fallback.back() == '\\' || fallback.back() == '/')) fallback.pop_back();
    const std::string path =
        defaultPresetFilePath(app.osLevel, getenv("SystemRoot"), getenv("temp"), fallback);
    app.registry->writeRegString(kPanelKey, kTemporaryFileValue, path.c_str());
}

void onCreate(HWND window) {
    LoaderApp& app = loaderApp();
    app.language = chooseLoaderLanguage(GetUserDefaultLangID());
    SetWindowTextA(window, text(kStrTitle).c_str());

    app.emulationEnabled = 1;
    app.emulationMode = kEmulationSelector;
    app.mainWindow = window;

    createControls(window);
    const char* launch = app.registry->readRegString(kPanelKey, kLaunchValue);
    if (launch && std::string(launch) == "YES") {
        CheckDlgButton(window, IDC_LAUNCH_ON_STARTUP, BST_CHECKED);
        writeRunValue(*app.registry);
    }
    centre(window);

    app.registry->writeRegDword(uint32_t(uintptr_t(window)), kPanelKey, kLoaderWindowValue);
    if (openEmulationLink(*app.wheel, *app.registry, platformDeviceIo())) {
        const uint32_t handle = uint32_t(uintptr_t(window));
        sendLinkCommand(platformDeviceIo(), app.wheel->emulationLink, kCodeLinkOpened, nullptr, 0);
        sendLinkCommand(platformDeviceIo(), app.wheel->emulationLink, kCodeLinkWindow, &handle, 4);
    }
    PostMessageA(window, MSG_TRAY_INSTALL, 0, 0);
    loadTableAtCreation();
    fillPresetCombo(window);
}

void onDestroy() {
    LoaderApp& app = loaderApp();
    sendLinkCommand(platformDeviceIo(), app.wheel->emulationLink, kCodeLinkClosing, nullptr, 0);
    closeEmulationLink(*app.wheel, platformDeviceIo());
    Shell_NotifyIconA(NIM_DELETE, &app.tray);
    destroyTrayIcons();
    PostQuitMessage(kQuitCode);
}

void installTrayIcon(HWND window) {
    NOTIFYICONDATAA& tray = loaderApp().tray;
    ZeroMemory(&tray, sizeof tray);
    tray.cbSize = NOTIFYICONDATAA_V1_SIZE;  // 88
    tray.hWnd = window;
    tray.uID = kTrayIconId;
    tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    tray.uCallbackMessage = MSG_TRAY_NOTIFY;
    loadTrayIcons(window);
    tray.hIcon = trayIcon();
    lstrcpynA(tray.szTip, kTrayTip, sizeof tray.szTip);
    Shell_NotifyIconA(NIM_ADD, &tray);
    ShowWindow(window, SW_HIDE);
}

// Stop orders the program to end: the watcher first learns it, then the
// window goes; WinMain waits a bounded time for the watcher to return.
void exitLoader(HWND window) {
    LoaderApp& app = loaderApp();
    app.stop.stop();
    DestroyWindow(window);
}

void trayMenu(HWND window) {
    LoaderApp& app = loaderApp();
    HRSRC found = FindResourceExA(app.instance, RT_MENU, MAKEINTRESOURCEA(loaderMenuId(app.language)),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    HGLOBAL loaded = found ? LoadResource(app.instance, found) : nullptr;
    const void* templ = loaded ? LockResource(loaded) : nullptr;
    HMENU menu = templ ? LoadMenuIndirectA(templ) : nullptr;
    if (!menu) return;
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(window);
    const int command = TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                       window, nullptr);
    SetForegroundWindow(window);
    DestroyMenu(menu);
    switch (command) {
    case kMenuControlPanel: WinExec("control joy.cpl", SW_SHOWNORMAL); break;
    case kMenuShowWindow:
        ShowWindow(window, SW_SHOW);
        ShowWindow(window, SW_RESTORE);
        break;
    case kMenuExit: exitLoader(window); break;
    default: break;
    }
}

void startStop(HWND window) {
    LoaderApp& app = loaderApp();
    LoaderContext ctx = mainContext();
    if (app.manualRunning) {
        app.manualRunning = false;
        SetDlgItemTextA(window, IDC_START_STOP, text(kStrStart).c_str());
        handleGameEnd(ctx);
        return;
    }
    const int index = int(SendDlgItemMessageA(window, IDC_PRESET_COMBO, CB_GETCURSEL, 0, 0));
    // With no preset to choose there is nothing to start.
    if (index < 0) return;
    app.manualRunning = true;
    SetDlgItemTextA(window, IDC_START_STOP, text(kStrStop).c_str());
    handleGameStart(ctx, index);
}

void onCommand(HWND window, int id, int notification) {
    LoaderApp& app = loaderApp();
    if (HWND control = child(window, id)) SetFocus(control);
    switch (id) {
    case IDC_DISABLE_KBD_EMULATION: {
        const bool disabled = IsDlgButtonChecked(window, id) == BST_CHECKED;
        app.emulationEnabled = disabled ? 0 : 1;
        app.tray.hIcon = trayIcon();
        Shell_NotifyIconA(NIM_MODIFY, &app.tray);
        app.emulationMode = kEmulationSelector;
        if (openEmulationLink(*app.wheel, *app.registry, platformDeviceIo())) {
            const EmulationSwitch sw{app.emulationMode, app.emulationEnabled};
            sendEmulationSwitch(platformDeviceIo(), app.wheel->emulationLink, sw, sizeof sw);
        }
        break;
    }
    case IDC_LAUNCH_ON_STARTUP:
        app.registry->writeRegString(kPanelKey, kLaunchValue,
                                     IsDlgButtonChecked(window, id) == BST_CHECKED ? "YES" : "NO");
        break;
    case IDC_MANUAL_PRESET:
        if (IsDlgButtonChecked(window, id) == BST_CHECKED) {
            setEnabledStyle(child(window, IDC_PRESET_COMBO), 0x50200203);
            setEnabledStyle(child(window, IDC_START_STOP), 0x50001000);
            fillPresetCombo(window);
            SendDlgItemMessageA(window, IDC_PRESET_COMBO, CB_SETCURSEL, 0, 0);
        } else {
            if (app.manualRunning) startStop(window);
            SendDlgItemMessageA(window, IDC_PRESET_COMBO, CB_RESETCONTENT, 0, 0);
            setEnabledStyle(child(window, IDC_PRESET_COMBO), 0x58200203);
            setEnabledStyle(child(window, IDC_START_STOP), 0x58001000);
        }
        break;
    case IDC_PRESET_COMBO:
        if (notification == CBN_SELCHANGE) SetFocus(child(window, IDC_START_STOP));
        break;
    case IDC_START_STOP: startStop(window); break;
    default: break;
    }
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(window); return 0;
    case WM_DESTROY: onDestroy(); return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
        case SC_CLOSE: ShowWindow(window, SW_HIDE); return 0;
        case SC_RESTORE: return 0;
        default: break;
        }
        break;
    case WM_COMMAND: onCommand(window, LOWORD(wParam), HIWORD(wParam)); return 0;
    case MSG_TRAY_INSTALL: installTrayIcon(window); return 0;
    case WM_DPICHANGED:
        onDpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case MSG_TRAY_NOTIFY:
        if (wParam == kTrayIconId && lParam == WM_RBUTTONDOWN) trayMenu(window);
        return 0;
    case MSG_GAME_EVENT: {
        LoaderContext ctx = mainContext();
        const Announcement* start = loaderApp().announcedStart;
        if (lParam == -1)
            handleGameEnd(ctx);
        else if (start && start->presetIndex == lParam)
            handleAnnouncedStart(ctx, *start);
        else
            handleGameStart(ctx, int(lParam));
        // Leaves the notice up a moment after the preset has gone.
        Sleep(1000);
        break;
    }
    case MSG_PANEL_STATE:
        if (wParam == 1) {
            LoaderContext ctx = mainContext();
            handleGameEnd(ctx);
        } else {
            PostMessageA(window, MSG_PANEL_RELOAD, 0, 0);
        }
        break;
    case MSG_PANEL_RELOAD: {
        // The control panel writes the file after its message: give it a second.
        Sleep(1000);
        LoaderContext ctx = mainContext();
        reloadPresetFile(ctx);
        break;
    }
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool registerMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconNormal));
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(5));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = HBRUSH(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kLoaderClassName;
    return RegisterClassExA(&wc) != 0;
}

HWND createMainWindow(HINSTANCE instance) {
    const int dpi = windowDpi(nullptr);
    return CreateWindowExA(0, kLoaderClassName, "", WS_VISIBLE | WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX, 50, 0,
                           scaleToDpi(kWindowWidth, dpi), scaleToDpi(kWindowHeight, dpi), nullptr, nullptr, instance,
                           nullptr);
}

}  // namespace zentra
