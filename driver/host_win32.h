// Win32 pieces of the wheel link: the DirectInput device path of the wheel.
#pragma once

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include "driver/discovery.h"

namespace zentra {

// The path from the wheel's DirectInput device (DIPROP_GUIDANDPATH), as the
// game-controllers panel hands the device to the control panel.
class DirectInputDevicePath : public DevicePathSource {
public:
    explicit DirectInputDevicePath(IDirectInputDevice8A* device) : device_(device) {}
    bool devicePath(std::wstring& path) override;

private:
    IDirectInputDevice8A* device_;
};

}  // namespace zentra
