#include "CandlesSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using L = StockFunc::ObjectList;

TEST(ExrightFactors, DirectionAndTermsOfEachEvent) {
    struct Case {
        const char *name;
        int type, base;
        L events;
        std::vector<std::pair<int, int>> factors; // (multi, plus), oldest first
    };
    const Case cases[] = {
        {"10-for-10 bonus forward halves", 1, 20121231, listOf({event(20120605, 10000)}), {{5000, 0}}},
        {"0.50 dividend forward subtracts",
         1,
         20121231,
         listOf({event(20120605, 0, 0, 0, 5000)}),
         {{10000, -5000}}},
        {"10-for-10 bonus backward doubles", 2, 19900101, listOf({event(20120605, 10000)}), {{20000, 0}}},
        {"forward takes only events up to the base date",
         1,
         20120101,
         listOf({event(20110605, 10000), event(20120605, 10000)}),
         {{5000, 0}}},
        {"backward takes only events from the base date",
         2,
         20120101,
         listOf({event(20110605, 10000), event(20120605, 10000)}),
         {{20000, 0}}},
        {"forward factors accumulate towards the oldest",
         1,
         20121231,
         listOf({event(20110605, 10000), event(20120605, 10000)}),
         {{2500, 0}, {5000, 0}}},
        {"backward factors accumulate towards the newest",
         2,
         19900101,
         listOf({event(20110605, 10000), event(20120605, 10000)}),
         {{20000, 0}, {40000, 0}}},
        // 1 − 1 + 0 = 0 shares per share: no factor, no division by zero.
        {"hostile give of −10000 is skipped", 1, 20121231, listOf({event(20120605, -10000)}), {}},
        {"an unknown type gives nothing", 3, 20121231, listOf({event(20120605, 10000)}), {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StockFunc::FactorList factors{base::make<StockExrightItem>()};
        StockFunc::calcExrightList(c.events, factors, c.type, c.base);
        ASSERT_EQ(factors.size(), c.factors.size());
        for (size_t i = 0; i < factors.size(); ++i) {
            EXPECT_EQ(factors[i]->multi, c.factors[i].first);
            EXPECT_EQ(factors[i]->plus, c.factors[i].second);
        }
    }
}

TEST(ExrightAdjust, ForwardBonusHalvesOlderPricesAndMarksTheEventCandle) {
    L klist = listOf({day(20120101, 1001, 300), day(20120604, 1001, 300), day(20120605, 600, 300),
                      day(20120606, 610, 300)});
    L events = listOf({event(20120605, 10000)});
    ASSERT_TRUE(StockFunc::calcKLineExrightData(1, 20121231, 2, klist, events));
    EXPECT_EQ(candle(klist, 0).closeprice, 500);
    EXPECT_EQ(candle(klist, 0).vol, 600);
    EXPECT_EQ(candle(klist, 1).openprice, 500);
    // The event candle is the first one not adjusted by its event.
    EXPECT_EQ(candle(klist, 2).exrightFlag, StockFunc::ExrightForward);
    EXPECT_EQ(candle(klist, 2).closeprice, 600);
    EXPECT_EQ(candle(klist, 2).vol, 300);
    EXPECT_EQ(candle(klist, 3).closeprice, 610);
    EXPECT_EQ(candle(klist, 0).amount, 10);
}

TEST(ExrightAdjust, ForwardDividendSubtractsInPriceUnits) {
    L klist = listOf({day(20120101, 1000), day(20120605, 900)});
    ASSERT_TRUE(
        StockFunc::calcKLineExrightData(1, 20121231, 2, klist, listOf({event(20120605, 0, 0, 0, 5000)})));
    EXPECT_EQ(candle(klist, 0).closeprice, 950);
    EXPECT_EQ(candle(klist, 1).closeprice, 900);
}

TEST(ExrightAdjust, BackwardDoublesNewerPricesAndHalvesTheirVolumes) {
    L klist = listOf({day(20120101, 1000, 300), day(20120605, 500, 300), day(20120606, 510, 301)});
    ASSERT_TRUE(StockFunc::calcKLineExrightData(2, 19900101, 2, klist, listOf({event(20120605, 10000)})));
    EXPECT_EQ(candle(klist, 0).closeprice, 1000);
    EXPECT_EQ(candle(klist, 0).exrightFlag, 0);
    // The event candle is the first one adjusted.
    EXPECT_EQ(candle(klist, 1).closeprice, 1000);
    EXPECT_EQ(candle(klist, 1).exrightFlag, StockFunc::ExrightBackward);
    EXPECT_EQ(candle(klist, 2).closeprice, 1020);
    EXPECT_EQ(candle(klist, 2).vol, 150);
}

TEST(ExrightAdjust, EveryPassStartsFromTheUnadjustedCopies) {
    L klist = listOf({day(20110101, 1234, 1240, 1200, 1233, 777), day(20110605, 700, 705, 690, 701, 555),
                      day(20120605, 400, 410, 395, 401, 999), day(20120606, 403, 420, 399, 415, 1001)});
    L events = listOf({event(20110605, 7000, 1000, 35000, 1200), event(20120605, 10000, 0, 0, 300)});
    std::vector<std::array<int, 5>> before;
    for (size_t i = 0; i < klist.size(); ++i) {
        const KLineItem &c = candle(klist, i);
        before.push_back({c.openprice, c.highprice, c.lowprice, c.closeprice, c.vol});
    }
    ASSERT_TRUE(StockFunc::calcKLineExrightData(1, 20121231, 2, klist, events));
    ASSERT_TRUE(StockFunc::calcKLineExrightData(1, 20121231, 2, klist, events));
    ASSERT_TRUE(StockFunc::calcKLineExrightData(2, 19900101, 2, klist, events));
    ASSERT_TRUE(StockFunc::calcKLineExrightData(0, 0, 2, klist, events));
    for (size_t i = 0; i < klist.size(); ++i) {
        const KLineItem &c = candle(klist, i);
        EXPECT_EQ((std::array<int, 5>{c.openprice, c.highprice, c.lowprice, c.closeprice, c.vol}), before[i]);
    }
    // Type 0 leaves every marked candle as "not shown".
    EXPECT_EQ(candle(klist, 1).exrightFlag, StockFunc::ExrightNotShown);
    EXPECT_EQ(candle(klist, 2).exrightFlag, StockFunc::ExrightNotShown);
}

TEST(ExrightAdjust, TwoEventsBetweenCandlesAdvanceOneFactor) {
    // Factors 2500 (first event) and 5000 (second): the candle after both steps once only.
    L klist = listOf({day(20120101, 1000), day(20120701, 1000), day(20120801, 1000)});
    L events = listOf({event(20120601, 10000), event(20120605, 10000)});
    ASSERT_TRUE(StockFunc::calcKLineExrightData(1, 20121231, 2, klist, events));
    EXPECT_EQ(candle(klist, 0).closeprice, 250);
    EXPECT_EQ(candle(klist, 1).closeprice, 500);
    EXPECT_EQ(candle(klist, 2).closeprice, 1000);
}

TEST(ExrightAdjust, RefusalsTouchNothing) {
    L klist = listOf({day(20120101, 1000), day(20120605, 900)});
    L events = listOf({event(20120605, 10000)});
    struct Case {
        const char *name;
        int type, base;
        const L &klist, &events;
    };
    const L empty;
    const Case cases[] = {
        {"no events", 1, 20121231, klist, empty},
        {"no candles", 1, 20121231, empty, events},
        {"forward without base date", 1, 0, klist, events},
        {"backward without base date", 2, 0, klist, events},
        {"no event on the forward side", 1, 20120101, klist, events},
        {"no event on the backward side", 2, 20121231, klist, events},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(StockFunc::calcKLineExrightData(c.type, c.base, 2, c.klist, c.events));
        EXPECT_EQ(candle(klist, 0).closeprice, 1000);
        EXPECT_EQ(candle(klist, 1).exrightFlag, 0);
    }
}

TEST(ExrightAdjust, ForwardListStartingAfterEveryEventStaysUnadjusted) {
    L klist = listOf({day(20130101, 1000, 300), day(20130102, 1010, 300)});
    ASSERT_TRUE(StockFunc::calcKLineExrightData(1, 20131231, 2, klist, listOf({event(20120605, 10000)})));
    EXPECT_EQ(candle(klist, 0).closeprice, 1000);
    EXPECT_EQ(candle(klist, 1).vol, 300);
}

TEST(ExrightAdjust, HostileEventsAndPricesRunClean) {
    const int big = std::numeric_limits<int32_t>::max();
    L klist = listOf({day(20110101, big, big), day(20120101, -big, big), day(20120605, 1000)});
    struct Case {
        const char *name;
        L events;
    };
    const Case cases[] = {
        {"give −10000", listOf({event(20120605, -10000)})},
        {"give below −10000", listOf({event(20120605, -30000)})},
        {"huge pei and price", listOf({event(20120605, big, big, big, big)})},
        {"huge profit", listOf({event(20110605, 0, 0, 0, big), event(20120605, 0, 0, 0, -big)})},
        {"tiny multiplier", listOf({event(20120605, -9999)})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (int type : {0, 1, 2}) {
            StockFunc::calcKLineExrightData(type, type == 2 ? 19900101 : 20131231, 2, klist, c.events);
            StockFunc::calcLastKLineExright(type, type == 2 ? 19900101 : 20131231, 9, klist, c.events);
        }
    }
    StockFunc::calcKLineExrightData(0, 0, 2, klist, cases[0].events);
    EXPECT_EQ(candle(klist, 0).closeprice, big);
}

TEST(ExrightLastCandle, FlagsAndBackwardPricesOfTheNewest) {
    L events = listOf({event(20120605, 10000)});
    struct Case {
        const char *name;
        int type, base, lastTime;
        int flag, close;
    };
    const Case cases[] = {
        {"forward, on the event and the base date", 1, 20120605, 20120605, 2, 500},
        {"forward, on the event only", 1, 20121231, 20120605, 1, 500},
        {"forward, after the event", 1, 20121231, 20120606, 0, 500},
        {"backward on the event", 2, 19900101, 20120605, 3, 1000},
        {"backward after the event", 2, 19900101, 20120606, 0, 1000},
        {"none on the event", 0, 0, 20120605, 1, 500},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        L klist = listOf({day(20120101, 1000), day(c.lastTime, 500)});
        ASSERT_TRUE(StockFunc::calcLastKLineExright(c.type, c.base, 2, klist, events));
        EXPECT_EQ(candle(klist, 1).exrightFlag, c.flag);
        EXPECT_EQ(candle(klist, 1).exrightDate, c.flag ? c.lastTime : 0);
        EXPECT_EQ(candle(klist, 1).closeprice, c.close);
        EXPECT_EQ(candle(klist, 0).closeprice, 1000);
    }
    L klist = listOf({day(20120605, 500)});
    EXPECT_FALSE(StockFunc::calcLastKLineExright(1, 0, 2, klist, events));
    EXPECT_FALSE(StockFunc::calcLastKLineExright(2, 20121231, 2, klist, events));
    EXPECT_FALSE(StockFunc::calcLastKLineExright(0, 0, 2, klist, {}));
}

TEST(ExrightMarks, EventCandlesAmongThoseNotYetMarked) {
    L klist = listOf({day(20120101, 1), day(20120105, 1), day(20120110, 1), day(20120115, 1)});
    L events = listOf({event(20111201, 1), event(20120105, 1), event(20120107, 1), event(20120115, 1)});
    // Two candles were marked before; the older ones were put in front since.
    ASSERT_TRUE(StockFunc::SetKLineExrightFlag(klist, events, 2));
    EXPECT_EQ(candle(klist, 0).exrightFlag, 0);
    EXPECT_EQ(candle(klist, 1).exrightFlag, 1);
    EXPECT_EQ(candle(klist, 1).exrightDate, 20120105);
    EXPECT_EQ(candle(klist, 2).exrightFlag, 0);
    EXPECT_EQ(candle(klist, 3).exrightFlag, 0);
    ASSERT_TRUE(StockFunc::SetKLineExrightFlag(klist, events, 0));
    EXPECT_EQ(candle(klist, 3).exrightFlag, 1);
    EXPECT_TRUE(StockFunc::SetKLineExrightFlag(klist, events, 9));
    EXPECT_FALSE(StockFunc::SetKLineExrightFlag(klist, {}, 0));
}

TEST(ExrightMarks, WeekAndMonthCandlesWhosePeriodHoldsAnEvent) {
    // Week candles dated by their last day; the event on Wednesday 2013-01-02 falls in the week
    // that began on Monday 2012-12-31.
    L weeks = listOf({day(20121228, 1), day(20130104, 1), day(20130111, 1)});
    StockFunc::setMultiDayKLineExrightFlag(weeks, 8, listOf({event(20121201, 1), event(20130102, 1)}));
    EXPECT_EQ(candle(weeks, 0).exrightFlag, 0);
    EXPECT_EQ(candle(weeks, 1).exrightFlag, 1);
    EXPECT_EQ(candle(weeks, 1).exrightDate, 20130102);
    EXPECT_EQ(candle(weeks, 2).exrightFlag, 0);
    L months = listOf({day(20121130, 1), day(20121231, 1)});
    StockFunc::setMultiDayKLineExrightFlag(months, 9, listOf({event(20121201, 1)}));
    EXPECT_EQ(candle(months, 0).exrightFlag, 0);
    EXPECT_EQ(candle(months, 1).exrightDate, 20121201);
}

} // namespace
