// What passes between the two programs besides the preset file and the
// registry: the tray program's window class, by which the control panel
// recognises its window, and the private messages of that window.
#pragma once

#include <cstdint>

namespace zentra {

// The tray program's main window class; its handle is in "HandleVedodUSB".
constexpr char kLoaderClassName[] = "MH_ZENTRA_USB";

// From the control panel to the tray program: wParam 1 when the panel has
// opened, 0 when it has closed; lParam 0.
constexpr uint32_t MSG_PANEL_STATE = 0x2000;
// Posted by the tray program to itself: the delayed re-read of the preset
// file after the panel has closed.
constexpr uint32_t MSG_PANEL_RELOAD = 0x2001;
// Inside the tray program, from its watcher: lParam the preset index, or -1
// at a game's end.
constexpr uint32_t MSG_GAME_EVENT = 0x2003;

}  // namespace zentra
