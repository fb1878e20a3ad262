// ZntPanelHost: a stand-in for the Windows game-controllers panel, which
// Wine's own panel does not replace: it finds a wheel's property sheet the
// way the panel does (the vendor's "ConfigCLSID" and the class's
// InProcServer32), loads the library and shows the sheet with PropertySheetA,
// handing it test DirectInput objects.
//
//   ZntPanelHost register [FOLDER]  write the entries the setup program writes, for the
//                                   ZentraCpl.dll in FOLDER (this program's own by default)
//   ZntPanelHost unregister
//   ZntPanelHost show [--oem NAME] [--id N] [--wheel W] [--script FILE] [--close ok|cancel] [--after MS]
//                     [--screenshot FILE.bmp] [--calibration] [--tab ID] [--handover none] [--repeat N]
//
// With --tab the main page's tab with control id ID (243 buttons, 244 D-pad,
// 245 axes, 246 test, 247 presets) is opened first.
// With --calibration the axis calibration is opened from the test page
// first; the picture is then the calibration dialog's, and it is cancelled
// before the sheet closes. With --handover none the sheet gets no
// DirectInput objects: the page makes its own, as it does when the panel
// hands it none. With --repeat N the whole round (sheet object, sheet,
// release) runs N times in this process, as the panel does when a user
// opens the properties again and again, and what the process holds is
// printed after the first and the last.
//
// `show` prints what it learns and does, one fact a line, for tests.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cpl/frame/dinput_sheet.h"
#include "setup/registration_table.h"
#include "sim/sim_wheels.h"
#include "tools/cplhost/fake_dinput.h"
#include "tools/cplhost/window_search.h"

using namespace zentra;

namespace {

const char kOemRoot[] = "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\";
const char kDefaultOem[] = "VID_1D5A&PID_C0DE";  // the simulated wheel's ids

int fail(const std::string& what) {
    std::fprintf(stderr, "ZntPanelHost: %s\n", what.c_str());
    return 1;
}

std::string narrow(const wchar_t* wide) {
    if (!wide) return std::string();
    char buffer[512];
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr);
    return n > 0 ? std::string(buffer) : std::string();
}

bool setString(HKEY root, const std::string& key, const char* name, const std::string& value) {
    HKEY k;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   DWORD(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
}

bool getString(HKEY root, const std::string& key, const char* name, std::string& value) {
    char buffer[MAX_PATH * 2];
    DWORD size = sizeof buffer, type = 0;
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    const bool ok = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_SZ;
    RegCloseKey(k);
    if (ok) value.assign(buffer, strnlen(buffer, size));
    return ok;
}

// This program's folder, without a trailing backslash.
std::string myFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\'));
}

// The stand-in writes what the setup program writes to let the panel find
// the sheet, from the same table (setup/registration.table): the panel
// part, with the plug-in in `folder` instead of the system folder.
std::string registrationData(const char* data, const std::string& folder) {
    std::string text = data;
    const std::string system = "%SYSTEM%";
    for (size_t at = text.find(system); at != std::string::npos; at = text.find(system, at + folder.size()))
        text.replace(at, system.size(), folder);
    return text;
}

int registerSheet(const std::string& folder) {
    for (const setup::RegistrationEntry& entry : setup::kRegistration) {
        if (entry.part != setup::RegistrationPart::Panel) continue;
        if (!setString(HKEY_LOCAL_MACHINE, entry.key, *entry.name ? entry.name : nullptr,
                       registrationData(entry.data, folder)))
            return fail(std::string("cannot write HKEY_LOCAL_MACHINE\\") + entry.key);
    }
    std::printf("registered %s\\ZentraCpl.dll\n", folder.c_str());
    return 0;
}

bool keyIsEmpty(const char* key) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    DWORD subkeys = 0, values = 0;
    const bool empty = RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                        nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                       subkeys == 0 && values == 0;
    RegCloseKey(k);
    return empty;
}

