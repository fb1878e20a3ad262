#include "driver/protocol.h"

#include <cstring>

#include "preset/registry.h"

namespace zentra {

uint32_t readU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void writeU32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

int64_t sendLinkCommand(DeviceIo& io, LinkHandle link, uint32_t code, const void* input, uint32_t size) {
    uint8_t answer[4] = {0, 0, 0, 0};
    uint32_t returned = 0;
    if (!io.control(link, code, input, size, answer, sizeof answer, returned)) return -1;
    return readU32(answer);
}

int64_t sendParameterBlock(DeviceIo& io, LinkHandle link, const ParameterBlock& block) {
    return sendLinkCommand(io, link, kCodeParameterBlock, &block, sizeof block);
}

int64_t sendEmulationSwitch(DeviceIo& io, LinkHandle link, const EmulationSwitch& sw, uint32_t size) {
    return sendLinkCommand(io, link, kCodeEmulationSwitch, &sw, size);
}

int readWheelReport(DeviceIo& io, LinkHandle link, WheelReport& report, ProcessHost& host) {
    uint32_t returned = 0;
    if (!io.control(link, kCodeWheelReport, nullptr, 0, report.bytes, sizeof report.bytes, returned)) return -1;
    if (report.bytes[4] == kReportEndsPanel) host.exitProcess(0);
    return 0;
}

bool readHardwareRecord(uint8_t (&record)[kHardwareConfigSize], Registry& registry, int deviceNumber) {
    uint32_t stored = 0;
    const bool whole = registry.readRegBinary(record, kHardwareConfigSize, kPanelKey,
                                              joystickConfigurationName(deviceNumber).c_str(), &stored) &&
                       stored == kHardwareConfigSize;
    if (!whole) std::memset(record, 0, kHardwareConfigSize);
    return whole;
}

void loadHardwareConfiguration(HardwareConfig& config, Registry& registry, int deviceNumber) {
    readHardwareRecord(config.record, registry, deviceNumber);
    if (readU32(config.record + kHwMaxOffset) == 0) {
        for (int axis = 0; axis < 4; ++axis) {
            writeU32(config.record + kHwCenterOffset + 4 * axis, 127);
            writeU32(config.record + kHwMaxOffset + 4 * axis, 255);
            writeU32(config.record + kHwMinOffset + 4 * axis, 0);
            config.rawCenter[axis] = 127;
            config.rawMax[axis] = 255;
            config.rawMin[axis] = 0;
        }
        return;
    }
    for (int axis = 0; axis < 4; ++axis) {
        config.rawMax[axis] = uint16_t(readU32(config.record + kHwMaxOffset + 4 * axis));
        config.rawMin[axis] = uint16_t(readU32(config.record + kHwMinOffset + 4 * axis));
        config.rawCenter[axis] = 127;
    }
    config.rawCenter[0] = uint16_t(readU32(config.record + kHwCenterOffset));
}

}  // namespace zentra
