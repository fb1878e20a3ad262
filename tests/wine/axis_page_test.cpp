// The axis page in this test program's own process, as a user works it:
// anchors dragged with the real pointer (xdotool), the buttons clicked, the
// curve read back from the screen, the carried fields and the block the
// simulated wheel receives when the sheet closes.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_layout.h"
#include "cpl/pages/curve_box.h"
#include "cpl/pages/curve_editor_logic.h"
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

constexpr int kAxisPageId = 153;
constexpr COLORREF kGreen = RGB(0, 255, 0);

std::string text(int id) {
    char buffer[256] = "";
    LoadLocalizedString(cplModuleInstance(), id, UiLanguage, buffer, sizeof buffer);
    return buffer;
}

class AxisPageTest : public ::testing::Test {
protected:
    // The sheet object would choose the language; the harness has none.
    static void SetUpTestSuite() {
        PageHarness::prepare(besideTests("ZentraCpl.dll").c_str());
        savedLanguage = UiLanguage;
        ChooseUiLanguage();
    }
    static void TearDownTestSuite() { UiLanguage = savedLanguage; }
    static inline WORD savedLanguage = 0;

    void SetUp() override {
        ASSERT_NE(PageHarness::library(), nullptr);
        std::string error;
        ASSERT_TRUE(PageHarness::startTest(client, 2, error)) << error;
        presetFile = tempFile("zentra-axis-test.pst");
        table = PresetTable{};
        for (int i = 0; i < 2; ++i) resetPreset(table.presets[i], Deliverable::Panel);
        setPresetText(table.presets[1].gameName, "Rally X");
        table.presetCount = 2;
        pointPanelAt(registry, presetFile, 1);
        // No stored calibration, as the preset tool's block assumes.
        for (int wheel : {0, 1}) registry.store().deleteValue(kPanelKey, joystickConfigurationName(wheel));
    }
    void TearDown() override {
        xdotool("mouseup 1");
        if (sheetWindow) harness.close(IDCANCEL);
        ClipCursor(nullptr);
        DeleteFileA(presetFile.c_str());
    }

    // Saves the table, opens the sheet on wheel 1 and shows the axis page.
    // `beforeAxis` changes the current preset once the test page has taken
    // it from the table.
    void openAxisPage(void (*beforeAxis)(Preset&) = nullptr, int wheel = 1) {
        ASSERT_EQ(1, savePresetFile(nullptr, presetFile.c_str(), table, platformFileSystem()));
        ASSERT_TRUE(client.clearLog());
        sheetWindow = harness.open(wheel);
        ASSERT_NE(nullptr, sheetWindow);
        pumpMessages(50);
        if (beforeAxis) beforeAxis(panelState().currentPreset);
        SendMessageA(mainPageState().page, WM_COMMAND, kTabAxis, 0);
        page = GetDlgItem(mainPageState().page, kAxisPageId);
        ASSERT_NE(nullptr, page);
        SetForegroundWindow(sheetWindow);
        pumpMessages(200);
    }
    void closeSheet(int button) {
        harness.close(button);
        sheetWindow = nullptr;
    }

    HWND box(int slot) { return GetDlgItem(page, 101 + slot); }
    HWND anchor(int slot, int which) { return GetDlgItem(box(slot), anchorControlId(slot, which)); }
    Preset& current() { return panelState().currentPreset; }

