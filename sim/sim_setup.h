// Setup of the simulated wheel: its driver as the kernel service "ZentraXP"
// (the wheel driver's own service name, which link discovery reads), and the
// wheels with the registry entries that link discovery reads, all under
// HKEY_LOCAL_MACHINE. Every call returns false on failure with the reason in
// `error`.
#pragma once

#include <string>

namespace zentra::sim {

// ZntSimWheel.sys beside the running program, as an absolute Windows path.
std::string defaultDriverPath();

// Creates the service (or points an existing, stopped one at `driverPath`)
// and starts it, then checks that the driver answers. Already created or
// running is fine. An empty path means defaultDriverPath().
bool startDriver(std::string& error, const std::string& driverPath = std::string());

// Removes the wheels' registry entries, stops the service (the driver
// deletes its devices and links when it unloads) and deletes it. A service
// that does not exist is fine.
bool stopDriver(std::string& error);

// Removes every wheel and its registry entries, then adds wheels 0..count-1
// on the driver and writes their entries. "Emulation" names wheel
// `emulationWheel`'s link; -1 leaves it out.
bool configureWheels(int count, int emulationWheel, std::string& error);

// Removes every wheel from the driver (when it is loaded) and every registry
// entry of the simulated wheels.
bool removeWheels(std::string& error);

// Only the registry part of the two calls above.
bool writeWheelRegistry(int count, int emulationWheel, std::string& error);
bool removeWheelRegistry(std::string& error);

}  // namespace zentra::sim
