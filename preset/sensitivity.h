// The 128-entry response table of one axis slot's curve.
#pragma once

#include <cstdint>

#include "preset/preset.h"

namespace zentra {

constexpr int kSensitivityEntries = 128;
constexpr int kCurveBoxMax = 85;  // anchors are in an 86 x 86 box, 0..85

// Entry i is the output (0..127) for input i (0..127).
struct SensitivityTable {
    uint8_t entry[kSensitivityEntries];
};

// An anchor in table units: X = x * 127 / 85, Y = (85 - y) * 127 / 85, in
// integer arithmetic. Coordinates outside the box are taken at its edge.
struct TablePoint {
    int x, y;
};
TablePoint anchorToTable(unsigned boxX, unsigned boxY);

// Fills `table` from the curve of `slot` (0..3) in `preset`: a cubic Bezier
// through the anchors when its curve type is 1, three straight segments
// otherwise.
void buildSensitivityTable(SensitivityTable& table, const Preset& preset, int slot);

}  // namespace zentra
