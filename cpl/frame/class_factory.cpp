#include "cpl/frame/class_factory.h"

#include <new>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/property_sheet.h"

namespace zentra {

CplClassFactory::CplClassFactory() : references_(1) { cplObjectAdded(); }

CplClassFactory::~CplClassFactory() { cplObjectGone(); }

HRESULT CplClassFactory::QueryInterface(REFIID riid, void** out) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CplClassFactory::AddRef() { return ULONG(InterlockedIncrement(&references_)); }

ULONG CplClassFactory::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
        return 0;
    }
    return ULONG(left);
}

HRESULT CplClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** out) {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    CplPropertySheet* sheet = new (std::nothrow) CplPropertySheet();
    if (!sheet) return E_OUTOFMEMORY;
    HRESULT result = sheet->Initialize();
    if (SUCCEEDED(result)) result = sheet->QueryInterface(riid, out);
    // Drops the construction reference: a sheet that failed to initialise,
    // or was asked for an interface it lacks, goes with it.
    sheet->Release();
    return result;
}

HRESULT CplClassFactory::LockServer(BOOL lock) {
    if (lock) cplObjectAdded();
    else cplObjectGone();
    return S_OK;
}

}  // namespace zentra