// Removes the panel part's values, then its keys and the ones made on the
// way to them when nothing else is left in them, as the uninstaller does.
int unregisterSheet() {
    for (const setup::RegistrationEntry& entry : setup::kRegistration) {
        if (entry.part != setup::RegistrationPart::Panel) continue;
        HKEY k;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, entry.key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) continue;
        RegDeleteValueA(k, *entry.name ? entry.name : nullptr);
        RegCloseKey(k);
    }
    for (const setup::RemovedKey& removed : setup::kRemovedKeys) {
        if (removed.part != setup::RegistrationPart::Panel && removed.part != setup::RegistrationPart::Parent)
            continue;
        if (keyIsEmpty(removed.key)) RegDeleteKeyA(HKEY_LOCAL_MACHINE, removed.key);
    }
    std::printf("unregistered\n");
    return 0;
}

// Closes the sheet after a while, as a user pressing OK or Cancel would,
// and takes a picture of it first when asked.
struct Closer {
    HWND sheet = nullptr;
    DWORD after = 0;
    WPARAM button = 0;
    std::string screenshot;
    bool calibration = false;
    int tab = 0;  // a tab to open first (its control id), or 0
    DWORD uiThread = 0;
};
Closer g_closer;

int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED) g_closer.sheet = sheet;
    return 0;
}

// The calibration dialog of the user-interface thread: the window with the
// wheel marker 148.
HWND findCalibration() { return findShownWindowWithControl(g_closer.uiThread, 0, 148); }

DWORD WINAPI closeLater(void*) {
    for (int i = 0; i < 100 && !g_closer.sheet; ++i) Sleep(50);
    if (!g_closer.sheet) return 0;
    HWND pictured = g_closer.sheet;
    if (g_closer.tab) {
        Sleep(500);
        PostMessageA(PropSheet_GetCurrentPageHwnd(g_closer.sheet), WM_COMMAND, WPARAM(g_closer.tab), 0);
    }
    if (g_closer.calibration) {
        Sleep(500);
        if (HWND test = findChildOfClass(g_closer.sheet, "TESTWINDOW")) PostMessageA(test, WM_COMMAND, 1139, 0);
        for (int i = 0; i < 100 && !findCalibration(); ++i) Sleep(50);
        pictured = findCalibration();
        std::printf("calibration: %s\n", pictured ? "open" : "not found");
    }
    Sleep(g_closer.after);
    // The page's client area as the sheet laid it out: the sheet sizes it
    // from the page template's dialog units in the sheet's own font.
    RECT area{};
    GetClientRect(PropSheet_GetCurrentPageHwnd(g_closer.sheet), &area);
    std::printf("page area: %ld x %ld\n", area.right, area.bottom);
    // The room the sheet's tab control leaves for its pages.
    RECT room{};
    if (HWND tab = PropSheet_GetTabControl(g_closer.sheet)) {
        GetClientRect(tab, &room);
        TabCtrl_AdjustRect(tab, FALSE, &room);
    }
    std::printf("sheet room: %ld x %ld\n", room.right - room.left, room.bottom - room.top);
    if (!g_closer.screenshot.empty())
        std::printf("screenshot: %s\n",
                    pictured && saveWindowPicture(pictured, g_closer.screenshot) ? "saved" : "failed");
    if (g_closer.calibration && pictured) {
        PostMessageA(pictured, WM_COMMAND, 2, 0);
        Sleep(300);
    }
    std::fflush(stdout);
    PostMessageA(g_closer.sheet, WM_COMMAND, g_closer.button, 0);
    return 0;
}

struct ShowOptions {
    const char* oem = kDefaultOem;
    unsigned id = 0;
    int wheel = 0;
    std::string script;
    WPARAM close = 0;
    DWORD after = 2000;
    std::string screenshot;
    bool calibration = false;
    int tab = 0;
    bool handOver = true;
    int repeat = 1;
};

// What the process holds, as far as it can be seen from inside: Wine's
// object counts are stubs, so the value of a new kernel handle (the lowest
// free one is reused, so it climbs while handles leak) and the thread's
// top-level windows.
struct Probe {
    uintptr_t handle;
    int windows;
    std::string text() const {
        char line[96];
        std::snprintf(line, sizeof line, "next handle %#llx, windows %d", static_cast<unsigned long long>(handle),
                      windows);
        return line;
    }
};

