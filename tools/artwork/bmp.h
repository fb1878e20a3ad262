// Bitmap files of 8 bits per pixel with the skin palette, as LoadImage reads
// them into device-independent sections.
#pragma once

#include <cstdint>
#include <vector>

#include "palette.h"

namespace artwork {

// BITMAPFILEHEADER, BITMAPINFOHEADER (BI_RGB, 256 colours used), the palette
// and the rows bottom-up, each padded to 4 bytes.
std::vector<uint8_t> bmpFile(const IndexedImage& image);

}  // namespace artwork
