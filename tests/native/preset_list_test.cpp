// The game list's operations: sort, rows, New/Duplicate/Delete/Undo with
// the edit backups, the import/export dialog's copies, and long random runs
// of all of them that must keep the table sound.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cpl/pages/preset_list.h"
#include "preset/file_system_memory.h"

namespace zentra {
namespace {

class PresetListTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetPresetLists();
        panel = std::make_unique<PanelState>();
    }

    // Table of presets with these names (type 2 unless `types` says).
    void setTable(const std::vector<std::string>& names, const std::vector<uint16_t>& types = {}) {
        PresetTable& t = panel->table;
        t.presetCount = uint16_t(names.size());
        for (size_t i = 0; i < names.size(); ++i) {
            resetPreset(t.presets[i], Deliverable::Panel);
            setPresetText(t.presets[i].gameName, names[i].c_str());
            setPresetText(t.presets[i].exePath, ("C:\\" + names[i] + ".exe").c_str());
            t.presets[i].buttonKeys[0][0] = KeyCode(i + 1);  // tells equal names apart
            if (i < types.size()) t.presets[i].gameType = types[i];
        }
        panel->currentIndex = 0;
        copyPreset(panel->currentPreset, t.presets[0]);
        fillRows(t, kShowType2, lists().rows);
    }
    std::vector<std::string> names(const PresetTable& t) const {
        std::vector<std::string> out;
        for (int i = 0; i < t.presetCount; ++i) out.emplace_back(t.presets[i].gameName);
        return out;
    }
    std::vector<std::string> names() const { return names(panel->table); }
    int indexOf(const char* name) const {
        for (int i = 0; i < panel->table.presetCount; ++i)
            if (std::strcmp(panel->table.presets[i].gameName, name) == 0) return i;
        return -1;
    }
    int rowOf(const char* name) const {
        for (uint32_t r = 0; r < lists().rows.visibleCount; ++r)
            if (lists().rows.rowToPreset[r] == indexOf(name)) return int(r);
        return -1;
    }
    void choose(const char* name) { makeCurrent(*panel, indexOf(name)); }
    std::string current() const { return panel->currentPreset.gameName; }
    static PresetLists& lists() { return presetLists(); }

    std::unique_ptr<PanelState> panel;
};

TEST_F(PresetListTest, SortOrdersByUnsignedBytesAndPutsTheLaterOfEqualNamesFirst) {
    setTable({"b", "B", "a", "\xE9t\xE9", "a", "A"});
    sortKeepingCurrent(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "a", "a", "b", "\xE9t\xE9"}));
    // The second "a" (keys 5) was later in the table: it comes first.
    EXPECT_EQ(panel->table.presets[2].buttonKeys[0][0], 5);
    EXPECT_EQ(panel->table.presets[3].buttonKeys[0][0], 3);
    // The current preset ("b", keys 1) was followed through the sort.
    EXPECT_EQ(panel->currentIndex, 4);
}

TEST_F(PresetListTest, SortKeepsAxisInversionOfEveryPreset) {
    setTable({"b", "a"});
    panel->table.presets[0].axisInvert = 0x01000001;
    sortKeepingCurrent(*panel, lists());
    EXPECT_EQ(panel->table.presets[1].axisInvert, 0x01000001u);
}

TEST_F(PresetListTest, OnlyTypesTheFilterShowsGetRows) {
    setTable({"fly", "car", "act", "other", "odd"}, {0, 2, 1, 3, 7});
    fillRows(panel->table, kShowType2, lists().rows);
    ASSERT_EQ(lists().rows.visibleCount, 1u);
    EXPECT_EQ(lists().rows.rowToPreset[0], 1);
    fillRows(panel->table, kShowType0 | kShowType1 | kShowType2 | kShowType3, lists().rows);
    EXPECT_EQ(lists().rows.visibleCount, 4u);  // type 7 is never shown
}

