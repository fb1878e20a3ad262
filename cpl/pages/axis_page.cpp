// The axis page ("SENSWINDOW"): the four curve boxes of the current preset,
// their reset and curve-type buttons, the link-pedals toggle and the four
// axis-action selectors. It edits the current preset and, when it closes,
// writes its carried fields back and puts the preset into the table. The
// decisions are in axis_page_logic, the boxes in curve_box.
#include <windows.h>

#include <commctrl.h>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/direct_input.h"
#include "cpl/frame/gdi_tally.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/pages/axis_page_logic.h"
#include "cpl/pages/curve_box.h"
#include "cpl/pages/curve_editor_logic.h"

namespace zentra {

namespace {

constexpr int kAboutButton = 269;
constexpr int kPedalsToggle = 275;
constexpr int kAboutTooltip = 76;
constexpr UINT_PTR kWheelTimer = 1;
constexpr UINT kWheelPeriod = 100;  // ms, as the test page reads the wheel
constexpr COLORREF kCurveGreen = RGB(0, 255, 0);
constexpr COLORREF kFrameColour = RGB(89, 203, 138);
constexpr COLORREF kListColour = RGB(16, 4, 45);
constexpr COLORREF kListText = RGB(210, 255, 220);
constexpr COLORREF kListSelectedText = RGB(16, 4, 45);

struct FlatButton {
    int id, x, y, width, height;
};
// In the order they are made.
constexpr FlatButton kButtons[] = {
    {1036, 138, 312, 42, 12}, {1038, 352, 266, 42, 12}, {1039, 450, 266, 42, 12}, {1065, 182, 312, 42, 12},
    {1067, 396, 266, 42, 12}, {1068, 494, 266, 42, 12}, {kPedalsToggle, 394, 273, 99, 17},
    {kAboutButton, 10, 8, 155, 11},
};
constexpr int kCurveTypeButtons[] = {1065, 1067, 1068};

struct BoxPlace {
    int id, x, y;
};
constexpr BoxPlace kBoxes[4] = {{101, 136, 220}, {102, 226, 220}, {103, 350, 174}, {104, 448, 174}};

// The steering selectors lie between the wheel's picture and its boxes, the
// pedals' under their buttons and the link toggle; each list drops wider
// than its field so that the longest entries can be read.
struct SelectorPlace {
    int id, x, y;
};
constexpr SelectorPlace kSelectorPlaces[4] = {{1031, 136, 197}, {1032, 226, 197}, {1033, 350, 292}, {1034, 448, 292}};
constexpr int kSelectorWidth = 90;
constexpr int kSelectorDropHeight = 110;
constexpr int kSelectorDropWidth = 170;
constexpr int kSelectorItemHeight = 13;

struct AxisPage {
    HWND page;
    AxisPageState state;
    HPEN curvePen, diagonalPen, framePen;
    HFONT font;
    char tooltipText[256];
    bool wheelTimer;  // the wheel is read for the live markers
};
AxisPage g_axis;

HINSTANCE instance() { return cplModuleInstance(); }
Preset& preset() { return panelState().currentPreset; }

void setText(int id, int stringId) {
    char text[256];
    if (!LoadLocalizedString(instance(), stringId, UiLanguage, text, sizeof text)) text[0] = 0;
    SetWindowTextA(GetDlgItem(g_axis.page, id), text);
}

void createSelectors(HWND page) {
    for (const SelectorPlace& s : kSelectorPlaces) {
        HWND list = CreateScaledWindow(
            0, "COMBOBOX", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
            s.x, s.y, kSelectorWidth, kSelectorDropHeight, page, s.id);
        if (!list) continue;
        SendMessageA(list, WM_SETFONT, WPARAM(g_axis.font), FALSE);
        SendMessageA(list, CB_SETDROPPEDWIDTH, scaledX(kSelectorDropWidth), 0);
    }
}

// Empties and fills the four lists for the preset's game type and selects
// each one's axisFunction entry; a value with no entry selects nothing.
void fillSelectors() {
    const std::vector<int> strings = axisActionStrings(preset().gameType);
    for (const AxisSelector& s : kAxisSelectors) {
        HWND list = GetDlgItem(g_axis.page, s.id);
        if (!list) continue;
        SendMessageA(list, CB_RESETCONTENT, 0, 0);
        for (int id : strings) {
            char text[256];
            if (!LoadLocalizedString(instance(), id, UiLanguage, text, sizeof text)) text[0] = 0;
            SendMessageA(list, CB_ADDSTRING, 0, LPARAM(text));
        }
        SendMessageA(list, CB_SETCURSEL, WPARAM(preset().axisFunction[s.function]), 0);
    }
}

void onSelectorChanged(int id) {
    for (const AxisSelector& s : kAxisSelectors) {
        if (s.id != id) continue;
        const LRESULT chosen = SendMessageA(GetDlgItem(g_axis.page, id), CB_GETCURSEL, 0, 0);
        if (chosen >= 0) preset().axisFunction[s.function] = uint16_t(chosen);
    }
}

void applyMouseLayout(HWND page) {
    bool moved = false;
    for (int pair = 0; pair < 2; ++pair) {
        if (!g_axis.state.mouseLayout[pair]) continue;
        for (int id : mouseLayoutHidden(pair))
            if (HWND control = GetDlgItem(page, id))
                SetWindowPos(control, nullptr, kOutOfView, kOutOfView, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        moved = true;
    }
    if (moved) InvalidateRect(page, nullptr, TRUE);
}

// The link-pedals toggle's upper rows lie under the lower rows of buttons
// 1067 and 1039. That strip belongs to the two buttons: they keep their
// whole pictures, in line with the other two buttons of their row, and the
// toggle, the larger target, is still 99 x 12 below them. The toggle's
// window region leaves out every button it overlaps where it now stands,
// so that it neither paints nor takes a click there, whatever the order of
// the windows.
void yieldOverlapsOfToggle(HWND page) {
    HWND toggle = GetDlgItem(page, kPedalsToggle);
    if (!toggle) return;
    RECT own;
    GetWindowRect(toggle, &own);
    HRGN region = CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
    for (const FlatButton& b : kButtons) {
        HWND button = GetDlgItem(page, b.id);
        RECT other, overlap;
        if (b.id == kPedalsToggle || !button || !GetWindowRect(button, &other) ||
            !IntersectRect(&overlap, &own, &other))
            continue;
        OffsetRect(&overlap, -own.left, -own.top);
        HRGN cut = CreateRectRgnIndirect(&overlap);
        CombineRgn(region, region, cut, RGN_DIFF);
        DeleteObject(cut);
    }
    if (!SetWindowRgn(toggle, region, TRUE)) DeleteObject(region);  // the window owns it once set
}

// The live markers: the wheel is read on a timer while the page is shown,
// when DirectInput gives its device and the device can be acquired.
void startWheelMarkers(HWND page) {
    if (FAILED(AcquireDirectInput(GetParent(page), mainPageSheet())) || !wheelDevice()) return;
    if (FAILED(wheelDevice()->Acquire())) return;
    g_axis.wheelTimer = SetTimer(page, kWheelTimer, kWheelPeriod, nullptr) != 0;
}

void readWheel() {
    IDirectInputDevice8A* device = wheelDevice();
    DIJOYSTATE state;
    if (!device || FAILED(device->Acquire()) || FAILED(ReadJoystickState(device, &state))) return;
    showWheelAxes(WheelAxes{state.lX, state.lY, state.lZ, state.lRz}, g_axis.state.pedalsLinked != 0);
}

LRESULT onCreate(HWND page) {
    g_axis = AxisPage{};
    g_axis.page = page;
    // 1-2. Region, buttons, the About tooltip; the selectors with their font.
    SetPageRegion(page);
    for (const FlatButton& b : kButtons) CreateFlatButton(page, b.x, b.y, b.width, b.height, b.id);
    HWND tooltip = mainPageState().tooltip;
    if (tooltip) {
        AddTooltipTool(page, tooltip, kAboutButton);
        for (int id : kCurveTypeButtons) AddTooltipTool(page, tooltip, id);
    }
    g_axis.font = gdiTallied(CreateFontA(-scaledY(11), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                         DEFAULT_PITCH | FF_SWISS, "Arial"));
    createSelectors(page);
    // 3. The boxes in slot order, each given its number.
    for (int slot = 0; slot < 4; ++slot) createCurveBox(page, kBoxes[slot].x, kBoxes[slot].y, kBoxes[slot].id, slot + 1);
    // 4. The pens of the curves and of the reference diagonals.
    g_axis.curvePen = gdiTallied(CreateScaledPen(kCurveGreen));
    g_axis.diagonalPen = gdiTallied(CreatePen(PS_DOT, 1, kCurveGreen));
    setCurvePens(g_axis.curvePen, g_axis.diagonalPen);
    // 5. The carried state, and the mouse-emulation layout it asks for.
    g_axis.state = loadAxisPageState(preset());
    applyMouseLayout(page);
    yieldOverlapsOfToggle(page);
    // 6. Anchors, selectors, the curve-type buttons' texts.
    for (int slot = 0; slot < 4; ++slot) placeAnchors(slot);
    fillSelectors();
    for (int box = 1; box <= 4; ++box)
        setText(curveTypeButtonOf(box), curveTypeButtonText(preset().curveType[box - 1]));
    InvalidateRect(GetDlgItem(page, kBoxes[3].id), nullptr, FALSE);
    // 7.
    SetFocus(nullptr);
    g_axis.framePen = gdiTallied(CreateScaledPen(kFrameColour));
    startWheelMarkers(page);
    return 0;
}

void onDestroy(HWND page) {
    endAnchorDrag();
    if (g_axis.wheelTimer) {
        KillTimer(page, kWheelTimer);
        if (wheelDevice()) wheelDevice()->Unacquire();
    }
    if (HWND tooltip = mainPageState().tooltip; tooltip && IsWindow(tooltip)) {
        RemoveTooltipTool(page, tooltip, kAboutButton);
        for (int id : kCurveTypeButtons) RemoveTooltipTool(page, tooltip, id);
    }
    closeAxisPageState(panelState(), g_axis.state);
    // The bitmaps are the main page's, shared by every page: they stay.
    setCurvePens(nullptr, nullptr);
    gdiDelete(g_axis.curvePen);
    gdiDelete(g_axis.diagonalPen);
    gdiDelete(g_axis.framePen);
    gdiDelete(g_axis.font);
    g_axis.page = nullptr;
}

void onCommand(HWND page, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == CBN_SELCHANGE && id >= 1031 && id <= 1034) return onSelectorChanged(id);
    if (HIWORD(wParam) == CBN_CLOSEUP) return void(SetFocus(nullptr));  // pages keep no focus
    if (HIWORD(wParam) != BN_CLICKED) return;
    const AxisCommand command = axisCommand(id);
    switch (command.action) {
    case AxisAction::Reset:
        for (int box = command.firstBox; box <= command.lastBox; ++box) resetCurve(box);
        break;
    case AxisAction::Toggle:
        for (int box = command.firstBox; box <= command.lastBox; ++box)
            setText(curveTypeButtonOf(box), curveTypeButtonText(toggleCurveType(box)));
        break;
    case AxisAction::Pedals:
        g_axis.state.pedalsLinked = flippedPedals(g_axis.state.pedalsLinked);
        InvalidateRect(GetDlgItem(page, kPedalsToggle), nullptr, FALSE);
        break;
    case AxisAction::About: ShowAbout(page); break;
    case AxisAction::None: break;
    }
}

void drawSkinPart(HDC dc, const skin::Sprite& sprite, skin::Place at) {
    DrawPicture(dc, sharedBitmap(sprite.bitmap), sprite, at.x, at.y);
}

void onPaint(HWND page) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(page, &ps);
    drawSkinPart(dc, skin::kConfigPage, skin::Place{0, 0});
    drawSkinPart(dc, skin::kAxisSteeringPicture, skin::kAxisSteeringPictureAt);
    drawSkinPart(dc, skin::kAxisFirstPedalPicture, skin::kAxisFirstPedalPictureAt);
    drawSkinPart(dc, skin::kAxisSecondPedalPicture, skin::kAxisSecondPedalPictureAt);
    EndPaint(page, &ps);
    if (!g_axis.framePen) return;
    for (const SkinRect& r : axisPageFrames(g_axis.state))
        OutlineRect(page, RECT{r.left, r.top, r.right, r.bottom}, g_axis.framePen);
}

// An entry of a selector, or its closed field: the page's dark ground with
// light text, the chosen entry in the frames' green.
void drawSelectorItem(const DRAWITEMSTRUCT* item) {
    HDC dc = item->hDC;
    const bool chosen = (item->itemState & ODS_SELECTED) && !(item->itemState & ODS_COMBOBOXEDIT);
    HBRUSH fill = CreateSolidBrush(chosen ? kFrameColour : kListColour);
    FillRect(dc, &item->rcItem, fill);
    DeleteObject(fill);
    if (item->itemID == UINT(-1)) return;
    char text[256] = "";
    const LRESULT length = SendMessageA(item->hwndItem, CB_GETLBTEXTLEN, item->itemID, 0);
    if (length > 0 && length < LRESULT(sizeof text)) SendMessageA(item->hwndItem, CB_GETLBTEXT, item->itemID, LPARAM(text));
    HGDIOBJ oldFont = g_axis.font ? SelectObject(dc, g_axis.font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, chosen ? kListSelectedText : kListText);
    RECT box = item->rcItem;
    box.left += scaledX(3);
    DrawTextA(dc, text, -1, &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (oldFont) SelectObject(dc, oldFont);
}

BOOL onDrawItem(HWND page, const DRAWITEMSTRUCT* item) {
    if (item->CtlType == ODT_COMBOBOX) {
        drawSelectorItem(item);
        return TRUE;
    }
    HBITMAP skinBitmap = sharedBitmap(skin::kSkinBitmap);
    switch (item->CtlID) {
    case 1036:
    case 1038:
    case 1039:
        PaintPushButton(item, skinBitmap, pictureRect(skin::kResetNormal), pictureRect(skin::kResetPressed),
                        pictureRect(skin::kResetFocused));
        return TRUE;
    case 1065:
    case 1067:
    case 1068:
        PaintPushButton(item, skinBitmap, pictureRect(skin::kCurveTypeNormal), pictureRect(skin::kCurveTypePressed),
                        pictureRect(skin::kCurveTypeFocused));
        return TRUE;
    case kPedalsToggle: {
        const RECT separate = pictureRect(skin::kPedalsSeparate);
        PaintSkinButton(item, skinBitmap, separate, pictureRect(skin::kPedalsLinked), separate,
                        int(g_axis.state.pedalsLinked));
        return TRUE;
    }
    case kAboutButton: {
        const RECT about = pictureRect(skin::kConfigAbout);
        PaintPushButton(item, sharedBitmap(skin::kConfigBitmap), about, about, about);
        return TRUE;
    }
    default: (void)page; return FALSE;
    }
}

// Tooltips: About, and for a curve-type button its text, the type a click
// switches to.
LRESULT onNotify(LPARAM lParam) {
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    if (request->hdr.code != TTN_GETDISPINFOA) return 0;
    HWND control = reinterpret_cast<HWND>(request->hdr.idFrom);
    if (GetDlgCtrlID(control) == kAboutButton) {
        answerTooltip(request, kAboutTooltip, g_axis.tooltipText, sizeof g_axis.tooltipText);
        return TRUE;
    }
    GetWindowTextA(control, g_axis.tooltipText, sizeof g_axis.tooltipText);
    request->lpszText = g_axis.tooltipText;
    request->hinst = instance();
    return TRUE;
}

}  // namespace

LRESULT CALLBACK SensWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onCreate(window);
    case WM_DESTROY: onDestroy(window); return 0;
    case WM_PAINT: onPaint(window); return 0;
    case WM_TIMER:
        if (wParam == kWheelTimer) readWheel();
        return 0;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_COMBOBOX) break;
        measure->itemHeight = scaledY(kSelectorItemHeight);
        return TRUE;
    }
    case WM_DRAWITEM: return onDrawItem(window, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND: onCommand(window, skinnedCommand(wParam, lParam)); return 0;
    case WM_NOTIFY: return onNotify(lParam);
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zentra
