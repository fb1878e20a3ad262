// The preset tool's conversions: code page 1252 <-> UTF-8 and a table <->
// JSON.
#include <gtest/gtest.h>

#include <memory>

#include "preset/preset_file.h"
#include "tools/zntpreset/codepage.h"
#include "tools/zntpreset/preset_json.h"

namespace zentra {
namespace {

TEST(CodePage, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    const std::string utf8 = cp1252ToUtf8(all);
    std::string back, bad;
    ASSERT_TRUE(utf8ToCp1252(utf8, back, bad)) << bad;
    EXPECT_EQ(back, all);
}

TEST(CodePage, HighBytesBecomeTheirWindowsCharacters) {
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(cp1252ToUtf8("\xE9"), "\xC3\xA9");      // e acute
    EXPECT_EQ(cp1252ToUtf8("\x9F"), "\xC5\xB8");      // Y diaeresis
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");      // unassigned: same control number
}

TEST(CodePage, CharactersOutsideTheCodePageAndBrokenUtf8AreRefused) {
    std::string bytes, bad;
    EXPECT_FALSE(utf8ToCp1252("\xE4\xB8\xAD", bytes, bad));  // a CJK character
    EXPECT_NE(bad.find("U+4E2D"), std::string::npos);
    EXPECT_FALSE(utf8ToCp1252("abc\xC3", bytes, bad));  // cut sequence
    EXPECT_FALSE(utf8ToCp1252("\xFF", bytes, bad));
    EXPECT_FALSE(utf8ToCp1252("\xC3(", bytes, bad));
}

TEST(CodePage, ThePrintableFormEscapesControlCharactersOnly) {
    EXPECT_EQ(cp1252ToPrintableUtf8("a\x1B[2J\x07\x7F\x9D\x0A\x01z"), "a\\x1B[2J\\x07\\x7F\\x9D\\x0A\\x01z");
    EXPECT_EQ(cp1252ToPrintableUtf8("C:\\Caf\xE9\x80 \xA0"), cp1252ToUtf8("C:\\Caf\xE9\x80 \xA0"));
}

class PresetJson : public ::testing::Test {
protected:
    std::unique_ptr<PresetTable> table{new PresetTable()};
    std::unique_ptr<PresetTable> other{new PresetTable()};
    std::string error;
};

TEST_F(PresetJson, MissingFieldsTakeTheControlPanelDefaults) {
    ASSERT_TRUE(presetTableFromJson(R"({"presets": [{"gameName": "Only a name"}]})", *table, error)) << error;
    ASSERT_EQ(table->presetCount, 1);
    const Preset& p = table->presets[0];
    EXPECT_STREQ(p.gameName, "Only a name");
    EXPECT_STREQ(p.exePath, "<<<NO PATH>>>");
    EXPECT_EQ(p.gameType, 2);
    EXPECT_EQ(p.pedalsLinked, 1u);
    EXPECT_EQ(p.curveP1x[3], 25);
    EXPECT_EQ(p.mouseParamB[0], 145);
}

TEST_F(PresetJson, ExportOfAFileImportsToTheSameBytes) {
    ASSERT_TRUE(presetTableFromJson(R"({"presets": [
        {"gameName": "Caf\u00e9 Racer", "exePath": "C:\\GAMES\\MOUSE\\MISC.EXE", "curveType": [1, 0, 1, 0],
         "axisInvert": 16777217, "mouseSetting": [200, 1], "extraValue": [65535, 0],
         "buttonKeys": [[30, 1072], [], [57]]},
        {}]})",
                                    *table, error))
        << error;
    const std::vector<uint8_t> bytes = encodePresetFile(*table);
    const std::string exported = presetTableToJson(*table).dump();
    ASSERT_TRUE(presetTableFromJson(exported, *other, error)) << error;
    EXPECT_EQ(encodePresetFile(*other), bytes);
    EXPECT_EQ(other->presets[0].buttonKeys[0][1], 1072);
    EXPECT_EQ(other->presets[0].axisInvert, 16777217u);
}

