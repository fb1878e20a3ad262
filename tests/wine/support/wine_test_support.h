// Helpers shared by the Wine tests: the programs built beside the tests (run
// as a child process whose output is kept through tools/cplhost/child_run.h).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "driver/protocol.h"
#include "preset/registry.h"
#include "sim/sim_client.h"
#include "tools/cplhost/child_run.h"
#include "tools/cplhost/page_harness.h"

namespace zentra {

// A file in the folder of the running test program (the build folder).
std::string besideTests(const char* file);

// A file of that name in the user's temporary folder.
std::string tempFile(const char* name);

// The panel's registry as a page test opens the sheet over it: the preset
// file `presetFile`, preset `lastIndex` chosen last, no tray program.
void pointPanelAt(Registry& registry, const std::string& presetFile, uint32_t lastIndex);

// Starts a Linux program (a command line of Unix paths, the program given
// as "Z:\\usr\\bin\\..."): Wine starts it but does not wait for it to
// end, so this waits up to `ms` for the process Wine made. False when it
// could not be started.
bool runLinux(const std::string& commandLine, DWORD ms);

// Runs this thread's messages (the pages' timers among them) until `done`
// holds, `ms` at most; whether it came to hold. For what a busy machine may
// take a few ticks to show.
bool waitUntil(const std::function<bool()>& done, DWORD ms = 3000);

// The last parameter block the simulated wheel received; false when it
// received none (or its log could not be read).
bool lastParameterBlock(sim::SimClient& client, ParameterBlock& block);

// Runs `user` on another thread while `modal` (a modal dialog's loop) runs
// on this one; waits a minute at most for `user` to end.
void whileModal(const std::function<void()>& modal, const std::function<void()>& user);

// The shown top-level window of `thread` with child `control`, waited for
// six seconds at most; null when none came.
HWND waitForWindowWithControl(DWORD thread, int control);

// A picture of the whole display into `pngPath` (a Unix path).
bool screenshotTo(const std::string& pngPath);

// Runs xdotool with `args` on the test bench's display (real pointer moves,
// clicks and keys for the windows under test) and gives the events a moment.
void xdotool(const std::string& args);

// The screen's DPI for programs started while it lives (the prefix's
// "LogPixels"); back to 96 at its end. Wine reads it when a program starts.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi) { setScreenDpi(dpi); }
    ~ScreenDpi() { setScreenDpi(96); }
    ScreenDpi(const ScreenDpi&) = delete;
    ScreenDpi& operator=(const ScreenDpi&) = delete;
};

}  // namespace zentra
