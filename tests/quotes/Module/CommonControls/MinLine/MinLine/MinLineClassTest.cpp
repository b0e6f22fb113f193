#include "Module/CommonControls/MinLine/MinLine/MinLineClass.h"

#include "../IntradayFixture.h"
#include "Common/StylePool.h"
#include "DataBase/NetData/SeriesNumber.h"
#include "Module/CommonControls/MinLine/Chart/ChartMinLineClass.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace intraday;

TEST(IntradayDrawing, GridIntervalsFollowThePlotHeight) {
    const struct {
        float plotHeight;
        int intervals;
    } cases[] = {{99, 2}, {150, 4}, {250, 6}, {350, 8}, {450, 10}};
    const StylePool &style = StylePool::Instance();
    for (const auto &c : cases) {
        MinLineClass chart;
        chart.setIsShowVol(false);
        auto info = quote("SH600000", "浦发银行", 1000);
        chart.Update(info, wavingDay(*info, 100));
        // Top strip 2 and bottom strip 25 around the plot.
        Canvas canvas(500, int(c.plotHeight) + 27);
        chart.draw(canvas.context, {0, 0, 500, c.plotHeight + 27});
        ASSERT_FLOAT_EQ(chart.m_rtMain.height(), c.plotHeight);
        int n = chart.horLineCount();
        EXPECT_EQ(n, c.intervals) << c.plotHeight;

        std::vector<MinLineClass::PriceLabel> labels = chart.priceLabels();
        ASSERT_EQ(int(labels.size()), n + 1);
        for (int i = 0; i <= n; ++i) {
            EXPECT_EQ(labels[size_t(i)].bold, i == n / 2) << c.plotHeight << " label " << i;
            const base::Ref<gfx::Color> &expected = i < n / 2   ? style.clTextRise
                                                    : i > n / 2 ? style.clTextFall
                                                                : gfx::Color::white();
            EXPECT_EQ(labels[size_t(i)].color->description(), expected->description());
        }
        // The middle grid line is solid; the others are dashed. Both sit at whole points.
        const gfx::Rect &plot = chart.m_rtMain;
        auto gaps = [&](int interval) {
            int y = int(std::trunc(plot.y() + plot.height() / float(n) * float(interval)));
            int empty = 0;
            for (int x = int(plot.x()) + 2; x < int(plot.maxX()) - 1; ++x)
                empty += canvas.at(x, y).a == 0;
            return empty;
        };
        EXPECT_EQ(gaps(n / 2), 0) << c.plotHeight;
        if (n > 2)
            EXPECT_GT(gaps(1), 20) << c.plotHeight;
    }
}

TEST(IntradayDrawing, PriceLabelsSpreadTheScaleEvenly) {
    MinLineClass chart;
    chart.setIsShowVol(false);
    auto info = quote("SH600000", "浦发银行", 1000);
    info->highprice = 1010;
    chart.Update(info, wavingDay(*info, 10));
    chart.calcRects({0, 0, 500, 227});
    ASSERT_EQ(chart.horLineCount(), 6);
    std::vector<std::string> prices, ranges;
    for (const auto &label : chart.priceLabels()) {
        prices.push_back(label.price);
        ranges.push_back(label.range);
    }
    // ±1 % around 10.00, in sixths cut to whole cents.
    EXPECT_EQ(prices, (std::vector<std::string>{"10.10", "10.07", "10.04", "10.00", "9.97", "9.94", "9.90"}));
    EXPECT_EQ(ranges.front(), "1.00%");
    EXPECT_EQ(ranges[3], "0.00%");
    EXPECT_EQ(ranges.back(), "-1.00%");
}

