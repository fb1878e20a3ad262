// The button page's decisions, without a window: the key decoder that turns
// keyboard presses and releases into key codes, the slot rules (select,
// record, Clear, mouse buttons, what a box shows), which slot a wheel button
// or a D-pad direction selects, and where each slot's controls lie on the
// two tabs that edit slots (wheel buttons 1-13, D-pad directions 1-8). The
// Win32 page (button_page.cpp) carries them out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cpl/frame/skin_logic.h"
#include "cpl/pages/key_code_text.h"
#include "preset/preset.h"

namespace zentra {

// --- Key decoder ---------------------------------------------------------

// One buffered keyboard event: the key's scan code and its state byte (bit 7
// set while the key is down).
struct KeyEvent {
    uint8_t scanCode;
    uint32_t data;
};
inline bool keyPressed(const KeyEvent& e) { return (e.data & 0x80) != 0; }

// The modifier bit of the decoder's pending value (high byte) for a scan
// code, or 0 when the key is no modifier: left/right Ctrl 0x01/0x02,
// left/right Shift 0x04/0x08, left/right Alt 0x10/0x20.
uint8_t modifierBit(uint8_t scanCode);

// Feeds one event to the decoder whose state is `pendingKey` (low byte: the
// key pressed and not yet released; high byte: modifiers held). Returns true
// when the event completes a key code, given in `code`; pendingKey is then 0.
bool decodeKeyEvent(uint16_t& pendingKey, const KeyEvent& event, KeyCode& code);

// The keyboard device the page reads: buffered events and acquisition, with
// the device's result codes (0 done, 1 already acquired, negative failed).
constexpr int kKeyboardBufferEvents = 16;
class KeyboardDevice {
public:
    virtual ~KeyboardDevice() = default;
    // Takes up to 16 buffered events into `events` (emptied first).
    virtual long readEvents(std::vector<KeyEvent>& events) = 0;
    virtual long acquire() = 0;
};

// One read: a failed read acquires the device; when it was acquired already
// the read is made again, when it is acquired now the read yields nothing.
// False (no events) when the read failed and so did the acquisition; a
// missing device yields no events.
bool readKeyboard(KeyboardDevice* device, std::vector<KeyEvent>& events);

// --- Slots ------------------------------------------------------------------

// The page handles every emulation slot; the mouse flags exist for the first
// 16 only (the preset's two click words have 16 bits).
constexpr int kPageSlots = kEmulationSlots;
constexpr int kMouseSlots = 16;
constexpr int kLastRecordedEntry = 31;  // the 32nd and later codes all land here
constexpr int kShownAtOpening = 30;     // codes a box shows of a stored slot
// Whether `slot` can send a mouse button instead of keys.
bool hasMouseFlags(int slot);

// The page's module-wide state; one button page exists at a time.
struct ButtonPageState {
    uint16_t keyCount[kPageSlots];
    bool rightClick[kMouseSlots];
    bool leftClick[kMouseSlots];
    bool selectDown[kPageSlots];
    int selectedSlot;
    bool recording;
    int hoverSlot;
    uint16_t pendingKey;
    int liveSlot;              // the slot keys were last read for with the sheet in front, -1 none
    bool keyboardErrorShown;  // a failed keyboard read was reported during this opening
};
ButtonPageState& buttonPageState();
// Back to a page never opened; for tests.
void resetButtonPageState();

// The page opens over `preset`: nothing selected but `firstSlot` (slot 0 on
// the button tab, the D-pad tab's first slot there, so that Clear never acts
// on a slot the tab does not show), no recording, no select button down, the
// key counts of the shown codes and the working copies of the click words.
void openButtonPage(ButtonPageState& page, const Preset& preset, int firstSlot = 0);

// The working mouse flags from the preset's two click words (also when the
// test page takes a preset).
void loadMouseFlags(ButtonPageState& page, const Preset& preset);

// The page closes: the mouse flags go back into the click words.
void closeButtonPage(const ButtonPageState& page, Preset& preset);

// What a click on a slot's select button asks of the shell.
struct SelectOutcome {
    bool flushKeyboard;           // read the keyboard once and throw the events away
    std::vector<int> redraw;      // select buttons to repaint
    int previousSlot;             // its connector goes back to the normal colour
};
SelectOutcome clickSelect(ButtonPageState& page, int slot);

// Stores `code` in the selected slot after its recorded codes; from the 32nd
// code on, entry 31 is overwritten. The stored codes past the new end are
// cleared, so that what the box shows is all the wheel receives (a slot read
// from a file may hold more codes than the box counted); the count is that
// of the codes stored, 32 at most.
void recordCode(ButtonPageState& page, Preset& preset, KeyCode code);

// Feeds a read's events to the decoder for the selected slot. Returns
// whether the slot's box is to be rebuilt (at least one event).
bool takeKeyEvents(ButtonPageState& page, Preset& preset, const std::vector<KeyEvent>& events);

// Whether the timer reads keys for the selected slot: recording, and the
// slot sends no mouse button.
bool readsKeys(const ButtonPageState& page);

// What a tick does with the keyboard. The keyboard is read in background
// mode, so its buffer also holds what the user typed into other programs,
// or while the page read no keys (a mouse slot selected, not recording).
// None of that may reach a slot: whenever reading starts again (recording
// started, the selected slot changed, a mouse flag removed, the sheet back
// in front) the buffer is emptied unread and the decoder forgets what it
// held; only events that arrive after that are decoded.
enum class KeyboardStep { Idle, Flush, Decode };
KeyboardStep keyboardStep(ButtonPageState& page, bool sheetInFront);

// A window of the panel's own took keys in front of the sheet (the About
// box): reading starts again, as when the sheet comes back in front. The
// ticks alone miss a box that opens and closes between two of them, and
// the key that closed it would be recorded.
void keysWentElsewhere(ButtonPageState& page);

// A keyboard read failed and so did its re-acquisition: recording stops and
// the select button comes up (returned, to be redrawn); `showError` is set
// the first time in this opening. The wheel is still polled, and the next
// record click tries the keyboard again.
struct KeyboardFailure {
    int redrawSlot;
    bool showError;
};
KeyboardFailure keyboardFailed(ButtonPageState& page);

// A mouse command (left: 253, right: 254). Only while recording, and only
// for a slot that has mouse flags; returns whether it applied.
bool assignMouseButton(ButtonPageState& page, Preset& preset, bool left);

// Clear: the selected slot sends nothing.
void clearSlot(ButtonPageState& page, Preset& preset);

// What a slot's box shows.
enum class SlotShows { Keys, LeftMouse, RightMouse };
SlotShows slotShows(const ButtonPageState& page, int slot);
// The text of the slot's first keyCount codes.
std::string slotKeysText(const ButtonPageState& page, const Preset& preset, int slot, const KeyNames& names);

// --- Tabs and their controls ------------------------------------------------

enum class SlotTab { Buttons, Pov };

struct PagePointXY {
    int x, y;
};

// One slot's controls on its tab: the frame, the connector to its place on
// the picture, and whether the select button sits at the frame's left.
struct SlotPlace {
    int slot;
    SkinRect frame;
    PagePointXY connector[4];
    bool selectOnLeft;
};

// The slots of a tab, in slot order.
const std::vector<SlotPlace>& slotPlaces(SlotTab tab);
// The place of `slot` on its tab, or null.
const SlotPlace* findSlotPlace(int slot);
// The tab that edits `slot`.
SlotTab tabOfSlot(int slot);

// Control ids: edit boxes 1068 + slot and select buttons 1084 + slot for
// slots 0-15; for the D-pad slots 16-20, boxes 1110-1114 and select
// buttons 1120-1124.
constexpr int kFirstEditId = 1068;
constexpr int kFirstSelectId = 1084;
constexpr int kLateEditId = 1110;
constexpr int kLateSelectId = 1120;
constexpr int kClearId = 1100;
constexpr int kAboutId = 269;
constexpr int kLeftMouseId = 253;
constexpr int kRightMouseId = 254;
int editIdOf(int slot);
int selectIdOf(int slot);
// The slot of a select button's id, or -1.
int slotOfSelectId(int id);

constexpr int kEditWidth = 96;
constexpr int kEditHeight = 22;
constexpr int kSelectWidth = 23;
constexpr int kSelectHeight = 22;
SkinRect editPlace(const SlotPlace& place);
SkinRect selectPlace(const SlotPlace& place);

// What a key box shows in `width` pixels, `measure` giving a text's width:
// the whole text when it fits, else "..." and the longest end of the text
// that fits after it (its leading spaces dropped), so that the last keys
// typed stay in sight. The box's tooltip then gives the whole sequence.
struct KeyBoxText {
    std::string shown;
    bool cut;
};
KeyBoxText keyBoxText(const std::string& text, int width, const std::function<int(const std::string&)>& measure);

// The page's other buttons.
constexpr SkinRect kClearPlace{102, 336, 141, 365};
constexpr SkinRect kAboutPlace{10, 8, 165, 19};
constexpr SkinRect kLeftMousePlace{146, 336, 175, 365};
constexpr SkinRect kRightMousePlace{178, 336, 207, 365};

// The slot that the wheel selects on `tab`, or -1: on the button tab the
// lowest wheel button held (bit 7 of its byte) that is not the selected
// slot, unless the selected slot's own button is still held (with two
// buttons down, the first one pressed keeps its slot until it is released,
// so keys never land in either by turns); on the D-pad tab the direction
// the hat points to (hundredths of a degree, clockwise from up; direction 1
// up is slot 13), unless selected.
int wheelSelection(const ButtonPageState& page, SlotTab tab, const uint8_t (&buttons)[32], uint32_t pov);

}  // namespace zentra
