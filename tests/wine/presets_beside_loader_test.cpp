// The presets page in the real control panel beside the real tray program:
// a game renamed and given a new executable on the page, the sheet closed
// with OK, and the tray program puts that preset on the wheel when the new
// executable starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/wine/support/loader_bench.h"
#include "tools/cplhost/window_search.h"

namespace zentra {
namespace {

// The first window below `root` with control id `id`.
HWND descendantWithId(HWND root, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        root,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (GetDlgCtrlID(window) != s->id) return TRUE;
            s->found = window;
            return FALSE;
        },
        LPARAM(&search));
    return search.found;
}

template <typename F>
HWND waitFor(F find) {
    for (int i = 0; i < 400; ++i, Sleep(25))
        if (HWND found = find()) return found;
    return nullptr;
}

using PresetsBesideLoader = LoaderBench;

TEST_F(PresetsBesideLoader, ARenamedGameWithANewExecutableIsPutOnTheWheelWhenItStarts) {
    ASSERT_EQ(0u, runChild(besideTests("ZntPanelHost.exe"), "register", 10000).exitCode);
    registry.writeRegDword(2, kPanelKey, kLastIndexValue);  // "Game 2" is the current preset
    ASSERT_NE(startLoader(), nullptr);
    Sleep(2500);
    Process panel;
    ASSERT_TRUE(panel.start(besideTests("ZntPanelHost.exe"), "show --close ok --after 9000"));
    HWND sheet = waitFor([&] { return findShownWindowWithControl(0, panel.id(), IDOK); });
    ASSERT_NE(sheet, nullptr) << "no sheet";
    // The main page's start ends with the test page (152): only then has it
    // loaded the presets.
    ASSERT_NE(waitFor([&] { return descendantWithId(sheet, 152); }), nullptr) << "no test page";
    HWND tab = descendantWithId(sheet, 247);
    ASSERT_NE(tab, nullptr) << "no presets tab";
    SendMessageA(GetParent(tab), WM_COMMAND, 247, 0);
    // The page is ready when its edit shows the current preset's name.
    HWND name = waitFor([&] {
        HWND edit = descendantWithId(sheet, 232);
        return edit && SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0) > 0 ? edit : nullptr;
    });
    ASSERT_NE(name, nullptr) << "no presets page";
    HWND page = GetParent(name), path = GetDlgItem(page, 233);
    // Another process's edit: its text is asked for, not read from the window.
    char shown[256] = "";
    SendMessageA(name, WM_GETTEXT, sizeof shown, LPARAM(shown));
    EXPECT_STREQ(shown, "Game 2");
    const std::string exe = dir + "\\renamed.exe";
    SetWindowTextA(name, "Renamed Rally");
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(232, EN_KILLFOCUS), LPARAM(name));
    SetWindowTextA(path, exe.c_str());
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(233, EN_KILLFOCUS), LPARAM(path));
    ASSERT_EQ(0u, panel.wait(30000));
    // The file holds the renamed game; the tray program reads it again a
    // second after the panel closed.
    ASSERT_EQ(0, loadPresetFile(nullptr, presetFile.c_str(), *table, platformFileSystem(), nullptr));
    int renamed = -1;
    for (int i = 0; i < table->presetCount; ++i)
        if (std::strcmp(table->presets[i].gameName, "Renamed Rally") == 0) renamed = i;
    ASSERT_GE(renamed, 0);
    EXPECT_STREQ(table->presets[renamed].exePath, exe.c_str());
    Sleep(2000);
    ASSERT_TRUE(client.clearLog());
    startGame("renamed.exe");
    std::vector<SimLogEntry> blocks;
    ASSERT_TRUE(waitForBlocks(1, kGameBlockWait, blocks));
    EXPECT_EQ(input(blocks[0]), gameBlockFor(renamed));
}

}  // namespace
}  // namespace zentra
