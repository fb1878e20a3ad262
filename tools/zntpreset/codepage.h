// Conversion between the 8-bit Western Windows code page (1252), in which
// preset files store names and paths, and UTF-8.
#pragma once

#include <string>

namespace zentra {

// Every byte maps to one character; the five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of
// the same number, as Windows converts them, so every byte round-trips.
std::string cp1252ToUtf8(const std::string& bytes);

// The same for a terminal: control characters (bytes below 0x20, 0x7F and
// the five unassigned bytes) become "\x1B" and the like, so that a name
// cannot move the cursor, clear the screen or ring the bell.
std::string cp1252ToPrintableUtf8(const std::string& bytes);

// The reverse of cp1252ToUtf8. False when the text is not valid UTF-8 or holds a character
// the code page cannot store; `bad` then names the offending character.
bool utf8ToCp1252(const std::string& utf8, std::string& bytes, std::string& bad);

}  // namespace zentra
