#include "tests/wine/support/wine_test_support.h"

#include "tools/cplhost/page_harness.h"
#include "tools/cplhost/window_search.h"

#include <cstring>
#include <vector>

namespace zentra {

std::string besideTests(const char* file) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + file;
}

}  // namespace zentra

namespace zentra {

std::string tempFile(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

void pointPanelAt(Registry& registry, const std::string& presetFile, uint32_t lastIndex) {
    registry.writeRegString(kPanelKey, kTemporaryFileValue, presetFile.c_str());
    registry.writeRegDword(lastIndex, kPanelKey, kLastIndexValue);
    registry.writeRegDword(0, kPanelKey, kLoaderWindowValue);
}

bool runLinux(const std::string& commandLine, DWORD ms) {
    std::string command = commandLine;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    WaitForSingleObject(pi.hProcess, ms);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return true;
}

bool screenshotTo(const std::string& pngPath) {
    return runLinux("Z:\\usr\\bin\\import -window root " + pngPath, 10000);
}

void xdotool(const std::string& args) {
    runLinux("Z:\\usr\\bin\\xdotool " + args, 5000);
    Sleep(150);
}

void whileModal(const std::function<void()>& modal, const std::function<void()>& user) {
    struct Run {
        std::function<void()> user;
    } run{user};
    HANDLE thread = CreateThread(
        nullptr, 0, [](void* p) -> DWORD { static_cast<Run*>(p)->user(); return 0; }, &run, 0, nullptr);
    modal();
    WaitForSingleObject(thread, 60000);
    CloseHandle(thread);
}

HWND waitForWindowWithControl(DWORD thread, int control) {
    for (int i = 0; i < 300; ++i) {
        if (HWND found = findShownWindowWithControl(thread, 0, control)) return found;
        Sleep(20);
    }
    return nullptr;
}

bool waitUntil(const std::function<bool()>& done, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (done()) return true;
        pumpMessages(50);
    }
    return done();
}

bool lastParameterBlock(sim::SimClient& client, ParameterBlock& block) {
    std::vector<SimLogEntry> entries;
    if (!client.log(entries)) return false;
    for (auto e = entries.rbegin(); e != entries.rend(); ++e)
        if (e->code == SIM_CODE_PARAMETER_BLOCK && e->storedLength == sizeof block) {
            std::memcpy(&block, e->input, sizeof block);
            return true;
        }
    return false;
}

}  // namespace zentra
