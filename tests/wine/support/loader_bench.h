// The bench of the tests that drive the real ZntUsb: a preset file of the
// test's own, stand-in games, child processes, and the simulated wheel's
// log of what the loader sends.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver/upload.h"
#include "preset/preset_file.h"
#include "preset/registry.h"
#include "sim/sim_client.h"
#include "sim/sim_setup.h"
#include "tests/wine/support/child_process.h"
#include "tests/wine/support/wine_test_support.h"
#include "tools/loaderctl/loader_control.h"

namespace zentra {

constexpr UINT kGameBlockWait = 15000;

inline std::vector<uint8_t> bytesOf(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return std::vector<uint8_t>(b, b + n);
}

class LoaderBench : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(client.open()) << client.error();
        std::string error;
        ASSERT_TRUE(sim::configureWheels(1, 0, error)) << error;
        ASSERT_TRUE(client.resetAnswers());
        ASSERT_TRUE(client.clearLog());
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "zntusb-" + std::to_string(GetCurrentProcessId()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(dir.c_str(), nullptr);
        presetFile = dir + "\\TempoZNT.pst";
        for (const char* v : {kLoaderWindowValue, kLastIndexValue, kGameLaunchValue, kLaunchValue})
            platformRegistryStore().deleteValue(kPanelKey, v);
        registry.writeRegString(kPanelKey, kTemporaryFileValue, presetFile.c_str());
        writePresets({"C:\\GAMES\\RALLYX\\RALLYX.EXE", "D:\\Sky Ace\\SkyAce.exe"});
    }
    void TearDown() override {
        if (HWND window = findLoaderWindow()) {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(p, 1);
                WaitForSingleObject(p, 5000);
                CloseHandle(p);
            }
        }
        games.clear();
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do DeleteFileA((dir + "\\" + data.cFileName).c_str());
            while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }

    // The default preset and one preset a game path, in that order.
    void writePresets(const std::vector<std::string>& paths) {
        table->presetCount = uint16_t(1 + paths.size());
        resetPreset(table->presets[0], Deliverable::Panel);
        for (size_t i = 0; i < paths.size(); ++i) {
            Preset& p = table->presets[i + 1];
            resetPreset(p, Deliverable::Panel);
            setPresetText(p.gameName, ("Game " + std::to_string(i + 1)).c_str());
            setPresetText(p.exePath, paths[i].c_str());
            p.buttonKeys[0][0] = KeyCode(0x1E + i);
            p.curveType[0] = 1;
            p.axisInvert = 1;
        }
        ASSERT_EQ(savePresetFile(nullptr, presetFile.c_str(), *table, platformFileSystem()), 1);
    }
    // What the loader sends for preset `index` of the file.
    std::vector<uint8_t> gameBlockFor(int index) {
        static LoaderWheel wheel;
        static Preset current;
        copyPresetFull(current, table->presets[index]);
        buildGameBlock(wheel, current);
        return bytesOf(&wheel.block, sizeof wheel.block);
    }

    // The block that "ZntPreset block" writes for preset `index` of the file.
    std::vector<uint8_t> presetToolBlock(int index, const char* sender = "loader", int mode = 2) {
        const std::string out = dir + "\\expected.bin";
        Process tool;
        EXPECT_TRUE(tool.start(besideTests("ZntPreset.exe"),
                               "block \"" + presetFile + "\" --preset " + std::to_string(index) + " --sender " +
                                   sender + " --mode " + std::to_string(mode) + " -o \"" + out + "\""));
        EXPECT_EQ(tool.wait(10000), 0u);
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(platformFileSystem().readFile(out, sizeof(ParameterBlock), bytes));
        return bytes;
    }

    // Starts ZntUsb and waits for its window. A loader that an earlier test
    // ended may still be going away: a new one would take its window for a
    // running instance and end, so that one is waited for first.
    HWND startLoader(const char* args = "") {
        for (DWORD waited = 0; findLoaderWindow() && waited < 10000; waited += 50) Sleep(50);
        loader.reset(new Process);
        if (!loader->start(besideTests("ZntUsb.exe"), args)) {
            ADD_FAILURE() << "ZntUsb.exe did not start: error " << GetLastError();
            return nullptr;
        }
        if (HWND window = waitForLoaderWindow(15000)) return window;
        const DWORD code = loader->wait(0);
        ADD_FAILURE() << "ZntUsb showed no window; "
                      << (code == STILL_ACTIVE ? std::string("it still runs")
                                               : "it ended with code " + std::to_string(code));
        return nullptr;
    }
    // Starts a stand-in game: the test program copied under `name`.
    void startGame(const std::string& name) {
        const std::string exe = dir + "\\" + name;
        ASSERT_TRUE(CopyFileA(besideTests("fakegame.exe").c_str(), exe.c_str(), FALSE));
        games.emplace_back(new Process);
        ASSERT_TRUE(games.back()->start(exe, "60000"));
    }

    std::vector<SimLogEntry> log() {
        std::vector<SimLogEntry> entries;
        EXPECT_TRUE(client.log(entries)) << client.error();
        return entries;
    }
    // Waits for the `count`-th parameter block since the log was cleared.
    bool waitForBlocks(size_t count, DWORD ms, std::vector<SimLogEntry>& blocks) {
        for (DWORD waited = 0;; waited += 50) {
            blocks.clear();
            for (const SimLogEntry& e : log())
                if (e.code == kCodeParameterBlock) blocks.push_back(e);
            if (blocks.size() >= count) return true;
            if (waited >= ms) return false;
            Sleep(50);
        }
    }
    static std::vector<uint8_t> input(const SimLogEntry& e) {
        return std::vector<uint8_t>(e.input, e.input + e.storedLength);
    }

    sim::SimClient client;
    Registry registry{platformRegistryStore(), Deliverable::Panel};
    std::unique_ptr<PresetTable> table{new PresetTable()};
    std::string dir, presetFile;
    std::unique_ptr<Process> loader;
    std::vector<std::unique_ptr<Process>> games;
};

}  // namespace zentra
