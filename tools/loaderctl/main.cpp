// ZntLoaderCtl: drives a running ZntUsb from the command line, for the
// demonstration script and for trying the loader without a tray to click.
//   show         show the settings window (the tray menu's second item)
//   exit         choose Exit in the tray menu
//   panel 1|0    the control panel's message: opened (default preset) or closed (re-read the file)
#include <cstdio>
#include <cstring>

#include "tools/loaderctl/loader_control.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ZntLoaderCtl show|exit|panel 1|0\n");
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
    std::fprintf(stderr, "usage: ZntLoaderCtl show|exit|panel 1|0\n");
    return 2;
}
