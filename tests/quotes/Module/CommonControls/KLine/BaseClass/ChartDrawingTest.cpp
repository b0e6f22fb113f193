#include "Module/CommonControls/KLine/BaseClass/KLineClassBase.h"

#include "Common/StylePool.h"
#include "Golden.h"
#include "gfx/Surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using gfx::Rgba8;
using Sub = TechLineSubItem;

struct Canvas {
    gfx::Surface pixels;
    gfx::Context context;
    Canvas(int w, int h) : pixels(w, h), context(pixels) {}
    Rgba8 at(int x, int y) const { return pixels.pixel(x, y); }
    bool inked(int x, int y) const { return at(x, y).a > 0; }
};

Rgba8 rgb(int r, int g, int b) {
    return {uint8_t(r), uint8_t(g), uint8_t(b), 255};
}

// Bars wider than 2 points are gradient-filled: their middle is close to the line colour.
::testing::AssertionResult near(Rgba8 actual, Rgba8 expected) {
    int d = std::max({std::abs(actual.r - expected.r), std::abs(actual.g - expected.g),
                      std::abs(actual.b - expected.b), std::abs(actual.a - expected.a)});
    if (d <= 12)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << int(actual.r) << "," << int(actual.g) << ","
                                         << int(actual.b) << "," << int(actual.a) << " is " << d << " away";
}

base::Ref<TechLineItem> record(std::initializer_list<TechLineSubItem> items) {
    auto item = base::make<TechLineItem>();
    int i = 0;
    for (const TechLineSubItem &s : items)
        item->setSubItem(i++, s.type, s.value, s.value2);
    return item;
}

// Plot rows 20 to 80 of a 100 × 100 canvas; each candle slot is 10 points wide.
constexpr float Top = 20, Bottom = 80;

TEST(ChartDrawing, AFlatVolumeRangeDrawsOnePointBarsAtTheBottom) {
    KLineClassBase chart;
    Canvas c(100, 100);
    auto volume = record({{Sub::RiseFlag, 1, 0}, {Sub::VolBar, 500, 0}});
    chart.drawOneTech(c.context, TechIndex::VOL, volume.get(), nullptr, 2, 0, 0, 40, 10, Top, Bottom);
    EXPECT_TRUE(near(c.at(45, 79), rgb(231, 64, 83)));
    EXPECT_FALSE(c.inked(45, 78));
    EXPECT_FALSE(c.inked(45, 80));
    // Inset by a point on each side.
    EXPECT_FALSE(c.inked(40, 79));
    EXPECT_TRUE(c.inked(41, 79));

    auto falling = record({{Sub::RiseFlag, 0, 0}, {Sub::VolBar, 500, 0}});
    chart.drawOneTech(c.context, TechIndex::VOL, falling.get(), nullptr, 2, 1000, 0, 60, 10, Top, Bottom);
    EXPECT_TRUE(near(c.at(65, 60), rgb(52, 172, 230)));
    EXPECT_FALSE(c.inked(65, 48));
}

TEST(ChartDrawing, LinesJoinOnlyAShownPreviousPoint) {
    KLineClassBase chart;
    Canvas c(100, 100);
    auto hidden = record({{Sub::Hidden, 5, 0}});
    auto shown = record({{Sub::Line, 5, 0}});
    auto current = record({{Sub::Line, 5, 0}});
    chart.drawOneTech(c.context, TechIndex::MA, current.get(), hidden.get(), 1, 10, 0, 40, 10, Top, Bottom);
    chart.drawOneTech(c.context, TechIndex::MA, current.get(), nullptr, 1, 10, 0, 40, 10, Top, Bottom);
    EXPECT_FALSE(c.inked(42, 50));
    chart.drawOneTech(c.context, TechIndex::MA, current.get(), shown.get(), 1, 10, 0, 40, 10, Top, Bottom);
    EXPECT_TRUE(c.inked(42, 50));
    EXPECT_FALSE(c.inked(42, 40));

    // A level-2 line of type 6 joins even a hidden point.
    Canvas always(100, 100);
    auto funds = record({{Sub::LineAlways, 10, 0}});
    chart.drawOneTech(always.context, 2928, funds.get(), hidden.get(), 1, 10, 0, 40, 10, Top, Bottom);
    EXPECT_TRUE(always.inked(40, 35));
}

