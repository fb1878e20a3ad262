// ZntLoaderCtl: drives a running ZntUsb from the command line, for the
// demonstration script and for trying the loader without a tray to click.
//   show         show the settings window (the tray menu's second item)
//   exit         choose Exit in the tray menu
//   panel 1|0    the control panel's message: opened (default preset) or closed (re-read the file)
//   picture settings|notice FILE.bmp
//                what the screen shows of the settings window or of a game's notice
#include <cstdio>
#include <cstring>

#include "tools/cplhost/window_search.h"
#include "tools/loaderctl/loader_control.h"

namespace {

constexpr char kUsage[] = "usage: ZntLoaderCtl show|exit|panel 1|0|picture settings|notice FILE.bmp\n";

// The notice the loader shows while a game starts or ends.
HWND waitForNotice(DWORD ms) {
    for (DWORD waited = 0;; waited += 50) {
        HWND notice = FindWindowA("BUTTON", "Morvenhollow Preset Loader");
        if (notice && IsWindowVisible(notice)) return notice;
        if (waited >= ms) return nullptr;
        Sleep(50);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    HWND loader = zentra::waitForLoaderWindow(10000);
    if (!loader) {
        std::fprintf(stderr, "ZntLoaderCtl: no ZntUsb is running\n");
        return 1;
    }
    if (!std::strcmp(argv[1], "show")) return zentra::chooseTrayMenuItem(loader, 1) ? 0 : 1;
    if (!std::strcmp(argv[1], "exit")) return zentra::chooseTrayMenuItem(loader, 2) ? 0 : 1;
    if (!std::strcmp(argv[1], "panel") && argc == 3) {
        zentra::sendPanelState(loader, argv[2][0] == '1' ? 1 : 0);
        return 0;
    }
    if (!std::strcmp(argv[1], "picture") && argc == 4) {
        HWND window = !std::strcmp(argv[2], "notice") ? waitForNotice(5000) : loader;
        if (!window || !zentra::saveWindowPicture(window, argv[3])) {
            std::fprintf(stderr, "ZntLoaderCtl: no picture of the %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
