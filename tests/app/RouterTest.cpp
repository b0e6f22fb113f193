#include "StartupFixture.h"

#include "DataBase/ComAPI.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/Market/MarketViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/UserGuideViewController.h"
#include "peers/BrokerTable.h"
#include "peers/TradeGateway.h"
#include "ui/NavigationController.h"

namespace app {
namespace {

constexpr const char *Broker = "本地券商";

// Hears the trade connection's results.
struct TradeListener : base::Object, TradeDataDelegate {
    int connects = 0, replies = 0;
    base::Opt<void> OnTradeConnect(bool, int) override { return ++connects, base::Opt<void>{}; }
    base::Opt<void> OnTradeDataRsp(int, const base::Ref<TradeRspData> &,
                                   const std::optional<base::Dict> &) override {
        return ++replies, base::Opt<void>{};
    }
};

// The running application with its tabs, a loopback trade gateway in the broker table, and the
// application messages posted as any part of the system posts them.
class RouterTest : public StartupTest {
protected:
    RouterTest() {
        gateway->addAccount({Broker, "13800138000", "123456", "880001", "123456"});
        // The base's clean-up runs after the gateway is gone.
        driver.watch([weak = std::weak_ptr(gateway)] {
            auto alive = weak.lock();
            return !alive || alive->quiet();
        });
        writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}});
        launch();
        EXPECT_TRUE(runUntil([&] { return tabsShown(); }));
        driver.runUntilIdle();
        base::Data table = peers::brokerTableBody({{Broker, 'Z', {gateway->port()}}});
        const base::Ref<NetDataCenter> &layer = DataBase::sharedDataBase()->IO_NetDataCenter();
        layer->ReadTradeAddressInfo(table.span(), 0);
        layer->IO_GetSecuritiesAddressRsp = true;
    }
    ~RouterTest() override {
        if (auto login = TradeMsgCenter::sharedTradeMsgCenter()->loginView())
            login->close();
        TradeDataBase::sharedTradeDataBase()->disconnectTradeServer({});
        driver.runUntilIdle();
    }
    void post(const base::Dict &message) {
        base::NotificationCenter::shared().post(DataBase::AppNotify, nullptr, message);
        driver.runUntilIdle();
    }
    void trader(const char *data) { post({{"MSG_ID", "Trader_MSG"}, {"Data", data}}); }
    void logInBroker() {
        auto trade = TradeDataBase::sharedTradeDataBase();
        auto listener = base::make<TradeListener>();
        std::string msg;
        auto step = [&] {
            return trade->ConnectAndCheckPhone(listener, Broker, nullptr, "13800138000", "123456", msg);
        };
        ASSERT_EQ(step(), TradeDataBase::kConnecting);
        ASSERT_TRUE(runUntil([&] { return listener->connects > 0; }));
        ASSERT_EQ(step(), TradeDataBase::kCheckingPhone);
        ASSERT_TRUE(runUntil([&] { return listener->replies > 0; }));
        ASSERT_EQ(step(), TradeDataBase::kReady);
        trade->IO_TradeNetData()->RequestUserLogin(listener, 1, "880001", "123456", "0101");
        ASSERT_TRUE(runUntil([&] { return trade->IO_TradeNetData()->isLoginSuccess(); }));
    }
    base::Ref<TraderToolBarView> &bar() { return QVNSolvaneMobileAppDelegate::traderToolBar(); }
    size_t alertCount(const std::string &message) const {
        return size_t(std::count_if(host.alerts().begin(), host.alerts().end(),
                                    [&](const host::AlertRecord &a) { return a.message == message; }));
    }

    std::shared_ptr<peers::TradeGateway> gateway = std::make_shared<peers::TradeGateway>();
};

TEST_F(RouterTest, WithoutABrokerLoginTradeMessagesOfferTheLogin) {
    trader("LaunchTrader");
    base::Ref<LoginView> login = TradeMsgCenter::sharedTradeMsgCenter()->loginView();
    ASSERT_TRUE(login);
    EXPECT_EQ(login->superview(), &tabBar().view()) << "over the tab bar";
    EXPECT_FALSE(login->cancelBtn().isHidden());
    EXPECT_FALSE(bar());
    login->close();

    trader("TraderTimerOut");
    EXPECT_EQ(alertCount("超时保护，已自动退出委托!"), 0u);
    trader("CloseTraderToolBar");
    trader("ReLaunchTrader");
    EXPECT_EQ(alertCount("请求超时,请重新登录!"), 1u);
    EXPECT_TRUE(TradeMsgCenter::sharedTradeMsgCenter()->loginView());

    size_t alerts = host.alerts().size();
    for (const base::Dict &ignored : {base::Dict{{"MSG_ID", "Other_MSG"}, {"Data", "LaunchTrader"}},
                                      base::Dict{{"MSG_ID", "Trader_MSG"}, {"Data", "launchtrader"}},
                                      base::Dict{{"MSG_ID", "Stock_MSG"}, {"Data", "Other"}}, base::Dict{}})
        post(ignored);
    EXPECT_EQ(host.alerts().size(), alerts);
    EXPECT_FALSE(delegate->splashViewController());
}

