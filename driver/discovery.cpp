#include "driver/discovery.h"

#include <cstdint>
#include <cstring>

#include "preset/decimal_text.h"

namespace zentra {

namespace {

constexpr size_t kSeparatorPosition = 21;  // after the 17-character vendor-and-product part

std::string replacePrefix(std::string text, const char* prefix, char separator) {
    for (size_t i = 0; i < 3 && i < text.size(); ++i) text[i] = prefix[i];
    if (text.size() > kSeparatorPosition) text[kSeparatorPosition] = separator;
    return text;
}

std::string deviceParametersKey(const std::string& subkey) {
    return std::string(kDeviceClassKeys[0]) + "\\" + subkey + "\\#\\Device Parameters";
}

// A copy of what a string reader returned, or false when it returned none.
bool readQuery(Registry& registry, const std::string& key, const std::string& name, std::string& out) {
    const char* text = registry.readRegStringQuery(key.c_str(), name.c_str());
    if (!text) return false;
    out = text;
    return true;
}

// Wide path characters taken as 8-bit text, as the path is plain ASCII.
std::string narrow(const std::wstring& wide, size_t limit) {
    std::string out;
    for (size_t i = 0; i < wide.size() && out.size() < limit; ++i)
        out += wide[i] < 0x100 ? char(wide[i]) : '?';
    return out;
}

bool contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

enum class Entry { Match, Next, Ended };

// Walks the subkeys of the driver's interface class until `test` takes one.
// True with its name in `subkey`; false when none matched or the process
// was ended (a class key that cannot be opened ends it here).
template <typename Test>
bool findClassEntry(DiscoveryContext& ctx, std::string& subkey, Test test) {
    for (uint32_t index = 0;; ++index) {
        const int found = ctx.registry.store().enumSubkey(kDeviceClassKeys[0], index, subkey);
        if (found < 0) {
            ctx.host.errorBox("REGISTRY ERROR");
            ctx.host.exitProcess(kExitRegistryError);
            return false;
        }
        if (found == 0) return false;
        const Entry e = test(subkey);
        if (e != Entry::Next) return e == Entry::Match;
    }
}

// Opens the matching wheel's link named by "SymLinkCpl"; false after ending
// the process.
bool openSymLink(DeviceLink& link, const std::string& subkey, DiscoveryContext& ctx, std::string& linkName) {
    if (!readQuery(ctx.registry, deviceParametersKey(subkey), kSymLinkValue, linkName)) {
        ctx.host.exitProcess(kExitNoSymLink);
        return false;
    }
    link.linkHandle = ctx.io.open(linkName, LinkOpenMode::Panel);
    if (!link.linkHandle) {
        ctx.host.exitProcess(kExitLinkNotOpened);
        return false;
    }
    return true;
}

// Windows 2000 and XP: the wheel is the class entry whose "ParentIdPrefix"
// lies in the HID instance of the DirectInput path.
void parentPrefixScheme(DeviceLink& link, const std::wstring& path, DiscoveryContext& ctx) {
    // The HID instance: the text between the second and third '#'.
    std::string instance;
    const std::string text = narrow(path, path.size());
    const size_t first = text.find('#');
    const size_t second = first == std::string::npos ? first : text.find('#', first + 1);
    if (second != std::string::npos) {
        const size_t third = text.find('#', second + 1);
        instance = text.substr(second + 1, third == std::string::npos ? std::string::npos : third - second - 1);
    }
    if (instance.size() > kMaxHidInstance) instance.resize(kMaxHidInstance);

    std::string subkey;
    const bool found = findClassEntry(ctx, subkey, [&](const std::string& candidate) {
        std::string prefix;
        if (!readQuery(ctx.registry, deviceParametersKey(candidate), kParentIdPrefixValue, prefix)) {
            ctx.host.errorBox("LINK NOT FOUND, UNPLUG AND REPLUG DEVICE");
            ctx.host.exitProcess(kExitNoPrefix);
            return Entry::Ended;
        }
        return contains(instance, prefix) ? Entry::Match : Entry::Next;
    });
    if (!found) return;  // no wheel (the page goes on without a link), or the process ended

    std::string linkName;
    if (!openSymLink(link, subkey, ctx, linkName)) return;

    std::string emulation;
    link.isEmulationDevice = readQuery(ctx.registry, kPanelKey, kEmulationValue, emulation) && emulation == linkName;

    const std::string enumName = linkToEnumName(linkName);
    for (int i = 0;; ++i) {
        std::string entry;
        if (!readQuery(ctx.registry, kDriverEnumKey, driverEnumName(i), entry)) {
            ctx.host.exitProcess(kExitNoEnumEntry);
            return;
        }
        if (entry == enumName) {
            link.deviceNumber = i;
            return;
        }
    }
}

// Windows 95, 98 and ME: the wheel is the class entry whose "DeviceInstance"
// lies in the USB instance path that the HID class keeps for the device.
void hidClassScheme(DeviceLink& link, const std::wstring& path, DiscoveryContext& ctx) {
    std::string hidName = narrow(path, kMaxPathText);
    for (size_t i : {0, 1, 3})
        if (i < hidName.size()) hidName[i] = '#';

    std::string usbPath;
    std::string hidInstance;
    if (readQuery(ctx.registry, std::string(kDeviceClassKeys[1]) + "\\" + hidName, kDeviceInstanceValue,
                  hidInstance)) {
        const size_t from = hidInstance.find_first_of("USB");
        if (from != std::string::npos) usbPath = hidInstance.substr(from, kMaxPathText);
        for (size_t i : {3, 21})
            if (i < usbPath.size()) usbPath[i] = '\\';
    }
    // Without that entry there is no path to match: no class entry matches
    // and the page goes on without a link.

    std::string subkey;
    const bool found = findClassEntry(ctx, subkey, [&](const std::string& candidate) {
        std::string instance;
        if (!readQuery(ctx.registry, std::string(kDeviceClassKeys[0]) + "\\" + candidate, kDeviceInstanceValue,
                       instance)) {
            ctx.host.exitProcess(kExitNoPrefix);
            return Entry::Ended;
        }
        return !usbPath.empty() && contains(usbPath, instance) ? Entry::Match : Entry::Next;
    });
    if (!found) return;

    std::string linkName;
    if (!openSymLink(link, subkey, ctx, linkName)) return;

    std::string emulation;
    if (!readQuery(ctx.registry, kPanelKey, kEmulationValue, emulation)) {
        ctx.host.exitProcess(kExitNoEmulation);
        return;
    }
    link.isEmulationDevice = emulation == linkName;

    // The wheel's number follows "INST_"; 0 when there is none, or none
    // that a wheel's number can be.
    const size_t inst = usbPath.find("INST_");
    uint32_t number = 0;
    if (inst == std::string::npos || !readLeadingDecimal(usbPath.c_str() + inst + 5, INT32_MAX, number)) number = 0;
    link.deviceNumber = int32_t(number);
}

}  // namespace

std::string enumToLinkName(const std::string& enumEntry) { return replacePrefix(enumEntry, "\\\\.", '#'); }

std::string linkToEnumName(const std::string& linkName) { return replacePrefix(linkName, "USB", '\\'); }

void openDeviceLink(DeviceLink& link, int osLevel, DiscoveryContext& ctx) {
    link.linkHandle = 0;
    link.isEmulationDevice = 0;
    std::wstring path;
    if (!ctx.path.devicePath(path)) {
        ctx.host.errorBox("LINK NOT FOUND");
        ctx.host.exitProcess(kExitNoPath);
        return;
    }
    if (osLevel < 3)
        hidClassScheme(link, path, ctx);
    else
        parentPrefixScheme(link, path, ctx);
}

int openEmulationLink(LoaderWheel& wheel, Registry& registry, DeviceIo& io) {
    closeEmulationLink(wheel, io);
    const char* name = registry.readRegString(kPanelKey, kEmulationValue);
    if (!name || std::strlen(name) > kMaxEmulationName) return 0;
    wheel.emulationLink = io.open(name, LinkOpenMode::Loader);
    return wheel.emulationLink ? 1 : 0;
}

void closeEmulationLink(LoaderWheel& wheel, DeviceIo& io) {
    if (wheel.emulationLink) io.close(wheel.emulationLink);
    wheel.emulationLink = 0;
}

int openWheelLinksAtStartup(LoaderWheel& wheel, Registry& registry, DeviceIo& io) {
    for (int i = 0;; ++i) {
        const char* entry = registry.readRegString(kDriverEnumKey, driverEnumName(i).c_str());
        if (!entry) return 1;
        wheel.wheelLink = io.open(enumToLinkName(entry), LinkOpenMode::Loader);
        if (!wheel.wheelLink) return 0;
        uploadStoredParameters(0, i, wheel, registry, io);
        uploadStoredParameters(1, i, wheel, registry, io);
        // Each wheel's link serves only these two sends.
        io.close(wheel.wheelLink);
        wheel.wheelLink = 0;
    }
}

}  // namespace zentra
