// The button page's decoder and slot rules.
#include "cpl/pages/button_page_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>

#include "cpl/pages/key_names_memory.h"

namespace zentra {
namespace {

constexpr uint32_t kDown = 0x80, kUp = 0x00;
KeyEvent down(uint8_t c) { return {c, kDown}; }
KeyEvent up(uint8_t c) { return {c, kUp}; }

std::vector<KeyCode> decodeAll(const std::vector<KeyEvent>& events) {
    uint16_t pending = 0;
    std::vector<KeyCode> codes;
    for (const KeyEvent& e : events) {
        KeyCode code = 0;
        if (decodeKeyEvent(pending, e, code)) codes.push_back(code);
    }
    return codes;
}

struct DecoderCase {
    const char* what;
    std::vector<KeyEvent> events;
    std::vector<KeyCode> codes;
};

TEST(KeyDecoder, TurnsPressesAndReleasesIntoKeyCodes) {
    const DecoderCase cases[] = {
        {"Ctrl, Shift, A", {down(0x1D), down(0x2A), down(0x1E), up(0x1E), up(0x2A), up(0x1D)}, {0x051E}},
        {"Ctrl held over A then B", {down(0x1D), down(0x1E), up(0x1E), down(0x30), up(0x30), up(0x1D)}, {0x011E, 0x0030}},
        {"Shift alone", {down(0x2A), up(0x2A)}, {0x0400}},
        {"right Alt with right Ctrl held", {down(0x9D), down(0xB8), up(0xB8)}, {0x2200}},
        {"B pressed while A pending", {down(0x1E), down(0x30), up(0x1E), up(0x30)}, {0x001E}},
        {"Ctrl held over Pause", {down(0x1D), down(0xC5), up(0xC5), up(0x1D)}, {0x0045}},
        {"Num Lock", {down(0x45), up(0x45)}, {0x00C5}},
        {"Pause", {down(0xC5), up(0xC5)}, {0x0045}},
        {"right Shift", {down(0x36), down(0x1E), up(0x1E), up(0x36)}, {0x081E}},
        {"both Shift keys", {down(0x2A), down(0x36), down(0x1E), up(0x1E), up(0x36), up(0x2A)}, {0x0C1E}},
        {"Alt followed by a key", {down(0x38), down(0x1E), up(0x1E), up(0x38)}, {0x101E}},
        {"modifier released while a key is pending", {down(0x1D), down(0x1E), up(0x1D), up(0x1E)}, {0x001E}},
        {"scan code 0", {down(0), up(0)}, {}},
        {"release without press", {up(0x1E), up(0x2A)}, {}},
    };
    for (const DecoderCase& c : cases) EXPECT_EQ(c.codes, decodeAll(c.events)) << c.what;
}

// A keyboard whose reads and acquisitions answer from scripts.
class ScriptedKeyboard final : public KeyboardDevice {
public:
    std::vector<long> reads, acquisitions;
    int readCalls = 0, acquireCalls = 0;
    long readEvents(std::vector<KeyEvent>& events) override {
        events.clear();
        const long result = reads[size_t(readCalls++)];
        if (result >= 0) events.push_back(down(0x1E));
        return result;
    }
    long acquire() override { return acquisitions[size_t(acquireCalls++)]; }
};

TEST(KeyboardRead, AFailedReadAcquiresAgainAndReadsOnceMoreOnlyWhenAlreadyAcquired) {
    constexpr long kFailed = -2147024891;
    const struct {
        const char* what;
        std::vector<long> reads, acquisitions;
        bool ok;
        size_t events;
        int readCalls;
    } cases[] = {
        {"read succeeds", {0}, {}, true, 1, 1},
        {"lost, acquired now", {kFailed}, {0}, true, 0, 1},
        {"lost, already acquired", {kFailed, 0}, {1}, true, 1, 2},
        {"lost, cannot acquire", {kFailed}, {kFailed}, false, 0, 1},
    };
    for (const auto& c : cases) {
        ScriptedKeyboard keyboard;
        keyboard.reads = c.reads;
        keyboard.acquisitions = c.acquisitions;
        std::vector<KeyEvent> events;
        EXPECT_EQ(c.ok, readKeyboard(&keyboard, events)) << c.what;
        EXPECT_EQ(c.events, events.size()) << c.what;
        EXPECT_EQ(c.readCalls, keyboard.readCalls) << c.what;
    }
    std::vector<KeyEvent> events{down(1)};
    EXPECT_TRUE(readKeyboard(nullptr, events)) << "no keyboard device";
    EXPECT_TRUE(events.empty());
}

Preset emptyPreset() {
    Preset p{};
    return p;
}

// Random clicks, mouse commands, Clear, the sheet coming and going, and
// keys typed all the while into one buffer, read as the page's timer reads
// it. Keys typed while the page did not read keys for the selected slot
// with the sheet in front are "secret" (Q to P): none may ever be recorded.
// A recorded code lands only in the selected slot, in its first 32 entries.
TEST(KeyDecoder, RandomStreamsLandOnlyInTheSelectedSlotAndNeverFromKeysTypedElsewhere) {
    std::mt19937 random(12345);
    const uint8_t keys[] = {0x1D, 0x9D, 0x2A, 0x36, 0x38, 0xB8, 0x1E, 0x30, 0x45, 0xC5, 0x00, 0xFF, 0xC8};
    auto secret = [](KeyCode code) { return (code & 0xFF) >= 0x10 && (code & 0xFF) <= 0x19; };
    for (int run = 0; run < 200; ++run) {
        Preset preset = emptyPreset();
        ButtonPageState page{};
        openButtonPage(page, preset);
        bool inFront = true;
        std::vector<KeyEvent> buffer;
        for (int i = 0; i < 400; ++i) {
            switch (random() % 12) {
            case 0: clickSelect(page, int(random() % kPageSlots)); break;
            case 1: assignMouseButton(page, preset, random() % 2 == 0); break;
            case 2: clearSlot(page, preset), buffer.clear(); break;
            case 3: inFront = !inFront; break;
            default: break;
            }
            const bool live = inFront && readsKeys(page) && page.liveSlot == page.selectedSlot;
            for (uint32_t k = random() % 3; k > 0 && buffer.size() < size_t(kKeyboardBufferEvents); --k) {
                const uint8_t c = live ? keys[random() % sizeof keys] : uint8_t(0x10 + random() % 10);
                buffer.push_back(KeyEvent{c, random() % 2 ? kDown : kUp});
            }
            const Preset before = preset;
            const KeyboardStep step = keyboardStep(page, inFront);
            if (step == KeyboardStep::Flush) buffer.clear();
            if (step != KeyboardStep::Decode) continue;
            takeKeyEvents(page, preset, buffer);
            buffer.clear();
            for (int s = 0; s < kEmulationSlots; ++s) {
                for (int k = 0; k < kStoredKeysPerSlot; ++k) ASSERT_FALSE(secret(preset.buttonKeys[s][k])) << "slot " << s;
                if (s == page.selectedSlot) continue;
                ASSERT_EQ(0, std::memcmp(before.buttonKeys[s], preset.buttonKeys[s], sizeof preset.buttonKeys[s]))
                    << "slot " << s << " changed while slot " << page.selectedSlot << " recorded";
            }
            for (uint16_t count : page.keyCount) ASSERT_LE(count, 32);
        }
        for (int s = 0; s < kEmulationSlots; ++s)
            for (int k = kStoredKeysPerSlot; k < kKeysPerSlot; ++k) ASSERT_EQ(0, preset.buttonKeys[s][k]);
    }
}

TEST(ButtonSlots, The33rdCodeOverwritesEntry31AndTheBoxShowsIt) {
    Preset preset = emptyPreset();
    ButtonPageState page{};
    openButtonPage(page, preset);
    clickSelect(page, 4);
    for (int i = 1; i <= 33; ++i) recordCode(page, preset, KeyCode(i));
    EXPECT_EQ(32, page.keyCount[4]);
    EXPECT_EQ(31, preset.buttonKeys[4][30]);
    EXPECT_EQ(33, preset.buttonKeys[4][31]);
    EXPECT_EQ(0, preset.buttonKeys[4][32]);
}

// A slot read from a file with 32 codes shows 30; recording into it must
// not leave entries 31 and 32 for the wheel to type unseen.
TEST(ButtonSlots, RecordingIntoAFullSlotKeepsNothingTheBoxDoesNotShow) {
    Preset preset = emptyPreset();
    for (int i = 0; i < 32; ++i) preset.buttonKeys[4][i] = 0x1E;
    preset.buttonKeys[4][32] = 0x1E;  // past what a file holds: not the page's
    ButtonPageState page{};
    openButtonPage(page, preset);
    clickSelect(page, 4);
    recordCode(page, preset, 0x30);
    EXPECT_EQ(31, page.keyCount[4]);
    EXPECT_EQ(0x30, preset.buttonKeys[4][30]);
    EXPECT_EQ(0, preset.buttonKeys[4][31]);
    EXPECT_EQ(0x1E, preset.buttonKeys[4][32]);
    std::string box;
    for (int i = 0; i < 30; ++i) box += "   A";
    EXPECT_EQ(box + "   B", slotKeysText(page, preset, 4, usKeyNames()));
}

TEST(ButtonSlots, OpeningCountsAtMost30CodesAndResetsTheSelection) {
    Preset preset = emptyPreset();
    for (int i = 0; i < 32; ++i) preset.buttonKeys[2][i] = 0x1E;
    preset.buttonKeys[18][0] = 0x30;
    preset.clickMask[0] = 0x0006;  // slots 1 and 3 right button
    preset.clickMask[1] = 0x8005;  // slots 0, 2 and 15 left button
    ButtonPageState page{};
    page.selectedSlot = 7, page.recording = true, page.selectDown[7] = true;
    openButtonPage(page, preset);
    EXPECT_EQ(0, page.selectedSlot);
    EXPECT_FALSE(page.recording);
    EXPECT_FALSE(page.selectDown[7]) << "no button drawn pressed without recording";
    EXPECT_EQ(30, page.keyCount[2]);
    EXPECT_EQ(1, page.keyCount[18]);
    EXPECT_EQ(SlotShows::LeftMouse, slotShows(page, 0));
    EXPECT_EQ(SlotShows::RightMouse, slotShows(page, 1));
    EXPECT_EQ(SlotShows::RightMouse, slotShows(page, 2)) << "both flags: Mouse 2's text replaces Mouse 1's";
    EXPECT_EQ(SlotShows::LeftMouse, slotShows(page, 15));
    EXPECT_EQ(SlotShows::Keys, slotShows(page, 18));
    openButtonPage(page, preset, 13);
    EXPECT_EQ(13, page.selectedSlot) << "the D-pad tab starts on its own first slot";
    Preset back = emptyPreset();
    closeButtonPage(page, back);
    EXPECT_EQ(0x0006, back.clickMask[0]);
    EXPECT_EQ(0x8005, back.clickMask[1]);
}

TEST(ButtonSlots, SelectStartsMovesAndStopsRecording) {
    Preset preset = emptyPreset();
    ButtonPageState page{};
    openButtonPage(page, preset);
    page.pendingKey = 0x001E;  // a key whose release was never read
    SelectOutcome start = clickSelect(page, 3);
    EXPECT_TRUE(start.flushKeyboard);
    EXPECT_TRUE(page.recording);
    EXPECT_EQ(0, page.pendingKey) << "a stale pending key would block every later key";
    EXPECT_EQ((std::vector<int>{0, 3}), start.redraw);
    SelectOutcome move = clickSelect(page, 9);
    EXPECT_FALSE(move.flushKeyboard);
    EXPECT_EQ(3, move.previousSlot);
    EXPECT_FALSE(page.selectDown[3]);
    EXPECT_TRUE(page.selectDown[9] && page.recording);
    clickSelect(page, 9);
    EXPECT_FALSE(page.recording);
    EXPECT_EQ(9, page.selectedSlot);
}

// Every way reading keys for a slot starts again empties the buffer first:
// what waits there was typed for another slot, into another program, or
// while no slot took keys.
TEST(ButtonSlots, KeysAreDecodedOnlyAfterAFlushForTheSlotAndTheSheetInFront) {
    Preset preset = emptyPreset();
    ButtonPageState page{};
    openButtonPage(page, preset);
    const KeyboardStep idle = KeyboardStep::Idle, flush = KeyboardStep::Flush, decode = KeyboardStep::Decode;
    const struct {
        const char* what;
        std::function<void()> act;
        bool inFront;
        KeyboardStep step;
    } steps[] = {
        {"not recording", [] {}, true, idle},
        {"slot 4 records", [&] { clickSelect(page, 4); }, true, flush},
        {"", [] {}, true, decode},
        {"Mouse 1 on slot 4", [&] { assignMouseButton(page, preset, true); }, true, idle},
        {"slot 5 records", [&] { clickSelect(page, 5); }, true, flush},
        {"", [] {}, true, decode},
        {"another program in front", [] {}, false, idle},
        {"the sheet back in front", [] {}, true, flush},
        {"", [] {}, true, decode},
        {"the About box took keys between two ticks", [&] { keysWentElsewhere(page); }, true, flush},
        {"", [] {}, true, decode},
        {"back to slot 4, a mouse slot", [&] { clickSelect(page, 4); }, true, idle},
        {"Clear removes the mouse flag", [&] { clearSlot(page, preset); }, true, flush},
        {"recording stopped", [&] { clickSelect(page, 4); }, true, idle},
        {"and started again", [&] { clickSelect(page, 4); }, true, flush},
    };
    for (const auto& s : steps) {
        s.act();
        page.pendingKey = 0x041E;  // Shift and A held from before
        const KeyboardStep step = keyboardStep(page, s.inFront);
        EXPECT_EQ(int(s.step), int(step)) << s.what;
        if (step == flush) {
            EXPECT_EQ(0, page.pendingKey) << s.what;
        }
    }
}

TEST(ButtonSlots, AFailedKeyboardStopsRecordingAndSaysSoOncePerOpening) {
    Preset preset = emptyPreset();
    ButtonPageState page{};
    openButtonPage(page, preset);
    clickSelect(page, 3);
    KeyboardFailure failure = keyboardFailed(page);
    EXPECT_EQ(3, failure.redrawSlot);
    EXPECT_TRUE(failure.showError);
    EXPECT_FALSE(page.recording);
    EXPECT_FALSE(page.selectDown[3]) << "the record button comes up";
    clickSelect(page, 3);
    EXPECT_TRUE(page.recording) << "a record click tries again";
    EXPECT_FALSE(keyboardFailed(page).showError);
    openButtonPage(page, preset);
    clickSelect(page, 3);
    EXPECT_TRUE(keyboardFailed(page).showError);
}

TEST(ButtonSlots, MouseButtonsReplaceKeysOnlyWhileRecordingAndOnlyWhereFlagsExist) {
    Preset preset = emptyPreset();
    ButtonPageState page{};
    openButtonPage(page, preset);
    page.selectedSlot = 5;
    EXPECT_FALSE(assignMouseButton(page, preset, true)) << "not recording";
    clickSelect(page, 5);
    recordCode(page, preset, 0x1E);
    ASSERT_TRUE(assignMouseButton(page, preset, false));
    EXPECT_EQ(0, page.keyCount[5]);
    EXPECT_EQ(0, preset.buttonKeys[5][0]);
    EXPECT_EQ(SlotShows::RightMouse, slotShows(page, 5));
    EXPECT_FALSE(readsKeys(page)) << "a mouse slot takes no keys";
    ASSERT_TRUE(assignMouseButton(page, preset, true));
    EXPECT_EQ(SlotShows::LeftMouse, slotShows(page, 5));
    EXPECT_FALSE(page.rightClick[5]);
    EXPECT_FALSE(readsKeys(page)) << "Mouse 1 alone takes no keys either";
    clickSelect(page, 17);
    recordCode(page, preset, 0x30);
    EXPECT_FALSE(assignMouseButton(page, preset, true)) << "the click words have no bit for slot 17";
    EXPECT_EQ(0x30, preset.buttonKeys[17][0]);
}

TEST(ButtonSlots, ClearEmptiesTheSlotAndItsMouseFlags) {
    Preset preset = emptyPreset();
    for (int i = 0; i < kKeysPerSlot; ++i) preset.buttonKeys[6][i] = 0x1E;
    preset.clickMask[1] = 1 << 6;
    ButtonPageState page{};
    openButtonPage(page, preset);
    page.selectedSlot = 6;
    page.pendingKey = 0x041E;  // Shift and A pressed, their releases thrown away with the buffer
    clearSlot(page, preset);
    EXPECT_EQ(0, page.pendingKey);
    EXPECT_EQ(SlotShows::Keys, slotShows(page, 6));
    EXPECT_EQ(0, page.keyCount[6]);
    EXPECT_EQ(0, preset.buttonKeys[6][31]);
    EXPECT_EQ(0x1E, preset.buttonKeys[6][32]) << "entries past 32 are not the page's";
}

TEST(ButtonSlots, TheBoxShowsTheRecordedCodesWithTheSystemsNames) {
    Preset preset = emptyPreset();
    preset.buttonKeys[12][0] = 0x051E;
    preset.buttonKeys[12][1] = 0x0030;
    preset.buttonKeys[12][2] = 0x0030;
    ButtonPageState page{};
    openButtonPage(page, preset);
    page.keyCount[12] = 2;
    EXPECT_EQ("   Ctrl+Shift+A   B", slotKeysText(page, preset, 12, usKeyNames()));
}

TEST(WheelSelection, ButtonsSelectTheirSlotsAndTheHatItsDirection) {
    ButtonPageState page{};
    uint8_t buttons[32] = {};
    EXPECT_EQ(-1, wheelSelection(page, SlotTab::Buttons, buttons, 0xFFFFFFFF));
    buttons[3] = 0x80;
    EXPECT_EQ(3, wheelSelection(page, SlotTab::Buttons, buttons, 0xFFFFFFFF));
    buttons[0] = 0x80;
    EXPECT_EQ(-1, wheelSelection(page, SlotTab::Buttons, buttons, 0xFFFFFFFF)) << "slot 0's button is still held";
    page.selectedSlot = 3;
    EXPECT_EQ(-1, wheelSelection(page, SlotTab::Buttons, buttons, 0xFFFFFFFF)) << "slot 3's button is still held";
    buttons[3] = 0;
    EXPECT_EQ(0, wheelSelection(page, SlotTab::Buttons, buttons, 0xFFFFFFFF)) << "released: the other one selects";
    page.selectedSlot = 0;
    buttons[0] = 0;
    buttons[14] = 0x80;
    EXPECT_EQ(-1, wheelSelection(page, SlotTab::Buttons, buttons, 0xFFFFFFFF)) << "past button 13";
    buttons[11] = 0x80;
    EXPECT_EQ(11, wheelSelection(page, SlotTab::Buttons, buttons, 0));
    const struct {
        uint32_t pov;
        int slot;
    } hats[] = {{0, 13}, {4500, 14}, {9000, 15}, {13500, 16}, {18000, 17}, {22500, 18},
                {27000, 19}, {31500, 20}, {35000, 13}, {0xFFFFFFFF, -1}, {0xFFFF, -1}};
    for (const auto& h : hats) EXPECT_EQ(h.slot, wheelSelection(page, SlotTab::Pov, buttons, h.pov)) << h.pov;
    page.selectedSlot = 15;
    EXPECT_EQ(-1, wheelSelection(page, SlotTab::Pov, buttons, 9000));
}

bool overlaps(const SkinRect& a, const SkinRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(KeyBox, ASequenceTooLongForTheBoxShowsItsEndAfterAnEllipsis) {
    const auto sixEach = [](const std::string& t) { return int(t.size()) * 6; };
    const struct {
        const char* text;
        int width;
        const char* shown;
        bool cut;
    } cases[] = {
        {"   A", 90, "   A", false},
        {"   Control+Shift+A", 108, "   Control+Shift+A", false},  // just fits
        {"   Control+Shift+A", 60, "...Shift+A", true},
        {"   A   B   C   D", 60, "...C   D", true},  // the spaces between keys are not counted at the cut
        {"   A", 12, "...", true},
        {"", 0, "", false},
    };
    for (const auto& c : cases) {
        const KeyBoxText box = keyBoxText(c.text, c.width, sixEach);
        EXPECT_EQ(c.shown, box.shown) << c.text << " in " << c.width;
        EXPECT_EQ(c.cut, box.cut) << c.text << " in " << c.width;
    }
}

TEST(SlotPlaces, EverySlotHasOneIdAndItsControlsStayClearOfEachOtherAndOfTheTabs) {
    std::vector<int> ids = {kClearId, kAboutId, kLeftMouseId, kRightMouseId};
    for (int slot = 0; slot < kPageSlots; ++slot) {
        const SlotPlace* place = findSlotPlace(slot);
        ASSERT_NE(nullptr, place) << slot;
        EXPECT_EQ(slot, slotOfSelectId(selectIdOf(slot)));
        ids.push_back(editIdOf(slot));
        ids.push_back(selectIdOf(slot));
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids.end(), std::adjacent_find(ids.begin(), ids.end()));
    EXPECT_EQ(1099, selectIdOf(15));
    EXPECT_EQ(1083, editIdOf(15));

    for (SlotTab tab : {SlotTab::Buttons, SlotTab::Pov}) {
        std::vector<SkinRect> controls = {kClearPlace, kAboutPlace, kLeftMousePlace, kRightMousePlace};
        for (const SlotPlace& p : slotPlaces(tab)) {
            controls.push_back(p.frame);
            EXPECT_TRUE(tabOfSlot(p.slot) == tab);
            // The box in its taller form (95 x 34) stays on the page.
            const SkinRect box = editPlace(p), tall{box.left, box.top, box.left + 95, box.top + 34};
            EXPECT_TRUE(tall.left >= 0 && tall.top >= 0 && tall.right <= 594 && tall.bottom <= 369) << p.slot;
        }
        for (size_t i = 0; i < controls.size(); ++i) {
            for (const SkinRect& hole : pageRegionHoles(1)) EXPECT_FALSE(overlaps(controls[i], hole)) << i;
            for (size_t j = i + 1; j < controls.size(); ++j) EXPECT_FALSE(overlaps(controls[i], controls[j])) << i << " " << j;
        }
    }
}

}  // namespace
}  // namespace zentra
