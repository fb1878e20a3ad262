// The control panel's text lookup without a window: which of the seven
// string tables a user language gets, and where a string sits in one block
// of a string table.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zentra {

// Languages of the plug-in's string tables. Dutch is chosen as 0x0413 and
// stored with the neutral sub-language, 0x0013.
constexpr uint16_t kUiEnglish = 0x0409;
constexpr uint16_t kUiGerman = 0x0407;
constexpr uint16_t kUiSpanish = 0x040A;
constexpr uint16_t kUiFrench = 0x040C;
constexpr uint16_t kUiItalian = 0x0410;
constexpr uint16_t kUiDutch = 0x0413;
constexpr uint16_t kUiPortuguese = 0x0816;
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
