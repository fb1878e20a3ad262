// The button and D-pad pages in this test program's own process, on the
// main page of simulated wheel 0: keys typed with xdotool while a slot
// records, the wheel's own buttons, the mouse commands, Clear, and the
// block the wheel gets when the page closes, checked against the preset
// tool's block of the saved file.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/pages/button_page_logic.h"
#include "preset/file_system.h"
#include "preset/preset_file.h"
#include "sim/sim_client.h"
#include "sim/sim_setup.h"
#include "tests/wine/support/screen_pixels.h"
#include "tests/wine/support/wine_test_support.h"
#include "tools/cplhost/page_harness.h"
#include "tools/cplhost/window_search.h"

namespace zentra {
namespace {

constexpr int kButtonPageId = 151;

std::string boxText(HWND page, int slot) {
    char text[1300] = {};
    GetWindowTextA(GetDlgItem(page, editIdOf(slot)), text, sizeof text);
    return text;
}

// What the box of a slot holding `codes` shows, with the system's key names.
std::string textOf(std::initializer_list<KeyCode> codes) {
    std::string text;
    for (KeyCode c : codes) text += keyCodeText(c, systemKeyNames(), KeyTextStyle::ButtonPage);
    return text;
}

class ButtonPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { PageHarness::prepare(besideTests("ZentraCpl.dll").c_str()); }