TEST(IntradayDrawing, TheStepWalkAlwaysEndsOnTheLastPosition) {
    std::vector<int> every3;
    for (int e = 0; e <= 240; e += 3)
        every3.push_back(e);
    every3.push_back(241);
    EXPECT_EQ(MinLineClassBase::drawnPositions(242, 3), every3);
    EXPECT_EQ(MinLineClassBase::drawnPositions(241, 3).back(), 240);
    EXPECT_EQ(MinLineClassBase::drawnPositions(7, 5), (std::vector<int>{0, 5, 6}));
    EXPECT_EQ(MinLineClassBase::drawnPositions(1, 4), (std::vector<int>{0}));
    EXPECT_TRUE(MinLineClassBase::drawnPositions(0, 3).empty());
    EXPECT_EQ(MinLineClassBase::drawnPositions(3, 0), (std::vector<int>{0, 1, 2}));
}

// Every inked row of a column of the main plot.
std::vector<int> inkedRows(const Canvas &canvas, const gfx::Rect &plot, int x) {
    std::vector<int> rows;
    for (int y = int(plot.y()); y < int(plot.maxY()); ++y)
        if (canvas.inked(x, y))
            rows.push_back(y);
    return rows;
}

TEST(IntradayDrawing, AStockNotTradedYetSitsOnThePreviousClose) {
    MinLineClass chart;
    auto info = quote("SH600000", "浦发银行", 1000);
    chart.Update(info, day(*info, 30, [](int) { return 0; }));
    chart.calcRects({0, 0, 600, 400});
    Canvas canvas(600, 400);
    chart.drawMinVolLine(canvas.context, *gfx::Color::red(), *gfx::Color::green(), *gfx::Color::blue());
    // The scale is ±10 % around the close, so the close lies in the middle of the plot.
    const gfx::Rect &plot = chart.m_rtMain;
    float middle = plot.y() + 1 + (plot.height() - 3) / 2;
    for (int x : {70, 90, 110}) {
        std::vector<int> rows = inkedRows(canvas, plot, x);
        ASSERT_FALSE(rows.empty()) << x;
        EXPECT_LE(std::abs(float(rows.front()) - middle), 1.5f) << x;
        EXPECT_LE(std::abs(float(rows.back()) - middle), 1.5f) << x;
    }
    // Without an average line the price line alone: same rows.
    chart.setIsShowPriceAveLine(false);
    Canvas priceOnly(600, 400);
    chart.drawMinVolLine(priceOnly.context, *gfx::Color::red(), *gfx::Color::green(), *gfx::Color::blue());
    EXPECT_EQ(inkedRows(priceOnly, plot, 90), inkedRows(canvas, plot, 90));
    EXPECT_EQ(priceOnly.at(90, inkedRows(priceOnly, plot, 90).front()), (gfx::Rgba8{255, 0, 0, 255}));
}

TEST(IntradayDrawing, RiseFallBarsOnlyForTheTwoMainIndexes) {
    const StylePool &style = StylePool::Instance();
    for (const char *code : {"SH000001", "SH000300"}) {
        MinLineClass chart;
        auto info = quote(code, "指数", 300000, 0);
        chart.Update(info, wavingDay(*info, 60));
        auto riseFall = base::make<KLineClassRootBase::ReplyList>();
        for (int i = 0; i < 60; ++i)
            riseFall->push_back(base::make<SeriesNumber>(i < 30 ? 80 : -80));
        chart.UpdateIndexRiseFallLine(code, riseFall);
        chart.calcRects({0, 0, 600, 400});
        Canvas canvas(600, 400);
        chart.drawMinVolLine(canvas.context, *gfx::Color::clear(), *gfx::Color::clear(),
                             *gfx::Color::clear());
        const auto &positions = chart.minLineXPosList();
        int riseX = int(positions[10].x), fallX = int(positions[40].x);
        int above = int(chart.m_rtMain.midY()) - 5, below = int(chart.m_rtMain.midY()) + 5;
        bool drawn = std::string(code) == "SH000001";
        auto colour = [](const base::Ref<gfx::Color> &c) {
            gfx::Surface s(1, 1);
            gfx::Context context(s);
            context.setFill(*c);
            context.fillRect({0, 0, 1, 1});
            return s.pixel(0, 0);
        };
        EXPECT_EQ(canvas.at(riseX, above) == colour(style.clRiseLine), drawn) << code;
        EXPECT_EQ(canvas.at(fallX, below) == colour(style.clFallLine), drawn) << code;
        EXPECT_FALSE(canvas.inked(riseX, below));
    }
}

