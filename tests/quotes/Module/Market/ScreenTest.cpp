#include "MarketFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "Module/StockDataBaseMgnt/MLineNetData.h"
#include "Module/StockDataBaseMgnt/Requesters.h"

namespace market {

namespace {

class ScreenTest : public MarketScreenTest {
protected:
    void SetUp() override { show(); }
    void chooseTab(int tab) {
        tapView(*screen->switchTabBarView()->buttonAt(tab));
        settle();
        app.runPending();
    }
    const base::Ref<TimerCenter> &timer() { return db->IO_TimerCenter(); }
};

TEST_F(ScreenTest, AListIsMadeOnFirstChoiceAndLaterBroughtBackWithItsCountDownRestarted) {
    forgetRequests();
    chooseTab(MarketViewController::StockTab);
    StockModelView *first = screen->stockModelView();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(listRequests().size(), 1u);
    EXPECT_EQ(screen->currentSelectedView(), first);
    EXPECT_TRUE(screen->indexModelView()->isHidden());

    chooseTab(0);
    EXPECT_TRUE(first->isHidden());
    advance(3);
    forgetRequests();
    chooseTab(MarketViewController::StockTab);
    EXPECT_EQ(screen->stockModelView(), first);
    EXPECT_TRUE(listRequests().empty());
    EXPECT_EQ(timer()->userID(), 302);
    EXPECT_DOUBLE_EQ(timer()->countDown(), MarketViewController::RefreshPeriod);

    // Every tab has its list, shown alone.
    for (int tab = 0; tab < MarketViewController::TabCount; ++tab) {
        chooseTab(tab);
        ASSERT_NE(screen->currentSelectedView(), nullptr) << tab;
        ui::View *expected = tab == 0 ? static_cast<ui::View *>(screen->indexModelView())
                                      : static_cast<ui::View *>(screen->getMarketTable(tab));
        EXPECT_EQ(screen->currentSelectedView(), expected) << tab;
        int shown = 0;
        for (const auto &subview : screen->view().subviews())
            shown += dynamic_cast<MarketTableBaseView *>(subview.get()) && !subview->isHidden();
        EXPECT_EQ(shown, tab == 0 ? 0 : 1) << tab;
    }
}

TEST_F(ScreenTest, TheHighlightSlidesToTheChosenTab) {
    SwitchTabBarView &strip = *screen->switchTabBarView();
    chooseTab(3);
    app.advance(1);
    EXPECT_EQ(strip.selIndex(), 1004);
    EXPECT_EQ(strip.buttonImage().frame(), strip.buttonAt(3)->frame());
    strip.layoutIfNeeded();
    EXPECT_EQ(*strip.buttonAt(3)->titleLabel().textColor(), *gfx::Color::white());
    EXPECT_EQ(*strip.buttonAt(0)->titleLabel().textColor(), *gfx::Color::gray());
    screen->SetCurrentModuleAtIndex(1);
    app.advance(1);
    EXPECT_EQ(strip.selIndex(), 1002);
    EXPECT_EQ(strip.buttonImage().frame(), strip.buttonAt(1)->frame());
}

TEST_F(ScreenTest, TicksRefreshOnlyTheirOwnIdsAndOnlyWhileConnected) {
    chooseTab(MarketViewController::StockTab);
    struct Tick {
        int id;
        bool refreshes;
    } ticks[] = {{299, false}, {308, false}, {300, true}, {307, true}};
    for (const Tick &tick : ticks) {
        forgetRequests();
        screen->OnTimerCenterNotify(tick.id);
        settle();
        EXPECT_EQ(!listRequests().empty(), tick.refreshes) << tick.id;
    }
    quotes.closeConnection();
    pumpUntil([&] { return !db->isHQConnected(); });
    forgetRequests();
    screen->OnTimerCenterNotify(302);
    settle();
    EXPECT_TRUE(listRequests().empty());
}

TEST_F(ScreenTest, AReturningConnectionIdlesChartRequestsAndActivationClearsThem) {
    chooseTab(MarketViewController::StockTab);
    for (MLineNetData *lib : {screen->stockModelView()->mviews().minLineLib().get(),
                              screen->indexModelView()->mviews().minLineLib().get()}) {
        ASSERT_FALSE(lib->m_reqMinLineList().empty());
        for (const auto &pack : lib->m_reqMinLineList())
            pack->isIdle = false;
    }
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"HQConnectStatus", true}});
    for (MLineNetData *lib : {screen->stockModelView()->mviews().minLineLib().get(),
                              screen->indexModelView()->mviews().minLineLib().get()})
        for (const auto &pack : lib->m_reqMinLineList())
            EXPECT_TRUE(pack->isIdle);
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"AppActiveState", "AppDidBecomeActive"}});
    EXPECT_TRUE(screen->stockModelView()->mviews().minLineLib()->m_reqMinLineList().empty());
    EXPECT_TRUE(screen->indexModelView()->mviews().minLineLib()->m_reqMinLineList().empty());
}

