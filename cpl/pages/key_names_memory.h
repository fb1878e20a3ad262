// Key names from a table, for tests: the names a keyboard layout would give,
// without a system to ask. A key the table lacks has an empty name, as the
// system answers for a scan code no key has.
#pragma once

#include <map>
#include <string>

#include "cpl/pages/key_code_text.h"

namespace zentra {

class MemoryKeyNames final : public KeyNames {
public:
    MemoryKeyNames() = default;
    explicit MemoryKeyNames(std::map<uint32_t, std::string> names) : names_(std::move(names)) {}
    std::string keyName(uint32_t keyNameParam) const override {
        const auto it = names_.find(keyNameParam);
        return it == names_.end() ? std::string() : it->second;
    }

private:
    std::map<uint32_t, std::string> names_;
};

// Names as a US layout gives them, for the keys tests use most.
inline MemoryKeyNames usKeyNames() {
    return MemoryKeyNames({{0x001D0000, "Ctrl"},
                           {0x011D0000, "Right Ctrl"},
                           {0x002A0000, "Shift"},
                           {0x00360000, "Right Shift"},
                           {0x00380000, "Alt"},
                           {0x01380000, "Right Alt"},
                           {0x001E0000, "A"},
                           {0x00300000, "B"},
                           {0x01480000, "Up"},
                           {0x00450000, "Pause"},     // scan code 0x45 alone
                           {0x01450000, "Num Lock"},  // and as an extended key
                           {0x015B0000, "Left Windows"}});
}

}  // namespace zentra
