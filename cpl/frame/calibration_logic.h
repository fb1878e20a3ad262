// The calibration's arithmetic, without a window: the measured extremes and
// the wheel's centre, where the three markers go for a report, and the
// 112-byte hardware record built from a measurement and the system's
// configuration of the joystick.
#pragma once

#include <cstdint>

#include "driver/protocol.h"

namespace zentra {

// Report bytes of the three measured axes and the two button bytes.
constexpr int kReportX = 5, kReportY = 6, kReportZ = 7;
constexpr int kReportButtons0 = 2, kReportButtons1 = 3;

// Extremes of X, Y, Z and R (R is never measured) and the X centre.
struct CalibrationMeasurement {
    uint8_t minimum[4];
    uint8_t maximum[4];
    uint8_t xCentre;
};

// Minima 255, maxima 0: nothing sampled yet.
void resetMeasurement(CalibrationMeasurement& m);

// Phase 0: the wheel is at rest; its X byte is the centre.
void restStep(CalibrationMeasurement& m, const WheelReport& report);
// Phase 1: X, Y and Z widen their extremes.
void trackingStep(CalibrationMeasurement& m, const WheelReport& report);

// A wheel button is down in the report.
bool reportButtonPressed(const WheelReport& report);

// Whether the measurement is a calibration: on each measured axis (X, Y,
// Z) a range of some width, with the centre the record stores for it (the
// resting X, the middle of Y, 127 for Z) inside. A wheel held still gives
// ranges of no width, an axis never sampled one of 255 down to 0, and
// either would leave the driver an axis it cannot scale.
bool measurementUsable(const CalibrationMeasurement& m);

// What the dialog says when it refuses a measurement, in the user-interface
// language (one of the string tables' seven; English for any other).
const char* calibrationRefusedText(uint16_t uiLanguage);

// The dialog's markers for the report bytes X, Y, Z: the wheel marker on
// the wheel's rim, the pedal markers down their gauges; each 8 x 8.
struct MarkerPlace {
    int x, y;
};
struct MarkerPlaces {
    MarkerPlace wheel, firstPedal, secondPedal;
};
MarkerPlaces markerPlaces(uint8_t x, uint8_t y, uint8_t z);

// The record stored as "Joystick%dConfiguration": the system's hardware
// configuration of the joystick (`system`, the JOYREGHWCONFIG of its
// DIJOYCONFIG; zero when it could not be read) with the measured ranges and
// centres and the calibrated flags written over it.
void buildCalibrationRecord(uint8_t (&record)[kHardwareConfigSize], const uint8_t (&system)[kHardwareConfigSize],
                            const CalibrationMeasurement& m);

// The in-memory record while the dialog runs: neutral ranges (maxima 255,
// minima 0, centres 127, U and V 0), 8 buttons, usage settings 6,
// calibration flags 3, type 13; the flags word, the point-of-view values
// and the reserved word keep theirs.
void neutralHardwareRecord(uint8_t (&record)[kHardwareConfigSize]);

// Offsets of the record's other words.
constexpr size_t kHwFlagsOffset = 0;
constexpr size_t kHwButtonsOffset = 4;
constexpr size_t kHwUsageOffset = 8;
constexpr size_t kHwPovOffset = 84;
constexpr size_t kHwCalFlagsOffset = 100;
constexpr size_t kHwTypeOffset = 104;
constexpr size_t kHwReservedOffset = 108;

}  // namespace zentra
