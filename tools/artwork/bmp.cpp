#include "bmp.h"

#include "cpl/frame/skin_layout.h"
#include "image.h"

namespace artwork {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 256 * 4;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

}  // namespace

std::vector<uint8_t> bmpFile(const IndexedImage& image) {
    const uint32_t stride = (uint32_t(image.width) + 3) & ~3u;
    const uint32_t pixelBytes = stride * uint32_t(image.height);
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
    putU32(out, 0);                       // BI_RGB
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
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.index[size_t(y) * image.width];
        out.insert(out.end(), row, row + image.width);
        out.insert(out.end(), stride - uint32_t(image.width), 0);
    }
    return out;
}

bool writeBitmapSets(const std::string& dir, int id, const std::function<IndexedImage(int percent)>& draw) {
    for (const zentra::skin::PictureSet& set : zentra::skin::kPictureSets) {
        const std::string name = "cpl_" + std::to_string(id + set.idOffset) + ".bmp";
        if (!writeFile(dir, name, bmpFile(draw(set.percent)))) return false;
    }
    return true;
}

}  // namespace artwork
