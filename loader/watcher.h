// The game-launch watcher's decisions: which running executable has a
// preset, and when a game start or end is announced.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "preset/file_system.h"
#include "preset/preset.h"

namespace zentra {

// One entry of a process snapshot.
struct ProcessEntry {
    uint32_t pid;
    std::string exeName;  // as the system reports it (a bare file name on NT)
};

// The running processes: the seam over Toolhelp32 snapshots.
class ProcessList {
public:
    virtual ~ProcessList() = default;
    // False when no snapshot can be taken.
    virtual bool snapshot(std::vector<ProcessEntry>& processes) = 0;
};

// Upper case in the Western Windows code page (1252), as the system's
// locale upper-cases 8-bit text.
std::string upperWestern(const std::string& text);

// "SYSTEM" and "[SYSTEM PROCESS]" (upper-cased names) never match a preset.
bool isSystemProcessName(const std::string& upperName);

// The matching data of one preset table, prepared once when the table is
// loaded: the upper-cased paths in table order. Immutable, so the watcher
// can use it while the main thread loads the next table.
class PresetMatcher {
public:
    explicit PresetMatcher(const PresetTable& table);
    // Index of the first preset whose upper-cased path contains the
    // upper-cased name; -1 when none does.
    int find(const std::string& upperName) const;
    int presetCount() const { return int(paths_.size()); }
    uint64_t generation() const { return generation_; }

private:
    std::vector<std::string> paths_;
    uint64_t generation_;
};

// What a scan asks the main thread to do.
struct Announcement {
    enum Kind { None, Start, End } kind = None;
    int presetIndex = -1;  // for Start
};

// The watcher's state between scans and the scan itself. Matches are
// remembered by name for as long as the table stays the same, since the
// same processes come back scan after scan.
class GameWatcher {
public:
    Announcement scan(const std::vector<ProcessEntry>& processes, const PresetMatcher& matcher);

    bool active() const { return active_; }
    int64_t activePid() const { return activePid_; }

private:
    int lookup(const std::string& upperName, const PresetMatcher& matcher);

    bool found_ = false;
    bool active_ = false;
    int64_t activePid_ = -1;
    uint64_t cacheGeneration_ = 0;
    std::unordered_map<std::string, int> cache_;
};

// The loader's preset table, shared by the main thread (which loads it and
// copies presets out of it) and the watcher (which loads it while it waits
// for the file and matches against it). Every access holds the lock; each
// load publishes a new matcher that the watcher picks up at its next scan.
class SharedPresets {
public:
    explicit SharedPresets(PresetTable& table);

    // loadPresetFile into the table (the loader's silent reader), then a new
    // matcher when it succeeded. Returns loadPresetFile's result.
    int load(const char* path, FileSystem& files);

    std::shared_ptr<const PresetMatcher> matcher() const;

    // Runs f(table) with the lock held.
    template <typename F>
    auto withTable(F f) -> decltype(f(std::declval<PresetTable&>())) {
        std::lock_guard<std::mutex> hold(lock_);
        return f(table_);
    }

private:
    mutable std::mutex lock_;
    PresetTable& table_;
    std::shared_ptr<const PresetMatcher> matcher_;
};

}  // namespace zentra
