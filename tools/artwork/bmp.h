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

// The same picture with its rows run-length coded (BI_RLE8): each row
// bottom-up as runs of one index (count, index) and, for stretches without
// runs, absolute groups (0, count, the indices, padded to an even length),
// ended by (0, 0); the last row by (0, 1) instead.
std::vector<uint8_t> bmpFileRle8(const IndexedImage& image);

// Writes the control panel's bitmap `id` once for every picture set of
// cpl/frame/skin_layout.h, as cpl_<id + the set's id offset>.bmp, each
// drawn by `draw` for the set's percent. The 100 % bitmap is stored
// uncompressed as it always was; the 150 and 200 % ones, four times as
// many pixels and mostly flat grounds, run-length coded (a ninth to a
// fortieth of the size). LoadImage with LR_CREATEDIBSECTION decodes either
// into the same uncompressed 8-bit DIB section.
bool writeBitmapSets(const std::string& dir, int id, const std::function<IndexedImage(int percent)>& draw);

}  // namespace artwork
