// Finding the windows of a sheet from outside its code, and taking their
// pictures: the stand-in panel's closer thread and the Wine tests look for
// the same pages and dialogs.
#pragma once

#include <windows.h>

#include <string>

namespace zentra {

// The first visible top-level window of thread `thread` (or, with thread 0,
// of process `process`) that has a child control `control`; null when none.
HWND findShownWindowWithControl(DWORD thread, DWORD process, int control);

// The first child of `parent`, at any depth, of window class `cls`.
HWND findChildOfClass(HWND parent, const char* cls);

// What the screen shows of `window`, saved as a 24-bit BMP file at `path`.
bool saveWindowPicture(HWND window, const std::string& path);

}  // namespace zentra
