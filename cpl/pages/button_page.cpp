// The two pages that edit the key sequences of the emulation slots: the
// button page ("BUTTONWINDOW", wheel buttons 1-13) and the D-pad page
// ("POVWINDOW", the eight D-pad directions). While a slot records, the
// system keyboard is read every 50 ms through DirectInput (buffered,
// non-exclusive, background) and each press and release goes to the
// decoder; the wheel's own buttons (or its hat, on the D-pad page) select
// slots as their select buttons do. When the page closes the preset goes
// back into the table and to the wheel. The rules are in button_page_logic.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/direct_input.h"
#include "cpl/frame/gdi_tally.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_logic.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/pages/button_page_logic.h"
#include "cpl/res/cpl_resource.h"

namespace zentra {

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr UINT kPeriod = 50;
constexpr COLORREF kFramePen = RGB(89, 203, 138);
constexpr COLORREF kHighlightPen = RGB(255, 255, 0);
constexpr COLORREF kBoxText = RGB(255, 255, 255);
constexpr int kClearText = 41;
constexpr int kRecordTooltip = 83, kClearTooltip = 84, kAboutTooltip = 76;
constexpr int kLeftMouseTooltip = 85, kRightMouseTooltip = 86;
constexpr int kLeftMouseText = 75, kRightMouseText = 74;  // "Mouse 1", "Mouse 2"

// The system keyboard through DirectInput.
class DirectInputKeyboard final : public KeyboardDevice {
public:
    IDirectInput8A* root = nullptr;
    IDirectInputDevice8A* device = nullptr;

    long readEvents(std::vector<KeyEvent>& events) override {
        events.clear();
        DIDEVICEOBJECTDATA data[kKeyboardBufferEvents];
        DWORD count = kKeyboardBufferEvents;
        const HRESULT result = device->GetDeviceData(sizeof data[0], data, &count, 0);
        if (FAILED(result)) return result;
        for (DWORD i = 0; i < count && i < kKeyboardBufferEvents; ++i)
            events.push_back(KeyEvent{uint8_t(data[i].dwOfs), data[i].dwData});
        return result;
    }
    long acquire() override { return device->Acquire(); }
};

struct SlotPageState {
    HWND page;
    SlotTab tab;
    bool active;
    bool timerRunning;
    DIJOYSTATE* wheelState;
    DirectInputKeyboard keyboard;
    bool keyboardReady;
    HPEN framePen, highlightPen;
    HBRUSH boxBrush;
    HBITMAP patternBitmap, pageBitmap;  // the boxes' tile; the pad and the mouse buttons
    int currentEdit;
    char tooltipText[256];
    std::string boxTip;  // the whole sequence of the box under the pointer
};
SlotPageState g_slots;

ButtonPageState& model() { return buttonPageState(); }
Preset& preset() { return panelState().currentPreset; }

constexpr int kBoxTooltip = 0;  // a key box's tooltip: its whole sequence

// The controls that have tooltips, with their texts.
std::vector<std::pair<int, int>> tooltipTools() {
    std::vector<std::pair<int, int>> tools = {{kClearId, kClearTooltip},
                                              {kAboutId, kAboutTooltip},
                                              {kLeftMouseId, kLeftMouseTooltip},
                                              {kRightMouseId, kRightMouseTooltip}};
    for (const SlotPlace& p : slotPlaces(g_slots.tab)) {
        tools.emplace_back(selectIdOf(p.slot), kRecordTooltip);
        tools.emplace_back(editIdOf(p.slot), kBoxTooltip);
    }
    return tools;
}

// --- Key boxes ----------------------------------------------------------------
// The boxes keep the edit control's two sizes and styles (the taller one
// with the horizontal scroll bar style), but show in the skin's look inside
// their frame: no border and no system scroll bar, the pattern ground over
// the frame's 22 rows, white text, and a sequence too long for the box as
// its end after "..."; the box's tooltip gives the whole sequence.

constexpr int kBoxMargin = 2;  // pixels left of the text
WNDPROC g_editProc = nullptr;  // the edit class's own procedure

// A key box's own font selected into a drawing context for as long as it
// lives (none set: the context's default, as the edit control draws).
struct BoxFont {
    BoxFont(HWND box, HDC dc) : dc_(dc) {
        if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0))) old_ = SelectObject(dc, font);
    }
    ~BoxFont() {
        if (old_) SelectObject(dc_, old_);
    }
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// What `box` shows of its sequence, measured on `dc` (its font selected);
// `whole` receives the box's whole text.
KeyBoxText boxText(HWND box, HDC dc, std::string& whole) {
    char text[kEditTextLimit + 1] = {};
    GetWindowTextA(box, text, sizeof text);
    whole = text;
    RECT r{};
    GetClientRect(box, &r);
    return keyBoxText(whole, r.right - 2 * scaledX(kBoxMargin), [dc](const std::string& t) {
        SIZE size{};
        GetTextExtentPoint32A(dc, t.data(), int(t.size()), &size);
        return int(size.cx);
    });
}

