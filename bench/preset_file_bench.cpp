// Preset file benchmarks on a full table of 255 presets: the library's load,
// save and in-memory decode, next to a literal reader that finds each section
// by reading 4 bytes at every offset from the start of the file and then
// reads every value with a read call of its own.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

#include "preset/preset_file.h"

using namespace zentra;

namespace {

// Tables live in static storage: each is about 680 KB.
PresetTable g_source, g_loaded, g_decoded, g_literal;
std::vector<uint8_t> g_fileBytes;
std::string g_filePath;  // the generated file, read by the load benchmarks
std::string g_savePath;  // the file the save benchmark replaces

void removeTempFiles() {
    for (const std::string* path : {&g_filePath, &g_savePath})
        if (!path->empty()) ::unlink(path->c_str());
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "preset_file_bench: %s\n", what);
    removeTempFiles();
    std::abort();
}

long long g_literalReads = 0;  // every read call the literal reader makes

ssize_t countedPread(int fd, void* buf, size_t n, off_t at) {
    ++g_literalReads;
    return ::pread(fd, buf, n, at);
}

// Offset of the first place whose 4 bytes equal `tag`, one read per offset
// from offset 0; -1 once a read returns no bytes.
off_t scanForTag(int fd, const char* tag) {
    char b[4];
    for (off_t p = 0;; ++p) {
        const ssize_t got = countedPread(fd, b, 4, p);
        if (got <= 0) return -1;
        if (got == 4 && std::memcmp(b, tag, 4) == 0) return p;
    }
}

// Reads the file as the format describes it, literally: every section is
// found by a scan from offset 0, then each value is read with a call of its
// own from a moving offset. A value the file ends inside of keeps its field.
int loadLiteral(const char* path, PresetTable& table) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    off_t at = 0;
    auto value = [&](auto& field, size_t width) {
        uint8_t b[4];
        if (countedPread(fd, b, width, at) == ssize_t(width)) {
            uint32_t v = 0;
            for (size_t i = 0; i < width; ++i) v |= uint32_t(b[i]) << (8 * i);
            field = std::remove_reference_t<decltype(field)>(v);  // zero-extended into wider fields
        }
        at += off_t(width);
    };
    auto u16 = [&](auto& field) { value(field, 2); };
    auto text = [&](char (&field)[kTextSize]) {  // a length byte, then the text byte by byte
        uint8_t len = 0;
        if (countedPread(fd, &len, 1, at++) != 1) return;
        size_t kept = 0;
        for (size_t i = 0; i < len; ++i) {
            char c;
            if (countedPread(fd, &c, 1, at++) != 1) break;
            if (kept < size_t(kMaxTextLength)) field[kept++] = c;
        }
        field[kept] = '\0';
    };
    auto section = [&](const char* tag, off_t lengthFieldSize) {  // moves to the body when found
        const off_t p = scanForTag(fd, tag);
        at = p + 4 + lengthFieldSize;
        return p >= 0;
    };

    char signature[kSignatureSize], version[7];
    if (countedPread(fd, signature, kSignatureSize, 0) != ssize_t(kSignatureSize) ||
        std::memcmp(signature, "PRS_JOYS", kSignatureSize) != 0) {
        ::close(fd);
        return -1;
    }
    if (section("VERS", 2)) countedPread(fd, version, sizeof version, at);  // read, never checked
    if (section("CONF", 2)) {
        uint16_t count = table.presetCount;
        u16(count);
        table.presetCount = uint16_t(std::min<int>(count, kMaxPresets));  // the table holds 255
    }
    Preset* const end = table.presets + table.presetCount;
    if (section("DATA", 4))
        for (Preset* r = table.presets; r < end; ++r) {
            u16(r->gameType);
            for (uint16_t& f : r->axisFunction) u16(f);
            for (int s = 0; s < kAxisSlots; ++s) {
                u16(r->curveType[s]);
                for (uint16_t* f : {&r->curveP1x[s], &r->curveP1y[s], &r->curveP2x[s], &r->curveP2y[s]}) u16(*f);
            }
            for (auto& slot : r->buttonKeys)
                for (int k = 0; k < kStoredKeysPerSlot; ++k) u16(slot[k]);
        }
    if (section("STRI", 2))
        for (Preset* r = table.presets; r < end; ++r) {
            text(r->gameName);
            text(r->exePath);
        }
    if (section("MISC", 4))
        for (Preset* r = table.presets; r < end; ++r) {
            for (uint16_t& f : r->mouseEmulation) u16(f);
            for (uint16_t& f : r->miscWord) u16(f);
            for (uint32_t& f : r->extraValue) u16(f);
            value(r->pedalsLinked, 4);
            value(r->axisInvert, 4);
        }
    if (section("MOUS", 4))
        for (Preset* r = table.presets; r < end; ++r) {
            for (uint32_t& f : r->mouseSetting) value(f, 1);
            for (int k = 0; k < 6; ++k) u16(r->mouseParamA[k]), u16(r->mouseParamB[k]);
            for (uint16_t& f : r->clickMask) u16(f);
        }
    ::close(fd);
    return 0;
}

// PosixFileSystem is private to the preset library, so its read() calls cannot
// be counted from here. This class reads a file the same way (open, fstat,
// then read() until the size is reached) and counts the read() calls;
// BM_LoadCountingReads loads through it to report the library's reads_per_load.
class CountingFileSystem : public FileSystem {
public:
    long long reads = 0;
    FileResult readFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& bytes) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return FileResult::failed("cannot open");
        struct stat st;
        const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && uint64_t(st.st_size) <= maxSize;
        size_t done = 0;
        if (ok) bytes.resize(size_t(st.st_size));
        while (ok && done < bytes.size()) {
            ++reads;
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += size_t(got);
        }
        if (ok) bytes.resize(done);  // shorter when the file shrank while it was read
        ::close(fd);
        return ok ? FileResult() : FileResult::notAFile();
    }
    FileResult replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        return platformFileSystem().replaceFile(path, bytes);
    }
};

