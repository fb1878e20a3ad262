// Bitmap files of 8 bits per pixel with the skin palette, as LoadImage reads
// them into device-independent sections.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "palette.h"

namespace artwork {

// BITMAPFILEHEADER, BITMAPINFOHEADER (BI_RGB, 256 colours used), the palette
// and the rows bottom-up, each padded to 4 bytes.
std::vector<uint8_t> bmpFile(const IndexedImage& image);

// Writes the control panel's bitmap `id` once for every picture set of
// cpl/frame/skin_layout.h, as cpl_<id + the set's id offset>.bmp, each
// drawn by `draw` for the set's percent.
bool writeBitmapSets(const std::string& dir, int id, const std::function<IndexedImage(int percent)>& draw);

}  // namespace artwork
