// The decisions of the skinned controls, without a window: which pictures
// the owner-draw painters copy and where, where the hatching of a disabled
// button goes, the holes of a child page's region, and how a key-sequence
// edit field is to be shaped for its text. Plain data in, plain data out;
// the Win32 shell (skinned_controls) carries them out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentra {

// Item actions and states of an owner-draw request, with the platform's
// values. States are compared for equality, never bit by bit.
constexpr uint32_t kActionDrawEntire = 1;  // ODA_DRAWENTIRE
constexpr uint32_t kActionSelect = 2;      // ODA_SELECT
constexpr uint32_t kActionFocus = 4;       // ODA_FOCUS
constexpr uint32_t kStateSelected = 1;     // ODS_SELECTED
constexpr uint32_t kStateDisabled = 4;     // ODS_DISABLED
constexpr uint32_t kStateFocus = 16;       // ODS_FOCUS

// A picture's top-left corner in its source bitmap.
struct SkinPoint {
    int x;
    int y;
};
inline bool operator==(SkinPoint a, SkinPoint b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(SkinPoint a, SkinPoint b) { return !(a == b); }

struct SkinRect {
    int left;
    int top;
    int right;
    int bottom;
};
inline bool operator==(const SkinRect& a, const SkinRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The picture every painter falls back to for a disabled control: the
// source bitmap's own corner.
constexpr SkinPoint kBitmapCorner{0, 0};

// The three-state button (tabs and most page buttons).
struct SkinButtonPlan {
    SkinPoint picture;  // picture0 for state 0, picture1 for 1, picture2 otherwise
    int copies;         // how many times the picture is copied (0, 1 or 2)
    bool hatch;         // vertical lines over it after the last copy
};
SkinButtonPlan planSkinButton(uint32_t action, uint32_t itemState, SkinPoint picture0, SkinPoint picture1,
                              SkinPoint picture2, int buttonState);

// The x positions of the hatching lines over a disabled button: left + k
// for k = 0, 3, 6, ... below the control's width.
std::vector<int> hatchLines(int left, int width);

// The two-state push button: the pictures copied, in order (several steps
// can apply to one request).
std::vector<SkinPoint> planPushButton(uint32_t action, uint32_t itemState, SkinPoint normal, SkinPoint pressed,
                                      SkinPoint focused);

// The About box's link button: whether it shows its held-down picture.
bool aboutLinkHeld(uint32_t action, uint32_t itemState);

// One pass of the owner-drawn label: the background copied, then the text
// in black with the rectangle's top moved down by shadowOffset, then in
// white with the top moved down by textOffset.
struct LabelPass {
    SkinPoint picture;
    int shadowOffset;
    int textOffset;
};
std::vector<LabelPass> planLabel(uint32_t action, uint32_t itemState, SkinPoint picture);

// A child page's window region: the page area minus the places of the main
// page's tabs (two, or five on the emulation wheel).
constexpr SkinRect kPageArea{0, 0, 594, 369};
std::vector<SkinRect> pageRegionHoles(uint32_t isEmulationDevice);

// The key-sequence edit field: single line while its text is short, taller
// with a horizontal scroll bar from 15 characters on.
constexpr uint32_t kEditShortStyle = 0x50000084;  // WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL
constexpr uint32_t kEditLongStyle = 0x50100084;   // the same with WS_HSCROLL
constexpr size_t kEditLongFrom = 15;
constexpr int kEditTextLimit = 1275;              // characters read back from a field

struct EditFit {
    bool recreate;  // false: the field is left as it is
    uint32_t style;
    int width;
    int height;
};
EditFit fitEditField(size_t textLength, uint32_t currentStyle);

}  // namespace zentra
