// The plug-in's localized strings: the language chosen once per sheet, and
// each text looked up in its string table whenever it is shown.
#include <cstdlib>
#include <cstring>
#include <new>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/localized_text.h"

namespace zentra {

namespace {

// Wide strings handed out by LoadLocalizedStringW: 520 bytes.
constexpr int kWideChars = 260;

// The ANSI text of `text` into `buffer`, cut to size - 1 bytes. The whole
// text is converted first: a conversion into too small a buffer fails
// rather than stopping where the buffer ends.
char* toAnsi(const wchar_t* text, int length, char* buffer, int size) {
    const UINT codePage = GetACP();
    CPINFO info{};
    const bool haveDefault = GetCPInfo(codePage, &info) != 0;
    DWORD flags = WC_COMPOSITECHECK | WC_DEFAULTCHAR;
    LPCSTR defaultChar = haveDefault ? reinterpret_cast<LPCSTR>(info.DefaultChar) : nullptr;
    int needed = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, defaultChar, nullptr);
    if (needed <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        // UTF-8 as the ANSI code page takes neither flags nor a default character.
        flags = 0;
        defaultChar = nullptr;
        needed = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, nullptr);
    }
    if (needed <= 0) {
        buffer[0] = '\0';
        return buffer;
    }
    if (needed <= size - 1) {
        const int written = WideCharToMultiByte(codePage, flags, text, length, buffer, size - 1, defaultChar, nullptr);
        buffer[written > 0 ? written : 0] = '\0';
        return buffer;
    }
    char* whole = static_cast<char*>(std::malloc(size_t(needed)));
    if (!whole) return nullptr;
    WideCharToMultiByte(codePage, flags, text, length, whole, needed, defaultChar, nullptr);
    std::memcpy(buffer, whole, size_t(size - 1));
    buffer[size - 1] = '\0';
    std::free(whole);
    return buffer;
}

}  // namespace

void ChooseUiLanguage() { UiLanguage = chooseUiLanguage(GetUserDefaultLangID()); }

char* LoadLocalizedString(HINSTANCE instance, int id, WORD language, char* buffer, int size) {
    if (!buffer || size <= 0 || id < 0 || id > 0xFFFF) return nullptr;
    // Without a block in exactly `language`, the resource lookup takes the
    // primary language's neutral block: the Dutch table is stored as 0x0013.
    HRSRC found = FindResourceExA(instance, reinterpret_cast<LPCSTR>(RT_STRING),
                                  MAKEINTRESOURCEA(stringBlockOf(id)), language);
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(instance, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return nullptr;
    const size_t words = SizeofResource(instance, found) / sizeof(uint16_t);
    BlockString text{};
    if (!findStringInBlock(static_cast<const uint16_t*>(data), words, id, text)) return nullptr;
    return toAnsi(reinterpret_cast<const wchar_t*>(text.text), int(text.length), buffer, size);
}

wchar_t* LoadLocalizedStringW(HINSTANCE instance, int id, WORD language) {
    wchar_t* wide = new (std::nothrow) wchar_t[kWideChars]();
    if (!wide) return nullptr;
    char text[256] = {};
    if (LoadLocalizedString(instance, id, language, text, sizeof text) &&
        !MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, wide, kWideChars) &&
        GetLastError() == ERROR_INVALID_FLAGS)
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kWideChars);
    return wide;
}

}  // namespace zentra
