#include "UIGeometry.h"
#include "UIImageString.h"

#include <gtest/gtest.h>

namespace {

TEST(Colors, AlphaDecidesWhetherAFillIsDrawn) {
    EXPECT_EQ(uikit::ParseColor("#FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(uikit::ParseColor("FF008AFF"), 0xFF008AFFu);
    EXPECT_EQ(uikit::ParseColor("#444444"), 0x00444444u);
    EXPECT_TRUE(uikit::IsVisibleFill(uikit::ParseColor("#FFFFFFFF")));
    EXPECT_TRUE(uikit::IsVisibleFill(uikit::ParseColor("#01000000")));
    EXPECT_FALSE(uikit::IsVisibleFill(uikit::ParseColor("#FFFFFF")));
    EXPECT_FALSE(uikit::IsVisibleFill(uikit::ParseColor("")));
}

TEST(Values, RectanglesSizesAndBooleans) {
    EXPECT_EQ(uikit::ParseRect("902,6,926,30"), (uikit::UIRect{902, 6, 926, 30}));
    EXPECT_EQ(uikit::ParseRect(" -1, 2 ,3,4"), (uikit::UIRect{-1, 2, 3, 4}));
    EXPECT_FALSE(uikit::ParseRect("1,2,3").has_value());
    EXPECT_FALSE(uikit::ParseRect("a,b,c,d").has_value());
    EXPECT_EQ(uikit::ParseSize("960,620"), (uikit::UISize{960, 620}));
    EXPECT_TRUE(uikit::ParseBool("true"));
    EXPECT_FALSE(uikit::ParseBool("TRUE"));
    EXPECT_FALSE(uikit::ParseBool("1"));
}

TEST(ImageStrings, BareNamesAndPairs) {
    EXPECT_EQ(uikit::ParseImageString("icon_warning.png").file, "icon_warning.png");
    const uikit::ImageDrawSpec drawing = uikit::ParseImageString(
        "file='gprogress_bk.png' corner='3,3,3,3' dest='1,2,3,4' source='0,0,8,8' mask='#FF00FF' fade='300' hole='true' "
        "xtiled='true' ytiled='false'");
    EXPECT_EQ(drawing.file, "gprogress_bk.png");
    EXPECT_EQ(drawing.corner, (uikit::UIRect{3, 3, 3, 3}));
    EXPECT_EQ(drawing.dest, (uikit::UIRect{1, 2, 3, 4}));
    EXPECT_EQ(drawing.source, (uikit::UIRect{0, 0, 8, 8}));
    EXPECT_EQ(drawing.mask, 0xFF00FFu);
    EXPECT_EQ(drawing.fade, 255);
    EXPECT_TRUE(drawing.hole);
    EXPECT_TRUE(drawing.xtiled);
    EXPECT_FALSE(drawing.ytiled);
    EXPECT_EQ(uikit::ParseImageString("file='confirm.png' junk").file, "confirm.png");
    EXPECT_EQ(uikit::ParseImageString("file='unterminated").file, "file='unterminated");
}

}  // namespace
