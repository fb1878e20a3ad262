#include "cpl/frame/skin_scale.h"

#include <algorithm>
#include <cstdlib>
#include <cstddef>

#include "cpl/frame/skin_layout.h"
#include "preset/display_scale.h"

namespace zentra {

namespace {

// Weights are in 1/256: a channel times its weight keeps to 16 bits, so red
// and blue are summed side by side in one 32-bit number.
constexpr uint32_t kWhole = 256;

// One output pixel of a line: the input pixels it covers and their weights
// (summing to kWhole).
struct Span {
    int first;
    std::vector<uint32_t> weights;
};

// The spans of a line of `from` pixels brought to `to` pixels: output pixel
// i covers input [i * from / to, (i + 1) * from / to).
std::vector<Span> spans(int from, int to) {
    std::vector<Span> out(static_cast<size_t>(to));
    for (int i = 0; i < to; ++i) {
        // Edges in units of 1 / to of an input pixel.
        const long long begin = static_cast<long long>(i) * from, end = static_cast<long long>(i + 1) * from;
        Span& span = out[size_t(i)];
        span.first = int(begin / to);
        uint32_t given = 0;
        for (long long p = span.first; p * to < end; ++p) {
            const long long covered = std::min(end, (p + 1) * to) - std::max(begin, p * to);
            const uint32_t weight = uint32_t(covered * kWhole / from);
            span.weights.push_back(weight);
            given += weight;
        }
        span.weights.back() += kWhole - given;  // rounding: the last covered pixel takes the rest
    }
    return out;
}

// Adds `weight` times each channel of `count` pixels, `stride` apart, to
// the sums: red and blue in `rb`, green in `g`, each in its own place.
void accumulate(const uint32_t* pixels, size_t stride, size_t count, uint32_t weight, uint32_t* rb, uint32_t* g) {
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = pixels[i * stride];
        rb[i] += (p & 0x00FF00FF) * weight;
        g[i] += (p & 0x0000FF00) * weight;
    }
}

// The same for a whole row (pixels side by side), in a loop the compiler
// can run several pixels at a time.
void accumulateRow(const uint32_t* __restrict pixels, size_t count, uint32_t weight, uint32_t* __restrict rb,
                   uint32_t* __restrict g) {
    for (size_t i = 0; i < count; ++i) {
        rb[i] += (pixels[i] & 0x00FF00FF) * weight;
        g[i] += (pixels[i] & 0x0000FF00) * weight;
    }
}

uint32_t pack(uint32_t rb, uint32_t g) {
    return (((rb + 0x00800080) >> 8) & 0x00FF00FF) | (((g + 0x00008000) >> 8) & 0x0000FF00);
}

// One pass along one axis. With `rows`, `in` holds `from` rows of `lines`
// pixels and becomes `to` rows, each made a whole row at a time; otherwise
// it holds `lines` rows of `from` pixels, which become rows of `to`.
std::vector<uint32_t> resampleLines(const std::vector<uint32_t>& in, int lines, int from, int to, bool rows) {
    std::vector<uint32_t> out(static_cast<size_t>(lines) * static_cast<size_t>(to));
    const std::vector<Span> map = spans(from, to);
    const size_t count = static_cast<size_t>(lines);
    std::vector<uint32_t> rb(count), g(count);
    for (int i = 0; i < to; ++i) {
        std::fill(rb.begin(), rb.end(), 0);
        std::fill(g.begin(), g.end(), 0);
        const Span& span = map[size_t(i)];
        for (size_t k = 0; k < span.weights.size(); ++k) {
            const size_t at = size_t(span.first) + k;
            if (rows)
                accumulateRow(&in[at * size_t(lines)], size_t(lines), span.weights[k], rb.data(), g.data());
            else
                accumulate(&in[at], size_t(from), size_t(lines), span.weights[k], rb.data(), g.data());
        }
        for (int l = 0; l < lines; ++l) {
            const uint32_t p = pack(rb[size_t(l)], g[size_t(l)]);
            if (rows)
                out[size_t(i) * size_t(lines) + size_t(l)] = p;
            else
                out[size_t(l) * size_t(to) + size_t(i)] = p;
        }
    }
    return out;
}

}  // namespace

void keepMaskExact(std::vector<uint32_t>& pixels, int width, const SkinRect& picture, SkinPoint mask) {
    const int w = picture.right - picture.left, h = picture.bottom - picture.top;
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && size_t(y) * size_t(width) + size_t(x) < pixels.size();
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inside(mask.x + x, mask.y + y) || !inside(picture.left + x, picture.top + y)) continue;
            uint32_t& m = pixels[size_t(mask.y + y) * size_t(width) + size_t(mask.x + x)];
            const uint32_t bright = ((m >> 16) & 0xFF) + ((m >> 8) & 0xFF) + (m & 0xFF);
            m = bright >= 3 * 128 ? 0xFFFFFF : 0x000000;
            if (m) pixels[size_t(picture.top + y) * size_t(width) + size_t(picture.left + x)] = 0x000000;
        }
    }
}

std::vector<uint32_t> resamplePicture(const std::vector<uint32_t>& from, int width, int height, int toWidth,
                                      int toHeight) {
    if (width <= 0 || height <= 0 || toWidth <= 0 || toHeight <= 0 || from.size() < size_t(width) * size_t(height))
        return {};
    std::vector<uint32_t> out(from.begin(), from.begin() + ptrdiff_t(width) * height);
    // Rows first, then columns; a pass whose size does not change is skipped.
    if (height != toHeight) out = resampleLines(out, width, height, toHeight, true);
    if (width != toWidth) out = resampleLines(out, toHeight, width, toWidth, false);
    return out;
}

SkinScale skinScaleFor(int dpi, int areaWidth, int areaHeight) {
    SkinScale scale;
    if (dpi <= kBaseDpi) return scale;
    scale.width = areaWidth > 0 ? areaWidth : mulDivRound(kPageArea.right, dpi, kBaseDpi);
    scale.height = areaHeight > 0 ? areaHeight : mulDivRound(kPageArea.bottom, dpi, kBaseDpi);
    const int wanted = std::max(mulDivRound(100, scale.width, kPageArea.right),
                                mulDivRound(100, scale.height, kPageArea.bottom));
    scale.percent = skin::kPictureSets[0].percent;
    for (const skin::PictureSet& set : skin::kPictureSets)
        if (std::abs(set.percent - wanted) <= std::abs(scale.percent - wanted)) scale.percent = set.percent;
    return scale;
}

int scaleX(const SkinScale& scale, int x) { return mulDivRound(x, scale.width, kPageArea.right); }
int scaleY(const SkinScale& scale, int y) { return mulDivRound(y, scale.height, kPageArea.bottom); }

SkinRect scaleRect(const SkinScale& scale, const SkinRect& rect) {
    return SkinRect{scaleX(scale, rect.left), scaleY(scale, rect.top), scaleX(scale, rect.right),
                    scaleY(scale, rect.bottom)};
}

SkinPoint unscalePoint(const SkinScale& scale, SkinPoint point) {
    return SkinPoint{mulDivRound(point.x, kPageArea.right, scale.width),
                     mulDivRound(point.y, kPageArea.bottom, scale.height)};
}

bool isIdentity(const SkinScale& scale) {
    return scale.width == kPageArea.right && scale.height == kPageArea.bottom;
}

}  // namespace zentra
