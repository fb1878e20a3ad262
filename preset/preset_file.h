// The ".pst" preset file: signature "PRS_JOYS" followed by the sections VERS,
// CONF, DATA, STRI, MISC and MOUS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "preset/file_system.h"
#include "preset/preset.h"

namespace zentra {

using OwnerWindow = void*;

// Sizes of the fixed parts of the format.
constexpr size_t kSignatureSize = 8;
constexpr size_t kDataRecordSize = 1394;
constexpr size_t kMiscRecordSize = 30;
constexpr size_t kMousRecordSize = 34;
constexpr size_t kEmptyPresetFileSize = 37;
// The largest file the writer makes: 255 presets, each with a name and a path
// of 254 bytes and their two length bytes. The reader refuses larger files.
constexpr size_t kMaxPresetFileSize =
    59 + size_t(kMaxPresets) * (kDataRecordSize + kMiscRecordSize + kMousRecordSize + 2 + 2 * kMaxTextLength);

// Tells the user that a file is not a preset file. The control panel shows
// its localized message box; the tray loader passes no notice and refuses
// silently.
class PresetFileNotice {
public:
    virtual ~PresetFileNotice() = default;
    virtual void notPresetFile(OwnerWindow owner) = 0;
};

// The bytes of the file for the table's first presetCount presets. A table
// without presets gives the 37-byte file that ends after the DATA length.
std::vector<uint8_t> encodePresetFile(const PresetTable& table);

// Reads a file's bytes into the table. Returns false, changing nothing, when
// the signature is missing, or when a section that is there holds fewer
// bytes than the stored count's records need (a file cut short). Otherwise
// every section that is found is read for the stored count; a section that
// is not found at all leaves its fields as they were. Each section is
// looked for first where the writer puts it and only then by a scan from
// the start of the file.
//
// Damaged files: a count above 255 loads the first 255 presets; a name or
// path longer than 254 bytes keeps its first 254. Nothing is read or written
// outside the bytes and the table.
bool decodePresetFile(const uint8_t* data, size_t size, PresetTable& table);

// Loads the file at `path`. Returns 0 on success, -1 when the file cannot be
// opened or is not a regular file (nothing shown), or is not a preset file:
// no signature, a section cut short, or larger than kMaxPresetFileSize
// (`notice` told, when given). `outcome`, when given, receives the file
// system's result.
int loadPresetFile(OwnerWindow owner, const char* path, PresetTable& table, FileSystem& files,
                   PresetFileNotice* notice, FileResult* outcome = nullptr);

// Saves the table to `path` through a new file that replaces the old one.
// Returns 1 on success, 0 when nothing could be written (the old file stays;
// `outcome`, when given, says why).
int savePresetFile(OwnerWindow owner, const char* path, const PresetTable& table, FileSystem& files,
                   FileResult* outcome = nullptr);

}  // namespace zentra
