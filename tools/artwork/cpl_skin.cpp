// The skin picture of the control panel (bitmap 189): tab buttons, push
// buttons, the button page's wheel, the axis page's pictures, the test page's
// sprites and the calibration dialog's pieces, each at its place in
// cpl/frame/skin_layout.h.
#include <cairo.h>

#include <cmath>
#include <optional>
#include <cstdint>

#include "artwork.h"
#include "bmp.h"
#include "cpl/frame/skin_layout.h"
#include "image.h"
#include "paint.h"
#include "palette.h"
#include "parts.h"

namespace artwork {

namespace {

using namespace zentra::skin;

void button(cairo_t* cr, const Sprite& s, uint32_t ground, Look look, Glyph glyph, double glyphSize) {
    drawButton(cr, s.x, s.y, s.width, s.height, ground, look, glyph, glyphSize);
}

void fillSprite(cairo_t* cr, const Sprite& s, uint32_t colour) {
    pixelRectangle(cr, s.x, s.y, s.width, s.height);
    setColour(cr, colour);
    cairo_fill(cr);
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

// A round button cap on the wheel, lit from above.
void wheelButton(cairo_t* cr, double x, double y, double r) {
    cairo_arc(cr, x, y + 1, r + 1.5, 0, 2 * kPi);
    setColour(cr, kInk);
    cairo_fill(cr);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    setVerticalGradient(cr, y - r, y + r, {0xD2D6E4, 0x6E7691});
    cairo_fill(cr);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    setColour(cr, kCyan, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void chevron(cairo_t* cr, double x, double y, double size, bool up) {
    const double d = up ? -1 : 1;
    cairo_move_to(cr, x - size, y - d * size / 2);
    cairo_line_to(cr, x, y + d * size / 2);
    cairo_line_to(cr, x + size, y - d * size / 2);
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

// The wheel of the button page, seen from the driver's seat: the rim a
// flattened ring, the faceplate with buttons 3, 4, 7 and 8, buttons 5 and 6
// on the rim, the column and its base, and the sequential shifter with
// buttons 1 and 2 at the right. The buttons sit where the page's connectors
// end.
void drawButtonPageWheel(cairo_t* cr) {
    const double cx = 297, cy = 147, rx = 154, ry = 56, irx = 128, iry = 42, depth = 5;
    cairo_save(cr);
    pixelRectangle(cr, kButtonPageWheel.x, kButtonPageWheel.y, kButtonPageWheel.width, kButtonPageWheel.height);
    cairo_clip(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // Base, column and the shifter's arm, behind the wheel.
    cairo_move_to(cr, 366, 306);
    cairo_line_to(cr, 488, 306);
    cairo_line_to(cr, 488, 278);
    setColour(cr, 0x464C64);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    roundedRectangle(cr, 226.5, 292.5, 142, 42, 8);
    setVerticalGradient(cr, 292, 335, {0x3A48B2, 0x1E1650, 0x0C0A22});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_move_to(cr, 236, 295.5);
    cairo_line_to(cr, 358, 295.5);
    setColour(cr, kCyan, 0.45);
    cairo_stroke(cr);
    cairo_pattern_t* column = cairo_pattern_create_linear(285, 0, 309, 0);
    addStop(column, 0, 0x282C3C);
    addStop(column, 0.45, 0xA0A6BE);
    addStop(column, 1, 0x1A1C28);
    cairo_rectangle(cr, 285, 180, 24, 114);
    cairo_set_source(cr, column);
    cairo_fill(cr);
    cairo_pattern_destroy(column);

    // The rim: its underside, then its face, with dark grips at the sides.
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    ellipsePath(cr, cx, cy + depth, rx, ry);
    ellipsePath(cr, cx, cy + depth, irx, iry);
    setColour(cr, 0x1A1450);
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_stroke(cr);
    ellipsePath(cr, cx, cy, rx, ry);
    ellipsePath(cr, cx, cy, irx, iry);
    setVerticalGradient(cr, cy - ry, cy + ry, {0xAAF0FF, 0x4FB8F0, 0x5636AA});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_stroke(cr);
    // Grips at the sides: ring segments around 9 and 3 o'clock, ribbed.
    for (int side = -1; side <= 1; side += 2) {
        const double mid = side < 0 ? kPi : 0, half = 0.5;
        cairo_new_path(cr);
        for (int i = 0; i <= 20; ++i) {
            const double t = mid - half + 2 * half * i / 20;
            cairo_line_to(cr, cx + rx * std::cos(t), cy + ry * std::sin(t));
        }
        for (int i = 20; i >= 0; --i) {
            const double t = mid - half + 2 * half * i / 20;
            cairo_line_to(cr, cx + irx * std::cos(t), cy + iry * std::sin(t));
        }
        cairo_close_path(cr);
        setVerticalGradient(cr, cy - ry, cy + ry, {0x4C44A8, 0x221C5A, 0x140E3A});
        cairo_fill_preserve(cr);
        setColour(cr, kInk);
        cairo_stroke(cr);
        for (int rib = -4; rib <= 4; ++rib) {
            const double t = mid + rib * 0.1;
            cairo_move_to(cr, cx + (irx + 2) * std::cos(t), cy + (iry + 1) * std::sin(t));
            cairo_line_to(cr, cx + (rx - 2) * std::cos(t), cy + (ry - 1) * std::sin(t));
        }
        setColour(cr, 0x6E5AC8, 0.6);
        cairo_stroke(cr);
    }
    // The orange centre marker at the top of the rim.
    cairo_save(cr);
    ellipsePath(cr, cx, cy, rx, ry);
    ellipsePath(cr, cx, cy, irx, iry);
    cairo_clip(cr);
    cairo_rectangle(cr, cx - 5, cy - ry - 2, 10, ry - iry + 4);
    setColour(cr, kOrange);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);

    // Spokes to the rim's sides, and the faceplate over them.
    for (int side = -1; side <= 1; side += 2) {
        const double inner = cx + side * 83, outer = cx + side * (irx + 4);
        cairo_move_to(cr, inner, cy - 2);
        cairo_line_to(cr, outer, cy - 7);
        cairo_line_to(cr, outer, cy + 9);
        cairo_line_to(cr, inner, cy + 22);
        cairo_close_path(cr);
    }
    setVerticalGradient(cr, cy - 8, cy + 22, {0x3A48B2, 0x2C1570});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // The faceplate: a little wider at the top, with a bevel inside its edge.
    auto faceplate = [&](double inset) {
        const double top = 140.5 + inset, bottom = 196.5 - inset, k = 12 - inset / 2;
        const double tl = 208.5 + inset, tr = 385.5 - inset, bl = 218.5 + inset, br = 375.5 - inset;
        cairo_new_path(cr);
        cairo_move_to(cr, tl + k, top);
        cairo_line_to(cr, tr - k, top);
        cairo_curve_to(cr, tr, top, tr, top, tr - 0.2 * k, top + k);
        cairo_line_to(cr, br, bottom - k);
        cairo_curve_to(cr, br - 0.1 * k, bottom, br - 0.1 * k, bottom, br - k, bottom);
        cairo_line_to(cr, bl + k, bottom);
        cairo_curve_to(cr, bl + 0.1 * k, bottom, bl + 0.1 * k, bottom, bl, bottom - k);
        cairo_line_to(cr, tl + 0.2 * k, top + k);
        cairo_curve_to(cr, tl, top, tl, top, tl + k, top);
        cairo_close_path(cr);
    };
    faceplate(0);
    setVerticalGradient(cr, 140, 197, {0x4A5CC8, 0x2E3AA6, 0x2C1570});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_stroke(cr);
    faceplate(4);
    setColour(cr, kCyan, 0.35);
    cairo_stroke(cr);
    cairo_move_to(cr, 226, 142.5);
    cairo_line_to(cr, 368, 142.5);
    setColour(cr, 0xFFFFFF, 0.3);
    cairo_stroke(cr);
    // The hub's light.
    ellipsePath(cr, cx, 172, 12, 8);
    setColour(cr, kInk);
    cairo_fill(cr);
    ellipsePath(cr, cx, 171, 9, 6);
    setColour(cr, 0x7FE8FF);
    cairo_fill(cr);

    // Buttons: connectors come from the right for button 3, from the left
    // for 4, from above for 7 and 8, from outside for 5 and 6.
    wheelButton(cr, 246, 160, 6.5);   // slot 2
    wheelButton(cr, 351, 160, 6.5);   // slot 3
    wheelButton(cr, 230, 182, 6.5);   // slot 6
    wheelButton(cr, 365, 182, 6.5);   // slot 7
    wheelButton(cr, 149.5, 138, 6.5);  // slot 4; slot 5 is the pod's Duplicate button
    // Buttons 9 and 10 on the rim's left grip, 13 on the base.
    wheelButton(cr, 187, 116, 6.5);  // slot 8
    wheelButton(cr, 170, 168, 6.5);  // slot 9
    wheelButton(cr, 322, 308, 6.5);  // slot 12

    // The paddle pod at the left with buttons 11 and 12 (slots 10 and 11),
    // on an arm to the base like the shifter's.
    cairo_move_to(cr, 147, 278);
    cairo_line_to(cr, 147, 306);
    cairo_line_to(cr, 226, 306);
    setColour(cr, 0x464C64);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1);
    roundedRectangle(cr, 134.5, 206.5, 25, 72, 11);
    setVerticalGradient(cr, 206, 279, {0x3A48B2, 0x1E1650});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_stroke(cr);
    wheelButton(cr, 147, 226, 6.5);
    wheelButton(cr, 147, 258, 6.5);

    // The shifter: a pod with an up and a down button (slots 0 and 1).
    roundedRectangle(cr, 476.5, 206.5, 25, 72, 11);
    setVerticalGradient(cr, 206, 279, {0x3A48B2, 0x1E1650});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_stroke(cr);
    wheelButton(cr, 488, 226, 6.5);
    wheelButton(cr, 488, 258, 6.5);
    setColour(cr, kInk);
    chevron(cr, 488, 226, 3, true);
    chevron(cr, 488, 258, 3, false);
    cairo_restore(cr);
}

// Above the axis page's steering boxes: the wheel with arrows for both
// turns. Its left margin stays plain (the button page shows it).
void drawAxisSteering(cairo_t* cr) {
    const Sprite& s = kAxisSteeringPicture;
    fillSprite(cr, s, kGroundConfig);
    const double cx = s.x + 79.5, cy = s.y + 72, r = 54;
    drawFrontWheel(cr, cx, cy, r, 0, false);
    cairo_set_line_width(cr, 2.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, kCyan);
    for (int side = -1; side <= 1; side += 2) {
        const double from = -kPi / 2 + side * 0.38, to = -kPi / 2 + side * 1.0;
        cairo_new_path(cr);
        if (side < 0)
            cairo_arc_negative(cr, cx, cy, r + 8, from, to);
        else
            cairo_arc(cr, cx, cy, r + 8, from, to);
        cairo_stroke(cr);
        const double tip = to + side * 0.05;
        const double px = cx + (r + 8) * std::cos(tip), py = cy + (r + 8) * std::sin(tip);
        const double heading = tip + side * kPi / 2;
        cairo_move_to(cr, px + 6 * std::cos(heading), py + 6 * std::sin(heading));
        cairo_line_to(cr, px + 5 * std::cos(heading + 2.3), py + 5 * std::sin(heading + 2.3));
        cairo_line_to(cr, px + 5 * std::cos(heading - 2.3), py + 5 * std::sin(heading - 2.3));
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

void drawAxisPedals(cairo_t* cr) {
    const Sprite& first = kAxisFirstPedalPicture;
    fillSprite(cr, first, kGroundConfig);
    // Its last rows stay plain: they lie in the button page's picture.
    drawPedal(cr, first.x, first.y, first.width, first.height - 3, kGroundConfig, false, kOrange);
    const Sprite& second = kAxisSecondPedalPicture;
    drawPedal(cr, second.x, second.y, second.width, second.height, kGroundConfig, false, kLime);
}

void drawTab(cairo_t* cr, const Sprite& s, Look look, Glyph glyph, bool iconHole) {
    drawPlate(cr, s.x + 1, s.y + 1, s.width - 2, s.height - 2, kSlot, look, 7);
    pixelRectangle(cr, s.x, s.y, s.width, 1);
    pixelRectangle(cr, s.x, s.y + s.height - 1, s.width, 1);
    pixelRectangle(cr, s.x, s.y, 1, s.height);
    pixelRectangle(cr, s.x + s.width - 1, s.y, 1, s.height);
    setColour(cr, kSlot);
    cairo_fill(cr);
    // The selected tab's orange bar along its foot, short of the icon's frame.
    if (look == Look::Selected) {
        cairo_rectangle(cr, s.x + 10, s.y + s.height - 6, (iconHole ? 37 : s.width - 20), 2);
        setColour(cr, kOrange);
        cairo_fill(cr);
    }
    cairo_save(cr);
    setColour(cr, glyphColour(look));
    if (iconHole) {
        // The game's icon shows through the hole at (52, 20)-(84, 52).
        cairo_translate(cr, s.x + 27, s.y + 28);
        drawGlyph(cr, glyph, 26);
        cairo_restore(cr);
        cairo_rectangle(cr, s.x + 49.5, s.y + 17.5, 37, 37);
        setColour(cr, glyphColour(look), 0.75);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        pixelRectangle(cr, s.x + 51, s.y + 19, 34, 34);
        setColour(cr, kInk);
        cairo_fill(cr);
        return;
    }
    // The D-pad tab is lower than the others: its glyph stays centred.
    cairo_translate(cr, s.x + 44, s.y + 28 - (57 - s.height) / 2.0);
    drawGlyph(cr, glyph, s.height < 57 ? 26 : 32);
    cairo_restore(cr);
}

void drawTabs(cairo_t* cr) {
    struct Tab {
        Sprite normal, hovered, selected;
        Glyph glyph;
        bool hole;
    };
    const Tab tabs[] = {
        {kTabButtonsNormal, kTabButtonsHovered, kTabButtonsSelected, Glyph::Buttons, false},
        {kTabPovNormal, kTabPovHovered, kTabPovSelected, Glyph::DPad, false},
        {kTabAxisNormal, kTabAxisHovered, kTabAxisSelected, Glyph::Curve, false},
        {kTabTestNormal, kTabTestHovered, kTabTestSelected, Glyph::Gauge, false},
        {kTabPresetsNormal, kTabPresetsHovered, kTabPresetsSelected, Glyph::List, true},
    };
    for (const Tab& tab : tabs) {
        drawTab(cr, tab.normal, Look::Normal, tab.glyph, tab.hole);
        drawTab(cr, tab.hovered, Look::Hovered, tab.glyph, tab.hole);
        drawTab(cr, tab.selected, Look::Selected, tab.glyph, tab.hole);
    }
}

// The calibration dialog's half wheel and buttons.
void drawCalibration(cairo_t* cr) {
    const Sprite& s = kCalibrationWheel;
    cairo_save(cr);
    pixelRectangle(cr, s.x, s.y, s.width, s.height);
    cairo_clip(cr);
    setColour(cr, kGroundTest);
    cairo_paint(cr);
    const double cx = s.x + 44, cy = s.y + s.height, r = 43;
    drawFrontWheel(cr, cx, cy, r, 0, false);
    // A scale along the rim for the marker.
    cairo_set_line_width(cr, 1);
    setColour(cr, kInk, 0.8);
    for (int i = -6; i <= 6; ++i) {
        const double a = -kPi / 2 + i * kPi / 14;
        cairo_move_to(cr, cx + (r - 3) * std::cos(a), cy + (r - 3) * std::sin(a));
        cairo_line_to(cr, cx + (r - 7) * std::cos(a), cy + (r - 7) * std::sin(a));
    }
    cairo_stroke(cr);
    cairo_restore(cr);

    button(cr, kCalibrationConfirmRest, kGroundTest, Look::Normal, Glyph::Target, 20);
    button(cr, kCalibrationConfirmStore, kGroundTest, Look::Normal, Glyph::Check, 18);
    button(cr, kCalibrationCancel, kGroundTest, Look::Normal, Glyph::Cross, 14);
}

// One piece of the wheel's button pod: a dark square with a raised round
// cap lit from above, the glyph, if any, sunk into it.
void podButton(cairo_t* cr, const Sprite& s, std::optional<Glyph> glyph, double glyphSize) {
    roundedRectangle(cr, s.x + 0.5, s.y + 0.5, s.width - 1, s.height - 1, 5);
    setVerticalGradient(cr, s.y, s.bottom(), {0x2A2E74, 0x161448});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    const double cx = s.x + s.width / 2.0, cy = s.y + s.height / 2.0, r = s.width / 2.0 - 4;
    cairo_arc(cr, cx, cy + 1.5, r + 1, 0, 2 * kPi);
    setColour(cr, kInk);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    setVerticalGradient(cr, cy - r, cy + r, {0xD2D6E4, 0x8A92B0, 0x5A6080});
    cairo_fill_preserve(cr);
    setColour(cr, kCyan, 0.8);
    cairo_stroke(cr);
    if (!glyph) return;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    setColour(cr, 0x1A1E4C);
    drawGlyph(cr, *glyph, glyphSize);
    cairo_restore(cr);
}

void drawPresetButtons(cairo_t* cr) {
    button(cr, kImportFile, kGroundPresets, Look::Normal, Glyph::OpenFile, 14);
    button(cr, kExportFile, kGroundPresets, Look::Normal, Glyph::SaveFile, 13);
    button(cr, kCopyToPresets, kGroundPresets, Look::Normal, Glyph::ArrowLeft, 20);
    button(cr, kCopyToFile, kGroundPresets, Look::Normal, Glyph::ArrowRight, 20);
    // The delete buttons of the import/export dialog: a bin, and under it an
    // arrow to the list it empties.
    for (const Sprite* d : {&kDeletePresets, &kDeleteFromFile}) {
        drawPlate(cr, d->x, d->y, d->width, d->height, kGroundPresets, Look::Normal, 3);
        cairo_save(cr);
        cairo_translate(cr, d->x + d->width / 2.0, d->y + 14);
        setColour(cr, glyphColour(Look::Normal));
        drawGlyph(cr, Glyph::Delete, 16);
        cairo_restore(cr);
        cairo_save(cr);
        cairo_translate(cr, d->x + d->width / 2.0, d->y + d->height - 9);
        setColour(cr, kOrange);
        drawGlyph(cr, d == &kDeletePresets ? Glyph::ArrowLeft : Glyph::ArrowRight, 12);
        cairo_restore(cr);
    }
    button(cr, kImportExportUndo, kGroundPresets, Look::Normal, Glyph::Undo, 24);
}

// List rows: the amber of the list with a dark rule at the top; the selected
// row violet with a light rule. Rows are cut at whatever height the list
// gives them, so they change only at their top.
void drawListRows(cairo_t* cr) {
    const Sprite& row = kListRow;
    fillSprite(cr, row, 0x83480F);
    pixelRectangle(cr, row.x, row.y, row.width, 1);
    setColour(cr, 0x462406);
    cairo_fill(cr);
    pixelRectangle(cr, row.x, row.y + 1, row.width, 1);
    setColour(cr, 0x9A5A18);
    cairo_fill(cr);

    const Sprite& sel = kListRowSelected;
    fillSprite(cr, sel, 0x5636AA);
    pixelRectangle(cr, sel.x, sel.y, sel.width, 1);
    setColour(cr, kLavender);
    cairo_fill(cr);
}

void drawRecordButton(cairo_t* cr, const Sprite& s, bool down) {
    drawPlate(cr, s.x, s.y, s.width, s.height, kGroundConfig, down ? Look::Pressed : Look::Normal, 3);
    const double cx = s.x + s.width / 2.0, cy = s.y + s.height / 2.0 + (down ? 1 : 0);
    if (down) drawGlow(cr, cx, cy, 9, kRed, 0.7);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    setColour(cr, down ? 0xFF5040 : 0x8A1E28);
    drawGlyph(cr, Glyph::Record, 12);
    cairo_restore(cr);
    if (down) {
        cairo_arc(cr, cx - 1.2, cy - 1.2, 1.3, 0, 2 * kPi);
        setColour(cr, 0xFFD2AA);
        cairo_fill(cr);
    }
}

void drawConfigButtons(cairo_t* cr) {
    drawRecordButton(cr, kRecordButtonUp, false);
    drawRecordButton(cr, kRecordButtonDown, true);
    button(cr, kClearButtonNormal, kGroundConfig, Look::Normal, Glyph::Erase, 20);
    button(cr, kClearButtonPressed, kGroundConfig, Look::Pressed, Glyph::Erase, 20);
    button(cr, kClearButtonFocused, kGroundConfig, Look::Focused, Glyph::Erase, 20);
    button(cr, kResetNormal, kGroundConfig, Look::Normal, Glyph::Reset, 12);
    button(cr, kResetPressed, kGroundConfig, Look::Pressed, Glyph::Reset, 12);
    button(cr, kResetFocused, kGroundConfig, Look::Focused, Glyph::Reset, 12);
    button(cr, kCurveTypeNormal, kGroundConfig, Look::Normal, Glyph::CurveType, 12);
    button(cr, kCurveTypePressed, kGroundConfig, Look::Pressed, Glyph::CurveType, 12);
    button(cr, kCurveTypeFocused, kGroundConfig, Look::Focused, Glyph::CurveType, 12);

    // The pedal link toggle: two small pedals, their link and a lamp.
    for (int linked = 0; linked <= 1; ++linked) {
        const Sprite& s = linked ? kPedalsLinked : kPedalsSeparate;
        drawPlate(cr, s.x, s.y, s.width, s.height, kGroundConfig, linked ? Look::Hovered : Look::Normal, 4);
        const uint32_t ink = linked ? 0xFFFFFF : glyphColour(Look::Normal);
        for (double px : {s.x + 10.0, s.x + 56.0}) {
            roundedRectangle(cr, px, s.y + 3.5, 9, 10, 2);
            setColour(cr, ink);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        }
        if (linked) {
            drawLinkSign(cr, s.x + 24, s.y + 3, 27, 11, 0x2E3A96, kGold);
        } else {
            cairo_set_line_width(cr, 1.6);
            setColour(cr, ink);
            roundedRectangle(cr, s.x + 23.5, s.y + 5.5, 11, 6, 3);
            roundedRectangle(cr, s.x + 40.5, s.y + 5.5, 11, 6, 3);
            cairo_stroke(cr);
        }
        const double lx = s.x + s.width - 14, ly = s.y + s.height / 2.0;
        if (linked) drawGlow(cr, lx, ly, 7, kLime, 0.6);
        cairo_arc(cr, lx, ly, 3.2, 0, 2 * kPi);
        setColour(cr, linked ? 0x78FF8C : 0x00461E);
        cairo_fill_preserve(cr);
        setColour(cr, kInk);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

void drawLamp(cairo_t* cr, const Sprite& s, bool on, bool up) {
    fillSprite(cr, s, kInk);
    const double cx = s.x + 6, cy = s.y + 6;
    if (on) drawGlow(cr, cx, cy, 6, kCyan, 0.8);
    cairo_arc(cr, cx, cy, 4.3, 0, 2 * kPi);
    setColour(cr, on ? kCyan : 0x0A3A50);
    cairo_fill(cr);
    setColour(cr, on ? 0xFFFFFF : 0x06081A);
    chevron(cr, cx, cy, 2.2, up);
}

void drawTestSprites(cairo_t* cr) {
    button(cr, kCalibrationButtonNormal, kGroundTest, Look::Normal, Glyph::Calibrate, 28);
    button(cr, kCalibrationButtonPressed, kGroundTest, Look::Pressed, Glyph::Calibrate, 28);
    button(cr, kCalibrationButtonFocused, kGroundTest, Look::Focused, Glyph::Calibrate, 28);

    for (int lit = 0; lit <= 1; ++lit) {
        const Sprite& s = lit ? kKeyboardIndicatorLit : kKeyboardIndicatorNormal;
        drawPlate(cr, s.x, s.y, s.width, s.height, kGroundTest, lit ? Look::Lit : Look::Normal, 8);
        if (lit) drawGlow(cr, s.x + s.width / 2.0, s.y + s.height / 2.0, 40, kGold, 0.35);
        cairo_save(cr);
        cairo_translate(cr, s.x + s.width / 2.0, s.y + s.height / 2.0);
        setColour(cr, lit ? 0xFFF8DC : glyphColour(Look::Normal));
        drawGlyph(cr, Glyph::Keyboard, 62);
        cairo_restore(cr);
    }

    // The lit dot of a button on the wheel: an amber lamp in a dark bezel.
    const Sprite& dot = kButtonDot;
    roundedRectangle(cr, dot.x, dot.y, dot.width, dot.height, 3.5);
    setColour(cr, kInk);
    cairo_fill(cr);
    drawGlow(cr, dot.x + 7.5, dot.y + 7.5, 7.5, kGold, 0.9);
    cairo_arc(cr, dot.x + 7.5, dot.y + 7.5, 4, 0, 2 * kPi);
    setColour(cr, 0xFFE696);
    cairo_fill(cr);
    cairo_arc(cr, dot.x + 6.5, dot.y + 6.5, 1.5, 0, 2 * kPi);
    setColour(cr, 0xFFFFFF);
    cairo_fill(cr);

    const Sprite& marker = kSteeringMarker;
    fillSprite(cr, marker, kGroundTest);
    drawGlow(cr, marker.x + 7.5, marker.y + 7.5, 7.5, kOrange, 0.9);
    cairo_arc(cr, marker.x + 7.5, marker.y + 7.5, 3.5, 0, 2 * kPi);
    setColour(cr, 0xFFD2AA);
    cairo_fill(cr);

    drawLamp(cr, kFirstLampOff, false, true);
    drawLamp(cr, kFirstLampOn, true, true);
    drawLamp(cr, kSecondLampOff, false, false);
    drawLamp(cr, kSecondLampOn, true, false);

    // Bar slices: bright in the middle, darker at the edges; one row, each
    // column on whole pixels of the set.
    const uint32_t firstBar[8] = {0x640A10, 0xB4141E, 0xFF5A1F, 0xFF9650, 0xFF9650, 0xFF5A1F, 0xB4141E, 0x640A10};
    const uint32_t secondBar[8] = {0x00461E, 0x008232, 0x00C846, 0x78FF8C, 0x78FF8C, 0x00C846, 0x008232, 0x00461E};
    for (int i = 0; i < 8; ++i) {
        pixelRectangle(cr, kFirstPedalBar.x + i, kFirstPedalBar.y, 1, 1);
        setColour(cr, firstBar[i]);
        cairo_fill(cr);
        pixelRectangle(cr, kSecondPedalBar.x + i, kSecondPedalBar.y, 1, 1);
        setColour(cr, secondBar[i]);
        cairo_fill(cr);
    }

    drawPedal(cr, kFirstPedalReleased.x, kFirstPedalReleased.y, kFirstPedalReleased.width,
              kFirstPedalReleased.height, kGaugePanel, false, kOrange);
    drawPedal(cr, kFirstPedalPressed.x, kFirstPedalPressed.y, kFirstPedalPressed.width, kFirstPedalPressed.height,
              kGaugePanel, true, kOrange);
    drawPedal(cr, kSecondPedalReleased.x, kSecondPedalReleased.y, kSecondPedalReleased.width,
              kSecondPedalReleased.height, kGaugePanel, false, kLime);
    drawPedal(cr, kSecondPedalPressed.x, kSecondPedalPressed.y, kSecondPedalPressed.width,
              kSecondPedalPressed.height, kGaugePanel, true, kLime);
    drawLinkSign(cr, kPedalLinkSign.x, kPedalLinkSign.y, kPedalLinkSign.width, kPedalLinkSign.height, kGaugePanel,
                 kGold);
}

// The gauge's end cap and its mask, made exact after quantization: the cap
// is black around it, the mask black under it and white around it. In a
// scaled set the cap is drawn at the size of the set's cap rectangle, and
// the mask is written at that same size from the mask's corner: at 150 %
// the mask's own rectangle is a row shorter (23 and 22 rows, each edge
// rounded on its own), and a copy of the cap's size then still reads a mask
// that matches the cap pixel for pixel. The row beyond the mask's rectangle
// is free in every set (the link sign lies two 100 % rows further down).
void putGaugeCap(Image& skin, int percent) {
    const int x = pictureInSet(kGaugeCap.x, percent), y = pictureInSet(kGaugeCap.y, percent);
    const int maskY = pictureInSet(kGaugeCapMask.y, percent);
    Canvas canvas(pictureInSet(kGaugeCap.right(), percent) - x, pictureInSet(kGaugeCap.bottom(), percent) - y);
    cairo_t* cr = canvas.cr();
    cairo_scale(cr, percent / 100.0, percent / 100.0);
    roundedRectangle(cr, 1.5, 2.5, 18, 10, 5);
    setVerticalGradient(cr, 2, 13, {0xFFFFFF, 0xAAF0FF, 0x5FD6FF});
    cairo_fill_preserve(cr);
    setColour(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_move_to(cr, 5, 7.5);
    cairo_line_to(cr, 16, 7.5);
    setColour(cr, 0x0A6496);
    cairo_stroke(cr);
    const Image cap = canvas.image();
    for (int row = 0; row < cap.height; ++row) {
        for (int column = 0; column < cap.width; ++column) {
            const uint8_t* px = &cap.bgra[(size_t(row) * cap.width + column) * 4];
            const bool inside = px[3] >= 128;
            uint8_t* out = &skin.bgra[(size_t(y + row) * skin.width + x + column) * 4];
            uint8_t* mask = &skin.bgra[(size_t(maskY + row) * skin.width + x + column) * 4];
            for (int c = 0; c < 3; ++c) {
                out[c] = inside ? px[c] : 0;
                mask[c] = inside ? 0 : 255;
            }
            out[3] = mask[3] = 255;
        }
    }
}

// A dim plate from the corner on, whatever size of it a disabled button
// shows.
void drawDisabledCorner(cairo_t* cr) {
    fillSprite(cr, kDisabledCorner, 0x282C3C);
    pixelRectangle(cr, 0, 0, kDisabledCorner.width, 1);
    pixelRectangle(cr, 0, 0, 1, kDisabledCorner.height);
    setColour(cr, 0x464C64);
    cairo_fill(cr);
}

}  // namespace

void drawWheelWithPod(cairo_t* cr, bool actionGlyphs) {
    drawButtonPageWheel(cr);
    struct Piece {
        const Sprite& place;
        Glyph glyph;
        double size;
    };
    const Piece pod[] = {
        {kPresetNew, Glyph::NewPreset, 17}, {kPresetDuplicate, Glyph::Duplicate, 17},
        {kPresetDelete, Glyph::Delete, 17}, {kPresetUndo, Glyph::Undo, 17},
        {kPresetPrint, Glyph::Print, 17},   {kPresetImportExport, Glyph::ImportExport, 17},
        {kPresetBrowse, Glyph::Folder, 10},
    };
    for (const Piece& p : pod)
        podButton(cr, p.place, actionGlyphs ? std::optional<Glyph>(p.glyph) : std::nullopt, p.size);
}

namespace {

IndexedImage drawSkin(int percent) {
    SetCanvas canvas(913, 345, percent);
    cairo_t* cr = canvas.cr();
    setColour(cr, kGroundConfig);
    cairo_paint(cr);
    // The presets page's actions are the wheel's right-hand button pod (their
    // pictures lie on the wheel, and button 6's connector ends on Duplicate).
    drawWheelWithPod(cr, true);
    drawAxisSteering(cr);
    drawAxisPedals(cr);
    drawTabs(cr);
    drawCalibration(cr);
    drawPresetButtons(cr);
    drawListRows(cr);
    drawConfigButtons(cr);
    drawTestSprites(cr);
    drawDisabledCorner(cr);
    Image skin = canvas.image();
    putGaugeCap(skin, percent);
    return quantize(skin);
}

}  // namespace

bool writeCplSkin(const std::string& dir) { return writeBitmapSets(dir, kSkinBitmap, drawSkin); }

}  // namespace artwork
