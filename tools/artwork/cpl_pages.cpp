// The backgrounds of the control panel's pages (bitmaps 186, 187, 188) and
// the key-sequence boxes' pattern tile (190). Each page is one flat ground,
// so that pictures from the skin, drawn on the same ground, sit on it without
// a seam wherever the page puts them; what the page adds is kept to its
// edges and to places no control covers.
#include <cairo.h>

#include <cmath>
#include <cstdint>

#include "artwork.h"
#include "bmp.h"
#include "cpl/frame/skin_layout.h"
#include "paint.h"
#include "palette.h"
#include "parts.h"

namespace artwork {

namespace {

using namespace zentra::skin;

constexpr int kPageWidth = 595, kPageHeight = 370;

// Ground, a dark edge and a faint inner line in the page's accent.
void drawPageGround(cairo_t* cr, uint32_t ground, uint32_t accent) {
    setColour(cr, ground);
    cairo_paint(cr);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, 593, 368);
    setColour(cr, kInk);
    cairo_stroke(cr);
    roundedRectangle(cr, 3.5, 3.5, 587, 362, 6);
    setColour(cr, accent, 0.35);
    cairo_stroke(cr);
}

// The maker's mark where the About button lies (10, 8)-(165, 19): the wheel
// emblem, the name and a rule to the button's end.
void drawMakerMark(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 10, 8);
    cairo_scale(cr, 11.0 / 16, 11.0 / 16);
    drawWheelEmblem(cr);
    cairo_restore(cr);
    setColour(cr, kLavender);
    const double width = textWidth(cr, "MORVENHOLLOW", 8.5, true, 1.4);
    drawText(cr, "MORVENHOLLOW", 25, 17, 8.5, true, Align::Left, 1.4);
    cairo_move_to(cr, 25 + width + 5, 13.5);
    cairo_line_to(cr, 164, 13.5);
    setColour(cr, kCyan, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A thin rule that fades out at both ends.
void drawRule(cairo_t* cr, double x0, double x1, double y, uint32_t colour) {
    cairo_pattern_t* fade = cairo_pattern_create_linear(x0, 0, x1, 0);
    const double r = ((colour >> 16) & 0xFF) / 255.0, g = ((colour >> 8) & 0xFF) / 255.0, b = (colour & 0xFF) / 255.0;
    cairo_pattern_add_color_stop_rgba(fade, 0, r, g, b, 0);
    cairo_pattern_add_color_stop_rgba(fade, 0.5, r, g, b, 0.5);
    cairo_pattern_add_color_stop_rgba(fade, 1, r, g, b, 0);
    cairo_rectangle(cr, x0, y, x1 - x0, 1);
    cairo_set_source(cr, fade);
    cairo_fill(cr);
    cairo_pattern_destroy(fade);
}

bool writePage(const std::string& dir, int id, void (*draw)(cairo_t*)) {
    return writeBitmapSets(dir, id, [draw](int percent) {
        SetCanvas canvas(kPageWidth, kPageHeight, percent);
        draw(canvas.cr());
        return quantize(canvas.image());
    });
}

// Button and axis pages: the wheel, the curve boxes and their pictures all
// lie on the plain middle.
void drawConfigPage(cairo_t* cr) {
    drawPageGround(cr, kGroundConfig, kCyan);
    drawMakerMark(cr);
    drawRule(cr, 150, 490, 352, kCyan);
}

// Presets page and the import/export dialog, which shares the upper left
// 474 x 368 of it.
void drawPresetsPage(cairo_t* cr) {
    drawPageGround(cr, kGroundPresets, kViolet);
    drawMakerMark(cr);
    drawRule(cr, 60, 330, 358, kViolet);
}

// The steering marker's scale: ticks just outside the arc the marker runs
// on, every 10 degrees over the middle third of a turn each way; further out
// they would fall into the calibration dialog's band.
void drawSteeringScale(cairo_t* cr) {
    const double cx = 235.5, cy = 207.5;  // the marker's centre runs on this ellipse
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int deg = -30; deg <= 30; deg += 10) {
        const double a = deg * kPi / 180;
        const bool major = deg % 30 == 0;
        const double from = 13, to = major ? 21 : 17;
        cairo_move_to(cr, cx + (110 + from) * std::sin(a), cy - (120 + from) * std::cos(a));
        cairo_line_to(cr, cx + (110 + to) * std::sin(a), cy - (120 + to) * std::cos(a));
        setColour(cr, deg == 0 ? kOrange : kLavender, major ? 0.9 : 0.5);
        cairo_stroke(cr);
    }
}

// The panel of the pedals and their gauges, around the keyboard indicator,
// with the gauges' wells and scales.
void drawPedalPanel(cairo_t* cr) {
    // One outline: the wide part under the indicator and the narrow part up
    // to the calibration button, joined at (464.5, 134.5).
    const double l = 394.5, r = 502.5, t = 58.5, b = 334.5, join = 464.5, shoulder = 134.5, k = 8;
    cairo_new_path(cr);
    cairo_move_to(cr, l + k, shoulder);
    cairo_line_to(cr, join, shoulder);
    cairo_line_to(cr, join, t + k);
    cairo_arc(cr, join + k, t + k, k, kPi, 1.5 * kPi);
    cairo_arc(cr, r - k, t + k, k, 1.5 * kPi, 2 * kPi);
    cairo_arc(cr, r - k, b - k, k, 0, 0.5 * kPi);
    cairo_arc(cr, l + k, b - k, k, 0.5 * kPi, kPi);
    cairo_arc(cr, l + k, shoulder + k, k, kPi, 1.5 * kPi);
    cairo_close_path(cr);
    setColour(cr, kGaugePanel);
    cairo_fill_preserve(cr);
    setColour(cr, kLavender, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // Wells: gauge 1 hangs down from y = 218 at x = 420, gauge 2 rises from
    // y = 175 at x = 480, each up to 93 rows and a cap.
    struct Well {
        double x, y0, y1, ticks;
    };
    for (const Well& w : {Well{419, 218, 326, 432}, Well{479, 67, 175, 472}}) {
        roundedRectangle(cr, w.x, w.y0, 10, w.y1 - w.y0, 3);
        setColour(cr, kSlot);
        cairo_fill(cr);
        for (int i = 0; i <= 9; ++i) {
            const double y = w.y0 == 218 ? 218 + 10 * i + 0.5 : 175 - 10 * i - 0.5;
            cairo_move_to(cr, w.ticks, y);
            cairo_line_to(cr, w.ticks + (i % 5 == 0 ? 5 : 3), y);
        }
        setColour(cr, kLavender, 0.5);
        cairo_stroke(cr);
    }

    // The lamps' housing, left of the panel.
    roundedRectangle(cr, kFirstLampAt.x - 4, kFirstLampAt.y - 4, 20, 34, 4);
    setColour(cr, kInk);
    cairo_fill(cr);
}

void drawTestPage(cairo_t* cr) {
    drawPageGround(cr, kGroundTest, kLavender);
    drawMakerMark(cr);
    drawSteeringScale(cr);
    drawPedalPanel(cr);
    drawRule(cr, 150, 330, 354, kLavender);
}

}  // namespace

bool writeCplConfigPage(const std::string& dir) { return writePage(dir, kConfigBitmap, drawConfigPage); }
bool writeCplPresetsPage(const std::string& dir) { return writePage(dir, kPresetsBitmap, drawPresetsPage); }
bool writeCplTestPage(const std::string& dir) { return writePage(dir, kTestBitmap, drawTestPage); }

// A dark twill, two shades a little apart, under white text: diagonal bands
// two pixels wide at 100 %, three at 150 % and four at 200 %, so that the
// tile (8, 12 or 16 pixels) holds two whole periods and repeats seamlessly.
bool writeCplPatternTile(const std::string& dir) {
    return writeBitmapSets(dir, kPatternBitmap, [](int percent) {
        IndexedImage tile;
        tile.width = tile.height = pictureInSet(kPatternTile.width, percent);
        tile.index.resize(size_t(tile.width) * tile.height);
        const int band = pictureInSet(2, percent);
        const uint8_t dark = nearestIndex(0x0C1030), light = nearestIndex(0x161E5A);
        for (int y = 0; y < tile.height; ++y)
            for (int x = 0; x < tile.width; ++x)
                tile.index[size_t(y) * tile.width + x] = ((x + y) / band) % 2 ? light : dark;
        return tile;
    });
}

}  // namespace artwork
