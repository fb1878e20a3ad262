// ZntLoaderSoak: the real ZntUsb through many game starts and ends with the
// simulated wheel. Stand-in games of four presets start and end one after
// the other, each ended as soon as its preset is on the wheel; every tenth
// game the control panel's messages come in between, with a preset file in
// another order. Every block the wheel receives must
// be the one expected; every 50 transitions the loader's handles and memory
// are sampled and printed:
//   handles  entries of the loader's process in the system handle list
//            (NtQuerySystemInformation; GetProcessHandleCount is a stub in Wine)
//   fds      open files of the loader's Wine process (/proc/<pid>/fd)
//   private  its private memory, kB (Private_Clean + Private_Dirty of
//            /proc/<pid>/smaps_rollup)
//   rss      its resident memory, kB (VmRSS of /proc/<pid>/status)
// Usage: ZntLoaderSoak [transitions, default 500]. Exit code 0 when every
// block was the expected one and the loader ended with 18.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "driver/upload.h"
#include "preset/decimal_text.h"
#include "preset/preset_file.h"
#include "preset/registry.h"
#include "preset/registry_store.h"
#include "preset/file_system.h"
#include "sim/sim_client.h"
#include "sim/sim_setup.h"
#include "tests/wine/support/child_process.h"
#include "tools/loaderctl/loader_control.h"

namespace zentra {
namespace {

constexpr int kGames = 4;
constexpr int kLayouts = 3;
constexpr DWORD kBlockWait = 15000;
constexpr DWORD kGameLife = 60000;  // ended by the soak once its preset is on the wheel
constexpr int kSampleEvery = 50;

std::string beside(const char* file) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + file;
}

std::string gameName(int game) { return "soakgame" + std::to_string(game + 1) + ".exe"; }

// Layout l: the default preset and the four games, rotated by l, so that
// every game and the default move between the files.
PresetTable g_tables[kLayouts];
int g_gameIndex[kLayouts][kGames];
int g_defaultIndex[kLayouts];

void buildLayouts() {
    for (int l = 0; l < kLayouts; ++l) {
        PresetTable& t = g_tables[l];
        t.presetCount = kGames + 1;
        for (int slot = 0; slot <= kGames; ++slot) {
            const int what = (slot + l) % (kGames + 1);  // kGames: the default preset
            Preset& p = t.presets[slot];
            resetPreset(p, Deliverable::Panel);
            if (what == kGames) {
                g_defaultIndex[l] = slot;
                p.buttonKeys[0][0] = 0x2C;
                continue;
            }
            g_gameIndex[l][what] = slot;
            setPresetText(p.gameName, ("Soak game " + std::to_string(what + 1)).c_str());
            setPresetText(p.exePath, ("C:\\SOAK\\" + gameName(what)).c_str());
            p.buttonKeys[0][0] = KeyCode(0x1E + what);
            p.buttonKeys[1][0] = KeyCode(0x10 + what);
            p.curveType[0] = what % 2;
            p.curveP1x[0] = uint16_t(20 + 10 * what);
            p.curveP1y[0] = uint16_t(90 - 10 * what);
            p.axisInvert = uint32_t(what & 1);
        }
    }
}

std::vector<uint8_t> blockOf(const Preset& preset) {
    static LoaderWheel wheel;
    buildGameBlock(wheel, preset);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&wheel.block);
    return std::vector<uint8_t>(b, b + sizeof wheel.block);
}

// --- Measures -------------------------------------------------------------

struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

long handlesOf(DWORD pid) {
    static auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<uint8_t> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(16 /* SystemHandleInformation */, buffer.data(), ULONG(buffer.size()), &needed);
        if (status == LONG(0xC0000004)) {  // too small
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) return -1;
        const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
        long count = 0;
        for (ULONG i = 0; i < list->count; ++i) count += list->entries[i].ownerPid == pid;
        return count;
    }
}

