// The Windows generation, as both programs compute it from the platform's
// version query.
#pragma once

namespace zentra {

constexpr int kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT

// 9x family: 4.0 gives 0, 4.10 gives 1, 4.90 gives 2, any other 1. NT family:
// 3, but 5.x with a minor version above 0 gives 4. 3 or more means the NT
// family.
int computeOsLevel(int platformId, unsigned major, unsigned minor);

// OsLevel of the running system (Windows builds only).
int platformOsLevel();

}  // namespace zentra
