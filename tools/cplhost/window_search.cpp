#include "tools/cplhost/window_search.h"

#include <cstring>

namespace zentra {

HWND findShownWindowWithControl(DWORD thread, DWORD process, int control) {
    struct Search {
        DWORD thread, process;
        int control;
        HWND found;
    } search{thread, process, control, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            const DWORD ownerThread = GetWindowThreadProcessId(window, &owner);
            if (s->thread ? ownerThread != s->thread : owner != s->process) return TRUE;
            if (!IsWindowVisible(window) || !GetDlgItem(window, s->control)) return TRUE;
            s->found = window;
            return FALSE;
        },
        LPARAM(&search));
    return search.found;
}

HWND findChildOfClass(HWND parent, const char* cls) {
    struct Search {
        const char* cls;
        HWND found;
    } search{cls, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            char name[32] = "";
            GetClassNameA(window, name, sizeof name);
            if (std::strcmp(name, s->cls) != 0) return TRUE;
            s->found = window;
            return FALSE;
        },
        LPARAM(&search));
    return search.found;
}

}  // namespace zentra