TEST_F(PresetListTest, NewThenUndoRemovesTheNewPresetAndRowZeroIsCurrent) {
    setTable({"Rally", "Kart"});
    sortKeepingCurrent(*panel, lists());
    choose("Rally");
    setPresetText(panel->currentPreset.exePath, "C:\\typed.exe");
    ASSERT_EQ(newPreset(*panel, lists()), ListChange::Done);
    EXPECT_EQ(current(), kDefaultPresetName);
    EXPECT_EQ(names(), (std::vector<std::string>{"<<<DEFAULT PRESETS>>>", "Kart", "Rally"}));
    EXPECT_STREQ(panel->table.presets[indexOf("Rally")].exePath, "C:\\typed.exe");  // copied back, not defaulted
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"Kart", "Rally"}));
    EXPECT_EQ(current(), "Kart");
    EXPECT_EQ(lists().undoOp, kUndoNothing);
}

TEST_F(PresetListTest, NewThenRenameUndoesOnlyTheRename) {
    setTable({"Rally"});
    newPreset(*panel, lists());
    editName(*panel, lists(), "Zed");
    commitName(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"Rally", "Zed"}));
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"<<<DEFAULT PRESETS>>>", "Rally"}));
}

TEST_F(PresetListTest, DuplicateFollowsTheCopyAcrossTheSortOfEqualNames) {
    setTable({"Rally", "Kart"});
    sortKeepingCurrent(*panel, lists());
    choose("Rally");
    panel->currentPreset.buttonKeys[3][0] = 0x1E;
    ASSERT_EQ(duplicatePreset(*panel, lists()), ListChange::Done);
    // The copy, later in the table, sorts in front of the original.
    EXPECT_EQ(panel->currentIndex, 1);
    EXPECT_EQ(panel->table.presets[2].buttonKeys[3][0], 0x1E);  // the original got the edit too
    // A later sort keeps the user on the same preset.
    const KeyCode mark = panel->table.presets[panel->currentIndex].buttonKeys[0][0];
    sortKeepingCurrent(*panel, lists());
    EXPECT_EQ(panel->table.presets[panel->currentIndex].buttonKeys[0][0], mark);
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"Kart", "Rally"}));
}

TEST_F(PresetListTest, DeleteThreeRowsThenUndoAppendsThemAndSorts) {
    setTable({"a", "b", "c", "d", "e"});
    choose("b");
    setPresetText(panel->currentPreset.exePath, "C:\\typed.exe");
    deletePresets(*panel, lists(), {1, 3, 4});
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(current(), "a");
    EXPECT_EQ(lists().deletedCount, 3u);
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_STREQ(panel->table.presets[1].exePath, "C:\\typed.exe");
    undoLast(*panel, lists());  // nothing more to undo
    EXPECT_EQ(names().size(), 5u);
}

TEST_F(PresetListTest, DeleteWithNoRowEmptiesTheBufferSoUndoBringsNothingBackTwice) {
    setTable({"a", "b"});
    deletePresets(*panel, lists(), {1});
    deletePresets(*panel, lists(), {});
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"a"}));
}

TEST_F(PresetListTest, RenameThenUndoPutsTheOldNameBackInItsSortedPlace) {
    setTable({"Alpha", "Mid"});
    editName(*panel, lists(), "Zulu");
    commitName(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"Mid", "Zulu"}));
    EXPECT_EQ(current(), "Zulu");
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "Mid"}));
}

TEST_F(PresetListTest, BackupsBelongToThePresetTheyWereTakenFrom) {
    setTable({"A", "B"});
    editName(*panel, lists(), "A2");
    editPath(*panel, lists(), "C:\\new.exe");
    commitName(*panel, lists());
    choose("B");
    editName(*panel, lists(), "B");  // B's own edit takes B's backup
    editName(*panel, lists(), "B2");
    commitName(*panel, lists());
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"A2", "B"}));
    // A's path edit was the last path edit: A gets its path back, B keeps its own.
    EXPECT_STREQ(panel->table.presets[0].exePath, "C:\\A.exe");
    EXPECT_STREQ(panel->table.presets[1].exePath, "C:\\B.exe");
}

TEST_F(PresetListTest, FullTableRefusesNewAndDuplicateAndChangesNothing) {
    setTable(std::vector<std::string>(kMaxPresets, "x"));
    lists().undoOp = kUndoDelete;
    EXPECT_EQ(newPreset(*panel, lists()), ListChange::TableFull);
    EXPECT_EQ(duplicatePreset(*panel, lists()), ListChange::TableFull);
    EXPECT_EQ(panel->table.presetCount, kMaxPresets);
    EXPECT_EQ(lists().undoOp, kUndoDelete);
}

