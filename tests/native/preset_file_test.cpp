// The ".pst" preset file: sizes and byte layout of what the writer produces,
// what the reader takes back, refused files, files of other writers and
// damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "preset/file_system_memory.h"
#include "preset/preset.h"
#include "preset/preset_file.h"
#include "preset_test_support.h"

namespace zentra {
namespace {

using test::fillPreset;
using test::newTable;
using test::overlayText;
using test::presetDifference;
using test::putText;
using Bytes = std::vector<uint8_t>;

// Offsets of the sections in a file as the writer lays it out for a table:
// signature 8 bytes, VERS 13, CONF 8, then DATA, STRI, MISC and MOUS.
struct Layout {
    size_t stri, misc, mous, end;
};

Layout layoutOf(const PresetTable& table) {
    const size_t n = table.presetCount;
    size_t texts = 0;
    for (size_t i = 0; i < n; ++i)
        texts += 2 + std::strlen(table.presets[i].gameName) + std::strlen(table.presets[i].exePath);
    Layout l;
    l.stri = 37 + 1394 * n;
    l.misc = l.stri + 6 + texts;
    l.mous = l.misc + 8 + 30 * n;
    l.end = l.mous + 8 + 34 * n;
    return l;
}

uint16_t u16At(const Bytes& b, size_t pos) { return uint16_t(b.at(pos) | b.at(pos + 1) << 8); }
uint32_t u32At(const Bytes& b, size_t pos) { return uint32_t(u16At(b, pos)) | uint32_t(u16At(b, pos + 2)) << 16; }
std::string textAt(const Bytes& b, size_t pos, size_t len) {
    if (pos + len > b.size()) return "<past the end>";
    return std::string(b.begin() + pos, b.begin() + pos + len);
}
Bytes slice(const Bytes& b, size_t from, size_t to) { return Bytes(b.begin() + from, b.begin() + to); }
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The fields a preset file carries, as a reader must put them into `want`:
// texts up to their NUL, narrow values zero-extended, the first 32 codes of
// each key slot. Everything else of `want` stays.
void applyStoredFields(Preset& want, const Preset& src) {
    overlayText(want.gameName, src.gameName);
    overlayText(want.exePath, src.exePath);
    want.gameType = src.gameType;
    std::memcpy(want.axisFunction, src.axisFunction, sizeof want.axisFunction);
    for (int s = 0; s < kAxisSlots; ++s) {
        want.curveType[s] = src.curveType[s] & 0xFFFFu;
        want.curveP1x[s] = src.curveP1x[s];
        want.curveP1y[s] = src.curveP1y[s];
        want.curveP2x[s] = src.curveP2x[s];
        want.curveP2y[s] = src.curveP2y[s];
    }
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        for (int k = 0; k < kStoredKeysPerSlot; ++k) want.buttonKeys[slot][k] = src.buttonKeys[slot][k];
    std::memcpy(want.mouseEmulation, src.mouseEmulation, sizeof want.mouseEmulation);
    std::memcpy(want.miscWord, src.miscWord, sizeof want.miscWord);
    want.extraValue[0] = src.extraValue[0] & 0xFFFFu;
    want.extraValue[1] = src.extraValue[1] & 0xFFFFu;
    want.pedalsLinked = src.pedalsLinked;
    want.axisInvert = src.axisInvert;
    want.mouseSetting[0] = src.mouseSetting[0] & 0xFFu;
    want.mouseSetting[1] = src.mouseSetting[1] & 0xFFu;
    std::memcpy(want.mouseParamA, src.mouseParamA, sizeof want.mouseParamA);
    std::memcpy(want.mouseParamB, src.mouseParamB, sizeof want.mouseParamB);
    std::memcpy(want.clickMask, src.clickMask, sizeof want.clickMask);
}

class CountingNotice : public PresetFileNotice {
public:
    void notPresetFile(OwnerWindow owner) override {
        ++calls;
        lastOwner = owner;
    }
    int calls = 0;
    OwnerWindow lastOwner = nullptr;
};

// A written table (`source`) and a table to read into (`target`), both with
// every field filled, the target with other values and a larger count.
class PresetFileTest : public ::testing::Test {
protected:
    static constexpr int kTargetFilled = 9;

    void SetUp() override {
        source_ = newTable();
        target_ = newTable();
        for (int i = 0; i < kTargetFilled; ++i) {
            fillPreset(source_->presets[i], unsigned(i + 1));
            fillPreset(target_->presets[i], unsigned(i + 40));
        }
        source_->presetCount = 3;
        target_->presetCount = kTargetFilled;
        targetBefore_.assign(target_->presets, target_->presets + kTargetFilled);
    }

