// The main page's decisions: tab table, tab states, tooltips, paths and the
// background tiles.
#include "cpl/frame/main_page_logic.h"

#include <algorithm>

namespace zentra {


const TabInfo kTabs[kTabCount] = {
    {kTabButtons, TabPresence::EmulationOnly, {2, 252, 90, 309}, 43, 78, "BUTTONWINDOW", 151,
     skin::kTabButtonsNormal, skin::kTabButtonsHovered, skin::kTabButtonsSelected},
    {kTabPov, TabPresence::EmulationOnly, {2, 202, 90, 250}, 44, 79, "POVWINDOW", 150, skin::kTabPovNormal,
     skin::kTabPovHovered, skin::kTabPovSelected},
    {kTabAxis, TabPresence::Always, {2, 311, 90, 368}, 13, 80, "SENSWINDOW", 153, skin::kTabAxisNormal,
     skin::kTabAxisHovered, skin::kTabAxisSelected},
    {kTabTest, TabPresence::Always, {505, 2, 593, 59}, 45, 77, "TESTWINDOW", 152, skin::kTabTestNormal,
     skin::kTabTestHovered, skin::kTabTestSelected},
    {kTabPresets, TabPresence::EmulationOnly, {505, 311, 593, 368}, 46, 81, "AXEWINDOW", 155,
     skin::kTabPresetsNormal, skin::kTabPresetsHovered, skin::kTabPresetsSelected},
};

const TabInfo* findTab(int id) {
    if (id < kFirstTab || id >= kFirstTab + kTabCount) return nullptr;
    return &kTabs[tabIndex(id)];
}

bool tabCreated(const TabInfo& tab, uint32_t isEmulationDevice) {
    switch (tab.presence) {
    case TabPresence::Always: return true;
    case TabPresence::EmulationOnly: return isEmulationDevice == 1;
    case TabPresence::Never: return false;
    }
    return false;
}

void clearTabStates(TabStates& states) { states = TabStates{}; }

std::vector<int> hoverTab(TabStates& states, int tabUnderPointer) {
    std::vector<int> repaint;
    const int last = states.lastHovered;
    const TabInfo* tab = findTab(tabUnderPointer);
    if (tab && tab->id == last) return repaint;
    // The pointer has left the tab it lit: that one goes back.
    if (findTab(last)) {
        states.visual[tabIndex(last)] = states.remembered[tabIndex(last)];
        repaint.push_back(last);
    }
    states.lastHovered = 0;
    // A tab lights up unless it is the selected one.
    if (tab && states.visual[tabIndex(tab->id)] != kTabSelected) {
        states.lastHovered = tab->id;
        states.visual[tabIndex(tab->id)] = kTabHovered;
        repaint.push_back(tab->id);
    }
    return repaint;
}

std::vector<int> switchToTab(TabStates& states, int tab, const std::vector<int>& shown) {
    std::vector<int> closed;
    if (!findTab(tab)) return closed;
    for (int other = kFirstTab; other < kFirstTab + kTabCount; ++other) {
        if (other == tab || std::find(shown.begin(), shown.end(), other) == shown.end()) continue;
        states.visual[tabIndex(other)] = kTabNormal;
        states.remembered[tabIndex(other)] = kTabNormal;
        closed.push_back(other);
    }
    states.visual[tabIndex(tab)] = kTabSelected;
    states.remembered[tabIndex(tab)] = kTabSelected;
    return closed;
}

int tooltipStringFor(int controlId) {
    const TabInfo* tab = findTab(controlId);
    return tab ? tab->tooltipId : kOtherControlTooltip;
}

std::string videoPathIn(const std::string& folder) { return folder + kVideoFileName; }

std::vector<std::string> videoPathCandidates(const std::string& windowsFolder, const std::string& tempFolder) {
    std::vector<std::string> paths;
    if (!windowsFolder.empty()) paths.push_back(videoPathIn(windowsFolder));
    std::string temp = tempFolder;
    while (!temp.empty() && (temp.back() == '\\' || temp.back() == '/')) temp.pop_back();
    if (!temp.empty() && temp != windowsFolder) paths.push_back(videoPathIn(temp));
    return paths;
}

std::string defaultTemporaryPresetPath(int osLevel, const char* temp, const char* systemRoot) {
    std::string path;
    if (osLevel < 3)
        path = std::string(temp ? temp : "") + "\\TempoZNT";
    else
        path = std::string(systemRoot ? systemRoot : "") + "\\TEMP\\TempoZNT";
    return path + ".pst";
}

uint16_t startingPresetIndex(uint32_t lastIndice, int presetCount) {
    return lastIndice < uint32_t(std::max(presetCount, 0)) ? uint16_t(lastIndice) : 0;
}

std::vector<TileCopy> backgroundTiles(const SkinRect& invalid) {
    std::vector<TileCopy> copies;
    for (int x = 0; x <= 450; x += kBackgroundTile) {
        for (int y = 0; y <= 300; y += kBackgroundTile) {
            const SkinRect part{std::max(x, invalid.left), std::max(y, invalid.top),
                                std::min(x + kBackgroundTile, invalid.right),
                                std::min(y + kBackgroundTile, invalid.bottom)};
            if (part.left >= part.right || part.top >= part.bottom) continue;
            copies.push_back(TileCopy{part, skin::kMainPageBackgroundSource.x + part.left - x,
                                      skin::kMainPageBackgroundSource.y + part.top - y});
        }
    }
    return copies;
}

const char* notificationDebugLine(int32_t code) {
    switch (code) {
    case -200: return "WM_NOTIFY - PSN_SETACTIVE\n";
    case -201: return "WM_NOTIFY - PSN_KILLACTIVE\n";
    case -202: return "WM_NOTIFY - PSN_APPLY\n";
    case -203: return "WM_NOTIFY - PSN_RESET\n";
    case -205: return "WM_NOTIFY - PSN_HELP\n";
    case -206: return "WM_NOTIFY - PSN_WIZBACK\n";
    case -208: return "WM_NOTIFY - PSN_WIZFINISH\n";
    case -209: return "WM_NOTIFY - PSN_QUERYCANCEL\n";
    case -299: return "WM_NOTIFY - PSN_LAST\n";
    default: return nullptr;
    }
}

}  // namespace zentra
