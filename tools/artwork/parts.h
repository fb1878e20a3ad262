// The pieces the control panel's pictures are made of: its colours, button
// plates in their states, pictograms, the steering wheel seen from the front,
// pedals and the link sign. Each piece is drawn into a given box, so that a
// picture shows the same piece wherever its layout puts it.
#pragma once

#include <cairo.h>

#include <cstdint>

namespace artwork {

// Grounds: the flat colour of each background bitmap, which pictures drawn
// onto it keep around them.
constexpr uint32_t kGroundConfig = 0x101840;   // button and axis pages
constexpr uint32_t kGroundPresets = 0x2C1234;  // presets page, import/export dialog
constexpr uint32_t kGroundTest = 0x181039;     // test page, calibration dialog, video
constexpr uint32_t kGaugePanel = 0x211A4E;     // the test page's pedal panel
constexpr uint32_t kSlot = 0x06081A;           // recess of the tabs and lamps

// Accents.
constexpr uint32_t kInk = 0x0A0B26;
constexpr uint32_t kCyan = 0x5FD6FF;
constexpr uint32_t kCyanPale = 0xAAF0FF;
constexpr uint32_t kWhiteHot = 0xE8FDFF;
constexpr uint32_t kViolet = 0x9C78FF;
constexpr uint32_t kLavender = 0xB4A0FF;
constexpr uint32_t kOrange = 0xFF5A1F;
constexpr uint32_t kGold = 0xF7CA57;
constexpr uint32_t kGreen = 0x59CB8A;
constexpr uint32_t kLime = 0x00FF00;
constexpr uint32_t kRed = 0xE4202C;
constexpr uint32_t kSteel = 0xA0A6BE;

enum class Look { Normal, Hovered, Pressed, Focused, Selected, Lit };

// The boxes below are whole units: each piece first fills its box's pixels
// (pixelRectangle) with its ground, so that in a scaled set the picture's
// edges are that ground, not half of its neighbour.
//
// A button plate filling the box (x, y, w, h) on `ground`: rounded, lit from
// above; pressed plates are darker and lit from below, focused ones have a
// cyan edge, hovered ones are brighter, selected ones violet and lit ones
// amber.
void drawPlate(cairo_t* cr, double x, double y, double w, double h, uint32_t ground, Look look, double radius = 4);

// The colour a pictogram takes on a plate of that look.
uint32_t glyphColour(Look look);

// Pictograms, centred on the current origin, `s` pixels across, in the
// current source colour.
enum class Glyph {
    NewPreset, Duplicate, Delete, Undo, Print, ImportExport, Folder, OpenFile, SaveFile,
    ArrowLeft, ArrowRight, Erase, Record, Reset, CurveType, Calibrate, Keyboard, Check, Cross, Target,
    Buttons, DPad, Curve, Gauge, List,
};
void drawGlyph(cairo_t* cr, Glyph glyph, double s);

// A button: plate and pictogram (moved down a pixel when pressed).
void drawButton(cairo_t* cr, double x, double y, double w, double h, uint32_t ground, Look look, Glyph glyph,
                double glyphSize);

// The steering wheel seen from the front, centred on (cx, cy), `radius` to
// the rim's outer edge, turned by `angle` radians (clockwise). Light comes
// from above whatever the turn. With `buttons`, the six buttons of the
// wheel's face (wheel buttons 3 to 8) sit where the test page lights them.
void drawFrontWheel(cairo_t* cr, double cx, double cy, double radius, double angle, bool buttons);

// A pedal in the box (x, y, w, h) on `ground`: a wide pad (the first pedal)
// or a tall one (the second), pressed pads tipped away and glowing in
// `accent`.
void drawPedal(cairo_t* cr, double x, double y, double w, double h, uint32_t ground, bool pressed, uint32_t accent);

// Two chain links, the sign of linked pedals.
void drawLinkSign(cairo_t* cr, double x, double y, double w, double h, uint32_t ground, uint32_t colour);

// A soft glow: a radial gradient of `colour` fading out at `radius`.
void drawGlow(cairo_t* cr, double cx, double cy, double radius, uint32_t colour, double alpha);

// The button page's wheel at its place in the skin picture, with the
// right-hand button pod whose pieces are the presets page's buttons: their
// action glyphs on the caps, or plain caps as the button page shows them.
void drawWheelWithPod(cairo_t* cr, bool actionGlyphs);

}  // namespace artwork
