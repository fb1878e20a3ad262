// The control panel's text lookup without a window: which of the seven
// string tables a user language gets, and where a string sits in one block
// of a string table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "preset/table_language.h"

namespace zentra {

// Languages of the plug-in's string tables. Dutch is chosen as 0x0413 and
// stored with the neutral sub-language, 0x0013.
// They are the loader's seven.
constexpr uint16_t kUiEnglish = kTableEnglish;
constexpr uint16_t kUiGerman = kTableGerman;
constexpr uint16_t kUiSpanish = kTableSpanish;
constexpr uint16_t kUiFrench = kTableFrench;
constexpr uint16_t kUiItalian = kTableItalian;
constexpr uint16_t kUiDutch = kTableDutch;
constexpr uint16_t kUiPortuguese = kTablePortuguese;
constexpr uint16_t kDutchTable = 0x0013;

// The table language for the user's default language; English for any
// language without a table of its own.
uint16_t chooseUiLanguage(uint16_t userLanguage);

// A string-table block holds the 16 strings with ids 16 * (n - 1) to
// 16 * n - 1 of block n, each a 16-bit length followed by that many UTF-16
// units; an empty string is a single zero.
inline int stringBlockOf(int id) { return id / 16 + 1; }

struct BlockString {
    const uint16_t* text;  // the UTF-16 units, not terminated
    size_t length;         // at least 1
};

// String `id` in `block` (`words` 16-bit units, the block of
// stringBlockOf(id)). False when the string is empty, is not in the block,
// or runs past its end.
bool findStringInBlock(const uint16_t* block, size_t words, int id, BlockString& found);

}  // namespace zentra
