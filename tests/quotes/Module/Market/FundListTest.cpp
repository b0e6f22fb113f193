#include "MarketFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/StockSearchRule.h"

#include "Common/Util.h"
#include "DataBase/NetData/FundQuoteInf.h"

namespace market {

namespace {

class FundListTest : public MarketScreenTest {
protected:
    void SetUp() override {
        show();
        forgetRequests();
        tapView(*screen->switchTabBarView()->buttonAt(MarketViewController::FundTab));
        settle();
        app.runPending();
        table().layoutIfNeeded();
    }
    FundModelView &funds() { return *screen->fundModelView(); }
    ui::TableView &table() { return *funds().curTableView(); }
    const MarketQuotePack &pack() { return *funds().quotesData().pack(); }
    size_t fundPagesAsked() { return quotes.received(peers::QuoteServer::OpenFundListType).size(); }
    void choose(const char *name, int classID) {
        funds().ReturnSelectedMarket(base::Dict{{"MENU_NAME", name}, {"CLASS_ID", classID}});
    }
    void tapHeader(int column) {
        table().layoutIfNeeded();
        tapView(*funds().titleColumn().headerAt(column));
        settle();
        app.runPending();
    }
    base::Ref<GeneralCell> row(int r) {
        return std::dynamic_pointer_cast<GeneralCell>(funds().cellForRow(table(), {0, r}));
    }
    base::Ref<gfx::Color> colour(GeneralCell &cell, int column) {
        return dynamic_cast<ui::Label &>(*cell.columnAt(column)).textColor();
    }
};

TEST_F(FundListTest, StartsOnShanghaiFundsWithTheTwelveExchangeColumnsByRise) {
    EXPECT_EQ(funds().configMarketBarView().leftButton().titleForState(ui::Normal), "上证基金");
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{FundModelView::ClassID, 1, 0, 0, 30}}));
    EXPECT_EQ(funds().curTitleClass(), FundModelView::ExchangeFunds);
    EXPECT_EQ(funds().titleColumn().columnNum(), 12);
    EXPECT_FALSE(funds().titleColumn().headerAt(3)->headerIcon().isHidden());
    ASSERT_GT(funds().rowCount(), 0);
    EXPECT_EQ(row(0)->columnNum(), 12);
}

// Each market shows the columns of its kind, empty until its first page; a change of kind starts on
// the kind's first value column, descending in its own order code, with one request.
TEST_F(FundListTest, AMarketShowsTheColumnsOfItsKindAndStartsOnItsFirstValueColumn) {
    tapHeader(5); // the exchange list by turnover
    struct Case {
        const char *name;
        int classID, titleClass, columns, sortType;
    } cases[] = {
        {"货币型基金", 2305, FundModelView::MoneyFunds, 8, 1},
        {"股票型基金", 2301, FundModelView::OpenFunds, 12, 1},
        {"全部开放式", 2300, FundModelView::OpenFunds, 12, 1},
        {"上证基金", 14, FundModelView::ExchangeFunds, 12, 0},
        {"货币型基金", 2305, FundModelView::MoneyFunds, 8, 1},
    };
    for (const Case &c : cases) {
        size_t pagesBefore = fundPagesAsked();
        forgetRequests();
        choose(c.name, c.classID);
        EXPECT_EQ(funds().rowCount(), 0) << c.name;
        EXPECT_EQ(funds().curTitleClass(), c.titleClass) << c.name;
        EXPECT_EQ(funds().titleColumn().columnNum(), c.columns) << c.name;
        EXPECT_FALSE(funds().titleColumn().headerAt(3)->headerIcon().isHidden()) << c.name;
        EXPECT_EQ(pack().sortID, 1) << c.name;
        EXPECT_EQ(pack().sortType, c.sortType) << c.name;
        settle();
        app.runPending();
        size_t sent = fundPagesAsked() - pagesBefore + listRequests().size();
        EXPECT_EQ(sent, 1u) << c.name;
        EXPECT_GT(funds().rowCount(), 0) << c.name;
        table().layoutIfNeeded();
        EXPECT_EQ(row(0)->columnNum(), c.columns) << c.name;
    }
}

TEST_F(FundListTest, ASecondMarketOfTheSameKindKeepsTheHeader) {
    choose("股票型基金", 2301);
    settle();
    GeneralColumn *header = &funds().titleColumn();
    choose("债券型基金", 2302);
    settle();
    EXPECT_EQ(&funds().titleColumn(), header);
    EXPECT_EQ(pack().classID, 2302);
}

