#include "loader/watcher.h"

#include <atomic>
#include <cstring>

#include "preset/preset_file.h"

namespace zentra {

namespace {

// Past this many remembered names the memo starts again: the names of a
// machine's processes come back scan after scan, so it stays far below this
// unless short-lived processes with ever new names pile up.
constexpr size_t kMaxRememberedNames = 4096;

uint64_t nextGeneration() {
    static std::atomic<uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

unsigned char upperWesternByte(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // à..þ but ÷
    switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    default: return c;       // ß, µ and the rest have no capital in the code page
    }
}

}  // namespace

std::string upperWestern(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = char(upperWesternByte((unsigned char)c));
    return out;
}

const UpperCase& westernUpperCase() {
    static const struct Western : UpperCase {
        std::string upper(const std::string& text) const override { return upperWestern(text); }
    } western;
    return western;
}

bool isSystemProcessName(const std::string& upperName) {
    return upperName == "SYSTEM" || upperName == "[SYSTEM PROCESS]";
}

PresetMatcher::PresetMatcher(const PresetTable& table, const UpperCase& upperCase)
    : upperCase_(&upperCase), generation_(nextGeneration()) {
    const int count = table.presetCount > kMaxPresets ? kMaxPresets : table.presetCount;
    paths_.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const char* path = table.presets[i].exePath;
        paths_.push_back(upperCase.upper(std::string(path, strnlen(path, kTextSize))));
    }
}

int PresetMatcher::find(const std::string& upperName) const {
    // A process the system lists without a name is no game: an empty name
    // would be part of every path and take the first preset.
    if (upperName.empty()) return -1;
    for (size_t i = 0; i < paths_.size(); ++i)
        if (paths_[i].find(upperName) != std::string::npos) return int(i);
    return -1;
}

int GameWatcher::lookup(const std::string& upperName, const PresetMatcher& matcher) {
    if (cacheGeneration_ != matcher.generation() || cache_.size() > kMaxRememberedNames) {
        cache_.clear();
        cacheGeneration_ = matcher.generation();
    }
    auto it = cache_.find(upperName);
    if (it != cache_.end()) return it->second;
    const int index = matcher.find(upperName);
    cache_.emplace(upperName, index);
    return index;
}

Announcement GameWatcher::scan(const std::vector<ProcessEntry>& processes, const PresetMatcher& matcher) {
    // A game seen in the last scan keeps its process id, so that it is not
    // announced again while it runs.
    if (!found_) activePid_ = -1;
    found_ = false;

    Announcement out;
    for (const ProcessEntry& process : processes) {
        const std::string name = matcher.upper(process.exeName);
        if (isSystemProcessName(name)) continue;
        const int index = lookup(name, matcher);
        if (index < 0) continue;
        // The first configured game in snapshot order decides.
        found_ = true;
        if (int64_t(process.pid) != activePid_) {
            out.kind = Announcement::Start;
            out.presetIndex = index;
            out.generation = matcher.generation();
            out.upperName = name;
            active_ = true;
            activePid_ = int64_t(process.pid);
        }
        break;
    }
    if (!found_ && active_) {
        out.kind = Announcement::End;
        active_ = false;
    }
    return out;
}

SharedPresets::SharedPresets(PresetTable& table, const UpperCase& upperCase)
    : table_(table), upperCase_(upperCase), matcher_(std::make_shared<const PresetMatcher>(table, upperCase)) {}

int SharedPresets::load(const char* path, FileSystem& files) {
    std::lock_guard<std::mutex> hold(lock_);
    const int result = loadPresetFile(nullptr, path, table_, files, nullptr);
    if (result == 0) publishLocked();
    return result;
}

void SharedPresets::publishLocked() { matcher_ = std::make_shared<const PresetMatcher>(table_, upperCase_); }

std::shared_ptr<const PresetMatcher> SharedPresets::matcher() const {
    std::lock_guard<std::mutex> hold(lock_);
    return matcher_;
}

}  // namespace zentra
