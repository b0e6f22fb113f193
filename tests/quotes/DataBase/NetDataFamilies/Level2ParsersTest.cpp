#include "FamiliesTestSupport.h"

#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/Level2BSItem.h"
#include "DataBase/NetData/SeriesNumber.h"

namespace {

TEST(Level2Parsers, OrderQueueSidesInLotsWithSinglePrecisionAverage) {
    Bytes frame = Body()
                      .i32(88)
                      .i8(3)
                      .i8(1)
                      .i32(1010)
                      .i32(2)
                      .i16(2)
                      .i32(12345)
                      .i32(150)
                      .i8(0)
                      .i32(1000)
                      .i32(0)
                      .i16(0)
                      .i8(1)
                      .i32(9999)
                      .i32(9)
                      .i16(1)
                      .i32(100)
                      .frame(2917);
    base::Dict dict{{"stale", 1}};
    NetDataCenter::ParseLevel2EntrustQueue(frame, dict);
    EXPECT_FALSE(dict.has("stale"));
    EXPECT_EQ(dict.get("queueID").intValue(), 88);
    EXPECT_EQ(dict.get("sellPrice").intValue(), 1010);
    EXPECT_EQ(dict.get("sellNum").intValue(), 2);
    EXPECT_EQ(dict.get("sellPerNum").floatValue(), 62.475f);
    EXPECT_EQ(dict.get("sellArray"), base::Value(base::Array{"123", "2"}));
    // A side without orders averages 0; the third side is not read.
    EXPECT_EQ(dict.get("buyPrice").intValue(), 1000);
    EXPECT_EQ(dict.get("buyPerNum").floatValue(), 0.0f);
    EXPECT_EQ(dict.get("buyArray"), base::Value(base::Array{}));

    NetDataCenter::ParseLevel2EntrustQueue(emptyFrame(2917), dict);
    EXPECT_TRUE(dict.empty());
}

TEST(Level2Parsers, MinuteSeriesReplaceTheirLastMinute) {
    NetDataCenter::PackList list;
    for (int i = 0; i < 240; ++i)
        list.push_back(base::make<SeriesNumber>(i));
    int32_t newPos = 0;
    NetDataCenter::ParseLevel2MinDDX(Body().i16(2).i16(-3).i16(4).frame(2922), list, newPos);
    ASSERT_EQ(list.size(), 241u);
    EXPECT_EQ(newPos, 240);
    EXPECT_EQ(itemAs<SeriesNumber>(list, 239)->value, -3);

    NetDataCenter::ParseLevel2MinDiffer(Body().i16(2).i24(-8388608).i24(8388607).frame(2923), list, newPos);
    EXPECT_EQ(itemAs<SeriesNumber>(list, 240)->value, -8388608);
    EXPECT_EQ(itemAs<SeriesNumber>(list, 241)->value, 8388607);

    NetDataCenter::PackList volumes;
    NetDataCenter::ParseLevel2MinBSVol(Body().i16(1).i32(500).i32(600).frame(2924), volumes, newPos);
    ASSERT_EQ(volumes.size(), 1u);
    EXPECT_EQ(itemAs<Level2MinBSVolItem>(volumes, 0)->totalSell, 600);
    EXPECT_EQ(newPos, 0);
}

base::Ref<DD_Item> dayItem(int32_t date) {
    auto item = base::make<DD_Item>();
    item->date = date;
    return item;
}

class PerDayTest : public FamilyTest {
protected:
    base::Ref<ReqParams> send(int type, bool forward) {
        pack->isForwardReq = forward;
        center->RequestLevel2DD_({}, type, pack);
        return lastRecord().reqParams;
    }
    base::Ref<RequestPosItem> pack = packAt("SH600000", 0, 0, 200);
};

TEST_F(PerDayTest, ValuesAreScaledByType) {
    struct Case {
        int type;
        Bytes row;
        float value, value2;
    };
    const Case cases[] = {
        {2918, Body().i32(1).i16(1500).bytes(), 1.5f, 0},
        {2919, Body().i32(1).i16(-250).bytes(), -0.25f, 0},
        {2920, Body().i32(1).i24(1500).i8(3).bytes(), 1.5f, 3},
        {2928, Body().i32(1).i16(-1234).bytes(), 37.66f, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        pack->rspArray.clear();
        auto params = send(c.type, true);
        center->ParseLevel2DD_(c.type, Body().i16(1).raw(c.row).frame(c.type), params);
        EXPECT_TRUE(pack->isIdle);
        auto item = itemAs<DD_Item>(pack->rspArray, 0);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->value, c.value);
        EXPECT_EQ(item->value2, c.value2);
    }
}

TEST_F(PerDayTest, ForwardRepliesGoInFrontAndRefreshesReplaceTheNewestDay) {
    pack->rspArray = {dayItem(20120606), dayItem(20120607), dayItem(20120608)};
    center->ParseLevel2DD_(2918, Body().i16(2).i32(20120601).i16(1).i32(20120604).i16(2).frame(2918),
                           send(2918, true));
    center->ParseLevel2DD_(2918, Body().i16(1).i32(20120608).i16(9).frame(2918), send(2918, false));
    std::vector<int32_t> dates;
    for (const auto &item : pack->rspArray)
        dates.push_back(std::dynamic_pointer_cast<DD_Item>(item)->date);
    EXPECT_EQ(dates, (std::vector<int32_t>{20120601, 20120604, 20120606, 20120607, 20120608}));
    EXPECT_EQ(itemAs<DD_Item>(pack->rspArray, 4)->value, 0.009f);

    auto params = send(2918, false);
    center->ParseLevel2DD_(2918, emptyFrame(2918), params);
    EXPECT_EQ(params->get("IsEmptyPack").stringValue(), "YES");
    EXPECT_EQ(pack->rspArray.size(), 5u);
}

// Candles with times 1 … count in the pack's `obj`.
base::Ref<RequestPosItem> candlePack(int count) {
    auto candles = base::make<RequestPosItem>("SH600000");
    for (int i = 1; i <= count; ++i) {
        auto candle = base::make<KLineItem>();
        candle->time = i;
        candles->rspArray.push_back(candle);
    }
    return candles;
}

Bytes bsReply(int rows) {
    Body body;
    body.i16(rows);
    for (int i = 0; i < rows; ++i)
        body.i8(0).i32(i).i32(0).i32(0).i32(0).i16(0);
    return body.frame(2933);
}

TEST_F(PerDayTest, BuySellStatisticsAttachToTheCandlesTheyEndAt) {
    auto candles = candlePack(300);
    pack->obj = candles;
    pack->pos = 151; // the candle of that time has index 150
    center->ParseLevel2BS(bsReply(200), send(2933, true));
    auto bsOf = [&](size_t i) { return std::dynamic_pointer_cast<KLineItem>(candles->rspArray[i])->bsItem; };
    ASSERT_TRUE(bsOf(0));
    EXPECT_EQ(bsOf(0)->udd, 50);
    EXPECT_EQ(bsOf(149)->udd, 199);
    EXPECT_FALSE(bsOf(150));
    EXPECT_EQ(pack->savedPos, 1);

    // A refresh covers the newest candles; more rows than candles is dropped.
    pack->pos = 0;
    center->ParseLevel2BS(bsReply(2), send(2933, false));
    EXPECT_EQ(bsOf(299)->udd, 1);
    EXPECT_EQ(bsOf(298)->udd, 0);
    center->ParseLevel2BS(bsReply(301), send(2933, false));
    EXPECT_EQ(bsOf(299)->udd, 1);
}

TEST_F(PerDayTest, BuySellStatisticsForAMissingDateOrWithoutCandlesAreDropped) {
    auto candles = candlePack(10);
    pack->obj = candles;
    pack->pos = 77;
    center->ParseLevel2BS(bsReply(3), send(2933, true));
    pack->obj = base::make<RequestPosItem>("SH600000");
    pack->pos = 0;
    center->ParseLevel2BS(bsReply(3), send(2933, true));
    EXPECT_TRUE(pack->isIdle);
    for (const auto &candle : candles->rspArray)
        EXPECT_FALSE(std::dynamic_pointer_cast<KLineItem>(candle)->bsItem);

    // Paging back from nothing held: the rows end at the newest candle.
    pack->obj = candles;
    center->ParseLevel2BS(bsReply(4), send(2933, true));
    EXPECT_FALSE(std::dynamic_pointer_cast<KLineItem>(candles->rspArray[5])->bsItem);
    EXPECT_EQ(std::dynamic_pointer_cast<KLineItem>(candles->rspArray[9])->bsItem->udd, 3);
    EXPECT_EQ(pack->savedPos, 7);
}

} // namespace
