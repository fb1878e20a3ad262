#include "driver/device_io_memory.h"

#include <algorithm>
#include <cstring>

namespace zentra {

LinkHandle MemoryDeviceIo::open(const std::string& name, LinkOpenMode mode) {
    const bool ok = devices.count(name) != 0;
    opens.push_back({name, mode, ok});
    if (!ok) return 0;
    const LinkHandle h = next_++;
    openLinks[h] = name;
    return h;
}

bool MemoryDeviceIo::control(LinkHandle link, uint32_t code, const void* input, uint32_t inputSize, void* output,
                             uint32_t outputSize, uint32_t& returned) {
    returned = 0;
    auto it = openLinks.find(link);
    if (it == openLinks.end() || failCalls) return false;
    const uint8_t* in = static_cast<const uint8_t*>(input);
    calls.push_back({it->second, code, std::vector<uint8_t>(in, in + inputSize), outputSize});
    if (code == 0x4201D) {
        returned = uint32_t(std::min<size_t>(outputSize, report.size()));
        std::memcpy(output, report.data(), returned);
        return true;
    }
    const uint32_t answer = answers.count(code) ? answers[code] : 1;
    if (outputSize >= 4) {
        std::memcpy(output, &answer, 4);
        returned = 4;
    }
    return true;
}

void MemoryDeviceIo::close(LinkHandle link) {
    auto it = openLinks.find(link);
    if (it == openLinks.end()) return;
    closes.push_back(it->second);
    openLinks.erase(it);
}

std::vector<MemoryDeviceIo::Call> MemoryDeviceIo::callsWith(uint32_t code) const {
    std::vector<Call> out;
    for (const Call& c : calls)
        if (c.code == code) out.push_back(c);
    return out;
}

}  // namespace zentra
