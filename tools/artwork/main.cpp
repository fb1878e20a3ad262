// artwork OUTDIR: draws every picture of the programs' resources into OUTDIR.
// Run on the build machine during the Windows build.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "artwork.h"

namespace {

struct Output {
    const char* what;
    bool (*write)(const std::string& dir);
};

const Output kOutputs[] = {
    {"tray loader icons", artwork::writeLoaderIcons},
    {"control panel skin", artwork::writeCplSkin},
    {"button and axis page background", artwork::writeCplConfigPage},
    {"presets page background", artwork::writeCplPresetsPage},
    {"test page background", artwork::writeCplTestPage},
    {"pattern tile", artwork::writeCplPatternTile},
    {"D-pad pad and mouse buttons", artwork::writeCplSlotPages},
    {"About box", artwork::writeCplAboutBox},
    {"About box link button", artwork::writeCplAboutLink},
    {"page icon", artwork::writeCplPageIcon},
    {"marker icon", artwork::writeCplMarkerIcon},
    {"anchor cursor", artwork::writeCplAnchorCursor},
    {"wheel video", artwork::writeWheelVideo},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "artwork: cannot create %s: %s\n", dir.c_str(), error.message().c_str());
        return 1;
    }
    for (const Output& output : kOutputs) {
        if (!output.write(dir)) {
            std::fprintf(stderr, "artwork: the %s were not written\n", output.what);
            return 1;
        }
    }
    return 0;
}
