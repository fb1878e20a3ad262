// The presets page ("AXEWINDOW"): the list of games, the current preset's
// name and executable, New, Duplicate, Delete, Undo, Print, Import/Export
// and About. The list operations are in preset_list; this file shows them
// on the page's controls.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/gdi_tally.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/main_page_logic.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_logic.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/pages/import_export_dialog.h"
#include "cpl/pages/preset_list_view.h"
#include "cpl/pages/print_preset.h"
#include "driver/host_win32.h"

namespace zentra {

namespace {

constexpr int kList = 157;
constexpr int kName = 232;
constexpr int kPath = 233;
constexpr int kBrowse = 242;
constexpr int kNew = 1041;
constexpr int kDelete = 1048;
constexpr int kPrint = 1051;
constexpr int kDuplicate = 1050;
constexpr int kUndo = 1049;
constexpr int kImportExport = 1036;
constexpr int kAbout = 269;

constexpr RECT kNameFrame{329, 46, 451, 65};
constexpr RECT kPathFrame{329, 83, 513, 102};

constexpr PictureButton kButtons[] = {
    {kBrowse, 516, 83, 20, 20, 0, skin::kPresetBrowse},
    {kNew, 345, 170, 38, 38, 94, skin::kPresetNew},
    {kDelete, 394, 170, 38, 38, 100, skin::kPresetDelete},
    {kPrint, 443, 170, 38, 38, 99, skin::kPresetPrint},
    {kDuplicate, 345, 211, 38, 38, 93, skin::kPresetDuplicate},
    {kUndo, 394, 211, 38, 38, 95, skin::kPresetUndo},
    {kImportExport, 443, 211, 38, 38, 96, skin::kPresetImportExport},
    {kAbout, 10, 8, 155, 11, 76, skin::kPresetsAbout},
};
constexpr int kToolIds[] = {kName, kPath, kNew, kDelete, kPrint, kDuplicate, kUndo, kImportExport, kAbout};

int tooltipString(int id) {
    if (id == kName) return 102;
    if (id == kPath) return 92;
    return pictureButtonTooltip(id, kButtons);
}

struct PresetsPage {
    HWND page;
    HWND list;
    HPEN pen;
    HBRUSH brush;
    bool quiet;  // the page itself is changing the controls: their notifications are not the user's
    char tooltipText[256];
};
PresetsPage g_presets;

PanelState& panel() { return panelState(); }
PresetLists& lists() { return presetLists(); }

// The main page's game icon follows the current preset's executable.
void notifyMainPage() {
    if (HWND icon = GetDlgItem(mainPageState().page, kGameIconId)) InvalidateRect(icon, nullptr, TRUE);
}

void showCurrent() {
    const bool any = hasCurrentPreset(panel());
    g_presets.quiet = true;
    SetDlgItemTextA(g_presets.page, kName, any ? panel().currentPreset.gameName : "");
    SetDlgItemTextA(g_presets.page, kPath, any ? panel().currentPreset.exePath : "");
    g_presets.quiet = false;
    InvalidateRect(GetDlgItem(g_presets.page, kName), nullptr, TRUE);
    InvalidateRect(GetDlgItem(g_presets.page, kPath), nullptr, TRUE);
}

int rowOfCurrent() {
    const PresetRows& rows = lists().rows;
    for (uint32_t r = 0; r < rows.visibleCount; ++r)
        if (rows.rowToPreset[r] == panel().currentIndex) return int(r);
    return -1;
}

// The list shows the page's rows; the current preset's row is selected.
void showList(int selectRow) {
    g_presets.quiet = true;
    fillPresetListView(g_presets.list, panel().table, lists().rows);
    selectPresetRow(g_presets.list, selectRow);
    g_presets.quiet = false;
    showCurrent();
    notifyMainPage();
}

std::string editText(int id) {
    char text[kTextSize] = "";
    GetDlgItemTextA(g_presets.page, id, text, kTextSize);  // 254 characters at most
    return text;
}

// The path of the program a shell shortcut points to, or "" when `file` is
// not a shortcut.
std::string shortcutTarget(HWND owner, const char* file) {
    std::string target;
    const HRESULT com = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            wchar_t wide[MAX_PATH];
            if (MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH) > 0 &&
                SUCCEEDED(persist->Load(wide, STGM_READ))) {
                link->Resolve(owner, SLR_NO_UI);
                char path[MAX_PATH] = "";
                if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0))) target = path;
            }
            persist->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return target;
}

