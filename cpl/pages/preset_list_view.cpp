#include "cpl/pages/preset_list_view.h"

#include <commctrl.h>

#include <algorithm>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/skin_layout.h"
#include "cpl/frame/skinned_controls.h"

namespace zentra {

namespace {

constexpr DWORD kListStyle = 0x50804601;  // child, visible, border, report, edit labels, owner-drawn, no header
constexpr COLORREF kListBackground = RGB(0x83, 0x48, 0x0F);
constexpr COLORREF kRowText = RGB(0xF7, 0xCA, 0x57);
constexpr COLORREF kSelectedRowText = RGB(0xFF, 0xFF, 0xFF);

void copyPicture(HDC dc, const RECT& row, int width, const skin::Sprite& picture) {
    HBITMAP skin = sharedBitmap(skin::kSkinBitmap);
    if (!skin) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, skin);
    BitBlt(dc, row.left, row.top, width, row.bottom - row.top, memory, scaledX(picture.x), scaledY(picture.y), SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void drawRowText(const DRAWITEMSTRUCT* item, COLORREF colour) {
    char text[256] = "";
    LVITEMA request{};
    request.iSubItem = 0;
    request.pszText = text;
    request.cchTextMax = 255;
    SendMessageA(item->hwndItem, LVM_GETITEMTEXTA, item->itemID, reinterpret_cast<LPARAM>(&request));
    const int oldMode = SetBkMode(item->hDC, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(item->hDC, colour);
    TextOutA(item->hDC, item->rcItem.left, item->rcItem.top, text, lstrlenA(text));
    SetTextColor(item->hDC, oldColour);
    SetBkMode(item->hDC, oldMode);
}

// The column is 183 pixels wide, or as wide as the list's client area when
// that is narrower (the border takes 2 pixels of the list's 183, a vertical
// scroll bar more): a row that fits never brings up a horizontal scroll bar.
constexpr int kColumnWidth = 183;
WNDPROC g_listProc = nullptr;  // the list view class's own procedure

void fitColumn(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    const int width = std::min<int>(scaledX(kColumnWidth), client.right);
    if (width > 0 && SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) != width)
        SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(width, 0));
}

LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(g_listProc, list, message, wParam, lParam);
    if (message == WM_SIZE) fitColumn(list);
    return result;
}

}  // namespace

HWND createPresetListView(HWND parent, int id, int x, int y, int width, int height) {
    HWND list = CreateScaledWindow(0, WC_LISTVIEWA, kListStyle, x, y, width, height, parent, id);
    if (!list) return nullptr;
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = scaledX(kColumnWidth);
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageA(list, LVM_SETBKCOLOR, 0, kListBackground);
    g_listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc)));
    fitColumn(list);
    return list;
}

void fillPresetListView(HWND list, const PresetTable& table, const PresetRows& rows) {
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (uint32_t r = 0; r < rows.visibleCount; ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = int(r);
        item.pszText = const_cast<char*>(table.presets[rows.rowToPreset[r]].gameName);
        if (SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) < 0) break;
    }
}

void selectPresetRow(HWND list, int row) {
    if (row < 0 || row >= int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) return;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));  // none selected
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
    SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

std::vector<int> selectedPresetRows(HWND list) {
    // A list that was never created has no rows (a message to no window
    // answers 0, which would name row 0 for ever); each answer must lie past
    // the row before it, so the walk always ends.
    std::vector<int> rows;
    if (!list || !IsWindow(list)) return rows;
    for (int row = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); row >= 0;) {
        rows.push_back(row);
        const int next = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(row), LVNI_SELECTED));
        if (next <= row) break;
        row = next;
    }
    return rows;
}

void drawPresetRow(const DRAWITEMSTRUCT* item) {
    const RECT& row = item->rcItem;
    if (item->itemAction & ODA_DRAWENTIRE) {
        copyPicture(item->hDC, row, row.right - row.left + scaledX(30), skin::kListRow);
        drawRowText(item, kRowText);
    }
    if (item->itemState & ODS_SELECTED) {
        copyPicture(item->hDC, row, row.right - row.left, skin::kListRowSelected);
        drawRowText(item, kSelectedRowText);
    }
}

void showListMessage(HWND owner, ListMessage message, int count) {
    MessageBoxA(owner, listMessage(UiLanguage, message, count).c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
}

void createPictureButtons(HWND parent, const PictureButton* buttons, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const PictureButton& b = buttons[i];
        CreateFlatButton(parent, b.x, b.y, b.width, b.height, b.id);
    }
}

bool paintPictureButton(const DRAWITEMSTRUCT* item, const PictureButton* buttons, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (int(item->CtlID) != buttons[i].id) continue;
        const RECT picture = pictureRect(buttons[i].picture);
        PaintSkinButton(item, sharedBitmap(buttons[i].picture.bitmap), picture, picture, picture, 0);
        return true;
    }
    return false;
}

int pictureButtonTooltip(int id, const PictureButton* buttons, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (buttons[i].id == id) return buttons[i].tooltip;
    return 0;
}

}  // namespace zentra
