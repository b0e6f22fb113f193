#include "DataBase/NetData/StockQuoteInf.h"
#include "DataBase/NetData/FundQuoteInf.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

template <class Record> struct FieldCase {
    const char *name;
    std::function<void(Record &)> fill;
    int32_t id;
    int32_t digit;
    std::string text;
};

void price1234(StockQuoteInf &r) {
    r.decimal = 2;
    r.newprice = 1234;
    r.closeprice = 1200;
}

const auto fresh = [](StockQuoteInf &) {};

TEST(StockQuoteInf, FormatValueFollowsTheFieldTable) {
    const std::vector<FieldCase<StockQuoteInf>> cases = {
        {"fresh rise", fresh, 1, -1, "--"},
        {"fresh volume", fresh, 2, -1, "--"},
        {"fresh amount", fresh, 3, -1, "--"},
        {"fresh price", fresh, 4, -1, "--"},
        {"fresh change", fresh, 502, -1, "--"},
        {"fresh volume ratio", fresh, 20, -1, "0.00"},
        {"fresh p/e", fresh, 23, -1, "0.00"},
        {"fresh turnover", fresh, 21, -1, "0.00%"},
        {"unknown id", fresh, 17, -1, ""},
        {"fresh code", fresh, 9, -1, ""},
        {"price", price1234, 4, -1, "12.34"},
        {"change", price1234, 502, -1, "0.34"},
        {"rise", price1234, 1, -1, "+2.83%"},
        {"price with display digit", price1234, 4, 3, "12.340"},
        {"change ignores the display digit", price1234, 502, 3, "0.34"},
        {"previous close", price1234, 503, 0, "12"},
        {"unchanged rise", [](StockQuoteInf &r) { r.newprice = r.closeprice = 1200; }, 1, -1, "0.00%"},
        {"unchanged change", [](StockQuoteInf &r) { r.newprice = r.closeprice = 1200; }, 502, -1, "0.00"},
        {"inner volume", [](StockQuoteInf &r) { r.vol = 12345, r.npSellVol = 5000; }, 510, -1, "5000"},
        {"outer volume", [](StockQuoteInf &r) { r.vol = 12345, r.npSellVol = 5000; }, 511, -1, "7345"},
        {"net inflow share without turnover", [](StockQuoteInf &r) { r.fundIn = 10, r.fundOut = 5; }, 536, -1,
         "--"},
        {"net inflow", [](StockQuoteInf &r) { r.fundIn = 10, r.fundOut = 5; }, 535, -1, "5万"},
        {"net inflow share", [](StockQuoteInf &r) { r.fundIn = 30, r.fundOut = 10, r.amount = 80; }, 536, -1,
         "25.00%"},
        {"5-day share", [](StockQuoteInf &r) { r.fundIn5 = 1, r.fundOut5 = 2, r.fundAmount5 = 3; }, 538, -1,
         "-33.33%"},
        // 3/800 is just below 0.00375 in single precision, so the share rounds down.
        {"share in single precision", [](StockQuoteInf &r) { r.fundIn = 1, r.amount = 800; }, 536, -1,
         "0.12%"},
        {"30-day share without turnover", [](StockQuoteInf &r) { r.fundIn30 = 1; }, 540, -1, "--"},
        {"rise speed has no percent", [](StockQuoteInf &r) { r.IncreaseSPD = 125; }, 25, -1, "1.25"},
        {"imbalance has no percent", [](StockQuoteInf &r) { r.weibi = -50; }, 26, -1, "-0.50"},
        {"turnover has a percent", [](StockQuoteInf &r) { r.huanshou = 125; }, 21, -1, "1.25%"},
        {"amount in 亿 with 2 decimals", [](StockQuoteInf &r) { r.amount = 123456; }, 3, -1, "12.35亿"},
        {"amount with a display digit", [](StockQuoteInf &r) { r.amount = 123456; }, 3, 1, "12.3亿"},
        {"code", [](StockQuoteInf &r) { r.code = "SH600000"; }, 9, -1, "SH600000"},
        {"amplitude", [](StockQuoteInf &r) { r.lowprice = 1000, r.highprice = 1100; }, 22, -1, "10.00%"},
        {"rising days", [](StockQuoteInf &r) { r.redCount = 3; }, 15, -1, "3天"},
        {"DDX", [](StockQuoteInf &r) { r.ddx1 = 1234; }, 10, -1, "1.234"},
        {"7-day rise", [](StockQuoteInf &r) { r.riseRate7 = -325; }, 5, -1, "-3.25%"},
        {"main inflow", [](StockQuoteInf &r) { r.fundIn = 123456; }, 527, -1, "12.35亿"},
        {"extreme difference wraps instead of overflowing",
         [](StockQuoteInf &r) { r.fundIn = INT32_MIN, r.fundOut = 1; }, 535, -1, "214748.36亿"},
    };
    for (const auto &c : cases) {
        StockQuoteInf record;
        c.fill(record);
        EXPECT_EQ(record.FormatValue(c.id, c.digit), c.text) << c.name;
    }
}

