#include "ico.h"

namespace artwork {

namespace {

constexpr uint32_t kDirectorySize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kInfoHeaderSize = 40;

uint32_t maskStride(int width) { return static_cast<uint32_t>((width + 31) / 32 * 4); }

uint32_t imageBytes(const Image& image) {
    return kInfoHeaderSize + static_cast<uint32_t>(image.width * image.height * 4) +
           maskStride(image.width) * static_cast<uint32_t>(image.height);
}

void putImage(std::vector<uint8_t>& out, const Image& image) {
    const int w = image.width, h = image.height;
    // BITMAPINFOHEADER: the height counts the colour bitmap and the mask.
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<uint32_t>(w));
    putU32(out, static_cast<uint32_t>(2 * h));
    putU16(out, 1);   // planes
    putU16(out, 32);  // bits per pixel
    putU32(out, 0);   // BI_RGB
    putU32(out, imageBytes(image) - kInfoHeaderSize);
    putU32(out, 0);  // pixels per metre, x and y
    putU32(out, 0);
    putU32(out, 0);  // colours used, important
    putU32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const uint8_t* row = &image.bgra[static_cast<size_t>(y) * w * 4];
        out.insert(out.end(), row, row + static_cast<size_t>(w) * 4);
    }
    // AND mask: 1 where the pixel is fully transparent.
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> bits(maskStride(w), 0);
        for (int x = 0; x < w; ++x) {
            if (image.bgra[(static_cast<size_t>(y) * w + x) * 4 + 3] == 0) bits[x / 8] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), bits.begin(), bits.end());
    }
}

}  // namespace

std::vector<uint8_t> icoFile(const std::vector<Image>& images) {
    std::vector<uint8_t> out;
    putU16(out, 0);  // reserved
    putU16(out, 1);  // icon
    putU16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = kDirectorySize + kEntrySize * static_cast<uint32_t>(images.size());
    for (const Image& image : images) {
        out.push_back(static_cast<uint8_t>(image.width));  // 256 is written as 0
        out.push_back(static_cast<uint8_t>(image.height));
        out.push_back(0);  // no palette
        out.push_back(0);
        putU16(out, 1);   // planes
        putU16(out, 32);  // bits per pixel
        putU32(out, imageBytes(image));
        putU32(out, offset);
        offset += imageBytes(image);
    }
    for (const Image& image : images) putImage(out, image);
    return out;
}

}  // namespace artwork
