#include "palette.h"

#include <initializer_list>
#include <unordered_map>

namespace artwork {

namespace {

int red(Rgb c) { return int(c >> 16) & 0xFF; }
int green(Rgb c) { return int(c >> 8) & 0xFF; }
int blue(Rgb c) { return int(c) & 0xFF; }
Rgb rgb(int r, int g, int b) { return Rgb(r) << 16 | Rgb(g) << 8 | Rgb(b); }

// Colours of their own: what the code draws with, and the fixed colours of
// the pictures (page grounds, the loader icon's wheel).
constexpr Rgb kExact[] = {
    0x000000, 0xFFFFFF,
    0x10042D,  // curve-box fill and gauge wells
    0x00FF00,  // curves
    0x59CB8A,  // frames and connectors of the button and axis pages
    0xFFFF00,  // highlighted connector
    0xF7CA57,  // list text
    0x83480F,  // list background
    0x3B1837,  // edit brush of the presets page
    0x7B7190,  // edit frames
    0xD3CBBA,  // edit text
    0xC391F9,  // calibration pen
    0x101840,  // ground of the button and axis pages
    0x2C1234,  // ground of the presets page
    0x181039,  // ground of the test page and the video
    0x0A0B26, 0xE8FDFF, 0x5FD6FF, 0x9C78FF, 0x2E3AA6, 0x2C1570, 0xFF5A1F, 0x7FE8FF, 0xE4202C,
};

// Ramps through a few colours, dark to light, for shading.
struct Ramp {
    int steps;
    std::initializer_list<Rgb> through;
};

const Ramp kRamps[] = {
    {16, {0x000000, 0xFFFFFF}},
    {22, {0x06081A, 0x0C1030, 0x161E5A, 0x283896, 0x506ED2, 0x96B4F5, 0xD7E6FF}},
    {22, {0x0A061A, 0x1A0E3C, 0x321C6E, 0x5636AA, 0x8264E6, 0xB4A0FF, 0xE6DCFF}},
    {16, {0x12080F, 0x28102C, 0x461E4C, 0x6E3278, 0xAA5AB4, 0xE1AAE6}},
    {20, {0x00101C, 0x003250, 0x0A6496, 0x28AAE6, 0x5FD6FF, 0xAAF0FF, 0xE8FDFF}},
    {14, {0x001808, 0x00461E, 0x008232, 0x00C846, 0x00FF00, 0x78FF8C, 0xD2FFD7}},
    {22, {0x1E0E00, 0x462406, 0x83480F, 0xBE781E, 0xF7CA57, 0xFFE696, 0xFFF8DC}},
    {18, {0x240406, 0x640A10, 0xB4141E, 0xE4202C, 0xFF5A1F, 0xFF9650, 0xFFD2AA}},
    {14, {0x12141C, 0x282C3C, 0x464C64, 0x6E7691, 0xA0A6BE, 0xD2D6E4}},
    {16, {0x04040C, 0x0C0A22, 0x16123C, 0x221C5A, 0x342C80, 0x4C44A8}},
    // The plates of buttons and tabs, normal, hovered, selected, pressed and
    // lit, and the wheels' body and rim.
    {10, {0x171248, 0x2A3486}},
    {10, {0x22196A, 0x3A4CB4}},
    {10, {0x2C1570, 0x6A48D0}},
    {8, {0x0E0C2E, 0x242E74}},
    {8, {0x4A1C06, 0x9A4E12}},
    {8, {0x4FB8F0, 0x6A4CD8}},
};

std::array<Rgb, 256> buildPalette() {
    std::array<Rgb, 256> palette{};
    size_t n = 0;
    auto add = [&](Rgb c) {
        for (size_t i = 0; i < n; ++i)
            if (palette[i] == c) return;
        if (n < palette.size()) palette[n++] = c;
    };
    for (Rgb c : kExact) add(c);
    for (const Ramp& ramp : kRamps) {
        const std::vector<Rgb> through(ramp.through);
        const int segments = int(through.size()) - 1;
        for (int s = 0; s < ramp.steps; ++s) {
            // Position along the ramp in 1/1000ths of a segment, integers only.
            const int pos = s * segments * 1000 / (ramp.steps - 1);
            const int seg = pos / 1000 < segments ? pos / 1000 : segments - 1;
            const int f = pos - seg * 1000;
            const Rgb a = through[seg], b = through[seg + 1];
            add(rgb((red(a) * (1000 - f) + red(b) * f + 500) / 1000, (green(a) * (1000 - f) + green(b) * f + 500) / 1000,
                    (blue(a) * (1000 - f) + blue(b) * f + 500) / 1000));
        }
    }
    // Whatever is left: mid-dark blue-greys, the commonest shades of the art.
    for (int i = 0; n < palette.size(); ++i) add(rgb(20 + (i * 7) % 90, 18 + (i * 5) % 70, 50 + (i * 11) % 150));
    return palette;
}

// Weighted squared distance: the eye tells green apart best, blue least.
int distance(Rgb a, Rgb b) {
    const int dr = red(a) - red(b), dg = green(a) - green(b), db = blue(a) - blue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

const std::array<Rgb, 256>& skinPalette() {
    static const std::array<Rgb, 256> palette = buildPalette();
    return palette;
}

uint8_t nearestIndex(Rgb colour) {
    static std::unordered_map<Rgb, uint8_t> cache;
    const auto found = cache.find(colour);
    if (found != cache.end()) return found->second;
    const auto& palette = skinPalette();
    int best = 0;
    for (int i = 1; i < 256; ++i)
        if (distance(colour, palette[i]) < distance(colour, palette[best])) best = i;
    cache.emplace(colour, uint8_t(best));
    return uint8_t(best);
}

IndexedImage quantize(const Image& image) {
    IndexedImage out;
    out.width = image.width;
    out.height = image.height;
    out.index.resize(size_t(image.width) * image.height);
    for (size_t i = 0; i < out.index.size(); ++i) {
        const uint8_t* px = &image.bgra[i * 4];
        out.index[i] = nearestIndex(rgb(px[2], px[1], px[0]));
    }
    return out;
}

IndexedImage quantize(cairo_surface_t* surface) { return quantize(imageFromSurface(surface)); }

IndexedImage quantizeIcon(const Image& image, Rgb matte) {
    IndexedImage out = quantize(image);
    out.transparent.resize(out.index.size());
    for (size_t i = 0; i < out.index.size(); ++i) {
        const uint8_t* px = &image.bgra[i * 4];
        const int a = px[3];
        if (a < 128) {
            out.transparent[i] = 1;
            out.index[i] = 0;
            continue;
        }
        auto mix = [&](int c, int m) { return (c * a + m * (255 - a) + 127) / 255; };
        out.index[i] = nearestIndex(rgb(mix(px[2], red(matte)), mix(px[1], green(matte)), mix(px[0], blue(matte))));
    }
    return out;
}

}  // namespace artwork
