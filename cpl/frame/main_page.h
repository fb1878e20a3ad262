// The dialog procedure of the sheet's one page, template 144.
#pragma once

#include <windows.h>

namespace zentra {

class CplPropertySheet;

INT_PTR CALLBACK MainPage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The sheet object the page was made for (its page parameter), from the
// page's WM_INITDIALOG on; one page exists at a time.
CplPropertySheet* mainPageSheet();

}  // namespace zentra
