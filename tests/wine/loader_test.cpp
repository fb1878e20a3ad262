// ZntUsb end to end under Wine: the real program, a preset file, stand-in
// games and the simulated wheel, which logs what the loader sends.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/wine/support/loader_bench.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "driver/upload.h"
#include "preset/preset_file.h"
#include "sim/sim_client.h"
#include "sim/sim_setup.h"
#include "tools/loaderctl/loader_control.h"

namespace zentra {
namespace {

using Loader = LoaderBench;

TEST_F(Loader, StartUpWithoutLaunchPushesStoredParametersAndEnds) {
    std::string error;
    ASSERT_TRUE(sim::configureWheels(2, 0, error)) << error;
    for (const char* launch : {static_cast<const char*>(nullptr), "NO"}) {
        SCOPED_TRACE(launch ? launch : "missing");
        if (launch) registry.writeRegString(kPanelKey, kLaunchValue, launch);
        ASSERT_TRUE(client.clearLog());
        Process p;
        ASSERT_TRUE(p.start(besideTests("ZntUsb.exe"), "/STARTUP"));
        EXPECT_EQ(p.wait(15000), 0u);
        EXPECT_EQ(findLoaderWindow(), nullptr);
        EXPECT_EQ(registry.readRegDword(kPanelKey, kLoaderWindowValue), 0u) << "no window was made";
        const auto entries = log();
        ASSERT_EQ(entries.size(), 4u);
        const uint32_t modes[4] = {1, 3, 1, 3};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(entries[i].code, kCodeParameterBlock);
            EXPECT_EQ(entries[i].wheel, uint32_t(i / 2));
            EXPECT_EQ(readU32(entries[i].input), modes[i]);
        }
    }
}

TEST_F(Loader, NormalStartPublishesItsWindowAndOpensTheEmulationLink) {
    HWND window = startLoader();
    ASSERT_NE(window, nullptr);
    // The window can be found while it is still being made: its handle is
    // written during its creation.
    for (int i = 0; i < 100 && registry.readRegDword(kPanelKey, kLoaderWindowValue) == 0; ++i) Sleep(50);
    EXPECT_EQ(registry.readRegDword(kPanelKey, kLoaderWindowValue), uint32_t(uintptr_t(window)));
    std::vector<SimLogEntry> entries;
    for (int i = 0; i < 100 && entries.size() < 2; ++i, Sleep(50)) entries = log();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].code, kCodeLinkOpened);
    EXPECT_EQ(entries[0].inputLength, 0u);
    EXPECT_EQ(entries[1].code, kCodeLinkWindow);
    EXPECT_EQ(readU32(entries[1].input), uint32_t(uintptr_t(window)));
    // The tray icon is in place and the window hidden.
    for (int i = 0; i < 100 && IsWindowVisible(window); ++i) Sleep(50);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(Loader, AGameStartPutsItsPresetOnTheWheelAndItsEndTheDefault) {
    ASSERT_NE(startLoader(), nullptr);
    Sleep(2500);  // the watcher has read the file and scanned once
    ASSERT_TRUE(client.clearLog());

    const auto started = std::chrono::steady_clock::now();
    startGame("rallyx.exe");
    bool noticeSeen = false;
    std::vector<SimLogEntry> blocks;
    for (DWORD waited = 0; blocks.empty() && waited < kGameBlockWait; waited += 50) {
        noticeSeen = noticeSeen || FindWindowA(nullptr, "Morvenhollow Preset Loader");
        waitForBlocks(1, 0, blocks);
        Sleep(50);
    }
    ASSERT_EQ(blocks.size(), 1u) << "no block within " << kGameBlockWait << " ms";
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("from the stand-in game's start to its block at the wheel: %.2f s\n", seconds);
    RecordProperty("game_to_block_ms", int(seconds * 1000));
    EXPECT_TRUE(noticeSeen);
    EXPECT_EQ(blocks[0].wheel, 0u);
    EXPECT_EQ(input(blocks[0]), gameBlockFor(1));
    EXPECT_EQ(input(blocks[0]), presetToolBlock(1)) << "the preset tool builds the same block";
    EXPECT_EQ(registry.readRegDword(kPanelKey, kLastIndexValue), 1u);
    EXPECT_EQ(registry.readRegDword(kPanelKey, kGameLaunchValue), 1u);

    games.back()->kill();
    ASSERT_TRUE(waitForBlocks(2, kGameBlockWait, blocks));
    EXPECT_EQ(input(blocks[1]), gameBlockFor(0)) << "the default preset";
    EXPECT_EQ(registry.readRegDword(kPanelKey, kGameLaunchValue), 0u);
}

