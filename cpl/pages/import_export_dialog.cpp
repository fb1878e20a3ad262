#include "cpl/pages/import_export_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/gdi_tally.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_logic.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/pages/preset_list_view.h"
#include "cpl/res/cpl_resource.h"
#include "preset/file_system.h"

namespace zentra {

namespace {

constexpr int kCaptionString = 96;
constexpr RECT kPathFrame{269, 8, 421, 27};
constexpr COLORREF kToggleText = RGB(247, 202, 87);

constexpr PictureButton kButtons[] = {
    {IDC_IE_IMPORT, 425, 8, 20, 20, 98, skin::kImportFile},
    {IDC_IE_EXPORT, 448, 8, 20, 20, 97, skin::kExportFile},
    {IDC_IE_COPY_TO_PRESETS, 219, 110, 39, 27, 93, skin::kCopyToPresets},
    {IDC_IE_COPY_TO_FILE, 219, 76, 39, 27, 93, skin::kCopyToFile},
    {IDC_IE_DELETE_IN_PRESETS, 211, 157, 24, 39, 100, skin::kDeletePresets},
    {IDC_IE_DELETE_IN_FILE, 241, 157, 24, 39, 100, skin::kDeleteFromFile},
    {IDC_IE_UNDO, 219, 215, 40, 40, 95, skin::kImportExportUndo},
};
constexpr int kToolIds[] = {IDC_IE_IMPORT,         IDC_IE_EXPORT,         IDC_IE_COPY_TO_PRESETS, IDC_IE_COPY_TO_FILE,
                            IDC_IE_DELETE_IN_PRESETS, IDC_IE_DELETE_IN_FILE, IDC_IE_UNDO};

// The filter toggles below the lists, one per game type, titled with the
// type's name (strings 8 to 11), lit while the type is shown.
struct Toggle {
    int id;
    uint8_t bit;
    int x;
    int nameString;
};
constexpr Toggle kToggles[] = {
    {IDC_IE_SHOW_TYPE0, kShowType0, 25, 8},
    {IDC_IE_SHOW_TYPE1, kShowType1, 134, 9},
    {IDC_IE_SHOW_TYPE2, kShowType2, 243, 10},
    {IDC_IE_SHOW_TYPE3, kShowType3, 352, 11},
};
constexpr int kToggleY = 339, kToggleWidth = 100, kToggleHeight = 18;

struct ImportExportDialog {
    HWND dialog;
    HWND presetsList, fileList;
    HWND tooltip;
    HHOOK hook;
    HPEN pen;
    HBRUSH brush;
    char tooltipText[256];
};
ImportExportDialog g_dialog;

PanelState& panel() { return panelState(); }
PresetLists& lists() { return presetLists(); }

LRESULT CALLBACK relayToTooltip(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && g_dialog.tooltip && IsChild(g_dialog.dialog, message->hwnd)) {
        switch (message->message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: {
            MSG copy = *message;
            SendMessageA(g_dialog.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
            break;
        }
        default: break;
        }
    }
    return CallNextHookEx(g_dialog.hook, code, wParam, lParam);
}

void showLists() {
    fillPresetListView(g_dialog.presetsList, panel().table, lists().rows);
    fillPresetListView(g_dialog.fileList, lists().fileTable, lists().fileRows);
}

void reportNotTaken(int notTaken) {
    if (notTaken > 0) showListMessage(g_dialog.dialog, ListMessage::NotTaken, notTaken);
}

std::string lastOpenFile() {
    const char* stored = panelRegistry().readRegString(kPanelKey, kLastOpenFileValue);
    return stored ? stored : "";
}

// The open or save dialog over this dialog; the chosen path, or "".
std::string choosePresetFile(bool save, const std::string& last) {
    char file[260] = "*.pst";
    std::string folder = last.substr(0, last.find_last_of("\\/") == std::string::npos ? 0 : last.find_last_of("\\/"));
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = g_dialog.dialog;
    dialog.lpstrFilter = "Preset (.pst)\0*.pst\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_NONETWORKBUTTON | OFN_NODEREFERENCELINKS;
    if (save) {
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        dialog.lpstrDefExt = "pst";
    }
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    return chosen ? std::string(file) : std::string();
}

void onImport() {
    const std::string last = lastOpenFile();
    const std::string chosen = choosePresetFile(false, last);
    if (!chosen.empty()) {
        panelRegistry().writeRegString(kPanelKey, kLastOpenFileValue, chosen.c_str());
        importFile(panel(), lists(), g_dialog.dialog, chosen.c_str(), platformFileSystem(), &panelPresetNotice());
        showLists();
    }
    SetDlgItemTextA(g_dialog.dialog, IDC_IE_FILE_PATH, chosen.empty() ? last.c_str() : chosen.c_str());
}

void onExport() {
    const std::string last = lastOpenFile();
    const std::string chosen = choosePresetFile(true, last);
    if (!chosen.empty()) {
        panelRegistry().writeRegString(kPanelKey, kLastOpenFileValue, chosen.c_str());
        FileResult outcome;
        if (!savePresetFile(g_dialog.dialog, chosen.c_str(), lists().fileTable, platformFileSystem(), &outcome)) {
            const std::string text = listMessage(UiLanguage, ListMessage::SaveFailed) + "\n" + outcome.reason;
            MessageBoxA(g_dialog.dialog, text.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
        }
    }
    SetDlgItemTextA(g_dialog.dialog, IDC_IE_FILE_PATH, chosen.empty() ? last.c_str() : chosen.c_str());
}

void onCommand(int id) {
    switch (id) {
    case IDOK:
    case IDCANCEL: EndDialog(g_dialog.dialog, kImportExportResult); return;
    case IDC_IE_IMPORT: onImport(); return;
    case IDC_IE_EXPORT: onExport(); return;
    case IDC_IE_COPY_TO_PRESETS:
        reportNotTaken(copyRows(panel(), lists(), Side::File, selectedPresetRows(g_dialog.fileList)));
        break;
    case IDC_IE_COPY_TO_FILE:
        reportNotTaken(copyRows(panel(), lists(), Side::Presets, selectedPresetRows(g_dialog.presetsList)));
        break;
    case IDC_IE_DELETE_IN_PRESETS: deleteRows(panel(), lists(), Side::Presets, selectedPresetRows(g_dialog.presetsList)); break;
    case IDC_IE_DELETE_IN_FILE: deleteRows(panel(), lists(), Side::File, selectedPresetRows(g_dialog.fileList)); break;
    case IDC_IE_UNDO: reportNotTaken(undoDialog(panel(), lists())); break;
    default:
        for (const Toggle& t : kToggles)
            if (t.id == id) {
                toggleTypeFilter(panel(), lists(), t.bit);
                InvalidateRect(GetDlgItem(g_dialog.dialog, id), nullptr, FALSE);
                break;
            }
        if (id < IDC_IE_SHOW_TYPE0 || id > IDC_IE_SHOW_TYPE3) return;
        break;
    }
    showLists();
}

BOOL onInitDialog(HWND dialog) {
    g_dialog = ImportExportDialog{};
    g_dialog.dialog = dialog;
    RECT place{};
    GetWindowRect(dialog, &place);
    const SIZE size = scaledWindowSize(dialog, 479, 387);
    MoveWindow(dialog, place.left + scaledX(70), place.top + scaledY(10), size.cx, size.cy, FALSE);
    char caption[256];
    if (LoadLocalizedString(cplModuleInstance(), kCaptionString, UiLanguage, caption, sizeof caption))
        SetWindowTextA(dialog, caption);
    createPictureButtons(dialog, kButtons);
    CreateEditField(dialog, 270, 9, 150, 18, IDC_IE_FILE_PATH, kEditShortStyle);
    for (const Toggle& t : kToggles) {
        CreateFlatButton(dialog, t.x, kToggleY, kToggleWidth, kToggleHeight, t.id);
        char name[64];
        if (LoadLocalizedString(cplModuleInstance(), t.nameString, UiLanguage, name, sizeof name))
            SetDlgItemTextA(dialog, t.id, name);
    }
    g_dialog.tooltip = CreateTooltip(dialog);
    g_dialog.hook = SetWindowsHookExA(WH_GETMESSAGE, relayToTooltip, nullptr, GetCurrentThreadId());
    if (!g_dialog.hook) return TRUE;
    for (int id : kToolIds) AddTooltipTool(dialog, g_dialog.tooltip, id);
    sortKeepingCurrent(panel(), lists());
    g_dialog.presetsList = createPresetListView(dialog, IDC_IE_PRESETS_LIST, 25, 35, 183, 300);
    g_dialog.fileList = createPresetListView(dialog, IDC_IE_FILE_LIST, 268, 35, 183, 300);
    refillDialogRows(panel(), lists());
    showLists();
    g_dialog.brush = gdiTallied(CreateSolidBrush(kPresetEditBrush));
    g_dialog.pen = gdiTallied(CreateScaledPen(kPresetFramePen));
    return TRUE;
}

void onDestroy() {
    if (g_dialog.tooltip && IsWindow(g_dialog.tooltip))
        for (int id : kToolIds) RemoveTooltipTool(g_dialog.dialog, g_dialog.tooltip, id);
    if (g_dialog.hook) UnhookWindowsHookEx(g_dialog.hook);
    g_dialog.hook = nullptr;
    gdiDelete(g_dialog.pen);
    gdiDelete(g_dialog.brush);
    g_dialog.dialog = nullptr;
}

void onPaint(HWND dialog) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    DrawPicture(dc, sharedBitmap(skin::kPresetsBitmap), skin::kImportExportDialog, 0, 0);
    EndPaint(dialog, &ps);
    if (g_dialog.pen) OutlineRect(dialog, kPathFrame, g_dialog.pen);
}

void drawToggle(const DRAWITEMSTRUCT* item, const Toggle& toggle) {
    const bool on = (lists().typeFilter & toggle.bit) != 0;
    const RECT off = pictureRect(skin::kListRow), lit = pictureRect(skin::kListRowSelected);
    PaintSkinButton(item, sharedBitmap(skin::kSkinBitmap), off, lit, lit, on ? 1 : 0);
    char text[64] = "";
    GetWindowTextA(item->hwndItem, text, sizeof text);
    RECT area = item->rcItem;
    // The dialog's own font: the type names fit the toggles.
    HGDIOBJ oldFont = SelectObject(item->hDC, reinterpret_cast<HGDIOBJ>(SendMessageA(g_dialog.dialog, WM_GETFONT, 0, 0)));
    const int oldMode = SetBkMode(item->hDC, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(item->hDC, on ? RGB(255, 255, 255) : kToggleText);
    DrawTextA(item->hDC, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(item->hDC, oldColour);
    SetBkMode(item->hDC, oldMode);
    SelectObject(item->hDC, oldFont);
}

BOOL onDrawItem(const DRAWITEMSTRUCT* item) {
    if (item->CtlType == ODT_LISTVIEW) {
        drawPresetRow(item);
        return TRUE;
    }
    if (paintPictureButton(item, kButtons)) return TRUE;
    for (const Toggle& t : kToggles)
        if (int(item->CtlID) == t.id) {
            drawToggle(item, t);
            return TRUE;
        }
    return FALSE;
}

INT_PTR CALLBACK importExportProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog);
    case WM_COMMAND: onCommand(LOWORD(skinnedCommand(wParam, lParam))); return TRUE;
    case WM_PAINT: onPaint(dialog); return TRUE;
    case WM_DRAWITEM: return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kPresetEditText);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(g_dialog.brush);
    }
    case WM_NOTIFY: {
        auto* request = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        if (request->hdr.code != TTN_GETDISPINFOA) return FALSE;
        answerTooltip(request, pictureButtonTooltip(tooltipControlId(request), kButtons), g_dialog.tooltipText,
                      sizeof g_dialog.tooltipText);
        return TRUE;
    }
    case WM_DESTROY: onDestroy(); return FALSE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR ShowImportExportDialog(HWND owner) {
    return DialogBoxParamA(cplModuleInstance(), MAKEINTRESOURCEA(IDD_CPL_PRESET_DIALOG), owner, importExportProc, 0);
}

}  // namespace zentra
