#include "DataSourcesFixture.h"

#include "DataBase/NetData/FundQuoteInf.h"
#include "Module/StockDataBaseMgnt/BoardElementsData.h"
#include "Module/StockDataBaseMgnt/IndexQuotesData.h"
#include "Module/StockDataBaseMgnt/StockQuotesData.h"

namespace datasources {
namespace {

TEST(MarketQuotePackTag, PageAndVisibleTagsRoundTrip) {
    struct Case {
        int tab;
        bool visible;
        int tag;
    };
    for (const Case &c : {Case{0, false, 101}, Case{2, false, 301}, Case{2, true, 302}, Case{3, true, 402}}) {
        EXPECT_EQ(MarketQuotePack::makeReqQuotesTag(c.tab, c.visible), c.tag);
        int tab = -1, kind = -1;
        MarketQuotePack::parseReqQuotesTag(c.tag, tab, kind);
        EXPECT_EQ(tab, c.tab);
        EXPECT_EQ(kind, c.visible ? 2 : 1);
    }
}

struct ListScreen : StockQuotesDataDelegate {
    base::Opt<void> UpdateTableDataSource(const base::Ref<base::Object> &rows, bool isFirst) override {
        auto list = std::dynamic_pointer_cast<StockQuoteList>(rows);
        updates.push_back({list ? list->items.size() : 0, isFirst});
        return {};
    }
    base::Opt<bool> isMinLineMode() override { return minLines; }
    base::Opt<void> UpdateMinLine(const std::string &code, const MinutePoints &points) override {
        if (!points.empty())
            charted.push_back(code);
        return {};
    }
    base::Opt<void> UpdateUDI(const base::Ref<StockQuoteInf> &record) override {
        return heard("UDI", record);
    }
    base::Opt<void> UpdateUDIMinLine(const std::string &code, const MinutePoints &points) override {
        return heard("UDIMinLine " + code, points.size());
    }
    base::Opt<void> UpdateBoardIndexQuote(const base::Ref<StockQuoteInf> &record) override {
        return heard("BoardIndex", record);
    }
    base::Opt<void> UpdateBoardIndexMinLine(const std::string &code, const MinutePoints &points) override {
        return heard("BoardIndexMinLine " + code, points.size());
    }
    base::Opt<void> heard(const std::string &what, const base::Ref<StockQuoteInf> &record) {
        return heard(what + " " + record->code, size_t(record->newprice > 0));
    }
    base::Opt<void> heard(const std::string &what, size_t count) {
        others.push_back(what + (count > 0 ? "" : " empty"));
        return {};
    }
    struct Update {
        size_t rows;
        bool isFirst;
    };
    std::vector<Update> updates;
    std::vector<std::string> others;
    std::vector<std::string> charted;
    bool minLines = false;
};

class MarketListTest : public DataSourcesTest {
protected:
    void SetUp() override {
        readyWithoutAccount();
        advance(2 * MiniViewManager::RequestInterval);
        list->SetObserverName("MarketListTest", 0, 1);
        list->setDelegate(screen);
        quotes.clearReceived();
    }
    // Start row and count of each class-page request received.
    std::vector<std::pair<int, int>> pages() const {
        std::vector<std::pair<int, int>> out;
        for (const peers::ReceivedFrame &frame : quotes.received(2955)) {
            uint32_t pos = 6;
            int start = ComAPI::ReadShort(frame.bytes(), pos);
            out.push_back({start, ComAPI::ReadShort(frame.bytes(), pos)});
        }
        return out;
    }
    std::vector<int32_t> prices() const {
        std::vector<int32_t> out;
        for (const auto &record : list->pack()->rspArray()->items)
            out.push_back(record->newprice);
        return out;
    }
    // Pages the list to its end; answers the number of page requests.
    size_t pageToEnd() {
        size_t requests = 0;
        list->reqDataFirst();
        settle();
        for (size_t before = quotes.receivedCount(2955); requests < 10; before = quotes.receivedCount(2955)) {
            ++requests;
            list->gotoQuotesNextPage();
            settle();
            if (quotes.receivedCount(2955) == before)
                break;
        }
        return requests;
    }

