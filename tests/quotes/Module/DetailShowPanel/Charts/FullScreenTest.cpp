#include "DetailScreenFixture.h"

#include "DataBase/NetData/StockDetailStatus.h"

namespace detailscreen {
namespace {

class FullScreenTest : public DetailScreenTest {
protected:
    base::Ref<StockDetailViewController> openOn(const std::string &code, bool candles) {
        DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(candles);
        auto screen = open(code);
        settle();
        return screen;
    }
    // The chart as presented; the presentation keeps it while it shows.
    FullScreenViewController *zoomIn(StockDetailViewController &screen) {
        screen.ZoomInAction();
        app.advance(0.5);
        return screen.curFullScreenVC();
    }
    void zoomOut(FullScreenViewController &full) {
        full.toolBar().zoomOutButton().sendActions(ui::TouchUpInside);
        app.advance(0.5);
    }
    static int candles(KLineView &view) {
        const base::Ref<KLineList> &list = view.chart().klineList();
        return list ? int(list->size()) : 0;
    }
};

TEST_F(FullScreenTest, CandlesGoFullScreenOnTheirPeriodAndComeBack) {
    readyWithoutAccount();
    auto screen = openOn("SH600000", true);
    screen->SelectedIndicator(2);
    settle();
    KLineView &own = *screen->klineView();
    own.setKoffset(12);
    own.setKsize(10);
    auto full = zoomIn(*screen);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(screen->curKLineView(), full->klineView().get());
    EXPECT_EQ(screen->curTrendLineView(), full->trendLineView().get());
    EXPECT_TRUE(full->toolBar().tab(1).isPressed());
    EXPECT_FALSE(full->sliderView()->isHidden());
    EXPECT_EQ(full->sliderView()->currentSelIndex(), 2);
    KLineView &big = *full->klineView();
    EXPECT_FALSE(big.isHidden());
    EXPECT_TRUE(full->trendLineView()->isHidden());
    EXPECT_EQ(big.ktype(), 3);
    EXPECT_EQ(big.koffset(), own.koffset());
    EXPECT_EQ(big.ksize(), 10);
    EXPECT_EQ(candles(big), candles(own));
    EXPECT_EQ(big.frame(), (gfx::Rect{0, 50, 1024, 650}));
    EXPECT_EQ(full->toolBar().nameLabel().text(), "浦发银行");
    EXPECT_EQ(full->toolBar().codeLabel().text(), "SH600000");

    // Meanwhile the period and its replies land in the full-screen chart.
    screen->SelectedIndicator(0);
    settle();
    EXPECT_EQ(big.ktype(), 7);
    EXPECT_EQ(own.ktype(), 3);
    big.setKoffset(4);
    // Portrait is refused.
    EXPECT_FALSE(full->shouldAutorotateTo(ui::Orientation::Portrait));
    EXPECT_TRUE(full->shouldAutorotateTo(ui::Orientation::LandscapeRight));

    zoomOut(*full);
    EXPECT_EQ(screen->curFullScreenVC(), nullptr);
    EXPECT_EQ(screen->curKLineView(), &own);
    EXPECT_EQ(own.ktype(), 7);
    EXPECT_EQ(own.koffset(), 4);
    EXPECT_TRUE(screen->stockDetailSwitchBar()->tab(1).isPressed());
    EXPECT_FALSE(screen->sliderView()->isHidden());
    EXPECT_EQ(screen->sliderView()->currentSelIndex(), 0);
    EXPECT_EQ(screen->presentedController(), nullptr);
}

// Ex-rights go over and back with the chart; a period without a tick puts the marker on none.
TEST_F(FullScreenTest, ExrightsAndATicklessPeriodGoBothWays) {
    readyWithoutAccount();
    DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(true);
    DataBase::sharedDataBase()->IO_StockDetailStatus()->setShowKType(4);
    auto screen = open("SH600000");
    settle();
    ASSERT_EQ(screen->klineView()->ktype(), 4);
    EXPECT_EQ(screen->sliderView()->currentSelIndex(), -1);
    screen->SelectedIndicator(0);
    settle();
    screen->changeExright(2, 19900101);
    auto *full = zoomIn(*screen);
    ASSERT_NE(full, nullptr);
    KLineView &big = *full->klineView();
    EXPECT_EQ(big.exrightType(), 2);
    EXPECT_EQ(big.exrightDate(), 19900101);
    EXPECT_TRUE(big.isExrightMode());
    EXPECT_EQ(big.exrightButton()->currentTitle(), "后复权");
    screen->changeExright(0, 0);
    EXPECT_EQ(screen->klineView()->exrightType(), 2);
    zoomOut(*full);
    KLineView &own = *screen->klineView();
    EXPECT_EQ(own.exrightType(), 0);
    EXPECT_FALSE(own.isExrightMode());
    EXPECT_EQ(own.exrightButton()->currentTitle(), "不复权");
}

TEST_F(FullScreenTest, IntradayGoesFullScreenWithoutASliderAndTheTabsSwitchThere) {
    readyWithoutAccount();
    auto screen = openOn("SH600000", false);
    auto full = zoomIn(*screen);
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(full->toolBar().tab(0).isPressed());
    EXPECT_TRUE(full->sliderView()->isHidden());
    EXPECT_FALSE(full->trendLineView()->isHidden());
    EXPECT_EQ(full->trendLineView()->frame(), (gfx::Rect{0, 50, 1024, 656}));
    // Its candle tab asks for candles, which land there.
    full->toolBar().ReturnSelectedItem(full->toolBar().tab(1));
    settle();
    EXPECT_FALSE(full->klineView()->isHidden());
    EXPECT_FALSE(full->sliderView()->isHidden());
    EXPECT_EQ(candles(*full->klineView()), 200);
    EXPECT_EQ(candles(*screen->klineView()), 0);
    zoomOut(*full);
    EXPECT_TRUE(screen->stockDetailSwitchBar()->tab(1).isPressed());
    EXPECT_FALSE(screen->klineView()->isHidden());
    EXPECT_EQ(candles(*screen->klineView()), 200);
    EXPECT_TRUE(screen->dealQueuePanelView()->isHidden());
}

TEST_F(FullScreenTest, AFundsChartsTakeTheWholeHeightAndNoSlider) {
    readyWithoutAccount();
    auto screen = openOn("OF110022", true);
    auto full = zoomIn(*screen);
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(full->sliderView()->isHidden());
    EXPECT_EQ(full->klineView()->frame(), (gfx::Rect{0, 50, 1024, 686}));
    EXPECT_EQ(full->trendLineView()->frame(), (gfx::Rect{0, 50, 1024, 686}));
    full->toolBar().ReturnSelectedItem(full->toolBar().tab(1));
    EXPECT_TRUE(full->sliderView()->isHidden());
    zoomOut(*full);
}

TEST_F(FullScreenTest, TheToolBarShowsNoChangeBeforeTheFirstUpdate) {
    auto full = base::make<FullScreenViewController>();
    EXPECT_EQ(full->toolBar().rangeLabel().text(), "-.--%");
    EXPECT_TRUE(full->toolBar().tab(0).isPressed());
    StockBasicInf record;
    record.code = "SH600000";
    record.name = "浦发银行";
    record.decimal = 2;
    record.closeprice = 800;
    record.newprice = 780;
    full->UpdateBasicInf(record);
    EXPECT_EQ(full->toolBar().lastLabel().text(), "7.80");
    EXPECT_EQ(full->toolBar().rangeLabel().text(), "-2.50%");
    EXPECT_EQ(*full->toolBar().lastLabel().textColor(), *gfx::Color::white());
}

// The full-screen search has no board list: an empty text shows no rows, and a pick closes the
// keypad and the popover before the code becomes an overlay.
TEST_F(FullScreenTest, TheToolBarSearchAddsOverlaysWithoutABoardList) {
    readyWithoutAccount();
    auto screen = openOn("SH600000", false);
    screen->DataPoolCallBack(2969, params("SH600000"));
    auto full = zoomIn(*screen);
    ASSERT_NE(full, nullptr);
    FullScreenToolBarView &bar = full->toolBar();
    app.tap(centre(bar.addSearchButton()));
    ASSERT_TRUE(bar.addSearchButton().searchField().isFirstResponder());
    app.typeText("6");
    app.pressBackspace();
    ASSERT_NE(bar.searchPopover().list(), nullptr);
    EXPECT_TRUE(bar.searchPopover().list()->stockArray().empty());
    bar.ReturnSelectedStock("SZ000002");
    EXPECT_FALSE(bar.addSearchButton().searchField().isFirstResponder());
    EXPECT_FALSE(bar.searchPopover().popover()->isVisible());
    ASSERT_EQ(screen->stockDetailData().multiStockList().size(), 1u);
    EXPECT_TRUE(full->klineView()->isAddStocksMode());
    bar.resetButton().sendActions(ui::TouchUpInside);
    EXPECT_TRUE(screen->stockDetailData().multiStockList().empty());
    zoomOut(*full);
}

} // namespace
} // namespace detailscreen
