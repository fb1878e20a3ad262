// The text of a key code (low byte: the key's DirectInput scan code; bits
// 8..13: left/right Ctrl, Shift and Alt held with it), built from the names
// the system gives the keys. The button page shows these texts in its
// key-sequence boxes and the printout lists them; the two differ only in
// which modifier bits count as "more follows" for the "+" after Ctrl and
// after Shift.
#pragma once

#include <cstdint>
#include <string>

namespace zentra {

// The key-name seam: the name of a key for a GetKeyNameTextA parameter (scan
// code shifted left by 16, bit 24 set for an extended key), as the keyboard
// layout gives it.
class KeyNames {
public:
    virtual ~KeyNames() = default;
    virtual std::string keyName(uint32_t keyNameParam) const = 0;
};

// The system's names (GetKeyNameTextA with a 32-byte buffer); Windows only.
const KeyNames& systemKeyNames();

// The GetKeyNameTextA parameter of a key byte: up to 0x80 the scan code
// itself, from 0x81 on the extended key of scan code (byte - 0x80).
uint32_t keyNameParam(uint8_t key);

enum class KeyTextStyle {
    // Key-sequence boxes: "+" after Ctrl when a key, Shift or Alt follows;
    // after Shift when a key or Alt follows.
    ButtonPage,
    // Printout: "+" after Ctrl when a key or any bit 0x400..0x8000 is set,
    // after Shift when a key or any bit 0x1000..0x8000 is set; code 0 has no
    // text at all.
    Print,
};

// Three spaces, then the modifiers' names and the key's name, for example
// "   Ctrl+Shift+A" (names as the system gives them).
std::string keyCodeText(uint16_t code, const KeyNames& names, KeyTextStyle style);

}  // namespace zentra
