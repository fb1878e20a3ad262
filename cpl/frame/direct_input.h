// The control panel's DirectInput interfaces: the root it creates, and the
// joystick device and joystick-configuration interface that it shares with
// the sheet object (which owns them), obtained under DeviceLock.
#pragma once

#include "cpl/frame/dinput_sheet.h"

namespace zentra {

// Module-wide; reset (all null) when the main page closes.
struct DirectInputState {
    IDirectInput8A* root;              // created here, released by the main page
    IDirectInputJoyConfig8* joyConfig;  // the sheet's
    IDirectInputDevice8A* device;      // the sheet's
};
DirectInputState& directInputState();
// The wheel's joystick device the pages read, or null.
inline IDirectInputDevice8A* wheelDevice() { return directInputState().device; }

// Releases the root and forgets all three pointers (the other two belong to
// the sheet object, which releases them itself).
void releaseDirectInput();

// DirectInput8Create with the module instance, version 0x0800 and the ANSI
// root interface.
HRESULT createDirectInputRoot(IDirectInput8A** root);

// 1 when the sheet already held both interfaces; another non-negative
// value when they were obtained now; the failing step's result otherwise
// (E_POINTER for no sheet). Inside DeviceLock.
HRESULT AcquireDirectInput(HWND ownerWindow, IDIGameCntrlPropSheet* sheet);

// The joystick `joystickId` as an IDirectInputDevice8 in `device`, with the
// standard joystick format and exclusive background access for
// `ownerWindow`. The first failing step's result; an interface obtained
// before the failure stays in `device`.
HRESULT CreateJoystickDevice(UINT joystickId, HWND ownerWindow, IDirectInput8A* root, IDirectInputJoyConfig8* joyConfig,
                             IDirectInputDevice8A** device);

// Polls the device and reads its 80-byte DIJOYSTATE (cleared first).
HRESULT ReadJoystickState(IDirectInputDevice8A* device, DIJOYSTATE* state);

// The interface ids the panel uses, spelled out.
extern const GUID kIidDirectInput8A;
extern const GUID kIidDirectInputJoyConfig8;
extern const GUID kIidDirectInputDevice8A;

}  // namespace zentra
