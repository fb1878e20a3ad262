// The preset record: the default preset of each program, the two record
// copies, and the table operations on marked and default presets.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "preset/file_system_memory.h"
#include "preset/preset.h"
#include "preset/preset_file.h"
#include "preset_test_support.h"

namespace zentra {
namespace {

using test::fillPreset;
using test::newTable;
using test::overlayText;
using test::presetDifference;
using test::putText;

// The codes past the 32 that are recorded, copied and stored.
void expectUnrecordedCodesEqual(const Preset& got, const Preset& want) {
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        for (int k = kStoredKeysPerSlot; k < kKeysPerSlot; ++k)
            ASSERT_EQ(want.buttonKeys[slot][k], got.buttonKeys[slot][k]) << "slot " << slot << " code " << k;
}

// ---------------------------------------------------------------- defaults

TEST(ResetPreset, WritesTheControlPanelDefaultIntoEveryListedField) {
    Preset p;
    fillPreset(p, 1);
    const Preset before = p;

    EXPECT_EQ(1, resetPreset(p, Deliverable::Panel));

    EXPECT_STREQ("<<<DEFAULT PRESETS>>>", p.gameName);
    EXPECT_STREQ("<<<NO PATH>>>", p.exePath);
    EXPECT_EQ(2, p.gameType);
    const uint16_t functions[4] = {0, 1, 3, 2};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(functions[k], p.axisFunction[k]) << k;
    EXPECT_EQ(1u, p.pedalsLinked);
    EXPECT_EQ(0u, p.axisInvert);
    for (int s = 0; s < kAxisSlots; ++s) {
        EXPECT_EQ(0u, p.curveType[s]) << s;
        EXPECT_EQ(25, p.curveP1x[s]) << s;
        EXPECT_EQ(55, p.curveP2x[s]) << s;
        EXPECT_EQ(60, p.curveP1y[s]) << s;
        EXPECT_EQ(30, p.curveP2y[s]) << s;
    }
    EXPECT_EQ(0, p.mouseEmulation[0]);
    EXPECT_EQ(0, p.mouseEmulation[1]);
    const uint16_t misc[7] = {0, 1, 1, 1, 1, 1, 1};
    for (int k = 0; k < 7; ++k) EXPECT_EQ(misc[k], p.miscWord[k]) << k;
    EXPECT_EQ(0u, p.mouseSetting[0]);
    EXPECT_EQ(0u, p.mouseSetting[1]);
    const uint16_t paramA[6] = {25, 60, 83, 25, 60, 83};
    const uint16_t paramB[6] = {145, 110, 85, 145, 110, 85};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(paramA[k], p.mouseParamA[k]) << k;
        EXPECT_EQ(paramB[k], p.mouseParamB[k]) << k;
    }
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        for (int k = 0; k < kStoredKeysPerSlot; ++k)
            ASSERT_EQ(0, p.buttonKeys[slot][k]) << "slot " << slot << " code " << k;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(0, p.clickMask[k]) << k;
    EXPECT_EQ(0u, p.extraValue[0]);
    EXPECT_EQ(0u, p.extraValue[1]);
    EXPECT_EQ(1u, p.keepValue);
    EXPECT_EQ(0u, p.selected);

