#include "DetailCentreFixture.h"

#include "Common/TimeFunc.h"

namespace detailcentre {
namespace {

TEST_F(DetailCentreTest, EachKindOfSecurityAsksForItsOwnSet) {
    struct Case {
        const char *name;
        const char *code;
        bool level2;
        int boardID;
        int baseInfo;
        std::vector<int> asked, notAsked;
    };
    const Case cases[] = {
        {"currency fund", "OF000009", false, 0, 2310, {2311, 2313, 2314}, {2312, 2940}},
        {"other fund", "OF110022", false, 0, 2310, {2311, 2312, 2313, 2314}, {}},
        {"Shanghai index",
         "SH000001",
         false,
         0,
         2939,
         {2939, 2206, 2940, 2965, 2929, 2977},
         {2970, 2915, 2966}},
        {"stock", "SH600000", false, 0, 2939, {2939, 2940, 2970, 2976, 2969, 2966}, {2915, 2206, 2929}},
        {"stock with level-2", "SH600000", true, 0, 2939, {2940, 2970, 2976, 2969, 2915}, {}},
        {"board with a chosen board", "BI000101", false, 101, 2939, {2955}, {2929, 2977, 2970}},
        {"board without one", "BI000101", false, 0, 2939, {2929, 2977}, {2955, 2970}},
    };
    readyWithoutAccount();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        screen->boardID = c.boardID;
        auto centre = open(c.code, c.level2);
        EXPECT_EQ(baseInfoPhase, std::vector<int>{c.baseInfo}) << "only the base info until it has arrived";
        quotes.clearReceived();
        centre->reqData(true);
        settle();
        std::vector<int> sent = types();
        for (int type : c.asked)
            EXPECT_TRUE(has(sent, type)) << type;
        for (int type : c.notAsked)
            EXPECT_FALSE(has(sent, type)) << type;
        if (c.boardID) {
            auto lists = quotes.received(2955);
            ASSERT_EQ(lists.size(), 1u);
            ByteView body = lists[0].bytes();
            uint32_t pos = 0;
            EXPECT_EQ(ComAPI::ReadShort(body, pos), c.boardID);
            pos += 2;
            EXPECT_EQ(ComAPI::ReadByte(body, pos), 1);
            EXPECT_EQ(ComAPI::ReadByte(body, pos), 0);
            EXPECT_EQ(ComAPI::ReadShort(body, pos), 0);
            EXPECT_EQ(ComAPI::ReadShort(body, pos), 25);
            ASSERT_TRUE(centre->stockDetailLib()->boardStocks());
            EXPECT_EQ(centre->stockDetailLib()->boardStocks()->items.size(), 8u);
        } else if (std::string(c.code) == "BI000101") {
            auto contributions = quotes.received(2929);
            ASSERT_FALSE(contributions.empty());
            EXPECT_EQ(contributions[0].body[0], 'S');
            EXPECT_EQ(contributions[0].body[1], 'H');
        }
        if (std::string(c.code) == "SH000001")
            EXPECT_TRUE(db->IO_NetDataCenter()->IO_IndexLib->getIndexGXRspArray("SH000001"));
        centres.clear();
    }
}

TEST_F(DetailCentreTest, NothingIsAskedWhileTheConnectionIsDown) {
    readyWithoutAccount();
    auto centre = open("SH600000");
    db->Disconnect();
    settle();
    quotes.clearReceived();
    centre->reqData(true);
    centre->reqData(false);
    settle();
    EXPECT_TRUE(types().empty());
}

TEST_F(DetailCentreTest, FiveSecondRulesForCandlesAndMinutes) {
    readyWithoutAccount();
    screen->kline = true;
    screen->trend = true;
    auto centre = open("SH600000");
    centre->reqData(true);
    settle();
    ASSERT_TRUE(centre->reqCurKLine(true, 200));
    ASSERT_TRUE(centre->AddStocks_AddCode("SZ000002"));
    settle();
    ASSERT_EQ(centre->getCurKList(7)->size(), 400u);
    // The day's minutes came bit-coded and were expanded whole.
    ASSERT_TRUE(centre->minlineLib()->getMinLineRspArray("SH600000"));
    EXPECT_EQ(centre->minlineLib()->getMinLineRspArray("SH600000")->size(), 241u);

    quotes.clearReceived();
    EXPECT_FALSE(centre->reqKLineIfNoDataOrOverTime(7));
    centre->reqMinLineIfNoDataOrOverTime();
    settle();
    // Within 5 s only the comparison is topped up to the first candle shown.
    EXPECT_EQ(candleCodes(), std::vector<std::string>{"SZ000002"});
    EXPECT_EQ(quotes.receivedCount(2942), 0u);

    advance(StockDetailData::RefreshAge + 1);
    quotes.clearReceived();
    EXPECT_TRUE(centre->reqKLineIfNoDataOrOverTime(7));
    centre->reqMinLineIfNoDataOrOverTime();
    settle();
    std::vector<std::string> codes = candleCodes();
    EXPECT_TRUE(std::find(codes.begin(), codes.end(), "SH600000") != codes.end());
    EXPECT_GE(quotes.receivedCount(2942), 1u);
}

TEST_F(DetailCentreTest, ExrightEventsComeFromTodaysCacheWithoutARequest) {
    readyWithoutAccount();
    auto first = open("SH600000");
    first->reqData(true);
    settle();
    EXPECT_EQ(quotes.receivedCount(2966), 1u);
    ASSERT_TRUE(first->existExrightInfo());

    auto second = open("SH600000");
    quotes.clearReceived();
    second->reqData(true);
    settle();
    EXPECT_EQ(quotes.receivedCount(2966), 0u);
    EXPECT_TRUE(second->existExrightInfo());
    EXPECT_EQ(second->getExrightList()->size(), 2u);

    // Only Shanghai and Shenzhen stocks have events to ask for.
    auto index = open("SZ399001");
    quotes.clearReceived();
    index->reqData(true);
    settle();
    EXPECT_EQ(quotes.receivedCount(2966), 0u);
}

// The close of the computed week dated `time`.
int weekClose(const StockFunc::ObjectList &weeks, int time) {
    for (const auto &item : weeks)
        if (auto week = std::dynamic_pointer_cast<KLineItem>(item); week && week->time == time)
            return week->closeprice;
    ADD_FAILURE() << "no week " << time;
    return 0;
}

TEST_F(DetailCentreTest, ChangingTheAdjustmentOnAWeekChartRebuildsWeeksFromAdjustedDays) {
    readyWithoutAccount();
    screen->kline = true;
    screen->ktype = 8;
    screen->exright = true;
    auto centre = open("SH600000");
    centre->reqData(true);
    ASSERT_TRUE(runUntil([&] {
        auto days = centre->getDayKList();
        return days && days->size() >= 1000;
    }));
    ASSERT_TRUE(centre->AddStocks_AddCode("SZ000002"));
    settle();
    ASSERT_TRUE(centre->existExrightInfo());
    const int date = db->IO_NetDataCenter()->IO_QuotesDate;

    StockFunc::ObjectList *weeks = centre->calcOnChangeExright(1, date, 8);
    ASSERT_TRUE(weeks);
    EXPECT_EQ(weeks, centre->getCurKList(8));
    // The week before the 10-for-10 bonus of 2011-06-03 (and the later 0.50 dividend).
    const int forward = weekClose(*weeks, 20110527);
    auto newest = std::dynamic_pointer_cast<KLineItem>(weeks->back());
    auto info = std::dynamic_pointer_cast<AddStockKLines>(newest->addStockInfo);
    ASSERT_TRUE(info && info->items.count("SZ000002"));
    EXPECT_EQ(TimeFunc::getWhichPeriod(8, info->items["SZ000002"]->time),
              TimeFunc::getWhichPeriod(8, newest->time));

    weeks = centre->calcOnChangeExright(0, 0, 8);
    ASSERT_TRUE(weeks);
    const int unadjusted = weekClose(*weeks, 20110527);
    EXPECT_NEAR(unadjusted, 2 * (forward + 50), 2);
    newest = std::dynamic_pointer_cast<KLineItem>(weeks->back());
    EXPECT_TRUE(newest->addStockInfo) << "comparisons are aligned again on the rebuilt weeks";
}

TEST_F(DetailCentreTest, ComparisonColoursAndRefusals) {
    readyWithoutAccount();
    auto centre = open("SH600000");
    std::vector<int> colours;
    for (const char *code : {"SZ000002", "SH600016", "SH600036"}) {
        ASSERT_TRUE(centre->AddStocks_AddCode(code));
        colours.push_back(int(centre->AddStocks_GetDictByCode(code)->get("colorID").intValue()));
    }
    EXPECT_EQ(colours, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(centre->AddStocks_AddCode("SH601398")) << "a fourth";
    EXPECT_TRUE(centre->AddStocks_DelAll());
    EXPECT_FALSE(centre->AddStocks_DelAll());
    EXPECT_FALSE(centre->AddStocks_AddCode("SH600000")) << "the shown one";
    EXPECT_FALSE(centre->AddStocks_AddCode("SH")) << "invalid";
    ASSERT_TRUE(centre->AddStocks_AddCode("SH601398"));
    EXPECT_FALSE(centre->AddStocks_AddCode("SH601398")) << "duplicate";
    EXPECT_EQ(centre->AddStocks_GetDictByCode("SH601398")->get("colorID").intValue(), 1);
    settle();
    auto basicInf = centre->AddStocks_GetDictByCode("SH601398")->get("basicInf").objectAs<StockBasicInf>();
    EXPECT_EQ(basicInf->name, "工商银行");
}

TEST_F(DetailCentreTest, TwoLiveCentresEachSeeOnlyTheirOwnReplies) {
    readyWithoutAccount();
    auto a = open("SH600000");
    auto b = open("SZ000002");
    ASSERT_NE(a->observerName(), b->observerName());
    seen[a->observerName()] = {};
    seen[b->observerName()] = {};
    a->reqData(false);
    b->reqData(false);
    settle();
    const Replies &ra = seen[a->observerName()], &rb = seen[b->observerName()];
    ASSERT_FALSE(ra.codes.empty());
    ASSERT_FALSE(rb.codes.empty());
    for (const std::string &code : ra.codes)
        EXPECT_EQ(code, "SH600000");
    for (const std::string &code : rb.codes)
        EXPECT_EQ(code, "SZ000002");

    // A new security withdraws what was still queued for the old one.
    seen[a->observerName()] = {};
    a->reqData(false);
    a->StartRequest("SH600016");
    settle();
    for (const std::string &code : seen[a->observerName()].codes)
        EXPECT_NE(code, "SH600000");
}

} // namespace
} // namespace detailcentre
