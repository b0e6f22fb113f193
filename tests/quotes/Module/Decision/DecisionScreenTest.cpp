#include "DecisionFixture.h"

#include "DataBase/NetData/StockDetailStatus.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

namespace decision {

namespace {

using Tab = DecisionViewController::Tab;

class DecisionScreenTest : public DecisionTest {
protected:
    const base::Ref<TimerCenter> &timer() { return db->IO_TimerCenter(); }
    bool timerIsOurs() {
        return timer()->controller().get() == static_cast<TimerCenterDelegate *>(screen.get());
    }
};

TEST_F(DecisionScreenTest, TabsAreMadeOnFirstUseAndRefreshUnderTheirOwnIds) {
    show();
    EXPECT_EQ(screen->title(), "决策");
    ASSERT_NE(screen->tabView(Tab::RankTab), nullptr);
    EXPECT_EQ(screen->currentSelectedView(), screen->tabView(Tab::RankTab));
    for (int tab : {Tab::SectionTab, Tab::DDETab, Tab::SVFundTab})
        EXPECT_EQ(screen->tabView(tab), nullptr) << tab;
    EXPECT_TRUE(timerIsOurs());
    EXPECT_EQ(timer()->userID(), 500);

    struct Case {
        int tab, timerID;
    } cases[] = {{Tab::SectionTab, 501}, {Tab::DDETab, 502}, {Tab::SVFundTab, 503}, {Tab::RankTab, 500}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tab);
        chooseTab(c.tab);
        ui::View *made = screen->tabView(c.tab);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->frame(), DecisionViewController::TabFrame);
        EXPECT_EQ(screen->currentSelectedView(), made);
        for (int other = Tab::RankTab; other <= Tab::SVFundTab; ++other) {
            if (ui::View *view = screen->tabView(other)) {
                EXPECT_EQ(view->isHidden(), other != c.tab) << other;
            }
        }
        EXPECT_TRUE(timerIsOurs());
        EXPECT_EQ(timer()->userID(), c.timerID);
    }
}

TEST_F(DecisionScreenTest, ADrillDownRefreshesUnderItsOwnIdAndTheBackButtonRestoresTheListsId) {
    show();
    struct Case {
        int tab, boardID, listID;
    } cases[] = {{Tab::SectionTab, 521, 501}, {Tab::DDETab, 511, 502}, {Tab::SVFundTab, 531, 503}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tab);
        chooseTab(c.tab);
        auto &list = dynamic_cast<MarketTableBaseView &>(*screen->tabView(c.tab));
        if (auto *twin = dynamic_cast<AnalysisListView *>(&list)) {
            twin->ReturnSelectedMarket(base::Dict{{"MENU_ID", "MENU_STOCK_HUSHEN_ZXB"},
                                                  {"MENU_NAME", AnalysisListView::BoardMenuName},
                                                  {"CLASS_ID", "105"}});
            settle();
        }
        ASSERT_TRUE(runUntil([&] { return list.rowCount() > 0; }, 10));
        list.didSelectRow({0, 0});
        settle();
        EXPECT_EQ(timer()->userID(), c.boardID);
        EXPECT_EQ(screen->getCurTabIndex(), c.boardID - 500);
        forgetRequests();
        screen->OnTimerCenterNotify(c.boardID);
        settle();
        std::vector<ListRequest> asked = listRequests();
        ASSERT_FALSE(asked.empty());
        EXPECT_NE(asked[0].classID, 105) << "the members, not the boards";
        // Scrolling the list restarts the count-down under the index it reports.
        screen->resetTimerCenterOnScroll(c.listID - 500);
        EXPECT_EQ(timer()->userID(), c.listID);
        if (auto *twin = dynamic_cast<AnalysisListView *>(&list))
            twin->BackAction(twin->configMarketBarView().backButton());
        else
            dynamic_cast<SVFundView &>(list).BackAction(
                dynamic_cast<SVFundView &>(list).configMarketBarView().backButton());
        EXPECT_EQ(timer()->userID(), c.listID);
        EXPECT_EQ(screen->getCurTabIndex(), c.listID - 500);
    }
}

