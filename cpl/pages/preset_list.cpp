#include "cpl/pages/preset_list.h"

#include <cstring>
#include <memory>

namespace zentra {

namespace {

PresetLists g_lists;  // zero until presetLists() first prepares it
bool g_listsReady = false;

// The sort's second table and a scratch table for imports: static, a table
// is about 680 KB.
Preset g_sorted[kMaxPresets];
PresetTable g_loaded;

// Byte-by-byte comparison of two names as unsigned bytes.
int compareNames(const char* a, const char* b) {
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    for (size_t i = 0; i < size_t(kTextSize); ++i) {
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
        if (x[i] == 0) return 0;
    }
    return 0;
}

PresetTable& sideTable(PanelState& panel, PresetLists& lists, Side side) {
    return side == Side::Presets ? panel.table : lists.fileTable;
}
PresetRows& sideRows(PresetLists& lists, Side side) { return side == Side::Presets ? lists.rows : lists.fileRows; }

// Sets undoOp to one operation alone: the edit backups no longer apply.
void setUndo(PresetLists& lists, uint32_t code) {
    lists.undoOp = code;
    lists.nameOwner = lists.pathOwner = -1;
}

// Moves an index through a sort or a removal; a removed entry gives -1.
int remap(int index, const int* newIndexOf, int oldCount) {
    return index >= 0 && index < oldCount ? newIndexOf[index] : -1;
}

// currentPreset := the entry at currentIndex. An empty table has the
// default preset as its current one: a deleted preset must never stay the
// one that is printed, uploaded and stored when the page closes.
void loadCurrent(PanelState& panel) {
    if (hasCurrentPreset(panel)) {
        copyPreset(panel.currentPreset, panel.table.presets[panel.currentIndex]);
    } else {
        panel.currentIndex = 0;
        resetPreset(panel.currentPreset, Deliverable::Panel);
    }
}

// Sorts one side. On the preset table, currentIndex and the backups' owners
// follow their presets.
void sortSide(PanelState& panel, PresetLists& lists, Side side) {
    PresetTable& table = sideTable(panel, lists, side);
    const int count = table.presetCount;
    int newIndexOf[kMaxPresets];
    sortPresetsByName(table.presets, count, newIndexOf);
    if (side != Side::Presets) return;
    const int current = remap(panel.currentIndex, newIndexOf, count);
    panel.currentIndex = uint16_t(current < 0 ? 0 : current);
    lists.nameOwner = remap(lists.nameOwner, newIndexOf, count);
    lists.pathOwner = remap(lists.pathOwner, newIndexOf, count);
}

// The first preset the presets page lists (car/motorbike), or the first
// one of the table when it lists none: what becomes current when the
// current preset goes, so that the page never edits a preset it hides.
int firstListedPreset(const PresetTable& table) {
    for (int i = 0; i < table.presetCount; ++i)
        if (typeShown(kShowType2, table.presets[i].gameType)) return i;
    return 0;
}

// Removes the marked presets of a side, keeping the order of the others;
// the removed ones go to `into` (when given). Records move whole: the
// presets that only move up keep every field the file stores (the
// inversion, which the tray program sends with a game's preset, and the
// mouse settings). On the preset table the current index follows its
// preset; when that one is gone the first listed preset is current.
int removeMarked(PanelState& panel, PresetLists& lists, Side side, Preset* into) {
    PresetTable& table = sideTable(panel, lists, side);
    const int count = table.presetCount;
    int newIndexOf[kMaxPresets];
    int kept = 0, removed = 0;
    for (int i = 0; i < count; ++i) {
        if (table.presets[i].selected == 1) {
            if (into) into[removed] = table.presets[i];
            ++removed;
            newIndexOf[i] = -1;
        } else {
            if (kept != i) table.presets[kept] = table.presets[i];
            newIndexOf[i] = kept++;
        }
    }
    table.presetCount = uint16_t(kept);
    if (side == Side::Presets) {
        const int current = remap(panel.currentIndex, newIndexOf, count);
        panel.currentIndex = uint16_t(current < 0 ? firstListedPreset(table) : current);
        // The working copy of a removed preset must never go back over
        // another one.
        if (current < 0) loadCurrent(panel);
        lists.nameOwner = remap(lists.nameOwner, newIndexOf, count);
        lists.pathOwner = remap(lists.pathOwner, newIndexOf, count);
    }
    return removed;
}

// Appends `n` presets up to the capacity; returns how many did not fit.
// Copies between the tables go through the control panel's copy; presets
// that Undo brings back come back whole, as they were deleted.
enum class Append { Copy, Whole };
int appendPresets(PresetTable& table, const Preset* presets, int n, Append how) {
    int taken = 0;
    for (; taken < n && table.presetCount < kMaxPresets; ++taken) {
        Preset& slot = table.presets[table.presetCount++];
        if (how == Append::Copy)
            copyPreset(slot, presets[taken]);
        else
            slot = presets[taken];
    }
    return n - taken;
}

// Marks the presets shown by `rows` (rows outside the list are ignored);
// returns how many rows were valid.
int markRows(PresetTable& table, const PresetRows& rows, const std::vector<int>& selectedRows) {
    int marked = 0;
    for (int row : selectedRows) {
        if (row < 0 || uint32_t(row) >= rows.visibleCount || rows.rowToPreset[row] >= table.presetCount) continue;
        table.presets[rows.rowToPreset[row]].selected = 1;
        ++marked;
    }
    return marked;
}

// The backup rule of an edit: the first edit of a preset keeps its text.
void takeBackup(PanelState& panel, PresetLists& lists, uint32_t bit, char (&backup)[kTextSize], int& owner,
                const char* text) {
    if ((lists.undoOp & bit) && owner == panel.currentIndex) return;
    lists.undoOp |= bit;
    setPresetText(backup, text);
    owner = panel.currentIndex;
}

}  // namespace

PresetLists& presetLists() {
    if (!g_listsReady) resetPresetLists();
    return g_lists;
}

void forgetUndo(PresetLists& lists) {
    setUndo(lists, kUndoNothing);
    lists.deletedCount = 0;
}

void resetPresetLists() {
    g_listsReady = true;
    std::memset(&g_lists, 0, sizeof g_lists);
    g_lists.nameOwner = g_lists.pathOwner = -1;
    g_lists.typeFilter = kShowType2;
}

void sortPresetsByName(Preset* presets, int count, int* newIndexOf) {
    // placedFrom[k]: the old index of the preset now at k.
    int placedFrom[kMaxPresets];
    int placed = 0;
    for (int i = 0; i < count && i < kMaxPresets; ++i) {
        int at = 0;
        while (at < placed && compareNames(g_sorted[at].gameName, presets[i].gameName) < 0) ++at;
        std::memmove(&g_sorted[at + 1], &g_sorted[at], size_t(placed - at) * sizeof(Preset));
        std::memmove(&placedFrom[at + 1], &placedFrom[at], size_t(placed - at) * sizeof(int));
        g_sorted[at] = presets[i];
        placedFrom[at] = i;
        ++placed;
    }
    std::memcpy(presets, g_sorted, size_t(placed) * sizeof(Preset));
    if (newIndexOf)
        for (int k = 0; k < placed; ++k) newIndexOf[placedFrom[k]] = k;
}

bool typeShown(uint8_t filter, uint16_t gameType) {
    switch (gameType) {
    case 0: return filter & kShowType0;
    case 1: return filter & kShowType1;
    case 2: return filter & kShowType2;
    case 3: return filter & kShowType3;
    default: return false;
    }
}

void fillRows(const PresetTable& table, uint8_t filter, PresetRows& rows) {
    rows.visibleCount = 0;
    for (int k = 0; k < table.presetCount && k < kMaxPresets; ++k)
        if (typeShown(filter, table.presets[k].gameType)) rows.rowToPreset[rows.visibleCount++] = uint8_t(k);
}

bool hasCurrentPreset(const PanelState& panel) { return panel.currentIndex < panel.table.presetCount; }

void copyBackCurrent(PanelState& panel) {
    if (hasCurrentPreset(panel)) copyPreset(panel.table.presets[panel.currentIndex], panel.currentPreset);
}

void makeCurrent(PanelState& panel, int index) {
    if (index < 0 || index >= panel.table.presetCount) return;
    copyBackCurrent(panel);
    panel.currentIndex = uint16_t(index);
    loadCurrent(panel);
}

void sortAndRefind(PanelState& panel, PresetLists& lists, int follow) {
    PresetTable& table = panel.table;
    clearSelected(table.presets, table.presetCount);
    if (follow >= 0 && follow < table.presetCount) table.presets[follow].selected = 1;
    sortSide(panel, lists, Side::Presets);
    fillRows(table, kShowType2, lists.rows);
    panel.currentIndex = uint16_t(findFirstSelected(table.presets, table.presetCount));
    if (panel.currentIndex >= table.presetCount) panel.currentIndex = 0;
    loadCurrent(panel);
}

void sortKeepingCurrent(PanelState& panel, PresetLists& lists) {
    sortSide(panel, lists, Side::Presets);
    fillRows(panel.table, kShowType2, lists.rows);
}

void makeFirstRowCurrent(PanelState& panel, PresetLists& lists) {
    panel.currentIndex = lists.rows.visibleCount > 0 ? lists.rows.rowToPreset[0] : 0;
    if (panel.currentIndex >= panel.table.presetCount) panel.currentIndex = 0;
    loadCurrent(panel);
}

ListChange newPreset(PanelState& panel, PresetLists& lists) {
    PresetTable& table = panel.table;
    if (table.presetCount >= kMaxPresets) return ListChange::TableFull;
    setUndo(lists, kUndoNew);
    clearSelected(table.presets, table.presetCount);
    // Built apart: currentPreset still holds the entry it goes back to.
    auto fresh = std::make_unique<Preset>();
    resetPreset(*fresh, Deliverable::Panel);
    copyBackCurrent(panel);
    const int added = table.presetCount++;
    copyPreset(table.presets[added], *fresh);
    table.presets[added].selected = 1;
    sortAndRefind(panel, lists, added);
    return ListChange::Done;
}

ListChange duplicatePreset(PanelState& panel, PresetLists& lists) {
    PresetTable& table = panel.table;
    if (!hasCurrentPreset(panel)) return ListChange::Nothing;
    if (table.presetCount >= kMaxPresets) return ListChange::TableFull;
    setUndo(lists, kUndoDuplicate);
    clearSelected(table.presets, table.presetCount);
    copyBackCurrent(panel);
    const int added = table.presetCount++;
    copyPreset(table.presets[added], panel.currentPreset);
    table.presets[panel.currentIndex].selected = 0;
    table.presets[added].selected = 1;
    sortAndRefind(panel, lists, added);
    return ListChange::Done;
}

void deletePresets(PanelState& panel, PresetLists& lists, const std::vector<int>& selectedRows) {
    PresetTable& table = panel.table;
    setUndo(lists, kUndoDelete);
    // The working copy goes back first: Undo then restores what was typed.
    copyBackCurrent(panel);
    clearSelected(table.presets, table.presetCount);
    if (markRows(table, lists.rows, selectedRows) > 0) {
        lists.deletedCount = uint32_t(removeMarked(panel, lists, Side::Presets, lists.deletedPresets));
        clearSelected(lists.deletedPresets, int(lists.deletedCount));
        sortSide(panel, lists, Side::Presets);
    } else {
        lists.deletedCount = 0;
    }
    fillRows(table, kShowType2, lists.rows);
    makeFirstRowCurrent(panel, lists);
}

int undoLast(PanelState& panel, PresetLists& lists) {
    PresetTable& table = panel.table;
    int notTaken = 0;
    copyBackCurrent(panel);
    if (lists.undoOp == kUndoDelete && lists.deletedCount >= 1) {
        notTaken = appendPresets(table, lists.deletedPresets, int(lists.deletedCount), Append::Whole);
        lists.deletedCount = 0;
    }
    if (lists.undoOp == kUndoDuplicate || lists.undoOp == kUndoNew) {
        const int first = findFirstSelected(table.presets, table.presetCount);
        if (first < table.presetCount) {
            clearSelected(table.presets, table.presetCount);
            table.presets[first].selected = 1;
            removeMarked(panel, lists, Side::Presets, nullptr);
        }
    }
    if ((lists.undoOp & kUndoNameEdited) && lists.nameOwner >= 0 && lists.nameOwner < table.presetCount)
        setPresetText(table.presets[lists.nameOwner].gameName, lists.nameBackup);
    if ((lists.undoOp & kUndoPathEdited) && lists.pathOwner >= 0 && lists.pathOwner < table.presetCount)
        setPresetText(table.presets[lists.pathOwner].exePath, lists.pathBackup);
    setUndo(lists, kUndoNothing);
    sortSide(panel, lists, Side::Presets);
    fillRows(table, kShowType2, lists.rows);
    makeFirstRowCurrent(panel, lists);
    return notTaken;
}

namespace {

// An edit of one text field of the current preset. A text equal to the
// stored one is no edit: a click into a field and out again must not turn
// the last New, Duplicate or Delete into an edit that Undo reverts instead.
void editText(PanelState& panel, PresetLists& lists, uint32_t bit, char (&field)[kTextSize],
              char (&backup)[kTextSize], int& owner, const char* text) {
    if (!hasCurrentPreset(panel)) return;
    char cut[kTextSize];
    setPresetText(cut, text);
    if (std::strcmp(cut, field) == 0) return;
    takeBackup(panel, lists, bit, backup, owner, field);
    setPresetText(field, cut);
}

}  // namespace

void editName(PanelState& panel, PresetLists& lists, const char* text) {
    editText(panel, lists, kUndoNameEdited, panel.currentPreset.gameName, lists.nameBackup, lists.nameOwner, text);
}

void editPath(PanelState& panel, PresetLists& lists, const char* text) {
    editText(panel, lists, kUndoPathEdited, panel.currentPreset.exePath, lists.pathBackup, lists.pathOwner, text);
}

bool commitName(PanelState& panel, PresetLists& lists) {
    if (!hasCurrentPreset(panel)) return false;
    // A name that is still the table's needs no new place, and a sort would
    // move the marks that Undo of a New or a Duplicate goes by.
    if (std::strcmp(panel.currentPreset.gameName, panel.table.presets[panel.currentIndex].gameName) == 0)
        return false;
    copyBackCurrent(panel);
    sortAndRefind(panel, lists, panel.currentIndex);
    return true;
}

void renameRow(PanelState& panel, PresetLists& lists, int row, const char* text) {
    if (row < 0 || uint32_t(row) >= lists.rows.visibleCount) return;
    makeCurrent(panel, lists.rows.rowToPreset[row]);
    editName(panel, lists, text);
    commitName(panel, lists);
}

int copyRows(PanelState& panel, PresetLists& lists, Side from, const std::vector<int>& rows) {
    const Side to = from == Side::Presets ? Side::File : Side::Presets;
    PresetTable& source = sideTable(panel, lists, from);
    PresetTable& target = sideTable(panel, lists, to);
    setUndo(lists, from == Side::Presets ? kUndoCopyToFile : kUndoCopyToPresets);
    clearSelected(panel.table.presets, panel.table.presetCount);
    clearSelected(lists.fileTable.presets, lists.fileTable.presetCount);
    int notTaken = 0;
    const bool noCurrentBefore = !hasCurrentPreset(panel);
    for (int row : rows) {
        const PresetRows& shown = sideRows(lists, from);
        if (row < 0 || uint32_t(row) >= shown.visibleCount || shown.rowToPreset[row] >= source.presetCount) continue;
        Preset& preset = source.presets[shown.rowToPreset[row]];
        preset.selected = 1;  // the copy carries the mark: Undo finds the copies by it
        notTaken += appendPresets(target, &preset, 1, Append::Copy);
    }
    if (notTaken == int(rows.size())) return notTaken;
    sortSide(panel, lists, to);
    // Into an empty table: its first preset becomes the one worked on.
    if (noCurrentBefore && hasCurrentPreset(panel)) loadCurrent(panel);
    refillDialogRows(panel, lists);
    return notTaken;
}

void deleteRows(PanelState& panel, PresetLists& lists, Side side, const std::vector<int>& rows) {
    PresetTable& table = sideTable(panel, lists, side);
    setUndo(lists, side == Side::Presets ? kUndoDeleteInPresets : kUndoDeleteInFile);
    clearSelected(panel.table.presets, panel.table.presetCount);
    clearSelected(lists.fileTable.presets, lists.fileTable.presetCount);
    if (markRows(table, sideRows(lists, side), rows) == 0) {
        // Nothing to delete: nothing to bring back either.
        lists.deletedCount = 0;
        return;
    }
    lists.deletedCount = uint32_t(removeMarked(panel, lists, side, lists.deletedPresets));
    clearSelected(lists.deletedPresets, int(lists.deletedCount));
    sortSide(panel, lists, side);
    refillDialogRows(panel, lists);
}

int undoDialog(PanelState& panel, PresetLists& lists) {
    int notTaken = 0;
    switch (lists.undoOp) {
    case kUndoCopyToFile:
        removeMarked(panel, lists, Side::File, nullptr);
        sortSide(panel, lists, Side::File);
        break;
    case kUndoCopyToPresets:
        removeMarked(panel, lists, Side::Presets, nullptr);
        sortSide(panel, lists, Side::Presets);
        break;
    case kUndoDeleteInFile:
        notTaken = appendPresets(lists.fileTable, lists.deletedPresets, int(lists.deletedCount), Append::Whole);
        lists.deletedCount = 0;
        sortSide(panel, lists, Side::File);
        break;
    case kUndoDeleteInPresets: {
        const bool noCurrentBefore = !hasCurrentPreset(panel);
        notTaken = appendPresets(panel.table, lists.deletedPresets, int(lists.deletedCount), Append::Whole);
        lists.deletedCount = 0;
        sortSide(panel, lists, Side::Presets);
        if (noCurrentBefore) loadCurrent(panel);
        break;
    }
    default: break;
    }
    setUndo(lists, kUndoNothing);
    refillDialogRows(panel, lists);
    return notTaken;
}

void refillDialogRows(const PanelState& panel, PresetLists& lists) {
    fillRows(panel.table, lists.typeFilter, lists.rows);
    fillRows(lists.fileTable, lists.typeFilter, lists.fileRows);
}

void toggleTypeFilter(const PanelState& panel, PresetLists& lists, uint8_t bit) {
    lists.typeFilter ^= bit;
    refillDialogRows(panel, lists);
}

int importFile(PanelState& panel, PresetLists& lists, OwnerWindow owner, const char* path, FileSystem& files,
               PresetFileNotice* notice) {
    // Read into a table of defaults: a section missing from a damaged file
    // then leaves default values, not those of the presets loaded before.
    for (Preset& p : g_loaded.presets) {
        std::memset(&p, 0, sizeof p);
        resetPreset(p, Deliverable::Panel);
    }
    g_loaded.presetCount = 0;
    const int result = loadPresetFile(owner, path, g_loaded, files, notice);
    if (result == 0) {
        clearSelected(g_loaded.presets, g_loaded.presetCount);
        lists.fileTable = g_loaded;
    }
    sortSide(panel, lists, Side::File);
    refillDialogRows(panel, lists);
    return result;
}

}  // namespace zentra

