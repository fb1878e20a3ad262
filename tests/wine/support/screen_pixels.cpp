#include "tests/wine/support/screen_pixels.h"

#include <cstdlib>

#include "cpl/frame/main_page.h"
#include "cpl/frame/skinned_controls.h"
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
    const BITMAPINFO info = TopDown32Header(w, h);
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

std::vector<uint32_t> bitmapPixels(HBITMAP bitmap, const RECT& area) {
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    std::vector<uint32_t> out = grabPixels(memory, area.left, area.top, area.right - area.left, area.bottom - area.top);
    SelectObject(memory, old);
    DeleteDC(memory);
    return out;
}

RECT placeInRoom(int x, int y, const skin::Sprite& picture, int roomWidth, int roomHeight) {
    const auto sx = [&](int v) { return (2 * v * roomWidth + 594) / (2 * 594); };
    const auto sy = [&](int v) { return (2 * v * roomHeight + 369) / (2 * 369); };
    return RECT{sx(x), sy(y), sx(x + picture.width), sy(y + picture.height)};
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
    HBITMAP bitmap = dll_ ? HBITMAP(LoadImageA(dll_, MAKEINTRESOURCEA(picture.bitmap + offset_), IMAGE_BITMAP, 0, 0,
                                               LR_CREATEDIBSECTION))
                          : nullptr;
    if (!bitmap) return {};
    std::vector<uint32_t> out = bitmapPixels(bitmap, RECT{x, y, x + w, y + h});
    DeleteObject(bitmap);
    return out;
}

bool GeneratedSet::looksLike(const std::vector<uint32_t>& shown, const RECT& place, const skin::Sprite& picture) const {
    int w = 0, h = 0;
    const std::vector<uint32_t> generated = pixels(picture, w, h);
    return lookAlike(shown, place.right - place.left, place.bottom - place.top, generated, w, h);
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