TEST(ChartDrawing, SticksAndBarsGrowFromTheMiddleBySign) {
    KLineClassBase chart;
    Canvas c(100, 100);
    auto up = record({{Sub::Stick, 5, 0}});
    auto down = record({{Sub::Bar, -5, 0}});
    chart.drawOneTech(c.context, TechIndex::MACD, up.get(), nullptr, 1, 10, -10, 10, 10, Top, Bottom);
    chart.drawOneTech(c.context, 2918, down.get(), nullptr, 1, 10, -10, 50, 10, Top, Bottom);
    // Middle at 50; the stick rises to 35 at x 15, the bar falls to 65 between 51 and 59.
    EXPECT_GT(c.at(15, 40).r, 200);
    EXPECT_FALSE(c.inked(15, 30));
    EXPECT_FALSE(c.inked(15, 55));
    EXPECT_TRUE(near(c.at(55, 60), rgb(52, 172, 230)));
    EXPECT_FALSE(c.inked(55, 45));
    EXPECT_FALSE(c.inked(55, 70));
}

TEST(ChartDrawing, ABandLeavingThePlotIsClipped) {
    KLineClassBase chart;
    Canvas c(100, 100);
    // Rising values near the top whose 100-point band would reach far below the plot.
    auto prior = record({{Sub::Band, 9, 100}});
    auto rising = record({{Sub::Band, 9, 100}});
    chart.drawOneTech(c.context, 2920, rising.get(), prior.get(), 1, 10, -10, 40, 20, Top, Bottom);
    EXPECT_EQ(c.at(40, 60), rgb(255, 0, 0));
    EXPECT_FALSE(c.inked(40, 85));
    // Falling values near the bottom: the band stands above them, cut at the plot's top.
    Canvas f(100, 100);
    auto fallingPrior = record({{Sub::Band, -9, 100}});
    auto falling = record({{Sub::Band, -9, 100}});
    chart.drawOneTech(f.context, 2920, falling.get(), fallingPrior.get(), 1, 10, -10, 40, 20, Top, Bottom);
    EXPECT_EQ(f.at(40, 40), rgb(0, 255, 0));
    EXPECT_FALSE(f.inked(40, 15));
    // Without a shown previous point there is no band.
    Canvas none(100, 100);
    auto hiddenPrior = record({{Sub::Hidden, 0, 0}});
    chart.drawOneTech(none.context, 2920, rising.get(), hiddenPrior.get(), 1, 10, -10, 40, 20, Top, Bottom);
    EXPECT_FALSE(none.inked(40, 60));
}

TEST(ChartDrawing, IndicatorPaneWithLabels) {
    KLineClassBase chart;
    chart.setFont(gfx::Font::system(10));
    Canvas c(200, 100);
    chart.drawChartBackground(c.context, {0, 0, 200, 100});
    const int volumes[] = {3000, 12000, 8000, 15000, 6000};
    base::Ref<TechLineItem> prior;
    for (int i = 0; i < 5; ++i) {
        auto item = record({{Sub::RiseFlag, float(i % 2), 0},
                            {Sub::VolBar, float(volumes[i]), 0},
                            {Sub::Line, 9000.0f + 500 * i, 0}});
        chart.drawOneTech(c.context, TechIndex::VOL, item.get(), prior.get(), 3, 15000, 0, 10 + 16.0f * i, 16,
                          10, 90);
        prior = item;
    }
    chart.drawTechLeftText(c.context, {100, 10, 45, 80}, 1.5f, -1.5f, 2);
    chart.drawTechRightText(c.context, {150, 10, 45, 80}, TechIndex::VOL, 150000, 0, 0);
    EXPECT_TRUE(qvtest::matchesGolden(c.pixels, "charts/indicator-pane", 48));

    float nextX = 0;
    chart.drawAddStockText(c.context, "浦发银行", "+1.25%", 10, 5, *gfx::Color::white(), nextX);
    EXPECT_GT(nextX, 60);
    float after = 0;
    chart.drawAddStockText(c.context, "浦发银行", "+1.25%", nextX, 5, *gfx::Color::white(), after);
    EXPECT_FLOAT_EQ(after - nextX, nextX - 10);
}

TEST(ChartDrawing, OutputColours) {
    KLineClassBase chart;
    const StylePool &style = StylePool::Instance();
    EXPECT_EQ(chart.getTechColor(0, TechIndex::VOL), style.clTextName);
    EXPECT_EQ(chart.getTechColor(1, TechIndex::VOL), style.clMA1);
    EXPECT_EQ(chart.getTechColor(4, TechIndex::VOL), style.clMA4);
    EXPECT_EQ(chart.getTechColor(2, TechIndex::MACD), style.clMA3);
}

} // namespace