    void SetUp() override {
        ASSERT_NE(PageHarness::library(), nullptr);
        std::string error;
        ASSERT_TRUE(PageHarness::startTest(client, 2, error)) << error;
        resetButtonPageState();
        presetFile = tempFile("zentra-button-test.pst");
        PresetTable table{};
        for (int i = 0; i < 2; ++i) resetPreset(table.presets[i], Deliverable::Panel);
        setPresetText(table.presets[1].gameName, "Rally X");
        table.presets[1].buttonKeys[4][0] = 0x1E;  // already on button 5: A
        table.presetCount = 2;
        ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), table, platformFileSystem()));
        pointPanelAt(registry, presetFile, 1);
        sheetWindow = harness.open(0);
        ASSERT_NE(sheetWindow, nullptr);
        pumpMessages(50);
        mainPage = mainPageState().page;
        SetForegroundWindow(sheetWindow);
        showTab(kTabButtons);
    }

    void TearDown() override {
        harness.close(IDCANCEL);
        uint8_t rest[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
        client.setReport(rest);
        DeleteFileA(presetFile.c_str());
        UiLanguage = 0x0409;
    }

    void showTab(int tab) {
        SendMessageA(mainPage, WM_COMMAND, tab, 0);
        pumpMessages(50);
        page = GetDlgItem(mainPage, findTab(tab)->childId);
        ASSERT_NE(nullptr, page);
    }
    void command(int id) {
        SendMessageA(page, WM_COMMAND, id, 0);
        pumpMessages(20);
    }
    // Keys typed on the display (xdotool key), then a few ticks for the page
    // to read them.
    void type(const char* keys) { xdotoolKeys(std::string("key --delay 30 ") + keys); }
    // Keys with modifiers held around them. (xdotool's "ctrl+a" lets the
    // modifiers go before the key, and a modifier released while the key is
    // down is dropped from the code, as when a user lets go of it first.)
    void typeHeld(const char* modifiers, const char* key) {
        std::string args;
        std::vector<std::string> held;
        for (const char* m = modifiers; *m;) {
            const char* end = std::strchr(m, ' ');
            held.emplace_back(m, end ? size_t(end - m) : std::strlen(m));
            m = end ? end + 1 : m + std::strlen(m);
        }
        for (const std::string& m : held) args += "keydown " + m + " ";
        args += std::string("key ") + key;
        for (auto m = held.rbegin(); m != held.rend(); ++m) args += " keyup " + *m;
        xdotoolKeys(args);
    }
    // Under load the keys can take a while to arrive: the ticks run until
    // the recording slot's codes change, or for two seconds at most (keys
    // that must not be recorded get the whole time).
    void xdotoolKeys(const std::string& args) {
        // Keys are read only while the sheet is in front: it is brought
        // there first, so that a slow focus change loses no key.
        SetForegroundWindow(sheetWindow);
        ASSERT_TRUE(waitUntil([this] { return GetForegroundWindow() == sheetWindow; }))
            << "the sheet is not in front to take keys";
        pumpMessages(60);  // a tick in front: reading starts from an empty buffer
        const ButtonPageState before = buttonPageState();
        xdotool(args);
        for (int waited = 0; waited < 2000; waited += 50) {
            pumpMessages(50);
            const ButtonPageState& now = buttonPageState();
            if (std::memcmp(now.keyCount, before.keyCount, sizeof now.keyCount) != 0) break;
        }
        pumpMessages(200);
    }
    const Preset& current() { return panelState().currentPreset; }


    // The last block the wheel received against the preset tool's block of
    // preset 1 of `file` (the saved file unless another is given; mode 3,
    // the wheel's hardware area as sent).
    void expectClosingBlockIsTheToolsBlock(std::string file = {}) {
        if (file.empty()) file = presetFile;
        ParameterBlock sent;
        ASSERT_TRUE(lastParameterBlock(client, sent)) << "no block: " << client.error();
        const std::string hardware = tempFile("zentra-button-hw.bin"), out = tempFile("zentra-button-block.bin");
        FILE* f = std::fopen(hardware.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        uint8_t record[112] = {};
        std::memcpy(record, sent.hardwareConfig, sizeof sent.hardwareConfig);
        std::fwrite(record, 1, sizeof record, f);
        std::fclose(f);
        const ChildRun run = runChild(besideTests("ZntPreset.exe"),
                                      "block \"" + file + "\" --preset 1 --sender panel --mode 3 --hardware \"" +
                                          hardware + "\" -o \"" + out + "\"",
                                      20000);
        ASSERT_EQ(0u, run.exitCode) << run.output;
        std::vector<uint8_t> expected;
        const FileResult read = platformFileSystem().readFile(out, 2 * sizeof sent, expected);
        ASSERT_TRUE(read) << read.reason;
        ASSERT_EQ(sizeof sent, expected.size());
        EXPECT_EQ(0, std::memcmp(expected.data(), &sent, sizeof sent));
        DeleteFileA(hardware.c_str());
        DeleteFileA(out.c_str());
    }

    sim::SimClient client;
    Registry registry{platformRegistryStore(), Deliverable::Panel};
    PageHarness harness;
    HWND sheetWindow = nullptr, mainPage = nullptr, page = nullptr;
    std::string presetFile;
};

TEST_F(ButtonPageTest, KeysTypedWhileRecordingShowInTheBoxAndReachTheWheelAtClose) {
    EXPECT_EQ("   " + systemKeyNames().keyName(0x001E0000), boxText(page, 4)) << "the stored key of button 5";
    command(selectIdOf(0));
    ASSERT_TRUE(buttonPageState().recording);
    typeHeld("ctrl shift", "a");
    type("b");
    EXPECT_EQ(0x051E, current().buttonKeys[0][0]);
    EXPECT_EQ(0x0030, current().buttonKeys[0][1]);
    EXPECT_EQ(0, current().buttonKeys[0][2]);
    EXPECT_EQ(textOf({0x051E, 0x0030}), boxText(page, 0));
    command(selectIdOf(0));
    EXPECT_FALSE(buttonPageState().recording);
    type("c");
    EXPECT_EQ(0, current().buttonKeys[0][2]) << "keys after recording stopped";
    harness.close(IDOK);
    expectClosingBlockIsTheToolsBlock();
    ParameterBlock last;
    ASSERT_TRUE(lastParameterBlock(client, last));
    EXPECT_EQ(4, last.buttons[0].usage[0]) << "A";
    EXPECT_EQ(5, last.buttons[0].usage[1]) << "B";
    EXPECT_EQ(3, last.buttons[0].modifiers) << "left Ctrl and left Shift";
}

// The tooltip the page gives for the box of `slot`.
std::string boxTooltip(HWND page, int slot) {
    NMTTDISPINFOA request{};
    request.hdr.hwndFrom = mainPageState().tooltip;
    request.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(page, editIdOf(slot)));
    request.hdr.code = TTN_GETDISPINFOA;
    request.uFlags = TTF_IDISHWND;
    SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    return request.lpszText && !IS_INTRESOURCE(request.lpszText) ? request.lpszText : "";
}

