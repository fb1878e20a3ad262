// Helpers shared by the wheel link unit tests: a recording process host, a
// scripted device path, curves and records built by hand, and the blocks a
// recording device link received.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "driver/device_io_memory.h"
#include "driver/discovery.h"
#include "driver/protocol.h"
#include "preset/preset.h"
#include "preset/sensitivity.h"

namespace zentra {
namespace test {

using Bytes = std::vector<uint8_t>;

// Records each error box and each exit as "box:<text>" and "exit:<code>", in
// order. Unlike the real host it returns from exitProcess, as the code under
// test returns right after calling it.
class RecordingHost : public ProcessHost {
public:
    void exitProcess(int code) override { events.push_back("exit:" + std::to_string(code)); }
    void errorBox(const char* text) override { events.push_back(std::string("box:") + text); }
    std::vector<std::string> events;
};

// A device path source that gives a fixed path, or fails.
class FixedDevicePath : public DevicePathSource {
public:
    bool devicePath(std::wstring& out) override {
        ++asked;
        if (!available) return false;
        out = path;
        return true;
    }
    std::wstring path;
    bool available = true;
    int asked = 0;
};

// S[j] = j: the curve of a default preset.
inline SensitivityTable identityCurve() {
    SensitivityTable t;
    for (int i = 0; i < kSensitivityEntries; ++i) t.entry[i] = uint8_t(i);
    return t;
}

inline SensitivityTable flatCurve(uint8_t value) {
    SensitivityTable t;
    std::memset(t.entry, value, sizeof t.entry);
    return t;
}

inline std::vector<int> ints(const uint8_t* bytes, int from, int to) {
    return std::vector<int>(bytes + from, bytes + to + 1);
}

inline uint32_t u32At(const Bytes& b, size_t offset) {
    return uint32_t(b.at(offset)) | uint32_t(b.at(offset + 1)) << 8 | uint32_t(b.at(offset + 2)) << 16 |
           uint32_t(b.at(offset + 3)) << 24;
}

inline uint16_t u16At(const Bytes& b, size_t offset) { return uint16_t(b.at(offset) | b.at(offset + 1) << 8); }

inline void putU32(Bytes& b, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(offset + i) = uint8_t(v >> (8 * i));
}

// A 112-byte hardware record whose bytes all differ from zero and from each
// other's neighbours (byte i is 0x40 + i), so that any shift or cut shows.
inline Bytes patternedRecord() {
    Bytes r(kHardwareConfigSize);
    for (size_t i = 0; i < r.size(); ++i) r[i] = uint8_t(0x40 + i);
    return r;
}

// The parameter blocks sent on a recording link, in order, as raw bytes.
inline std::vector<Bytes> sentBlocks(const MemoryDeviceIo& io) {
    std::vector<Bytes> out;
    for (const auto& call : io.callsWith(kCodeParameterBlock)) out.push_back(call.input);
    return out;
}

// Byte ranges of a parameter block as the driver reads them.
constexpr size_t kBlockSize = 2652;
constexpr size_t kEntriesAt = 4;
constexpr size_t kEntrySize = 84;
constexpr size_t kXAt = 1768;
constexpr size_t kYAt = 2024;
constexpr size_t kZAt = 2280;
constexpr size_t kPedalsAt = 2536;
constexpr size_t kHardwareAt = 2540;

inline Bytes slice(const Bytes& b, size_t offset, size_t size) {
    return Bytes(b.begin() + offset, b.begin() + offset + size);
}
inline Bytes entryBytes(const Bytes& block, int entry) {
    return slice(block, kEntriesAt + kEntrySize * entry, kEntrySize);
}
inline Bytes tableBytes(const uint8_t (&table)[256]) { return Bytes(table, table + 256); }

}  // namespace test
}  // namespace zentra