TEST_F(DecisionScreenTest, AMemoryWarningDropsOnlyTheHiddenLists) {
    show();
    for (int tab : {Tab::SectionTab, Tab::SVFundTab, Tab::DDETab})
        chooseTab(tab);
    screen->didReceiveMemoryWarning();
    EXPECT_EQ(screen->tabView(Tab::SectionTab), nullptr);
    EXPECT_EQ(screen->tabView(Tab::SVFundTab), nullptr);
    EXPECT_NE(screen->tabView(Tab::DDETab), nullptr);
    EXPECT_NE(screen->tabView(Tab::RankTab), nullptr);
    chooseTab(Tab::SectionTab);
    EXPECT_NE(screen->tabView(Tab::SectionTab), nullptr);
    EXPECT_EQ(timer()->userID(), 501);
}

TEST_F(DecisionScreenTest, BackAfterMoreThanFiveSecondsRefreshesAtOnceAndDisconnectedTicksSendNothing) {
    show();
    chooseTab(Tab::DDETab);
    ASSERT_TRUE(waitForRows(*screen->ddeDecisionView(), 5));
    auto away = [&](double seconds) {
        auto other = base::make<ui::ViewController>();
        nav->push(other, false);
        app.runPending();
        settle();
        advance(seconds);
        forgetRequests();
        nav->pop(false);
        app.runPending();
        settle();
        return listRequests().size();
    };
    EXPECT_GT(away(6), 0u);
    EXPECT_TRUE(timerIsOurs());
    EXPECT_EQ(away(3), 0u);
    EXPECT_TRUE(timerIsOurs());

    quotes.closeConnection();
    pumpUntil([&] { return !db->isHQConnected(); });
    forgetRequests();
    screen->OnTimerCenterNotify(502);
    settle();
    EXPECT_TRUE(listRequests().empty());
}

TEST_F(DecisionScreenTest, AnOpenedSecurityGetsTheRowsAndTheIndexAndTheTradeButtonLaunchesTrading) {
    show();
    chooseTab(Tab::SectionTab);
    SectionAnalysView &list = *screen->sectionAnalysView();
    ASSERT_TRUE(waitForRows(list, 5));
    list.didSelectRow({0, 3});
    app.runPending();
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), list.recordAt(3)->code);
    nav->pop(false);
    app.runPending();

    std::vector<std::string> launched;
    auto listener = base::make<base::Object>();
    base::NotificationCenter::shared().addObserver(
        listener, DataBase::AppNotify,
        [&](const base::Notification &n) { launched.push_back(n.userInfo.get("Data").stringValue()); });
    screen->traderButtonAction(screen->view());
    base::NotificationCenter::shared().removeObserver(listener.get());
    EXPECT_EQ(launched, std::vector<std::string>{"LaunchTrader"});
    // No security opens from a trading panel while this page is in front.
    EXPECT_EQ(TradeMsgCenter::sharedTradeMsgCenter()->currentActiveVCHandle(),
              static_cast<CMViewController *>(screen.get()));
    TradeMsgCenter::sharedTradeMsgCenter()->SwitchToStock("SZ000002");
    app.runPending();
    EXPECT_EQ(nav->top(), screen.get());
}

TEST_F(DecisionScreenTest, TheHomePagesListTabsRefreshUnderTheirIdsAndTheirDrillDowns) {
    FrontPageViewController &page = homeWithTab(FrontPageViewController::SectionTab);
    ASSERT_NE(page.sectionAnalysView(), nullptr);
    EXPECT_EQ(page.sectionAnalysView()->curTabIndex, 2);
    EXPECT_EQ(page.getCurTabIndex(), 2);
    homeWithTab(FrontPageViewController::DDETab);
    DDEDecisionView &list = *page.ddeDecisionView();
    EXPECT_EQ(list.curTabIndex, 1);
    EXPECT_EQ(page.getCurTabIndex(), 1);
    list.ReturnSelectedMarket(base::Dict{{"MENU_ID", "MENU_STOCK_HUSHEN_ZXB"},
                                         {"MENU_NAME", AnalysisListView::BoardMenuName},
                                         {"CLASS_ID", "105"}});
    ASSERT_TRUE(runUntil([&] { return list.rowCount() > 0; }, 10));
    list.didSelectRow({0, 0});
    settle();
    EXPECT_EQ(page.getCurTabIndex(), 11);
    forgetRequests();
    page.reqDataOnTimer(1);
    settle();
    EXPECT_TRUE(listRequests().empty());
    page.reqDataOnTimer(11);
    settle();
    EXPECT_FALSE(listRequests().empty());
    list.BackAction(list.configMarketBarView().backButton());
    EXPECT_EQ(page.getCurTabIndex(), 1);
}

