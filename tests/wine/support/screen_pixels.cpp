#include "tests/wine/support/screen_pixels.h"

#include "cpl/frame/main_page.h"

namespace zentra {

COLORREF screenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

COLORREF spritePixel(const skin::Sprite& sprite, int dx, int dy) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, sharedBitmap(sprite.bitmap));
    const COLORREF colour = GetPixel(memory, sprite.x + dx, sprite.y + dy);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

}  // namespace zentra