// The frame's 22 rows of `box` in the window's pixels, from its own place.
int boxRows(HWND box) {
    const SkinRect at = placeAt96(box);
    return scaledY(at.top + kEditHeight) - scaledY(at.top);
}

void paintKeyBox(HWND box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT r{};
    GetClientRect(box, &r);
    r.bottom = std::min<LONG>(r.bottom, boxRows(box));
    if (g_slots.boxBrush) FillRect(dc, &r, g_slots.boxBrush);
    {
        const BoxFont font(box, dc);
        SetTextColor(dc, kBoxText);
        SetBkMode(dc, TRANSPARENT);
        std::string whole;
        const KeyBoxText text = boxText(box, dc, whole);
        r.left += scaledX(kBoxMargin);
        DrawTextA(dc, text.shown.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    }
    EndPaint(box, &ps);
}

LRESULT CALLBACK keyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE: return 0;  // the client area is the whole box: no border, no scroll bar
    case WM_NCPAINT: return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paintKeyBox(box); return 0;
    case WM_SETTEXT: {
        // A new text: the whole box is drawn again (what shows of the end
        // may change with it).
        const LRESULT result = CallWindowProcA(g_editProc, box, message, wParam, lParam);
        InvalidateRect(box, nullptr, FALSE);
        return result;
    }
    default: return CallWindowProcA(g_editProc, box, message, wParam, lParam);
    }
}

// Gives a new key box the skin's look; only its top 22 rows show. A box
// that already has it is left as it is.
void skinKeyBox(HWND box) {
    if (!box) return;
    const WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(box, GWLP_WNDPROC));
    if (own == keyBoxProc) return;
    g_editProc = own;
    SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keyBoxProc));
    RECT r{};
    GetWindowRect(box, &r);
    const SkinRect at = placeAt96(box);
    HRGN shape = CreateScaledRectRgn(0, 0, at.right - at.left, kEditHeight, at.left, at.top);
    if (!SetWindowRgn(box, shape, TRUE)) DeleteObject(shape);  // the box owns it once set
    SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // The edit control lays the text out in a row wider than any sequence:
    // it never scrolls, so it never moves pixels that are not its own (a
    // scroll would take the page's pixels under the box's hidden rows along).
    RECT row{0, 0, 32000, boxRows(box)};
    SendMessageA(box, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&row));
    // What the new box drew of itself before it had its shape is the page's
    // again.
    HWND page = GetParent(box);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(page, &r, FALSE);
}

// The tooltip of the box with control id `id`: its whole sequence when the
// box shows only its end, else nothing.
const char* boxTooltip(int id) {
    g_slots.boxTip.clear();
    HWND box = GetDlgItem(g_slots.page, id);
    if (!box) return "";
    HDC dc = GetDC(box);
    {
        const BoxFont font(box, dc);
        std::string whole;
        if (boxText(box, dc, whole).cut)
            g_slots.boxTip = whole.substr(std::min(whole.find_first_not_of(' '), whole.size()));
    }
    ReleaseDC(box, dc);
    return g_slots.boxTip.c_str();
}

std::string localized(int id) {
    char text[256];
    if (!LoadLocalizedString(cplModuleInstance(), id, UiLanguage, text, sizeof text)) return std::string();
    return text;
}

void setBoxText(int slot, const std::string& text) {
    const int id = editIdOf(slot);
    // Fitting may put a new box in the old one's place: its tooltip follows.
    HWND tooltip = mainPageState().tooltip;
    if (tooltip) RemoveTooltipTool(g_slots.page, tooltip, id);
    SetWindowTextA(GetDlgItem(g_slots.page, id), text.c_str());
    FitEditField(g_slots.page, id);
    skinKeyBox(GetDlgItem(g_slots.page, id));
    if (tooltip) AddTooltipTool(g_slots.page, tooltip, id);
}

