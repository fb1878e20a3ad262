#include "preset/file_system.h"

#include <cstdio>

namespace zentra {

std::string temporaryPathFor(const std::string& path, const char* separators) {
    const size_t cut = path.find_last_of(separators);
    const size_t nameAt = cut == std::string::npos ? 0 : cut + 1;
    const std::string name = path.substr(nameAt);

    uint32_t hash = 2166136261u;  // FNV-1a over the whole name
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    char marker[kTemporaryNameSize + 1];
    std::snprintf(marker, sizeof marker, "~%08x.tmp", unsigned(hash));

    // The start of the name, for a person who finds the file. Bytes above
    // 0x7F are dropped where it is cut, so that no character of a multi-byte
    // encoding is split.
    size_t keep = name.size() > kTemporaryNameSize ? name.size() - kTemporaryNameSize : 0;
    while (keep > 0 && static_cast<unsigned char>(name[keep - 1]) > 0x7F) --keep;
    return path.substr(0, nameAt) + name.substr(0, keep) + marker;
}

}  // namespace zentra
