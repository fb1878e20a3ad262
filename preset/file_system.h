// Whole-file access for preset files: the seam between the preset file code
// and the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zentra {

// How a file operation ended and, when it failed, why, in words for a
// message: the system's own ("No space left on device", "Is a directory")
// or one of the refusals below.
struct FileResult {
    enum Status {
        Done,
        Failed,    // the system refused; `reason` holds its words
        NotAFile,  // a folder, device, pipe or socket, refused before reading
        TooLarge,  // larger than the reader's limit, refused before reading
    };
    Status status = Done;
    std::string reason;

    explicit operator bool() const { return status == Done; }

    static FileResult failed(std::string reason) { return {Failed, std::move(reason)}; }
    static FileResult notAFile() { return {NotAFile, "not a regular file"}; }
    static FileResult tooLarge(size_t maxSize) {
        return {TooLarge, "larger than " + std::to_string(maxSize) + " bytes"};
    }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Reads the whole file, opened shared for reading. What is not a regular
    // file, and a file larger than `maxSize` bytes, is refused before any of
    // it is read. On failure `bytes` is unspecified.
    virtual FileResult readFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& bytes) = 0;

    // Writes `bytes` into the temporary file of `path` (temporaryPathFor) and
    // then puts it in place of `path` in one step, so that a reader sees
    // either the old file or the new one, never a part of either, even when
    // the writer is killed at any moment. The next save takes over a
    // temporary file that an interrupted one left. An existing file keeps
    // its permissions (a new one gets the default ones) and a link to the
    // file stays, the file it names is replaced. On failure `path` is left as
    // it was and the temporary file is removed.
    virtual FileResult replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
};

// The platform's own files (Win32 on Windows, POSIX elsewhere).
FileSystem& platformFileSystem();

// The one temporary file that saves of `path` write: in the same folder,
// named by the start of the file's name, a hash of the whole name and
// ".tmp". It is never longer than the name when that has at least
// kTemporaryNameSize bytes (shorter names get a kTemporaryNameSize-byte
// one), so every name that can be saved has a temporary name that can be.
// `separators` are the characters that end a folder in a path.
constexpr size_t kTemporaryNameSize = 13;  // "~" 8 hex digits ".tmp"
std::string temporaryPathFor(const std::string& path, const char* separators);

}  // namespace zentra
