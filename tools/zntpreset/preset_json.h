// A preset table as JSON: {"presets": [ {...}, ... ]}, one object per preset
// whose keys are the record's field names. Only what a preset file stores is
// exported (not keepValue, selected or key codes 33..40).
#pragma once

#include <cstddef>
#include <string>

#include <nlohmann/json.hpp>

#include "preset/preset.h"

namespace zentra {

// The largest JSON input the tool reads: many times the export of a full
// table with the longest names, which is about 4 MB.
constexpr size_t kMaxPresetJsonSize = size_t(16) << 20;

nlohmann::ordered_json presetTableToJson(const PresetTable& table);

// Fills `table` from JSON text. A field missing from an object takes the
// control panel's default. False, with a message naming the preset and the
// field, for malformed JSON, more than 255 presets, a value outside what the
// file can store, or a name or path longer than 254 bytes; also for nesting
// deeper than a table's, a key twice in one object and anything after the
// document. Messages quote at most a short excerpt of a value.
bool presetTableFromJson(const std::string& text, PresetTable& table, std::string& error);

}  // namespace zentra
