// The test page's arithmetic.
#include "cpl/pages/test_page_logic.h"

#include <algorithm>
#include <cmath>

namespace zentra {

namespace {

constexpr double kPi = 3.1415;

struct Dot {
    double radius, baseDegrees;
};
// Buttons 2 to 7.
constexpr Dot kDots[6] = {{34.9, -62.7}, {34.0, 61.9}, {87.0, -77.8}, {87.0, 78.2}, {37.2, -83.8}, {36.2, 83.7}};

constexpr int32_t kDeadBandLow = 30768, kDeadBandHigh = 34767;

}  // namespace

int videoFrame(int32_t x) { return int((int64_t(x) * 45) / 65535); }

PagePoint buttonDot(int button, int frame) {
    if (button < 2 || button > 7) return PagePoint{0, 0};
    const Dot& d = kDots[button - 2];
    const double a = (d.baseDegrees - 110 + 5 * frame) * kPi / 180;
    return PagePoint{227 + int(std::trunc(d.radius * std::sin(a))), 185 - int(std::trunc(d.radius * std::cos(a)))};
}

int32_t steeringPosition(int32_t x) { return x >= kDeadBandLow && x < kDeadBandHigh ? kSteeringCentre : x; }

PagePoint steeringMarker(int32_t x) {
    const double a = double(steeringPosition(x) - kSteeringCentre) * kPi * 1.7802463860998362e-5;
    return PagePoint{int(std::trunc(228 + 110 * std::sin(a))), int(std::trunc(200 - 120 * std::cos(a)))};
}

PedalGauges pedalGauges(int32_t y, int32_t z, int32_t rz, bool linked) {
    if (!linked) return PedalGauges{uint32_t(y), uint32_t(rz > z ? rz : z)};
    // Past 65530 the first pedal's value would go below 0: it shows full.
    if (y >= 32765) return PedalGauges{uint32_t(std::max<int64_t>(0, 131060 - 2 * int64_t(y))), 65530};
    return PedalGauges{65530, uint32_t(2 * int64_t(y))};
}

int gaugeLength(uint32_t value) {
    if (value >= 65535) return 0;
    return int((65535 - value) / 700);
}

bool firstPedalPressed(int32_t y, bool linked) { return linked ? y >= 40766 : y < 57535; }

bool secondPedalPressed(uint32_t secondGauge, int32_t y, bool linked) {
    return linked ? y < 24765 : secondGauge < 57535;
}

}  // namespace zentra
