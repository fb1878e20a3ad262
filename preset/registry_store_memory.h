// An in-memory registry for native tests. Key paths and value names compare
// without regard to letter case, as in the real registry. Keys can be marked
// as not openable with full access, as for a user without write rights.
#pragma once

#include <map>
#include <vector>

#include "preset/registry_store.h"

namespace zentra {

class MemoryRegistryStore : public RegistryStore {
public:
    struct Value {
        uint32_t type = 0;
        std::vector<uint8_t> data;
    };
    struct Key {
        std::string path;                     // as first written
        std::map<std::string, Value> values;  // by lower-cased name
        bool readOnly = false;                // full access is refused
    };
    struct Open {
        std::string key;
        RegAccess access;
    };

    bool queryValue(const std::string& key, const std::string& name, RegAccess access, uint32_t& type,
                    uint32_t& size) override;
    bool readValue(const std::string& key, const std::string& name, RegAccess access, void* buffer,
                   uint32_t& size) override;
    bool writeValue(const std::string& key, const std::string& name, uint32_t type, const void* data,
                    uint32_t size) override;
    int enumSubkey(const std::string& key, uint32_t index, std::string& name) override;
    bool deleteValue(const std::string& key, const std::string& name) override;

    // Test helpers.
    void set(const std::string& key, const std::string& name, uint32_t type, const std::vector<uint8_t>& data);
    void setString(const std::string& key, const std::string& name, const std::string& text);
    void setDword(const std::string& key, const std::string& name, uint32_t value);
    const Value* find(const std::string& key, const std::string& name) const;
    bool hasKey(const std::string& key) const;
    void makeReadOnly(const std::string& key);
    void clear();

    std::vector<Open> opens;  // every key opening, in order

private:
    Key* openKey(const std::string& key, RegAccess access);
    // The key and every key above it, as the registry creates them.
    Key& createKey(const std::string& key);
    std::map<std::string, Key> keys_;  // by lower-cased path
};

}  // namespace zentra
