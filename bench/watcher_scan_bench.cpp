// One scan of the game-launch watcher over 400 running processes and 255
// presets: the watcher's scan, with each preset path upper-cased once per
// table and each process name's match remembered, next to the literal
// algorithm that upper-cases every preset path for every process on every
// scan and searches it with strstr. Two cases: no process has a preset (the
// usual one), and the last process is a running game.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "loader/watcher.h"

using namespace zentra;

namespace {

PresetTable g_table;  // about 680 KB: static storage
std::vector<ProcessEntry> g_idle, g_playing;
const char kGameProcess[] = "Rally2002.exe";
constexpr int kGameIndex = 254;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "watcher_scan_bench: %s\n", what);
    std::abort();
}

// 255 presets with paths of realistic, varied lengths; the last one is the
// running game's.
void buildTable(PresetTable& t) {
    static const char* const drives[] = {"C:\\Program Files\\", "D:\\Games\\", "C:\\Program Files (x86)\\"};
    static const char* const folders[] = {"Racing Studio\\Rally Challenge", "Flight\\Night Flight Simulator",
                                          "Arcade Collection", "Strategy\\Tank Commander Gold Edition",
                                          "Open Wheel Grand Prix"};
    static const char* const exes[] = {"RallyChallenge", "nfs", "Arcade", "TankCmdr", "GPSeason", "kart"};
    std::memset(&t, 0, sizeof t);
    t.presetCount = kMaxPresets;
    for (int i = 0; i < kMaxPresets; ++i) {
        Preset& p = t.presets[i];
        resetPreset(p, Deliverable::Panel);
        const std::string num = std::to_string(i + 1);
        std::string path = std::string(drives[i % 3]) + folders[i % 5] + " " + num + "\\" + exes[i % 6] + num + ".exe";
        if (i == kGameIndex) path = "D:\\Games\\Rally 2002\\Bin\\RALLY2002.EXE";
        setPresetText(p.gameName, ("Game " + num).c_str());
        setPresetText(p.exePath, path.c_str());
    }
}

// 400 processes as a desktop machine lists them: the system's own, many
// service hosts, and the user's programs and helpers.
void buildProcesses() {
    static const char* const names[] = {
        "smss.exe", "csrss.exe", "wininit.exe", "services.exe", "lsass.exe", "winlogon.exe", "fontdrvhost.exe",
        "dwm.exe", "spoolsv.exe", "MsMpEng.exe", "SearchIndexer.exe", "explorer.exe", "sihost.exe",
        "taskhostw.exe", "RuntimeBroker.exe", "ShellExperienceHost.exe", "StartMenuExperienceHost.exe",
        "ctfmon.exe", "SecurityHealthSystray.exe", "OneDrive.exe", "chrome.exe", "firefox.exe", "Teams.exe",
        "Discord.exe", "steam.exe", "steamwebhelper.exe", "Spotify.exe", "conhost.exe", "dllhost.exe",
        "WmiPrvSE.exe", "audiodg.exe", "nvcontainer.exe", "NVDisplay.Container.exe", "igfxEM.exe",
        "RtkAudUService64.exe", "ZntUsb.exe", "notepad.exe", "WINWORD.EXE", "OUTLOOK.EXE", "Code.exe"};
    const size_t kinds = sizeof names / sizeof names[0];
    g_idle = {{0, "[System Process]"}, {4, "System"}, {120, "Registry"}};
    for (uint32_t i = 0; g_idle.size() < 400; ++i) {
        const uint32_t pid = 200 + 4 * i;
        if (i % 3 == 0)
            g_idle.push_back({pid, "svchost.exe"});
        else if (i % 7 == 0)
            g_idle.push_back({pid, "helper" + std::to_string(i) + ".exe"});
        else
            g_idle.push_back({pid, names[i % kinds]});
    }
    g_playing = g_idle;
    g_playing.back() = {99000, kGameProcess};
}

