// The tray loader's languages, string ids and menus.
#pragma once

#include <cstdint>

namespace zentra {

// The table language for the user's default language: Portuguese, Italian,
// French, Spanish, German and Dutch variants get their table, anything else
// English (0x0409).
uint16_t chooseLoaderLanguage(uint16_t userLanguage);

// The tray menu resource of a table language (232 English, 237..242 the others).
uint16_t loaderMenuId(uint16_t language);

// String ids.
constexpr int kStrTitle = 1;              // "Morvenhollow Racing Wheel"
constexpr int kStrMutexName = 24;         // defined by no language
constexpr int kStrDisableEmulation = 31;  // check box texts
constexpr int kStrLaunchOnStartup = 33;
constexpr int kStrManualPreset = 34;
constexpr int kStrStart = 35;             // button texts
constexpr int kStrStop = 36;
constexpr int kStrLaunchNotice = 42;      // notice texts: first and second, launch then shutdown
constexpr int kStrLaunchUpload = 43;
constexpr int kStrShutdownNotice = 44;
constexpr int kStrShutdownRestore = 45;

// Menu item ids (the same in every language).
constexpr int kMenuControlPanel = 40003;
constexpr int kMenuExit = 40004;
constexpr int kMenuShowWindow = 40005;

}  // namespace zentra