// file_bytes for every benchmark; reads_per_load where the reads are counted.
void setCounters(benchmark::State& state, long long reads = -1) {
    if (reads >= 0)
        state.counters["reads_per_load"] = benchmark::Counter(double(reads), benchmark::Counter::kAvgIterations);
    state.counters["file_bytes"] = double(g_fileBytes.size());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(g_fileBytes.size()));
}

void BM_LoadPresetFile(benchmark::State& state) {
    for (auto _ : state)
        if (loadPresetFile(nullptr, g_filePath.c_str(), g_loaded, platformFileSystem(), nullptr) != 0)
            fail("load failed");
    setCounters(state);  // its reads cannot be counted from here: see BM_LoadCountingReads
}

void BM_LoadCountingReads(benchmark::State& state) {
    CountingFileSystem files;
    for (auto _ : state)
        if (loadPresetFile(nullptr, g_filePath.c_str(), g_loaded, files, nullptr) != 0) fail("load failed");
    setCounters(state, files.reads);
}

void BM_SavePresetFile(benchmark::State& state) {
    for (auto _ : state)
        if (savePresetFile(nullptr, g_savePath.c_str(), g_source, platformFileSystem()) != 1) fail("save failed");
    setCounters(state);
}

void BM_DecodeInMemory(benchmark::State& state) {
    for (auto _ : state)
        if (!decodePresetFile(g_fileBytes.data(), g_fileBytes.size(), g_decoded)) fail("decode failed");
    setCounters(state);
}

void BM_LoadLiteralPerOffsetScan(benchmark::State& state) {
    g_literalReads = 0;
    for (auto _ : state)
        if (loadLiteral(g_filePath.c_str(), g_literal) != 0) fail("literal load failed");
    setCounters(state, g_literalReads);
}

BENCHMARK(BM_LoadPresetFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadCountingReads)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SavePresetFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeInMemory)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadLiteralPerOffsetScan)->Unit(benchmark::kMillisecond);

// 255 presets with names and paths of realistic, varied lengths and a few
// keys, curves and mouse settings set.
void buildTable(PresetTable& t) {
    static const char* const titles[] = {"Game", "Rally Challenge", "Night Flight Simulator", "Tank Commander",
                                         "Super Kart Racing Deluxe", "Open Wheel Grand Prix Season 2002"};
    static const char* const folders[] = {"Games", "Racing Studio\\Rally", "Flight\\Night Flight",
                                          "Arcade Collection", "Strategy\\Tank Commander Gold Edition"};
    std::memset(&t, 0, sizeof t);
    t.presetCount = kMaxPresets;
    for (int i = 0; i < kMaxPresets; ++i) {
        Preset& p = t.presets[i];
        resetPreset(p, Deliverable::Panel);
        const std::string num = std::to_string(i + 1);
        const std::string name = std::string(titles[i % 6]) + " " + num;
        const std::string path = std::string(i % 3 ? "C:" : "D:") + "\\Program Files\\" + folders[i % 5] +
                                 "\\Game" + num + "\\game" + num + ".exe";
        setPresetText(p.gameName, name.c_str());
        setPresetText(p.exePath, path.c_str());
        p.gameType = uint16_t(i % 4);
        p.curveType[i % 4] = 1;
        p.curveP1x[i % 4] = uint16_t(i % 40);
        p.curveP2y[i % 4] = uint16_t(i % 86);
        for (int slot = i % 3; slot < kEmulationSlots; slot += 3 + i % 4) {
            p.buttonKeys[slot][0] = KeyCode(kLeftCtrl | (0x10 + i % 0x30));
            p.buttonKeys[slot][1] = KeyCode(0x1E + slot);
        }
        p.axisInvert = i % 7 == 0 ? 0x01000000u : 0u;
        p.mouseSetting[0] = uint32_t(i % 3);
        p.mouseParamA[0] = uint16_t(20 + i % 50);
        p.clickMask[0] = uint16_t(1u << (i % 13));
    }
}

std::string writeTempFile(const std::vector<uint8_t>& bytes) {
    std::string path = (std::filesystem::temp_directory_path() / "preset_file_bench.XXXXXX").string();
    const int fd = ::mkstemp(&path[0]);
    if (fd < 0) fail("cannot create a temporary file");
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put <= 0) fail("cannot write the temporary file");
        done += size_t(put);
    }
    ::close(fd);
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    buildTable(g_source);
    g_fileBytes = encodePresetFile(g_source);
    g_filePath = writeTempFile(g_fileBytes);
    g_savePath = writeTempFile({});

    // The comparison is only fair if both readers give the same table. Both
    // tables start zeroed, as static storage does.
    if (!decodePresetFile(g_fileBytes.data(), g_fileBytes.size(), g_decoded)) fail("decode refused the file");
    if (loadLiteral(g_filePath.c_str(), g_literal) != 0) fail("literal reader refused the file");
    if (g_decoded.presetCount != kMaxPresets) fail("decoded count is not 255");
    if (std::memcmp(&g_decoded, &g_literal, sizeof g_decoded) != 0)
        fail("literal reader and decodePresetFile disagree on the generated file");

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    removeTempFiles();
    return 0;
}
