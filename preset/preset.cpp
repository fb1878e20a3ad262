#include "preset/preset.h"

#include <cstring>

namespace zentra {

const char kDefaultPresetName[] = "<<<DEFAULT PRESETS>>>";
const char kDefaultPresetPath[] = "<<<NO PATH>>>";

namespace {

// Copies a text up to and including its NUL, never past the field.
void copyText(char (&dst)[kTextSize], const char (&src)[kTextSize]) {
    size_t n = strnlen(src, kMaxTextLength);
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

void copyStoredKeys(Preset& dst, const Preset& src) {
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        std::memcpy(dst.buttonKeys[slot], src.buttonKeys[slot], kStoredKeysPerSlot * sizeof(KeyCode));
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

void setPresetText(char (&field)[kTextSize], const char* text) {
    size_t n = strnlen(text, kMaxTextLength);
    std::memcpy(field, text, n);
    field[n] = '\0';
}

int resetPreset(Preset& p, Deliverable who) {
    setPresetText(p.gameName, kDefaultPresetName);
    setPresetText(p.exePath, kDefaultPresetPath);
    p.gameType = who == Deliverable::Panel ? 2 : 0;
    static const uint16_t functions[4] = {0, 1, 3, 2};
    std::memcpy(p.axisFunction, functions, sizeof functions);
    p.pedalsLinked = who == Deliverable::Panel ? 1 : 0;
    p.axisInvert = 0;
    for (int s = 0; s < kAxisSlots; ++s) {
        p.curveType[s] = 0;
        p.curveP1x[s] = 25;
        p.curveP2x[s] = 55;
        p.curveP1y[s] = 60;
        p.curveP2y[s] = 30;
    }
    p.mouseEmulation[0] = p.mouseEmulation[1] = 0;
    p.miscWord[0] = 0;
    for (int i = 1; i < 7; ++i) p.miscWord[i] = 1;
    p.mouseSetting[0] = p.mouseSetting[1] = 0;
    static const uint16_t paramA[6] = {25, 60, 83, 25, 60, 83};
    static const uint16_t paramB[6] = {145, 110, 85, 145, 110, 85};
    std::memcpy(p.mouseParamA, paramA, sizeof paramA);
    std::memcpy(p.mouseParamB, paramB, sizeof paramB);
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        std::memset(p.buttonKeys[slot], 0, kStoredKeysPerSlot * sizeof(KeyCode));
    std::memset(p.clickMask, 0, sizeof p.clickMask);
    p.extraValue[0] = p.extraValue[1] = 0;
    p.keepValue = 1;
    p.selected = 0;
    return 1;
}

int copyPreset(Preset& dst, const Preset& src) {
    copyText(dst.gameName, src.gameName);
    copyText(dst.exePath, src.exePath);
    dst.gameType = src.gameType;
    std::memcpy(dst.axisFunction, src.axisFunction, sizeof dst.axisFunction);
    for (int s = 0; s < kAxisSlots; ++s) {
        // Slot 1 is the second half of the steering axis: it always follows slot 0.
        const int from = s == 1 ? 0 : s;
        dst.curveType[s] = src.curveType[from];
        dst.curveP1x[s] = src.curveP1x[from];
        dst.curveP2x[s] = src.curveP2x[from];
        dst.curveP1y[s] = src.curveP1y[from];
        dst.curveP2y[s] = src.curveP2y[from];
    }
    copyStoredKeys(dst, src);
    dst.mouseEmulation[0] = dst.mouseEmulation[1] = 0;
    dst.miscWord[0] = src.miscWord[0];
    for (int i = 1; i < 7; ++i) dst.miscWord[i] = 1;
    dst.extraValue[0] = dst.extraValue[1] = 1;
    dst.keepValue = src.keepValue;
    dst.selected = src.selected;
    dst.pedalsLinked = src.pedalsLinked;
    dst.axisInvert = 0;
    std::memcpy(dst.clickMask, src.clickMask, sizeof dst.clickMask);
    dst.mouseSetting[0] = dst.mouseSetting[1] = 0;
    for (int i = 0; i < 6; ++i) {
        dst.mouseParamA[i] = 25;
        dst.mouseParamB[i] = 60;
    }
    return 1;
}

int copyPresetFull(Preset& dst, const Preset& src) {
    copyText(dst.gameName, src.gameName);
    copyText(dst.exePath, src.exePath);
    dst.gameType = src.gameType;
    std::memcpy(dst.axisFunction, src.axisFunction, sizeof dst.axisFunction);
    dst.pedalsLinked = src.pedalsLinked;
    dst.axisInvert = src.axisInvert;
    std::memcpy(dst.curveType, src.curveType, sizeof dst.curveType);
    std::memcpy(dst.curveP1x, src.curveP1x, sizeof dst.curveP1x);
    std::memcpy(dst.curveP2x, src.curveP2x, sizeof dst.curveP2x);
    std::memcpy(dst.curveP1y, src.curveP1y, sizeof dst.curveP1y);
    std::memcpy(dst.curveP2y, src.curveP2y, sizeof dst.curveP2y);
    std::memcpy(dst.mouseEmulation, src.mouseEmulation, sizeof dst.mouseEmulation);
    std::memcpy(dst.miscWord, src.miscWord, sizeof dst.miscWord);
    std::memcpy(dst.mouseSetting, src.mouseSetting, sizeof dst.mouseSetting);
    std::memcpy(dst.mouseParamA, src.mouseParamA, sizeof dst.mouseParamA);
    std::memcpy(dst.mouseParamB, src.mouseParamB, sizeof dst.mouseParamB);
    copyStoredKeys(dst, src);
    std::memcpy(dst.clickMask, src.clickMask, sizeof dst.clickMask);
    std::memcpy(dst.extraValue, src.extraValue, sizeof dst.extraValue);
    dst.keepValue = src.keepValue;
    dst.selected = src.selected;
    return 1;
}

int findFirstSelected(const Preset* presets, int count) {
    if (count < 1) return 0;
    for (int i = 0; i < count; ++i)
        if (presets[i].selected == 1) return i;
    return count;
}

int clearSelected(Preset* presets, int count) {
    for (int i = 0; i < count; ++i) presets[i].selected = 0;
    return 1;
}

bool containsIgnoringCase(const char* haystack, const char* needle) {
    const size_t n = std::strlen(needle);
    if (n == 0) return true;
    for (const char* h = haystack; *h; ++h) {
        size_t i = 0;
        while (i < n && h[i] && upperAscii(h[i]) == upperAscii(needle[i])) ++i;
        if (i == n) return true;
    }
    return false;
}

int findDefaultPreset(const PresetTable& table) {
    const int count = table.presetCount > kMaxPresets ? kMaxPresets : table.presetCount;
    for (int i = 0; i < count; ++i) {
        const Preset& p = table.presets[i];
        // The record's texts are always terminated within their buffers; a
        // damaged record is bounded here all the same.
        char name[kTextSize], path[kTextSize];
        setPresetText(name, p.gameName);
        setPresetText(path, p.exePath);
        if (containsIgnoringCase(path, "<<NO PATH>>") && containsIgnoringCase(name, "<<DEFAULT PRESET"))
            return i;
    }
    return -1;
}

}  // namespace zentra
