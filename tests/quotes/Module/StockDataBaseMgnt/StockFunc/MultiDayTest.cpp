#include "CandlesSupport.h"

#include "Common/TimeFunc.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using L = StockFunc::ObjectList;

// The trading days (Monday to Friday) from one date to another, with prices that move.
L tradingDays(int from, int to) {
    L days;
    auto date = TimeFunc::getDateFromNumDate(from);
    for (int n = 0; date; ++n) {
        int numDate = TimeFunc::getNumDate(*date);
        if (numDate > to)
            break;
        int weekday = 0, week = 0;
        TimeFunc::getWeekday(numDate, weekday, week);
        if (weekday <= 5)
            days.push_back(day(numDate, 1000 + n, 1010 + 2 * n, 990 - n, 1005 + n % 7, 100 + n));
        date = TimeFunc::IncDate(*date, 1);
    }
    return days;
}

using Shape = std::tuple<int, int, int, int, int, int, int, int, int>;
Shape shapeOf(const KLineItem &c) {
    return {c.time, c.openprice, c.highprice,   c.lowprice,   c.closeprice,
            c.vol,  c.amount,    c.exrightFlag, c.exrightDate};
}

std::vector<Shape> shapes(const L &list) {
    std::vector<Shape> out;
    for (size_t i = 0; i < list.size(); ++i)
        out.push_back(shapeOf(candle(list, i)));
    return out;
}

L fullBuild(int ktype, const L &days) {
    L result;
    StockFunc::calcMultiDayKLine2(ktype, result, days, 0, int(days.size()) - 1, 0, true);
    return result;
}

// Feeds the days one at a time, the newest revised once before the next arrives, as refreshes do.
L feedDayByDay(int ktype, const L &all, size_t start) {
    L days(all.begin(), all.begin() + std::ptrdiff_t(start));
    L result;
    KLineItem saved;
    auto build = [&] {
        StockFunc::calcMultiDayKLine(ktype, result, days, saved);
        const KLineItem &last = candle(days, days.size() - 1);
        saved.time = last.time;
        saved.closeprice = last.closeprice;
        saved.highprice = last.highprice;
        saved.lowprice = last.lowprice;
        saved.vol = last.vol;
        saved.amount = last.amount;
    };
    build();
    for (size_t i = start; i < all.size(); ++i) {
        auto revised = base::make<KLineItem>(candle(all, i));
        revised->closeprice -= 3;
        revised->vol /= 2;
        days.push_back(revised);
        build();
        days.back() = all[i];
        build();
    }
    return result;
}

TEST(MultiDayCandles, DayByDayFeedEqualsAFullRebuild) {
    struct Case {
        const char *name;
        int ktype, from, to;
    };
    const Case cases[] = {
        {"week across a year end", 8, 20121203, 20130118},
        {"month across a month and a year end", 9, 20121015, 20130208},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        L days = tradingDays(c.from, c.to);
        candle(days, 8).exrightFlag = 1;
        EXPECT_EQ(shapes(feedDayByDay(c.ktype, days, 3)), shapes(fullBuild(c.ktype, days)));
    }
}

TEST(MultiDayCandles, AWeekAcrossAYearEndIsOneCandleWithItsMark) {
    L days = tradingDays(20121224, 20130111);
    for (size_t i = 0; i < days.size(); ++i)
        if (candle(days, i).time == 20130102)
            candle(days, i).exrightFlag = 1;
    L weeks = fullBuild(8, days);
    ASSERT_EQ(weeks.size(), 3u);
    const KLineItem &yearEnd = candle(weeks, 1);
    EXPECT_EQ(yearEnd.time, 20130104);
    EXPECT_EQ(yearEnd.openprice, candle(days, 5).openprice); // Monday 2012-12-31
    EXPECT_EQ(yearEnd.vol, candle(days, 5).vol + candle(days, 6).vol + candle(days, 7).vol +
                               candle(days, 8).vol + candle(days, 9).vol);
    EXPECT_EQ(yearEnd.exrightFlag, 1);
    EXPECT_EQ(yearEnd.exrightDate, 20130102);
    // The built candle keeps the unadjusted copies of its first day.
    EXPECT_EQ(yearEnd.oopenprice, candle(days, 5).oopenprice);
}

