// The 256-entry axis tables the driver reshapes the raw axes with, built
// from a 128-entry response curve.
#pragma once

#include <cstdint>

#include "preset/sensitivity.h"

namespace zentra {

struct AxisTable {
    uint8_t entry[256];
};

// The control panel's centred table (steering, X). lo, mid, hi are 0, 128,
// 255 wherever it is used.
void buildSymmetricTable(AxisTable& table, const SensitivityTable& curve, int lo, int mid, int hi, bool invert);

// The control panel's one-sided table (pedals, Y and Z), with lo 0 and hi 255.
void buildPedalTable(AxisTable& table, const SensitivityTable& curve, int lo, int hi);

// The tray loader's centred table (X, Y and Z).
void buildLoaderTable(AxisTable& table, const SensitivityTable& curve, int lo, int mid, int hi, bool invert);

}  // namespace zentra
