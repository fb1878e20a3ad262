// Text in the system's 8-bit code page: the one conversion of both programs'
// string tables, the system's upper case that the watcher matches with, and
// ZntUsb on systems of other code pages. CTest runs the SystemCodePage
// cases once more under the locales of cmake/Loader.cmake, which give Wine
// processes their ANSI code page (UTF-8, 65001, for Hindi).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cpl/frame/cpl_module.h"
#include "loader/watcher.h"
#include "preset/ansi_text.h"
#include "tests/wine/support/loader_bench.h"

namespace zentra {
namespace {

std::string converted(unsigned codePage, const wchar_t* text, int size) {
    std::vector<char> buffer(size_t(size) + 4, 0x7F);
    const int kept = toAnsiText(codePage, text, int(wcslen(text)), buffer.data(), size);
    EXPECT_EQ(size_t(kept), strlen(buffer.data()));
    for (size_t i = size_t(size); i < buffer.size(); ++i) EXPECT_EQ(0x7F, buffer[i]) << "written past the buffer";
    return buffer.data();
}

// The conversion takes the code page's composite check and default
// character where it can, the plain conversion where the code page refuses
// them, and never cuts a character in two.
TEST(AnsiText, EveryCodePageGetsItsTextCutAtACharacter) {
    const wchar_t* french = L"D\x00E9sactiver l'\x00E9mulation clavier.";
    const struct {
        unsigned codePage;
        const wchar_t* text;
        int size;
        const char* expected;
    } cases[] = {
        {1252, french, 64, "D\xE9sactiver l'\xE9mulation clavier."},
        {1252, french, 3, "D\xE9"},
        {1252, L"e\x0301t\x4E00", 64, "\xE9t?"},  // e + combining acute composed; 一 has no place
        {1250, L"\x0141\x00F3" L"d\x017A", 64, "\xA3\xF3" "d\x9F"},
        {1251, L"\x0451\x044F" L"Z", 64, "\xB8\xFF" "Z"},
        {65001, french, 64, "D\xC3\xA9sactiver l'\xC3\xA9mulation clavier."},
        {65001, french, 3, "D"},  // é takes two bytes
        {65001, french, 4, "D\xC3\xA9"},
        {932, L"\x30B2\x30FC\x30E0", 4, "\x83\x51"},  // ゲーム: two bytes a character
        {1252, L"x", 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << c.codePage << ", " << c.size << " bytes");
        EXPECT_EQ(std::string(c.expected), converted(c.codePage, c.text, c.size));
    }
}

// One row a code page: lower-case letters and their capitals, and a byte
// that no letter of it upper-cases to a different byte.
struct CodePageRow {
    UINT codePage;
    const char* lower;
    const char* upper;
};
const CodePageRow kRows[] = {
    {1252, "\xE0\xE7\xFF" "a", "\xC0\xC7\x9F" "A"},                            // à ç ÿ
    {1250, "\xB3\xB9\xBF\xF3\x9F" "a\xFF", "\xA3\xA5\xAF\xD3\x8F" "A\xFF"},  // ł ą ż ó ź, 0xFF the dot above
    {1251, "\xE0\xFF\xB8\xB3" "a", "\xC0\xDF\xA8\xB2" "A"},                    // а я ё і
    {1253, "\xE1\xF9\xDC" "a", "\xC1\xD9\xA2" "A"},                            // α ω ά
    {65001, "\xC5\x82\xC3\xB3" "d\xC5\xBA", "\xC5\x81\xC3\x93" "D\xC5\xB9"},  // łódź
};

const CodePageRow& systemRow() {
    if (const char* expected = std::getenv("ZENTRA_EXPECTED_ACP")) {
        EXPECT_EQ(GetACP(), UINT(std::strtoul(expected, nullptr, 10))) << "the locale's code page";
    }
    for (const CodePageRow& row : kRows)
        if (row.codePage == GetACP()) return row;
    ADD_FAILURE() << "no row for code page " << GetACP();
    return kRows[0];
}

TEST(SystemCodePage, TheWatchersUpperCaseIsTheSystems) {
    const CodePageRow& row = systemRow();
    EXPECT_EQ(row.upper, systemUpperCase().upper(row.lower));
    EXPECT_EQ(row.upper, systemUpperCase().upper(row.upper));

    // A game named in lower case finds the preset stored in capitals.
    auto table = std::make_unique<PresetTable>();
    table->presetCount = 2;
    setPresetText(table->presets[0].exePath, "C:\\Games\\Rally\\rally.exe");
    setPresetText(table->presets[1].exePath, (std::string("C:\\GAMES\\") + row.upper + ".EXE").c_str());
    const PresetMatcher matcher(*table, systemUpperCase());
    GameWatcher watcher;
    const Announcement a = watcher.scan({{40, std::string(row.lower) + ".exe"}}, matcher);
    EXPECT_EQ(Announcement::Start, a.kind);
    EXPECT_EQ(1, a.presetIndex);
}

// Both programs' texts in the system code page, whichever it is: they read
// back as the tables' texts.
TEST(SystemCodePage, BothProgramsTextsAppear) {
    systemRow();
    HMODULE cpl = LoadLibraryA(besideTests("ZentraCpl.dll").c_str());
    ASSERT_NE(nullptr, cpl);
    char text[256] = "";
    ASSERT_NE(nullptr, LoadLocalizedString(cpl, 1, 0x0409, text, sizeof text));
    EXPECT_STREQ("MORVENHOLLOW ZENTRAVOLI", text);
    FreeLibrary(cpl);
}

class SystemCodePageLoader : public LoaderBench {};

// The real program on this system: its texts show, and a stand-in game
// named with the code page's lower-case letters gets the preset whose path
// holds them in capitals.
TEST_F(SystemCodePageLoader, ZntUsbShowsItsTextsAndFindsTheGame) {
    const CodePageRow& row = systemRow();
    writePresets({"C:\\GAMES\\RALLYX\\RALLYX.EXE", std::string("D:\\SPIELE\\") + row.upper + ".EXE"});
    HWND window = startLoader();
    ASSERT_NE(nullptr, window);
    char caption[64] = "";
    GetWindowTextA(GetDlgItem(window, 1008), caption, sizeof caption);
    EXPECT_STREQ("Disable keyboard emulation", caption);
    GetWindowTextA(GetDlgItem(window, 105), caption, sizeof caption);
    EXPECT_STREQ("Start", caption);
    Sleep(2500);
    ASSERT_TRUE(client.clearLog());
    startGame(std::string(row.lower) + ".exe");
    std::vector<SimLogEntry> blocks;
    ASSERT_TRUE(waitForBlocks(1, kGameBlockWait, blocks));
    EXPECT_EQ(gameBlockFor(2), input(blocks[0]));
    EXPECT_EQ(2u, registry.readRegDword(kPanelKey, kLastIndexValue));
}

}  // namespace
}  // namespace zentra