TEST_F(ScreenTest, AMemoryWarningKeepsOnlyTheShownListAndADroppedListsReplyReachesNobody) {
    chooseTab(MarketViewController::StockTab);
    base::Weak<StockModelView> dropped = screen->stockModelView()->weakSelf<StockModelView>();
    chooseTab(0);
    screen->stockModelView()->NotifyTimeEvent(); // a refresh on its way
    screen->didReceiveMemoryWarning();
    EXPECT_TRUE(dropped.expired());
    EXPECT_NE(screen->indexModelView(), nullptr);
    settle();
    forgetRequests();
    chooseTab(MarketViewController::StockTab);
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 1, 0, 0, 30}}));
}

TEST_F(ScreenTest, ARowOpensTheDetailScreenWithTheListsRowsAlsoAfterAScroll) {
    chooseTab(MarketViewController::StockTab);
    StockModelView &list = *screen->stockModelView();
    for (bool columns : {false, true}) {
        if (columns)
            list.RefreshTable();
        ui::TableView &table = *list.curTableView();
        table.layoutIfNeeded();
        gfx::Point middle = centre(table);
        app.fling(middle, {middle.x, middle.y - 200});
        advance(2);
        table.layoutIfNeeded();
        base::Ref<ui::TableCell> chosen = table.visibleCells().at(2);
        int row = table.indexPathForCell(*chosen)->row;
        tapView(*chosen);
        app.advance(1);
        auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
        ASSERT_NE(detail, nullptr) << (columns ? "column rows" : "trend rows");
        EXPECT_EQ(detail->stockCode(), list.recordAt(row)->code);
        EXPECT_EQ(detail->currentBoardID(), 0);
        EXPECT_EQ(detail->currentStocksIndex(), row);
        EXPECT_EQ(int(detail->checkStocksArray().size()), list.rowCount());
        nav->pop(false);
        settle();
    }
}

TEST_F(ScreenTest, TheTradeButtonLaunchesTheTrader) {
    std::vector<std::string> launched;
    base::Ref<base::Object> listener = base::make<base::Object>();
    base::NotificationCenter::shared().addObserver(
        listener, DataBase::AppNotify,
        [&](const base::Notification &n) { launched.push_back(n.userInfo.get("Data").stringValue()); });
    screen->traderButtonAction(screen->view());
    base::NotificationCenter::shared().removeObserver(listener.get());
    EXPECT_EQ(launched, std::vector<std::string>{"LaunchTrader"});
}

TEST_F(ScreenTest, BackAfterMoreThanFiveSecondsRefreshesAtOnce) {
    chooseTab(MarketViewController::StockTab);
    struct Case {
        double away;
        bool refreshes;
    } cases[] = {{2, false}, {6, true}};
    for (const Case &c : cases) {
        auto detail = base::make<StockDetailViewController>();
        detail->SetStockCodeMarket("SH600000");
        nav->push(detail, false);
        app.runPending();
        advance(c.away);
        forgetRequests();
        nav->pop(false);
        settle(); // the clock stands: no tick comes
        EXPECT_EQ(!listRequests().empty(), c.refreshes) << c.away << " s away";
    }
}

} // namespace

} // namespace market
