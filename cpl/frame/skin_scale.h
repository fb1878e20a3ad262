// The skin's one scale. Every place and size of the control panel's pages
// and dialogs is given in pixels of a 96-DPI screen (the page area is
// 594 x 369 there). On another screen the page area the sheet gives is
// larger, and the pages fill it: each axis is scaled by the area's size
// over 594 or 369, and the pictures are taken from the set drawn nearest
// that scale. Plain arithmetic; the Win32 shell (skinned_controls) keeps
// the panel's current scale and applies it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cpl/frame/skin_logic.h"

namespace zentra {

struct SkinScale {
    int width = 594;    // the page area's size in the window's pixels
    int height = 369;
    int percent = 100;  // the picture set the pages draw from
};
inline bool operator==(const SkinScale& a, const SkinScale& b) {
    return a.width == b.width && a.height == b.height && a.percent == b.percent;
}
inline bool operator!=(const SkinScale& a, const SkinScale& b) { return !(a == b); }

// The scale for a page of `areaWidth` x `areaHeight` pixels on a screen of
// `dpi`. At 96 DPI or less nothing is scaled, whatever the area (every
// pixel stays where it is at 96 DPI); an empty area counts as the page area
// times dpi / 96. The picture set is the one nearest the larger axis's scale
// (of two as near, the larger: a picture brought down stays sharper than
// one brought up).
SkinScale skinScaleFor(int dpi, int areaWidth, int areaHeight);

// A 96-DPI coordinate in the window's pixels, rounded to the nearest pixel
// (halves away from zero). A rectangle's edges are scaled each: pictures
// and controls that touch at 96 DPI touch at every scale.
int scaleX(const SkinScale& scale, int x);
int scaleY(const SkinScale& scale, int y);
SkinRect scaleRect(const SkinScale& scale, const SkinRect& rect);

// A point of the window (the pointer) at 96 DPI, rounded to the nearest.
SkinPoint unscalePoint(const SkinScale& scale, SkinPoint point);

bool isIdentity(const SkinScale& scale);

// After resampling, a picture drawn with its mask (the mask with SRCAND, then
// the picture with SRCPAINT) needs both exact again: the mask's pixels
// become black or white (by their brightness), and the picture's black
// wherever its mask is white. `picture` is the picture's rectangle in
// `pixels` (`count` pixels, rows `width` wide); the mask has its size, at
// `mask`.
void keepMaskExact(uint32_t* pixels, size_t count, int width, const SkinRect& picture, SkinPoint mask);

// A picture's pixels as the system keeps them: rows of 32-bit pixels
// (0x00RRGGBB), or of 8-bit indices into a 256-colour `palette`; `stride`
// bytes from one row to the one below it (negative for a picture stored
// bottom-up, with `top` at its last stored row).
struct PictureRows {
    const uint8_t* top = nullptr;
    ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    const uint32_t* palette = nullptr;  // 256 entries for 8-bit rows; null for 32-bit ones
};

// `from` at `toWidth` x `toHeight`, written to `to` (rows from the top, each
// `toWidth` pixels): each new pixel is the mean of the old ones it covers,
// weighed by how much of each it covers (a picture of the same size stays as
// it is). For a picture set brought to a room a few percent off its own
// scale; the rows are read where they are, so a set of 8-bit pixels is
// never copied whole. False, and nothing written, when a size is not
// positive.
bool resampleInto(const PictureRows& from, uint32_t* to, int toWidth, int toHeight);

// The same for `width` x `height` pixels in a vector (rows from the top).
// Empty when a size is not positive or `from` is short.
std::vector<uint32_t> resamplePicture(const std::vector<uint32_t>& from, int width, int height, int toWidth,
                                      int toHeight);

}  // namespace zentra
