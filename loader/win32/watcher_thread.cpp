// The watcher thread: polls the running processes once a second and
// announces game starts and ends to the main window.
#include <windows.h>

#include <tlhelp32.h>

#include "loader/win32/loader_app.h"

namespace zentra {

namespace {

class ToolhelpProcessList : public ProcessList {
public:
    bool snapshot(std::vector<ProcessEntry>& processes) override {
        processes.clear();
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snap == INVALID_HANDLE_VALUE) return false;
        PROCESSENTRY32 entry;
        entry.dwSize = sizeof entry;  // 296
        BOOL more = Process32First(snap, &entry);
        if (GetLastError() == ERROR_INVALID_PARAMETER) MessageBoxA(nullptr, "BAD PARAMETER", nullptr, MB_OK);
        while (more) {
            processes.push_back({entry.th32ProcessID, entry.szExeFile});
            more = Process32Next(snap, &entry);
        }
        CloseHandle(snap);
        return true;
    }
};

// Sleeps up to `ms`; true when the program is ending.
bool pauseOrStop(DWORD ms) { return loaderApp().stop.pause(ms); }

// Shows the notice, has the main thread carry out the transition, then
// takes the notice down.
void announce(HWND window, const Announcement& a) {
    LoaderApp& app = loaderApp();
    app.noticeMode = a.kind == Announcement::End ? 1 : 0;
    HWND notice = showNotice(app.noticeMode);
    if (a.kind == Announcement::Start) app.announcedStart = &a;
    SendMessageA(window, MSG_GAME_EVENT, 0, a.kind == Announcement::End ? LPARAM(-1) : LPARAM(a.presetIndex));
    app.announcedStart = nullptr;
    if (notice) DestroyWindow(notice);
}

}  // namespace

DWORD WINAPI watcherThreadMain(void*) {
    LoaderApp& app = loaderApp();
    while (!app.mainWindow) {
        if (pauseOrStop(1000)) return 0;
    }
    const HWND window = app.mainWindow;

    // The watcher's own reader: the main thread's text buffer is not shared.
    Registry registry(platformRegistryStore(), Deliverable::Loader);
    for (;;) {
        int loaded = -1;
        if (const char* path = registry.readRegString(kPanelKey, kTemporaryFileValue)) {
            const std::string copy = path;
            loaded = app.presets->load(copy.c_str(), platformFileSystem());
        }
        if (pauseOrStop(1000)) return 0;
        if (loaded == 0) break;
    }

    ToolhelpProcessList list;
    GameWatcher watcher;
    std::vector<ProcessEntry> processes;
    while (!app.stop.stopped()) {
        if (list.snapshot(processes)) {
            const Announcement a = watcher.scan(processes, *app.presets->matcher());
            if (a.kind != Announcement::None) announce(window, a);
        }
        // A failed snapshot waits for the next second too, rather than spin.
        if (pauseOrStop(1000)) break;
    }
    return 0;
}

}  // namespace zentra
