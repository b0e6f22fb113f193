#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/StkMinLineItem.h"

#include <gtest/gtest.h>

namespace {

TEST(StkMinLineItem, EqualityIgnoresTheRunningTotal) {
    StkMinLineItem a, b;
    a.time = b.time = 930;
    a.price = b.price = 1234;
    a.totalVol = 100;
    b.totalVol = 200;
    EXPECT_TRUE(a.isEqual(b));
    b.holdVol = 1;
    EXPECT_FALSE(a.isEqual(b));
}

TEST(StkStrikeDetailItem, DealWordSplitsIntoSideAndPrice) {
    StkStrikeDetailItem item;
    item.setDealWord(0x80000000u | 1234);
    EXPECT_TRUE(item.isOuterPan);
    EXPECT_EQ(item.dealPrice, 1234);
    item.setDealWord(0x7FFFFFFF);
    EXPECT_FALSE(item.isOuterPan);
    EXPECT_EQ(item.dealPrice, 0x7FFFFFFF);
}

base::Ref<KLineItem> candle(int32_t time) {
    auto item = base::make<KLineItem>();
    item->time = time;
    return item;
}

TEST(KLineItem, GetIndexFindsTheFirstCandleOfADate) {
    int index = -7;
    EXPECT_FALSE(KLineItem::getIndex(std::vector<base::Ref<KLineItem>>{}, 20120305, index));
    EXPECT_EQ(index, -7);
    std::vector<base::Ref<KLineItem>> candles = {candle(20120302), candle(20120305), candle(20120305)};
    EXPECT_TRUE(KLineItem::getIndex(candles, 20120305, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(KLineItem::getIndex(candles, 20120306, index));
    EXPECT_EQ(index, 1);

    // A reply list of records, candles among them.
    std::vector<base::Ref<base::Object>> replies = {base::make<StkMinLineItem>(), candle(20120305)};
    EXPECT_TRUE(KLineItem::getIndex(replies, 20120305, index));
    EXPECT_EQ(index, 1);
}

TEST(KLineItem, BackupKeepsTheUnadjustedValues) {
    KLineItem item;
    item.openprice = 1000;
    item.highprice = 1100;
    item.lowprice = 900;
    item.closeprice = 1050;
    item.vol = 77;
    item.backupPrices();
    item.openprice = 500;
    EXPECT_EQ(item.oopenprice, 1000);
    EXPECT_EQ(item.ohighprice, 1100);
    EXPECT_EQ(item.olowprice, 900);
    EXPECT_EQ(item.ocloseprice, 1050);
    EXPECT_EQ(item.ovol, 77);
}

TEST(Level2BSItem, HintTextFollowsTheFlagBits) {
    struct Case {
        int8_t tag;
        int16_t d3;
        uint8_t p1, s1, bs;
        std::string text;
    };
    const std::vector<Case> cases = {
        {5, 0, 1, 0, 1,
         "日 期: 2012-03-05 \nBS点: B点, 明收 < 12.34 , 出现S点 \n短 线: 向下, 明收 > 13.00, 买入机会 "
         "\n能量级别: -- 级"},
        {2, 250, 0, 1, 0,
         "日 期: 2012-03-05 \nBS点: 持币, 明收 > 12.50, 出现B点 \n短 线: 向上, 明收 < 11.00, 卖出机会 "
         "\n能量级别: 2.50 级"},
        {1, -1234, 1, 0, 0,
         "日 期: 2012-03-05 \nBS点: 持股, 明收 < 12.34 , 出现S点 \n短 线: 向下, 明收 > 13.00, 买入机会 "
         "\n能量级别: -12.3 级"},
        {4, 0, 0, 0, 1,
         "日 期: 2012-03-05 \nBS点: S点, 明收 > 12.50, 出现B点 \n短 线: 向下, 明收 > 13.00, 买入机会 "
         "\n能量级别: -- 级"},
    };
    for (const auto &c : cases) {
        Level2BSItem item;
        item.tag = c.tag;
        item.udd = 1234;
        item.upp = 1250;
        item.ls = 1100;
        item.hs = 1300;
        item.d3 = c.d3;
        item.parseTag();
        EXPECT_EQ(item.p1, c.p1) << int(c.tag);
        EXPECT_EQ(item.s1, c.s1) << int(c.tag);
        EXPECT_EQ(item.bs, c.bs) << int(c.tag);
        EXPECT_EQ(item.getBSString(2, "2012-03-05"), c.text) << int(c.tag);
    }
}

} // namespace