TEST(IntradayCursor, HeldInsideThePlotAndShowingTheMinuteUnderIt) {
    MinLineClass chart;
    auto info = quote("SH600000", "浦发银行", 1000);
    chart.Update(info, wavingDay(*info, 100));
    Canvas canvas(1024, 600);
    chart.drawCursor(canvas.context, {0, 0, 1024, 600}, {10, 100});
    EXPECT_EQ(chart.curIndex(), 0);
    // The vertical hair stands on the plot's left edge.
    EXPECT_TRUE(canvas.inked(int(chart.m_rtMain.x()), int(chart.m_rtMain.y()) + 40));

    chart.drawCursor(canvas.context, {0, 0, 1024, 600}, {900, 100});
    EXPECT_EQ(chart.curIndex(), -1);
}

// Width of the panel's fill along its top row.
int panelWidth(const Canvas &canvas, const gfx::Rect &plot) {
    int x = int(plot.x()) + 1, y = int(plot.y()) + 1;
    while (x < canvas.pixels.width() && canvas.inked(x, y))
        ++x;
    return x - int(plot.x()) - 1;
}

TEST(IntradayCursor, NarrowChartsShowTheShortPanel) {
    auto info = quote("SH600000", "浦发银行", 1000);
    auto list = wavingDay(*info, 100);
    int widths[2] = {};
    const float sizes[] = {380, 420};
    for (int i = 0; i < 2; ++i) {
        MinLineClass chart;
        chart.Update(info, list);
        Canvas canvas(int(sizes[i]), 300);
        chart.drawCursor(canvas.context, {0, 0, sizes[i], 300}, {100, 150});
        widths[i] = panelWidth(canvas, chart.m_rtMain);
        EXPECT_EQ(chart.floatPanelItems(*(*list)[0], sizes[i] < 400).size(), i == 0 ? 3u : 5u);
    }
    // Two more items, each at least its title and the gap.
    float title = gfx::measure("时: ", *gfx::Font::boldSystem(14)).w;
    EXPECT_GT(widths[0], 100);
    EXPECT_GE(widths[1] - widths[0], int(2 * (title + MinLineClass::PanelPad)));
}

TEST(IntradayLayout, ComparisonModeLowersTheMainPlot) {
    MinLineClass chart;
    chart.calcRects({0, 0, 1024, 768});
    float top = chart.m_rtMain.y();
    chart.setIsAddStocksMode(true);
    chart.calcRects({0, 0, 1024, 768});
    EXPECT_FLOAT_EQ(chart.m_rtMain.y() - top, 18);
    // The compact mode keeps narrower text columns.
    MinLineClass compact(MinLineClass::CompactMode);
    compact.calcRects({0, 0, 1024, 768});
    EXPECT_FLOAT_EQ(compact.m_rtMain.x(), 44);
    EXPECT_FLOAT_EQ(chart.m_rtMain.x(), 51);
}

TEST(IntradayOverlay, DrawsOnlyWithData) {
    ChartMinLineClass overlay;
    Canvas canvas(300, 200);
    overlay.draw(canvas.context, {0, 0, 300, 200}, *gfx::Color::red());
    auto info = quote("SZ000001", "平安银行", 1000);
    overlay.Update(info, base::make<MinLineList>());
    overlay.draw(canvas.context, {0, 0, 300, 200}, *gfx::Color::red());
    for (int x = 0; x < 300; x += 7)
        for (int y = 0; y < 200; y += 7)
            ASSERT_FALSE(canvas.inked(x, y));
    overlay.Update(info, wavingDay(*info, 50));
    overlay.draw(canvas.context, {0, 0, 300, 200}, *gfx::Color::red());
    EXPECT_FALSE(inkedRows(canvas, {0, 0, 300, 200}, int(overlay.minLineXPosList()[20].x)).empty());
}

} // namespace