    base::Ref<StockQuotesData> list = base::make<StockQuotesData>();
    std::shared_ptr<ListScreen> screen = std::make_shared<ListScreen>();
};

TEST_F(MarketListTest, AListPagesToItsEndInBothOrders) {
    for (int order : {1, 0}) {
        SCOPED_TRACE(order);
        list->SetSortID(4);
        list->SetSortType(order);
        list->pack()->clearReqInfo();
        quotes.clearReceived();
        screen->updates.clear();
        pageToEnd();
        int32_t total = list->pack()->totalCount;
        ASSERT_GT(total, 60);
        auto asked = pages();
        ASSERT_GE(asked.size(), 3u);
        EXPECT_EQ(asked[0], std::make_pair(0, 30));
        EXPECT_EQ(asked[2], std::make_pair(60, 30));
        EXPECT_EQ(list->pack()->rowCount(), size_t(total));
        std::vector<int32_t> p = prices();
        EXPECT_TRUE(order == 1 ? std::is_sorted(p.begin(), p.end()) : std::is_sorted(p.rbegin(), p.rend()));
        for (const auto &record : list->pack()->rspArray()->items)
            EXPECT_FALSE(record->code.empty());
        // Requested with the empty rows, first reply, later pages, and nothing once all are held.
        EXPECT_TRUE(screen->updates.front().isFirst);
        EXPECT_EQ(screen->updates.front().rows, 0u);
        EXPECT_TRUE(screen->updates[1].isFirst);
        EXPECT_FALSE(screen->updates.back().isFirst);
        size_t told = screen->updates.size();
        list->gotoQuotesNextPage();
        settle();
        EXPECT_EQ(screen->updates.size(), told);
    }
}

TEST_F(MarketListTest, ANewPageSizeContinuesWhereTheRowsEnd) {
    list->reqDataFirst();
    settle();
    list->SetReqCount(20);
    list->gotoQuotesNextPage();
    settle();
    auto asked = pages();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], std::make_pair(20, 20));
    EXPECT_EQ(list->pack()->rowCount(), 40u);
}

TEST_F(MarketListTest, ClassesPickTheirMessage) {
    list->resetQuotesClassId(2305);
    settle();
    for (int page = 0; page < 3; ++page) {
        list->gotoQuotesNextPage();
        settle();
    }
    // Currency funds of type 5, paged to the end of the list.
    ASSERT_EQ(quotes.receivedCount(2331), 2u);
    const auto &funds = list->pack()->fundArray()->items;
    ASSERT_EQ(funds.size(), size_t(list->pack()->totalCount));
    EXPECT_TRUE(std::dynamic_pointer_cast<CurrencyFundQuoteInf>(funds.back()));
    quotes.clearReceived();
    list->resetQuotesClassId(2400);
    settle();
    auto lists = quotes.received(2955);
    ASSERT_EQ(lists.size(), 1u);
    uint32_t pos = 0;
    EXPECT_EQ(ComAPI::ReadShort(lists[0].bytes(), pos), 2400);
}

TEST_F(MarketListTest, AResetToTheSameValuesSendsNothingAndAnotherDropsTheOldRows) {
    list->resetQuotesSortId(1, 0);
    list->resetQuotesSortId(1);
    list->resetQuotesSortType(0);
    settle();
    EXPECT_EQ(quotes.receivedCount(2955), 0u);

    list->resetQuotesSortId(4, 1);
    list->resetQuotesSortId(2, 0);
    settle();
    EXPECT_EQ(quotes.receivedCount(2955), 2u);
    // Only the reply of the list now shown reaches the screen.
    ASSERT_EQ(screen->updates.size(), 1u);
    EXPECT_TRUE(screen->updates[0].isFirst);
    EXPECT_EQ(list->pack()->rowCount(), 30u);
}

TEST_F(MarketListTest, AFirstReplyWithoutRowsIsFirstAndStopsPaging) {
    list->resetQuotesClassId(3000);
    settle();
    ASSERT_EQ(screen->updates.size(), 1u);
    EXPECT_TRUE(screen->updates[0].isFirst);
    EXPECT_EQ(list->pack()->totalCount, 0);
    quotes.clearReceived();
    list->gotoQuotesNextPage();
    settle();
    EXPECT_EQ(quotes.receivedCount(2955), 0u);
    EXPECT_EQ(screen->updates.size(), 1u);
}

TEST_F(MarketListTest, BottomRowsAreTrimmedOnlyWithFiftySurplus) {
    for (size_t held : {79u, 80u}) {
        auto &items = list->pack()->rspArray()->items;
        items.assign(held, base::make<StockQuoteInf>());
        screen->updates.clear();
        list->DelBottomRows(30);
        EXPECT_EQ(items.size(), held == 80 ? 30u : held);
        EXPECT_EQ(screen->updates.size(), held == 80 ? 1u : 0u);
    }
}

