// ZntPreset: shows, exports and imports ".pst" preset files and prints the
// sensitivity tables they give. Exit codes: 0 success, 1 bad input, 2 usage.
#include <cstdio>
#include <cstdlib>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/upload.h"
#include "preset/preset_file.h"
#include "preset/registry_store_memory.h"
#include "preset/sensitivity.h"
#include "tools/zntpreset/codepage.h"
#include "tools/zntpreset/preset_json.h"

using namespace zentra;

namespace {

const char kUsage[] =
    "usage: ZntPreset show FILE.pst\n"
    "       ZntPreset export FILE.pst [-o OUT.json]\n"
    "       ZntPreset import IN.json -o FILE.pst\n"
    "       ZntPreset curve FILE.pst --preset N --slot S\n"
    "       ZntPreset block FILE.pst --preset N --sender loader|panel --mode 1|2|3\n"
    "                       [--hardware HW.bin] [-o OUT.bin]\n";

constexpr int kOk = 0, kBadInput = 1, kUsageError = 2;

PresetTable g_table;  // 255 records: static, as in both programs

int usage(const char* why = nullptr) {
    if (why) std::fprintf(stderr, "ZntPreset: %s\n", why);
    std::fputs(kUsage, stderr);
    return kUsageError;
}

int badInput(const std::string& why) {
    std::fprintf(stderr, "ZntPreset: %s\n", why.c_str());
    return kBadInput;
}

class StderrNotice : public PresetFileNotice {
public:
    void notPresetFile(OwnerWindow) override { refused = true; }
    bool refused = false;
};

// Loads FILE.pst into g_table; returns false after saying why.
bool load(const std::string& path) {
    std::memset(&g_table, 0, sizeof g_table);
    StderrNotice notice;
    FileResult result;
    if (loadPresetFile(nullptr, path.c_str(), g_table, platformFileSystem(), &notice, &result) == 0) return true;
    if (!notice.refused)
        badInput(path + ": cannot read the file: " + result.reason);
    else if (!result)
        badInput(path + ": This is not a preset file. It is " + result.reason + ".");
    else
        badInput(path + ": This is not a preset file.");
    return false;
}

// Reads a whole input file of at most `maxSize` bytes; false after saying why.
bool readInput(const std::string& path, size_t maxSize, std::vector<uint8_t>& bytes) {
    const FileResult result = platformFileSystem().readFile(path, maxSize, bytes);
    if (!result) badInput(path + ": cannot read the file: " + result.reason);
    return bool(result);
}

int writeOutput(const std::string& path, const std::vector<uint8_t>& bytes) {
    const FileResult result = platformFileSystem().replaceFile(path, bytes);
    return result ? kOk : badInput(path + ": cannot write the file: " + result.reason);
}

// Options after the positional argument: "-o X", "--preset N", "--slot S".
struct Options {
    std::string output;
    std::string sender;
    std::string hardware;
    long preset = -1;
    long slot = -1;
    long mode = -1;
};

bool parseNumber(const char* text, long& out) {
    char* end = nullptr;
    out = std::strtol(text, &end, 10);
    return *text && *end == '\0' && out >= 0;
}

bool parseOptions(int argc, char** argv, int first, Options& o, std::string& error) {
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) {
            error = "option " + arg + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        if (arg == "-o") {
            o.output = value;
        } else if (arg == "--preset") {
            if (!parseNumber(value, o.preset)) return error = "--preset takes a preset number", false;
        } else if (arg == "--sender") {
            o.sender = value;
            if (o.sender != "loader" && o.sender != "panel") return error = "--sender takes loader or panel", false;
        } else if (arg == "--mode") {
            if (!parseNumber(value, o.mode) || o.mode < 1 || o.mode > 3) return error = "--mode takes 1, 2 or 3", false;
        } else if (arg == "--hardware") {
            o.hardware = value;
        } else if (arg == "--slot") {
            if (!parseNumber(value, o.slot) || o.slot >= kAxisSlots) return error = "--slot takes 0, 1, 2 or 3", false;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

const char* gameTypeName(unsigned type) {
    static const char* const names[] = {"flight simulator", "action 3D", "car/motorbike", "other"};
    return type < 4 ? names[type] : "unknown";
}

std::string slotName(int slot) {
    if (slot < kWheelButtonSlots) return "button " + std::to_string(slot + 1);
    return "D-pad " + std::to_string(slot - kWheelButtonSlots + 1);
}

template <typename T, size_t N>
std::string list(const T (&values)[N]) {
    std::string out;
    for (size_t i = 0; i < N; ++i) out += (i ? " " : "") + std::to_string(values[i]);
    return out;
}

int show(const std::string& path) {
    if (!load(path)) return kBadInput;
    std::printf("%s: %u preset%s\n", path.c_str(), g_table.presetCount, g_table.presetCount == 1 ? "" : "s");
    for (int i = 0; i < g_table.presetCount; ++i) {
        const Preset& p = g_table.presets[i];
        std::printf("\nPreset %d: %s\n", i, cp1252ToPrintableUtf8(p.gameName).c_str());
        std::printf("  path:            %s\n", cp1252ToPrintableUtf8(p.exePath).c_str());
        std::printf("  type:            %u (%s)\n", p.gameType, gameTypeName(p.gameType));
        std::printf("  axis functions:  %s\n", list(p.axisFunction).c_str());
        std::printf("  pedals:          %s (%u)\n", p.pedalsLinked ? "linked" : "separate", p.pedalsLinked);
        std::printf("  axis inversion:  0x%08X\n", p.axisInvert);
        for (int s = 0; s < kAxisSlots; ++s)
            std::printf("  curve slot %d:    %-11s P1 (%u, %u)  P2 (%u, %u)\n", s,
                        p.curveType[s] == 1 ? "curvilinear" : "linear", p.curveP1x[s], p.curveP1y[s],
                        p.curveP2x[s], p.curveP2y[s]);
        bool anyKeys = false;
        for (int slot = 0; slot < kEmulationSlots; ++slot) {
            if (!p.buttonKeys[slot][0]) continue;
            if (!anyKeys) std::printf("  keys:\n");
            anyKeys = true;
            std::printf("    %-10s", slotName(slot).c_str());
            for (int k = 0; k < kStoredKeysPerSlot && p.buttonKeys[slot][k]; ++k)
                std::printf(" 0x%04X", p.buttonKeys[slot][k]);
            std::printf("\n");
        }
        if (!anyKeys) std::printf("  keys:            none\n");
        std::printf("  mouse buttons:   right 0x%04X, left 0x%04X (carried 0x%04X 0x%04X)\n", p.clickMask[0],
                    p.clickMask[1], p.clickMask[2], p.clickMask[3]);
        std::printf("  mouse emulation: %s; settings %s\n", list(p.mouseEmulation).c_str(),
                    list(p.mouseSetting).c_str());
        std::printf("  mouse params:    A %s; B %s\n", list(p.mouseParamA).c_str(), list(p.mouseParamB).c_str());
        std::printf("  misc words:      %s; extra values %s\n", list(p.miscWord).c_str(), list(p.extraValue).c_str());
    }
    return kOk;
}

int exportJson(const std::string& path, const Options& o) {
    if (!load(path)) return kBadInput;
    const std::string text = presetTableToJson(g_table).dump(2) + "\n";
    if (o.output.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return kOk;
    }
    return writeOutput(o.output, std::vector<uint8_t>(text.begin(), text.end()));
}

int importJson(const std::string& path, const Options& o) {
    if (o.output.empty()) return usage("import needs -o FILE.pst");
    std::vector<uint8_t> bytes;
    if (!readInput(path, kMaxPresetJsonSize, bytes)) return kBadInput;
    std::memset(&g_table, 0, sizeof g_table);
    std::string error;
    if (!presetTableFromJson(std::string(bytes.begin(), bytes.end()), g_table, error))
        return badInput(path + ": " + error + "; nothing was written");
    FileResult result;
    if (!savePresetFile(nullptr, o.output.c_str(), g_table, platformFileSystem(), &result))
        return badInput(o.output + ": cannot write the file: " + result.reason);
    return kOk;
}

int curve(const std::string& path, const Options& o) {
    if (o.preset < 0 || o.slot < 0) return usage("curve needs --preset N and --slot S");
    if (!load(path)) return kBadInput;
    if (o.preset >= g_table.presetCount)
        return badInput(path + ": there is no preset " + std::to_string(o.preset) + " (the file holds " +
                        std::to_string(g_table.presetCount) + ")");
    SensitivityTable table;
    buildSensitivityTable(table, g_table.presets[o.preset], int(o.slot));
    for (int row = 0; row < kSensitivityEntries; row += 16) {
        std::printf("%3d:", row);
        for (int i = row; i < row + 16; ++i) std::printf(" %3u", table.entry[i]);
        std::printf("\n");
    }
    return kOk;
}

// What the tray loader and the control panel keep for the wheel.
LoaderWheel g_loader;
PanelWheel g_panel;
Preset g_current;

// The parameter block that the given program would send for a preset: the
// loader's game upload of the preset as its own copy gives it, or the
// control panel's upload of the preset made current with its copy (which
// clears axis inversion). No registry is touched: the panel's registry copy
// goes to a registry in memory.
int block(const std::string& path, const Options& o) {
    if (o.preset < 0 || o.sender.empty() || o.mode < 0) return usage("block needs --preset N, --sender and --mode");
    if ((o.sender == "loader") != (o.mode == 2))
        return usage("the loader sends mode 2 blocks, the control panel modes 1 and 3");
    if (o.sender == "loader" && !o.hardware.empty()) return usage("--hardware goes with --sender panel");
    if (!load(path)) return kBadInput;
    if (o.preset >= g_table.presetCount)
        return badInput(path + ": there is no preset " + std::to_string(o.preset) + " (the file holds " +
                        std::to_string(g_table.presetCount) + ")");

    if (o.sender == "loader") {
        copyPresetFull(g_current, g_table.presets[o.preset]);
        buildGameBlock(g_loader, g_current);
    } else {
        MemoryRegistryStore store;
        if (!o.hardware.empty()) {
            std::vector<uint8_t> record;
            if (!readInput(o.hardware, kHardwareConfigSize, record)) return kBadInput;
            if (record.size() != kHardwareConfigSize)
                return badInput(o.hardware + ": a hardware configuration is 112 bytes, this file " +
                                std::to_string(record.size()));
            store.set(kPanelKey, joystickConfigurationName(0), kRegBinary, record);
        }
        Registry registry(store, Deliverable::Panel);
        copyPreset(g_current, g_table.presets[o.preset]);
        buildPanelBlock(g_panel, g_current, o.mode == 3, registry);
    }
    const ParameterBlock& b = o.sender == "loader" ? g_loader.block : g_panel.block;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&b);
    if (!o.output.empty()) return writeOutput(o.output, std::vector<uint8_t>(bytes, bytes + sizeof b));
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return std::fwrite(bytes, 1, sizeof b, stdout) == sizeof b ? kOk : badInput("cannot write the block");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    const std::string file = argv[2];
    Options o;
    std::string error;
    if (!parseOptions(argc, argv, 3, o, error)) return usage(error.c_str());
    const bool onlyOutput = o.preset < 0 && o.slot < 0 && o.mode < 0 && o.sender.empty() && o.hardware.empty();
    if (command == "show" && onlyOutput && o.output.empty()) return show(file);
    if (command == "export" && onlyOutput) return exportJson(file, o);
    if (command == "import" && onlyOutput) return importJson(file, o);
    if (command == "curve" && o.output.empty() && o.mode < 0 && o.sender.empty() && o.hardware.empty())
        return curve(file, o);
    if (command == "block" && o.slot < 0) return block(file, o);
    return usage();
}
