#include "Module/CommonControls/KLine/KLine/KLineClass.h"

#include "ChartData.h"
#include "Common/StylePool.h"
#include "gfx/Surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using gfx::Rgba8;

struct Canvas {
    gfx::Surface pixels;
    gfx::Context context;
    Canvas(int w, int h) : pixels(w, h), context(pixels) {}
    Rgba8 at(int x, int y) const { return pixels.pixel(x, y); }
    bool inked(int x, int y) const { return at(x, y).a > 0; }
    bool red(int x, int y) const { return at(x, y).r > 200 && at(x, y).g < 60; }
    bool green(int x, int y) const { return at(x, y).g > 200 && at(x, y).r < 60; }
};

TEST(KLineClassLayout, MainPlotHeightSetsTheGridBands) {
    // Without the volume pane the main plot of mode 0 is the view height less 48 points.
    struct Case {
        float plot;
        int bands;
    };
    for (const Case &c :
         {Case{99, 2}, Case{100, 3}, Case{180, 3}, Case{299, 4}, Case{350, 5}, Case{450, 6}}) {
        KLineClass chart(0);
        chart.setIsShowVol(false);
        chart.calcRects({0, 0, 1024, c.plot + 48});
        ASSERT_EQ(chart.m_rtMain.height(), c.plot);
        EXPECT_EQ(chart.horLineCountMain(), c.bands) << c.plot;
    }
}

TEST(KLineClassLayout, ModesSizeThePanesByTheirShare) {
    KLineClass full(0), compact(1);
    full.setIsShowLevel2Tech(true);
    full.calcRects({0, 0, 1000, 500});
    EXPECT_EQ(full.m_rtMain.x(), 10);
    EXPECT_EQ(full.m_rtMain.width(), 940);
    EXPECT_EQ(full.m_rtVolBorder.height(), 100);
    EXPECT_EQ(full.m_rtLevel2Border.height(), 100);
    EXPECT_EQ(full.m_rtMainTitle.height(), 20);
    compact.calcRects({0, 0, 380, 250});
    EXPECT_EQ(compact.m_rtMain.x(), 4);
    EXPECT_EQ(compact.m_rtVolBorder.height(), 62.5);
    EXPECT_EQ(compact.m_rtMainTitle.height(), 0);
}

// One candle in a 40-point slot at x 20 of a plot from y 0 (price 100) to 100 (price 0).
struct Candle : ::testing::Test {
    KLineClass chart{0};
    Canvas c{120, 100};
    const base::Ref<gfx::Color> rise = gfx::Color::rgba(1, 0, 0), fall = gfx::Color::rgba(0, 1, 0);

    void draw(const KLineItem &k, const KLineItem *prior, float left = 20, float width = 40) {
        chart.drawK(c.context, k, prior, 100, 0, left, width, 0, 100, *rise, *fall, false);
    }
};

TEST_F(Candle, ADojiRisesOrFallsByTheCloseOnlyAfterAnotherDoji) {
    struct Case {
        const char *name;
        base::Ref<KLineItem> prior;
        bool rises;
    };
    const auto doji = chartdata::candle(2, 50, 70, 30, 50);
    for (const Case &k : {Case{"after a lower doji", chartdata::candle(1, 40, 45, 35, 40), true},
                          Case{"after a higher doji", chartdata::candle(1, 60, 65, 55, 60), false},
                          Case{"after a higher falling candle", chartdata::candle(1, 80, 85, 55, 60), true},
                          Case{"first on screen", nullptr, true}}) {
        Canvas fresh(120, 100);
        chart.drawK(fresh.context, *doji, k.prior.get(), 100, 0, 20, 40, 0, 100, *rise, *fall, false);
        EXPECT_EQ(fresh.red(40, 40), k.rises) << k.name; // the wick above the flat body
        EXPECT_EQ(fresh.green(40, 40), !k.rises) << k.name;
    }
}

