// The random user's preset tables: what the control panel opens at the
// start of a run, and what its import dialog can read from the scratch
// folder.
#pragma once

#include <cstdint>
#include <random>
#include <set>

#include "preset/preset.h"

namespace zentra::monkey {

// A number from low to high, both included; true in `percent` cases of 100.
inline int pick(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}
inline bool chance(std::mt19937& random, int percent) { return pick(random, 0, 99) < percent; }

// A table of `count` presets (1..255): random names and paths (some long,
// some with characters of the upper half of the code page), mostly
// car/motorbike games with some of the other types, random curves (a few
// anchors outside the box), pedals, inversion and mouse flags, and key
// sequences built from the digit and keypad keys only. The random user
// types letters, F-keys and the like: a letter found in a slot after a run
// was typed there.
void randomTable(std::mt19937& random, int count, PresetTable& table);

// The key codes that each slot of `table`'s presets holds.
using SlotKeys = std::set<KeyCode>[kEmulationSlots];
void collectSlotKeys(const PresetTable& table, SlotKeys& keys);

}  // namespace zentra::monkey
