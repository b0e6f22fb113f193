#include "DetailScreenFixture.h"

#include "DataBase/NetData/StockDetailStatus.h"
#include "Golden.h"

namespace detailscreen {
namespace {

class ChartGoldens : public DetailScreenTest {
protected:
    base::Ref<StockDetailViewController> openOn(const std::string &code, bool candles) {
        DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(candles);
        auto screen = open(code);
        // Past the login's message box.
        app.advance(3);
        settle();
        return screen;
    }
};

TEST_F(ChartGoldens, IntradayWithTheLevelTwoDealQueue) {
    readyWithAccount();
    auto screen = openOn("SH600000", false);
    ASSERT_FALSE(screen->dealQueuePanelView()->isHidden());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/chart-intraday-queue"));
}

TEST_F(ChartGoldens, DayCandlesWithTheSliderAndAWeekView) {
    readyWithoutAccount();
    auto screen = openOn("SH600000", true);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/chart-day"));
    // The marker dragged to "周线".
    screen->sliderView()->SetIndicatorAtIndex(4);
    screen->SelectedIndicator(4);
    settle();
    app.advance(1);
    ASSERT_EQ(screen->klineView()->ktype(), 8);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/chart-week"));
}

TEST_F(ChartGoldens, FullScreenCandles) {
    readyWithoutAccount();
    auto screen = openOn("SH600000", true);
    screen->ZoomInAction();
    app.advance(1);
    settle();
    ASSERT_NE(screen->curFullScreenVC(), nullptr);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/chart-full-screen"));
}

TEST_F(ChartGoldens, TheSearchPopover) {
    readyWithoutAccount();
    auto screen = openOn("SH600000", false);
    StockDetailSwitchBar &strip = *screen->stockDetailSwitchBar();
    app.tap(centre(strip.addSearchButton()));
    app.typeText("60");
    app.advance(1);
    ASSERT_TRUE(strip.searchPopover().popover()->isVisible());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/chart-search"));
}

} // namespace
} // namespace detailscreen