    // The target as a reader of the source's file must leave it.
    void expectTargetHoldsSource(int count) {
        ASSERT_EQ(count, target_->presetCount);
        for (int i = 0; i < kTargetFilled; ++i) {
            Preset want = targetBefore_[i];
            if (i < count) applyStoredFields(want, source_->presets[i]);
            EXPECT_EQ("", presetDifference(target_->presets[i], want)) << "preset " << i;
        }
    }

    void expectTargetUnchanged() {
        EXPECT_EQ(kTargetFilled, target_->presetCount);
        for (int i = 0; i < kTargetFilled; ++i)
            EXPECT_EQ("", presetDifference(target_->presets[i], targetBefore_[i])) << "preset " << i;
    }

    bool decode(const Bytes& file) { return decodePresetFile(file.data(), file.size(), *target_); }

    std::unique_ptr<PresetTable> source_, target_;
    std::vector<Preset> targetBefore_;
};

// ------------------------------------------------------------------- sizes

TEST_F(PresetFileTest, TableWithoutPresetsGivesThe37ByteFileEndingAfterTheDataLength) {
    source_->presetCount = 0;
    const Bytes file = encodePresetFile(*source_);

    const Bytes want = bytesOf(std::string("PRS_JOYS") + "VERS" + '\0' + '\x07' + "1.00.00" + "CONF" + '\0' +
                               '\x02' + '\0' + '\0' + "DATA" + '\0' + '\0' + '\0' + '\0');
    ASSERT_EQ(37u, want.size());
    EXPECT_EQ(want, file);
}

TEST_F(PresetFileTest, FileWithoutPresetsReadsBackAsCountZeroLeavingTheEntries) {
    source_->presetCount = 0;
    ASSERT_TRUE(decode(encodePresetFile(*source_)));
    EXPECT_EQ(0, target_->presetCount);
    for (int i = 0; i < kTargetFilled; ++i)
        EXPECT_EQ("", presetDifference(target_->presets[i], targetBefore_[i])) << "preset " << i;
}

TEST_F(PresetFileTest, OneDefaultPresetGivesA1553ByteFile) {
    resetPreset(source_->presets[0], Deliverable::Panel);
    source_->presetCount = 1;
    EXPECT_EQ(1553u, encodePresetFile(*source_).size());
}

TEST_F(PresetFileTest, SizeIs59Plus1460PerPresetPlusTheTextLengths) {
    for (int n : {1, 2, 7, 255}) {
        size_t texts = 0;
        for (int i = 0; i < n; ++i) {
            // Lengths from empty to the longest a field holds.
            const size_t nameLength = size_t(i * 37) % 255;
            const size_t pathLength = size_t(254 - i % 255);
            putText(source_->presets[i].gameName, std::string(nameLength, 'g'));
            putText(source_->presets[i].exePath, std::string(pathLength, 'p'));
            texts += nameLength + pathLength;
        }
        source_->presetCount = uint16_t(n);
        EXPECT_EQ(59 + 1458 * size_t(n) + texts + 2 * size_t(n), encodePresetFile(*source_).size()) << n;
    }
}

TEST_F(PresetFileTest, WriterNeverWritesMoreThan255Presets) {
    for (int i = 0; i < kMaxPresets; ++i) putText(source_->presets[i].gameName, "G");
    for (int i = 0; i < kMaxPresets; ++i) putText(source_->presets[i].exePath, "P");
    source_->presetCount = 300;
    const Bytes file = encodePresetFile(*source_);

    EXPECT_EQ(59 + 1460 * 255 + 2 * 255u, file.size());
    EXPECT_EQ(0xFF, file.at(27));
    EXPECT_EQ(0x00, file.at(28));
    EXPECT_EQ(802u * 255, u32At(file, 33));
}

// ------------------------------------------------------------- byte layout

TEST_F(PresetFileTest, HeaderHoldsSignatureVersionCountAndDataLength) {
    const Bytes file = encodePresetFile(*source_);

    EXPECT_EQ("PRS_JOYS", textAt(file, 0, 8));
    EXPECT_EQ("VERS", textAt(file, 8, 4));
    EXPECT_EQ(0x00, file.at(12));
    EXPECT_EQ(0x07, file.at(13));
    EXPECT_EQ("1.00.00", textAt(file, 14, 7));
    EXPECT_EQ("CONF", textAt(file, 21, 4));
    EXPECT_EQ(0x00, file.at(25));
    EXPECT_EQ(0x02, file.at(26));
    EXPECT_EQ(0x03, file.at(27));
    EXPECT_EQ(0x00, file.at(28));
    EXPECT_EQ("DATA", textAt(file, 29, 4));
    EXPECT_EQ(802u * 3, u32At(file, 33));
}

TEST_F(PresetFileTest, DataRecordsHoldTypeFunctionsCurvesAndTheFirst32CodesOfEachSlot) {
    Preset& p = source_->presets[1];
    p.curveType[2] = 0x12340001u;
    const Bytes file = encodePresetFile(*source_);
    const size_t base = 37 + 1394 * 1;

    EXPECT_EQ(p.gameType, u16At(file, base));
    for (int k = 0; k < 4; ++k) EXPECT_EQ(p.axisFunction[k], u16At(file, base + 2 + 2 * k)) << k;
    for (int s = 0; s < kAxisSlots; ++s) {
        const size_t at = base + 10 + 10 * s;
        EXPECT_EQ(uint16_t(p.curveType[s]), u16At(file, at)) << s;
        EXPECT_EQ(p.curveP1x[s], u16At(file, at + 2)) << s;
        EXPECT_EQ(p.curveP1y[s], u16At(file, at + 4)) << s;
        EXPECT_EQ(p.curveP2x[s], u16At(file, at + 6)) << s;
        EXPECT_EQ(p.curveP2y[s], u16At(file, at + 8)) << s;
    }
    EXPECT_EQ(0x0001, u16At(file, base + 10 + 20));
    for (int slot = 0; slot < kEmulationSlots; ++slot)
        for (int k = 0; k < kStoredKeysPerSlot; ++k)
            ASSERT_EQ(p.buttonKeys[slot][k], u16At(file, base + 50 + 64 * slot + 2 * k)) << slot << "/" << k;
    // The next record starts right after the last slot.
    EXPECT_EQ(source_->presets[2].gameType, u16At(file, base + 1394));
}

TEST_F(PresetFileTest, StriSectionHasTheFixedLengthBytesAndOneLengthByteBeforeEachText) {
    putText(source_->presets[0].gameName, "Rally");
    putText(source_->presets[0].exePath, "C:\\R.EXE");
    putText(source_->presets[1].gameName, "");
    putText(source_->presets[1].exePath, "");
    putText(source_->presets[2].gameName, "X");
    putText(source_->presets[2].exePath, "YZ");
    const Bytes file = encodePresetFile(*source_);
    const Layout l = layoutOf(*source_);

    EXPECT_EQ("STRI", textAt(file, l.stri, 4));
    EXPECT_EQ(0x00, file.at(l.stri + 4));
    EXPECT_EQ(0x07, file.at(l.stri + 5));
    const Bytes records = bytesOf(std::string("\x05Rally\x08" "C:\\R.EXE") + '\0' + '\0' + "\x01X\x02YZ");
    EXPECT_EQ(records, slice(file, l.stri + 6, l.misc));
}

TEST_F(PresetFileTest, MiscSectionHoldsMouseSwitchesWordsLowHalvesPedalsAndInversion) {
    const Bytes file = encodePresetFile(*source_);
    const Layout l = layoutOf(*source_);

    EXPECT_EQ("MISC", textAt(file, l.misc, 4));
    EXPECT_EQ(6u * 3, u32At(file, l.misc + 4));
    for (int i = 0; i < 3; ++i) {
        const Preset& p = source_->presets[i];
        const size_t at = l.misc + 8 + 30 * i;
        EXPECT_EQ(p.mouseEmulation[0], u16At(file, at)) << i;
        EXPECT_EQ(p.mouseEmulation[1], u16At(file, at + 2)) << i;
        for (int k = 0; k < 7; ++k) EXPECT_EQ(p.miscWord[k], u16At(file, at + 4 + 2 * k)) << i << "/" << k;
        EXPECT_EQ(uint16_t(p.extraValue[0]), u16At(file, at + 18)) << i;
        EXPECT_EQ(uint16_t(p.extraValue[1]), u16At(file, at + 20)) << i;
        EXPECT_EQ(p.pedalsLinked, u32At(file, at + 22)) << i;
        EXPECT_EQ(p.axisInvert, u32At(file, at + 26)) << i;
    }
}

TEST_F(PresetFileTest, MousSectionHoldsSettingLowBytesParameterPairsAndClickMasksAndEndsTheFile) {
    const Bytes file = encodePresetFile(*source_);
    const Layout l = layoutOf(*source_);

    EXPECT_EQ("MOUS", textAt(file, l.mous, 4));
    EXPECT_EQ(34u * 3, u32At(file, l.mous + 4));
    for (int i = 0; i < 3; ++i) {
        const Preset& p = source_->presets[i];
        const size_t at = l.mous + 8 + 34 * i;
        EXPECT_EQ(uint8_t(p.mouseSetting[0]), file.at(at)) << i;
        EXPECT_EQ(uint8_t(p.mouseSetting[1]), file.at(at + 1)) << i;
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(p.mouseParamA[k], u16At(file, at + 2 + 4 * k)) << i << "/" << k;
            EXPECT_EQ(p.mouseParamB[k], u16At(file, at + 4 + 4 * k)) << i << "/" << k;
        }
        for (int k = 0; k < 4; ++k) EXPECT_EQ(p.clickMask[k], u16At(file, at + 26 + 2 * k)) << i << "/" << k;
    }
    EXPECT_EQ(l.end, file.size());
}

// -------------------------------------------------------------- round trip

TEST_F(PresetFileTest, LoadReproducesEveryStoredFieldAndKeepsTheUnstoredOnes) {
    MemoryFileSystem files;
    ASSERT_EQ(1, savePresetFile(nullptr, "round.pst", *source_, files));
    CountingNotice notice;

    ASSERT_EQ(0, loadPresetFile(nullptr, "round.pst", *target_, files, &notice));

    expectTargetHoldsSource(3);
    EXPECT_EQ(0, notice.calls);
    // Spelled out: what the file does not carry.
    const Preset& got = target_->presets[0];
    EXPECT_EQ(targetBefore_[0].keepValue, got.keepValue);
    EXPECT_EQ(targetBefore_[0].selected, got.selected);
    EXPECT_EQ(targetBefore_[0].buttonKeys[20][39], got.buttonKeys[20][39]);
    EXPECT_EQ(source_->presets[0].curveType[3] & 0xFFFFu, got.curveType[3]);
    EXPECT_EQ(source_->presets[0].extraValue[1] & 0xFFFFu, got.extraValue[1]);
    EXPECT_EQ(source_->presets[0].mouseSetting[1] & 0xFFu, got.mouseSetting[1]);
}

TEST_F(PresetFileTest, LoadedTableSavesToTheSameBytes) {
    const Bytes file = encodePresetFile(*source_);
    ASSERT_TRUE(decode(file));
    EXPECT_EQ(file, encodePresetFile(*target_));
}

TEST_F(PresetFileTest, SaveReplacesALongerFileWhole) {
    MemoryFileSystem files;
    files.files["t.pst"] = Bytes(100000, 0xEE);
    ASSERT_EQ(1, savePresetFile(nullptr, "t.pst", *source_, files));
    EXPECT_EQ(encodePresetFile(*source_), files.files["t.pst"]);
}

TEST_F(PresetFileTest, SaveThatCannotWriteReturnsZeroAndLeavesTheOldFile) {
    MemoryFileSystem files;
    const Bytes old = encodePresetFile(*target_);
    files.files["locked.pst"] = old;
    files.unwritable["locked.pst"] = true;

    EXPECT_EQ(0, savePresetFile(nullptr, "locked.pst", *source_, files));
    EXPECT_EQ(old, files.files["locked.pst"]);
}

TEST(TemporaryName, OneFixedNamePerFileInItsFolderNeverLongerThanALongName) {
    const std::string longName(255, 'n');
    const struct {
        std::string path;
        const char* separators;
        std::string folder;  // the temporary file's, with its separator
        size_t nameLength;
    } cases[] = {
        {"a.pst", "/", "", kTemporaryNameSize},
        {"/home/u/presets.pst", "/", "/home/u/", kTemporaryNameSize},
        {"/d/" + longName, "/", "/d/", 255},
        {"/d/" + std::string(14, 'x'), "/", "/d/", 14},
        {"C:\\TEMP\\TempoZNT.pst", "\\/:", "C:\\TEMP\\", kTemporaryNameSize},
        {"C:presets.pst", "\\/:", "C:", kTemporaryNameSize},
        {"/d/b\\s.pst", "/", "/d/", kTemporaryNameSize},  // a POSIX name may hold a backslash
    };
    for (const auto& c : cases) {
        const std::string temp = temporaryPathFor(c.path, c.separators);
        EXPECT_EQ(c.folder, temp.substr(0, c.folder.size())) << c.path;
        EXPECT_EQ(c.nameLength, temp.size() - c.folder.size()) << c.path << " -> " << temp;
        EXPECT_EQ(".tmp", temp.substr(temp.size() - 4)) << c.path;
        EXPECT_EQ(temp, temporaryPathFor(c.path, c.separators)) << c.path;
        EXPECT_NE(temp, c.path);
    }
    // Names that share their start still get temporary files of their own.
    EXPECT_NE(temporaryPathFor("/d/" + longName, "/"), temporaryPathFor("/d/" + longName.substr(1) + "m", "/"));
    // The start of the name is kept but never ends in the middle of a character.
    const std::string accented = "/d/" + std::string(20, 'r') + "\xC3\xA9" + std::string(10, 'e');
    EXPECT_EQ("/d/" + std::string(19, 'r') + "~", temporaryPathFor(accented, "/").substr(0, 23));
}

// --------------------------------------------------------- refused files

TEST_F(PresetFileTest, WrongSignatureIsRefusedEvenWithEverySectionPresent) {
    Bytes file = encodePresetFile(*source_);
    file[7] = 's';  // "PRS_JOYs"
    MemoryFileSystem files;
    files.files["other.pst"] = file;
    CountingNotice notice;
    int owner = 0;

    EXPECT_EQ(-1, loadPresetFile(&owner, "other.pst", *target_, files, &notice));

    EXPECT_EQ(1, notice.calls);
    EXPECT_EQ(static_cast<OwnerWindow>(&owner), notice.lastOwner);
    expectTargetUnchanged();
}

TEST_F(PresetFileTest, WrongSignatureWithoutANoticeIsRefusedQuietly) {
    Bytes file = encodePresetFile(*source_);
    file[0] = 'p';
    MemoryFileSystem files;
    files.files["other.pst"] = file;

    EXPECT_EQ(-1, loadPresetFile(nullptr, "other.pst", *target_, files, nullptr));
    expectTargetUnchanged();
}

TEST_F(PresetFileTest, FilesShorterThanTheSignatureOrCutShortAreRefusedWithTheNotice) {
    MemoryFileSystem files;
    files.files["short.pst"] = bytesOf("PRS_JOY");
    files.files["empty.pst"] = Bytes();
    // The first 1,500 bytes of a three-preset file, as an interrupted copy
    // leaves it: DATA alone needs 4,190 bytes.
    files.files["cut.pst"] = slice(encodePresetFile(*source_), 0, 1500);
    CountingNotice notice;

    for (const char* name : {"short.pst", "empty.pst", "cut.pst"})
        EXPECT_EQ(-1, loadPresetFile(nullptr, name, *target_, files, &notice)) << name;
    EXPECT_EQ(3, notice.calls);
    expectTargetUnchanged();
}

TEST(PresetFileSize, TheLargestFileTheWriterMakesLoadsAndAByteMoreIsNotAPresetFile) {
    auto full = newTable();
    for (int i = 0; i < kMaxPresets; ++i) {
        fillPreset(full->presets[i], unsigned(i % 100 + 1));
        putText(full->presets[i].gameName, std::string(kMaxTextLength, 'n'));
        putText(full->presets[i].exePath, std::string(kMaxTextLength, 'p'));
    }
    full->presetCount = kMaxPresets;
    MemoryFileSystem files;
    files.files["full.pst"] = encodePresetFile(*full);
    files.files["longer.pst"] = files.files["full.pst"] + Bytes{0};
    ASSERT_EQ(kMaxPresetFileSize, files.files["full.pst"].size());
    CountingNotice notice;
    auto target = newTable();

    EXPECT_EQ(0, loadPresetFile(nullptr, "full.pst", *target, files, &notice));
    EXPECT_EQ(kMaxPresets, target->presetCount);
    target->presetCount = 3;
    FileResult outcome;
    EXPECT_EQ(-1, loadPresetFile(nullptr, "longer.pst", *target, files, &notice, &outcome));
    EXPECT_EQ(FileResult::TooLarge, outcome.status);
    EXPECT_EQ(1, notice.calls);
    EXPECT_EQ(3, target->presetCount);
}

TEST_F(PresetFileTest, MissingOrUnreadableFileReturnsMinusOneWithoutANotice) {
    MemoryFileSystem files;
    files.files["busy.pst"] = encodePresetFile(*source_);
    files.unreadable["busy.pst"] = true;
    CountingNotice notice;

    EXPECT_EQ(-1, loadPresetFile(nullptr, "missing.pst", *target_, files, &notice));
    EXPECT_EQ(-1, loadPresetFile(nullptr, "busy.pst", *target_, files, &notice));
    EXPECT_EQ(0, notice.calls);
    expectTargetUnchanged();
}

// ------------------------------------------------ finding the sections

TEST_F(PresetFileTest, FileWithoutMousKeepsThePreviousMouseFields) {
    const Bytes file = encodePresetFile(*source_);
    ASSERT_TRUE(decode(slice(file, 0, layoutOf(*source_).mous)));

    ASSERT_EQ(3, target_->presetCount);
    for (int i = 0; i < 3; ++i) {
        Preset want = targetBefore_[i];
        applyStoredFields(want, source_->presets[i]);
        std::memcpy(want.mouseSetting, targetBefore_[i].mouseSetting, sizeof want.mouseSetting);
        std::memcpy(want.mouseParamA, targetBefore_[i].mouseParamA, sizeof want.mouseParamA);
        std::memcpy(want.mouseParamB, targetBefore_[i].mouseParamB, sizeof want.mouseParamB);
        std::memcpy(want.clickMask, targetBefore_[i].clickMask, sizeof want.clickMask);
        EXPECT_EQ("", presetDifference(target_->presets[i], want)) << "preset " << i;
    }
}

TEST_F(PresetFileTest, TextsAndKeyCodesThatSpellSectionTagsLoadExactly) {
    putText(source_->presets[0].gameName, "STRI MISC MOUS DATA CONF VERS");
    putText(source_->presets[0].exePath, "C:\\GAMES\\MOUSE\\MISC.EXE");
    putText(source_->presets[1].gameName, "MOUS");
    putText(source_->presets[1].exePath, "D:\\STRI\\MISC\\MOUS.EXE");
    // Codes whose bytes read "STRI", "MISC" and "MOUS".
    Preset& keys = source_->presets[1];
    keys.buttonKeys[0][0] = 'S' | 'T' << 8, keys.buttonKeys[0][1] = 'R' | 'I' << 8;
    keys.buttonKeys[5][0] = 'M' | 'I' << 8, keys.buttonKeys[5][1] = 'S' | 'C' << 8;
    keys.buttonKeys[9][0] = 'M' | 'O' << 8, keys.buttonKeys[9][1] = 'U' | 'S' << 8;

    ASSERT_TRUE(decode(encodePresetFile(*source_)));
    expectTargetHoldsSource(3);
}

TEST_F(PresetFileTest, ForeignFileWithALongerVersionTextLoads) {
    const Bytes file = encodePresetFile(*source_);
    ASSERT_TRUE(decode(slice(file, 0, 21) + bytesOf("-beta2") + slice(file, 21, file.size())));
    expectTargetHoldsSource(3);
}

TEST_F(PresetFileTest, ForeignFileWithoutAVersionSectionLoads) {
    const Bytes file = encodePresetFile(*source_);
    ASSERT_TRUE(decode(slice(file, 0, 8) + slice(file, 21, file.size())));
    expectTargetHoldsSource(3);
}

TEST_F(PresetFileTest, ForeignFileWithGapsBetweenSectionsLoads) {
    const Bytes file = encodePresetFile(*source_);
    const Layout l = layoutOf(*source_);
    const Bytes gap(5, 0);
    ASSERT_TRUE(decode(slice(file, 0, 29) + gap + slice(file, 29, l.stri) + gap + slice(file, l.stri, l.misc) +
                       gap + slice(file, l.misc, l.mous) + gap + slice(file, l.mous, l.end)));
    expectTargetHoldsSource(3);
}

TEST_F(PresetFileTest, ForeignFileWithMousBeforeMiscLoads) {
    const Bytes file = encodePresetFile(*source_);
    const Layout l = layoutOf(*source_);
    ASSERT_TRUE(decode(slice(file, 0, l.misc) + slice(file, l.mous, l.end) + slice(file, l.misc, l.mous)));
    expectTargetHoldsSource(3);
}

// ------------------------------------------------------- damaged files

TEST(PresetFileCount, CountAbove255LoadsTheFirst255Presets) {
    // A file of 300 presets, as another writer could make it: the records of
    // a 255-preset file followed by those of a 45-preset one.
    auto first = newTable();
    auto rest = newTable();
    for (int i = 0; i < kMaxPresets; ++i) fillPreset(first->presets[i], unsigned(i % 100 + 1));
    for (int i = 0; i < 45; ++i) fillPreset(rest->presets[i], unsigned(i + 101));
    // Tags inside the texts of presets the table cannot take.
    putText(rest->presets[15].gameName, "MISC MOUS");
    putText(rest->presets[16].exePath, "C:\\MOUS\\MISC.EXE");
    first->presetCount = kMaxPresets;
    rest->presetCount = 45;
    const Bytes a = encodePresetFile(*first);
    const Bytes b = encodePresetFile(*rest);
    const Layout la = layoutOf(*first);
    const Layout lb = layoutOf(*rest);
    const Bytes file = slice(a, 0, 27) + Bytes{300 & 0xFF, 300 >> 8} + slice(a, 29, la.stri) +
                       slice(b, 37, lb.stri) + slice(a, la.stri, la.misc) + slice(b, lb.stri + 6, lb.misc) +
                       slice(a, la.misc, la.mous) + slice(b, lb.misc + 8, lb.mous) + slice(a, la.mous, la.end) +
                       slice(b, lb.mous + 8, lb.end);

    auto target = newTable();
    for (int i = 0; i < kMaxPresets; ++i) fillPreset(target->presets[i], unsigned(i % 50 + 60));
    auto before = newTable();
    std::memcpy(before.get(), target.get(), sizeof(PresetTable));
    ASSERT_TRUE(decodePresetFile(file.data(), file.size(), *target));

    EXPECT_EQ(kMaxPresets, target->presetCount);
    for (int i = 0; i < kMaxPresets; ++i) {
        Preset want = before->presets[i];
        applyStoredFields(want, first->presets[i]);
        ASSERT_EQ("", presetDifference(target->presets[i], want)) << "preset " << i;
    }
}

// A count the records do not follow is damage, not a short table: the
// records a section would need for it run into the next section's tag, or
// past the end of the file.
TEST(PresetFileCount, ACountTheRecordsDoNotFollowRefusesTheFileAndChangesNothing) {
    auto source = newTable();
    fillPreset(source->presets[0], 1);
    fillPreset(source->presets[1], 2);
    source->presetCount = 2;
    const Bytes two = encodePresetFile(*source);
    const Layout l = layoutOf(*source);
    auto withCount = [](Bytes file, uint8_t low, uint8_t high) {
        file[27] = low;
        file[28] = high;
        return file;
    };
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"count 65535", withCount(two, 0xFF, 0xFF)},
        {"count 3, no MOUS section", withCount(slice(two, 0, l.mous), 3, 0)},
        {"count 3, bytes after MOUS", withCount(two + Bytes(2000, 0), 3, 0)},
    };
    for (const auto& c : cases) {
        auto target = newTable();
        for (int i = 0; i < kMaxPresets; ++i) fillPreset(target->presets[i], unsigned(i % 50 + 60));
        target->presetCount = 7;
        auto before = newTable();
        std::memcpy(before.get(), target.get(), sizeof(PresetTable));
        EXPECT_FALSE(decodePresetFile(c.file.data(), c.file.size(), *target)) << c.what;
        EXPECT_EQ(0, std::memcmp(before.get(), target.get(), sizeof(PresetTable))) << c.what;
    }
}

