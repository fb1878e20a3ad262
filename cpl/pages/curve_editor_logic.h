// The curve boxes' geometry, without a window: where an anchor's window goes
// for a stored anchor, what a drag to a point of the box stores (clamped,
// mirrored in box 0, held apart in linear mode, carried over between the two
// halves of the steering axis), reset and the curve-type switch, and the
// points the box draws. The Win32 boxes (curve_box.cpp) carry them out.
#pragma once

#include <cstdint>

#include "preset/preset.h"

namespace zentra {

// A point of a box's drawing area, in pixels: 0..85 from the top left.
struct BoxPoint {
    int x, y;
};
inline bool operator==(BoxPoint a, BoxPoint b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(BoxPoint a, BoxPoint b) { return !(a == b); }

constexpr int kFirstAnchor = 0;
constexpr int kSecondAnchor = 1;
constexpr int kAnchorSize = 8;

// Control ids of the anchor windows: 105-108 for the first anchors of slots
// 0-3, 139-142 for the second.
constexpr int anchorControlId(int slot, int anchor) { return (anchor == kFirstAnchor ? 105 : 139) + slot; }
// The slot and anchor of an anchor's control id; false for any other id.
bool anchorOfControl(int id, int& slot, int& anchor);

// The stored value of an anchor, in box units (slot 0's x measured from the
// right edge).
BoxPoint storedAnchor(const Preset& preset, int slot, int anchor);

// Where the box shows a stored anchor: each coordinate clamped to 0..85, as
// the table sent to the wheel takes it. A file may hold any 16-bit value;
// it is kept as it is until the user drags an anchor of that curve.
BoxPoint shownAnchor(BoxPoint stored);

// Top-left corner of an anchor's window for its stored value: centred on
// the shown anchor, mirrored left to right in slot 0's box.
BoxPoint anchorWindowCorner(int slot, BoxPoint stored);

// The editor's curve types: 1 is curvilinear, every other value linear, as
// the drawing and the table take them.
inline bool isLinearCurve(uint32_t type) { return type != 1; }

// Before the anchors are placed: in linear mode a first anchor right of the
// second is pulled back to the second's x.
void pullFirstAnchor(Preset& preset, int slot);

// The anchor `anchor` of `slot` dragged to the client point (x, y) of its
// box: the curve's anchors first become what the box shows, then the point
// is clamped into the box and stored, held apart from the other anchor in
// linear mode, and the four anchor values are carried over to the other
// half of the steering axis. Returns the slot that was carried over to (1
// for slot 0, 0 for slot 1), or -1.
int dragAnchorTo(Preset& preset, int slot, int anchor, int x, int y);

// The other half of the steering axis of slot 0 or 1, or -1.
int linkedSlot(int slot);

// The default curve's anchors, (25, 60) and (55, 30); the type is kept.
void resetCurveAnchors(Preset& preset, int slot);

// Curvilinear becomes linear, anything else curvilinear; returns the new type.
uint32_t flipCurveType(Preset& preset, int slot);

// The curve-type button's text for a slot of type `type`: it names the type
// a click switches to, string 15 "Lineaire" or 14 "Curviligne".
int curveTypeButtonText(uint32_t type);

// The wheel's axes as its joystick state gives them: 0..65535, the steering
// centred at 32767, a pedal at 65535 while released.
struct WheelAxes {
    int32_t x, y, z, rz;
};

// The live marker of a box, where its axis stands now. The input (0..127)
// is the steering's turn to the half's own side (none within the band
// around the centre), or the travel of a pedal as the test page's gauge
// shows it, separate or linked.
int markerInput(int slot, const WheelAxes& axes, bool pedalsLinked);
// The marker's point in the box for an input and the output (0..127) that
// the wheel's table gives it, mirrored in box 0.
BoxPoint markerPoint(int slot, int input, int output);
// The slot whose curve the wheel is sent for a box's axis: the X table is
// made from slot 0, for both steering halves.
inline int sentSlotOf(int slot) { return slot == 1 ? 0 : slot; }

// What a box draws: the dotted reference diagonal and the curve through four
// points, a polyline in linear mode, one cubic Bezier otherwise.
struct CurveDrawing {
    BoxPoint diagonal[2];
    BoxPoint points[4];
    bool bezier;
};
CurveDrawing curveDrawing(const Preset& preset, int slot);

}  // namespace zentra
