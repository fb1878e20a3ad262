// The game-launch watcher: code-page upper case, matching running executables
// against preset paths, the start and end announcements of successive scans,
// and the shared table that the watcher matches against while it is reloaded.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "loader/watcher.h"
#include "preset/file_system_memory.h"
#include "preset/preset_file.h"
#include "preset_test_support.h"

namespace zentra {
namespace {

using test::newTable;

std::unique_ptr<PresetTable> tableWithPaths(const std::vector<std::string>& paths) {
    auto table = newTable();
    table->presetCount = uint16_t(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        resetPreset(table->presets[i], Deliverable::Panel);
        setPresetText(table->presets[i].gameName, ("Game " + std::to_string(i)).c_str());
        setPresetText(table->presets[i].exePath, paths[i].c_str());
    }
    return table;
}

using Snapshot = std::vector<ProcessEntry>;

// Processes every snapshot holds; none has a preset.
Snapshot withBackground(const Snapshot& games) {
    Snapshot s = {{0, "[System Process]"}, {4, "System"}, {388, "smss.exe"}, {612, "csrss.exe"},
                  {1404, "explorer.exe"}};
    s.insert(s.end(), games.begin(), games.end());
    s.push_back({2210, "notepad.exe"});
    return s;
}

bool isStart(const Announcement& a, int index) { return a.kind == Announcement::Start && a.presetIndex == index; }
bool isEnd(const Announcement& a) { return a.kind == Announcement::End; }
bool isNone(const Announcement& a) { return a.kind == Announcement::None; }

// Presets: 0 a rally game, 1 a kart game, 2 the default preset.
class WatcherTest : public ::testing::Test {
protected:
    WatcherTest()
        : table_(tableWithPaths({"C:\\Games\\Rally\\Rally.exe", "D:\\Kart Racing\\KART.EXE", "<<<NO PATH>>>"})),
          matcher_(*table_, westernUpperCase()) {}

    Announcement scan(const Snapshot& games) { return watcher_.scan(withBackground(games), matcher_); }

