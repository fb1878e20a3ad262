// The import/export dialog (template 176): the preset table on the left, the
// file table on the right, copies and deletes both ways with Undo, loading
// and saving ".pst" files, and the type filter.
#pragma once

#include <windows.h>

namespace zentra {

// Control ids.
constexpr int IDC_IE_PRESETS_LIST = 109;
constexpr int IDC_IE_FILE_LIST = 110;
constexpr int IDC_IE_IMPORT = 257;
constexpr int IDC_IE_UNDO = 258;
constexpr int IDC_IE_COPY_TO_PRESETS = 259;
constexpr int IDC_IE_COPY_TO_FILE = 260;
constexpr int IDC_IE_DELETE_IN_FILE = 261;
constexpr int IDC_IE_DELETE_IN_PRESETS = 262;
constexpr int IDC_IE_EXPORT = 263;
constexpr int IDC_IE_FILE_PATH = 264;
constexpr int IDC_IE_SHOW_TYPE0 = 265;  // filter toggles of game types 0..3
constexpr int IDC_IE_SHOW_TYPE1 = 266;
constexpr int IDC_IE_SHOW_TYPE2 = 267;
constexpr int IDC_IE_SHOW_TYPE3 = 268;
constexpr INT_PTR kImportExportResult = 12;

// Modal over `owner`; returns kImportExportResult however it is closed, -1
// when it could not be shown.
INT_PTR ShowImportExportDialog(HWND owner);

}  // namespace zentra
