// Window procedures of the pages that are not in the plug-in yet: each shows
// its page's background in its region, so that the tabs show through and
// the sheet reads as the finished one will. The test page also offers the
// axis calibration. Each procedure moves to its page's source when that is
// written, and leaves this file.
#include "cpl/frame/calibration.h"
#include "cpl/frame/cpl_module.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/skinned_controls.h"

namespace zentra {

namespace {

constexpr int kCalibrationButton = 1139;

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

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateFlatButton(window, 453, 11, 39, 39, kCalibrationButton);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == kCalibrationButton) OpenCalibration(window);
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != kCalibrationButton) break;
        PaintPushButton(item, sharedBitmap(skin::kSkinBitmap), pictureRect(skin::kCalibrationButtonNormal),
                        pictureRect(skin::kCalibrationButtonPressed), pictureRect(skin::kCalibrationButtonFocused));
        return TRUE;
    }
    default: break;
    }
    if (pageShell(window, message, skin::kTestPage)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK SensWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (pageShell(window, message, skin::kConfigPage)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK AxeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (pageShell(window, message, skin::kPresetsPage)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zentra
