#include "tools/cplhost/page_harness.h"

#include <commctrl.h>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/main_page.h"
#include "cpl/res/cpl_resource.h"
#include "cpl/frame/panel_state.h"
#include "sim/sim_setup.h"
#include "sim/sim_wheels.h"

namespace zentra {

namespace {
HMODULE g_library = nullptr;
}  // namespace

void pumpMessages(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (ms) Sleep(5);
    } while (int(end - GetTickCount()) > 0);
}

bool PageHarness::startTest(sim::SimClient& client, int wheels, std::string& error) {
    if (!client.open() || !client.resetAnswers()) {
        error = client.error() + " (the simulated wheel is loaded by the test bench)";
        return false;
    }
    if (!sim::configureWheels(wheels, 0, error)) return false;
    resetPanelState();
    resetMainPageState();
    return true;
}

bool PageHarness::prepare(const char* libraryPath) {
    if (g_library) return true;
    g_library = LoadLibraryA(libraryPath);
    if (!g_library) return false;
    InitializeCriticalSection(&DeviceLock);
    setCplModuleInstance(g_library);
    registerCplWindowClasses();
    InitCommonControls();
    CoInitialize(nullptr);
    return true;
}

HMODULE PageHarness::library() { return g_library; }

HWND PageHarness::open(int wheel, bool handOver, DLGPROC page) {
    joystick = std::make_unique<FakeJoystick>(sim::simHidPath(wheel), std::vector<ScriptedState>{});
    config = std::make_unique<FakeJoyConfig>();
    sheet.device = handOver ? joystick.get() : nullptr;
    sheet.joyConfig = handOver ? config.get() : nullptr;
    // The tab carries the page's title and icon, as the panel gives them.
    if (!LoadLocalizedString(g_library, kPageTitleString, UiLanguage, title_, sizeof title_)) title_[0] = 0;
    page_ = PROPSHEETPAGEA{};
    page_.dwSize = sizeof page_;
    page_.dwFlags = PSP_USETITLE | PSP_USEHICON;
    page_.pszTitle = title_;
    page_.hIcon = LoadIconA(g_library, MAKEINTRESOURCEA(IDI_CPL_PAGE));
    page_.hInstance = g_library;
    page_.pszTemplate = MAKEINTRESOURCEA(IDD_CPL_MAIN_PAGE);
    page_.pfnDlgProc = page;
    page_.lParam = reinterpret_cast<LPARAM>(&sheet);
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    header.pszCaption = "MORVENHOLLOW ZENTRAVOLI";
    header.nPages = 1;
    header.ppsp = &page_;
    sheetWindow = HWND(PropertySheetA(&header));
    return sheetWindow;
}

void PageHarness::close(int button) {
    if (!sheetWindow) return;
    PropSheet_PressButton(sheetWindow, button == IDOK ? PSBTN_OK : PSBTN_CANCEL);
    pumpMessages(30);
    if (IsWindow(sheetWindow)) DestroyWindow(sheetWindow);
    sheetWindow = nullptr;
}

PageHarness::~PageHarness() {
    if (sheetWindow && IsWindow(sheetWindow)) DestroyWindow(sheetWindow);
}

void setScreenDpi(DWORD dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
}

}  // namespace zentra
