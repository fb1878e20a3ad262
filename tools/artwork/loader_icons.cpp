// The tray loader's icons: a racing steering wheel seen from the driver's
// seat, drawn on a 16-unit grid and scaled to each icon size so that the
// 16-pixel image keeps whole-pixel proportions.
#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "artwork.h"
#include "ico.h"
#include "image.h"

namespace artwork {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCentre = 8.0;
constexpr double kRimOuter = 7.25;
constexpr double kRimInner = 4.95;

constexpr uint32_t kOutline = 0x0a0b26;     // every edge, for light and dark taskbars
constexpr uint32_t kRimTop = 0xe8fdff;      // the rim: white-hot at the top ...
constexpr uint32_t kRimMiddle = 0x5fd6ff;   // ... electric cyan ...
constexpr uint32_t kRimBottom = 0x9c78ff;   // ... light violet at the bottom
constexpr uint32_t kBodyTop = 0x2e3aa6;     // spokes and hub: dark blue ...
constexpr uint32_t kBodyBottom = 0x2c1570;  // ... to violet
constexpr uint32_t kMarker = 0xff5a1f;      // the centre marker at the top of the rim
constexpr uint32_t kEmblem = 0x7fe8ff;      // the hub's light
constexpr uint32_t kBar = 0xe4202c;         // "disabled" bar

void setColour(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

void addStop(cairo_pattern_t* gradient, double offset, uint32_t rgb) {
    cairo_pattern_add_color_stop_rgb(gradient, offset, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                                     (rgb & 0xFF) / 255.0);
}

// A top-to-bottom gradient through the given colours, evenly spaced.
void setVerticalGradient(cairo_t* cr, double top, double bottom, std::initializer_list<uint32_t> colours) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, top, 0, bottom);
    double offset = 0;
    for (uint32_t rgb : colours) {
        addStop(gradient, offset, rgb);
        offset += 1.0 / (colours.size() - 1);
    }
    cairo_set_source(cr, gradient);
    cairo_pattern_destroy(gradient);
}

void ringPath(cairo_t* cr, double outer, double inner) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCentre, kCentre, outer, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, kCentre, kCentre, inner, 2 * kPi, 0);
}

// Two side spokes, slightly lowered, and a narrower bottom spoke, all
// meeting in the hub.
void bodyPath(cairo_t* cr) {
    cairo_move_to(cr, 1.2, 7.0);
    cairo_line_to(cr, 14.8, 7.0);
    cairo_line_to(cr, 14.8, 9.6);
    cairo_line_to(cr, 1.2, 9.6);
    cairo_close_path(cr);
    cairo_rectangle(cr, 7.0, 8.0, 2.0, 6.8);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCentre, 8.3, 2.7, 0, 2 * kPi);
}

void drawWheel(cairo_t* cr) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // One outline around the whole silhouette: strokes first, fills over them.
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 1.3);
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, kCentre, kCentre, kRimInner, 0, 2 * kPi);
    cairo_clip(cr);
    bodyPath(cr);
    cairo_stroke(cr);
    cairo_restore(cr);
    ringPath(cr, kRimOuter, kRimInner);
    cairo_stroke(cr);

    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, kCentre, kCentre, kRimInner, 0, 2 * kPi);
    cairo_clip(cr);
    bodyPath(cr);
    setVerticalGradient(cr, 5.5, 11.0, {kBodyTop, kBodyBottom});
    cairo_fill(cr);
    cairo_restore(cr);

    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    ringPath(cr, kRimOuter, kRimInner);
    setVerticalGradient(cr, kCentre - kRimOuter, kCentre + kRimOuter, {kRimTop, kRimMiddle, kRimBottom});
    cairo_fill(cr);

    // Top-centre marker across the rim.
    cairo_new_path(cr);
    cairo_arc(cr, kCentre, kCentre, kRimOuter, -kPi / 2 - 0.16, -kPi / 2 + 0.16);
    cairo_arc_negative(cr, kCentre, kCentre, kRimInner, -kPi / 2 + 0.2, -kPi / 2 - 0.2);
    cairo_close_path(cr);
    setColour(cr, kMarker);
    cairo_fill(cr);

    // The hub's light.
    cairo_new_path(cr);
    cairo_arc(cr, kCentre, 8.3, 1.0, 0, 2 * kPi);
    setColour(cr, kEmblem);
    cairo_fill(cr);
}

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
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / 16.0, size / 16.0);
    drawWheel(cr);
    if (disabled) drawDisabledBar(cr);
    cairo_destroy(cr);
    Image image = imageFromSurface(surface);
    cairo_surface_destroy(surface);
    return image;
}

std::vector<uint8_t> iconFile(bool disabled) {
    std::vector<Image> images;
    for (int size : {16, 32, 48}) images.push_back(drawIcon(size, disabled));
    return icoFile(images);
}

}  // namespace

bool writeLoaderIcons(const std::string& dir) {
    return writeFile(dir, "zntusb_234.ico", iconFile(false)) && writeFile(dir, "zntusb_235.ico", iconFile(true));
}

}  // namespace artwork
