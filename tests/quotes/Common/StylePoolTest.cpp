#include "Common/StylePool.h"
#include "Common/StyleFunc.h"
#include "Golden.h"

#include <gtest/gtest.h>

namespace {

using gfx::Rgba8;

constexpr Rgba8 None{};

Rgba8 opaque(int r, int g, int b) {
    return {uint8_t(r), uint8_t(g), uint8_t(b), 255};
}

struct StylePoolTest : ::testing::Test {
    StylePool &pool = StylePool::Instance();
};

TEST_F(StylePoolTest, OneInstanceWithTheSchemeColours) {
    EXPECT_EQ(&StylePool::Instance(), &pool);
    EXPECT_EQ(*pool.clTextRise, *gfx::Color::rgba(1, 82.f / 255, 82.f / 255, 1));
    EXPECT_EQ(*pool.clTextName, *gfx::Color::rgba(1, 1, 1, 221.f / 255));
    EXPECT_EQ(*pool.clChartBG, *gfx::Color::rgba(0, 0, 0, 0.5f));
    EXPECT_EQ(*pool.clTrendLineEvenBG, *gfx::Color::rgba(51.f / 255, 51.f / 255, 51.f / 255, 0.5f));
    // The candle gradients' middle stops are the line colours.
    const auto &rise = pool.gradientKLineRise->stops();
    ASSERT_EQ(rise.size(), 3u);
    EXPECT_EQ(*gfx::Color::rgba(rise[1].r, rise[1].g, rise[1].b, rise[1].a), *pool.clRiseLine);
    EXPECT_EQ(rise[1].offset, 0.5f);
    const auto &fall = pool.gradientKLineFall->stops();
    EXPECT_EQ(*gfx::Color::rgba(fall[1].r, fall[1].g, fall[1].b, fall[1].a), *pool.clFallLine);
    EXPECT_TRUE(pool.imgTableViewBG && pool.imgTableViewBG->leftCap() == 20);
    EXPECT_TRUE(pool.fontPriceVol && pool.fontPriceVol->isBold());
}

TEST_F(StylePoolTest, ColourPickers) {
    struct Case {
        const char *what;
        const base::Ref<gfx::Color> &got, &want;
    } cases[] = {
        {"reference 1000, current 0", pool.getPriceColor(1000, 0), pool.clTextPlane},
        {"reference 0, current 5", pool.getPriceColor(0, 5), pool.clTextPlane},
        {"1000 against 1001", pool.getPriceColor(1000, 1001), pool.clTextRise},
        {"1000 against 999", pool.getPriceColor(1000, 999), pool.clTextFall},
        {"1000 against 1000", pool.getPriceColor(1000, 1000), pool.clTextPlane},
        {"change 3", pool.getPriceColor(3), pool.clTextRise},
        {"change -3", pool.getPriceColor(-3), pool.clTextFall},
        {"change 0", pool.getPriceColor(0), pool.clTextPlane},
        {"big-order 0", pool.getDDTypeColor(0), pool.clTextRise},
        {"big-order 2", pool.getDDTypeColor(2), pool.clTextRise},
        {"big-order 4", pool.getDDTypeColor(4), pool.clTextRise},
        {"big-order 1", pool.getDDTypeColor(1), pool.clTextFall},
        {"big-order 3", pool.getDDTypeColor(3), pool.clTextFall},
        {"big-order 5", pool.getDDTypeColor(5), pool.clTextFall},
        {"big-order 6", pool.getDDTypeColor(6), pool.clTextFall},
        {"MA 5", pool.getMAColor(5), pool.clMA6},
        {"MA 6", pool.getMAColor(6), pool.clMA1},
        {"MA -1", pool.getMAColor(-1), pool.clMA1},
        {"stock 1", pool.getAddStockColor(1), pool.clAddStock2},
        {"stock 6", pool.getAddStockColor(6), pool.clAddStock1},
    };
    for (const Case &k : cases)
        EXPECT_EQ(k.got.get(), k.want.get()) << k.what;
}

TEST_F(StylePoolTest, OrdinalsOutsideTheTenLevelsAreEmpty) {
    EXPECT_EQ(pool.getBuyNum(0), "买一");
    EXPECT_EQ(pool.getBuyNum(9), "买十");
    EXPECT_EQ(pool.getBuyNum(10), "");
    EXPECT_EQ(pool.getSellNum(4), "卖五");
    EXPECT_EQ(pool.getSellNum(-1), "");
    EXPECT_EQ(pool.getCnNum(2, "第"), "第三");
    EXPECT_EQ(pool.getCnNum(10, "第"), "第");
}

TEST_F(StylePoolTest, NarrowCandlesAreLinesOrFilledRectsAndWiderOnesGradients) {
    gfx::Surface pixels(40, 30);
    gfx::Context c(pixels);
    c.setStroke(*gfx::Color::green());
    pool.drawKLineColumn(c, {2, 0, 1, 20}, true, *gfx::Color::white());
    EXPECT_EQ(pixels.pixel(2, 10).g, 255); // half a pixel of line in the current stroke colour
    EXPECT_EQ(pixels.pixel(2, 10).r, 0);

    pool.drawKLineColumn(c, {10, 0, 1.5f, 20}, true, *gfx::Color::white());
    EXPECT_EQ(pixels.pixel(10, 10), opaque(255, 255, 255));

    pool.drawKLineColumn(c, {20, 0, 2.5f, 20}, true, *gfx::Color::white());
    const Rgba8 edge = pixels.pixel(20, 10);
    EXPECT_NE(edge, opaque(255, 255, 255));
    EXPECT_GT(edge.r, 152);
    EXPECT_LT(edge.r, 231);

    pool.drawKLineVolColumn(c, {30, 0, 1.5f, 20}, false);
    EXPECT_EQ(pixels.pixel(30, 10), opaque(52, 172, 230));
}

TEST_F(StylePoolTest, DashedSeparatorsAreDoubledOnePointAside) {
    gfx::Surface pixels(40, 40);
    gfx::Context c(pixels);
    pool.drawKHorzLine(c, {0, 0, 40, 20}, 10.5f, false);
    // dashes 3 on, 8 off from x 1
    EXPECT_EQ(pixels.pixel(2, 10), opaque(20, 20, 20));
    EXPECT_EQ(pixels.pixel(2, 11), opaque(52, 52, 52));
    EXPECT_EQ(pixels.pixel(7, 10), None);
    EXPECT_EQ(pixels.pixel(13, 10), opaque(20, 20, 20));
    EXPECT_EQ(pixels.pixel(0, 10), None);

    pool.drawKVertLine(c, {0, 20, 40, 20}, 30.5f, false);
    EXPECT_EQ(pixels.pixel(30, 21), opaque(20, 20, 20));
    EXPECT_EQ(pixels.pixel(31, 21), opaque(52, 52, 52));
    EXPECT_EQ(pixels.pixel(30, 26), None);

    pool.drawKHorzLine(c, {0, 0, 40, 20}, 35.5f, true);
    EXPECT_EQ(pixels.pixel(7, 35), opaque(47, 47, 47));
    EXPECT_EQ(pixels.pixel(7, 36), None);
    EXPECT_TRUE(c.dash().empty());
}

TEST_F(StylePoolTest, CentredValueTagsStartAtTheTruncatedLeftEdge) {
    auto font = StyleFunc::getSysFont(12);
    struct Case {
        int type, x, w, left;
    } cases[] = {{4, 100, 41, 79}, {4, 100, 40, 80}, {1, 100, 41, 100}};
    for (const Case &k : cases) {
        gfx::Surface pixels(200, 30);
        gfx::Context c(pixels);
        pool.drawCursorText(c, k.type, k.x, 5, k.w, "", *font);
        EXPECT_EQ(pixels.pixel(k.left, 10), opaque(208, 112, 16)) << k.type << " " << k.w;
        EXPECT_EQ(pixels.pixel(k.left - 1, 10), None) << k.type << " " << k.w;
        EXPECT_EQ(pixels.pixel(k.left + k.w - 1, 21), opaque(208, 112, 16));
        EXPECT_EQ(pixels.pixel(k.left + k.w, 10), None);
        EXPECT_EQ(pixels.pixel(k.left, 22), None); // 17 high from y 5
    }
}

TEST_F(StylePoolTest, ChartStripOfCandlesBarsSeparatorsAndTags) {
    gfx::Surface pixels(160, 80);
    gfx::Context c(pixels);
    pool.drawKLineBorder(c, {0, 0, 160, 80}, 0);
    pool.drawKHorzLine(c, {0, 0, 160, 80}, 40.5f, false);
    pool.drawKVertLine(c, {0, 0, 160, 80}, 80.5f, true);
    const float widths[] = {1, 1.5f, 6, 12};
    float x = 8;
    for (int i = 0; i < 4; ++i) {
        c.setStroke(i % 2 ? *pool.clFallLine : *pool.clRiseLine);
        pool.drawKLineColumn(c, {x, 8, widths[i], 28}, i % 2 == 0,
                             i % 2 ? *pool.clFallLine : *pool.clRiseLine);
        pool.drawKLineVolColumn(c, {x, 56, widths[i], 20}, i % 2 == 0);
        x += widths[i] + 6;
    }
    pool.drawCursorLine(c, {100.5f, 2}, {100.5f, 78});
    pool.drawCursorText(c, 4, 130, 20, 41, "12.34", *StyleFunc::getSysFont(12));
    EXPECT_TRUE(qvtest::matchesGolden(pixels, "common/chart-strip", 48));
}

} // namespace
