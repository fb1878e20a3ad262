// Driving a running tray loader from another process, as a user or the
// control panel would: find its window, show it, pick a tray menu item,
// send it the control panel's message.
#pragma once

#include <windows.h>

namespace zentra {

// The loader's main window, or null when no loader runs.
HWND findLoaderWindow();

// Waits up to `ms` for the loader's window and its last control.
HWND waitForLoaderWindow(DWORD ms);

// The popup menu that thread `thread` shows, waiting up to `ms` for it;
// null when none appeared.
HWND visibleMenuOf(DWORD thread, DWORD ms);

// Opens the tray menu as a right click does and chooses the item at
// `position` (0 control panel, 1 show window, 2 exit). False when no menu
// appeared.
bool chooseTrayMenuItem(HWND loader, int position, DWORD ms = 5000);

// MSG_PANEL_STATE as the control panel sends it: 1 opened, 0 closed.
LRESULT sendPanelState(HWND loader, WPARAM state);

}  // namespace zentra
