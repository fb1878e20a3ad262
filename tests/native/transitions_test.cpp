// The tray loader's preset transitions on the main thread: a game's preset
// put on the wheel at its start, the default preset at its end, with the
// registry values that tell the control panel which one the wheel holds.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "driver/device_io_memory.h"
#include "driver/upload.h"
#include "driver_test_support.h"
#include "loader/transitions.h"
#include "preset/file_system_memory.h"
#include "preset/preset_file.h"
#include "preset/registry_store_memory.h"
#include "preset_test_support.h"

namespace zentra {
namespace {

using test::Bytes;
using test::fillPreset;
using test::newTable;
using test::presetDifference;
using test::sentBlocks;
using test::u32At;

const char kEmulationLinkName[] = "\\\\.\\ZentraEmulation";
const char kPresetPath[] = "C:\\WINDOWS\\TEMP\\TempoZNT.pst";

std::vector<std::string> g_debugLines;
void recordDebug(const char* text) { g_debugLines.push_back(text); }

// The block the loader builds for `preset` on a wheel that sent nothing yet.
Bytes gameBlockOf(const Preset& preset) {
    LoaderWheel wheel{};
    buildGameBlock(wheel, preset);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&wheel.block);
    return Bytes(b, b + sizeof wheel.block);
}

// A preset file of three games, optionally followed by the control panel's
// default preset with a curve of its own.
std::vector<uint8_t> presetFile(bool withDefault) {
    auto table = newTable();
    table->presetCount = withDefault ? 4 : 3;
    for (int i = 0; i < 3; ++i) fillPreset(table->presets[i], unsigned(i + 1));
    Preset& def = table->presets[3];
    resetPreset(def, Deliverable::Panel);
    def.curveType[0] = 1;
    def.curveP1x[0] = 10;
    def.curveP1y[0] = 80;
    def.buttonKeys[0][0] = 0x1E;
    return encodePresetFile(*table);
}

class TransitionsTest : public ::testing::Test {
protected:
    TransitionsTest() {
        g_debugLines.clear();
        store_.setString(kPanelKey, kEmulationValue, kEmulationLinkName);
        io_.devices.insert(kEmulationLinkName);
        store_.setString(kPanelKey, kTemporaryFileValue, kPresetPath);
        files_.files[kPresetPath] = presetFile(true);
        EXPECT_EQ(0, reloadPresetFile(ctx_));
        fillPreset(current_, 90);  // whatever the wheel held before
    }

    Preset tablePreset(int index) {
        return presets_.withTable([&](const PresetTable& t) { return t.presets[index]; });
    }
    const MemoryRegistryStore::Value* stored(const char* name) const { return store_.find(kPanelKey, name); }
    uint32_t dword(const char* name) { return registry_.readRegDword(kPanelKey, name); }

