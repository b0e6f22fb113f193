#include "CandlesSupport.h"

#include "DataBase/NetData/StockQuoteInf.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

TEST(ExchangeDays, CivilDaysLessTwoPerWholeWeek) {
    struct Case {
        int from, to, days;
    };
    const Case cases[] = {
        {20120301, 20120308, 5},  {20120302, 20120305, 3}, {20120305, 20120305, 0},
        {20120308, 20120301, -5}, {20111230, 20120102, 3}, {20120101, 20121231, 365 - 2 * 52},
        {20120301, 0, 0},         {20120230, 20120301, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StockFunc::distanceExchangeDays(c.from, c.to), c.days) << c.from << " → " << c.to;
}

TEST(ExchangeDays, ADaylightSavingChangeLosesNoDay) {
    const char *saved = std::getenv("TZ");
    std::string old = saved ? saved : "";
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    // Summer time starts on 2012-03-25 and ends on 2012-10-28.
    EXPECT_EQ(StockFunc::distanceExchangeDays(20120324, 20120326), 2);
    EXPECT_EQ(StockFunc::distanceExchangeDays(20120319, 20120326), 5);
    EXPECT_EQ(StockFunc::distanceExchangeDays(20121027, 20121029), 2);
    if (saved)
        ::setenv("TZ", old.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(KLineDate, PackedMinuteTimesAndPlainDays) {
    EXPECT_EQ(StockFunc::getKLineDate(0x7DC32A63, 1), 120305);
    EXPECT_EQ(StockFunc::getKLineDate(0x7DC32A63, 6), 120305);
    EXPECT_EQ(StockFunc::getKLineDate(20120305, 7), 20120305);
    EXPECT_EQ(StockFunc::getKLineFullDate(0x7DC32A63, 2), 20120305);
    EXPECT_EQ(StockFunc::getKLineFullDate(20120305, 9), 20120305);
}

TEST(CodePredicates, MarketsAndKinds) {
    EXPECT_TRUE(StockFunc::isValidCode("SH6"));
    EXPECT_FALSE(StockFunc::isValidCode("SH"));
    EXPECT_TRUE(StockFunc::isSZSCIndex("SH000001"));
    EXPECT_TRUE(StockFunc::isSZSCIndex("SZ399001"));
    EXPECT_FALSE(StockFunc::isSZSCIndex("SH000300"));
    EXPECT_TRUE(StockFunc::isOFCode("OF110022"));
    EXPECT_FALSE(StockFunc::isOFCode("OF"));
    EXPECT_FALSE(StockFunc::isOFCode("SH110022"));

    StockQuoteInf quote;
    quote.code = "SZ000002";
    quote.type = 1;
    EXPECT_TRUE(StockFunc::isSHSZStock(&quote));
    quote.type = 0;
    EXPECT_FALSE(StockFunc::isSHSZStock(&quote));
    quote.type = 1;
    quote.code = "HK00005";
    EXPECT_FALSE(StockFunc::isSHSZStock(&quote));
    EXPECT_FALSE(StockFunc::isSHSZStock(nullptr));
}

} // namespace
