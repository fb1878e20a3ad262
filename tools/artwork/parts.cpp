#include "parts.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "paint.h"

namespace artwork {

namespace {

struct PlateColours {
    uint32_t top, bottom, edge;
    double highlight;  // white line along the top edge, its opacity
};

PlateColours plateColours(Look look) {
    switch (look) {
        case Look::Hovered: return {0x3A4CB4, 0x22196A, kCyan, 0.30};
        case Look::Pressed: return {0x0E0C2E, 0x242E74, kInk, 0.0};
        case Look::Selected: return {0x6A48D0, 0x2C1570, kLavender, 0.35};
        case Look::Lit: return {0x9A4E12, 0x4A1C06, kGold, 0.35};
        case Look::Normal:
        case Look::Focused: break;
    }
    return {0x2A3486, 0x171248, kInk, 0.22};
}

// A path in the current (turned) user space, filled with a pattern that keeps
// to `screen`, the unturned space: light falls from above however the wheel
// turns.
void fillLit(cairo_t* cr, const cairo_matrix_t& screen, cairo_pattern_t* pattern) {
    cairo_save(cr);
    cairo_set_matrix(cr, &screen);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_restore(cr);
}

cairo_pattern_t* verticalPattern(double top, double bottom, std::initializer_list<uint32_t> colours) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, top, 0, bottom);
    double offset = 0;
    for (uint32_t rgb : colours) {
        addStop(gradient, offset, rgb);
        offset += 1.0 / (colours.size() - 1);
    }
    return gradient;
}

// Buttons 3 to 8 of the wheel's face as the test page lights them: distance
// from the centre (for a rim of radius 92) and angle from the top, degrees.
struct FaceButton {
    double radius, angle;
};
constexpr FaceButton kFaceButtons[] = {{34.9, -62.7}, {34.0, 61.9}, {87.0, -77.8}, {87.0, 78.2}, {37.2, -83.8},
                                       {36.2, 83.7}};
constexpr double kVideoRim = 92.0;

void arrowHead(cairo_t* cr, double x, double y, double angle, double size) {
    cairo_move_to(cr, x + size * std::cos(angle), y + size * std::sin(angle));
    cairo_line_to(cr, x + size * std::cos(angle + 2.4), y + size * std::sin(angle + 2.4));
    cairo_line_to(cr, x + size * std::cos(angle - 2.4), y + size * std::sin(angle - 2.4));
    cairo_close_path(cr);
    cairo_fill(cr);
}

void document(cairo_t* cr, double x, double y, double w, double h) {
    const double fold = w * 0.35;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + w - fold, y);
    cairo_line_to(cr, x + w, y + fold);
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
}

void folder(cairo_t* cr) {
    cairo_move_to(cr, -7, -5);
    cairo_line_to(cr, -2.5, -5);
    cairo_line_to(cr, -0.5, -3);
    cairo_line_to(cr, 7, -3);
    cairo_line_to(cr, 7, 6);
    cairo_line_to(cr, -7, 6);
    cairo_close_path(cr);
    cairo_stroke(cr);
}

}  // namespace

