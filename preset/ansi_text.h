// Texts of the programs' string tables in the 8-bit system code page, one
// conversion for both programs.
#pragma once

namespace zentra {

// `length` UTF-16 units of `text` in code page `codePage` (the system's,
// GetACP), cut to `size` - 1 bytes at a character boundary and terminated.
// The composite check and the code page's default character are asked for;
// a code page that refuses them (UTF-8 and the other stateful or
// multi-byte ones) gets the plain conversion, so a text never comes out
// empty for that reason. Returns the bytes kept, 0 when nothing converted.
int toAnsiText(unsigned codePage, const wchar_t* text, int length, char* buffer, int size);

}  // namespace zentra
