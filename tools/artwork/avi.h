// AVI files of one video stream: RIFF 'AVI ' with the header list
// (avih, strl with strh and strf), the movi list of frame chunks and the
// idx1 index, every frame a key frame.
#pragma once

#include <cstdint>
#include <vector>

namespace artwork {

constexpr uint32_t fourcc(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 | uint32_t(uint8_t(code[2])) << 16 |
           uint32_t(uint8_t(code[3])) << 24;
}

struct AviVideo {
    int width = 0;
    int height = 0;
    int framesPerSecond = 15;
    uint32_t handler = 0;      // strh's codec (fccHandler)
    uint32_t compression = 0;  // strf's biCompression
    uint16_t bitCount = 0;
    uint32_t frameChunk = fourcc("00dc");  // '00dc' compressed, '00db' plain
    std::vector<std::vector<uint8_t>> frames;
};

std::vector<uint8_t> aviFile(const AviVideo& video);

}  // namespace artwork
