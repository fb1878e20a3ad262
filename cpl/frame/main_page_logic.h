// The main page's decisions, without a window: its tab table, which tabs a
// wheel gets, the tabs' visual states under hover and page switches, the
// tooltip text of a control, the default temporary preset path, the preset
// the page starts with, and the tiles of its background. The Win32 page
// (main_page.cpp) carries them out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cpl/frame/skin_layout.h"
#include "cpl/frame/skin_logic.h"

namespace zentra {

// Control ids of the tabs, from the button page's to the presets page's.
constexpr int kTabButtons = 243;
constexpr int kTabPov = 244;
constexpr int kTabAxis = 245;
constexpr int kTabTest = 246;
constexpr int kTabPresets = 247;
constexpr int kTabCount = 5;
constexpr int kFirstTab = kTabButtons;

// Which wheels get a tab.
enum class TabPresence { EmulationOnly, Never, Always };

struct TabInfo {
    int id;
    TabPresence presence;
    SkinRect place;  // in the main page; empty for the tab that is never made
    int textId;      // string of the tab's text
    int tooltipId;   // string of its tooltip
    const char* childClass;
    int childId;
    skin::Sprite normal, hovered, selected;
};

// The five tabs in id order.
extern const TabInfo kTabs[kTabCount];

// The tab with control id `id`, or null.
const TabInfo* findTab(int id);

// Whether the page makes tab `tab` for a wheel with this emulation flag.
bool tabCreated(const TabInfo& tab, uint32_t isEmulationDevice);

// The square hole of the presets tab, in the tab's own coordinates, where
// the current game's icon shows through.
constexpr SkinRect kPresetsTabIconHole{52, 20, 84, 52};
// The "CUSTOMICON" control behind that hole, in the main page.
constexpr int kGameIconId = 136;
constexpr SkinRect kGameIconPlace{557, 331, 589, 363};

// Child page windows: at the page's origin, 640 x 480.
constexpr int kChildPageWidth = 640;
constexpr int kChildPageHeight = 480;

// Visual states of a tab.
constexpr uint8_t kTabNormal = 0;
constexpr uint8_t kTabHovered = 1;
constexpr uint8_t kTabSelected = 2;

// The tabs' states: each one's visual state and the state it falls back to
// when the pointer leaves it (0 or 2), and the tab last hovered (0: none).
struct TabStates {
    uint8_t visual[kTabCount];
    uint8_t remembered[kTabCount];
    int lastHovered;
};

inline int tabIndex(int id) { return id - kFirstTab; }

// Every tab normal, none hovered.
void clearTabStates(TabStates& states);

// The pointer is over the window of tab `tabUnderPointer` (0 when over no
// tab). The tab it lit before falls back to its remembered state as soon as
// the pointer is elsewhere; a tab that is not the selected one lights up.
// Returns the tabs to repaint, in order.
std::vector<int> hoverTab(TabStates& states, int tabUnderPointer);

// Tab `tab` was pressed. `shown` lists the tabs whose child page exists;
// every other one among them is closed, and the states follow. Returns the
// tabs whose page closes (each to be repainted), in id order.
std::vector<int> switchToTab(TabStates& states, int tab, const std::vector<int>& shown);

// The string id of the tooltip of control `controlId`: the tab's, or 76
// ("About...") for any other control.
constexpr int kOtherControlTooltip = 76;
int tooltipStringFor(int controlId);

// The video clip's file: the Windows folder followed by "\WheelAVI.AVI".
constexpr char kVideoFileName[] = "\\WheelAVI.AVI";
std::string videoPathIn(const std::string& folder);

// Where the clip goes: the Windows folder when a file can be made there,
// otherwise the user's temporary folder (a standard user cannot write the
// Windows folder of current systems).
std::vector<std::string> videoPathCandidates(const std::string& windowsFolder, const std::string& tempFolder);

// The fixed time stamp of the clip's file: 31 August 1999, 23:00:00.
struct FileStamp {
    uint16_t year, month, day, hour, minute, second;
};
constexpr FileStamp kVideoFileStamp{1999, 8, 31, 23, 0, 0};

// The default temporary preset file: below OsLevel 3 the "temp" folder
// followed by "\TempoZNT", otherwise "SystemRoot" followed by
// "\TEMP\TempoZNT"; then ".pst". A missing variable counts as empty.
std::string defaultTemporaryPresetPath(int osLevel, const char* temp, const char* systemRoot);

// The table entry the page starts with: "LastIndice" when it names a preset
// of the table, otherwise 0 (a file rewritten with fewer presets, or a value
// set by hand, must not make the page read outside the table).
uint16_t startingPresetIndex(uint32_t lastIndice, int presetCount);

// The page background is repainted in 150 x 150 tiles covering 600 x 450
// pixels; each visible part of a tile is copied from the skin at the same
// offset from a fixed source point.
struct TileCopy {
    SkinRect destination;
    int sourceX, sourceY;
};
constexpr int kBackgroundTile = 150;
std::vector<TileCopy> backgroundTiles(const SkinRect& invalid);

// The debug line of a property-sheet notification the page handles, or null.
const char* notificationDebugLine(int32_t code);

}  // namespace zentra
