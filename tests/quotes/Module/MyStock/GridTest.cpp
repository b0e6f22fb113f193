#include "ScreenFixture.h"

#include "Golden.h"

#include "DataBase/NetData/StockDetailStatus.h"
#include "Module/CommonControls/KLine/KLine/KLineView.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include <algorithm>
#include <set>

namespace mystock {

namespace {

// The watch-list screen in its grid view types: the same market and group as the table's tests.
class MyStockGridTest : public MyStockScreenTest {
protected:
    MultiStocksShowView &grid() { return *screen->myMultiStockShowView(); }
    void chooseType(int index) { tapCentre(tabButton(index)); }
    void choosePeriod(int index) { tapCentre(circleButton(index)); }
    // The cell showing the row, if any.
    MultiStocksGridView *cellOf(int row) {
        for (const auto &cell : grid().cells())
            if (!cell->isHidden() && cell->gridID() == row)
                return cell.get();
        return nullptr;
    }
    int timerID() const { return DataBase::sharedDataBase()->IO_TimerCenter()->userID(); }
    // The codes of the grid entries [first, first + count).
    std::set<std::string> codes(size_t first, size_t count) const {
        std::set<std::string> out;
        for (size_t i = first; i < first + count; ++i)
            out.insert(codeAt(i));
        return out;
    }
    std::set<std::string> candleCodes(int period) {
        std::set<std::string> out;
        for (const auto &[code, asked] : candleRequests())
            if (asked == period)
                out.insert(code);
        return out;
    }
};

TEST_F(MyStockGridTest, ViewTypesShowTheTableOrTheGridAndRefreshUnderTheirOwnScreenID) {
    EXPECT_EQ(screen->myMultiStockShowView(), nullptr);
    struct Case {
        int button, viewType, rows, cols, timerID;
        bool circlesShown;
    } cases[] = {
        {2, 2, 2, 2, 201, true},  {3, 3, 2, 3, 202, true}, {0, 0, 0, 0, 200, false},
        {1, 1, 0, 0, 200, false}, {2, 2, 2, 2, 201, true},
    };
    for (const Case &c : cases) {
        chooseType(c.button);
        SCOPED_TRACE(c.button);
        EXPECT_EQ(screen->currentViewType(), c.viewType);
        EXPECT_EQ(timerID(), c.timerID);
        EXPECT_EQ(circleButton(0).isHidden(), !c.circlesShown);
        bool gridShown = c.rows > 0;
        EXPECT_EQ(screen->myStockTableView().isHidden(), gridShown);
        ASSERT_NE(screen->myMultiStockShowView(), nullptr);
        EXPECT_EQ(grid().isHidden(), !gridShown);
        if (!gridShown)
            continue;
        EXPECT_EQ(grid().rowNum(), c.rows);
        EXPECT_EQ(grid().colNum(), c.cols);
        EXPECT_EQ(grid().frame(), MyStockViewController::QuoteFrame);
        // Every cell of the page on show holds its row, in the order shown.
        for (int i = 0; i < c.rows * c.cols; ++i)
            EXPECT_EQ(grid().pages().codeAt(i), codeAt(size_t(i)));
        EXPECT_EQ(grid().pages().entryCount(), GroupSize);
    }
}

TEST_F(MyStockGridTest, PeriodTabsChartTheCellsOfThePageInTheirPeriod) {
    chooseType(2);
    const std::set<std::string> page0 = codes(0, 4);
    const int ktypes[] = {0, 3, 5, 7, 8, 9};
    for (int tab : {3, 1, 2, 4, 5, 0}) {
        SCOPED_TRACE(tab);
        advance(1);
        settle();
        minuteRequests();
        candleRequests();
        choosePeriod(tab);
        advance(1);
        settle();
        EXPECT_EQ(grid().ktype(), ktypes[tab]);
        EXPECT_EQ(circleButton(tab).isEnabled(), false);
        if (ktypes[tab] == 0) {
            EXPECT_TRUE(candleRequests().empty());
            EXPECT_EQ(minuteRequests(), 4u);
            continue;
        }
        EXPECT_EQ(candleCodes(ktypes[tab]), page0);
        // The replies reached the cells.
        for (int row = 0; row < 4; ++row) {
            MultiStocksGridView *cell = cellOf(row);
            ASSERT_TRUE(cell && cell->kLineView());
            EXPECT_EQ(cell->kLineView()->chart().ktype(), ktypes[tab]);
            ASSERT_TRUE(cell->kLineView()->chart().klineList());
            EXPECT_FALSE(cell->kLineView()->chart().klineList()->empty());
            EXPECT_FALSE(cell->kLineView()->isHidden());
        }
    }
}

TEST_F(MyStockGridTest, AFirstPageReplyChartsTheFirstPageInTheGridsPeriod) {
    chooseType(3);
    choosePeriod(3);
    // A stock added to the group shows on top at once, and page 0 is asked again a second later;
    // its reply charts the first six rows in day candles, not in intraday pictures.
    const peers::Security &extra = market.securities()[size_t(GroupSize)];
    ASSERT_TRUE(DataManager::sharedDataManager().AddNewStockToModel(screen->currentModelName(), "MyStockList",
                                                                    extra.name, extra.market + extra.code));
    app.runPending();
    EXPECT_EQ(grid().pages().codeAt(0), extra.market + extra.code);
    advance(0.5);
    settle();
    candleRequests();
    minuteRequests();
    codeRequests();
    advance(0.6);
    settle();
    EXPECT_EQ(codeRequests(), std::vector<size_t>{25});
    EXPECT_EQ(candleCodes(7), codes(0, 6));
    EXPECT_EQ(minuteRequests(), 0u);
}

TEST_F(MyStockGridTest, EditModeHidesThePeriodTabsOfAGridType) {
    chooseType(2);
    ui::Button &edit = screen->configBarView().editButton();
    screen->BtnEditMyStockAction(edit);
    EXPECT_TRUE(circleButton(0).isHidden());
    EXPECT_TRUE(tabButton(0).isHidden());
    screen->BtnEditMyStockAction(edit);
    EXPECT_FALSE(circleButton(0).isHidden());
    EXPECT_FALSE(tabButton(0).isHidden());
}

TEST_F(MyStockGridTest, PagingTheGridPrefetchesQuotePagesAheadOfIt) {
    // A four-cell grid reaches quote pages 1, 2, 3 at grid pages 3, 9, 15; a six-cell one at 2, 6, 10.
    struct Case {
        int pageSize, gridPage, quotePage;
    } cases[] = {
        {4, 2, -1}, {4, 3, 1}, {4, 8, 1}, {4, 9, 2}, {4, 14, 2}, {4, 15, 3}, {4, 29, 3},
        {6, 1, -1}, {6, 2, 1}, {6, 5, 1}, {6, 6, 2}, {6, 9, 2},  {6, 10, 3},
    };
    for (const Case &c : cases) {
        screen->quotesData().clearPageQuotesArray();
        screen->ReturnCurrentSelectedPageNum(c.gridPage, c.pageSize);
        for (int page = 0; page < MyStockQuotesData::PageCount; ++page)
            EXPECT_EQ(screen->quotesData().pageQuotesArray()[size_t(page)]->isReq, page == c.quotePage)
                << c.pageSize << " cells, page " << c.gridPage;
    }
    settle();

    // Swiping the four-cell grid to its fourth page asks quote page 1 once.
    screen->quotesData().clearPageQuotesArray();
    chooseType(2);
    codeRequests();
    for (int page : {3, 4}) {
        grid().contentView().setContentOffset({float(page) * grid().bounds().width(), 0});
        grid().scrollViewDidEndDecelerating();
        settle();
    }
    std::vector<size_t> asked = codeRequests();
    EXPECT_EQ(std::count(asked.begin(), asked.end(), MyStockQuotesData::PageSize), 1);
    EXPECT_EQ(grid().pages().currentPage(), 4);
}

TEST_F(MyStockGridTest, TheGridRefreshesItsPageOnlyWhileConnectedAndNotEditing) {
    chooseType(3);
    advance(6);
    codeRequests();
    advance(5.5);
    settle();
    // The six cells on show, and their panels show the fresh quotes.
    EXPECT_EQ(codeRequests(), std::vector<size_t>{6});
    const StockQuoteInf &first = *screen->myStockDataArray()->items[0]->basicInf;
    EXPECT_EQ(grid().cells()[0]->stockGrid().lastLabel->text(), first.FormatValue(4));

    ui::Button &edit = screen->configBarView().editButton();
    screen->BtnEditMyStockAction(edit);
    advance(11);
    EXPECT_TRUE(codeRequests().empty());
    screen->BtnEditMyStockAction(edit);
    settle();
    codeRequests();

    quotes.closeConnection();
    pumpUntil([&] { return !db->isHQConnected(); });
    screen->OnTimerCenterNotify(MyStockViewController::FirstTimerID + 2);
    settle();
    EXPECT_TRUE(codeRequests().empty());
}

TEST_F(MyStockGridTest, ACellOpensTheDetailScreenInTheGridsPeriod) {
    struct Case {
        int tab;
        bool kline;
        int ktype;
    } cases[] = {{3, true, 7}, {0, false, 0}, {1, true, 3}};
    chooseType(3);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tab);
        choosePeriod(c.tab);
        const base::Ref<StockDetailStatus> &status = DataBase::sharedDataBase()->IO_StockDetailStatus();
        status->setIsShowKLine(!c.kline);
        status->setShowKType(5);
        tapCentre(*grid().cells()[2]);
        ASSERT_EQ(nav->viewControllers().size(), 2u);
        auto detail = std::dynamic_pointer_cast<StockDetailViewController>(nav->viewControllers().back());
        ASSERT_TRUE(detail);
        EXPECT_EQ(detail->stockCode(), codeAt(2));
        EXPECT_EQ(detail->currentStocksIndex(), 2);
        EXPECT_EQ(detail->checkStocksArray()[2]["MarketCode"].stringValue(), codeAt(2));
        // The detail screen opens on the grid's chart.
        EXPECT_EQ(status->isShowKLine(), c.kline);
        ASSERT_NE(detail->curKLineView(), nullptr);
        EXPECT_EQ(detail->curKLineView()->isHidden(), !c.kline);
        if (c.kline)
            EXPECT_EQ(detail->klineView()->ktype(), c.ktype);
        nav->pop(false);
        settle();
    }
}

