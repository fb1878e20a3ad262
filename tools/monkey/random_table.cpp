#include "tools/monkey/random_table.h"

#include <cstring>
#include <string>

namespace zentra::monkey {

namespace {

std::string randomText(std::mt19937& random, int length) {
    static const char kPlain[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -_.,'&()<>!";
    std::string text;
    for (int i = 0; i < length; ++i) {
        if (chance(random, 4))
            text += char(pick(random, 0xC0, 0xFF));  // accented letters of the code page
        else
            text += kPlain[pick(random, 0, int(sizeof kPlain) - 2)];
    }
    return text;
}

// Keys a table holds: the digits row and the keypad, none of which the
// random user types.
uint8_t tableKey(std::mt19937& random) {
    static const uint8_t kKeys[] = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,
                                    0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53};
    return kKeys[pick(random, 0, int(sizeof kKeys) - 1)];
}

void randomPreset(std::mt19937& random, Preset& p) {
    resetPreset(p, Deliverable::Panel);
    const int nameLength = chance(random, 5) ? pick(random, 200, 254) : pick(random, 1, 30);
    setPresetText(p.gameName, randomText(random, nameLength).c_str());
    const std::string path =
        chance(random, 5) ? std::string() : "C:\\Games\\" + randomText(random, pick(random, 1, 20)) + ".exe";
    setPresetText(p.exePath, path.c_str());
    p.gameType = uint16_t(chance(random, 70) ? 2 : pick(random, 0, 3));
    p.pedalsLinked = uint32_t(pick(random, 0, 1));
    for (int slot = 0; slot < kAxisSlots; ++slot) {
        p.axisInvert = (p.axisInvert & ~(0xFFu << (8 * slot))) | uint32_t(chance(random, 20)) << (8 * slot);
        p.curveType[slot] = uint32_t(pick(random, 0, 1));
        const int high = chance(random, 5) ? 400 : 85;  // a file may hold anchors outside the box
        int x1 = pick(random, 0, high), x2 = pick(random, 0, high);
        if (x1 > x2) std::swap(x1, x2);
        p.curveP1x[slot] = uint16_t(x1);
        p.curveP2x[slot] = uint16_t(x2);
        p.curveP1y[slot] = uint16_t(pick(random, 0, high));
        p.curveP2y[slot] = uint16_t(pick(random, 0, high));
    }
    for (auto& slot : p.buttonKeys) {
        std::memset(slot, 0, kStoredKeysPerSlot * sizeof slot[0]);
        const int count = chance(random, 40) ? 0 : pick(random, 1, kStoredKeysPerSlot);
        for (int i = 0; i < count; ++i) {
            KeyCode modifiers = 0;
            if (chance(random, 20)) modifiers = KeyCode(kLeftCtrl << pick(random, 0, 5));
            slot[i] = KeyCode(modifiers | tableKey(random));
        }
    }
    for (uint16_t& mask : p.clickMask) mask = chance(random, 20) ? uint16_t(1u << pick(random, 0, 15)) : 0;
}

}  // namespace

void randomTable(std::mt19937& random, int count, PresetTable& table) {
    table.presetCount = uint16_t(count);
    for (int i = 0; i < count; ++i) randomPreset(random, table.presets[i]);
}

void collectSlotKeys(const PresetTable& table, SlotKeys& keys) {
    for (int i = 0; i < table.presetCount; ++i)
        for (int slot = 0; slot < kEmulationSlots; ++slot)
            for (int k = 0; k < kStoredKeysPerSlot; ++k)
                if (const KeyCode code = table.presets[i].buttonKeys[slot][k]) keys[slot].insert(code);
}

}  // namespace zentra::monkey
