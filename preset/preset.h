// The preset record, the preset table and the record operations shared by
// the tray loader and the control panel.
#pragma once

#include <cstdint>

namespace zentra {

// Which deliverable an operation acts for. The two programs differ in a few
// defaults and in how they report a refused preset file.
enum class Deliverable { Panel, Loader };

constexpr int kMaxPresets = 255;
constexpr int kTextSize = 255;          // name and path buffers, NUL included
constexpr int kMaxTextLength = kTextSize - 1;
constexpr int kAxisSlots = 4;
constexpr int kEmulationSlots = 21;     // 0..12 wheel buttons 1..13, 13..20 D-pad 1..8
constexpr int kWheelButtonSlots = 13;
constexpr int kKeysPerSlot = 40;        // room in the record
constexpr int kStoredKeysPerSlot = 32;  // what is recorded, copied and stored

// A key press: DirectInput scan code in bits 0..7, modifiers above, 0 ends a
// sequence.
using KeyCode = uint16_t;
constexpr KeyCode kLeftCtrl = 0x100;
constexpr KeyCode kRightCtrl = 0x200;
constexpr KeyCode kLeftShift = 0x400;
constexpr KeyCode kRightShift = 0x800;
constexpr KeyCode kLeftAlt = 0x1000;
constexpr KeyCode kRightAlt = 0x2000;

// One game's settings. A flat record copied by value; field order and types
// are those of the record both programs have always kept in memory.
struct Preset {
    char gameName[kTextSize];
    char exePath[kTextSize];
    uint16_t gameType;                 // 0 flight, 1 action 3D, 2 car/motorbike, 3 other
    uint16_t axisFunction[4];
    uint32_t pedalsLinked;
    uint32_t axisInvert;               // one byte flag per axis slot
    uint32_t curveType[kAxisSlots];    // 0 linear, 1 curvilinear
    uint16_t curveP1x[kAxisSlots];
    uint16_t curveP2x[kAxisSlots];
    uint16_t curveP1y[kAxisSlots];
    uint16_t curveP2y[kAxisSlots];
    uint16_t mouseEmulation[2];
    uint16_t miscWord[7];
    uint32_t mouseSetting[2];
    uint16_t mouseParamA[6];
    uint16_t mouseParamB[6];
    KeyCode buttonKeys[kEmulationSlots][kKeysPerSlot];
    uint16_t clickMask[4];
    uint32_t extraValue[2];
    uint32_t keepValue;
    uint32_t selected;
};

// Fixed capacity; entries at presetCount and above keep whatever was last
// there.
struct PresetTable {
    uint16_t presetCount;
    Preset presets[kMaxPresets];
};

extern const char kDefaultPresetName[];  // "<<<DEFAULT PRESETS>>>"
extern const char kDefaultPresetPath[];  // "<<<NO PATH>>>"

// Writes the default preset of the given deliverable into every listed field.
// Codes 33..40 of each key slot are left as they are. Returns 1.
int resetPreset(Preset& preset, Deliverable who);

// The control panel's record copy: clears axis inversion and the mouse
// switches, forces slot 1's curve to slot 0's, fixes the carried mouse values.
int copyPreset(Preset& dst, const Preset& src);

// The tray loader's record copy: every field, strings up to their NUL and the
// first 32 codes of each key slot.
int copyPresetFull(Preset& dst, const Preset& src);

// Index of the first preset among the first `count` marked as selected;
// `count` when none is, 0 when count is below 1.
int findFirstSelected(const Preset* presets, int count);
int clearSelected(Preset* presets, int count);

// Tray loader: index of the first preset whose path contains "<<NO PATH>>"
// and whose name contains "<<DEFAULT PRESET", compared without regard to
// letter case; -1 when none. The stored texts are left as they are.
int findDefaultPreset(const PresetTable& table);

// Copies a NUL-terminated text into a record's text field, cut at 254
// characters.
void setPresetText(char (&field)[kTextSize], const char* text);

// Case-insensitive (ASCII letters) substring test used by the loader's
// matching rules.
bool containsIgnoringCase(const char* haystack, const char* needle);

}  // namespace zentra
