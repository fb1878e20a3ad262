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

// The pixels of `area` of `bitmap`, as grabPixels gives them.
std::vector<uint32_t> bitmapPixels(HBITMAP bitmap, const RECT& area);

// Where `picture`, at the 96-DPI place (x, y) of a page, lies in a room of
// `roomWidth` x `roomHeight`: each edge scaled by the room over 594 x 369,
// halves up.
RECT placeInRoom(int x, int y, const skin::Sprite& picture, int roomWidth, int roomHeight);

// The colour of the skin picture `sprite` at (dx, dy) inside it, from the
// main page's shared copy of its bitmap.
COLORREF spritePixel(const skin::Sprite& sprite, int dx, int dy);

// The generator's pictures for one screen, from the plug-in's resources:
// the set of 100 %, 150 % or 200 % (resource ids of 100 % plus `idOffset`).
class GeneratedSet {
public:
    explicit GeneratedSet(int idOffset);
    ~GeneratedSet();
    GeneratedSet(const GeneratedSet&) = delete;
    GeneratedSet& operator=(const GeneratedSet&) = delete;

    // The pixels of `picture` as the set draws it; its edges are scaled as
    // the set's pictures lie (halves up), `w` x `h` of them.
    std::vector<uint32_t> pixels(const skin::Sprite& picture, int& w, int& h) const;
    // Whether `shown`, the pixels of `place`, look like the set's `picture`.
    bool looksLike(const std::vector<uint32_t>& shown, const RECT& place, const skin::Sprite& picture) const;

private:
    int offset_;
    HMODULE dll_;
};

// Whether two pictures of about the same size look alike: each cut into
// 4 x 4 blocks, the mean colour of every block within `tolerance` of the
// other's in each channel. (The page may stretch its set by a few percent
// to fill the room exactly.)
bool lookAlike(const std::vector<uint32_t>& a, int aw, int ah, const std::vector<uint32_t>& b, int bw, int bh,
               int tolerance = 24);

}  // namespace zentra
