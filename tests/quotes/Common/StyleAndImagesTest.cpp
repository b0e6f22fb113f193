#include "Common/DrawFunc.h"
#include "Common/StyleFunc.h"
#include "Common/UtilUI.h"

#include <gtest/gtest.h>

namespace {

TEST(DrawFunc, SquareAroundAPoint) {
    EXPECT_EQ(DrawFunc::makeRectByPoint({10, 10}, 4), gfx::Rect(8, 8, 4, 4));
    EXPECT_EQ(DrawFunc::makeRectByPoint({0, 5}, 3), gfx::Rect(-1.5f, 3.5f, 3, 3));
}

TEST(StyleFunc, SystemFontsAndTheirTextHeight) {
    auto regular = StyleFunc::getSysFont(14);
    auto bold = StyleFunc::getBoldSysFont(14);
    ASSERT_TRUE(regular && bold);
    EXPECT_EQ(regular->pointSize(), 14);
    EXPECT_FALSE(regular->isBold());
    EXPECT_TRUE(bold->isBold());

    int height = StyleFunc::getFontHeight(regular);
    EXPECT_EQ(height, int(regular->xHeight() + regular->capHeight()));
    // about half an em for the x-height and two thirds for the capitals
    EXPECT_GT(height, 10);
    EXPECT_LT(height, 21);
    EXPECT_GT(StyleFunc::getFontHeight(StyleFunc::getSysFont(28)), height);
    EXPECT_EQ(StyleFunc::getFontHeight(nullptr), 0);
}

TEST(UtilUI, BundleImagesOutsideTheCache) {
    auto first = UtilUI::imageNamed("selbox.png");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->scale(), 1);
    EXPECT_NE(UtilUI::imageNamed("selbox.png"), first);

    auto retina = UtilUI::retinaImageNamed("selbox.png");
    ASSERT_TRUE(retina);
    EXPECT_EQ(retina->scale(), 2);
    EXPECT_EQ(retina->size().w * 2, first->size().w);
    EXPECT_EQ(retina->size().h * 2, first->size().h);

    EXPECT_FALSE(UtilUI::imageNamed("no such picture.png"));
    EXPECT_FALSE(UtilUI::retinaImageNamed("no such picture.png"));
}

} // namespace
