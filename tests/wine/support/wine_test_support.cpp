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

ChildRun runChild(const std::string& exe, const std::string& args, DWORD ms,
                  const std::function<void(DWORD pid)>& whileRunning) {
    ChildRun run;
    char dir[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "out", 0, name);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + exe + "\" " + args;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        for (DWORD waited = 0; WaitForSingleObject(pi.hProcess, 50) != WAIT_OBJECT_0; waited += 50) {
            if (waited >= ms) {
                TerminateProcess(pi.hProcess, 998);
                WaitForSingleObject(pi.hProcess, 5000);
                break;
            }
            if (whileRunning) whileRunning(pi.dwProcessId);
        }
        GetExitCodeProcess(pi.hProcess, &run.exitCode);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(out);
    HANDLE in = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
    std::vector<char> text(16384);
    DWORD got = 0;
    ReadFile(in, text.data(), DWORD(text.size()), &got, nullptr);
    CloseHandle(in);
    DeleteFileA(name);
    run.output.assign(text.data(), got);
    return run;
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
