// Whole-file access for preset files: the seam between the preset file code
// and the platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zentra {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Reads the whole file, opened shared for reading. False when the file
    // cannot be opened or read; `bytes` is then unspecified.
    virtual bool readFile(const std::string& path, std::vector<uint8_t>& bytes) = 0;

    // Writes `bytes` into a new file beside `path` and then puts it in place
    // of `path` in one step, so that a reader sees either the old file or the
    // new one, never a part of either. On failure `path` is left as it was and
    // the new file is removed.
    virtual bool replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
};

// The platform's own files (Win32 on Windows, POSIX elsewhere).
FileSystem& platformFileSystem();

}  // namespace zentra