Probe probeProcess() {
    Probe p{};
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    p.handle = reinterpret_cast<uintptr_t>(event);
    CloseHandle(event);
    EnumThreadWindows(
        GetCurrentThreadId(), [](HWND, LPARAM count) -> BOOL { return ++*reinterpret_cast<int*>(count), TRUE; },
        LPARAM(&p.windows));
    return p;
}

int showSheet(const ShowOptions& o) {
    std::string classId, dll;
    if (!getString(HKEY_LOCAL_MACHINE, std::string(kOemRoot) + o.oem, "ConfigCLSID", classId))
        return fail(std::string("no ConfigCLSID for ") + o.oem + " (run: ZntPanelHost register)");
    if (!getString(HKEY_CLASSES_ROOT, "CLSID\\" + classId + "\\InProcServer32", nullptr, dll))
        return fail("no InProcServer32 for " + classId);
    std::printf("class: %s\nserver: %s\n", classId.c_str(), dll.c_str());

    HMODULE library = LoadLibraryA(dll.c_str());
    if (!library) return fail("cannot load " + dll);
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadNow = HRESULT(WINAPI*)();
    auto getClassObject = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    auto canUnloadNow = reinterpret_cast<CanUnloadNow>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
    if (!getClassObject || !canUnloadNow) return fail("the library lacks its exports");

    CLSID clsid;
    std::wstring wideId(classId.begin(), classId.end());
    if (FAILED(CLSIDFromString(&wideId[0], &clsid))) return fail("bad class id " + classId);
    IClassFactory* factory = nullptr;
    HRESULT hr = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return fail("DllGetClassObject failed");
    std::vector<ScriptedState> states;
    if (!o.script.empty()) {
        HANDLE f = CreateFileA(o.script.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return fail("cannot open " + o.script);
        std::string text(1 << 16, '\0');
        DWORD got = 0;
        ReadFile(f, &text[0], DWORD(text.size()), &got, nullptr);
        CloseHandle(f);
        text.resize(got);
        std::string error;
        if (!parseJoystickScript(text, states, error)) return fail(o.script + ": " + error);
    }
    for (int round = 0; round < o.repeat; ++round) {
        // Owned here; the sheet holds them without a reference of its own and
        // releases them when it goes.
        auto* device = new FakeJoystick(sim::simHidPath(o.wheel), states);
        auto* config = new FakeJoyConfig();

        IDIGameCntrlPropSheet* sheet = nullptr;
        hr = factory->CreateInstance(nullptr, IID_IDIGameCntrlPropSheet, reinterpret_cast<void**>(&sheet));
        if (FAILED(hr)) return fail("CreateInstance failed");
        sheet->SetID(USHORT(o.id));
        if (o.handOver) {
            sheet->SetDevice(device);
            sheet->SetJoyConfig(config);
        }
        DIGCSHEETINFO* sheetInfo = nullptr;
        DIGCPAGEINFO* pageInfo = nullptr;
        sheet->GetSheetInfo(&sheetInfo);
        sheet->GetPageInfo(&pageInfo);
        const std::string caption = narrow(sheetInfo->lpwszSheetCaption);
        const std::string title = narrow(pageInfo->lpwszPageTitle);
        // The template is a numbered resource, as the page icon is.
        const int templateId = IS_INTRESOURCE(pageInfo->lpwszTemplate) ? int(UINT_PTR(pageInfo->lpwszTemplate)) : -1;
        if (round == 0)
            std::printf("sheet: %s\npages: %d\npage: %s, template %d\n", caption.c_str(), int(sheetInfo->nNumPages),
                        title.c_str(), templateId);
        if (templateId < 0) return fail("the page names its template by text");
        std::fflush(stdout);

        PROPSHEETPAGEA page{};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_USETITLE | (pageInfo->fIconFlag ? PSP_USEHICON : 0);
        page.hInstance = pageInfo->hInstance;
        page.pszTemplate = MAKEINTRESOURCEA(templateId);
        page.pfnDlgProc = pageInfo->fpPageProc;
        page.lParam = pageInfo->lParam;
        page.pszTitle = title.c_str();
        if (pageInfo->fIconFlag)
            page.hIcon = LoadIconW(pageInfo->hInstance, pageInfo->lpwszPageIcon);
        PROPSHEETHEADERA header{};
        header.dwSize = sizeof header;
        header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
        header.hInstance = pageInfo->hInstance;
        header.pszCaption = caption.c_str();
        header.nPages = 1;
        header.ppsp = &page;
        header.pfnCallback = sheetCallback;

        g_closer.sheet = nullptr;
        if (o.close) {
            g_closer.after = o.after;
            g_closer.button = o.close;
            g_closer.screenshot = o.screenshot;
            g_closer.calibration = o.calibration;
            g_closer.tab = o.tab;
            g_closer.uiThread = GetCurrentThreadId();
            CloseHandle(CreateThread(nullptr, 0, closeLater, nullptr, 0, nullptr));
        }
        const INT_PTR result = PropertySheetA(&header);
        if (round + 1 < o.repeat) {
            sheet->Release();
            delete device;
            delete config;
            // What this process holds between two sheets, for a leak test.
            if (round == 0) std::printf("after the first sheet: %s\n", probeProcess().text().c_str());
            continue;
        }
        std::printf("result: %d\n", int(result));

        const ULONG left = sheet->Release();
        std::printf("sheet references left: %lu\n", left);
        std::printf("device: unacquired %d, released to %ld\n", device->unacquires, device->references);
        std::printf("joyconfig: unacquired %d, released to %ld\n", config->unacquires, config->references);
        delete device;
        delete config;
        if (o.repeat > 1) std::printf("after sheet %d: %s\n", o.repeat, probeProcess().text().c_str());
    }
    factory->Release();
    std::printf("can unload: %s\n", canUnloadNow() == S_OK ? "yes" : "no");
    // The processor time this process took, for the cost of the pages'
    // timers.
    FILETIME created, ended, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) {
        const auto ms = [](const FILETIME& t) {
            return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
        };
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        std::printf("processor time: %.0f ms in %.0f ms\n", ms(kernel) + ms(user), ms(now) - ms(created));
    }
    FreeLibrary(library);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* usage =
        "usage: ZntPanelHost register [FOLDER] | unregister | show [--oem NAME] [--id N] [--wheel W] [--script FILE]"
        " [--close ok|cancel] [--after MS] [--screenshot FILE.bmp] [--calibration] [--tab ID] [--handover none]"
        " [--repeat N]\n";
    if (argc < 2) return std::fputs(usage, stderr), 2;
    const std::string command = argv[1];
    if (command == "register") return registerSheet(argc > 2 ? argv[2] : myFolder());
    if (command == "unregister") return unregisterSheet();
    if (command != "show") return std::fputs(usage, stderr), 2;
    ShowOptions o;
    for (int i = 2; i < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--calibration") {
            o.calibration = true;
            --i;
            continue;
        }
        if (i + 1 >= argc) return std::fputs(usage, stderr), 2;
        const char* value = argv[i + 1];
        if (arg == "--oem") o.oem = value;
        else if (arg == "--id") o.id = unsigned(std::atoi(value));
        else if (arg == "--wheel") o.wheel = std::atoi(value);
        else if (arg == "--script") o.script = value;
        else if (arg == "--after") o.after = DWORD(std::atoi(value));
        else if (arg == "--close") o.close = std::strcmp(value, "ok") == 0 ? IDOK : IDCANCEL;
        else if (arg == "--screenshot") o.screenshot = value;
        else if (arg == "--tab") o.tab = std::atoi(value);
        else if (arg == "--handover") o.handOver = std::strcmp(value, "none") != 0;
        else if (arg == "--repeat") o.repeat = std::max(1, std::atoi(value));
        else return std::fputs(usage, stderr), 2;
    }
    InitCommonControls();
    CoInitialize(nullptr);
    const int code = showSheet(o);
    CoUninitialize();
    return code;
}
