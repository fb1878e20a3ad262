// The dialog procedure of the sheet's one page, template 144: the frame of
// the control panel. It connects to the wheel, loads and saves the presets,
// tells the tray program, shows the skinned tabs and hosts one child page
// at a time.
#pragma once

#include <windows.h>

#include "cpl/frame/dinput_sheet.h"
#include "cpl/frame/main_page_logic.h"
#include "preset/preset_file.h"
#include "preset/registry.h"

namespace zentra {

struct SkinBitmapBatch;

INT_PTR CALLBACK MainPage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The page's module-wide state; one page exists at a time. The preset table,
// the current preset and the wheel are in panelState().
struct MainPageState {
    IDIGameCntrlPropSheet* sheet;  // the page parameter, also in DWL_USER
    HWND page;
    USHORT joystickId;
    int osLevel;
    int applyOnClose;   // 1: the presets are saved when the page closes
    bool presetsLoaded; // the table was loaded (or built): only then is it saved, sent and "LastIndice" written
    char videoPath[MAX_PATH];  // where the clip is (or would have been) written
    TabStates tabs;
    HWND children[kTabCount];  // child page of each tab, or null
    HWND tooltip;
    HHOOK hook;
    HBITMAP skin, presetsBackground, testBackground, configBackground;  // 189, 187, 188, 186
    SkinBitmapBatch* skinFitting;  // the four's pixels on their way to the scale, or null
    char tooltipText[256];
};

MainPageState& mainPageState();
// Back to a page never opened (all zero); for tests.
void resetMainPageState();

// The sheet object the page was made for, from its WM_INITDIALOG on.
IDIGameCntrlPropSheet* mainPageSheet();

// One of the shared skin bitmaps (186 to 189) that the page loaded, or null.
HBITMAP sharedBitmap(int id);

// The control panel's registry operations (its string buffers).
Registry& panelRegistry();

// Tells the user, in a message box, that a file is not a preset file.
PresetFileNotice& panelPresetNotice();

// Sends the tray program MSG_PANEL_STATE with `state` (1 opened, 0 closed),
// when the window named by "HandleVedodUSB" is the tray program's.
void sendPanelState(WPARAM state);

}  // namespace zentra
