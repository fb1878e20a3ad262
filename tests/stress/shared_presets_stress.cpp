// The loader's preset table handed between its threads, under
// ThreadSanitizer: one thread loads two different preset files in turn while
// another scans process lists against the latest matcher and copies presets
// out of the table, as the watcher and the main thread do. A data race makes
// ThreadSanitizer fail the run; a wrong match or a torn table fails it here.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "loader/watcher.h"
#include "preset/file_system_memory.h"
#include "preset/preset_file.h"

using namespace zentra;

namespace {

constexpr int kLoads = 300;
constexpr int kMinScans = 1000;

struct Layout {
    const char* file;
    int count;
    int target;  // index of the preset for "target.exe"
    const char* prefix;
};
const Layout kLayouts[2] = {{"first.pst", 255, 200, "A"}, {"second.pst", 100, 7, "B"}};

PresetTable g_source, g_shared;  // about 680 KB each: static storage

std::vector<uint8_t> presetFile(const Layout& layout) {
    std::memset(&g_source, 0, sizeof g_source);
    g_source.presetCount = uint16_t(layout.count);
    for (int i = 0; i < layout.count; ++i) {
        Preset& p = g_source.presets[i];
        resetPreset(p, Deliverable::Panel);
        const std::string n = std::to_string(i);
        setPresetText(p.gameName, (std::string(layout.prefix) + " " + n).c_str());
        const std::string path = i == layout.target ? std::string("C:\\Games\\Target\\Target.exe")
                                                    : "C:\\Games\\" + std::string(layout.prefix) + "\\game" + n + ".exe";
        setPresetText(p.exePath, path.c_str());
        p.curveP1x[0] = uint16_t(i);
    }
    return encodePresetFile(g_source);
}

const Layout* layoutOfCount(int count) {
    for (const Layout& l : kLayouts)
        if (l.count == count) return &l;
    return nullptr;
}

std::atomic<int> g_failures{0};

void fail(const char* what, int scan) {
    if (g_failures.fetch_add(1) < 10) std::fprintf(stderr, "shared_presets_stress: scan %d: %s\n", scan, what);
}

}  // namespace

int main() {
    MemoryFileSystem files;  // the loading thread's alone once it runs
    for (const Layout& l : kLayouts) files.files[l.file] = presetFile(l);
    SharedPresets presets(g_shared, westernUpperCase());
    if (presets.load(kLayouts[0].file, files) != 0) {
        std::fprintf(stderr, "shared_presets_stress: first load failed\n");
        return 1;
    }

    std::atomic<bool> loaded{false};
    std::thread loader([&] {
        for (int i = 0; i < kLoads; ++i)
            if (presets.load(kLayouts[i % 2].file, files) != 0) fail("load failed", -1);
        loaded = true;
    });

    std::vector<ProcessEntry> idle;
    for (uint32_t i = 0; i < 100; ++i) idle.push_back({100 + 4 * i, "service" + std::to_string(i) + ".exe"});
    std::vector<ProcessEntry> playing = idle;
    playing.insert(playing.begin() + 50, ProcessEntry{9000, "TARGET.exe"});

    GameWatcher watcher;
    int scans = 0;
    for (; !loaded || scans < kMinScans; ++scans) {
        // Alternate scans see the game, so starts and ends alternate.
        const bool game = scans % 2 == 0;
        const auto matcher = presets.matcher();
        const Layout* layout = layoutOfCount(matcher->presetCount());
        const Announcement a = watcher.scan(game ? playing : idle, *matcher);
        if (!layout)
            fail("matcher of neither table", scans);
        else if (game ? (a.kind != Announcement::Start || a.presetIndex != layout->target) : a.kind != Announcement::End)
            fail("wrong announcement", scans);

        // What the main thread does with an index: copy the preset out.
        const int index = scans % 100;
        Preset copy;
        const int count = presets.withTable([&](const PresetTable& t) {
            copyPresetFull(copy, t.presets[index]);
            return int(t.presetCount);
        });
        const Layout* now = layoutOfCount(count);
        if (!now || std::strncmp(copy.gameName, now->prefix, 1) != 0 || copy.curveP1x[0] != index)
            fail("torn table", scans);
    }
    loader.join();

    std::printf("shared_presets_stress: %d loads, %d scans, %d failures\n", kLoads, scans, g_failures.load());
    return g_failures.load() == 0 ? 0 : 1;
}
