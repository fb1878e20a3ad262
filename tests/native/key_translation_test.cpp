// Key translation: recorded key codes into the keyboard usages and modifier
// byte of a button entry, the two lookup tables, and the limits of a slot.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "driver/key_translation.h"
#include "driver_test_support.h"

namespace zentra {
namespace {

// A slot holding `codes` followed by zeros, translated into an entry that
// starts out full of garbage.
ButtonEntry translate(std::initializer_list<KeyCode> codes) {
    KeyCode slot[kKeysPerSlot] = {};
    int j = 0;
    for (KeyCode c : codes) slot[j++] = c;
    ButtonEntry entry;
    std::memset(&entry, 0xA5, sizeof entry);
    translateSlot(slot, entry);
    return entry;
}

std::vector<int> usages(const ButtonEntry& e, int count) { return std::vector<int>(e.usage, e.usage + count); }

// The usage of one code alone, and the modifier bits it adds.
std::pair<int, int> one(KeyCode code) {
    uint16_t modifiers = 0;
    const uint16_t usage = translateKey(code, modifiers);
    return {usage, modifiers};
}

// The make codes below 0x100 by usage, and the usages holding a prefixed code.
std::map<int, uint16_t> plainCodesByUsage() {
    std::map<int, uint16_t> m;
    auto run = [&m](int first, std::initializer_list<uint16_t> codes) {
        for (uint16_t c : codes) m[first++] = c;
    };
    run(1, {0xFF, 0xFC});
    run(4, {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
            0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C});
    run(30, {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B});
    run(40, {0x1C, 0x01, 0x0E, 0x0F, 0x39, 0x0C, 0x0D, 0x1A, 0x1B, 0x2B, 0x2B, 0x27, 0x28, 0x29, 0x33, 0x34, 0x35,
             0x3A});
    run(58, {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44});
    run(68, {0x57, 0x58});
    run(71, {0x46});
    run(85, {0x37, 0x4A, 0x4E});
    run(89, {0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49, 0x52, 0x53});
    run(100, {0x56});
    run(103, {0x59, 0x5D, 0x5E, 0x5F});
    run(133, {0x7E});
    run(135, {0x73, 0x70, 0x7D, 0x79, 0x7B, 0x5C});
    run(144, {0xF2, 0xF1, 0x78, 0x77, 0x76});
    run(224, {0x1D, 0x2A, 0x38});
    run(229, {0x36});
    return m;
}

std::set<int> prefixedUsages() {
    std::set<int> s = {70, 84, 88, 101, 227, 228, 230, 231, 240, 241};
    for (int u = 73; u <= 82; ++u) s.insert(u);
    for (int u = 233; u <= 237; ++u) s.insert(u);
    for (int u = 246; u <= 255; ++u) s.insert(u);
    return s;
}

// --------------------------------------------------------------- one slot

TEST(TranslateSlot, CtrlAThenBGivesUsagesFourAndFiveAndLeftCtrl) {
    const ButtonEntry e = translate({0x11E, 0x30});
    EXPECT_EQ((std::vector<int>{4, 5, 0}), usages(e, 3));
    EXPECT_EQ(1, e.modifiers);
}

TEST(TranslateSlot, TwoCodesBothCarryingLeftCtrlGiveModifierByteOne) {
    const ButtonEntry e = translate({0x11E, 0x130});
    EXPECT_EQ((std::vector<int>{4, 5, 0}), usages(e, 3));
    EXPECT_EQ(1, e.modifiers);
}

TEST(TranslateSlot, LeftWindowsKeyAloneGivesUsage0x99AndLeftGui) {
    const ButtonEntry e = translate({0xDB});
    EXPECT_EQ((std::vector<int>{0x99, 0}), usages(e, 2));
    EXPECT_EQ(8, e.modifiers);
}

TEST(TranslateSlot, RightWindowsKeyAloneGivesUsage0x99AndRightGui) {
    const ButtonEntry e = translate({0xDC});
    EXPECT_EQ((std::vector<int>{0x99, 0}), usages(e, 2));
    EXPECT_EQ(128, e.modifiers);
}

TEST(TranslateSlot, EmptySlotGivesAnAllZeroEntry) {
    const ButtonEntry e = translate({});
    const ButtonEntry zero = {};
    EXPECT_EQ(0, std::memcmp(&e, &zero, sizeof e));
}

TEST(TranslateSlot, CodeWithoutAnEntryStillAddsItsModifierBitsAndTheSequenceGoesOn) {
    // Left Alt with the left Windows key's code: the low byte 0xDB is in
    // neither table, and only the exact code 0xDB means the Windows key.
    const ButtonEntry e = translate({0x10DB, 0x1E});
    EXPECT_EQ((std::vector<int>{0, 4, 0}), usages(e, 3));
    EXPECT_EQ(4, e.modifiers);
}

TEST(TranslateSlot, ModifierWithoutAKeyGivesUsageZeroAndDoesNotEndTheSequence) {
    const ButtonEntry e = translate({kLeftShift, 0x30});
    EXPECT_EQ((std::vector<int>{0, 5, 0}), usages(e, 3));
    EXPECT_EQ(2, e.modifiers);
}

TEST(TranslateSlot, ModifierByteGathersTheBitsOfTheWholeSequence) {
    const ButtonEntry e = translate({uint16_t(kLeftShift | 0x1E), uint16_t(kRightCtrl | 0x30), 0x2E,
                                     uint16_t(kRightAlt | kLeftAlt | 0x20)});
    EXPECT_EQ((std::vector<int>{4, 5, 6, 7, 0}), usages(e, 5));
    EXPECT_EQ(2 | 16 | 4 | 64, e.modifiers);
}

TEST(TranslateSlot, CodesAfterTheFirstZeroAreIgnored) {
    const ButtonEntry e = translate({0x1E, 0, 0x30, 0x2E});
    EXPECT_EQ((std::vector<int>{4, 0, 0, 0}), usages(e, 4));
    EXPECT_EQ(0, e.modifiers);
}

TEST(TranslateSlot, ThirtyTwoCodesFillUsagesZeroToThirtyOneAndLeaveTheRestZero) {
    // Scan codes 0x02..0x0B are the digits (usages 30..39), 0x10..0x19 the
    // top letter row, 0x1E..0x26 and 0x2C..0x2E letters.
    const std::vector<KeyCode> codes = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x10,
                                        0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1E, 0x1F,
                                        0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x2C, 0x2D, 0x2E};
    const std::vector<int> expected = {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 20, 26, 8,  21, 23, 28,
                                       24, 12, 18, 19, 4,  22, 7,  9,  10, 11, 13, 14, 15, 29, 27, 6};
    ASSERT_EQ(32u, codes.size());
    KeyCode slot[kKeysPerSlot] = {};
    for (size_t j = 0; j < codes.size(); ++j) slot[j] = uint16_t(codes[j] | (j == 5 ? kRightShift : 0));
    ButtonEntry e;
    std::memset(&e, 0xA5, sizeof e);
    translateSlot(slot, e);

