// The curve boxes' geometry: anchor windows, drags, the linear constraint,
// the two steering halves, reset, the type switch and what a box draws.
#include <gtest/gtest.h>

#include "cpl/pages/curve_editor_logic.h"

namespace zentra {
namespace {

Preset defaultCurves(uint32_t type) {
    Preset p{};
    resetPreset(p, Deliverable::Panel);
    for (uint32_t& t : p.curveType) t = type;
    return p;
}

TEST(CurveBoxGeometry, AnchorWindowsAreCentredOnTheirAnchorsAndMirroredInBoxZero) {
    const struct {
        int slot;
        BoxPoint stored, corner;
    } cases[] = {
        {1, {25, 60}, {21, 56}}, {1, {55, 30}, {51, 26}},  // the reset places
        {0, {25, 60}, {56, 56}}, {0, {55, 30}, {26, 26}},
        {3, {0, 85}, {-4, 81}},  {0, {85, 0}, {-4, -4}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.corner, anchorWindowCorner(c.slot, c.stored)) << c.slot;
}

TEST(CurveBoxGeometry, AnchorControlIdsNameTheirSlotAndAnchor) {
    const struct {
        int id;
        bool known;
        int slot, anchor;
    } cases[] = {{105, true, 0, kFirstAnchor}, {108, true, 3, kFirstAnchor}, {139, true, 0, kSecondAnchor},
                 {142, true, 3, kSecondAnchor}, {104, false, 0, 0},          {109, false, 0, 0},
                 {138, false, 0, 0},            {143, false, 0, 0}};
    for (const auto& c : cases) {
        int slot = -1, anchor = -1;
        ASSERT_EQ(c.known, anchorOfControl(c.id, slot, anchor)) << c.id;
        if (!c.known) continue;
        EXPECT_EQ(c.slot, slot);
        EXPECT_EQ(c.anchor, anchor);
        EXPECT_EQ(c.id, anchorControlId(slot, anchor));
    }
}

TEST(CurveBoxDrag, TheCursorIsClampedIntoTheBoxAndMirroredInBoxZero) {
    const struct {
        int slot, anchor, x, y;
        BoxPoint stored;
    } cases[] = {
        {0, kFirstAnchor, -3, 40, {85, 40}},   // box 0's left edge is x = 85
        {0, kSecondAnchor, 10, 20, {75, 20}},
        {2, kFirstAnchor, 100, -5, {85, 0}},   // beyond the client edge
        {3, kSecondAnchor, 40, 50, {40, 50}},
        {2, kSecondAnchor, -32768, 32767, {0, 85}},
    };
    for (const auto& c : cases) {
        Preset p = defaultCurves(1);
        dragAnchorTo(p, c.slot, c.anchor, c.x, c.y);
        EXPECT_EQ(c.stored, storedAnchor(p, c.slot, c.anchor)) << c.slot << " " << c.x << "," << c.y;
    }
}

TEST(CurveBoxDrag, LinearModeHoldsTheFirstAnchorLeftOfTheSecond) {
    const struct {
        uint32_t type;
        int slot, anchor, x;
        int firstX, secondX;  // stored afterwards; defaults are 25 and 55
    } cases[] = {
        {0, 2, kFirstAnchor, 70, 55, 55},   // stopped at the second
        {0, 2, kFirstAnchor, 54, 54, 55},
        {0, 2, kSecondAnchor, 10, 25, 25},  // stopped at the first
        {1, 2, kFirstAnchor, 70, 70, 55},   // curvilinear: they cross
        {1, 2, kSecondAnchor, 10, 25, 10},
        {0, 0, kFirstAnchor, 5, 55, 55},    // box 0: stored x 80, left of the second in its own units
        {2, 3, kFirstAnchor, 70, 55, 55},   // every type but 1 is linear
        {0xFFFFFFFF, 3, kSecondAnchor, 10, 25, 25},
    };
    for (const auto& c : cases) {
        Preset p = defaultCurves(c.type);
        dragAnchorTo(p, c.slot, c.anchor, c.x, 40);
        EXPECT_EQ(c.firstX, p.curveP1x[c.slot]) << c.type << " " << c.x;
        EXPECT_EQ(c.secondX, p.curveP2x[c.slot]) << c.type << " " << c.x;
    }
}

TEST(CurveBoxDrag, SwitchingBackToLinearPullsACrossedFirstAnchorBack) {
    Preset p = defaultCurves(1);
    dragAnchorTo(p, 3, kFirstAnchor, 70, 40);
    pullFirstAnchor(p, 3);
    EXPECT_EQ(70, p.curveP1x[3]) << "curvilinear anchors may cross";
    EXPECT_EQ(0u, flipCurveType(p, 3));
    pullFirstAnchor(p, 3);
    EXPECT_EQ(55, p.curveP1x[3]);
    EXPECT_EQ(40, p.curveP1y[3]) << "only x is pulled";
}

TEST(CurveBoxDrag, TheSteeringHalvesCarryEachOthersAnchors) {
    for (int slot : {0, 1}) {
        Preset p = defaultCurves(1);
        p.curveType[1 - slot] = 0;
        EXPECT_EQ(1 - slot, dragAnchorTo(p, slot, kSecondAnchor, 10, 70));
        for (auto field : {&Preset::curveP1x, &Preset::curveP1y, &Preset::curveP2x, &Preset::curveP2y})
            EXPECT_EQ((p.*field)[0], (p.*field)[1]) << "from slot " << slot;
        EXPECT_NE(p.curveType[0], p.curveType[1]) << "the type is not carried";
    }
    Preset p = defaultCurves(1);
    EXPECT_EQ(-1, dragAnchorTo(p, 2, kFirstAnchor, 10, 10));
    EXPECT_EQ((BoxPoint{25, 60}), storedAnchor(p, 3, kFirstAnchor)) << "the pedals are not linked";
}

// Placing the anchors, as the page does when it opens: a linear first
// anchor right of its second (only a file holds one) is pulled back to it.
TEST(CurveBoxPlacing, ALinearFirstAnchorRightOfTheSecondIsPulledBack) {
    const uint16_t cases[][4] = {// type, first x, second x, first x after
                                 {0, 70, 40, 40}, {2, 70, 40, 40}, {0, 30, 40, 30}, {0, 200, 120, 120}, {1, 70, 40, 70}};
    for (const auto& c : cases) {
        Preset p = defaultCurves(c[0]);
        p.curveP1x[2] = c[1], p.curveP2x[2] = c[2];
        pullFirstAnchor(p, 2);
        EXPECT_EQ(c[3], p.curveP1x[2]) << c[0] << " " << c[1];
    }
}

// A file's anchors beyond 0..85 are shown at the box's edge (mirrored in
// box 0) and kept until an anchor of that curve is dragged, which stores
// the whole curve as shown.
TEST(CurveBoxFileData, AnchorsBeyondTheBoxAreShownAtItsEdgeAndKeptUntilADrag) {
    Preset p = defaultCurves(0);
    p.curveP1x[0] = 300, p.curveP1y[0] = 90;
    EXPECT_EQ((BoxPoint{-4, 81}), anchorWindowCorner(0, storedAnchor(p, 0, kFirstAnchor)));
    EXPECT_EQ((BoxPoint{0, 85}), curveDrawing(p, 0).points[1]);
    p.curveP2x[3] = 120, p.curveP2y[3] = 65535;
    dragAnchorTo(p, 3, kFirstAnchor, 84, 10);
    EXPECT_EQ((BoxPoint{85, 85}), storedAnchor(p, 3, kSecondAnchor)) << "stored as shown";
    dragAnchorTo(p, 3, kSecondAnchor, 50, 50);
    EXPECT_EQ((BoxPoint{84, 50}), storedAnchor(p, 3, kSecondAnchor)) << "held at the first anchor";
}

// The steering halves are linked after the linear constraint: the other
// half gets the held value, whichever anchor of whichever half is dragged.
TEST(CurveBoxDrag, TheSteeringHalvesTakeTheAnchorsAsTheConstraintLeftThem) {
    const struct {
        int slot, anchor, x, y;  // client point of the dragged box
        BoxPoint first, second;  // then stored in both halves
    } cases[] = {{1, kFirstAnchor, 70, 40, {55, 40}, {55, 30}}, {1, kSecondAnchor, 10, 70, {25, 60}, {25, 70}},
                 {0, kFirstAnchor, 5, 40, {55, 40}, {55, 30}},  // column 5 of box 0 is x = 80
                 {0, kSecondAnchor, 75, 70, {25, 60}, {25, 70}}, {0, kFirstAnchor, 50, 20, {35, 20}, {55, 30}}};
    for (const auto& c : cases) {
        Preset p = defaultCurves(0);
        dragAnchorTo(p, c.slot, c.anchor, c.x, c.y);
        for (int slot : {0, 1})
            EXPECT_TRUE(storedAnchor(p, slot, kFirstAnchor) == c.first && storedAnchor(p, slot, kSecondAnchor) == c.second)
                << "drag in " << c.slot << ", slot " << slot;
    }
}

// The live marker's input: the steering's turn to the half's side (none in
// the band around the centre), a pedal's travel as the test page's gauge
// shows it; its point in the box, mirrored in box 0.
TEST(CurveBoxMarker, InputsFollowTheSteeringHalvesAndThePedalGauges) {
    const struct {
        WheelAxes axes;
        bool linked;
        int inputs[4];
    } cases[] = {{{65535, 65535, 65535, 0}, false, {0, 127, 0, 0}}, {{0, 0, 65535, 0}, false, {127, 0, 127, 0}},
                 {{16448, 65535, 0, 32896}, false, {63, 0, 0, 63}},  // the greater of Z and Rz
                 {{31000, 16448, 0, 0}, true, {0, 0, 0, 63}},        // the band; linked: Y below the centre
                 {{34766, 65535, 0, 0}, true, {0, 0, 127, 0}}};
    for (const auto& c : cases)
        for (int slot = 0; slot < 4; ++slot)
            EXPECT_EQ(c.inputs[slot], markerInput(slot, c.axes, c.linked)) << c.axes.x << " " << slot;
    EXPECT_EQ((BoxPoint{43, 43}), markerPoint(0, 63, 63));
}

TEST(CurveBoxButtons, ResetKeepsTheTypeAndTheSwitchNamesTheOtherType) {
    Preset p = defaultCurves(1);
    dragAnchorTo(p, 2, kFirstAnchor, 3, 4);
    dragAnchorTo(p, 2, kSecondAnchor, 80, 81);
    resetCurveAnchors(p, 2);
    EXPECT_EQ((BoxPoint{25, 60}), storedAnchor(p, 2, kFirstAnchor));
    EXPECT_EQ((BoxPoint{55, 30}), storedAnchor(p, 2, kSecondAnchor));
    EXPECT_EQ(1u, p.curveType[2]);
    const struct {
        uint32_t before, after;
        int text;
    } flips[] = {{0, 1, 15}, {1, 0, 14}, {7, 1, 15}};  // 15 "Lineaire", 14 "Curviligne"
    for (const auto& f : flips) {
        p.curveType[3] = f.before;
        EXPECT_EQ(f.after, flipCurveType(p, 3)) << f.before;
        EXPECT_EQ(f.text, curveTypeButtonText(f.after));
    }
}

TEST(CurveBoxDrawing, PointsRunCornerToCornerThroughTheAnchorsMirroredInBoxZero) {
    Preset p = defaultCurves(0);
    p.curveType[0] = 1;
    const CurveDrawing mirrored = curveDrawing(p, 0);
    EXPECT_TRUE(mirrored.bezier);
    EXPECT_EQ((BoxPoint{85, 85}), mirrored.diagonal[0]);
    EXPECT_EQ((BoxPoint{0, 0}), mirrored.diagonal[1]);
    const BoxPoint expected0[4] = {{85, 85}, {60, 60}, {30, 30}, {0, 0}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(expected0[i], mirrored.points[i]) << i;
    const CurveDrawing plain = curveDrawing(p, 1);
    EXPECT_FALSE(plain.bezier);
    EXPECT_EQ((BoxPoint{0, 85}), plain.diagonal[0]);
    EXPECT_EQ((BoxPoint{85, 0}), plain.diagonal[1]);
    const BoxPoint expected1[4] = {{0, 85}, {25, 60}, {55, 30}, {85, 0}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(expected1[i], plain.points[i]) << i;
}

}  // namespace
}  // namespace zentra
