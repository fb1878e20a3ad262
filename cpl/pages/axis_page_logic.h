// The axis page's decisions, without a window: the state it carries while
// it is open and writes back when it closes, the link-pedals toggle, the
// entries of the axis-action selectors, what each command acts on, which
// controls the mouse-emulation layout moves away, and the frames it draws.
// The Win32 page (axis_page.cpp) carries them out.
#pragma once

#include <cstdint>
#include <vector>

#include "cpl/frame/panel_state.h"
#include "cpl/frame/skin_logic.h"
#include "preset/preset.h"

namespace zentra {

// What the page keeps while it is open.
struct AxisPageState {
    uint32_t pedalsLinked;  // the working copy, read whole
    uint8_t invert[4];      // bits 0, 8, 16 and 24 of axisInvert, carried
    bool mouseLayout[2];    // box pair 1 or 2 shows the mouse-emulation layout
};

AxisPageState loadAxisPageState(const Preset& preset);
// Writes the carried fields back: pedalsLinked, axisInvert from the four
// bits alone, mouseEmulation as 1 or 0, miscWord[0] = 0.
void storeAxisPageState(Preset& preset, const AxisPageState& state);
// Closing the page: the carried fields written back into the current
// preset, which then goes into the table at currentIndex (the panel's
// record copy) when that is an entry of the table; the state is cleared.
void closeAxisPageState(PanelState& panel, AxisPageState& state);

// A click on the link-pedals toggle: 0 becomes 1, anything else 0. The
// toggle's look is the Linked picture for 1 alone.
inline uint32_t flippedPedals(uint32_t linked) { return linked == 0 ? 1 : 0; }

// The string ids of the axis-action entries for `gameType`, in list order;
// none above 3.
std::vector<int> axisActionStrings(uint16_t gameType);

// The four selectors and the axisFunction entry each one shows and edits.
struct AxisSelector {
    int id;
    int function;
};
constexpr AxisSelector kAxisSelectors[4] = {{1031, 0}, {1032, 1}, {1033, 3}, {1034, 2}};

// What a command of the page acts on.
enum class AxisAction { None, Reset, Toggle, Pedals, About };
struct AxisCommand {
    AxisAction action;
    int firstBox;  // box numbers 1-4, lastBox >= firstBox
    int lastBox;
};
AxisCommand axisCommand(int id);
// The curve-type button whose text follows box `boxNumber`'s type.
inline int curveTypeButtonOf(int boxNumber) { return boxNumber <= 2 ? 1065 : boxNumber == 3 ? 1067 : 1068; }

// The controls that the mouse-emulation layout of pair 0 (boxes 101, 102)
// or pair 1 (boxes 103, 104) moves out of view.
const std::vector<int>& mouseLayoutHidden(int pair);
constexpr int kOutOfView = -1000;

// The frames the page draws around its box pairs.
std::vector<SkinRect> axisPageFrames(const AxisPageState& state);

}  // namespace zentra
