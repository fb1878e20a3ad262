#include "cpl/pages/curve_editor_logic.h"

#include <algorithm>

#include "cpl/pages/test_page_logic.h"
#include "preset/sensitivity.h"

namespace zentra {

namespace {

constexpr uint16_t kDefaultFirst[2] = {25, 60};
constexpr uint16_t kDefaultSecond[2] = {55, 30};
constexpr int kFirstAnchorIds = 105;
constexpr int kSecondAnchorIds = 139;

bool validSlot(int slot) { return slot >= 0 && slot < kAxisSlots; }

uint16_t& xOf(Preset& p, int slot, int anchor) { return anchor == kFirstAnchor ? p.curveP1x[slot] : p.curveP2x[slot]; }
uint16_t& yOf(Preset& p, int slot, int anchor) { return anchor == kFirstAnchor ? p.curveP1y[slot] : p.curveP2y[slot]; }

// Box pixel column of a stored x: slot 0 is measured from the right edge.
int columnOf(int slot, int x) { return slot == 0 ? kCurveBoxMax - x : x; }

}  // namespace

bool anchorOfControl(int id, int& slot, int& anchor) {
    if (id >= kFirstAnchorIds && id < kFirstAnchorIds + kAxisSlots) {
        slot = id - kFirstAnchorIds, anchor = kFirstAnchor;
        return true;
    }
    if (id >= kSecondAnchorIds && id < kSecondAnchorIds + kAxisSlots) {
        slot = id - kSecondAnchorIds, anchor = kSecondAnchor;
        return true;
    }
    return false;
}

BoxPoint storedAnchor(const Preset& preset, int slot, int anchor) {
    if (anchor == kFirstAnchor) return BoxPoint{preset.curveP1x[slot], preset.curveP1y[slot]};
    return BoxPoint{preset.curveP2x[slot], preset.curveP2y[slot]};
}

BoxPoint shownAnchor(BoxPoint stored) {
    return BoxPoint{std::clamp(stored.x, 0, kCurveBoxMax), std::clamp(stored.y, 0, kCurveBoxMax)};
}

BoxPoint anchorWindowCorner(int slot, BoxPoint stored) {
    const int half = kAnchorSize / 2;
    const BoxPoint shown = shownAnchor(stored);
    return BoxPoint{slot == 0 ? kCurveBoxMax - half - shown.x : shown.x - half, shown.y - half};
}

void pullFirstAnchor(Preset& preset, int slot) {
    if (!validSlot(slot) || !isLinearCurve(preset.curveType[slot])) return;
    preset.curveP1x[slot] = std::min(preset.curveP1x[slot], preset.curveP2x[slot]);
}

int linkedSlot(int slot) { return slot == 0 ? 1 : slot == 1 ? 0 : -1; }

int dragAnchorTo(Preset& preset, int slot, int anchor, int x, int y) {
    if (!validSlot(slot)) return -1;
    // The user works on the curve the box shows: from now on it is stored
    // that way, so that the constraint below compares what is seen.
    for (int a : {kFirstAnchor, kSecondAnchor}) {
        const BoxPoint shown = shownAnchor(storedAnchor(preset, slot, a));
        xOf(preset, slot, a) = uint16_t(shown.x);
        yOf(preset, slot, a) = uint16_t(shown.y);
    }
    const int p = std::clamp(x, 0, kCurveBoxMax), q = std::clamp(y, 0, kCurveBoxMax);
    xOf(preset, slot, anchor) = uint16_t(columnOf(slot, p));
    yOf(preset, slot, anchor) = uint16_t(q);
    if (isLinearCurve(preset.curveType[slot])) {
        uint16_t& first = preset.curveP1x[slot];
        uint16_t& second = preset.curveP2x[slot];
        if (anchor == kFirstAnchor && first >= second) first = second;
        if (anchor == kSecondAnchor && second <= first) second = first;
    }
    const int other = linkedSlot(slot);
    if (other < 0) return -1;
    preset.curveP1x[other] = preset.curveP1x[slot];
    preset.curveP1y[other] = preset.curveP1y[slot];
    preset.curveP2x[other] = preset.curveP2x[slot];
    preset.curveP2y[other] = preset.curveP2y[slot];
    return other;
}

void resetCurveAnchors(Preset& preset, int slot) {
    if (!validSlot(slot)) return;
    preset.curveP1x[slot] = kDefaultFirst[0];
    preset.curveP1y[slot] = kDefaultFirst[1];
    preset.curveP2x[slot] = kDefaultSecond[0];
    preset.curveP2y[slot] = kDefaultSecond[1];
}

uint32_t flipCurveType(Preset& preset, int slot) {
    if (!validSlot(slot)) return 0;
    preset.curveType[slot] = preset.curveType[slot] == 1 ? 0 : 1;
    return preset.curveType[slot];
}

int curveTypeButtonText(uint32_t type) { return type == 1 ? 15 : 14; }

int markerInput(int slot, const WheelAxes& axes, bool pedalsLinked) {
    constexpr int64_t kTop = kSensitivityEntries - 1;
    // A device may report outside 0..65535: the input stays an index of the
    // 128-entry table whatever it reports.
    const int64_t x = std::clamp<int64_t>(steeringPosition(axes.x), 0, 65535);
    if (slot == 0) return x < kSteeringCentre ? int((kSteeringCentre - x) * kTop / kSteeringCentre) : 0;
    if (slot == 1) return x > kSteeringCentre ? int((x - kSteeringCentre) * kTop / (65535 - kSteeringCentre)) : 0;
    const PedalGauges gauges = pedalGauges(axes.y, axes.z, axes.rz, pedalsLinked);
    const int64_t shown = std::min<uint32_t>(slot == 2 ? gauges.first : gauges.second, 65535);
    return int((65535 - shown) * kTop / 65535);
}

BoxPoint markerPoint(int slot, int input, int output) {
    constexpr int kTop = kSensitivityEntries - 1;
    const int across = std::clamp(input, 0, kTop) * kCurveBoxMax / kTop;
    return BoxPoint{columnOf(slot, across), kCurveBoxMax - std::clamp(output, 0, kTop) * kCurveBoxMax / kTop};
}

CurveDrawing curveDrawing(const Preset& preset, int slot) {
    CurveDrawing d{};
    const int m = kCurveBoxMax;
    d.diagonal[0] = slot == 0 ? BoxPoint{m, m} : BoxPoint{0, m};
    d.diagonal[1] = slot == 0 ? BoxPoint{0, 0} : BoxPoint{m, 0};
    d.points[0] = d.diagonal[0];
    d.points[3] = d.diagonal[1];
    for (int anchor : {kFirstAnchor, kSecondAnchor}) {
        const BoxPoint shown = shownAnchor(storedAnchor(preset, slot, anchor));
        d.points[1 + anchor] = BoxPoint{columnOf(slot, shown.x), shown.y};
    }
    d.bezier = preset.curveType[slot] == 1;
    return d;
}

}  // namespace zentra
