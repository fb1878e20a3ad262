#include "loader/startup.h"

#include <cstring>

namespace zentra {

namespace {

bool isSet(const char* value) { return value && *value; }

// The system's temporary folder usually ends in a separator; the file name
// below brings its own.
std::string withoutTrailingSeparator(std::string folder) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

}  // namespace

bool hasStartupSwitch(const char* commandLine) {
    return commandLine && std::strstr(commandLine, "/STARTUP") != nullptr;
}

bool launchAllowsStart(const char* launchValue) {
    return launchValue && std::strcmp(launchValue, "NO") != 0;
}

std::string runValueCommand(const std::string& windowsFolder, int osLevel) {
    return windowsFolder + (osLevel >= 3 ? "\\SYSTEM32\\ZntUsb.exe /STARTUP" : "\\SYSTEM\\ZntUsb.exe /STARTUP");
}

std::string defaultPresetFilePath(int osLevel, const char* systemRoot, const char* temp,
                                  const std::string& fallbackTemp) {
    if (osLevel == 3 && isSet(systemRoot)) return std::string(systemRoot) + "\\TEMP\\TempoZNT.pst";
    const std::string folder = isSet(temp) ? std::string(temp) : withoutTrailingSeparator(fallbackTemp);
    return folder + "\\TempoZNT.pst";
}

WindowPlace centredPlace(int screenWidth, int screenHeight, int width, int height) {
    WindowPlace place{screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
    if (place.left + width > screenWidth) place.left = screenWidth - width;
    if (place.top + height > screenHeight) place.top = screenHeight - height;
    if (place.left < 0) place.left = 0;
    if (place.top < 0) place.top = 0;
    return place;
}

}  // namespace zentra
