#include "FamiliesTestSupport.h"

#include "DataBase/NetData/IndexGXItem.h"
#include "DataBase/NetData/NewExrightItem.h"
#include "DataBase/NetData/SeriesNumber.h"
#include "DataBase/NetData/StkMinLineItem.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"

namespace {

constexpr uint32_t OuterFlag = 0x80000000u;

struct Tick {
    int32_t time, price, vol, hold;
    bool outer;
};

Bytes tickReply(int32_t first, const std::vector<Tick> &ticks, bool futures = false, int announced = -1) {
    Body body;
    body.i8(futures ? 1 : 0).i32(first).i16(announced < 0 ? int32_t(ticks.size()) : announced);
    for (const Tick &t : ticks) {
        body.i32(t.time).i32(int32_t(uint32_t(t.price) | (t.outer ? OuterFlag : 0))).i32(t.vol);
        if (futures)
            body.i32(t.hold);
    }
    return body.frame(2970);
}

std::vector<Tick> ticks(int count) {
    std::vector<Tick> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({93000 + i, 1000 + i, 10, 0, i % 2 == 0});
    return rows;
}

// A list of `count` placeholder rows.
NetDataCenter::PackList heldRows(size_t count) {
    NetDataCenter::PackList list;
    for (size_t i = 0; i < count; ++i)
        list.push_back(base::make<StkStrikeDetailItem>());
    return list;
}

TEST(SeriesParsers, TicksReplaceFromTheStartAndAppendLater) {
    NetDataCenter::PackList list = heldRows(4);
    int32_t newPos = -1;
    auto params = base::make<ReqParams>();
    NetDataCenter::ParseStkStrikeDetail(tickReply(0, ticks(30)), list, newPos, false, params.get());
    ASSERT_EQ(list.size(), 30u);
    EXPECT_EQ(newPos, 30);
    EXPECT_EQ(params->get("rspPos").intValue(), 0);
    EXPECT_EQ(params->get("rspCount").intValue(), 30);
    auto first = itemAs<StkStrikeDetailItem>(list, 0);
    EXPECT_EQ(first->time, 93000);
    EXPECT_EQ(first->dealPrice, 1000);
    EXPECT_TRUE(first->isOuterPan);
    EXPECT_FALSE(itemAs<StkStrikeDetailItem>(list, 1)->isOuterPan);

    NetDataCenter::ParseStkStrikeDetail(tickReply(30, ticks(5)), list, newPos, false, params.get());
    EXPECT_EQ(list.size(), 35u);
    EXPECT_EQ(newPos, 35);
    EXPECT_EQ(itemAs<StkStrikeDetailItem>(list, 34)->pos, 34);
}

TEST(SeriesParsers, UnpagedTicksKeepTheNewestHundred) {
    NetDataCenter::PackList list = heldRows(98);
    base::Ref<base::Object> fourth = list[3];
    int32_t newPos = 0;
    NetDataCenter::ParseStkStrikeDetail(tickReply(500, ticks(5)), list, newPos, false, nullptr);
    ASSERT_EQ(list.size(), 100u);
    EXPECT_EQ(list[0], fourth);
    EXPECT_EQ(newPos, 505);

    // A paged request keeps everything.
    NetDataCenter::ParseStkStrikeDetail(tickReply(505, ticks(3)), list, newPos, true, nullptr);
    EXPECT_EQ(list.size(), 103u);
}

TEST(SeriesParsers, AnnouncedRowsBeyondTheBytesPushNothingOut) {
    NetDataCenter::PackList list = heldRows(90);
    int32_t newPos = 0;
    auto params = base::make<ReqParams>();
    NetDataCenter::ParseStkStrikeDetail(tickReply(200, ticks(2), false, 30000), list, newPos, false,
                                        params.get());
    EXPECT_EQ(list.size(), 92u);
    EXPECT_EQ(newPos, 202);
    EXPECT_EQ(params->get("rspCount").intValue(), 2);
}

TEST(SeriesParsers, EmptyTickReplyEmptiesAndRestarts) {
    NetDataCenter::PackList list = heldRows(3);
    int32_t newPos = 9;
    NetDataCenter::ParseDealDetail(emptyFrame(2971), list, newPos, false, nullptr);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(newPos, 0);
}

TEST(SeriesParsers, FuturesTicksAreClassifiedAgainstThePreviousOpenInterest) {
    struct Case {
        int32_t hold, vol;
        bool outer;
        int32_t incVol;
        int8_t type;
    };
    // Each follows a first row with open interest 1,000.
    const Case cases[] = {
        {1010, 10, true, 10, 5}, // both sides open
        {990, 10, true, -10, 6}, // both sides close
        {1004, 10, false, 4, 3}, // opened 7, closed 3, inner
        {1004, 10, true, 4, 1},  // outer
        {996, 10, true, -4, 4},  // opened 3, closed 7, outer
        {996, 10, false, -4, 2}, // inner
        {1000, 10, true, 0, 7},  // opened 5, closed 5
        {1000, 10, false, 0, 8}, //
        {1020, 10, true, 20, 0}, // more change than volume
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.hold);
        NetDataCenter::PackList list;
        int32_t newPos = 0;
        NetDataCenter::ParseStkStrikeDetail(
            tickReply(0, {{93000, 3500, 4, 1000, true}, {93001, 3501, c.vol, c.hold, c.outer}}, true), list,
            newPos, false, nullptr);
        ASSERT_EQ(list.size(), 2u);
        auto first = itemAs<StkStrikeDetailItem>(list, 0);
        EXPECT_EQ(first->dealType, 0);
        EXPECT_EQ(first->incVol, 0);
        EXPECT_EQ(first->holdVol, 1000);
        auto row = itemAs<StkStrikeDetailItem>(list, 1);
        EXPECT_EQ(row->holdVol, c.hold);
        EXPECT_EQ(row->incVol, c.incVol);
        EXPECT_EQ(row->dealType, c.type);
    }
}