TEST_F(DecisionScreenTest, TheRankListsAskAtOnceAndTheirChartGridLiesOverEveryTabUntilBack) {
    show();
    auto *ranks = dynamic_cast<TotalRankMultiListView *>(screen->tabView(Tab::RankTab));
    ASSERT_NE(ranks, nullptr);
    EXPECT_EQ(ranks->delegate.lock().get(), static_cast<TotalRankMultiListViewDelegates *>(screen.get()));
    EXPECT_FALSE(listRequests().empty()) << "the nine lists ask on the page's first load";

    base::Array rows{base::Dict{{"MarketCode", "SH600000"}, {"StockName", "浦发银行"}},
                     base::Dict{{"MarketCode", "SZ000002"}, {"StockName", "万科A"}}};
    screen->jumpToMultiMinLineView(*ranks, base::Dict{});
    EXPECT_EQ(screen->rankMultiMLineView(), nullptr) << "no rows, no grid";
    screen->jumpToMultiMinLineView(*ranks, base::Dict{{"stkDataArray", rows}, {"title", "总金额排名"}});
    TotalRankMultiMLineView *grid = screen->rankMultiMLineView();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->frame(), DecisionViewController::TabFrame);
    EXPECT_EQ(grid->titleLabel().text(), "总金额排名");
    base::Weak<ui::View> shown = screen->view().subviews().back();
    EXPECT_EQ(shown.lock().get(), grid) << "the grid lies on top";

    // Another tab, made now, goes beneath the grid, which refreshes under the rankings' id.
    chooseTab(Tab::DDETab);
    EXPECT_EQ(screen->rankMultiMLineView(), grid);
    EXPECT_EQ(screen->view().subviews().back().get(), grid);
    EXPECT_EQ(screen->getCurTabIndex(), DecisionViewController::RankIndex);
    EXPECT_EQ(timer()->userID(), 500);
    forgetRequests();
    screen->OnTimerCenterNotify(500);
    settle();
    EXPECT_TRUE(listRequests().empty()) << "the grid, not the lists, refreshes";
    EXPECT_FALSE(codeRequests().empty());

    screen->totalRankMultiMLineView_didTouchBack();
    EXPECT_EQ(screen->rankMultiMLineView(), nullptr);
    EXPECT_TRUE(shown.expired()) << "the view tree held the grid alone";
    EXPECT_EQ(screen->getCurTabIndex(), DecisionViewController::DDEIndex);
}

TEST_F(DecisionScreenTest, ARankRowOpensItsListAndAGridCellOpensOnTheIntradayChart) {
    show();
    auto &ranks = *screen->rankMutiListView();
    base::Array codes{"SH600000", "SZ000002", "SH600004"};
    screen->jumpToMinLineView(ranks,
                              base::Dict{{"kStkCode", "SZ000002"}, {"kStkIndex", 1}, {"kDataArray", codes}});
    app.runPending();
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "SZ000002");
    nav->pop(false);
    app.runPending();

    const base::Ref<StockDetailStatus> &status = db->IO_StockDetailStatus();
    status->setIsShowKLine(true);
    base::Array rows{base::Dict{{"MarketCode", "SH600000"}, {"StockName", "浦发银行"}}};
    screen->totalRankMultiMLineView_didSelectGridStockName("浦发银行", "SH600000", 0, rows);
    app.runPending();
    EXPECT_FALSE(status->isShowKLine());
    detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "SH600000");
}

} // namespace

} // namespace decision
