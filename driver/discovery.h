// Finding and opening the wheel's device links through the registry.
#pragma once

#include <string>

#include "driver/upload.h"

namespace zentra {

// The two forms of a wheel's name, converted by fixed character positions:
// the Enum entry "USB\Vid_xxxx&Pid_xxxx\<instance>" and the link name
// "\\.\Vid_xxxx&Pid_xxxx#<instance>".
std::string enumToLinkName(const std::string& enumEntry);
std::string linkToEnumName(const std::string& linkName);

// The DirectInput device path of the wheel whose page is open (the
// DIPROP_GUIDANDPATH property). False when it cannot be had.
class DevicePathSource {
public:
    virtual ~DevicePathSource() = default;
    virtual bool devicePath(std::wstring& path) = 0;
};

// Exit codes with which discovery ends the process that hosts the control
// panel.
constexpr int kExitNoPath = 0;
constexpr int kExitRegistryError = 0;
constexpr int kExitNoSymLink = 69;
constexpr int kExitLinkNotOpened = 70;
constexpr int kExitNoPrefix = 71;
constexpr int kExitNoEnumEntry = 72;
constexpr int kExitNoEmulation = 73;

// Limits of the texts discovery works on.
constexpr size_t kMaxHidInstance = 24;
constexpr size_t kMaxPathText = 99;
constexpr size_t kMaxEmulationName = 103;

struct DiscoveryContext {
    Registry& registry;
    DeviceIo& io;
    ProcessHost& host;
    DevicePathSource& path;
};

// The control panel's discovery: the HID-class scheme below OsLevel 3
// (Windows 95, 98, ME), the parent-prefix scheme otherwise. Fills `link`;
// linkHandle stays 0 when no wheel matches. Ends the process, through the
// host, where a registry entry it relies on is missing.
void openDeviceLink(DeviceLink& link, int osLevel, DiscoveryContext& ctx);

// The tray loader's emulation link: closes the one still open, then opens
// the name held in "Emulation". 1 on success; 0, with no link, when the
// value is missing, longer than 103 characters, or the link does not open.
int openEmulationLink(LoaderWheel& wheel, Registry& registry, DeviceIo& io);
void closeEmulationLink(LoaderWheel& wheel, DeviceIo& io);

// The tray loader's start-up walk over the Enum entries: each wheel's link
// is opened and its stored parameters sent as mode 1 and then mode 3.
// 1 when the walk ended at a missing entry, 0 when a link did not open.
int openWheelLinksAtStartup(LoaderWheel& wheel, Registry& registry, DeviceIo& io);

}  // namespace zentra
