#include "tools/cplhost/fake_dinput.h"

#include <cstdio>
#include <cstring>
#include <sstream>

namespace zentra {

namespace {

// The interface ids, spelled out so that no import library is needed.
const GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const GUID kIidDevice8A = {0x54d41080, 0xdc15, 0x4833, {0xa4, 0x1b, 0x74, 0x8f, 0x73, 0xa3, 0x81, 0x79}};
const GUID kIidJoyConfig8 = {0xeb0d7dfa, 0x1990, 0x4f27, {0xb4, 0xd6, 0xed, 0xf2, 0xee, 0xc4, 0xa4, 0x4c}};

}  // namespace

bool parseJoystickScript(const std::string& text, std::vector<ScriptedState>& states, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        ScriptedState s;
        unsigned long buttons = 0;
        long x, y, z, rz;
        if (std::sscanf(line.c_str(), "%ld %ld %ld %ld %lx", &x, &y, &z, &rz, &buttons) != 5) {
            error = "line " + std::to_string(number) + ": expected \"x y z rz buttons\"";
            return false;
        }
        s.x = x, s.y = y, s.z = z, s.rz = rz, s.buttons = DWORD(buttons);
        states.push_back(s);
    }
    return true;
}

ScriptedState stateOfReport(const uint8_t (&report)[SIM_WHEEL_REPORT_SIZE]) {
    ScriptedState s;
    s.x = LONG(report[5]) * 257;
    s.y = LONG(report[6]) * 257;
    s.z = LONG(report[7]) * 257;
    s.buttons = DWORD(report[2]) | DWORD(report[3]) << 8;
    return s;
}

FakeJoystick::FakeJoystick(std::wstring p, std::vector<ScriptedState> s) : script(std::move(s)), path(std::move(p)) {}

