#include "DecisionFixture.h"

namespace decision {

namespace {

base::Value period(int classID) {
    static const char *names[] = {"", "最近一天", "最近一周", "最近一月"};
    return base::Dict{{"MENU_ID", "MENU_SVFUND_" + std::to_string(classID)},
                      {"MENU_NAME", names[classID]},
                      {"CLASS_ID", std::to_string(classID)}};
}

class SVFundTest : public DecisionTest {
protected:
    SVFundTest() {
        forgetRequests();
        ranking =
            base::make<SVFundView>(DecisionViewController::TabFrame, DecisionViewController::SVFundIndex);
        ranking->delegate = owner;
        ranking->curBoardStocksTabIndex = DecisionViewController::SVFundBoardIndex;
        app.window().addSubview(ranking);
    }
    ~SVFundTest() override { ranking->removeFromSuperview(); }

    void choosePeriod(int classID) {
        ranking->ReturnSelectedMarket(period(classID));
        settle();
        app.runPending();
    }
    std::vector<int> columnIDs() {
        std::vector<int> ids;
        for (const base::Value &column : ranking->columnArray())
            ids.push_back(column["ColID"].isNull() ? -1 : int(column["ColID"].intValue()));
        return ids;
    }

    base::Ref<SVFundView> ranking;
};

TEST_F(SVFundTest, TheRankingAsksForTheFirstTenBoardsByDayNetFlowAndEachPeriodHasItsColumns) {
    settle();
    std::vector<ListRequest> asked = listRequests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), (ListRequest{105, SVFundView::ExtendedFieldsFlag, 17, 0, 0, 10}));
    EXPECT_EQ(ranking->currentSelMarketTitle(), "最近一天");
    ASSERT_TRUE(waitForRows(*ranking, 8)); // every board of the market

    struct Case {
        int classID, sortID;
        std::vector<int> ids;
    } cases[] = {{2, 18, {-1, 9, 4, 5, 537, 538, 529, 530, 531, 6}},
                 {3, 19, {-1, 9, 4, 7, 539, 540, 532, 533, 534, 8}},
                 {1, 17, {-1, 9, 4, 1, 535, 536, 527, 528, 3, 21}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.classID);
        forgetRequests();
        choosePeriod(c.classID);
        EXPECT_EQ(ranking->curTitleClass(), c.classID);
        EXPECT_EQ(columnIDs(), c.ids);
        asked = listRequests();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0], (ListRequest{105, SVFundView::ExtendedFieldsFlag, c.sortID, 0, 0, 10}));
        // The net flow carries the period's ranking and is the only column to sort by.
        base::Value net = ranking->columnArray()[4];
        EXPECT_EQ(net["ColName"].stringValue(), "净额 ");
        EXPECT_EQ(net["SortID"].intValue(), c.sortID);
        for (size_t i = 0; i < ranking->columnArray().size(); ++i)
            EXPECT_EQ(ranking->columnArray()[i]["Enabled"].boolValue(), i == 4) << i;
    }

    // The period shown again: the same header, a fresh first page.
    GeneralColumn *header = &ranking->titleColumn();
    forgetRequests();
    choosePeriod(1);
    EXPECT_EQ(&ranking->titleColumn(), header);
    EXPECT_EQ(listRequests().size(), 1u);
}

TEST_F(SVFundTest, MoneyInIsRedMoneyOutGreenAndTheOtherColumnsGoBySign) {
    ASSERT_TRUE(waitForRows(*ranking, 1));
    auto board = [](int32_t in, int32_t out, int32_t rise7) {
        auto r = base::make<StockQuoteInf>();
        r->code = "SH880001";
        r->name = "板块";
        r->closeprice = 1000;
        r->newprice = 1010;
        r->fundIn = r->fundIn5 = in;
        r->fundOut = r->fundOut5 = out;
        r->riseRate7 = rise7;
        return r;
    };
    auto rows = base::make<StockQuoteList>();
    rows->items = {board(500, 200, 30), board(0, 0, 0), board(200, 500, -30)};
    choosePeriod(2);
    ranking->UpdateTableDataSource(rows, false);
    struct Case {
        int row, rise, net;
    } cases[] = {{0, 1, 1}, {1, 0, 0}, {2, -1, -1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(colourOf(*ranking, c.row, 3), c.rise);
        EXPECT_EQ(colourOf(*ranking, c.row, 4), c.net);
        EXPECT_EQ(colourOf(*ranking, c.row, 6), 1);
        EXPECT_EQ(colourOf(*ranking, c.row, 7), -1);
    }
}

TEST_F(SVFundTest, OnlyTheNetFlowSortsOtherCaptionsOnlyMoveTheMark) {
    ASSERT_TRUE(waitForRows(*ranking, 1));
    forgetRequests();
    ranking->ClickHeaderAction(*ranking->titleColumn().headerAt(3), 3, 1);
    settle();
    EXPECT_TRUE(listRequests().empty());
    EXPECT_FALSE(ranking->titleColumn().headerAt(3)->headerIcon().isHidden());
    ranking->ClickHeaderAction(*ranking->titleColumn().headerAt(4), 4, 1);
    settle();
    EXPECT_EQ(listRequests(),
              (std::vector<ListRequest>{{105, SVFundView::ExtendedFieldsFlag, 17, 1, 0, 10}}));
}

TEST_F(SVFundTest, ABoardDrillsInWithItsMembersFromNumberTwoAndRefreshesUnderItsOwnIndex) {
    ASSERT_TRUE(waitForRows(*ranking, 3));
    base::Ref<StockQuoteInf> board = ranking->recordAt(0);

    // The right-edge button opens the board itself.
    ranking->ReturnSelectedCell(nullptr, {0, 0});
    ASSERT_EQ(owner->opened.size(), 1u);
    EXPECT_EQ(owner->opened[0].code, board->code);
    EXPECT_FALSE(ranking->isBoardStocksShowing());

    forgetRequests();
    ranking->didSelectRow({0, 0});
    settle();
    ASSERT_TRUE(ranking->isBoardStocksShowing());
    EXPECT_EQ(owner->events, std::vector<std::string>{"enter " + board->code});
    std::vector<ListRequest> asked = listRequests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0], (ListRequest{board->chengfenID, SVFundView::ExtendedFieldsFlag, 17, 0, 0, 10}));
    SVFundBoardStocksView &stocks = *ranking->boardStocksModelView();
    ASSERT_TRUE(runUntil([&] { return stocks.rowCount() > 1 && stocks.BIBasicInf(); }, 10));
    EXPECT_EQ(rowTexts(stocks, 1)[0], "2");
    EXPECT_EQ(rowTexts(stocks, 0)[1], board->name + " " + board->code);

    forgetRequests();
    ranking->NotifyTimeEvent(DecisionViewController::SVFundIndex);
    settle();
    EXPECT_TRUE(listRequests().empty());
    ranking->NotifyTimeEvent(DecisionViewController::SVFundBoardIndex);
    settle();
    asked = listRequests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].start, 0);
    EXPECT_EQ(asked[0].count, 10);
    EXPECT_EQ(codeRequests(), std::vector<std::vector<std::string>>{{board->code}});

    ranking->BackAction(ranking->configMarketBarView().backButton());
    EXPECT_FALSE(ranking->isBoardStocksShowing());
    EXPECT_FALSE(ranking->ddeTableView().isHidden());
    EXPECT_EQ(owner->events.back(), "back");
}

} // namespace

} // namespace decision
