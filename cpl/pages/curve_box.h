// The curve boxes ("SENSIBCUSTOM") of the axis page and their two draggable
// anchors ("ANCHORCUSTOM") each: a box draws one axis slot's curve of the
// current preset, and dragging an anchor edits it there. The geometry is in
// curve_editor_logic.
#pragma once

#include <windows.h>

#include <cstdint>

#include "cpl/pages/curve_editor_logic.h"

namespace zentra {

// Creates box number `boxNumber` (1-4, slot boxNumber - 1) with control id
// `id` on `page`, with its two anchors at the stored values.
HWND createCurveBox(HWND page, int x, int y, int id, int boxNumber);

// The pens the boxes draw with (owned by the page; null before it made
// them or after it deleted them).
void setCurvePens(HPEN curve, HPEN diagonal);

// Moves the slot's anchor windows to the stored values, after pulling a
// first anchor back to the second in linear mode.
void placeAnchors(int slot);
// Draws a box at once: background, reference diagonal, curve, anchors.
void drawCurveBox(HWND box);
// The default anchors for box `boxNumber`, shown at once.
void resetCurve(int boxNumber);
// Switches box `boxNumber`'s curve type, places its anchors again and
// draws it; returns the new type.
uint32_t toggleCurveType(int boxNumber);

// The wheel's axes now, for the live markers (pedals read linked or not as
// the page's toggle says): each box shows where its axis stands on its
// curve, with the output of the table the wheel is sent. Only the boxes
// whose marker moved are drawn again; a drag or a button redraws its box
// with the marker on the new curve. Until the first call, and once a box
// is destroyed, no marker is shown.
void showWheelAxes(const WheelAxes& axes, bool pedalsLinked);

// An anchor drag in progress: the mouse is captured by its box and the
// cursor confined to it.
bool anchorDragging();
// Ends a drag in progress: releases the capture and the confinement.
void endAnchorDrag();

}  // namespace zentra
