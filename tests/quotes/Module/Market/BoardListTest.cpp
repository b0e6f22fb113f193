#include "MarketFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/Market/BoardModelCell.h"

#include "Common/StylePool.h"
#include "Common/TimeFunc.h"
#include "Common/Util.h"

namespace market {

namespace {

class BoardListTest : public MarketScreenTest {
protected:
    void SetUp() override {
        show();
        forgetRequests();
        tapView(*screen->switchTabBarView()->buttonAt(MarketViewController::BoardTab));
        settle();
        app.runPending();
        table().layoutIfNeeded();
    }
    BoardModelView &boards() { return *screen->boardModelView(); }
    ui::TableView &table() { return boards().boardTableView(); }
    const base::Ref<TimerCenter> &timer() { return db->IO_TimerCenter(); }
    void switchMode() {
        tapView(boards().configMarketBarView().changeModeButton());
        app.runPending();
    }
    // Drills into the board of that row and lets its first replies come.
    BoardStocksModelView &drillInto(int row) {
        tapView(*table().cellForRow({0, row}));
        settle();
        app.runPending();
        BoardStocksModelView &stocks = *boards().boardStocksModelView();
        stocks.curTableView()->layoutIfNeeded();
        return stocks;
    }
    StockDetailViewController *detailOnTop() { return dynamic_cast<StockDetailViewController *>(nav->top()); }
};

TEST_F(BoardListTest, TheRankingAsksTheBoardsByRiseDescendingAndFillsBothRowStyles) {
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{BoardModelView::ClassID, 1, 0, 0, 30}}));
    ASSERT_GT(boards().rowCount(), 5);
    for (bool columns : {false, true}) {
        if (columns)
            switchMode();
        table().layoutIfNeeded();
        for (int row = 0; row < boards().rowCount(); ++row) {
            const StockQuoteInf &board = *boards().recordAt(row);
            base::Ref<ui::TableCell> cell = table().cellForRow({0, row});
            if (!cell)
                continue;
            if (columns) {
                auto *general = dynamic_cast<GeneralCell *>(cell.get());
                ASSERT_NE(general, nullptr);
                EXPECT_NE(general->accButton(), nullptr);
                continue;
            }
            auto *trend = dynamic_cast<BoardModelCell *>(cell.get());
            ASSERT_NE(trend, nullptr);
            EXPECT_EQ(trend->StockNameLabel().text(), board.name);
            EXPECT_EQ(trend->SNLabel().text(), Util::FormatSerialNumberVertical(row + 1));
            EXPECT_TRUE(trend->infoButton().isHidden());
        }
    }
}

TEST_F(BoardListTest, ABoardWithoutLatestPriceShowsTheWhiteTagAndWhiteColumns) {
    base::Ref<StockQuoteInf> board = boards().recordAt(0);
    board->newprice = 0;
    table().reloadData();
    table().layoutIfNeeded();
    auto *trend = dynamic_cast<BoardModelCell *>(table().cellForRow({0, 0}).get());
    ASSERT_NE(trend, nullptr);
    EXPECT_EQ(trend->upDownTagImageView().image(), gfx::Image::named("white_tag.png"));
    EXPECT_EQ(trend->upDownArrowImageView().image(), nullptr);
    switchMode();
    table().layoutIfNeeded();
    auto columns = std::dynamic_pointer_cast<GeneralCell>(table().cellForRow({0, 0}));
    ASSERT_NE(columns, nullptr);
    for (int column : {2, 3, 4})
        EXPECT_EQ(*dynamic_cast<ui::Label &>(*columns->columnAt(column)).textColor(), *gfx::Color::white())
            << column;
}

TEST_F(BoardListTest, ChoosingTheAmountInTheThirdValueCellShowsItInEveryRowAndSortsByIt) {
    boards().defaultColumn().ReturnCurrentSelectedFieldName("成交额", 3, 4);
    settle();
    app.runPending();
    table().layoutIfNeeded();
    EXPECT_EQ(listRequests().back(), (ListRequest{BoardModelView::ClassID, 3, 0, 0, 30}));
    EXPECT_EQ(boards().RankFields()[2], 3);
    for (const base::Ref<ui::TableCell> &cell : table().visibleCells()) {
        auto &row = dynamic_cast<BoardModelCell &>(*cell);
        EXPECT_EQ(row.valueLabel(2).text(), boards().recordAt(row.indexPath->row)->FormatValue(3));
    }
}

