// An encoder of MS Video 1 ("CRAM") frames, 16 bits per pixel: the frame is
// cut into 4 x 4 blocks, bottom row of blocks first as in a bottom-up
// bitmap, and each block is stored with one colour, two colours, or two
// colours per 2 x 2 quarter, whichever is the smallest that keeps the block
// close to the picture. Every frame stands alone (no skipped blocks), so any
// frame can be shown without the ones before it. Colours are 15-bit RGB.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace artwork {

// The frame's blocks; a width or height that is not a multiple of 4 leaves
// its last columns or top rows out, as the decoders do.
std::vector<uint8_t> encodeMsVideo1(const Image& frame);

}  // namespace artwork
