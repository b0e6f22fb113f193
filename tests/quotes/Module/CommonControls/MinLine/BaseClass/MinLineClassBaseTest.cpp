#include "Module/CommonControls/MinLine/BaseClass/MinLineClassBase.h"

#include "Common/StylePool.h"
#include "DataBase/MarketTimes/MarketTimes.h"
#include "DataBase/NetData/Level2BSItem.h"
#include "DataBase/NetData/SeriesNumber.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

base::Ref<StockQuoteInf> quote(const std::string &code, int type, int32_t close, int32_t high, int32_t low) {
    auto info = base::make<StockQuoteInf>();
    info->code = code;
    info->type = int8_t(type);
    info->decimal = 2;
    info->closeprice = close;
    info->openprice = close;
    info->highprice = high;
    info->lowprice = low;
    return info;
}

base::Ref<StkMinLineItem> minute(int32_t time, int32_t price, int32_t vol = 10) {
    auto item = base::make<StkMinLineItem>();
    item->time = time;
    item->price = price;
    item->ave = price;
    item->vol = vol;
    return item;
}

base::Ref<MinLineList> minutes(std::initializer_list<int32_t> times, int32_t price = 1000) {
    auto list = base::make<MinLineList>();
    for (int32_t time : times)
        list->push_back(minute(time, price));
    return list;
}

class Chart : public MinLineClassBase {
public:
    Chart() { m_rtMain = {0, 0, 486, 200}; }
    void setMinCount(int32_t n) { m_maxMinCount = n; }
};

TEST(IntradayScale, SymmetricAroundThePreviousClose) {
    struct Case {
        const char *name;
        int type;
        int32_t close, high, low;
        int points;
        int32_t pointPrice;
        int32_t max, min;
    };
    const Case cases[] = {
        {"stock 0.5 %", 1, 1000, 1005, 998, 3, 1000, 1005, 995},
        {"stock below the 0.2 % minimum", 1, 1000, 1001, 1000, 3, 1000, 1002, 998},
        {"index rounded up to 1 %", 0, 200000, 201000, 199500, 3, 200000, 202000, 198000},
        {"one point", 1, 1000, 1005, 998, 1, 1000, 1100, 900},
        {"no points", 1, 1000, 1005, 998, 0, 1000, 1100, 900},
        {"no trade yet", 1, 1000, 0, 0, 3, 0, 1100, 900},
        {"no previous close", 1, 0, 1005, 998, 3, 1000, 0, 0},
        {"a top beyond the integers", 1, 1 << 30, INT32_MAX, 1, 3, 1 << 30, INT32_MAX, 0},
    };
    for (const Case &c : cases) {
        Chart chart;
        auto list = base::make<MinLineList>();
        for (int i = 0; i < c.points; ++i)
            list->push_back(minute(930 + i, c.pointPrice));
        EXPECT_TRUE(chart.Update(quote("SH600000", c.type, c.close, c.high, c.low), list)) << c.name;
        EXPECT_EQ(chart.maxPrice(), c.max) << c.name;
        EXPECT_EQ(chart.minPrice(), c.min) << c.name;
    }
}

TEST(IntradayScale, HighLowAxisVolumeAndRate) {
    Chart chart;
    chart.setAxisMode(MinLineClassBase::HighLowAxis);
    auto list = minutes({930, 931, 932});
    (*list)[1]->price = 1020;
    (*list)[2]->vol = 700;
    chart.Update(quote("SH600000", 1, 1000, 1005, 990), list);
    EXPECT_EQ(chart.maxPrice(), 1020);
    EXPECT_EQ(chart.minPrice(), 990);
    EXPECT_EQ(chart.maxVol(), 700);
    EXPECT_FLOAT_EQ(chart.getMaxPriceRate(), 0.02f);
    chart.setMaxPriceRate(0.25f);
    EXPECT_EQ(chart.maxPrice(), 1250);
    EXPECT_EQ(chart.minPrice(), 750);
}

