// What passes between the programs and the wheel's driver: the control
// codes, their buffers and the calls that send them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/device_io.h"
#include "preset/preset.h"

namespace zentra {

class Registry;

// Control codes.
constexpr uint32_t kCodeParameterBlock = 0x222006;   // block in, result word out
constexpr uint32_t kCodeEmulationSwitch = 0x22200E;  // switch in, result word out
constexpr uint32_t kCodeWheelReport = 0x4201D;       // report out
constexpr uint32_t kCodeLinkOpened = 1;              // loader's emulation link only
constexpr uint32_t kCodeLinkWindow = 2;              // the loader's main window handle in
constexpr uint32_t kCodeLinkClosing = 3;

// Block modes.
constexpr uint32_t kModeTestPage = 1;
constexpr uint32_t kModeGame = 2;
constexpr uint32_t kModeClosing = 3;

constexpr int kUsagesPerEntry = 40;
constexpr size_t kHardwareConfigSize = 112;

#pragma pack(push, 1)
// One emulation slot in the driver's terms: keyboard usages and the
// modifier byte of the whole sequence.
struct ButtonEntry {
    uint16_t usage[kUsagesPerEntry];
    uint16_t reserved;
    uint16_t modifiers;
};

// A preset in the driver's terms. All fields little-endian.
struct ParameterBlock {
    uint32_t mode;
    ButtonEntry buttons[kEmulationSlots];
    uint8_t xTable[256];
    uint8_t yTable[256];
    uint8_t zTable[256];
    uint8_t pedalsLinked;
    uint8_t padding[3];
    uint8_t hardwareConfig[kHardwareConfigSize];
};

struct EmulationSwitch {
    uint32_t selector;  // 768 for the keyboard emulation switch
    uint32_t enabled;
};

// The wheel's raw input: bytes 2 and 3 the buttons, 5, 6 and 7 the axes.
struct WheelReport {
    uint8_t bytes[17];
};
#pragma pack(pop)

static_assert(sizeof(ButtonEntry) == 84, "button entry layout");
static_assert(sizeof(ParameterBlock) == 2652, "parameter block layout");
static_assert(offsetof(ParameterBlock, xTable) == 1768, "parameter block layout");
static_assert(offsetof(ParameterBlock, pedalsLinked) == 2536, "parameter block layout");
static_assert(offsetof(ParameterBlock, hardwareConfig) == 2540, "parameter block layout");
static_assert(sizeof(EmulationSwitch) == 8 && sizeof(WheelReport) == 17, "buffer layouts");

constexpr uint32_t kEmulationSelector = 768;
constexpr uint8_t kReportEndsPanel = 0x63;  // report byte 4 that ends the control panel

// What the hosting process offers to the wheel code: ending itself with an
// exit code, and the error box. Tests observe both.
class ProcessHost {
public:
    virtual ~ProcessHost() = default;
    // Ends the whole process. The real one does not return; a test one
    // records the code, and the caller then returns at once.
    virtual void exitProcess(int code) = 0;
    // A message box without owner, caption "Error", stop icon, OK button.
    virtual void errorBox(const char* text) = 0;
};

ProcessHost& platformProcessHost();

// Each sender returns the driver's 32-bit answer, or -1 when the call fails.
int64_t sendParameterBlock(DeviceIo& io, LinkHandle link, const ParameterBlock& block);
int64_t sendEmulationSwitch(DeviceIo& io, LinkHandle link, const EmulationSwitch& sw, uint32_t size);
int64_t sendLinkCommand(DeviceIo& io, LinkHandle link, uint32_t code, const void* input, uint32_t size);

// 0 on success, -1 on failure. A report whose byte 4 is 0x63 ends the
// process with exit code 0.
int readWheelReport(DeviceIo& io, LinkHandle link, WheelReport& report, ProcessHost& host);

// The control panel's copy of the wheel's saved hardware configuration
// (a JOYREGHWCONFIG record) and the raw ranges derived from it, for X, Y, Z
// and R.
struct HardwareConfig {
    uint8_t record[kHardwareConfigSize];
    uint16_t rawMax[4];
    uint16_t rawMin[4];
    uint16_t rawCenter[4];
};

// Record offsets of the axis ranges: minima, maxima and centres of X, Y, Z,
// R, U, V as u32 each.
constexpr size_t kHwMinOffset = 12;
constexpr size_t kHwMaxOffset = 36;
constexpr size_t kHwCenterOffset = 60;

// Reads "Joystick%dConfiguration". A missing value, or one that is not 112
// bytes, counts as a configuration never calibrated: the record is zero but
// for the default ranges (centre 127, maximum 255, minimum 0).
void loadHardwareConfiguration(HardwareConfig& config, Registry& registry, int deviceNumber);

// Reads the 112-byte value into `record`; all zero when it is missing or not
// 112 bytes. Returns whether it was there.
bool readHardwareRecord(uint8_t (&record)[kHardwareConfigSize], Registry& registry, int deviceNumber);

uint32_t readU32(const uint8_t* p);
void writeU32(uint8_t* p, uint32_t v);

}  // namespace zentra
