// The axis calibration dialog (template 174): the user turns the wheel and
// presses the pedals through their whole travel; the measured extremes are
// stored as "Joystick%dConfiguration" and reloaded for the driver.
#pragma once

#include <windows.h>

#include "cpl/frame/calibration_logic.h"

namespace zentra {

// Dialog results.
constexpr INT_PTR kCalibrationStored = 12;
constexpr INT_PTR kCalibrationCancelled = 10;

// Runs the modal dialog over `parentWindow` (a child page of the main
// page). When the calibration is stored the whole sheet closes as with OK.
// Returns the dialog's result.
INT_PTR OpenCalibration(HWND parentWindow);

// Control ids of the dialog.
constexpr int kCalibrationConfirm = 1;
constexpr int kCalibrationCancel = 2;
constexpr int kWheelMarker = 148;
constexpr int kFirstPedalMarker = 274;
constexpr int kSecondPedalMarker = 149;
constexpr int kFirstInstruction = 270;
constexpr int kSecondInstruction = 271;

// What the dialog holds while it runs; one dialog exists at a time.
struct CalibrationState {
    HWND dialog;
    int phase;          // 0 waiting for the rest position, 1 tracking the extremes
    int confirmPicture; // 1 while at rest, 0 once tracking
    CalibrationMeasurement measurement;
    WheelReport report; // the last report read
    HPEN pen;
    HICON marker;
};
CalibrationState& calibrationState();

}  // namespace zentra