TEST_F(Candle, BodiesAreInsetAndNarrowOnesAreLines) {
    const auto falling = chartdata::candle(1, 80, 90, 10, 20);
    draw(*falling, nullptr); // filled from 21 to 59 between y 20 and 80
    EXPECT_TRUE(c.green(22, 50));
    EXPECT_TRUE(c.green(58, 50));
    EXPECT_FALSE(c.inked(20, 50));
    EXPECT_FALSE(c.inked(60, 50));

    // One point wide: no inset, a line at the slot's left.
    Canvas one(120, 100);
    chart.drawK(one.context, *falling, nullptr, 100, 0, 80, 1, 0, 100, *rise, *fall, false);
    EXPECT_TRUE(one.inked(80, 50) || one.inked(79, 50));
    EXPECT_FALSE(one.inked(81, 50));
    // Three points wide: a 1-point body is a line at left + 1.
    Canvas three(120, 100);
    chart.drawK(three.context, *falling, nullptr, 100, 0, 80, 3, 0, 100, *rise, *fall, false);
    EXPECT_TRUE(three.inked(81, 50) || three.inked(80, 50));
    EXPECT_FALSE(three.inked(83, 50));
}

TEST_F(Candle, ColumnBodiesTakeTheLineColoursAndOverlayBodiesAreOutlinedWhenRising) {
    StylePool &style = StylePool::Instance();
    const auto rising = chartdata::candle(1, 20, 90, 10, 80);
    chart.drawK(c.context, *rising, nullptr, 100, 0, 20, 40, 0, 100, *style.clRiseLine, *style.clFallLine,
                true);
    const gfx::Rgba8 middle = c.at(40, 50);
    auto channel = [](float v) { return int(v * 255 + 0.5f); };
    const gfx::Color &riseLine = *style.clRiseLine;
    EXPECT_NEAR(middle.r, channel(riseLine.r()), 12);
    EXPECT_NEAR(middle.g, channel(riseLine.g()), 12);
    EXPECT_NEAR(middle.b, channel(riseLine.b()), 12);

    Canvas overlay(120, 100);
    chart.drawK(overlay.context, *rising, nullptr, 100, 0, 20, 40, 0, 100, *rise, *fall, false);
    EXPECT_FALSE(overlay.inked(40, 50)); // hollow
    EXPECT_TRUE(overlay.red(21, 50) || overlay.red(20, 50));
}

// A chart with data drawn once at a view size, then its cross-hair.
struct Cursor : ::testing::Test {
    KLineClass chart{0};
    void load(int32_t capital = 0) { chart.Update(chartdata::snapshot(capital), chartdata::days(60), 7); }
    const KLineClass::FloatPanel &panelAt(float width, gfx::Point touch = {50, 200}) {
        Canvas c(int(width), 500);
        chart.draw(c.context, {0, 0, width, 500});
        chart.drawCursor(c.context, {0, 0, width, 500}, touch);
        return chart.floatPanel();
    }
};

TEST_F(Cursor, PanelLayoutFollowsTheViewWidth) {
    load(1000000);
    using Titles = std::vector<std::string>;
    struct Case {
        float width;
        int layout;
        Titles titles;
    };
    for (const Case &c : {Case{380, 2, {"开:", "高:", "低:", "收:", "量:", "幅:"}},
                          Case{500, 1, {"开:", "高:", "低:", "收:", "量:", "幅:"}},
                          Case{700, 0, {"日:", "开:", "高:", "低:", "收:", "量:", "额:", "幅:", "换:"}}}) {
        const KLineClass::FloatPanel &panel = panelAt(c.width);
        EXPECT_EQ(panel.layout, c.layout) << c.width;
        EXPECT_EQ(panel.titles, c.titles) << c.width;
        EXPECT_EQ(panel.rect.height(), (c.layout == 2 ? 2 : 1) * (chart.textHeight() + 1)) << c.width;
        EXPECT_EQ(panel.rect.x(), chart.m_rtMain.x() + 1);
    }
}

