// The axis page's carried fields, toggle, selector entries, commands and
// the mouse-emulation layout.
#include <gtest/gtest.h>

#include "cpl/pages/axis_page_logic.h"

namespace zentra {
namespace {

TEST(AxisPageState, CarriedFieldsComeBackAsThePageWritesThem) {
    const struct {
        uint32_t invertIn, invertOut;
        uint16_t mouseIn[2], mouseOut[2];
        bool layout[2];
    } cases[] = {
        {0x01010101, 0x01010101, {0, 0}, {0, 0}, {false, false}},
        {0x00000003, 0x00000001, {1, 0}, {1, 0}, {true, false}},  // bit 1 is dropped
        {0xFEFEFEFE, 0x00000000, {2, 1}, {0, 1}, {false, true}},  // only 1 switches the layout
    };
    for (const auto& c : cases) {
        Preset p{};
        p.axisInvert = c.invertIn;
        p.mouseEmulation[0] = c.mouseIn[0], p.mouseEmulation[1] = c.mouseIn[1];
        p.miscWord[0] = 9;
        p.pedalsLinked = 7;
        const AxisPageState s = loadAxisPageState(p);
        EXPECT_EQ(c.layout[0], s.mouseLayout[0]);
        EXPECT_EQ(c.layout[1], s.mouseLayout[1]);
        Preset back = p;
        storeAxisPageState(back, s);
        EXPECT_EQ(c.invertOut, back.axisInvert) << std::hex << c.invertIn;
        EXPECT_EQ(c.mouseOut[0], back.mouseEmulation[0]);
        EXPECT_EQ(c.mouseOut[1], back.mouseEmulation[1]);
        EXPECT_EQ(0, back.miscWord[0]);
        EXPECT_EQ(7u, back.pedalsLinked) << "read whole, written whole";
    }
}

// Closing the page writes its state back into the current preset, which
// goes into the table (with the panel's record copy) only at an entry of it.
TEST(AxisPageState, ClosingCopiesIntoTheTableOnlyAtOneOfItsEntries) {
    static PanelState panel;
    const struct {
        uint16_t count, index;
        bool copied;
    } cases[] = {{3, 1, true}, {3, 2, true}, {3, 3, false}, {1, 200, false}, {255, 255, false}};
    for (const auto& c : cases) {
        panel = PanelState{};
        panel.table.presetCount = c.count;
        panel.currentIndex = c.index;
        panel.currentPreset.axisInvert = 0x01000001;
        AxisPageState state = loadAxisPageState(panel.currentPreset);
        state.pedalsLinked = 1;
        closeAxisPageState(panel, state);
        EXPECT_EQ(1u, panel.currentPreset.pedalsLinked) << "written back in any case";
        EXPECT_EQ(0x01000001u, panel.currentPreset.axisInvert);
        for (uint16_t i = 0; i < kMaxPresets; ++i)
            EXPECT_EQ(c.copied && i == c.index ? 1u : 0u, panel.table.presets[i].pedalsLinked) << c.index << " " << i;
        EXPECT_EQ(c.count, panel.table.presetCount);
    }
}

TEST(AxisPageState, TheLinkToggleTurnsAnyValueButZeroIntoZero) {
    const uint32_t cases[][2] = {{0, 1}, {1, 0}, {2, 0}, {0xFFFFFFFF, 0}};
    for (const auto& c : cases) EXPECT_EQ(c[1], flippedPedals(c[0])) << c[0];
}

TEST(AxisPageSelectors, EntriesFollowTheGameType) {
    EXPECT_EQ((std::vector<int>{16, 17, 19, 18, 30}), axisActionStrings(0));
    EXPECT_EQ((std::vector<int>{20, 21, 23, 22, 30}), axisActionStrings(1));
    EXPECT_EQ((std::vector<int>{28, 29, 19, 18, 30}), axisActionStrings(2));
    EXPECT_EQ((std::vector<int>{24, 25, 27, 26, 30}), axisActionStrings(3));
    EXPECT_TRUE(axisActionStrings(4).empty());
    EXPECT_TRUE(axisActionStrings(0xFFFF).empty());
}

TEST(AxisPageCommands, EachButtonActsOnItsBoxes) {
    const struct {
        int id;
        AxisAction action;
        int first, last, typeButton;
    } cases[] = {
        {1036, AxisAction::Reset, 1, 2, 1065},  {1037, AxisAction::Reset, 1, 2, 1065},
        {1038, AxisAction::Reset, 3, 3, 1067},  {1039, AxisAction::Reset, 4, 4, 1068},
        {1065, AxisAction::Toggle, 1, 2, 1065}, {1066, AxisAction::Toggle, 1, 2, 1065},
        {1067, AxisAction::Toggle, 3, 3, 1067}, {1068, AxisAction::Toggle, 4, 4, 1068},
    };
    for (const auto& c : cases) {
        const AxisCommand command = axisCommand(c.id);
        EXPECT_EQ(c.action, command.action) << c.id;
        EXPECT_EQ(c.first, command.firstBox) << c.id;
        EXPECT_EQ(c.last, command.lastBox) << c.id;
        for (int box = command.firstBox; box <= command.lastBox; ++box) EXPECT_EQ(c.typeButton, curveTypeButtonOf(box));
    }
    EXPECT_EQ(AxisAction::Pedals, axisCommand(275).action);
    EXPECT_EQ(AxisAction::About, axisCommand(269).action);
    EXPECT_EQ(AxisAction::None, axisCommand(1031).action) << "a selector is no command";
}

TEST(AxisPageLayout, TheMouseLayoutHidesItsPairAndFramesItTall) {
    EXPECT_EQ((std::vector<int>{101, 102, 1031, 1032, 1036, 1037, 1065, 1066}), mouseLayoutHidden(0));
    EXPECT_EQ((std::vector<int>{103, 104, 1033, 1034, 1038, 1039, 1067, 1068}), mouseLayoutHidden(1));
    AxisPageState s{};
    EXPECT_EQ((std::vector<SkinRect>{{135, 219, 225, 309}, {225, 219, 315, 309}, {349, 173, 439, 263},
                                     {447, 173, 537, 263}}),
              axisPageFrames(s));
    s.mouseLayout[0] = true;
    EXPECT_EQ((std::vector<SkinRect>{{135, 219, 225, 390}, {349, 173, 439, 263}, {447, 173, 537, 263}}),
              axisPageFrames(s));
    s.mouseLayout[1] = true;
    EXPECT_EQ((std::vector<SkinRect>{{135, 219, 225, 390}, {309, 133, 399, 304}}), axisPageFrames(s));
}

}  // namespace
}  // namespace zentra
