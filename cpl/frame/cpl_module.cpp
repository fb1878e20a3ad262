// The plug-in's module-wide state.
#include "cpl/frame/cpl_module.h"
#include "cpl/frame/gdi_tally.h"

namespace zentra {

namespace {

HINSTANCE g_instance = nullptr;
LONG volatile g_objects = 0;
LONG volatile g_gdiObjects = 0;

}  // namespace

CRITICAL_SECTION DeviceLock;
WORD UiLanguage = 0x0409;

HINSTANCE cplModuleInstance() { return g_instance; }
void setCplModuleInstance(HINSTANCE instance) { g_instance = instance; }

LONG cplObjectAdded() { return InterlockedIncrement(&g_objects); }
LONG cplObjectGone() { return InterlockedDecrement(&g_objects); }
LONG cplObjectCount() { return InterlockedCompareExchange(&g_objects, 0, 0); }

void gdiCountCreated() { InterlockedIncrement(&g_gdiObjects); }
void gdiCountDeleted() { InterlockedDecrement(&g_gdiObjects); }
LONG liveGdiObjects() { return InterlockedCompareExchange(&g_gdiObjects, 0, 0); }

}  // namespace zentra