TEST_F(MarketListTest, ProductModeAsksFiftyRowsAndTellsTheScreenOnTheReply) {
    list->SetIsProdClass();
    list->gotoQuotesNextPage();
    EXPECT_TRUE(screen->updates.empty());
    settle();
    ASSERT_EQ(quotes.receivedCount(2938), 1u);
    ASSERT_EQ(screen->updates.size(), 1u);
    EXPECT_EQ(screen->updates[0].rows, 12u);
}

TEST_F(MarketListTest, RowsGetTheirMiniChartsOnTheFirstPageAndOnRefresh) {
    auto mviews = base::make<MiniViewManager>();
    list->setMviews(mviews);
    screen->minLines = true;
    list->reqDataFirst();
    settle();
    const auto &items = list->pack()->rspArray()->items;
    EXPECT_EQ(quotes.receivedCount(2942), 10u);
    EXPECT_EQ(screen->charted.size(), 10u);
    EXPECT_NE(mviews->getMView(items[9]->code), nullptr);
    EXPECT_EQ(mviews->getMView(items[10]->code), nullptr);

    list->reqStockQuotes(8, 6);
    settle();
    // Rows 8 and 9 were asked for moments ago.
    EXPECT_EQ(quotes.receivedCount(2942), 14u);
    EXPECT_NE(mviews->getMView(items[13]->code), nullptr);
    mviews.reset();
    list->reqStockQuotes(20, 5);
    settle();
    EXPECT_EQ(quotes.receivedCount(2942), 14u);
}

TEST_F(MarketListTest, TheDollarIndexAndTheBoardIndexReachTheirOwnOperations) {
    list->SetIsCurrClass();
    list->reqUDI();
    list->reqBoardIndexQuote(peers::QuoteServer::BoardCode);
    list->reqBoardIndexMinLine(peers::QuoteServer::BoardCode);
    settle();
    const std::vector<std::string> expected{"UDI IXUDI", "UDIMinLine IXUDI", "BoardIndex BI000101",
                                            "BoardIndexMinLine BI000101"};
    EXPECT_EQ(screen->others, expected);
    EXPECT_TRUE(screen->updates.empty());
}

struct IndexTab : IndexQuotesDataDelegate {
    void UpdateTableDataSource(const base::Ref<StockQuoteList> &rows) override {
        shown.push_back(rows->items.size());
    }
    void UpdateMinLine(const std::string &, const std::vector<base::Ref<base::Object>> &) override {}
    std::vector<std::string> getVisibleCodes() override { return visible; }
    std::vector<std::string> visible;
    std::vector<size_t> shown;
};

TEST_F(MarketListTest, TheIndexTabAsksForTheVisibleCodesOnly) {
    auto indexes = base::make<IndexQuotesData>();
    indexes->SetObserverName("IndexQuotesTest", 4);
    auto tab = std::make_shared<IndexTab>();
    indexes->setDelegate(tab);
    indexes->reqDataFirst();
    settle();
    EXPECT_EQ(quotes.receivedCount(2955), 0u);
    tab->visible = {"SH000001", "SZ399001"};
    indexes->reqDataFirst();
    settle();
    ASSERT_EQ(quotes.receivedCount(2955), 1u);
    EXPECT_EQ(tab->shown, std::vector<size_t>{2});
    EXPECT_EQ(indexes->pack()->totalCount, 2);
}

struct BoardList : BoardElementsDataDelegate {
    void UpdateBoardElementArray(const base::Ref<StockQuoteList> &rows, bool isFirst) override {
        updates.push_back({rows->items.size(), isFirst});
    }
    std::vector<std::pair<size_t, bool>> updates;
};

TEST_F(MarketListTest, BoardMembersArriveOnlyForTheBoardShown) {
    auto board = BoardElementsData::create("BoardElementsTest");
    auto view = std::make_shared<BoardList>();
    board->setDelegate(view);
    board->reqBoardStocksFirst(3001);
    board->reqBoardStocksFirst(peers::QuoteServer::BoardID);
    settle();
    ASSERT_EQ(view->updates.size(), 3u);
    EXPECT_EQ(view->updates.back(), std::make_pair(size_t(8), true));
    EXPECT_EQ(board->pack()->totalCount, 8);
}

} // namespace
} // namespace datasources
