// The language of the string tables both programs carry, chosen from the
// user's default language.
#pragma once

#include <cstdint>

namespace zentra {

// The languages of the tables.
constexpr uint16_t kTableEnglish = 0x0409;
constexpr uint16_t kTableGerman = 0x0407;
constexpr uint16_t kTableSpanish = 0x040A;
constexpr uint16_t kTableFrench = 0x040C;
constexpr uint16_t kTableItalian = 0x0410;
constexpr uint16_t kTableDutch = 0x0413;
constexpr uint16_t kTablePortuguese = 0x0816;

// Portuguese, Italian, French, Spanish, German and Dutch variants get their
// table (0x0816, 0x0410, 0x040C, 0x040A, 0x0407, 0x0413); anything else
// English (0x0409).
uint16_t chooseTableLanguage(uint16_t userLanguage);

}  // namespace zentra
