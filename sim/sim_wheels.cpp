#include "sim/sim_wheels.h"

#include <cstring>

namespace zentra::sim {

namespace {

constexpr char kHidClassGuid[] = "{4d1e55b2-f16f-11cf-88cb-001111000030}";
constexpr char kDriverClassGuid[] = "{6dc8db13-745f-451c-978f-0cae798581cd}";

std::string narrowPath(int wheel) {
    return std::string("\\\\?\\hid#") + kSimHidVendorProduct + "#" + simHidInstance(wheel) + "#" + kHidClassGuid;
}

}  // namespace

std::string simInstance(int wheel) {
    return "INST_" + std::to_string(wheel) + "&6&2c8e31f&0&" + std::to_string(wheel + 1);
}

std::string simEnumEntry(int wheel) {
    return std::string("USB\\") + kSimVendorProduct + "\\" + simInstance(wheel);
}

std::string simLinkName(int wheel) { return std::string("\\\\.\\") + kSimVendorProduct + "#" + simInstance(wheel); }

std::string simDriverClassSubkey(int wheel) {
    return std::string("##?#USB#") + kSimVendorProduct + "#" + simInstance(wheel) + "#" + kDriverClassGuid;
}

std::string simParentIdPrefix(int wheel) { return "7&2f4a1d6&" + std::to_string(wheel); }

std::string simHidInstance(int wheel) { return simParentIdPrefix(wheel) + "&0000"; }

std::wstring simHidPath(int wheel) {
    std::string path = narrowPath(wheel);  // ASCII only
    return std::wstring(path.begin(), path.end());
}

std::string simHidClassSubkey(int wheel) {
    std::string name = narrowPath(wheel);
    name[0] = name[1] = name[3] = '#';
    return name;
}

std::string simHidDeviceInstance(int wheel) {
    return std::string("HID\\USB#") + kSimVendorProduct + "#" + simInstance(wheel) + "\\0000";
}

namespace {

uint8_t byteOf(double value) {
    const double rounded = value + 0.5;
    return rounded <= 0 ? 0 : rounded >= 255 ? 255 : static_cast<uint8_t>(rounded);
}

// Triangle from 0 up to 1 at the middle and back to 0, for p in [0, 1].
double rise(double p) { return p < 0.5 ? 2 * p : 2 - 2 * p; }

}  // namespace

void sweepReport(int step, int steps, uint8_t (&report)[SIM_WHEEL_REPORT_SIZE]) {
    const uint8_t rest[SIM_WHEEL_REPORT_SIZE] = SIM_DEFAULT_REPORT_INIT;
    std::memcpy(report, rest, sizeof report);
    if (steps <= 0 || step < 0 || step >= steps) return;
    const double p = double(step) / double(steps - 1 > 0 ? steps - 1 : 1);
    // Wheel: centre, full left at a quarter, full right at three quarters.
    const double turn = p < 0.25 ? -4 * p : p < 0.75 ? -1 + 4 * (p - 0.25) : 1 - 4 * (p - 0.75);
    report[5] = byteOf(127.5 + 127.5 * turn);
    // First pedal over the first half, second pedal over the second.
    report[6] = p <= 0.5 ? byteOf(255 * rise(2 * p)) : 0;
    report[7] = p >= 0.5 ? byteOf(255 * rise(2 * p - 1)) : 0;
}

}  // namespace zentra::sim
