#include "preset/os_level.h"

namespace zentra {

int computeOsLevel(int platformId, unsigned major, unsigned minor) {
    if (platformId == kPlatformNt) return (major == 5 && minor != 0) ? 4 : 3;
    if (major == 4 && minor == 0) return 0;
    if (major == 4 && minor == 90) return 2;
    return 1;
}

}  // namespace zentra
