#include "DataBase/NetData/StockAlarmInfo.h"
#include "DataBase/NetData/StockBoardInf.h"
#include "DataBase/NetData/StockDetailStatus.h"
#include "DataBase/NetData/StockPoolInf.h"

#include <gtest/gtest.h>

namespace {

TEST(StockBoardInf, FormatValue) {
    StockBoardInf board;
    board.decimal = 2;
    board.range = -125;
    EXPECT_EQ(board.FormatValue(1), "-1.25%");
    EXPECT_EQ(board.FormatValue(4), "--");
    EXPECT_EQ(board.FormatValue(2), "--");
    board.lastPrice = 123456;
    EXPECT_EQ(board.FormatValue(4), "1234.56");
    board.decimal = 0;
    EXPECT_EQ(board.FormatValue(1), "-125.00%");
}

TEST(StockBoardInf, DecimalCountWithoutAnIntegerScaleShowsNoRise) {
    StockBoardInf board;
    board.range = 5;
    for (int32_t decimal : {-1, 10, 127, INT32_MAX}) {
        board.decimal = decimal;
        EXPECT_EQ(board.FormatValue(1), "--") << decimal;
    }
}

int32_t packedTime(int month, int day, int hour, int minute) {
    return month << 16 | day << 11 | hour << 6 | minute;
}

TEST(StockPoolInf, GainSinceEntryAndItsColour) {
    struct Case {
        const char *name;
        int32_t newprice, closeprice, enterPoolPrice;
        std::string rate;
        int32_t color;
    };
    const std::vector<Case> cases = {
        {"before the first trade the close counts", 0, 1000, 800, "25.00%", 200},
        {"no entry price", 1000, 1000, 0, "--", 0},
        {"no price at all", 0, 0, 800, "--", 0},
        {"a loss has a minus and no plus for gains", 700, 1000, 800, "-12.50%", -100},
    };
    for (const auto &c : cases) {
        StockPoolInf pool;
        pool.newprice = c.newprice;
        pool.closeprice = c.closeprice;
        pool.enterPoolPrice = c.enterPoolPrice;
        EXPECT_EQ(pool.FormatValue(701), c.rate) << c.name;
        EXPECT_EQ(pool.getColorValue(701), c.color) << c.name;
    }
}

TEST(StockPoolInf, OtherColumns) {
    StockPoolInf pool;
    pool.code = "SH600000";
    pool.decimal = 2;
    pool.newprice = 1100;
    pool.closeprice = 1000;
    pool.enterPoolPrice = 800;
    pool.enterPoolTime = packedTime(12, 31, 9, 5);
    EXPECT_EQ(pool.FormatValue(1), "+10.00%");
    EXPECT_EQ(pool.FormatValue(4), "11.00");
    EXPECT_EQ(pool.FormatValue(9), "600000");
    EXPECT_EQ(pool.FormatValue(702), "12-31 09:05");
    EXPECT_EQ(pool.FormatValue(703), "8.00");
    EXPECT_EQ(pool.FormatValue(2), "--");
    EXPECT_EQ(pool.getColorValue(1), 100);
    EXPECT_EQ(pool.getColorValue(4), 100);
    EXPECT_EQ(pool.getColorValue(2), 0);
    pool.enterPoolTime = packedTime(3, 7, 14, 30);
    EXPECT_EQ(pool.getEnterPoolDate(), "3-7 14:30");
}

TEST(StockAlarmInfo, FormatValue) {
    StockAlarmInfo alarm;
    for (int id = 1; id <= 5; ++id)
        EXPECT_EQ(alarm.FormatValue(id), "0.00") << id;
    EXPECT_EQ(alarm.FormatValue(6), "一次");
    EXPECT_EQ(alarm.FormatValue(7), "");

    alarm.priceGreaterThan = -1;
    alarm.decimal = 3;
    alarm.todayRise = 1.5f;
    EXPECT_EQ(alarm.FormatValue(1), "");
    EXPECT_EQ(alarm.FormatValue(3), "1.500");

    alarm.setValidFlag(1);
    EXPECT_EQ(alarm.FormatValue(6), "永久");
    EXPECT_EQ(alarm.todayFallValid, 1);
    EXPECT_EQ(alarm.todayExchangeValid, 1);
    EXPECT_EQ(alarm.todayNewsValid, 1);
    alarm.todayRiseValid = 2;
    EXPECT_EQ(alarm.FormatValue(6), "");
}

TEST(StockDetailStatus, ChoosingTheChartResetsThePeriod) {
    StockDetailStatus status;
    EXPECT_FALSE(status.isShowKLine());
    EXPECT_TRUE(status.isShowKLineVol);
    status.setShowKType(8);
    status.setIsShowKLine(true);
    EXPECT_EQ(status.showKType(), 0);
    status.setShowKType(8);
    EXPECT_EQ(status.showKType(), 8);
}

} // namespace
