#include "avi.h"

#include <algorithm>

#include "image.h"

namespace artwork {

namespace {

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAviifKeyFrame = 0x10;

// A chunk: its id, size and data, padded to an even size.
void putChunk(std::vector<uint8_t>& out, uint32_t id, const std::vector<uint8_t>& data) {
    putU32(out, id);
    putU32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
}

// A list: 'LIST' (or 'RIFF'), its size, its type and its chunks.
std::vector<uint8_t> list(uint32_t type, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out;
    putU32(out, type);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

}  // namespace

std::vector<uint8_t> aviFile(const AviVideo& video) {
    const uint32_t frames = uint32_t(video.frames.size());
    size_t largest = 0;
    for (const auto& frame : video.frames) largest = std::max(largest, frame.size());
    const uint32_t buffer = uint32_t(largest + 8 + 1) & ~1u;

    std::vector<uint8_t> avih;
    putU32(avih, uint32_t(1000000 / video.framesPerSecond));  // microseconds per frame
    putU32(avih, buffer * uint32_t(video.framesPerSecond));   // maximum bytes per second
    putU32(avih, 0);                                          // padding granularity
    putU32(avih, kAvifHasIndex);
    putU32(avih, frames);
    putU32(avih, 0);  // initial frames
    putU32(avih, 1);  // streams
    putU32(avih, buffer);
    putU32(avih, uint32_t(video.width));
    putU32(avih, uint32_t(video.height));
    for (int i = 0; i < 4; ++i) putU32(avih, 0);

    std::vector<uint8_t> strh;
    putU32(strh, fourcc("vids"));
    putU32(strh, video.handler);
    putU32(strh, 0);  // flags
    putU16(strh, 0);  // priority
    putU16(strh, 0);  // language
    putU32(strh, 0);  // initial frames
    putU32(strh, 1);  // scale
    putU32(strh, uint32_t(video.framesPerSecond));
    putU32(strh, 0);  // start
    putU32(strh, frames);
    putU32(strh, buffer);
    putU32(strh, 0xFFFFFFFF);  // default quality
    putU32(strh, 0);           // sample size: varies
    putU16(strh, 0);           // frame rectangle
    putU16(strh, 0);
    putU16(strh, uint32_t(video.width));
    putU16(strh, uint32_t(video.height));

    std::vector<uint8_t> strf;
    putU32(strf, 40);
    putU32(strf, uint32_t(video.width));
    putU32(strf, uint32_t(video.height));
    putU16(strf, 1);
    putU16(strf, video.bitCount);
    putU32(strf, video.compression);
    putU32(strf, uint32_t(video.width * video.height * ((video.bitCount + 7) / 8)));
    for (int i = 0; i < 4; ++i) putU32(strf, 0);

    std::vector<uint8_t> strl;
    putChunk(strl, fourcc("strh"), strh);
    putChunk(strl, fourcc("strf"), strf);
    std::vector<uint8_t> hdrl;
    putChunk(hdrl, fourcc("avih"), avih);
    putChunk(hdrl, fourcc("LIST"), list(fourcc("strl"), strl));

    // Frame chunks; the index counts offsets from the movi list's type.
    std::vector<uint8_t> movi;
    std::vector<uint8_t> idx1;
    for (const auto& frame : video.frames) {
        putU32(idx1, video.frameChunk);
        putU32(idx1, kAviifKeyFrame);
        putU32(idx1, uint32_t(movi.size() + 4));
        putU32(idx1, uint32_t(frame.size()));
        putChunk(movi, video.frameChunk, frame);
    }

    std::vector<uint8_t> riff;
    putChunk(riff, fourcc("LIST"), list(fourcc("hdrl"), hdrl));
    putChunk(riff, fourcc("LIST"), list(fourcc("movi"), movi));
    putChunk(riff, fourcc("idx1"), idx1);
    std::vector<uint8_t> out;
    putChunk(out, fourcc("RIFF"), list(fourcc("AVI "), riff));
    return out;
}

}  // namespace artwork