TEST_F(MyStockGridTest, AMemoryWarningDropsTheGridOnlyUnderATableType) {
    chooseType(2);
    screen->didReceiveMemoryWarning();
    EXPECT_NE(screen->myMultiStockShowView(), nullptr);
    chooseType(1);
    screen->didReceiveMemoryWarning();
    EXPECT_EQ(screen->myMultiStockShowView(), nullptr);
    chooseType(3);
    ASSERT_NE(screen->myMultiStockShowView(), nullptr);
    EXPECT_EQ(grid().pages().codeAt(5), codeAt(5));
}

// Out of the window a memory warning lets the view go; back in it, the screen is whole again.
TEST_F(MyStockGridTest, AViewLoadedAgainOpensInEditModeAndMakesItsGridAgain) {
    chooseType(3);
    tapCentre(screen->configBarView().editButton());
    app.window().setRootViewController(base::make<ui::ViewController>());
    app.runPending();
    ui::Application::shared().simulateMemoryWarning();
    ASSERT_FALSE(screen->isViewLoaded());
    EXPECT_EQ(screen->myMultiStockShowView(), nullptr);

    app.window().setRootViewController(nav);
    app.runPending();
    settle();
    EXPECT_FALSE(screen->configView().isHidden());
    EXPECT_EQ(screen->configBarView().editButton().currentTitle(), "完成");
    tapCentre(screen->configBarView().editButton());
    EXPECT_TRUE(screen->configView().isHidden());
    chooseType(3);
    ASSERT_NE(screen->myMultiStockShowView(), nullptr);
    EXPECT_EQ(grid().superview(), &screen->view());
    EXPECT_FALSE(grid().isHidden());
    ASSERT_NE(cellOf(5), nullptr);
    EXPECT_EQ(cellOf(5)->stockGrid().code, codeAt(5));
}

TEST_F(MyStockGridTest, GoldenGrids) {
    chooseType(2);
    choosePeriod(3);
    advance(1);
    settle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "mystock/grid-day"));
    chooseType(3);
    choosePeriod(0);
    advance(1);
    settle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "mystock/grid-today"));
}

} // namespace

} // namespace mystock
