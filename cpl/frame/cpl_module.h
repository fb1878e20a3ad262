// Module-wide state of the control-panel plug-in ZentraCpl.dll: its instance
// handle, the count of live objects that keeps it loaded, the lock of the
// DirectInput acquisition, the user-interface language, the window classes
// of its pages, and the localized strings. One copy per loaded library; the
// panel calls the plug-in from its user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>

namespace zentra {

// The module instance, recorded at process attach: every resource of the
// plug-in (dialogs, bitmaps, icons, cursors, string tables, the clip) is
// looked up with it. Tests that link the module's code without the library
// set it to the loaded ZentraCpl.dll to reach its resources.
HINSTANCE cplModuleInstance();
void setCplModuleInstance(HINSTANCE instance);

// Live class factories and sheet objects plus outstanding LockServer(TRUE)
// calls; changed only with interlocked operations. Each returns the new count.
LONG cplObjectAdded();
LONG cplObjectGone();
LONG cplObjectCount();

// Serialises the acquisition of the DirectInput interfaces. Created at
// process attach and deleted at process detach by DllMain.
extern CRITICAL_SECTION DeviceLock;

// The table language of every text lookup (0x0409, 0x0407, 0x040A, 0x040C,
// 0x0410, 0x0413 or 0x0816), chosen when a sheet object is initialised.
extern WORD UiLanguage;

// Sets UiLanguage from the user's default language.
void ChooseUiLanguage();

// String `id` of the string table in `language` (or, when the library has no
// table in exactly that language, in its primary language's neutral one),
// converted to the ANSI code page into `buffer`: at most size - 1 bytes,
// always terminated. Returns `buffer`, or null when there is no such text.
char* LoadLocalizedString(HINSTANCE instance, int id, WORD language, char* buffer, int size);

// The same text as a newly allocated wide string of 260 characters, zero
// filled (an empty string when there is no text); the caller frees it with
// delete[]. Null only when the allocation fails.
wchar_t* LoadLocalizedStringW(HINSTANCE instance, int id, WORD language);

// Registers the window classes of the plug-in's pages and controls:
// "ANCHORCUSTOM", "SENSIBCUSTOM", "CUSTOMICON", "MOVEICON", "BUTTONWINDOW",
// "TESTWINDOW", "SENSWINDOW", "AXEWINDOW", in this order. Each sheet object
// does it when it is made; a class that exists already stays as it is, and
// none is ever unregistered.
void registerCplWindowClasses();

// Window procedures of those classes, each defined with its page or control.
LRESULT CALLBACK AnchorCustomProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SensibCustomProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CustomIconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MoveIconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PovWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SensWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK AxeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace zentra