    expectUnrecordedCodesEqual(p, before);
}

TEST(ResetPreset, TrayLoaderDefaultDiffersOnlyInGameTypeAndLinkedPedals) {
    Preset panel, loader;
    fillPreset(panel, 1);
    fillPreset(loader, 1);

    EXPECT_EQ(1, resetPreset(panel, Deliverable::Panel));
    EXPECT_EQ(1, resetPreset(loader, Deliverable::Loader));

    EXPECT_EQ(0, loader.gameType);
    EXPECT_EQ(0u, loader.pedalsLinked);
    loader.gameType = panel.gameType;
    loader.pedalsLinked = panel.pedalsLinked;
    EXPECT_EQ("", presetDifference(loader, panel));
}

// ------------------------------------------------------- control-panel copy

TEST(CopyPreset, CopiesTheEditedFieldsAndPutsFixedValuesIntoTheOthers) {
    Preset src, dst;
    fillPreset(src, 1);
    fillPreset(dst, 2);

    // What the destination must hold afterwards, field by field.
    Preset want = dst;
    overlayText(want.gameName, src.gameName);
    overlayText(want.exePath, src.exePath);
    want.gameType = src.gameType;
    std::memcpy(want.axisFunction, src.axisFunction, sizeof want.axisFunction);
    for (int s = 0; s < kAxisSlots; ++s) {
        const int from = s == 1 ? 0 : s;
        want.curveType[s] = src.curveType[from];
        want.curveP1x[s] = src.curveP1x[from];
        want.curveP2x[s] = src.curveP2x[from];
        want.curveP1y[s] = src.curveP1y[from];
        want.curveP2y[s] = src.curveP2y[from];
    }
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        for (int k = 0; k < kStoredKeysPerSlot; ++k) want.buttonKeys[slot][k] = src.buttonKeys[slot][k];
    want.mouseEmulation[0] = want.mouseEmulation[1] = 0;
    want.miscWord[0] = src.miscWord[0];
    for (int k = 1; k < 7; ++k) want.miscWord[k] = 1;
    want.extraValue[0] = want.extraValue[1] = 1;
    want.keepValue = src.keepValue;
    want.selected = src.selected;
    want.pedalsLinked = src.pedalsLinked;
    want.axisInvert = 0;
    std::memcpy(want.clickMask, src.clickMask, sizeof want.clickMask);
    want.mouseSetting[0] = want.mouseSetting[1] = 0;
    for (int k = 0; k < 6; ++k) {
        want.mouseParamA[k] = 25;
        want.mouseParamB[k] = 60;
    }

    const Preset srcBefore = src;
    EXPECT_EQ(1, copyPreset(dst, src));
    EXPECT_EQ("", presetDifference(dst, want));
    EXPECT_EQ("", presetDifference(src, srcBefore)) << "the source changed";
}

TEST(CopyPreset, MakesSlotOneCurveEqualToSlotZeroEvenWhenTheSourceDiffers) {
    Preset src, dst;
    resetPreset(src, Deliverable::Panel);
    resetPreset(dst, Deliverable::Panel);
    src.curveType[0] = 1;
    src.curveP1x[0] = 10, src.curveP1y[0] = 70, src.curveP2x[0] = 60, src.curveP2y[0] = 20;
    src.curveType[1] = 0;
    src.curveP1x[1] = 5, src.curveP1y[1] = 6, src.curveP2x[1] = 7, src.curveP2y[1] = 8;

    copyPreset(dst, src);

    EXPECT_EQ(1u, dst.curveType[1]);
    EXPECT_EQ(10, dst.curveP1x[1]);
    EXPECT_EQ(70, dst.curveP1y[1]);
    EXPECT_EQ(60, dst.curveP2x[1]);
    EXPECT_EQ(20, dst.curveP2y[1]);
}

TEST(CopyPreset, ClearsAxisInversionWhileTheTrayLoaderCopyKeepsIt) {
    Preset src, panelCopy, loaderCopy;
    resetPreset(src, Deliverable::Panel);
    resetPreset(panelCopy, Deliverable::Panel);
    resetPreset(loaderCopy, Deliverable::Panel);
    src.axisInvert = 0x01000101u;

    copyPreset(panelCopy, src);
    copyPresetFull(loaderCopy, src);

    EXPECT_EQ(0u, panelCopy.axisInvert);
    EXPECT_EQ(0x01000101u, loaderCopy.axisInvert);
}

// --------------------------------------------------------- tray-loader copy

TEST(CopyPresetFull, CopiesEveryFieldButTheUnrecordedCodesAndTheBytesAfterTheTexts) {
    Preset src, dst;
    fillPreset(src, 3);
    fillPreset(dst, 4);

    Preset want = src;
    std::memcpy(want.gameName, dst.gameName, sizeof want.gameName);
    std::memcpy(want.exePath, dst.exePath, sizeof want.exePath);
    overlayText(want.gameName, src.gameName);
    overlayText(want.exePath, src.exePath);
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        for (int k = kStoredKeysPerSlot; k < kKeysPerSlot; ++k) want.buttonKeys[slot][k] = dst.buttonKeys[slot][k];

    const Preset srcBefore = src;
    EXPECT_EQ(1, copyPresetFull(dst, src));
    EXPECT_EQ("", presetDifference(dst, want));
    EXPECT_EQ("", presetDifference(src, srcBefore)) << "the source changed";
}

// -------------------------------------------------------------------- texts

TEST(PresetTexts, NameAndPathOf254CharactersSurviveBothCopies) {
    const std::string name(kMaxTextLength, 'N');
    const std::string path = "C:\\" + std::string(kMaxTextLength - 7, 'p') + ".EXE";
    ASSERT_EQ(size_t(kMaxTextLength), path.size());
    Preset src, panelCopy, loaderCopy;
    fillPreset(src, 1);
    fillPreset(panelCopy, 2);
    fillPreset(loaderCopy, 3);
    putText(src.gameName, name);
    putText(src.exePath, path);

    copyPreset(panelCopy, src);
    copyPresetFull(loaderCopy, src);

    EXPECT_EQ(name, std::string(panelCopy.gameName));
    EXPECT_EQ(path, std::string(panelCopy.exePath));
    EXPECT_EQ(name, std::string(loaderCopy.gameName));
    EXPECT_EQ(path, std::string(loaderCopy.exePath));
}

TEST(PresetTexts, TextAfterTheFirstNulIsNeverCopied) {
    Preset src, panelCopy, loaderCopy;
    fillPreset(src, 1);
    // Names cut short by a NUL, with old text behind it.
    std::memset(src.gameName, 'X', sizeof src.gameName);
    std::memcpy(src.gameName, "Short\0Hidden", 12);
    std::memset(src.exePath, 'Y', sizeof src.exePath);
    std::memcpy(src.exePath, "c:\\a.exe\0c:\\b.exe", 17);
    std::memset(panelCopy.gameName, 'p', sizeof panelCopy.gameName);
    std::memset(panelCopy.exePath, 'q', sizeof panelCopy.exePath);
    std::memset(loaderCopy.gameName, 'p', sizeof loaderCopy.gameName);
    std::memset(loaderCopy.exePath, 'q', sizeof loaderCopy.exePath);

    copyPreset(panelCopy, src);
    copyPresetFull(loaderCopy, src);

    for (const Preset* copy : {&panelCopy, &loaderCopy}) {
        EXPECT_STREQ("Short", copy->gameName);
        EXPECT_STREQ("c:\\a.exe", copy->exePath);
        for (int i = 6; i < kTextSize; ++i) ASSERT_EQ('p', copy->gameName[i]) << "name byte " << i;
        for (int i = 9; i < kTextSize; ++i) ASSERT_EQ('q', copy->exePath[i]) << "path byte " << i;
    }
}

TEST(PresetTexts, NameAndPathOf254CharactersSurviveASaveAndLoad) {
    const std::string name(kMaxTextLength, 'n');
    const std::string path = "D:\\" + std::string(kMaxTextLength - 7, 'x') + ".exe";
    auto saved = newTable();
    saved->presetCount = 2;
    resetPreset(saved->presets[0], Deliverable::Panel);
    putText(saved->presets[1].gameName, name);
    putText(saved->presets[1].exePath, path);
    MemoryFileSystem files;

    ASSERT_EQ(1, savePresetFile(nullptr, "long.pst", *saved, files));
    auto loaded = newTable();
    ASSERT_EQ(0, loadPresetFile(nullptr, "long.pst", *loaded, files, nullptr));

    ASSERT_EQ(2, loaded->presetCount);
    EXPECT_EQ(name, std::string(loaded->presets[1].gameName));
    EXPECT_EQ(path, std::string(loaded->presets[1].exePath));
    EXPECT_STREQ("<<<DEFAULT PRESETS>>>", loaded->presets[0].gameName);
}

// ---------------------------------------------------------- marked presets

class MarkedPresets : public ::testing::Test {
protected:
    void SetUp() override {
        table_ = newTable();
        for (int i = 0; i < 8; ++i) {
            resetPreset(table_->presets[i], Deliverable::Panel);
            table_->presets[i].selected = 0;
        }
        table_->presetCount = 5;
    }
    Preset* presets() { return table_->presets; }
    std::unique_ptr<PresetTable> table_;
};

TEST_F(MarkedPresets, FirstSelectedIsTheCountWhenNoPresetIsMarked) {
    EXPECT_EQ(5, findFirstSelected(presets(), 5));
}

TEST_F(MarkedPresets, FirstSelectedIsZeroWhenTheCountIsBelowOne) {
    presets()[0].selected = 1;
    presets()[3].selected = 1;
    EXPECT_EQ(0, findFirstSelected(presets(), 0));
    EXPECT_EQ(0, findFirstSelected(presets(), -4));
}

TEST_F(MarkedPresets, FirstSelectedIsTheLowestMarkedIndex) {
    presets()[2].selected = 1;
    presets()[4].selected = 1;
    EXPECT_EQ(2, findFirstSelected(presets(), 5));
    presets()[0].selected = 1;
    EXPECT_EQ(0, findFirstSelected(presets(), 5));
}

TEST_F(MarkedPresets, FirstSelectedLooksOnlyAtTheFirstCountPresets) {
    presets()[6].selected = 1;
    EXPECT_EQ(5, findFirstSelected(presets(), 5));
    EXPECT_EQ(6, findFirstSelected(presets(), 7));
}

TEST_F(MarkedPresets, FirstSelectedTakesOnlyTheValueOneAsMarked) {
    presets()[1].selected = 2;
    presets()[3].selected = 1;
    EXPECT_EQ(3, findFirstSelected(presets(), 5));
}

TEST_F(MarkedPresets, ClearSelectedUnmarksTheFirstCountPresetsAndNoOthers) {
    for (int i = 0; i < 8; ++i) presets()[i].selected = 1;
    std::vector<Preset> before(presets(), presets() + 8);

    EXPECT_EQ(1, clearSelected(presets(), 5));

    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(0u, presets()[i].selected) << i;
        Preset want = before[i];
        want.selected = 0;
        EXPECT_EQ("", presetDifference(presets()[i], want)) << i;
    }
    for (int i = 5; i < 8; ++i) EXPECT_EQ("", presetDifference(presets()[i], before[i])) << i;
    EXPECT_EQ(5, findFirstSelected(presets(), 5));
}