void onBrowse() {
    char file[260] = "*.exe";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = g_presets.page;
    dialog.lpstrFilter = "Executable Files (.exe )\0*.exe\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameA(&dialog)) return;
    std::string path = shortcutTarget(g_presets.page, file);
    if (path.empty()) path = file;
    if (path.size() > size_t(kMaxTextLength)) {
        showListMessage(g_presets.page, ListMessage::PathTooLong);
        return;
    }
    if (!hasCurrentPreset(panel())) return;
    editPath(panel(), lists(), path.c_str());
    g_presets.quiet = true;
    SetDlgItemTextA(g_presets.page, kPath, path.c_str());
    g_presets.quiet = false;
    copyBackCurrent(panel());
    notifyMainPage();
}

void onCommand(WPARAM wParam) {
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    switch (id) {
    case kNew:
        if (newPreset(panel(), lists()) == ListChange::TableFull) return showListMessage(g_presets.page, ListMessage::TableFull);
        showList(rowOfCurrent());
        return;
    case kDuplicate:
        if (duplicatePreset(panel(), lists()) == ListChange::TableFull)
            return showListMessage(g_presets.page, ListMessage::TableFull);
        showList(rowOfCurrent());
        return;
    case kDelete:
        deletePresets(panel(), lists(), selectedPresetRows(g_presets.list));
        showList(0);
        return;
    case kUndo:
        if (const int left = undoLast(panel(), lists())) showListMessage(g_presets.page, ListMessage::NotTaken, left);
        showList(0);
        return;
    case kPrint:
        // Without presets there is nothing of the user's to print.
        if (!hasCurrentPreset(panel())) return showListMessage(g_presets.page, ListMessage::NothingToPrint);
        copyBackCurrent(panel());
        printPreset(cplModuleInstance(), g_presets.page, panel().currentIndex);
        notifyMainPage();
        return;
    case kImportExport:
        copyBackCurrent(panel());
        ShowImportExportDialog(g_presets.page);
        if (!IsWindow(g_presets.page)) return;
        sortKeepingCurrent(panel(), lists());
        if (hasCurrentPreset(panel())) copyPreset(panel().currentPreset, panel().table.presets[panel().currentIndex]);
        showList(rowOfCurrent());
        return;
    case kAbout: ShowAbout(g_presets.page); return;
    case kBrowse: onBrowse(); return;
    case kName:
        if (g_presets.quiet || (code != EN_CHANGE && code != EN_KILLFOCUS)) return;
        editName(panel(), lists(), editText(kName).c_str());
        InvalidateRect(GetDlgItem(g_presets.page, kName), nullptr, TRUE);
        if (code == EN_KILLFOCUS && commitName(panel(), lists())) showList(rowOfCurrent());
        return;
    case kPath:
        if (g_presets.quiet || (code != EN_CHANGE && code != EN_KILLFOCUS)) return;
        editPath(panel(), lists(), editText(kPath).c_str());
        if (code == EN_KILLFOCUS) notifyMainPage();
        return;
    default: return;
    }
}

