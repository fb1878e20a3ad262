// ZentraCpl.dll as the game-controllers panel uses it: loaded from a file,
// reached only through its two exports, its class factory and sheet objects
// driven through their interface tables; its string tables looked up in each
// language, directly and through the user language of the process; its
// other resources found by id. This file is UTF-8:
// the expected texts are compared, converted, with what the library returns
// in the ANSI code page.
#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/wine/support/wine_test_support.h"
#include <prsht.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/dinput_sheet.h"
#include "cpl/frame/localized_text.h"
#include "cpl/res/cpl_resource.h"

namespace zentra {
namespace {

std::wstring fromUtf8(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1, &wide[0], length);
    return wide;
}

std::string toUtf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(length > 0 ? length - 1 : 0, '\0');
    if (length > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    return narrow;
}

std::wstring fromAnsi(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    return wide;
}

// The library, loaded as the panel loads it, and its two exports.
class CplServer : public ::testing::Test {
protected:
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT(WINAPI*)();

    void SetUp() override {
        library = LoadLibraryA(besideTests("ZentraCpl.dll").c_str());
        ASSERT_NE(library, nullptr) << "ZentraCpl.dll is built beside the tests";
        getClassObject = reinterpret_cast<GetClassObjectFn>(exported("DllGetClassObject"));
        canUnloadNow = reinterpret_cast<CanUnloadNowFn>(exported("DllCanUnloadNow"));
        ASSERT_NE(getClassObject, nullptr);
        ASSERT_NE(canUnloadNow, nullptr);
        ASSERT_EQ(canUnloadNow(), S_OK) << "an earlier test left an object of the library alive";
    }
    void TearDown() override {
        if (!library) return;
        // Every test gives back what it took: nothing keeps the library.
        if (canUnloadNow) {
            EXPECT_EQ(canUnloadNow(), S_OK) << "the test left an object of the library alive";
        }
        FreeLibrary(library);
    }

    void* exported(const char* name) { return reinterpret_cast<void*>(GetProcAddress(library, name)); }
    IClassFactory* factory() {
        IClassFactory* f = nullptr;
        EXPECT_EQ(getClassObject(CLSID_ZentraCplSheet, IID_IClassFactory, reinterpret_cast<void**>(&f)), S_OK);
        return f;
    }
    // A sheet object made the panel's way, or null.
    IDIGameCntrlPropSheet* newSheet() {
        IClassFactory* f = factory();
        if (!f) return nullptr;
        IDIGameCntrlPropSheet* sheet = nullptr;
        EXPECT_EQ(f->CreateInstance(nullptr, IID_IDIGameCntrlPropSheet, reinterpret_cast<void**>(&sheet)), S_OK);
        f->Release();
        return sheet;
    }

