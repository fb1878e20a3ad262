// Preset files on POSIX systems (the preset tool and the native tests).
#include <fcntl.h>
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
        std::string temp = path + ".XXXXXX";
        const int fd = ::mkstemp(&temp[0]);
        if (fd < 0) return systemError();
        FileResult result;
        if (::fchmod(fd, 0644) != 0) result = systemError();
        size_t done = 0;
        while (result && done < bytes.size()) {
            const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) result = systemError();
            if (put > 0) done += size_t(put);
        }
        if (result && ::fsync(fd) != 0) result = systemError();
        if (::close(fd) != 0 && result) result = systemError();
        if (result && ::rename(temp.c_str(), path.c_str()) != 0) result = systemError();
        if (!result) ::unlink(temp.c_str());
        return result;
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static PosixFileSystem files;
    return files;
}

}  // namespace zentra
