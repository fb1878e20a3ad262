// The button page's decisions: key decoder, slot rules, wheel selection and
// the places of the slots' controls.
#include "cpl/pages/button_page_logic.h"

#include <algorithm>
#include <cstring>

namespace zentra {

namespace {

constexpr uint8_t kPauseScan = 0xC5;
constexpr uint8_t kNumLockScan = 0x45;
constexpr int kFirstPovSlot = kWheelButtonSlots;  // 13
constexpr uint32_t kPovCentred = 0xFFFF;          // low word of a centred hat

ButtonPageState g_page;

// Both tabs' slots. Wheel buttons 1-8 keep their fixed places; buttons 9
// and 10 sit on the rim's left grip with their boxes in the left column,
// 11 and 12 on the paddle pod at the left, 13 on the wheel's base. The
// D-pad's boxes stand round the pad, one per direction, clockwise from up.
const std::vector<SlotPlace> kButtonTab = {
    {0, {310, 208, 431, 232}, {{431, 226}, {480, 226}, {480, 226}, {480, 226}}, false},
    {1, {310, 252, 431, 276}, {{431, 258}, {481, 258}, {481, 258}, {481, 258}}, false},
    {2, {169, 4, 290, 28}, {{279, 28}, {279, 160}, {253, 160}, {253, 160}}, false},
    {3, {309, 4, 430, 28}, {{319, 28}, {319, 160}, {344, 160}, {344, 160}}, true},
    {4, {6, 120, 127, 144}, {{127, 138}, {142, 138}, {142, 138}, {142, 138}}, false},
    {5, {468, 120, 589, 144}, {{467, 138}, {452, 138}, {452, 138}, {452, 138}}, true},
    {6, {120, 44, 241, 68}, {{230, 68}, {230, 175}, {230, 175}, {230, 175}}, false},
    {7, {354, 44, 475, 68}, {{365, 68}, {365, 175}, {365, 175}, {365, 175}}, true},
    {8, {6, 74, 127, 98}, {{127, 86}, {187, 86}, {187, 109}, {187, 109}}, false},
    {9, {6, 156, 127, 180}, {{127, 168}, {163, 168}, {163, 168}, {163, 168}}, false},
    {10, {169, 208, 290, 232}, {{169, 226}, {154, 226}, {154, 226}, {154, 226}}, true},
    {11, {169, 252, 290, 276}, {{169, 258}, {154, 258}, {154, 258}, {154, 258}}, true},
    {12, {169, 296, 290, 320}, {{290, 308}, {315, 308}, {315, 308}, {315, 308}}, false},
};

const std::vector<SlotPlace> kPovTab = {
    {13, {237, 60, 358, 84}, {{297, 84}, {297, 135}, {297, 135}, {297, 135}}, false},
    {14, {400, 90, 521, 114}, {{400, 102}, {336, 102}, {336, 151}, {336, 151}}, true},
    {15, {420, 178, 541, 202}, {{420, 190}, {352, 190}, {352, 190}, {352, 190}}, true},
    {16, {400, 266, 521, 290}, {{400, 278}, {336, 278}, {336, 229}, {336, 229}}, true},
    {17, {237, 296, 358, 320}, {{297, 296}, {297, 245}, {297, 245}, {297, 245}}, false},
    {18, {100, 266, 221, 290}, {{221, 278}, {258, 278}, {258, 229}, {258, 229}}, false},
    {19, {100, 178, 221, 202}, {{221, 190}, {242, 190}, {242, 190}, {242, 190}}, false},
    {20, {100, 90, 221, 114}, {{221, 102}, {258, 102}, {258, 151}, {258, 151}}, false},
};

// The number of codes a box shows of a stored slot.
uint16_t shownCount(const Preset& preset, int slot) {
    uint16_t n = 0;
    while (n < kShownAtOpening && preset.buttonKeys[slot][n] != 0) ++n;
    return n;
}

}  // namespace

bool hasMouseFlags(int slot) { return slot >= 0 && slot < kMouseSlots; }

uint8_t modifierBit(uint8_t scanCode) {
    switch (scanCode) {
    case 0x1D: return 0x01;  // left Ctrl
    case 0x9D: return 0x02;  // right Ctrl
    case 0x2A: return 0x04;  // left Shift
    case 0x36: return 0x08;  // right Shift
    case 0x38: return 0x10;  // left Alt
    case 0xB8: return 0x20;  // right Alt
    default: return 0;
    }
}

bool decodeKeyEvent(uint16_t& pendingKey, const KeyEvent& event, KeyCode& code) {
    const uint8_t c = event.scanCode;
    if (c == 0) return false;
    const uint8_t modifier = modifierBit(c);
    const uint8_t pendingScan = uint8_t(pendingKey & 0xFF);
    if (keyPressed(event)) {
        if (modifier)
            pendingKey = uint16_t(pendingKey | modifier << 8);
        else if (pendingScan == 0)
            pendingKey = uint16_t(pendingKey | c);
        // Another key while one is pending: one key is recorded at a time.
        return false;
    }
    if (modifier) {
        if (pendingScan != 0) {
            pendingKey = uint16_t(pendingKey & ~(modifier << 8));
            return false;
        }
        if (pendingKey == 0) return false;
        // Modifiers alone: recorded with scan code 0.
        code = pendingKey;
        pendingKey = 0;
        return true;
    }
    if (c != pendingScan) return false;
    // Pause and Num Lock are stored exchanged, without modifiers.
    if (c == kPauseScan)
        code = kNumLockScan;
    else if (c == kNumLockScan)
        code = kPauseScan;
    else
        code = pendingKey;
    pendingKey = 0;
    return true;
}

bool readKeyboard(KeyboardDevice* device, std::vector<KeyEvent>& events) {
    events.clear();
    if (!device) return true;
    if (device->readEvents(events) >= 0) return true;
    events.clear();
    const long acquired = device->acquire();
    if (acquired < 0) return false;
    if (acquired == 1 && device->readEvents(events) < 0) events.clear();
    return true;
}

ButtonPageState& buttonPageState() { return g_page; }
void resetButtonPageState() {
    g_page = ButtonPageState{};
    g_page.liveSlot = -1;
}

void openButtonPage(ButtonPageState& page, const Preset& preset, int firstSlot) {
    // A select button left down by the last opening would read as recording.
    for (bool& down : page.selectDown) down = false;
    page.selectedSlot = firstSlot >= 0 && firstSlot < kPageSlots ? firstSlot : 0;
    page.recording = false;
    page.liveSlot = -1;
    page.keyboardErrorShown = false;
    for (int slot = 0; slot < kPageSlots; ++slot) page.keyCount[slot] = shownCount(preset, slot);
    loadMouseFlags(page, preset);
}

void loadMouseFlags(ButtonPageState& page, const Preset& preset) {
    for (int i = 0; i < kMouseSlots; ++i) {
        page.rightClick[i] = (preset.clickMask[0] >> i) & 1;
        page.leftClick[i] = (preset.clickMask[1] >> i) & 1;
    }
}

void closeButtonPage(const ButtonPageState& page, Preset& preset) {
    uint16_t right = 0, left = 0;
    for (int i = 0; i < kMouseSlots; ++i) {
        if (page.rightClick[i]) right = uint16_t(right | 1u << i);
        if (page.leftClick[i]) left = uint16_t(left | 1u << i);
    }
    preset.clickMask[0] = right;
    preset.clickMask[1] = left;
}

SelectOutcome clickSelect(ButtonPageState& page, int slot) {
    SelectOutcome out{};
    out.previousSlot = page.selectedSlot;
    if (slot < 0 || slot >= kPageSlots) return out;
    if (page.selectDown[slot]) {
        page.selectDown[slot] = false;
        page.recording = false;
        out.redraw.push_back(slot);
    } else {
        page.selectDown[page.selectedSlot] = false;
        out.redraw.push_back(page.selectedSlot);
        page.selectDown[slot] = true;
        if (slot != page.selectedSlot) out.redraw.push_back(slot);
        if (!page.recording) {
            // The buffer is emptied as recording starts; what the decoder
            // held belongs to keys whose releases went with it.
            out.flushKeyboard = true;
            page.pendingKey = 0;
            page.recording = true;
        }
    }
    page.selectedSlot = slot;
    return out;
}

void recordCode(ButtonPageState& page, Preset& preset, KeyCode code) {
    const int slot = page.selectedSlot;
    if (slot < 0 || slot >= kPageSlots) return;
    uint16_t& count = page.keyCount[slot];
    const int at = count > kLastRecordedEntry ? kLastRecordedEntry : count;
    preset.buttonKeys[slot][at] = code;
    for (int k = at + 1; k < kStoredKeysPerSlot; ++k) preset.buttonKeys[slot][k] = 0;
    count = uint16_t(at + 1);
}

bool takeKeyEvents(ButtonPageState& page, Preset& preset, const std::vector<KeyEvent>& events) {
    if (events.empty()) return false;
    for (const KeyEvent& e : events) {
        KeyCode code = 0;
        if (decodeKeyEvent(page.pendingKey, e, code)) recordCode(page, preset, code);
    }
    return true;
}

bool readsKeys(const ButtonPageState& page) {
    if (!page.recording) return false;
    const int s = page.selectedSlot;
    return !(hasMouseFlags(s) && (page.leftClick[s] || page.rightClick[s]));
}

KeyboardStep keyboardStep(ButtonPageState& page, bool sheetInFront) {
    if (!readsKeys(page) || !sheetInFront) {
        page.liveSlot = -1;
        return KeyboardStep::Idle;
    }
    if (page.liveSlot == page.selectedSlot) return KeyboardStep::Decode;
    page.liveSlot = page.selectedSlot;
    page.pendingKey = 0;
    return KeyboardStep::Flush;
}

void keysWentElsewhere(ButtonPageState& page) { page.liveSlot = -1; }

KeyboardFailure keyboardFailed(ButtonPageState& page) {
    KeyboardFailure out{page.selectedSlot, !page.keyboardErrorShown};
    page.recording = false;
    page.liveSlot = -1;
    page.pendingKey = 0;
    if (page.selectedSlot >= 0 && page.selectedSlot < kPageSlots) page.selectDown[page.selectedSlot] = false;
    page.keyboardErrorShown = true;
    return out;
}

bool assignMouseButton(ButtonPageState& page, Preset& preset, bool left) {
    const int s = page.selectedSlot;
    if (!page.recording || !hasMouseFlags(s)) return false;
    page.keyCount[s] = 0;
    std::memset(preset.buttonKeys[s], 0, kStoredKeysPerSlot * sizeof(KeyCode));
    page.leftClick[s] = left;
    page.rightClick[s] = !left;
    return true;
}

void clearSlot(ButtonPageState& page, Preset& preset) {
    const int s = page.selectedSlot;
    if (s < 0 || s >= kPageSlots) return;
    // The buffer is emptied with it: a press read before would wait for a
    // release that is gone, and block every later key.
    page.pendingKey = 0;
    if (hasMouseFlags(s)) page.leftClick[s] = page.rightClick[s] = false;
    page.keyCount[s] = 0;
    std::memset(preset.buttonKeys[s], 0, kStoredKeysPerSlot * sizeof(KeyCode));
}

SlotShows slotShows(const ButtonPageState& page, int slot) {
    if (!hasMouseFlags(slot)) return SlotShows::Keys;
    // The right button's text wins when both flags are set, as at opening.
    if (page.rightClick[slot]) return SlotShows::RightMouse;
    if (page.leftClick[slot]) return SlotShows::LeftMouse;
    return SlotShows::Keys;
}

std::string slotKeysText(const ButtonPageState& page, const Preset& preset, int slot, const KeyNames& names) {
    std::string text;
    if (slot < 0 || slot >= kPageSlots) return text;
    for (int i = 0; i < page.keyCount[slot] && i < kKeysPerSlot; ++i)
        text += keyCodeText(preset.buttonKeys[slot][i], names, KeyTextStyle::ButtonPage);
    return text;
}

const std::vector<SlotPlace>& slotPlaces(SlotTab tab) { return tab == SlotTab::Buttons ? kButtonTab : kPovTab; }

const SlotPlace* findSlotPlace(int slot) {
    for (const auto* tab : {&kButtonTab, &kPovTab})
        for (const SlotPlace& p : *tab)
            if (p.slot == slot) return &p;
    return nullptr;
}

SlotTab tabOfSlot(int slot) { return slot >= kFirstPovSlot ? SlotTab::Pov : SlotTab::Buttons; }

int editIdOf(int slot) { return slot < 16 ? kFirstEditId + slot : kLateEditId + slot - 16; }
int selectIdOf(int slot) { return slot < 16 ? kFirstSelectId + slot : kLateSelectId + slot - 16; }

int slotOfSelectId(int id) {
    if (id >= kFirstSelectId && id < kFirstSelectId + 16) return id - kFirstSelectId;
    if (id >= kLateSelectId && id < kLateSelectId + kPageSlots - 16) return id - kLateSelectId + 16;
    return -1;
}

SkinRect editPlace(const SlotPlace& p) {
    const int x = p.frame.left + (p.selectOnLeft ? 24 : 1), y = p.frame.top + 1;
    return SkinRect{x, y, x + kEditWidth, y + kEditHeight};
}

KeyBoxText keyBoxText(const std::string& text, int width, const std::function<int(const std::string&)>& measure) {
    if (measure(text) <= width) return {text, false};
    // The end grows one character at a time while it fits: widths grow
    // with the text, so the first that does not fit ends the search.
    const std::string ellipsis = "...";
    std::string shown = ellipsis;
    for (size_t from = text.size(); from-- > 0;) {
        std::string end = text.substr(from);
        const std::string candidate = ellipsis + end.substr(std::min(end.find_first_not_of(' '), end.size()));
        if (measure(candidate) > width) break;
        shown = candidate;
    }
    return {shown, true};
}

SkinRect selectPlace(const SlotPlace& p) {
    const int x = p.frame.left + (p.selectOnLeft ? 1 : 97), y = p.frame.top + 1;
    return SkinRect{x, y, x + kSelectWidth, y + kSelectHeight};
}

int wheelSelection(const ButtonPageState& page, SlotTab tab, const uint8_t (&buttons)[32], uint32_t pov) {
    if (tab == SlotTab::Buttons) {
        const int held = page.selectedSlot;
        if (held >= 0 && held < kWheelButtonSlots && (buttons[held] & 0x80)) return -1;
        for (int i = 0; i < kWheelButtonSlots; ++i)
            if ((buttons[i] & 0x80) && i != page.selectedSlot) return i;
        return -1;
    }
    if ((pov & 0xFFFF) == kPovCentred || pov >= 36000) return -1;
    const int slot = kFirstPovSlot + int(((pov + 2250) / 4500) % 8);
    return slot == page.selectedSlot ? -1 : slot;
}

}  // namespace zentra
