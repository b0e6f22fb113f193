#include "Module/StockDataBaseMgnt/SortContent.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

base::Ref<StockQuoteInf> record(const std::string &code, int32_t price, int32_t close = 1000) {
    auto r = base::make<StockQuoteInf>();
    r->code = code;
    r->newprice = price;
    r->closeprice = close;
    r->highprice = price;
    r->lowprice = close;
    return r;
}

SortContent context(const std::string &title, int32_t id, int32_t order = SortContent::Ascending) {
    SortContent c;
    c.setTitle(title);
    c.setSortId(id);
    c.setOrderStatu(order);
    return c;
}

// One column of the key table: its title, its id, and the field it reads.
struct KeyCase {
    const char *title;
    int32_t id;
    std::function<void(StockQuoteInf &, int32_t)> set;
};

#define QV_SET(field) [](StockQuoteInf &r, int32_t v) { r.field = decltype(r.field)(v); }

TEST(CompareStockBasicInf, EveryColumnReadsItsKeyByTitleAndById) {
    const std::vector<KeyCase> cases{
        {"代码", 9, [](StockQuoteInf &r, int32_t v) { r.code = "SH60000" + std::to_string(v); }},
        {"最新", 4, QV_SET(newprice)},
        {"涨幅", 1, [](StockQuoteInf &r, int32_t v) { r.newprice = 1000 + v, r.closeprice = 1000; }},
        {"成交量", 2, QV_SET(vol)},
        {"成交额", 3, QV_SET(amount)},
        {"振幅", 22, [](StockQuoteInf &r, int32_t v) { r.highprice = 1000 + v, r.lowprice = 1000; }},
        {"涨速", 25, QV_SET(IncreaseSPD)},
        {"量比", 20, QV_SET(liangbi)},
        {"委比", 26, QV_SET(weibi)},
        {"换手", 21, QV_SET(huanshou)},
        {"市盈率", 23, QV_SET(shiyingRate)},
        {"市净率", 24, QV_SET(shijingRate)},
        {"7日涨幅", 5, QV_SET(riseRate7)},
        {"7日换手率", 6, QV_SET(transpRate7)},
        {"30日涨幅", 7, QV_SET(riseRate30)},
        {"30日换手率", 8, QV_SET(transpRate30)},
        {"当日DDX", 10, QV_SET(ddx1)},
        {"当日DDY", 11, QV_SET(ddy1)},
        {"当日DDZ", 12, QV_SET(ddz1)},
        {"60日DDX", 13, QV_SET(ddx60)},
        {"60日DDY", 14, QV_SET(ddy60)},
        {"10日飘红天数", 15, QV_SET(redCount)},
        {"10日连续飘红", 16, QV_SET(redEvenCount)},
    };
    for (const KeyCase &c : cases) {
        StockQuoteInf low, high;
        c.set(low, 2);
        c.set(high, 7);
        for (const SortContent &by : {context(c.title, 0), context("", c.id)}) {
            SCOPED_TRACE(std::string(c.title) + " " + std::to_string(by.sortId()));
            EXPECT_EQ(compareStockBasicInf(low, high, by), -1);
            EXPECT_EQ(compareStockBasicInf(high, low, by), 1);
            EXPECT_EQ(compareStockBasicInf(low, low, by), 0);
            SortContent down = by;
            down.setOrderStatu(0);
            EXPECT_EQ(compareStockBasicInf(low, high, down), 1);
        }
    }
}

#undef QV_SET

TEST(CompareStockBasicInf, RatiosCompareAsPercentagesAndWithoutAPriceAsEqual) {
    auto a = record("SH600000", 1100, 1000), b = record("SH600001", 2200, 2000);
    EXPECT_EQ(compareStockBasicInf(*a, *b, context("涨幅", 0)), 0);
    EXPECT_EQ(compareStockBasicInf(*a, *b, context("", 1)), 0);
    auto unpriced = record("SH600002", 900, 0);
    for (const auto &other : {a, b}) {
        EXPECT_EQ(compareStockBasicInf(*unpriced, *other, context("涨幅", 1)), 0);
        EXPECT_EQ(compareStockBasicInf(*other, *unpriced, context("涨幅", 1, 0)), 0);
    }
}

TEST(CompareStockBasicInf, CodeComparesWithoutMarketAndWinsOverTheId) {
    auto sz = record("SZ000001", 30), sh = record("SH600000", 10);
    EXPECT_EQ(compareStockBasicInf(*sz, *sh, context("代码", 0)), -1);
    // "代码" with the id of "最新": the code row comes first in the table.
    EXPECT_EQ(compareStockBasicInf(*sz, *sh, context("代码", 4)), -1);
    EXPECT_EQ(compareStockBasicInf(*sz, *sh, context("", 99)), 0);
}

std::vector<int32_t> prices(const std::vector<base::Ref<StockQuoteInf>> &records) {
    std::vector<int32_t> out;
    for (const auto &r : records)
        out.push_back(r->newprice);
    return out;
}

TEST(SortContentSort, SortsBothWaysAndLeavesAnUnknownColumnAlone) {
    std::vector<base::Ref<StockQuoteInf>> records{record("A1", 10), record("A2", 30), record("A3", 20)};
    context("", 4).sort(records);
    EXPECT_EQ(prices(records), (std::vector<int32_t>{10, 20, 30}));
    context("", 4, 0).sort(records);
    EXPECT_EQ(prices(records), (std::vector<int32_t>{30, 20, 10}));
    context("", 99).sort(records);
    EXPECT_EQ(prices(records), (std::vector<int32_t>{30, 20, 10}));
}

TEST(SortContentSort, RecordsWithoutARatioGoLastInTheirOrderAndTheRestIsSorted) {
    // A large mixed list: with the pairwise answer as the sort's ordering this is undefined
    // behaviour that the sanitizers and a debug library catch; here it must sort cleanly.
    std::mt19937 random(7);
    std::vector<base::Ref<StockQuoteInf>> records;
    for (int i = 0; i < 400; ++i)
        records.push_back(
            record("SH" + std::to_string(600000 + i), 900 + int32_t(random() % 200), i % 3 == 0 ? 0 : 1000));
    for (int32_t order : {1, 0}) {
        auto sorted = records;
        context("涨幅", 1, order).sort(sorted);
        size_t firstUnpriced = 0;
        while (firstUnpriced < sorted.size() && sorted[firstUnpriced]->closeprice >= 1)
            ++firstUnpriced;
        for (size_t i = firstUnpriced; i < sorted.size(); ++i)
            ASSERT_EQ(sorted[i]->closeprice, 0) << i;
        for (size_t i = 1; i < firstUnpriced; ++i)
            ASSERT_LE(compareStockBasicInf(*sorted[i - 1], *sorted[i], context("涨幅", 1, order)), 0);
        // The unpriced keep their original order.
        std::vector<std::string> unpriced, expected;
        for (size_t i = firstUnpriced; i < sorted.size(); ++i)
            unpriced.push_back(sorted[i]->code);
        for (const auto &r : records)
            if (r->closeprice == 0)
                expected.push_back(r->code);
        EXPECT_EQ(unpriced, expected);
    }
}

} // namespace
