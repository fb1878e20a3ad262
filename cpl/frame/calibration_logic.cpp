// The calibration's arithmetic.
#include "cpl/frame/calibration_logic.h"

#include <cmath>

namespace zentra {

namespace {

constexpr int kMeasuredAxes = 3;
constexpr int kAxisByte[kMeasuredAxes] = {kReportX, kReportY, kReportZ};
constexpr int kAxisX = 0, kAxisY = 1, kAxisZ = 2, kAxisR = 3, kAxisU = 4, kAxisV = 5;

void setWord(uint8_t* record, size_t base, int axis, uint32_t value) { writeU32(record + base + 4 * axis, value); }

}  // namespace

void resetMeasurement(CalibrationMeasurement& m) {
    for (int axis = 0; axis < 4; ++axis) {
        m.minimum[axis] = 255;
        m.maximum[axis] = 0;
    }
    m.xCentre = 0;
}

void restStep(CalibrationMeasurement& m, const WheelReport& report) { m.xCentre = report.bytes[kReportX]; }

void trackingStep(CalibrationMeasurement& m, const WheelReport& report) {
    for (int axis = 0; axis < kMeasuredAxes; ++axis) {
        const uint8_t value = report.bytes[kAxisByte[axis]];
        if (value >= m.maximum[axis]) m.maximum[axis] = value;
        if (value <= m.minimum[axis]) m.minimum[axis] = value;
    }
}

bool reportButtonPressed(const WheelReport& report) {
    return report.bytes[kReportButtons0] != 0 || report.bytes[kReportButtons1] != 0;
}

bool measurementComplete(const CalibrationMeasurement& m) {
    for (int axis = 0; axis < kMeasuredAxes; ++axis)
        if (m.maximum[axis] < m.minimum[axis]) return false;
    return true;
}

MarkerPlaces markerPlaces(uint8_t x, uint8_t y, uint8_t z) {
    const double angle = (127 - int(x)) * 3.1415 / 255;
    MarkerPlaces p;
    p.wheel = MarkerPlace{int(72 - 39 * std::sin(angle) - 4), int(97 - 40 * std::cos(angle) - 4)};
    p.firstPedal = MarkerPlace{148, 17 + (76 * int(y)) / 255};
    p.secondPedal = MarkerPlace{186, 17 + (76 * int(z)) / 255};
    return p;
}

void buildCalibrationRecord(uint8_t (&record)[kHardwareConfigSize], const uint8_t (&system)[kHardwareConfigSize],
                            const CalibrationMeasurement& m) {
    for (size_t i = 0; i < kHardwareConfigSize; ++i) record[i] = system[i];
    for (int axis = kAxisX; axis <= kAxisZ; ++axis) {
        setWord(record, kHwMinOffset, axis, m.minimum[axis]);
        setWord(record, kHwMaxOffset, axis, m.maximum[axis]);
    }
    setWord(record, kHwMinOffset, kAxisR, 255);
    setWord(record, kHwMaxOffset, kAxisR, 0);
    setWord(record, kHwCenterOffset, kAxisX, m.xCentre);
    // Signed division, rounding toward zero, as the record's words are read.
    const int32_t yCentre = int32_t(m.minimum[kAxisY]) + (int32_t(m.maximum[kAxisY]) - int32_t(m.minimum[kAxisY])) / 2;
    setWord(record, kHwCenterOffset, kAxisY, uint32_t(yCentre));
    setWord(record, kHwCenterOffset, kAxisZ, 127);
    setWord(record, kHwCenterOffset, kAxisR, 127);
    writeU32(record + kHwCalFlagsOffset, 3);
}

void neutralHardwareRecord(uint8_t (&record)[kHardwareConfigSize]) {
    for (int axis = kAxisX; axis <= kAxisR; ++axis) {
        setWord(record, kHwMaxOffset, axis, 255);
        setWord(record, kHwMinOffset, axis, 0);
        setWord(record, kHwCenterOffset, axis, 127);
    }
    for (int axis = kAxisU; axis <= kAxisV; ++axis) {
        setWord(record, kHwMaxOffset, axis, 0);
        setWord(record, kHwMinOffset, axis, 0);
        setWord(record, kHwCenterOffset, axis, 0);
    }
    writeU32(record + kHwButtonsOffset, 8);
    writeU32(record + kHwUsageOffset, 6);
    writeU32(record + kHwCalFlagsOffset, 3);
    writeU32(record + kHwTypeOffset, 13);
}

}  // namespace zentra
