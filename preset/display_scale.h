// Display scaling, for both programs: every place and size they give is in
// pixels of a 96-DPI screen; a window on a screen of another DPI shows them
// multiplied by dpi / 96.
#pragma once

struct HWND__;  // the platform's window handle (Windows builds)

namespace zentra {

constexpr int kBaseDpi = 96;

// value * num / den (den positive), rounded to the nearest, halves away
// from zero: every scaled place and size of both programs is rounded so.
int mulDivRound(int value, int num, int den);

// `value`, in pixels at 96 DPI, at `dpi`: rounded to the nearest pixel,
// halves away from zero. A DPI of 0 or less counts as 96.
int scaleToDpi(int value, int dpi);

// The size of the icon the notification area asks for at `dpi`: the small
// icon, 16 pixels at 96 DPI (20 at 120, 24 at 144, 32 at 192).
int trayIconSize(int dpi);

// The DPI `window` is shown at: GetDpiForWindow where the system has it
// (looked up at run time), else the screen's LOGPIXELSX. With no window,
// the screen's. 96 when nothing answers. Windows builds only.
int windowDpi(HWND__* window);

}  // namespace zentra
