// Numbers in texts read from the registry or a command line, bounded.
#pragma once

#include <cstdint>

namespace zentra {

// The decimal number at the start of `text`: its digits up to the first
// other character. False, leaving `value` alone, when there is no digit or
// the number exceeds `max`, however many digits follow.
bool readLeadingDecimal(const char* text, uint32_t max, uint32_t& value);

}  // namespace zentra