TEST_F(BoardListTest, ADrillDownShowsTheMembersUnderTheBoardAndGoingBackRestoresTheRanking) {
    base::Ref<StockQuoteInf> board = boards().recordAt(1);
    forgetRequests();
    BoardStocksModelView &stocks = drillInto(1);
    BoardModelConfigBarView &bar = boards().configMarketBarView();
    EXPECT_TRUE(boards().isDrilledDown());
    EXPECT_FALSE(bar.backButton().isHidden());
    EXPECT_EQ(bar.boardNameLabel().text(), board->name);
    EXPECT_EQ(bar.boardRangeLabel().text(), board->FormatValue(1));
    EXPECT_EQ(bar.boardRangeLabel().textColor(),
              StylePool::Instance().getPriceColor(board->newprice - board->closeprice));
    EXPECT_EQ(timer()->userID(), 307);
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{board->chengfenID, 1, 0, 0, 30}}));
    EXPECT_EQ(codeRequests(), (std::vector<std::vector<std::string>>{{board->code}}));
    std::vector<std::string> minutes = minuteRequests();
    EXPECT_NE(std::find(minutes.begin(), minutes.end(), board->code), minutes.end());
    ASSERT_NE(stocks.BIBasicInf(), nullptr);
    EXPECT_EQ(stocks.BIBasicInf()->code, board->code);
    EXPECT_EQ(stocks.numberOfRows(0), stocks.rowCount() + 1);
    auto *first = dynamic_cast<StockModelCell *>(stocks.curTableView()->cellForRow({0, 0}).get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->StockNameLabel().text(), board->name);

    tapView(bar.backButton());
    app.runPending();
    EXPECT_FALSE(boards().isDrilledDown());
    EXPECT_EQ(boards().boardStocksModelView(), nullptr);
    EXPECT_TRUE(bar.backButton().isHidden());
    EXPECT_TRUE(bar.boardNameLabel().isHidden());
    EXPECT_TRUE(bar.boardRangeLabel().isHidden());
    EXPECT_EQ(timer()->userID(), 301);
}

TEST_F(BoardListTest, TheModeFollowsIntoADrillDownAtOnceAndBackToTheRanking) {
    BoardStocksModelView &stocks = drillInto(0);
    EXPECT_EQ(stocks.modeType, 0);
    switchMode();
    EXPECT_EQ(stocks.modeType, 1);
    stocks.curTableView()->layoutIfNeeded();
    EXPECT_NE(dynamic_cast<GeneralCell *>(stocks.curTableView()->cellForRow({0, 1}).get()), nullptr);
    tapView(boards().configMarketBarView().backButton());
    app.runPending();
    table().layoutIfNeeded();
    EXPECT_NE(dynamic_cast<GeneralCell *>(table().cellForRow({0, 0}).get()), nullptr);
}

TEST_F(BoardListTest, ThePictureOrTheRightEdgeButtonOpensTheBoardItselfWithItsMemberListID) {
    for (bool columns : {false, true}) {
        if (columns)
            switchMode();
        table().layoutIfNeeded();
        base::Ref<ui::TableCell> cell = table().cellForRow({0, 2});
        ASSERT_NE(cell, nullptr);
        ui::View *target =
            columns ? static_cast<ui::View *>(dynamic_cast<GeneralCell &>(*cell).accButton())
                    : static_cast<ui::View *>(dynamic_cast<BoardModelCell &>(*cell).miniImageView());
        tapView(*target);
        app.advance(1);
        StockDetailViewController *detail = detailOnTop();
        ASSERT_NE(detail, nullptr) << (columns ? "column rows" : "trend rows");
        EXPECT_FALSE(boards().isDrilledDown());
        EXPECT_EQ(detail->stockCode(), boards().recordAt(2)->code);
        EXPECT_EQ(detail->currentBoardID(), boards().recordAt(2)->chengfenID);
        EXPECT_NE(detail->currentBoardID(), 0);
        EXPECT_EQ(detail->currentStocksIndex(), 2);
        nav->pop(false);
        settle();
    }
}

TEST_F(BoardListTest, ATabChosenFromOutsideLeavesTheDrillDown) {
    drillInto(0);
    screen->SetCurrentModuleAtIndex(MarketViewController::BoardTab);
    settle();
    EXPECT_FALSE(boards().isDrilledDown());
    EXPECT_EQ(boards().boardStocksModelView(), nullptr);
    EXPECT_TRUE(boards().configMarketBarView().backButton().isHidden());
    EXPECT_EQ(timer()->userID(), 301);
}

TEST_F(BoardListTest, ATapBeyondTheRowsHeldDrillsIntoNothingAndOpensNothing) {
    int beyond = boards().rowCount() + 3;
    boards().didSelectRow({0, beyond});
    boards().ReturnSelectedCell(static_cast<ui::Button *>(nullptr), {0, beyond});
    app.runPending();
    EXPECT_FALSE(boards().isDrilledDown());
    EXPECT_EQ(detailOnTop(), nullptr);
}

TEST_F(BoardListTest, OnTheTimerADrilledDownListRefreshesTheVisibleMembersAndTheBoard) {
    base::Ref<StockQuoteInf> board = boards().recordAt(0);
    BoardStocksModelView &stocks = drillInto(0);
    std::vector<ui::IndexPath> visible = stocks.curTableView()->indexPathsForVisibleRows();
    ASSERT_GT(visible.size(), 2u);
    ASSERT_EQ(visible.front().row, 0);
    forgetRequests();
    EXPECT_TRUE(boards().NotifyTimeEvent());
    settle();
    int members = std::min(int(visible.size()) - 1, stocks.rowCount());
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{board->chengfenID, 1, 0, 0, members}}));
    EXPECT_EQ(codeRequests(), (std::vector<std::vector<std::string>>{{board->code}}));
}

} // namespace

} // namespace market
