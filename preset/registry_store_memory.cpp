#include "preset/registry_store_memory.h"

#include <cstring>

namespace zentra {

namespace {

std::string lower(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

}  // namespace

MemoryRegistryStore::Key* MemoryRegistryStore::openKey(const std::string& key, RegAccess access) {
    opens.push_back({key, access});
    auto it = keys_.find(lower(key));
    if (it == keys_.end()) return nullptr;
    if (it->second.readOnly && access == RegAccess::AllAccess) return nullptr;
    return &it->second;
}

bool MemoryRegistryStore::queryValue(const std::string& key, const std::string& name, RegAccess access,
                                     uint32_t& type, uint32_t& size) {
    Key* k = openKey(key, access);
    if (!k) return false;
    auto it = k->values.find(lower(name));
    if (it == k->values.end()) return false;
    type = it->second.type;
    size = uint32_t(it->second.data.size());
    return true;
}

bool MemoryRegistryStore::readValue(const std::string& key, const std::string& name, RegAccess access,
                                    void* buffer, uint32_t& size) {
    Key* k = openKey(key, access);
    if (!k) return false;
    auto it = k->values.find(lower(name));
    if (it == k->values.end() || it->second.data.size() > size) return false;
    size = uint32_t(it->second.data.size());
    if (size) std::memcpy(buffer, it->second.data.data(), size);
    return true;
}

bool MemoryRegistryStore::writeValue(const std::string& key, const std::string& name, uint32_t type,
                                     const void* data, uint32_t size) {
    Key* k = openKey(key, RegAccess::AllAccess);
    if (!k) {
        if (hasKey(key)) return false;  // exists but may not be written
        k = &createKey(key);
    }
    Value& v = k->values[lower(name)];
    v.type = type;
    const uint8_t* b = static_cast<const uint8_t*>(data);
    v.data.assign(b, b + size);
    return true;
}

bool MemoryRegistryStore::deleteValue(const std::string& key, const std::string& name) {
    Key* k = openKey(key, RegAccess::AllAccess);
    return k && k->values.erase(lower(name)) == 1;
}

MemoryRegistryStore::Key& MemoryRegistryStore::createKey(const std::string& key) {
    for (size_t cut = key.find('\\'); cut != std::string::npos; cut = key.find('\\', cut + 1)) {
        Key& parent = keys_[lower(key.substr(0, cut))];
        if (parent.path.empty()) parent.path = key.substr(0, cut);
    }
    Key& k = keys_[lower(key)];
    if (k.path.empty()) k.path = key;
    return k;
}

int MemoryRegistryStore::enumSubkey(const std::string& key, uint32_t index, std::string& name) {
    opens.push_back({key, RegAccess::Read});
    const std::string prefix = lower(key) + "\\";
    if (!keys_.count(lower(key))) return -1;
    // Direct children in the registry's order (by name, without regard to case).
    uint32_t seen = 0;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0;
         ++it) {
        if (it->first.find('\\', prefix.size()) != std::string::npos) continue;
        if (seen++ == index) {
            name = it->second.path.substr(prefix.size());
            return 1;
        }
    }
    return 0;
}

void MemoryRegistryStore::set(const std::string& key, const std::string& name, uint32_t type,
                              const std::vector<uint8_t>& data) {
    Value& v = createKey(key).values[lower(name)];
    v.type = type;
    v.data = data;
}

void MemoryRegistryStore::setString(const std::string& key, const std::string& name, const std::string& text) {
    set(key, name, kRegSz, std::vector<uint8_t>(text.begin(), text.end()));
}

void MemoryRegistryStore::setDword(const std::string& key, const std::string& name, uint32_t value) {
    set(key, name, kRegDword,
        {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)});
}

const MemoryRegistryStore::Value* MemoryRegistryStore::find(const std::string& key, const std::string& name) const {
    auto k = keys_.find(lower(key));
    if (k == keys_.end()) return nullptr;
    auto v = k->second.values.find(lower(name));
    return v == k->second.values.end() ? nullptr : &v->second;
}

bool MemoryRegistryStore::hasKey(const std::string& key) const { return keys_.count(lower(key)) != 0; }

void MemoryRegistryStore::makeReadOnly(const std::string& key) { createKey(key).readOnly = true; }

void MemoryRegistryStore::clear() {
    keys_.clear();
    opens.clear();
}

}  // namespace zentra
