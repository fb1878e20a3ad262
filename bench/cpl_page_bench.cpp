// Under Wine: how long the control panel's page takes from PropertySheetA to
// painted (and, beside it, the same sheet with a page that draws nothing:
// the part of that time that is the sheet's own), how long a switch to each
// tab takes until the new page is painted (a switch also destroys the page
// before: leaving the test page includes closing its clip's player, about
// 11 ms of Wine's own), and the processor time the button page's 50 ms tick
// costs while a slot records and the test and axis pages' 100 ms wheel
// readings cost while the wheel rests. Prints the median and the slowest of
// each; run it inside the test bench's session with the simulated wheel
// loaded:
//   build/windows/wine-run build/windows/bench/cpl_page_bench.exe [ROUNDS] [DPI...]
// With screen DPIs given (96, 144, 192), the rounds are shared out among
// programs of their own on each screen, in turns, and each median is also
// given against the first screen's: the prefix's "LogPixels" is set for
// each program (Wine reads it when a program starts) and put back to 96
// afterwards.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cpl/frame/main_page.h"
#include "cpl/frame/skinned_controls.h"
#include "sim/sim_setup.h"
#include "tools/cplhost/child_run.h"
#include "tools/cplhost/page_harness.h"

using namespace zentra;

namespace {

// The timed steps: the page's open, the empty sheet's, then a switch to
// each tab in turn (the sheet opens on the test page).
constexpr int kSteps = 7;
const char* const kStepNames[kSteps] = {"page open, PropertySheetA to painted", "the sheet with an empty page",
                                        "presets page, leaving the test page", "tab switch to the axis page",
                                        "tab switch to the button page",       "tab switch to the D-pad page",
                                        "tab switch to the test page"};
const int kStepTabs[kSteps] = {0, 0, kTabPresets, kTabAxis, kTabButtons, kTabPov, kTabTest};
using Times = std::array<std::vector<double>, kSteps>;

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Paints everything that waits for painting, children included.
void paintNow(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

double median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0.0 : ms[ms.size() / 2];
}

// The median and the slowest of `ms`; with `base` (the same step's median
// on the first screen named), how many times that the median is.
void report(const char* what, const std::vector<double>& ms, double base = 0.0) {
    if (ms.empty()) return;
    const double middle = median(ms);
    std::printf("%-32s median %7.2f ms, slowest %7.2f ms (%zu rounds)", what, middle,
                *std::max_element(ms.begin(), ms.end()), ms.size());
    if (base > 0.0) std::printf("  %.2fx", middle / base);
    std::printf("\n");
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

std::string thisProgram() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    return exe;
}

// A page of the same template that draws nothing: what the sheet itself
// takes to open and paint at this screen's DPI.
INT_PTR CALLBACK blankPage(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// From a settled screen, opens the sheet with `page` for wheel 0 and paints
// it; the milliseconds that took, or -1 when it did not open.
double openTimed(PageHarness& harness, DLGPROC page) {
    waitAndDispatch(300);
    const double start = now();
    HWND sheet = harness.open(0, true, page);
    if (!sheet) return std::fprintf(stderr, "cpl_page_bench: the sheet did not open\n"), -1.0;
    paintNow(sheet);
    return now() - start;
}

// Opens the sheet `rounds` times, switching to each tab, then as many times
// with the empty page; adds each step's times to `times`. A first round of
// each, not counted, takes what a process pays once (loading, caches).
bool timeRounds(int rounds, Times& times) {
    for (int round = -1; round < rounds; ++round) {
        PageHarness harness;
        const double open = openTimed(harness, MainPage);
        if (open < 0) return false;
        HWND page = mainPageState().page;
        for (int step = 2; step < kSteps; ++step) {
            waitAndDispatch(300);
            const double before = now();
            SendMessageA(page, WM_COMMAND, WPARAM(kStepTabs[step]), 0);
            paintNow(page);
            if (round >= 0) times[step].push_back(now() - before);
        }
        harness.close(IDCANCEL);
        if (round >= 0) times[0].push_back(open);
    }
    for (int round = -1; round < rounds; ++round) {
        PageHarness harness;
        const double open = openTimed(harness, blankPage);
        if (open < 0) return false;
        harness.close(IDCANCEL);
        if (round >= 0) times[1].push_back(open);
    }
    return true;
}

// The processor time of the pages that keep a timer.
bool reportTimers() {
    // The button page recording into slot 0: the keyboard and the wheel are
    // read every tick.
    {
        PageHarness harness;
        HWND sheet = harness.open(0);
        if (!sheet) return false;
        // Keys are read only while the sheet is in front.
        SetForegroundWindow(sheet);
        waitAndDispatch(200);
        if (GetForegroundWindow() != sheet)
            return std::fprintf(stderr, "cpl_page_bench: the sheet is not in front\n"), false;
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
        if (!harness.open(0)) return false;
        SendMessageA(mainPageState().page, WM_COMMAND, WPARAM(kTabAxis), 0);
        waitAndDispatch(300);
        reportProcessorTime("axis page, wheel at rest");
        // Beside it, a page without a timer: what the open sheet costs anyway.
        SendMessageA(mainPageState().page, WM_COMMAND, WPARAM(kTabPresets), 0);
        waitAndDispatch(300);
        reportProcessorTime("presets page, no timer");
        harness.close(IDCANCEL);
    }
    return true;
}

// This program once more with `arguments`, on a screen of `dpi`; what it
// printed, or nothing when it did not end well (what it printed then goes
// to the error output).
std::string runAtDpi(DWORD dpi, const std::string& arguments) {
    setScreenDpi(dpi);
    const ChildRun run = runChild(thisProgram(), arguments, 30 * 60 * 1000);
    setScreenDpi(96);
    if (run.exitCode == 0) return run.output;
    std::fprintf(stderr, "%scpl_page_bench: %s on a screen of %lu DPI ended with %lu\n", run.output.c_str(),
                 arguments.c_str(), static_cast<unsigned long>(dpi), static_cast<unsigned long>(run.exitCode));
    return {};
}

// The steps timed on each screen of `dpis`, in turns: a few rounds on each
// screen, then again in the opposite order, so that a machine getting
// slower or faster over the run weighs on every screen alike. Then each
// screen's figures, with each median against the first screen's, and its
// timers' processor time.
int compareScreens(int rounds, const std::vector<DWORD>& dpis) {
    std::vector<Times> times(dpis.size());
    std::vector<std::string> rooms(dpis.size());
    const int turns = std::min(rounds, 5);
    for (int turn = 0; turn < turns; ++turn) {
        const int share = rounds / turns + (turn < rounds % turns ? 1 : 0);
        for (size_t k = 0; k < dpis.size(); ++k) {
            const size_t screen = turn % 2 ? dpis.size() - 1 - k : k;
            const std::string output = runAtDpi(dpis[screen], std::to_string(share) + " --times");
            if (output.empty()) return 1;
            std::size_t from = 0;
            for (std::size_t end; (end = output.find('\n', from)) != std::string::npos; from = end + 1) {
                const std::string line = output.substr(from, end - from);
                int step = 0;
                double ms = 0;
                if (std::sscanf(line.c_str(), "step %d %lf", &step, &ms) == 2 && step >= 0 && step < kSteps)
                    times[screen][step].push_back(ms);
                else if (line.compare(0, 9, "page room") == 0)
                    rooms[screen] = line;
            }
        }
    }
    for (size_t screen = 0; screen < dpis.size(); ++screen) {
        std::printf("\n== a screen of %lu DPI%s\n%s\n", static_cast<unsigned long>(dpis[screen]),
                    screen ? ", each median against the first screen's" : "", rooms[screen].c_str());
        for (int step = 0; step < kSteps; ++step)
            report(kStepNames[step], times[screen][step], screen ? median(times[0][step]) : 0.0);
    }
    for (DWORD dpi : dpis) {
        std::printf("\n== timers on a screen of %lu DPI\n", static_cast<unsigned long>(dpi));
        const std::string output = runAtDpi(dpi, "--timers");
        if (output.empty()) return 1;
        std::printf("%s", output.c_str());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool timesOnly = argc > 2 && std::string(argv[2]) == "--times";
    const bool timersOnly = argc > 1 && std::string(argv[1]) == "--timers";
    const int rounds = argc > 1 && !timersOnly ? std::max(1, std::atoi(argv[1])) : 30;
    if (argc > 2 && !timesOnly) {
        std::vector<DWORD> dpis;
        for (int i = 2; i < argc; ++i) dpis.push_back(DWORD(std::atoi(argv[i])));
        return compareScreens(rounds, dpis);
    }
    std::string dir = thisProgram();
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
    if (!timersOnly) {
        Times times;
        if (!timeRounds(rounds, times)) return 1;
        const SkinScale& scale = skinScale();
        std::printf("page room %d x %d, pictures at %d %%\n", scale.width, scale.height, scale.percent);
        for (int step = 0; step < kSteps; ++step) {
            if (timesOnly)
                for (double ms : times[step]) std::printf("step %d %.3f\n", step, ms);
            else
                report(kStepNames[step], times[step]);
        }
        if (timesOnly) return 0;
    }
    return reportTimers() ? 0 : 1;
}