// The stored keys of a slot, then the mouse button's name over them.
void showStoredSlot(int slot) {
    setBoxText(slot, slotKeysText(model(), preset(), slot, systemKeyNames()));
    if (slot >= kMouseSlots) return;
    if (model().leftClick[slot]) setBoxText(slot, localized(kLeftMouseText));
    if (model().rightClick[slot]) setBoxText(slot, localized(kRightMouseText));
}

void dropFocus() { SetFocus(nullptr); }

void drawConnector(HDC dc, const SlotPlace& place, HPEN pen) {
    POINT points[4];
    for (int i = 0; i < 4; ++i) points[i] = POINT{scaledX(place.connector[i].x), scaledY(place.connector[i].y)};
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, points, 4);
    SelectObject(dc, old);
}

void drawConnectorOf(int slot, bool highlighted) {
    const SlotPlace* place = findSlotPlace(slot);
    if (!place || tabOfSlot(slot) != g_slots.tab) return;
    HDC dc = GetDC(g_slots.page);
    drawConnector(dc, *place, highlighted ? g_slots.highlightPen : g_slots.framePen);
    ReleaseDC(g_slots.page, dc);
}

void redrawSelect(int slot) {
    if (HWND button = GetDlgItem(g_slots.page, selectIdOf(slot))) InvalidateRect(button, nullptr, FALSE);
}

// Empties the keyboard's buffer unread: it holds 16 events, and one read
// takes them all.
bool flushKeyboard() {
    std::vector<KeyEvent> thrown;
    return !g_slots.keyboardReady || readKeyboard(&g_slots.keyboard, thrown);
}

// The mouse commands are enabled only for a slot that can send a mouse
// button; while they are not, they look so.
void enableMouseCommands() {
    const bool can = hasMouseFlags(model().selectedSlot);
    for (int id : {kLeftMouseId, kRightMouseId})
        if (HWND button = GetDlgItem(g_slots.page, id)) EnableWindow(button, can);
}

// The property sheet: the page's top-level window.
bool sheetInFront() { return GetForegroundWindow() == GetAncestor(g_slots.page, GA_ROOT); }

// The keyboard failed and could not be acquired again: recording stops (its
// button comes up), the user hears of it once, and the wheel is still
// polled; the next record click tries the keyboard again.
void onKeyboardFailure() {
    const KeyboardFailure failure = keyboardFailed(model());
    redrawSelect(failure.redrawSlot);
    if (failure.showError)
        MessageBoxA(g_slots.page, "Error Initializing Keyboard DirectInput", "Joystick control panel", MB_ICONSTOP);
}

// One keyboard step (see keyboardStep): the buffer emptied when reading
// keys for the slot starts, its events decoded otherwise. A record click
// and Clear take the step at once (`decode` false), so that keys typed
// right after them are the slot's; the tick would only empty it later.
void keyboardTurn(bool decode) {
    ButtonPageState& m = model();
    switch (keyboardStep(m, sheetInFront())) {
    case KeyboardStep::Idle: return;
    case KeyboardStep::Flush:
        if (!flushKeyboard()) onKeyboardFailure();
        return;
    case KeyboardStep::Decode: {
        if (!decode) return;
        std::vector<KeyEvent> events;
        if (g_slots.keyboardReady && !readKeyboard(&g_slots.keyboard, events)) return onKeyboardFailure();
        if (takeKeyEvents(m, preset(), events))
            setBoxText(m.selectedSlot, slotKeysText(m, preset(), m.selectedSlot, systemKeyNames()));
        return;
    }
    }
}

void onSelect(int slot) {
    const SelectOutcome out = clickSelect(model(), slot);
    enableMouseCommands();
    if (out.flushKeyboard) flushKeyboard();
    keyboardTurn(false);
    for (int s : out.redraw) redrawSelect(s);
    drawConnectorOf(out.previousSlot, false);
    drawConnectorOf(model().hoverSlot, true);
    g_slots.currentEdit = editIdOf(slot);
    dropFocus();
}

void stopTimer() {
    if (g_slots.timerRunning) KillTimer(g_slots.page, kTimer);
    g_slots.timerRunning = false;
}

