#include "MessageTestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A list row with the fixed fields only; the name tells the rows apart.
Body &row(Body &body, std::string_view code, int32_t newprice) {
    body.string(code).string(std::string("N") + std::string(code)).byte(2).byte(1);
    return body.intValue(1000).intValue(1001).intValue(newprice).intValue(1003).intValue(1004).intValue(5000);
}

base::Data listReply(int classID, int total, const std::vector<std::pair<std::string, int32_t>> &rows,
                     int announced = -1) {
    Body body;
    body.shortValue(classID).shortValue(0).shortValue(total).shortValue(announced < 0 ? int(rows.size())
                                                                                      : announced);
    for (const auto &[code, price] : rows)
        row(body, code, price);
    return replyFrame(2955, body.data);
}

class ListMessagesTest : public MessageLayerTest {
protected:
    base::Ref<ReqParams> pageParams(int fillType, int startid) {
        auto params = base::make<ReqParams>(ReqParams{{"fillType", fillType}, {"startid", startid}});
        params->setObject("rspArray", rows);
        return params;
    }
    void fillRows(int count) {
        for (int i = 0; i < count; ++i) {
            auto quote = base::make<StockQuoteInf>();
            quote->code = "old" + std::to_string(i);
            rows->items.push_back(quote);
        }
    }
    std::vector<std::string> codes() {
        std::vector<std::string> out;
        for (const auto &quote : rows->items)
            out.push_back(quote->code);
        return out;
    }

    base::Ref<StockQuoteList> rows = base::make<StockQuoteList>();
};

TEST_F(ListMessagesTest, RowsToPadBeforeAPage) {
    struct Case {
        int start, count, have, total, expected;
    };
    const Case cases[] = {
        {30, 30, 20, 45, 25}, {0, 30, 0, 0, 30},   {0, 30, 45, 45, -1},   {0, 30, 50, 45, -1},
        {0, 30, 10, -1, 20},  {0, 30, 40, 0, -10}, {60, 30, 61, 100, 29},
    };
    for (const Case &c : cases) {
        StockQuoteList list;
        list.items.resize(size_t(c.have));
        EXPECT_EQ(NetDataCenter::getQuotesNeedFillCount(c.start, c.count, list, 1, c.total), c.expected)
            << c.start << " " << c.count << " " << c.have << " " << c.total;
    }
}

TEST_F(ListMessagesTest, PageRequestPadsTheRowsAndCarriesItsParameters) {
    fillRows(20);
    center->RequestStockListCom({}, 104, 511, 1, 0, 30, 30, rows, 201, 1, 45);
    ASSERT_EQ(rows->items.size(), 45u);
    auto padding = std::dynamic_pointer_cast<StockBasicInf>(rows->items[20]);
    ASSERT_TRUE(padding);
    EXPECT_GT(padding->updateTick, 0);
    EXPECT_EQ(rows->items[44]->updateTick, padding->updateTick);

    EXPECT_EQ(onlyRequestBody(), (Bytes{104, 0, 0xFF, 0x01, 1, 0, 30, 0, 30, 0}));
    const QuoteRequestRecord &record = coordinator->records[0];
    EXPECT_EQ(record.reqType, 2955);
    EXPECT_EQ(record.data.bytes()[3], 0);
    EXPECT_EQ(record.reqParams->object("rspArray"), rows);
    EXPECT_EQ(record.reqParams->values, (base::Dict{{"tag", 201},
                                                    {"fillType", 1},
                                                    {"startid", 30},
                                                    {"reqCount", 30},
                                                    {"classID", 104},
                                                    {"rspArray", rows}}));

    // Fill type 0 pads nothing.
    center->RequestStockListCom({}, 105, 0, 1, 1, 0, 5, rows, 201, 0, 0);
    EXPECT_EQ(rows->items.size(), 45u);
}