void drawPlate(cairo_t* cr, double x, double y, double w, double h, uint32_t ground, Look look, double radius) {
    const PlateColours c = plateColours(look);
    cairo_save(cr);
    pixelRectangle(cr, x, y, w, h);
    setColour(cr, ground);
    cairo_fill(cr);
    roundedRectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1, radius);
    setVerticalGradient(cr, y, y + h, {c.top, c.bottom});
    cairo_fill_preserve(cr);
    setColour(cr, c.edge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (c.highlight > 0) {
        cairo_move_to(cr, x + radius, y + 1.5);
        cairo_line_to(cr, x + w - radius, y + 1.5);
        setColour(cr, 0xFFFFFF, c.highlight);
        cairo_stroke(cr);
    }
    if (look == Look::Pressed) {
        cairo_move_to(cr, x + radius, y + h - 1.5);
        cairo_line_to(cr, x + w - radius, y + h - 1.5);
        setColour(cr, kCyan, 0.35);
        cairo_stroke(cr);
    }
    if (look == Look::Focused) {
        roundedRectangle(cr, x + 1.5, y + 1.5, w - 3, h - 3, radius > 1 ? radius - 1 : radius);
        setColour(cr, kCyan, 0.9);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

uint32_t glyphColour(Look look) {
    switch (look) {
        case Look::Hovered: return kWhiteHot;
        case Look::Pressed: return kCyan;
        case Look::Selected:
        case Look::Lit: return 0xFFFFFF;
        case Look::Normal:
        case Look::Focused: break;
    }
    return 0xB8CCF0;
}

void drawGlyph(cairo_t* cr, Glyph glyph, double s) {
    cairo_save(cr);
    cairo_scale(cr, s / 16.0, s / 16.0);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_pattern_t* ink = cairo_pattern_reference(cairo_get_source(cr));
    switch (glyph) {
        case Glyph::NewPreset:
            document(cr, -6, -7, 10, 14);
            cairo_stroke(cr);
            cairo_arc(cr, 4, 4, 4, 0, 2 * kPi);
            setColour(cr, kOrange);
            cairo_fill(cr);
            cairo_move_to(cr, 4, 1.8);
            cairo_line_to(cr, 4, 6.2);
            cairo_move_to(cr, 1.8, 4);
            cairo_line_to(cr, 6.2, 4);
            setColour(cr, 0xFFFFFF);
            cairo_set_line_width(cr, 1.4);
            cairo_stroke(cr);
            break;
        case Glyph::Duplicate:
            document(cr, -7, -7, 9, 11);
            cairo_stroke(cr);
            document(cr, -2, -3, 9, 11);
            setColour(cr, kInk, 0.85);
            cairo_fill_preserve(cr);
            cairo_set_source(cr, ink);
            cairo_stroke(cr);
            break;
        case Glyph::Delete:
            cairo_move_to(cr, -6.5, -4.5);
            cairo_line_to(cr, 6.5, -4.5);
            cairo_move_to(cr, -2, -4.5);
            cairo_line_to(cr, -2, -6.5);
            cairo_line_to(cr, 2, -6.5);
            cairo_line_to(cr, 2, -4.5);
            cairo_move_to(cr, -5, -2.5);
            cairo_line_to(cr, -4, 7);
            cairo_line_to(cr, 4, 7);
            cairo_line_to(cr, 5, -2.5);
            cairo_move_to(cr, -1.6, -0.5);
            cairo_line_to(cr, -1.4, 4.5);
            cairo_move_to(cr, 1.6, -0.5);
            cairo_line_to(cr, 1.4, 4.5);
            cairo_stroke(cr);
            break;
        case Glyph::Undo:
            cairo_arc(cr, 1, 1.5, 5, kPi, 2.5 * kPi);
            cairo_stroke(cr);
            arrowHead(cr, -4, 1.5, kPi / 2, 3.6);
            break;
        case Glyph::Print:
            cairo_rectangle(cr, -4, -7, 8, 4.5);
            cairo_stroke(cr);
            roundedRectangle(cr, -7.5, -2.5, 15, 7, 1.5);
            cairo_stroke(cr);
            cairo_rectangle(cr, -4, 2, 8, 5.5);
            setColour(cr, kInk);
            cairo_fill_preserve(cr);
            cairo_set_source(cr, ink);
            cairo_stroke(cr);
            cairo_arc(cr, 5, 0, 0.9, 0, 2 * kPi);
            setColour(cr, kLime);
            cairo_fill(cr);
            break;
        case Glyph::ImportExport:
            cairo_move_to(cr, -6.5, -3);
            cairo_line_to(cr, 4, -3);
            cairo_move_to(cr, 6.5, 3.5);
            cairo_line_to(cr, -4, 3.5);
            cairo_stroke(cr);
            arrowHead(cr, 5, -3, 0, 3.4);
            arrowHead(cr, -5, 3.5, kPi, 3.4);
            break;
        case Glyph::Folder:
            folder(cr);
            break;
        case Glyph::OpenFile:
            folder(cr);
            cairo_move_to(cr, 0, -1);
            cairo_line_to(cr, 0, 2.5);
            cairo_stroke(cr);
            arrowHead(cr, 0, 3.2, kPi / 2, 3);
            break;
        case Glyph::SaveFile:
            cairo_move_to(cr, -6.5, -6.5);
            cairo_line_to(cr, 4.5, -6.5);
            cairo_line_to(cr, 6.5, -4.5);
            cairo_line_to(cr, 6.5, 6.5);
            cairo_line_to(cr, -6.5, 6.5);
            cairo_close_path(cr);
            cairo_stroke(cr);
            cairo_rectangle(cr, -3.5, -6.5, 6.5, 4);
            cairo_rectangle(cr, -4, 1.5, 8, 5);
            cairo_fill(cr);
            break;
        case Glyph::ArrowLeft:
        case Glyph::ArrowRight:
            if (glyph == Glyph::ArrowLeft) cairo_scale(cr, -1, 1);
            cairo_move_to(cr, -7, -2);
            cairo_line_to(cr, 1, -2);
            cairo_line_to(cr, 1, -6);
            cairo_line_to(cr, 7.5, 0);
            cairo_line_to(cr, 1, 6);
            cairo_line_to(cr, 1, 2);
            cairo_line_to(cr, -7, 2);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case Glyph::Erase:
            cairo_move_to(cr, -7.5, 0);
            cairo_line_to(cr, -3.5, -5);
            cairo_line_to(cr, 7, -5);
            cairo_line_to(cr, 7, 5);
            cairo_line_to(cr, -3.5, 5);
            cairo_close_path(cr);
            cairo_stroke(cr);
            cairo_move_to(cr, -0.5, -2.5);
            cairo_line_to(cr, 4.5, 2.5);
            cairo_move_to(cr, 4.5, -2.5);
            cairo_line_to(cr, -0.5, 2.5);
            cairo_stroke(cr);
            break;
        case Glyph::Record:
            cairo_arc(cr, 0, 0, 5, 0, 2 * kPi);
            cairo_fill(cr);
            break;
        case Glyph::Reset:
            cairo_arc(cr, 0, 0, 5, -kPi / 2 + 0.7, -kPi / 2 + 2 * kPi - 0.2);
            cairo_stroke(cr);
            arrowHead(cr, -1.2, -5, 0, 3.4);
            break;
        case Glyph::CurveType:
            cairo_move_to(cr, -8, 6);
            cairo_curve_to(cr, -1, 6, 1, -6, 8, -6);
            cairo_stroke(cr);
            cairo_set_line_width(cr, 1.0);
            cairo_move_to(cr, -8, 6);
            cairo_line_to(cr, -3, 2);
            cairo_line_to(cr, 3, -2);
            cairo_line_to(cr, 8, -6);
            setColour(cr, kLime, 0.8);
            cairo_stroke(cr);
            break;
        case Glyph::Calibrate:
            cairo_arc(cr, 0, 0, 4.5, 0, 2 * kPi);
            cairo_stroke(cr);
            cairo_arc(cr, 0, 0, 1.3, 0, 2 * kPi);
            cairo_fill(cr);
            cairo_arc(cr, 0, 0, 7.5, kPi * 0.70, kPi * 1.30);
            cairo_stroke(cr);
            cairo_arc(cr, 0, 0, 7.5, -kPi * 0.30, kPi * 0.30);
            cairo_stroke(cr);
            arrowHead(cr, 7.5 * std::cos(kPi * 0.3), 7.5 * std::sin(kPi * 0.3), kPi * 0.8, 2.6);
            arrowHead(cr, -7.5 * std::cos(kPi * 0.3), 7.5 * std::sin(kPi * 0.3), kPi * 0.2, 2.6);
            break;
        case Glyph::Keyboard:
            roundedRectangle(cr, -8, -5, 16, 10, 1.5);
            cairo_stroke(cr);
            for (int row = 0; row < 2; ++row)
                for (int key = 0; key < 6; ++key) cairo_rectangle(cr, -6.2 + key * 2.2, -3.2 + row * 2.5, 1.4, 1.4);
            cairo_rectangle(cr, -4, 2, 8, 1.4);
            cairo_fill(cr);
            break;
        case Glyph::Check:
            cairo_set_line_width(cr, 2.4);
            cairo_move_to(cr, -6, 0);
            cairo_line_to(cr, -2, 4.5);
            cairo_line_to(cr, 6.5, -5);
            cairo_stroke(cr);
            break;
        case Glyph::Cross:
            cairo_set_line_width(cr, 2.4);
            cairo_move_to(cr, -5, -5);
            cairo_line_to(cr, 5, 5);
            cairo_move_to(cr, 5, -5);
            cairo_line_to(cr, -5, 5);
            cairo_stroke(cr);
            break;
        case Glyph::Target:
            cairo_arc(cr, 0, 0, 5.5, 0, 2 * kPi);
            cairo_stroke(cr);
            cairo_move_to(cr, 0, -8);
            cairo_line_to(cr, 0, -3);
            cairo_move_to(cr, 0, 3);
            cairo_line_to(cr, 0, 8);
            cairo_move_to(cr, -8, 0);
            cairo_line_to(cr, -3, 0);
            cairo_move_to(cr, 3, 0);
            cairo_line_to(cr, 8, 0);
            cairo_stroke(cr);
            cairo_arc(cr, 0, 0, 1.4, 0, 2 * kPi);
            setColour(cr, kOrange);
            cairo_fill(cr);
            break;
        case Glyph::Buttons:
            for (int i = 0; i < 4; ++i) {
                const double a = i * kPi / 2;
                cairo_arc(cr, 4.2 * std::cos(a), 4.2 * std::sin(a), 2.4, 0, 2 * kPi);
                if (i == 3) {
                    cairo_save(cr);
                    setColour(cr, kOrange);
                    cairo_fill(cr);
                    cairo_restore(cr);
                } else {
                    cairo_fill(cr);
                }
            }
            break;
        case Glyph::DPad:
            cairo_move_to(cr, -2.5, -7);
            cairo_line_to(cr, 2.5, -7);
            cairo_line_to(cr, 2.5, -2.5);
            cairo_line_to(cr, 7, -2.5);
            cairo_line_to(cr, 7, 2.5);
            cairo_line_to(cr, 2.5, 2.5);
            cairo_line_to(cr, 2.5, 7);
            cairo_line_to(cr, -2.5, 7);
            cairo_line_to(cr, -2.5, 2.5);
            cairo_line_to(cr, -7, 2.5);
            cairo_line_to(cr, -7, -2.5);
            cairo_line_to(cr, -2.5, -2.5);
            cairo_close_path(cr);
            cairo_stroke(cr);
            cairo_arc(cr, 0, 0, 1.2, 0, 2 * kPi);
            cairo_fill(cr);
            break;
        case Glyph::Curve:
            cairo_move_to(cr, -7, -7);
            cairo_line_to(cr, -7, 7);
            cairo_line_to(cr, 7, 7);
            cairo_stroke(cr);
            cairo_move_to(cr, -7, 7);
            cairo_curve_to(cr, 0, 7, -2, -6, 7, -6);
            setColour(cr, kLime);
            cairo_stroke(cr);
            cairo_rectangle(cr, -3.2, 2.3, 2.4, 2.4);
            cairo_rectangle(cr, 1.2, -5.2, 2.4, 2.4);
            setColour(cr, kGold);
            cairo_fill(cr);
            break;
        case Glyph::Gauge:
            cairo_arc(cr, 0, 2, 7, kPi * 0.85, kPi * 2.15);
            cairo_stroke(cr);
            cairo_set_line_width(cr, 1.0);
            for (int i = 0; i <= 6; ++i) {
                const double a = kPi * (0.85 + 1.3 * i / 6.0);
                cairo_move_to(cr, 4.4 * std::cos(a), 2 + 4.4 * std::sin(a));
                cairo_line_to(cr, 5.6 * std::cos(a), 2 + 5.6 * std::sin(a));
            }
            cairo_stroke(cr);
            cairo_set_line_width(cr, 1.6);
            cairo_move_to(cr, 0, 2);
            cairo_line_to(cr, 3.6, -2.6);
            setColour(cr, kOrange);
            cairo_stroke(cr);
            cairo_arc(cr, 0, 2, 1.5, 0, 2 * kPi);
            cairo_set_source(cr, ink);
            cairo_fill(cr);
            break;
        case Glyph::List:
            for (int i = 0; i < 3; ++i) {
                cairo_arc(cr, -6, -5 + i * 5, 1.2, 0, 2 * kPi);
                cairo_fill(cr);
                cairo_move_to(cr, -3, -5 + i * 5);
                cairo_line_to(cr, 7, -5 + i * 5);
                cairo_stroke(cr);
            }
            break;
    }
    cairo_pattern_destroy(ink);
    cairo_restore(cr);
}

void drawButton(cairo_t* cr, double x, double y, double w, double h, uint32_t ground, Look look, Glyph glyph,
                double glyphSize) {
    drawPlate(cr, x, y, w, h, ground, look, w < 24 || h < 16 ? 3 : 4);
    cairo_save(cr);
    cairo_translate(cr, x + w / 2, y + h / 2 + (look == Look::Pressed ? 1 : 0));
    setColour(cr, glyphColour(look));
    drawGlyph(cr, glyph, glyphSize);
    cairo_restore(cr);
}

void drawFrontWheel(cairo_t* cr, double cx, double cy, double radius, double angle, bool buttons) {
    const double R = radius, inner = 0.78 * R;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_matrix_t screen;
    cairo_get_matrix(cr, &screen);
    cairo_rotate(cr, angle);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // Spokes and faceplate: a broad bar across, lowered a little, a bottom
    // spoke and the hub, inside the rim.
    auto body = [&]() {
        roundedRectangle(cr, -0.95 * R, -0.25 * R, 1.9 * R, 0.47 * R, 0.12 * R);
        cairo_rectangle(cr, -0.14 * R, 0, 0.28 * R, 0.92 * R);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0, 0.04 * R, 0.33 * R, 0, 2 * kPi);
    };
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, inner + 1, 0, 2 * kPi);
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    body();
    setColour(cr, kInk);
    cairo_set_line_width(cr, std::max(1.0, 0.04 * R));
    cairo_stroke_preserve(cr);
    cairo_pattern_t* bodyLight = verticalPattern(-0.4 * R, 0.8 * R, {0x3A48B2, 0x2E3AA6, 0x2C1570});
    fillLit(cr, screen, bodyLight);
    cairo_pattern_destroy(bodyLight);
    // A cooler sheen on the hub.
    cairo_arc(cr, 0, 0.04 * R, 0.33 * R, 0, 2 * kPi);
    cairo_pattern_t* hubLight = verticalPattern(-0.3 * R, 0.4 * R, {0x4A5CC8, 0x22196A});
    fillLit(cr, screen, hubLight);
    cairo_pattern_destroy(hubLight);
    cairo_arc(cr, 0, 0.04 * R, 0.33 * R, 0, 2 * kPi);
    setColour(cr, kInk);
    cairo_set_line_width(cr, std::max(1.0, 0.025 * R));
    cairo_stroke(cr);
    cairo_restore(cr);

    // The rim, with an outline, lit from above.
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, R, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, inner, 0, 2 * kPi);
    setColour(cr, kInk);
    cairo_set_line_width(cr, std::max(1.0, 0.04 * R));
    cairo_stroke_preserve(cr);
    cairo_pattern_t* rimLight = verticalPattern(-R, R, {0xD8F6FF, 0x4FB8F0, 0x6A4CD8});
    fillLit(cr, screen, rimLight);
    cairo_pattern_destroy(rimLight);

    // Dark grips where the hands hold it, at a quarter to three.
    for (int side = -1; side <= 1; side += 2) {
        const double mid = side * kPi / 2 - kPi / 2;  // 9 or 3 o'clock, from the x axis
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0, 0, R - 0.03 * R, mid - 0.42, mid + 0.42);
        cairo_arc_negative(cr, 0, 0, inner + 0.03 * R, mid + 0.42, mid - 0.42);
        cairo_close_path(cr);
        cairo_pattern_t* grip = verticalPattern(-R, R, {0x3C2C8C, 0x1E1650, 0x140E3A});
        fillLit(cr, screen, grip);
        cairo_pattern_destroy(grip);
        if (R > 30) {
            cairo_set_line_width(cr, 1);
            for (int rib = -4; rib <= 4; ++rib) {
                const double a = mid + rib * 0.09;
                cairo_move_to(cr, (inner + 0.05 * R) * std::cos(a), (inner + 0.05 * R) * std::sin(a));
                cairo_line_to(cr, (R - 0.05 * R) * std::cos(a), (R - 0.05 * R) * std::sin(a));
            }
            setColour(cr, 0x5A4AB0, 0.7);
            cairo_stroke(cr);
        }
    }

    // The orange centre marker across the top of the rim.
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, R - 0.02 * R, -kPi / 2 - 0.09, -kPi / 2 + 0.09);
    cairo_arc_negative(cr, 0, 0, inner + 0.02 * R, -kPi / 2 + 0.11, -kPi / 2 - 0.11);
    cairo_close_path(cr);
    setColour(cr, kOrange);
    cairo_fill(cr);

    // The hub's light.
    cairo_arc(cr, 0, 0.04 * R, 0.1 * R, 0, 2 * kPi);
    setColour(cr, 0x7FE8FF);
    cairo_fill(cr);
    cairo_arc(cr, 0, 0.04 * R, 0.1 * R, 0, 2 * kPi);
    setColour(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    if (buttons) {
        const double scale = R / kVideoRim;
        for (const FaceButton& b : kFaceButtons) {
            const double a = b.angle * kPi / 180;
            const double x = b.radius * scale * std::sin(a), y = -b.radius * scale * std::cos(a);
            cairo_arc(cr, x, y, 5.2 * scale, 0, 2 * kPi);
            setColour(cr, kInk);
            cairo_fill(cr);
            cairo_arc(cr, x, y, 3.8 * scale, 0, 2 * kPi);
            setColour(cr, 0x8C92AE);
            cairo_fill(cr);
            cairo_arc(cr, x, y, 2.2 * scale, 0, 2 * kPi);
            setColour(cr, 0xD2D6E4);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

void drawPedal(cairo_t* cr, double x, double y, double w, double h, uint32_t ground, bool pressed, uint32_t accent) {
    cairo_save(cr);
    pixelRectangle(cr, x, y, w, h);
    setColour(cr, ground);
    cairo_fill(cr);

    // The base the pedal swings on, across the bottom, and the arm up to the
    // pad.
    const double baseH = std::max(4.0, h * 0.1);
    const double cx = x + w / 2;
    cairo_rectangle(cr, cx - 2, y + h * 0.5, 4, h * 0.5 - baseH);
    setColour(cr, 0x6E7691);
    cairo_fill(cr);
    roundedRectangle(cr, x + 2.5, y + h - baseH - 0.5, w - 5, baseH, 1.5);
    setVerticalGradient(cr, y + h - baseH, y + h, {0x6E7691, 0x282C3C});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // The pad: dark rubber in a steel rim. Released it stands upright;
    // pressed it is tipped away (shorter, narrower at its top) and its
    // stripe glows in the accent colour.
    const double left = x + 2.5, right = x + w - 2.5;
    const double bottom = y + h - baseH - 3;
    const double top = pressed ? y + 2.5 + (bottom - y) * 0.32 : y + 2.5;
    const double inset = pressed ? (right - left) * 0.1 : 0;
    const double r = std::min(4.0, (right - left) * 0.2);
    auto pad = [&]() {
        cairo_new_path(cr);
        cairo_move_to(cr, left + inset + r, top);
        cairo_line_to(cr, right - inset - r, top);
        cairo_curve_to(cr, right - inset, top, right - inset, top, right - inset, top + r);
        cairo_line_to(cr, right, bottom - r);
        cairo_curve_to(cr, right, bottom, right, bottom, right - r, bottom);
        cairo_line_to(cr, left + r, bottom);
        cairo_curve_to(cr, left, bottom, left, bottom, left, bottom - r);
        cairo_line_to(cr, left + inset, top + r);
        cairo_curve_to(cr, left + inset, top, left + inset, top, left + inset + r, top);
        cairo_close_path(cr);
    };
    if (pressed) {
        pad();
        setColour(cr, accent, 0.45);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    pad();
    setVerticalGradient(cr, top, bottom, {0x464C64, 0x1A1C28});
    cairo_fill_preserve(cr);
    setVerticalGradient(cr, top, bottom, {0xD2D6E4, 0x6E7691});
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);

    // Grip studs across the pad and the accent stripe at its top.
    cairo_save(cr);
    pad();
    cairo_clip(cr);
    cairo_set_line_width(cr, 1);
    for (double ry = top + 7.5; ry < bottom - 2.5; ry += pressed ? 3 : 4) {
        cairo_move_to(cr, left + 4, ry);
        cairo_line_to(cr, right - 4, ry);
    }
    setColour(cr, 0x8C92AE, 0.55);
    cairo_stroke(cr);
    cairo_rectangle(cr, left + 3, top + 2.5, right - left - 6, 2);
    setColour(cr, accent, pressed ? 1.0 : 0.55);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_restore(cr);
}

void drawLinkSign(cairo_t* cr, double x, double y, double w, double h, uint32_t ground, uint32_t colour) {
    cairo_save(cr);
    pixelRectangle(cr, x, y, w, h);
    setColour(cr, ground);
    cairo_fill(cr);
    const double lw = w * 0.56, lh = h - 3;
    cairo_set_line_width(cr, 1.8);
    roundedRectangle(cr, x + 1.5, y + 1.5, lw, lh, lh / 2);
    setColour(cr, colour);
    cairo_stroke(cr);
    roundedRectangle(cr, x + w - 1.5 - lw, y + 1.5, lw, lh, lh / 2);
    cairo_stroke(cr);
    // The first link passes over the second on its right side.
    cairo_rectangle(cr, x + 1.5 + lw - 2.5, y + 1.5 + lh / 2, 3.2, lh / 2 + 1);
    cairo_clip(cr);
    roundedRectangle(cr, x + 1.5, y + 1.5, lw, lh, lh / 2);
    setColour(cr, colour);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void drawGlow(cairo_t* cr, double cx, double cy, double radius, uint32_t colour, double alpha) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    const double r = ((colour >> 16) & 0xFF) / 255.0, g = ((colour >> 8) & 0xFF) / 255.0, b = (colour & 0xFF) / 255.0;
    cairo_pattern_add_color_stop_rgba(glow, 0, r, g, b, alpha);
    cairo_pattern_add_color_stop_rgba(glow, 1, r, g, b, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

}  // namespace artwork
