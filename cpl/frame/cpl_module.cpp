// The plug-in's module-wide state.
#include "cpl/frame/cpl_module.h"

namespace zentra {

namespace {

HINSTANCE g_instance = nullptr;
LONG volatile g_objects = 0;

}  // namespace

CRITICAL_SECTION DeviceLock;
WORD UiLanguage = 0x0409;

HINSTANCE cplModuleInstance() { return g_instance; }
void setCplModuleInstance(HINSTANCE instance) { g_instance = instance; }

LONG cplObjectAdded() { return InterlockedIncrement(&g_objects); }
LONG cplObjectGone() { return InterlockedDecrement(&g_objects); }
LONG cplObjectCount() { return InterlockedCompareExchange(&g_objects, 0, 0); }

}  // namespace zentra
