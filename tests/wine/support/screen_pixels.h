// Reading colours back for the tests that check what a page draws: the
// screen under a window, and the skin picture it should have copied.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "cpl/frame/skin_layout.h"

namespace zentra {

// What the screen shows at point (x, y) of `window`.
COLORREF screenPixel(HWND window, int x, int y);

// The 32-bit pixels (0x00RRGGBB) of the w x h area of `dc` at (x, y), row
// by row from the top; with the screen's drawing context, what it shows.
std::vector<uint32_t> grabPixels(HDC dc, int x, int y, int w, int h);

// The colour of the skin picture `sprite` at (dx, dy) inside it, from the
// main page's shared copy of its bitmap.
COLORREF spritePixel(const skin::Sprite& sprite, int dx, int dy);

}  // namespace zentra
