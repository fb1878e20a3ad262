// Preset files on POSIX systems (the preset tool and the native tests).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "preset/file_system.h"

namespace zentra {

namespace {

FileResult systemError() { return FileResult::failed(std::strerror(errno)); }

class PosixFileSystem : public FileSystem {
public:
    FileResult readFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& bytes) override {
        // Not blocking: opening a pipe without a writer would wait for one.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) return systemError();
        struct stat st;
        FileResult result;
        if (::fstat(fd, &st) != 0)
            result = systemError();
        else if (!S_ISREG(st.st_mode))
            result = FileResult::notAFile();
        else if (uint64_t(st.st_size) > maxSize)
            result = FileResult::tooLarge(maxSize);
        if (result) {
            bytes.resize(size_t(st.st_size));
            size_t done = 0;
            while (done < bytes.size()) {
                const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
                if (got < 0 && errno == EINTR) continue;
                if (got < 0) {
                    result = systemError();
                    break;
                }
                if (got == 0) {
                    bytes.resize(done);  // the file shrank while it was read
                    break;
                }
                done += size_t(got);
            }
        }
        ::close(fd);
        return result;
    }

    FileResult replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        std::string target;
        FileResult result = followLinks(path, target);
        if (!result) return result;
        // A file its owner made read-only stays, as it would on Windows.
        struct stat old;
        const bool replacing = ::stat(target.c_str(), &old) == 0;
        if (replacing && S_ISREG(old.st_mode) && ::access(target.c_str(), W_OK) != 0) return systemError();
        const std::string temp = temporaryPathFor(target, "/");
        int fd = -1;
        result = takeTemporary(temp, fd);
        if (!result) return result;

        if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0) result = systemError();
        size_t done = 0;
        while (result && done < bytes.size()) {
            const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) result = systemError();
            if (put > 0) done += size_t(put);
        }
        if (result && ::fsync(fd) != 0) result = systemError();
        if (result && ::rename(temp.c_str(), target.c_str()) != 0) result = systemError();
        if (!result) ::unlink(temp.c_str());  // still ours: the lock is held
        ::close(fd);
        return result;
    }

private:
    // The file that `path` names once symbolic links in its last part are
    // followed; a link to nothing names the file it would point to.
    static FileResult followLinks(const std::string& path, std::string& target) {
        target = path;
        for (int hops = 0; hops < 40; ++hops) {
            struct stat st;
            if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return FileResult();
            char link[4096];
            const ssize_t n = ::readlink(target.c_str(), link, sizeof link);
            if (n < 0) return systemError();
            if (size_t(n) == sizeof link) return FileResult::failed(std::strerror(ENAMETOOLONG));
            const size_t cut = target.rfind('/');
            if (link[0] == '/' || cut == std::string::npos)
                target.assign(link, size_t(n));
            else
                target = target.substr(0, cut + 1) + std::string(link, size_t(n));
        }
        return FileResult::failed(std::strerror(ELOOP));
    }

    // Opens the temporary file, created new, and holds a lock on it until it
    // is closed. Saves of the same file take turns through that lock: a save
    // that finds the file writes only once it holds the lock and the name
    // still leads to the file it locked. One that is there and not being
    // written was left by an interrupted save and is replaced by a new one,
    // which gets the default permissions.
    static FileResult takeTemporary(const std::string& temp, int& fd) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            const bool created = fd >= 0;
            if (!created) {
                if (errno != EEXIST) return systemError();
                // Only to lock it: a file left read-only opens too.
                fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
                if (fd < 0 && errno == ENOENT) continue;  // renamed by the save that held it
                if (fd < 0) return systemError();
            }
            struct stat opened, named;
            if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &opened) != 0) {
                const FileResult result = systemError();
                ::close(fd);
                return result;
            }
            const bool same = ::lstat(temp.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
                              named.st_ino == opened.st_ino;
            if (same && created) return FileResult();
            if (same && !S_ISREG(opened.st_mode)) {
                ::close(fd);
                return FileResult::failed(temp + " is in the way and not a regular file");
            }
            if (same) ::unlink(temp.c_str());
            ::close(fd);
        }
        return FileResult::failed("other saves of the file kept its temporary file busy");
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static PosixFileSystem files;
    return files;
}

}  // namespace zentra
