#include "FamiliesTestSupport.h"

#include <array>

namespace {

using Levels = std::array<int32_t, 10>;

// `count` pairs announced, with prices 1 … pairs present and volumes 100 × price.
Bytes dynamicReply(int announced, int present, bool futures = false) {
    Body body;
    body.i8(futures ? 1 : 0);
    for (int32_t v : {1010, 1000, 1020, 990, 5000, 7000, 2000, 30, 1005})
        body.i32(v);
    if (futures)
        body.i32(1003).i32(400).i32(-12);
    body.i16(150).i16(announced);
    for (int k = 1; k <= present; ++k)
        body.i32(k).i32(100 * k);
    return body.frame(2940);
}

Bytes deepBookReply(int announced, int present) {
    Body body;
    body.i32(1).i32(2).i32(3).i32(4).i16(announced);
    for (int k = 1; k <= present; ++k)
        body.i32(k).i32(100 * k);
    return body.frame(2915);
}

// A record whose order book holds -1 everywhere, so untouched entries show.
StockBasicInf markedRecord(int8_t type = 1) {
    StockBasicInf inf;
    inf.type = type;
    for (auto *side : {&inf.sellPrice, &inf.sellVol, &inf.buyPrice, &inf.buyVol})
        side->fill(-1);
    return inf;
}

TEST(DetailParsers, BaseInfoOfFuturesMeasuresAgainstYesterdaysSettlement) {
    struct Case {
        int8_t type;
        int32_t close, position, settlement, circulated, total;
    };
    for (const Case &c : {Case{7, 3500, 800, 3500, -5, -5}, Case{8, 3500, 800, 3500, -5, -5},
                          Case{1, 3400, 0, 0, 800, 3500}, Case{0, 3400, 0, 0, 800, 3500}}) {
        SCOPED_TRACE(int(c.type));
        StockBasicInf inf;
        inf.circulatedCapital = inf.totalCapital = -5;
        Bytes frame = Body()
                          .str("IF1206")
                          .str("沪深")
                          .i8(c.type)
                          .i8(2)
                          .i16(100)
                          .i32(3400)
                          .i32(3740)
                          .i32(3060)
                          .i32(800)
                          .i32(3500)
                          .frame(2939);
        NetDataCenter::ParseStkBaseInfo(frame, inf);
        EXPECT_EQ(inf.code, "IF1206");
        EXPECT_EQ(inf.name, "沪深");
        EXPECT_EQ(inf.decimal, 2);
        EXPECT_EQ(inf.sellVolUnit, 100);
        EXPECT_EQ(inf.upStopPrice, 3740);
        EXPECT_EQ(inf.downStopPrice, 3060);
        EXPECT_EQ(inf.closeprice, c.close);
        EXPECT_EQ(inf.yposition, c.position);
        EXPECT_EQ(inf.ysettlement, c.settlement);
        EXPECT_EQ(inf.circulatedCapital, c.circulated);
        EXPECT_EQ(inf.totalCapital, c.total);
    }
}

TEST(DetailParsers, EmptyBaseInfoResetsItsFields) {
    StockBasicInf inf;
    inf.code = "SH600000";
    inf.closeprice = inf.totalCapital = inf.ysettlement = 9;
    inf.newprice = 7;
    NetDataCenter::ParseStkBaseInfo(emptyFrame(2939), inf);
    EXPECT_EQ(inf.code, "");
    EXPECT_EQ(inf.closeprice + inf.totalCapital + inf.ysettlement, 0);
    EXPECT_EQ(inf.newprice, 7);
}

struct BookCase {
    const char *name;
    int announced, present;
    Levels sellPrice, buyPrice;
};

class DynamicBookTest : public ::testing::TestWithParam<BookCase> {};

TEST_P(DynamicBookTest, AskHalfFarthestFirstThenBidHalfBestFirst) {
    const BookCase &c = GetParam();
    StockBasicInf inf = markedRecord();
    NetDataCenter::ParseDynamicInfo(dynamicReply(c.announced, c.present), inf);
    EXPECT_EQ(inf.sellPrice, c.sellPrice);
    EXPECT_EQ(inf.buyPrice, c.buyPrice);
    for (size_t i = 0; i < 10; ++i)
        EXPECT_EQ(inf.sellVol[i], inf.sellPrice[i] < 0 ? -1 : 100 * inf.sellPrice[i]);
}

constexpr Levels none = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

INSTANTIATE_TEST_SUITE_P(
    DetailParsers, DynamicBookTest,
    ::testing::Values(
        BookCase{"Ten", 10, 10, {5, 4, 3, 2, 1, -1, -1, -1, -1, -1}, {6, 7, 8, 9, 10, -1, -1, -1, -1, -1}},
        BookCase{"Twenty", 20, 20, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, {11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
        BookCase{"OddGivesBidTheExtraPair",
                 3,
                 3,
                 {1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
                 {2, 3, -1, -1, -1, -1, -1, -1, -1, -1}},
        BookCase{"OneIsABidPair", 1, 1, none, {1, -1, -1, -1, -1, -1, -1, -1, -1, -1}},
        BookCase{"NoneLeavesTheBook", 0, 0, none, none}, BookCase{"NegativeLeavesTheBook", -4, 4, none, none},
        BookCase{"MoreThanTwentyReadsTwenty",
                 26,
                 26,
                 {10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
                 {11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
        BookCase{"HugeCountBoundedByBytes",
                 32767,
                 2,
                 {1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
                 {2, -1, -1, -1, -1, -1, -1, -1, -1, -1}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DetailParsers, DynamicQuoteFieldsAndFuturesBlock) {
    StockBasicInf stock = markedRecord(1);
    NetDataCenter::ParseDynamicInfo(dynamicReply(0, 0), stock);
    EXPECT_EQ(stock.newprice, 1010);
    EXPECT_EQ(stock.lowprice, 990);
    EXPECT_EQ(stock.xianshou, 30);
    EXPECT_EQ(stock.avePrice, 1005);
    EXPECT_EQ(stock.liangbi, 150);
    EXPECT_EQ(stock.settlement, 0);

    StockBasicInf futures = markedRecord(7);
    NetDataCenter::ParseDynamicInfo(dynamicReply(2, 2, true), futures);
    EXPECT_EQ(futures.settlement, 1003);
    EXPECT_EQ(futures.position, 400);
    EXPECT_EQ(futures.incPosition, -12);
    EXPECT_EQ(futures.liangbi, 150);
    EXPECT_EQ(futures.sellPrice[0], 1);
    EXPECT_EQ(futures.buyPrice[0], 2);

    // An index keeps the average price of its member counts.
    StockBasicInf index = markedRecord(0);
    NetDataCenter::ParseRiseFallCount(
        Body().i16(500).i16(20).i16(300).i32(1234).i32(1300).i32(9000).i32(12000).frame(2206), index);
    NetDataCenter::ParseDynamicInfo(dynamicReply(0, 0), index);
    EXPECT_EQ(index.avePrice, 1234);
    EXPECT_EQ(index.riseCount, 500);
    EXPECT_EQ(index.planeCount, 20);
    EXPECT_EQ(index.fallCount, 300);
    EXPECT_EQ(index.weightingAvePrice, 1300);
    EXPECT_EQ(index.totalMarketValue, 12000);
}

TEST(DetailParsers, EmptyDynamicQuoteClearsLevelsOneToFiveOnly) {
    StockBasicInf inf = markedRecord();
    inf.newprice = inf.avePrice = 5;
    NetDataCenter::ParseDynamicInfo(emptyFrame(2940), inf);
    EXPECT_EQ(inf.newprice + inf.avePrice, 0);
    EXPECT_EQ(inf.sellPrice, (Levels{0, 0, 0, 0, 0, -1, -1, -1, -1, -1}));
    EXPECT_EQ(inf.buyVol, (Levels{0, 0, 0, 0, 0, -1, -1, -1, -1, -1}));
}

TEST(DetailParsers, Level2BookFillsLevelsSixToTenOnly) {
    struct Case {
        int announced, present;
        Levels sell, buy;
    };
    const Case cases[] = {
        {10, 10, {-1, -1, -1, -1, -1, 5, 4, 3, 2, 1}, {-1, -1, -1, -1, -1, 6, 7, 8, 9, 10}},
        // Pairs past level 10 have no place.
        {14, 14, {-1, -1, -1, -1, -1, 5, 4, 3, 2, 1}, {-1, -1, -1, -1, -1, 6, 7, 8, 9, 10}},
        {3, 3, {-1, -1, -1, -1, -1, -1, -1, 3, 2, 1}, none},
        {0, 0, none, none},
        {20, 1, {-1, -1, -1, -1, -1, -1, -1, -1, -1, 1}, none},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.announced);
        StockBasicInf inf = markedRecord();
        NetDataCenter::ParseLevel2BuySellPan(deepBookReply(c.announced, c.present), inf);
        EXPECT_EQ(inf.sellPrice, c.sell);
        EXPECT_EQ(inf.buyPrice, c.buy);
    }
    StockBasicInf inf = markedRecord();
    NetDataCenter::ParseLevel2BuySellPan(emptyFrame(2915), inf);
    EXPECT_EQ(inf.sellPrice, (Levels{-1, -1, -1, -1, -1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(inf.buyVol, (Levels{-1, -1, -1, -1, -1, 0, 0, 0, 0, 0}));
}

TEST(DetailParsers, FundBaseInfoAndItsReset) {
    StockBasicInf inf;
    NetDataCenter::ParseFundBaseInfo(Body().str("OF110022").str("易方达").i8(9).i8(3).frame(2310), inf);
    EXPECT_EQ(inf.code, "OF110022");
    EXPECT_EQ(inf.name, "易方达");
    EXPECT_EQ(inf.type, 9);
    EXPECT_EQ(inf.decimal, 3);
    NetDataCenter::ParseFundBaseInfo(emptyFrame(2310), inf);
    EXPECT_EQ(inf.code + inf.name, "");
    EXPECT_EQ(inf.type + inf.decimal, 0);
}

TEST(DetailParsers, EntryParsesOnlyIntoTheRequestsRecord) {
    Bytes reply = Body().str("OF110022").str("x").i8(9).i8(3).frame(2310);
    auto record = base::make<StockBasicInf>();
    auto params = base::make<ReqParams>();
    params->setObject("rspInfo", record);
    NetDataCenter::ParseStockDetailInfo(2310, reply, params);
    EXPECT_EQ(record->code, "OF110022");

    // Another record class, no record, no parameters, or a type of no detail message.
    auto other = base::make<ReqParams>();
    other->setObject("rspInfo", base::make<RequestPosItem>("x"));
    NetDataCenter::ParseStockDetailInfo(2310, reply, other);
    NetDataCenter::ParseStockDetailInfo(2310, reply, base::make<ReqParams>());
    NetDataCenter::ParseStockDetailInfo(2310, reply, nullptr);
    auto untouched = base::make<StockBasicInf>();
    params->setObject("rspInfo", untouched);
    NetDataCenter::ParseStockDetailInfo(2974, reply, params);
    EXPECT_EQ(untouched->code, "");
}

} // namespace
