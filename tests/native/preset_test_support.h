// Helpers shared by the preset unit tests: tables on the heap, presets filled
// with recognisable values, and a field-by-field comparison of two presets.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "preset/preset.h"

namespace zentra {
namespace test {

// A table is about 680 KB: never on a test's stack. Zero-filled.
inline std::unique_ptr<PresetTable> newTable() { return std::unique_ptr<PresetTable>(new PresetTable()); }

// Writes `text` and its NUL into a text field and fills the rest of the field
// with '#', so that a copy of the bytes after the NUL shows.
inline void putText(char (&field)[kTextSize], const std::string& text) {
    std::memset(field, '#', sizeof field);
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
}

// Overwrites only the text and its NUL, as a reader or a copy does.
inline void overlayText(char (&field)[kTextSize], const char* text) {
    std::memcpy(field, text, std::strlen(text) + 1);
}

// Fills every field of a preset, all 40 codes of every key slot included.
// Each 16-bit value has 0x80 | seed as its high byte and a running number as
// its low byte; each 32-bit value has a nonzero high half unlike its low half.
// So presets of different seeds differ in every field, the fields of one
// preset differ from each other, and no four bytes of the values spell a
// section tag of the preset file.
inline void fillPreset(Preset& p, unsigned seed) {
    const unsigned hi = 0x80u | (seed & 0x7Fu);
    unsigned k = 0;
    auto v16 = [&]() { return uint16_t(hi << 8 | ((++k) & 0xFFu)); };
    auto v32 = [&]() {
        const uint16_t low = v16();
        return uint32_t(hi ^ 0x40u) << 24 | uint32_t((k * 3u) & 0xFFu) << 16 | low;
    };
    putText(p.gameName, "Game " + std::to_string(seed));
    putText(p.exePath, "c:\\games\\g" + std::to_string(seed) + ".exe");
    p.gameType = v16();
    for (auto& v : p.axisFunction) v = v16();
    p.pedalsLinked = v32();
    p.axisInvert = v32();
    for (auto& v : p.curveType) v = v32();
    for (auto& v : p.curveP1x) v = v16();
    for (auto& v : p.curveP2x) v = v16();
    for (auto& v : p.curveP1y) v = v16();
    for (auto& v : p.curveP2y) v = v16();
    for (auto& v : p.mouseEmulation) v = v16();
    for (auto& v : p.miscWord) v = v16();
    for (auto& v : p.mouseSetting) v = v32();
    for (auto& v : p.mouseParamA) v = v16();
    for (auto& v : p.mouseParamB) v = v16();
    for (auto& slot : p.buttonKeys)
        for (auto& v : slot) v = v16();
    for (auto& v : p.clickMask) v = v16();
    for (auto& v : p.extraValue) v = v32();
    p.keepValue = v32();
    p.selected = v32();
}

// The name of the first field in which two presets differ, or "" when they
// are equal in every field (text fields compared over their whole buffers).
inline std::string presetDifference(const Preset& a, const Preset& b) {
#define ZENTRA_COMPARE(field) \
    if (std::memcmp(&a.field, &b.field, sizeof a.field) != 0) return #field;
    ZENTRA_COMPARE(gameName)
    ZENTRA_COMPARE(exePath)
    ZENTRA_COMPARE(gameType)
    ZENTRA_COMPARE(axisFunction)
    ZENTRA_COMPARE(pedalsLinked)
    ZENTRA_COMPARE(axisInvert)
    ZENTRA_COMPARE(curveType)
    ZENTRA_COMPARE(curveP1x)
    ZENTRA_COMPARE(curveP2x)
    ZENTRA_COMPARE(curveP1y)
    ZENTRA_COMPARE(curveP2y)
    ZENTRA_COMPARE(mouseEmulation)
    ZENTRA_COMPARE(miscWord)
    ZENTRA_COMPARE(mouseSetting)
    ZENTRA_COMPARE(mouseParamA)
    ZENTRA_COMPARE(mouseParamB)
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        for (int k = 0; k < kKeysPerSlot; ++k)
            if (a.buttonKeys[slot][k] != b.buttonKeys[slot][k])
                return "buttonKeys[" + std::to_string(slot) + "][" + std::to_string(k) + "]";
    ZENTRA_COMPARE(clickMask)
    ZENTRA_COMPARE(extraValue)
    ZENTRA_COMPARE(keepValue)
    ZENTRA_COMPARE(selected)
#undef ZENTRA_COMPARE
    return "";
}

}  // namespace test
}  // namespace zentra