// The code page's upper case byte by byte, taken from upperWestern, so that
// the literal lookup upper-cases in place without allocating.
unsigned char g_upper[256];

void buildUpperTable() {
    for (int c = 0; c < 256; ++c) g_upper[c] = (unsigned char)upperWestern(std::string(1, char(c)))[0];
}

// The literal lookup: every preset path copied and upper-cased in a buffer
// for every process, then searched with strstr.
int literalFind(const std::string& upperName) {
    char path[kTextSize];
    for (int i = 0; i < g_table.presetCount; ++i) {
        const char* from = g_table.presets[i].exePath;
        size_t n = 0;
        for (; from[n]; ++n) path[n] = char(g_upper[(unsigned char)from[n]]);
        path[n] = '\0';
        if (std::strstr(path, upperName.c_str())) return i;
    }
    return -1;
}

// The literal scan's lookups: upper-case each name, skip the system's two,
// stop at the first process with a preset.
int literalScan(const std::vector<ProcessEntry>& processes) {
    for (const ProcessEntry& p : processes) {
        const std::string name = upperWestern(p.exeName);
        if (isSystemProcessName(name)) continue;
        const int found = literalFind(name);
        if (found >= 0) return found;
    }
    return -1;
}

void setCounters(benchmark::State& state, const std::vector<ProcessEntry>& processes) {
    state.counters["processes"] = double(processes.size());
    state.counters["presets"] = double(g_table.presetCount);
}

// Steady state: the same processes scan after scan, the memo filled by the
// first scan.
void scanSteady(benchmark::State& state, const std::vector<ProcessEntry>& processes, Announcement::Kind steady) {
    const PresetMatcher matcher(g_table, westernUpperCase());
    GameWatcher watcher;
    watcher.scan(processes, matcher);
    for (auto _ : state) {
        const Announcement a = watcher.scan(processes, matcher);
        if (a.kind != steady) fail("unexpected announcement");
        benchmark::DoNotOptimize(a);
    }
    setCounters(state, processes);
}

void BM_WatcherScanNoGame(benchmark::State& state) { scanSteady(state, g_idle, Announcement::None); }
void BM_WatcherScanLastIsGame(benchmark::State& state) { scanSteady(state, g_playing, Announcement::None); }

// The first scan after a table load: the matcher is built and every name
// looked up once.
void BM_WatcherFirstScanAfterLoad(benchmark::State& state) {
    for (auto _ : state) {
        const PresetMatcher matcher(g_table, westernUpperCase());
        GameWatcher watcher;
        benchmark::DoNotOptimize(watcher.scan(g_playing, matcher));
    }
    setCounters(state, g_playing);
}

void literal(benchmark::State& state, const std::vector<ProcessEntry>& processes, int expected) {
    for (auto _ : state) {
        const int found = literalScan(processes);
        if (found != expected) fail("literal scan disagrees");
        benchmark::DoNotOptimize(found);
    }
    setCounters(state, processes);
}

void BM_LiteralScanNoGame(benchmark::State& state) { literal(state, g_idle, -1); }
void BM_LiteralScanLastIsGame(benchmark::State& state) { literal(state, g_playing, kGameIndex); }

BENCHMARK(BM_WatcherScanNoGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralScanNoGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WatcherScanLastIsGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralScanLastIsGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WatcherFirstScanAfterLoad)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    buildTable(g_table);
    buildProcesses();
    buildUpperTable();
    // Both algorithms must agree before their costs are compared: no
    // process has a preset in the idle list, the last one in the other.
    const PresetMatcher matcher(g_table, westernUpperCase());
    GameWatcher watcher;
    if (literalScan(g_idle) != -1 || watcher.scan(g_idle, matcher).kind != Announcement::None)
        fail("a process of the idle list has a preset");
    const Announcement start = watcher.scan(g_playing, matcher);
    if (literalScan(g_playing) != kGameIndex || start.kind != Announcement::Start || start.presetIndex != kGameIndex)
        fail("the game is not found as the last process");

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
