#include "preset/sensitivity.h"

#include <cstring>

namespace zentra {

namespace {

// The driver takes these tables as they are computed here; the float
// roundings and the evaluation order below are what it has always received.

void buildBezier(uint8_t* out, TablePoint p1, TablePoint p2) {
    const double p0x = 0.0, p0y = 0.0;
    const double p1x = p1.x, p1y = p1.y, p2x = p2.x, p2y = p2.y;
    const double p3x = 127.0, p3y = 127.0;
    for (double t = 0.0; t < 1.0; t = t + 0.001) {
        const double u = 1.0 - t;
        const double x = (p1x * u + p2x * t) * u * t * 3.0 + p3x * t * t * t + p0x * u * u * u;
        const double y = (p1y * u + p2y * t) * u * t * 3.0 + p3y * t * t * t + p0y * u * u * u;
        const int ix = int(x);
        // With the anchors inside the box x stays in [0, 127); the test only
        // guards the table.
        if (ix >= 0 && ix < kSensitivityEntries) out[ix] = uint8_t(int(y));
    }
    out[127] = 127;
}

void fillSegment(uint8_t* out, int from, int to, float slope, float intercept) {
    if (from < 0) from = 0;
    if (to > kSensitivityEntries) to = kSensitivityEntries;
    for (int i = from; i < to; ++i) out[i] = uint8_t(int(double(i) * double(slope) + double(intercept)));
}

float interceptFor(int x, int y, float slope) { return float(double(y) - double(x) * double(slope)); }

void buildLinear(uint8_t* out, TablePoint p1, TablePoint p2) {
    if (p1.x != 0) fillSegment(out, 0, p1.x, float(p1.y) / float(p1.x), 0.0f);
    if (p2.x != p1.x) {
        const float slope = float(p1.y - p2.y) / float(p1.x - p2.x);
        fillSegment(out, p1.x, p2.x, slope, interceptFor(p1.x, p1.y, slope));
    }
    if (p2.x != 127) {
        const float slope = float((double(p2.y) - 127.0) / (double(p2.x) - 127.0));
        fillSegment(out, p2.x, 127, slope, interceptFor(p2.x, p2.y, slope));
        out[127] = 127;
    } else {
        out[127] = out[126];
    }
}

unsigned clampToBox(unsigned v) { return v > kCurveBoxMax ? kCurveBoxMax : v; }

}  // namespace

TablePoint anchorToTable(unsigned boxX, unsigned boxY) {
    const int x = int(clampToBox(boxX));
    const int y = int(clampToBox(boxY));
    return {x * 127 / 85, (85 - y) * 127 / 85};
}

void buildSensitivityTable(SensitivityTable& table, const Preset& preset, int slot) {
    const TablePoint p1 = anchorToTable(preset.curveP1x[slot], preset.curveP1y[slot]);
    const TablePoint p2 = anchorToTable(preset.curveP2x[slot], preset.curveP2y[slot]);
    uint8_t work[kSensitivityEntries];
    std::memset(work, 0, sizeof work);
    if (preset.curveType[slot] == 1)
        buildBezier(work, p1, p2);
    else
        buildLinear(work, p1, p2);
    std::memcpy(table.entry, work, sizeof work);
}

}  // namespace zentra
