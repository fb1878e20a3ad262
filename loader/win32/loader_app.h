// The tray loader's process-wide state and the pieces of its Win32 shell.
#pragma once

#include <windows.h>

#include <atomic>

#include "driver/upload.h"
#include "loader/stop_signal.h"
#include "loader/transitions.h"
#include "loader/watcher.h"
#include "preset/program_messages.h"
#include "preset/registry.h"

namespace zentra {

// Private window messages of the main window; those the control panel sends
// are in program_messages.h.
constexpr UINT MSG_TRAY_INSTALL = 0x3000;  // adds the tray icon and hides the window
constexpr UINT MSG_TRAY_NOTIFY = 0x3001;   // the tray icon's callback
constexpr UINT kTrayIconId = 0x9999;

// Child control ids.
constexpr int IDC_START_STOP = 105;
constexpr int IDC_MANUAL_PRESET = 106;
constexpr int IDC_LAUNCH_ON_STARTUP = 107;
constexpr int IDC_PRESET_COMBO = 108;
constexpr int IDC_DISABLE_KBD_EMULATION = 1008;

constexpr int kQuitCode = 18;

// Everything the loader keeps for its whole life, in one place.
struct LoaderApp {
    HINSTANCE instance = nullptr;
    int showCommand = SW_SHOWNORMAL;
    int osLevel = 3;
    uint16_t language = 0x0409;

    std::atomic<HWND> mainWindow{nullptr};
    HANDLE watcherThread = nullptr;
    StopSignal stop;                  // set at Exit: the watcher returns at its next look
    std::atomic<int> noticeMode{0};   // 0 launch texts, 1 shutdown texts
    // The start announcement that the watcher is handing over, while its
    // MSG_GAME_EVENT is being handled: it names the game by more than the
    // index in lParam.
    std::atomic<const Announcement*> announcedStart{nullptr};

    // Keyboard emulation as the check box last set it.
    uint32_t emulationEnabled = 1;
    uint32_t emulationMode = kEmulationSelector;
    bool manualRunning = false;
    NOTIFYICONDATAA tray{};
    HICON trayIcons[2]{};  // normal and emulation disabled, at the tray's size

    // Presets and the wheel, used by the main thread's transitions.
    SharedPresets* presets = nullptr;
    Preset* currentPreset = nullptr;
    LoaderWheel* wheel = nullptr;
    Registry* registry = nullptr;  // main thread only: its text buffer is not shared
};

LoaderApp& loaderApp();

// The main thread's view of the transitions.
LoaderContext mainContext();

// A string of the loader's tables in `language`, converted to the ANSI code
// page, cut to `size` - 1 characters and terminated; empty when the table
// lacks it.
void loadLoaderString(HINSTANCE instance, uint16_t language, int id, char* buffer, int size);

bool registerMainWindowClass(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance);

// The watcher thread's entry.
DWORD WINAPI watcherThreadMain(void*);

// The notice window shown by the watcher while a transition runs.
HWND showNotice(int mode);

}  // namespace zentra
