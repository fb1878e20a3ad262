// Preset files through the Win32 file API.
#include <windows.h>

#include "preset/file_system.h"

namespace zentra {

namespace {

std::string folderOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) return ".";
    if (cut == 0 || (cut == 2 && path[1] == ':')) return path.substr(0, cut + 1);
    return path.substr(0, cut);
}

// Puts the new file in place of the old one. A reader holds the old file
// only for the moment it takes to read it whole, so a clash with one is
// waited out for a short, bounded time before the save is given up.
bool moveIntoPlace(const char* temp, const char* path) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (MoveFileExA(temp, path, flags)) return true;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) return false;
        Sleep(25);
    }
    return false;
}

class Win32FileSystem : public FileSystem {
public:
    bool readFile(const std::string& path, std::vector<uint8_t>& bytes) override {
        // Shared for reading only: a writer that still has the file open
        // makes the read fail rather than see half a file.
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        LARGE_INTEGER size;
        bool ok = GetFileSizeEx(h, &size) && size.QuadPart < 0x7fffffff;
        if (ok) {
            bytes.resize(size_t(size.QuadPart));
            size_t done = 0;
            while (ok && done < bytes.size()) {
                DWORD got = 0;
                ok = ReadFile(h, bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr);
                if (ok && got == 0) {
                    bytes.resize(done);
                    break;
                }
                done += got;
            }
        }
        CloseHandle(h);
        return ok;
    }

    bool replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        char temp[MAX_PATH];
        if (!GetTempFileNameA(folderOf(path).c_str(), "znt", 0, temp)) return false;
        HANDLE h = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DeleteFileA(temp);
            return false;
        }
        DWORD put = 0;
        bool ok = bytes.empty() || (WriteFile(h, bytes.data(), DWORD(bytes.size()), &put, nullptr) &&
                                    put == bytes.size());
        ok = ok && FlushFileBuffers(h);
        ok = CloseHandle(h) && ok;
        ok = ok && moveIntoPlace(temp, path.c_str());
        if (!ok) DeleteFileA(temp);
        return ok;
    }
};

}  // namespace

FileSystem& platformFileSystem() {
    static Win32FileSystem files;
    return files;
}

}  // namespace zentra