void tick() {
    if (!g_slots.active) return;
    keyboardTurn(true);
    ButtonPageState& m = model();
    IDirectInputDevice8A* device = wheelDevice();
    if (!device || !g_slots.wheelState) return;
    ZeroMemory(g_slots.wheelState, sizeof *g_slots.wheelState);
    if (FAILED(ReadJoystickState(device, g_slots.wheelState))) return;
    uint8_t buttons[32];
    std::memcpy(buttons, g_slots.wheelState->rgbButtons, sizeof buttons);
    const int slot = wheelSelection(m, g_slots.tab, buttons, g_slots.wheelState->rgdwPOV[0]);
    if (slot >= 0) {
        onSelect(slot);
        redrawSelect(slot);
    }
}

bool openKeyboard(HWND cooperativeWindow) {
    DirectInputKeyboard& k = g_slots.keyboard;
    if (FAILED(createDirectInputRoot(&k.root))) return false;
    if (FAILED(k.root->CreateDevice(GUID_SysKeyboard, &k.device, nullptr))) return false;
    if (FAILED(k.device->SetDataFormat(&c_dfDIKeyboard))) return false;
    if (FAILED(k.device->SetCooperativeLevel(cooperativeWindow, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND))) return false;
    DIPROPDWORD size{};
    size.diph.dwSize = sizeof size;
    size.diph.dwHeaderSize = sizeof size.diph;
    size.diph.dwHow = DIPH_DEVICE;
    size.dwData = kKeyboardBufferEvents;
    k.device->SetProperty(DIPROP_BUFFERSIZE, &size.diph);
    return true;
}

void releaseKeyboard() {
    DirectInputKeyboard& k = g_slots.keyboard;
    if (k.device) {
        k.device->Unacquire();
        k.device->Release();
    }
    if (k.root) k.root->Release();
    k.device = nullptr;
    k.root = nullptr;
    g_slots.keyboardReady = false;
}

HBITMAP loadBitmap(int id) { return gdiTallied(LoadSkinBitmap(id)); }

void createControls(HWND page) {
    for (const SlotPlace& p : slotPlaces(g_slots.tab)) {
        const SkinRect e = editPlace(p), s = selectPlace(p);
        CreateEditField(page, e.left, e.top, e.right - e.left, e.bottom - e.top, editIdOf(p.slot), kEditShortStyle);
        skinKeyBox(GetDlgItem(page, editIdOf(p.slot)));
        CreatePushLikeButton(page, s.left, s.top, s.right - s.left, s.bottom - s.top, selectIdOf(p.slot));
    }
    auto flat = [page](const SkinRect& r, int id) {
        CreateFlatButton(page, r.left, r.top, r.right - r.left, r.bottom - r.top, id);
    };
    flat(kClearPlace, kClearId);
    SetWindowTextA(GetDlgItem(page, kClearId), localized(kClearText).c_str());
    flat(kAboutPlace, kAboutId);
    flat(kLeftMousePlace, kLeftMouseId);
    flat(kRightMousePlace, kRightMouseId);
    if (HWND tooltip = mainPageState().tooltip) {
        for (const auto& tool : tooltipTools()) AddTooltipTool(page, tooltip, tool.first);
        // A key box's tooltip can hold a long sequence: it wraps rather than
        // running off the screen. (The tooltip is the main page's; its other
        // texts are far shorter.)
        SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, scaledX(300));
    }
    g_slots.framePen = gdiTallied(CreateScaledPen(kFramePen));
    g_slots.highlightPen = gdiTallied(CreateScaledPen(kHighlightPen));
    g_slots.patternBitmap = loadBitmap(skin::kPatternBitmap);
    g_slots.boxBrush = g_slots.patternBitmap ? gdiTallied(CreatePatternBrush(g_slots.patternBitmap)) : nullptr;
    g_slots.pageBitmap = loadBitmap(skin::kSlotPagesBitmap);
}

