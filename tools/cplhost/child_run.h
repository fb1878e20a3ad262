// Running a program of the build as a child process whose output is kept:
// for the Wine tests and the benchmark.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace zentra {

struct ChildRun {
    DWORD exitCode = 999;  // 999: not started; 998: ended after the time limit
    std::string output;    // what it wrote to its standard output and error
};

// Runs `exe` with `args` and waits up to `ms` for it to end. `whileRunning`,
// when given, is called with the child's process id every 50 ms until it
// ends (to answer a message box it shows, say).
ChildRun runChild(const std::string& exe, const std::string& args, DWORD ms,
                  const std::function<void(DWORD pid)>& whileRunning = {});

}  // namespace zentra