TEST_F(Cursor, TurnoverNeedsCirculatingCapital) {
    load(0);
    const auto &titles = panelAt(700).titles;
    EXPECT_EQ(std::count(titles.begin(), titles.end(), std::string(KLineClass::TurnoverTitle)), 0);

    chart.Update(chartdata::snapshot(200000), chartdata::days(60), 7);
    const KLineClass::FloatPanel &panel = panelAt(700, {2000, 200}); // clamped to the newest candle
    ASSERT_EQ(panel.titles.back(), KLineClass::TurnoverTitle);
    const KLineItem &newest = *chart.klineList()->back();
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.2f%%", newest.vol * 100.0 / 200000);
    EXPECT_EQ(panel.values.back(), expected);
    EXPECT_EQ(chart.curIndex(), chart.indexTo());
}

TEST_F(Cursor, TwoRowPanelMovesDownOutOfTheFingersWay) {
    load();
    const float top = panelAt(380, {50, 300}).rect.y();
    EXPECT_EQ(top, chart.m_rtMain.y() + 1);
    const KLineClass::FloatPanel &low = panelAt(380, {50, chart.m_rtMain.y() + 10});
    EXPECT_EQ(low.rect.y() + low.rect.height(), chart.m_rtMain.y() + chart.m_rtMain.height());
}

TEST_F(Cursor, NothingWithoutData) {
    Canvas c(700, 500);
    chart.draw(c.context, {0, 0, 700, 500});
    chart.drawCursor(c.context, {0, 0, 700, 500}, {50, 200});
    EXPECT_TRUE(chart.floatPanel().titles.empty());
    EXPECT_EQ(chart.getDisplayFirstTime(), 0);
}

} // namespace

namespace {

// A comparison stock drawn over the chart: its candles in its overlay colour on the common scale,
// its name in the title row.
TEST(KLineClassCompare, OverlayCandlesTakeTheirColourAndTitlesTheTopRow) {
    KLineClass chart(0);
    auto list = chartdata::days(40);
    auto other = chartdata::snapshot();
    other->code = "SZ000001";
    other->name = "平安银行";
    for (const base::Ref<KLineItem> &k : *list) {
        auto overlay = base::make<AddStockKLines>();
        // Twice the price, falling hard every day: filled bodies far from the own candles.
        overlay->items["SZ000001"] = chartdata::candle(k->time, 2000, 2010, 1800, 1810);
        k->addStockInfo = overlay;
    }
    chart.Update(chartdata::snapshot(), list, 7);
    chart.setMultiStockList(base::Array{
        base::Value(base::Dict{{"code", "SZ000001"}, {"basicInf", base::Value(other)}, {"colorID", 2}})});
    chart.OpenAddStocksMode();
    Canvas c(700, 500);
    chart.draw(c.context, {0, 0, 700, 500});

    const gfx::Color &blue = *StylePool::Instance().getAddStockColor(2);
    auto isOverlay = [&](Rgba8 p) {
        return std::abs(p.r - int(blue.r() * 255)) < 8 && std::abs(p.g - int(blue.g() * 255)) < 8 &&
               std::abs(p.b - int(blue.b() * 255)) < 8 && p.a > 200;
    };
    int overlayPixels = 0;
    const gfx::Rect m = chart.m_rtMain;
    for (int y = int(m.y()); y < int(m.maxY()); ++y)
        for (int x = int(m.x()); x < int(m.maxX()); ++x)
            overlayPixels += isOverlay(c.at(x, y));
    EXPECT_GT(overlayPixels, 40 * 4);
    bool titled = false;
    for (int x = 80; x < 200 && !titled; ++x)
        titled = isOverlay(c.at(x, 10));
    EXPECT_TRUE(titled);
    EXPECT_EQ(chart.getDisplayFirstTime(), list->front()->time);
}

} // namespace
