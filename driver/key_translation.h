// Translation of recorded key codes (DirectInput scan codes with modifier
// bits) into the USB keyboard usages and modifier byte the driver types.
#pragma once

#include <cstdint>

#include "driver/protocol.h"
#include "preset/preset.h"

namespace zentra {

// Entry u: the set 1 make code of USB keyboard usage u; 0xE0xx for codes
// that need the prefix, 0 where there is none.
extern const uint16_t KeyUsageTable[256];
// Entry k (1..31): a DirectInput code the first table cannot match, standing
// for usage 70 + k. Entry 0 is never searched.
extern const uint16_t ExtendedKeyTable[32];

// One code: its usage, with its modifier bits ORed into `modifiers`.
uint16_t translateKey(KeyCode code, uint16_t& modifiers);

// Fills a button entry from a slot's codes: usages in order until a 0 code
// has been handled or 40 codes have been, the modifier byte in word 41.
void translateSlot(const KeyCode (&codes)[kKeysPerSlot], ButtonEntry& entry);

}  // namespace zentra
