// The class factory that DllGetClassObject hands out: it makes the sheet
// objects of the library's one class.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace zentra {

class CplClassFactory final : public IClassFactory {
public:
    // Reference count 1; counts as a live object of the library.
    CplClassFactory();
    CplClassFactory(const CplClassFactory&) = delete;
    CplClassFactory& operator=(const CplClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ~CplClassFactory();

    LONG references_;
};

}  // namespace zentra
