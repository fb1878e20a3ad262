#include "preset/registry.h"

#include <cstdio>
#include <cstring>

namespace zentra {

#define ZENTRA_PRODUCT_KEY "SOFTWARE\\Morvenhollow Corporation\\Morvenhollow Wheel"
const char kProductKey[] = ZENTRA_PRODUCT_KEY;
const char kPanelKey[] = ZENTRA_PRODUCT_KEY "\\Control Panel";
const char kParametersKey[] = ZENTRA_PRODUCT_KEY "\\Selected Parameters";
#undef ZENTRA_PRODUCT_KEY
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kDriverEnumKey[] = "System\\CurrentControlSet\\Services\\ZentraXP\\Enum";
const char kDeviceClassKeys[2][96] = {
    "System\\CurrentControlSet\\Control\\DeviceClasses\\{6DC8DB13-745F-451c-978F-0CAE798581CD}",
    "System\\CurrentControlSet\\Control\\DeviceClasses\\{4d1e55b2-f16f-11cf-88cb-001111000030}",
};

const char kLaunchValue[] = "Launch";
const char kTemporaryFileValue[] = "TemporaryFile";
const char kLoaderWindowValue[] = "HandleVedodUSB";
const char kLastIndexValue[] = "LastIndice";
const char kGameLaunchValue[] = "Game Launch";
const char kEmulationValue[] = "Emulation";
const char kLastOpenFileValue[] = "LastOpenFile";
const char kAxisTableValues[3][10] = {"AxeX_SENS", "AxeY_SENS", "AxeZ_SENS"};
const char kDriverValue[] = "Driver";
const char kRunValue[] = "VedodZNT";
const char kSymLinkValue[] = "SymLinkCpl";
const char kDeviceInstanceValue[] = "DeviceInstance";
const char kParentIdPrefixValue[] = "ParentIdPrefix";

namespace {

std::string numbered(const char* pattern, int number) {
    char name[64];
    std::snprintf(name, sizeof name, pattern, number);
    return name;
}

}  // namespace

std::string joystickConfigurationName(int deviceNumber) { return numbered("Joystick%dConfiguration", deviceNumber); }
std::string linkPedalsName(int deviceNumber) { return numbered("Link_Pedals%d", deviceNumber); }
std::string buttonEntryName(int entry) { return numbered("BT_%d", entry + 1); }
std::string driverEnumName(int index) { return numbered("%d", index); }

const char* windowsGenerationName(bool ntFamily, unsigned major, unsigned minor) {
    if (!ntFamily) {
        if (major != 4) return nullptr;
        if (minor == 0) return "Windows 95";
        if (minor == 10) return "Windows 98";
        if (minor == 90) return "Windows ME";
        return nullptr;
    }
    if (major != 5) return nullptr;
    return minor == 0 ? "Windows 2000" : "Windows XP";
}

Registry::Registry(RegistryStore& store, Deliverable who) : store_(store), who_(who) {
    stringBuffer_[0] = queryBuffer_[0] = '\0';
}

uint32_t Registry::readRegDword(const char* key, const char* name) {
    uint32_t type = 0, size = 0;
    if (!store_.queryValue(key, name, RegAccess::AllAccess, type, size) || type != kRegDword || size != 4)
        return 0;
    uint32_t value = 0;
    uint8_t bytes[4];
    size = sizeof bytes;
    if (!store_.readValue(key, name, RegAccess::AllAccess, bytes, size) || size != 4) return 0;
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return value;
}

int Registry::writeRegDword(uint32_t value, const char* key, const char* name) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    return store_.writeValue(key, name, kRegDword, bytes, 4) ? 1 : 0;
}

int Registry::readRegBinary(void* buffer, uint32_t size, const char* key, const char* name,
                            uint32_t* storedSize) {
    uint32_t type = 0, stored = 0;
    if (!store_.queryValue(key, name, RegAccess::AllAccess, type, stored) || type != kRegBinary ||
        stored > size)
        return 0;
    uint32_t got = size;
    if (!store_.readValue(key, name, RegAccess::AllAccess, buffer, got)) return 0;
    if (storedSize) *storedSize = got;
    return 1;
}

int Registry::writeRegBinary(const void* data, uint32_t size, const char* key, const char* name) {
    return store_.writeValue(key, name, kRegBinary, data, size) ? 1 : 0;
}

const char* Registry::readString(const char* key, const char* name, RegAccess access, char* buffer) {
    const uint32_t capacity = who_ == Deliverable::Panel ? kPanelStringBuffer : kLoaderStringBuffer;
    uint32_t type = 0, size = 0;
    if (!store_.queryValue(key, name, access, type, size) || type != kRegSz || size > capacity) return nullptr;
    std::memset(buffer, 0, capacity);
    uint32_t got = size;
    if (!store_.readValue(key, name, access, buffer, got)) return nullptr;
    // A value stored with its terminator may fill the buffer; one without
    // needs a byte left for it.
    if (got == capacity && buffer[capacity - 1] != '\0') return nullptr;
    buffer[got < capacity ? got : capacity - 1] = '\0';
    return buffer;
}

const char* Registry::readRegString(const char* key, const char* name) {
    if (who_ == Deliverable::Panel) return readString(key, name, RegAccess::AllAccess, stringBuffer_);
    return readString(key, name, RegAccess::Read, stringBuffer_);
}

const char* Registry::readRegStringQuery(const char* key, const char* name) {
    // The loader's two string readers share one buffer.
    return readString(key, name, RegAccess::QueryValue, who_ == Deliverable::Panel ? queryBuffer_ : stringBuffer_);
}

int Registry::writeRegString(const char* key, const char* name, const char* text) {
    return store_.writeValue(key, name, kRegSz, text, uint32_t(std::strlen(text))) ? 1 : 0;
}

}  // namespace zentra
