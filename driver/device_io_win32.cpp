// Device links over the Win32 file and device I/O calls.
#include <windows.h>

#include "driver/device_io.h"

namespace zentra {

namespace {

class Win32DeviceIo : public DeviceIo {
public:
    LinkHandle open(const std::string& name, LinkOpenMode mode) override {
        const DWORD share = mode == LinkOpenMode::Panel ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_WRITE;
        const DWORD flags = mode == LinkOpenMode::Panel ? FILE_ATTRIBUTE_TEMPORARY : 0;
        HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, flags,
                               nullptr);
        return h == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<LinkHandle>(h);
    }

    bool control(LinkHandle link, uint32_t code, const void* input, uint32_t inputSize, void* output,
                 uint32_t outputSize, uint32_t& returned) override {
        DWORD got = 0;
        returned = 0;
        if (!link) return false;
        const BOOL ok = DeviceIoControl(reinterpret_cast<HANDLE>(link), code, const_cast<void*>(input), inputSize,
                                        output, outputSize, &got, nullptr);
        returned = got;
        return ok != FALSE;
    }

    void close(LinkHandle link) override {
        if (link) CloseHandle(reinterpret_cast<HANDLE>(link));
    }
};

}  // namespace

DeviceIo& platformDeviceIo() {
    static Win32DeviceIo io;
    return io;
}

}  // namespace zentra