TEST_F(ListMessagesTest, CodeListRequest) {
    center->RequestPauseList({}, 3, {}, rows, 9);
    EXPECT_TRUE(coordinator->records.empty());
    center->RequestPauseList({}, 3, {"SH600000", "SZ000001"}, rows, 9);
    Body expected;
    expected.shortValue(106).shortValue(3).shortValue(2).string("SH600000").string("SZ000001");
    EXPECT_EQ(onlyRequestBody(), bytesOf(expected.data));
    EXPECT_EQ(coordinator->records[0].reqParams->get("tag").intValue(), 9);
    EXPECT_EQ(coordinator->records[0].reqParams->object("rspArray"), rows);
}

TEST_F(ListMessagesTest, ReplaceFillsTheListFromTheReply) {
    fillRows(3);
    auto params = pageParams(0, 0);
    center->ParseStockListCom(listReply(104, 40, {{"A", 1}, {"B", 2}}).span(), params);
    EXPECT_EQ(codes(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(params->get("totalCount").intValue(), 40);
    const StockQuoteInf &first = *rows->items[0];
    EXPECT_EQ(first.name, "NA");
    EXPECT_EQ(first.decimal, 2);
    EXPECT_EQ(first.closeprice, 1000);
    EXPECT_EQ(first.newprice, 1);
    EXPECT_EQ(first.amount, 5000);
    EXPECT_GT(first.updateTick, 0);

    center->ParseStockListCom(replyFrame(2955, {}).span(), params);
    EXPECT_TRUE(rows->items.empty());
}

TEST_F(ListMessagesTest, WriteFromTheStartRowReplacesAndAppends) {
    fillRows(61);
    center->ParseStockListCom(
        listReply(104, 100, {{"r60", 0}, {"r61", 0}, {"r62", 0}, {"r63", 0}, {"r64", 0}}).span(),
        pageParams(1, 60));
    ASSERT_EQ(rows->items.size(), 65u);
    EXPECT_EQ(rows->items[59]->code, "old59");
    EXPECT_EQ(rows->items[60]->code, "r60");
    EXPECT_EQ(rows->items[64]->code, "r64");
}

TEST_F(ListMessagesTest, TheTotalTrimsTheList) {
    fillRows(50);
    center->ParseStockListCom(listReply(104, 40, {{"r0", 0}}).span(), pageParams(1, 0));
    ASSERT_EQ(rows->items.size(), 40u);
    EXPECT_EQ(rows->items[0]->code, "r0");
}

TEST_F(ListMessagesTest, RepliesThatTouchNoRows) {
    fillRows(3);
    auto noStart = base::make<ReqParams>(ReqParams{{"fillType", 1}});
    noStart->setObject("rspArray", rows);
    center->ParseStockListCom(listReply(104, 1, {{"A", 1}}).span(), noStart);
    center->ParseStockListCom(listReply(104, 1, {{"A", 1}}).span(), base::make<ReqParams>());
    center->ParseStockListCom(listReply(104, 1, {{"A", 1}}).span(), nullptr);
    // Rows of an unknown fill type are read and dropped.
    center->ParseStockListCom(listReply(104, 1, {{"A", 1}}).span(), pageParams(2, 0));
    EXPECT_EQ(codes(), (std::vector<std::string>{"old0", "old1", "old2"}));
}

TEST_F(ListMessagesTest, AnnouncedRowsAreBoundedByTheBytes) {
    center->ParseStockListCom(listReply(104, 0xFFFF, {{"A", 1}}, 0xFFFF).span(), pageParams(0, 0));
    EXPECT_EQ(codes(), std::vector<std::string>{"A"});
}

TEST_F(ListMessagesTest, ConstituentIdOnlyInClass105) {
    for (int classID : {105, 104}) {
        Body body;
        body.shortValue(classID).shortValue(0x0001).shortValue(1).shortValue(1);
        row(body, "A", 1);
        if (classID == 105)
            body.shortValue(-7);
        body.shortValue(100).intValue(123456);
        center->ParseStockListCom(replyFrame(2955, body.data).span(), pageParams(0, 0));
        ASSERT_EQ(rows->items.size(), 1u);
        EXPECT_EQ(rows->items[0]->chengfenID, classID == 105 ? -7 : 0);
        EXPECT_EQ(rows->items[0]->sellVolUnit, 100) << classID;
        EXPECT_EQ(rows->items[0]->vol, 123456) << classID;
    }
}

TEST_F(ListMessagesTest, EveryOptionalGroupInOrder) {
    Body body;
    body.shortValue(104).shortValue(0x3FFF).shortValue(1).shortValue(1);
    row(body, "A", 1);
    body.shortValue(1).intValue(2);                               // sell volume unit, volume
    body.intValue(3).intValue(4);                                 // outer volume, last volume
    body.shortValue(5).shortValue(6).shortValue(7).shortValue(8); // volume ratio … order ratio
    body.byte(9);                                                 // note count
    body.intValue(10).intValue(11).intValue(12).intValue(13);     // ratios, best prices
    body.intValue(14).intValue(15).intValue(16).intValue(17);     // 7- and 30-day rates
    body.shortValue(18).shortValue(19).intValue(20).intValue(21).intValue(22).byte(23).byte(-24);
    for (int v = 25; v <= 32; ++v)
        body.intValue(v);
    for (int v = 33; v <= 36; ++v)
        body.intValue(v);
    center->ParseStockListCom(replyFrame(2955, body.data).span(), pageParams(0, 0));
    ASSERT_EQ(rows->items.size(), 1u);
    const StockQuoteInf &q = *rows->items[0];
    const std::vector<int64_t> got = {
        q.sellVolUnit, q.vol,          q.npSellVol,     q.xianshou,        q.liangbi,      q.huanshou,
        q.IncreaseSPD, q.weibi,        q.noteCount,     q.shiyingRate,     q.shijingRate,  q.sell1Price,
        q.buy1Price,   q.riseRate7,    q.transpRate7,   q.riseRate30,      q.transpRate30, q.ddx1,
        q.ddy1,        q.ddz1,         q.ddx60,         q.ddy60,           q.redCount,     q.redEvenCount,
        q.fundIn,      q.fundOut,      q.fundIn5,       q.fundOut5,        q.fundAmount5,  q.fundIn30,
        q.fundOut30,   q.fundAmount30, q.prodyposition, q.prodysettlement, q.prodposition, q.prodsettlement};
    std::vector<int64_t> expected;
    for (int v = 1; v <= 36; ++v)
        expected.push_back(v == 24 ? -24 : v);
    EXPECT_EQ(got, expected);
}

TEST_F(ListMessagesTest, MarketIndex) {
    center->RequestMarketIndex({});
    EXPECT_EQ(coordinator->records[0].reqType, 2207);
    EXPECT_TRUE(onlyRequestBody().empty());

    Body body;
    body.shortValue(2).string("上证指数").byte(2).intValue(312345).intValue(310000).intValue(9999);
    body.string("深证成指").byte(2).intValue(1).intValue(2).intValue(3);
    center->ParseMarketIndex(replyFrame(2207, body.data).span());
    ASSERT_EQ(center->IO_MarketIndex.size(), 2u);
    EXPECT_EQ(center->IO_MarketIndex[0]->stockName, "上证指数");
    EXPECT_EQ(center->IO_MarketIndex[0]->dot, 2);
    EXPECT_EQ(center->IO_MarketIndex[0]->price, 312345);
    EXPECT_EQ(center->IO_MarketIndex[0]->closeprice, 310000);
    EXPECT_EQ(center->IO_MarketIndex[0]->amount, 9999);

    center->ParseMarketIndex(replyFrame(2207, Body().shortValue(0).data).span());
    EXPECT_TRUE(center->IO_MarketIndex.empty());
}

class RealNewsTest : public MessageLayerTest {
protected:
    void SetUp() override {
        MessageLayerTest::SetUp();
        center->IO_QuotesDate = 20130304;
        // The first reply of a quotes date only starts the store.
        reply(0, 1, "");
    }
    void reply(int reqid, int32_t id, std::string_view content) {
        auto params = base::make<ReqParams>(ReqParams{{"reqType", 2600}, {"reqid", reqid}});
        center->ParseRealInformation(replyFrame(2600, Body().intValue(id).string(content).data).span(),
                                     params);
    }
    RealNews &news() { return *center->IO_RealNewsJP; }
};

TEST_F(RealNewsTest, Request) {
    center->RequestRealInformation({}, 17);
    Body expected;
    expected.string("test").shortValue(0).intValue(17);
    EXPECT_EQ(onlyRequestBody(), bytesOf(expected.data));
}

TEST_F(RealNewsTest, TheNewestItem) {
    EXPECT_EQ(news().updateDate, 20130304);
    EXPECT_EQ(news().lastid, -1);
    reply(0, 6, "六");
    EXPECT_TRUE(news().hasNewData);
    EXPECT_EQ(news().firstid, 6);
    reply(0, 7, "七");
    EXPECT_TRUE(news().hasNewData);
    EXPECT_EQ(news().lastid, 7);
    EXPECT_EQ(news().currentid, 7);
    EXPECT_EQ(news().firstid, 6);
    EXPECT_EQ(news().content, "七");
    reply(0, 7, "七");
    EXPECT_FALSE(news().hasNewData);
    EXPECT_EQ(news().lastid, 7);
    ASSERT_EQ(news().array.size(), 7u);
    EXPECT_EQ(news().array[5], "六");
    EXPECT_EQ(news().array[0], "");
}

TEST_F(RealNewsTest, PagingBackToOlderItems) {
    reply(0, 7, "七");
    reply(6, 3, "三");
    EXPECT_EQ(news().firstid, 3);
    EXPECT_EQ(news().lastid, 7);
    EXPECT_FALSE(news().hasNewData);
    EXPECT_EQ(news().array[2], "三");
    EXPECT_EQ(news().array.size(), 7u);
}

TEST_F(RealNewsTest, NoItem) {
    reply(0, 0, "");
    EXPECT_EQ(news().content, "...");
    EXPECT_EQ(news().currentid, 0);
    EXPECT_FALSE(news().hasNewData);
    EXPECT_TRUE(news().array.empty());
}

TEST_F(RealNewsTest, ANewDateOrAnEmptyReplyResetsTheStore) {
    reply(0, 3, "三");
    center->IO_QuotesDate = 20130305;
    reply(0, 4, "四");
    EXPECT_EQ(news().updateDate, 20130305);
    EXPECT_EQ(news().lastid, -1);
    EXPECT_TRUE(news().array.empty());
    reply(0, 4, "四");
    EXPECT_EQ(news().lastid, 4);

    center->ParseRealInformation(replyFrame(2600, {}).span(), nullptr);
    EXPECT_EQ(news().firstid, -1);
    EXPECT_EQ(news().content, "");
    EXPECT_TRUE(news().array.empty());
}

TEST_F(RealNewsTest, OnlyRepliesToABreakingNewsRequestAreRead) {
    center->ParseRealInformation(replyFrame(2600, Body().intValue(5).string("五").data).span(), nullptr);
    EXPECT_EQ(news().currentid, -1);
    EXPECT_TRUE(news().array.empty());
}

TEST_F(RealNewsTest, AnIdNoStoreCanHoldIsRefused) {
    reply(0, 2, "二");
    for (int32_t id : {NetDataCenter::MaxRealNewsId + 1, 0x7FFFFFFF}) {
        reply(0, id, "huge");
        EXPECT_EQ(news().lastid, 2);
        EXPECT_EQ(news().array.size(), 2u);
    }
    reply(0, NetDataCenter::MaxRealNewsId, "last");
    EXPECT_EQ(news().array.back(), "last");
}

} // namespace
