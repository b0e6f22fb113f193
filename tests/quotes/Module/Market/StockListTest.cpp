#include "MarketFixture.h"

#include "Common/TimeFunc.h"

namespace market {

namespace {

class StockListTest : public MarketScreenTest {
protected:
    void SetUp() override {
        show();
        forgetRequests();
        tapView(*screen->switchTabBarView()->buttonAt(MarketViewController::StockTab));
        settle();
        app.runPending();
    }
    ui::TableView &table() { return *stockList().curTableView(); }
    // Replaces the rows the data source holds with `count` made-up records, all fresh.
    void holdRows(int count) {
        const base::Ref<MarketQuotePack> &pack = stockList().quotesData().pack();
        std::vector<base::Ref<StockQuoteInf>> &items = pack->rspArray()->items;
        items.clear();
        double now = TimeFunc::getCurTick();
        for (int i = 0; i < count; ++i) {
            auto record = base::make<StockQuoteInf>();
            record->code = "SH6" + std::to_string(10000 + i);
            record->name = "股" + std::to_string(i);
            record->updateTick = now;
            items.push_back(record);
        }
        pack->totalCount = count;
        stockList().UpdateTableDataSource(pack->rspArray(), false);
        app.runPending();
    }
    void showFrom(int row) { scrollTo(table(), table().rectForRow({0, row}).y()); }
};

TEST_F(StockListTest, TheFirstPageComesRankedByRiseThenItsFirstRowsCharts) {
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 1, 0, 0, 30}}));
    EXPECT_EQ(stockReplyTags().front(), 301);
    ASSERT_EQ(stockList().rowCount(), 30);
    std::vector<std::string> firstTen;
    for (int i = 0; i < 10; ++i)
        firstTen.push_back(stockList().recordAt(i)->code);
    EXPECT_EQ(minuteRequests(), firstTen);
}

TEST_F(StockListTest, TrimmingKeepsAHundredRowsBelowTheFirstVisibleInStepsOfFifty) {
    struct Case {
        int held, first, kept;
    } cases[] = {{95, 0, 95}, {160, 10, 110}, {149, 0, 149}};
    for (const Case &c : cases) {
        holdRows(c.held);
        showFrom(c.first);
        EXPECT_EQ(stockList().rowCount(), c.kept) << c.held << " rows from " << c.first;
    }
}

TEST_F(StockListTest, StaleVisibleRowsAreRefreshedInOneRequestAndFreshOnesGetTheirCharts) {
    stockList().reLayout({0, 35, 1024, 1000}); // rows 10 to 22 in view
    holdRows(60);
    forgetRequests();
    const base::Ref<MarketQuotePack> &pack = stockList().quotesData().pack();
    pack->rspArray()->items[12]->updateTick = 0;
    pack->rspArray()->items[18]->updateTick = 0;
    showFrom(10);
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 1, 0, 12, 7}}));
    EXPECT_EQ(stockReplyTags().front(), 302);
    // The pass asks no charts; the refresh's reply asks those of the rows it refreshed.
    std::vector<std::string> refreshed;
    for (int row = 12; row <= 18; ++row) {
        EXPECT_GT(stockList().recordAt(row)->updateTick, 0) << row;
        refreshed.push_back(stockList().recordAt(row)->code);
    }
    EXPECT_EQ(minuteRequests(), refreshed);

    forgetRequests();
    showFrom(11);
    EXPECT_TRUE(listRequests().empty());
    EXPECT_FALSE(minuteRequests().empty());
}

TEST_F(StockListTest, NothingVisibleNothingRefreshedAndAnUnpagedListNeverPages) {
    holdRows(0);
    forgetRequests();
    EXPECT_FALSE(stockList().NotifyTimeEvent());
    EXPECT_TRUE(listRequests().empty());

    stockList().isPagesMode = false;
    holdRows(40);
    stockList().quotesData().pack()->totalCount = 400;
    forgetRequests();
    showFrom(30);
    EXPECT_TRUE(listRequests().empty());
    EXPECT_EQ(stockList().rowCount(), 40);
}

TEST_F(StockListTest, SortColumnsAreFoundByFieldAndARepeatedSortSendsNothing) {
    base::Array columns = StockModelView::makeColumnArray();
    EXPECT_EQ(MarketTableBaseView::getSortColumnIndex(columns, 4), 2);
    EXPECT_EQ(MarketTableBaseView::getSortColumnIndex(columns, 0), -1); // "No." has no field
    EXPECT_EQ(MarketTableBaseView::getSortColumnIndex(columns, 777), -1);
    forgetRequests();
    stockList().resetQuotesSortId(1, 0);
    settle();
    EXPECT_TRUE(listRequests().empty());
}

} // namespace

} // namespace market