TEST(IntradayUpdates, AnUpdateBringingNothingNewIsSkipped) {
    Chart chart;
    auto info = quote("SH600000", 1, 1000, 1005, 998);
    EXPECT_FALSE(chart.Update(info, nullptr));
    EXPECT_TRUE(chart.priorData().isNilBasicInf);
    EXPECT_TRUE(chart.Update(info, minutes({930, 931})));
    EXPECT_EQ(chart.priorData().mcount, 2);
    EXPECT_EQ(chart.priorData().lastMTime, 931);
    EXPECT_EQ(chart.maxMinCount(), 242);
    EXPECT_FALSE(chart.Update(quote("SH600000", 1, 1000, 1005, 998), minutes({930, 931})));

    struct Case {
        const char *name;
        base::Ref<StockQuoteInf> info;
        base::Ref<MinLineList> list;
    };
    auto moved = minutes({930, 931});
    (*moved)[1]->vol = 11;
    const Case changes[] = {
        {"another code", quote("SZ000001", 1, 1000, 1005, 998), minutes({930, 931})},
        {"a new high", quote("SH600000", 1, 1000, 1006, 998), minutes({930, 931})},
        {"a new minute", quote("SH600000", 1, 1000, 1005, 998), minutes({930, 931, 932})},
        {"the last minute's volume", quote("SH600000", 1, 1000, 1005, 998), moved},
    };
    for (const Case &c : changes) {
        Chart fresh;
        fresh.Update(quote("SH600000", 1, 1000, 1005, 998), minutes({930, 931}));
        EXPECT_TRUE(fresh.Update(c.info, c.list)) << c.name;
    }
    // Without a code nothing counts as the same.
    Chart nameless;
    EXPECT_TRUE(nameless.Update(quote("", 1, 1000, 1005, 998), minutes({930})));
    EXPECT_TRUE(nameless.Update(quote("", 1, 1000, 1005, 998), minutes({930})));
}

// Sessions 09:30–11:30 and 13:00–15:00 over a plot 486 points wide at x 0: the span runs from 1
// to 485, 2 points a minute.
TEST(IntradayPositions, MinutesLieOnTheirSessions) {
    Chart chart;
    chart.Update(quote("SH600000", 1, 1000, 1005, 998), minutes({925, 930, 1130, 1300, 1500, 1501}));
    ASSERT_EQ(chart.maxMinCount(), 242);
    chart.calcXPos(chart.m_rtMain);
    const auto &positions = chart.minLineXPosList();
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_EQ(positions[0].index, 1);
    EXPECT_FLOAT_EQ(positions[0].x, 3);
    EXPECT_FLOAT_EQ(positions[1].x, 243);
    EXPECT_FLOAT_EQ(positions[2].x, 245);
    EXPECT_FLOAT_EQ(positions[3].x, 485);
    EXPECT_EQ(positions[3].index, 4);

    EXPECT_EQ(chart.getXPosIndex(1), 1);
    EXPECT_EQ(chart.getXPosIndex(244), 3);
    EXPECT_EQ(chart.getXPosIndex(485.5f), -1);
    EXPECT_FLOAT_EQ(chart.getInfoBombXPos(1000), 243);
    EXPECT_FLOAT_EQ(chart.getInfoBombXPos(1502), 50.0f);
    EXPECT_TRUE(chart.canShowCursor({10, 10}));
    EXPECT_FALSE(chart.canShowCursor({10, 300}));

    chart.calcTradeTimeXPos();
    const auto &sessions = chart.timeXPosList();
    ASSERT_EQ(sessions.size(), 2u);
    std::vector<int> marks;
    for (const auto &session : sessions)
        for (const TimeXPosItem &mark : session.getSubArray())
            marks.push_back(mark.time);
    EXPECT_EQ(marks, (std::vector<int>{30, 60, 90, 1130, 151, 181, 211, 1500}));
    EXPECT_EQ(sessions[0].getSubArray().back().type, TimeXPosItem::SessionClose);
    EXPECT_EQ(sessions[1].getSubArray().back().type, TimeXPosItem::DayClose);
    EXPECT_EQ(sessions[0].getSubArray()[0].x, 60);
    // The axis runs over the whole plot: 486 / 242 points a minute.
    EXPECT_FLOAT_EQ(sessions[1].openx, 243);
    EXPECT_FLOAT_EQ(sessions[0].closex, 486.0f * 122 / 242);
}

