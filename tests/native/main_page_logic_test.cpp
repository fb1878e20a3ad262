// The main page's tab table, tab states, tooltips, paths and tiles.
#include <gtest/gtest.h>

#include "cpl/frame/main_page_logic.h"
#include "preset/os_level.h"
#include "preset/registry.h"

namespace zentra {
namespace {

std::vector<int> createdTabs(uint32_t isEmulationDevice) {
    std::vector<int> ids;
    for (const TabInfo& tab : kTabs)
        if (tabCreated(tab, isEmulationDevice)) ids.push_back(tab.id);
    return ids;
}

TEST(MainPageTabs, TheWheelDecidesWhichTabsExist) {
    EXPECT_EQ((std::vector<int>{245, 246}), createdTabs(0));
    EXPECT_EQ((std::vector<int>{243, 244, 245, 246, 247}), createdTabs(1));
    EXPECT_EQ((std::vector<int>{245, 246}), createdTabs(2)) << "only 1 marks the emulation wheel";
    // Every child page's region has a hole exactly where each made tab is.
    for (uint32_t emulation : {0u, 1u}) {
        const std::vector<SkinRect> holes = pageRegionHoles(emulation);
        ASSERT_EQ(createdTabs(emulation).size(), holes.size());
        for (int id : createdTabs(emulation)) {
            const SkinRect& place = findTab(id)->place;
            EXPECT_EQ(88, place.right - place.left);
            EXPECT_EQ(id == kTabPov ? 48 : 57, place.bottom - place.top) << "the D-pad tab is lower";
            EXPECT_NE(std::find(holes.begin(), holes.end(), place), holes.end()) << id;
        }
    }
    EXPECT_EQ(nullptr, findTab(242));
    EXPECT_EQ(nullptr, findTab(248));
}

TEST(MainPageTabs, HoverLightsOneTabAndFallsBackWhenThePointerMoves) {
    TabStates s;
    clearTabStates(s);
    switchToTab(s, kTabTest, {});
    struct Step {
        int under;
        std::vector<int> repainted;
        int lastHovered;
        uint8_t axis, test, presets;
    } steps[] = {
        {kTabAxis, {kTabAxis}, kTabAxis, 1, 2, 0},
        {kTabAxis, {}, kTabAxis, 1, 2, 0},                   // still over it: nothing new
        {kTabPresets, {kTabAxis, kTabPresets}, kTabPresets, 0, 2, 1},
        {kTabTest, {kTabPresets}, 0, 0, 2, 0},               // the selected tab does not light
        {kTabPresets, {kTabPresets}, kTabPresets, 0, 2, 1},
        {0, {kTabPresets}, 0, 0, 2, 0},                      // off the tabs: back to normal
        {0, {}, 0, 0, 2, 0},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(step.repainted, hoverTab(s, step.under)) << step.under;
        EXPECT_EQ(step.lastHovered, s.lastHovered);
        EXPECT_EQ(step.axis, s.visual[tabIndex(kTabAxis)]);
        EXPECT_EQ(step.test, s.visual[tabIndex(kTabTest)]);
        EXPECT_EQ(step.presets, s.visual[tabIndex(kTabPresets)]);
    }
}

TEST(MainPageTabs, SwitchingClosesTheOtherPageAndSelectsTheTab) {
    TabStates s;
    clearTabStates(s);
    EXPECT_EQ(std::vector<int>{}, switchToTab(s, kTabTest, {}));
    hoverTab(s, kTabAxis);
    EXPECT_EQ(std::vector<int>{kTabTest}, switchToTab(s, kTabAxis, {kTabTest}));
    EXPECT_EQ(kTabSelected, s.visual[tabIndex(kTabAxis)]);
    EXPECT_EQ(kTabSelected, s.remembered[tabIndex(kTabAxis)]);
    EXPECT_EQ(kTabNormal, s.visual[tabIndex(kTabTest)]);
    EXPECT_EQ(kTabNormal, s.remembered[tabIndex(kTabTest)]);
    // The tab of the page shown: nothing closes and it stays selected; the
    // pointer moving on leaves it selected.
    EXPECT_EQ(std::vector<int>{}, switchToTab(s, kTabAxis, {kTabAxis}));
    hoverTab(s, kTabPresets);
    EXPECT_EQ(kTabSelected, s.visual[tabIndex(kTabAxis)]);
    EXPECT_EQ(std::vector<int>{}, switchToTab(s, 300, {kTabAxis})) << "not a tab";
}

TEST(MainPageTabs, TooltipsOfTabsAndOfEveryOtherControl) {
    const std::pair<int, int> cases[] = {{243, 78}, {244, 79}, {245, 80}, {246, 77}, {247, 81},
                                         {136, 76}, {1, 76},   {0, 76},   {248, 76}};
    for (auto [control, text] : cases) EXPECT_EQ(text, tooltipStringFor(control)) << control;
}

TEST(MainPagePaths, TemporaryPresetFileByWindowsGeneration) {
    EXPECT_EQ("C:\\TEMP\\TempoZNT.pst", defaultTemporaryPresetPath(2, "C:\\TEMP", "C:\\WINDOWS"));
    EXPECT_EQ("C:\\WINDOWS\\TEMP\\TempoZNT.pst", defaultTemporaryPresetPath(3, "C:\\TEMP", "C:\\WINDOWS"));
    EXPECT_EQ("\\TEMP\\TempoZNT.pst", defaultTemporaryPresetPath(4, "C:\\TEMP", nullptr));
}

TEST(MainPagePaths, TheClipGoesToTheWindowsFolderOrElseTheTemporaryOne) {
    EXPECT_EQ((std::vector<std::string>{"C:\\windows\\WheelAVI.AVI", "C:\\users\\me\\Temp\\WheelAVI.AVI"}),
              videoPathCandidates("C:\\windows", "C:\\users\\me\\Temp\\"));
    EXPECT_EQ(std::vector<std::string>{"C:\\windows\\WheelAVI.AVI"}, videoPathCandidates("C:\\windows", "C:\\windows\\"));
    EXPECT_EQ(std::vector<std::string>{"C:\\t\\WheelAVI.AVI"}, videoPathCandidates("", "C:\\t"));
}

TEST(MainPageStart, LastIndiceOutsideTheTableStartsAtPresetZero) {
    const struct {
        uint32_t last;
        int count;
        uint16_t index;
    } cases[] = {{0, 1, 0}, {4, 5, 4}, {5, 5, 0}, {200, 3, 0}, {0xFFFFFFFF, 255, 0}, {0x10001, 255, 0}, {0, 0, 0}};
    for (const auto& c : cases) EXPECT_EQ(c.index, startingPresetIndex(c.last, c.count)) << c.last << "/" << c.count;
}

TEST(MainPageStart, OsLevelAndDriverValueOfWindowsVersions) {
    const struct {
        int platform;
        unsigned major, minor;
        int level;
        const char* driver;
    } cases[] = {{2, 4, 0, 3, nullptr}, {2, 5, 0, 3, "Windows 2000"}, {2, 5, 2, 4, "Windows XP"},
                 {2, 6, 1, 3, nullptr}, {1, 4, 10, 1, "Windows 98"}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.level, computeOsLevel(c.platform, c.major, c.minor)) << c.major << "." << c.minor;
        const char* name = windowsGenerationName(c.platform == kPlatformNt, c.major, c.minor);
        EXPECT_STREQ(c.driver, name) << c.major << "." << c.minor;
    }
}

TEST(MainPagePaint, TilesCoverTheInvalidPartFromOneSourceSquare) {
    const std::vector<TileCopy> all = backgroundTiles({0, 0, 640, 480});
    ASSERT_EQ(12u, all.size()) << "4 x 3 tiles of 150 pixels";
    EXPECT_EQ((SkinRect{450, 300, 600, 450}), all.back().destination);
    for (const TileCopy& t : all) EXPECT_TRUE(t.sourceX == 305 && t.sourceY == 601);

    const std::vector<TileCopy> part = backgroundTiles({140, 160, 160, 170});
    ASSERT_EQ(2u, part.size());
    EXPECT_EQ((SkinRect{140, 160, 150, 170}), part[0].destination);
    EXPECT_EQ(305 + 140, part[0].sourceX);
    EXPECT_EQ(601 + 10, part[0].sourceY);
    EXPECT_EQ((SkinRect{150, 160, 160, 170}), part[1].destination);
    EXPECT_EQ(305, part[1].sourceX);
    EXPECT_TRUE(backgroundTiles({600, 0, 640, 480}).empty()) << "beyond the tiles";
}

TEST(MainPageNotify, DebugLinesOfTheNotifications) {
    EXPECT_STREQ("WM_NOTIFY - PSN_APPLY\n", notificationDebugLine(-202));
    EXPECT_STREQ("WM_NOTIFY - PSN_QUERYCANCEL\n", notificationDebugLine(-209));
    EXPECT_STREQ("WM_NOTIFY - PSN_LAST\n", notificationDebugLine(-299));
    EXPECT_EQ(nullptr, notificationDebugLine(-207)) << "PSN_WIZNEXT has none";
    EXPECT_EQ(nullptr, notificationDebugLine(-12)) << "NM_CUSTOMDRAW has none";
}

}  // namespace
}  // namespace zentra
