// The control panel's DirectInput interfaces.
#include "cpl/frame/direct_input.h"

#include "cpl/frame/cpl_module.h"

namespace zentra {

const GUID kIidDirectInput8A = {0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID kIidDirectInputJoyConfig8 = {0xEB0D7DFA, 0x1990, 0x4F27, {0xB4, 0xD6, 0xED, 0xF2, 0xEE, 0xC4, 0xA4, 0x4C}};
const GUID kIidDirectInputDevice8A = {0x54D41080, 0xDC15, 0x4833, {0xA4, 0x1B, 0x74, 0x8F, 0x73, 0xA3, 0x81, 0x79}};

namespace {

DirectInputState g_directInput;

// Holds DeviceLock for a scope.
class DeviceLockHolder {
public:
    DeviceLockHolder() { EnterCriticalSection(&DeviceLock); }
    ~DeviceLockHolder() { LeaveCriticalSection(&DeviceLock); }
    DeviceLockHolder(const DeviceLockHolder&) = delete;
    DeviceLockHolder& operator=(const DeviceLockHolder&) = delete;
};

}  // namespace

DirectInputState& directInputState() { return g_directInput; }

void releaseDirectInput() {
    if (g_directInput.root) g_directInput.root->Release();
    g_directInput = DirectInputState{};
}

HRESULT createDirectInputRoot(IDirectInput8A** root) {
    *root = nullptr;
    return DirectInput8Create(cplModuleInstance(), 0x0800, kIidDirectInput8A, reinterpret_cast<void**>(root), nullptr);
}

HRESULT AcquireDirectInput(HWND ownerWindow, IDIGameCntrlPropSheet* sheet) {
    DeviceLockHolder lock;
    if (!sheet) return E_POINTER;
    DirectInputState& di = g_directInput;
    sheet->GetDevice(&di.device);
    sheet->GetJoyConfig(&di.joyConfig);
    if (di.device && di.joyConfig) return 1;

    if (!di.root) {
        const HRESULT created = createDirectInputRoot(&di.root);
        if (FAILED(created)) return created;
    }
    if (!di.joyConfig) {
        const HRESULT asked = di.root->QueryInterface(kIidDirectInputJoyConfig8, reinterpret_cast<void**>(&di.joyConfig));
        if (FAILED(asked)) {
            di.joyConfig = nullptr;
            return asked;
        }
        sheet->SetJoyConfig(di.joyConfig);
    }
    if (di.device) return S_OK;
    if (!di.joyConfig) return E_FAIL;
    const HRESULT made = CreateJoystickDevice(sheet->GetID(), ownerWindow, di.root, di.joyConfig, &di.device);
    if (FAILED(made)) return made;
    sheet->SetDevice(di.device);
    return made;
}

HRESULT CreateJoystickDevice(UINT joystickId, HWND ownerWindow, IDirectInput8A* root, IDirectInputJoyConfig8* joyConfig,
                             IDirectInputDevice8A** device) {
    if (!root || !joyConfig || !device) return E_POINTER;
    DIJOYCONFIG config;
    ZeroMemory(&config, sizeof config);
    config.dwSize = sizeof config;
    HRESULT hr = joyConfig->GetConfig(joystickId, &config, DIJC_GUIDINSTANCE);
    if (FAILED(hr)) return hr;
    IDirectInputDevice8A* first = nullptr;
    hr = root->CreateDevice(config.guidInstance, &first, nullptr);
    if (FAILED(hr)) return hr;
    hr = first->QueryInterface(kIidDirectInputDevice8A, reinterpret_cast<void**>(device));
    first->Release();
    if (FAILED(hr)) return hr;
    hr = (*device)->SetDataFormat(&c_dfDIJoystick);
    if (FAILED(hr)) return hr;
    return (*device)->SetCooperativeLevel(ownerWindow, DISCL_EXCLUSIVE | DISCL_BACKGROUND);
}

HRESULT ReadJoystickState(IDirectInputDevice8A* device, DIJOYSTATE* state) {
    if (!device || !state) return E_POINTER;
    ZeroMemory(state, sizeof *state);
    device->Poll();
    return device->GetDeviceState(sizeof *state, state);
}

}  // namespace zentra