// The file cut at every length. A cut inside a section whose tag is left
// (CONF without its count, DATA, STRI, MISC or MOUS without all the records
// of the count) is a damaged file: refused, the table unchanged. A cut at a
// section's start, or inside its tag, leaves that section missing: the file
// loads, the sections it holds are read whole and every other value keeps
// its previous value, the count included. Nothing outside the bytes or the
// table is touched.
TEST_F(PresetFileTest, FileCutAtAnyLengthIsRefusedUnlessItEndsBetweenSections) {
    putText(source_->presets[1].gameName, "");
    putText(source_->presets[2].exePath, "c:\\a much longer path\\to the game.exe");
    const Bytes file = encodePresetFile(*source_);
    const Layout l = layoutOf(*source_);
    ASSERT_EQ(l.end, file.size());

    for (size_t length = 0; length <= file.size(); ++length) {
        for (int i = 0; i < kTargetFilled; ++i) target_->presets[i] = targetBefore_[i];
        target_->presetCount = kTargetFilled;
        // A copy of exactly `length` bytes, so that the sanitizers see any read past them.
        const Bytes cut = slice(file, 0, length);

        const bool accepted = decodePresetFile(cut.data(), cut.size(), *target_);

        // Where the writer put each section's tag and where the section ends.
        const struct { size_t tag, end; } sections[] = {
            {21, 29}, {29, l.stri}, {l.stri, l.misc}, {l.misc, l.mous}, {l.mous, l.end}};
        bool cutInside = false;
        for (const auto& section : sections) cutInside |= length >= section.tag + 4 && length < section.end;
        ASSERT_EQ(length >= 8 && !cutInside, accepted) << "length " << length;
        if (!accepted) {
            ASSERT_EQ(kTargetFilled, target_->presetCount) << "length " << length;
            for (int i = 0; i < kTargetFilled; ++i)
                ASSERT_EQ("", presetDifference(target_->presets[i], targetBefore_[i])) << "length " << length;
            continue;
        }
        auto whole = [&](size_t offset, size_t width) { return offset + width <= length; };
        const int count = whole(27, 2) ? 3 : kTargetFilled;
        ASSERT_EQ(count, target_->presetCount) << "length " << length;
        size_t text = l.stri + 6;
        for (int i = 0; i < kTargetFilled; ++i) {
            Preset want = targetBefore_[i];
            if (i < 3) {
                const Preset& src = source_->presets[i];
                const size_t data = 37 + 1394 * size_t(i);
                if (whole(data, 2)) want.gameType = src.gameType;
                for (int k = 0; k < 4; ++k)
                    if (whole(data + 2 + 2 * k, 2)) want.axisFunction[k] = src.axisFunction[k];
                for (int s = 0; s < kAxisSlots; ++s) {
                    const size_t at = data + 10 + 10 * s;
                    if (whole(at, 2)) want.curveType[s] = src.curveType[s] & 0xFFFFu;
                    if (whole(at + 2, 2)) want.curveP1x[s] = src.curveP1x[s];
                    if (whole(at + 4, 2)) want.curveP1y[s] = src.curveP1y[s];
                    if (whole(at + 6, 2)) want.curveP2x[s] = src.curveP2x[s];
                    if (whole(at + 8, 2)) want.curveP2y[s] = src.curveP2y[s];
                }
                for (int slot = 0; slot < kEmulationSlots; ++slot)
                    for (int k = 0; k < kStoredKeysPerSlot; ++k)
                        if (whole(data + 50 + 64 * slot + 2 * k, 2)) want.buttonKeys[slot][k] = src.buttonKeys[slot][k];

                const size_t nameLength = std::strlen(src.gameName), pathLength = std::strlen(src.exePath);
                if (whole(text, 1 + nameLength)) overlayText(want.gameName, src.gameName);
                text += 1 + nameLength;
                if (whole(text, 1 + pathLength)) overlayText(want.exePath, src.exePath);
                text += 1 + pathLength;

                const size_t misc = l.misc + 8 + 30 * size_t(i);
                for (int k = 0; k < 2; ++k)
                    if (whole(misc + 2 * k, 2)) want.mouseEmulation[k] = src.mouseEmulation[k];
                for (int k = 0; k < 7; ++k)
                    if (whole(misc + 4 + 2 * k, 2)) want.miscWord[k] = src.miscWord[k];
                for (int k = 0; k < 2; ++k)
                    if (whole(misc + 18 + 2 * k, 2)) want.extraValue[k] = src.extraValue[k] & 0xFFFFu;
                if (whole(misc + 22, 4)) want.pedalsLinked = src.pedalsLinked;
                if (whole(misc + 26, 4)) want.axisInvert = src.axisInvert;

                const size_t mous = l.mous + 8 + 34 * size_t(i);
                for (int k = 0; k < 2; ++k)
                    if (whole(mous + k, 1)) want.mouseSetting[k] = src.mouseSetting[k] & 0xFFu;
                for (int k = 0; k < 6; ++k) {
                    if (whole(mous + 2 + 4 * k, 2)) want.mouseParamA[k] = src.mouseParamA[k];
                    if (whole(mous + 4 + 4 * k, 2)) want.mouseParamB[k] = src.mouseParamB[k];
                }
                for (int k = 0; k < 4; ++k)
                    if (whole(mous + 26 + 2 * k, 2)) want.clickMask[k] = src.clickMask[k];
            }
            ASSERT_EQ("", presetDifference(target_->presets[i], want)) << "length " << length << ", preset " << i;
        }
    }
}

}  // namespace
}  // namespace zentra
