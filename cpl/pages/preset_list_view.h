// The owner-drawn preset list shared by the presets page and both lists of
// the import/export dialog: its creation, its filling from rows, its row
// painting, the rows the user has selected, and the messages both show.
#pragma once

#include <windows.h>

#include <vector>

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

}  // namespace zentra
