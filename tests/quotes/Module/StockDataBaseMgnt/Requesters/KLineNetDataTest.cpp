#include "RequestersFixture.h"

#include "DataBase/MarketTimes/MarketTimes.h"

namespace requesters {
namespace {

constexpr const char *Code = "SH600000";

class KLineRequests : public RequestersTest {
protected:
    QuoteRequester me() const { return base::Ref<DataPoolDelegate>(requester); }
    void cacheDays(int lastDay, int count, bool first = false) {
        ASSERT_TRUE(LocalFileFunc::saveKLine(Code, 7, candlesAt(tradingDaysEndingOn(lastDay, count)), first));
    }
};

TEST_F(KLineRequests, CachedHistoryIsReadAndOnlyTheDaysSinceAreAsked) {
    // Friday 2012-03-02 is the last cached day; the server date is Monday 2012-03-05.
    cacheDays(20120302, 500);
    ASSERT_TRUE(klines->reqKLine(me(), Code, 7, true, 200, false));
    auto pack = klines->getKLinePack(Code, 7);
    EXPECT_EQ(pack->rspArray.size(), 200u);
    EXPECT_EQ(pack->existLocalData, 1);
    ASSERT_EQ(coordinator->records.size(), 1u);
    CandleAsk ask = lastAsk();
    EXPECT_EQ(ask.pos, 0);
    EXPECT_EQ(ask.count, 3 + 1);
    EXPECT_TRUE(pack->isRealForwardReq);
    nextPass();
    EXPECT_TRUE(requester->types.empty());
}

TEST_F(KLineRequests, OlderCachedCandlesArriveOnTheNextPassThenTheServerIsAsked) {
    cacheDays(20120302, 320);
    ASSERT_TRUE(klines->reqKLine(me(), Code, 7, true, 200, false));
    answerLast(candleReply({20120302, 20120305}));
    auto pack = klines->getKLinePack(Code, 7);
    ASSERT_EQ(pack->rspArray.size(), 201u);

    ASSERT_TRUE(klines->reqKLine(me(), Code, 7, true, 200, false));
    EXPECT_EQ(pack->rspArray.size(), 321u);
    EXPECT_TRUE(requester->types.empty()) << "never inside the request call";
    CandleAsk ask = lastAsk();
    EXPECT_EQ(ask.pos, tradingDaysEndingOn(20120302, 320).front());
    EXPECT_EQ(ask.count, 200);
    nextPass();
    ASSERT_EQ(requester->types, std::vector<int32_t>{2944});
    EXPECT_EQ(requester->replies[0]->object("pack"), pack);
    EXPECT_TRUE(requester->replies[0]->get("isForwardReq").boolValue());
}

TEST_F(KLineRequests, CountBatchGoesInRequestsOfTwoHundredAndStopsAtTheOldest) {
    ASSERT_TRUE(klines->reqKLineForwardBatch(me(), Code, 7, 0, 1000, true));
    std::vector<int> days = tradingDaysEndingOn(20120302, 550);
    auto pack = klines->getKLinePack(Code, 7);
    std::vector<CandleAsk> asks{lastAsk()};
    answerLast(candleReply({days.end() - 200, days.end()}));
    EXPECT_EQ(pack->reqForwardCount, 800);
    asks.push_back(lastAsk());
    answerLast(candleReply({days.end() - 400, days.end() - 200}));
    asks.push_back(lastAsk());
    // The server has only 150 more: the oldest candle is reached and the chain ends.
    answerLast(candleReply({days.begin(), days.begin() + 150}));
    ASSERT_EQ(coordinator->records.size(), 3u);
    EXPECT_TRUE(pack->isGetFirstKLine);
    EXPECT_EQ(pack->rspArray.size(), 550u);
    EXPECT_EQ(asks[0].pos, 0);
    EXPECT_EQ(asks[1].pos, days[350]);
    EXPECT_EQ(asks[2].pos, days[150]);
    for (const CandleAsk &ask : asks)
        EXPECT_EQ(ask.count, 200);
    // Only the whole batch is to be shown.
    EXPECT_TRUE(pack->canProcessRsp());
}

TEST_F(KLineRequests, WeekAndMonthFromDaysAskForEnoughDays) {
    struct Case {
        const char *name;
        int ktype;
        size_t held;
        bool firstCall;
        int asked;
    };
    const Case cases[] = {
        {"week, nothing held", 8, 0, false, 1000},
        {"month, nothing held", 9, 0, false, 2000},
        {"week, 450 held", 8, 450, true, 400},
        {"week, days held on a later call", 8, 450, false, 1000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        klines = base::make<KLineNetData>(center);
        coordinator->records.clear();
        if (c.held) {
            auto days = klines->getKLinePackWithCreate(Code, 7);
            auto list = candlesAt(tradingDaysEndingOn(20120302, int(c.held)));
            days->rspArray.assign(list.begin(), list.end());
        }
        if (c.held && c.firstCall)
            klines->reqMultiDayKLine(me(), Code, c.ktype, true, true);
        else
            ASSERT_TRUE(klines->reqKLine(me(), Code, c.ktype, true, 200, true));
        auto days = klines->getKLinePack(Code, 7);
        ASSERT_TRUE(days);
        EXPECT_EQ(days->reqForwardCount, c.asked);
        EXPECT_EQ(lastAsk().ktype, 7);
        EXPECT_EQ(lastAsk().count, 200);
        EXPECT_FALSE(klines->getKLinePack(Code, c.ktype));
    }
}

TEST_F(KLineRequests, CachedDaysForAWeekChartRefreshThenTopUp) {
    cacheDays(20120302, 300);
    ASSERT_TRUE(klines->reqKLine(me(), Code, 8, true, 200, true));
    auto days = klines->getKLinePack(Code, 7);
    EXPECT_EQ(days->tag, 70008);
    EXPECT_EQ(lastAsk().pos, 0);
    EXPECT_EQ(lastAsk().count, 4);
    answerLast(candleReply({20120302, 20120305}));
    // After the refresh the days are topped up to five batches: with 201 held, three more. The
    // cache still holds 100 older days: they come first, the server is asked for the rest.
    ASSERT_EQ(coordinator->records.size(), 2u);
    EXPECT_EQ(days->rspArray.size(), 301u);
    EXPECT_EQ(days->reqForwardCount, 500);
    EXPECT_EQ(days->tag, 60002);
    EXPECT_EQ(lastAsk().pos, tradingDaysEndingOn(20120302, 300).front());
}

TEST_F(KLineRequests, CoveredDateBatchAnswersFromTheCacheAlone) {
    cacheDays(20120302, 300);
    std::vector<int> days = tradingDaysEndingOn(20120302, 300);
    ASSERT_TRUE(klines->reqKLineForwardBatch(me(), Code, 7, days[100], 0, false));
    EXPECT_TRUE(coordinator->records.empty());
    auto pack = klines->getKLinePack(Code, 7);
    EXPECT_EQ(pack->rspArray.size(), 200u);
    nextPass();
    EXPECT_EQ(requester->types, std::vector<int32_t>{2944});
}

TEST_F(KLineRequests, RefreshCountIsBarsPerDayTimesDaysCappedAtTwoHundred) {
    // A market the session table does not list trades 241 minutes.
    const std::string code = "XX600000";
    ASSERT_EQ(MarketTimes::Instance().getMinCount(code), 241);
    // A candle of the server date, as a packed time: 2012-03-05 09:35.
    const int today = (2012 << 20) | (3 << 16) | (5 << 11) | (9 << 6) | 35;
    const int friday = (2012 << 20) | (3 << 16) | (2 << 11) | (9 << 6) | 35;
    struct Case {
        int ktype, time, count;
    };
    const Case cases[] = {{1, today, 200},    {2, today, 49},   {3, today, 17},
                          {4, today, 9},      {5, today, 5},    {6, today, 2},
                          {5, friday, 5 * 4}, {7, 20120302, 4}, {9, 20111230, 48 + 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ktype);
        klines = base::make<KLineNetData>(center);
        auto pack = klines->getKLinePackWithCreate(code, c.ktype);
        auto list = candlesAt({c.time});
        pack->rspArray.assign(list.begin(), list.end());
        ASSERT_TRUE(klines->reqLatestKLine(me(), code, c.ktype));
        EXPECT_EQ(lastAsk().pos, 0);
        EXPECT_EQ(lastAsk().count, c.count);
    }
}

TEST_F(KLineRequests, RefusalsSendNothing) {
    EXPECT_FALSE(klines->reqKLine(me(), "SH", 7, true, 200, false));
    EXPECT_FALSE(klines->reqKLine(me(), Code, 0, true, 200, false));
    EXPECT_FALSE(klines->reqKLine(me(), Code, 10, true, 200, false));
    EXPECT_FALSE(klines->reqKLine(me(), Code, 7, true, -5, false));
    EXPECT_FALSE(klines->reqKLineForwardBatch(me(), Code, 7, 0, 0, false));
    ASSERT_TRUE(klines->reqKLine(me(), Code, 7, true, 200, false));
    EXPECT_FALSE(klines->reqKLine(me(), Code, 7, true, 200, false)) << "busy";
    EXPECT_FALSE(klines->reqKLineForwardBatch(me(), Code, 7, 0, 400, false)) << "busy";
    EXPECT_EQ(klines->getKLinePack(Code, 7)->reqForwardCount, 0) << "a refused batch changes nothing";
    answerLast(candleReply({20120302}));
    EXPECT_TRUE(klines->getKLinePack(Code, 7)->isGetFirstKLine);
    EXPECT_FALSE(klines->reqKLine(me(), Code, 7, true, 200, false)) << "holds the oldest";
    EXPECT_EQ(coordinator->records.size(), 1u);
}

TEST_F(KLineRequests, AReconnectAsksAgain) {
    ASSERT_TRUE(klines->reqLatestKLine(me(), Code, 7));
    EXPECT_FALSE(klines->reqLatestKLine(me(), Code, 7));
    klines->setAllIdle();
    EXPECT_TRUE(klines->reqLatestKLine(me(), Code, 7));
}

TEST_F(KLineRequests, DeliveriesGoToLiveRequestersOnly) {
    auto pack = klines->getKLinePackWithCreate(Code, 7);
    klines->DoNotifyDelegate(me(), pack);
    requester.reset();
    nextPass();

    std::vector<int> posted;
    auto observer = base::make<base::Object>();
    base::NotificationCenter::shared().addObserver(
        observer, "KLineObserver", [&](const base::Notification &n) {
            posted.push_back(int(n.userInfo.get(DataBase::NetDataNotify).intValue()));
        });
    klines->DoNotifyDelegate(std::string("KLineObserver"), pack);
    EXPECT_TRUE(posted.empty());
    nextPass();
    EXPECT_EQ(posted, std::vector<int>{2944});
    base::NotificationCenter::shared().removeObserver(observer.get());
}

TEST_F(KLineRequests, CandlesGoBackToTheCacheWhenLetGo) {
    auto pack = klines->getKLinePackWithCreate(Code, 7);
    auto list = candlesAt({20120301, 20120302});
    pack->rspArray.assign(list.begin(), list.end());
    klines->getKLinePackWithCreate("SZ000002", 7);
    klines->saveAndRemoveKLine(Code);
    EXPECT_FALSE(klines->getKLinePack(Code, 7));
    std::vector<base::Ref<KLineItem>> read;
    char first = 0;
    ASSERT_TRUE(LocalFileFunc::readKLine(Code, 7, read, first));
    EXPECT_EQ(read.size(), 2u);
    klines->doClose();
    EXPECT_TRUE(klines->m_reqKLineList().empty());
    EXPECT_FALSE(LocalFileFunc::readKLine("SZ000002", 7, read, first)) << "empty packs are not written";
}

TEST_F(KLineRequests, ComputedWeeksTakeWhatTheServerWeeksCarried) {
    auto days = klines->getKLinePackWithCreate(Code, 7);
    auto list = candlesAt(tradingDaysEndingOn(20120302, 10));
    days->rspArray.assign(list.begin(), list.end());
    days->dataExrightType = 1;
    auto server = klines->getKLinePackWithCreate(Code, 8);
    auto week = candlesAt({20120224})[0];
    week->addStockInfo = base::make<base::Object>();
    server->rspArray.push_back(week);
    auto *weeks = klines->calcMultiDayKData(Code, 8, false);
    ASSERT_TRUE(weeks);
    ASSERT_EQ(weeks->size(), 2u);
    EXPECT_EQ(dynamic_cast<KLineItem &>(*(*weeks)[0]).addStockInfo, week->addStockInfo);
    EXPECT_TRUE(server->rspArray.empty());
    EXPECT_EQ(klines->getKLinePack(Code, 1008)->dataExrightType, 1);
    EXPECT_FALSE(klines->calcMultiDayKData("SZ000002", 8, false));
}

} // namespace
} // namespace requesters
