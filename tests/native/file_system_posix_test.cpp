// The POSIX file system under what a user's disk can hold: devices, pipes,
// folders, huge files, links, long names, saves that fail for the system's
// reasons, saves killed half way and saves that race each other.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "preset/file_system.h"
#include "preset/preset_file.h"
#include "preset_test_support.h"

namespace zentra {
namespace {

using Bytes = std::vector<uint8_t>;

// A fresh folder for each test, removed with what is left in it.
class PosixFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tmp = std::getenv("TMPDIR");
        std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/zentra-files-XXXXXX";
        ASSERT_NE(::mkdtemp(&templ[0]), nullptr);
        dir = templ;
    }
    void TearDown() override {
        ::chmod(dir.c_str(), 0700);
        ASSERT_EQ(0, std::system(("rm -rf '" + dir + "'").c_str()));
    }
    std::string at(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const Bytes& bytes) const {
        ASSERT_TRUE(files.replaceFile(at(name), bytes)) << name;
    }

    std::string dir;
    FileSystem& files = platformFileSystem();
};

TEST_F(PosixFiles, WhatIsNotARegularFileOrIsTooLargeIsRefusedBeforeReading) {
    ASSERT_EQ(0, ::mkfifo(at("fifo").c_str(), 0600));
    ASSERT_EQ(0, ::mkdir(at("folder").c_str(), 0700));
    // A sparse file far larger than memory: reading it would abort.
    const int fd = ::open(at("huge").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ::ftruncate(fd, off_t(100) << 30));
    ::close(fd);
    write("limit", Bytes(100, 7));

    const struct {
        std::string path;
        FileResult::Status status;
    } cases[] = {
        {at("fifo"), FileResult::NotAFile},    // would wait for a writer forever
        {"/dev/zero", FileResult::NotAFile},   // would read as empty
        {at("folder"), FileResult::NotAFile},
        {at("huge"), FileResult::TooLarge},
        {at("limit"), FileResult::Done},       // exactly the limit
        {at("missing"), FileResult::Failed},
    };
    ::alarm(20);  // a read that hangs ends the test program
    for (const auto& c : cases) {
        Bytes bytes;
        const FileResult result = files.readFile(c.path, 100, bytes);
        EXPECT_EQ(c.status, result.status) << c.path << ": " << result.reason;
        if (result) {
            EXPECT_EQ(Bytes(100, 7), bytes);
        }
    }
    ::alarm(0);
    Bytes bytes;
    EXPECT_EQ(std::strerror(ENOENT), files.readFile(at("missing"), 100, bytes).reason);
}

