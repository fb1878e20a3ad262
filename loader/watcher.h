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

// The upper case of 8-bit text in the system code page, as the system's
// locale gives it: the seam the matcher is built with. The loader takes it
// from the system; the native tests use the Western code page's.
class UpperCase {
public:
    virtual ~UpperCase() = default;
    virtual std::string upper(const std::string& text) const = 0;
};

// Upper case in the Western Windows code page (1252).
std::string upperWestern(const std::string& text);
const UpperCase& westernUpperCase();

#ifdef _WIN32
// The system's own upper case of its ANSI code page (CharUpperBuffA).
const UpperCase& systemUpperCase();
#endif

// "SYSTEM" and "[SYSTEM PROCESS]" (upper-cased names) never match a preset.
bool isSystemProcessName(const std::string& upperName);

// The matching data of one preset table, prepared once when the table is
// loaded: the upper-cased paths in table order. Immutable, so the watcher
// can use it while the main thread loads the next table. Its generation
// tells the tables apart.
class PresetMatcher {
public:
    PresetMatcher(const PresetTable& table, const UpperCase& upperCase);
    // Index of the first preset whose upper-cased path contains the
    // upper-cased name; -1 when none does, and for an empty name.
    int find(const std::string& upperName) const;
    // A name upper-cased as the paths are.
    std::string upper(const std::string& name) const { return upperCase_->upper(name); }
    int presetCount() const { return int(paths_.size()); }
    uint64_t generation() const { return generation_; }

private:
    const UpperCase* upperCase_;
    std::vector<std::string> paths_;
    uint64_t generation_;
};

// What a scan asks the main thread to do. A start names its match as the
// scan found it: the index in the table of `generation`, and the
// upper-cased executable name, by which the main thread finds the preset
// again when its table has been replaced since.
struct Announcement {
    enum Kind { None, Start, End } kind = None;
    int presetIndex = -1;     // for Start
    uint64_t generation = 0;  // the matcher's that found it
    std::string upperName;
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
// for the file and matches against it). Every access holds the lock. The
// table changes only through load and change, and each change publishes
// the table's new matcher, which the watcher picks up at its next scan.
class SharedPresets {
public:
    SharedPresets(PresetTable& table, const UpperCase& upperCase);

    // loadPresetFile into the table (the loader's silent reader), then a new
    // matcher when it succeeded. Returns loadPresetFile's result.
    int load(const char* path, FileSystem& files);

    // Runs f(table) with the lock held, then publishes the changed table's
    // matcher.
    template <typename F>
    auto change(F f) -> decltype(f(std::declval<PresetTable&>())) {
        std::lock_guard<std::mutex> hold(lock_);
        struct Publish {
            SharedPresets& self;
            ~Publish() { self.publishLocked(); }
        } publish{*this};
        return f(table_);
    }

    std::shared_ptr<const PresetMatcher> matcher() const;

    // Runs f(table) with the lock held.
    template <typename F>
    auto withTable(F f) -> decltype(f(std::declval<const PresetTable&>())) {
        std::lock_guard<std::mutex> hold(lock_);
        return f(static_cast<const PresetTable&>(table_));
    }

    // The index of an announced start's preset in the table held now, then
    // f(table, index) with the lock held. The index is the announced one
    // when the table is still the one the scan matched against; otherwise
    // the name is matched again. -1 when the table has no preset for it.
    template <typename F>
    auto withAnnouncedPreset(const Announcement& start, F f)
        -> decltype(f(std::declval<const PresetTable&>(), 0)) {
        std::lock_guard<std::mutex> hold(lock_);
        const int index =
            start.generation == matcher_->generation() ? start.presetIndex : matcher_->find(start.upperName);
        return f(static_cast<const PresetTable&>(table_), index);
    }

private:
    void publishLocked();

    mutable std::mutex lock_;
    PresetTable& table_;
    const UpperCase& upperCase_;
    std::shared_ptr<const PresetMatcher> matcher_;
};

}  // namespace zentra