TEST_F(Loader, TheControlPanelsMessagesRestoreTheDefaultAndReloadTheFile) {
    HWND window = startLoader();
    ASSERT_NE(window, nullptr);
    Sleep(2500);
    ASSERT_TRUE(client.clearLog());

    sendPanelState(window, 1);
    std::vector<SimLogEntry> blocks;
    ASSERT_TRUE(waitForBlocks(1, 5000, blocks));
    EXPECT_EQ(input(blocks[0]), gameBlockFor(0));
    EXPECT_EQ(registry.readRegDword(kPanelKey, kGameLaunchValue), 0u);

    // The panel closes after writing a file with a new game; the loader
    // reads it a second later and then knows that game.
    writePresets({"C:\\GAMES\\RALLYX\\RALLYX.EXE", "D:\\Sky Ace\\SkyAce.exe", "E:\\NEWGAME\\NEWGAME.EXE"});
    sendPanelState(window, 0);
    Sleep(2000);
    startGame("newgame.exe");
    ASSERT_TRUE(waitForBlocks(2, kGameBlockWait, blocks));
    EXPECT_EQ(input(blocks[1]), gameBlockFor(3));
    EXPECT_EQ(registry.readRegDword(kPanelKey, kLastIndexValue), 3u);
}

TEST_F(Loader, ASecondStartBringsTheFirstWindowForwardAndEnds) {
    HWND window = startLoader();
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 100 && IsWindowVisible(window); ++i) Sleep(50);
    ASSERT_FALSE(IsWindowVisible(window));
    Process second;
    ASSERT_TRUE(second.start(besideTests("ZntUsb.exe"), ""));
    EXPECT_EQ(second.wait(10000), 0u);
    for (int i = 0; i < 100 && !IsWindowVisible(window); ++i) Sleep(50);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(findLoaderWindow(), window);
}

TEST_F(Loader, TheKeyboardEmulationBoxSwitchesTheDriver) {
    HWND window = startLoader();
    ASSERT_NE(window, nullptr);
    Sleep(500);
    ASSERT_TRUE(client.clearLog());
    HWND box = GetDlgItem(window, 1008);
    ASSERT_NE(box, nullptr);
    SendMessageA(box, BM_CLICK, 0, 0);
    SendMessageA(box, BM_CLICK, 0, 0);
    std::vector<SimLogEntry> switches;
    for (int i = 0; i < 100 && switches.size() < 2; ++i, Sleep(50)) {
        switches.clear();
        for (const SimLogEntry& e : log())
            if (e.code == kCodeEmulationSwitch) switches.push_back(e);
    }
    ASSERT_EQ(switches.size(), 2u);
    const EmulationSwitch off{768, 0}, on{768, 1};
    EXPECT_EQ(input(switches[0]), bytesOf(&off, 8));
    EXPECT_EQ(input(switches[1]), bytesOf(&on, 8));
}

TEST_F(Loader, ExitFromTheTrayMenuEndsWith18AfterCodeThree) {
    HWND window = startLoader();
    ASSERT_NE(window, nullptr);
    Sleep(1000);
    ASSERT_TRUE(client.clearLog());
    ASSERT_TRUE(chooseTrayMenuItem(window, 2));
    EXPECT_EQ(loader->wait(10000), 18u);
    const auto entries = log();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().code, kCodeLinkClosing);
}

// --- The control panel, in the stand-in panel, beside the tray program ------

class PanelBesideLoader : public Loader {
protected:
    void SetUp() override {
        Loader::SetUp();
        std::string error;
        ASSERT_TRUE(sim::configureWheels(2, 0, error)) << error;  // wheel 0 emulates keys, wheel 1 does not
        ASSERT_EQ(0u, runChild(besideTests("ZntPanelHost.exe"), "register", 10000).exitCode);
        registry.writeRegDword(2, kPanelKey, kLastIndexValue);
    }
    // The entries of `code` on `wheel`, in order.
    std::vector<SimLogEntry> entriesOf(uint32_t code, uint32_t wheel) {
        std::vector<SimLogEntry> found;
        for (const SimLogEntry& e : log())
            if (e.code == code && e.wheel == wheel) found.push_back(e);
        return found;
    }
};

