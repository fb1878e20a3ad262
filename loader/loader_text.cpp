#include "loader/loader_text.h"

#include "preset/table_language.h"

namespace zentra {

uint16_t chooseLoaderLanguage(uint16_t userLanguage) { return chooseTableLanguage(userLanguage); }

uint16_t loaderMenuId(uint16_t language) {
    switch (language) {
    case kTableDutch: return 237;
    case kTableFrench: return 238;
    case kTableGerman: return 239;
    case kTableSpanish: return 240;
    case kTableItalian: return 241;
    case kTablePortuguese: return 242;
    default: return 232;  // English, and any language without a menu of its own
    }
}

}  // namespace zentra
