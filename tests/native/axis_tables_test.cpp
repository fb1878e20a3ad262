// The 256-entry axis tables: the control panel's centred and pedal tables and
// the tray loader's centred table, for the default (identity) curve, for flat
// curves and for single curve points.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver/axis_tables.h"
#include "driver_test_support.h"

namespace zentra {
namespace {

using test::flatCurve;
using test::identityCurve;
using test::ints;

// Tables start out full of garbage, so that every entry left unwritten shows.
AxisTable symmetric(const SensitivityTable& curve, bool invert) {
    AxisTable t;
    std::memset(t.entry, 0x5A, sizeof t.entry);
    buildSymmetricTable(t, curve, 0, 128, 255, invert);
    return t;
}

AxisTable pedal(const SensitivityTable& curve) {
    AxisTable t;
    std::memset(t.entry, 0x5A, sizeof t.entry);
    buildPedalTable(t, curve, 0, 255);
    return t;
}

AxisTable loader(const SensitivityTable& curve, bool invert) {
    AxisTable t;
    std::memset(t.entry, 0x5A, sizeof t.entry);
    buildLoaderTable(t, curve, 0, 128, 255, invert);
    return t;
}

std::vector<int> all(const AxisTable& t) { return ints(t.entry, 0, 255); }

std::vector<int> filled(int from, int to, int value) { return std::vector<int>(size_t(to - from + 1), value); }

// The identity curve with curve point 1 raised to 100: a point that lands
// on a different table position in each centred builder.
SensitivityTable identityWithRaisedSecondPoint() {
    SensitivityTable c = identityCurve();
    c.entry[1] = 100;
    return c;
}

// ------------------------------------------------- control panel, centred

TEST(SymmetricTable, IdentityCurveBeginsOneOneTwoThreeAndEndsAtTwoFiftyFour) {
    const AxisTable t = symmetric(identityCurve(), false);
    EXPECT_EQ((std::vector<int>{1, 1, 2, 3}), ints(t.entry, 0, 3));
    EXPECT_EQ((std::vector<int>{126, 127, 128, 129, 130}), ints(t.entry, 126, 130));
    EXPECT_EQ((std::vector<int>{252, 253, 254, 254}), ints(t.entry, 252, 255));
}

TEST(SymmetricTable, IdentityCurveLeavesEveryPositionButTheTwoEndsUnchanged) {
    const AxisTable t = symmetric(identityCurve(), false);
    for (int i = 1; i <= 254; ++i) EXPECT_EQ(i, t.entry[i]) << i;
}

TEST(SymmetricTable, InvertedIdentityCurveBeginsAtTwoFiftyFourAndEndsAtOne) {
    const AxisTable t = symmetric(identityCurve(), true);
    EXPECT_EQ((std::vector<int>{254, 254, 253, 252}), ints(t.entry, 0, 3));
    EXPECT_EQ((std::vector<int>{3, 2, 1, 1}), ints(t.entry, 252, 255));
}

TEST(SymmetricTable, InvertedIdentityCurveMirrorsTheUninvertedTable) {
    const AxisTable straight = symmetric(identityCurve(), false);
    const AxisTable inverted = symmetric(identityCurve(), true);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(255 - straight.entry[i], inverted.entry[i]) << i;
}

TEST(SymmetricTable, FlatZeroCurveHoldsTheWholeAxisAtTheCentre) {
    EXPECT_EQ(filled(0, 255, 128), all(symmetric(flatCurve(0), false)));
    EXPECT_EQ(filled(0, 255, 128), all(symmetric(flatCurve(0), true)));
}

TEST(SymmetricTable, FullCurveThrowsEachHalfToItsEnd) {
    // Lower half scaled by 128: 127; upper half by 127: 126.
    const AxisTable t = symmetric(flatCurve(127), false);
    EXPECT_EQ(filled(0, 127, 1), ints(t.entry, 0, 127));
    EXPECT_EQ(filled(128, 255, 254), ints(t.entry, 128, 255));
}

TEST(SymmetricTable, InvertedFullCurveSwapsTheScalesOfTheTwoHalves) {
    // Inverted, the lower half is scaled by 127 and the upper by 128.
    const AxisTable t = symmetric(flatCurve(127), true);
    EXPECT_EQ(filled(0, 127, 254), ints(t.entry, 0, 127));
    EXPECT_EQ(filled(128, 255, 1), ints(t.entry, 128, 255));
}

TEST(SymmetricTable, HalfCurveShowsWhichScaleEachHalfTakes) {
    const AxisTable straight = symmetric(flatCurve(64), false);
    EXPECT_EQ(filled(0, 127, 64), ints(straight.entry, 0, 127));
    EXPECT_EQ(filled(128, 255, 191), ints(straight.entry, 128, 255));
    const AxisTable inverted = symmetric(flatCurve(64), true);
    EXPECT_EQ(filled(0, 127, 191), ints(inverted.entry, 0, 127));
    EXPECT_EQ(filled(128, 255, 64), ints(inverted.entry, 128, 255));
}

TEST(SymmetricTable, CurvePointsSharingAnUpperPositionLeaveTheLaterOneThere) {
    // Upper half: points 0 and 1 both land on position 0, point 1 wins:
    // 128 + (100 * 127) / 128. Point 2 lands on position 1.
    const AxisTable t = symmetric(identityWithRaisedSecondPoint(), false);
    EXPECT_EQ((std::vector<int>{227, 129, 130}), ints(t.entry, 128, 130));
    // Lower half: point 1 lands on position 1 below the centre.
    EXPECT_EQ((std::vector<int>{126, 28}), ints(t.entry, 126, 127));
}

TEST(SymmetricTable, StoredValuesWrapModulo256) {
    // A curve beyond its range: 128 - 255 and 128 + (255 * 127) / 128.
    const AxisTable t = symmetric(flatCurve(255), false);
    EXPECT_EQ(filled(0, 127, 129), ints(t.entry, 0, 127));
    EXPECT_EQ(filled(128, 255, 125), ints(t.entry, 128, 255));
}

// --------------------------------------------------- control panel, pedals

TEST(PedalTable, IdentityCurveBeginsZeroZeroZeroThreeAndEndsAtTwoFiftyFour) {
    const AxisTable t = pedal(identityCurve());
    EXPECT_EQ((std::vector<int>{0, 0, 0, 3}), ints(t.entry, 0, 3));
    EXPECT_EQ((std::vector<int>{251, 253, 253, 254}), ints(t.entry, 252, 255));
}

TEST(PedalTable, IdentityCurveClimbsWithoutEverFalling) {
    const AxisTable t = pedal(identityCurve());
    for (int i = 1; i < 256; ++i) EXPECT_LE(t.entry[i - 1], t.entry[i]) << i;
}

TEST(PedalTable, FullCurveGivesZeroOverTheTravelAndOneAtItsEnd) {
    const AxisTable t = pedal(flatCurve(127));
    EXPECT_EQ(filled(0, 254, 0), ints(t.entry, 0, 254));
    EXPECT_EQ(1, t.entry[255]);
}

TEST(PedalTable, LastCurvePointDrivesTheStartOfTheTravel) {
    // The curve is read backwards: point 127 gives positions 0..2,
    // 255 - (100 * 255) / 127.
    SensitivityTable c = identityCurve();
    c.entry[127] = 100;
    const AxisTable t = pedal(c);
    EXPECT_EQ((std::vector<int>{55, 55, 55, 3}), ints(t.entry, 0, 3));
    EXPECT_EQ((std::vector<int>{251, 253, 253, 254}), ints(t.entry, 252, 255));
}

// -------------------------------------------------- tray loader, centred

TEST(LoaderTable, IdentityCurveCentresOnTwoEqualEntriesAndEndsAtTwoFiftyThree) {
    const AxisTable t = loader(identityCurve(), false);
    EXPECT_EQ((std::vector<int>{126, 127, 128, 128, 129}), ints(t.entry, 126, 130));
    EXPECT_EQ((std::vector<int>{251, 252, 253, 253}), ints(t.entry, 252, 255));
}

TEST(LoaderTable, IdentityCurveDiffersFromThePanelTableOnlyInTheUpperHalf) {
    const AxisTable ours = loader(identityCurve(), false);
    const AxisTable panel = symmetric(identityCurve(), false);
    EXPECT_EQ(ints(panel.entry, 0, 128), ints(ours.entry, 0, 128));
    for (int i = 129; i <= 255; ++i) EXPECT_EQ(panel.entry[i] - 1, ours.entry[i]) << i;
}

TEST(LoaderTable, InvertedIdentityCurveRunsFromTwoFiftyFourDownToOne) {
    const AxisTable t = loader(identityCurve(), true);
    EXPECT_EQ((std::vector<int>{254, 254, 253, 252}), ints(t.entry, 0, 3));
    EXPECT_EQ((std::vector<int>{129, 128, 128, 127, 126}), ints(t.entry, 126, 130));
    EXPECT_EQ((std::vector<int>{4, 3, 2, 1}), ints(t.entry, 252, 255));
}

TEST(LoaderTable, FlatZeroCurveHoldsTheWholeAxisAtTheCentre) {
    EXPECT_EQ(filled(0, 255, 128), all(loader(flatCurve(0), false)));
}

TEST(LoaderTable, FullCurveThrowsEachHalfToItsEnd) {
    const AxisTable t = loader(flatCurve(127), false);
    EXPECT_EQ(filled(0, 127, 1), ints(t.entry, 0, 127));
    EXPECT_EQ(filled(128, 255, 254), ints(t.entry, 128, 255));
}

TEST(LoaderTable, InvertedUpperTailClimbsOneStepPastTheLastValue) {
    // Inverted, the upper half is scaled by 128 (127 each) and its tail is
    // one more: 128 - 128 at the last position.
    const AxisTable t = loader(flatCurve(127), true);
    EXPECT_EQ(filled(0, 127, 254), ints(t.entry, 0, 127));
    EXPECT_EQ(filled(128, 254, 1), ints(t.entry, 128, 254));
    EXPECT_EQ(0, t.entry[255]);
}

TEST(LoaderTable, SamplesTheCurveSoEachPointKeepsItsOwnUpperPosition) {
    // Upper position 1 samples point 1: 128 + (100 * 127) / 128; position 0
    // keeps point 0.
    const AxisTable t = loader(identityWithRaisedSecondPoint(), false);
    EXPECT_EQ((std::vector<int>{128, 227, 129}), ints(t.entry, 128, 130));
    EXPECT_EQ((std::vector<int>{126, 28, 128}), ints(t.entry, 126, 128));
}

}  // namespace
}  // namespace zentra
