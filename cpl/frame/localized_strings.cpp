// The plug-in's localized strings: the language chosen once per sheet, and
// each text looked up in its string table whenever it is shown.
#include <new>

#include "cpl/frame/cpl_module.h"
#include "cpl/frame/localized_text.h"
#include "preset/ansi_text.h"

namespace zentra {

namespace {

// Wide strings handed out by LoadLocalizedStringW: 520 bytes.
constexpr int kWideChars = 260;

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
    toAnsiText(GetACP(), reinterpret_cast<const wchar_t*>(text.text), int(text.length), buffer, size);
    return buffer;
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
