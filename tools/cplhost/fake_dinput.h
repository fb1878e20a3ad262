// Test implementations of the DirectInput joystick device and of the
// joystick configuration interface, as the game-controllers panel hands them
// to a property sheet. Wine has no joystick and its configuration interface
// answers E_NOTIMPL, so the stand-in panel and the tests use these: the
// device plays a script of joystick states or, without one, follows the
// simulated wheel's report, and both count their calls.
#pragma once

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include <string>

#include "sim/sim_client.h"
#include <vector>

namespace zentra {

// One scripted joystick state: X, Y, Z, Rz and the buttons (bit i = button i).
struct ScriptedState {
    LONG x = 32767, y = 32767, z = 32767, rz = 32767;
    DWORD buttons = 0;
    DWORD pov = 0xFFFFFFFF;  // the hat, in hundredths of a degree; centred
};

// Lines of "x y z rz buttons" (buttons in hex); '#' starts a comment.
// Returns false when a line cannot be read.
bool parseJoystickScript(const std::string& text, std::vector<ScriptedState>& states, std::string& error);

// The joystick state of a wheel report: the X, Y and Z bytes (5, 6, 7)
// scaled to 0..65535, Rz centred, button i pressed when bit i of the button
// bytes (2, then 3) is set.
ScriptedState stateOfReport(const uint8_t (&report)[SIM_WHEEL_REPORT_SIZE]);

class FakeJoystick : public IDirectInputDevice8A {
public:
    FakeJoystick(std::wstring path, std::vector<ScriptedState> script);
    virtual ~FakeJoystick() = default;

    // Each GetDeviceState takes the next state; the last one stays. Without
    // a script each one reads the simulated wheel's report.
    std::vector<ScriptedState> script;
    std::wstring path;  // what DIPROP_GUIDANDPATH answers
    LONG references = 1;
    int acquires = 0, unacquires = 0, polls = 0, states = 0;

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetCapabilities)(LPDIDEVCAPS caps) override;
    STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetProperty)(REFGUID property, LPDIPROPHEADER header) override;
    STDMETHOD(SetProperty)(REFGUID, LPCDIPROPHEADER) override { return DI_OK; }
    STDMETHOD(Acquire)() override;
    STDMETHOD(Unacquire)() override;
    STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override;
    STDMETHOD(GetDeviceData)(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD count, DWORD) override;
    STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT) override { return DI_OK; }
    STDMETHOD(SetEventNotification)(HANDLE) override { return DI_OK; }
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return DI_OK; }
    STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA info) override;
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return DI_OK; }
    STDMETHOD(CreateEffect)(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override { return E_NOTIMPL; }
    STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(SendForceFeedbackCommand)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHOD(Escape)(LPDIEFFESCAPE) override { return E_NOTIMPL; }
    STDMETHOD(Poll)() override;
    STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumEffectsInFile)(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(WriteEffectToFile)(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(BuildActionMap)(LPDIACTIONFORMATA, LPCSTR, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetActionMap)(LPDIACTIONFORMATA, LPCSTR, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetImageInfo)(LPDIDEVICEIMAGEINFOHEADERA) override { return E_NOTIMPL; }

private:
    size_t next_ = 0;
    sim::SimClient wheel_;
};

// The instance GUID by which the configuration names joystick `id`, and the
// joystick id of such a GUID (-1 for any other GUID).
GUID testJoystickInstance(UINT id);
int testJoystickId(REFGUID instance);

class FakeJoyConfig final : public IDirectInputJoyConfig8 {
public:
    FakeJoyConfig();

    // What GetConfig answers (with the instance GUID of the joystick asked
    // for) and SetConfig replaces. Its hardware configuration carries
    // values of its own, so that a test can tell them in what is stored.
    DIJOYCONFIG config;
    LONG references = 1;
    int acquires = 0, unacquires = 0, sets = 0, notifies = 0;

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Acquire)() override;
    STDMETHOD(Unacquire)() override;
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return DI_OK; }
    STDMETHOD(SendNotify)() override;
    STDMETHOD(EnumTypes)(LPVOID, LPVOID) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(LPCWSTR, LPDIJOYTYPEINFO, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetTypeInfo)(LPCWSTR, LPCDIJOYTYPEINFO, DWORD, LPWSTR) override { return E_NOTIMPL; }
    STDMETHOD(DeleteType)(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHOD(GetConfig)(UINT id, LPDIJOYCONFIG out, DWORD flags) override;
    STDMETHOD(SetConfig)(UINT id, LPCDIJOYCONFIG in, DWORD flags) override;
    STDMETHOD(DeleteConfig)(UINT) override { return E_NOTIMPL; }
    STDMETHOD(GetUserValues)(LPDIJOYUSERVALUES, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetUserValues)(LPCDIJOYUSERVALUES, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(AddNewHardware)(HWND, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(OpenTypeKey)(LPCWSTR, DWORD, HKEY*) override { return E_NOTIMPL; }
    STDMETHOD(OpenAppStatusKey)(HKEY*) override { return E_NOTIMPL; }
};

}  // namespace zentra
