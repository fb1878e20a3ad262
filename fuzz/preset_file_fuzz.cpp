// libFuzzer target: any bytes given to the preset file reader.
//
// The table is filled with a pattern before each read, so that a text left
// without its terminator or an entry written past the stored count shows up.
// A table that was read is then written, read again and written again: the
// two files must be identical. The curves of the loaded presets are also
// turned into response tables.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "preset/preset_file.h"
#include "preset/sensitivity.h"

using namespace zentra;

namespace {

// Static storage: a table is about 680 KB.
PresetTable g_pattern, g_table, g_again;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "preset_file_fuzz: %s\n", what);
        __builtin_trap();
    }
}

// A valid table whose bytes are all 0xA5 apart from the count and a NUL at the
// end of every text. The count is small so that a file without CONF stays
// cheap to check; a file's own count can still reach 255 and beyond.
void fillPattern(PresetTable& t) {
    std::memset(&t, 0xA5, sizeof t);
    t.presetCount = 3;
    for (Preset& p : t.presets) {
        p.gameName[kMaxTextLength] = '\0';
        p.exePath[kMaxTextLength] = '\0';
    }
}

bool terminated(const char (&text)[kTextSize]) { return std::memchr(text, '\0', kTextSize) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fillPattern(g_pattern);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::memcpy(&g_table, &g_pattern, sizeof g_table);
    if (!decodePresetFile(data, size, g_table)) {
        check(std::memcmp(&g_table, &g_pattern, sizeof g_table) == 0, "a refused file changed the table");
        return 0;
    }

    const int n = g_table.presetCount;
    check(n <= kMaxPresets, "count above 255");
    // Presets whose DATA record cannot lie within the input hold the
    // pattern's curves, which the first of them checks for all.
    const int withCurves = std::min<int>(n, int(size / kDataRecordSize) + 1);
    for (int i = 0; i < n; ++i) {
        const Preset& p = g_table.presets[i];
        check(terminated(p.gameName), "game name without NUL");
        check(terminated(p.exePath), "executable path without NUL");
        for (int slot = 0; slot < kAxisSlots && i < withCurves; ++slot) {
            SensitivityTable s;
            buildSensitivityTable(s, p, slot);
            for (uint8_t e : s.entry) check(e <= 127, "response table entry above 127");
        }
    }
    // Entries past the count are not the reader's to touch.
    check(std::memcmp(g_table.presets + n, g_pattern.presets + n, sizeof(Preset) * size_t(kMaxPresets - n)) == 0,
          "an entry past the count changed");

    const std::vector<uint8_t> first = encodePresetFile(g_table);
    std::memcpy(&g_again, &g_pattern, sizeof g_again);
    check(decodePresetFile(first.data(), first.size(), g_again), "a written file was refused");
    check(g_again.presetCount == n, "count changed in the round trip");
    const std::vector<uint8_t> second = encodePresetFile(g_again);
    check(first == second, "writing the re-read table gave different bytes");
    return 0;
}
