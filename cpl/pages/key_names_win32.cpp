#include <windows.h>

#include "cpl/pages/key_code_text.h"

namespace zentra {

namespace {

class SystemKeyNames final : public KeyNames {
public:
    std::string keyName(uint32_t keyNameParam) const override {
        char name[32] = {};
        const int length = GetKeyNameTextA(static_cast<LONG>(keyNameParam), name, sizeof name);
        return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
    }
};

}  // namespace

const KeyNames& systemKeyNames() {
    static const SystemKeyNames names;
    return names;
}

}  // namespace zentra
