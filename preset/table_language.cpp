#include "preset/table_language.h"

namespace zentra {

namespace {

// A language id is the primary language in bits 0..9 and the sublanguage
// above them.
constexpr uint16_t languageId(unsigned primary, unsigned sublanguage) {
    return uint16_t(sublanguage << 10 | primary);
}

bool hasSublanguage(uint16_t language, unsigned primary, unsigned first, unsigned last) {
    for (unsigned sub = first; sub <= last; ++sub)
        if (language == languageId(primary, sub)) return true;
    return false;
}

bool isPortuguese(uint16_t language) {
    // Sublanguages 1 to 8, and also 0x0116 to 0x0816 in steps of 0x100 (the
    // sublanguage number shifted by one byte), the form the programs' language
    // lists have always used. Brazil 0x0416 and Portugal 0x0816 are in both.
    for (unsigned sub = 1; sub <= 8; ++sub)
        if (language == languageId(0x16, sub) || language == uint16_t(sub << 8 | 0x16)) return true;
    return false;
}

}  // namespace

uint16_t chooseTableLanguage(uint16_t userLanguage) {
    if (isPortuguese(userLanguage)) return kTablePortuguese;
    if (hasSublanguage(userLanguage, 0x10, 1, 5)) return kTableItalian;
    if (hasSublanguage(userLanguage, 0x0C, 1, 5)) return kTableFrench;
    if (hasSublanguage(userLanguage, 0x0A, 1, 20)) return kTableSpanish;
    if (hasSublanguage(userLanguage, 0x07, 1, 5)) return kTableGerman;
    if (hasSublanguage(userLanguage, 0x13, 1, 2)) return kTableDutch;
    return kTableEnglish;
}

}  // namespace zentra
