#include "Common/TimeFunc.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeFuncPeriod, WeekdaysAreMondayBased) {
    int expected[] = {0, 7, 1, 2, 3, 4, 5, 6};
    for (int platform = 1; platform <= 7; ++platform)
        EXPECT_EQ(TimeFunc::getCNWeekDay(platform), expected[platform]) << platform;
}

TEST(TimeFuncPeriod, WeeksAndMonths) {
    struct Case {
        int date;
        int weekday, weekStart, weekId, monthStart, monthId;
    } cases[] = {
        {20120305, 1, 20120305, 201210, 20120301, 201203}, // a Monday
        {20120311, 7, 20120305, 201210, 20120301, 201203}, // the Sunday of the same week
        {20120229, 3, 20120227, 201209, 20120201, 201202}, // leap day
        // a week across the year end stays together and counts in the year of its Thursday
        {20121231, 1, 20121231, 201301, 20121201, 201212},
        {20130106, 7, 20121231, 201301, 20130101, 201301},
        {20100103, 7, 20091228, 200953, 20100101, 201001},
        {20091231, 4, 20091228, 200953, 20091201, 200912},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.date);
        int weekday = -1, week = -1;
        ASSERT_TRUE(TimeFunc::getWeekday(c.date, weekday, week));
        EXPECT_EQ(weekday, c.weekday);
        EXPECT_EQ(week, c.weekId % 100);
        EXPECT_EQ(TimeFunc::getBeginningOfWeekNumDate(c.date), c.weekStart);
        EXPECT_EQ(TimeFunc::getBeginningOfPeriod(8, c.date), c.weekStart);
        EXPECT_EQ(TimeFunc::getWhichPeriod(8, c.date), c.weekId);
        EXPECT_EQ(TimeFunc::getBeginningOfPeriod(9, c.date), c.monthStart);
        EXPECT_EQ(TimeFunc::getWhichPeriod(9, c.date), c.monthId);

        int day = -1, period = -1;
        ASSERT_TRUE(TimeFunc::getKLinePeriodDay(8, c.date, day, period));
        EXPECT_EQ(day, c.weekday);
        EXPECT_EQ(period, c.weekId % 100);
        ASSERT_TRUE(TimeFunc::getKLinePeriodDay(9, c.date, day, period));
        EXPECT_EQ(day, c.date % 100);
        EXPECT_EQ(period, c.monthId % 100);
    }
}

TEST(TimeFuncPeriod, OtherPeriodsAndNonDates) {
    EXPECT_EQ(TimeFunc::getWhichPeriod(7, 20120305), 0);
    EXPECT_EQ(TimeFunc::getBeginningOfPeriod(7, 20120305), 0);
    int day = -1, period = -1;
    EXPECT_FALSE(TimeFunc::getKLinePeriodDay(7, 20120305, day, period));
    EXPECT_EQ(day, -1);

    for (int notADate : {0, -20120305, 20120230, 20121301, 20120100, 120305, 2012030512}) {
        SCOPED_TRACE(notADate);
        EXPECT_EQ(TimeFunc::getBeginningOfWeekNumDate(notADate), 0);
        EXPECT_EQ(TimeFunc::getWhichPeriod(8, notADate), 0);
        EXPECT_EQ(TimeFunc::getWhichPeriod(9, notADate), 0);
        int weekday = -1, week = -1;
        EXPECT_FALSE(TimeFunc::getWeekday(notADate, weekday, week));
        EXPECT_EQ(weekday, -1);
        EXPECT_EQ(week, -1);
    }
}

} // namespace
