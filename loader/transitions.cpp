#include "loader/transitions.h"

#include "driver/discovery.h"

namespace zentra {

namespace {

void debugLine(LoaderContext& ctx, const char* text) {
    if (ctx.debug) ctx.debug(text);
}

void uploadCurrent(LoaderContext& ctx) {
    if (openEmulationLink(ctx.wheel, ctx.registry, ctx.io)) uploadGamePreset(ctx.wheel, ctx.currentPreset, ctx.io);
}

}  // namespace

int reloadPresetFile(LoaderContext& ctx) {
    const char* path = ctx.registry.readRegString(kPanelKey, kTemporaryFileValue);
    if (!path) return -1;
    const std::string copy = path;  // the reader's buffer is shared
    return ctx.presets.load(copy.c_str(), ctx.files);
}

bool handleGameStart(LoaderContext& ctx, int index) {
    const bool taken = ctx.presets.withTable([&](PresetTable& table) {
        if (index < 0 || index >= table.presetCount) return false;
        copyPresetFull(ctx.currentPreset, table.presets[index]);
        return true;
    });
    if (!taken) return false;
    debugLine(ctx, "HandlingDetectedProcess \n");
    ctx.registry.writeRegDword(uint32_t(index), kPanelKey, kLastIndexValue);
    ctx.registry.writeRegDword(1, kPanelKey, kGameLaunchValue);
    uploadCurrent(ctx);
    return true;
}

void handleGameEnd(LoaderContext& ctx) {
    debugLine(ctx, "HandlingKilledProcess \n");
    ctx.registry.writeRegDword(0, kPanelKey, kGameLaunchValue);
    if (reloadPresetFile(ctx) == 0) {
        ctx.presets.withTable([&](PresetTable& table) {
            const int found = findDefaultPreset(table);
            if (found >= 0)
                copyPresetFull(ctx.currentPreset, table.presets[found]);
            else
                resetPreset(ctx.currentPreset, Deliverable::Loader);
            return 0;
        });
    }
    uploadCurrent(ctx);
}

}  // namespace zentra
