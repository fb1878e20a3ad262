#include "cpl/frame/localized_text.h"

namespace zentra {

namespace {

// A language id is the primary language in bits 0..9 and the sub-language
// above them.
constexpr uint16_t languageId(unsigned primary, unsigned sublanguage) {
    return uint16_t(sublanguage << 10 | primary);
}

bool hasSublanguage(uint16_t language, unsigned primary, unsigned first, unsigned last) {
    for (unsigned sub = first; sub <= last; ++sub)
        if (language == languageId(primary, sub)) return true;
    return false;
}

// Portuguese is listed as 0x0116 to 0x0816 in steps of 0x100 (the
// sub-language number shifted by one byte): Brazil 0x0416 and Portugal
// 0x0816 are among them, Portuguese sub-languages above 2 are not.
bool isListedPortuguese(uint16_t language) {
    for (unsigned step = 1; step <= 8; ++step)
        if (language == uint16_t(step << 8 | 0x16)) return true;
    return false;
}

}  // namespace

uint16_t chooseUiLanguage(uint16_t userLanguage) {
    if (hasSublanguage(userLanguage, 0x13, 1, 2)) return kUiDutch;
    if (hasSublanguage(userLanguage, 0x07, 1, 5)) return kUiGerman;
    if (hasSublanguage(userLanguage, 0x0A, 1, 20)) return kUiSpanish;
    if (hasSublanguage(userLanguage, 0x0C, 1, 5)) return kUiFrench;
    if (hasSublanguage(userLanguage, 0x10, 1, 5)) return kUiItalian;
    if (isListedPortuguese(userLanguage)) return kUiPortuguese;
    // English in every form, and every language without a table.
    return kUiEnglish;
}

bool findStringInBlock(const uint16_t* block, size_t words, int id, BlockString& found) {
    if (!block || id < 0 || id > 0xFFFF) return false;
    const int blockEnd = stringBlockOf(id) * 16;
    // Leading empty strings are single zero words; the first one with text
    // gives the id from which the walk starts.
    size_t position = 0;
    int current = id & ~15;
    while (current < blockEnd && position < words && block[position] == 0) {
        ++position;
        ++current;
    }
    if (current >= blockEnd || position >= words || current > id) return false;
    while (current != id) {
        position += size_t(block[position]) + 1;
        ++current;
        if (current >= blockEnd || position >= words) return false;
    }
    const size_t length = block[position];
    if (length == 0 || position + 1 + length > words) return false;
    found.text = block + position + 1;
    found.length = length;
    return true;
}

}  // namespace zentra
