// "CUSTOMICON" as a plain window, built into the plug-in only while the
// skinned controls (skinned_controls.cpp, which has the real procedure) are
// not part of the build.
#include "cpl/frame/cpl_module.h"

namespace zentra {

LRESULT CALLBACK CustomIconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zentra
