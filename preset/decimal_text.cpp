#include "preset/decimal_text.h"

namespace zentra {

bool readLeadingDecimal(const char* text, uint32_t max, uint32_t& value) {
    if (!text || *text < '0' || *text > '9') return false;
    uint64_t number = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        number = number * 10 + uint64_t(*text - '0');
        if (number > max) return false;
    }
    value = uint32_t(number);
    return true;
}

}  // namespace zentra
