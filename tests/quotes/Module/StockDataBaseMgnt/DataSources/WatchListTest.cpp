#include "DataSourcesFixture.h"

#include "Module/StockDataBaseMgnt/DDEQuotesData.h"

#include <numeric>

namespace datasources {
namespace {

struct WatchListView : DDEQuotesDataDelegate {
    base::Opt<void> UpdateMyStockArray(const base::Ref<MyStockRowList> &rows, bool isScrollToTop) override {
        updates.push_back({rows->items.size(), isScrollToTop});
        return {};
    }
    struct Update {
        size_t rows;
        bool scrollToTop;
    };
    std::vector<Update> updates;
};

class WatchListTest : public DataSourcesTest {
protected:
    void SetUp() override {
        // The account login, so that a lost link is dialled again.
        readyWithAccount();
        // Quotes never fetched are dated 0: let the clock be well past it.
        advance(2 * MyStockQuotesData::StaleAge);
        dde->setDelegate(view);
        quotes.clearReceived();
    }
    static bool ascending(const std::vector<int32_t> &list) {
        return std::is_sorted(list.begin(), list.end());
    }
    static bool descending(const std::vector<int32_t> &list) {
        return std::is_sorted(list.rbegin(), list.rend());
    }
    // Watch-list entries for the first `count` stocks of the market (codes the market does not
    // know when it runs out), then `extra` codes.
    base::Array entries(size_t count, const std::vector<std::string> &extra = {}) const {
        base::Array list;
        peers::MarketFixture market = quotes.market();
        for (const peers::Security &security : market.securities())
            if (security.type == 1 && list.size() < count)
                list.add(base::Dict{{"MarketCode", security.fullCode()}, {"StockName", security.name}});
        for (int n = 0; list.size() < count; ++n)
            list.add(base::Dict{{"MarketCode", base::str::format("SH7000%02d", n)}});
        for (const std::string &code : extra)
            list.add(base::Dict{{"MarketCode", code}});
        return list;
    }
    // The codes of each 2955 request received, in order.
    std::vector<std::vector<std::string>> requests() const {
        std::vector<std::vector<std::string>> out;
        for (const peers::ReceivedFrame &frame : quotes.received(2955)) {
            uint32_t pos = 4;
            int count = ComAPI::ReadShort(frame.bytes(), pos);
            std::vector<std::string> codes;
            for (int i = 0; i < count; ++i)
                codes.push_back(ComAPI::ReadString(frame.bytes(), pos));
            out.push_back(codes);
        }
        return out;
    }
    const std::vector<base::Ref<MyStockRow>> &rows() const { return dde->getMyStockDataArray()->items; }
    std::vector<int32_t> prices() const {
        std::vector<int32_t> out;
        for (const auto &row : rows())
            out.push_back(row->basicInf->newprice);
        return out;
    }
    static std::vector<int> range(int first, int count) {
        std::vector<int> out;
        out.resize(size_t(count));
        std::iota(out.begin(), out.end(), first);
        return out;
    }

    base::Ref<DDEQuotesData> dde = DDEQuotesData::create("WatchListTest", 0);
    std::shared_ptr<WatchListView> view = std::make_shared<WatchListView>();
};

TEST_F(WatchListTest, ASortFetchesOneBatchForThirtyRowsAndWaitsForBothAtSixty) {
    for (size_t count : {30u, 60u}) {
        SCOPED_TRACE(count);
        auto fresh = DDEQuotesData::create("WatchListTest" + std::to_string(count), 0);
        fresh->setDelegate(view);
        dde = fresh;
        view->updates.clear();
        quotes.clearReceived();
        dde->createMyStockDataArray(entries(count));
        ASSERT_EQ(rows().size(), count);
        EXPECT_FALSE(dde->MyStock_SortQuotes(4, 1).has_value());
        settle();
        auto sent = requests();
        ASSERT_EQ(sent.size(), count > 50 ? 2u : 1u);
        EXPECT_EQ(sent[0].size(), std::min<size_t>(count, 50));
        // The first batch of a long list draws nothing: one update, once all is sorted.
        ASSERT_EQ(view->updates.size(), 1u);
        EXPECT_TRUE(view->updates[0].scrollToTop);
        EXPECT_EQ(rows().size(), count);
        EXPECT_TRUE(ascending(prices()));
        EXPECT_GT(prices().front(), 0);
    }
}

TEST_F(WatchListTest, ScrollingAsksEachPageOnceAndOnlyPagesThatExist) {
    dde->createMyStockDataArray(entries(90));
    struct Case {
        double offset;
        std::vector<size_t> requested;
    };
    // Offsets at a row height of 40.
    for (const Case &c : {Case{500, {}}, Case{700, {1}}, Case{2700, {1, 3}}, Case{2700, {1, 3}}}) {
        dde->MyStock_PrereqNextPageQuotes(c.offset, 40);
        std::vector<size_t> requested;
        for (size_t p = 0; p < 4; ++p)
            if (dde->myStockQuotesData()->pageQuotesArray()[p]->isReq)
                requested.push_back(p);
        EXPECT_EQ(requested, c.requested) << c.offset;
    }
    settle();
    auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].front(), *rows()[25]->MarketCode);
    EXPECT_EQ(sent[1].size(), 15u);

