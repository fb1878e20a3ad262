#include "tools/zntpreset/codepage.h"

#include <cstdint>
#include <cstdio>

namespace zentra {

namespace {

// Characters of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
const uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

int byteFor(uint32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return int(c);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == c) return 0x80 + i;
    return -1;
}

uint32_t characterOf(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : b; }

}  // namespace

std::string cp1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) appendUtf8(out, characterOf(b));
    return out;
}

std::string cp1252ToPrintableUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        const uint32_t c = characterOf(b);
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

bool utf8ToCp1252(const std::string& utf8, std::string& bytes, std::string& bad) {
    bytes.clear();
    size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = utf8[i];
        uint32_t c = 0;
        size_t extra = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            c = lead & 0x1F;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            c = lead & 0x0F;
            extra = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            c = lead & 0x07;
            extra = 3;
        } else {
            bad = "an invalid UTF-8 byte";
            return false;
        }
        if (extra && i + extra >= utf8.size()) {
            bad = "a cut UTF-8 sequence";
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char next = utf8[i + k];
            if ((next & 0xC0) != 0x80) {
                bad = "an invalid UTF-8 byte";
                return false;
            }
            c = (c << 6) | (next & 0x3F);
        }
        i += extra + 1;
        const int b = byteFor(c);
        if (b < 0) {
            char name[32];
            std::snprintf(name, sizeof name, "U+%04X", unsigned(c));
            bad = std::string("the character ") + name;
            return false;
        }
        bytes += char(b);
    }
    return true;
}

}  // namespace zentra
