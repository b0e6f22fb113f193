#include "Module/CommonControls/MinLine/Mini/MiniMinLineView.h"

#include "../IntradayFixture.h"
#include "Golden.h"

#include <gtest/gtest.h>

namespace {

using namespace intraday;

TEST(MiniChart, TheScaleRunsFromTheCloseToTheDaysHigh) {
    MiniMinLineClass chart;
    auto info = quote("SH600000", "浦发银行", 1000);
    // Up 2 % by the afternoon, never below the close.
    chart.Update(info, day(*info, 210, [](int i) { return 1000 + i / 10; }));
    EXPECT_EQ(chart.rangeTexts(), (std::pair<std::string, std::string>{"+2.00%", "0.00%"}));
    chart.calcRects({0, 0, 300, 56});
    EXPECT_FLOAT_EQ(chart.m_rtMain.width(), 138);
    EXPECT_FLOAT_EQ(chart.m_rtMain.x(), 61);
    EXPECT_FLOAT_EQ(300 - chart.m_rtMain.maxX(), 101);
    EXPECT_FLOAT_EQ(chart.m_rtMain.height(), 36);
}

TEST(MiniChart, APictureIsRenderedOnlyWhenTheDataChanges) {
    MiniMinLineView view(56);
    EXPECT_EQ(view.width(), 300);
    EXPECT_FALSE(view.image());
    auto info = quote("SH600000", "浦发银行", 1000);
    auto list = wavingDay(*info, 180);
    view.Update(info, list);
    base::Ref<gfx::Image> first = view.image();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size(), (gfx::Size{300, 56}));
    EXPECT_TRUE(qvtest::matchesGolden(onBlack(first->surface()), "charts/mini-intraday", 48));

    view.Update(info, list);
    EXPECT_EQ(view.image(), first);
    view.UpdateMinLine(wavingDay(*info, 181));
    EXPECT_NE(view.image(), first);
}

} // namespace
