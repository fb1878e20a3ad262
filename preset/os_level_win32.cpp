#include <windows.h>

#include "preset/os_level.h"

namespace zentra {

int platformOsLevel() {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;  // 148
    if (!GetVersionExA(&info)) return 3;
    return computeOsLevel(int(info.dwPlatformId), info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace zentra
