#include "cpl/frame/localized_text.h"

namespace zentra {

// The control panel's tables are the same seven as the loader's.
uint16_t chooseUiLanguage(uint16_t userLanguage) { return chooseTableLanguage(userLanguage); }

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
