// Preset files on POSIX systems (the preset tool and the native tests).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "preset/file_system.h"

namespace zentra {

namespace {

class PosixFileSystem : public FileSystem {
public:
    bool readFile(const std::string& path, std::vector<uint8_t>& bytes) override {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat st;
        bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        if (ok) {
            bytes.resize(size_t(st.st_size));
            size_t done = 0;
            while (ok && done < bytes.size()) {
                const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
                if (got < 0 && errno == EINTR) continue;
                if (got <= 0) {
                    bytes.resize(done);  // the file shrank while it was read
                    break;
                }
                done += size_t(got);
            }
        }
        ::close(fd);
        return ok;
    }

    bool replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        std::string temp = path + ".XXXXXX";
        const int fd = ::mkstemp(&temp[0]);
        if (fd < 0) return false;
        bool ok = ::fchmod(fd, 0644) == 0;
        size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (put < 0 && errno == EINTR) continue;
            ok = put > 0;
            if (ok) done += size_t(put);
        }
        ok = ok && ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
        ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
        if (!ok) ::unlink(temp.c_str());
        return ok;
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static PosixFileSystem files;
    return files;
}

}  // namespace zentra