TEST_F(RouterTest, LoggedInTheToolBarOpensAsksBeforeClosingAndTimesOut) {
    logInBroker();
    trader("LaunchTrader");
    ASSERT_TRUE(bar());
    advance(0.5);
    EXPECT_EQ(bar()->frame(), QVNSolvaneMobileAppDelegate::ToolBarFrame);
    EXPECT_EQ(bar()->superview(), &tabBar().view());

    trader("TraderTimerOut");
    EXPECT_EQ(alertCount("超时保护，已自动退出委托!"), 1u);

    // Asked again while shown: "取消" keeps everything, "确定" closes bar and link.
    trader("LaunchTrader");
    ASSERT_EQ(host.alerts().back().message, "确定要退出委托?");
    ASSERT_TRUE(host.pressAlertButton(0));
    EXPECT_TRUE(bar());
    EXPECT_TRUE(TradeDataBase::sharedTradeDataBase()->isConnected());
    trader("LaunchTrader");
    ASSERT_TRUE(host.pressAlertButton(1));
    EXPECT_FALSE(bar());
    driver.runUntilIdle();
    EXPECT_FALSE(TradeDataBase::sharedTradeDataBase()->isConnected());
}

TEST_F(RouterTest, TheAutoLockClosesTheBarAndTheLinkAndSaysSo) {
    logInBroker();
    base::Ref<TradeMsgCenter> center = TradeMsgCenter::sharedTradeMsgCenter();
    double minutes = center->lockTimeMinute();
    center->setLockTimeMinute(1);
    trader("LaunchTrader");
    ASSERT_TRUE(bar());
    advance(59);
    EXPECT_FALSE(bar()->isToolBarHidden());
    advance(2);
    EXPECT_EQ(alertCount("超时保护，已自动退出委托!"), 1u);
    EXPECT_TRUE(bar()->isToolBarHidden());
    EXPECT_EQ(bar()->superview(), nullptr);
    driver.runUntilIdle();
    EXPECT_FALSE(TradeDataBase::sharedTradeDataBase()->isConnected());
    EXPECT_EQ(gateway->openConnections(), 0);
    center->setLockTimeMinute(minutes);
}

TEST_F(RouterTest, ResigningActiveDismissesTheBarAndTheNextLaunchMakesAFreshOne) {
    logInBroker();
    trader("LaunchTrader");
    base::Ref<TraderToolBarView> first = bar();
    ASSERT_TRUE(first);
    advance(0.5);
    ui::Application::shared().simulateResignActive();
    advance(0.5);
    EXPECT_EQ(bar(), first) << "the dismissed bar stays referenced";
    EXPECT_TRUE(first->isToolBarHidden());
    EXPECT_EQ(first->superview(), nullptr);
    driver.runUntilIdle();
    EXPECT_FALSE(TradeDataBase::sharedTradeDataBase()->isConnected());

    trader("TraderTimerOut");
    EXPECT_EQ(alertCount("超时保护，已自动退出委托!"), 0u) << "the bar is dismissed";
    logInBroker();
    trader("LaunchTrader");
    ASSERT_TRUE(bar());
    EXPECT_NE(bar(), first);
    EXPECT_FALSE(bar()->isToolBarHidden());
}

TEST_F(RouterTest, TheGuideMessageShowsTheUserGuideWithOrWithoutData) {
    for (const base::Dict &message :
         {base::Dict{{"MSG_ID", "Guide_MSG"}}, base::Dict{{"MSG_ID", "Guide_MSG"}, {"Data", "x"}}}) {
        post(message);
        ASSERT_NE(dynamic_cast<UserGuideViewController *>(tabBar().presentedController()), nullptr);
        tabBar().dismissModal(false);
        driver.runUntilIdle();
        EXPECT_EQ(tabBar().presentedController(), nullptr);
    }
}

