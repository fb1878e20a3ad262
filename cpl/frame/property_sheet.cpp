#include "cpl/frame/property_sheet.h"

#include <new>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/main_page.h"
#include "cpl/res/cpl_resource.h"

namespace zentra {

namespace {

// The sheet's caption and the page's title.
constexpr int kTitleString = 1;
// The sheet's icon, by name.
wchar_t sheetIconName[] = L"IDI_MAXIICO";

ULONG signExtended(SHORT count) { return ULONG(LONG(count)); }

}  // namespace

CplPropertySheet::CplPropertySheet()
    : references_(0), joystickId_(0xFFFF), sheetInfo_{}, pageInfo_(nullptr), device_(nullptr), joyConfig_(nullptr) {
    AddRef();
    cplObjectAdded();
    registerCplWindowClasses();
}

CplPropertySheet::~CplPropertySheet() {
    if (device_) {
        device_->Unacquire();
        device_->Release();
    }
    if (joyConfig_) {
        joyConfig_->Unacquire();
        joyConfig_->Release();
    }
    freeInformation();
    cplObjectGone();
}

void CplPropertySheet::freeInformation() {
    if (pageInfo_) delete[] pageInfo_->lpwszPageTitle;
    delete pageInfo_;
    pageInfo_ = nullptr;
    delete[] sheetInfo_.lpwszSheetCaption;
    sheetInfo_.lpwszSheetCaption = nullptr;
}

HRESULT CplPropertySheet::QueryInterface(REFIID riid, void** out) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDIGameCntrlPropSheet)) {
        *out = static_cast<IDIGameCntrlPropSheet*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CplPropertySheet::AddRef() { return signExtended(InterlockedIncrement16(&references_)); }

ULONG CplPropertySheet::Release() {
    const SHORT left = InterlockedDecrement16(&references_);
    if (left == 0) {
        delete this;
        return 0;
    }
    return signExtended(left);
}

HRESULT CplPropertySheet::GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) {
    *sheetInfo = &sheetInfo_;
    return S_OK;
}

HRESULT CplPropertySheet::GetPageInfo(LPDIGCPAGEINFO* pageInfo) {
    *pageInfo = pageInfo_;
    return S_OK;
}

HRESULT CplPropertySheet::SetID(USHORT id) {
    joystickId_ = id;
    return S_OK;
}

USHORT CplPropertySheet::GetID() { return joystickId_; }

HRESULT CplPropertySheet::Initialize() {
    ChooseUiLanguage();
    const HINSTANCE instance = cplModuleInstance();
    freeInformation();  // a second Initialize starts afresh

    pageInfo_ = new (std::nothrow) DIGCPAGEINFO();
    if (!pageInfo_) return E_OUTOFMEMORY;
    pageInfo_->dwSize = sizeof(DIGCPAGEINFO);
    pageInfo_->lpwszPageTitle = LoadLocalizedStringW(instance, kTitleString, UiLanguage);
    pageInfo_->fpPageProc = MainPage;
    pageInfo_->fProcFlag = FALSE;
    pageInfo_->fpPrePostProc = nullptr;
    pageInfo_->fIconFlag = TRUE;
    pageInfo_->lpwszPageIcon = MAKEINTRESOURCEW(IDI_CPL_PAGE);
    pageInfo_->lpwszTemplate = MAKEINTRESOURCEW(IDD_CPL_MAIN_PAGE);
    pageInfo_->lParam = reinterpret_cast<LPARAM>(this);
    pageInfo_->hInstance = instance;

    sheetInfo_.dwSize = sizeof(DIGCSHEETINFO);
    sheetInfo_.nNumPages = 1;
    sheetInfo_.lpwszSheetCaption = LoadLocalizedStringW(instance, kTitleString, UiLanguage);
    sheetInfo_.fSheetIconFlag = TRUE;
    sheetInfo_.lpwszSheetIcon = sheetIconName;
    return S_OK;
}

HRESULT CplPropertySheet::SetDevice(LPDIRECTINPUTDEVICE8A device) {
    device_ = device;
    return S_OK;
}

HRESULT CplPropertySheet::GetDevice(LPDIRECTINPUTDEVICE8A* device) {
    *device = device_;
    return S_OK;
}

HRESULT CplPropertySheet::SetJoyConfig(IDirectInputJoyConfig8* config) {
    joyConfig_ = config;
    return S_OK;
}

HRESULT CplPropertySheet::GetJoyConfig(IDirectInputJoyConfig8** config) {
    *config = joyConfig_;
    return S_OK;
}

}  // namespace zentra
