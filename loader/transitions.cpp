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

int loadTableOrDefault(LoaderContext& ctx) {
    if (reloadPresetFile(ctx) == 0) return 0;
    resetPreset(ctx.currentPreset, Deliverable::Loader);
    ctx.presets.change([&](PresetTable& table) {
        copyPresetFull(table.presets[0], ctx.currentPreset);
        table.presetCount = 1;
    });
    return -1;
}

namespace {

// Copies preset `index` of `table` into the current preset; false when the
// table has no such preset.
bool takePreset(LoaderContext& ctx, const PresetTable& table, int index) {
    if (index < 0 || index >= table.presetCount) return false;
    copyPresetFull(ctx.currentPreset, table.presets[index]);
    return true;
}

// The start's steps once preset `index` is current.
void startTaken(LoaderContext& ctx, int index) {
    debugLine(ctx, "HandlingDetectedProcess \n");
    ctx.registry.writeRegDword(uint32_t(index), kPanelKey, kLastIndexValue);
    ctx.registry.writeRegDword(1, kPanelKey, kGameLaunchValue);
    uploadCurrent(ctx);
}

}  // namespace

bool handleGameStart(LoaderContext& ctx, int index) {
    if (!ctx.presets.withTable([&](const PresetTable& table) { return takePreset(ctx, table, index); }))
        return false;
    startTaken(ctx, index);
    return true;
}

bool handleAnnouncedStart(LoaderContext& ctx, const Announcement& start) {
    int index = -1;
    if (!ctx.presets.withAnnouncedPreset(start, [&](const PresetTable& table, int found) {
            index = found;
            return takePreset(ctx, table, found);
        }))
        return false;
    startTaken(ctx, index);
    return true;
}

void handleGameEnd(LoaderContext& ctx) {
    debugLine(ctx, "HandlingKilledProcess \n");
    ctx.registry.writeRegDword(0, kPanelKey, kGameLaunchValue);
    if (reloadPresetFile(ctx) == 0) {
        ctx.presets.withTable([&](const PresetTable& table) {
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
