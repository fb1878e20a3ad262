#include "loader/loader_text.h"

#include "preset/table_language.h"

namespace zentra {

namespace {

constexpr uint16_t kDutch = 0x0413;
constexpr uint16_t kFrench = 0x040C;
constexpr uint16_t kGerman = 0x0407;
constexpr uint16_t kSpanish = 0x040A;
constexpr uint16_t kItalian = 0x0410;
constexpr uint16_t kPortuguese = 0x0816;

}  // namespace

uint16_t chooseLoaderLanguage(uint16_t userLanguage) { return chooseTableLanguage(userLanguage); }

uint16_t loaderMenuId(uint16_t language) {
    switch (language) {
    case kDutch: return 237;
    case kFrench: return 238;
    case kGerman: return 239;
    case kSpanish: return 240;
    case kItalian: return 241;
    case kPortuguese: return 242;
    default: return 232;  // English, and any language without a menu of its own
    }
}

}  // namespace zentra
