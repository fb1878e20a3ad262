// The names of the simulated wheels: the texts the setup writes into the
// registry and the link names the driver publishes, in the forms the
// deliverables' link discovery reads. One piece of code, used by the setup
// and by the tests.
//
// Wheel i (0 <= i < kSimMaxWheels) has
//   instance text      INST_<i>&6&2c8e31f&0&<i+1>
//   Enum entry         USB\Vid_1d5a&Pid_c0de\<instance>
//   link name          \\.\Vid_1d5a&Pid_c0de#<instance>
//   HID instance       7&2f4a1d6&<i>&0000
//   ParentIdPrefix     7&2f4a1d6&<i>
//   HID device path    \\?\hid#vid_1d5a&pid_c0de#<HID instance>#{4d1e55b2-f16f-11cf-88cb-001111000030}
// The instance text carries INST_<i> for the scheme that reads the wheel's
// number after "INST_"; a one-digit wheel number keeps each ParentIdPrefix a
// substring of its own wheel's HID instance only.
#pragma once

#include <string>

#include "sim/sim_protocol.h"

namespace zentra::sim {

constexpr int kSimMaxWheels = static_cast<int>(SIM_MAX_WHEELS);
static_assert(kSimMaxWheels <= 10, "wheel numbers are one digit");

// The vendor-and-product part (17 characters) as the USB instance path and
// the link name spell it, and as the HID device path spells it.
constexpr char kSimVendorProduct[] = "Vid_1d5a&Pid_c0de";
constexpr char kSimHidVendorProduct[] = "vid_1d5a&pid_c0de";
static_assert(sizeof kSimVendorProduct - 1 == 17, "17-character vendor-and-product part");

// Registry keys under HKEY_LOCAL_MACHINE.
constexpr char kSimEnumKey[] = "System\\CurrentControlSet\\Services\\ZentraXP\\Enum";
constexpr char kSimDriverClassKey[] =
    "System\\CurrentControlSet\\Control\\DeviceClasses\\{6DC8DB13-745F-451c-978F-0CAE798581CD}";
constexpr char kSimHidClassKey[] =
    "System\\CurrentControlSet\\Control\\DeviceClasses\\{4d1e55b2-f16f-11cf-88cb-001111000030}";
constexpr char kSimPanelKey[] = "SOFTWARE\\Morvenhollow Corporation\\Morvenhollow Wheel\\Control Panel";
// Below a driver-class subkey: the key holding "SymLinkCpl" and "ParentIdPrefix".
constexpr char kSimDeviceParametersKey[] = "#\\Device Parameters";

// Start of the names of the simulated wheels' subkeys in the two class keys,
// by which the setup finds the ones to remove.
constexpr char kSimDriverClassSubkeyStart[] = "##?#USB#Vid_1d5a&Pid_c0de#";
constexpr char kSimHidClassSubkeyStart[] = "##?#hid#vid_1d5a&pid_c0de#";

std::string simInstance(int wheel);
std::string simEnumEntry(int wheel);
std::string simLinkName(int wheel);
// The driver class subkey: ##?#USB#Vid_1d5a&Pid_c0de#<instance>#{6dc8db13-...}
std::string simDriverClassSubkey(int wheel);
std::string simParentIdPrefix(int wheel);
std::string simHidInstance(int wheel);
std::wstring simHidPath(int wheel);
// The HID class subkey: the HID device path with its characters 0, 1 and 3
// replaced by '#'.
std::string simHidClassSubkey(int wheel);
// The HID class "DeviceInstance": HID\USB#Vid_1d5a&Pid_c0de#<instance>\0000
std::string simHidDeviceInstance(int wheel);

// One step of a sweep of `steps` steps that turns the wheel from the
// centre to full left, full right and back, and presses each pedal from
// released to full and back (the second pedal while the first comes back).
// Every axis byte reaches 0 and 255; step `steps` is the wheel at rest.
void sweepReport(int step, int steps, uint8_t (&report)[SIM_WHEEL_REPORT_SIZE]);

}  // namespace zentra::sim
