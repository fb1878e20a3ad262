// The configuration registry over advapi32, HKEY_LOCAL_MACHINE.
#include <windows.h>

#include "preset/registry_store.h"

namespace zentra {

namespace {

REGSAM samFor(RegAccess access) {
    switch (access) {
    case RegAccess::AllAccess: return KEY_ALL_ACCESS;
    case RegAccess::Read: return KEY_READ;
    case RegAccess::QueryValue: return KEY_QUERY_VALUE;
    }
    return KEY_READ;
}

// Owns an open key for the length of one operation.
class OpenKey {
public:
    OpenKey(const std::string& path, REGSAM sam) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, sam, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }
    void adopt(HKEY key) { key_ = key; }

private:
    HKEY key_ = nullptr;
};

class Win32RegistryStore : public RegistryStore {
public:
    bool queryValue(const std::string& key, const std::string& name, RegAccess access, uint32_t& type,
                    uint32_t& size) override {
        OpenKey k(key, samFor(access));
        if (!k.get()) return false;
        DWORD t = 0, n = 0;
        if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &t, nullptr, &n) != ERROR_SUCCESS) return false;
        type = t;
        size = n;
        return true;
    }

    bool readValue(const std::string& key, const std::string& name, RegAccess access, void* buffer,
                   uint32_t& size) override {
        OpenKey k(key, samFor(access));
        if (!k.get()) return false;
        DWORD n = size;
        if (RegQueryValueExA(k.get(), name.c_str(), nullptr, nullptr, static_cast<BYTE*>(buffer), &n) !=
            ERROR_SUCCESS)
            return false;
        size = n;
        return true;
    }

    bool writeValue(const std::string& key, const std::string& name, uint32_t type, const void* data,
                    uint32_t size) override {
        OpenKey k(key, KEY_ALL_ACCESS);
        if (!k.get()) {
            HKEY created = nullptr;
            if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &created, nullptr) != ERROR_SUCCESS)
                return false;
            k.adopt(created);
        }
        return RegSetValueExA(k.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
               ERROR_SUCCESS;
    }

    int enumSubkey(const std::string& key, uint32_t index, std::string& name) override {
        OpenKey k(key, KEY_ENUMERATE_SUB_KEYS);
        if (!k.get()) return -1;
        char buffer[256];  // key names are at most 255 characters
        DWORD size = sizeof buffer;
        if (RegEnumKeyExA(k.get(), index, buffer, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return 0;
        name.assign(buffer, size);
        return 1;
    }

    bool deleteValue(const std::string& key, const std::string& name) override {
        OpenKey k(key, KEY_ALL_ACCESS);
        return k.get() && RegDeleteValueA(k.get(), name.c_str()) == ERROR_SUCCESS;
    }
};

}  // namespace

RegistryStore& platformRegistryStore() {
    static Win32RegistryStore store;
    return store;
}

}  // namespace zentra