TEST_F(ButtonPageTest, ALongSequenceStaysInsideItsFrameWithTheWholeOfItInTheTooltip) {
    command(selectIdOf(0));
    typeHeld("ctrl shift", "a");
    type("b");
    HWND box = GetDlgItem(page, editIdOf(0));
    ASSERT_NE(nullptr, box);
    // The taller box with the scroll bar style, as fitting makes it...
    EXPECT_EQ(0x50100084u, DWORD(GetWindowLongA(box, GWL_STYLE)));
    RECT r{};
    GetWindowRect(box, &r);
    EXPECT_EQ(95, r.right - r.left);
    EXPECT_EQ(34, r.bottom - r.top);
    // ... shows nothing below the frame (box 1068 at (311, 209), the frame's
    // bottom at 232): the wheel's picture there, no system scroll bar.
    pumpMessages(100);
    for (int y = 233; y < 243; y += 3)
        for (int x = 311; x < 392; x += 8)
            ASSERT_EQ(spritePixel(skin::kButtonPageWheel, x - 134, y - 40), screenPixel(page, x, y)) << x << ", " << y;
    EXPECT_EQ("Control+Shift+A   B", boxTooltip(page, 0));
    EXPECT_EQ("", boxTooltip(page, 4)) << "button 5's A fits its box";
}

// The page's own closing upload, seen alone: leaving for another tab (OK
// would upload once more from the main page). The wheel gets the preset as
// it went back to the table. (The block carries no mouse flags, so whether
// they went into the preset before or after it is not the wheel's to see.)
TEST_F(ButtonPageTest, LeavingTheTabSendsThePresetAsItGoesBackToTheTable) {
    command(selectIdOf(0));
    type("a");
    command(selectIdOf(2));
    command(kRightMouseId);
    ASSERT_TRUE(client.clearLog()) << client.error();
    showTab(kTabAxis);
    ASSERT_EQ(1 << 2, panelState().table.presets[1].clickMask[0]);
    ParameterBlock sent;
    ASSERT_TRUE(lastParameterBlock(client, sent)) << "the page sent nothing as it closed";
    EXPECT_EQ(4, sent.buttons[0].usage[0]) << "A, typed before leaving";
    const std::string table = tempFile("zentra-button-table.pst");
    ASSERT_EQ(1, savePresetFile(nullptr, table.c_str(), panelState().table, platformFileSystem()));
    expectClosingBlockIsTheToolsBlock(table);
    DeleteFileA(table.c_str());
}

TEST_F(ButtonPageTest, ADpadDirectionAndButton12RecordTheSameWay) {
    showTab(kTabPov);
    EXPECT_EQ(nullptr, GetDlgItem(mainPage, kButtonPageId)) << "one page at a time";
    ASSERT_NE(nullptr, GetDlgItem(page, editIdOf(17)));
    auto mouseCommandsEnabled = [this] {
        return IsWindowEnabled(GetDlgItem(page, kLeftMouseId)) && IsWindowEnabled(GetDlgItem(page, kRightMouseId));
    };
    EXPECT_TRUE(mouseCommandsEnabled()) << "up (slot 13) has mouse flags";
    command(selectIdOf(17));
    EXPECT_FALSE(mouseCommandsEnabled()) << "down (slot 17) has none";
    type("x");
    EXPECT_EQ(0x002D, current().buttonKeys[17][0]);
    EXPECT_EQ(textOf({0x002D}), boxText(page, 17));
    showTab(kTabButtons);
    command(selectIdOf(11));
    EXPECT_TRUE(mouseCommandsEnabled());
    typeHeld("alt", "y");
    EXPECT_EQ(0x1015, current().buttonKeys[11][0]);
    EXPECT_EQ(0x002D, panelState().table.presets[1].buttonKeys[17][0]) << "the D-pad page wrote its edits back";
    harness.close(IDOK);
    expectClosingBlockIsTheToolsBlock();
}

