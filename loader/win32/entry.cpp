// ZntUsb: the tray preset loader's entry point.
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>

#include "driver/discovery.h"
#include "loader/loader_text.h"
#include "loader/startup.h"
#include "loader/win32/loader_app.h"
#include "preset/os_level.h"

namespace zentra {

namespace {

// Static storage for the program's life, as the table is large.
PresetTable g_table;
Preset g_currentPreset;
LoaderWheel g_wheel;

void debugLine(const char* text) { OutputDebugStringA(text); }

}  // namespace

LoaderApp& loaderApp() {
    static LoaderApp app;
    return app;
}

LoaderContext mainContext() {
    LoaderApp& app = loaderApp();
    return LoaderContext{*app.registry, platformDeviceIo(), platformFileSystem(), *app.presets,
                         *app.currentPreset, *app.wheel, debugLine};
}

// How long WinMain waits for the watcher at exit: longer than a notice
// stays up (two seconds of painting) plus a scan.
constexpr DWORD kWatcherExitWait = 5000;

namespace {

// Stops the watcher and waits a bounded time for it. A watcher still running
// then (held in a message box, say) uses the loader's state: the process
// ends at once with `code`, without destroying any of it, as returning would.
void stopWatcher(int code) {
    LoaderApp& app = loaderApp();
    app.stop.stop();
    if (!app.watcherThread) return;
    // Messages the watcher still sends are answered while it finishes.
    const DWORD deadline = GetTickCount() + kWatcherExitWait;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD left = int(deadline - now) > 0 ? deadline - now : 0;
        const DWORD woke = MsgWaitForMultipleObjects(1, &app.watcherThread, FALSE, left, QS_SENDMESSAGE);
        if (woke != WAIT_OBJECT_0 + 1) break;
        MSG pending;
        PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);
    }
    if (WaitForSingleObject(app.watcherThread, 0) != WAIT_OBJECT_0) std::_Exit(code);
    CloseHandle(app.watcherThread);
    app.watcherThread = nullptr;
}

}  // namespace

int runLoader(HINSTANCE instance, int showCommand) {
    LoaderApp& app = loaderApp();
    static Registry registry(platformRegistryStore(), Deliverable::Loader);
    static SharedPresets presets(g_table, systemUpperCase());
    app.instance = instance;
    app.showCommand = showCommand;
    app.osLevel = platformOsLevel();
    app.registry = &registry;
    app.presets = &presets;
    app.currentPreset = &g_currentPreset;
    app.wheel = &g_wheel;

    if (hasStartupSwitch(GetCommandLineA())) {
        if (app.osLevel >= 3) openWheelLinksAtStartup(g_wheel, registry, platformDeviceIo());
        if (!launchAllowsStart(registry.readRegString(kPanelKey, kLaunchValue))) return 0;
    }

    // The instance check is the window class's; the mutex carries no name.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    app.watcherThread = CreateThread(nullptr, 0, watcherThreadMain, nullptr, 0, nullptr);
    if (app.watcherThread) SetThreadPriority(app.watcherThread, THREAD_PRIORITY_BELOW_NORMAL);

    if (HWND other = FindWindowA(kLoaderClassName, nullptr)) {
        SetForegroundWindow(other);
        ShowWindowAsync(other, SW_RESTORE);
        stopWatcher(0);
        return 0;
    }

    InitCommonControls();
    HWND window = registerMainWindowClass(instance) ? createMainWindow(instance) : nullptr;
    if (!window) {
        stopWatcher(0);
        return 0;
    }
    UpdateWindow(window);

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    // The watcher was told to stop before the window went; it returns at its
    // next look at the flag.
    const int code = int(message.wParam);
    stopWatcher(code);
    if (mutex) CloseHandle(mutex);
    return code;
}

}  // namespace zentra

namespace {

// Libraries loaded by name from now on come from the system folder only,
// never from the current folder or one a user can write into. The call is
// looked up rather than imported, so that a system without it still starts
// the program (with the system's default search order).
void restrictDllSearch() {
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto set = kernel ? reinterpret_cast<SetDefaultDirectories>(
                            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                      : nullptr;
    if (!set || !set(LOAD_LIBRARY_SEARCH_SYSTEM32)) OutputDebugStringA("SetDefaultDllDirectories FAILED\n");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // Before anything can load a library.
    restrictDllSearch();
    return zentra::runLoader(instance, showCommand);
}