std::string readHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The kB figure after `field` in a /proc text, summed over every line of it.
long procField(const std::string& text, const std::string& field) {
    long total = -1;
    for (size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + 1)) {
        if (at && text[at - 1] != '\n') continue;
        size_t p = at + field.size();
        while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
        uint32_t value = 0;
        if (readLeadingDecimal(text.c_str() + p, 0x7FFFFFFF, value)) total = (total < 0 ? 0 : total) + long(value);
    }
    return total;
}

// The host process of the loader: the one whose command line names this
// build's ZntUsb.exe, looked up through Wine's view of the host (Z:).
std::string hostProcessOf(const std::string& exe) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &found);
    if (find == INVALID_HANDLE_VALUE) return "";
    std::string result;
    do {
        uint32_t pid = 0;
        if (!readLeadingDecimal(found.cFileName, 0x7FFFFFFF, pid)) continue;
        const std::string cmd = readHostFile(std::string("Z:\\proc\\") + found.cFileName + "\\cmdline");
        if (cmd.find(exe) != std::string::npos || cmd.find("ZntUsb.exe") != std::string::npos) {
            const std::string env = readHostFile(std::string("Z:\\proc\\") + found.cFileName + "\\environ");
            const char* prefix = std::getenv("WINEPREFIX");
            if (prefix && env.find(std::string("WINEPREFIX=") + prefix) == std::string::npos) continue;
            result = found.cFileName;
            break;
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return result;
}

long countEntries(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return -1;
    long count = 0;
    do count += found.cFileName[0] != '.';
    while (FindNextFileA(find, &found));
    FindClose(find);
    return count;
}

struct Sample {
    int transitions;
    long handles, fds, privateKb, rssKb;
};

Sample sample(int transitions, DWORD pid, const std::string& host) {
    const std::string proc = "Z:\\proc\\" + host;
    return Sample{transitions, handlesOf(pid), host.empty() ? -1 : countEntries(proc + "\\fd"),
                  host.empty() ? -1
                               : procField(readHostFile(proc + "\\smaps_rollup"), "Private_Clean:") +
                                     procField(readHostFile(proc + "\\smaps_rollup"), "Private_Dirty:"),
                  host.empty() ? -1 : procField(readHostFile(proc + "\\status"), "VmRSS:")};
}

// --- The run ----------------------------------------------------------------

class Soak {
public:
    int run(int transitions) {
        if (!client_.open()) return fail("simulated wheel: " + client_.error());
        std::string error;
        if (!sim::configureWheels(1, 0, error)) return fail(error);
        client_.resetAnswers();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "zntusb-soak";
        CreateDirectoryA(dir_.c_str(), nullptr);
        presetFile_ = dir_ + "\\TempoZNT.pst";
        for (const char* v : {kLoaderWindowValue, kLastIndexValue, kGameLaunchValue, kLaunchValue})
            platformRegistryStore().deleteValue(kPanelKey, v);
        registry_.writeRegString(kPanelKey, kTemporaryFileValue, presetFile_.c_str());
        buildLayouts();
        if (!writeLayout(0)) return fail("cannot write the preset file");
        for (int g = 0; g < kGames; ++g)
            if (!CopyFileA(beside("fakegame.exe").c_str(), (dir_ + "\\" + gameName(g)).c_str(), FALSE))
                return fail("cannot copy the stand-in game");

        Process loader;
        if (!loader.start(beside("ZntUsb.exe"), "")) return fail("ZntUsb.exe did not start");
        HWND window = waitForLoaderWindow(10000);
        if (!window) return fail("no loader window");
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        Sleep(2500);
        const std::string host = hostProcessOf(beside("ZntUsb.exe"));
        std::printf("loader: Windows process %lu, host process %s\n", pid, host.empty() ? "not found" : host.c_str());
        std::printf("%12s %8s %6s %12s %10s\n", "transitions", "handles", "fds", "private kB", "rss kB");
        std::vector<Sample> samples;
        auto record = [&](int done) {
            samples.push_back(sample(done, pid, host));
            const Sample& s = samples.back();
            std::printf("%12d %8ld %6ld %12ld %10ld\n", s.transitions, s.handles, s.fds, s.privateKb, s.rssKb);
            std::fflush(stdout);
        };
        record(0);

        client_.clearLog();
        int done = 0, game = 0;
        while (done < transitions) {
            const int g = game % kGames;
            Process stand;
            if (!stand.start(dir_ + "\\" + gameName(g), std::to_string(kGameLife))) return fail("game did not start");
            expect(blockOf(g_tables[layout_].presets[g_gameIndex[layout_][g]]), "start of " + gameName(g));
            stand.kill(0);
            ++done;
            if (done % kSampleEvery == 0) record(done);
            expect(blockOf(g_tables[layout_].presets[g_defaultIndex[layout_]]), "end of " + gameName(g));
            ++done;
            if (done % kSampleEvery == 0) record(done);
            ++game;
            if (game % 10 == 0) panelReload(window);
        }

        chooseTrayMenuItem(window, 2);
        const DWORD code = loader.wait(15000);
        std::printf("\n%d transitions, %d games, %d control-panel reloads; %d blocks checked, %d wrong or missing\n",
                    done, game, reloads_, checked_, wrong_);
        const Sample& first = samples.front();
        const Sample& last = samples.back();
        std::printf("from the first sample to the last: handles %+ld, fds %+ld, private %+ld kB, rss %+ld kB\n",
                    last.handles - first.handles, last.fds - first.fds, last.privateKb - first.privateKb,
                    last.rssKb - first.rssKb);
        std::printf("ZntUsb ended with %lu\n", code);
        for (int g = 0; g < kGames; ++g) DeleteFileA((dir_ + "\\" + gameName(g)).c_str());
        DeleteFileA(presetFile_.c_str());
        RemoveDirectoryA(dir_.c_str());
        return wrong_ == 0 && code == 18 ? 0 : 1;
    }

private:
    int fail(const std::string& why) {
        std::fprintf(stderr, "ZntLoaderSoak: %s\n", why.c_str());
        return 2;
    }

    bool writeLayout(int l) {
        layout_ = l;
        return savePresetFile(nullptr, presetFile_.c_str(), g_tables[l], platformFileSystem()) == 1;
    }

    // The next block at the wheel must be `expected`, and no other may have
    // come with it.
    void expect(const std::vector<uint8_t>& expected, const std::string& what) {
        std::vector<SimLogEntry> blocks;
        for (DWORD waited = 0; blocks.empty() && waited < kBlockWait; waited += 50) {
            Sleep(50);
            std::vector<SimLogEntry> entries;
            client_.log(entries);
            for (const SimLogEntry& e : entries)
                if (e.code == kCodeParameterBlock) blocks.push_back(e);
        }
        ++checked_;
        if (blocks.size() == 1 && std::vector<uint8_t>(blocks[0].input, blocks[0].input + blocks[0].storedLength) == expected) {
            client_.clearLog();
            return;
        }
        ++wrong_;
        std::printf("wrong: %s: %zu blocks, %s\n", what.c_str(), blocks.size(),
                    blocks.empty() ? "none" : "not the expected one");
        client_.clearLog();
    }

    // The control panel opens (the default preset of the file goes to the
    // wheel), saves another file and closes (the loader reads it again a
    // second later).
    void panelReload(HWND window) {
        writeLayout((layout_ + 1) % kLayouts);
        sendPanelState(window, 1);
        expect(blockOf(g_tables[layout_].presets[g_defaultIndex[layout_]]), "panel open");
        sendPanelState(window, 0);
        Sleep(1500);
        ++reloads_;
    }

    sim::SimClient client_;
    Registry registry_{platformRegistryStore(), Deliverable::Panel};
    std::string dir_, presetFile_;
    int layout_ = 0, checked_ = 0, wrong_ = 0, reloads_ = 0;
};

}  // namespace
}  // namespace zentra

int main(int argc, char** argv) {
    uint32_t transitions = 500;
    if (argc > 1 && !zentra::readLeadingDecimal(argv[1], 100000, transitions)) {
        std::fprintf(stderr, "usage: ZntLoaderSoak [transitions]\n");
        return 2;
    }
    return zentra::Soak().run(int(transitions));
}