HRESULT FakeJoystick::QueryInterface(REFIID riid, void** out) {
    if (IsEqualGUID(riid, kIidUnknown) || IsEqualGUID(riid, kIidDevice8A)) {
        *out = this;
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
ULONG FakeJoystick::AddRef() { return ULONG(InterlockedIncrement(&references)); }
// The stand-in panel owns the object; Release only counts.
ULONG FakeJoystick::Release() { return ULONG(InterlockedDecrement(&references)); }

HRESULT FakeJoystick::GetCapabilities(LPDIDEVCAPS caps) {
    if (!caps || caps->dwSize < sizeof(DIDEVCAPS_DX3)) return DIERR_INVALIDPARAM;
    const DWORD size = caps->dwSize;
    ZeroMemory(caps, size);
    caps->dwSize = size;
    caps->dwFlags = DIDC_ATTACHED;
    caps->dwDevType = DI8DEVTYPE_DRIVING | (DI8DEVTYPEDRIVING_DUALPEDALS << 8);
    caps->dwAxes = 4;
    caps->dwButtons = 13;
    caps->dwPOVs = 1;
    return DI_OK;
}

HRESULT FakeJoystick::GetProperty(REFGUID property, LPDIPROPHEADER header) {
    // Predefined properties are small numbers in place of a GUID address.
    if (reinterpret_cast<UINT_PTR>(&property) == 12) {  // DIPROP_GUIDANDPATH
        auto* p = reinterpret_cast<DIPROPGUIDANDPATH*>(header);
        if (header->dwSize < sizeof(DIPROPGUIDANDPATH)) return DIERR_INVALIDPARAM;
        lstrcpynW(p->wszPath, path.c_str(), MAX_PATH);
        return DI_OK;
    }
    return DIERR_UNSUPPORTED;
}

HRESULT FakeJoystick::Acquire() {
    ++acquires;
    return DI_OK;
}
HRESULT FakeJoystick::Unacquire() {
    ++unacquires;
    return DI_OK;
}
HRESULT FakeJoystick::Poll() {
    ++polls;
    return DI_OK;
}

HRESULT FakeJoystick::GetDeviceState(DWORD size, LPVOID data) {
    ++states;
    DIJOYSTATE state;
    ZeroMemory(&state, sizeof state);
    state.rgdwPOV[0] = state.rgdwPOV[1] = state.rgdwPOV[2] = state.rgdwPOV[3] = 0xFFFFFFFF;
    ScriptedState s;
    uint8_t report[SIM_WHEEL_REPORT_SIZE];
    if (!script.empty()) {
        s = script[next_ < script.size() ? next_ : script.size() - 1];
        if (next_ < script.size()) ++next_;
    } else if ((wheel_.isOpen() || wheel_.open()) && wheel_.getReport(report)) {
        s = stateOfReport(report);
    }
    state.lX = s.x, state.lY = s.y, state.lZ = s.z, state.lRz = s.rz;
    state.rgdwPOV[0] = s.pov;
    for (int b = 0; b < 32; ++b) state.rgbButtons[b] = (s.buttons >> b) & 1 ? 0x80 : 0;
    ZeroMemory(data, size);
    CopyMemory(data, &state, size < sizeof state ? size : sizeof state);
    return DI_OK;
}

HRESULT FakeJoystick::GetDeviceData(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD count, DWORD) {
    if (count) *count = 0;
    return DI_OK;
}

HRESULT FakeJoystick::GetDeviceInfo(LPDIDEVICEINSTANCEA info) {
    if (!info || info->dwSize < sizeof(DIDEVICEINSTANCE_DX3A)) return DIERR_INVALIDPARAM;
    const DWORD size = info->dwSize;
    ZeroMemory(info, size);
    info->dwSize = size;
    info->dwDevType = DI8DEVTYPE_DRIVING;
    lstrcpynA(info->tszInstanceName, "Zentravoli Racing Wheel", MAX_PATH);
    lstrcpynA(info->tszProductName, "Zentravoli Racing Wheel", MAX_PATH);
    return DI_OK;
}

GUID testJoystickInstance(UINT id) {
    GUID g = {0x5A4E5400, 0x7E57, 0x4A0B, {0x8C, 0x1D, 0x20, 0x26, 0x12, 0x08, 0x00, 0x00}};
    g.Data4[7] = BYTE(id);
    return g;
}

int testJoystickId(REFGUID instance) {
    const GUID first = testJoystickInstance(0);
    if (std::memcmp(&instance, &first, sizeof first - 1) != 0) return -1;
    return instance.Data4[7];
}

FakeJoyConfig::FakeJoyConfig() {
    ZeroMemory(&config, sizeof config);
    config.dwSize = sizeof config;
    config.hwc.hws.dwFlags = 0x10;
    config.hwc.hws.dwNumButtons = 13;
    config.hwc.dwUsageSettings = 0x0B;
    config.hwc.hwv.jrvHardware.jpMin.dwU = 11;
    config.hwc.hwv.jrvHardware.jpMax.dwV = 22;
    config.hwc.hwv.dwPOVValues[0] = 33;
    config.hwc.dwType = 7;
    config.hwc.dwReserved = 44;
}

HRESULT FakeJoyConfig::QueryInterface(REFIID riid, void** out) {
    if (IsEqualGUID(riid, kIidUnknown) || IsEqualGUID(riid, kIidJoyConfig8)) {
        *out = this;
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
ULONG FakeJoyConfig::AddRef() { return ULONG(InterlockedIncrement(&references)); }
ULONG FakeJoyConfig::Release() { return ULONG(InterlockedDecrement(&references)); }
HRESULT FakeJoyConfig::Acquire() {
    ++acquires;
    return DI_OK;
}
HRESULT FakeJoyConfig::Unacquire() {
    ++unacquires;
    return DI_OK;
}
HRESULT FakeJoyConfig::SendNotify() {
    ++notifies;
    return DI_OK;
}
HRESULT FakeJoyConfig::GetConfig(UINT id, LPDIJOYCONFIG out, DWORD) {
    if (!out || out->dwSize < sizeof(DIJOYCONFIG_DX5)) return DIERR_INVALIDPARAM;
    if (id >= 16) return DIERR_NOMOREITEMS;
    const DWORD size = out->dwSize;
    CopyMemory(out, &config, size < sizeof config ? size : sizeof config);
    out->dwSize = size;
    out->guidInstance = testJoystickInstance(id);
    return DI_OK;
}
HRESULT FakeJoyConfig::SetConfig(UINT, LPCDIJOYCONFIG in, DWORD) {
    if (!in) return DIERR_INVALIDPARAM;
    ++sets;
    CopyMemory(&config, in, in->dwSize < sizeof config ? in->dwSize : sizeof config);
    return DI_OK;
}

}  // namespace zentra