    MemoryRegistryStore store_;
    Registry registry_{store_, Deliverable::Loader};
    MemoryDeviceIo io_;
    MemoryFileSystem files_;
    std::unique_ptr<PresetTable> table_ = newTable();
    SharedPresets presets_{*table_, westernUpperCase()};
    Preset current_{};
    LoaderWheel wheel_{};
    LoaderContext ctx_{registry_, io_, files_, presets_, current_, wheel_, recordDebug};
};

TEST_F(TransitionsTest, GameStartRecordsTheGameAndSendsItsPresetInMode2) {
    Preset expected = current_;
    copyPresetFull(expected, tablePreset(1));

    EXPECT_TRUE(handleGameStart(ctx_, 1));

    EXPECT_EQ(1u, dword(kLastIndexValue));
    EXPECT_EQ(1u, dword(kGameLaunchValue));
    EXPECT_EQ("", presetDifference(current_, expected));
    const auto blocks = sentBlocks(io_);
    ASSERT_EQ(1u, blocks.size());
    EXPECT_EQ(kEmulationLinkName, io_.callsWith(kCodeParameterBlock)[0].link);
    EXPECT_EQ(kModeGame, u32At(blocks[0], 0));
    EXPECT_EQ(gameBlockOf(current_), blocks[0]);
    EXPECT_EQ(std::vector<std::string>{"HandlingDetectedProcess \n"}, g_debugLines);
}

TEST_F(TransitionsTest, WithoutTheEmulationLinkTheRegistryIsWrittenAndNothingSent) {
    io_.devices.clear();
    EXPECT_TRUE(handleGameStart(ctx_, 2));
    store_.deleteValue(kPanelKey, kEmulationValue);
    handleGameEnd(ctx_);
    EXPECT_EQ(2u, dword(kLastIndexValue));
    EXPECT_EQ(0u, dword(kGameLaunchValue));
    ASSERT_NE(nullptr, stored(kGameLaunchValue));
    EXPECT_STREQ("<<<DEFAULT PRESETS>>>", current_.gameName);
    EXPECT_TRUE(io_.calls.empty());
}

TEST_F(TransitionsTest, IndexOutsideTheTableDoesNothing) {
    const Preset before = current_;
    for (int index : {-1, 4, 255}) EXPECT_FALSE(handleGameStart(ctx_, index)) << index;
    EXPECT_EQ(nullptr, stored(kLastIndexValue));
    EXPECT_EQ(nullptr, stored(kGameLaunchValue));
    EXPECT_EQ("", presetDifference(current_, before));
    EXPECT_TRUE(io_.calls.empty());
    EXPECT_TRUE(g_debugLines.empty());
}

TEST_F(TransitionsTest, GameEndReadsTheFileAgainAndSendsItsDefaultPreset) {
    ASSERT_TRUE(handleGameStart(ctx_, 1));
    // The control panel saved a new file meanwhile: its default preset is
    // the one sent.
    auto table = newTable();
    ASSERT_TRUE(decodePresetFile(files_.files[kPresetPath].data(), files_.files[kPresetPath].size(), *table));
    std::swap(table->presets[0], table->presets[3]);
    files_.files[kPresetPath] = encodePresetFile(*table);

    handleGameEnd(ctx_);

    EXPECT_EQ(0u, dword(kGameLaunchValue));
    EXPECT_EQ(1u, dword(kLastIndexValue));  // left as the start wrote it
    Preset expected = current_;
    copyPresetFull(expected, tablePreset(0));
    EXPECT_EQ("", presetDifference(current_, expected));
    EXPECT_STREQ("<<<DEFAULT PRESETS>>>", current_.gameName);
    EXPECT_EQ(1u, current_.curveType[0]);
    const auto blocks = sentBlocks(io_);
    ASSERT_EQ(2u, blocks.size());
    EXPECT_EQ(gameBlockOf(current_), blocks[1]);
    EXPECT_EQ(std::vector<std::string>({"HandlingDetectedProcess \n", "HandlingKilledProcess \n"}), g_debugLines);
}

TEST_F(TransitionsTest, GameEndWithoutADefaultPresetSendsTheBuiltInDefault) {
    files_.files[kPresetPath] = presetFile(false);
    handleGameEnd(ctx_);
    Preset expected = current_;
    resetPreset(expected, Deliverable::Loader);
    EXPECT_EQ("", presetDifference(current_, expected));
    EXPECT_EQ(0, current_.gameType);  // the loader's default, not the panel's
    EXPECT_EQ(3, presets_.matcher()->presetCount());
    const auto blocks = sentBlocks(io_);
    ASSERT_EQ(1u, blocks.size());
    EXPECT_EQ(gameBlockOf(expected), blocks[0]);
}

TEST_F(TransitionsTest, GameEndWithAnUnreadableFileSendsTheCurrentPresetAgain) {
    ASSERT_TRUE(handleGameStart(ctx_, 2));
    const Preset game = current_;
    files_.unreadable[kPresetPath] = true;
    handleGameEnd(ctx_);
    store_.deleteValue(kPanelKey, kTemporaryFileValue);
    handleGameEnd(ctx_);

    EXPECT_EQ("", presetDifference(current_, game));
    EXPECT_EQ(0u, dword(kGameLaunchValue));
    const auto blocks = sentBlocks(io_);
    ASSERT_EQ(3u, blocks.size());
    EXPECT_EQ(blocks[0], blocks[1]);
    EXPECT_EQ(blocks[0], blocks[2]);
}

// The control panel's reload lands between the watcher's scan and the main
// thread's transition: the preset is found again by the game's name in the
// table held now, or not at all when it is gone, and then nothing is taken.
// The next scan, against the new table, ends the game.
TEST_F(TransitionsTest, AReloadBetweenScanAndTransitionFindsThePresetAgain) {
    // The file's presets match "game2.exe" at index 1 (fillPreset's paths).
    auto table = newTable();
    ASSERT_TRUE(decodePresetFile(files_.files[kPresetPath].data(), files_.files[kPresetPath].size(), *table));
    const std::string gamePath = table->presets[1].exePath;
    const Preset game = table->presets[1];
    const std::vector<ProcessEntry> playing = {{3000, "explorer.exe"}, {3100, gamePath}};

    const struct {
        const char* what;
        std::vector<int> order;  // presets of the first file, in the new file's order
        int newIndex;            // where the game's preset is then; -1 gone
    } cases[] = {{"moved", {3, 0, 2, 1}, 3}, {"gone", {3, 0}, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        files_.files[kPresetPath] = presetFile(true);
        ASSERT_EQ(0, reloadPresetFile(ctx_));
        store_.deleteValue(kPanelKey, kLastIndexValue);
        io_.calls.clear();
        GameWatcher watcher;
        const Announcement start = watcher.scan(playing, *presets_.matcher());
        ASSERT_EQ(Announcement::Start, start.kind);
        ASSERT_EQ(1, start.presetIndex);

        auto reordered = newTable();
        reordered->presetCount = uint16_t(c.order.size());
        for (size_t i = 0; i < c.order.size(); ++i) reordered->presets[i] = table->presets[c.order[i]];
        files_.files[kPresetPath] = encodePresetFile(*reordered);
        ASSERT_EQ(0, reloadPresetFile(ctx_));

        const Preset before = current_;
        EXPECT_EQ(c.newIndex >= 0, handleAnnouncedStart(ctx_, start));
        if (c.newIndex >= 0) {
            EXPECT_EQ(uint32_t(c.newIndex), dword(kLastIndexValue));
            Preset expected = before;
            copyPresetFull(expected, game);
            EXPECT_EQ("", presetDifference(current_, expected));
            const auto blocks = sentBlocks(io_);
            ASSERT_EQ(1u, blocks.size());
            EXPECT_EQ(gameBlockOf(current_), blocks[0]);
        } else {
            EXPECT_EQ(nullptr, stored(kLastIndexValue));
            EXPECT_EQ("", presetDifference(current_, before));
            EXPECT_TRUE(io_.calls.empty());
            EXPECT_EQ(Announcement::End, watcher.scan(playing, *presets_.matcher()).kind);
        }
    }
}

TEST_F(TransitionsTest, AFailedLoadAtCreationPutsTheDefaultPresetInTableAndMatcher) {
    const std::string gamePath = tablePreset(1).exePath;
    ASSERT_EQ(1, presets_.matcher()->find(upperWestern(gamePath)));
    files_.unreadable[kPresetPath] = true;

    EXPECT_EQ(-1, loadTableOrDefault(ctx_));

    Preset expected = current_;
    resetPreset(expected, Deliverable::Loader);
    EXPECT_EQ("", presetDifference(current_, expected));
    EXPECT_EQ(1, presets_.withTable([](const PresetTable& t) { return int(t.presetCount); }));
    Preset entry = expected;
    copyPresetFull(entry, tablePreset(0));
    EXPECT_EQ("", presetDifference(entry, expected));
    EXPECT_EQ(1, presets_.matcher()->presetCount());
    EXPECT_EQ(-1, presets_.matcher()->find(upperWestern(gamePath))) << "the old table's paths are gone";

    files_.unreadable.erase(kPresetPath);
    EXPECT_EQ(0, loadTableOrDefault(ctx_));
    EXPECT_EQ(1, presets_.matcher()->find(upperWestern(gamePath)));
}

}  // namespace
}  // namespace zentra
