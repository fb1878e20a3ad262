// The test page ("TESTWINDOW"): ten times a second it reads the wheel's
// joystick state and shows it live: the wheel video turned to the steering
// position, the steering marker, the button dots and lamps, the keyboard
// indicator, the pedal gauges and pictures. From here the user opens the
// axis calibration. The arithmetic is in test_page_logic.
#include <windows.h>

#include <commctrl.h>
#include <vfw.h>

#include <cstring>

#include "cpl/frame/calibration.h"
#include "cpl/frame/cpl_module.h"
#include "cpl/frame/direct_input.h"
#include "cpl/frame/gdi_tally.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/pages/button_page_logic.h"
#include "cpl/pages/test_page_logic.h"
#include "cpl/res/cpl_resource.h"

namespace zentra {

namespace {

constexpr int kVideo = 273;
constexpr int kCalibrationButton = 1139;
constexpr int kAboutButton = 269;
constexpr int kKeyboardIndicator = 174;
constexpr UINT_PTR kTimer = 1;
constexpr UINT kPeriod = 100;
constexpr int kCalibrationTooltip = 82;
constexpr int kAboutTooltip = 76;
constexpr DWORD kVideoFlags = MCIWNDF_NOOPEN | MCIWNDF_NOMENU | MCIWNDF_NOPLAYBAR;

// Gauges: x of the bar, the y it grows from, and its direction.
struct Gauge {
    int x, y, direction;
};
constexpr Gauge kGauges[2] = {{420, 218, +1}, {480, 175, -1}};

// The lamps of buttons 0 and 1.
struct Lamp {
    skin::Sprite on, off;
    skin::Place at;
};
constexpr Lamp kLamps[2] = {{skin::kFirstLampOn, skin::kFirstLampOff, skin::kFirstLampAt},
                            {skin::kSecondLampOn, skin::kSecondLampOff, skin::kSecondLampAt}};

struct TestPageState {
    HWND page;
    HWND video;
    bool deviceReady;  // DirectInput gave a device and it could be acquired
    bool timerRunning;
    DIJOYSTATE* state;
    HFONT font;
    int lastFrame;
    bool buttonLit[8];
    uint32_t gaugeValue[3];
    PagePoint marker;
    bool markerDrawn;
    bool indicatorLit;
    // The clip opens at frame 0, not at lastFrame: the first reading seeks it
    // to the wheel's frame whatever lastFrame says. (Seeking costs Wine's
    // player about 10 ms, which a tick can spend better than the opening.)
    bool clipPlaced;
    // What the last tick drew, so that a wheel at rest costs no drawing:
    // the lamps of buttons 0 and 1, the pedal pictures and the link sign
    // (-1 while nothing is drawn, after a paint).
    int lampLit[2];
    int firstPedalDown, secondPedalDown, linkShown;
    char tooltipText[256];
};
TestPageState g_test;

// Copies `sprite` of its bitmap to (x, y) of `dc`.
void drawSprite(HDC dc, const skin::Sprite& sprite, int x, int y, DWORD rop = SRCCOPY) {
    DrawPicture(dc, sharedBitmap(sprite.bitmap), sprite, x, y, rop);
}

// Puts the page's background back over (x, y, width, height).
void restoreBackground(HDC dc, int x, int y, int width, int height) {
    drawSprite(dc, skin::Sprite{skin::kTestBitmap, x, y, width, height}, x, y);
}

void drawGauge(HDC dc, int g, uint32_t value) {
    if (g_test.gaugeValue[g + 1] == value) return;
    const Gauge& gauge = kGauges[g];
    const int oldLength = gaugeLength(g_test.gaugeValue[g + 1]);
    const int span = oldLength + 20;
    restoreBackground(dc, gauge.x - skin::kGaugeCapOffset, gauge.direction > 0 ? gauge.y : gauge.y - span, 26, span);
    const int length = gaugeLength(value);
    if (length >= kShortestBar) {
        const skin::Sprite& bar = g == 0 ? skin::kFirstPedalBar : skin::kSecondPedalBar;
        for (int row = 0; row < length; ++row)
            drawSprite(dc, bar, gauge.x, gauge.direction > 0 ? gauge.y + row : gauge.y - 1 - row);
        const int capY = gauge.direction > 0 ? gauge.y + length : gauge.y - length - skin::kGaugeCap.height;
        drawSprite(dc, skin::kGaugeCapMask, gauge.x - skin::kGaugeCapOffset, capY, SRCAND);
        drawSprite(dc, skin::kGaugeCap, gauge.x - skin::kGaugeCapOffset, capY, SRCPAINT);
    }
    g_test.gaugeValue[g + 1] = value;
}

// After a paint of the background nothing of the live parts is on screen.
void forgetDrawnParts() {
    g_test.markerDrawn = false;
    for (uint32_t& value : g_test.gaugeValue) value = 0xFFFFFFFF;
    g_test.lampLit[0] = g_test.lampLit[1] = -1;
    g_test.firstPedalDown = g_test.secondPedalDown = g_test.linkShown = -1;
}

void setIndicator(bool lit) {
    if (g_test.indicatorLit == lit) return;
    g_test.indicatorLit = lit;
    InvalidateRect(GetDlgItem(g_test.page, kKeyboardIndicator), nullptr, FALSE);
}

void draw(const DIJOYSTATE& s) {
    // The wheel's own report, read each tick: a report asking the panel to
    // end ends its host.
    WheelReport report{};
    readWheelReport(platformDeviceIo(), panelState().wheel.link.linkHandle, report, platformProcessHost());

    const Preset& preset = panelState().currentPreset;
    const int frame = videoFrame(s.lX);
    bool released = false;
    for (int i = 0; i < 8; ++i)
        if (g_test.buttonLit[i] && !buttonDown(s.rgbButtons[i])) released = true;
    if ((frame != g_test.lastFrame || released || !g_test.clipPlaced) && g_test.video) {
        MCIWndStop(g_test.video);
        MCIWndSeek(g_test.video, frame);
        if (released) InvalidateRect(g_test.video, nullptr, TRUE);
        g_test.lastFrame = frame;
        g_test.clipPlaced = true;
    }

    HDC dc = GetDC(g_test.page);
    for (int i = 0; i < 8; ++i) {
        const bool hasKeys = preset.buttonKeys[i][0] != 0;
        if (buttonDown(s.rgbButtons[i])) {
            if (i >= 2) {
                const PagePoint dot = buttonDot(i, frame);
                drawSprite(dc, skin::kButtonDot, dot.x, dot.y);
            } else if (g_test.lampLit[i] != 1) {
                drawSprite(dc, kLamps[i].on, kLamps[i].at.x, kLamps[i].at.y);
                g_test.lampLit[i] = 1;
            }
            if (!g_test.buttonLit[i] && hasKeys) setIndicator(true);
            g_test.buttonLit[i] = true;
        } else {
            if (i < 2 && g_test.lampLit[i] != 0) {
                drawSprite(dc, kLamps[i].off, kLamps[i].at.x, kLamps[i].at.y);
                g_test.lampLit[i] = 0;
            }
            if (g_test.buttonLit[i] && hasKeys) setIndicator(false);
            g_test.buttonLit[i] = false;
        }
    }

    const PagePoint marker = steeringMarker(s.lX);
    if (!g_test.markerDrawn || marker.x != g_test.marker.x || marker.y != g_test.marker.y) {
        if (g_test.markerDrawn)
            restoreBackground(dc, g_test.marker.x, g_test.marker.y, skin::kSteeringMarker.width,
                              skin::kSteeringMarker.height);
        drawSprite(dc, skin::kSteeringMarker, marker.x, marker.y);
        g_test.marker = marker;
        g_test.markerDrawn = true;
    }

    const bool linked = preset.pedalsLinked != 0;
    const PedalGauges gauges = pedalGauges(s.lY, s.lZ, s.lRz, linked);
    drawGauge(dc, 0, gauges.first);
    drawGauge(dc, 1, gauges.second);
    const int firstDown = firstPedalPressed(s.lY, linked) ? 1 : 0;
    if (firstDown != g_test.firstPedalDown) {
        drawSprite(dc, firstDown ? skin::kFirstPedalPressed : skin::kFirstPedalReleased, skin::kFirstPedalAt.x,
                   skin::kFirstPedalAt.y);
        g_test.firstPedalDown = firstDown;
    }
    if (linked && g_test.linkShown != 1)
        drawSprite(dc, skin::kPedalLinkSign, skin::kPedalLinkSignAt.x, skin::kPedalLinkSignAt.y);
    g_test.linkShown = linked ? 1 : 0;
    const int secondDown = secondPedalPressed(gauges.second, s.lY, linked) ? 1 : 0;
    if (secondDown != g_test.secondPedalDown) {
        drawSprite(dc, secondDown ? skin::kSecondPedalPressed : skin::kSecondPedalReleased, skin::kSecondPedalAt.x,
                   skin::kSecondPedalAt.y);
        g_test.secondPedalDown = secondDown;
    }
    ReleaseDC(g_test.page, dc);
}

void tick() {
    IDirectInputDevice8A* d = wheelDevice();
    if (!d || !g_test.state) return;
    ZeroMemory(g_test.state, sizeof *g_test.state);
    d->Acquire();
    if (FAILED(ReadJoystickState(d, g_test.state))) return;
    d->Unacquire();
    draw(*g_test.state);
    d->Acquire();
}

void startTimer() { g_test.timerRunning = SetTimer(g_test.page, kTimer, kPeriod, nullptr) != 0; }

void stopTimer() {
    if (g_test.timerRunning) KillTimer(g_test.page, kTimer);
    g_test.timerRunning = false;
}

void createVideo(HWND page) {
    const char* path = mainPageState().videoPath;
    // No error box: a clip that cannot be opened leaves the place empty.
    // Asked for as a child from the start: some systems make a window with a
    // parent but without WS_CHILD an owned top-level window instead.
    HWND video = MCIWndCreateA(page, cplModuleInstance(), WS_CHILD | WS_VISIBLE | kVideoFlags | MCIWNDF_NOERRORDLG, path);
    if (!video) return;
    SetWindowLongA(video, GWL_ID, kVideo);
    MoveControl(video, skin::kWheelVideoAt.x, skin::kWheelVideoAt.y, skin::kWheelVideoSize, skin::kWheelVideoSize,
                TRUE);
    SetWindowLongA(video, GWL_EXSTYLE, 0);
    SetWindowLongA(video, GWL_STYLE, WS_CHILD | WS_VISIBLE | kVideoFlags);
    // In window coordinates: the player's window may keep a border.
    const RECT shown = scaledRect(skin::kWheelVideoAt.x, skin::kWheelVideoAt.y, skin::kWheelVideoSize,
                                  skin::kWheelVideoSize);
    HRGN ellipse = CreateEllipticRgn(0, 0, shown.right - shown.left, shown.bottom - shown.top);
    if (!SetWindowRgn(video, ellipse, TRUE)) DeleteObject(ellipse);
    g_test.video = video;
}

void onCreate(HWND page) {
    g_test = TestPageState{};
    g_test.page = page;
    g_test.lastFrame = kFirstVideoFrame;
    forgetDrawnParts();
    SetPageRegion(page);
    CreateFlatButton(page, 453, 11, 39, 39, kCalibrationButton);
    CreateFlatButton(page, 10, 8, 155, 11, kAboutButton);
    CreateFlatButton(page, 337, 70, 106, 57, kKeyboardIndicator);
    if (HWND tooltip = mainPageState().tooltip) {
        AddTooltipTool(page, tooltip, kCalibrationButton);
        AddTooltipTool(page, tooltip, kAboutButton);
    }
    createVideo(page);
    if (FAILED(AcquireDirectInput(GetParent(page), mainPageSheet()))) return;
    g_test.state = new DIJOYSTATE;
    g_test.font = gdiTallied(CreateFontA(scaledY(16), scaledX(6), 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                         nullptr));
    PanelState& state = panelState();
    if (state.table.presetCount > 0 && state.currentIndex < state.table.presetCount)
        copyPreset(state.currentPreset, state.table.presets[state.currentIndex]);
    if (wheelDevice() && SUCCEEDED(wheelDevice()->Acquire())) {
        uploadParameters(0, state.wheel, state.currentPreset, panelRegistry(), platformDeviceIo());
        g_test.deviceReady = true;
        startTimer();
    }
    // Without a reading to come, the clip shows the frame the page takes as
    // shown.
    if (!g_test.timerRunning && g_test.video) {
        MCIWndSeek(g_test.video, g_test.lastFrame);
        g_test.clipPlaced = true;
    }
    SetFocus(nullptr);
    // The button page's working mouse flags follow the preset just taken.
    loadMouseFlags(buttonPageState(), state.currentPreset);
}

void onDestroy(HWND page) {
    if (wheelDevice()) wheelDevice()->Unacquire();
    stopTimer();
    delete g_test.state;
    g_test.state = nullptr;
    if (HWND tooltip = mainPageState().tooltip; tooltip && IsWindow(tooltip)) {
        RemoveTooltipTool(page, tooltip, kCalibrationButton);
        RemoveTooltipTool(page, tooltip, kAboutButton);
    }
    gdiDelete(g_test.font);
    panelRegistry().writeRegDword(panelState().currentIndex, kPanelKey, kLastIndexValue);
    g_test.page = nullptr;
}

void onCalibration(HWND page) {
    stopTimer();
    if (wheelDevice()) wheelDevice()->Unacquire();
    OpenCalibration(page);
    if (!IsWindow(page)) return;
    // The wheel is shown live again whenever it can be acquired now, also
    // when it could not be at opening.
    if (wheelDevice() && SUCCEEDED(wheelDevice()->Acquire())) {
        g_test.deviceReady = true;
        startTimer();
    }
}

void onPaint(HWND page) {
    // The live parts (marker, gauge bars) are drawn over the background by
    // the ticks, which restore only what they drew last. A repaint of part
    // of the page (a window closing over it) would leave that record wrong:
    // the whole page is painted, and the next tick draws them anew.
    InvalidateRect(page, nullptr, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(page, &ps);
    drawSprite(dc, skin::kTestPage, 0, 0);
    EndPaint(page, &ps);
    forgetDrawnParts();
}

BOOL onDrawItem(const DRAWITEMSTRUCT* item) {
    switch (item->CtlID) {
    case kCalibrationButton:
        PaintPushButton(item, sharedBitmap(skin::kSkinBitmap), pictureRect(skin::kCalibrationButtonNormal),
                        pictureRect(skin::kCalibrationButtonPressed), pictureRect(skin::kCalibrationButtonFocused));
        return TRUE;
    case kAboutButton: {
        const RECT about = pictureRect(skin::kTestAbout);
        PaintPushButton(item, sharedBitmap(skin::kTestBitmap), about, about, about);
        return TRUE;
    }
    case kKeyboardIndicator: {
        // Lit while a button with keys is held; it never takes the focus.
        const RECT lit = pictureRect(skin::kKeyboardIndicatorLit);
        const RECT shown = g_test.indicatorLit ? lit : pictureRect(skin::kKeyboardIndicatorNormal);
        PaintPushButton(item, sharedBitmap(skin::kSkinBitmap), shown, lit, shown);
        return TRUE;
    }
    default: return FALSE;
    }
}

}  // namespace

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(window); return 0;
    case WM_DESTROY: onDestroy(window); return 0;
    case WM_TIMER:
        if (wParam == kTimer) tick();
        return 0;
    case WM_PAINT: onPaint(window); return 0;
    case WM_DRAWITEM: return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
        wParam = skinnedCommand(wParam, lParam);
        if (LOWORD(wParam) == kCalibrationButton) onCalibration(window);
        if (LOWORD(wParam) == kAboutButton) ShowAbout(window);
        return 0;
    case WM_NOTIFY: {
        auto* request = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        if (request->hdr.code != TTN_GETDISPINFOA) break;
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(request->hdr.idFrom));
        const int text = id == kCalibrationButton ? kCalibrationTooltip : kAboutTooltip;
        answerTooltip(request, text, g_test.tooltipText, sizeof g_test.tooltipText);
        return TRUE;
    }
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zentra
