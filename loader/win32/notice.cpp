// The notice window: a small caption window that the watcher thread shows
// while the main thread switches presets.
#include "loader/loader_text.h"
#include "loader/win32/loader_app.h"
#include "preset/display_scale.h"

namespace zentra {

namespace {

constexpr COLORREF kNoticeBlue = 0x960000;  // blue 150
constexpr COLORREF kWhite = 0xFFFFFF;

// The notice's places at 96 DPI, shown multiplied by the screen's DPI / 96
// (the main window's: the notice has none of its own before it exists).
int scaled(int value) { return scaleToDpi(value, windowDpi(loaderApp().mainWindow)); }

void paintText(HDC dc, int id) {
    LoaderApp& app = loaderApp();
    char text[64];
    loadLoaderString(app.instance, app.language, id, text, sizeof text);
    RECT fill{0, 0, scaled(300), scaled(50)};
    HBRUSH brush = CreateSolidBrush(kNoticeBlue);
    FillRect(dc, &fill, brush);
    DeleteObject(brush);
    RECT box{0, 0, scaled(280), scaled(50)};
    DrawTextA(dc, text, -1, &box, DT_WORDBREAK | DT_CENTER);
    GdiFlush();
    // The text is to be seen before the pause that follows: some systems
    // (Wine) put a window's drawing on the screen only when its thread
    // looks at its messages.
    MSG none;
    PeekMessageA(&none, nullptr, 0, 0, PM_NOREMOVE);
}

LRESULT CALLBACK noticeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    LoaderApp& app = loaderApp();
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    SetBkColor(dc, kNoticeBlue);
    SetTextColor(dc, kWhite);
    const bool shutdown = app.noticeMode == 1;
    paintText(dc, shutdown ? kStrShutdownNotice : kStrLaunchNotice);
    Sleep(2000);
    paintText(dc, shutdown ? kStrShutdownRestore : kStrLaunchUpload);
    if (shutdown) app.noticeMode = 0;
    EndPaint(window, &ps);
    return 0;
}

}  // namespace

HWND showNotice(int) {
    LoaderApp& app = loaderApp();
    HWND notice = CreateWindowExA(0, "BUTTON", "Morvenhollow Preset Loader", WS_VISIBLE, scaled(100), scaled(100),
                                  scaled(300), scaled(60), nullptr,
                                  nullptr, app.instance, nullptr);
    if (!notice) return nullptr;
    SetWindowLongPtrA(notice, GWLP_WNDPROC, LONG_PTR(noticeProc));
    ShowWindow(notice, app.showCommand);
    UpdateWindow(notice);
    return notice;
}

}  // namespace zentra