TEST_F(PanelBesideLoader, OkTellsTheTrayProgramAndSendsTheClosingBlock) {
    ASSERT_NE(startLoader(), nullptr);
    Sleep(2500);
    for (int wheel : {1, 0}) {
        SCOPED_TRACE(wheel ? "the wheel without key emulation" : "the emulation wheel");
        ASSERT_TRUE(client.clearLog());
        const ChildRun run = runChild(besideTests("ZntPanelHost.exe"),
                                      "show --wheel " + std::to_string(wheel) + " --close ok --after 1500", 30000);
        ASSERT_EQ(0u, run.exitCode) << run.output;
        // The tray program put the default preset on the wheel when the
        // panel opened.
        std::vector<SimLogEntry> loaderBlocks = entriesOf(kCodeParameterBlock, 0);
        ASSERT_FALSE(loaderBlocks.empty());
        EXPECT_EQ(input(loaderBlocks[0]), gameBlockFor(0));
        // The panel's switch at start, and off again at close only for the
        // wheel without key emulation.
        const std::vector<SimLogEntry> switches = entriesOf(kCodeEmulationSwitch, uint32_t(wheel));
        const EmulationSwitch on{768, uint32_t(wheel == 0)}, off{0, 0};
        ASSERT_EQ(wheel == 1 ? 2u : 1u, switches.size());
        EXPECT_EQ(input(switches[0]), bytesOf(&on, 8));
        if (wheel == 1) {
            EXPECT_EQ(input(switches[1]), bytesOf(&off, 8));
        }
        // The closing block of the current preset, as the preset tool builds it.
        std::vector<SimLogEntry> panelBlocks;
        for (const SimLogEntry& e : entriesOf(kCodeParameterBlock, uint32_t(wheel)))
            if (readU32(e.input) == 3) panelBlocks.push_back(e);
        ASSERT_EQ(1u, panelBlocks.size());
        EXPECT_EQ(input(panelBlocks[0]), presetToolBlock(2, "panel", 3));
        // The simulated wheel's raw log holds the same bytes in a file of
        // the request's own.
        const std::string raw = dir;  // the test's folder, emptied at its end
        ASSERT_EQ(0u, runChild(besideTests("ZntSimSetup.exe"), "log --raw \"" + raw + "\"", 10000).exitCode);
        char name[64];
        std::snprintf(name, sizeof name, "\\%04u-w%d-222006.bin", unsigned(panelBlocks[0].sequence), wheel);
        std::vector<uint8_t> file;
        ASSERT_TRUE(platformFileSystem().readFile(raw + name, sizeof(ParameterBlock), file)) << raw + name;
        EXPECT_EQ(input(panelBlocks[0]), file);
        EXPECT_EQ(2u, registry.readRegDword(kPanelKey, kLastIndexValue));
    }
}

TEST_F(PanelBesideLoader, CancelLeavesTheFileAndTheTrayProgramReadsItASecondLater) {
    ASSERT_NE(startLoader(), nullptr);
    Sleep(2500);
    Process panel;
    ASSERT_TRUE(panel.start(besideTests("ZntPanelHost.exe"), "show --close cancel --after 2500"));
    Sleep(1000);
    // Meanwhile another program writes the file with a new game; the panel,
    // cancelled, leaves it as it is.
    writePresets({"C:\\GAMES\\RALLYX\\RALLYX.EXE", "D:\\Sky Ace\\SkyAce.exe", "E:\\NEWGAME\\NEWGAME.EXE"});
    std::vector<uint8_t> written;
    ASSERT_TRUE(platformFileSystem().readFile(presetFile, kMaxPresetFileSize, written));
    ASSERT_EQ(0u, panel.wait(20000));
    std::vector<uint8_t> after;
    ASSERT_TRUE(platformFileSystem().readFile(presetFile, kMaxPresetFileSize, after));
    EXPECT_EQ(written, after);
    EXPECT_EQ(2u, registry.readRegDword(kPanelKey, kLastIndexValue)) << "still written";
    // The tray program reads the file a second after the panel's message;
    // the rest is margin for a slow machine.
    Sleep(3000);
    ASSERT_TRUE(client.clearLog());
    startGame("newgame.exe");
    std::vector<SimLogEntry> blocks;
    ASSERT_TRUE(waitForBlocks(1, kGameBlockWait, blocks));
    EXPECT_EQ(input(blocks[0]), gameBlockFor(3)) << "the tray program knows the new game";
}

}  // namespace
}  // namespace zentra