TEST_F(PresetJson, ExportWritesOnlyWhatTheFileStores) {
    table->presetCount = 1;
    resetPreset(table->presets[0], Deliverable::Panel);
    table->presets[0].curveType[0] = 0x10001;  // the file keeps the low 16 bits
    table->presets[0].mouseSetting[1] = 0x1FF;  // and the low byte
    const auto json = presetTableToJson(*table);
    const auto& p = json["presets"][0];
    EXPECT_EQ(p["curveType"][0], 1);
    EXPECT_EQ(p["mouseSetting"][1], 0xFF);
    EXPECT_FALSE(p.contains("keepValue"));
    EXPECT_FALSE(p.contains("selected"));
    EXPECT_EQ(p["buttonKeys"].size(), 21u);
    EXPECT_EQ(p["buttonKeys"][20].size(), 32u);
}

TEST_F(PresetJson, RefusalsNameThePresetAndTheFieldAndLeaveTheCountAlone) {
    table->presetCount = 7;
    EXPECT_FALSE(presetTableFromJson(R"({"presets": [{}, {"gameName": "Two", "axisFunction": [0, 1, 2]}]})",
                                     *table, error));
    EXPECT_NE(error.find("preset 1 (\"Two\")"), std::string::npos) << error;
    EXPECT_NE(error.find("axisFunction"), std::string::npos) << error;
    EXPECT_EQ(table->presetCount, 7);

    EXPECT_FALSE(presetTableFromJson(R"({"presets": [{"pedalsLinked": 4294967296}]})", *table, error));
    EXPECT_NE(error.find("pedalsLinked"), std::string::npos) << error;
    EXPECT_FALSE(presetTableFromJson(R"({"presets": [{"gameType": 1.5}]})", *table, error));
    EXPECT_FALSE(presetTableFromJson(R"({"presets": [{"gameName": 12}]})", *table, error));
    EXPECT_FALSE(presetTableFromJson(R"({"presets": [{"exePath": "a\u0000b"}]})", *table, error));
    EXPECT_FALSE(presetTableFromJson(R"({"presets": {}})", *table, error));
    EXPECT_FALSE(presetTableFromJson(R"([1, 2])", *table, error));
    EXPECT_FALSE(presetTableFromJson(R"({"presets": [{"buttonKeys": [[65536]]}]})", *table, error));
    EXPECT_EQ(table->presetCount, 7);
}

// Hostile documents: each is refused before any of it is imported, with a
// short message that says where, whatever the size of the offending value.
TEST_F(PresetJson, HostileDocumentsAreRefusedWithShortMessagesThatSayWhere) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string huge(1 << 20, 'x');
    std::string ones;
    for (int i = 0; i < 100000; ++i) ones += "1,";
    const struct {
        const char* what;
        std::string text;
        const char* says;
    } cases[] = {
        {"deep nesting in a field", R"({"presets": [{"gameType": )" + deep + "}]}", "presets[0].gameType"},
        {"deep nesting at the top", deep, "deeper than a preset table"},
        {"one level too deep", R"({"presets": [{"buttonKeys": [[[1]]]}]})", "presets[0].buttonKeys[0][0]"},
        {"a huge text as a number", R"({"presets": [{"gameType": ")" + huge + "\"}]}", "not \"xxxx"},
        {"a huge unknown field", R"({"presets": [{")" + huge + "\": 1}]}", "unknown field \"xxx"},
        {"a huge array as a number", R"({"presets": [{"gameType": [)" + ones + "1]}]}",
         "not an array of 100001 values"},
        {"a huge text as a key code", R"({"presets": [{"buttonKeys": [[")" + huge + "\"]]}]}",
         "[0][0] must be a key code in 0..65535, not \"xxx"},
        {"a duplicate key in a preset", R"({"presets": [{}, {"gameType": 1, "gameType": 3}]})",
         "\"gameType\" twice in one object, at presets[1].gameType"},
        {"a duplicate key at the top", R"({"presets": [], "presets": [{}]})", "\"presets\" twice"},
        {"bytes after a NUL", std::string(R"({"presets": []})") + '\0' + "{\"presets\": 5}", "NUL byte (at byte 15)"},
        {"a second document", R"({"presets": []} {"presets": []})", "not valid JSON (at byte 17)"},
        {"a control character in a key", "{\"presets\": [{\"a\\u001b[2Jb\": 1}]}", "\"a\\u001b[2Jb\""},
    };
    for (const auto& c : cases) {
        table->presetCount = 7;
        EXPECT_FALSE(presetTableFromJson(c.text, *table, error)) << c.what;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
        EXPECT_LT(error.size(), 200u) << c.what;
        EXPECT_EQ(table->presetCount, 7) << c.what;
    }
}

}  // namespace
}  // namespace zentra
