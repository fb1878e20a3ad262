// Pictures as the resource writers take them, and the file helpers they share.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace artwork {

// Straight (not premultiplied) alpha, 4 bytes a pixel in the order blue,
// green, red, alpha, rows top-down.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgra;
};

// A cairo ARGB32 surface as an Image (cairo keeps premultiplied alpha).
Image imageFromSurface(cairo_surface_t* surface);

// Little-endian integers appended to a byte buffer.
void putU16(std::vector<uint8_t>& out, uint32_t value);
void putU32(std::vector<uint8_t>& out, uint32_t value);

// Writes `bytes` to `dir`/`name`; false, with a message, when that fails.
bool writeFile(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes);

}  // namespace artwork
