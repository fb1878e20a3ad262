// The hosting process as the wheel code sees it, and the DirectInput path of
// the wheel, on Windows.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>

#include "driver/host_win32.h"

namespace zentra {

namespace {

class Win32ProcessHost : public ProcessHost {
public:
    void exitProcess(int code) override { ExitProcess(UINT(code)); }
    void errorBox(const char* text) override { MessageBoxA(nullptr, text, "Error", MB_ICONSTOP | MB_OK); }
};

}  // namespace

ProcessHost& platformProcessHost() {
    static Win32ProcessHost host;
    return host;
}

bool DirectInputDevicePath::devicePath(std::wstring& path) {
    if (!device_) return false;
    DIPROPGUIDANDPATH property;
    ZeroMemory(&property, sizeof property);
    property.diph.dwSize = sizeof property;
    property.diph.dwHeaderSize = sizeof property.diph;
    property.diph.dwObj = 0;
    property.diph.dwHow = DIPH_DEVICE;
    if (FAILED(device_->GetProperty(DIPROP_GUIDANDPATH, &property.diph))) return false;
    property.wszPath[MAX_PATH - 1] = L'\0';
    path = property.wszPath;
    return true;
}

}  // namespace zentra
