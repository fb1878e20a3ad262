// An in-memory FileSystem for tests: files are byte vectors by path, and
// each call is counted.
#pragma once

#include <map>

#include "preset/file_system.h"

namespace zentra {

class MemoryFileSystem : public FileSystem {
public:
    FileResult readFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& bytes) override {
        ++reads;
        auto it = files.find(path);
        if (it == files.end()) return FileResult::failed("No such file");
        if (unreadable.count(path)) return FileResult::failed("Permission denied");
        if (it->second.size() > maxSize) return FileResult::tooLarge(maxSize);
        bytes = it->second;
        return FileResult();
    }
    FileResult replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        ++writes;
        if (unwritable.count(path)) return FileResult::failed("Read-only file system");
        files[path] = bytes;
        return FileResult();
    }

    std::map<std::string, std::vector<uint8_t>> files;
    std::map<std::string, bool> unreadable;  // present but cannot be opened
    std::map<std::string, bool> unwritable;  // replacing fails
    int reads = 0;
    int writes = 0;
};

}  // namespace zentra
