#include "DetailScreenFixture.h"

#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/StockDetailStatus.h"

namespace detailscreen {
namespace {

class ChartTest : public DetailScreenTest {
protected:
    // A stock on its candle tab, day candles loaded.
    base::Ref<StockDetailViewController> openOnCandles(const std::string &code = "SH600000") {
        DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(true);
        auto screen = open(code);
        settle();
        return screen;
    }
    static int candles(StockDetailViewController &screen) {
        const base::Ref<KLineList> &list = screen.klineView()->chart().klineList();
        return list ? int(list->size()) : 0;
    }
    int count(int type) const {
        std::vector<int> all = types();
        return int(std::count(all.begin(), all.end(), type));
    }
};

TEST(SliderTable, PeriodsAndTicksBothWays) {
    const int ktypes[] = {7, 2, 3, 5, 8, 9};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(StockDetailViewController::kTypeAtSliderIndex(i), ktypes[i]);
        EXPECT_EQ(StockDetailViewController::getSliderIndex(ktypes[i]), i);
    }
    for (int ktype : {1, 4, 6, 0, 1008})
        EXPECT_EQ(StockDetailViewController::getSliderIndex(ktype), -1) << ktype;
    EXPECT_EQ(StockDetailViewController::kTypeAtSliderIndex(6), 0);
}

TEST_F(ChartTest, TheCandleTabWithNothingLoadedAsksForTwoHundredDays) {
    readyWithoutAccount();
    DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(false);
    auto screen = open("SH600000");
    quotes.clearReceived();
    screen->StockDetailBarSelectedIndex(1, 0, *screen->stockDetailSwitchBar());
    settle();
    EXPECT_EQ(count(2944), 1);
    EXPECT_EQ(screen->klineView()->ktype(), 7);
    EXPECT_EQ(candles(*screen), 200);
}

TEST_F(ChartTest, APeriodKeepsItsWindowAndTheShownPeriodSendsNothing) {
    readyWithoutAccount();
    auto screen = openOnCandles();
    KLineView &kview = *screen->klineView();
    ASSERT_EQ(candles(*screen), 200);
    kview.setKoffset(30);
    kview.setKsize(12);
    screen->SelectedIndicator(1);
    settle();
    EXPECT_EQ(kview.ktype(), 2);
    EXPECT_GT(candles(*screen), 0);
    kview.setKoffset(5);
    screen->SelectedIndicator(0);
    EXPECT_EQ(kview.ktype(), 7);
    EXPECT_EQ(kview.koffset(), 30);
    EXPECT_EQ(kview.ksize(), 12);
    quotes.clearReceived();
    screen->SelectedIndicator(0);
    settle();
    EXPECT_TRUE(types().empty());
    EXPECT_EQ(kview.koffset(), 30);
}

TEST_F(ChartTest, WeekAndMonthInExrightsWaitForEnoughDays) {
    struct Case {
        int sliderIndex, ktype;
        size_t daysAfter; // 0: every day the server has
    };
    // 300 days held: the week asks 500 more, rounded up to 600; the month more than the server has.
    const Case cases[] = {{4, 8, 900}, {5, 9, 0}};
    readyWithoutAccount();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ktype);
        auto screen = openOnCandles();
        KLineView &kview = *screen->klineView();
        screen->stockDetailData().reqCurKLine(true, 100);
        settle();
        ASSERT_EQ(screen->stockDetailData().getDayKList()->size(), 300u);
        ASSERT_TRUE(screen->stockDetailData().existExrightInfo());
        screen->changeExright(1, 20121010);
        EXPECT_TRUE(kview.isExrightMode());
        EXPECT_EQ(kview.exrightButton()->currentTitle(), "前复权");
        quotes.clearReceived();
        screen->SelectedIndicator(c.sliderIndex);
        ASSERT_NE(screen->waitingAlert(), nullptr);
        EXPECT_EQ(screen->waitingAlert()->frame(), (gfx::Rect{0, 80, 768, 600}));
        settle();
        base::Ref<KLinePack> days = screen->stockDetailData().klineLib()->getKLinePack("SH600000", 7);
        if (c.daysAfter)
            EXPECT_EQ(days->rspArray.size(), c.daysAfter);
        else
            EXPECT_TRUE(days->isGetFirstKLine);
        EXPECT_EQ(screen->waitingAlert(), nullptr);
        EXPECT_EQ(kview.ktype(), c.ktype);
        EXPECT_GT(candles(*screen), 0);
        EXPECT_LT(size_t(candles(*screen)), days->rspArray.size() / 4);
        nav->pop(false);
        app.runPending();
        settle();
    }
}