    std::unique_ptr<PresetTable> table_;
    PresetMatcher matcher_;
    GameWatcher watcher_;
};

// ---------------------------------------------------------------- upper case and names

TEST(UpperWestern, UpperCasesAsciiAndTheCodePagesLowerCaseLetters) {
    EXPECT_EQ("RALLY 2.EXE", upperWestern("rally 2.exe"));
    EXPECT_EQ("ALREADY UPPER [1]~", upperWestern("ALREADY UPPER [1]~"));
    EXPECT_EQ("\xC0\xC7\xC9\xD6\xD8\xDE", upperWestern("\xE0\xE7\xE9\xF6\xF8\xFE"));  // à ç é ö ø þ
    EXPECT_EQ("\x8A\x8C\x8E\x9F", upperWestern("\x9A\x9C\x9E\xFF"));                  // š œ ž ÿ
    // ÷, ß, µ, ƒ, ª, º have no capital; bytes outside the letters stay.
    EXPECT_EQ("\xF7\xDF\xB5\x83\xAA\xBA\x80\xA0", upperWestern("\xF7\xDF\xB5\x83\xAA\xBA\x80\xA0"));
    EXPECT_EQ(std::string("A\0B", 3), upperWestern(std::string("a\0b", 3)));
}

TEST(UpperWestern, OnlyTheTwoSystemNamesAreSystemProcesses) {
    EXPECT_TRUE(isSystemProcessName("SYSTEM"));
    EXPECT_TRUE(isSystemProcessName("[SYSTEM PROCESS]"));
    for (const char* other : {"SYSTEM.EXE", "SYSTEM ", "[SYSTEM PROCESS", "System", "SYSTEMSETTINGS.EXE"})
        EXPECT_FALSE(isSystemProcessName(other)) << other;
}

// ---------------------------------------------------------------- matching

TEST(PresetMatcher, FirstPresetWhosePathContainsTheNameInAnyCase) {
    auto table = tableWithPaths({"C:\\Jeux\\\xC9t\xE9\\\xC7ourse.exe", "c:\\games\\rally.exe", "E:\\Rally\\RALLY.EXE",
                                 "F:\\\x8Cuvre\\\x9F.exe"});
    const PresetMatcher m(*table, westernUpperCase());
    EXPECT_EQ(4, m.presetCount());
    EXPECT_EQ(1, m.find(upperWestern("Rally.exe")));   // first of two in table order
    EXPECT_EQ(1, m.find(upperWestern("ally.EXE")));    // a part of a file name is enough
    EXPECT_EQ(2, m.find(upperWestern("e:\\rally\\rally.exe")));  // a full name needs the whole path
    EXPECT_EQ(-1, m.find(upperWestern("D:\\rally\\rally.exe")));
    EXPECT_EQ(0, m.find(upperWestern("\xE7OURSE.EXE")));         // ç in the name, Ç in the path
    EXPECT_EQ(0, m.find(upperWestern("\xE9t\xE9\\\xE7ourse")));  // é in both
    EXPECT_EQ(3, m.find(upperWestern("\x9C" "uvre\\\xFF.exe")));  // œ and ÿ against Œ and Ÿ
    EXPECT_EQ(-1, m.find(upperWestern("rally2.exe")));
    EXPECT_EQ(-1, m.find(""));  // no name is part of every path, but names no game
}

TEST(PresetMatcher, ReadsAtMostTheTableAndHasItsOwnGeneration) {
    auto table = tableWithPaths({"a.exe"});
    table->presetCount = 300;  // a damaged count
    const PresetMatcher first(*table, westernUpperCase());
    const PresetMatcher second(*table, westernUpperCase());
    EXPECT_EQ(kMaxPresets, first.presetCount());
    EXPECT_GT(second.generation(), first.generation());
}

// The Central European code page (1250) for the letters used below: what
// the system gives there, where the Western table differs.
class CentralEuropeanUpperCase : public UpperCase {
public:
    std::string upper(const std::string& text) const override {
        std::string out = text;
        for (char& c : out) {
            const unsigned char b = (unsigned char)c;
            if (b >= 'a' && b <= 'z') c = char(b - 0x20);
            if (b == 0xB3) c = char(0xA3);  // ł
            if (b == 0xB9) c = char(0xA5);  // ą
            if (b == 0xBF) c = char(0xAF);  // ż
            if (b == 0xF3) c = char(0xD3);  // ó
            if (b == 0x9F) c = char(0x8F);  // ź
            // 0xFF is the dot above, no letter.
        }
        return out;
    }
};

// Paths and running names are upper-cased by the seam the matcher is built
// with, not by the Western table.
TEST(PresetMatcher, UpperCasesPathsAndNamesWithItsCodePage) {
    auto table = tableWithPaths({"C:\\Gry\\\xA3\xD3" "D\x8F.EXE", "C:\\Gry\\\xA5\xAF.exe"});  // ŁÓDŹ, ĄŻ
    const CentralEuropeanUpperCase centralEuropean;
    const PresetMatcher matcher(*table, centralEuropean);
    GameWatcher watcher;
    EXPECT_TRUE(isStart(watcher.scan({{10, "\xB3\xF3""d\x9F.exe"}}, matcher), 0));  // łódź
    EXPECT_TRUE(isStart(watcher.scan({{11, "\xB9\xBF.EXE"}}, matcher), 1));        // ąż
    // The Western table takes 0xFF for ÿ and makes it 0x9F, ź here: no match.
    EXPECT_TRUE(isEnd(watcher.scan({{12, "\xB3\xF3""d\xFF.exe"}}, matcher)));
    // The Western table misses the Polish letters.
    EXPECT_EQ(-1, PresetMatcher(*table, westernUpperCase()).find(upperWestern("\xB3\xF3""d\x9F.exe")));
}

// ---------------------------------------------------------------- scans

TEST_F(WatcherTest, IdleWithoutAGameAnnouncesNothing) {
    EXPECT_TRUE(isNone(scan({})));
    EXPECT_TRUE(isNone(scan({{3000, "winword.exe"}})));
    EXPECT_FALSE(watcher_.active());
    EXPECT_EQ(-1, watcher_.activePid());
}

TEST_F(WatcherTest, GameStartsRunsAndEnds) {
    const Announcement start = scan({{3000, "rally.exe"}});
    EXPECT_TRUE(isStart(start, 0));
    EXPECT_EQ(matcher_.generation(), start.generation) << "the start names the table it was found in";
    EXPECT_EQ("RALLY.EXE", start.upperName);
    EXPECT_TRUE(watcher_.active());
    EXPECT_EQ(3000, watcher_.activePid());
    EXPECT_TRUE(isNone(scan({{3000, "rally.exe"}})));  // still the first configured game
    EXPECT_TRUE(isNone(scan({{3000, "rally.exe"}, {3100, "kart.exe"}})));
    EXPECT_TRUE(isEnd(scan({})));
    EXPECT_FALSE(watcher_.active());
    EXPECT_TRUE(isNone(scan({})));
    EXPECT_EQ(-1, watcher_.activePid());
    EXPECT_TRUE(isStart(scan({{3000, "rally.exe"}}), 0));  // back with the same id: a new start
}

TEST_F(WatcherTest, OnlyTheFirstGameInSnapshotOrderCounts) {
    EXPECT_TRUE(isStart(scan({{3100, "kart.exe"}, {3000, "rally.exe"}}), 1));
    EXPECT_TRUE(isNone(scan({{3100, "kart.exe"}, {3000, "rally.exe"}})));
    // The first one exits: the other's preset at once, no end in between.
    EXPECT_TRUE(isStart(scan({{3000, "rally.exe"}}), 0));
    EXPECT_EQ(3000, watcher_.activePid());
    // A configured game comes earlier in snapshot order than the active one.
    EXPECT_TRUE(isStart(scan({{3200, "KART.exe"}, {3000, "rally.exe"}}), 1));
    EXPECT_EQ(3200, watcher_.activePid());
    EXPECT_TRUE(isEnd(scan({})));
}

TEST_F(WatcherTest, SameGameRestartedWithANewProcessIdStartsAgain) {
    EXPECT_TRUE(isStart(scan({{3000, "rally.exe"}}), 0));
    EXPECT_TRUE(isStart(scan({{3004, "rally.exe"}}), 0));
    EXPECT_EQ(3004, watcher_.activePid());
    EXPECT_TRUE(isNone(scan({{3004, "rally.exe"}})));
}

TEST(GameWatcher, SystemProcessesNeverMatchWhateverThePresetsHold) {
    auto table = tableWithPaths({"C:\\WINDOWS\\SYSTEM32\\SYSTEM", "[System Process]", "C:\\Tools\\SYSTEM.EXE"});
    const PresetMatcher matcher(*table, westernUpperCase());
    GameWatcher watcher;
    EXPECT_TRUE(isNone(watcher.scan({{0, "[System Process]"}, {4, "System"}, {8, "SYSTEM"}, {9, "system"}}, matcher)));
    EXPECT_FALSE(watcher.active());
    // Only the exact names are skipped.
    EXPECT_TRUE(isStart(watcher.scan({{4, "System"}, {700, "system.exe"}}, matcher), 2));
}

// A process listed without a name neither starts a game nor keeps one
// running.
TEST_F(WatcherTest, AProcessWithoutANameIsNoGame) {
    EXPECT_TRUE(isNone(scan({{900, ""}})));
    EXPECT_TRUE(isStart(scan({{900, ""}, {901, "rally.exe"}}), 0));
    EXPECT_TRUE(isEnd(scan({{900, ""}})));
}

TEST(GameWatcher, NamesMatchInAnyLetterCaseOfTheCodePage) {
    auto table = tableWithPaths({"C:\\JEUX\\\xC9T\xC9 RALLYE\\\xC9T\xC9.EXE", "C:\\Games\\\x8A" "KODA.exe"});
    const PresetMatcher matcher(*table, westernUpperCase());
    GameWatcher watcher;
    EXPECT_TRUE(isStart(watcher.scan({{10, "\xE9t\xE9.exe"}}, matcher), 0));
    EXPECT_TRUE(isStart(watcher.scan({{11, "\x9Akoda.EXE"}}, matcher), 1));
    EXPECT_TRUE(isEnd(watcher.scan({{12, "ete.exe"}}, matcher)));  // é is not e
}

// The same scans with one matcher throughout (names remembered) and with a
// new matcher of the same table before every scan (nothing remembered) give
// the same announcements, also when the memo overflows within a scan.
TEST_F(WatcherTest, RememberedMatchesNeverChangeTheResult) {
    Snapshot crowd;
    for (uint32_t i = 0; i < 5000; ++i) crowd.push_back({10000 + i, "helper" + std::to_string(i) + ".exe"});
    Snapshot crowdThenGame = crowd;
    crowdThenGame.push_back({3000, "Rally.exe"});
    const std::vector<Snapshot> scans = {
        {}, {{3000, "rally.exe"}}, {{3100, "kart.exe"}, {3000, "rally.exe"}}, {{3000, "RALLY.EXE"}}, {},
        crowdThenGame, crowdThenGame, crowd, {{3000, "rally.exe"}}, {{3000, "rally.exe"}}, {}};
    GameWatcher remembering, fresh;
    std::vector<Announcement> got;
    for (const Snapshot& s : scans) {
        const Announcement a = remembering.scan(withBackground(s), matcher_);
        const Announcement b = fresh.scan(withBackground(s), PresetMatcher(*table_, westernUpperCase()));
        EXPECT_EQ(b.kind, a.kind);
        EXPECT_EQ(b.presetIndex, a.presetIndex);
        got.push_back(a);
    }
    EXPECT_TRUE(isStart(got[1], 0) && isStart(got[2], 1) && isStart(got[3], 0) && isEnd(got[4]));
    EXPECT_TRUE(isStart(got[5], 0) && isNone(got[6]) && isEnd(got[7]) && isStart(got[8], 0) && isEnd(got[10]));
}

// ---------------------------------------------------------------- shared table

class SharedPresetsTest : public ::testing::Test {
protected:
    void store(const std::string& path, const std::vector<std::string>& exePaths) {
        files_.files[path] = encodePresetFile(*tableWithPaths(exePaths));
    }

