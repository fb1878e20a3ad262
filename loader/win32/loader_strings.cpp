// The loader's localized strings: the string-table block of the id in
// exactly the chosen language, with no fallback to another one.
#include "loader/win32/loader_app.h"
#include "preset/ansi_text.h"

namespace zentra {

void loadLoaderString(HINSTANCE instance, uint16_t language, int id, char* buffer, int size) {
    if (size <= 0) return;
    buffer[0] = '\0';
    HRSRC found = FindResourceExA(instance, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language);
    if (!found) return;
    HGLOBAL loaded = LoadResource(instance, found);
    const WCHAR* entry = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!entry) return;
    const DWORD blockBytes = SizeofResource(instance, found);
    const WCHAR* end = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(entry) + blockBytes);
    // Each entry: a 16-bit length, then that many UTF-16 units.
    for (int i = 0; i < id % 16; ++i) {
        if (entry >= end) return;
        entry += 1 + *entry;
    }
    if (entry >= end || *entry == 0 || entry + 1 + *entry > end) return;
    toAnsiText(GetACP(), reinterpret_cast<const wchar_t*>(entry + 1), *entry, buffer, size);
}

}  // namespace zentra
