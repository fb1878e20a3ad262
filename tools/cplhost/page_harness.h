// The control panel's page in the calling program's own process, as the
// game-controllers panel would show it but modeless, so that a test or a
// benchmark can look into it between messages: a sheet object handing the
// page test DirectInput objects for a simulated wheel, the page's code
// linked in, its resources from ZentraCpl.dll.
#pragma once

#include <windows.h>

#include <prsht.h>

#include <memory>
#include <string>

#include "cpl/frame/dinput_sheet.h"
#include "cpl/frame/main_page.h"
#include "tools/cplhost/fake_dinput.h"

namespace zentra {

// The sheet object as the panel hands it over; it owns nothing.
class TestSheet final : public IDIGameCntrlPropSheet {
public:
    IDirectInputDevice8A* device = nullptr;
    IDirectInputJoyConfig8* joyConfig = nullptr;
    USHORT id = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetSheetInfo(LPDIGCSHEETINFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPageInfo(LPDIGCPAGEINFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetID(USHORT value) override { return id = value, S_OK; }
    USHORT STDMETHODCALLTYPE GetID() override { return id; }
    HRESULT STDMETHODCALLTYPE Initialize() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetDevice(LPDIRECTINPUTDEVICE8A d) override { return device = d, S_OK; }
    HRESULT STDMETHODCALLTYPE GetDevice(LPDIRECTINPUTDEVICE8A* d) override { return *d = device, S_OK; }
    HRESULT STDMETHODCALLTYPE SetJoyConfig(IDirectInputJoyConfig8* c) override { return joyConfig = c, S_OK; }
    HRESULT STDMETHODCALLTYPE GetJoyConfig(IDirectInputJoyConfig8** c) override { return *c = joyConfig, S_OK; }
};

// Dispatches this thread's messages for `ms` milliseconds.
void pumpMessages(DWORD ms);

// The screen's DPI for programs started from now on: the Wine prefix's
// "LogPixels" (Wine reads it when a program starts).
void setScreenDpi(DWORD dpi);

class PageHarness {
public:
    // Once per process: DeviceLock, the library's resources, the window
    // classes, the common controls. False when ZentraCpl.dll is missing.
    static bool prepare(const char* libraryPath);
    static HMODULE library();
    // Before each page test: the simulated wheels' control device opened
    // and its scripted answers cleared, `wheels` wheels set up (wheel 0
    // emulating keys), the panel's and the main page's state reset. False
    // with the reason in `error`.
    static bool startTest(sim::SimClient& client, int wheels, std::string& error);

    // Shows the page for simulated wheel `wheel` (the joystick follows the
    // wheel's report); with `handOver` false the sheet gets no DirectInput
    // objects. `page` is the page's dialog procedure (another one gives the
    // same sheet with another page, for comparison). Returns the property
    // sheet's window, or null.
    HWND open(int wheel, bool handOver = true, DLGPROC page = MainPage);
    // Presses OK (IDOK) or Cancel (IDCANCEL) and ends the sheet.
    void close(int button);
    ~PageHarness();

    HWND sheetWindow = nullptr;
    TestSheet sheet;
    std::unique_ptr<FakeJoystick> joystick;
    std::unique_ptr<FakeJoyConfig> config;

private:
    static constexpr int kPageTitleString = 1;
    PROPSHEETPAGEA page_{};
    char title_[256] = {};
};

}  // namespace zentra
