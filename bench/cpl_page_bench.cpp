// Under Wine: how long the control panel's page takes from PropertySheetA to
// painted (and, beside it, the same sheet with a page that draws nothing:
// the part of that time that is the sheet's own), how long a switch to each tab takes until the new page is
// painted (a switch also destroys the page before: leaving the test page
// includes closing its clip's player, about 11 ms of Wine's own), and the processor time the button page's 50 ms tick costs while
// a slot records and the test and axis pages' 100 ms wheel readings cost
// while the wheel rests. Prints the median and the slowest of each; run it inside the test bench's
// session with the simulated wheel loaded:
//   build/windows/wine-run build/windows/bench/cpl_page_bench.exe [ROUNDS] [DPI...]
// With screen DPIs given (96, 144, 192), it runs once on each: the prefix's
// "LogPixels" is set to it for a run of its own (Wine reads it when a
// program starts) and put back to 96 afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cpl/frame/main_page.h"
#include "cpl/frame/skinned_controls.h"
#include "sim/sim_setup.h"
#include "tools/cplhost/page_harness.h"

using namespace zentra;

namespace {

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Paints everything that waits for painting, children included.
void paintNow(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-32s median %7.2f ms, slowest %7.2f ms (%zu rounds)\n", what, ms[ms.size() / 2], ms.back(),
                ms.size());
}

double processorMs() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto ms = [](const FILETIME& t) { return double(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000.0; };
    return ms(kernel) + ms(user);
}

// Dispatches the thread's messages for `ms`, sleeping while there are
// none, so that the loop itself costs nothing to speak of.
void waitAndDispatch(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (int left = int(ms); left > 0; left = int(end - GetTickCount())) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left), QS_ALLINPUT);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

// The processor time the open sheet takes for `ms` of its messages (Wine
// counts it in steps of 10 ms: the longer, the finer).
void reportProcessorTime(const char* what, DWORD ms = 10000) {
    const double cpuBefore = processorMs(), wallBefore = now();
    waitAndDispatch(ms);
    const double cpu = processorMs() - cpuBefore, wall = now() - wallBefore;
    std::printf("%-32s %7.2f ms of processor time per second (%.2f%% of a core)\n", what, cpu * 1000.0 / wall,
                cpu * 100.0 / wall);
}

// This program once more with `rounds`, on a screen of `dpi`; its exit code.
DWORD runAtDpi(int rounds, DWORD dpi) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = "\"" + std::string(exe) + "\" " + std::to_string(rounds);
    setScreenDpi(dpi);
    std::printf("\n== a screen of %lu DPI\n", static_cast<unsigned long>(dpi));
    std::fflush(stdout);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    DWORD code = 1;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    setScreenDpi(96);
    return code;
}

// A page of the same template that draws nothing: what the sheet itself
// takes to open and paint at this screen's DPI.
INT_PTR CALLBACK blankPage(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// From a settled screen, opens the sheet with `page` for wheel 0 and paints
// it; the time that took goes to `times`. False when it did not open.
bool openTimed(PageHarness& harness, DLGPROC page, std::vector<double>& times) {
    waitAndDispatch(300);
    const double start = now();
    HWND sheet = harness.open(0, true, page);
    if (!sheet) return std::fprintf(stderr, "cpl_page_bench: the sheet did not open\n"), false;
    paintNow(sheet);
    times.push_back(now() - start);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    if (argc > 2) {
        DWORD failed = 0;
        for (int i = 2; i < argc; ++i) failed |= runAtDpi(rounds, DWORD(std::atoi(argv[i])));
        return int(failed);
    }
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir = exe;
    dir = dir.substr(0, dir.find_last_of('\\'));
    if (!PageHarness::prepare((dir + "\\..\\ZentraCpl.dll").c_str())) {
        std::fprintf(stderr, "cpl_page_bench: ZentraCpl.dll not found beside the build\n");
        return 1;
    }
    std::string error;
    if (!sim::configureWheels(1, 0, error)) {
        std::fprintf(stderr, "cpl_page_bench: %s (is the simulated wheel loaded?)\n", error.c_str());
        return 1;
    }
    const struct {
        int tab;
        const char* name;
    } tabs[] = {{kTabPresets, "presets page, leaving the test page"},  // the sheet opens on the test page
                {kTabAxis, "tab switch to the axis page"},
                {kTabButtons, "tab switch to the button page"},
                {kTabPov, "tab switch to the D-pad page"},
                {kTabTest, "tab switch to the test page"}};
    std::vector<double> opens, switches[5];
    // Each step is timed from a settled sheet: the messages of the step
    // before (Wine copies every painted window to the display afterwards,
    // which takes longer the more pixels it has) are dispatched first.
    for (int round = 0; round < rounds; ++round) {
        PageHarness harness;
        if (!openTimed(harness, MainPage, opens)) return 1;
        if (round == 0) {
            const SkinScale& scale = skinScale();
            std::printf("page room %d x %d, pictures at %d %%\n", scale.width, scale.height, scale.percent);
        }
        HWND page = mainPageState().page;
        for (int t = 0; t < 5; ++t) {
            waitAndDispatch(300);
            const double before = now();
            SendMessageA(page, WM_COMMAND, WPARAM(tabs[t].tab), 0);
            paintNow(page);
            switches[t].push_back(now() - before);
        }
        harness.close(IDCANCEL);
    }
    report("page open, PropertySheetA to painted", opens);
    {
        std::vector<double> blank;
        for (int round = 0; round < rounds; ++round) {
            PageHarness harness;
            if (!openTimed(harness, blankPage, blank)) return 1;
            harness.close(IDCANCEL);
        }
        report("the sheet with an empty page", blank);
    }
    for (int t = 0; t < 5; ++t) report(tabs[t].name, switches[t]);
    // The button page recording into slot 0: the keyboard and the wheel are
    // read every tick.
    {
        PageHarness harness;
        HWND sheet = harness.open(0);
        if (!sheet) return 1;
        // Keys are read only while the sheet is in front.
        SetForegroundWindow(sheet);
        waitAndDispatch(200);
        if (GetForegroundWindow() != sheet) return std::fprintf(stderr, "cpl_page_bench: the sheet is not in front\n"), 1;
        HWND page = mainPageState().page;
        SendMessageA(page, WM_COMMAND, WPARAM(kTabButtons), 0);
        SendMessageA(GetDlgItem(page, 151), WM_COMMAND, 1084, 0);
        reportProcessorTime("button page recording");
        SendMessageA(page, WM_COMMAND, WPARAM(kTabTest), 0);
        waitAndDispatch(300);
        reportProcessorTime("test page, wheel at rest");
        harness.close(IDCANCEL);
    }
    // The axis page reading the wheel for its live markers, the wheel at rest.
    {
        PageHarness harness;
        if (!harness.open(0)) return 1;
        SendMessageA(mainPageState().page, WM_COMMAND, WPARAM(kTabAxis), 0);
        waitAndDispatch(300);
        reportProcessorTime("axis page, wheel at rest");
        // Beside it, a page without a timer: what the open sheet costs anyway.
        SendMessageA(mainPageState().page, WM_COMMAND, WPARAM(kTabPresets), 0);
        waitAndDispatch(300);
        reportProcessorTime("presets page, no timer");
        harness.close(IDCANCEL);
    }
    return 0;
}
