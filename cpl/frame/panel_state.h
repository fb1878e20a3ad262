// The control panel's module-wide preset state: the preset table, the
// current preset that the pages edit and send, and everything the panel
// keeps for its wheel (link, parameter block, hardware configuration).
// One copy per loaded plug-in, on the panel's user-interface thread.
#pragma once

#include <cstdint>

#include "driver/upload.h"
#include "preset/preset.h"

namespace zentra {

struct PanelState {
    PresetTable table;
    Preset currentPreset;    // the working copy the pages edit and send
    uint16_t currentIndex;   // table entry that currentPreset was taken from ("LastIndice")
    PanelWheel wheel;        // link (with isEmulationDevice), block, sensitivity, hardware
};

// The plug-in's one state, zero until the main page fills it.
PanelState& panelState();

// Back to the state of a freshly loaded plug-in (all zero); for tests.
void resetPanelState();

}  // namespace zentra
