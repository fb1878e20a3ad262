// The configuration store: where both programs keep their settings under
// HKEY_LOCAL_MACHINE, and the seven operations that read and write them.
#pragma once

#include <cstdint>
#include <string>

#include "preset/preset.h"
#include "preset/registry_store.h"

namespace zentra {

// Keys.
extern const char kProductKey[];     // the product's own key
extern const char kPanelKey[];       // its "Control Panel" subkey
extern const char kParametersKey[];  // its "Selected Parameters" subkey
extern const char kRunKey[];
extern const char kDriverEnumKey[];
extern const char kDeviceClassKeys[2][96];

// Values of the panel key.
extern const char kLaunchValue[];         // "Launch", REG_SZ "YES"/"NO"
extern const char kTemporaryFileValue[];  // "TemporaryFile", REG_SZ path
extern const char kLoaderWindowValue[];   // "HandleVedodUSB", REG_DWORD
extern const char kLastIndexValue[];      // "LastIndice", REG_DWORD
extern const char kGameLaunchValue[];     // "Game Launch", REG_DWORD 0/1
extern const char kEmulationValue[];      // "Emulation", REG_SZ link name
extern const char kLastOpenFileValue[];   // "LastOpenFile", REG_SZ path
// Values of the parameters key.
extern const char kAxisTableValues[3][10];  // "AxeX_SENS", "AxeY_SENS", "AxeZ_SENS"
constexpr int kStoredButtonEntries = 10;    // "BT_1" .. "BT_10"
// Value of the product key.
extern const char kDriverValue[];  // "Driver"
// Value of the run key.
extern const char kRunValue[];  // "VedodZNT"
// Values of the device class subkeys.
extern const char kSymLinkValue[];         // "SymLinkCpl"
extern const char kDeviceInstanceValue[];  // "DeviceInstance"
extern const char kParentIdPrefixValue[];  // "ParentIdPrefix"

// Names formed with a number: every such name is built here.
std::string joystickConfigurationName(int deviceNumber);  // "Joystick%dConfiguration"
std::string linkPedalsName(int deviceNumber);             // "Link_Pedals%d"
std::string buttonEntryName(int entry);                   // entry 0 -> "BT_1"
std::string driverEnumName(int index);                    // "0", "1", ...

// The "Driver" text of a Windows version, or nullptr for a version that
// leaves the value as it is.
const char* windowsGenerationName(bool ntFamily, unsigned major, unsigned minor);

// The seven registry operations of one program. The texts that the string
// readers return live in buffers owned by this object, valid until the next
// call of the same reader (the loader's two readers share one buffer).
class Registry {
public:
    Registry(RegistryStore& store, Deliverable who);

    // The value, or 0 when the key or value is missing or not a 4-byte REG_DWORD.
    uint32_t readRegDword(const char* key, const char* name);
    int writeRegDword(uint32_t value, const char* key, const char* name);

    // 1 when a REG_BINARY value that fits in the buffer was copied, 0
    // otherwise. `storedSize`, when given, receives the value's size, so that
    // a caller can tell a shorter value from a whole one.
    int readRegBinary(void* buffer, uint32_t size, const char* key, const char* name,
                      uint32_t* storedSize = nullptr);
    int writeRegBinary(const void* data, uint32_t size, const char* key, const char* name);

    // The text, or nullptr when the key or value is missing, not REG_SZ, or
    // longer than the reader's buffer can hold.
    const char* readRegString(const char* key, const char* name);
    const char* readRegStringQuery(const char* key, const char* name);
    // Stores the text's characters without a terminator.
    int writeRegString(const char* key, const char* name, const char* text);

    // Buffer sizes, terminator included.
    static constexpr uint32_t kPanelStringBuffer = 256;
    static constexpr uint32_t kLoaderStringBuffer = 260;

    RegistryStore& store() { return store_; }

private:
    const char* readString(const char* key, const char* name, RegAccess access, char* buffer);

    RegistryStore& store_;
    Deliverable who_;
    char stringBuffer_[kLoaderStringBuffer];
    char queryBuffer_[kLoaderStringBuffer];
};

}  // namespace zentra
