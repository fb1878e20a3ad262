// The tray loader's start-up rules that need no window.
#pragma once

#include <string>

namespace zentra {

// "/STARTUP" anywhere in the command line (case-sensitive).
bool hasStartupSwitch(const char* commandLine);

// Under "/STARTUP" the loader goes on only when "Launch" is present and not
// exactly "NO".
bool launchAllowsStart(const char* launchValue);

// The Run value's command: the Windows folder, then
// "\SYSTEM32\ZntUsb.exe /STARTUP" on the NT family (OsLevel 3 or more) or
// "\SYSTEM\ZntUsb.exe /STARTUP" on the 9x family.
std::string runValueCommand(const std::string& windowsFolder, int osLevel);

// The default preset file path: "SystemRoot" + "\TEMP\TempoZNT.pst" when
// OsLevel is exactly 3, "temp" + "\TempoZNT.pst" otherwise. A variable that
// is not set (null or empty) is replaced by `fallbackTemp`, the system's
// temporary folder, for the "temp" form, and by the "temp" form for the
// other.
std::string defaultPresetFilePath(int osLevel, const char* systemRoot, const char* temp,
                                  const std::string& fallbackTemp);

// The main window's place: centred on the screen, pulled back inside it,
// never above or left of it.
struct WindowPlace {
    int left, top;
};
WindowPlace centredPlace(int screenWidth, int screenHeight, int width, int height);

}  // namespace zentra
