// Device links: the seam between the wheel code and the platform's device
// I/O (CreateFileA, DeviceIoControl, CloseHandle).
#pragma once

#include <cstdint>
#include <string>

namespace zentra {

// An open link; 0 when none is open.
using LinkHandle = uintptr_t;

// How a link is opened. Both ask for read and write access and an existing
// device.
enum class LinkOpenMode {
    Panel,   // shared for reading and writing, FILE_ATTRIBUTE_TEMPORARY
    Loader,  // shared for writing, no flags
};

class DeviceIo {
public:
    virtual ~DeviceIo() = default;
    // 0 when the link cannot be opened.
    virtual LinkHandle open(const std::string& name, LinkOpenMode mode) = 0;
    // One DeviceIoControl call; false when it fails. `returned` receives the
    // bytes the driver wrote.
    virtual bool control(LinkHandle link, uint32_t code, const void* input, uint32_t inputSize, void* output,
                         uint32_t outputSize, uint32_t& returned) = 0;
    virtual void close(LinkHandle link) = 0;
};

// The platform's device I/O (Win32 only).
DeviceIo& platformDeviceIo();

}  // namespace zentra