    HMODULE library = nullptr;
    GetClassObjectFn getClassObject = nullptr;
    CanUnloadNowFn canUnloadNow = nullptr;
};

void* const kNotTouched = reinterpret_cast<void*>(0x5A5A5A5A);

// --- Exports and class objects --------------------------------------------

TEST_F(CplServer, ExportsTheTwoEntryPointsAndNothingElse) {
    const auto* base = reinterpret_cast<const BYTE*>(library);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(directory.VirtualAddress, 0u);
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.insert(reinterpret_cast<const char*>(base + names[i]));
    EXPECT_EQ(found, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject"}));
    EXPECT_EQ(exports->NumberOfFunctions, 2u) << "no export by ordinal only";
}

TEST_F(CplServer, ClassObjectIsOnlyTheFactoryOfTheOneClass) {
    CLSID nearMiss = CLSID_ZentraCplSheet;
    nearMiss.Data4[7] ^= 1;
    struct Case {
        const char* what;
        const GUID& clsid;
        const IID& iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {"factory of the class", CLSID_ZentraCplSheet, IID_IClassFactory, S_OK},
        {"IUnknown of the class", CLSID_ZentraCplSheet, IID_IUnknown, E_NOINTERFACE},
        {"sheet interface of the class", CLSID_ZentraCplSheet, IID_IDIGameCntrlPropSheet, E_NOINTERFACE},
        {"class id one bit off", nearMiss, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"the interface id as class id", IID_IDIGameCntrlPropSheet, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"null class id, IUnknown", GUID_NULL, IID_IUnknown, CLASS_E_CLASSNOTAVAILABLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        void* out = kNotTouched;
        EXPECT_EQ(getClassObject(c.clsid, c.iid, &out), c.expected);
        if (c.expected == S_OK) {
            ASSERT_NE(out, nullptr);
            EXPECT_EQ(canUnloadNow(), S_FALSE);
            EXPECT_EQ(static_cast<IClassFactory*>(out)->Release(), 0u);
        } else {
            EXPECT_EQ(out, nullptr);
        }
        EXPECT_EQ(canUnloadNow(), S_OK);
    }
}

TEST_F(CplServer, FactoryAnswersForIUnknownAndIClassFactoryOnly) {
    IClassFactory* f = factory();
    ASSERT_NE(f, nullptr);
    void* out = kNotTouched;
    EXPECT_EQ(f->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(f));
    EXPECT_EQ(f->AddRef(), 3u);
    EXPECT_EQ(f->Release(), 2u);
    EXPECT_EQ(f->Release(), 1u);
    out = kNotTouched;
    EXPECT_EQ(f->QueryInterface(IID_IClassFactory, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(f));
    EXPECT_EQ(f->Release(), 1u);
    for (const IID* iid : {&IID_IDIGameCntrlPropSheet, &IID_IPersist, &IID_IDispatch}) {
        out = kNotTouched;
        EXPECT_EQ(f->QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(f->Release(), 0u);
}

TEST_F(CplServer, LibraryStaysWhileAFactoryLivesOrTheServerIsLocked) {
    IClassFactory* first = factory();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(first->LockServer(TRUE), S_OK);
    EXPECT_EQ(first->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "a LockServer(TRUE) is outstanding";
    IClassFactory* second = factory();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "the second factory lives";
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(CplServer, CreateInstanceRefusesAggregationAndUnknownInterfaces) {
    IClassFactory* f = factory();
    ASSERT_NE(f, nullptr);
    void* out = kNotTouched;
    EXPECT_EQ(f->CreateInstance(f, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    // A sheet asked for an interface it lacks is made and destroyed again.
    out = kNotTouched;
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(f->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK) << "no sheet object may be left";
}

// --- The sheet object -----------------------------------------------------

TEST_F(CplServer, SheetAnswersForIUnknownAndItsOwnInterfaceOnly) {
    IClassFactory* f = factory();
    ASSERT_NE(f, nullptr);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    f->Release();
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "the sheet object lives";
    IDIGameCntrlPropSheet* sheet = nullptr;
    ASSERT_EQ(unknown->QueryInterface(IID_IDIGameCntrlPropSheet, reinterpret_cast<void**>(&sheet)), S_OK);
    EXPECT_EQ(static_cast<void*>(sheet), static_cast<void*>(unknown));
    void* out = kNotTouched;
    EXPECT_EQ(sheet->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(sheet));
    EXPECT_EQ(sheet->Release(), 2u);
    for (const IID* iid : {&IID_IClassFactory, &IID_IDispatch}) {
        out = kNotTouched;
        EXPECT_EQ(sheet->QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(sheet->Release(), 1u);
    EXPECT_EQ(unknown->Release(), 0u);
}

TEST_F(CplServer, SheetReferenceCountIsSixteenBitsSigned) {
    IDIGameCntrlPropSheet* sheet = newSheet();
    ASSERT_NE(sheet, nullptr);
    ULONG count = 1;
    for (int i = 0; i < 32766; ++i) count = sheet->AddRef();
    EXPECT_EQ(count, 32767u);
    // The count wraps to -32768 and comes back sign-extended.
    EXPECT_EQ(sheet->AddRef(), 0xFFFF8000u);
    EXPECT_EQ(sheet->AddRef(), 0xFFFF8001u);
    EXPECT_EQ(sheet->Release(), 0xFFFF8000u);
    EXPECT_EQ(sheet->Release(), 32767u);
    for (int i = 0; i < 32766; ++i) count = sheet->Release();
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(sheet->Release(), 0u);
}

TEST_F(CplServer, JoystickIdIsUnsetUntilThePanelSetsIt) {
    IDIGameCntrlPropSheet* sheet = newSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->GetID(), 0xFFFF);
    for (USHORT id : {USHORT(3), USHORT(0), USHORT(0xFFFE)}) {
        EXPECT_EQ(sheet->SetID(id), S_OK);
        EXPECT_EQ(sheet->GetID(), id);
    }
    sheet->Release();
}

// The caption and title of a sheet made in this process: string 1 in the
// table of this process's user language.
std::wstring expectedTitle() {
    return chooseUiLanguage(GetUserDefaultLangID()) == kUiPortuguese ? L"GALDEMORN RACING WHEEL"
                                                                      : L"MORVENHOLLOW ZENTRAVOLI";
}

TEST_F(CplServer, SheetAndPageInformationDescribeTheOnePage) {
    IDIGameCntrlPropSheet* sheet = newSheet();
    ASSERT_NE(sheet, nullptr);
    DIGCSHEETINFO* sheetInfo = nullptr;
    DIGCPAGEINFO* pageInfo = nullptr;
    ASSERT_EQ(sheet->GetSheetInfo(&sheetInfo), S_OK);
    ASSERT_EQ(sheet->GetPageInfo(&pageInfo), S_OK);
    ASSERT_NE(sheetInfo, nullptr);
    ASSERT_NE(pageInfo, nullptr);

    EXPECT_EQ(sheetInfo->dwSize, sizeof(DIGCSHEETINFO));
    EXPECT_EQ(sheetInfo->nNumPages, 1);
    ASSERT_NE(sheetInfo->lpwszSheetCaption, nullptr);
    EXPECT_EQ(toUtf8(sheetInfo->lpwszSheetCaption), toUtf8(expectedTitle()));
    EXPECT_TRUE(sheetInfo->fSheetIconFlag);
    ASSERT_NE(sheetInfo->lpwszSheetIcon, nullptr);
    EXPECT_EQ(toUtf8(sheetInfo->lpwszSheetIcon), "IDI_MAXIICO");

    EXPECT_EQ(pageInfo->dwSize, sizeof(DIGCPAGEINFO));
    ASSERT_NE(pageInfo->lpwszPageTitle, nullptr);
    EXPECT_EQ(toUtf8(pageInfo->lpwszPageTitle), toUtf8(expectedTitle()));
    EXPECT_NE(pageInfo->lpwszPageTitle, sheetInfo->lpwszSheetCaption) << "caption and title are owned apart";
    EXPECT_NE(pageInfo->fpPageProc, nullptr);
    EXPECT_FALSE(pageInfo->fProcFlag);
    EXPECT_EQ(pageInfo->fpPrePostProc, nullptr);
    EXPECT_TRUE(pageInfo->fIconFlag);
    EXPECT_EQ(pageInfo->lpwszPageIcon, MAKEINTRESOURCEW(IDI_CPL_PAGE));
    EXPECT_EQ(pageInfo->lpwszTemplate, MAKEINTRESOURCEW(IDD_CPL_MAIN_PAGE));
    EXPECT_EQ(pageInfo->lParam, reinterpret_cast<LPARAM>(sheet));
    EXPECT_EQ(pageInfo->hInstance, library);

    // Asking again gives the same records.
    DIGCSHEETINFO* sheetAgain = nullptr;
    DIGCPAGEINFO* pageAgain = nullptr;
    sheet->GetSheetInfo(&sheetAgain);
    sheet->GetPageInfo(&pageAgain);
    EXPECT_EQ(sheetAgain, sheetInfo);
    EXPECT_EQ(pageAgain, pageInfo);
    EXPECT_EQ(sheet->Release(), 0u);
}

struct PageClass {
    const char* name;
    HBRUSH background;
};
const PageClass kPageClasses[] = {
    {"ANCHORCUSTOM", nullptr}, {"SENSIBCUSTOM", reinterpret_cast<HBRUSH>(16)},
    {"CUSTOMICON", nullptr},   {"MOVEICON", nullptr},
    {"BUTTONWINDOW", nullptr}, {"TESTWINDOW", nullptr},
    {"SENSWINDOW", nullptr},   {"AXEWINDOW", nullptr},
};

TEST_F(CplServer, TwoSheetsInOneProcessEachHaveTheirPageAndTheClassesStay) {
    IDIGameCntrlPropSheet* first = newSheet();
    IDIGameCntrlPropSheet* second = newSheet();  // its registrations find the classes there
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    DIGCPAGEINFO* firstPage = nullptr;
    DIGCPAGEINFO* secondPage = nullptr;
    first->GetPageInfo(&firstPage);
    second->GetPageInfo(&secondPage);
    ASSERT_TRUE(firstPage && secondPage);
    EXPECT_NE(firstPage, secondPage);
    EXPECT_EQ(firstPage->lParam, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(secondPage->lParam, reinterpret_cast<LPARAM>(second));

    for (const PageClass& c : kPageClasses) {
        SCOPED_TRACE(c.name);
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        ASSERT_TRUE(GetClassInfoExA(library, c.name, &wc)) << "class not registered with the module instance";
        EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW));
        EXPECT_EQ(wc.hbrBackground, c.background);
        EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_EQ(wc.hIcon, nullptr);
        EXPECT_EQ(wc.lpszMenuName, nullptr);
        EXPECT_EQ(wc.cbClsExtra, 0);
        EXPECT_EQ(wc.cbWndExtra, 0);
    }
    EXPECT_EQ(first->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    // The classes outlive the sheets.
    EXPECT_EQ(second->Release(), 0u);
    WNDCLASSA wc{};
    EXPECT_TRUE(GetClassInfoA(library, "AXEWINDOW", &wc));
}

// A stand-in for an interface the panel hands the sheet: every slot of its
// interface table logs "<name>.<slot>" and returns 0. Unacquire is slot 8
// of IDirectInputDevice8 (after IUnknown's three, GetCapabilities,
// EnumObjects, GetProperty, SetProperty and Acquire) and slot 4 of
// IDirectInputJoyConfig8 (after IUnknown's three and Acquire).
constexpr int kReleaseSlot = 2;
constexpr int kDeviceUnacquireSlot = 8;
constexpr int kJoyConfigUnacquireSlot = 4;

struct Recorder {
    const void* const* table;
    std::vector<std::string>* log;
    const char* name;
};

template <int Slot>
ULONG_PTR STDMETHODCALLTYPE recordCall(Recorder* self) {
    self->log->push_back(std::string(self->name) + "." + std::to_string(Slot));
    return 0;
}

template <size_t... Slots>
const void* const* recorderTable(std::index_sequence<Slots...>) {
    static const void* const table[] = {reinterpret_cast<const void*>(&recordCall<int(Slots)>)...};
    return table;
}

Recorder recorder(const char* name, std::vector<std::string>& log) {
    return Recorder{recorderTable(std::make_index_sequence<40>()), &log, name};
}

std::string call(const char* name, int slot) { return std::string(name) + "." + std::to_string(slot); }

TEST_F(CplServer, DestroyedSheetUnacquiresThenReleasesWhatItWasHanded) {
    std::vector<std::string> log;
    Recorder device = recorder("device", log);
    Recorder config = recorder("config", log);
    IDIGameCntrlPropSheet* sheet = newSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->SetDevice(reinterpret_cast<LPDIRECTINPUTDEVICE8A>(&device)), S_OK);
    EXPECT_EQ(sheet->SetJoyConfig(reinterpret_cast<IDirectInputJoyConfig8*>(&config)), S_OK);
    LPDIRECTINPUTDEVICE8A gotDevice = nullptr;
    IDirectInputJoyConfig8* gotConfig = nullptr;
    EXPECT_EQ(sheet->GetDevice(&gotDevice), S_OK);
    EXPECT_EQ(sheet->GetJoyConfig(&gotConfig), S_OK);
    EXPECT_EQ(static_cast<void*>(gotDevice), static_cast<void*>(&device));
    EXPECT_EQ(static_cast<void*>(gotConfig), static_cast<void*>(&config));
    EXPECT_EQ(sheet->AddRef(), 2u);
    EXPECT_EQ(sheet->Release(), 1u);
    EXPECT_TRUE(log.empty()) << "held without a reference of its own: " << log.front();

    EXPECT_EQ(sheet->Release(), 0u);
    std::vector<std::string> deviceCalls, configCalls;
    for (const std::string& entry : log)
        (entry.rfind("device.", 0) == 0 ? deviceCalls : configCalls).push_back(entry);
    EXPECT_EQ(deviceCalls,
              (std::vector<std::string>{call("device", kDeviceUnacquireSlot), call("device", kReleaseSlot)}));
    EXPECT_EQ(configCalls,
              (std::vector<std::string>{call("config", kJoyConfigUnacquireSlot), call("config", kReleaseSlot)}));
}

TEST_F(CplServer, DestroyedSheetTouchesOnlyTheInterfacesItWasHanded) {
    {
        // Neither interface handed over: a null pointer is never called.
        IDIGameCntrlPropSheet* sheet = newSheet();
        ASSERT_NE(sheet, nullptr);
        LPDIRECTINPUTDEVICE8A gotDevice = reinterpret_cast<LPDIRECTINPUTDEVICE8A>(kNotTouched);
        IDirectInputJoyConfig8* gotConfig = reinterpret_cast<IDirectInputJoyConfig8*>(kNotTouched);
        sheet->GetDevice(&gotDevice);
        sheet->GetJoyConfig(&gotConfig);
        EXPECT_EQ(gotDevice, nullptr);
        EXPECT_EQ(gotConfig, nullptr);
        EXPECT_EQ(sheet->Release(), 0u);
    }
    {
        std::vector<std::string> log;
        Recorder device = recorder("device", log);
        IDIGameCntrlPropSheet* sheet = newSheet();
        ASSERT_NE(sheet, nullptr);
        sheet->SetDevice(reinterpret_cast<LPDIRECTINPUTDEVICE8A>(&device));
        EXPECT_EQ(sheet->Release(), 0u);
        EXPECT_EQ(log, (std::vector<std::string>{call("device", kDeviceUnacquireSlot), call("device", kReleaseSlot)}));
    }
}

// --- The page in a property sheet -----------------------------------------

std::vector<std::string>* g_debugLines = nullptr;

// OutputDebugStringA raises DBG_PRINTEXCEPTION_C with the text; a vectored
// handler sees it before the platform handles it.
LONG CALLBACK recordDebugString(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && g_debugLines && record->NumberParameters >= 2)
        g_debugLines->push_back(reinterpret_cast<const char*>(record->ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_SEARCH;
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST_F(CplServer, PageRunsInAPropertySheetAndAcceptsApply) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    IDIGameCntrlPropSheet* sheet = newSheet();
    ASSERT_NE(sheet, nullptr);
    sheet->SetID(0);
    DIGCSHEETINFO* sheetInfo = nullptr;
    DIGCPAGEINFO* pageInfo = nullptr;
    sheet->GetSheetInfo(&sheetInfo);
    sheet->GetPageInfo(&pageInfo);

    // The sheet the panel builds from the two records.
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_USETITLE;
    page.hInstance = pageInfo->hInstance;
    page.pszTemplate = pageInfo->lpwszTemplate;
    page.pfnDlgProc = pageInfo->fpPageProc;
    page.lParam = pageInfo->lParam;
    page.pszTitle = pageInfo->lpwszPageTitle;
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    header.hInstance = pageInfo->hInstance;
    header.pszCaption = sheetInfo->lpwszSheetCaption;
    header.nPages = 1;
    header.ppsp = &page;
    const HWND frame = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_NE(frame, nullptr) << "the page's template did not load";
    pumpMessages();

    const HWND pageWindow = PropSheet_GetCurrentPageHwnd(frame);
    ASSERT_NE(pageWindow, nullptr);
    RECT expected{0, 0, 396, 227};
    MapDialogRect(pageWindow, &expected);
    RECT client{};
    GetClientRect(pageWindow, &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    EXPECT_EQ(GetWindow(pageWindow, GW_CHILD), nullptr) << "the template has no controls";

    std::vector<std::string> lines;
    g_debugLines = &lines;
    void* handler = AddVectoredExceptionHandler(1, recordDebugString);
    PropSheet_PressButton(frame, PSBTN_OK);
    for (int i = 0; i < 100 && PropSheet_GetCurrentPageHwnd(frame); ++i) {
        pumpMessages();
        Sleep(20);
    }
    RemoveVectoredExceptionHandler(handler);
    g_debugLines = nullptr;
    // Applying without an error ends the sheet; the page notes each
    // notification.
    EXPECT_EQ(PropSheet_GetCurrentPageHwnd(frame), nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"WM_NOTIFY - PSN_KILLACTIVE\n", "WM_NOTIFY - PSN_APPLY\n"}));
    DestroyWindow(frame);
    pumpMessages();
    EXPECT_EQ(sheet->Release(), 0u);
}

// --- String tables --------------------------------------------------------

constexpr int kStringCount = 105;

// The English table, ids 1 to 105.
const char* const kEnglish[kStringCount + 1] = {
    nullptr,
    "MORVENHOLLOW ZENTRAVOLI",
    "<< Erreur>>",
    "<< Le périphérique ne supporte pas le Force Feedback >>",
    "Aquérir",
    "Libérer",
    "<< Defaut >>",
    "Défaut",
    "Simulateur de Vol",
    "Action 3D",
    "Auto/Moto",
    "Autre",
    "Nouvelle Entrée",
    "Sensibilitée",
    "Curviligne",
    "Lineaire",
    "X-Axis",
    "Y-Axis",
    "Z-Axis",
    "Rz-Axis",
    "Left/Right",
    "Move up/Move down",
    "Throttle",
    "Rudder",
    "Turn left/Turn right",
    "Advance/Retreat",
    "Move head up/Move head down",
    "Walk right/Walk left",
    "Turn left/Turn right",
    "Accelerate/Brake",
    "None",
    "Modifier Jeu",
    "Nouveau Jeu",
    "Nouveau Profil",
    "Modifier Profil",
    "Importer Profil",
    "Sauver Profil",
    "Imprimer Profil",
    "Supprimer Profil",
    "Fin Enreg.",
    "Début Enreg.",
    "Effacer Enreg.",
    "Nom du Jeu",
    "Boutons",
    "POV",
    "Test",
    "Main",
    "Nom du Jeu",
    "Chemin vers le fichier éxecutable",
    "Type de Jeu",
    "Accepter",
    "Annuler",
    "Veuillez saisir un nom pour ce profil",
    "This is not a preset file.",
    "Rotate the axes around 360°.",
    "Press any button without touching",
    " the axis.",
    " ",
    "A propos",
    "Parametre d'émulation Souris",
    "Sensibilité de l'axe X de la souris",
    "Sensibilité de l'axe Y de la souris",
    "Zone morte Axe X",
    "Zone morte Axe Y",
    "Supprimer profil",
    "Preset actuellement sélectionné :",
    "Supprimer le profile sélectionné.",
    "Supprimer tous les profils",
    "AxeX comme un Throttle",
    "AxeY un comme Throttle",
    "AxeR comme un Throttle",
    "AxeZ comme un Throttle",
    "Type",
    "Name of the Game",
    "Mouse 2",
    "Mouse 1",
    "About...",
    "Test page",
    "Button configuration",
    "D-PAD configuration",
    "Axis configuration",
    "Presets",
    "Axis calibration",
    "Record",
    "Clear",
    "Left mouse button",
    "Right mouse button",
    "Axis in normal mode",
    "Axis in throttle mode",
    "Axis inversion",
    "Mouse emulation mode",
    "Analog controller mode",
    "Executable path",
    "Duplicate preset",
    "Create new preset",
    "Undo",
    "Import/Export preset",
    "Export preset",
    "Import preset",
    "Print preset parameters",
    "Delete preset",
    "Default preset",
    "Current preset",
    "28",
    "29",
    "30",
};

bool sharedId(int id) {
    return (id >= 2 && id <= 15) || (id >= 31 && id <= 52) || (id >= 58 && id <= 71) || id >= 103;
}

// The seven tables, by the language a lookup asks for.
const WORD kTableLanguages[] = {kUiEnglish, kUiGerman,  kUiSpanish,   kUiFrench,
                                kUiItalian, kUiDutch, kUiPortuguese};

// A text of the library's tables as UTF-8, or "<none>".
std::string lookUp(HMODULE library, int id, WORD language) {
    char text[256];
    std::memset(text, 0x7F, sizeof text);
    if (!LoadLocalizedString(library, id, language, text, sizeof text)) return "<none>";
    if (!std::memchr(text, 0, sizeof text)) return "<not terminated>";
    return toUtf8(fromAnsi(text));
}

// What a lookup gives for a UTF-8 text: the text after its trip through the
// ANSI code page.
std::string throughAnsi(const std::string& text) {
    const std::wstring wide = fromUtf8(text);
    std::string ansi(wide.size() * 2 + 1, '\0');
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &ansi[0], int(ansi.size()), nullptr, nullptr);
    ansi.resize(n > 0 ? n - 1 : 0);
    return toUtf8(fromAnsi(ansi.c_str()));
}

TEST_F(CplServer, EnglishTableHoldsEveryTextExactly) {
    for (int id = 1; id <= kStringCount; ++id)
        EXPECT_EQ(lookUp(library, id, kUiEnglish), throughAnsi(kEnglish[id])) << "string " << id;
}

TEST_F(CplServer, EveryTableHasIdsOneTo105AndTheSharedTextsOfTheEnglishOne) {
    for (WORD language : kTableLanguages) {
        SCOPED_TRACE(testing::Message() << "language 0x" << std::hex << language);
        for (int id = 1; id <= kStringCount; ++id) {
            const std::string text = lookUp(library, id, language);
            EXPECT_NE(text, "<none>") << "string " << id;
            EXPECT_NE(text, "<not terminated>") << "string " << id;
            if (sharedId(id)) {
                EXPECT_EQ(text, throughAnsi(kEnglish[id])) << "string " << id;
            }
        }
        for (int id : {0, 106, 107, 111, 112, 200}) EXPECT_EQ(lookUp(library, id, language), "<none>") << id;
    }
}

// Texts of each table: the title, the first axis, the two calibration
// instructions (55 + 56 before the button press, 54 + 57 after it), the
// About box and the calibration dialog's caption.
const int kSampleIds[] = {1, 16, 55, 56, 54, 57, 76, 82, 101};
struct TableSample {
    WORD language;
    const char* text[sizeof kSampleIds / sizeof kSampleIds[0]];
};
const TableSample kSamples[] = {
    {kUiEnglish,
     {"MORVENHOLLOW ZENTRAVOLI", "X-Axis", "Press any button without touching", " the axis.",
      "Rotate the axes around 360°.", " ", "About...", "Axis calibration", "Default preset"}},
    {kUiGerman,
     {"MORVENHOLLOW ZENTRAVOLI", "X-Achse", "Drücken Sie eine beliebige Taste, ohne", " die Achsen zu berühren.",
      "Drehen Sie die Achsen", " um etwa 360°.", "Über...", "Achsenkalibrierung", "Standard-Voreinstellung"}},
    {kUiSpanish,
     {"MORVENHOLLOW ZENTRAVOLI", "Eje X", "Pulse cualquier botón sin tocar", " los ejes.", "Gire los ejes",
      " unos 360°.", "Acerca de...", "Calibración de ejes", "Perfil predeterminado"}},
    {kUiFrench,
     {"MORVENHOLLOW ZENTRAVOLI", "Axe X", "Appuyez sur un bouton sans toucher", " aux axes.",
      "Faites tourner les axes", " d'environ 360°.", "À propos...", "Calibration des axes", "Profil par défaut"}},
    {kUiItalian,
     {"MORVENHOLLOW ZENTRAVOLI", "Asse X", "Premere un pulsante qualsiasi senza toccare", " gli assi.",
      "Ruotare gli assi", " di circa 360°.", "Informazioni...", "Calibrazione assi", "Preset predefinito"}},
    {kUiDutch,
     {"MORVENHOLLOW ZENTRAVOLI", "X-as", "Druk op een willekeurige knop zonder", " de assen aan te raken.",
      "Draai de assen", " ongeveer 360°.", "Over...", "Askalibratie", "Standaardvoorinstelling"}},
    {kUiPortuguese,
     {"GALDEMORN RACING WHEEL", "Eixo X", "Prima qualquer botão sem tocar", " nos eixos.", "Rode os eixos ",
      "aproximadamente 360°.", "Acerca de...", "Calibração dos eixos", "Predefinição por defeito"}},
};

TEST_F(CplServer, EachTableHasItsOwnTexts) {
    for (const TableSample& sample : kSamples) {
        SCOPED_TRACE(testing::Message() << "language 0x" << std::hex << sample.language);
        for (size_t i = 0; i < sizeof kSampleIds / sizeof kSampleIds[0]; ++i)
            EXPECT_EQ(lookUp(library, kSampleIds[i], sample.language), throughAnsi(sample.text[i]))
                << "string " << kSampleIds[i];
    }
}

std::set<WORD> storedLanguages(HMODULE module, LPCSTR type, int id) {
    std::set<WORD> languages;
    EnumResourceLanguagesA(
        module, type, MAKEINTRESOURCEA(id),
        [](HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) -> BOOL {
            reinterpret_cast<std::set<WORD>*>(param)->insert(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

TEST_F(CplServer, DutchIsStoredNeutralAndReachedFromEveryDutchLanguage) {
    const std::set<WORD> tables = {0x0409, 0x0407, 0x040A, 0x040C, 0x0410, 0x0816, kDutchTable};
    for (int block = 1; block <= 7; ++block)
        EXPECT_EQ(storedLanguages(library, reinterpret_cast<LPCSTR>(RT_STRING), block), tables) << "block " << block;
    EXPECT_TRUE(storedLanguages(library, reinterpret_cast<LPCSTR>(RT_STRING), 8).empty());
    for (WORD dutch : {WORD(0x0413), WORD(0x0813), kDutchTable}) {
        SCOPED_TRACE(testing::Message() << "language 0x" << std::hex << dutch);
        EXPECT_EQ(lookUp(library, 16, dutch), "X-as");
        EXPECT_EQ(lookUp(library, 102, dutch), "Huidige voorinstelling");
    }
}

TEST_F(CplServer, TextsAreCutToTheBufferAndAlwaysTerminated) {
    struct Case {
        int size;
        const char* expected;
    };
    const Case cases[] = {{1, ""}, {2, "M"}, {5, "MORV"}, {23, "MORVENHOLLOW ZENTRAVOL"},
                          {24, "MORVENHOLLOW ZENTRAVOLI"}, {256, "MORVENHOLLOW ZENTRAVOLI"}};
    for (const Case& c : cases) {
        std::vector<char> buffer(size_t(c.size) + 8, 0x7F);
        ASSERT_EQ(LoadLocalizedString(library, 1, kUiEnglish, buffer.data(), c.size), buffer.data()) << c.size;
        EXPECT_STREQ(buffer.data(), c.expected) << "size " << c.size;
        for (size_t i = size_t(c.size); i < buffer.size(); ++i)
            EXPECT_EQ(buffer[i], 0x7F) << "written past the buffer of " << c.size << " at " << i;
    }
}

// Long texts, which the library's tables do not have: string block 1 in
// Russian (0x0419) written into a copy of the library.
TEST_F(CplServer, AFullBufferOf256BytesHoldsAtMost255Characters) {
    char directory[MAX_PATH], copy[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    ASSERT_NE(GetTempFileNameA(directory, "cpl", 0, copy), 0u);
    ASSERT_TRUE(CopyFileA(besideTests("ZentraCpl.dll").c_str(), copy, FALSE));

    const size_t lengths[] = {254, 255, 256, 300};
    std::vector<WCHAR> block = {0};  // no string 0
    for (size_t length : lengths) {
        block.push_back(WCHAR(length));
        for (size_t i = 0; i < length; ++i) block.push_back(i == 0 ? L'\x00E9' : WCHAR(L'a' + i % 26));  // é...
    }
    block.resize(block.size() + 16 - 1 - (sizeof lengths / sizeof lengths[0]), 0);
    HANDLE update = BeginUpdateResourceA(copy, FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceA(update, reinterpret_cast<LPCSTR>(RT_STRING), MAKEINTRESOURCEA(1), 0x0419,
                                block.data(), DWORD(block.size() * sizeof(WCHAR))));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    HMODULE data = LoadLibraryExA(copy, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(data, nullptr);

    for (size_t s = 0; s < sizeof lengths / sizeof lengths[0]; ++s) {
        SCOPED_TRACE(testing::Message() << "a text of " << lengths[s] << " characters");
        std::vector<char> buffer(256 + 8, 0x7F);
        ASSERT_EQ(LoadLocalizedString(data, int(s) + 1, 0x0419, buffer.data(), 256), buffer.data());
        const size_t kept = std::min<size_t>(lengths[s], 255);
        EXPECT_EQ(std::strlen(buffer.data()), kept);
        EXPECT_EQ(fromAnsi(buffer.data())[0], L'\x00E9');
        EXPECT_EQ(buffer[kept - 1], char('a' + (kept - 1) % 26));
        for (size_t i = 256; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0x7F) << "written past the buffer";
    }
    EXPECT_EQ(lookUp(data, 5, 0x0419), "<none>");
    FreeLibrary(data);
    DeleteFileA(copy);
}

TEST_F(CplServer, WideTextsAreNewZeroFilledStringsOf260Characters) {
    for (const TableSample& sample : kSamples) {
        wchar_t* title = LoadLocalizedStringW(library, 1, sample.language);
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(toUtf8(title), sample.text[0]);
        const size_t length = wcslen(title);
        for (size_t i = length; i < 260; ++i) ASSERT_EQ(title[i], L'\0') << "at " << i;
        delete[] title;
    }
    for (int id : {0, 106}) {
        wchar_t* none = LoadLocalizedStringW(library, id, kUiEnglish);
        ASSERT_NE(none, nullptr);
        EXPECT_EQ(none[0], L'\0') << "string " << id;
        delete[] none;
    }
}

// --- The user language, end to end ---------------------------------------

// Sheets and lookups in the table of this process's user language. Under
// Wine that language comes from LC_ALL in the environment the process was
// started with; the build runs this test once per locale (cmake/Cpl.cmake),
// naming the table it must choose in ZENTRA_EXPECTED_UI_LANGUAGE.
using CplUserLanguage = CplServer;

TEST_F(CplUserLanguage, SheetsAndTextsTakeTheTableOfTheUserLanguage) {
    const WORD user = GetUserDefaultLangID();
    SCOPED_TRACE(testing::Message() << "user language 0x" << std::hex << user);
    ChooseUiLanguage();
    EXPECT_EQ(UiLanguage, chooseUiLanguage(user));
    if (const char* expected = std::getenv("ZENTRA_EXPECTED_UI_LANGUAGE")) {
        EXPECT_EQ(UiLanguage, WORD(std::strtoul(expected, nullptr, 16)));
    }
    const TableSample* sample = nullptr;
    for (const TableSample& s : kSamples) sample = s.language == UiLanguage ? &s : sample;
    ASSERT_NE(sample, nullptr) << "no table for 0x" << std::hex << UiLanguage;

    IDIGameCntrlPropSheet* sheet = newSheet();
    ASSERT_NE(sheet, nullptr);
    DIGCSHEETINFO* sheetInfo = nullptr;
    DIGCPAGEINFO* pageInfo = nullptr;
    sheet->GetSheetInfo(&sheetInfo);
    sheet->GetPageInfo(&pageInfo);
    EXPECT_EQ(toUtf8(sheetInfo->lpwszSheetCaption), sample->text[0]);
    EXPECT_EQ(toUtf8(pageInfo->lpwszPageTitle), sample->text[0]);
    sheet->Release();
    for (size_t i = 0; i < sizeof kSampleIds / sizeof kSampleIds[0]; ++i)
        EXPECT_EQ(lookUp(library, kSampleIds[i], UiLanguage), throughAnsi(sample->text[i]))
            << "string " << kSampleIds[i];
    EXPECT_EQ(lookUp(library, 0, UiLanguage), "<none>");
    EXPECT_EQ(lookUp(library, 106, UiLanguage), "<none>");
}

// --- Other resources ------------------------------------------------------

// A DIALOG template as stored: style, size, caption and font.
struct DialogTemplate {
    DWORD style = 0;
    WORD controls = 0;
    short cx = 0, cy = 0;
    std::wstring caption, font;
    WORD points = 0;
};

// Skips a menu or class field: 0, 0xFFFF and an ordinal, or a string.
const WORD* skipNameOrOrdinal(const WORD* p) {
    if (*p == 0xFFFF) return p + 2;
    while (*p) ++p;
    return p + 1;
}

bool readDialog(HMODULE module, int id, DialogTemplate& dialog) {
    HRSRC found = FindResourceExA(module, reinterpret_cast<LPCSTR>(RT_DIALOG), MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH));
    if (!found) return false;
    const auto* header = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
    if (!header) return false;
    dialog.style = header->style;
    dialog.controls = header->cdit;
    dialog.cx = header->cx;
    dialog.cy = header->cy;
    const WORD* p = reinterpret_cast<const WORD*>(header + 1);
    p = skipNameOrOrdinal(p);  // menu
    p = skipNameOrOrdinal(p);  // class
    dialog.caption = reinterpret_cast<const wchar_t*>(p);
    p += dialog.caption.size() + 1;
    if (dialog.style & DS_SETFONT) {
        dialog.points = *p++;
        dialog.font = reinterpret_cast<const wchar_t*>(p);
    }
    return true;
}

TEST_F(CplServer, DialogTemplatesAreStoredOnceInFrenchWithoutControls) {
    struct Case {
        int id;
        short cx, cy;
        const wchar_t* caption;
        bool page;
    };
    const Case cases[] = {
        {IDD_CPL_MAIN_PAGE, 396, 227, L"", true},
        {IDD_CPL_CALIBRATION, 235, 100, L"Calibration des Axes", false},
        {IDD_CPL_PRESET_DIALOG, 315, 223, L"Dialog", false},
        {IDD_CPL_ABOUT, 213, 122, L"Dialog", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "dialog " << c.id);
        EXPECT_EQ(storedLanguages(library, reinterpret_cast<LPCSTR>(RT_DIALOG), c.id),
                  std::set<WORD>{MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)});
        DialogTemplate dialog;
        ASSERT_TRUE(readDialog(library, c.id, dialog));
        EXPECT_EQ(dialog.controls, 0);
        EXPECT_EQ(dialog.cx, c.cx);
        EXPECT_EQ(dialog.cy, c.cy);
        EXPECT_TRUE(dialog.caption == c.caption) << toUtf8(dialog.caption);
        if (c.page) {
            EXPECT_EQ(dialog.style & (WS_CHILD | DS_CONTROL | WS_POPUP), DWORD(WS_CHILD | DS_CONTROL));
            EXPECT_TRUE(dialog.font == L"MS Sans Serif") << toUtf8(dialog.font);
            EXPECT_EQ(dialog.points, 8);
        } else {
            EXPECT_EQ(dialog.style & (WS_CHILD | WS_POPUP | WS_CAPTION), DWORD(WS_POPUP | WS_CAPTION));
        }
    }
}

TEST_F(CplServer, VersionBlockGivesFileVersion5214) {
    EXPECT_EQ(storedLanguages(library, reinterpret_cast<LPCSTR>(RT_VERSION), 1),
              std::set<WORD>{MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)});
    const std::string path = besideTests("ZentraCpl.dll");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00050002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00010004u);
}

TEST_F(CplServer, PicturesAreStoredOnceInFrenchWithTheirSizes) {
#ifndef ZENTRA_CPL_PICTURES
    GTEST_SKIP() << "the artwork generator does not draw the plug-in's pictures yet";
#endif
    struct Picture {
        int id;
        int width, height, bits;  // bits 0: any depth
    };
    const Picture bitmaps[] = {
        {IDB_CPL_SKIN, 913, 345, 8},         {IDB_CPL_PRESETS_PAGE, 595, 370, 8},
        {IDB_CPL_BUTTON_PAGE, 595, 370, 8},  {IDB_CPL_TEST_PAGE, 595, 370, 8},
        {IDB_CPL_ABOUT, 595, 162, 0},        {IDB_CPL_ABOUT_LINK, 143, 12, 0},
        {IDB_CPL_ABOUT_LINK_HELD, 143, 12, 0}, {IDB_CPL_PATTERN, 8, 8, 0},
        // The 150 and 200 % sets, run-length coded in the file.
        {1189, 1370, 518, 8},                {2189, 1826, 690, 8},
        {1190, 12, 12, 8},                   {2190, 16, 16, 8},
    };
    for (const Picture& p : bitmaps) {
        SCOPED_TRACE(testing::Message() << "bitmap " << p.id);
        EXPECT_EQ(storedLanguages(library, reinterpret_cast<LPCSTR>(RT_BITMAP), p.id),
                  std::set<WORD>{MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)});
        auto bitmap = static_cast<HBITMAP>(
            LoadImageA(library, MAKEINTRESOURCEA(p.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION section{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), int(sizeof section));
        EXPECT_EQ(section.dsBmih.biWidth, p.width);
        EXPECT_EQ(std::abs(section.dsBmih.biHeight), p.height);
        if (p.bits) {
            EXPECT_EQ(section.dsBmih.biBitCount, p.bits);
        }
        DeleteObject(bitmap);
    }
    for (int icon : {IDI_CPL_PAGE, IDI_CPL_MARKER})
        EXPECT_NE(LoadImageA(library, MAKEINTRESOURCEA(icon), IMAGE_ICON, 0, 0, 0), nullptr) << "icon " << icon;
    EXPECT_NE(LoadImageA(library, MAKEINTRESOURCEA(IDC_CPL_ANCHOR), IMAGE_CURSOR, 0, 0, 0), nullptr);
    // An image per picture set: the group's directory counts them.
    for (auto [type, id] :
         {std::pair(RT_GROUP_ICON, 115), std::pair(RT_GROUP_ICON, 193), std::pair(RT_GROUP_CURSOR, 124)}) {
        HRSRC group = FindResourceA(library, MAKEINTRESOURCEA(id), type);
        ASSERT_NE(group, nullptr) << id;
        EXPECT_EQ(static_cast<const WORD*>(LockResource(LoadResource(library, group)))[2], 3) << id;
    }
    // The clips and their frame width (avih's dwWidth).
    for (auto [id, width] : {std::pair(199, 196u), std::pair(1199, 296u), std::pair(2199, 392u)}) {
        SCOPED_TRACE(testing::Message() << "clip " << id);
        HRSRC clip = FindResourceA(library, MAKEINTRESOURCEA(id), "AVI");
        ASSERT_NE(clip, nullptr);
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(library, clip)));
        ASSERT_GT(SizeofResource(library, clip), 68u);
        EXPECT_EQ(std::string(bytes, 4), "RIFF");
        EXPECT_EQ(std::string(bytes + 8, 4), "AVI ");
        EXPECT_EQ(std::string(bytes + 24, 4), "avih");
        uint32_t stored = 0;
        std::memcpy(&stored, bytes + 64, 4);
        EXPECT_EQ(stored, width);
    }
}

}  // namespace
}  // namespace zentra
