#include "Candles.h"

#include <cmath>

using namespace candles;
using Sub = TechLineSubItem;

namespace {

constexpr float Tolerance = 1e-4f;

void expectValue(const TechIndex &tech, int candle, int output, int32_t type, float value,
                 float tolerance = Tolerance) {
    TechLineSubItem s = sub(tech, candle, output);
    EXPECT_EQ(s.type, type) << tech.getParamsText() << " output " << output << " candle " << candle;
    EXPECT_NEAR(s.value, value, tolerance)
        << tech.getParamsText() << " output " << output << " candle " << candle;
}

TEST(IndicatorValues, OneCandleAndASecondIdenticalOne) {
    auto one = closes({1000});
    auto macd = computed(TechIndex::MACD, {}, one);
    for (int k = 0; k < 3; ++k)
        expectValue(*macd, 0, k, k == 2 ? Sub::Stick : Sub::Line, 0);

    auto kdj = computed(TechIndex::KDJ, {}, one);
    expectValue(*kdj, 0, 0, Sub::Line, 66.6667f);
    expectValue(*kdj, 0, 1, Sub::Line, 55.5556f);
    expectValue(*kdj, 0, 2, Sub::Line, 88.8889f);
    auto two = closes({1000, 1000});
    kdj->calculate(two, 2);
    expectValue(*kdj, 1, 0, Sub::Line, 77.7778f);
    expectValue(*kdj, 1, 1, Sub::Line, 62.9630f);
    expectValue(*kdj, 1, 2, Sub::Line, 107.4074f);

    auto vol = computed(TechIndex::VOL, {}, one);
    expectValue(*vol, 0, 0, Sub::RiseFlag, 1);
    expectValue(*vol, 0, 1, Sub::VolBar, 1000);
    auto ma = computed(TechIndex::MA, {}, one);
    auto rsi = computed(TechIndex::RSI, {}, one);
    for (int k = 2; k < 5; ++k)
        EXPECT_EQ(sub(*vol, 0, k).type, Sub::Hidden);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(sub(*ma, 0, k).type, Sub::Hidden);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(sub(*rsi, 0, k).type, Sub::Hidden);
}

TEST(IndicatorValues, MovingAveragesAreShownFromTheCandleAfterTheirFirstValue) {
    auto list = series(25, [](int i) { return 1000 + 10 * i; });
    auto ma = computed(TechIndex::MA, {5, 10, 20, 30}, list);
    for (int i = 0; i < 4; ++i)
        expectValue(*ma, i, 0, Sub::Hidden, 0);
    // Candle 4 holds the first average (closes 1000..1040) but stays hidden, so the first
    // segment is drawn at candle 6, joining 5 and 6.
    expectValue(*ma, 4, 0, Sub::Hidden, 10.20f);
    expectValue(*ma, 5, 0, Sub::Line, 10.30f);
    expectValue(*ma, 6, 0, Sub::Line, 10.40f);
    expectValue(*ma, 19, 2, Sub::Hidden, 10.95f);
    for (int i = 0; i < 25; ++i)
        expectValue(*ma, i, 3, Sub::Hidden, 0);

    auto vol = computed(TechIndex::VOL, {5, 10, 20}, list);
    expectValue(*vol, 4, 2, Sub::Hidden, 1000);
    expectValue(*vol, 5, 2, Sub::Line, 1000);
}

TEST(IndicatorValues, BollingerBands) {
    auto flat26 = series(26, [](int i) { return 1000 + (i % 3) * 7; });
    auto boll26 = computed(TechIndex::BOLL, {26, 2}, flat26);
    for (int i = 0; i < 26; ++i)
        for (int k = 0; k < 3; ++k)
            expectValue(*boll26, i, k, Sub::Hidden, 0);

    auto boll = computed(TechIndex::BOLL, {3, 2}, closes({100, 200, 300, 400}));
    expectValue(*boll, 2, 0, Sub::Hidden, 0);
    expectValue(*boll, 3, 0, Sub::Line, 3.00f);
    expectValue(*boll, 3, 1, Sub::Line, 4.63299f);
    expectValue(*boll, 3, 2, Sub::Line, 1.36701f);
}

TEST(IndicatorValues, MACDOverTwoCandles) {
    auto macd = computed(TechIndex::MACD, {12, 26, 9}, closes({1000, 1010}));
    // Single precision gives the last digit or two differently from double precision.
    expectValue(*macd, 1, 0, Sub::Line, 0.0079772f, 1e-6f);
    expectValue(*macd, 1, 1, Sub::Line, 0.0015954f, 1e-6f);
    expectValue(*macd, 1, 2, Sub::Stick, 0.0127635f, 1e-6f);
}

TEST(IndicatorValues, RSIWalksBackToEachPeriodWhateverTheirOrder) {
    auto list = closes({10, 11, 10, 12});
    auto rsi = computed(TechIndex::RSI, {2, 3, 1}, list);
    expectValue(*rsi, 3, 0, Sub::Line, 66.6667f);
    // Period 3 is first reached at candle 3: its first value is hidden.
    expectValue(*rsi, 2, 1, Sub::Hidden, 0);
    expectValue(*rsi, 3, 1, Sub::Hidden, 75);

    auto falling = series(30, [](int i) { return 2000 - 3 * i + (i % 2) * 5; });
    auto reversed = computed(TechIndex::RSI, {24, 12, 6}, falling);
    auto ordered = computed(TechIndex::RSI, {6, 12, 24}, falling);
    for (int k = 0; k < 3; ++k) {
        EXPECT_GT(sub(*reversed, 29, k).value, 0) << "output " << k;
        EXPECT_FLOAT_EQ(sub(*reversed, 29, k).value, sub(*ordered, 29, 2 - k).value) << "output " << k;
    }
}

TEST(IndicatorValues, CCIOverThreeCandles) {
    auto cci = computed(TechIndex::CCI, {3}, bars({{12, 8, 10}, {13, 9, 11}, {15, 11, 14}}));
    // The first candle has no deviation: not a number, stored hidden as 0.
    expectValue(*cci, 0, 0, Sub::Hidden, 0);
    expectValue(*cci, 1, 0, Sub::Line, 66.667f, 1e-3f);
    expectValue(*cci, 2, 0, Sub::Line, 100.0f, 1e-3f);
}

TEST(IndicatorValues, ThreeDecimalsDividePricesByAThousandButDMAByAHundred) {
    auto list = series(70, [](int i) { return 10000 + 20 * i; });
    auto ma = computed(TechIndex::MA, {5, 10, 20, 30}, list, 3);
    expectValue(*ma, 4, 0, Sub::Hidden, 10.040f);
    auto boll = computed(TechIndex::BOLL, {3, 2}, closes({1000, 2000, 3000, 4000}), 3);
    expectValue(*boll, 3, 0, Sub::Line, 3.0f);
    auto dma = computed(TechIndex::DMA, {10, 50}, list, 3);
    // Means 11110 and 10710 at candle 60: (11110 − 10710) / 100.
    expectValue(*dma, 60, 0, Sub::Line, 4.0f);
}

TEST(IndicatorValues, AdjustedPricesAreTheOnesComputed) {
    auto list = closes({1000, 1000, 1000});
    for (auto &candle : *list)
        candle->ocloseprice = candle->ohighprice = candle->olowprice = candle->oopenprice = 2000;
    auto ma = computed(TechIndex::MA, {2, 3, 4, 5}, list);
    expectValue(*ma, 2, 0, Sub::Line, 10.0f);
}

// Every indicator over a constant series, a series with zero volumes and prices, and lists of
// 0, 1 and 2 candles: each record exists (for a candle) and holds only numbers.
TEST(IndicatorValues, DegenerateListsGiveNumbersOnly) {
    const int32_t types[] = {TechIndex::VOL, TechIndex::MACD, TechIndex::KDJ, TechIndex::RSI, TechIndex::BIAS,
                             TechIndex::CCI, TechIndex::BOLL, TechIndex::WR,  TechIndex::DMA, TechIndex::MA};
    struct Case {
        const char *name;
        base::Ref<KLineList> list;
    };
    auto zeros = closes({0, 0, 0});
    for (auto &candle : *zeros)
        candle->vol = 0;
    const Case cases[] = {
        {"empty", closes({})},
        {"one", closes({1000})},
        {"two", closes({1000, 1010})},
        {"constant", flat(80, 1000)},
        {"zero prices and volumes", zeros},
    };
    for (const Case &c : cases) {
        for (int32_t type : types) {
            auto tech = computed(type, {}, c.list);
            for (int i = 0; i < int(c.list->size()); ++i) {
                auto item = tech->getItem(i);
                ASSERT_TRUE(item) << c.name << " " << TechIndex::getTechName(type);
                for (int k = 0; k < tech->getOutputParamCount(); ++k) {
                    const TechLineSubItem *s = item->getSubItem(k);
                    ASSERT_TRUE(s);
                    EXPECT_TRUE(std::isfinite(s->value)) << c.name << " " << TechIndex::getTechName(type)
                                                         << " candle " << i << " output " << k;
                }
            }
            EXPECT_FALSE(tech->getItem(int(c.list->size())));
        }
    }
    // The constant series: no spread, so CCI, WR and DMA stay hidden; RSI's flat walk reads 100.
    auto constant = cases[3].list;
    expectValue(*computed(TechIndex::CCI, {}, constant), 40, 0, Sub::Hidden, 0);
    expectValue(*computed(TechIndex::WR, {}, constant), 40, 0, Sub::Hidden, 0);
    expectValue(*computed(TechIndex::DMA, {}, constant), 70, 0, Sub::Hidden, 0);
    expectValue(*computed(TechIndex::RSI, {}, constant), 40, 0, Sub::Line, 100);
    expectValue(*computed(TechIndex::BIAS, {}, constant), 40, 0, Sub::Line, 0);
    expectValue(*computed(TechIndex::BOLL, {}, constant), 40, 1, Sub::Line, 10.0f);
    // A zero average makes BIAS not a number: hidden.
    expectValue(*computed(TechIndex::BIAS, {}, zeros), 2, 0, Sub::Hidden, 0);
    expectValue(*computed(TechIndex::VOL, {1, 2, 3}, zeros), 2, 2, Sub::Hidden, 0);
}

TEST(IndicatorValues, WilliamsRUsesItsOwnWindowAndNeverDividesByZero) {
    // Candle 0's low of 5 is outside the 2-candle window of candle 2.
    auto list = bars({{20, 5, 10}, {20, 10, 15}, {18, 12, 14}});
    auto wr = computed(TechIndex::WR, {2, 1}, list);
    expectValue(*wr, 1, 0, Sub::Hidden, 0);
    expectValue(*wr, 2, 0, Sub::Hidden, 60); // (20 − 14) × 100 / (20 − 10)
    expectValue(*wr, 2, 1, Sub::Line,
                66.6667f); // its own candle: (18 − 14) × 100 / (18 − 12), shown after candle 1's 50
    // A close outside a flat window.
    auto flat = bars({{10, 10, 10}, {10, 10, 12}, {10, 10, 12}});
    auto flatWR = computed(TechIndex::WR, {1, 2}, flat);
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 2; ++k)
            expectValue(*flatWR, i, k, Sub::Hidden, 0);
}

