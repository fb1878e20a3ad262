// The skinned controls' decisions: the painters' pictures and hatching, the
// child page's region holes and the shape of a key-sequence edit field; and
// the control panel's module-wide preset state.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_logic.h"
#include "cpl/frame/skin_scale.h"

namespace zentra {

// Readable failures; found by argument-dependent lookup, so not in the
// anonymous namespace.
static std::ostream& operator<<(std::ostream& out, SkinPoint p) { return out << '(' << p.x << ", " << p.y << ')'; }
static std::ostream& operator<<(std::ostream& out, const SkinRect& r) {
    return out << '(' << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ')';
}

namespace {

// Pictures that differ from each other and from the bitmap's corner.
constexpr SkinPoint P0{643, 1}, P1{733, 1}, P2{823, 1};
constexpr SkinPoint N{10, 20}, Pressed{30, 40}, F{50, 60};
constexpr SkinPoint C = kBitmapCorner;

constexpr uint32_t DRAW = kActionDrawEntire, SELECT = kActionSelect, FOCUS = kActionFocus;

TEST(SkinButtonTest, PictureByStateCopiesAndHatching) {
    struct Case {
        uint32_t action, itemState;
        int buttonState;
        SkinPoint picture;
        int copies;
        bool hatch;
    } cases[] = {
        {DRAW, 0, 0, P0, 1, false},
        {DRAW, 0, 1, P1, 1, false},
        {DRAW, 0, 2, P2, 1, false},
        {DRAW, 0, 7, P2, 1, false},      // any other state: the third picture
        {DRAW, 0, -1, P2, 1, false},
        {SELECT, 1, 0, P0, 0, false},    // nothing but a full draw or a disabled state paints
        {FOCUS, 16, 1, P1, 0, false},
        {DRAW, 4, 2, P2, 2, true},       // disabled: copied once more and hatched
        {SELECT, 4, 1, P1, 1, true},
        {DRAW, 5, 0, P0, 1, false},      // disabled and selected is not "disabled"
        {DRAW, 20, 0, P0, 1, false},     // nor disabled with the focus
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "action " << c.action << " item state " << c.itemState << " state "
                                        << c.buttonState);
        const SkinButtonPlan plan = planSkinButton(c.action, c.itemState, P0, P1, P2, c.buttonState);
        EXPECT_EQ(c.picture, plan.picture);
        EXPECT_EQ(c.copies, plan.copies);
        EXPECT_EQ(c.hatch, plan.hatch);
    }
}

TEST(SkinButtonTest, HatchingLinesThreePixelsApartBelowTheWidth) {
    EXPECT_EQ(std::vector<int>{}, hatchLines(0, 0));
    EXPECT_EQ(std::vector<int>{5}, hatchLines(5, 1));
    EXPECT_EQ(std::vector<int>{5}, hatchLines(5, 3));
    EXPECT_EQ((std::vector<int>{5, 8}), hatchLines(5, 4));
    EXPECT_EQ((std::vector<int>{0, 3, 6}), hatchLines(0, 9));
    EXPECT_EQ((std::vector<int>{0, 3, 6, 9}), hatchLines(0, 10));
    const std::vector<int> tab = hatchLines(0, 88);  // a tab button
    ASSERT_EQ(30u, tab.size());
    EXPECT_EQ(87, tab.back());
}

TEST(PushButtonTest, StepsInOrder) {
    struct Case {
        uint32_t action, itemState;
        std::vector<SkinPoint> copies;
    } cases[] = {
        {DRAW, 0, {N}},
        {DRAW, 16, {N}},
        {DRAW, 4, {N, C}},           // full draw of a disabled button: normal, then the corner
        {SELECT, 17, {Pressed}},     // selected with the focus: held down
        {SELECT, 16, {N}},           // exactly the focus: released
        {SELECT, 1, {Pressed}},
        {SELECT, 0, {Pressed}},
        {SELECT, 4, {C, Pressed}},   // disabled, then "any other state"
        {FOCUS, 16, {F}},
        {FOCUS, 17, {}},             // focus change of a held button: nothing
        {FOCUS, 0, {}},
        {FOCUS, 4, {C}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "action " << c.action << " item state " << c.itemState);
        EXPECT_EQ(c.copies, planPushButton(c.action, c.itemState, N, Pressed, F));
    }
}

TEST(PushButtonTest, AboutLinkHeldOnlyWhenSelectedAndNotExactlyFocused) {
    EXPECT_TRUE(aboutLinkHeld(SELECT, 17));
    EXPECT_TRUE(aboutLinkHeld(SELECT, 0));
    EXPECT_FALSE(aboutLinkHeld(SELECT, 16));
    EXPECT_FALSE(aboutLinkHeld(DRAW, 17));
    EXPECT_FALSE(aboutLinkHeld(FOCUS, 17));
}

TEST(LabelTest, PassesAndTextOffsets) {
    struct Case {
        uint32_t action, itemState;
        std::vector<LabelPass> passes;
    } cases[] = {
        {DRAW, 0, {{P0, 5, 4}}},
        {DRAW, 4, {{P0, 5, 4}, {C, 1, 0}}},
        {SELECT, 4, {{C, 1, 0}}},
        {SELECT, 0, {}},
        {DRAW, 5, {{P0, 5, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "action " << c.action << " item state " << c.itemState);
        const std::vector<LabelPass> passes = planLabel(c.action, c.itemState, P0);
        ASSERT_EQ(c.passes.size(), passes.size());
        for (size_t i = 0; i < passes.size(); ++i) {
            EXPECT_EQ(c.passes[i].picture, passes[i].picture) << "pass " << i;
            EXPECT_EQ(c.passes[i].shadowOffset, passes[i].shadowOffset) << "pass " << i;
            EXPECT_EQ(c.passes[i].textOffset, passes[i].textOffset) << "pass " << i;
        }
    }
}

TEST(PageRegionTest, TwoHolesOrFiveOnTheEmulationWheel) {
    EXPECT_EQ((SkinRect{0, 0, 594, 369}), kPageArea);
    const std::vector<SkinRect> two{{505, 2, 593, 59}, {2, 311, 90, 368}};
    const std::vector<SkinRect> five{{505, 2, 593, 59},   {2, 311, 90, 368}, {2, 252, 90, 309},
                                     {505, 311, 593, 368}, {2, 202, 90, 250}};
    EXPECT_EQ(two, pageRegionHoles(0));
    EXPECT_EQ(five, pageRegionHoles(1));
}

TEST(EditFieldTest, FitsTheTextLength) {
    constexpr uint32_t SHORT = kEditShortStyle, LONG = kEditLongStyle;
    struct Case {
        size_t length;
        uint32_t style;
        bool recreate;
        uint32_t wantedStyle;
        int width, height;
    } cases[] = {
        {14, SHORT, false, SHORT, 96, 22},  // stays single-line
        {15, SHORT, true, LONG, 95, 34},    // grows a scroll bar
        {14, LONG, true, SHORT, 96, 22},    // and back
        {15, LONG, false, LONG, 95, 34},
        {0, LONG, true, SHORT, 96, 22},
        {1275, SHORT, true, LONG, 95, 34},
        {14, 0x50000080, false, SHORT, 96, 22},  // any other style is left alone
        {15, 0x50800084, false, LONG, 95, 34},
        {15, 0, false, LONG, 95, 34},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " characters, style 0x" << std::hex << c.style);
        const EditFit fit = fitEditField(c.length, c.style);
        EXPECT_EQ(c.recreate, fit.recreate);
        EXPECT_EQ(c.wantedStyle, fit.style);
        EXPECT_EQ(c.width, fit.width);
        EXPECT_EQ(c.height, fit.height);
    }
}

TEST(PanelStateTest, OneStateAndResetClearsIt) {
    PanelState& state = panelState();
    EXPECT_EQ(&state, &panelState());
    state.table.presetCount = 3;
    setPresetText(state.table.presets[2].exePath, "C:\\Games\\rally.exe");
    setPresetText(state.currentPreset.exePath, "C:\\Games\\rally.exe");
    state.currentIndex = 2;
    state.wheel.link.isEmulationDevice = 1;
    state.wheel.hardware.rawMax[3] = 255;

    resetPanelState();
    // Every byte is back to zero, as in a freshly loaded plug-in.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&panelState());
    size_t nonzero = 0;
    for (size_t i = 0; i < sizeof(PanelState); ++i) nonzero += bytes[i] != 0;
    EXPECT_EQ(0u, nonzero);
}

// The page areas the sheet gives under Wine with Windows' fonts: 594 x 369
// at 96 DPI, 891 x 539 at 144 and 1188 x 709 at 192.
TEST(SkinScaleTest, FillsThePageAreaTheSheetGivesAndPicksTheNearestSetAbove) {
    struct Case {
        int dpi, areaWidth, areaHeight;
        int percent;
        SkinRect control;  // a 96-DPI rectangle ...
        SkinRect shown;    // ... in the window's pixels
    };
    const Case cases[] = {
        {96, 594, 369, 100, {10, 8, 165, 19}, {10, 8, 165, 19}},
        {96, 594, 341, 100, {10, 8, 165, 19}, {10, 8, 165, 19}},  // nothing moves at 96 DPI
        {72, 400, 250, 100, {0, 0, 594, 369}, {0, 0, 594, 369}},
        {144, 891, 539, 150, {0, 0, 594, 369}, {0, 0, 891, 539}},
        {144, 891, 539, 150, {10, 10, 30, 30}, {15, 15, 45, 44}},
        {192, 1188, 709, 200, {134, 40, 506, 342}, {268, 77, 1012, 657}},
        {120, 0, 0, 150, {0, 0, 594, 369}, {0, 0, 743, 461}},  // no area: dpi / 96; 125 %: the larger set
        {106, 0, 0, 100, {0, 0, 594, 369}, {0, 0, 656, 407}},  // 110 %: the nearer set
        {288, 1782, 1107, 200, {1, 1, 2, 2}, {3, 3, 6, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " DPI, " << c.areaWidth << " x " << c.areaHeight);
        const SkinScale scale = skinScaleFor(c.dpi, c.areaWidth, c.areaHeight);
        EXPECT_EQ(c.percent, scale.percent);
        EXPECT_TRUE(scaleRect(scale, c.control) == c.shown);
    }
}

TEST(SkinScaleTest, ThePointerIsTakenBackToTheSamePlaceAt96Dpi) {
    const SkinScale at144 = skinScaleFor(144, 891, 539);
    EXPECT_TRUE(unscalePoint(at144, SkinPoint{891, 539}) == (SkinPoint{594, 369}));
    EXPECT_TRUE(unscalePoint(at144, SkinPoint{15, 146}) == (SkinPoint{10, 100}));
    const SkinScale at192 = skinScaleFor(192, 1188, 709);
    EXPECT_TRUE(unscalePoint(at192, SkinPoint{1, 1}) == (SkinPoint{1, 1}));  // halves away from zero
    EXPECT_TRUE(unscalePoint(at192, SkinPoint{-4, 0}) == (SkinPoint{-2, 0}));
    EXPECT_TRUE(unscalePoint(SkinScale{}, SkinPoint{37, 212}) == (SkinPoint{37, 212}));
}

// The gauge cap and its mask after resampling: the mask black or white by
// its brightness, the cap black wherever the mask is white.
TEST(SkinScaleTest, AMaskAndItsPictureAreMadeExactAgain) {
    std::vector<uint32_t> pixels = {0x808080, 0xFFEEDD, 0x7F7F7F, 0x818181,   // cap (0, 0)-(2, 1), mask at (2, 0)
                                    0x123456, 0x123456, 0x123456, 0x123456};  // a row that is neither
    keepMaskExact(pixels.data(), pixels.size(), 4, SkinRect{0, 0, 2, 1}, SkinPoint{2, 0});
    const std::vector<uint32_t> expected = {0x808080, 0x000000, 0x000000, 0xFFFFFF,
                                            0x123456, 0x123456, 0x123456, 0x123456};
    EXPECT_EQ(expected, pixels);
}

// A picture set brought to a room a little off its scale: each new pixel
// is the mean of the old ones under it.
TEST(SkinScaleTest, APictureIsResampledByTheShareOfEachPixelItCovers) {
    struct Case {
        const char* what;
        std::vector<uint32_t> from;
        int width, height, toWidth, toHeight;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {"same size", {0x102030, 0x405060}, 2, 1, 2, 1, {0x102030, 0x405060}},
        {"two pixels into one", {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF}, 4, 1, 2, 1, {0x808080, 0x808080}},
        // Three rows into two: 2/3 of the first and 1/3 of the second, then
        // 1/3 of the second and 2/3 of the third.
        {"three rows into two", {0x000000, 0x000090, 0x0000F0}, 1, 3, 1, 2, {0x000030, 0x0000D0}},
        {"one pixel grown", {0xABCDEF}, 1, 1, 2, 2, {0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF}},
        {"no pixels", {}, 0, 0, 2, 2, {}},
        {"fewer pixels than the size", {0x000000}, 2, 2, 1, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, resamplePicture(c.from, c.width, c.height, c.toWidth, c.toHeight));
    }
}

// The sets as the system loads them: 8-bit indices, rows stored bottom-up
// and padded to four bytes, read in place through their palette.
TEST(SkinScaleTest, EightBitRowsStoredBottomUpAreReadThroughTheirPalette) {
    const uint8_t stored[] = {2, 1, 0xEE, 0xEE,   // the bottom row
                              1, 1, 0xEE, 0xEE,   // the middle row
                              0, 0, 0xEE, 0xEE};  // the top row
    std::vector<uint32_t> palette(256, 0xFF00FF);
    palette[0] = 0x000000, palette[1] = 0x000090, palette[2] = 0x0000F0;
    PictureRows rows;
    rows.top = stored + 8;
    rows.stride = -4;
    rows.width = 2;
    rows.height = 3;
    rows.palette = palette.data();
    std::vector<uint32_t> to(4, 0xABABAB);
    ASSERT_TRUE(resampleInto(rows, to.data(), 2, 2));
    EXPECT_EQ((std::vector<uint32_t>{0x000030, 0x000030, 0x0000D0, 0x000090}), to);
    // Narrower as well: the two columns' mean.
    std::vector<uint32_t> narrow(2, 0xABABAB);
    ASSERT_TRUE(resampleInto(rows, narrow.data(), 1, 2));
    EXPECT_EQ((std::vector<uint32_t>{0x000030, 0x0000B0}), narrow);
    EXPECT_FALSE(resampleInto(rows, to.data(), 0, 2));
}

}  // namespace
}  // namespace zentra