    EXPECT_EQ(expected, usages(e, 32));
    EXPECT_EQ(std::vector<int>(8, 0), std::vector<int>(e.usage + 32, e.usage + 40));
    EXPECT_EQ(0, e.reserved);
    EXPECT_EQ(32, e.modifiers);
}

TEST(TranslateSlot, FortyCodesFillEveryUsageAndStopThere) {
    KeyCode slot[kKeysPerSlot];
    for (int j = 0; j < kKeysPerSlot; ++j) slot[j] = uint16_t(kLeftCtrl | 0x1E);  // Ctrl+A forty times
    ButtonEntry e;
    std::memset(&e, 0xA5, sizeof e);
    translateSlot(slot, e);

    EXPECT_EQ(std::vector<int>(40, 4), usages(e, 40));
    EXPECT_EQ(0, e.reserved);
    EXPECT_EQ(1, e.modifiers);
}

// --------------------------------------------------------------- one code

TEST(TranslateKey, SwappedNumLockAndPauseCodesGiveTheirUsages) {
    EXPECT_EQ(std::make_pair(83, 0), one(0xC5));
    EXPECT_EQ(std::make_pair(72, 0), one(0x45));
}

TEST(TranslateKey, PrintScreenGivesUsage70AndKeypadEnterUsage88) {
    EXPECT_EQ(std::make_pair(70, 0), one(0xB7));
    EXPECT_EQ(std::make_pair(88, 0), one(0x9C));
}

TEST(TranslateKey, EachModifierBitAddsItsOwnUsbBitAndTheKeyIsTheLowByte) {
    const std::pair<KeyCode, int> bits[] = {
        {kLeftCtrl, 1}, {kRightCtrl, 16}, {kLeftShift, 2}, {kRightShift, 32}, {kLeftAlt, 4}, {kRightAlt, 64},
    };
    for (const auto& b : bits) {
        EXPECT_EQ(std::make_pair(4, b.second), one(uint16_t(b.first | 0x1E))) << std::hex << b.first;
        EXPECT_EQ(std::make_pair(83, b.second), one(uint16_t(b.first | 0xC5))) << std::hex << b.first;
    }
}

TEST(TranslateKey, WindowsKeyCodeWithoutItsGuiMeaningStillGivesUsage0x99) {
    EXPECT_EQ(std::make_pair(0x99, 0), one(0x99));
}

TEST(TranslateKey, RightWindowsKeyWithAModifierGivesUsageZeroAndOnlyThatModifier) {
    EXPECT_EQ(std::make_pair(0, 1), one(uint16_t(kLeftCtrl | 0xDC)));
}

TEST(TranslateKey, HighBitsThatAreNoModifierMakeTheCodeMatchNothing) {
    EXPECT_EQ(std::make_pair(0, 0), one(0x401E));
    EXPECT_EQ(std::make_pair(0, 0), one(0x8030));
}

TEST(TranslateKey, CodesInNeitherTableGiveUsageZero) {
    for (KeyCode code : {0x54, 0x55, 0x5A, 0x60, 0x80, 0xB6, 0xC0, 0xD4, 0xDE, 0xFE}) {
        EXPECT_EQ(std::make_pair(0, 0), one(code)) << std::hex << code;
    }
}

TEST(TranslateKey, ModifierBitsAreAddedToThoseAlreadyGathered) {
    uint16_t modifiers = 8;
    EXPECT_EQ(5, translateKey(uint16_t(kRightAlt | 0x30), modifiers));
    EXPECT_EQ(8 | 64, modifiers);
}

// ------------------------------------------------------------ the tables

TEST(KeyUsageTable, HoldsTheMakeCodeOfEachUsageAndThePrefixedCodesWhereTheyBelong) {
    const auto plain = plainCodesByUsage();
    const auto prefixed = prefixedUsages();
    for (int u = 0; u < 256; ++u) {
        const uint16_t entry = KeyUsageTable[u];
        if (plain.count(u))
            EXPECT_EQ(plain.at(u), entry) << "usage " << u;
        else if (prefixed.count(u))
            EXPECT_EQ(0xE000, entry & 0xFF00) << "usage " << u;
        else
            EXPECT_EQ(0, entry) << "usage " << u;
    }
}

TEST(KeyUsageTable, EveryMakeCodeTranslatesToTheFirstUsageHoldingIt) {
    std::map<uint16_t, int> firstUsage;
    for (const auto& [usage, code] : plainCodesByUsage())
        if (!firstUsage.count(code)) firstUsage[code] = usage;
    ASSERT_EQ(49, firstUsage.at(0x2B));  // usages 49 and 50 share it

    for (const auto& [code, usage] : firstUsage) EXPECT_EQ(std::make_pair(usage, 0), one(code)) << std::hex << code;
}

TEST(ExtendedKeyTable, HoldsTheCodesOfTheKeysTheFirstTableCannotMatch) {
    const std::vector<uint16_t> expected = {0xB7, 0xC6, 0x45, 0xD2, 0xC7, 0xC9, 0xD3, 0xCF, 0xD1, 0xCD, 0xCB,
                                            0xD0, 0xC8, 0xC5, 0xB5, 0xB7, 0xCA, 0xCE, 0x9C, 0xCF, 0xD0, 0xD1,
                                            0xCB, 0xCC, 0xCD, 0xC7, 0xC8, 0xC9, 0xD2, 0xD3, 0xD6, 0xDD};
    EXPECT_EQ(expected, std::vector<uint16_t>(ExtendedKeyTable, ExtendedKeyTable + 32));
}

TEST(ExtendedKeyTable, EachCodeGivesSeventyPlusItsFirstPosition) {
    // Repeated codes keep the usage of their first position.
    const std::pair<KeyCode, int> expected[] = {
        {0xC6, 71}, {0x45, 72}, {0xD2, 73}, {0xC7, 74}, {0xC9, 75}, {0xD3, 76}, {0xCF, 77},
        {0xD1, 78}, {0xCD, 79}, {0xCB, 80}, {0xD0, 81}, {0xC8, 82}, {0xC5, 83}, {0xB5, 84},
        {0xCA, 86}, {0xCE, 87}, {0x9C, 88}, {0xCC, 93}, {0xD6, 100}, {0xDD, 101},
    };
    for (const auto& e : expected) EXPECT_EQ(std::make_pair(e.second, 0), one(e.first)) << std::hex << e.first;
}

}  // namespace
}  // namespace zentra
