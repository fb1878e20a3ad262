// Icon and cursor files: one directory entry per image, each image a
// BITMAPINFOHEADER, the colour bitmap bottom-up at twice the image's height
// (colour and mask) and the 1-bit AND mask, as LoadIcon, LoadCursor and the
// tray expect them.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"
#include "palette.h"

namespace artwork {

// The .ico file holding `images` (each at most 256 by 256), in that order,
// as 32-bit images with alpha.
std::vector<uint8_t> icoFile(const std::vector<Image>& images);

// The .ico file holding `images` as 8-bit images with the skin palette; the
// transparent pixels go into the AND mask.
std::vector<uint8_t> icoFile8(const std::vector<IndexedImage>& images);

// One image of a cursor and its hot spot.
struct CursorImage {
    IndexedImage image;
    int hotX;
    int hotY;
};

// The .cur file holding `images` as 8-bit images, in that order.
std::vector<uint8_t> curFile8(const std::vector<CursorImage>& images);

}  // namespace artwork
