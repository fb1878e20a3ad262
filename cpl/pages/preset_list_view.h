// The owner-drawn preset list shared by the presets page and both lists of
// the import/export dialog: its creation, its filling from rows, its row
// painting, the rows the user has selected, and the messages both show;
// and the picture buttons and field colours of both.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "cpl/frame/skin_layout.h"
#include "cpl/pages/preset_list.h"

namespace zentra {

// The name and path fields of the presets page and the file field of the
// dialog: their text, the brush behind them and the pen of their frames.
constexpr COLORREF kPresetEditText = RGB(211, 203, 186);
constexpr COLORREF kPresetEditBrush = RGB(59, 24, 55);
constexpr COLORREF kPresetFramePen = RGB(123, 113, 144);

// The list view: report style, label editing, owner-drawn fixed rows, no
// column header, one left-aligned column 183 wide; background 0x0F4883.
HWND createPresetListView(HWND parent, int id, int x, int y, int width, int height);

// Empties the list and adds a row with each row's gameName; a row that
// cannot be added ends the filling.
void fillPresetListView(HWND list, const PresetTable& table, const PresetRows& rows);

// Selects and focuses `row` alone (nothing for a row outside the list).
void selectPresetRow(HWND list, int row);

// Rows whose state is selected, from the top.
std::vector<int> selectedPresetRows(HWND list);

// WM_DRAWITEM of a row: its picture of the skin and its text.
void drawPresetRow(const DRAWITEMSTRUCT* item);

// A message box with one of the list messages, caption "Error".
void showListMessage(HWND owner, ListMessage message, int count = 0);

// A flat button of the presets page or the dialog: its place, the string
// of its tooltip (0: none) and the skin picture it shows in every state.
struct PictureButton {
    int id;
    int x, y, width, height;
    int tooltip;
    skin::Sprite picture;
};

// Makes each button a flat owner-drawn button of `parent`.
void createPictureButtons(HWND parent, const PictureButton* buttons, size_t count);
// Paints `item` when it is one of the buttons; false when it is none.
bool paintPictureButton(const DRAWITEMSTRUCT* item, const PictureButton* buttons, size_t count);
// The tooltip string of button `id`; 0 when it is none of them.
int pictureButtonTooltip(int id, const PictureButton* buttons, size_t count);

template <size_t N>
void createPictureButtons(HWND parent, const PictureButton (&buttons)[N]) {
    createPictureButtons(parent, buttons, N);
}
template <size_t N>
bool paintPictureButton(const DRAWITEMSTRUCT* item, const PictureButton (&buttons)[N]) {
    return paintPictureButton(item, buttons, N);
}
template <size_t N>
int pictureButtonTooltip(int id, const PictureButton (&buttons)[N]) {
    return pictureButtonTooltip(id, buttons, N);
}

}  // namespace zentra