    MemoryFileSystem files_;
    std::unique_ptr<PresetTable> table_ = newTable();
    SharedPresets presets_{*table_, westernUpperCase()};
};

TEST_F(SharedPresetsTest, ALoadPublishesANewMatcherThatTheNextScanUses) {
    store("first.pst", {"C:\\Games\\Rally\\rally.exe"});
    store("second.pst", {"C:\\Games\\Rally\\rally.exe", "D:\\Kart\\kart.exe"});
    ASSERT_EQ(0, presets_.load("first.pst", files_));
    GameWatcher watcher;
    const Snapshot kart = withBackground({{3100, "kart.exe"}});
    EXPECT_TRUE(isNone(watcher.scan(kart, *presets_.matcher())));  // "KART.EXE" remembered as no match

    ASSERT_EQ(0, presets_.load("second.pst", files_));
    EXPECT_EQ(2, presets_.matcher()->presetCount());
    EXPECT_TRUE(isStart(watcher.scan(kart, *presets_.matcher()), 1));
    EXPECT_EQ(2, presets_.withTable([](const PresetTable& t) { return int(t.presetCount); }));

    ASSERT_EQ(0, presets_.load("first.pst", files_));
    EXPECT_TRUE(isEnd(watcher.scan(kart, *presets_.matcher())));
}

TEST_F(SharedPresetsTest, AFailedLoadKeepsTableAndMatcher) {
    store("first.pst", {"C:\\Games\\Rally\\rally.exe"});
    files_.files["bad.pst"] = {'N', 'O', 'T', ' ', 'A', ' ', 'P', 'S', 'T'};
    store("locked.pst", {"a.exe", "b.exe"});
    files_.unreadable["locked.pst"] = true;
    ASSERT_EQ(0, presets_.load("first.pst", files_));
    const auto before = presets_.matcher();
    for (const char* path : {"missing.pst", "bad.pst", "locked.pst"}) {
        EXPECT_EQ(-1, presets_.load(path, files_)) << path;
        EXPECT_EQ(before, presets_.matcher()) << path;
        EXPECT_EQ(1, presets_.withTable([](const PresetTable& t) { return int(t.presetCount); })) << path;
    }
}

// Whoever changes the table publishes its matcher with it.
TEST_F(SharedPresetsTest, AChangeOfTheTablePublishesItsMatcher) {
    store("first.pst", {"C:\\Games\\Rally\\rally.exe", "D:\\Kart\\kart.exe"});
    ASSERT_EQ(0, presets_.load("first.pst", files_));
    const auto before = presets_.matcher();
    presets_.change([](PresetTable& t) {
        setPresetText(t.presets[0].exePath, "E:\\Boat\\boat.exe");
        t.presetCount = 1;
    });
    const auto after = presets_.matcher();
    EXPECT_GT(after->generation(), before->generation());
    EXPECT_EQ(1, after->presetCount());
    EXPECT_EQ(0, after->find("BOAT.EXE"));
    EXPECT_EQ(-1, after->find("RALLY.EXE"));
    EXPECT_EQ(-1, after->find("KART.EXE"));
}

}  // namespace
}  // namespace zentra
