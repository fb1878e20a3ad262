#include "bmp.h"

#include "cpl/frame/skin_layout.h"
#include "image.h"

namespace artwork {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 256 * 4;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr size_t kLongestRun = 255;
// Fewer than 3 indices cannot form an absolute group (0, 1 and 2 after the
// escape mean end of line, end of bitmap and a move).
constexpr size_t kShortestGroup = 3;

// The file around `pixels`, the picture's coded rows.
std::vector<uint8_t> bmpWith(const IndexedImage& image, uint32_t compression, const std::vector<uint8_t>& pixels) {
    const uint32_t pixelBytes = uint32_t(pixels.size());
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, offset + pixelBytes);
    putU32(out, 0);  // reserved
    putU32(out, offset);
    putU32(out, kInfoHeaderSize);
    putU32(out, uint32_t(image.width));
    putU32(out, uint32_t(image.height));  // positive: bottom-up
    putU16(out, 1);                       // planes
    putU16(out, 8);                       // bits per pixel
    putU32(out, compression);
    putU32(out, pixelBytes);
    putU32(out, kPixelsPerMetre);
    putU32(out, kPixelsPerMetre);
    putU32(out, 256);  // colours used
    putU32(out, 0);    // all important
    for (Rgb c : skinPalette()) {
        out.push_back(uint8_t(c));
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c >> 16));
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// How many indices from `at` on repeat row[at], at most kLongestRun.
size_t runAt(const uint8_t* row, size_t at, size_t width) {
    size_t n = 1;
    while (at + n < width && n < kLongestRun && row[at + n] == row[at]) ++n;
    return n;
}

void putRow(std::vector<uint8_t>& out, const uint8_t* row, size_t width) {
    size_t x = 0;
    while (x < width) {
        const size_t run = runAt(row, x, width);
        if (run >= 2) {
            out.push_back(uint8_t(run));
            out.push_back(row[x]);
            x += run;
            continue;
        }
        // A stretch without two alike in a row: up to the next run.
        size_t end = x;
        while (end < width && end - x < kLongestRun && runAt(row, end, width) < 2) ++end;
        const size_t length = end - x;
        if (length < kShortestGroup) {
            for (; x < end; ++x) {
                out.push_back(1);
                out.push_back(row[x]);
            }
            continue;
        }
        out.push_back(0);
        out.push_back(uint8_t(length));
        out.insert(out.end(), row + x, row + end);
        if (length % 2) out.push_back(0);
        x = end;
    }
}

}  // namespace

std::vector<uint8_t> bmpFile(const IndexedImage& image) {
    const uint32_t stride = (uint32_t(image.width) + 3) & ~3u;
    std::vector<uint8_t> pixels;
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.index[size_t(y) * image.width];
        pixels.insert(pixels.end(), row, row + image.width);
        pixels.insert(pixels.end(), stride - uint32_t(image.width), 0);
    }
    return bmpWith(image, kBiRgb, pixels);
}

std::vector<uint8_t> bmpFileRle8(const IndexedImage& image) {
    std::vector<uint8_t> pixels;
    for (int y = image.height - 1; y >= 0; --y) {
        putRow(pixels, &image.index[size_t(y) * image.width], size_t(image.width));
        pixels.push_back(0);
        pixels.push_back(y == 0 ? 1 : 0);  // end of line, or of the bitmap
    }
    return bmpWith(image, kBiRle8, pixels);
}

bool writeBitmapSets(const std::string& dir, int id, const std::function<IndexedImage(int percent)>& draw) {
    for (const zentra::skin::PictureSet& set : zentra::skin::kPictureSets) {
        const std::string name = "cpl_" + std::to_string(id + set.idOffset) + ".bmp";
        const IndexedImage image = draw(set.percent);
        if (!writeFile(dir, name, set.idOffset == 0 ? bmpFile(image) : bmpFileRle8(image))) return false;
    }
    return true;
}

}  // namespace artwork