TEST_F(PosixFiles, AHugeFileWithTheSignatureIsNotAPresetFile) {
    const int fd = ::open(at("huge.pst").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(8, ::write(fd, "PRS_JOYS", 8));
    ASSERT_EQ(0, ::ftruncate(fd, off_t(100) << 30));
    ::close(fd);
    struct Notice : PresetFileNotice {
        void notPresetFile(OwnerWindow) override { ++calls; }
        int calls = 0;
    } notice;
    auto table = test::newTable();
    table->presetCount = 4;

    EXPECT_EQ(-1, loadPresetFile(nullptr, at("huge.pst").c_str(), *table, files, &notice));
    EXPECT_EQ(1, notice.calls);
    EXPECT_EQ(4, table->presetCount);
}

// Each failed save names the system's reason and leaves nothing behind.
TEST_F(PosixFiles, AFailedSaveGivesTheSystemsReasonAndLeavesTheFolderAsItWas) {
    ASSERT_EQ(0, ::mkdir(at("folder").c_str(), 0700));
    ASSERT_EQ(0, ::mkdir(at("locked").c_str(), 0500));
    write("readonly.pst", Bytes(3, 1));
    ASSERT_EQ(0, ::chmod(at("readonly.pst").c_str(), 0444));
    const struct {
        const char* what;
        std::string path;
        int error;
        std::function<void(bool)> limit;  // set (true) and lifted (false) around the save
    } cases[] = {
        {"a folder in the way", at("folder"), EISDIR, nullptr},
        {"a missing folder", at("nothere/x.pst"), ENOENT, nullptr},
        {"a name of 256 bytes", at(std::string(252, 'n') + ".pst"), ENAMETOOLONG, nullptr},
        {"a folder without write access", at("locked/x.pst"), EACCES, nullptr},
        {"a read-only file", at("readonly.pst"), EACCES, nullptr},
        // The file size limit stands for a full disk: the write fails part way.
        {"a file size limit", at("big.pst"), EFBIG,
         [](bool set) {
             static struct rlimit saved;
             if (set) {
                 ::getrlimit(RLIMIT_FSIZE, &saved);
                 struct rlimit small = saved;
                 small.rlim_cur = 1000;
                 std::signal(SIGXFSZ, SIG_IGN);
                 ::setrlimit(RLIMIT_FSIZE, &small);
             } else {
                 ::setrlimit(RLIMIT_FSIZE, &saved);
                 std::signal(SIGXFSZ, SIG_DFL);
             }
         }},
    };
    for (const auto& c : cases) {
        if (c.error == EACCES && ::geteuid() == 0) continue;  // write access does not stop root
        if (c.limit) c.limit(true);
        const FileResult result = files.replaceFile(c.path, Bytes(5000, 1));
        if (c.limit) c.limit(false);
        EXPECT_EQ(FileResult::Failed, result.status) << c.what;
        EXPECT_EQ(std::strerror(c.error), result.reason) << c.what;
    }
    EXPECT_EQ(0, std::system(("test \"$(ls -A '" + dir + "')\" = \"$(printf 'folder\\nlocked\\nreadonly.pst')\"").c_str()))
        << "something was left in the folder";
}

std::string kindOf(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return "missing";
    if (S_ISLNK(st.st_mode)) return "link";
    return "file " + std::to_string(st.st_mode & 0777);
}

// The names in the folder, sorted.
std::vector<std::string> namesIn(const std::string& dir) {
    std::vector<std::string> names;
    FILE* ls = ::popen(("ls -A '" + dir + "'").c_str(), "r");
    char line[512];
    while (ls && std::fgets(line, sizeof line, ls)) names.push_back(std::string(line, std::strcspn(line, "\n")));
    if (ls) ::pclose(ls);
    return names;
}

TEST_F(PosixFiles, ASaveKeepsTheFilesPermissionsAndANewFileFollowsTheUmask) {
    write("kept.pst", Bytes(3, 1));
    ASSERT_EQ(0, ::chmod(at("kept.pst").c_str(), 0600));
    // What an interrupted save of another file by that name left behind.
    const std::string left = temporaryPathFor(at("new.pst"), "/");
    ASSERT_EQ(0, std::system(("echo old > '" + left + "' && chmod 0400 '" + left + "'").c_str()));
    const mode_t before = ::umask(027);
    write("kept.pst", Bytes(4, 2));
    write("new.pst", Bytes(4, 2));
    ::umask(before);

    EXPECT_EQ("file " + std::to_string(0600), kindOf(at("kept.pst")));
    EXPECT_EQ("file " + std::to_string(0640), kindOf(at("new.pst")));
    EXPECT_EQ((std::vector<std::string>{"kept.pst", "new.pst"}), namesIn(dir));
}

TEST_F(PosixFiles, ASaveThroughASymbolicLinkReplacesTheFileItNamesAndKeepsTheLink) {
    ASSERT_EQ(0, ::mkdir(at("real").c_str(), 0700));
    write("real/presets.pst", Bytes(3, 1));
    ASSERT_EQ(0, ::symlink("real/presets.pst", at("relative.pst").c_str()));
    ASSERT_EQ(0, ::symlink(at("relative.pst").c_str(), at("chain.pst").c_str()));
    ASSERT_EQ(0, ::symlink("real/new.pst", at("dangling.pst").c_str()));

    write("chain.pst", Bytes(5, 2));
    write("dangling.pst", Bytes(6, 3));

    EXPECT_EQ("link", kindOf(at("chain.pst")));
    EXPECT_EQ("link", kindOf(at("relative.pst")));
    EXPECT_EQ("link", kindOf(at("dangling.pst")));
    Bytes bytes;
    ASSERT_TRUE(files.readFile(at("real/presets.pst"), 100, bytes));
    EXPECT_EQ(Bytes(5, 2), bytes);
    ASSERT_TRUE(files.readFile(at("real/new.pst"), 100, bytes));
    EXPECT_EQ(Bytes(6, 3), bytes);
    EXPECT_EQ((std::vector<std::string>{"new.pst", "presets.pst"}), namesIn(at("real")));
}

TEST_F(PosixFiles, EveryNameLengthUpTo255BytesCanBeSaved) {
    for (size_t length = 1; length <= 255; ++length) {
        const std::string name(length, 'n');
        ASSERT_TRUE(files.replaceFile(at(name), Bytes(length, 1))) << length;
        Bytes bytes;
        ASSERT_TRUE(files.readFile(at(name), 1000, bytes)) << length;
        ASSERT_EQ(length, bytes.size());
        ::unlink(at(name).c_str());
    }
    EXPECT_TRUE(namesIn(dir).empty());
}

// Saves killed at random moments: the file is always the old or the new one
// whole, and what they leave is one temporary file, which the next save
// takes over.
TEST_F(PosixFiles, SavesKilledAtAnyMomentLeaveTheOldOrTheNewFileAndOneTemporaryFileAtMost) {
    const Bytes a(40000, 0xAA), b(30000, 0xBB);
    write("t.pst", a);
    std::srand(14);
    for (int round = 0; round < 150; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) files.replaceFile(at("t.pst"), i % 2 ? a : b);
        }
        ::usleep(useconds_t(std::rand() % 3000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        Bytes bytes;
        ASSERT_TRUE(files.readFile(at("t.pst"), 100000, bytes)) << round;
        ASSERT_TRUE(bytes == a || bytes == b) << "round " << round << ": a file of " << bytes.size() << " bytes";
        ASSERT_LE(namesIn(dir).size(), 2u) << round;
    }
    write("t.pst", a);
    EXPECT_EQ(std::vector<std::string>{"t.pst"}, namesIn(dir));
}

// Two programs saving the same file at once take turns: every read sees one
// of their files whole.
TEST_F(PosixFiles, ConcurrentSavesOfOneFileNeverMix) {
    const Bytes a(60000, 0xAA), b(50000, 0xBB);
    write("t.pst", a);
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            bool ok = true;
            for (int i = 0; i < 150 && ok; ++i) ok = bool(files.replaceFile(at("t.pst"), c ? a : b));
            ::_exit(ok ? 0 : 1);
        }
    }
    int reads = 0, mixed = 0;
    for (int done = 0; done < 2;) {
        Bytes bytes;
        if (files.readFile(at("t.pst"), 100000, bytes) && !(bytes == a || bytes == b)) ++mixed;
        ++reads;
        int status;
        for (pid_t& child : children)
            if (child > 0 && ::waitpid(child, &status, WNOHANG) == child) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
                child = 0, ++done;
            }
    }
    EXPECT_EQ(0, mixed) << "of " << reads << " reads";
    EXPECT_EQ(std::vector<std::string>{"t.pst"}, namesIn(dir));
}

}  // namespace
}  // namespace zentra

#endif  // _WIN32
