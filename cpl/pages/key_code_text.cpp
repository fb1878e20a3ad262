#include "cpl/pages/key_code_text.h"

namespace zentra {

namespace {

constexpr uint16_t kLeftCtrl = 0x100, kRightCtrl = 0x200;
constexpr uint16_t kLeftShift = 0x400, kRightShift = 0x800;
constexpr uint16_t kLeftAlt = 0x1000, kRightAlt = 0x2000;

// A modifier's name: the right key's when its bit is set (it wins over the
// left one), else the left key's.
std::string modifierName(uint16_t code, uint16_t rightBit, uint32_t leftParam, uint32_t rightParam,
                         const KeyNames& names) {
    return names.keyName((code & rightBit) ? rightParam : leftParam);
}

}  // namespace

uint32_t keyNameParam(uint8_t key) {
    if (key <= 0x80) return static_cast<uint32_t>(key) << 16;
    return (static_cast<uint32_t>(key - 0x80) << 16) | 0x01000000u;
}

std::string keyCodeText(uint16_t code, const KeyNames& names, KeyTextStyle style) {
    if (code == 0 && style == KeyTextStyle::Print) return {};
    const bool print = style == KeyTextStyle::Print;
    const uint8_t key = static_cast<uint8_t>(code & 0xFF);
    // What has to follow a modifier for a "+" to be written after it.
    const uint16_t afterCtrl = print ? 0xFC00 : (kLeftShift | kRightShift | kLeftAlt | kRightAlt);
    const uint16_t afterShift = print ? 0xF000 : (kLeftAlt | kRightAlt);

    std::string text = "   ";
    if (code & (kLeftCtrl | kRightCtrl)) {
        text += modifierName(code, kRightCtrl, 0x001D0000, 0x011D0000, names);
        if (key != 0 || (code & afterCtrl)) text += '+';
    }
    if (code & (kLeftShift | kRightShift)) {
        text += modifierName(code, kRightShift, 0x002A0000, 0x00360000, names);
        if (key != 0 || (code & afterShift)) text += '+';
    }
    if (code & (kLeftAlt | kRightAlt)) {
        text += modifierName(code, kRightAlt, 0x00380000, 0x01380000, names);
        if (key != 0) text += '+';
    }
    text += names.keyName(keyNameParam(key));
    return text;
}

}  // namespace zentra
