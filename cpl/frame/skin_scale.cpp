#include "cpl/frame/skin_scale.h"

#include <algorithm>
#include <cstdlib>
#include <cstddef>
#include <cstring>

#include "cpl/frame/skin_layout.h"
#include "preset/display_scale.h"

namespace zentra {

namespace {

// Weights are in 1/256, and the sums are kept per channel byte in 16 bits:
// a byte times its weight, and so a weighed mean's sum, stays below 65536,
// which lets the compiler sum many bytes at a time.
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

// Adds `weight` times each of `count` bytes (the channels of pixels side
// by side) to `sums`.
void accumulateRow(const uint8_t* __restrict bytes, size_t count, uint32_t weight, uint16_t* __restrict sums) {
    const uint16_t w = uint16_t(weight);
    for (size_t i = 0; i < count; ++i) sums[i] = uint16_t(sums[i] + bytes[i] * w);
}

// The weighed means of `count` bytes' sums, rounded.
void writeMeans(const uint16_t* __restrict sums, size_t count, uint8_t* __restrict out) {
    for (size_t i = 0; i < count; ++i) out[i] = uint8_t((sums[i] + kWhole / 2) / kWhole);
}

// `from`'s rows from the top as 32-bit pixels: read where they lie, or
// looked up in the palette; the last two looked up are kept, as the next
// new row usually starts on the row before's last.
class RowReader {
public:
    explicit RowReader(const PictureRows& from) : from_(from) {
        if (from.palette)
            for (std::vector<uint32_t>& row : rows_) row.resize(size_t(from.width));
    }
    const uint8_t* row(int r) {
        const uint8_t* stored = from_.top + from_.stride * r;
        if (!from_.palette) return stored;
        for (int k = 0; k < 2; ++k)
            if (index_[k] == r) return reinterpret_cast<const uint8_t*>(rows_[k].data());
        next_ ^= 1;
        index_[next_] = r;
        uint32_t* row = rows_[next_].data();
        for (int x = 0; x < from_.width; ++x) row[x] = from_.palette[stored[x]];
        return reinterpret_cast<const uint8_t*>(row);
    }

private:
    const PictureRows& from_;
    std::vector<uint32_t> rows_[2];
    int index_[2] = {-1, -1};
    int next_ = 0;
};

// `from`'s rows brought to `toHeight` rows of its width, into `out`, each
// made a whole row at a time.
void resampleRows(const PictureRows& from, int toHeight, uint32_t* out) {
    const size_t bytes = static_cast<size_t>(from.width) * sizeof(uint32_t);
    const std::vector<Span> map = spans(from.height, toHeight);
    std::vector<uint16_t> sums(bytes);
    RowReader reader(from);
    for (int i = 0; i < toHeight; ++i) {
        std::fill(sums.begin(), sums.end(), 0);
        const Span& span = map[size_t(i)];
        for (size_t k = 0; k < span.weights.size(); ++k)
            accumulateRow(reader.row(span.first + int(k)), bytes, span.weights[k], sums.data());
        writeMeans(sums.data(), bytes, reinterpret_cast<uint8_t*>(out + size_t(i) * size_t(from.width)));
    }
}

// `lines` rows of `from` pixels (in `in`) brought to rows of `to` pixels,
// into `out`, a column at a time.
void resampleColumns(const uint32_t* in, int lines, int from, int to, uint32_t* out) {
    const std::vector<Span> map = spans(from, to);
    const size_t count = static_cast<size_t>(lines);
    std::vector<uint16_t> sums(count * sizeof(uint32_t));
    std::vector<uint8_t> column(sums.size());
    for (int i = 0; i < to; ++i) {
        std::fill(sums.begin(), sums.end(), 0);
        const Span& span = map[size_t(i)];
        for (size_t k = 0; k < span.weights.size(); ++k) {
            const uint32_t* pixel = &in[size_t(span.first) + k];
            for (size_t l = 0; l < count; ++l)
                std::memcpy(&column[l * sizeof(uint32_t)], &pixel[l * size_t(from)], sizeof(uint32_t));
            accumulateRow(column.data(), column.size(), span.weights[k], sums.data());
        }
        writeMeans(sums.data(), sums.size(), column.data());
        for (size_t l = 0; l < count; ++l)
            std::memcpy(&out[l * size_t(to) + size_t(i)], &column[l * sizeof(uint32_t)], sizeof(uint32_t));
    }
}

}  // namespace

void keepMaskExact(uint32_t* pixels, size_t count, int width, const SkinRect& picture, SkinPoint mask) {
    const int w = picture.right - picture.left, h = picture.bottom - picture.top;
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && size_t(y) * size_t(width) + size_t(x) < count;
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

bool resampleInto(const PictureRows& from, uint32_t* to, int toWidth, int toHeight) {
    if (from.width <= 0 || from.height <= 0 || toWidth <= 0 || toHeight <= 0 || !from.top || !to) return false;
    // Rows first, then columns; the columns' pass only where the width changes.
    if (toWidth == from.width) {
        resampleRows(from, toHeight, to);
        return true;
    }
    std::vector<uint32_t> rows(size_t(from.width) * size_t(toHeight));
    resampleRows(from, toHeight, rows.data());
    resampleColumns(rows.data(), toHeight, from.width, toWidth, to);
    return true;
}

std::vector<uint32_t> resamplePicture(const std::vector<uint32_t>& from, int width, int height, int toWidth,
                                      int toHeight) {
    if (width <= 0 || height <= 0 || toWidth <= 0 || toHeight <= 0 || from.size() < size_t(width) * size_t(height))
        return {};
    std::vector<uint32_t> out(size_t(toWidth) * size_t(toHeight));
    PictureRows rows;
    rows.top = reinterpret_cast<const uint8_t*>(from.data());
    rows.stride = ptrdiff_t(width) * ptrdiff_t(sizeof(uint32_t));
    rows.width = width;
    rows.height = height;
    resampleInto(rows, out.data(), toWidth, toHeight);
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
