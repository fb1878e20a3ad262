// The classic icon file: one directory entry per image, each image a
// BITMAPINFOHEADER, a 32-bit bottom-up colour bitmap of twice the image's
// height and the 1-bit AND mask, as LoadIcon and the tray expect them.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace artwork {

// The .ico file holding `images` (each at most 256 by 256), in that order.
std::vector<uint8_t> icoFile(const std::vector<Image>& images);

}  // namespace artwork