void onCreate(HWND page, SlotTab tab) {
    // 1-2. Region, active, the tab's first slot (0 on the button tab), its
    // box current.
    g_slots = SlotPageState{};
    g_slots.page = page;
    g_slots.tab = tab;
    SetPageRegion(page);
    g_slots.active = true;
    const int firstSlot = slotPlaces(tab).front().slot;
    model().selectedSlot = firstSlot;
    g_slots.currentEdit = editIdOf(firstSlot);
    // 3. The wheel's DirectInput device; without it the page stays empty.
    if (FAILED(AcquireDirectInput(GetParent(page), mainPageSheet()))) return;
    // 4. The wheel state buffer.
    g_slots.wheelState = new DIJOYSTATE;
    // 5. The keyboard, cooperating with the property sheet.
    g_slots.keyboardReady = openKeyboard(GetParent(GetParent(page)));
    if (!g_slots.keyboardReady) {
        releaseKeyboard();
        MessageBoxA(page, "Error Initializing Keyboard DirectInput", "Joystick control panel", MB_ICONSTOP);
    }
    // 6. Controls, tooltips, pens, the boxes' brush.
    createControls(page);
    // 7. The stored keys (and 10. the working mouse flags, which the boxes
    // show).
    openButtonPage(model(), preset(), firstSlot);
    for (const SlotPlace& p : slotPlaces(tab)) showStoredSlot(p.slot);
    enableMouseCommands();
    // 8. Acquire both devices.
    if (wheelDevice()) wheelDevice()->Acquire();
    if (g_slots.keyboardReady) g_slots.keyboard.acquire();
    // 9. The timer; no control keeps the focus.
    g_slots.timerRunning = SetTimer(page, kTimer, kPeriod, nullptr) != 0;
    dropFocus();
}

void onDestroy(HWND page) {
    if (HWND tooltip = mainPageState().tooltip; tooltip && IsWindow(tooltip))
        for (const auto& tool : tooltipTools()) RemoveTooltipTool(page, tooltip, tool.first);
    model().recording = false;
    if (wheelDevice()) wheelDevice()->Unacquire();
    releaseKeyboard();
    g_slots.active = false;
    stopTimer();
    // The mouse flags only when the page was set up and read them.
    PanelState& state = panelState();
    if (g_slots.wheelState) closeButtonPage(model(), state.currentPreset);
    if (state.currentIndex < state.table.presetCount)
        copyPreset(state.table.presets[state.currentIndex], state.currentPreset);
    uploadParameters(1, state.wheel, state.currentPreset, panelRegistry(), platformDeviceIo());
    delete g_slots.wheelState;
    g_slots.wheelState = nullptr;
    gdiDelete(g_slots.framePen);
    gdiDelete(g_slots.highlightPen);
    gdiDelete(g_slots.boxBrush);
    gdiDelete(g_slots.patternBitmap);
    gdiDelete(g_slots.pageBitmap);
    g_slots.page = nullptr;
}

void onPaint(HWND page) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(page, &ps);
    DrawPicture(dc, sharedBitmap(skin::kConfigBitmap), skin::kConfigPage, 0, 0);
    if (g_slots.tab == SlotTab::Buttons) {
        DrawPicture(dc, sharedBitmap(skin::kSkinBitmap), skin::kButtonPageWheel, skin::kButtonPageWheel.x,
                    skin::kButtonPageWheel.y);
        DrawPicture(dc, g_slots.pageBitmap, skin::kWheelPlainRight, skin::kWheelPlainRightAt.x,
                    skin::kWheelPlainRightAt.y);
    } else
        DrawPicture(dc, g_slots.pageBitmap, skin::kPovPad, skin::kPovPadAt.x, skin::kPovPadAt.y);
    EndPaint(page, &ps);
    if (!g_slots.framePen) return;
    HDC frames = GetDC(page);
    // In the normal colour: a connector lights when the pointer comes over
    // its select button (again, after this paint).
    for (const SlotPlace& p : slotPlaces(g_slots.tab)) drawConnector(frames, p, g_slots.framePen);
    model().hoverSlot = -1;
    ReleaseDC(page, frames);
    for (const SlotPlace& p : slotPlaces(g_slots.tab))
        OutlineRect(page, RECT{p.frame.left, p.frame.top, p.frame.right, p.frame.bottom}, g_slots.framePen);
}

