// The POSIX file system under what a user's disk can hold: devices, pipes,
// folders, huge files, and saves that fail for the system's reasons.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
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
    EXPECT_EQ(0, std::system(("test \"$(ls -A '" + dir + "')\" = \"$(printf 'folder\\nlocked')\"").c_str()))
        << "something was left in the folder";
}

}  // namespace
}  // namespace zentra

#endif  // _WIN32
