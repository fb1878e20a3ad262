#include "ico.h"

namespace artwork {

namespace {

constexpr uint32_t kDirectorySize = 6;
constexpr uint32_t kEntrySize = 16;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 256 * 4;
constexpr uint16_t kTypeIcon = 1;
constexpr uint16_t kTypeCursor = 2;

uint32_t maskStride(int width) { return static_cast<uint32_t>((width + 31) / 32 * 4); }
uint32_t indexStride(int width) { return static_cast<uint32_t>((width + 3) / 4 * 4); }

// One image as the file stores it: its bytes and the directory entry's
// colour count, planes (or hot spot x) and bit count (or hot spot y).
struct Entry {
    int width;
    int height;
    uint8_t colourCount;
    uint16_t planesOrHotX;
    uint16_t bitsOrHotY;
    std::vector<uint8_t> bytes;
};

void putInfoHeader(std::vector<uint8_t>& out, int w, int h, uint16_t bits, uint32_t imageBytes, uint32_t coloursUsed) {
    // The height counts the colour bitmap and the mask.
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<uint32_t>(w));
    putU32(out, static_cast<uint32_t>(2 * h));
    putU16(out, 1);  // planes
    putU16(out, bits);
    putU32(out, 0);  // BI_RGB
    putU32(out, imageBytes);
    putU32(out, 0);  // pixels per metre, x and y
    putU32(out, 0);
    putU32(out, coloursUsed);
    putU32(out, 0);
}

// AND mask rows bottom-up: 1 where `transparent(x, y)`.
template <typename Transparent>
void putMask(std::vector<uint8_t>& out, int w, int h, Transparent transparent) {
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> bits(maskStride(w), 0);
        for (int x = 0; x < w; ++x) {
            if (transparent(x, y)) bits[x / 8] |= 0x80 >> (x % 8);
        }
        out.insert(out.end(), bits.begin(), bits.end());
    }
}

std::vector<uint8_t> imageBytes32(const Image& image) {
    const int w = image.width, h = image.height;
    std::vector<uint8_t> out;
    putInfoHeader(out, w, h, 32, static_cast<uint32_t>(w * h * 4) + maskStride(w) * static_cast<uint32_t>(h), 0);
    for (int y = h - 1; y >= 0; --y) {
        const uint8_t* row = &image.bgra[static_cast<size_t>(y) * w * 4];
        out.insert(out.end(), row, row + static_cast<size_t>(w) * 4);
    }
    // AND mask: 1 where the pixel is fully transparent.
    putMask(out, w, h, [&](int x, int y) { return image.bgra[(static_cast<size_t>(y) * w + x) * 4 + 3] == 0; });
    return out;
}

std::vector<uint8_t> imageBytes8(const IndexedImage& image) {
    const int w = image.width, h = image.height;
    const uint32_t stride = indexStride(w);
    std::vector<uint8_t> out;
    putInfoHeader(out, w, h, 8, kPaletteSize + (stride + maskStride(w)) * static_cast<uint32_t>(h), 256);
    for (Rgb c : skinPalette()) {
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c >> 16));
        out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        const uint8_t* row = &image.index[static_cast<size_t>(y) * w];
        out.insert(out.end(), row, row + w);
        out.insert(out.end(), stride - static_cast<uint32_t>(w), 0);
    }
    putMask(out, w, h, [&](int x, int y) {
        return !image.transparent.empty() && image.transparent[static_cast<size_t>(y) * w + x] != 0;
    });
    return out;
}

std::vector<uint8_t> iconDirectory(uint16_t type, const std::vector<Entry>& entries) {
    std::vector<uint8_t> out;
    putU16(out, 0);  // reserved
    putU16(out, type);
    putU16(out, static_cast<uint32_t>(entries.size()));
    uint32_t offset = kDirectorySize + kEntrySize * static_cast<uint32_t>(entries.size());
    for (const Entry& entry : entries) {
        out.push_back(static_cast<uint8_t>(entry.width));  // 256 is written as 0
        out.push_back(static_cast<uint8_t>(entry.height));
        out.push_back(entry.colourCount);
        out.push_back(0);
        putU16(out, entry.planesOrHotX);
        putU16(out, entry.bitsOrHotY);
        putU32(out, static_cast<uint32_t>(entry.bytes.size()));
        putU32(out, offset);
        offset += static_cast<uint32_t>(entry.bytes.size());
    }
    for (const Entry& entry : entries) out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());
    return out;
}

}  // namespace

std::vector<uint8_t> icoFile(const std::vector<Image>& images) {
    std::vector<Entry> entries;
    for (const Image& image : images) entries.push_back({image.width, image.height, 0, 1, 32, imageBytes32(image)});
    return iconDirectory(kTypeIcon, entries);
}

std::vector<uint8_t> icoFile8(const std::vector<IndexedImage>& images) {
    std::vector<Entry> entries;
    // A colour count of 0 stands for 256.
    for (const IndexedImage& image : images) entries.push_back({image.width, image.height, 0, 1, 8, imageBytes8(image)});
    return iconDirectory(kTypeIcon, entries);
}

std::vector<uint8_t> curFile8(const std::vector<CursorImage>& images) {
    std::vector<Entry> entries;
    for (const CursorImage& c : images)
        entries.push_back({c.image.width, c.image.height, 0, static_cast<uint16_t>(c.hotX),
                           static_cast<uint16_t>(c.hotY), imageBytes8(c.image)});
    return iconDirectory(kTypeCursor, entries);
}

}  // namespace artwork
