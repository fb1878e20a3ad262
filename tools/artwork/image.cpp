#include "image.h"

#include <cstdio>
#include <fstream>

namespace artwork {

Image imageFromSurface(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    Image image;
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    image.bgra.resize(static_cast<size_t>(image.width) * image.height * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint32_t argb = row[x];
            const uint32_t a = argb >> 24;
            uint8_t* px = &image.bgra[(static_cast<size_t>(y) * image.width + x) * 4];
            for (int c = 0; c < 3; ++c) {
                const uint32_t premultiplied = (argb >> (8 * c)) & 0xFF;
                px[c] = a == 0 ? 0 : static_cast<uint8_t>((premultiplied * 255 + a / 2) / a);
            }
            px[3] = static_cast<uint8_t>(a);
        }
    }
    return image;
}

void putU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

bool writeFile(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = dir + "/" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "artwork: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace artwork
