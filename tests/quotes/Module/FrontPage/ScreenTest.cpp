#include "FrontPageFixture.h"

#include "Components/CMHelpView.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

namespace frontpage {

namespace {

using Tab = FrontPageViewController::Tab;

class ScreenTest : public FrontPageTest {
protected:
    const base::Ref<TimerCenter> &timer() { return db->IO_TimerCenter(); }
    bool timerIsOurs() {
        return timer()->controller().get() == static_cast<TimerCenterDelegate *>(screen.get());
    }
};

TEST_F(ScreenTest, TabsAreMadeOnFirstUseAndOnlyTheHomeAndWebTabsReloadWhenChosenAgain) {
    show();
    ASSERT_NE(screen->synView(), nullptr);
    EXPECT_EQ(screen->currentSelectedView(), screen->synView());
    EXPECT_EQ(screen->synView()->frame(), FrontPageViewController::TabLandscape);
    for (int tag = Tab::PoolTab; tag <= Tab::SectionTab; ++tag)
        EXPECT_EQ(screen->tabView(tag), nullptr) << tag;

    struct Case {
        int tag;
        size_t keysOnReselect;
    } cases[] = {{Tab::PoolTab, 0}, {Tab::SubjectTab, 1}, {Tab::DiscoverTab, 1}, {Tab::ProfitTab, 1},
                 {Tab::DDETab, 0},  {Tab::SectionTab, 0}, {Tab::HomeTab, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        chooseTab(c.tag);
        ui::View *made = screen->tabView(c.tag);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(screen->currentSelectedView(), made);
        EXPECT_EQ(made->frame(), FrontPageViewController::TabLandscape);
        for (int other = Tab::HomeTab; other <= Tab::SectionTab; ++other)
            if (ui::View *view = screen->tabView(other))
                EXPECT_EQ(view->isHidden(), other != c.tag) << other;
        chooseTab(c.tag == Tab::HomeTab ? Tab::PoolTab : Tab::HomeTab);
        forgetRequests();
        chooseTab(c.tag);
        EXPECT_EQ(screen->tabView(c.tag), made);
        EXPECT_EQ(keyRequests(), c.keysOnReselect);
    }
}

TEST_F(ScreenTest, TheVisibleTabIsRefreshedUnderItsOwnIdOnlyWhileConnectedAndNeverOnAWebTab) {
    show();
    struct Case {
        int tag, timerID;
    } cases[] = {{Tab::HomeTab, 100}, {Tab::PoolTab, 103}, {Tab::DDETab, 101}, {Tab::SectionTab, 102}};
    for (const Case &c : cases) {
        chooseTab(c.tag);
        EXPECT_TRUE(timerIsOurs()) << c.tag;
        EXPECT_EQ(timer()->userID(), c.timerID) << c.tag;
    }
    chooseTab(Tab::SubjectTab);
    EXPECT_FALSE(timerIsOurs());
    EXPECT_EQ(screen->getCurTabIndex(), -1);

    chooseTab(Tab::PoolTab);
    forgetRequests();
    advance(FrontPageViewController::RefreshPeriod + 0.5);
    EXPECT_EQ(poolRequests().size(), 8u);
    quotes.closeConnection();
    pumpUntil([&] { return !db->isHQConnected(); });
    forgetRequests();
    screen->OnTimerCenterNotify(103);
    settle();
    EXPECT_TRUE(poolRequests().empty());
}

TEST_F(ScreenTest, BackAfterMoreThanFiveSecondsRefreshesAtOnce) {
    show();
    chooseTab(Tab::PoolTab);
    struct Case {
        double away;
        size_t pools;
    } cases[] = {{3, 0}, {6, 8}};
    for (const Case &c : cases) {
        auto detail = base::make<StockDetailViewController>();
        detail->SetStockCodeMarket("SH600000");
        nav->push(detail, false);
        app.runPending();
        EXPECT_FALSE(timerIsOurs());
        advance(c.away);
        forgetRequests();
        nav->pop(false);
        settle(); // the clock stands: no tick comes
        EXPECT_EQ(poolRequests().size(), c.pools) << c.away << " s away";
        EXPECT_TRUE(timerIsOurs());
    }
}

TEST_F(ScreenTest, LandscapeMovesTheStripAndEveryTabViewLaterOnesToo) {
    show();
    chooseTab(Tab::PoolTab);
    screen->ResizeTabViews({0, 60, 1024, 604});
    EXPECT_FALSE(screen->shouldAutorotateTo(ui::Orientation::Portrait));
    EXPECT_EQ(screen->stocksPoolView()->frame(), (gfx::Rect{0, 60, 1024, 604}));
    EXPECT_TRUE(screen->shouldAutorotateTo(ui::Orientation::LandscapeLeft));
    EXPECT_EQ(screen->currentOrientation(), 4);
    EXPECT_EQ(screen->frontSwitchTabBarView().frame(), FrontPageViewController::StripLandscape);
    EXPECT_EQ(screen->synView()->frame(), FrontPageViewController::TabLandscape);
    EXPECT_EQ(screen->stocksPoolView()->frame(), FrontPageViewController::TabLandscape);
    chooseTab(Tab::DiscoverTab);
    EXPECT_EQ(screen->tabView(Tab::DiscoverTab)->frame(), FrontPageViewController::TabLandscape);
}

TEST_F(ScreenTest, AMemoryWarningDropsOnlyTheHiddenListTabs) {
    show();
    chooseTab(Tab::DDETab);
    chooseTab(Tab::SectionTab);
    chooseTab(Tab::PoolTab);
    chooseTab(Tab::SubjectTab);
    chooseTab(Tab::SectionTab);
    screen->didReceiveMemoryWarning();
    EXPECT_EQ(screen->tabView(Tab::DDETab), nullptr);
    EXPECT_NE(screen->tabView(Tab::SectionTab), nullptr);
    for (int kept : {Tab::HomeTab, Tab::PoolTab, Tab::SubjectTab})
        EXPECT_NE(screen->tabView(kept), nullptr) << kept;
    chooseTab(Tab::DDETab);
    EXPECT_NE(screen->tabView(Tab::DDETab), nullptr);
}

TEST_F(ScreenTest, TheHelpOverlayShowsOncePerInstallation) {
    helpSeen = false;
    show();
    auto overlays = [&] {
        int count = 0;
        for (const auto &view : tabs->view().subviews())
            count += dynamic_cast<CMHelpView *>(view.get()) != nullptr;
        return count;
    };
    EXPECT_EQ(overlays(), 1);
    EXPECT_FALSE(DataManager::sharedDataManager().IsFirstShowHelp(FrontPageViewController::HelpTipID));
    // The next start of the application reads the stored state.
    DataManager::resetSharedDataManager();
    DataManager::sharedDataManager().initialize();
    auto second = base::make<FrontPageViewController>();
    tabs->setViewControllers({base::make<ui::NavigationController>(second)}, false);
    app.runPending();
    EXPECT_EQ(overlays(), 1);
}

TEST_F(ScreenTest, TheTradeButtonLaunchesTheTraderAndTheScreenIsTheTradeCentresWhileShown) {
    show();
    EXPECT_EQ(TradeMsgCenter::sharedTradeMsgCenter()->currentActiveVCHandle(), screen.get());
    std::vector<std::string> launched;
    base::Ref<base::Object> listener = base::make<base::Object>();
    base::NotificationCenter::shared().addObserver(
        listener, DataBase::AppNotify,
        [&](const base::Notification &n) { launched.push_back(n.userInfo.get("Data").stringValue()); });
    ASSERT_NE(screen->traderButton(), nullptr);
    ASSERT_NE(screen->stockAlarmButton(), nullptr);
    screen->traderButtonAction(screen->view());
    base::NotificationCenter::shared().removeObserver(listener.get());
    EXPECT_EQ(launched, std::vector<std::string>{"LaunchTrader"});
    // A security picked on the trading screens opens over the home screen.
    TradeMsgCenter::sharedTradeMsgCenter()->SwitchToStock("SZ000002");
    app.runPending();
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "SZ000002");
}

TEST_F(ScreenTest, TheRightButtonPushesTheNamedScreenAndAnUnknownNameNothing) {
    screen->navDic = base::Dict{{"Next", base::Dict{{"Nav_ViewController", "StockDetailViewController"}}},
                                {"Nav_ViewController", "NoSuchController"},
                                {"Nav_Name", "更多"}};
    show();
    ASSERT_NE(screen->navigationItem().rightItem(), nullptr);
    screen->rightAction(nullptr);
    app.runPending();
    EXPECT_EQ(nav->top(), screen.get());
}

// Counts what reaches the screen's two observers; the counts outlive the screen.
struct Heard {
    int replies = 0, status = 0;
};
class ListeningFrontPage : public FrontPageViewController {
public:
    Heard *heard = nullptr;
    void DataPoolCallBack(int32_t, const base::Ref<ReqParams> &) override { ++heard->replies; }
    void CommonNotify(const base::Notification &) override { ++heard->status; }
};

TEST(FrontPageObserversTest, PostsReachTheScreenWhileItLivesAndNothingAfterwards) {
    Heard heard;
    auto post = [] {
        base::NotificationCenter &centre = base::NotificationCenter::shared();
        centre.post(FrontPageViewController::ObserverName, nullptr,
                    base::Dict{{DataBase::NetDataNotify, 2955}, {"ReqParams", base::Value()}});
        centre.post(DataBase::CommonNotify, nullptr, base::Dict{{"HQConnectStatus", true}});
    };
    {
        auto page = base::make<ListeningFrontPage>();
        page->heard = &heard;
        post();
        EXPECT_EQ(heard.replies, 1);
        EXPECT_EQ(heard.status, 1);
    }
    post();
    EXPECT_EQ(heard.replies, 1);
    EXPECT_EQ(heard.status, 1);
}

} // namespace

} // namespace frontpage
