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

bool saveWindowPicture(HWND window, const std::string& path) {
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;  // bottom-up, as BMP files are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = DWORD((w * 3 + 3) & ~3), size = stride * DWORD(h);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    const bool ok = out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof file, &put, nullptr) &&
                    WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &put, nullptr) &&
                    WriteFile(out, bits, size, &put, nullptr);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace zentra
