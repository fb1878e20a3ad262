// Runs the control panel's link discovery in a process of its own, so that a
// test can watch the message boxes and exit codes with which discovery ends
// the process that hosts it.
//
// usage: discovery_probe OSLEVEL WHEEL|none
// The DirectInput path is that of simulated wheel WHEEL; "none" makes the
// path unavailable. When discovery returns, the probe prints what it found
// and exits with 100.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/discovery.h"
#include "sim/sim_wheels.h"

namespace {

class FixedPath : public zentra::DevicePathSource {
public:
    explicit FixedPath(const wchar_t* path) : path_(path) {}
    bool devicePath(std::wstring& path) override {
        if (!path_) return false;
        path = path_;
        return true;
    }

private:
    const wchar_t* path_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: discovery_probe OSLEVEL WHEEL|none\n");
        return 2;
    }
    const int osLevel = std::atoi(argv[1]);
    const bool none = std::strcmp(argv[2], "none") == 0;
    const std::wstring path = none ? std::wstring() : zentra::sim::simHidPath(std::atoi(argv[2]));
    FixedPath source(none ? nullptr : path.c_str());
    zentra::Registry registry(zentra::platformRegistryStore(), zentra::Deliverable::Panel);
    zentra::DiscoveryContext ctx{registry, zentra::platformDeviceIo(), zentra::platformProcessHost(), source};
    zentra::DeviceLink link{};
    zentra::openDeviceLink(link, osLevel, ctx);
    std::printf("link=%d number=%d emulation=%u\n", link.linkHandle != 0 ? 1 : 0, int(link.deviceNumber),
                unsigned(link.isEmulationDevice));
    std::fflush(stdout);
    return 100;
}