// The default preset's values, written out: what an empty table has as its
// current preset, so that nothing deleted is printed, uploaded or stored.
void expectDefaultPreset(const Preset& p) {
    EXPECT_STREQ(p.gameName, "<<<DEFAULT PRESETS>>>");
    EXPECT_STREQ(p.exePath, "<<<NO PATH>>>");
    EXPECT_EQ(p.gameType, 2);
    EXPECT_EQ(p.pedalsLinked, 1u);
    EXPECT_EQ(p.curveP1x[2], 25);
    EXPECT_EQ(p.curveP2y[3], 30);
    EXPECT_EQ(p.buttonKeys[0][0], 0);
    EXPECT_EQ(p.clickMask[1], 0);
}

TEST_F(PresetListTest, EmptiedTableHasTheDefaultPresetCurrentOnThePageAndInTheDialog) {
    for (bool dialog : {false, true}) {
        SCOPED_TRACE(dialog ? "dialog" : "page");
        setTable({"Rally", "Kart"});
        panel->table.presets[0].clickMask[1] = 0x10;
        panel->currentPreset.clickMask[1] = 0x10;
        panel->currentPreset.buttonKeys[0][0] = 0x1E;
        refillDialogRows(*panel, lists());
        if (dialog)
            deleteRows(*panel, lists(), Side::Presets, {0, 1});
        else
            deletePresets(*panel, lists(), {0, 1});
        EXPECT_EQ(panel->table.presetCount, 0);
        EXPECT_FALSE(hasCurrentPreset(*panel));
        EXPECT_EQ(panel->currentIndex, 0);
        expectDefaultPreset(panel->currentPreset);
    }
}

TEST_F(PresetListTest, EmptyTableHasNothingToEditAndNewStillWorks) {
    setTable({"a"});
    deletePresets(*panel, lists(), {0});
    EXPECT_EQ(panel->table.presetCount, 0);
    EXPECT_FALSE(hasCurrentPreset(*panel));
    editName(*panel, lists(), "ghost");
    commitName(*panel, lists());
    EXPECT_EQ(duplicatePreset(*panel, lists()), ListChange::Nothing);
    EXPECT_EQ(panel->table.presetCount, 0);
    EXPECT_EQ(newPreset(*panel, lists()), ListChange::Done);
    EXPECT_EQ(names(), (std::vector<std::string>{kDefaultPresetName}));
}

TEST_F(PresetListTest, WithoutCarPresetsTheFirstPresetIsCurrent) {
    setTable({"fly", "act"}, {0, 1});
    deletePresets(*panel, lists(), {0});  // no such row
    EXPECT_EQ(panel->table.presetCount, 2);
    EXPECT_EQ(panel->currentIndex, 0);
}