// ---------------------------------------------------------- default preset

class DefaultPresetSearch : public ::testing::Test {
protected:
    void SetUp() override {
        table_ = newTable();
        for (int i = 0; i < 6; ++i) {
            fillPreset(table_->presets[i], unsigned(i + 1));
            putText(table_->presets[i].gameName, "Rally " + std::to_string(i));
            putText(table_->presets[i].exePath, "C:\\GAMES\\RALLY" + std::to_string(i) + ".EXE");
        }
        table_->presetCount = 5;
    }
    Preset& preset(int i) { return table_->presets[i]; }
    std::unique_ptr<PresetTable> table_;
};

TEST_F(DefaultPresetSearch, FindsTheResetPresetAmongUserPresets) {
    resetPreset(preset(3), Deliverable::Loader);
    EXPECT_EQ(3, findDefaultPreset(*table_));
}

TEST_F(DefaultPresetSearch, IsMinusOneWhenNoPresetIsTheDefault) {
    EXPECT_EQ(-1, findDefaultPreset(*table_));
    table_->presetCount = 0;
    resetPreset(preset(0), Deliverable::Loader);
    EXPECT_EQ(-1, findDefaultPreset(*table_));
}

TEST_F(DefaultPresetSearch, NeedsBothTheNameAndThePath) {
    putText(preset(1).gameName, "<<<DEFAULT PRESETS>>>");
    putText(preset(2).exePath, "<<<NO PATH>>>");
    EXPECT_EQ(-1, findDefaultPreset(*table_));
}