#include "cpl/frame/localized_text.h"

namespace zentra {

std::string listMessage(uint16_t uiLanguage, ListMessage message, int count) {
    struct Texts {
        uint16_t language;
        const char* full;
        const char* notTaken;  // the number goes in front
        const char* tooLong;
        const char* saveFailed;
        const char* nothingToPrint;
    };
    // Western code page texts.
    static const Texts kTexts[] = {
        {kUiEnglish, "The preset list is full: it holds at most 255 presets.",
         " preset(s) could not be added: the list holds at most 255 presets.",
         "The path of this file is longer than 254 characters and cannot be stored in the preset.",
         "The preset file could not be saved.",
         "There is no preset to print: the list is empty."},
        {kUiGerman, "Die Preset-Liste ist voll: sie fasst h\xF6" "chstens 255 Presets.",
         " Preset(s) konnten nicht hinzugef\xFCgt werden: die Liste fasst h\xF6" "chstens 255 Presets.",
         "Der Pfad dieser Datei ist l\xE4nger als 254 Zeichen und kann nicht im Preset gespeichert werden.",
         "Die Preset-Datei konnte nicht gespeichert werden.",
         "Es gibt kein Preset zum Drucken: die Liste ist leer."},
        {kUiFrench, "La liste des presets est pleine : elle en contient 255 au plus.",
         " preset(s) n'ont pas pu \xEAtre ajout\xE9s : la liste en contient 255 au plus.",
         "Le chemin de ce fichier d\xE9passe 254 caract\xE8res et ne peut pas \xEAtre enregistr\xE9 dans le preset.",
         "Le fichier de presets n'a pas pu \xEAtre enregistr\xE9.",
         "Il n'y a aucun preset \xE0 imprimer : la liste est vide."},
        {kUiSpanish, "La lista de presets est\xE1 llena: admite 255 presets como m\xE1ximo.",
         " preset(s) no se pudieron a\xF1" "adir: la lista admite 255 presets como m\xE1ximo.",
         "La ruta de este archivo supera los 254 caracteres y no se puede guardar en el preset.",
         "No se pudo guardar el archivo de presets.",
         "No hay ning\xFAn preset que imprimir: la lista est\xE1 vac\xED" "a."},
        {kUiItalian, "L'elenco dei preset \xE8 pieno: contiene al massimo 255 preset.",
         " preset non sono stati aggiunti: l'elenco contiene al massimo 255 preset.",
         "Il percorso di questo file supera i 254 caratteri e non pu\xF2 essere salvato nel preset.",
         "Impossibile salvare il file dei preset.",
         "Non c'\xE8 nessun preset da stampare: l'elenco \xE8 vuoto."},
        {kUiPortuguese, "A lista de presets est\xE1 cheia: cont\xE9m no m\xE1ximo 255 presets.",
         " preset(s) n\xE3o puderam ser adicionados: a lista cont\xE9m no m\xE1ximo 255 presets.",
         "O caminho deste arquivo tem mais de 254 caracteres e n\xE3o pode ser guardado no preset.",
         "N\xE3o foi poss\xEDvel guardar o arquivo de presets.",
         "N\xE3o h\xE1 nenhum preset para imprimir: a lista est\xE1 vazia."},
        {kUiDutch, "De presetlijst is vol: er passen hoogstens 255 presets in.",
         " preset(s) konden niet worden toegevoegd: er passen hoogstens 255 presets in de lijst.",
         "Het pad van dit bestand is langer dan 254 tekens en kan niet in de preset worden opgeslagen.",
         "Het presetbestand kon niet worden opgeslagen.",
         "Er is geen preset om af te drukken: de lijst is leeg."},
    };
    const Texts* texts = &kTexts[0];
    for (const Texts& t : kTexts)
        if (t.language == uiLanguage || (uiLanguage == kDutchTable && t.language == kUiDutch)) texts = &t;
    switch (message) {
    case ListMessage::TableFull: return texts->full;
    case ListMessage::NotTaken: return std::to_string(count) + texts->notTaken;
    case ListMessage::PathTooLong: return texts->tooLong;
    case ListMessage::SaveFailed: return texts->saveFailed;
    case ListMessage::NothingToPrint: return texts->nothingToPrint;
    }
    return {};
}

}  // namespace zentra
