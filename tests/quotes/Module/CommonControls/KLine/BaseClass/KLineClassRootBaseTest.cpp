#include "Module/CommonControls/KLine/BaseClass/KLineClassRootBase.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Root : public KLineClassRootBase {
public:
    Root(bool vol, bool level2) {
        m_bShowVol = vol;
        m_bShowLevel2Tech = level2;
    }
};

float bottom(const gfx::Rect &r) {
    return r.y() + r.height();
}

// Chart 400 × 300; margins 40 and 50, frame line 1, text frames 2 and 3, top 10, bottom 20,
// main title 15, volume 60 with title 12, level-2 60 with title 10.
void fullLayout(Root &root) {
    root.calcRects({0, 0, 400, 300}, 40, 50, 1, 2, 3, 10, 20, 15, 60, 12, 50, 10);
}

TEST(ChartLayout, FullVariantStacksThePanesDownToTheBottomStrip) {
    Root volOnly(true, false);
    fullLayout(volOnly);
    EXPECT_EQ(volOnly.m_rtBottom, gfx::Rect(43, 280, 301, 20));
    EXPECT_EQ(volOnly.m_rtVolBorder, gfx::Rect(41, 220, 308, 60));
    EXPECT_EQ(volOnly.m_rtVol, gfx::Rect(43, 221, 301, 58));
    EXPECT_EQ(volOnly.m_rtVolTitle, gfx::Rect(43, 208, 301, 12));
    EXPECT_EQ(volOnly.m_rtMainBorder, gfx::Rect(41, 10, 308, 198));
    EXPECT_EQ(volOnly.m_rtMainTitle, gfx::Rect(43, 11, 301, 15));
    EXPECT_EQ(volOnly.m_rtMain, gfx::Rect(43, 26, 301, 181));
    EXPECT_EQ(volOnly.m_rtMainLeft, gfx::Rect(1, 26, 42, 181));
    EXPECT_EQ(volOnly.m_rtMainRight, gfx::Rect(350, 26, 50, 181));
    EXPECT_EQ(volOnly.m_rtTop, gfx::Rect(41, 0, 308, 10));
    EXPECT_EQ(volOnly.m_rtLevel2Border, gfx::Rect());
    EXPECT_EQ(volOnly.getCursorRect(), gfx::Rect(43, 26, 301, 253));

    Root all(true, true);
    fullLayout(all);
    EXPECT_EQ(all.m_rtLevel2Border, gfx::Rect(41, 222, 308, 60));
    EXPECT_EQ(all.m_rtLevel2Title, gfx::Rect(43, 223, 301, 10));
    EXPECT_EQ(all.m_rtLevel2, gfx::Rect(43, 233, 301, 48));
    EXPECT_EQ(all.m_rtLevel2Right, gfx::Rect(350, 233, 50, 48));
    EXPECT_EQ(all.m_rtVolBorder, gfx::Rect(41, 163, 308, 60));
    EXPECT_EQ(all.m_rtMainBorder, gfx::Rect(41, 10, 308, 138));
    EXPECT_EQ(all.m_rtVolTitle, gfx::Rect(43, 151, 301, 12));
}

TEST(ChartLayout, CompactVariantKeepsItsGaps) {
    Root none(false, false);
    none.calcRects2({0, 0, 400, 300}, 50, 40, 14, 20, 60, 50);
    EXPECT_EQ(none.m_rtMainBorder, gfx::Rect(50, 1, 310, 300 - 3 - 20));
    EXPECT_EQ(none.m_rtMain, gfx::Rect(50, 15, 310, 263));
    EXPECT_EQ(none.m_rtBottom, gfx::Rect(0, 280, 400, 20));
    EXPECT_EQ(none.m_rtTop, gfx::Rect(50, 0, 310, 1));
    EXPECT_EQ(none.m_rtVol, gfx::Rect());
    // Without a volume pane the cursor stays in the main plot.
    EXPECT_EQ(none.getCursorRect(), none.m_rtMain);

    Root both(true, true);
    both.calcRects2({0, 0, 400, 300}, 50, 40, 14, 20, 60, 50);
    EXPECT_EQ(both.m_rtLevel2Border, gfx::Rect(50, 230, 310, 50));
    EXPECT_EQ(both.m_rtLevel2, gfx::Rect(50, 244, 310, 36));
    EXPECT_EQ(both.m_rtVolBorder, gfx::Rect(50, 169, 310, 60));
    EXPECT_EQ(both.m_rtVolTitle, gfx::Rect(50, 169, 310, 14));
    EXPECT_EQ(both.m_rtVol, gfx::Rect(50, 183, 310, 46));
    EXPECT_EQ(both.m_rtVolLeft, gfx::Rect(1, 183, 49, 46));
    EXPECT_EQ(both.m_rtVolRight, gfx::Rect(361, 183, 39, 46));
    EXPECT_EQ(both.m_rtMainBorder, gfx::Rect(50, 1, 310, 167));
    EXPECT_EQ(bottom(both.m_rtMainBorder) + 1, both.m_rtVolBorder.y());
}

TEST(ChartLayout, PriceLabelDecimals) {
    Root root(false, false);
    struct Case {
        int32_t price;
        int decimal;
        int digits;
    };
    const Case cases[] = {
        {500, 2, 3},     {998, 2, 3},     {999, 2, 2},  {150000, 2, 1}, {100000, 2, 2},
        {1200000, 2, 0}, {1000000, 2, 1}, {2500, 2, 2}, {25, 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(root.getPriceDisplayDig(c.price, c.decimal), c.digits) << c.price << " / 10^" << c.decimal;
}

TEST(ChartLayout, FontSetsTheTextHeight) {
    Root root(false, false);
    EXPECT_EQ(root.textHeight(), 0);
    root.setFont(gfx::Font::system(14));
    EXPECT_GT(root.textHeight(), 0);
    EXPECT_EQ(root.textHeight(), std::floor(root.textHeight()));
    EXPECT_FALSE(root.getTechColor(0, 1));
}

} // namespace
