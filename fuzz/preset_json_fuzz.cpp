// libFuzzer target: any bytes given to the preset tool's JSON import.
//
// A refused document must come with a short message and leave the count as
// it was. An accepted one goes the way of "ZntPreset import": its table is
// written as a preset file and read back, and must come back with every
// value the document gave; the export of what was read must import to the
// same file again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "preset/preset_file.h"
#include "tools/zntpreset/preset_json.h"

using namespace zentra;

namespace {

// Static storage: a table is about 680 KB.
PresetTable g_table, g_read, g_again;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "preset_json_fuzz: %s\n", what);
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    g_table.presetCount = 7;
    if (!presetTableFromJson(text, g_table, error)) {
        check(!error.empty(), "a refusal without a message");
        check(error.size() < 512, "a refusal with a long message");
        check(g_table.presetCount == 7, "a refusal changed the count");
        return 0;
    }
    check(g_table.presetCount <= kMaxPresets, "count above 255");

    const std::vector<uint8_t> file = encodePresetFile(g_table);
    check(decodePresetFile(file.data(), file.size(), g_read), "the written file was refused");
    check(g_read.presetCount == g_table.presetCount, "the count changed in the file");
    const nlohmann::ordered_json exported = presetTableToJson(g_read);
    check(exported == presetTableToJson(g_table), "the file lost or changed a value of the document");

    check(presetTableFromJson(exported.dump(), g_again, error), "the export of the file was refused");
    check(encodePresetFile(g_again) == file, "the export imports to another file");
    return 0;
}