TEST(MultiDayCandles, DaysFiftyTwoWeeksApartNeverMerge) {
    // 2012-01-04 and 2013-01-03 are both in week 1 of their years.
    L days = listOf({day(20120104, 100), day(20130103, 200)});
    L weeks = fullBuild(8, days);
    ASSERT_EQ(weeks.size(), 2u);
    EXPECT_EQ(candle(weeks, 0).closeprice, 100);
    EXPECT_EQ(candle(weeks, 1).closeprice, 200);
}

TEST(MultiDayCandles, NewDayReplacesTheLastCandleOrOpensOne) {
    L days = tradingDays(20121203, 20121212); // to a Wednesday
    L weeks;
    KLineItem saved;
    StockFunc::calcMultiDayKLine(8, weeks, days, saved);
    saved = candle(days, days.size() - 1);
    ASSERT_EQ(weeks.size(), 2u);
    auto lastBefore = weeks.back();

    days.push_back(day(20121213, 1500, 1600, 1400, 1550, 77));
    StockFunc::calcMultiDayKLine(8, weeks, days, saved);
    saved = candle(days, days.size() - 1);
    ASSERT_EQ(weeks.size(), 2u);
    EXPECT_NE(weeks.back(), lastBefore);
    EXPECT_EQ(candle(weeks, 1).time, 20121213);
    EXPECT_EQ(candle(weeks, 1).highprice, 1600);

    days.push_back(day(20121217, 900)); // a Monday
    StockFunc::calcMultiDayKLine(8, weeks, days, saved);
    ASSERT_EQ(weeks.size(), 3u);
    EXPECT_EQ(candle(weeks, 2).openprice, 900);

    L months = fullBuild(9, listOf({day(20121130, 1), day(20121203, 2), day(20121231, 3), day(20130101, 4)}));
    ASSERT_EQ(months.size(), 3u);
    EXPECT_EQ(candle(months, 1).closeprice, 3);
}

TEST(MultiDayCandles, OlderDaysDoNotExtendTheFirstBuiltWeek) {
    L all = tradingDays(20121126, 20121214);
    // The first build saw the days from a Wednesday on.
    L days(all.begin() + 7, all.end());
    L weeks;
    KLineItem saved;
    StockFunc::calcMultiDayKLine(8, weeks, days, saved);
    saved = candle(days, days.size() - 1);
    const int firstWeekVol = candle(weeks, 0).vol;
    ASSERT_EQ(candle(weeks, 0).time, 20121207);

    StockFunc::calcMultiDayKLine(8, weeks, all, saved);
    ASSERT_EQ(weeks.size(), 3u);
    EXPECT_EQ(candle(weeks, 0).time, 20121130);
    EXPECT_EQ(candle(weeks, 1).vol, firstWeekVol);
    EXPECT_EQ(candle(weeks, 1).openprice, candle(all, 7).openprice);
}

TEST(MultiDayCandles, ARefreshOnTheThirtyFirstRebuildsOnlyThatWeek) {
    L days = tradingDays(20121210, 20121231);
    L weeks;
    KLineItem saved;
    StockFunc::calcMultiDayKLine(8, weeks, days, saved);
    saved = candle(days, days.size() - 1);
    ASSERT_EQ(weeks.size(), 4u);
    auto untouched = weeks[2];
    candle(days, days.size() - 1).closeprice += 50;
    StockFunc::calcMultiDayKLine(8, weeks, days, saved);
    ASSERT_EQ(weeks.size(), 4u);
    EXPECT_EQ(weeks[2], untouched);
    EXPECT_EQ(candle(weeks, 3).closeprice, candle(days, days.size() - 1).closeprice);
}

TEST(MultiDayCandles, EmptyDaysEmptyTheResultAndUndatableDaysAreLeftOut) {
    L weeks = listOf({day(20121207, 1)});
    StockFunc::calcMultiDayKLine(8, weeks, {}, KLineItem());
    EXPECT_TRUE(weeks.empty());
    L built = fullBuild(8, listOf({day(20121203, 1), day(20121299, 5), day(20121204, 2)}));
    ASSERT_EQ(built.size(), 1u);
    EXPECT_EQ(candle(built, 0).highprice, 2);
}

} // namespace