// The sort's re-find follows the mark, not the name: equal names trade
// places at each sort, and a prefix is not a match.
TEST_F(PresetListTest, RenameFindsThePresetAgainByItsMarkAfterTheSort) {
    const struct {
        std::vector<std::string> table;
        const char* renamed;  // the current one, table entry 0
        const char* name;
        std::vector<int> keysAfter;  // each entry's key in slot 0 (its place before)
        int currentAfter;
    } cases[] = {
        // An earlier preset takes a later one's name: it sorts in after it,
        // then the equal pair trades places.
        {{"Alpha", "Rally"}, "Alpha", "Rally", {2, 1}, 1},
        {{"Rally", "Rally", "Rally"}, "Rally", "Rally X", {3, 2, 1}, 2},
        {{"Rally X", "Rally"}, "Rally X", "Rally X2", {2, 1}, 1},
        {{"Rally", "Rally X"}, "Rally", "Rally Y", {2, 1}, 1},
        {{"b", "a", "a"}, "b", "a", {3, 2, 1}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetPresetLists();
        setTable(c.table);
        editName(*panel, lists(), c.name);
        ASSERT_TRUE(commitName(*panel, lists()));
        std::vector<int> keys;
        for (int i = 0; i < panel->table.presetCount; ++i) keys.push_back(panel->table.presets[i].buttonKeys[0][0]);
        EXPECT_EQ(keys, c.keysAfter);
        EXPECT_EQ(panel->currentIndex, c.currentAfter);
        EXPECT_EQ(panel->currentPreset.buttonKeys[0][0], 1);
        EXPECT_EQ(current(), c.name);
    }
}

TEST_F(PresetListTest, UndoRemovesTheNewOrDuplicatedPresetAndNeverItsOriginal) {
    for (bool duplicate : {false, true}) {
        SCOPED_TRACE(duplicate ? "duplicate" : "new");
        resetPresetLists();
        setTable({"Kart", "Rally"});
        choose("Rally");
        if (duplicate)
            duplicatePreset(*panel, lists());
        else
            newPreset(*panel, lists());
        panel->currentPreset.buttonKeys[0][0] = 0x99;  // the copy, told apart
        choose("Kart");                                // the copy goes back with it
        undoLast(*panel, lists());
        EXPECT_EQ(names(), (std::vector<std::string>{"Kart", "Rally"}));
        EXPECT_EQ(panel->table.presets[1].buttonKeys[0][0], 2) << "the original stays";
        EXPECT_EQ(current(), "Kart");
    }
}

TEST_F(PresetListTest, RowZeroBecomesCurrentAfterDeleteAndUndoWhateverTheTableOrder) {
    // "Air" (flight) is table entry 0 but has no row: row 0 is "Kart".
    setTable({"Air", "Kart", "Rally"}, {0, 2, 2});
    choose("Rally");
    deletePresets(*panel, lists(), {1});
    EXPECT_EQ(panel->currentIndex, 1);
    EXPECT_EQ(current(), "Kart");
    choose("Kart");
    editName(*panel, lists(), "Kart GT");  // typed, not yet left
    editPath(*panel, lists(), "C:\\gt.exe");
    panel->currentPreset.buttonKeys[4][0] = 0x30;
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"Air", "Kart"})) << "only the edits are undone";
    EXPECT_EQ(panel->currentIndex, 1);
    EXPECT_EQ(current(), "Kart");
    EXPECT_STREQ(panel->currentPreset.exePath, "C:\\Kart.exe");
    EXPECT_EQ(panel->currentPreset.buttonKeys[4][0], 0x30) << "the rest of the preset went back to the table";
}

// Deleting moves the presets that follow up, and Undo brings the deleted
// ones back: neither may change what the file stores for them.
TEST_F(PresetListTest, DeleteAndUndoMovePresetsWhole) {
    setTable({"a", "b", "c"});
    for (int i : {1, 2}) {
        panel->table.presets[i].axisInvert = 0x01000001;
        panel->table.presets[i].mouseParamA[0] = 77;
        panel->table.presets[i].mouseEmulation[1] = 1;
    }
    deletePresets(*panel, lists(), {1});
    EXPECT_EQ(panel->table.presets[1].axisInvert, 0x01000001u) << "c moved up whole";
    undoLast(*panel, lists());
    ASSERT_EQ(names(), (std::vector<std::string>{"a", "b", "c"}));
    for (int i : {1, 2}) {
        EXPECT_EQ(panel->table.presets[i].axisInvert, 0x01000001u) << i;
        EXPECT_EQ(panel->table.presets[i].mouseParamA[0], 77) << i;
        EXPECT_EQ(panel->table.presets[i].mouseEmulation[1], 1) << i;
    }
}

// --- Import/export dialog ---

TEST_F(PresetListTest, TypeFilterBitsShowTheirOwnGameType) {
    setTable({"fly", "act", "car", "other", "odd"}, {0, 1, 2, 3, 4});
    const struct {
        uint8_t filter;
        std::vector<int> rows;
    } cases[] = {{0x02, {0}}, {0x04, {1}}, {0x08, {2}}, {0x01, {3}}, {0x0F, {0, 1, 2, 3}}, {0xF0, {}}};
    for (const auto& c : cases) {
        fillRows(panel->table, c.filter, lists().rows);
        EXPECT_EQ(std::vector<int>(lists().rows.rowToPreset, lists().rows.rowToPreset + lists().rows.visibleCount), c.rows)
            << int(c.filter);
    }
}

