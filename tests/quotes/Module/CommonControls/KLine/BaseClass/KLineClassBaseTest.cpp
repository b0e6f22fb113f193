#include "Module/CommonControls/KLine/BaseClass/KLineClassBase.h"

#include "DataBase/NetData/Level2BSItem.h"

#include <gtest/gtest.h>

namespace {

base::Ref<KLineItem> candle(int32_t time, int32_t open, int32_t high, int32_t low, int32_t close) {
    auto item = base::make<KLineItem>();
    item->time = time;
    item->openprice = open;
    item->highprice = high;
    item->lowprice = low;
    item->closeprice = close;
    item->vol = 100;
    return item;
}

base::Ref<KLineList> rising(int count) {
    auto list = base::make<KLineList>();
    for (int i = 0; i < count; ++i)
        list->push_back(candle(20120101 + i, 1000 + 10 * i, 1005 + 10 * i, 995 + 10 * i, 1000 + 10 * i));
    return list;
}

base::Ref<StockBasicInf> stock(int decimal, const std::string &code = "SH600000") {
    auto info = base::make<StockBasicInf>();
    info->code = code;
    info->decimal = int8_t(decimal);
    return info;
}

// A chart whose main plot is `width` points wide.
class Chart : public KLineClassBase {
public:
    explicit Chart(float width) { m_rtMain = {0, 0, width, 200}; }
};

TEST(CandleWindow, FitsWholeCandlesAndNeverRunsPastTheOldest) {
    Chart chart(400);
    chart.Update(stock(2), rising(100), 7);
    chart.calcIndex(chart.m_rtMain);
    EXPECT_EQ(chart.indexFrom(), 50);
    EXPECT_EQ(chart.indexTo(), 99);
    EXPECT_EQ(chart.getMaxOffset(), 50);
    EXPECT_FALSE(chart.needReqKLineForward());
    EXPECT_TRUE(chart.move(45));
    EXPECT_TRUE(chart.needReqKLineForward());
    EXPECT_TRUE(chart.move(30));
    EXPECT_FALSE(chart.needReqKLineForward());
    EXPECT_TRUE(chart.move(80));
    EXPECT_EQ(chart.koffset(), 50);
    EXPECT_FALSE(chart.move(50));
    EXPECT_TRUE(chart.move(-4));
    EXPECT_EQ(chart.koffset(), 0);

    // An offset restored from elsewhere is pulled back so the oldest candle is the first shown.
    chart.setKoffset(70);
    chart.calcIndex(chart.m_rtMain);
    EXPECT_EQ(chart.koffset(), 50);
    EXPECT_EQ(chart.indexFrom(), 0);
    EXPECT_EQ(chart.indexTo(), 49);

    chart.Update(stock(2), rising(30), 7);
    chart.setKoffset(10);
    chart.calcIndex(chart.m_rtMain);
    EXPECT_EQ(chart.koffset(), 0);
    EXPECT_EQ(chart.indexFrom(), 0);
    EXPECT_EQ(chart.indexTo(), 29);
    EXPECT_EQ(chart.getMaxOffset(), 0);

    // A pitch restored as 0 counts as 1.
    chart.setKsize(0);
    chart.calcIndex(chart.m_rtMain);
    EXPECT_EQ(chart.indexFrom(), 0);
    EXPECT_EQ(chart.indexTo(), 29);
    chart.setKsize(8);

    chart.Update(stock(2), base::make<KLineList>(), 7);
    chart.calcIndex(chart.m_rtMain);
    EXPECT_GT(chart.indexFrom(), chart.indexTo());
    chart.calcMaxMinPrice();
}

TEST(CandleWindow, ZoomSteps) {
    struct Case {
        float request;
        bool changed;
        float pitch;
    };
    // Applied in order to one chart starting at pitch 8.
    const Case cases[] = {{8, false, 8},     {0.5f, true, 1},   {3.4f, false, 1},  {5, false, 1},
                          {6.4f, true, 6},   {21.7f, true, 16}, {4.6f, false, 16}, {4.4f, true, 4},
                          {16.2f, true, 16}, {7, false, 16}};
    Chart chart(400);
    for (const Case &c : cases) {
        EXPECT_EQ(chart.zoom(c.request), c.changed) << c.request;
        EXPECT_EQ(chart.ksize(), c.pitch) << c.request;
    }
}

TEST(CandleWindow, PriceRangeTakesTheShownMainIndicator) {
    Chart chart(80); // 10 candles at pitch 8
    chart.Update(stock(0), rising(30), 7);
    chart.calcIndex(chart.m_rtMain);
    chart.calcMaxMinPrice();
    // Highs reach 1295; the 20-candle average at candle 20 (1105) lies below the lowest low
    // (1195); the 30-candle average's first value, at candle 29, is hidden and does not count.
    EXPECT_EQ(chart.maxPrice(), 1295);
    EXPECT_EQ(chart.minPrice(), 1105);

    chart.changeTechIndex(TechIndex::FundLine);
    for (auto &item : *chart.klineList())
        item->holdVol = item->time == 20120126 ? 5000 : 1200;
    chart.calcMaxMinPrice();
    EXPECT_EQ(chart.maxPrice(), 5000);
    EXPECT_EQ(chart.minPrice(), 1195);
}

TEST(CandleWindow, IndicatorSwitching) {
    Chart chart(400);
    chart.Update(stock(2), rising(40), 7);
    struct Case {
        int32_t code;
        bool answer;
        int32_t main, second;
    };
    const Case cases[] = {
        {4097, false, TechIndex::MA, TechIndex::VOL},
        {TechIndex::KDJ, true, TechIndex::MA, TechIndex::KDJ},
        {TechIndex::BOLL, true, TechIndex::BOLL, TechIndex::KDJ},
        {0, false, 0, TechIndex::KDJ},
        {4098, false, 4098, TechIndex::KDJ},
        {TechIndex::MA, true, TechIndex::MA, TechIndex::KDJ},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(chart.changeTechIndex(c.code), c.answer) << c.code;
        EXPECT_EQ(chart.mainTechType(), c.main) << c.code;
        EXPECT_EQ(chart.secondTechType(), c.second) << c.code;
    }
    // The sub indicator is KDJ and computed: candle 0 closes mid-range, so K stays 50.
    EXPECT_EQ(chart.secondTechIndex()->getParamsText(), "KDJ(9,3,3)");
    EXPECT_NEAR(chart.secondTechIndex()->getItem(0)->getSubItem(0)->value, 50, 1e-3);

    base::Array params{base::Dict{{"Parameter", 7}}, base::Dict{{"Parameter", 14}}};
    EXPECT_TRUE(chart.changeTechIndex(TechIndex::WR, params));
    EXPECT_EQ(chart.secondTechIndex()->getParamsText(), "WR(7,14)");
}

base::Ref<KLineClassRootBase::ReplyList> ddSeries(std::initializer_list<std::pair<int32_t, float>> items) {
    auto list = base::make<KLineClassRootBase::ReplyList>();
    for (auto [date, value] : items) {
        auto item = base::make<DD_Item>();
        item->date = date;
        item->value = value;
        list->push_back(item);
    }
    return list;
}

TEST(CandleLevel2, RepliesAreTakenForDayCandlesAndTheCurrentCodeOnly) {
    Chart chart(400);
    chart.initLevel2TechIndex(2918);
    EXPECT_TRUE(chart.isShowLevel2Tech());
    chart.Update(stock(2), rising(3), 7);
    auto ddx = ddSeries({{20120101, 1.5f}, {20120103, -1}});
    EXPECT_FALSE(chart.UpdateLevel2TechIndex(2919, ddx));
    EXPECT_TRUE(chart.UpdateLevel2TechIndex(2918, ddx));
    EXPECT_EQ(chart.level2TechIndex()->getItem(0)->getSubItem(0)->value, 1.5f);

    // A new candle list is recomputed with the kept reply.
    chart.Update(stock(2), rising(3), 7);
    EXPECT_EQ(chart.level2TechIndex()->getItem(2)->getSubItem(0)->value, -1);
    // Another code without a reply leaves nothing of DDX; back to DDX takes the kept reply.
    chart.changeLevel2TechIndex(2919);
    EXPECT_EQ(chart.level2TechIndex()->getItem(0)->getSubItem(0)->type, TechLineSubItem::Hidden);
    chart.changeLevel2TechIndex(2918);
    EXPECT_EQ(chart.level2TechIndex()->getItem(0)->getSubItem(0)->type, TechLineSubItem::Bar);
    chart.resetLevel2TechIndex(2918, ddSeries({{20120102, 3}}));
    EXPECT_EQ(chart.level2TechIndex()->getItem(1)->getSubItem(0)->value, 3);
    EXPECT_EQ(chart.level2TechIndex()->getItem(0)->getSubItem(0)->type, TechLineSubItem::Hidden);

    Chart weekly(400);
    weekly.initLevel2TechIndex(2918);
    weekly.Update(stock(2), rising(3), 8);
    EXPECT_FALSE(weekly.UpdateLevel2TechIndex(2918, ddx));
}

// Own candles 0..4 and one comparison stock with candles from candle 1 on, suspended (open 0)
// on candle 1: the base candle is candle 2.
TEST(CandleComparison, OneScaleFromTheFirstCandleWhereBothHaveAnOpen) {
    Chart chart(400);
    auto list = base::make<KLineList>();
    for (int i = 0; i < 5; ++i)
        list->push_back(candle(20120101 + i, 100, i == 4 ? 150 : 110, 90, 100));
    const int32_t otherOpen[] = {0, 0, 50, 50, 50}, otherHigh[] = {0, 60, 55, 70, 55},
                  otherLow[] = {0, 40, 45, 45, 45};
    for (int i = 1; i < 5; ++i) {
        auto info = base::make<AddStockKLines>();
        info->items["SZ000001"] = candle(20120101 + i, otherOpen[i], otherHigh[i], otherLow[i], 50);
        (*list)[size_t(i)]->addStockInfo = info;
    }
    base::Dict other{{"code", "SZ000001"}, {"basicInf", stock(2, "SZ000001")}, {"colorID", 1}};
    chart.setMultiStockList(base::Array{other});
    chart.Update(stock(2), list, 7);
    chart.OpenAddStocksMode();
    EXPECT_EQ(chart.mainTechType(), 0);
    chart.calcIndex(chart.m_rtMain);
    chart.calcMaxMinPrice();
    EXPECT_EQ(chart.maxPrice(), 150);
    EXPECT_EQ(chart.minPrice(), 90);
    chart.calcAddStock_MaxMinPrice(chart.indexFrom(), chart.indexTo());
    // Own 1.5 above the base open (kept in floating point), the other stock 0.8 below its own.
    EXPECT_EQ(chart.maxPrice(), 150);
    EXPECT_EQ(chart.minPrice(), 80);
    EXPECT_EQ(other.get("FirstOpenPrice").intValue(), 50);
    EXPECT_EQ(other.get("MaxPrice").intValue(), 75);
    EXPECT_EQ(other.get("MinPrice").intValue(), 40);

    chart.CloseAddStocksMode();
    EXPECT_EQ(chart.mainTechType(), TechIndex::MA);
    EXPECT_FALSE((*list)[3]->addStockInfo);
    EXPECT_TRUE(chart.mainTechIndex()->getItem(4));
}

TEST(CandleComparison, NoCandleWithEveryOpenChangesNothing) {
    Chart chart(400);
    auto list = base::make<KLineList>();
    list->push_back(candle(20120101, 100, 110, 90, 100));
    chart.setMultiStockList(base::Array{base::Dict{{"code", "SZ000001"}, {"basicInf", stock(2)}}});
    chart.Update(stock(2), list, 7);
    chart.OpenAddStocksMode();
    chart.calcIndex(chart.m_rtMain);
    chart.calcMaxMinPrice();
    chart.calcAddStock_MaxMinPrice(0, 0);
    EXPECT_EQ(chart.maxPrice(), 110);
    EXPECT_EQ(chart.minPrice(), 90);
    EXPECT_FALSE(chart.canShowCursor({500, 10}));
    EXPECT_TRUE(chart.canShowCursor({10, 10}));
}

} // namespace
