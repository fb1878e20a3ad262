#include "preset/table_language.h"

namespace zentra {

namespace {

constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kDutch = 0x0413;
constexpr uint16_t kFrench = 0x040C;
constexpr uint16_t kGerman = 0x0407;
constexpr uint16_t kSpanish = 0x040A;
constexpr uint16_t kItalian = 0x0410;
constexpr uint16_t kPortuguese = 0x0816;

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
    if (isPortuguese(userLanguage)) return kPortuguese;
    if (hasSublanguage(userLanguage, 0x10, 1, 5)) return kItalian;
    if (hasSublanguage(userLanguage, 0x0C, 1, 5)) return kFrench;
    if (hasSublanguage(userLanguage, 0x0A, 1, 20)) return kSpanish;
    if (hasSublanguage(userLanguage, 0x07, 1, 5)) return kGerman;
    if (hasSublanguage(userLanguage, 0x13, 1, 2)) return kDutch;
    return kEnglish;
}

}  // namespace zentra