BOOL onDrawItem(const DRAWITEMSTRUCT* item) {
    const int id = int(item->CtlID);
    const int slot = slotOfSelectId(id);
    if (slot >= 0) {
        const RECT up = pictureRect(skin::kRecordButtonUp);
        PaintSkinButton(item, sharedBitmap(skin::kSkinBitmap), up, pictureRect(skin::kRecordButtonDown), up,
                        model().selectDown[slot] ? 1 : 0);
        return TRUE;
    }
    switch (id) {
    case kClearId:
        PaintPushButton(item, sharedBitmap(skin::kSkinBitmap), pictureRect(skin::kClearButtonNormal),
                        pictureRect(skin::kClearButtonPressed), pictureRect(skin::kClearButtonFocused));
        return TRUE;
    case kAboutId: {
        const RECT about = pictureRect(skin::kConfigAbout);
        PaintPushButton(item, sharedBitmap(skin::kConfigBitmap), about, about, about);
        return TRUE;
    }
    case kLeftMouseId:
    case kRightMouseId: {
        const bool left = id == kLeftMouseId;
        if (item->itemState & ODS_DISABLED) {
            DrawPicture(item->hDC, g_slots.pageBitmap, left ? skin::kLeftMouseDisabled : skin::kRightMouseDisabled, 0,
                        0);
            return TRUE;
        }
        const RECT normal = pictureRect(left ? skin::kLeftMouseNormal : skin::kRightMouseNormal);
        const RECT pressed = pictureRect(left ? skin::kLeftMousePressed : skin::kRightMousePressed);
        PaintPushButton(item, g_slots.pageBitmap, normal, pressed, normal);
        return TRUE;
    }
    default: return FALSE;
    }
}

void onMouseCommand(bool left) {
    ButtonPageState& m = model();
    if (assignMouseButton(m, preset(), left)) {
        setBoxText(m.selectedSlot, std::string());
        setBoxText(m.selectedSlot, localized(left ? kLeftMouseText : kRightMouseText));
    }
    dropFocus();
}

void onClear() {
    ButtonPageState& m = model();
    flushKeyboard();
    clearSlot(m, preset());
    setBoxText(m.selectedSlot, std::string());
    keyboardTurn(false);
}

void onCommand(HWND page, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == EN_SETFOCUS) {
        dropFocus();
        return;
    }
    const int slot = slotOfSelectId(id);
    if (slot >= 0 && tabOfSlot(slot) == g_slots.tab) {
        onSelect(slot);
        return;
    }
    switch (id) {
    case kClearId: onClear(); break;
    case kLeftMouseId: onMouseCommand(true); break;
    case kRightMouseId: onMouseCommand(false); break;
    case kAboutId:
        ShowAbout(page);
        keysWentElsewhere(model());
        break;
    default: break;
    }
}

// The pointer entered a select button: its connector lights up.
void onSetCursor(HWND control) {
    const int slot = slotOfSelectId(GetDlgCtrlID(control));
    if (slot < 0 || slot == model().hoverSlot || !IsChild(g_slots.page, control)) return;
    drawConnectorOf(model().hoverSlot, false);
    drawConnectorOf(slot, true);
    model().hoverSlot = slot;
}

LRESULT onNotify(LPARAM lParam) {
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    if (request->hdr.code != TTN_GETDISPINFOA) return 0;
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(request->hdr.idFrom));
    int text = kAboutTooltip;
    for (const auto& tool : tooltipTools())
        if (tool.first == id) text = tool.second;
    if (text == kBoxTooltip) {
        request->lpszText = const_cast<char*>(boxTooltip(id));
        request->hinst = nullptr;
        return TRUE;
    }
    answerTooltip(request, text, g_slots.tooltipText, sizeof g_slots.tooltipText);
    return TRUE;
}

LRESULT slotPageProc(SlotTab tab, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(window, tab); return 0;
    case WM_DESTROY: onDestroy(window); return 0;
    case WM_TIMER:
        if (wParam == kTimer) tick();
        return 0;
    case WM_PAINT: onPaint(window); return 0;
    case WM_DRAWITEM: return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND: onCommand(window, skinnedCommand(wParam, lParam)); return 0;
    case WM_SETCURSOR: onSetCursor(reinterpret_cast<HWND>(wParam)); break;
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kBoxText);
        SetBkMode(dc, TRANSPARENT);
        if (g_slots.boxBrush) return reinterpret_cast<LRESULT>(g_slots.boxBrush);
        break;
    }
    case WM_NOTIFY:
        if (LRESULT handled = onNotify(lParam)) return handled;
        break;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK ButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return slotPageProc(SlotTab::Buttons, window, message, wParam, lParam);
}

LRESULT CALLBACK PovWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return slotPageProc(SlotTab::Pov, window, message, wParam, lParam);
}

}  // namespace zentra
