// The control panel's picture layout: every picture lies inside its bitmap,
// pictures of one bitmap do not share pixels unless the layout says so, and
// the pictures fit the places the pages draw them to.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cpl/frame/main_page_logic.h"
#include "cpl/frame/skin_layout.h"

namespace zentra::skin {
namespace {

const BitmapSize* sizeOf(int bitmap) {
    for (const BitmapSize& size : kBitmapSizes)
        if (size.bitmap == bitmap) return &size;
    return nullptr;
}

bool overlap(const Sprite& a, const Sprite& b) {
    return a.bitmap == b.bitmap && a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

bool sharedOnPurpose(const std::string& a, const std::string& b) {
    for (const SharedPixels& pair : kSharedPixels)
        if ((a == pair.first && b == pair.second) || (a == pair.second && b == pair.first)) return true;
    return false;
}

const NamedSprite* find(const std::string& name) {
    for (const NamedSprite& s : kAllSprites)
        if (name == s.name) return &s;
    return nullptr;
}

TEST(SkinLayout, EveryPictureLiesInsideItsBitmap) {
    for (const NamedSprite& s : kAllSprites) {
        SCOPED_TRACE(s.name);
        const BitmapSize* size = sizeOf(s.sprite.bitmap);
        ASSERT_NE(size, nullptr);
        EXPECT_GT(s.sprite.width, 0);
        EXPECT_GT(s.sprite.height, 0);
        EXPECT_GE(s.sprite.x, 0);
        EXPECT_GE(s.sprite.y, 0);
        EXPECT_LE(s.sprite.right(), size->width);
        EXPECT_LE(s.sprite.bottom(), size->height);
    }
}

TEST(SkinLayout, NamesAreUnique) {
    std::set<std::string> names;
    for (const NamedSprite& s : kAllSprites) EXPECT_TRUE(names.insert(s.name).second) << s.name;
}

TEST(SkinLayout, PicturesOfOneBitmapShareNoPixelsUnlessMeantTo) {
    const size_t count = sizeof kAllSprites / sizeof kAllSprites[0];
    for (size_t i = 0; i < count; ++i) {
        for (size_t j = i + 1; j < count; ++j) {
            const NamedSprite &a = kAllSprites[i], &b = kAllSprites[j];
            if (a.backdrop || b.backdrop) continue;
            if (sharedOnPurpose(a.name, b.name)) continue;
            EXPECT_FALSE(overlap(a.sprite, b.sprite)) << a.name << " and " << b.name;
        }
    }
}

TEST(SkinLayout, EveryPairSharingPixelsOnPurposeDoesShareThem) {
    for (const SharedPixels& pair : kSharedPixels) {
        const NamedSprite* a = find(pair.first);
        const NamedSprite* b = find(pair.second);
        ASSERT_NE(a, nullptr) << pair.first;
        ASSERT_NE(b, nullptr) << pair.second;
        EXPECT_TRUE(overlap(a->sprite, b->sprite)) << pair.first << " and " << pair.second;
    }
}

TEST(SkinLayout, TabPicturesAreTheSizeOfTheirTabs) {
    // The copy takes the tab's size; the four tabs of the first build form
    // a grid, the D-pad tab's lower pictures lie where there was room.
    for (const TabInfo& tab : kTabs) {
        const Sprite pictures[3] = {tab.normal, tab.hovered, tab.selected};
        for (int c = 0; c < 3; ++c) {
            const Sprite& s = pictures[c];
            EXPECT_EQ(s.width, tab.place.right - tab.place.left) << tab.id;
            EXPECT_EQ(s.height, tab.place.bottom - tab.place.top) << tab.id;
            if (tab.id == kTabPov) continue;
            EXPECT_EQ(s.x, 643 + 90 * c);
            EXPECT_EQ(s.y, 1 + 59 * tabIndex(tab.id));
        }
    }
}

TEST(SkinLayout, ListRowsReachTheSkinsRightEdge) {
    // A row is copied 30 pixels wider than the list's 181-pixel client area;
    // what shows is what lies before the skin's edge.
    const BitmapSize* skin = sizeOf(kSkinBitmap);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(kListRow.right(), skin->width);
    EXPECT_EQ(kListRowSelected.right(), skin->width);
    EXPECT_EQ(kListRow.width, 181);
    EXPECT_LE(kListRowSelected.bottom(), kListRow.y);
}

TEST(SkinLayout, CalibrationPiecesFitTheDialog) {
    // The dialog's client area is the 288 x 152 band of the test page's
    // background; its texts and wheel lie inside it.
    EXPECT_EQ(kCalibrationDialog.width, 288);
    EXPECT_EQ(kCalibrationDialog.height, 152);
    for (const Sprite& text : {kCalibrationFirstText, kCalibrationSecondText}) {
        EXPECT_GE(text.y, kCalibrationDialog.y);
        EXPECT_LE(text.bottom(), kCalibrationDialog.bottom());
        EXPECT_LE(text.right(), kCalibrationDialog.right());
    }
    EXPECT_LE(kCalibrationWheelAt.x + kCalibrationWheel.width, kCalibrationDialog.width);
    EXPECT_LE(kCalibrationWheelAt.y + kCalibrationWheel.height, kCalibrationDialog.height);
    // The wheel marker turns about (72, 97): the picture's bottom middle.
    EXPECT_EQ(kCalibrationWheelAt.y + kCalibrationWheel.height, 97);
    EXPECT_NEAR(kCalibrationWheelAt.x + kCalibrationWheel.width / 2.0, 72, 1);
}

TEST(SkinLayout, TestPagePicturesKeepClearOfTheGauges) {
    // Gauge 1 redraws its background from y = 218 down, gauge 2 from y = 175
    // up; the pedal pictures must lie outside those areas, and the link sign
    // between the two pedals.
    EXPECT_LE(kFirstPedalAt.y + kFirstPedalReleased.height, 218);
    EXPECT_LE(kFirstPedalAt.y + kFirstPedalPressed.height, 218);
    EXPECT_GE(kSecondPedalAt.y, 175);
    EXPECT_LE(kFirstPedalAt.x + kFirstPedalReleased.width, kPedalLinkSignAt.x);
    EXPECT_LE(kPedalLinkSignAt.x + kPedalLinkSign.width, kSecondPedalAt.x);
    // Each pedal's bar runs down its middle.
    EXPECT_NEAR(kFirstPedalAt.x + kFirstPedalReleased.width / 2.0, 420 + kFirstPedalBar.width / 2.0, 1.5);
    EXPECT_NEAR(kSecondPedalAt.x + kSecondPedalReleased.width / 2.0, 480 + kSecondPedalBar.width / 2.0, 1.5);
    // The cap, centred on its bar, has a mask of its own size.
    EXPECT_NEAR(kGaugeCap.width / 2.0 - kGaugeCapOffset, kFirstPedalBar.width / 2.0, 0.5);
    EXPECT_EQ(kGaugeCap.width, kGaugeCapMask.width);
    EXPECT_EQ(kGaugeCap.height, kGaugeCapMask.height);
}

TEST(SkinLayout, AxisPicturesStayAboveTheCurveBoxes) {
    // Boxes 101 and 102 start at y = 220, boxes 103 and 104 at y = 174.
    EXPECT_LE(kAxisSteeringPictureAt.y + kAxisSteeringPicture.height, 220);
    EXPECT_LE(kAxisFirstPedalPictureAt.y + kAxisFirstPedalPicture.height, 174);
    EXPECT_LE(kAxisSecondPedalPictureAt.y + kAxisSecondPedalPicture.height, 174);
}

}  // namespace
}  // namespace zentra::skin