TEST_F(FundListTest, OpenEndAndMoneyColumnsSortByTheirOwnIdsWithInvertedOrderCodes) {
    struct Step {
        int classID, column, sortID, sortType;
        bool sends;
    } steps[] = {
        {2301, 3, 1, 1, false}, // "最新净值 " once: its start sort is in force
        {2301, 3, 1, 0, true},  // again: reversed
        {2301, 8, 3, 1, true},  // "日增长率 "
        {2301, 2, 3, 1, false}, // a date column
        {2301, 6, 3, 1, false}, // a prior column
        {2305, 4, 2, 1, true},  // "七日收益率 "
        {2305, 5, 2, 1, false}, // the prior date
    };
    int shown = FundModelView::ClassID;
    for (const Step &step : steps) {
        if (step.classID != shown) {
            choose("基金", step.classID);
            settle();
            shown = step.classID;
        }
        size_t before = fundPagesAsked();
        tapHeader(step.column);
        EXPECT_EQ(pack().sortID, step.sortID) << step.column;
        EXPECT_EQ(pack().sortType, step.sortType) << step.column;
        EXPECT_EQ(fundPagesAsked() > before, step.sends) << step.column;
    }
}

TEST_F(FundListTest, OpenEndAndMoneyListsAreNotRefreshedOnTheTimer) {
    EXPECT_TRUE(funds().NotifyTimeEvent());
    for (int classID : {2301, 2305}) {
        choose("基金", classID);
        settle();
        app.runPending();
        table().layoutIfNeeded();
        ASSERT_GT(funds().rowCount(), 0);
        size_t before = fundPagesAsked();
        forgetRequests();
        EXPECT_FALSE(funds().NotifyTimeEvent()) << classID;
        settle();
        EXPECT_EQ(fundPagesAsked(), before) << classID;
        EXPECT_TRUE(listRequests().empty()) << classID;
    }
}

TEST_F(FundListTest, OpenEndRowsColourFallsGreenAndShowCodesWithoutPrefix) {
    choose("股票型基金", 2301);
    settle();
    app.runPending();
    table().layoutIfNeeded();
    ASSERT_GT(funds().rowCount(), 0);
    for (int r = 0; r < funds().rowCount(); ++r) {
        auto fund = std::dynamic_pointer_cast<OpenFundQuoteInf>(funds().objectAt(r));
        ASSERT_NE(fund, nullptr);
        base::Ref<GeneralCell> held = row(r);
        GeneralCell &cell = *held;
        if (fund->lastPrice < fund->priorLastPrice)
            EXPECT_EQ(*colour(cell, 3), *gfx::Color::rgba(0, 1, 0)) << fund->code;
        if (fund->yearIncRate < 0)
            EXPECT_EQ(*colour(cell, 11), *gfx::Color::rgba(0, 1, 0)) << fund->code;
    }
}

// The funds of the open-end and money pages are in the code tables: the search finds each by its
// code, and a row opens a detail screen that names its fund.
TEST_F(FundListTest, ListedFundsAreFoundByTheSearchAndOpenTheirOwnDetail) {
    for (int classID : {2301, 2305}) {
        SCOPED_TRACE(classID);
        choose("基金", classID);
        settle();
        app.runPending();
        table().layoutIfNeeded();
        ASSERT_GT(funds().rowCount(), 0);
        std::vector<std::pair<std::string, std::string>> listed;
        for (int r = 0; r < funds().rowCount(); ++r) {
            base::Ref<base::Object> row = funds().objectAt(r);
            if (auto open = std::dynamic_pointer_cast<OpenFundQuoteInf>(row))
                listed.emplace_back(open->code, open->name);
            else if (auto money = std::dynamic_pointer_cast<CurrencyFundQuoteInf>(row))
                listed.emplace_back(money->code, money->name);
        }
        ASSERT_EQ(int(listed.size()), funds().rowCount());
        for (const auto &[code, name] : listed) {
            base::Array found =
                StockSearchRule::search(Util::getNumCode(code), StockSearchRule::NavigationSearch);
            bool named = std::any_of(found.begin(), found.end(), [&](const base::Value &hit) {
                return hit["code"].stringValue() == code && hit["name"].stringValue() == name;
            });
            EXPECT_TRUE(named) << code;
        }

        tapView(*table().cellForRow({0, 0}));
        settle();
        app.runPending();
        auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
        ASSERT_NE(detail, nullptr);
        EXPECT_EQ(detail->stockCode(), listed[0].first);
        EXPECT_EQ(detail->stockInfoShowView()->nameLabel().text(), listed[0].second);
        nav->pop(false);
        settle();
    }
}

} // namespace

} // namespace market
