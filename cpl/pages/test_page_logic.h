// The test page's arithmetic, without a window: the video frame for the
// steering position, the steering marker on its arc, the button dots that
// turn with the wheel, the pedal gauges in both pedal modes and the pedal
// pictures. The Win32 page (test_page.cpp) draws what these give.
#pragma once

#include <cstdint>

namespace zentra {

struct PagePoint {
    int x, y;
};
inline bool operator==(PagePoint a, PagePoint b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(PagePoint a, PagePoint b) { return !(a == b); }

// The clip's frame for the wheel's X: 0 at full left, 22 in the centre, 45
// at full right.
int videoFrame(int32_t x);
constexpr int kFirstVideoFrame = 19;  // the frame the page starts from

// Buttons 2 to 7 are dots on the wheel's rim, turning 5 degrees a frame:
// the top-left corner of button `button`'s dot at frame `frame`.
PagePoint buttonDot(int button, int frame);

// The wheel's X as the pages take it: the band around the centre (30768 to
// 34766) counts as the centre, 32767.
constexpr int32_t kSteeringCentre = 32767;
int32_t steeringPosition(int32_t x);

// The steering marker's top-left corner: on an arc of about 105 degrees
// each way, straight up in the dead band around the centre.
PagePoint steeringMarker(int32_t x);

// What the two pedal gauges show: separate pedals show Y and the greater of
// Rz and Z; linked pedals share Y, the first pedal below the centre, the
// second above it.
struct PedalGauges {
    uint32_t first, second;
};
PedalGauges pedalGauges(int32_t y, int32_t z, int32_t rz, bool linked);

// The bar of a gauge showing `value`: 0 (released) to 93 pixels; a bar
// shorter than kShortestBar is not drawn.
int gaugeLength(uint32_t value);
constexpr int kShortestBar = 10;

// Whether the pedal pictures show the pedal pressed.
bool firstPedalPressed(int32_t y, bool linked);
bool secondPedalPressed(uint32_t secondGauge, int32_t y, bool linked);

// A button of the joystick state is pressed when bit 7 of its byte is set.
inline bool buttonDown(uint8_t state) { return (state & 0x80) != 0; }

}  // namespace zentra
