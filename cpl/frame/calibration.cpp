// The axis calibration dialog and its "MOVEICON" markers.
#include "cpl/frame/calibration.h"

#include <cstring>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/direct_input.h"
#include "cpl/frame/gdi_tally.h"
#include "cpl/frame/main_page.h"
#include "cpl/frame/panel_state.h"
#include "cpl/frame/skinned_controls.h"
#include "cpl/res/cpl_resource.h"

namespace zentra {

namespace {

CalibrationState g_calibration;

static_assert(sizeof(JOYREGHWCONFIG) == kHardwareConfigSize, "the stored record is the system's hardware configuration");
static_assert(sizeof(DIJOYCONFIG) == 1176, "joystick configuration layout");

constexpr int kCaptionString = 82;
constexpr int kRestFirstString = 55, kRestSecondString = 56;
constexpr int kTrackFirstString = 54, kTrackSecondString = 57;
constexpr UINT_PTR kTimer = 0;
constexpr UINT kPeriod = 100;
constexpr COLORREF kPenColour = 0xF991C3;
constexpr COLORREF kGaugeColour = 0x2D0410;
constexpr RECT kGauges[2] = {{148, 17, 156, 103}, {186, 17, 194, 103}};
constexpr RECT kGaugeOutlines[2] = {{147, 16, 157, 104}, {184, 16, 195, 104}};

void setLocalizedText(HWND window, int id) {
    char text[256];
    if (!LoadLocalizedString(cplModuleInstance(), id, UiLanguage, text, sizeof text)) text[0] = 0;
    SetWindowTextA(window, text);
}

void placeMarkers() {
    const WheelReport& r = g_calibration.report;
    const MarkerPlaces places = markerPlaces(r.bytes[kReportX], r.bytes[kReportY], r.bytes[kReportZ]);
    const std::pair<int, MarkerPlace> markers[] = {
        {kWheelMarker, places.wheel}, {kFirstPedalMarker, places.firstPedal}, {kSecondPedalMarker, places.secondPedal}};
    for (const auto& [id, place] : markers) {
        HWND marker = GetDlgItem(g_calibration.dialog, id);
        MoveControl(marker, place.x, place.y, 8, 8, TRUE);
        InvalidateRect(marker, nullptr, TRUE);
    }
}

void readReport() {
    // A failed read keeps the previous bytes: the markers stay.
    readWheelReport(platformDeviceIo(), panelState().wheel.link.linkHandle, g_calibration.report, platformProcessHost());
}

void startTracking() {
    g_calibration.phase = 1;
    g_calibration.confirmPicture = 0;
    InvalidateRect(GetDlgItem(g_calibration.dialog, kCalibrationConfirm), nullptr, FALSE);
    setLocalizedText(GetDlgItem(g_calibration.dialog, kFirstInstruction), kTrackFirstString);
    setLocalizedText(GetDlgItem(g_calibration.dialog, kSecondInstruction), kTrackSecondString);
}

void restStepNow() {
    restStep(g_calibration.measurement, g_calibration.report);
    placeMarkers();
}

int failStep(HWND dialog, const char* box, const char* line) {
    MessageBoxA(dialog, box, "Error", MB_OK | MB_ICONSTOP);
    OutputDebugStringA(line);
    return -1;
}

// The storing step: 1 stored and notified, 0 stored but not notified, -1
// when DirectInput refused before anything was stored.
int storeCalibration(HWND dialog) {
    IDirectInput8A* root = nullptr;
    if (FAILED(createDirectInputRoot(&root)))
        return failStep(dialog, "IDirectInputCreate FAILED", "IDirectInputCreate FAILED\n");
    IDirectInputJoyConfig8* config = nullptr;
    if (FAILED(root->QueryInterface(kIidDirectInputJoyConfig8, reinterpret_cast<void**>(&config)))) {
        root->Release();
        return failStep(dialog, "IDirectInput::QueryInterface", "IDirectInput::QueryInterface FAILED\n");
    }
    const auto releaseBoth = [&] {
        config->Release();
        root->Release();
    };
    if (FAILED(config->SetCooperativeLevel(dialog, DISCL_EXCLUSIVE | DISCL_BACKGROUND))) {
        releaseBoth();
        return failStep(dialog, "DirectInputJoyConfig::SetCooperativelevel FAILED",
                        "IDirectInputJoyConfig::SetCooperativelevel FAILED\n");
    }
    if (FAILED(config->Acquire())) {
        releaseBoth();
        return failStep(dialog, "IDirectInputJoyConfig::Acquire FAILED", "IDirectInputJoyConfig::Acquire FAILED\n");
    }
    DIJOYCONFIG system;
    ZeroMemory(&system, sizeof system);
    system.dwSize = sizeof system;
    uint8_t systemRecord[kHardwareConfigSize] = {};
    if (SUCCEEDED(config->GetConfig(mainPageState().joystickId, &system, DIJC_REGHWCONFIGTYPE)))
        std::memcpy(systemRecord, &system.hwc, sizeof systemRecord);
    PanelState& state = panelState();
    uint8_t record[kHardwareConfigSize];
    buildCalibrationRecord(record, systemRecord, g_calibration.measurement);
    const int device = state.wheel.link.deviceNumber;
    panelRegistry().writeRegBinary(record, sizeof record, kPanelKey, joystickConfigurationName(device).c_str());
    loadHardwareConfiguration(state.wheel.hardware, panelRegistry(), device);
    if (FAILED(config->SendNotify())) {
        OutputDebugStringA("IDirectInputJoyConfig::SendNotify FAILED\n");
        releaseBoth();
        return 0;
    }
    if (FAILED(config->Unacquire())) OutputDebugStringA("IDirectInputJoyConfig::Unacquire FAILED\n");
    releaseBoth();
    return 1;
}

void onInit(HWND dialog) {
    g_calibration = CalibrationState{};
    g_calibration.dialog = dialog;
    setLocalizedText(dialog, kCaptionString);
    g_calibration.confirmPicture = 1;
    resetMeasurement(g_calibration.measurement);
    SetTimer(dialog, kTimer, kPeriod, nullptr);
    g_calibration.marker = HICON(LoadImageA(cplModuleInstance(), MAKEINTRESOURCEA(IDI_CPL_MARKER), IMAGE_ICON,
                                            scaledX(8), scaledY(8), 0));
    CreateFlatButton(dialog, 232, 22, 42, 29, kCalibrationConfirm);
    CreateFlatButton(dialog, 232, 70, 42, 29, kCalibrationCancel);
    for (int id : {kWheelMarker, kFirstPedalMarker, kSecondPedalMarker})
        CreateScaledWindow(0, "MOVEICON", WS_CHILD | WS_VISIBLE, 40, 60, 10, 10, dialog, id);
    const DWORD label = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW;
    setLocalizedText(CreateScaledWindow(0, "static", label, 10, 110, 260, 20, dialog, kFirstInstruction),
                     kRestFirstString);
    setLocalizedText(CreateScaledWindow(0, "static", label, 10, 130, 260, 20, dialog, kSecondInstruction),
                     kRestSecondString);
    g_calibration.pen = gdiTallied(CreateScaledPen(kPenColour));
    RECT r;
    GetWindowRect(dialog, &r);
    const SIZE size = scaledWindowSize(dialog, 295, 179);
    MoveWindow(dialog, r.left + scaledX(170), r.top + scaledY(150), size.cx, size.cy, TRUE);
}

void onPaint(HWND dialog) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    DrawPicture(dc, sharedBitmap(IDB_CPL_TEST_PAGE), skin::kCalibrationDialog, 0, 0);
    DrawPicture(dc, sharedBitmap(IDB_CPL_SKIN), skin::kCalibrationWheel, skin::kCalibrationWheelAt.x,
                skin::kCalibrationWheelAt.y);
    HBRUSH gauge = CreateSolidBrush(kGaugeColour);
    for (const RECT& g : kGauges) {
        const RECT place = scaledRect(g.left, g.top, g.right - g.left, g.bottom - g.top);
        FillRect(dc, &place, gauge);
    }
    DeleteObject(gauge);
    EndPaint(dialog, &ps);
    for (const RECT& outline : kGaugeOutlines) OutlineRect(dialog, outline, g_calibration.pen);
}

INT_PTR CALLBACK CalibrationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: onInit(dialog); return TRUE;
    case WM_TIMER:
        readReport();
        if (g_calibration.phase == 1) {
            trackingStep(g_calibration.measurement, g_calibration.report);
            placeMarkers();
        } else {
            restStepNow();
            if (reportButtonPressed(g_calibration.report)) startTracking();
        }
        return TRUE;
    case WM_COMMAND:
        wParam = skinnedCommand(wParam, lParam);
        if (LOWORD(wParam) == kCalibrationConfirm) {
            if (g_calibration.phase == 0) {
                restStepNow();
                startTracking();
            } else if (!measurementUsable(g_calibration.measurement)) {
                // A wheel held still, or an axis never moved: no range the
                // driver could scale. Nothing is stored; the user hears and
                // reads why, and can go on turning and pressing.
                OutputDebugStringA("Calibration - the measurement is not usable\n");
                MessageBeep(MB_ICONWARNING);
                MessageBoxA(dialog, calibrationRefusedText(UiLanguage), nullptr, MB_OK | MB_ICONWARNING);
            } else if (storeCalibration(dialog) == 1) {
                EndDialog(dialog, kCalibrationStored);
            }
        } else if (LOWORD(wParam) == kCalibrationCancel) {
            EndDialog(dialog, kCalibrationCancelled);
        }
        return TRUE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        switch (item->CtlID) {
        case kFirstInstruction:
            PaintLabel(item, sharedBitmap(IDB_CPL_TEST_PAGE), pictureRect(skin::kCalibrationFirstText), nullptr);
            break;
        case kSecondInstruction:
            PaintLabel(item, sharedBitmap(IDB_CPL_TEST_PAGE), pictureRect(skin::kCalibrationSecondText), nullptr);
            break;
        case kCalibrationConfirm:
            PaintSkinButton(item, sharedBitmap(IDB_CPL_SKIN), pictureRect(skin::kCalibrationConfirmStore),
                            pictureRect(skin::kCalibrationConfirmRest), pictureRect(skin::kCalibrationConfirmStore),
                            g_calibration.confirmPicture);
            break;
        case kCalibrationCancel: {
            const RECT cancel = pictureRect(skin::kCalibrationCancel);
            PaintPushButton(item, sharedBitmap(IDB_CPL_SKIN), cancel, cancel, cancel);
            break;
        }
        default: return FALSE;
        }
        return TRUE;
    }
    case WM_PAINT: onPaint(dialog); return TRUE;
    case WM_DESTROY:
        gdiDelete(g_calibration.pen);
        if (g_calibration.marker) DestroyIcon(g_calibration.marker);
        g_calibration.marker = nullptr;
        KillTimer(dialog, kTimer);
        g_calibration.dialog = nullptr;
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

CalibrationState& calibrationState() { return g_calibration; }

INT_PTR OpenCalibration(HWND parentWindow) {
    neutralHardwareRecord(panelState().wheel.hardware.record);
    const INT_PTR result = DialogBoxParamA(cplModuleInstance(), MAKEINTRESOURCEA(IDD_CPL_CALIBRATION), parentWindow,
                                           CalibrationProc, 0);
    if (result == kCalibrationStored) SendMessageA(GetParent(GetParent(parentWindow)), WM_COMMAND, IDOK, 0);
    return result;
}

LRESULT CALLBACK MoveIconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    // At the size it was loaded at: the 8 x 8 marker at the panel's scale.
    if (g_calibration.marker) DrawIconEx(dc, 0, 0, g_calibration.marker, 0, 0, 0, nullptr, DI_NORMAL);
    EndPaint(window, &ps);
    return 0;
}

}  // namespace zentra