LRESULT onNotify(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == TTN_GETDISPINFOA) {
        auto* request = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        answerTooltip(request, tooltipString(tooltipControlId(request)), g_presets.tooltipText,
                      sizeof g_presets.tooltipText);
        return TRUE;
    }
    if (header->idFrom != UINT_PTR(kList) || g_presets.quiet) return 0;
    switch (header->code) {
    case LVN_ITEMCHANGED:
    case LVN_ITEMACTIVATE: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (header->code == LVN_ITEMCHANGED &&
            (!(change->uChanged & LVIF_STATE) || !(change->uNewState & LVIS_SELECTED) ||
             (change->uOldState & LVIS_SELECTED)))
            return 0;
        const int row = change->iItem;
        if (row < 0 || uint32_t(row) >= lists().rows.visibleCount) return 0;
        makeCurrent(panel(), lists().rows.rowToPreset[row]);
        showCurrent();
        notifyMainPage();
        return 0;
    }
    case LVN_BEGINLABELEDITA: return FALSE;
    case LVN_ENDLABELEDITA: {
        const auto* edit = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
        if (!edit->item.pszText) return FALSE;
        // The row edited may not be the current one (F2 edits the focused
        // row, a Ctrl+click deselects the current one): it is made current
        // first, so that the name goes to the preset the user renamed.
        renameRow(panel(), lists(), edit->item.iItem, edit->item.pszText);
        showList(rowOfCurrent());
        return FALSE;  // the list is filled anew with the sorted names
    }
    default: return 0;
    }
}

void onCreate(HWND page) {
    g_presets = PresetsPage{};
    g_presets.page = page;
    SetPageRegion(page);
    createPictureButtons(page, kButtons);
    CreateEditField(page, 330, 47, 120, 18, kName, kEditShortStyle);
    CreateEditField(page, 330, 84, 183, 18, kPath, kEditShortStyle);
    // What another page changed goes back before the sort; the sort keeps
    // the current preset (equal names change places at each sort).
    copyBackCurrent(panel());
    sortKeepingCurrent(panel(), lists());
    g_presets.list = createPresetListView(page, kList, 136, 40, 183, 300);
    if (HWND tooltip = mainPageState().tooltip)
        for (int id : kToolIds) AddTooltipTool(page, tooltip, id);
    if (hasCurrentPreset(panel())) copyPreset(panel().currentPreset, panel().table.presets[panel().currentIndex]);
    showList(rowOfCurrent());
    g_presets.brush = gdiTallied(CreateSolidBrush(kPresetEditBrush));
    g_presets.pen = gdiTallied(CreateScaledPen(kPresetFramePen));
}

void onDestroy(HWND page) {
    copyBackCurrent(panel());
    uploadParameters(1, panel().wheel, panel().currentPreset, panelRegistry(), platformDeviceIo());
    if (HWND tooltip = mainPageState().tooltip; tooltip && IsWindow(tooltip))
        for (int id : kToolIds) RemoveTooltipTool(page, tooltip, id);
    gdiDelete(g_presets.pen);
    gdiDelete(g_presets.brush);
    g_presets.page = nullptr;
}

void onPaint(HWND page) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(page, &ps);
    DrawPicture(dc, sharedBitmap(skin::kPresetsBitmap), skin::kPresetsPage, 0, 0);
    EndPaint(page, &ps);
    OutlineRect(page, kNameFrame, g_presets.pen);
    OutlineRect(page, kPathFrame, g_presets.pen);
}

BOOL onDrawItem(const DRAWITEMSTRUCT* item) {
    if (item->CtlType == ODT_LISTVIEW) {
        drawPresetRow(item);
        return TRUE;
    }
    return paintPictureButton(item, kButtons) ? TRUE : FALSE;
}

}  // namespace

LRESULT CALLBACK AxeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(window); return 0;
    case WM_DESTROY: onDestroy(window); return 0;
    case WM_PAINT: onPaint(window); return 0;
    case WM_DRAWITEM: return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND: onCommand(skinnedCommand(wParam, lParam)); return 0;
    case WM_NOTIFY: return onNotify(lParam);
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kPresetEditText);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(g_presets.brush);
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace zentra
