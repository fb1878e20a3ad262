// The sensitivity table: anchors in table units, the linear and the
// curvilinear table, and anchors outside the curve box.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "preset/preset.h"
#include "preset/sensitivity.h"

namespace zentra {
namespace {

constexpr uint32_t kLinear = 0;
constexpr uint32_t kCurvilinear = 1;

// A default preset whose `slot` has the given curve.
Preset presetWithCurve(int slot, uint32_t type, unsigned x1, unsigned y1, unsigned x2, unsigned y2) {
    Preset p;
    resetPreset(p, Deliverable::Panel);
    p.curveType[slot] = type;
    p.curveP1x[slot] = uint16_t(x1);
    p.curveP1y[slot] = uint16_t(y1);
    p.curveP2x[slot] = uint16_t(x2);
    p.curveP2y[slot] = uint16_t(y2);
    return p;
}

std::vector<int> tableOf(const Preset& p, int slot) {
    SensitivityTable table;
    std::memset(table.entry, 0xCC, sizeof table.entry);
    buildSensitivityTable(table, p, slot);
    return std::vector<int>(table.entry, table.entry + kSensitivityEntries);
}

std::vector<int> curve(uint32_t type, unsigned x1, unsigned y1, unsigned x2, unsigned y2) {
    return tableOf(presetWithCurve(0, type, x1, y1, x2, y2), 0);
}

std::vector<int> entries(const std::vector<int>& table, int from, int to) {
    return std::vector<int>(table.begin() + from, table.begin() + to + 1);
}

std::vector<int> identity() {
    std::vector<int> t;
    for (int i = 0; i < kSensitivityEntries; ++i) t.push_back(i);
    return t;
}

// ------------------------------------------------------------- table units

TEST(AnchorToTable, ScalesBoxUnitsWithTruncationAndTurnsYUpwards) {
    const TablePoint first = anchorToTable(25, 60);
    EXPECT_EQ(37, first.x);
    EXPECT_EQ(37, first.y);
    const TablePoint second = anchorToTable(55, 30);
    EXPECT_EQ(82, second.x);
    EXPECT_EQ(82, second.y);
    const TablePoint a = anchorToTable(10, 70);
    EXPECT_EQ(14, a.x);
    EXPECT_EQ(22, a.y);
    const TablePoint b = anchorToTable(60, 20);
    EXPECT_EQ(89, b.x);
    EXPECT_EQ(97, b.y);
}

TEST(AnchorToTable, BoxCornersAreTheTableCorners) {
    EXPECT_EQ(0, anchorToTable(0, 85).x);
    EXPECT_EQ(0, anchorToTable(0, 85).y);
    EXPECT_EQ(127, anchorToTable(85, 0).x);
    EXPECT_EQ(127, anchorToTable(85, 0).y);
}

TEST(AnchorToTable, CoordinatesOutsideTheBoxAreTakenAtItsEdge) {
    EXPECT_EQ(127, anchorToTable(86, 0).x);
    EXPECT_EQ(127, anchorToTable(65535, 0).x);
    EXPECT_EQ(0, anchorToTable(0, 86).y);
    EXPECT_EQ(0, anchorToTable(0, 65535).y);
}

// ----------------------------------------------------------- linear tables

TEST(LinearSensitivity, DefaultAnchorsGiveTheIdentity) { EXPECT_EQ(identity(), curve(kLinear, 25, 60, 55, 30)); }

TEST(LinearSensitivity, AnchorsTenSeventyAndSixtyTwentyGiveTheKnownEntries) {
    const auto t = curve(kLinear, 10, 70, 60, 20);
    EXPECT_EQ((std::vector<int>{0, 1, 3, 4, 6, 7, 9, 10}), entries(t, 0, 7));
    EXPECT_EQ((std::vector<int>{68, 69, 70, 71}), entries(t, 60, 63));
    EXPECT_EQ((std::vector<int>{121, 122, 123, 123, 124, 125, 126, 127}), entries(t, 120, 127));
}

TEST(LinearSensitivity, SecondAnchorAtTheRightEdgeRepeatsEntry126) {
    const auto t = curve(kLinear, 25, 60, 85, 40);
    EXPECT_EQ(66, t[126]);
    EXPECT_EQ(t[126], t[127]);
}

TEST(LinearSensitivity, AnchorsAtTheSameXLeaveTheMiddleSegmentEmpty) {
    // Both anchors at table x 59: the first on the diagonal, the second at
    // the bottom, so the table drops there and climbs to the corner.
    const auto t = curve(kLinear, 40, 45, 40, 85);
    for (int i = 0; i <= 58; ++i) EXPECT_EQ(i, t[i]) << i;
    EXPECT_EQ(0, t[59]);
    for (int i = 60; i <= 126; ++i) EXPECT_LE(t[i - 1], t[i]) << i;
    EXPECT_EQ(125, t[126]);
    EXPECT_EQ(127, t[127]);
}

TEST(LinearSensitivity, IdenticalAnchorsOnTheDiagonalGiveTheIdentity) {
    EXPECT_EQ(identity(), curve(kLinear, 40, 45, 40, 45));
}

TEST(LinearSensitivity, FirstAnchorRightOfTheSecondTakesTheThirdSegmentOverTheOverlap) {
    // Table units (89, 97) and (14, 22).
    const auto overlapping = curve(kLinear, 60, 20, 10, 70);
    // The same first segment, alone up to the right edge.
    const auto firstSegment = curve(kLinear, 60, 20, 85, 0);
    // The same third segment, reached from the origin.
    const auto thirdSegment = curve(kLinear, 0, 85, 10, 70);

    for (int i = 0; i < 14; ++i) EXPECT_EQ(firstSegment[i], overlapping[i]) << i;
    for (int i = 14; i < 128; ++i) EXPECT_EQ(thirdSegment[i], overlapping[i]) << i;
    EXPECT_EQ(14, overlapping[13]);
    EXPECT_EQ(22, overlapping[14]);
    EXPECT_EQ(127, overlapping[127]);
}

TEST(LinearSensitivity, FirstAnchorAtTheLeftEdgeSkipsTheFirstSegment) {
    const auto t = curve(kLinear, 0, 85, 55, 30);
    // From (0, 0) straight to (82, 82), then on to the corner.
    EXPECT_EQ(identity(), t);
}

// ------------------------------------------------------ curvilinear tables

TEST(CurvilinearSensitivity, DefaultAnchorsGiveTheIdentity) {
    EXPECT_EQ(identity(), curve(kCurvilinear, 25, 60, 55, 30));
}

TEST(CurvilinearSensitivity, AnchorsTenSeventyAndSixtyTwentyGiveTheKnownEntries) {
    const auto t = curve(kCurvilinear, 10, 70, 60, 20);
    EXPECT_EQ((std::vector<int>{1, 2, 4, 5, 6, 8, 9, 10}), entries(t, 0, 7));
    EXPECT_EQ((std::vector<int>{66, 67, 68, 69}), entries(t, 60, 63));
    EXPECT_EQ((std::vector<int>{122, 122, 123, 124, 125, 126, 126, 127}), entries(t, 120, 127));
}

TEST(CurvilinearSensitivity, AnchorsFortyTenAndFortyFiveEightyGiveAFlatMiddle) {
    const auto t = curve(kCurvilinear, 40, 10, 45, 80);
    EXPECT_EQ((std::vector<int>{60, 60, 60, 60}), entries(t, 60, 63));
}

TEST(CurvilinearSensitivity, LastEntryIsAlways127) {
    EXPECT_EQ(127, curve(kCurvilinear, 85, 85, 85, 85)[127]);
    EXPECT_EQ(127, curve(kCurvilinear, 0, 85, 0, 85)[127]);
}

// ------------------------------------------------------------------- slots

TEST(SensitivityTable, UsesOnlyTheCurveAndTypeOfTheGivenSlot) {
    Preset p = presetWithCurve(2, kCurvilinear, 10, 70, 60, 20);
    p.curveType[3] = kLinear;
    p.curveP1x[3] = 10, p.curveP1y[3] = 70, p.curveP2x[3] = 60, p.curveP2y[3] = 20;

    EXPECT_EQ(identity(), tableOf(p, 0));
    EXPECT_EQ(identity(), tableOf(p, 1));
    EXPECT_EQ(curve(kCurvilinear, 10, 70, 60, 20), tableOf(p, 2));
    EXPECT_EQ(curve(kLinear, 10, 70, 60, 20), tableOf(p, 3));
}

TEST(SensitivityTable, CurveTypesOtherThanOneAreLinear) {
    EXPECT_EQ(curve(kLinear, 10, 70, 60, 20), curve(2, 10, 70, 60, 20));
    EXPECT_EQ(curve(kLinear, 10, 70, 60, 20), curve(0x10000, 10, 70, 60, 20));
}

// --------------------------------------------------- anchors out of the box

// Values such as 65535 come only from a damaged preset file; they must give
// the table of the box edge and stay inside the table.
TEST(SensitivityTable, AnchorsOutsideTheBoxGiveTheTableOfTheBoxEdge) {
    for (uint32_t type : {kLinear, kCurvilinear}) {
        SCOPED_TRACE(type == kLinear ? "linear" : "curvilinear");
        EXPECT_EQ(curve(type, 25, 60, 85, 40), curve(type, 25, 60, 65535, 40));
        EXPECT_EQ(curve(type, 25, 60, 85, 40), curve(type, 25, 60, 86, 40));
        EXPECT_EQ(curve(type, 25, 85, 55, 30), curve(type, 25, 65535, 55, 30));
        EXPECT_EQ(curve(type, 85, 85, 85, 85), curve(type, 65535, 65535, 65535, 65535));
        EXPECT_EQ(curve(type, 85, 60, 55, 30), curve(type, 300, 60, 55, 30));
    }
}

}  // namespace
}  // namespace zentra
