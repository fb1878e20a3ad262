// A test dinput8.dll for the stand-in panel: placed beside a copy of
// ZntPanelHost.exe and loaded for that process only (WINEDLLOVERRIDES
// dinput8=n,b), it lets the control panel's own DirectInput calls reach the
// simulated wheel. Everything goes to the system's DirectInput (the keyboard
// keeps working) except the joystick and the joystick configuration, which
// the system does not have here: the configuration interface is the test
// one, and a joystick it names is a test joystick that follows simulated
// wheel N for joystick id N.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "sim/sim_wheels.h"
#include "tools/cplhost/fake_dinput.h"

using namespace zentra;

namespace {

const GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID kIidDirectInput8A = {0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
const GUID kIidJoyConfig8 = {0xEB0D7DFA, 0x1990, 0x4F27, {0xB4, 0xD6, 0xED, 0xF2, 0xEE, 0xC4, 0xA4, 0x4C}};

using Create8 = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, void**, IUnknown*);

// One configuration interface for the whole process, as the system has one.
FakeJoyConfig& joyConfig() {
    static FakeJoyConfig config;
    return config;
}

class TestDirectInput final : public IDirectInput8A {
public:
    explicit TestDirectInput(IDirectInput8A* real) : real_(real) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override {
        if (IsEqualGUID(riid, kIidJoyConfig8)) {
            joyConfig().AddRef();
            *out = &joyConfig();
            return S_OK;
        }
        if (IsEqualGUID(riid, kIidUnknown) || IsEqualGUID(riid, kIidDirectInput8A)) {
            AddRef();
            *out = this;
            return S_OK;
        }
        return real_->QueryInterface(riid, out);
    }
    STDMETHOD_(ULONG, AddRef)() override { return ULONG(InterlockedIncrement(&references_)); }
    STDMETHOD_(ULONG, Release)() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            real_->Release();
            delete this;
        }
        return ULONG(left);
    }
    STDMETHOD(CreateDevice)(REFGUID instance, LPDIRECTINPUTDEVICE8A* device, LPUNKNOWN outer) override {
        const int id = testJoystickId(instance);
        if (id < 0) return real_->CreateDevice(instance, device, outer);
        // Owned by whoever releases it last.
        *device = new OwnedJoystick(sim::simHidPath(id));
        return DI_OK;
    }
    STDMETHOD(EnumDevices)(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID ref, DWORD flags) override {
        return real_->EnumDevices(type, callback, ref, flags);
    }
    STDMETHOD(GetDeviceStatus)(REFGUID instance) override {
        return testJoystickId(instance) >= 0 ? DI_OK : real_->GetDeviceStatus(instance);
    }
    STDMETHOD(RunControlPanel)(HWND owner, DWORD flags) override { return real_->RunControlPanel(owner, flags); }
    STDMETHOD(Initialize)(HINSTANCE instance, DWORD version) override { return real_->Initialize(instance, version); }
    STDMETHOD(FindDevice)(REFGUID cls, LPCSTR name, LPGUID instance) override {
        return real_->FindDevice(cls, name, instance);
    }
    STDMETHOD(EnumDevicesBySemantics)(LPCSTR user, LPDIACTIONFORMATA format, LPDIENUMDEVICESBYSEMANTICSCBA callback,
                                      LPVOID ref, DWORD flags) override {
        return real_->EnumDevicesBySemantics(user, format, callback, ref, flags);
    }
    STDMETHOD(ConfigureDevices)(LPDICONFIGUREDEVICESCALLBACK callback, LPDICONFIGUREDEVICESPARAMSA params, DWORD flags,
                                LPVOID ref) override {
        return real_->ConfigureDevices(callback, params, flags, ref);
    }

private:
    // A test joystick that deletes itself with its last reference.
    class OwnedJoystick final : public FakeJoystick {
    public:
        explicit OwnedJoystick(std::wstring path) : FakeJoystick(std::move(path), {}) {}
        STDMETHOD_(ULONG, Release)() override {
            const ULONG left = FakeJoystick::Release();
            if (left == 0) delete this;
            return left;
        }
    };

    IDirectInput8A* real_;
    LONG references_ = 1;
};

}  // namespace

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid, void** out,
                                             IUnknown* outer) {
    if (!out) return E_POINTER;
    *out = nullptr;
    // The system's DirectInput by its full path: the same name would find
    // this library again.
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 13 >= MAX_PATH) return E_FAIL;
    lstrcpynA(path + n, "\\dinput8.dll", MAX_PATH - n);
    HMODULE system = LoadLibraryA(path);
    auto create = system ? reinterpret_cast<Create8>(reinterpret_cast<void*>(GetProcAddress(system, "DirectInput8Create")))
                         : nullptr;
    if (!create || create == DirectInput8Create) return E_FAIL;
    IDirectInput8A* real = nullptr;
    const HRESULT hr = create(instance, version, kIidDirectInput8A, reinterpret_cast<void**>(&real), outer);
    if (FAILED(hr)) return hr;
    if (!IsEqualGUID(riid, kIidDirectInput8A)) {
        const HRESULT asked = real->QueryInterface(riid, out);
        real->Release();
        return asked;
    }
    *out = static_cast<IDirectInput8A*>(new TestDirectInput(real));
    return DI_OK;
}
