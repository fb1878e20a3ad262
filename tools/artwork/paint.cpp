#include "paint.h"

#include <cmath>
#include <vector>

#include "cpl/frame/skin_layout.h"

namespace artwork {

namespace {

double channel(uint32_t rgb, int shift) { return ((rgb >> shift) & 0xFF) / 255.0; }

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

void selectFont(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

double advance(cairo_t* cr, const std::string& text, double letterSpacing) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance + letterSpacing * (text.empty() ? 0 : double(text.size() - 1));
}

}  // namespace

void setColour(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, channel(rgb, 16), channel(rgb, 8), channel(rgb, 0));
}

void setColour(cairo_t* cr, uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, channel(rgb, 16), channel(rgb, 8), channel(rgb, 0), alpha);
}

void addStop(cairo_pattern_t* gradient, double offset, uint32_t rgb) {
    cairo_pattern_add_color_stop_rgb(gradient, offset, channel(rgb, 16), channel(rgb, 8), channel(rgb, 0));
}

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

void roundedRectangle(cairo_t* cr, double x, double y, double w, double h, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -kPi / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, kPi / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, kPi / 2, kPi);
    cairo_arc(cr, x + radius, y + radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void pixelRectangle(cairo_t* cr, double x, double y, double w, double h) {
    double x0 = x, y0 = y, x1 = x + w, y1 = y + h;
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    x0 = std::floor(x0 + 0.5);
    y0 = std::floor(y0 + 0.5);
    x1 = std::floor(x1 + 0.5);
    y1 = std::floor(y1 + 0.5);
    cairo_device_to_user(cr, &x0, &y0);
    cairo_device_to_user(cr, &x1, &y1);
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
}

double textWidth(cairo_t* cr, const std::string& text, double size, bool bold, double letterSpacing) {
    cairo_save(cr);
    selectFont(cr, size, bold);
    const double width = advance(cr, text, letterSpacing);
    cairo_restore(cr);
    return width;
}

void drawText(cairo_t* cr, const std::string& text, double x, double y, double size, bool bold, Align align,
              double letterSpacing) {
    cairo_save(cr);
    selectFont(cr, size, bold);
    const double width = advance(cr, text, letterSpacing);
    if (align == Align::Centre) x -= width / 2;
    if (align == Align::Right) x -= width;
    if (letterSpacing == 0) {
        cairo_move_to(cr, x, y);
        cairo_show_text(cr, text.c_str());
    } else {
        for (char c : text) {
            const std::string one(1, c);
            cairo_move_to(cr, x, y);
            cairo_show_text(cr, one.c_str());
            x += advance(cr, one, 0) + letterSpacing;
        }
    }
    cairo_restore(cr);
}

Canvas::Canvas(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)), cr_(cairo_create(surface_)) {}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

SetCanvas::SetCanvas(int width, int height, int percent)
    : Canvas(zentra::skin::pictureInSet(width, percent), zentra::skin::pictureInSet(height, percent)) {
    cairo_scale(cr(), percent / 100.0, percent / 100.0);
}

void drawWheelEmblem(cairo_t* cr) {
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

}  // namespace artwork
