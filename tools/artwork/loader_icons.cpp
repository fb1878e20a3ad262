// The tray loader's icons: a racing steering wheel seen from the driver's
// seat, drawn on a 16-unit grid and scaled to each icon size so that the
// 16-pixel image keeps whole-pixel proportions.
#include <cairo.h>

#include <cstdint>
#include <vector>

#include "artwork.h"
#include "ico.h"
#include "image.h"
#include "paint.h"

namespace artwork {

namespace {

constexpr uint32_t kOutline = 0x0a0b26;  // the wheel's edges
constexpr uint32_t kBar = 0xe4202c;      // "disabled" bar

// A red bar from top left to bottom right, edged like the wheel so that it
// stands out on the bright rim as on the dark body.
void drawDisabledBar(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, 2.7, 2.7);
    cairo_line_to(cr, 13.3, 13.3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 3.6);
    cairo_stroke_preserve(cr);
    setColour(cr, kBar);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
}

Image drawIcon(int size, bool disabled) {
    Canvas canvas(size, size);
    cairo_scale(canvas.cr(), size / 16.0, size / 16.0);
    drawWheelEmblem(canvas.cr());
    if (disabled) drawDisabledBar(canvas.cr());
    return canvas.image();
}

std::vector<uint8_t> iconFile(bool disabled) {
    std::vector<Image> images;
    // The small sizes the notification area asks for at 100, 125, 150 and
    // 200 %, and the larger ones of the window and the file.
    for (int size : {16, 20, 24, 32, 48}) images.push_back(drawIcon(size, disabled));
    return icoFile(images);
}

}  // namespace

bool writeLoaderIcons(const std::string& dir) {
    return writeFile(dir, "zntusb_234.ico", iconFile(false)) && writeFile(dir, "zntusb_235.ico", iconFile(true));
}

}  // namespace artwork
