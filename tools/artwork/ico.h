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

// The .cur file of one 8-bit image whose hot spot is (hotX, hotY).
std::vector<uint8_t> curFile8(const IndexedImage& image, int hotX, int hotY);

}  // namespace artwork
