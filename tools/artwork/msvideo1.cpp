#include "msvideo1.h"

#include <array>

namespace artwork {

namespace {

struct Colour {
    int r, g, b;  // 8 bits each
};

// Largest summed error of a block (weighted squares, 8-bit units) that one
// or two colours may leave.
constexpr int kOneColourError = 16 * 100;
constexpr int kTwoColourError = 16 * 250;

int distance(const Colour& a, const Colour& b) {
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int to5(int v) { return (v * 31 + 127) / 255; }
int from5(int v) { return v << 3 | v >> 2; }

uint16_t pack(const Colour& c) { return uint16_t(to5(c.r) << 10 | to5(c.g) << 5 | to5(c.b)); }
Colour unpack(uint16_t v) { return {from5(v >> 10 & 31), from5(v >> 5 & 31), from5(v & 31)}; }

// Two colours for some of a block's pixels (those whose bit is in `members`):
// a few rounds of two-means from the lightest and the darkest pixel. Sets the
// bit of each member in `first` that takes the first colour.
struct Pair {
    uint16_t first, second;
    uint16_t firstMembers;
    int error;
};

Pair splitInTwo(const std::array<Colour, 16>& px, uint16_t members) {
    auto luma = [](const Colour& c) { return 2 * c.r + 5 * c.g + c.b; };
    int light = -1, dark = -1;
    for (int i = 0; i < 16; ++i) {
        if (!(members >> i & 1)) continue;
        if (light < 0 || luma(px[i]) > luma(px[light])) light = i;
        if (dark < 0 || luma(px[i]) < luma(px[dark])) dark = i;
    }
    Colour a = px[light], b = px[dark];
    uint16_t inA = 0;
    for (int round = 0; round < 4; ++round) {
        inA = 0;
        int sa[3] = {0, 0, 0}, sb[3] = {0, 0, 0}, na = 0, nb = 0;
        for (int i = 0; i < 16; ++i) {
            if (!(members >> i & 1)) continue;
            const bool first = distance(px[i], a) <= distance(px[i], b);
            int* s = first ? sa : sb;
            s[0] += px[i].r;
            s[1] += px[i].g;
            s[2] += px[i].b;
            if (first) {
                inA |= uint16_t(1u << i);
                ++na;
            } else {
                ++nb;
            }
        }
        if (na) a = {(sa[0] + na / 2) / na, (sa[1] + na / 2) / na, (sa[2] + na / 2) / na};
        if (nb) b = {(sb[0] + nb / 2) / nb, (sb[1] + nb / 2) / nb, (sb[2] + nb / 2) / nb};
    }
    Pair pair{pack(a), pack(b), 0, 0};
    const Colour qa = unpack(pair.first), qb = unpack(pair.second);
    for (int i = 0; i < 16; ++i) {
        if (!(members >> i & 1)) continue;
        const int da = distance(px[i], qa), db = distance(px[i], qb);
        if (da <= db) pair.firstMembers |= uint16_t(1u << i);
        pair.error += da <= db ? da : db;
    }
    return pair;
}

// The pixels of quarter q (0 bottom left, 1 bottom right, 2 top left, 3 top
// right) as bits of the block's 16 (row by row from the bottom, left to
// right).
uint16_t quarter(int q) {
    const int x0 = (q & 1) * 2, y0 = (q >> 1) * 2;
    uint16_t bits = 0;
    for (int y = y0; y < y0 + 2; ++y)
        for (int x = x0; x < x0 + 2; ++x) bits |= uint16_t(1u << (y * 4 + x));
    return bits;
}

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void encodeBlock(std::vector<uint8_t>& out, const std::array<Colour, 16>& px) {
    int sum[3] = {0, 0, 0};
    for (const Colour& c : px) {
        sum[0] += c.r;
        sum[1] += c.g;
        sum[2] += c.b;
    }
    const uint16_t mean = pack({(sum[0] + 8) / 16, (sum[1] + 8) / 16, (sum[2] + 8) / 16});
    int oneError = 0;
    for (const Colour& c : px) oneError += distance(c, unpack(mean));

    // One colour: the colour itself with the top bit set. A top byte of
    // 0x84-0x87 would read as a skip code; such a colour goes as two.
    const uint16_t one = uint16_t(mean | 0x8000);
    if (oneError <= kOneColourError && (one >> 8 & 0xFC) != 0x84) {
        put16(out, one);
        return;
    }
    // Two colours: flag bit 1 selects the first. The last pixel's flag must
    // be 0 (the flags' top byte stays below 0x80), so the pair may swap.
    Pair pair = splitInTwo(px, 0xFFFF);
    if (oneError <= kOneColourError) pair = {mean, mean, 0xFFFF, 0};
    if (pair.error <= kTwoColourError) {
        uint16_t flags = pair.firstMembers, first = pair.first, second = pair.second;
        if (flags & 0x8000) {
            flags = uint16_t(~flags);
            first = pair.second;
            second = pair.first;
        }
        put16(out, flags);
        put16(out, first);
        put16(out, second);
        return;
    }
    // Two colours per quarter; the first colour's top bit marks this form.
    uint16_t flags = 0;
    uint16_t colours[8];
    for (int q = 0; q < 4; ++q) {
        const uint16_t members = quarter(q);
        Pair p = splitInTwo(px, members);
        uint16_t inFirst = p.firstMembers;
        if (q == 3 && (inFirst & 0x8000)) {
            inFirst = uint16_t(members & ~inFirst);
            std::swap(p.first, p.second);
        }
        flags |= inFirst;
        colours[2 * q] = p.first;
        colours[2 * q + 1] = p.second;
    }
    colours[0] |= 0x8000;
    put16(out, flags);
    for (uint16_t c : colours) put16(out, c);
}

}  // namespace

std::vector<uint8_t> encodeMsVideo1(const Image& frame) {
    std::vector<uint8_t> out;
    const int blocksWide = frame.width / 4, blocksHigh = frame.height / 4;
    for (int by = 0; by < blocksHigh; ++by) {
        for (int bx = 0; bx < blocksWide; ++bx) {
            std::array<Colour, 16> px;
            for (int y = 0; y < 4; ++y) {
                // Bitmap row by * 4 + y counts from the bottom.
                const int row = frame.height - 1 - (by * 4 + y);
                for (int x = 0; x < 4; ++x) {
                    const uint8_t* p = &frame.bgra[(size_t(row) * frame.width + bx * 4 + x) * 4];
                    px[y * 4 + x] = {p[2], p[1], p[0]};
                }
            }
            encodeBlock(out, px);
        }
    }
    return out;
}

}  // namespace artwork
