// The registry under HKEY_LOCAL_MACHINE as the configuration code sees it:
// the seam between the registry operations and the platform.
#pragma once

#include <cstdint>
#include <string>

namespace zentra {

// Access rights a key is opened with (KEY_ALL_ACCESS, KEY_READ,
// KEY_QUERY_VALUE).
enum class RegAccess { AllAccess, Read, QueryValue };

// Value types as the registry numbers them.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Opens `key` with `access` and asks for the value's type and size
    // without its data. False when the key cannot be opened so or the value
    // is missing.
    virtual bool queryValue(const std::string& key, const std::string& name, RegAccess access,
                            uint32_t& type, uint32_t& size) = 0;

    // Opens `key` with `access` and copies the value's data into `buffer`,
    // whose capacity `size` gives; `size` then holds the bytes copied. False
    // when the key or value is missing or the data does not fit.
    virtual bool readValue(const std::string& key, const std::string& name, RegAccess access,
                           void* buffer, uint32_t& size) = 0;

    // Opens `key` with full access, creating it (non-volatile, default
    // security) when it cannot be opened, and sets the value with its type.
    virtual bool writeValue(const std::string& key, const std::string& name, uint32_t type,
                            const void* data, uint32_t size) = 0;

    // The name of subkey `index` (0, 1, 2, ...) of `key`, opened for
    // enumerating its subkeys. 1 when there is one, 0 when there are no more,
    // -1 when the key cannot be opened.
    virtual int enumSubkey(const std::string& key, uint32_t index, std::string& name) = 0;

    // Removes a value; used by setup and test tools only.
    virtual bool deleteValue(const std::string& key, const std::string& name) = 0;
};

// HKEY_LOCAL_MACHINE of the running Windows system.
RegistryStore& platformRegistryStore();

}  // namespace zentra
