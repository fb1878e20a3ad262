#include "sim/sim_wheels.h"

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

}  // namespace zentra::sim
