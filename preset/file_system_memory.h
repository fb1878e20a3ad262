// An in-memory FileSystem for tests: files are byte vectors by path, and
// each call is counted.
#pragma once

#include <map>

#include "preset/file_system.h"

namespace zentra {

class MemoryFileSystem : public FileSystem {
public:
    bool readFile(const std::string& path, std::vector<uint8_t>& bytes) override {
        ++reads;
        auto it = files.find(path);
        if (it == files.end() || unreadable.count(path)) return false;
        bytes = it->second;
        return true;
    }
    bool replaceFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        ++writes;
        if (unwritable.count(path)) return false;
        files[path] = bytes;
        return true;
    }

    std::map<std::string, std::vector<uint8_t>> files;
    std::map<std::string, bool> unreadable;  // present but cannot be opened
    std::map<std::string, bool> unwritable;  // replacing fails
    int reads = 0;
    int writes = 0;
};

}  // namespace zentra
