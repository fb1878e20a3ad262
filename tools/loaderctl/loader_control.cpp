#include "tools/loaderctl/loader_control.h"

#include "preset/program_messages.h"

namespace zentra {

namespace {

constexpr UINT kTrayNotify = 0x3001;
constexpr WPARAM kTrayIconId = 0x9999;
constexpr int kLastControl = 105;  // the Start/Stop button, created last

struct MenuSearch {
    DWORD thread;
    HWND menu;
};

BOOL CALLBACK findMenu(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<MenuSearch*>(param);
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(window) &&
        GetWindowThreadProcessId(window, nullptr) == search->thread) {
        search->menu = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND findLoaderWindow() { return FindWindowA(kLoaderClassName, nullptr); }

HWND waitForLoaderWindow(DWORD ms) {
    for (DWORD waited = 0;; waited += 50) {
        HWND window = findLoaderWindow();
        if (window && GetDlgItem(window, kLastControl)) return window;
        if (waited >= ms) return nullptr;
        Sleep(50);
    }
}

HWND visibleMenuOf(DWORD thread, DWORD ms) {
    MenuSearch search{thread, nullptr};
    for (DWORD waited = 0;; waited += 50) {
        EnumWindows(findMenu, reinterpret_cast<LPARAM>(&search));
        if (search.menu || waited >= ms) return search.menu;
        Sleep(50);
    }
}

bool chooseTrayMenuItem(HWND loader, int position, DWORD ms) {
    PostMessageA(loader, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = visibleMenuOf(GetWindowThreadProcessId(loader, nullptr), ms);
    if (!menu) return false;
    // The menu's keyboard: Down selects the first item, then one item a press.
    for (int i = 0; i <= position; ++i) {
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYUP, VK_DOWN, 0);
    }
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(menu, WM_KEYUP, VK_RETURN, 0);
    return true;
}

LRESULT sendPanelState(HWND loader, WPARAM state) { return SendMessageA(loader, MSG_PANEL_STATE, state, 0); }

}  // namespace zentra