// Each sort turns an equal pair: sorted by the copy and again by its Undo,
// the pair is back in its first order.
TEST_F(PresetListTest, TheDialogsUndoOfACopySortsTheSideAgain) {
    for (Side into : {Side::Presets, Side::File}) {
        SCOPED_TRACE(into == Side::Presets ? "to the left" : "to the file");
        resetPresetLists();
        setTable({"b"});
        PresetTable& file = lists().fileTable;
        file.presetCount = 1;
        resetPreset(file.presets[0], Deliverable::Panel);
        setPresetText(file.presets[0].gameName, "b");
        PresetTable& target = into == Side::Presets ? panel->table : file;
        target.presetCount = 2;
        for (int i = 0; i < 2; ++i) {
            resetPreset(target.presets[i], Deliverable::Panel);
            setPresetText(target.presets[i].gameName, "a");
            target.presets[i].buttonKeys[0][0] = KeyCode(i + 1);
        }
        panel->currentIndex = 0;
        refillDialogRows(*panel, lists());
        copyRows(*panel, lists(), into == Side::Presets ? Side::File : Side::Presets, {0});
        ASSERT_EQ(names(target), (std::vector<std::string>{"a", "a", "b"}));
        undoDialog(*panel, lists());
        ASSERT_EQ(names(target), (std::vector<std::string>{"a", "a"}));
        EXPECT_EQ(target.presets[0].buttonKeys[0][0], 1);
        EXPECT_EQ(target.presets[1].buttonKeys[0][0], 2);
    }
}

TEST_F(PresetListTest, WhenTheDialogDeletesTheCurrentPresetAListedOneBecomesCurrent) {
    setTable({"Air", "Kart", "Rally"}, {0, 2, 2});
    choose("Rally");
    toggleTypeFilter(*panel, lists(), kShowType0);  // the dialog shows all three
    deleteRows(*panel, lists(), Side::Presets, {2});
    EXPECT_EQ(current(), "Kart") << "not the hidden flight preset";
}

TEST_F(PresetListTest, PageAndDialogShareOneUndoStep) {
    // A dialog step, then the page's Undo: the page undoes only its own
    // codes, and the step is gone for the dialog too.
    setTable({"a", "b", "c"});
    refillDialogRows(*panel, lists());
    deleteRows(*panel, lists(), Side::Presets, {0});
    EXPECT_EQ(lists().undoOp, 64u);
    undoLast(*panel, lists());
    EXPECT_EQ(lists().undoOp, 0u);
    undoDialog(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"b", "c"}));
    // A page step, then the dialog's Undo: likewise.
    deletePresets(*panel, lists(), {0});
    EXPECT_EQ(lists().undoOp, 2u);
    undoDialog(*panel, lists());
    undoLast(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"c"}));
    // The dialog's delete on the right (16) and its Undo.
    lists().fileTable.presetCount = 2;
    for (int i = 0; i < 2; ++i) {
        resetPreset(lists().fileTable.presets[i], Deliverable::Panel);
        setPresetText(lists().fileTable.presets[i].gameName, i ? "y" : "x");
    }
    refillDialogRows(*panel, lists());
    deleteRows(*panel, lists(), Side::File, {1});
    EXPECT_EQ(lists().undoOp, 16u);
    EXPECT_EQ(names(lists().fileTable), (std::vector<std::string>{"x"}));
    undoDialog(*panel, lists());
    EXPECT_EQ(names(lists().fileTable), (std::vector<std::string>{"x", "y"}));
}