TEST(IndicatorValues, DMAShortPeriodLongerThanTheCandlesSoFar) {
    auto list = closes({100, 200, 300, 400, 500});
    auto dma = computed(TechIndex::DMA, {5, 2}, list);
    // Candle 2: the 5-candle window is cut at candle 0 (mean 200); the 2-candle mean is 250.
    expectValue(*dma, 2, 0, Sub::Hidden, -0.5f);
    expectValue(*dma, 3, 0, Sub::Line, -1.0f);
    expectValue(*dma, 4, 0, Sub::Line, -1.5f); // 300 − 450
}

TEST(IndicatorValues, RecalculationReusesEachCandlesRecord) {
    auto list = series(40, [](int i) { return 1000 + i; });
    auto tech = computed(TechIndex::VOL, {}, list);
    auto first = tech->getItem(10);
    tech->setTechType(TechIndex::MACD, paramList({12, 26, 9}));
    tech->calculate(list, 2);
    EXPECT_EQ(tech->getItem(10), first);
    EXPECT_EQ(first->getSubItem(2)->type, Sub::Stick);
    // Another slot class leaves this one alone.
    auto main = computed(TechIndex::MA, {}, list);
    EXPECT_EQ(TechIndex::getTechIndexItem(*(*list)[10]), first);
    EXPECT_NE(main->getItem(10), first);
    // A missing list keeps the records and the stored list.
    tech->calculate(nullptr, 2);
    EXPECT_EQ(tech->getItem(10), first);
}

} // namespace