    quotes.clearReceived();
    for (int page : {4, -1, 1, 3})
        dde->MyStock_ReqQuotesByPage(page);
    settle();
    EXPECT_TRUE(requests().empty());
    EXPECT_GT(rows()[25]->basicInf->newprice, 0);
}

TEST_F(WatchListTest, ASortSoonAfterAFetchSortsLocallyAndLaterFetchesAgain) {
    dde->createMyStockDataArray(entries(30));
    dde->MyStock_SortQuotes(4, 1);
    settle();
    quotes.clearReceived();
    advance(3);
    auto local = dde->MyStock_SortQuotes(4, 0);
    ASSERT_TRUE(local.has_value());
    EXPECT_EQ(local->size(), 30u);
    EXPECT_TRUE(descending(prices()));
    EXPECT_TRUE(requests().empty());
    advance(3);
    EXPECT_FALSE(dde->MyStock_SortQuotes(4, 1).has_value());
    settle();
    EXPECT_EQ(requests().size(), 1u);
}

TEST_F(WatchListTest, RowsTheServerDidNotReturnStayAfterTheSortedOnes) {
    dde->createMyStockDataArray(entries(10, {"SH999999"}));
    dde->MyStock_SortQuotes(4, 0);
    settle();
    ASSERT_EQ(rows().size(), 11u);
    EXPECT_EQ(rows().back()->MarketCode, "SH999999");
    std::vector<int32_t> sorted = prices();
    sorted.pop_back();
    EXPECT_TRUE(descending(sorted));
}

TEST_F(WatchListTest, ANewCodeIsStaleAtOnceAndTheVisibleRowsAreAskedAgain) {
    auto &data = *dde->myStockQuotesData();
    dde->createMyStockDataArray(entries(10));
    dde->MyStock_RereqMyStockQuotes();
    settle();
    ASSERT_EQ(view->updates.size(), 1u);
    EXPECT_TRUE(view->updates[0].scrollToTop);
    quotes.clearReceived();
    QuoteRecords shown;
    EXPECT_FALSE(data.reqCurScreenData(range(0, 10), shown, "WatchListTest"));
    EXPECT_EQ(shown.size(), 10u);
    EXPECT_TRUE(requests().empty());

    base::Array grown = entries(10, {"SZ000002"});
    dde->createMyStockDataArray(grown);
    EXPECT_EQ(rows().back()->basicInf->updateTick, 0);
    EXPECT_GT(rows().front()->basicInf->newprice, 0);
    shown.clear();
    EXPECT_TRUE(data.reqCurScreenData(range(0, 11), shown, "WatchListTest"));
    settle();
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].size(), 11u);
    EXPECT_GT(rows().back()->basicInf->newprice, 0);
    EXPECT_FALSE(view->updates.back().scrollToTop);
}

TEST_F(WatchListTest, APageReplyLandsOnItsRowsAfterARowWasInsertedAbove) {
    dde->createMyStockDataArray(entries(25));
    dde->MyStock_ReqQuotesByPage(0);
    base::Array shifted = entries(25);
    shifted.insert(0, base::Dict{{"MarketCode", "SZ000002"}});
    dde->createMyStockDataArray(shifted);
    settle();
    for (size_t i = 1; i < rows().size(); ++i) {
        EXPECT_EQ(rows()[i]->basicInf->code, *rows()[i]->MarketCode) << i;
        EXPECT_GT(rows()[i]->basicInf->newprice, 0) << i;
    }
}

TEST_F(WatchListTest, TheVisibleRefreshResumesAfterAReconnect) {
    dde->createMyStockDataArray(entries(10));
    peers::Fault silent;
    silent.type = 2955;
    silent.silent = true;
    quotes.addFault(silent);
    dde->MyStock_ReqCurScreenQuotes(range(0, 10));
    settle();
    dde->MyStock_ReqCurScreenQuotes(range(0, 10));
    settle();
    EXPECT_EQ(requests().size(), 1u);

    quotes.closeConnection();
    ASSERT_TRUE(pumpUntil([&] { return !db->isHQConnected(); }));
    ASSERT_TRUE(runUntil([&] { return db->isHQConnected(); }, 60));
    settle();
    quotes.clearReceived();
    dde->MyStock_ReqCurScreenQuotes(range(0, 10));
    settle();
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_GT(rows()[0]->basicInf->newprice, 0);
}

} // namespace
} // namespace datasources
