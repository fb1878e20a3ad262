// The control panel's text lookup without a window: the table language that
// each user language gets, and the walk through one string-table block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cpl/frame/localized_text.h"

namespace zentra {
namespace {

struct LanguageCase {
    uint16_t user;
    uint16_t table;
};

const LanguageCase kLanguageCases[] = {
    // Every listed variant of each language with a table of its own.
    {0x0413, kUiDutch}, {0x0813, kUiDutch},
    {0x0407, kUiGerman}, {0x0807, kUiGerman}, {0x0C07, kUiGerman}, {0x1007, kUiGerman}, {0x1407, kUiGerman},
    {0x040C, kUiFrench}, {0x080C, kUiFrench}, {0x0C0C, kUiFrench}, {0x100C, kUiFrench}, {0x140C, kUiFrench},
    {0x0410, kUiItalian}, {0x0810, kUiItalian}, {0x0C10, kUiItalian}, {0x1010, kUiItalian}, {0x1410, kUiItalian},
    {0x0116, kUiPortuguese}, {0x0216, kUiPortuguese}, {0x0316, kUiPortuguese}, {0x0416, kUiPortuguese},
    {0x0516, kUiPortuguese}, {0x0616, kUiPortuguese}, {0x0716, kUiPortuguese}, {0x0816, kUiPortuguese},
    {0x0409, kUiEnglish}, {0x0809, kUiEnglish}, {0x0C09, kUiEnglish}, {0x0109, kUiEnglish}, {0x0D09, kUiEnglish},
    // Spanish, modern sort, and the last listed Spanish variant.
    {0x0C0A, kUiSpanish}, {0x500A, kUiSpanish},
    // Just outside the listed variants: no table of their own.
    {0x1807, kUiEnglish}, {0x180C, kUiEnglish}, {0x1810, kUiEnglish}, {0x0C13, kUiEnglish},
    {0x540A, kUiEnglish}, {0x0916, kUiEnglish}, {0x0016, kUiEnglish}, {0x0C16, kUiPortuguese},
    // The neutral forms, and languages without a table.
    {0x0013, kUiEnglish}, {0x0007, kUiEnglish}, {0x0000, kUiEnglish}, {0x0411, kUiEnglish}, {0x0419, kUiEnglish},
    {0x0415, kUiEnglish}, {0xFFFF, kUiEnglish},
};

TEST(CplUiLanguage, EachUserLanguageGetsItsTable) {
    for (const LanguageCase& c : kLanguageCases)
        EXPECT_EQ(chooseUiLanguage(c.user), c.table) << std::hex << "user language 0x" << c.user;
}

TEST(CplUiLanguage, EverySpanishSublanguageGetsTheSpanishTable) {
    for (unsigned sub = 1; sub <= 20; ++sub)
        EXPECT_EQ(chooseUiLanguage(uint16_t(sub << 10 | 0x0A)), kUiSpanish) << "sub-language " << sub;
}

// A block as the resource compiler writes it, from 16 texts (ASCII here).
std::vector<uint16_t> block(const std::vector<std::string>& texts) {
    std::vector<uint16_t> words;
    for (const std::string& text : texts) {
        words.push_back(uint16_t(text.size()));
        for (char c : text) words.push_back(uint16_t(c));
    }
    for (size_t i = texts.size(); i < 16; ++i) words.push_back(0);
    return words;
}

// The text of string `id`, or "<none>".
std::string lookUp(const std::vector<uint16_t>& words, int id) {
    BlockString found{};
    if (!findStringInBlock(words.data(), words.size(), id, found)) return "<none>";
    EXPECT_GE(found.length, 1u);
    return std::string(found.text, found.text + found.length);
}

TEST(CplStringBlock, BlockOfAnIdHoldsItsSixteenIds) {
    EXPECT_EQ(stringBlockOf(0), 1);
    EXPECT_EQ(stringBlockOf(15), 1);
    EXPECT_EQ(stringBlockOf(16), 2);
    EXPECT_EQ(stringBlockOf(105), 7);
    EXPECT_EQ(stringBlockOf(111), 7);
    EXPECT_EQ(stringBlockOf(112), 8);
}

TEST(CplStringBlock, FindsEachStringAfterTheLeadingEmptyOnes) {
    // Block 1 as the plug-in has it: no string 0.
    const auto words = block({"", "MORVENHOLLOW ZENTRAVOLI", "<< Erreur>>", "A", "", "Autre"});
    EXPECT_EQ(lookUp(words, 0), "<none>");
    EXPECT_EQ(lookUp(words, 1), "MORVENHOLLOW ZENTRAVOLI");
    EXPECT_EQ(lookUp(words, 2), "<< Erreur>>");
    EXPECT_EQ(lookUp(words, 3), "A");
    EXPECT_EQ(lookUp(words, 4), "<none>");
    EXPECT_EQ(lookUp(words, 5), "Autre");
    EXPECT_EQ(lookUp(words, 6), "<none>");
    EXPECT_EQ(lookUp(words, 15), "<none>");
}

TEST(CplStringBlock, IdsTakeTheirPlaceFromTheBlockNumber) {
    // The same words serve as block 7: string 96 + i is entry i.
    const auto words = block({"Undo", "Import/Export preset", "", "", "", "", "", "28", "29", "30"});
    EXPECT_EQ(lookUp(words, 96), "Undo");
    EXPECT_EQ(lookUp(words, 97), "Import/Export preset");
    EXPECT_EQ(lookUp(words, 98), "<none>");
    EXPECT_EQ(lookUp(words, 103), "28");
    EXPECT_EQ(lookUp(words, 105), "30");
    EXPECT_EQ(lookUp(words, 106), "<none>");
    EXPECT_EQ(lookUp(words, 111), "<none>");
}

TEST(CplStringBlock, ManyLeadingEmptyStringsAndTheLastEntry) {
    std::vector<std::string> texts(15, "");
    texts.push_back(" ");  // a single blank is a text
    const auto words = block(texts);
    for (int id = 48; id < 63; ++id) EXPECT_EQ(lookUp(words, id), "<none>") << id;
    EXPECT_EQ(lookUp(words, 63), " ");
}

TEST(CplStringBlock, AnIdBeforeTheFirstTextIsMissing) {
    const auto words = block({"", "", "Lineaire", "X-Axis"});
    EXPECT_EQ(lookUp(words, 0), "<none>");
    EXPECT_EQ(lookUp(words, 1), "<none>");
    EXPECT_EQ(lookUp(words, 2), "Lineaire");
    EXPECT_EQ(lookUp(words, 3), "X-Axis");
}

TEST(CplStringBlock, AllEmptyBlockHasNoText) {
    const auto words = block({});
    for (int id = 16; id < 32; ++id) EXPECT_EQ(lookUp(words, id), "<none>") << id;
}

TEST(CplStringBlock, TextsThatRunPastTheBlockAreMissing) {
    auto words = block({"Rudder", "Throttle"});
    // Cut inside the second text: the first one is still whole.
    const std::vector<uint16_t> cut(words.begin(), words.begin() + 1 + 6 + 1 + 3);
    EXPECT_EQ(lookUp(cut, 0), "Rudder");
    EXPECT_EQ(lookUp(cut, 1), "<none>");
    EXPECT_EQ(lookUp(cut, 2), "<none>");
    // A truncated block of nothing but leading empty strings.
    const std::vector<uint16_t> empties(5, 0);
    EXPECT_EQ(lookUp(empties, 7), "<none>");
    BlockString found{};
    EXPECT_FALSE(findStringInBlock(nullptr, 0, 1, found));
    EXPECT_FALSE(findStringInBlock(words.data(), words.size(), -1, found));
}

}  // namespace
}  // namespace zentra
