// Entry points of ZentraCpl.dll, an in-process COM server: the module's
// start and end, and its two exports (zentracpl.def).
#include <windows.h>
#include <objbase.h>

#include <new>

#include "cpl/frame/class_factory.h"
#include "cpl/frame/cpl_module.h"
#include "cpl/frame/dinput_sheet.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        zentra::setCplModuleInstance(instance);
        InitializeCriticalSection(&zentra::DeviceLock);
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&zentra::DeviceLock);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, CLSID_ZentraCplSheet)) return CLASS_E_CLASSNOTAVAILABLE;
    // Only the factory interface itself, not IUnknown.
    if (!IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    auto* factory = new (std::nothrow) zentra::CplClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT result = factory->QueryInterface(riid, ppv);
    factory->Release();
    return result;
}

STDAPI DllCanUnloadNow() { return zentra::cplObjectCount() == 0 ? S_OK : S_FALSE; }
