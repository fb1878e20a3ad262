// The control panel's About box (bitmap 197) and its link button (196, and
// 195 while held down).
#include <cairo.h>

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

// The box's footer band, on which the link button lies at (445, 141).
constexpr double kFooterTop = 134;
constexpr uint32_t kFooter = 0x0C1030;
constexpr uint32_t kFooterHeld = 0x161E5A;
constexpr const char* kSite = "www.morvenhollow.example";

void drawAbout(cairo_t* cr) {
    const double w = kAboutBox.width, h = kAboutBox.height;
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, 0, w, h);
    addStop(ground, 0, 0x101840);
    addStop(ground, 0.6, 0x1A0E3C);
    addStop(ground, 1, 0x2C1570);
    cairo_rectangle(cr, 0, 0, w, kFooterTop);
    cairo_set_source(cr, ground);
    cairo_fill(cr);
    cairo_pattern_destroy(ground);

    // Livery stripes across the upper right.
    const uint32_t stripes[] = {kOrange, kViolet, kCyan};
    for (int i = 0; i < 3; ++i) {
        const double x = 430 + i * 22;
        cairo_move_to(cr, x, 0);
        cairo_line_to(cr, x + 14, 0);
        cairo_line_to(cr, x + 14 + 70, kFooterTop);
        cairo_line_to(cr, x + 70, kFooterTop);
        cairo_close_path(cr);
        setColour(cr, stripes[i], 0.22);
        cairo_fill(cr);
    }

    // The wheel emblem, large, with a glow behind it.
    drawGlow(cr, 80, 68, 70, kCyan, 0.25);
    cairo_save(cr);
    cairo_translate(cr, 22, 10);
    cairo_scale(cr, 116.0 / 16, 116.0 / 16);
    drawWheelEmblem(cr);
    cairo_restore(cr);

    setColour(cr, kLavender);
    drawText(cr, "MORVENHOLLOW", 168, 42, 13, true, Align::Left, 3.2);
    setColour(cr, 0xFFFFFF);
    drawText(cr, "ZENTRAVOLI", 166, 84, 36, true, Align::Left, 2);
    cairo_rectangle(cr, 168, 94, 250, 2);
    setColour(cr, kOrange);
    cairo_fill(cr);
    setColour(cr, kCyanPale);
    drawText(cr, "5.2.1.4", 168, 118, 13, false, Align::Left, 1);

    cairo_rectangle(cr, 0, kFooterTop, w, h - kFooterTop);
    setColour(cr, kFooter);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, kFooterTop, w, 1);
    setColour(cr, kViolet, 0.6);
    cairo_fill(cr);
    setColour(cr, kSteel);
    drawText(cr, "\xC2\xA9 Morvenhollow Corporation", 14, 150, 10, false, Align::Left);
}

// The link: the site's address on the footer band, right-aligned; held down
// it lights up and is underlined.
IndexedImage linkButton(bool held, int percent) {
    const Sprite& s = kAboutLink;
    SetCanvas canvas(s.width, s.height + 1, percent);
    cairo_t* cr = canvas.cr();
    setColour(cr, held ? kFooterHeld : kFooter);
    cairo_paint(cr);
    setColour(cr, held ? 0xFFFFFF : kCyan);
    const double right = s.width - 2, width = textWidth(cr, kSite, 10, false);
    drawText(cr, kSite, right, 9, 10, false, Align::Right);
    if (held) {
        cairo_rectangle(cr, right - width, 10, width, 1);
        cairo_fill(cr);
    }
    return quantize(canvas.image());
}

}  // namespace

bool writeCplAboutBox(const std::string& dir) {
    return writeBitmapSets(dir, kAboutBitmap, [](int percent) {
        SetCanvas canvas(kAboutBox.width, kAboutBox.height, percent);
        drawAbout(canvas.cr());
        return quantize(canvas.image());
    });
}

bool writeCplAboutLink(const std::string& dir) {
    return writeBitmapSets(dir, kAboutLinkBitmap, [](int percent) { return linkButton(false, percent); }) &&
           writeBitmapSets(dir, kAboutLinkHeldBitmap, [](int percent) { return linkButton(true, percent); });
}

}  // namespace artwork
