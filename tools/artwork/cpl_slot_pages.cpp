// The pictures of the button and D-pad pages that the skin has no room for
// (bitmap 191): the D-pad page's pad, the two mouse-button commands, each on
// the button page's ground, and the right end of the button page's wheel.
#include <cairo.h>

#include <cmath>

#include "artwork.h"
#include "bmp.h"
#include "cpl/frame/skin_layout.h"
#include "paint.h"
#include "palette.h"
#include "parts.h"

namespace artwork {

namespace {

using namespace zentra::skin;

// The pad seen from above: a raised cross with an arrow at the end of each
// arm and a small mark between the arms for the four diagonals, all on a
// round bezel. The page's connectors end 55 pixels from the centre.
void drawPad(cairo_t* cr) {
    const double cx = kPovPad.x + kPovPad.width / 2.0, cy = kPovPad.y + kPovPad.height / 2.0;
    cairo_arc(cr, cx, cy + 2, 74, 0, 2 * kPi);
    setColour(cr, kInk);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, 72, 0, 2 * kPi);
    setVerticalGradient(cr, cy - 72, cy + 72, {0x3A48B2, 0x1E1650, 0x0C0A22});
    cairo_fill_preserve(cr);
    setColour(cr, kCyan, 0.5);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // The cross.
    const double arm = 62, half = 19;
    cairo_new_path(cr);
    cairo_move_to(cr, cx - half, cy - arm);
    cairo_line_to(cr, cx + half, cy - arm);
    cairo_line_to(cr, cx + half, cy - half);
    cairo_line_to(cr, cx + arm, cy - half);
    cairo_line_to(cr, cx + arm, cy + half);
    cairo_line_to(cr, cx + half, cy + half);
    cairo_line_to(cr, cx + half, cy + arm);
    cairo_line_to(cr, cx - half, cy + arm);
    cairo_line_to(cr, cx - half, cy + half);
    cairo_line_to(cr, cx - arm, cy + half);
    cairo_line_to(cr, cx - arm, cy - half);
    cairo_line_to(cr, cx - half, cy - half);
    cairo_close_path(cr);
    setVerticalGradient(cr, cy - arm, cy + arm, {0xD2D6E4, 0x8088A8, 0x4A5070});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, 9, 0, 2 * kPi);
    setColour(cr, 0x5A6080);
    cairo_fill(cr);
    // An arrow on each arm, pointing out, its tip 55 pixels from the centre;
    // a dot for each diagonal at the same distance.
    for (int d = 0; d < 8; ++d) {
        const double a = -kPi / 2 + d * kPi / 4, ca = std::cos(a), sa = std::sin(a);
        if (d % 2 == 0) {
            const double tip = 55, base = 40, w = 9;
            cairo_move_to(cr, cx + tip * ca, cy + tip * sa);
            cairo_line_to(cr, cx + base * ca - w * sa, cy + base * sa + w * ca);
            cairo_line_to(cr, cx + base * ca + w * sa, cy + base * sa - w * ca);
            cairo_close_path(cr);
            setColour(cr, 0x2C1570);
            cairo_fill(cr);
        } else {
            cairo_arc(cr, cx + 55 * ca, cy + 55 * sa, 5, 0, 2 * kPi);
            setColour(cr, kInk);
            cairo_fill(cr);
            cairo_arc(cr, cx + 55 * ca, cy + 55 * sa, 3.5, 0, 2 * kPi);
            setColour(cr, kCyan);
            cairo_fill(cr);
        }
    }
}

enum class MouseLook { Normal, Pressed, Disabled };
constexpr uint32_t kDimLine = 0x3C4678;  // a disabled command's outline, just off the ground

// A mouse, its left or right button lit; a disabled one is only a dim
// outline on a flat plate.
void drawMouseButton(cairo_t* cr, const Sprite& s, bool left, MouseLook look) {
    const bool pressed = look == MouseLook::Pressed, disabled = look == MouseLook::Disabled;
    if (disabled) {
        roundedRectangle(cr, s.x + 0.5, s.y + 0.5, s.width - 1, s.height - 1, 4);
        setColour(cr, kDimLine);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    } else {
        drawPlate(cr, s.x, s.y, s.width, s.height, kGroundConfig, pressed ? Look::Pressed : Look::Normal, 4);
    }
    const uint32_t ink = disabled ? kDimLine : glyphColour(Look::Normal);
    const double cx = s.x + s.width / 2.0, top = s.y + 5 + (pressed ? 1 : 0), w = 13, h = 19;
    roundedRectangle(cr, cx - w / 2, top, w, h, 6);
    setColour(cr, ink);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    // The lit button: one half of the mouse's top.
    if (!disabled) {
        cairo_save(cr);
        roundedRectangle(cr, cx - w / 2, top, w, h, 6);
        cairo_clip(cr);
        cairo_rectangle(cr, left ? cx - w / 2 : cx, top, w / 2, 8);
        setColour(cr, kOrange);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_move_to(cr, cx, top);
    cairo_line_to(cr, cx, top + 8);
    cairo_move_to(cr, cx - w / 2, top + 8);
    cairo_line_to(cr, cx + w / 2, top + 8);
    setColour(cr, ink);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

IndexedImage drawSlotPages(int percent) {
    SetCanvas canvas(306, 222, percent);
    cairo_t* cr = canvas.cr();
    setColour(cr, kGroundConfig);
    cairo_paint(cr);
    drawPad(cr);
    // The wheel's right end again, the pod with plain caps and no pedal.
    cairo_save(cr);
    pixelRectangle(cr, kWheelPlainRight.x, kWheelPlainRight.y, kWheelPlainRight.width, kWheelPlainRight.height);
    cairo_clip(cr);
    cairo_translate(cr, kWheelPlainRight.x - kWheelPlainRightAt.x, kWheelPlainRight.y - kWheelPlainRightAt.y);
    drawWheelWithPod(cr, false);
    cairo_restore(cr);
    drawMouseButton(cr, kLeftMouseNormal, true, MouseLook::Normal);
    drawMouseButton(cr, kLeftMousePressed, true, MouseLook::Pressed);
    drawMouseButton(cr, kLeftMouseDisabled, true, MouseLook::Disabled);
    drawMouseButton(cr, kRightMouseNormal, false, MouseLook::Normal);
    drawMouseButton(cr, kRightMousePressed, false, MouseLook::Pressed);
    drawMouseButton(cr, kRightMouseDisabled, false, MouseLook::Disabled);
    return quantize(canvas.image());
}

}  // namespace

bool writeCplSlotPages(const std::string& dir) { return writeBitmapSets(dir, kSlotPagesBitmap, drawSlotPages); }

}  // namespace artwork
