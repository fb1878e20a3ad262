#include "driver/upload.h"

#include <cstring>

#include "driver/key_translation.h"

namespace zentra {

namespace {

// The game block's fixed calibration words.
const uint32_t kGameCalibration[4] = {85, 170, 85, 170};
constexpr size_t kGameCalibrationOffset = 12;

// The panel's stored tables when the registry holds none: what it would
// have stored for the default (identity) curve.
void defaultStoredTables(ParameterBlock& block) {
    SensitivityTable identity;
    for (int i = 0; i < kSensitivityEntries; ++i) identity.entry[i] = uint8_t(i);
    AxisTable t;
    buildSymmetricTable(t, identity, 0, 128, 255, false);
    std::memcpy(block.xTable, t.entry, 256);
    buildPedalTable(t, identity, 0, 255);
    std::memcpy(block.yTable, t.entry, 256);
    std::memcpy(block.zTable, t.entry, 256);
}

// Hardware area of modes 1 and 3: the first 111 bytes of the saved
// configuration, the last byte 0.
void fillStoredHardware(ParameterBlock& block, Registry& registry, int number) {
    uint8_t record[kHardwareConfigSize];
    readHardwareRecord(record, registry, number);
    std::memcpy(block.hardwareConfig, record, kHardwareConfigSize - 1);
    block.hardwareConfig[kHardwareConfigSize - 1] = 0;
}

}  // namespace

void fillButtonEntries(ParameterBlock& block, const Preset& preset) {
    std::memset(block.buttons, 0, sizeof block.buttons);
    for (int slot = 0; slot < kEmulationSlots; ++slot) translateSlot(preset.buttonKeys[slot], block.buttons[slot]);
}

void buildPanelBlock(PanelWheel& wheel, const Preset& preset, int closing, Registry& registry) {
    ParameterBlock& block = wheel.block;
    const int number = wheel.link.deviceNumber;
    block.mode = closing ? kModeClosing : kModeTestPage;

    block.pedalsLinked = preset.pedalsLinked ? 1 : 0;
    registry.writeRegString(kParametersKey, linkPedalsName(number).c_str(), preset.pedalsLinked ? "YES" : "NO");

    // Slot 0 is the steering axis (X); slots 2 and 3 the pedals (Y, Z).
    AxisTable table;
    buildSensitivityTable(wheel.sensitivity, preset, 0);
    buildSymmetricTable(table, wheel.sensitivity, 0, 128, 255, (preset.axisInvert & 1) != 0);
    registry.writeRegBinary(table.entry, 256, kParametersKey, kAxisTableValues[0]);
    std::memcpy(block.xTable, table.entry, 256);
    buildSensitivityTable(wheel.sensitivity, preset, 2);
    buildPedalTable(table, wheel.sensitivity, 0, 255);
    registry.writeRegBinary(table.entry, 256, kParametersKey, kAxisTableValues[1]);
    std::memcpy(block.yTable, table.entry, 256);
    buildSensitivityTable(wheel.sensitivity, preset, 3);
    buildPedalTable(table, wheel.sensitivity, 0, 255);
    registry.writeRegBinary(table.entry, 256, kParametersKey, kAxisTableValues[2]);
    std::memcpy(block.zTable, table.entry, 256);

    fillButtonEntries(block, preset);
    for (int entry = 0; entry < kStoredButtonEntries; ++entry)
        registry.writeRegBinary(&block.buttons[entry], sizeof(ButtonEntry), kParametersKey,
                                buttonEntryName(entry).c_str());

    std::memset(block.padding, 0, sizeof block.padding);
    fillStoredHardware(block, registry, number);
}

int uploadParameters(int closing, PanelWheel& wheel, const Preset& currentPreset, Registry& registry, DeviceIo& io) {
    buildPanelBlock(wheel, currentPreset, closing, registry);
    sendParameterBlock(io, wheel.link.linkHandle, wheel.block);
    return 1;
}

void buildGameBlock(LoaderWheel& wheel, const Preset& preset) {
    ParameterBlock& block = wheel.block;
    block.mode = kModeGame;
    uint8_t* tables[3] = {block.xTable, block.yTable, block.zTable};
    for (int slot = 0; slot < 3; ++slot) {
        AxisTable table;
        buildSensitivityTable(wheel.sensitivity, preset, slot);
        const bool invert = ((preset.axisInvert >> (8 * slot)) & 1) != 0;
        buildLoaderTable(table, wheel.sensitivity, 0, 128, 255, invert);
        std::memcpy(tables[slot], table.entry, 256);
    }
    fillButtonEntries(block, preset);
    std::memset(block.hardwareConfig, 0, sizeof block.hardwareConfig);
    for (int i = 0; i < 4; ++i)
        writeU32(block.hardwareConfig + kGameCalibrationOffset + 4 * i, kGameCalibration[i]);
}

int uploadGamePreset(LoaderWheel& wheel, const Preset& currentPreset, DeviceIo& io) {
    buildGameBlock(wheel, currentPreset);
    sendLinkCommand(io, wheel.emulationLink, kCodeParameterBlock, &wheel.block, sizeof wheel.block);
    return 1;
}

void buildStoredBlock(LoaderWheel& wheel, int modeFlag, int number, Registry& registry) {
    ParameterBlock& block = wheel.block;
    block.mode = modeFlag ? kModeClosing : kModeTestPage;

    const char* linked = registry.readRegStringQuery(kParametersKey, linkPedalsName(number).c_str());
    block.pedalsLinked = linked ? (std::strcmp(linked, "NO") != 0 ? 1 : 0) : 0;
    std::memset(block.padding, 0, sizeof block.padding);

    // A table or entry missing from the registry, or of another type or
    // size, is replaced as a whole: the default curve's table, an empty entry.
    ParameterBlock defaults;
    defaultStoredTables(defaults);
    uint8_t* tables[3] = {block.xTable, block.yTable, block.zTable};
    const uint8_t* fallback[3] = {defaults.xTable, defaults.yTable, defaults.zTable};
    for (int axis = 0; axis < 3; ++axis) {
        uint32_t stored = 0;
        if (!registry.readRegBinary(tables[axis], 256, kParametersKey, kAxisTableValues[axis], &stored) ||
            stored != 256)
            std::memcpy(tables[axis], fallback[axis], 256);
    }

    std::memset(block.buttons, 0, sizeof block.buttons);
    for (int entry = 0; entry < kStoredButtonEntries; ++entry) {
        uint32_t stored = 0;
        if (!registry.readRegBinary(&block.buttons[entry], sizeof(ButtonEntry), kParametersKey,
                                    buttonEntryName(entry).c_str(), &stored) ||
            stored != sizeof(ButtonEntry))
            std::memset(&block.buttons[entry], 0, sizeof(ButtonEntry));
    }

    fillStoredHardware(block, registry, number);
}

int uploadStoredParameters(int modeFlag, int number, LoaderWheel& wheel, Registry& registry, DeviceIo& io) {
    buildStoredBlock(wheel, modeFlag, number, registry);
    sendParameterBlock(io, wheel.wheelLink, wheel.block);
    return 1;
}

}  // namespace zentra
