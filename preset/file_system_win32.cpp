// Preset files through the Win32 file API.
#include <windows.h>

#include "preset/file_system.h"

namespace zentra {

namespace {

// The system's words for an error code, without the line end.
FileResult systemError(DWORD code = GetLastError()) {
    char text[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ' || text[n - 1] == '.')) --n;
    if (n == 0) return FileResult::failed("system error " + std::to_string(code));
    return FileResult::failed(std::string(text, n));
}

// Puts the new file in place of the old one. A reader holds the old file
// only for the moment it takes to read it whole, so a clash with one is
// waited out for a short, bounded time before the save is given up.
FileResult moveIntoPlace(const char* temp, const char* path) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    DWORD error = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (MoveFileExA(temp, path, flags)) return FileResult();
        error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) break;
        Sleep(25);
    }
    return systemError(error);
}

class Win32FileSystem : public FileSystem {
public:
    FileResult readFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& bytes) override {
        // Shared for reading only: a writer that still has the file open
        // makes the read fail rather than see half a file.
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) return systemError();
        // Devices and pipes open too ("NUL", pipes under \\.\pipe): only disk files are read.
        LARGE_INTEGER size;
        FileResult result;
        if (GetFileType(h) != FILE_TYPE_DISK)
            result = FileResult::notAFile();
        else if (!GetFileSizeEx(h, &size))
            result = systemError();
        else if (uint64_t(size.QuadPart) > maxSize)
            result = FileResult::tooLarge(maxSize);
        if (result) {
            bytes.resize(size_t(size.QuadPart));
            size_t done = 0;
            while (done < bytes.size()) {
                DWORD got = 0;
                if (!ReadFile(h, bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr)) {
                    result = systemError();
                    break;
                }
                if (got == 0) {
                    bytes.resize(done);  // the file shrank while it was read
                    break;
                }
                done += got;
            }
        }
        CloseHandle(h);
        return result;
    }

    // The temporary file is held without sharing, apart from the deletion
    // that putting it in place is, until it is in place: a second save of the
    // same file waits for it (briefly, as for a reader), and one left by an
    // interrupted save is taken over.
    FileResult replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        const std::string temp = temporaryPathFor(path, "\\/:");
        HANDLE h = INVALID_HANDLE_VALUE;
        DWORD error = 0;
        for (int attempt = 0; attempt < 10 && h == INVALID_HANDLE_VALUE; ++attempt) {
            h = CreateFileA(temp.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
            error = GetLastError();
            if (h == INVALID_HANDLE_VALUE && error != ERROR_SHARING_VIOLATION) break;
            if (h == INVALID_HANDLE_VALUE) Sleep(25);
        }
        if (h == INVALID_HANDLE_VALUE) return systemError(error);
        DWORD put = 0;
        FileResult result;
        if (!bytes.empty() && !WriteFile(h, bytes.data(), DWORD(bytes.size()), &put, nullptr))
            result = systemError();
        else if (put != bytes.size())
            result = systemError(ERROR_DISK_FULL);
        else if (!FlushFileBuffers(h))
            result = systemError();
        if (result) result = moveIntoPlace(temp.c_str(), path.c_str());
        if (!result) DeleteFileA(temp.c_str());  // gone when the handle closes
        CloseHandle(h);
        return result;
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static Win32FileSystem files;
    return files;
}

}  // namespace zentra