TEST(SeriesParsers, DealsHaveNoFuturesFlag) {
    Bytes frame = Body().i32(7).i16(1).i32(93000).i32(int32_t(1200 | OuterFlag)).i32(5).frame(2971);
    NetDataCenter::PackList list;
    int32_t newPos = 0;
    NetDataCenter::ParseDealDetail(frame, list, newPos, false, nullptr);
    ASSERT_EQ(list.size(), 1u);
    auto row = itemAs<StkStrikeDetailItem>(list, 0);
    EXPECT_EQ(row->pos, 7);
    EXPECT_EQ(row->dealPrice, 1200);
    EXPECT_TRUE(row->isOuterPan);
    EXPECT_EQ(row->dealVol, 5);
    EXPECT_EQ(newPos, 8);
}

Body bigOrderHead(std::initializer_list<int32_t> ratios, bool skipped) {
    Body body;
    for (int32_t v : ratios)
        body.i16(v);
    if (skipped)
        body.i16(-1).i16(-1).i16(-1).i16(-1);
    return body;
}

TEST(SeriesParsers, StockBigOrdersRunNewestFirstAndSkipUnknownTypes) {
    Bytes frame = bigOrderHead({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, true)
                      .i16(40)
                      .i16(3)
                      .i8(2)
                      .i16(931)
                      .i32(500)
                      .i8(6)
                      .raw({0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF})
                      .i8(5)
                      .i16(932)
                      .i32(700)
                      .frame(2976);
    StockBasicInf inf;
    NetDataCenter::PackList list;
    int32_t newPos = 0;
    NetDataCenter::ParseStockDDDetailV2(frame, list, newPos, inf);
    EXPECT_EQ(inf.buyZDRate, 1);
    EXPECT_EQ(inf.sellTDDRate, 6);
    EXPECT_EQ(inf.organBuyDDVol, 7);
    EXPECT_EQ(inf.organSellDDVol, 8);
    EXPECT_EQ(inf.buyDDVol, 9);
    EXPECT_EQ(inf.sellDDVol, 10);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(itemAs<StockDDDetailItem>(list, 0)->time, 932);
    EXPECT_EQ(itemAs<StockDDDetailItem>(list, 0)->vol, 700);
    EXPECT_EQ(itemAs<StockDDDetailItem>(list, 1)->type, 2);
    EXPECT_EQ(newPos, 43);

    // The older form orders the volumes differently and has no skipped fields.
    Bytes old =
        bigOrderHead({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, false).i16(0).i16(1).i8(6).i16(933).i32(9).frame(2931);
    NetDataCenter::ParseStockDDDetail(old, list, newPos, inf);
    EXPECT_EQ(inf.buyDDVol, 7);
    EXPECT_EQ(inf.organSellDDVol, 10);
    EXPECT_EQ(itemAs<StockDDDetailItem>(list, 0)->type, 6);
    EXPECT_EQ(list.size(), 3u);

    NetDataCenter::ParseStockDDDetail(emptyFrame(2931), list, newPos, inf);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(inf.buyZDRate + inf.sellDDVol, 0);
}

TEST(SeriesParsers, MarketBigOrdersKeepTheNewestHundred) {
    NetDataCenter::PackList list = heldRows(99);
    Body body;
    body.i16(10).i16(2);
    for (const char *code : {"SH600000", "SH600004"})
        body.str(code).str("名").i8(1).i16(1000).i32(300);
    int32_t newPos = 0;
    NetDataCenter::ParseIndexDDDetailV2(body.frame(2977), list, newPos);
    ASSERT_EQ(list.size(), 100u);
    EXPECT_EQ(itemAs<IndexDDDetailItem>(list, 99)->code, "SH600004");
    EXPECT_EQ(itemAs<IndexDDDetailItem>(list, 98)->name, "名");
    EXPECT_EQ(newPos, 12);
}

TEST(SeriesParsers, RiseFallLineReplacesItsLastPoint) {
    NetDataCenter::PackList list;
    for (int i = 0; i < 100; ++i)
        list.push_back(base::make<SeriesNumber>(i));
    int32_t newPos = 0;
    NetDataCenter::ParseIndexRiseFallLine(Body().i16(3).i8(-5).i8(6).i8(7).frame(2965), list, newPos);
    ASSERT_EQ(list.size(), 102u);
    EXPECT_EQ(newPos, 101);
    EXPECT_EQ(itemAs<SeriesNumber>(list, 98)->value, 98);
    EXPECT_EQ(itemAs<SeriesNumber>(list, 99)->value, -5);

    NetDataCenter::ParseIndexRiseFallLine(emptyFrame(2965), list, newPos);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(newPos, 0);
}

class SeriesEntryTest : public FamilyTest {};

TEST_F(SeriesEntryTest, ReplyMarksThePackIdleAndMovesItsPosition) {
    auto pack = packAt("SH600000", -1);
    center->RequestStkStrikeDetail({}, pack);
    center->ParseRspArray(2970, tickReply(0, ticks(3)), lastRecord().reqParams);
    EXPECT_TRUE(pack->isIdle);
    EXPECT_EQ(pack->pos, 3);
    EXPECT_EQ(pack->rspArray.size(), 3u);

    // Parsers without a position leave -1.
    center->ParseRspArray(2969, Body().i16(0).frame(2969), packParams(pack));
    EXPECT_EQ(pack->pos, -1);
}

TEST_F(SeriesEntryTest, BigOrdersWithoutTheirRecordAreNotParsed) {
    auto pack = packAt("SH600000", 12);
    pack->isIdle = false;
    Bytes frame = bigOrderHead({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, true).i16(0).i16(0).frame(2976);
    center->ParseRspArray(2976, frame, packParams(pack, base::make<RequestPosItem>("x")));
    EXPECT_TRUE(pack->isIdle);
    EXPECT_EQ(pack->pos, 12);

    auto record = base::make<StockBasicInf>();
    center->ParseRspArray(2976, frame, packParams(pack, record));
    EXPECT_EQ(record->sellDDVol, 10);
    EXPECT_EQ(pack->pos, 0);

    center->ParseRspArray(2970, tickReply(0, ticks(3)), nullptr);
    center->ParseRspArray(2970, tickReply(0, ticks(3)), base::make<ReqParams>());
}

TEST_F(SeriesEntryTest, ExrightsAreKnownOnlyAfterANonEmptyReply) {
    auto pack = packAt("SH600000", -1);
    pack->rspArray = heldRows(2);
    center->ParseRspArray(2966, emptyFrame(2966), packParams(pack));
    EXPECT_TRUE(pack->rspArray.empty());
    EXPECT_FALSE(pack->isRsp);

    Bytes frame = Body().i16(1).i32(20120608).i32(1000).i32(0).i32(0).i32(1500).frame(2966);
    center->ParseRspArray(2966, frame, packParams(pack));
    EXPECT_TRUE(pack->isRsp);
    ASSERT_EQ(pack->rspArray.size(), 1u);
    auto event = itemAs<NewExrightItem>(pack->rspArray, 0);
    EXPECT_EQ(event->date, 20120608);
    EXPECT_EQ(event->give, 1000);
    EXPECT_EQ(event->profit, 1500);
}

TEST_F(SeriesEntryTest, ExrightsAreStoredForTheQuotesDate) {
    center->IO_QuotesDate = 20120608;
    auto pack = packAt("SH600000", -1);
    Bytes frame = Body()
                      .i16(2)
                      .i32(20110601)
                      .i32(1000)
                      .i32(0)
                      .i32(0)
                      .i32(0)
                      .i32(20120601)
                      .i32(0)
                      .i32(3000)
                      .i32(80000)
                      .i32(0)
                      .frame(2966);
    center->ParseRspArray(2966, frame, packParams(pack));

    std::vector<base::Ref<NewExrightItem>> stored;
    ASSERT_TRUE(LocalFileFunc::readExright("SH600000", stored, 20120608));
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1]->pei, 3000);
    EXPECT_EQ(stored[1]->peiPrice, 80000);
    EXPECT_FALSE(LocalFileFunc::readExright("SH600000", stored, 20120611));
}

Bytes contributionReply(std::initializer_list<const char *> codes) {
    Body body;
    body.i16(int32_t(codes.size()));
    for (const char *code : codes)
        body.str(code).str("n").i32(-25).i16(310);
    return body.frame(2929);
}

TEST_F(SeriesEntryTest, SecondContributionReplyGoesBehindTheFirstInReverse) {
    auto pack = base::make<IndexGXPack>("SH");
    pack->isIdle = false;
    center->RequestIndexGX({}, pack, 1, 20);
    auto params = lastRecord().reqParams;
    center->ParseIndexGX(contributionReply({"X", "Y"}), params);
    EXPECT_FALSE(pack->isReady);
    EXPECT_FALSE(pack->isIdle);
    center->ParseIndexGX(contributionReply({"A", "B", "C"}), params);
    EXPECT_TRUE(pack->isReady);
    EXPECT_TRUE(pack->isIdle);
    std::string order;
    for (size_t i = 0; i < pack->rspArray.size(); ++i)
        order += itemAs<IndexGXItem>(pack->rspArray, i)->code;
    EXPECT_EQ(order, "XYCBA");
    auto row = itemAs<IndexGXItem>(pack->rspArray, 0);
    EXPECT_EQ(row->digit, -25);
    EXPECT_EQ(row->risefall, 310);
}

} // namespace
