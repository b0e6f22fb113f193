#include "Module/CommonControls/MinLine/Small/SmallMinLineView.h"

#include "../IntradayFixture.h"
#include "Common/StylePool.h"
#include "Golden.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

using namespace intraday;

TEST(SmallChart, PercentagesOnTheRightOfFourIntervals) {
    SmallMinLineClass chart;
    auto info = quote("SH000001", "上证指数", 300000, 0);
    info->highprice = 303000;
    chart.Update(info, wavingDay(*info, 20));
    chart.calcRects({0, 0, 300, 120});
    std::vector<std::string> texts;
    std::vector<std::string> colours;
    for (const auto &label : chart.rangeLabels()) {
        texts.push_back(label.text);
        colours.push_back(label.color->description());
    }
    // An index's range rounds up to whole percents.
    EXPECT_EQ(texts, (std::vector<std::string>{"1.0%", "0.5%", "0.0%", "-0.5%", "-1.0%"}));
    const StylePool &style = StylePool::Instance();
    EXPECT_EQ(colours[1], style.clTextRise->description());
    EXPECT_EQ(colours[2], gfx::Color::white()->description());
    EXPECT_EQ(colours[4], style.clTextFall->description());
    EXPECT_FLOAT_EQ(chart.m_rtMain.width(), 300 - 2 - 43);
    EXPECT_FLOAT_EQ(chart.m_rtMain.height(), 120 - 18);
}

TEST(SmallChart, TheSpinnerGoesWithTheFirstDataAndTheChartIsDrawn) {
    host::TestApp app;
    auto view = base::make<SmallMinLineView>(gfx::Rect{0, 0, 320, 130});
    app.window().addSubview(view);
    ASSERT_TRUE(view->waitingAlert());
    EXPECT_EQ(view->waitingAlert()->superview(), view.get());

    auto info = quote("SH000001", "上证指数", 300000, 0);
    view->Update(info, wavingDay(*info, 170));
    EXPECT_FALSE(view->waitingAlert());
    EXPECT_TRUE(view->subviews().empty());
    app.render();
    EXPECT_TRUE(qvtest::matchesGolden(onBlack(view->content()), "charts/small-intraday", 48));
}

} // namespace
