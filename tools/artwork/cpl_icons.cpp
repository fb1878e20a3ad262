// The control panel's icons and cursor: the page icon (115), the marker of
// the curve anchors and the calibration (193), and the cursor over an anchor
// (124). All 8 bits per pixel with the skin palette.
#include <cairo.h>

#include <cstdint>

#include "artwork.h"
#include "ico.h"
#include "paint.h"
#include "palette.h"
#include "parts.h"

namespace artwork {

namespace {

// Half-covered edge pixels are blended over a light grey, the face of the
// game-controllers panel's tabs; the wheel's dark outline keeps them dark.
constexpr Rgb kIconMatte = 0xC8C8D0;

// The cross of four arrows of a move cursor, centred on (16, 16).
void moveCrossPath(cairo_t* cr) {
    const double c = 16, shaft = 2, head = 5, reach = 13.5, neck = 8.5;
    cairo_new_path(cr);
    for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, c, c);
        cairo_rotate(cr, i * kPi / 2);
        cairo_move_to(cr, -shaft, 0);
        cairo_line_to(cr, -shaft, -neck);
        cairo_line_to(cr, -head, -neck);
        cairo_line_to(cr, 0, -reach);
        cairo_line_to(cr, head, -neck);
        cairo_line_to(cr, shaft, -neck);
        cairo_line_to(cr, shaft, 0);
        cairo_restore(cr);
    }
    cairo_close_path(cr);
}

}  // namespace

bool writeCplPageIcon(const std::string& dir) {
    Canvas canvas(32, 32);
    cairo_scale(canvas.cr(), 2, 2);
    drawWheelEmblem(canvas.cr());
    return writeFile(dir, "cpl_115.ico", icoFile8({quantizeIcon(canvas.image(), kIconMatte)}));
}

// A gold stud with a dark ring and a light centre, drawn without smoothing:
// at 8 pixels every pixel is placed.
bool writeCplMarkerIcon(const std::string& dir) {
    Canvas canvas(8, 8);
    cairo_t* cr = canvas.cr();
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_arc(cr, 4, 4, 4.1, 0, 2 * kPi);
    setColour(cr, kInk);
    cairo_fill(cr);
    cairo_arc(cr, 4, 4, 2.9, 0, 2 * kPi);
    setColour(cr, kGold);
    cairo_fill(cr);
    cairo_rectangle(cr, 3, 3, 1, 1);
    setColour(cr, 0xFFF8DC);
    cairo_fill(cr);
    return writeFile(dir, "cpl_193.ico", icoFile8({quantizeIcon(canvas.image(), kIconMatte)}));
}

// Four white arrows edged in black, with a gold stud in the middle where the
// hot spot is.
bool writeCplAnchorCursor(const std::string& dir) {
    Canvas canvas(32, 32);
    cairo_t* cr = canvas.cr();
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    moveCrossPath(cr);
    setColour(cr, 0x000000);
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    setColour(cr, 0xFFFFFF);
    cairo_fill(cr);
    cairo_arc(cr, 16, 16, 3.2, 0, 2 * kPi);
    setColour(cr, 0x000000);
    cairo_fill(cr);
    cairo_arc(cr, 16, 16, 2, 0, 2 * kPi);
    setColour(cr, kGold);
    cairo_fill(cr);
    return writeFile(dir, "cpl_124.cur", curFile8(quantizeIcon(canvas.image(), 0x000000), 16, 16));
}

}  // namespace artwork