TEST_F(ChartTest, ExrightsNeedDaysEventsAndAChange) {
    readyWithoutAccount();
    auto screen = openOnCandles();
    KLineView &kview = *screen->klineView();
    std::string title = kview.exrightButton()->currentTitle();
    // Another type than the three leaves the button's title.
    screen->changeExright(7, 20121010);
    EXPECT_EQ(kview.exrightButton()->currentTitle(), title);
    screen->changeExright(2, 19900101);
    EXPECT_EQ(kview.exrightButton()->currentTitle(), "后复权");
    screen->changeExright(0, 0);
    EXPECT_EQ(kview.exrightButton()->currentTitle(), "不复权");
    EXPECT_FALSE(kview.isExrightMode());
    // Below day candles, or the same choice again, nothing changes.
    screen->SelectedIndicator(1);
    settle();
    EXPECT_FALSE(*screen->changeExright(1, 20121010));
    EXPECT_EQ(kview.exrightType(), 0);
    screen->SelectedIndicator(0);
    screen->changeExright(1, 20121010);
    kview.exrightButton()->setTitle("x");
    screen->changeExright(1, 20121010);
    EXPECT_EQ(kview.exrightButton()->currentTitle(), "x");
}

TEST_F(ChartTest, AStockWithoutEventsKeepsItsCandles) {
    readyWithoutAccount();
    auto screen = openOnCandles("SH601398");
    if (screen->stockDetailData().existExrightInfo())
        GTEST_SKIP() << "the market gives this stock ex-rights";
    EXPECT_FALSE(*screen->changeExright(1, 20121010));
    EXPECT_EQ(screen->klineView()->exrightType(), 0);
}

// Replies the chart cannot take are dropped; a comparison stock's candles go to its overlay.
TEST_F(ChartTest, CandleRepliesGoToTheViewAnOverlayOrNowhere) {
    readyWithoutAccount();
    auto screen = openOnCandles();
    ASSERT_EQ(candles(*screen), 200);
    auto reply = [&](base::Ref<KLinePack> pack, std::optional<bool> forward) {
        auto p = base::make<ReqParams>();
        if (pack)
            p->setObject("pack", pack);
        if (forward)
            p->set("isForwardReq", *forward);
        screen->DataPoolCallBack(2944, p);
    };
    auto shortPack = [](const std::string &code) {
        auto pack = base::make<KLinePack>(code, 7);
        pack->rspArray.push_back(base::make<KLineItem>());
        return pack;
    };
    auto refused = shortPack("SH600000");
    refused->reqMode = 2;
    refused->notifyOnGetAllData = true;
    refused->reqForwardCount = 200;
    reply(nullptr, false);
    reply(shortPack("SH600000"), std::nullopt);
    reply(shortPack(""), false);
    reply(refused, true);
    reply(shortPack("SZ000002"), false);
    EXPECT_EQ(candles(*screen), 200);
    reply(shortPack("SH600000"), false);
    EXPECT_EQ(candles(*screen), 1);
}

TEST_F(ChartTest, LevelTwoCandleSeriesFollowDayReplies) {
    readyWithAccount();
    quotes.clearReceived();
    auto screen = openOnCandles();
    ASSERT_TRUE(screen->stockDetailData().canShowLevel2());
    // The forward day reply asks for the level-2 series of the shown days, which arrive.
    EXPECT_GE(count(2918), 1);
    const auto *series = screen->stockDetailData().stockDetailLib()->getStockRspArray(2918);
    ASSERT_NE(series, nullptr);
    EXPECT_GE(series->size(), 100u);
    // A refresh asks for the newest day of the series again.
    quotes.clearReceived();
    advance(5.5);
    EXPECT_GE(count(2944), 1);
    EXPECT_GE(count(2918), 1);
    // A reply marked empty is dropped: no further request follows it.
    settle();
    quotes.clearReceived();
    screen->DataPoolCallBack(2918, base::make<ReqParams>(ReqParams{{"IsEmptyPack", "YES"}}));
    settle();
    EXPECT_EQ(count(2918), 0);
}

} // namespace
} // namespace detailscreen
