// The test page's frame, marker, dots, gauges and pedal pictures.
#include <gtest/gtest.h>

#include "cpl/pages/test_page_logic.h"

namespace zentra {
namespace {

TEST(TestPageWheel, FrameAndMarkerFollowTheSteering) {
    const struct {
        int32_t x;
        int frame;
        PagePoint marker;
    } cases[] = {
        {32767, 22, {228, 80}},  // centre: straight up
        {30768, 21, {228, 80}},  // the dead band, both ends
        {34766, 23, {228, 80}},
        {30767, 21, {215, 80}},  // just outside it
        {0, 0, {121, 231}},      // full left, about 105 degrees
        {65535, 45, {334, 231}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.frame, videoFrame(c.x)) << c.x;
        EXPECT_EQ(c.marker, steeringMarker(c.x)) << c.x;
    }
}

TEST(TestPageWheel, ButtonDotsTurnWithTheWheel) {
    EXPECT_EQ((PagePoint{196, 169}), buttonDot(2, 22));
    EXPECT_EQ((PagePoint{312, 168}), buttonDot(5, 22));
    EXPECT_EQ((PagePoint{238, 271}), buttonDot(4, 0));
    EXPECT_EQ((PagePoint{216, 219}), buttonDot(7, 45));
    EXPECT_NE(buttonDot(3, 10), buttonDot(3, 30)) << "5 degrees a frame";
}

TEST(TestPagePedals, GaugesOfSeparateAndLinkedPedals) {
    const struct {
        int32_t y, z, rz;
        bool linked;
        uint32_t first, second;
    } cases[] = {
        {1000, 2000, 3000, false, 1000, 3000},  // the greater of Rz and Z
        {1000, 4000, 3000, false, 1000, 4000},
        {32767, 0, 0, true, 65526, 65530},      // linked at rest: both nearly empty
        {65535, 0, 0, true, 0, 65530},          // first pedal full
        {0, 0, 0, true, 65530, 0},              // second pedal full
        {32764, 0, 0, true, 65530, 65528},
    };
    for (const auto& c : cases) {
        const PedalGauges g = pedalGauges(c.y, c.z, c.rz, c.linked);
        EXPECT_EQ(c.first, g.first) << c.y;
        EXPECT_EQ(c.second, g.second) << c.y;
    }
}

TEST(TestPagePedals, BarLengths) {
    const std::pair<uint32_t, int> cases[] = {{65535, 0}, {58535, 10}, {58536, 9}, {0, 93}, {65530, 0}, {70000, 0}};
    for (auto [value, length] : cases) EXPECT_EQ(length, gaugeLength(value)) << value;
}

TEST(TestPagePedals, PedalPicturesPressedOrReleased) {
    EXPECT_TRUE(firstPedalPressed(57534, false));
    EXPECT_FALSE(firstPedalPressed(57535, false));
    EXPECT_TRUE(firstPedalPressed(40766, true));
    EXPECT_FALSE(firstPedalPressed(40765, true));
    EXPECT_TRUE(secondPedalPressed(57534, 65535, false));
    EXPECT_FALSE(secondPedalPressed(57535, 0, false));
    EXPECT_TRUE(secondPedalPressed(65535, 24764, true));
    EXPECT_FALSE(secondPedalPressed(0, 24765, true));
}

}  // namespace
}  // namespace zentra
