// The calibration's markers, extremes and stored record.
#include <gtest/gtest.h>

#include <vector>

#include "cpl/frame/calibration_logic.h"

namespace zentra {
namespace {

WheelReport report(uint8_t x, uint8_t y, uint8_t z, uint8_t buttons = 0) {
    WheelReport r{};
    r.bytes[kReportX] = x;
    r.bytes[kReportY] = y;
    r.bytes[kReportZ] = z;
    r.bytes[kReportButtons1] = buttons;
    return r;
}

uint32_t word(const uint8_t* record, size_t offset) { return readU32(record + offset); }

TEST(CalibrationMarkers, FollowTheWheelAndThePedals) {
    const struct {
        uint8_t x, y, z;
        MarkerPlace wheel;
        int firstY, secondY;
    } cases[] = {
        {127, 0, 0, {68, 53}, 17, 17},      // centred: the top of the rim
        {0, 255, 255, {29, 92}, 93, 93},    // full left, pedals down
        {255, 128, 1, {106, 93}, 55, 17},
    };
    for (const auto& c : cases) {
        const MarkerPlaces p = markerPlaces(c.x, c.y, c.z);
        EXPECT_EQ(c.wheel.x, p.wheel.x) << int(c.x);
        EXPECT_EQ(c.wheel.y, p.wheel.y) << int(c.x);
        EXPECT_EQ(148, p.firstPedal.x);
        EXPECT_EQ(c.firstY, p.firstPedal.y);
        EXPECT_EQ(186, p.secondPedal.x);
        EXPECT_EQ(c.secondY, p.secondPedal.y);
    }
}

TEST(CalibrationMeasurement, TracksExtremesAndTheRestingCentre) {
    CalibrationMeasurement m;
    resetMeasurement(m);
    EXPECT_FALSE(measurementUsable(m)) << "nothing sampled";
    restStep(m, report(120, 9, 9));
    restStep(m, report(126, 9, 9));
    EXPECT_EQ(126, m.xCentre) << "the last rest step";
    EXPECT_FALSE(measurementUsable(m)) << "the rest steps measure no range";
    for (const WheelReport& r : {report(126, 0, 3), report(10, 200, 3), report(250, 90, 240, 0x01)})
        trackingStep(m, r);
    EXPECT_TRUE(measurementUsable(m));
    EXPECT_EQ(10, m.minimum[0]);
    EXPECT_EQ(250, m.maximum[0]);
    EXPECT_EQ(0, m.minimum[1]);
    EXPECT_EQ(200, m.maximum[1]);
    EXPECT_EQ(3, m.minimum[2]);
    EXPECT_EQ(240, m.maximum[2]);
    EXPECT_EQ(255, m.minimum[3]) << "R is not measured";
    EXPECT_EQ(0, m.maximum[3]);
    EXPECT_EQ(126, m.xCentre) << "tracking keeps the centre";
}

// A measurement is stored only with a range of some width on each axis and
// the centre the record gives it inside that range.
TEST(CalibrationMeasurement, RangesOfNoWidthOrWithTheirCentreOutsideAreRefused) {
    const struct {
        const char* what;
        uint8_t rest;
        std::vector<WheelReport> tracked;
        bool usable;
    } cases[] = {
        {"held still", 127, {report(127, 127, 127)}, false},
        {"wheel turned, pedals still", 127, {report(0, 127, 127), report(255, 127, 127)}, false},
        {"the X centre outside its range", 174, {report(100, 0, 0), report(140, 255, 255)}, false},
        {"Z never reaching 127", 127, {report(0, 0, 0), report(255, 255, 100)}, false},
        {"the narrowest usable ranges", 127, {report(127, 10, 127), report(128, 11, 128)}, true},
        {"full travel", 130, {report(0, 0, 0), report(255, 255, 255)}, true},
    };
    for (const auto& c : cases) {
        CalibrationMeasurement m;
        resetMeasurement(m);
        restStep(m, report(c.rest, 0, 0));
        for (const WheelReport& r : c.tracked) trackingStep(m, r);
        EXPECT_EQ(c.usable, measurementUsable(m)) << c.what;
    }
}

TEST(CalibrationMeasurement, ButtonBytesAreTwoAndThree) {
    WheelReport r{};
    EXPECT_FALSE(reportButtonPressed(r));
    for (int byte : {kReportButtons0, kReportButtons1}) {
        r = WheelReport{};
        r.bytes[byte] = 0x80;
        EXPECT_TRUE(reportButtonPressed(r)) << byte;
    }
    r = WheelReport{};
    r.bytes[4] = 0xFF;
    r.bytes[kReportX] = 0xFF;
    EXPECT_FALSE(reportButtonPressed(r));
}

TEST(CalibrationRecord, MeasuredWordsOverTheSystemConfiguration) {
    uint8_t system[kHardwareConfigSize];
    for (size_t i = 0; i < kHardwareConfigSize; ++i) system[i] = uint8_t(0xA0 + i);
    CalibrationMeasurement m;
    resetMeasurement(m);
    restStep(m, report(131, 0, 0));
    for (const WheelReport& r : {report(5, 11, 20), report(250, 200, 230)}) trackingStep(m, r);
    uint8_t record[kHardwareConfigSize];
    buildCalibrationRecord(record, system, m);

    const struct {
        size_t offset;
        uint32_t value;
    } written[] = {{12, 5},   {16, 11},  {20, 20}, {24, 255}, {36, 250}, {40, 200}, {44, 230},
                   {48, 0},   {60, 131}, {64, 105}, {68, 127}, {72, 127}, {100, 3}};
    bool isWritten[kHardwareConfigSize] = {};
    for (const auto& w : written) {
        EXPECT_EQ(w.value, word(record, w.offset)) << w.offset;
        for (int b = 0; b < 4; ++b) isWritten[w.offset + b] = true;
    }
    for (size_t i = 0; i < kHardwareConfigSize; ++i) {
        if (isWritten[i]) continue;
        EXPECT_EQ(system[i], record[i]) << "byte " << i << " comes from the system";
    }
}

TEST(CalibrationRecord, YCentreRoundsTowardZero) {
    CalibrationMeasurement m;
    resetMeasurement(m);
    for (const WheelReport& r : {report(0, 10, 0), report(0, 13, 0)}) trackingStep(m, r);
    uint8_t system[kHardwareConfigSize]{}, record[kHardwareConfigSize];
    buildCalibrationRecord(record, system, m);
    EXPECT_EQ(11u, word(record, kHwCenterOffset + 4));
}

TEST(CalibrationRecord, NeutralRecordKeepsFlagsPovAndReserved) {
    uint8_t record[kHardwareConfigSize];
    for (size_t i = 0; i < kHardwareConfigSize; ++i) record[i] = 0x5A;
    neutralHardwareRecord(record);
    for (int axis = 0; axis < 4; ++axis) {
        EXPECT_EQ(255u, word(record, kHwMaxOffset + 4 * axis));
        EXPECT_EQ(0u, word(record, kHwMinOffset + 4 * axis));
        EXPECT_EQ(127u, word(record, kHwCenterOffset + 4 * axis));
    }
    for (int axis = 4; axis < 6; ++axis)
        for (size_t base : {kHwMinOffset, kHwMaxOffset, kHwCenterOffset}) EXPECT_EQ(0u, word(record, base + 4 * axis));
    EXPECT_EQ(8u, word(record, kHwButtonsOffset));
    EXPECT_EQ(6u, word(record, kHwUsageOffset));
    EXPECT_EQ(3u, word(record, kHwCalFlagsOffset));
    EXPECT_EQ(13u, word(record, kHwTypeOffset));
    for (size_t offset : {kHwFlagsOffset, kHwPovOffset, kHwPovOffset + 12, kHwReservedOffset})
        EXPECT_EQ(0x5A5A5A5Au, word(record, offset)) << offset;
}

}  // namespace
}  // namespace zentra