TEST_F(DefaultPresetSearch, IgnoresPresetsPastTheCount) {
    resetPreset(preset(5), Deliverable::Loader);
    EXPECT_EQ(-1, findDefaultPreset(*table_));
    table_->presetCount = 6;
    EXPECT_EQ(5, findDefaultPreset(*table_));
}

TEST_F(DefaultPresetSearch, MatchesTheTextsInAnyLetterCase) {
    putText(preset(2).gameName, "<<<default Presets>>>");
    putText(preset(2).exePath, "<<<no path>>>");
    EXPECT_EQ(2, findDefaultPreset(*table_));
}

TEST_F(DefaultPresetSearch, TakesTheFirstUserPresetWhoseTextsContainTheMarks) {
    resetPreset(preset(3), Deliverable::Loader);
    putText(preset(1).gameName, "my <<default presets>> copy");
    putText(preset(1).exePath, "c:\\odd\\<<No Path>>\\game.exe");
    EXPECT_EQ(1, findDefaultPreset(*table_));
}

TEST_F(DefaultPresetSearch, LeavesTheStoredTextsAsTheyAre) {
    putText(preset(4).gameName, "<<<default presets>>>");
    putText(preset(4).exePath, "<<<no path>>>");
    std::vector<Preset> before(table_->presets, table_->presets + 6);

    EXPECT_EQ(4, findDefaultPreset(*table_));

    for (int i = 0; i < 6; ++i) EXPECT_EQ("", presetDifference(preset(i), before[i])) << i;
    EXPECT_STREQ("<<<default presets>>>", preset(4).gameName);
}

}  // namespace
}  // namespace zentra
