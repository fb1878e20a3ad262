// A program started by a test or the soak, ended (if it still runs) when
// the object goes.
#pragma once

#include <windows.h>

#include <string>

namespace zentra {

class Process {
public:
    bool start(const std::string& exe, const std::string& args) {
        std::string command = "\"" + exe + "\" " + args;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        return CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
    }
    // The exit code, or STILL_ACTIVE when it did not end within `ms`.
    DWORD wait(DWORD ms) {
        if (!pi_.hProcess || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }
    // Ends it with `code` when it still runs.
    void kill(UINT code = 1) {
        if (pi_.hProcess && wait(0) == STILL_ACTIVE) {
            TerminateProcess(pi_.hProcess, code);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
    }
    DWORD id() const { return pi_.dwProcessId; }
    ~Process() {
        kill();
        if (pi_.hProcess) CloseHandle(pi_.hProcess);
        if (pi_.hThread) CloseHandle(pi_.hThread);
    }

private:
    PROCESS_INFORMATION pi_{};
};

}  // namespace zentra
