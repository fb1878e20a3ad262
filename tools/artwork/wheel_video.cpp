// The test page's video clip: the wheel seen from the front, turning from
// full left to full right. Frame f shows the wheel turned by (5 f - 110)
// degrees, so that the test page's button dots, which it turns by the same
// angle, stay on the wheel's buttons; frame 22 is straight ahead.
#include <cairo.h>

#include <cstdint>

#include "artwork.h"
#include "avi.h"
#include "cpl/frame/skin_layout.h"
#include "msvideo1.h"
#include "paint.h"
#include "parts.h"

namespace artwork {

namespace {

using zentra::skin::PictureSet;
using zentra::skin::pictureInSet;

// At 100 % the window is 197 pixels square, the clip 196: MS Video 1 codes
// whole 4 x 4 blocks, and Wine's decoder garbles a frame whose size is odd.
// Each set's clip is its window's size (pictureInSet of 197: 296 at 150 %,
// 394 at 200 %) down to a multiple of 4 (196, 296, 392); the window
// stretches it by what is left. It is drawn in 100 % window units.
constexpr int kWindow = zentra::skin::kWheelVideoSize;
constexpr int kFrames = zentra::skin::kWheelVideoFrames;
constexpr int kFramesPerSecond = 15;
// The page turns the dots about (234.5, 192.5), which is this point of the
// video window at (136, 97).
constexpr double kTurnX = 98.5, kTurnY = 95.5;
constexpr double kRim = 92;

int clipSize(int percent) { return pictureInSet(kWindow, percent) / 4 * 4; }

Image drawFrame(int frame, int size) {
    Canvas canvas(size, size);
    cairo_t* cr = canvas.cr();
    cairo_scale(cr, double(size) / kWindow, double(size) / kWindow);
    // The page's ground shows around the dial, so the window's ellipse
    // has no visible edge.
    setColour(cr, kGroundTest);
    cairo_paint(cr);
    const double c = kWindow / 2.0;
    cairo_arc(cr, c, c, c - 1.5, 0, 2 * kPi);
    cairo_pattern_t* dial = cairo_pattern_create_radial(c, c - 10, 10, c, c, c);
    addStop(dial, 0, 0x221C5A);
    addStop(dial, 1, 0x0C0A22);
    cairo_set_source(cr, dial);
    cairo_fill(cr);
    cairo_pattern_destroy(dial);
    cairo_arc(cr, c, c, c - 2.5, 0, 2 * kPi);
    setColour(cr, kLavender, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    drawFrontWheel(cr, kTurnX, kTurnY, kRim, (5.0 * frame - 110) * kPi / 180, true);
    return canvas.image();
}

}  // namespace

bool writeWheelVideo(const std::string& dir) {
    for (const PictureSet& set : zentra::skin::kPictureSets) {
        AviVideo video;
        video.width = video.height = clipSize(set.percent);
        video.framesPerSecond = kFramesPerSecond;
        video.handler = fourcc("MSVC");
        video.compression = fourcc("CRAM");
        video.bitCount = 16;
        for (int f = 0; f < kFrames; ++f) video.frames.push_back(encodeMsVideo1(drawFrame(f, video.width)));
        const std::string name =
            set.percent == 100 ? std::string("wheel.avi") : "wheel_" + std::to_string(set.percent) + ".avi";
        if (!writeFile(dir, name, aviFile(video))) return false;
    }
    return true;
}

}  // namespace artwork