TEST_F(ButtonPageTest, WheelButtonsSelectTheirSlots) {
    uint8_t report[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
    report[2] = 1 << 3;  // button 4
    ASSERT_TRUE(client.setReport(report));
    EXPECT_TRUE(waitUntil([] { return buttonPageState().selectedSlot == 3; }));
    EXPECT_TRUE(buttonPageState().recording);
    EXPECT_TRUE(buttonPageState().selectDown[3]);
    report[2] = 0;
    report[3] = 1 << (12 - 8);  // button 13
    ASSERT_TRUE(client.setReport(report));
    EXPECT_TRUE(waitUntil([] { return buttonPageState().selectedSlot == 12; }));
    EXPECT_FALSE(buttonPageState().selectDown[3]);
    type("z");
    EXPECT_EQ(0x002C, current().buttonKeys[12][0]);
}

// On the D-pad tab the hat selects: pushed right, then down-left.
TEST_F(ButtonPageTest, TheHatSelectsItsDirectionOnTheDpadTab) {
    showTab(kTabPov);
    ScriptedState pushed;
    for (const auto& [pov, slot] : {std::pair<DWORD, int>{9000, 15}, {22500, 18}}) {
        pushed.pov = pov;
        harness.joystick->script = {pushed};
        EXPECT_TRUE(waitUntil([slot = slot] { return buttonPageState().selectedSlot == slot; })) << "hat at " << pov;
        EXPECT_TRUE(buttonPageState().recording);
    }
    type("m");
    EXPECT_EQ(0x0032, current().buttonKeys[18][0]);
}

TEST_F(ButtonPageTest, AMouseCommandReplacesTheKeysAndClearEmptiesTheSlot) {
    command(selectIdOf(4));
    type("q");
    ASSERT_EQ(0x0010, current().buttonKeys[4][1]);
    command(kRightMouseId);
    EXPECT_EQ(0, current().buttonKeys[4][0]);
    EXPECT_EQ("Mouse 2", boxText(page, 4));
    type("w");
    EXPECT_EQ(0, current().buttonKeys[4][0]) << "a mouse slot records no keys";
    command(kLeftMouseId);
    EXPECT_EQ("Mouse 1", boxText(page, 4));
    command(kClearId);
    EXPECT_EQ("", boxText(page, 4));
    type("e");
    EXPECT_EQ(0x0012, current().buttonKeys[4][0]) << "Clear keeps the recording on";
    command(selectIdOf(2));
    type("r");
    command(kLeftMouseId);
    harness.close(IDOK);
    PresetTable saved{};
    ASSERT_EQ(0, loadPresetFile(nullptr, presetFile.c_str(), saved, platformFileSystem(), nullptr));
    EXPECT_EQ(0, saved.presets[1].clickMask[0]);
    EXPECT_EQ(1 << 2, saved.presets[1].clickMask[1]);
    EXPECT_EQ(0x0012, saved.presets[1].buttonKeys[4][0]);
    EXPECT_EQ(0, saved.presets[1].buttonKeys[2][0]);
}

// Button 5 records, Mouse 1 stops its keys, the user types a password
// into another program, comes back and records button 6: what was typed
// waited in the keyboard's buffer and must not land in slot 5. Then, while
// slot 5 records, the other program comes to the front once more.
TEST_F(ButtonPageTest, KeysTypedIntoAnotherProgramNeverReachASlot) {
    command(selectIdOf(4));
    command(kLeftMouseId);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION notepad{};
    char line[] = "notepad.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &notepad));
    struct Ended {
        PROCESS_INFORMATION& p;
        ~Ended() {
            TerminateProcess(p.hProcess, 0);
            WaitForSingleObject(p.hProcess, 5000);
            CloseHandle(p.hProcess);
            CloseHandle(p.hThread);
        }
    } ended{notepad};
    HWND other = nullptr;
    for (int i = 0; i < 200 && !other; ++i, Sleep(50)) other = FindWindowA("Notepad", nullptr);
    ASSERT_NE(nullptr, other);
    auto typeIntoOther = [&](const char* keys) {
        SetForegroundWindow(other);
        pumpMessages(200);
        ASSERT_EQ(other, GetForegroundWindow());
        xdotool(std::string("key --delay 30 ") + keys);
        pumpMessages(300);
    };
    typeIntoOther("s e c r e t");
    SetForegroundWindow(sheetWindow);
    pumpMessages(100);
    command(selectIdOf(5));
    pumpMessages(300);
    EXPECT_EQ(0, current().buttonKeys[5][0]) << "a key typed into the other program";
    EXPECT_EQ("", boxText(page, 5));
    type("k");
    EXPECT_EQ(0x0025, current().buttonKeys[5][0]) << "keys typed now record";
    typeIntoOther("p a s s");
    type("j");
    EXPECT_EQ(0x0024, current().buttonKeys[5][1]) << "back in front, keys record again";
    EXPECT_EQ(0, current().buttonKeys[5][2]) << "and only those";
}

// Found by the random user: the key that closes the About box over a
// recording slot is not the slot's, however quickly the box comes and goes
// (here between two ticks of the page).
TEST_F(ButtonPageTest, TheKeyThatClosesTheAboutBoxIsNotRecorded) {
    command(selectIdOf(5));
    ASSERT_TRUE(buttonPageState().recording);
    struct Typist {
        DWORD uiThread;
        bool typed;
    } typist{GetCurrentThreadId(), false};
    // Escape from another thread as soon as the box shows, which is most
    // often before the page's next tick: three times over.
    for (int round = 0; round < 3; ++round) {
        SetForegroundWindow(sheetWindow);
        pumpMessages(100);
        typist.typed = false;
        HANDLE thread = CreateThread(
            nullptr, 0,
            [](void* param) -> DWORD {
                auto* t = static_cast<Typist*>(param);
                HWND box = nullptr;
                for (int i = 0; i < 3000 && !box; ++i, Sleep(1))
                    box = findShownWindowWithControl(t->uiThread, 0, IDC_ABOUT_LINK);
                if (!box) return 0;
                INPUT keys[2] = {};
                for (INPUT& k : keys) {
                    k.type = INPUT_KEYBOARD;
                    k.ki.wVk = VK_ESCAPE;
                    k.ki.wScan = 0x01;
                }
                keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
                t->typed = SendInput(2, keys, sizeof keys[0]) == 2;
                return 0;
            },
            &typist, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        PostMessageA(page, WM_COMMAND, kAboutId, 0);
        // The box's own loop runs inside this wait; the typist gives up
        // after three seconds.
        while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) pumpMessages(0);
        CloseHandle(thread);
        ASSERT_TRUE(typist.typed) << "the About box did not show";
        ASSERT_TRUE(waitUntil([&] { return !findShownWindowWithControl(typist.uiThread, 0, IDC_ABOUT_LINK); }))
            << "Escape did not close the About box";
        pumpMessages(200);
        EXPECT_EQ(0, current().buttonKeys[5][0]) << "the Escape that closed the About box, round " << round;
    }
    type("k");
    EXPECT_EQ(0x0025, current().buttonKeys[5][0]) << "keys typed now record";
}

TEST_F(ButtonPageTest, ReopeningThePageResetsSelectionAndRecording) {
    command(selectIdOf(6));
    ASSERT_TRUE(buttonPageState().recording);
    showTab(kTabAxis);
    showTab(kTabButtons);
    EXPECT_EQ(0, buttonPageState().selectedSlot);
    EXPECT_FALSE(buttonPageState().recording);
    EXPECT_FALSE(buttonPageState().selectDown[6]);
    type("m");
    EXPECT_EQ(0, current().buttonKeys[0][0]);
    EXPECT_EQ(0, current().buttonKeys[6][0]);
}

// Screenshots of both pages while a slot records, in English and German,
// into the folder ZENTRA_SCREENSHOT_DIR names (a folder of this machine,
// written by ImageMagick's import).
TEST_F(ButtonPageTest, ScreenshotsWhileRecording) {
    char folder[MAX_PATH];
    if (!GetEnvironmentVariableA("ZENTRA_SCREENSHOT_DIR", folder, MAX_PATH)) GTEST_SKIP() << "no ZENTRA_SCREENSHOT_DIR";
    harness.close(IDCANCEL);
    for (WORD language : {WORD(0x0409), WORD(0x0407)}) {
        UiLanguage = language;
        resetMainPageState();
        sheetWindow = harness.open(0);
        ASSERT_NE(nullptr, sheetWindow);
        pumpMessages(50);
        mainPage = mainPageState().page;
        SetForegroundWindow(sheetWindow);
        const char* suffix = language == 0x0409 ? "en" : "de";
        for (int tab : {kTabButtons, kTabPov}) {
            showTab(tab);
            const int slot = tab == kTabButtons ? 0 : 15;
            command(selectIdOf(tab == kTabButtons ? 6 : 13));
            command(kLeftMouseId);
            command(selectIdOf(slot));
            typeHeld("ctrl shift", "a");
            type("Up");
            command(selectIdOf(tab == kTabButtons ? 11 : 19));
            type("F5");
            RECT r;
            GetWindowRect(GetDlgItem(page, selectIdOf(slot)), &r);
            xdotool("mousemove " + std::to_string(r.left + 5) + " " + std::to_string(r.top + 5));
            pumpMessages(200);
            const std::string name = std::string(folder) + "/zentracpl-" + (tab == kTabButtons ? "buttons" : "dpad") +
                                     "-" + suffix + ".png";
            ASSERT_TRUE(screenshotTo(name));
            pumpMessages(1500);
        }
        harness.close(IDCANCEL);
    }
}

}  // namespace
}  // namespace zentra
