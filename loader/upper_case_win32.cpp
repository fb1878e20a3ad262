#include <windows.h>

#include "loader/watcher.h"

namespace zentra {

namespace {

// CharUpperBuffA converts through the ANSI code page, the one in which the
// process snapshot names its executables and the preset file keeps its
// paths, and upper-cases as the system's locale does.
class SystemUpperCase : public UpperCase {
public:
    std::string upper(const std::string& text) const override {
        std::string out = text;
        if (out.empty()) return out;
        // In place; a multi-byte code page may come out shorter.
        const DWORD length = CharUpperBuffA(&out[0], DWORD(out.size()));
        if (length > 0 && length < out.size()) out.resize(length);
        return out;
    }
};

}  // namespace

const UpperCase& systemUpperCase() {
    static const SystemUpperCase system;
    return system;
}

}  // namespace zentra