    // Screen coordinates of a client point of `window`, as xdotool takes them.
    static std::string onScreen(HWND window, int x, int y) {
        POINT p{x, y};
        ClientToScreen(window, &p);
        return std::to_string(p.x) + " " + std::to_string(p.y);
    }
    void pointer(const std::string& args) {
        xdotool(args);
        pumpMessages(150);
    }
    // Presses on the anchor's centre and moves to (x, y) of its box.
    void pressAndMove(int slot, int which, int x, int y) {
        pointer("mousemove " + onScreen(anchor(slot, which), 4, 4));
        pointer("mousedown 1");
        pointer("mousemove " + onScreen(box(slot), x, y));
    }
    void drag(int slot, int which, int x, int y) {
        pressAndMove(slot, which, x, y);
        pointer("mouseup 1");
    }
    // A click at a point of the page; one click after another never comes
    // within the double-click time, so that each is taken as one click.
    void clickAt(int x, int y) {
        const DWORD since = GetTickCount() - lastClick;
        if (lastClick && since <= GetDoubleClickTime()) pumpMessages(GetDoubleClickTime() - since + 50);
        pointer("mousemove " + onScreen(page, x, y));
        pointer("click 1");
        lastClick = GetTickCount();
    }
    void click(int id) {
        RECT r;
        GetWindowRect(GetDlgItem(page, id), &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        clickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Whether the link toggle shows its Linked picture: the lamp at its
    // right end is lit only there.
    bool pedalsLit() {
        const int x = skin::kPedalsLinked.width - 14, y = skin::kPedalsLinked.height / 2;
        return screenPixel(GetDlgItem(page, 275), x, y) == spritePixel(skin::kPedalsLinked, x, y);
    }

    // Whether the screen shows the curve's green within a pixel of (x, y)
    // of the box's drawing area.
    static bool greenNear(HWND box, double x, double y) {
        HDC screen = GetDC(nullptr);
        bool found = false;
        for (int dy = -1; dy <= 1 && !found; ++dy)
            for (int dx = -1; dx <= 1 && !found; ++dx) {
                POINT p{int(std::lround(x)) + dx, int(std::lround(y)) + dy};
                ClientToScreen(box, &p);
                found = GetPixel(screen, p.x, p.y) == kGreen;
            }
        ReleaseDC(nullptr, screen);
        return found;
    }
    static BoxPoint cornerOf(HWND anchorWindow) {
        RECT r;
        GetWindowRect(anchorWindow, &r);
        POINT p{r.left, r.top};
        ScreenToClient(GetParent(anchorWindow), &p);
        return BoxPoint{p.x, p.y};
    }

    sim::SimClient client;
    Registry registry{platformRegistryStore(), Deliverable::Panel};
    PageHarness harness;
    PresetTable table;
    std::string presetFile;
    HWND sheetWindow = nullptr;
    HWND page = nullptr;
    DWORD lastClick = 0;
};

// A point of the cubic Bezier through four box points.
void bezierAt(const CurveDrawing& d, double t, double& x, double& y) {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, e = t * t * t;
    x = a * d.points[0].x + b * d.points[1].x + c * d.points[2].x + e * d.points[3].x;
    y = a * d.points[0].y + b * d.points[1].y + c * d.points[2].y + e * d.points[3].y;
}

TEST_F(AxisPageTest, DraggingInMirroredBoxZeroStopsAtTheSecondAnchorAndMovesBoxOne) {
    openAxisPage();  // the default preset: linear curves
    RECT free;
    GetClipCursor(&free);
    pressAndMove(0, kFirstAnchor, 10, 20);
    EXPECT_TRUE(anchorDragging());
    EXPECT_EQ(box(0), GetCapture()) << "the box holds the mouse during the drag";
    RECT clip, frame;
    GetClipCursor(&clip);
    GetWindowRect(box(0), &frame);
    EXPECT_TRUE(EqualRect(&clip, &frame)) << "the pointer is kept inside the box";
    pointer("mouseup 1");
    EXPECT_FALSE(anchorDragging());
    EXPECT_EQ(nullptr, GetCapture());
    GetClipCursor(&clip);
    EXPECT_TRUE(EqualRect(&clip, &free)) << "the confinement is lifted";

    // Column 10 of box 0 is x = 75, right of the second anchor's 55 in
    // linear mode: the anchor stops there.
    EXPECT_EQ((BoxPoint{55, 20}), storedAnchor(current(), 0, kFirstAnchor));
    EXPECT_EQ((BoxPoint{55, 20}), storedAnchor(current(), 1, kFirstAnchor)) << "box 1 follows";
    EXPECT_EQ((BoxPoint{26, 16}), cornerOf(anchor(0, kFirstAnchor))) << "mirrored";
    EXPECT_EQ((BoxPoint{51, 16}), cornerOf(anchor(1, kFirstAnchor)));
    // Both boxes draw the first segment to the moved anchor, box 0 mirrored.
    EXPECT_TRUE(greenNear(box(1), 55 * 0.5, 85 - 65 * 0.5));
    EXPECT_TRUE(greenNear(box(0), 85 - 55 * 0.5, 85 - 65 * 0.5));
    EXPECT_FALSE(greenNear(box(1), 20, 20)) << "nothing drawn away from the curve";

    // And the other way: box 1's second anchor carries over to box 0.
    drag(1, kSecondAnchor, 70, 10);
    EXPECT_EQ((BoxPoint{70, 10}), storedAnchor(current(), 0, kSecondAnchor));
    EXPECT_EQ((BoxPoint{11, 6}), cornerOf(anchor(0, kSecondAnchor)));
}

TEST_F(AxisPageTest, CurvilinearAnchorsCrossAndTheLinearSwitchPullsThemBack) {
    table.presets[1].curveType[2] = 1;
    openAxisPage();
    HWND pedal = box(2);
    EXPECT_EQ(text(15), [&] {
        char t[64] = "";
        GetWindowTextA(GetDlgItem(page, 1067), t, sizeof t);
        return std::string(t);
    }()) << "a curvilinear box's button offers the linear type";
    drag(2, kFirstAnchor, 70, 40);
    EXPECT_EQ((BoxPoint{70, 40}), storedAnchor(current(), 2, kFirstAnchor)) << "past the second anchor";
    EXPECT_EQ((BoxPoint{25, 60}), storedAnchor(current(), 3, kFirstAnchor)) << "the other pedal is not linked";
    double x = 0, y = 0;
    const CurveDrawing bezier = curveDrawing(current(), 2);
    for (double t : {0.25, 0.5, 0.75}) {
        bezierAt(bezier, t, x, y);
        EXPECT_TRUE(greenNear(pedal, x, y)) << "the Bezier at t = " << t;
    }

    click(1067);
    EXPECT_EQ(0u, current().curveType[2]);
    EXPECT_EQ((BoxPoint{55, 40}), storedAnchor(current(), 2, kFirstAnchor)) << "pulled back to the second anchor";
    EXPECT_EQ((BoxPoint{51, 36}), cornerOf(anchor(2, kFirstAnchor)));
    char t[64] = "";
    GetWindowTextA(GetDlgItem(page, 1067), t, sizeof t);
    EXPECT_EQ(text(14), t);
    NMTTDISPINFOA tip{};
    tip.hdr.idFrom = UINT_PTR(GetDlgItem(page, 1067));
    tip.hdr.code = TTN_GETDISPINFOA;
    tip.uFlags = TTF_IDISHWND;
    SendMessageA(page, WM_NOTIFY, 0, LPARAM(&tip));
    ASSERT_NE(nullptr, tip.lpszText);
    EXPECT_EQ(text(14), tip.lpszText) << "the tooltip shows the button's text";
    // The polyline's first segment, to (55, 40).
    EXPECT_TRUE(greenNear(pedal, 55 * 0.5, 85 - 45 * 0.5));

    click(1038);
    EXPECT_EQ((BoxPoint{25, 60}), storedAnchor(current(), 2, kFirstAnchor));
    EXPECT_EQ((BoxPoint{55, 30}), storedAnchor(current(), 2, kSecondAnchor));
    EXPECT_EQ((BoxPoint{21, 56}), cornerOf(anchor(2, kFirstAnchor)));
    EXPECT_FALSE(greenNear(pedal, 55 * 0.5, 85 - 45 * 0.5)) << "the old segment is gone";
}

TEST_F(AxisPageTest, TheSteeringButtonsResetAndToggleBothHalves) {
    openAxisPage([](Preset& p) {
        p.curveType[1] = 1;  // unequal halves, as only a stored record could give
        p.curveP1x[0] = p.curveP1x[1] = 5;
    });
    click(1065);
    EXPECT_EQ(1u, current().curveType[0]) << "each half flips";
    EXPECT_EQ(0u, current().curveType[1]);
    click(1036);
    for (int slot : {0, 1}) {
        EXPECT_EQ((BoxPoint{25, 60}), storedAnchor(current(), slot, kFirstAnchor)) << slot;
        EXPECT_EQ((BoxPoint{55, 30}), storedAnchor(current(), slot, kSecondAnchor)) << slot;
    }
    EXPECT_EQ((BoxPoint{56, 56}), cornerOf(anchor(0, kFirstAnchor)));
    EXPECT_EQ((BoxPoint{21, 56}), cornerOf(anchor(1, kFirstAnchor)));
}

TEST_F(AxisPageTest, TheLinkToggleShowsLinkedForOneAloneAndClicksTurnItOver) {
    table.presets[1].pedalsLinked = 2;
    openAxisPage();
    HWND toggle = GetDlgItem(page, 275);
    // The lamp at the toggle's right end is lit only in the Linked picture.
    const int lampX = skin::kPedalsLinked.width - 14, lampY = skin::kPedalsLinked.height / 2;
    const COLORREF separate = spritePixel(skin::kPedalsSeparate, lampX, lampY);
    const COLORREF linked = spritePixel(skin::kPedalsLinked, lampX, lampY);
    ASSERT_NE(separate, linked);
    const struct {
        uint32_t after;
        COLORREF look;
    } clicks[] = {{0, separate}, {1, linked}, {0, separate}};
    EXPECT_EQ(separate, screenPixel(toggle, lampX, lampY)) << "2 is drawn as 0";
    for (const auto& c : clicks) {
        click(275);
        EXPECT_EQ(c.look, screenPixel(toggle, lampX, lampY)) << c.after;
    }
    SendMessageA(mainPageState().page, WM_COMMAND, kTabTest, 0);  // the axis page closes
    EXPECT_EQ(0u, current().pedalsLinked);
    EXPECT_EQ(0u, panelState().table.presets[1].pedalsLinked);
}

// Windows reports the second of two quick clicks on an owner-drawn button
// as BN_DOUBLECLICKED: it is one more click, on every page.
TEST_F(AxisPageTest, DoubleClickNotificationsCountAsClicksOnTheAxisAndPresetsPages) {
    table.presets[1].pedalsLinked = 0;
    openAxisPage(nullptr, 0);  // the emulation wheel has the presets tab too
    const struct {
        int tab, pageId, button;
        std::function<uint32_t()> read;
        uint32_t before, afterClick, afterDoubleClick;
    } cases[] = {
        {kTabAxis, kAxisPageId, 275, [this] { return uint32_t(pedalsLit()); }, 0, 1, 0},
        {kTabAxis, kAxisPageId, 1067, [this] { return current().curveType[2]; }, 0, 1, 0},
        {kTabPresets, 155, 1041, [] { return uint32_t(panelState().table.presetCount); }, 2, 3, 4},
    };
    for (const auto& c : cases) {
        SendMessageA(mainPageState().page, WM_COMMAND, c.tab, 0);
        page = GetDlgItem(mainPageState().page, c.pageId);
        pumpMessages(100);
        EXPECT_EQ(c.before, c.read()) << c.button;
        for (WORD code : {BN_CLICKED, BN_DOUBLECLICKED}) {
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(c.button, code), LPARAM(GetDlgItem(page, c.button)));
            pumpMessages(100);
            EXPECT_EQ(code == BN_CLICKED ? c.afterClick : c.afterDoubleClick, c.read()) << c.button << " " << code;
        }
    }
}

// The link toggle's upper rows lie under buttons 1067 and 1039: that strip
// shows the buttons and a click there is theirs, whatever the order of the
// windows; the rest of the toggle is the toggle's.
TEST_F(AxisPageTest, TheStripUnderTheTwoButtonsIsTheirsInPictureAndClick) {
    table.presets[1].pedalsLinked = 0;
    openAxisPage();
    HWND toggle = GetDlgItem(page, 275);
    const struct {
        int x, y, owner;  // a point of the page and the control it belongs to
    } points[] = {{417, 276, 1067}, {471, 276, 1039}, {444, 276, 275}, {417, 286, 275}};
    for (bool raised : {false, true}) {
        if (raised) {
            SetWindowPos(toggle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            pumpMessages(100);
        }
        for (const auto& p : points) {  // the picture of the owner, where it differs from the toggle's
            const skin::Sprite& picture =
                p.owner == 1067 ? skin::kCurveTypeNormal : p.owner == 1039 ? skin::kResetNormal : skin::kPedalsSeparate;
            const int x = p.owner == 1067 ? p.x - 396 : p.owner == 1039 ? p.x - 450 : p.x - 394;
            const COLORREF toggles = spritePixel(skin::kPedalsSeparate, p.x - 394, p.y - 273);
            EXPECT_TRUE(p.owner == 275 || spritePixel(picture, x, p.y - 266) != toggles);
            EXPECT_EQ(spritePixel(picture, x, p.y - (p.owner == 275 ? 273 : 266)), screenPixel(page, p.x, p.y))
                << p.x << "," << p.y << " raised " << raised;
        }
        for (const auto& p : points) {
            current().curveP1x[3] = 10;  // a reset of box 104 shows
            const uint32_t type = current().curveType[2];
            const bool lit = pedalsLit();
            clickAt(p.x, p.y);
            EXPECT_EQ(p.owner == 1067, current().curveType[2] != type) << p.x << "," << p.y << " raised " << raised;
            EXPECT_EQ(p.owner == 1039, current().curveP1x[3] == 25) << p.x << "," << p.y << " raised " << raised;
            EXPECT_EQ(p.owner == 275, pedalsLit() != lit) << p.x << "," << p.y << " raised " << raised;
        }
    }
}

// An anchor that a file placed beyond the box is shown and grabbed at the
// box's edge; a curve type of 2 is edited as linear.
TEST_F(AxisPageTest, AnchorsBeyondTheBoxCanBeGrabbedAndOtherTypesAreLinear) {
    table.presets[1].curveType[3] = 2;
    table.presets[1].curveP2x[3] = 120, table.presets[1].curveP2y[3] = 200;
    openAxisPage();
    EXPECT_EQ((BoxPoint{81, 81}), cornerOf(anchor(3, kSecondAnchor))) << "inside the box";
    EXPECT_EQ((BoxPoint{120, 200}), storedAnchor(current(), 3, kSecondAnchor)) << "kept while not edited";
    EXPECT_TRUE(greenNear(box(3), 55, 72.5)) << "the middle segment runs to the shown anchor";
    drag(3, kSecondAnchor, 60, 20);
    EXPECT_EQ((BoxPoint{60, 20}), storedAnchor(current(), 3, kSecondAnchor));
    drag(3, kFirstAnchor, 75, 50);
    EXPECT_EQ((BoxPoint{60, 50}), storedAnchor(current(), 3, kFirstAnchor)) << "held left of the second";
    EXPECT_EQ((BoxPoint{56, 46}), cornerOf(anchor(3, kFirstAnchor)));
}

// The block sent as the sheet closes after edits on the axis page: the
// pedals byte is the page's toggle (written back before the upload), and
// the X table is inverted by the bit only the current preset holds (the
// table's record copy clears it).
TEST_F(AxisPageTest, TheClosingBlockCarriesTheToggleAndTheCurrentPresetsInversion) {
    table.presets[1].pedalsLinked = 0;
    openAxisPage([](Preset& p) { p.axisInvert = 1; });
    click(275);
    drag(3, kSecondAnchor, 60, 5);
    click(1036);
    closeSheet(IDOK);
    ParameterBlock sent;
    ASSERT_TRUE(lastParameterBlock(client, sent));
    const uint8_t* block = reinterpret_cast<const uint8_t*>(&sent);
    EXPECT_EQ(3, block[0]) << "mode 3";
    EXPECT_EQ(1, block[2536]) << "pedals linked";
    // The X table of the inverted identity begins 254, 254, 253, 252 and ends 3, 2, 1, 1.
    EXPECT_EQ((std::vector<uint8_t>{254, 254, 253, 252}), std::vector<uint8_t>(block + 1768, block + 1772));
    EXPECT_EQ((std::vector<uint8_t>{3, 2, 1, 1}), std::vector<uint8_t>(block + 2020, block + 2024));
    EXPECT_STREQ("YES", registry.readRegString(kParametersKey, "Link_Pedals1"));
}

// Each box shows where its axis of the simulated wheel stands on the curve
// the wheel is sent, and follows the wheel and the link toggle.
TEST_F(AxisPageTest, TheBoxesShowTheWheelLiveOnTheCurvesTheWheelIsSent) {
    Preset& p = table.presets[1];
    p.pedalsLinked = 0;
    p.curveP1x[2] = 10, p.curveP1y[2] = 70, p.curveP2x[2] = 60, p.curveP2y[2] = 20;  // entry 63 is 71
    const auto wheel = [this](uint8_t x, uint8_t y, uint8_t z) {
        uint8_t report[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
        report[5] = x, report[6] = y, report[7] = z;
        ASSERT_TRUE(client.setReport(report));
        pumpMessages(350);
    };
    const COLORREF marker = RGB(255, 64, 64);
    // Whether the marker comes to be (or not to be) at (x, y) of a box.
    const auto markerAt = [&](HWND w, int x, int y, bool present = true) {
        return waitUntil([&] { return (screenPixel(w, x, y) == marker) == present; });
    };
    wheel(192, 128, 255);  // turned right, the first pedal half pressed
    openAxisPage();
    EXPECT_TRUE(markerAt(box(1), 42, 43)) << "input 64 of the identity";
    EXPECT_TRUE(markerAt(box(2), 42, 38)) << "input 63 gives 71";
    char folder[MAX_PATH];
    if (GetEnvironmentVariableA("ZENTRA_SCREENSHOT_DIR", folder, MAX_PATH) > 0) {
        EXPECT_TRUE(saveWindowPicture(sheetWindow, std::string(folder) + "\\axis-live-en.bmp"));
    }
    drag(2, kSecondAnchor, 60, 50);  // entry 63 is now 41
    EXPECT_TRUE(markerAt(box(2), 42, 58)) << "the marker follows the curve";
    click(275);
    wheel(64, 64, 255);  // linked: Y below the centre is the second pedal
    EXPECT_TRUE(markerAt(box(0), 43, 43)) << "turned left, mirrored";
    EXPECT_TRUE(markerAt(box(3), 42, 43));
    EXPECT_TRUE(markerAt(box(2), 42, 58, false)) << "the first pedal is released";
    EXPECT_TRUE(markerAt(box(1), 42, 43, false));
}

TEST_F(AxisPageTest, CarriedFieldsAreWrittenBackAndTheMouseLayoutHidesItsPair) {
    openAxisPage([](Preset& p) {
        p.axisInvert = 0x01010103;
        p.mouseEmulation[0] = 1;
        p.miscWord[0] = 7;
        p.axisFunction[2] = 9;  // no such entry
    });
    for (int id : {101, 102, 1031, 1032, 1036, 1065}) {
        RECT r;
        GetWindowRect(GetDlgItem(page, id), &r);
        POINT p{r.left, r.top};
        ScreenToClient(page, &p);
        EXPECT_EQ(-1000, p.x) << id;
    }
    EXPECT_TRUE(IsWindowVisible(box(2))) << "pair 2 keeps its curves";
    // The selectors: the car list, each on its axisFunction entry.
    HWND first = GetDlgItem(page, 1031);
    ASSERT_NE(nullptr, first);
    char entry[64] = "";
    SendMessageA(first, CB_GETLBTEXT, 1, LPARAM(entry));
    EXPECT_EQ(text(29), entry);
    EXPECT_EQ(5, SendMessageA(first, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, SendMessageA(first, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, SendMessageA(GetDlgItem(page, 1033), CB_GETCURSEL, 0, 0)) << "1033 shows axisFunction[3]";
    EXPECT_EQ(-1, SendMessageA(GetDlgItem(page, 1034), CB_GETCURSEL, 0, 0)) << "9 has no entry";
    HWND fourth = GetDlgItem(page, 1033);
    SendMessageA(fourth, CB_SETCURSEL, 4, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(1033, CBN_SELCHANGE), LPARAM(fourth));
    EXPECT_EQ(4, current().axisFunction[3]);

    closeSheet(IDCANCEL);  // the test page would take the preset from the table again
    EXPECT_EQ(0x01010101u, current().axisInvert) << "bit 1 dropped";
    EXPECT_EQ(1, current().mouseEmulation[0]);
    EXPECT_EQ(0, current().mouseEmulation[1]);
    EXPECT_EQ(0, current().miscWord[0]);
    EXPECT_EQ(9, current().axisFunction[2]) << "an entry never chosen stays";
    EXPECT_EQ(4, panelState().table.presets[1].axisFunction[3]);
}

TEST_F(AxisPageTest, ClosingTheSheetInADragFreesThePointerAndTheWheelGetsTheEditedCurve) {
    table.presets[1].curveType[0] = table.presets[1].curveType[1] = 1;
    openAxisPage();
    RECT free;
    GetClipCursor(&free);
    drag(3, kSecondAnchor, 60, 5);
    pressAndMove(0, kSecondAnchor, 20, 15);
    ASSERT_TRUE(anchorDragging());
    ASSERT_EQ(box(0), GetCapture());
    closeSheet(IDOK);
    EXPECT_FALSE(anchorDragging());
    EXPECT_EQ(nullptr, GetCapture());
    RECT clip;
    GetClipCursor(&clip);
    EXPECT_TRUE(EqualRect(&clip, &free)) << "the pointer is free again";
    pointer("mouseup 1");

    PresetTable saved{};
    ASSERT_EQ(0, loadPresetFile(nullptr, presetFile.c_str(), saved, platformFileSystem(), nullptr));
    EXPECT_EQ(65, saved.presets[1].curveP2x[0]) << "column 20 of the mirrored box";
    EXPECT_EQ(15, saved.presets[1].curveP2y[0]);
    EXPECT_EQ(60, saved.presets[1].curveP2x[3]);
    EXPECT_EQ(5, saved.presets[1].curveP2y[3]);

    // The closing block is the one the preset tool makes for that preset.
    std::vector<SimLogEntry> blocks;
    std::vector<SimLogEntry> entries;
    ASSERT_TRUE(client.log(entries));
    for (const SimLogEntry& e : entries)
        if (e.code == SIM_CODE_PARAMETER_BLOCK) blocks.push_back(e);
    ASSERT_FALSE(blocks.empty());
    // No calibration is stored in the bench's registry: the tool's block
    // has none either.
    const std::string out = tempFile("zentra-axis-block.bin");
    const ChildRun tool = runChild(besideTests("ZntPreset.exe"),
                                   "block \"" + presetFile + "\" --preset 1 --sender panel --mode 3 -o \"" + out + "\"",
                                   10000);
    ASSERT_EQ(0u, tool.exitCode) << tool.output;
    std::vector<uint8_t> expected;
    ASSERT_TRUE(platformFileSystem().readFile(out, sizeof(ParameterBlock), expected));
    DeleteFileA(out.c_str());
    ASSERT_EQ(sizeof(ParameterBlock), expected.size());
    ASSERT_EQ(sizeof(ParameterBlock), blocks.back().storedLength);
    EXPECT_EQ(0, std::memcmp(expected.data(), blocks.back().input, expected.size()));
}

// Leaves pictures of the page with curvilinear and linear curves in the
// folder named by ZENTRA_SCREENSHOT_DIR; the page's pictures and frames are
// checked in any case.
TEST_F(AxisPageTest, ThePageShowsItsPicturesFramesAndBothCurveTypes) {
    for (int slot = 0; slot < 4; ++slot) {
        table.presets[1].curveType[slot] = 1;
        table.presets[1].curveP1x[slot] = 15, table.presets[1].curveP1y[slot] = 30;
        table.presets[1].curveP2x[slot] = 40, table.presets[1].curveP2y[slot] = 80;
    }
    openAxisPage();
    EXPECT_EQ(spritePixel(skin::kAxisSteeringPicture, 80, 70),
              screenPixel(page, skin::kAxisSteeringPictureAt.x + 80, skin::kAxisSteeringPictureAt.y + 70));
    EXPECT_EQ(spritePixel(skin::kAxisSecondPedalPicture, 14, 30),
              screenPixel(page, skin::kAxisSecondPedalPictureAt.x + 14, skin::kAxisSecondPedalPictureAt.y + 30));
    EXPECT_EQ(RGB(89, 203, 138), screenPixel(page, 349, 200)) << "the frame of box 103";
    EXPECT_EQ(RGB(16, 4, 45), screenPixel(box(2), 80, 80)) << "the box's ground";
    char folder[MAX_PATH];
    const bool shots = GetEnvironmentVariableA("ZENTRA_SCREENSHOT_DIR", folder, MAX_PATH) > 0;
    const std::string language = UiLanguage == 0x0407 ? "de" : "en";
    if (shots) {
        EXPECT_TRUE(saveWindowPicture(sheetWindow, std::string(folder) + "\\axis-curvilinear-" + language + ".bmp"));
    }
    for (int id : {1065, 1067, 1068}) click(id);
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ(0u, current().curveType[slot]) << slot;
    EXPECT_TRUE(greenNear(box(3), 15 * 0.5, 85 - 55 * 0.5)) << "a straight first segment";
    if (shots) {
        EXPECT_TRUE(saveWindowPicture(sheetWindow, std::string(folder) + "\\axis-linear-" + language + ".bmp"));
    }
}

}  // namespace
}  // namespace zentra
