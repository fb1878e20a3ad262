// The game list's operations, without a window: the name sort, the rows a
// list shows, choosing the current preset, New, Duplicate, Delete, renaming,
// the executable path, Undo with its backups, and the import/export dialog's
// copies and deletes between the preset table and the file table. The
// presets page and the import/export dialog carry them out on their
// controls; everything they keep between openings is in presetLists().
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cpl/frame/panel_state.h"
#include "preset/file_system.h"
#include "preset/preset.h"
#include "preset/preset_file.h"

namespace zentra {

// What Undo can revert (undoOp). The page's codes stand alone; the two edit
// bits are added to whatever is there.
constexpr uint32_t kUndoNothing = 0;
constexpr uint32_t kUndoDelete = 2;
constexpr uint32_t kUndoNew = 4;
constexpr uint32_t kUndoCopyToFile = 8;        // import/export dialog, left to right
constexpr uint32_t kUndoDeleteInFile = 16;     // import/export dialog, right side
constexpr uint32_t kUndoCopyToPresets = 32;    // import/export dialog, right to left
constexpr uint32_t kUndoDeleteInPresets = 64;  // import/export dialog, left side
constexpr uint32_t kUndoDuplicate = 128;
constexpr uint32_t kUndoNameEdited = 0x100;
constexpr uint32_t kUndoPathEdited = 0x200;

// Type filter bits: which gameType a list shows.
constexpr uint8_t kShowType0 = 0x02;
constexpr uint8_t kShowType1 = 0x04;
constexpr uint8_t kShowType2 = 0x08;  // car/motorbike, the presets page's only type
constexpr uint8_t kShowType3 = 0x01;

// The rows of one list: the table index each row shows, in row order.
struct PresetRows {
    uint8_t rowToPreset[kMaxPresets];
    uint32_t visibleCount;
};

// Everything the page and the dialog keep between their openings.
struct PresetLists {
    uint32_t undoOp;
    char nameBackup[kTextSize];
    int nameOwner;  // table index of the preset nameBackup was taken from, -1 none
    char pathBackup[kTextSize];
    int pathOwner;
    Preset deletedPresets[kMaxPresets];
    uint32_t deletedCount;
    PresetRows rows;      // the presets page's list, or the dialog's left list
    PresetTable fileTable;  // the dialog's right side, kept from one opening to the next
    PresetRows fileRows;
    uint8_t typeFilter;
};

// The module's one instance; a fresh one starts with an empty file table and
// the filter showing car/motorbike presets.
PresetLists& presetLists();
void resetPresetLists();
// Nothing left to undo: for a table loaded anew (the sheet opened again in
// the same process), to which the last steps and backups do not belong.
void forgetUndo(PresetLists& lists);

// --- Sorting and rows ---------------------------------------------------------

// Sorts the first `count` presets by gameName, byte by byte (unsigned),
// with an insertion into a second table: each preset goes in front of the
// first placed one whose name is greater or equal, so equal names come out
// in reverse order. The records are moved whole. `newIndexOf`, when given,
// receives each old index's new place (count entries).
void sortPresetsByName(Preset* presets, int count, int* newIndexOf = nullptr);

bool typeShown(uint8_t filter, uint16_t gameType);

// Rows for the presets of `table` whose type `filter` shows, in table order.
void fillRows(const PresetTable& table, uint8_t filter, PresetRows& rows);

// --- The presets page -----------------------------------------------------

// Whether currentPreset comes from an entry of the table (false for an
// empty table, whose current preset is the default one).
bool hasCurrentPreset(const PanelState& panel);

// currentPreset back into its table entry (copyPreset), when it has one.
void copyBackCurrent(PanelState& panel);

// Makes table entry `index` current: the working copy goes back first.
// Nothing happens for an index outside the table.
void makeCurrent(PanelState& panel, int index);

// Sorts the table, refills the page's rows and finds the preset marked
// `follow` again (the marks are cleared first, then only `follow` is
// marked); currentPreset := that preset (the default preset for an empty
// table).
void sortAndRefind(PanelState& panel, PresetLists& lists, int follow);

// Sorts the table keeping every mark and keeping currentIndex on the same
// preset; refills the page's rows. For the page's creation and the return
// from the import/export dialog.
void sortKeepingCurrent(PanelState& panel, PresetLists& lists);

// The preset shown in row 0 becomes current; without rows the first preset
// of the table is. Without presets the default preset is current (it is not
// in the table, so nothing goes back from it).
void makeFirstRowCurrent(PanelState& panel, PresetLists& lists);

enum class ListChange { Done, Nothing, TableFull };

// New: a default preset appended and made current. A full table refuses and
// changes nothing.
ListChange newPreset(PanelState& panel, PresetLists& lists);
// Duplicate: a copy of the current preset appended and made current. Nothing
// happens on an empty table; a full one refuses.
ListChange duplicatePreset(PanelState& panel, PresetLists& lists);
// Delete: the presets of the rows given are moved into the undo buffer, the
// table sorted, and row 0 made current. With no rows given the buffer is
// emptied, so that Undo never brings presets back twice.
void deletePresets(PanelState& panel, PresetLists& lists, const std::vector<int>& selectedRows);

// Undo of the last operation (or of the name and path edits), then the sort
// and row 0 current. Returns how many presets did not fit into the table.
int undoLast(PanelState& panel, PresetLists& lists);

// An edit of the current preset's name or path: the text (cut at 254
// characters) goes into currentPreset, and the first edit of a preset keeps
// the old text for Undo. A text equal to the stored one changes nothing,
// not even undoOp. Nothing happens without a current preset.
void editName(PanelState& panel, PresetLists& lists, const char* text);
void editPath(PanelState& panel, PresetLists& lists, const char* text);
// The name edit is finished (focus lost): a changed name goes back to the
// table and the preset is found again in its sorted place. Returns whether
// the table was sorted.
bool commitName(PanelState& panel, PresetLists& lists);
// A list label edited: the preset of that row becomes current, then takes
// the new name as above. A row outside the list changes nothing.
void renameRow(PanelState& panel, PresetLists& lists, int row, const char* text);

// --- The import/export dialog ------------------------------------------------

enum class Side { Presets, File };

// Copies the presets of `rows` (rows of the list of side `from`) to the end
// of the other side, sorts that side and refills its rows. Stops at 255;
// returns how many were not taken.
int copyRows(PanelState& panel, PresetLists& lists, Side from, const std::vector<int>& rows);
// Deletes the presets of `rows` of side `side` into the undo buffer, sorts
// that side and refills its rows.
void deleteRows(PanelState& panel, PresetLists& lists, Side side, const std::vector<int>& rows);
// The dialog's Undo (codes 8, 16, 32, 64); returns how many presets did not
// fit. undoOp is 0 afterwards.
int undoDialog(PanelState& panel, PresetLists& lists);
// Both lists' rows through the type filter.
void refillDialogRows(const PanelState& panel, PresetLists& lists);
// Flips one filter bit and refills both lists.
void toggleTypeFilter(const PanelState& panel, PresetLists& lists, uint8_t bit);

// Loads a preset file into the file table, which is replaced only when the
// file is read (a refused file leaves it as it was); sorted, rows refilled.
// Returns loadPresetFile's result.
int importFile(PanelState& panel, PresetLists& lists, OwnerWindow owner, const char* path, FileSystem& files,
               PresetFileNotice* notice);

}  // namespace zentra

namespace zentra {

// The page's and the dialog's own messages, in the user-interface language
// (one of the string tables' seven; English for any other).
enum class ListMessage {
    TableFull,     // New or Duplicate on a table of 255 presets
    NotTaken,      // a copy or an undo left `count` presets out
    PathTooLong,   // a chosen executable's path does not fit into the preset
    SaveFailed,    // a preset file could not be written; the system's reason follows
    NothingToPrint,  // Print with no preset in the table
};
std::string listMessage(uint16_t uiLanguage, ListMessage message, int count = 0);

}  // namespace zentra