TEST_F(RouterTest, MainLoginRunsTheLoginAgainOverTheTabsOnce) {
    std::vector<ui::ViewController *> tabs;
    for (const auto &tab : tabBar().viewControllers())
        tabs.push_back(tab.get());
    post({{"MSG_ID", "Stock_MSG"}, {"Data", "MainLogin"}});
    base::Ref<SplashViewController> splash = delegate->splashViewController();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isRelogin);
    EXPECT_EQ(splash->view().superview(), &tabBar().view());
    ASSERT_TRUE(splash->mainLoginView());
    EXPECT_FALSE(splash->mainLoginView()->isHidden()) << "a re-login never falls back to free use by itself";

    post({{"MSG_ID", "Stock_MSG"}, {"Data", "MainLogin"}});
    EXPECT_EQ(delegate->splashViewController(), splash) << "the splash shown is reused";

    statuses.clear();
    tap(splash->mainLoginView()->regButton());
    ASSERT_TRUE(runUntil([&] { return !delegate->splashViewController(); }));
    EXPECT_EQ(splash->view().superview(), nullptr);
    EXPECT_TRUE(tabsShown());
    std::vector<ui::ViewController *> after;
    for (const auto &tab : tabBar().viewControllers())
        after.push_back(tab.get());
    EXPECT_EQ(after, tabs) << "a re-login keeps the tabs";
}

TEST_F(RouterTest, BannerTapsOpenTheDetailScreenOrTheMarketsBoardList) {
    auto *home = dynamic_cast<ui::NavigationController *>(tabBar().selectedController());
    ASSERT_NE(home, nullptr);
    tabBar().ReturnSelectedIndex("上证指数", "SH000001");
    ASSERT_EQ(home->viewControllers().size(), 2u);
    auto *detail = dynamic_cast<StockDetailViewController *>(home->viewControllers().back().get());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "SH000001");
    advance(1);
    tabBar().ReturnSelectedIndex("深证成指", "SZ399001");
    EXPECT_EQ(home->viewControllers().size(), 2u) << "the open detail screen changes security";
    EXPECT_EQ(detail->stockCode(), "SZ399001");

    auto *market = dynamic_cast<ui::NavigationController *>(tabBar().viewControllers()[2].get());
    ASSERT_NE(market, nullptr);
    market->push(base::make<StockDetailViewController>(), false);
    tabBar().ReturnSelectedBoard("银行板块", "BI000101");
    advance(1);
    EXPECT_EQ(tabBar().selectedIndex(), 2);
    EXPECT_EQ(market->viewControllers().size(), 1u) << "back at the market screen";
    auto *screen = dynamic_cast<MarketViewController *>(market->viewControllers().front().get());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->currentModuleIndex(), 1);
}

TEST_F(RouterTest, QuotesAreAskedEveryFiveSecondsOnlyWhileConnected) {
    // The tab bar's lists; the home screen's index column asks for its five indexes on its own.
    auto listRequests = [&] {
        size_t count = 0;
        for (const peers::ReceivedFrame &frame : quotes.received(2955)) {
            uint32_t pos = 0;
            int classID = ComAPI::ReadShort(frame.bytes(), pos);
            ComAPI::ReadShort(frame.bytes(), pos);
            bool homeColumn = classID == 106 && ComAPI::ReadShort(frame.bytes(), pos) == 5;
            count += homeColumn ? 0 : 1;
        }
        return count;
    };
    advance(0.1);
    size_t before = listRequests();
    advance(15);
    EXPECT_EQ(listRequests(), before + 6) << "indexes and boards, three times";
    DataBase::sharedDataBase()->Disconnect();
    driver.runUntilIdle();
    before = listRequests();
    advance(15);
    EXPECT_EQ(listRequests(), before);

    // The headline file is fetched every 360 s all the same.
    nginx->writeFile("wap/data/ipad/news/ssxw/index.json", R"([{"title":"断线时的新闻"}])");
    advance(CMTabBarController::NewsInterval);
    driver.runUntilIdle();
    ASSERT_EQ(tabBar().overturnShowerView().titleArray().size(), 1u);
    EXPECT_EQ(tabBar().overturnShowerView().titleArray()[0]["title"].stringValue(), "断线时的新闻");
}

TEST_F(RouterTest, AHeadlineReplyReplacesTheItemsOnlyWhenItIsAList) {
    CMOverturnShowerView &marquee = tabBar().overturnShowerView();
    ASSERT_EQ(marquee.titleArray().size(), 2u);
    struct Case {
        const char *name;
        std::string body;
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        {"not a list", R"({"title":"x"})", {"沪指收复年线", "券商板块领涨"}},
        {"not JSON", "<html>", {"沪指收复年线", "券商板块领涨"}},
        {"items without a text title dropped", R"([{"title":"甲"},{"title":3},"乙",{"url":"u"}])", {"甲"}},
        {"an empty list", "[]", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        nginx->writeFile("wap/data/ipad/news/ssxw/index.json", c.body);
        advance(CMTabBarController::NewsInterval);
        driver.runUntilIdle();
        std::vector<std::string> titles;
        for (const base::Value &item : marquee.titleArray())
            titles.push_back(item["title"].stringValue());
        EXPECT_EQ(titles, c.titles);
    }
}

} // namespace
} // namespace app