TEST(IntradayPositions, NightSessionRollsOverMidnight) {
    MarketTimes::Instance().addItem("ZN", std::vector<TradeTimeItem>{{2100, 230}});
    Chart chart;
    chart.Update(quote("ZN0001", 1, 1000, 1005, 998), minutes({2100, 2359, 30, 230, 231}));
    EXPECT_EQ(chart.maxMinCount(), 331);
    chart.calcXPos({0, 0, 333, 100});
    const auto &positions = chart.minLineXPosList();
    ASSERT_EQ(positions.size(), 4u);
    // 1 point a minute from x 1: 00:30 is minute 211 of the session.
    EXPECT_FLOAT_EQ(positions[2].x, 1 + 211);
    EXPECT_FLOAT_EQ(positions[3].x, 332);
}

TEST(IntradayPositions, MarketsWithoutSessions) {
    Chart chart;
    chart.Update(quote("QQ0001", 1, 1000, 1005, 998), minutes({930, 931, 932}));
    EXPECT_EQ(chart.maxMinCount(), 241);
    chart.calcXPos({10, 0, 241, 100});
    ASSERT_EQ(chart.minLineXPosList().size(), 3u);
    EXPECT_FLOAT_EQ(chart.minLineXPosList()[2].x, 12);
    chart.calcTradeTimeXPos();
    EXPECT_TRUE(chart.timeXPosList().empty());
}

base::Ref<KLineClassRootBase::ReplyList> series(std::initializer_list<int32_t> values) {
    auto list = base::make<KLineClassRootBase::ReplyList>();
    for (int32_t v : values)
        list->push_back(base::make<SeriesNumber>(v));
    return list;
}

TEST(IntradayLevel2, RepliesAreKeptPerCode) {
    Chart chart;
    chart.initLevel2TechIndex(2922);
    EXPECT_TRUE(chart.isShowLevel2Tech());
    EXPECT_FALSE(chart.UpdateLevel2TechIndex(2923, series({1, 2})));
    EXPECT_TRUE(chart.UpdateLevel2TechIndex(2922, series({1500, 1200})));
    EXPECT_EQ(chart.level2TechIndex()->count(), 2);
    chart.changeLevel2TechIndex(2923);
    EXPECT_EQ(chart.level2TechIndex()->count(), 0);
    chart.resetLevel2TechIndex(2923, series({4, 5, 6}));
    EXPECT_EQ(chart.level2TechIndex()->count(), 3);
    chart.changeLevel2TechIndex(2922);
    EXPECT_NEAR(chart.level2TechIndex()->getItem(-1)->getSubItem(1)->value, 1.2f, 1e-6);
    EXPECT_EQ(chart.getCurLevel2TechType(), 2922);
    const StylePool &style = StylePool::Instance();
    EXPECT_EQ(chart.getTechColor(0, 2924), style.clTextRise);
    EXPECT_EQ(chart.getTechColor(1, 2924), style.clTextFall);
    EXPECT_EQ(chart.getTechColor(1, 2922), style.clMA2);

    chart.Update(quote("SH000001", 0, 1000, 1005, 998), minutes({930}));
    EXPECT_FALSE(chart.UpdateIndexRiseFallLine("SH000002", series({3})));
    EXPECT_TRUE(chart.UpdateIndexRiseFallLine("SH000001", series({3})));
    EXPECT_EQ(chart.indexRiseFallLineList()->size(), 1u);
}

} // namespace
