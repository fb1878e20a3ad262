// The curve boxes and their anchors: painting, the anchor drag with the
// mouse captured and the cursor confined to the box, reset and the curve
// type switch. They edit the current preset directly.
#include "cpl/pages/curve_box.h"

#include <windowsx.h>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/pages/curve_editor_logic.h"
#include "cpl/res/cpl_resource.h"
#include "preset/sensitivity.h"

namespace zentra {

namespace {

constexpr int kBoxSize = 90;   // the window, with its sunken edge
constexpr int kBoxUnits = 86;  // its client area at 96 DPI, the box's own units
constexpr COLORREF kBoxColour = RGB(16, 4, 45);
constexpr COLORREF kMarkerColour = RGB(255, 64, 64);  // apart from the green curve and the gold anchors
constexpr int kMarkerRadius = 3;

struct CurveBoxes {
    HWND boxes[kAxisSlots];  // by slot, while they exist
    bool dragging;
    HWND dragAnchor;
    HICON anchorIcon;  // shared by every anchor and box
    int anchors;       // anchors alive: the icon goes with the last one
    HPEN curvePen;
    HPEN diagonalPen;
    bool live;  // the wheel's axes are known: the boxes show their markers
    WheelAxes axes;
    bool pedalsLinked;
    BoxPoint marker[kAxisSlots];  // where each box drew its marker last
};
CurveBoxes g_boxes;

Preset& preset() { return panelState().currentPreset; }

int slotOfBox(HWND box) {
    for (int s = 0; s < kAxisSlots; ++s)
        if (box && g_boxes.boxes[s] == box) return s;
    return -1;
}

HWND anchorWindow(int slot, int anchor) {
    return slot >= 0 && slot < kAxisSlots ? GetDlgItem(g_boxes.boxes[slot], anchorControlId(slot, anchor)) : nullptr;
}

// Moves the anchor window to its stored value; the caller draws the box.
void moveAnchor(int slot, int anchor) {
    HWND window = anchorWindow(slot, anchor);
    if (!window) return;
    const BoxPoint corner = anchorWindowCorner(slot, storedAnchor(preset(), slot, anchor));
    MoveControl(window, corner.x, corner.y, kAnchorSize, kAnchorSize, FALSE);
}

// Where the wheel's axis of `slot` stands on the curve the wheel is sent.
BoxPoint liveMarker(int slot) {
    SensitivityTable table;
    buildSensitivityTable(table, preset(), sentSlotOf(slot));
    const int input = markerInput(slot, g_boxes.axes, g_boxes.pedalsLinked);
    return markerPoint(slot, input, table.entry[input]);
}

void drawMarker(HDC dc, BoxPoint at) {
    HBRUSH brush = CreateSolidBrush(kMarkerColour);
    HPEN pen = CreatePen(PS_SOLID, 1, kMarkerColour);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    Ellipse(dc, scaledX(at.x - kMarkerRadius), scaledY(at.y - kMarkerRadius), scaledX(at.x + kMarkerRadius + 1),
            scaledY(at.y + kMarkerRadius + 1));
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// The anchor's icon (loaded at the panel's scale, drawn at that size) with
// its corner at the 96-DPI point (x, y) of a box.
void drawIcon(HDC dc, int x, int y) {
    if (g_boxes.anchorIcon) DrawIconEx(dc, scaledX(x), scaledY(y), g_boxes.anchorIcon, 0, 0, 0, nullptr, DI_NORMAL);
}

// The whole picture of a box, drawn off screen and copied in one go so
// that a drag does not flicker.
void paintBox(HWND box, HDC dc) {
    const int slot = slotOfBox(box);
    if (slot < 0) return;
    RECT all{};
    GetClientRect(box, &all);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP picture = CreateCompatibleBitmap(dc, all.right, all.bottom);
    HGDIOBJ oldBitmap = SelectObject(memory, picture);
    HBRUSH fill = CreateSolidBrush(kBoxColour);
    FillRect(memory, &all, fill);
    DeleteObject(fill);
    const CurveDrawing d = curveDrawing(preset(), slot);
    HGDIOBJ oldPen = SelectObject(memory, GetStockObject(NULL_PEN));
    if (g_boxes.diagonalPen) {
        // The dotted pen's gaps stay the box's colour.
        SetBkColor(memory, kBoxColour);
        SelectObject(memory, g_boxes.diagonalPen);
        MoveToEx(memory, scaledX(d.diagonal[0].x), scaledY(d.diagonal[0].y), nullptr);
        LineTo(memory, scaledX(d.diagonal[1].x), scaledY(d.diagonal[1].y));
    }
    if (g_boxes.curvePen) {
        SelectObject(memory, g_boxes.curvePen);
        POINT points[4];
        for (int i = 0; i < 4; ++i) points[i] = POINT{scaledX(d.points[i].x), scaledY(d.points[i].y)};
        if (d.bezier)
            PolyBezier(memory, points, 4);
        else
            Polyline(memory, points, 4);
    }
    SelectObject(memory, oldPen);
    if (g_boxes.live) {
        g_boxes.marker[slot] = liveMarker(slot);
        drawMarker(memory, g_boxes.marker[slot]);
    }
    for (int anchor : {kFirstAnchor, kSecondAnchor}) {
        const BoxPoint corner = anchorWindowCorner(slot, storedAnchor(preset(), slot, anchor));
        drawIcon(memory, corner.x, corner.y);
    }
    BitBlt(dc, 0, 0, all.right, all.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(picture);
    DeleteDC(memory);
}

void startDrag(HWND anchor) {
    HWND box = GetParent(anchor);
    g_boxes.dragging = true;
    g_boxes.dragAnchor = anchor;
    SetCapture(box);
    RECT confine;
    GetWindowRect(box, &confine);
    ClipCursor(&confine);
}

void dragTo(HWND box, LPARAM where) {
    if (!g_boxes.dragging || GetParent(g_boxes.dragAnchor) != box) return;
    int slot = 0, anchor = 0;
    if (!anchorOfControl(GetDlgCtrlID(g_boxes.dragAnchor), slot, anchor) || slotOfBox(box) != slot) return;
    // The pointer at 96 DPI: the same gesture stores the same values at every scale.
    const POINT at = pointerAt96(where);
    const int linked = dragAnchorTo(preset(), slot, anchor, at.x, at.y);
    moveAnchor(slot, anchor);
    if (linked >= 0) {
        placeAnchors(linked);
        drawCurveBox(g_boxes.boxes[linked]);
    }
    drawCurveBox(box);
}

LRESULT onBoxCreate(HWND box, const CREATESTRUCTA* create) {
    const int number = create->lpCreateParams ? *static_cast<const int*>(create->lpCreateParams) : 0;
    const int slot = number - 1;
    if (slot < 0 || slot >= kAxisSlots) return -1;
    g_boxes.boxes[slot] = box;
    for (int anchor : {kFirstAnchor, kSecondAnchor}) {
        const BoxPoint corner = anchorWindowCorner(slot, storedAnchor(preset(), slot, anchor));
        CreateScaledWindow(WS_EX_TRANSPARENT, "ANCHORCUSTOM", WS_CHILD | WS_VISIBLE, corner.x, corner.y, kAnchorSize,
                           kAnchorSize, box, anchorControlId(slot, anchor));
    }
    return 0;
}

void onBoxDestroy(HWND box) {
    // A page closed in the middle of a drag must not leave the pointer
    // captured or confined to a box that is gone.
    if (g_boxes.dragging && GetParent(g_boxes.dragAnchor) == box) endAnchorDrag();
    const int slot = slotOfBox(box);
    if (slot >= 0) g_boxes.boxes[slot] = nullptr;
    g_boxes.live = false;  // the page is closing
}

}  // namespace

HWND createCurveBox(HWND page, int x, int y, int id, int boxNumber) {
    HWND box = CreateScaledWindow(WS_EX_CLIENTEDGE | WS_EX_TRANSPARENT, "SENSIBCUSTOM", WS_CHILD | WS_VISIBLE, x, y,
                                  kBoxSize, kBoxSize, page, id, &boxNumber);
    if (!box || isIdentity(skinScale())) return box;
    // The box's own units fill its client area at every scale: the client
    // area is the scaled inside, the sunken edge (the same few pixels at
    // every scale) around it.
    RECT outside{}, inside{};
    GetWindowRect(box, &outside);
    GetClientRect(box, &inside);
    const int edgeX = (outside.right - outside.left - inside.right) / 2;
    const int edgeY = (outside.bottom - outside.top - inside.bottom) / 2;
    const int border = (kBoxSize - kBoxUnits) / 2;
    const RECT client = scaledRect(x + border, y + border, kBoxUnits, kBoxUnits);
    MoveWindow(box, client.left - edgeX, client.top - edgeY, client.right - client.left + 2 * edgeX,
               client.bottom - client.top + 2 * edgeY, FALSE);
    return box;
}

void setCurvePens(HPEN curve, HPEN diagonal) {
    g_boxes.curvePen = curve;
    g_boxes.diagonalPen = diagonal;
}

void placeAnchors(int slot) {
    if (slot < 0 || slot >= kAxisSlots) return;
    pullFirstAnchor(preset(), slot);
    moveAnchor(slot, kFirstAnchor);
    moveAnchor(slot, kSecondAnchor);
}

void drawCurveBox(HWND box) {
    if (!box) return;
    HDC dc = GetDC(box);
    paintBox(box, dc);
    ReleaseDC(box, dc);
}

void resetCurve(int boxNumber) {
    const int slot = boxNumber - 1;
    if (slot < 0 || slot >= kAxisSlots) return;
    resetCurveAnchors(preset(), slot);
    moveAnchor(slot, kFirstAnchor);
    moveAnchor(slot, kSecondAnchor);
    drawCurveBox(g_boxes.boxes[slot]);
}

uint32_t toggleCurveType(int boxNumber) {
    const int slot = boxNumber - 1;
    if (slot < 0 || slot >= kAxisSlots) return 0;
    const uint32_t type = flipCurveType(preset(), slot);
    placeAnchors(slot);
    drawCurveBox(g_boxes.boxes[slot]);
    return type;
}

void showWheelAxes(const WheelAxes& axes, bool pedalsLinked) {
    const bool shown = g_boxes.live;
    // A wheel at rest costs nothing more: an edit of a curve draws its box,
    // and with it the marker, itself.
    if (shown && pedalsLinked == g_boxes.pedalsLinked && axes.x == g_boxes.axes.x && axes.y == g_boxes.axes.y &&
        axes.z == g_boxes.axes.z && axes.rz == g_boxes.axes.rz)
        return;
    g_boxes.live = true;
    g_boxes.axes = axes;
    g_boxes.pedalsLinked = pedalsLinked;
    for (int slot = 0; slot < kAxisSlots; ++slot)
        if (!shown || liveMarker(slot) != g_boxes.marker[slot]) drawCurveBox(g_boxes.boxes[slot]);
}

bool anchorDragging() { return g_boxes.dragging; }

void endAnchorDrag() {
    const bool was = g_boxes.dragging;
    g_boxes.dragging = false;
    g_boxes.dragAnchor = nullptr;
    if (!was) return;
    if (slotOfBox(GetCapture()) >= 0) ReleaseCapture();
    ClipCursor(nullptr);
}

LRESULT CALLBACK AnchorCustomProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // One icon for all anchors: loaded with the first, destroyed with the last.
        if (g_boxes.anchors++ == 0)
            g_boxes.anchorIcon = HICON(LoadImageA(cplModuleInstance(), MAKEINTRESOURCEA(IDI_CPL_MARKER), IMAGE_ICON,
                                                  scaledX(kAnchorSize), scaledY(kAnchorSize), 0));
        return 0;
    case WM_DESTROY:
        if (--g_boxes.anchors == 0 && g_boxes.anchorIcon) {
            DestroyIcon(g_boxes.anchorIcon);
            g_boxes.anchorIcon = nullptr;
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        drawIcon(dc, 0, 0);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_SETCURSOR:
        SetCursor(LoadCursorA(cplModuleInstance(), MAKEINTRESOURCEA(IDC_CPL_ANCHOR)));
        return TRUE;
    case WM_LBUTTONDOWN: startDrag(window); return 0;
    case WM_LBUTTONUP: endAnchorDrag(); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK SensibCustomProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onBoxCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY: onBoxDestroy(window); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers the whole box
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        paintBox(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_MOUSEMOVE: dragTo(window, lParam); return 0;
    case WM_LBUTTONUP:
        if (g_boxes.dragging) endAnchorDrag();
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away (another program, a menu): the drag is over.
        if (g_boxes.dragging && HWND(lParam) != window) endAnchorDrag();
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace zentra