void basic(StockBasicInf &r) {
    r.decimal = 2;
    r.newprice = 1050;
    r.ysettlement = 1000;
}

TEST(StockBasicInf, FormatValueAddsTheDetailFields) {
    const std::vector<FieldCase<StockBasicInf>> cases = {
        {"base rule first", basic, 502, -1, "10.50"},
        {"amount with the record's decimals", [](StockBasicInf &r) { r.decimal = 3, r.amount = 123456; }, 3,
         -1, "12.346亿"},
        {"average price", [](StockBasicInf &r) { r.decimal = 2, r.avePrice = 1234; }, 501, 1, "12.3"},
        {"limit-up", [](StockBasicInf &r) { r.decimal = 3, r.upStopPrice = 1234; }, 507, -1, "1.234"},
        {"open interest", [](StockBasicInf &r) { r.position = 20000; }, 512, -1, "2.00万"},
        {"interest change", [](StockBasicInf &r) { r.position = 300, r.yposition = 100; }, 517, -1, "200"},
        {"market value", [](StockBasicInf &r) { r.totalMarketValue = 23456; }, 518, -1, "2.35万亿"},
        {"turnover from capital", [](StockBasicInf &r) { r.vol = 500, r.circulatedCapital = 10000; }, 519, -1,
         "5.00%"},
        {"turnover without capital", [](StockBasicInf &r) { r.vol = 500; }, 519, -1, "--"},
        {"no rising members", [](StockBasicInf &) {}, 521, -1, "--"},
        {"falling members", [](StockBasicInf &r) { r.fallCount = 5; }, 522, -1, "5"},
        {"change against settlement", basic, 525, -1, "0.50"},
        {"rise against settlement", basic, 526, -1, "+5.00%"},
        {"no code", [](StockBasicInf &) {}, 9, -1, ""},
        {"unknown id", basic, 599, -1, ""},
    };
    for (const auto &c : cases) {
        StockBasicInf record;
        c.fill(record);
        EXPECT_EQ(record.FormatValue(c.id, c.digit), c.text) << c.name;
    }
}

TEST(StockQuoteInf, ClearKeepsOnlyTheTick) {
    StockBasicInf record;
    record.code = "SH600000";
    record.decimal = 2;
    record.prodsettlement = 7;
    record.updateTick = 42.5;
    record.avePrice = 3;
    record.sellVol[9] = 4;
    StockQuoteInf &base = record;
    base.clear();
    EXPECT_EQ(record.code, "");
    EXPECT_EQ(record.decimal, 0);
    EXPECT_EQ(record.prodsettlement, 0);
    EXPECT_EQ(record.avePrice, 0);
    EXPECT_EQ(record.sellVol[9], 0);
    EXPECT_EQ(record.updateTick, 42.5);
}

TEST(StockQuoteInf, FormatDisplayCode) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SH000001", "SH000001"}, {"HKHSI", "HKHSI"}, {"OF150001", "OF150001"},
        {"IXDJIA", "DJIA"},       {"SH", "--"},       {"", "--"},
    };
    for (const auto &[code, text] : cases)
        EXPECT_EQ(StockQuoteInf::FormatDisplayCode(code), text) << code;
}

TEST(FundQuoteInf, FormatValueFollowsTheFundTables) {
    OpenFundQuoteInf open;
    open.date = 20120305;
    open.lastPrice = 12345;
    open.dayIncRate = -1500;
    // 1.2345 is just above the tie in single precision, so it rounds up.
    EXPECT_EQ(open.FormatValue(603), "1.235");
    EXPECT_EQ(open.FormatValue(601), "20120305");
    EXPECT_EQ(open.FormatValue(602), "--");
    EXPECT_EQ(open.FormatValue(607), "-0.15%");
    EXPECT_EQ(open.FormatValue(1), "--");
    EXPECT_EQ(open.FormatValue(611), "--");

    CurrencyFundQuoteInf currency;
    currency.income10000 = 12345;
    currency.incomeRate7 = 32500;
    EXPECT_EQ(currency.FormatValue(611), "1.235");
    EXPECT_EQ(currency.FormatValue(612), "3.25%");
    EXPECT_EQ(currency.FormatValue(614), "0.00%");
    EXPECT_EQ(currency.FormatValue(603), "--");
}

} // namespace
