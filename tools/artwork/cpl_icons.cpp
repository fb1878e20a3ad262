// The control panel's icons and cursor: the page icon (115), the marker of
// the curve anchors and the calibration (193), and the cursor over an anchor
// (124). All 8 bits per pixel with the skin palette, each file with one
// image for each picture set (100, 150 and 200 % of the first size), every
// image drawn by the same code on a grid scaled to its size.
#include <cairo.h>

#include <cstdint>
#include <vector>

#include "artwork.h"
#include "cpl/frame/skin_layout.h"
#include "ico.h"
#include "paint.h"
#include "palette.h"
#include "parts.h"

namespace artwork {

namespace {

// Half-covered edge pixels are blended over a light grey, the face of the
// game-controllers panel's tabs; the wheel's dark outline keeps them dark.
constexpr Rgb kIconMatte = 0xC8C8D0;

using zentra::skin::kPictureSets;
using zentra::skin::pictureInSet;

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

// A gold stud with a dark ring and a light centre, drawn without smoothing:
// at 8 pixels every pixel is placed. 8, 12 and 16 pixels, on an 8-unit grid.
IndexedImage markerImage(int size) {
    Canvas canvas(size, size);
    cairo_t* cr = canvas.cr();
    cairo_scale(cr, size / 8.0, size / 8.0);
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
    return quantizeIcon(canvas.image(), kIconMatte);
}

// Four white arrows edged in black, with a gold stud in the middle where the
// hot spot is: 32, 48 and 64 pixels on a 32-unit grid, the hot spot at the
// centre of each.
IndexedImage anchorCursorImage(int size) {
    Canvas canvas(size, size);
    cairo_t* cr = canvas.cr();
    cairo_scale(cr, size / 32.0, size / 32.0);
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
    return quantizeIcon(canvas.image(), 0x000000);
}

}  // namespace

// 32, 48 and 64 pixels: the wheel emblem's 16-unit grid scaled to each.
bool writeCplPageIcon(const std::string& dir) {
    std::vector<IndexedImage> images;
    for (const auto& set : kPictureSets) {
        const int size = pictureInSet(32, set.percent);
        Canvas canvas(size, size);
        cairo_scale(canvas.cr(), size / 16.0, size / 16.0);
        drawWheelEmblem(canvas.cr());
        images.push_back(quantizeIcon(canvas.image(), kIconMatte));
    }
    return writeFile(dir, "cpl_115.ico", icoFile8(images));
}

bool writeCplMarkerIcon(const std::string& dir) {
    std::vector<IndexedImage> images;
    for (const auto& set : kPictureSets) images.push_back(markerImage(pictureInSet(8, set.percent)));
    return writeFile(dir, "cpl_193.ico", icoFile8(images));
}

bool writeCplAnchorCursor(const std::string& dir) {
    std::vector<CursorImage> images;
    for (const auto& set : kPictureSets) {
        const int size = pictureInSet(32, set.percent), hot = pictureInSet(16, set.percent);
        images.push_back({anchorCursorImage(size), hot, hot});
    }
    return writeFile(dir, "cpl_124.cur", curFile8(images));
}

}  // namespace artwork
