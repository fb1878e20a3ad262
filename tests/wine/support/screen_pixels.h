// Reading colours back for the tests that check what a page draws: the
// screen under a window, and the skin picture it should have copied.
#pragma once

#include <windows.h>

#include "cpl/frame/skin_layout.h"

namespace zentra {

// What the screen shows at point (x, y) of `window`.
COLORREF screenPixel(HWND window, int x, int y);

// The colour of the skin picture `sprite` at (dx, dy) inside it, from the
// main page's shared copy of its bitmap.
COLORREF spritePixel(const skin::Sprite& sprite, int dx, int dy);

}  // namespace zentra
