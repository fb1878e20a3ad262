// A recording DeviceIo for native tests: links are names that the test makes
// openable; every open, call and close is recorded, and the answers are
// scripted.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "driver/device_io.h"

namespace zentra {

class MemoryDeviceIo : public DeviceIo {
public:
    struct Call {
        std::string link;  // the name the handle was opened on
        uint32_t code;
        std::vector<uint8_t> input;
        uint32_t outputSize;
    };
    struct Open {
        std::string name;
        LinkOpenMode mode;
        bool ok;
    };

    LinkHandle open(const std::string& name, LinkOpenMode mode) override;
    bool control(LinkHandle link, uint32_t code, const void* input, uint32_t inputSize, void* output,
                 uint32_t outputSize, uint32_t& returned) override;
    void close(LinkHandle link) override;

    // Calls with the given code, in order.
    std::vector<Call> callsWith(uint32_t code) const;

    std::set<std::string> devices;        // names that open
    std::map<uint32_t, uint32_t> answers;  // result word per code (default 1)
    std::vector<uint8_t> report = std::vector<uint8_t>(17, 0);  // output of the report code
    bool failCalls = false;                // every DeviceIoControl fails

    std::vector<Open> opens;
    std::vector<Call> calls;
    std::vector<std::string> closes;
    std::map<LinkHandle, std::string> openLinks;

private:
    LinkHandle next_ = 0x100;
};

}  // namespace zentra
