#include "preset/ansi_text.h"

#include <windows.h>

#include <string>

namespace zentra {

namespace {

// Where a cut to at most `limit` bytes may fall: never inside a character.
int characterBoundary(unsigned codePage, const std::string& text, int limit) {
    if (codePage == CP_UTF8) {
        while (limit > 0 && (static_cast<unsigned char>(text[size_t(limit)]) & 0xC0) == 0x80) --limit;
        return limit;
    }
    int end = 0;
    for (int i = 0; i < limit;) {
        const int step = IsDBCSLeadByteEx(codePage, BYTE(text[size_t(i)])) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
        end = i;
    }
    return end;
}

}  // namespace

int toAnsiText(unsigned codePage, const wchar_t* text, int length, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    if (!text || length <= 0) return 0;
    DWORD flags = WC_COMPOSITECHECK | WC_DEFAULTCHAR;
    int needed = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0 && (GetLastError() == ERROR_INVALID_FLAGS || GetLastError() == ERROR_INVALID_PARAMETER)) {
        flags = 0;
        needed = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, nullptr);
    }
    if (needed <= 0) return 0;
    // Converted whole, then cut: a conversion into too small a buffer fails
    // rather than stopping where the buffer ends.
    std::string whole(size_t(needed) + 1, '\0');
    const int written = WideCharToMultiByte(codePage, flags, text, length, &whole[0], needed, nullptr, nullptr);
    if (written <= 0) return 0;
    const int kept = written <= size - 1 ? written : characterBoundary(codePage, whole, size - 1);
    whole.copy(buffer, size_t(kept));
    buffer[kept] = '\0';
    return kept;
}

}  // namespace zentra
