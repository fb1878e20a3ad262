#include "tests/wine/support/screen_pixels.h"

#include <cstdlib>

#include "cpl/frame/main_page.h"
#include "tests/wine/support/wine_test_support.h"

namespace zentra {

COLORREF screenPixel(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

std::vector<uint32_t> grabPixels(HDC dc, int x, int y, int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, dc, x, y, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(first, first + size_t(w) * size_t(h));
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    return pixels;
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

GeneratedSet::GeneratedSet(int idOffset)
    : offset_(idOffset), dll_(LoadLibraryExA(besideTests("ZentraCpl.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}

GeneratedSet::~GeneratedSet() {
    if (dll_) FreeLibrary(dll_);
}

std::vector<uint32_t> GeneratedSet::pixels(const skin::Sprite& picture, int& w, int& h) const {
    int percent = 100;
    for (const skin::PictureSet& set : skin::kPictureSets)
        if (set.idOffset == offset_) percent = set.percent;
    const auto at = [percent](int v) { return skin::pictureInSet(v, percent); };
    const int x = at(picture.x), y = at(picture.y);
    w = at(picture.right()) - x;
    h = at(picture.bottom()) - y;
    std::vector<uint32_t> out;
    HBITMAP bitmap = dll_ ? HBITMAP(LoadImageA(dll_, MAKEINTRESOURCEA(picture.bitmap + offset_), IMAGE_BITMAP, 0, 0,
                                               LR_CREATEDIBSECTION))
                          : nullptr;
    if (!bitmap) return out;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    out = grabPixels(memory, x, y, w, h);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return out;
}

bool lookAlike(const std::vector<uint32_t>& a, int aw, int ah, const std::vector<uint32_t>& b, int bw, int bh,
               int tolerance) {
    if (a.empty() || b.empty()) return false;
    const auto mean = [](const std::vector<uint32_t>& p, int w, int h, int bx, int by, int channel) {
        long sum = 0, n = 0;
        for (int y = by * h / 4; y < (by + 1) * h / 4; ++y)
            for (int x = bx * w / 4; x < (bx + 1) * w / 4; ++x, ++n) sum += (p[size_t(y) * w + x] >> (8 * channel)) & 0xFF;
        return n ? int(sum / n) : 0;
    };
    for (int by = 0; by < 4; ++by)
        for (int bx = 0; bx < 4; ++bx)
            for (int c = 0; c < 3; ++c)
                if (std::abs(mean(a, aw, ah, bx, by, c) - mean(b, bw, bh, bx, by, c)) > tolerance) return false;
    return true;
}

}  // namespace zentra
