// The control panel on screens of 96, 144 and 192 DPI, in the stand-in
// panel's own process started at that DPI: the skin fills the room the
// sheet gives its page, the tabs and buttons lie where the 96-DPI places
// scaled put them, the real pointer reaches them there, and an anchor drag
// stores the same values at every scale. With ZENTRA_SCREENSHOT_DIR naming
// a folder, the pictures of the sheet's pages and of the dialogs at each
// scale are left there (scripts/screenshots).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cpl/frame/skin_layout.h"
#include "cpl/pages/curve_editor_logic.h"
#include "preset/file_system.h"
#include "preset/preset_file.h"
#include "preset/registry.h"
#include "preset/registry_store.h"
#include "sim/sim_setup.h"
#include "tests/wine/support/screen_pixels.h"
#include "tests/wine/support/wine_test_support.h"
#include "tools/cplhost/window_search.h"

namespace zentra {
namespace {

// A screen and what the page shows on it: the 96-DPI places scaled by the
// room over 594 x 369. Rectangles are in the main page's client area (the
// tabs, select button 1084 of slot 0, curve box 104 of slot 3 (its 86 x 86
// inside scaled, in a sunken edge of 2 pixels at every scale), the presets
// page's import/export button 1036 and About button 269), or in their
// dialog's (the
// import/export dialog's preset list 109, the About box's link 272).
struct Screen {
    DWORD dpi;
    int width, height;  // the room the sheet's tab control leaves
    int idOffset;       // the picture set's resource ids: 100 % + this
    RECT buttonsTab, axisTab, presetsTab, recordButton, pedalBox, importExport, aboutButton, presetList, aboutLink;
    POINT dragTo;  // (60, 20) of the box at this scale
};

const Screen kScreens[] = {
    {96, 594, 369, 0, {2, 252, 90, 309}, {2, 311, 90, 368}, {505, 311, 593, 368}, {407, 209, 430, 231},
     {448, 174, 538, 264}, {443, 211, 481, 249}, {10, 8, 165, 19}, {25, 35, 208, 335}, {445, 141, 588, 152}, {60, 20}},
    {144, 891, 539, 1000, {3, 368, 135, 451}, {3, 454, 135, 538}, {758, 454, 890, 538}, {611, 305, 645, 337},
     {673, 255, 806, 385}, {665, 308, 722, 364}, {15, 12, 248, 28}, {38, 51, 312, 489}, {668, 206, 882, 222}, {90, 29}},
    {192, 1188, 709, 2000, {4, 484, 180, 594}, {4, 598, 180, 707}, {1010, 598, 1186, 707}, {814, 402, 860, 444},
     {898, 336, 1074, 505}, {886, 405, 962, 478}, {20, 15, 330, 37}, {50, 67, 416, 644}, {890, 271, 1176, 292}, {120, 38}},
};

constexpr int kTabButtons = 243, kTabAxis = 245, kRecordButton = 1084, kPedalBox = 104;

// `child`'s place in `page`'s client area.
RECT placeIn(HWND page, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string text(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// A point of `window`'s client area as xdotool takes it.
std::string onScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return std::to_string(p.x) + " " + std::to_string(p.y);
}

std::vector<uint32_t> shown(HWND window, const RECT& r) {
    POINT corner{r.left, r.top};
    ClientToScreen(window, &corner);
    HDC screen = GetDC(nullptr);
    std::vector<uint32_t> pixels = grabPixels(screen, corner.x, corner.y, r.right - r.left, r.bottom - r.top);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The shown top-level window of process `pid` with child `control`, waited
// for a few seconds at most.
HWND waitForDialog(DWORD pid, int control) {
    struct Search {
        DWORD pid;
        int control;
        HWND found;
    } search{pid, control, nullptr};
    for (int i = 0; i < 100 && !search.found; ++i) {
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner != s->pid || !IsWindowVisible(window) || !GetDlgItem(window, s->control)) return TRUE;
                s->found = window;
                return FALSE;
            },
            LPARAM(&search));
        if (!search.found) Sleep(50);
    }
    return search.found;
}

// Waits (a few seconds at most) for a child of class `cls` in the sheet.
HWND waitForPage(HWND sheet, const char* cls) {
    for (int i = 0; i < 100; ++i) {
        if (HWND page = findChildOfClass(sheet, cls)) return page;
        Sleep(50);
    }
    return nullptr;
}

class ScaledPanel : public ::testing::TestWithParam<Screen> {
protected:
    void SetUp() override {
        const ChildRun registered = runChild(besideTests("ZntPanelHost.exe"), "register", 30000);
        ASSERT_EQ(0u, registered.exitCode) << registered.output;
        std::string error;
        ASSERT_TRUE(sim::configureWheels(2, 0, error)) << error;
        presetFile = tempFile("zentra-scaled-panel.pst");
        PresetTable table{};
        for (int i = 0; i < 2; ++i) resetPreset(table.presets[i], Deliverable::Panel);
        setPresetText(table.presets[1].gameName, "Rally X");
        table.presetCount = 2;
        ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), table, platformFileSystem()));
        pointPanelAt(registry, presetFile, 1);
    }
    void TearDown() override {
        xdotool("mouseup 1");
        DeleteFileA(presetFile.c_str());
    }

    // One click, never within the double-click time of the one before.
    // Whether `window` shows the set's `picture` at the 96-DPI place (x, y)
    // of its client area, scaled by the room.
    bool showsPicture(HWND window, const skin::Sprite& picture, int x, int y) {
        const RECT place = placeInRoom(x, y, picture, GetParam().width, GetParam().height);
        return pictures.looksLike(shown(window, place), place, picture);
    }

    // A picture of `window` for the screenshots' folder, when one is named.
    void picture(HWND window, const char* name) {
        char folder[MAX_PATH];
        if (!GetEnvironmentVariableA("ZENTRA_SCREENSHOT_DIR", folder, MAX_PATH)) return;
        const std::string file = std::string(folder) + "\\zentracpl-" + name + "-at" + std::to_string(GetParam().dpi) + ".bmp";
        EXPECT_TRUE(saveWindowPicture(window, file)) << file;
    }

    void clickAt(HWND window, const RECT& r) {
        Sleep(GetDoubleClickTime() + 50);
        xdotool("mousemove " + onScreen(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
        xdotool("click 1");
    }

    Registry registry{platformRegistryStore(), Deliverable::Panel};
    std::string presetFile;
    GeneratedSet pictures{GetParam().idOffset};
};

TEST_P(ScaledPanel, TheSkinFillsTheSheetAndTheSameGesturesReachTheSameControls) {
    const Screen& s = GetParam();
    const ScreenDpi dpi(s.dpi);
    bool done = false;
    const ChildRun run = runChild(besideTests("ZntPanelHost.exe"), "show --wheel 0", 90000, [&](DWORD pid) {
        if (done) return;
        HWND sheet = FindWindowA(nullptr, "MORVENHOLLOW ZENTRAVOLI");
        HWND test = sheet ? findChildOfClass(sheet, "TESTWINDOW") : nullptr;
        if (!test) return;
        done = true;
        Sleep(800);
        HWND page = GetParent(test);
        // The main page fills the room, and its child page shows to its
        // edges: no band of the sheet shows right of them or below.
        RECT area{};
        GetClientRect(page, &area);
        EXPECT_EQ(s.width, area.right);
        EXPECT_EQ(s.height, area.bottom);
        const RECT lastColumn{s.width - 1, 0, s.width, s.height}, lastRow{0, s.height - 1, s.width, s.height};
        for (const RECT& edge : {lastColumn, lastRow})
            for (uint32_t pixel : shown(page, edge)) ASSERT_NE(0xFFFFFFu, pixel & 0xFFFFFF) << "white at the edge";
        // The set's pictures: the selected test tab, the maker's mark.
        EXPECT_TRUE(showsPicture(page, skin::kTabTestSelected, 505, 2));
        EXPECT_TRUE(showsPicture(test, skin::kTestAbout, 10, 8));
        EXPECT_FALSE(showsPicture(page, skin::kTabTestNormal, 505, 2)) << "a check that can fail";
        picture(sheet, "test");

        // The button tab, clicked where it shows.
        EXPECT_EQ(text(s.buttonsTab), text(placeIn(page, GetDlgItem(page, kTabButtons))));
        clickAt(page, s.buttonsTab);
        HWND buttons = waitForPage(sheet, "BUTTONWINDOW");
        ASSERT_NE(nullptr, buttons) << "the button page did not open";
        // Slot 0's select button: the click turns it down.
        HWND record = GetDlgItem(buttons, kRecordButton);
        EXPECT_EQ(text(s.recordButton), text(placeIn(page, record)));
        EXPECT_TRUE(showsPicture(buttons, skin::kRecordButtonUp, 407, 209));
        clickAt(page, s.recordButton);
        Sleep(300);
        EXPECT_TRUE(showsPicture(buttons, skin::kRecordButtonDown, 407, 209)) << "the select button did not go down";
        picture(sheet, "buttons");

        // What newer systems send child windows after a DPI change: the
        // page lays itself out again at the scale it finds (here the same)
        // and makes the open page anew, at the same places, from the set.
        SendMessageA(page, 0x02E3 /* WM_DPICHANGED_AFTERPARENT */, 0, 0);
        Sleep(300);
        HWND remade = findChildOfClass(sheet, "BUTTONWINDOW");
        ASSERT_NE(nullptr, remade) << "no button page after the layout";
        EXPECT_NE(buttons, remade) << "the button page was not made anew";
        buttons = remade;
        EXPECT_EQ(text(s.buttonsTab), text(placeIn(page, GetDlgItem(page, kTabButtons))));
        EXPECT_EQ(text(s.recordButton), text(placeIn(page, GetDlgItem(buttons, kRecordButton))));
        EXPECT_TRUE(showsPicture(page, skin::kTabButtonsSelected, 2, 252));
        EXPECT_TRUE(showsPicture(buttons, skin::kRecordButtonUp, 407, 209));

        // The axis page: curve box 104's second anchor dragged to (60, 20)
        // of the box as the 96-DPI page has it.
        clickAt(page, s.axisTab);
        HWND axes = waitForPage(sheet, "SENSWINDOW");
        ASSERT_NE(nullptr, axes) << "the axis page did not open";
        Sleep(300);
        EXPECT_TRUE(showsPicture(axes, skin::kAxisSteeringPicture, skin::kAxisSteeringPictureAt.x,
                                 skin::kAxisSteeringPictureAt.y));
        picture(sheet, "axes");
        HWND box = GetDlgItem(axes, kPedalBox);
        EXPECT_EQ(text(s.pedalBox), text(placeIn(page, box)));
        HWND anchor = GetDlgItem(box, anchorControlId(3, kSecondAnchor));
        RECT grip{};
        GetClientRect(anchor, &grip);
        Sleep(GetDoubleClickTime() + 50);
        xdotool("mousemove " + onScreen(anchor, grip.right / 2, grip.bottom / 2));
        xdotool("mousedown 1");
        xdotool("mousemove " + onScreen(box, s.dragTo.x, s.dragTo.y));
        xdotool("mouseup 1");
        Sleep(200);

        // The presets page, its import/export dialog and the About box.
        clickAt(page, s.presetsTab);
        HWND presets = waitForPage(sheet, "AXEWINDOW");
        ASSERT_NE(nullptr, presets) << "the presets page did not open";
        EXPECT_EQ(text(s.importExport), text(placeIn(page, GetDlgItem(presets, 1036))));
        Sleep(300);
        picture(sheet, "presets");
        // A dialog opened by a click on `button`: its control `control` at
        // `place`, `sprite` shown at (x, y), closed again.
        const auto dialogAt = [&](const RECT& button, int control, const RECT& place, const skin::Sprite& sprite, int x,
                                  int y, const char* name) {
            clickAt(page, button);
            HWND dialog = waitForDialog(pid, control);
            ASSERT_NE(nullptr, dialog) << name << " did not open";
            Sleep(300);
            EXPECT_EQ(text(place), text(placeIn(dialog, GetDlgItem(dialog, control)))) << name;
            EXPECT_TRUE(showsPicture(dialog, sprite, x, y)) << name;
            picture(dialog, name);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        };
        dialogAt(s.importExport, 109, s.presetList, skin::kCopyToFile, 219, 76, "import-export");
        dialogAt(s.aboutButton, 272, s.aboutLink, skin::kAboutLink, 445, 141, "about");
        PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    });
    ASSERT_TRUE(done) << "the sheet did not show: " << run.output;
    EXPECT_EQ(0u, run.exitCode) << run.output;

    PresetTable saved{};
    ASSERT_EQ(0, loadPresetFile(nullptr, presetFile.c_str(), saved, platformFileSystem(), nullptr));
    ASSERT_EQ(2, saved.presetCount);
    EXPECT_EQ((BoxPoint{60, 20}), storedAnchor(saved.presets[1], 3, kSecondAnchor));
}

INSTANTIATE_TEST_SUITE_P(Dpi, ScaledPanel, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                             return "At" + std::to_string(info.param.dpi);
                         });

}  // namespace
}  // namespace zentra
