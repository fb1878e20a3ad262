// The one 256-colour palette of every 8-bit picture of the control panel, and
// the quantization of drawn pictures to it: each colour becomes the nearest
// palette entry, without dithering, so that a flat colour stays flat and the
// same colour gives the same index in every bitmap.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <vector>

#include "image.h"

namespace artwork {

// 0xRRGGBB.
using Rgb = uint32_t;

// Entry 0 is black and entry 1 white; the colours the control panel's code
// draws with itself (list background, edit brush, curve-box fill, pens) are
// entries of their own, so that the pictures match them exactly.
const std::array<Rgb, 256>& skinPalette();

uint8_t nearestIndex(Rgb colour);

// A palettized picture, rows top-down. `transparent` is empty for bitmaps;
// for icons and cursors it holds 1 where the pixel is left out.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> index;
    std::vector<uint8_t> transparent;
};

// An opaque picture (alpha is ignored).
IndexedImage quantize(const Image& image);
IndexedImage quantize(cairo_surface_t* surface);

// An icon's picture: pixels less than half covered are left out, the others
// are blended over `matte` first, so that their edges suit a light or a dark
// background alike.
IndexedImage quantizeIcon(const Image& image, Rgb matte);

}  // namespace artwork
