#include "tools/cplhost/child_run.h"

#include <vector>

namespace zentra {

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
