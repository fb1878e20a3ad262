// Every page and dialog of the control panel shows the skin's pictures at
// their places: regions of what the screen shows are compared with the
// pixels the artwork generator drew for them, so that a control at a wrong
// place, a page cut short or a system control painted over the skin fails.
// With ZENTRA_SCREENSHOT_DIR naming a folder, the pictures of every page and
// dialog are left there, in English and German (scripts/screenshots).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_layout.h"
#include "cpl/pages/button_page_logic.h"
#include "preset/file_system.h"
#include "preset/preset_file.h"
#include "sim/sim_client.h"
#include "tests/wine/support/screen_pixels.h"
#include "tests/wine/support/wine_test_support.h"
#include "tools/cplhost/page_harness.h"
#include "tools/cplhost/window_search.h"

namespace zentra {
namespace {

using namespace skin;

// A picture of the skin and where a window shows it (client coordinates).
struct Region {
    const char* what;
    Sprite picture;
    int x, y;
};

// The colours (0xRRGGBB) of a w x h area of `dc` at (x, y).
std::vector<uint32_t> grab(HDC dc, int x, int y, int w, int h) {
    std::vector<uint32_t> pixels = grabPixels(dc, x, y, w, h);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

// The plug-in's bitmap resource `id`, loaded once.
HBITMAP skinBitmap(int id) {
    static std::map<int, HBITMAP> loaded;
    HBITMAP& bitmap = loaded[id];
    if (!bitmap)
        bitmap = static_cast<HBITMAP>(
            LoadImageA(PageHarness::library(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return bitmap;
}

// The pixels of a picture of the skin.
std::vector<uint32_t> bitmapPixels(const Sprite& picture) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, skinBitmap(picture.bitmap));
    std::vector<uint32_t> pixels = grab(memory, picture.x, picture.y, picture.width, picture.height);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Every region of `window` against its picture: the number of pixels that
// differ, the first of them described in `first`.
void expectShows(HWND window, const std::vector<Region>& regions) {
    HDC screen = GetDC(nullptr);
    for (const Region& r : regions) {
        POINT at{r.x, r.y};
        ClientToScreen(window, &at);
        const int w = r.picture.width, h = r.picture.height;
        const std::vector<uint32_t> shown = grab(screen, at.x, at.y, w, h);
        ASSERT_NE(nullptr, skinBitmap(r.picture.bitmap)) << r.what;
        const std::vector<uint32_t> drawn = bitmapPixels(r.picture);
        int differing = 0;
        std::string first;
        for (int i = 0; i < w * h; ++i) {
            if (shown[size_t(i)] == drawn[size_t(i)]) continue;
            if (!differing++) {
                char where[96];
                std::snprintf(where, sizeof where, " first at (%d, %d): %06X shown, %06X drawn", r.x + i % w,
                              r.y + i / w, unsigned(shown[size_t(i)]), unsigned(drawn[size_t(i)]));
                first = where;
            }
        }
        EXPECT_EQ(0, differing) << r.what << " (" << w << " x " << h << " at " << r.x << ", " << r.y << ")" << first;
    }
    ReleaseDC(nullptr, screen);
}

// The pictures of the tabs as the main page shows them with `selected`
// chosen (the pointer away from them): test (505, 2), axis (2, 311),
// buttons (2, 252), presets (505, 311) left of the game icon's hole.
std::vector<Region> tabs(int selected) {
    const auto pick = [selected](int tab, const Sprite& normal, const Sprite& chosen) {
        return tab == selected ? chosen : normal;
    };
    Sprite presets = pick(kTabPresets, kTabPresetsNormal, kTabPresetsSelected);
    presets.width = 52;
    return {
        {"test tab", pick(kTabTest, kTabTestNormal, kTabTestSelected), 505, 2},
        {"axis tab", pick(kTabAxis, kTabAxisNormal, kTabAxisSelected), 2, 311},
        {"buttons tab", pick(kTabButtons, kTabButtonsNormal, kTabButtonsSelected), 2, 252},
        {"presets tab", presets, 505, 311},
    };
}

class PagePictures : public ::testing::TestWithParam<WORD> {
protected:
    static void SetUpTestSuite() { PageHarness::prepare(besideTests("ZentraCpl.dll").c_str()); }

    void SetUp() override {
        ASSERT_NE(PageHarness::library(), nullptr);
        std::string error;
        ASSERT_TRUE(PageHarness::startTest(client, 2, error)) << error;
        resetButtonPageState();
        UiLanguage = GetParam();
        presetFile = tempFile("zentra-page-pictures.pst");
        PresetTable table{};
        for (int i = 0; i < 3; ++i) resetPreset(table.presets[i], Deliverable::Panel);
        setPresetText(table.presets[1].gameName, "Rally X");
        setPresetText(table.presets[1].exePath, "C:\\Games\\RALLYX.EXE");
        setPresetText(table.presets[2].gameName, "Kart");
        // Keys on a few buttons and D-pad directions, one sequence longer
        // than its box, a mouse button on button 7.
        Preset& rally = table.presets[1];
        rally.buttonKeys[0][0] = 0x1E;                                     // A
        rally.buttonKeys[2][0] = 0x051E;                                   // Ctrl+Shift+A
        rally.buttonKeys[3][0] = 0x1E, rally.buttonKeys[3][1] = 0x30;      // A B C D E
        rally.buttonKeys[3][2] = 0x2E, rally.buttonKeys[3][3] = 0x20, rally.buttonKeys[3][4] = 0x12;
        rally.buttonKeys[13][0] = 0xC8;                                    // Up
        rally.buttonKeys[17][0] = 0xD0;                                    // Down
        rally.clickMask[1] = 1u << 6;
        table.presetCount = 3;
        ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), table, platformFileSystem()));
        pointPanelAt(registry, presetFile, 1);
        sheetWindow = harness.open(0);
        ASSERT_NE(nullptr, sheetWindow);
        pumpMessages(50);
        mainPage = mainPageState().page;
        SetForegroundWindow(sheetWindow);
        xdotool("mousemove 1010 690");  // away from the tabs: none lights up
        if (char folder[MAX_PATH]; GetEnvironmentVariableA("ZENTRA_SCREENSHOT_DIR", folder, MAX_PATH)) shots = folder;
    }

    void TearDown() override {
        harness.close(IDCANCEL);
        DeleteFileA(presetFile.c_str());
        UiLanguage = 0x0409;
    }

    // The tab's page, shown and painted.
    HWND show(int tab, int pageId) {
        SendMessageA(mainPage, WM_COMMAND, tab, 0);
        pumpMessages(400);
        return GetDlgItem(mainPage, pageId);
    }

    // A picture of `window` for the screenshots' folder, when one is named.
    void picture(HWND window, const std::string& name) {
        if (shots.empty()) return;
        const std::string language = GetParam() == 0x0407 ? "de" : "en";
        EXPECT_TRUE(saveWindowPicture(window, shots + "\\zentracpl-" + name + "-" + language + ".bmp")) << name;
    }

    sim::SimClient client;
    Registry registry{platformRegistryStore(), Deliverable::Panel};
    PageHarness harness;
    HWND sheetWindow = nullptr, mainPage = nullptr;
    std::string presetFile, shots;
};

TEST_P(PagePictures, EveryPageShowsTheSkinsPicturesAtTheirPlaces) {
    struct Page {
        const char* name;
        int tab, pageId;
        std::vector<Region> regions;
    };
    const Page pages[] = {
        {"test", kTabTest, 152,
         {{"calibration button", kCalibrationButtonNormal, 453, 11}, {"About button", kTestAbout, 10, 8}}},
        {"buttons", kTabButtons, 151,
         {{"page ground", Sprite{kConfigBitmap, 0, 25, 118, 45}, 0, 25},
          // Under the frames of buttons 3 and 4, whose sequences are too
          // long for their boxes: the page's ground, no part of a box.
          {"below box 3", Sprite{kConfigBitmap, 170, 29, 96, 10}, 170, 29},
          {"below box 4", Sprite{kConfigBitmap, 333, 29, 95, 10}, 333, 29},
          {"Clear", kClearButtonNormal, 102, 336},
          // The wheel's pod below button 6's connector and left of its select
          // button: plain caps.
          {"wheel pod", Sprite{kSlotPagesBitmap, kWheelPlainRight.x + 2, kWheelPlainRight.y + 93, 74, 20}, 394, 145}}},
        {"dpad", kTabPov, 150,
         {{"page ground", Sprite{kConfigBitmap, 0, 25, 118, 45}, 0, 25},
          {"pad centre", Sprite{kSlotPagesBitmap, kPovPad.x + 50, kPovPad.y + 50, 60, 60}, 267, 160}}},
        {"axes", kTabAxis, 153,
         {{"reset button", kResetNormal, 138, 312}, {"curve type button", kCurveTypeNormal, 182, 312}}},
        {"presets", kTabPresets, 155,
         {{"page ground", Sprite{kPresetsBitmap, 0, 25, 130, 170}, 0, 25},
          {"New", kPresetNew, 345, 170},
          {"Delete", kPresetDelete, 394, 170},
          {"Print", kPresetPrint, 443, 170},
          {"Duplicate", kPresetDuplicate, 345, 211},
          {"Undo", kPresetUndo, 394, 211},
          {"Import/Export", kPresetImportExport, 443, 211},
          {"browse", kPresetBrowse, 516, 83}}},
    };
    // The plain caps the button page shows are not the presets page's
    // action glyphs at the same place of the wheel.
    const std::vector<uint32_t> plain = bitmapPixels(Sprite{kSlotPagesBitmap, kWheelPlainRight.x + 2, kWheelPlainRight.y + 74, 78, 120}),
                                glyphs = bitmapPixels(Sprite{kSkinBitmap, 394, 126, 78, 120});
    EXPECT_NE(plain, glyphs);
    for (const Page& p : pages) {
        SCOPED_TRACE(p.name);
        HWND page = show(p.tab, p.pageId);
        ASSERT_NE(nullptr, page);
        expectShows(page, p.regions);
        expectShows(mainPage, tabs(p.tab == kTabPov ? 0 : p.tab));
        picture(sheetWindow, p.name);
    }
}

TEST_P(PagePictures, EveryDialogShowsTheSkinsPicturesAtTheirPlaces) {
    struct Dialog {
        const char* name;
        int tab, pageId, command;
        int control;  // a control that only the dialog has
        int close;
        std::vector<Region> regions;
    };
    const Dialog dialogs[] = {
        {"import-export", kTabPresets, 155, 1036, 110, IDCANCEL,
         {{"copy to the file", kCopyToFile, 219, 76},
          {"copy to the presets", kCopyToPresets, 219, 110},
          {"delete on the left", kDeletePresets, 211, 157},
          {"delete on the right", kDeleteFromFile, 241, 157},
          {"undo", kImportExportUndo, 219, 215}}},
        {"calibration", kTabTest, 152, 1139, 148, 2,
         {{"confirm", kCalibrationConfirmRest, 232, 22}, {"cancel", kCalibrationCancel, 232, 70}}},
        {"about", kTabTest, 152, 269, 272, IDCANCEL,
         {{"About box", Sprite{kAboutBitmap, 0, 0, 440, 140}, 0, 0}}},
    };
    const DWORD ui = GetCurrentThreadId();
    for (const Dialog& d : dialogs) {
        SCOPED_TRACE(d.name);
        HWND page = show(d.tab, d.pageId);
        ASSERT_NE(nullptr, page);
        bool shown = false;
        whileModal([&] { SendMessageA(page, WM_COMMAND, d.command, 0); },
                   [&] {
                       HWND dialog = waitForWindowWithControl(ui, d.control);
                       if (!dialog) {
                           // Some other window is modal: it is closed, so
                           // that the test fails rather than hangs.
                           EnumThreadWindows(ui, [](HWND w, LPARAM) {
                               if (IsWindowVisible(w) && GetWindow(w, GW_OWNER)) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
                               return TRUE;
                           }, 0);
                           return;
                       }
                       shown = true;
                       Sleep(500);
                       expectShows(dialog, d.regions);
                       picture(dialog, d.name);
                       PostMessageA(dialog, WM_COMMAND, d.close, 0);
                   });
        EXPECT_TRUE(shown);
        pumpMessages(100);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, PagePictures, ::testing::Values(WORD(0x0409), WORD(0x0407)),
                         [](const ::testing::TestParamInfo<WORD>& info) {
                             return std::string(info.param == 0x0407 ? "German" : "English");
                         });

}  // namespace
}  // namespace zentra
