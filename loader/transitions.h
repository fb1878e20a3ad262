// The loader's preset transitions, carried out on the main window's thread:
// a game started (its preset goes to the wheel), a game ended (the default
// preset goes back), and re-reading the preset file.
#pragma once

#include "driver/upload.h"
#include "loader/watcher.h"
#include "preset/file_system.h"
#include "preset/registry.h"

namespace zentra {

// Debug lines ("HandlingDetectedProcess \n" ...), OutputDebugStringA on Windows.
using DebugLine = void (*)(const char* text);

// What the transitions work on: the loader's registry, files, wheel link,
// shared preset table and current preset.
struct LoaderContext {
    Registry& registry;
    DeviceIo& io;
    FileSystem& files;
    SharedPresets& presets;
    Preset& currentPreset;
    LoaderWheel& wheel;
    DebugLine debug;
};

// Loads the table from the file named by "TemporaryFile". 0 on success, -1
// when the value is missing or the file cannot be read.
int reloadPresetFile(LoaderContext& ctx);

// Loads the table at creation. When that fails, the built-in default preset
// becomes current and the table's one entry. 0 when the file was loaded.
int loadTableOrDefault(LoaderContext& ctx);

// A game with preset `index` started: "LastIndice" and "Game Launch" are
// written, the preset becomes current and goes to the wheel when the
// emulation link opens. An index outside the table (a manual Start with no
// preset to choose) does nothing. Returns whether the preset was taken.
bool handleGameStart(LoaderContext& ctx, int index);

// The game of a watcher's start announcement started: as handleGameStart
// with its preset's index in the table held now, which a reload may have
// replaced since the scan. Does nothing when that table has no preset for
// the game.
bool handleAnnouncedStart(LoaderContext& ctx, const Announcement& start);

// The game ended: "Game Launch" 0; the table is read again and its default
// preset (or the built-in default when it has none) becomes current; when
// the file cannot be read the current preset stays. It goes to the wheel
// when the emulation link opens.
void handleGameEnd(LoaderContext& ctx);

}  // namespace zentra
