// Window procedures of the pages that are not in the plug-in yet: each shows
// its page's background in its region, so that the tabs show through and
// the sheet reads as the finished one will. Each procedure moves to its
// page's source when that is written, and leaves this file.
#include "cpl/frame/cpl_module.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/skinned_controls.h"

namespace zentra {

namespace {

// WM_CREATE and WM_PAINT of a page whose background is `background`.
bool pageShell(HWND window, UINT message, const skin::Sprite& background) {
    switch (message) {
    case WM_CREATE: SetPageRegion(window); return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (HBITMAP bitmap = sharedBitmap(background.bitmap)) {
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(dc, 0, 0, background.width, background.height, memory, background.x, background.y, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        EndPaint(window, &ps);
        return true;
    }
    default: return false;
    }
}

}  // namespace

LRESULT CALLBACK AnchorCustomProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK SensibCustomProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (pageShell(window, message, skin::kConfigPage)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK SensWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (pageShell(window, message, skin::kConfigPage)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zentra