TEST_F(PresetListTest, CopyTwoToTheFileThenUndoRemovesBothCopies) {
    setTable({"a", "b", "c"});
    refillDialogRows(*panel, lists());
    EXPECT_EQ(copyRows(*panel, lists(), Side::Presets, {0, 2}), 0);
    EXPECT_EQ(names(lists().fileTable), (std::vector<std::string>{"a", "c"}));
    undoDialog(*panel, lists());
    EXPECT_EQ(lists().fileTable.presetCount, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(PresetListTest, DeleteOnTheLeftThenUndoTwiceBringsThemBackOnce) {
    setTable({"a", "b", "c"});
    choose("c");
    refillDialogRows(*panel, lists());
    deleteRows(*panel, lists(), Side::Presets, {0});
    EXPECT_EQ(current(), "c");
    EXPECT_EQ(panel->table.presets[panel->currentIndex].gameName, std::string("c"));  // index followed
    undoDialog(*panel, lists());
    undoDialog(*panel, lists());
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(PresetListTest, HiddenTypesAreCopiedWhenTheFilterShowsThem) {
    setTable({"fly", "car"}, {0, 2});
    refillDialogRows(*panel, lists());
    EXPECT_EQ(lists().rows.visibleCount, 1u);
    toggleTypeFilter(*panel, lists(), kShowType0);
    ASSERT_EQ(lists().rows.visibleCount, 2u);
    copyRows(*panel, lists(), Side::Presets, {0});
    EXPECT_EQ(names(lists().fileTable), (std::vector<std::string>{"fly"}));
}

TEST_F(PresetListTest, CopyIntoAFullTableStopsAtCapacityAndSaysHowManyWereLeft) {
    setTable(std::vector<std::string>(kMaxPresets - 1, "x"));
    lists().fileTable.presetCount = 3;
    for (int i = 0; i < 3; ++i) {
        resetPreset(lists().fileTable.presets[i], Deliverable::Panel);
        setPresetText(lists().fileTable.presets[i].gameName, "f");
    }
    refillDialogRows(*panel, lists());
    EXPECT_EQ(copyRows(*panel, lists(), Side::File, {0, 1, 2}), 2);
    EXPECT_EQ(panel->table.presetCount, kMaxPresets);
}

TEST_F(PresetListTest, ImportOfARefusedFileKeepsTheFileTable) {
    setTable({"a"});
    refillDialogRows(*panel, lists());
    copyRows(*panel, lists(), Side::Presets, {0});
    MemoryFileSystem files;
    files.files["junk.pst"] = {'N', 'O', 'T', 'A', 'P', 'S', 'T', '!'};
    EXPECT_EQ(importFile(*panel, lists(), nullptr, "junk.pst", files, nullptr), -1);
    EXPECT_EQ(names(lists().fileTable), (std::vector<std::string>{"a"}));
    auto saved = std::make_unique<PresetTable>();
    saved->presetCount = 2;
    for (int i = 0; i < 2; ++i) {
        resetPreset(saved->presets[i], Deliverable::Panel);
        setPresetText(saved->presets[i].gameName, i ? "Kart" : "Zed");
    }
    files.files["good.pst"] = encodePresetFile(*saved);
    EXPECT_EQ(importFile(*panel, lists(), nullptr, "good.pst", files, nullptr), 0);
    EXPECT_EQ(names(lists().fileTable), (std::vector<std::string>{"Kart", "Zed"}));
}

// --- Invariants under long random runs ---

// Every preset carries a unique id in key slot 20 (codes 1-2), which no
// operation touches: the run checks that presets are only lost or doubled
// by the operation that should do it.
uint32_t idOf(const Preset& p) { return uint32_t(p.buttonKeys[20][0]) << 16 | p.buttonKeys[20][1]; }

TEST_F(PresetListTest, RandomRunsKeepTheTableSound) {
    std::mt19937 random(20261208);
    for (int run = 0; run < 40; ++run) {
        resetPresetLists();
        panel = std::make_unique<PanelState>();
        uint32_t nextId = 1;
        auto stamp = [&](Preset& p) {
            p.buttonKeys[20][0] = KeyCode(nextId >> 16);
            p.buttonKeys[20][1] = KeyCode(nextId & 0xFFFF);
            ++nextId;
        };
        const int start = run % 8 == 0 ? kMaxPresets - 3 : int(random() % 6);  // some runs near the capacity
        std::vector<std::string> startNames;
        for (int i = 0; i < start; ++i) startNames.push_back(std::string(1, char('a' + random() % 3)));
        setTable(startNames, {});
        for (int i = 0; i < start; ++i) {
            panel->table.presets[i].gameType = uint16_t(random() % 5 == 0 ? 0 : 2);
            stamp(panel->table.presets[i]);
        }
        if (start) copyPreset(panel->currentPreset, panel->table.presets[0]);
        fillRows(panel->table, kShowType2, lists().rows);
        for (int step = 0; step < 400; ++step) {
            const PresetRows rows = lists().rows;
            auto someRows = [&]() {
                std::vector<int> r;
                for (uint32_t k = 0; k < rows.visibleCount + 1; ++k)
                    if (random() % 3 == 0) r.push_back(int(k));  // one past the end now and then
                return r;
            };
            std::multiset<uint32_t> before;
            for (int i = 0; i < panel->table.presetCount; ++i) before.insert(idOf(panel->table.presets[i]));
            const int countBefore = panel->table.presetCount;
            const uint32_t op = random() % 11;
            switch (op) {
            case 0:
                if (newPreset(*panel, lists()) == ListChange::Done) {
                    stamp(panel->currentPreset);
                    copyBackCurrent(*panel);
                }
                break;
            case 1: duplicatePreset(*panel, lists()); break;
            case 2: deletePresets(*panel, lists(), someRows()); break;
            case 3: undoLast(*panel, lists()); break;
            case 4: {
                std::string name(size_t(random() % 2 ? 1 : 300), char('a' + random() % 3));
                editName(*panel, lists(), name.c_str());
                if (random() % 2) commitName(*panel, lists());
                break;
            }
            case 5: editPath(*panel, lists(), std::string(random() % 300, 'p').c_str()); break;
            case 6:
                if (rows.visibleCount) makeCurrent(*panel, rows.rowToPreset[random() % rows.visibleCount]);
                break;
            case 7:
                refillDialogRows(*panel, lists());
                copyRows(*panel, lists(), random() % 2 ? Side::Presets : Side::File, someRows());
                sortKeepingCurrent(*panel, lists());
                break;
            case 8:
                refillDialogRows(*panel, lists());
                deleteRows(*panel, lists(), random() % 2 ? Side::Presets : Side::File, someRows());
                sortKeepingCurrent(*panel, lists());
                break;
            case 9:
                undoDialog(*panel, lists());
                sortKeepingCurrent(*panel, lists());
                break;
            default: toggleTypeFilter(*panel, lists(), uint8_t(1u << (random() % 4))); break;
            }
            const PresetTable& t = panel->table;
            ASSERT_LE(t.presetCount, kMaxPresets);
            ASSERT_LE(lists().fileTable.presetCount, kMaxPresets);
            ASSERT_TRUE(t.presetCount == 0 ? panel->currentIndex == 0 : panel->currentIndex < t.presetCount);
            if (t.presetCount > 0) {
                ASSERT_EQ(idOf(panel->currentPreset), idOf(t.presets[panel->currentIndex])) << "op " << op << " step " << step;
            }
            ASSERT_LE(lists().rows.visibleCount, t.presetCount);
            for (uint32_t r = 0; r < lists().rows.visibleCount; ++r) ASSERT_LT(lists().rows.rowToPreset[r], t.presetCount);
            for (const PresetTable* table : {&t, static_cast<const PresetTable*>(&lists().fileTable)})
                for (int i = 0; i < table->presetCount; ++i) {
                    ASSERT_NE(std::memchr(table->presets[i].gameName, 0, kTextSize), nullptr);
                    ASSERT_NE(std::memchr(table->presets[i].exePath, 0, kTextSize), nullptr);
                }
            // Only the operations that add (New, Duplicate, undo of a delete,
            // a copy to the left, an undo in the dialog) may add presets;
            // only those that remove may lose them; others keep every id.
            std::multiset<uint32_t> after;
            for (int i = 0; i < t.presetCount; ++i) after.insert(idOf(t.presets[i]));
            const bool mayAdd = op == 0 || op == 1 || op == 3 || op == 7 || op == 9;
            const bool mayRemove = op == 2 || op == 3 || op == 8 || op == 9;
            if (!mayAdd && !mayRemove) {
                ASSERT_EQ(after, before) << "op " << op << " step " << step;
            }
            if (!mayAdd) {
                ASSERT_LE(t.presetCount, countBefore);
            }
            if (!mayRemove) {
                ASSERT_GE(t.presetCount, countBefore);
            }
            if (op == 0 || op == 1) {
                for (uint32_t id : before) ASSERT_GE(after.count(id), before.count(id));
            }
        }
    }
}

}  // namespace
}  // namespace zentra
