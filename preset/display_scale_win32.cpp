#include <windows.h>

#include "preset/display_scale.h"

namespace zentra {

int windowDpi(HWND window) {
    // Newer systems know each window's DPI (per monitor); older ones have
    // one for the whole screen.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (window && dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window)) return int(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace zentra
