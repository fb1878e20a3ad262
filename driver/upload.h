// Putting a preset on the wheel: the three procedures that build a
// parameter block and send it, and the registry copy of the last parameters.
#pragma once

#include "driver/axis_tables.h"
#include "driver/device_io.h"
#include "driver/protocol.h"
#include "preset/preset.h"
#include "preset/registry.h"
#include "preset/sensitivity.h"

namespace zentra {

// The control panel's link to its wheel.
struct DeviceLink {
    LinkHandle linkHandle;      // 0 when discovery found no wheel
    int32_t deviceNumber;       // names "Link_Pedals%d" and "Joystick%dConfiguration"
    uint32_t isEmulationDevice; // 1 when this wheel's link is the "Emulation" value
};

// What the control panel keeps for the wheel for the life of the plug-in.
struct PanelWheel {
    DeviceLink link;
    ParameterBlock block;
    SensitivityTable sensitivity;
    HardwareConfig hardware;
};

// What the tray loader keeps for the wheel for its whole life.
struct LoaderWheel {
    LinkHandle emulationLink;  // 0 when not open
    LinkHandle wheelLink;      // the numbered link of the start-up walk
    ParameterBlock block;
    SensitivityTable sensitivity;
};

// Fills all 21 button entries of the block from the preset's key slots.
void fillButtonEntries(ParameterBlock& block, const Preset& preset);

// Builds the control panel's block for `preset` (mode 3 when closing, mode 1
// otherwise) and writes its registry copy; does not send it.
void buildPanelBlock(PanelWheel& wheel, const Preset& preset, int closing, Registry& registry);

// The control panel's upload of its current preset. Returns 1.
int uploadParameters(int closing, PanelWheel& wheel, const Preset& currentPreset, Registry& registry, DeviceIo& io);

// Builds the tray loader's mode-2 block for `preset`; the pedals byte and the
// bytes after it keep what the last block held.
void buildGameBlock(LoaderWheel& wheel, const Preset& preset);

// The tray loader's upload of a game's preset on the emulation link. Returns 1.
int uploadGamePreset(LoaderWheel& wheel, const Preset& currentPreset, DeviceIo& io);

// Builds the tray loader's start-up block for wheel `number` from the
// registry copy (mode 3 when the flag is set, mode 1 otherwise).
void buildStoredBlock(LoaderWheel& wheel, int modeFlag, int number, Registry& registry);

// The tray loader's start-up upload on the numbered wheel link. Returns 1.
int uploadStoredParameters(int modeFlag, int number, LoaderWheel& wheel, Registry& registry, DeviceIo& io);

}  // namespace zentra
