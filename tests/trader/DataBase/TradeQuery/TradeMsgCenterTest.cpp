#include "TradeQueryFixture.h"

#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "base/FileManager.h"
#include "base/NotificationCenter.h"
#include "base/PropertyList.h"

#include <sys/stat.h>

namespace tradequery {
namespace {

std::string settingsPath() {
    return TradeMsgCenter::dataFilePath(TradeMsgCenter::kSettingsFile);
}

void writeSettings(const std::optional<base::Dict> &settings) {
    std::remove(settingsPath().c_str());
    if (settings)
        ASSERT_TRUE(base::PropertyList::write(*settings, settingsPath()));
}

TEST(TradeMsgCenterSettings, ReadFromTheDocumentsFileElseTheBundle) {
    struct Case {
        const char *name;
        std::optional<base::Dict> file;
        double minutes;
        std::string password;
    } cases[] = {
        {"no file: the bundle's", std::nullopt, 10, ""},
        {"five minutes", base::Dict{{"LockTimeMin", 5}, {"LockPassword", "8888"}}, 5, "8888"},
        {"never", base::Dict{{"LockTimeMin", -1}}, -1, ""},
        {"no minutes", base::Dict{{"LockPassword", "1"}}, -1, "1"},
        {"zero", base::Dict{{"LockTimeMin", 0}}, -1, ""},
        {"negative", base::Dict{{"LockTimeMin", -3}}, -1, ""},
        {"text", base::Dict{{"LockTimeMin", "5"}}, -1, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(c.file);
        auto center = TradeMsgCenter::create();
        EXPECT_EQ(center->lockTimeMinute(), c.minutes);
        EXPECT_EQ(center->lockPassword(), c.password);
    }
    writeSettings(std::nullopt);
}

TEST(TradeMsgCenterSettings, SavedSettingsAreOwnerOnlyAndReadBack) {
    writeSettings(std::nullopt);
    auto center = TradeMsgCenter::create();
    center->setLockTimeMinute(15);
    center->setLockPassword("4321");
    ASSERT_TRUE(center->SaveSettings());
    struct stat info {};
    ASSERT_EQ(::stat(settingsPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    auto again = TradeMsgCenter::create();
    EXPECT_EQ(again->lockTimeMinute(), 15);
    EXPECT_EQ(again->lockPassword(), "4321");
    writeSettings(std::nullopt);
}

class ToolBar : public base::Object, public TradeMsgCenterDelegate {
public:
    void LockToolBar() override { ++locks; }
    int locks = 0;
};

class AutoLockTest : public TradeQueryTest {
protected:
    AutoLockTest() {
        center->setDelegate(toolBar);
        base::NotificationCenter::shared().addObserver(
            observer, "AppNotify", [this](const base::Notification &n) {
                if (n.userInfo.get("MSG_ID").stringValue() == "Trader_MSG")
                    notes.push_back(n.userInfo.get("Data").stringValue());
            });
    }
    ~AutoLockTest() override { base::NotificationCenter::shared().removeObserver(observer.get()); }

    base::Ref<TradeMsgCenter> center = TradeMsgCenter::create();
    base::Ref<ToolBar> toolBar = base::make<ToolBar>();
    base::Ref<base::Object> observer = base::make<base::Object>();
    std::vector<std::string> notes;
};

TEST_F(AutoLockTest, FiresTheChosenMinutesAfterTheLastStart) {
    center->setLockTimeMinute(5);
    center->StartLockTimeCount();
    driver.advance(200);
    center->StartLockTimeCount(); // a panel closed again
    driver.advance(299);
    EXPECT_EQ(toolBar->locks, 0);
    EXPECT_FALSE(center->isLocked());
    EXPECT_TRUE(db->isConnected());

    clock.advance(1);
    EXPECT_TRUE(center->isLocked());
    EXPECT_EQ(toolBar->locks, 1);
    EXPECT_EQ(notes, std::vector<std::string>{"TraderTimerOut"});
    EXPECT_FALSE(center->isCounting());
    EXPECT_TRUE(pumpUntil([&] { return gateway->openConnections() == 0; })) << "the gateway saw the close";
    EXPECT_FALSE(db->isConnected());
}

TEST_F(AutoLockTest, TradingStaysLockedThroughTheLocksOwnCloseUntilTheNextSession) {
    TradeMsgCenter &shared = *TradeMsgCenter::sharedTradeMsgCenter();
    double minutes = shared.lockTimeMinute();
    shared.setLockTimeMinute(1);
    shared.StartLockTimeCount();
    driver.advance(60);
    EXPECT_TRUE(shared.isLocked());
    ASSERT_TRUE(pumpUntil([&] { return gateway->openConnections() == 0; }));
    settle();
    EXPECT_FALSE(db->isConnected());
    EXPECT_TRUE(shared.isLocked()) << "the lock's own close leaves trading locked";

    connectAndLogin();
    EXPECT_FALSE(shared.isLocked()) << "a new session starts unlocked";

    shared.setIsLocked(true); // as the trading screens lock it
    disconnect();
    EXPECT_FALSE(shared.isLocked()) << "any other close clears it";
    shared.setLockTimeMinute(minutes);
}

TEST_F(AutoLockTest, StoppedOrNeverLockingTimersDoNotFire) {
    struct Case {
        const char *name;
        double minutes;
        bool stopInBetween;
    } cases[] = {
        {"stopped when a panel opened", 5, true},
        {"never", -1, false},
        {"minutes missing", 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        center->setLockTimeMinute(c.minutes);
        center->StartLockTimeCount();
        if (c.stopInBetween) {
            driver.advance(100);
            center->StopLockTimeCount();
        }
        driver.advance(601); // twice the minutes chosen, with the heartbeat going on
        EXPECT_EQ(toolBar->locks, 0);
        EXPECT_TRUE(notes.empty());
        EXPECT_TRUE(db->isConnected());
    }

    // Turning the lock off stops a timer already running.
    center->setLockTimeMinute(1);
    center->StartLockTimeCount();
    center->setLockTimeMinute(-1);
    center->StartLockTimeCount();
    driver.advance(120);
    EXPECT_EQ(toolBar->locks, 0);
}

TEST(TradeMsgCenterScreens, TheLoginFormIsMadeOnceOverItsDimmingView) {
    host::TestApp app;
    auto center = TradeMsgCenter::create();
    ui::View &screen = app.window();
    center->NeedShowLoginInParent(screen, true);
    ASSERT_EQ(screen.subviews().size(), 2u);
    ui::View &dim = *screen.subviews()[0];
    EXPECT_EQ(dim.tag, 240);
    EXPECT_FLOAT_EQ(dim.alpha(), 0.5f);
    EXPECT_EQ(dim.frame(), (gfx::Rect{0, 64, 1024, 660}));
    auto login = center->loginView();
    ASSERT_TRUE(login);
    EXPECT_EQ(screen.subviews()[1].get(), login.get());
    EXPECT_EQ(login->frame(), (gfx::Rect{332, 64, 360, 320}));
    EXPECT_FALSE(login->cancelBtn().isHidden());

    center->NeedShowLoginInParent(screen, false);
    EXPECT_EQ(screen.subviews().size(), 2u);
    EXPECT_EQ(center->loginView(), login);
    EXPECT_TRUE(login->cancelBtn().isHidden());

    login->cancelBtn().sendActions(ui::TouchUpInside);
    EXPECT_TRUE(screen.subviews().empty()) << "the form goes with its dimming view";
    EXPECT_FALSE(center->loginView());
    center->NeedShowLoginInParent(screen, true);
    EXPECT_EQ(screen.subviews().size(), 2u) << "a new form after the cancel";
}

TEST(TradeMsgCenterScreens, TheDetailScreensCodeReachesTheOrderPanel) {
    auto center = TradeMsgCenter::create();
    center->SetCurrentProductInTradeView("600000");
    EXPECT_EQ(center->currentProdCode(), "600000");

    auto panel = base::make<TradeView>(gfx::Rect{0, 0, 400, 300});
    center->setTradeViewHandle(panel);
    panel->SetTradeProdCode(center->currentProdCode()); // as the panel presets itself
    center->SetCurrentProductInTradeView("000001");
    EXPECT_EQ(panel->codeField().text(), "000001");
    center->ClearCurrentProduct();
    EXPECT_EQ(center->currentProdCode(), "");
    panel.reset();
    center->SetCurrentProductInTradeView("600036");
    EXPECT_EQ(center->currentProdCode(), "600036") << "a closed panel is not reached";
}

// Top-level screens by the names the centre knows them by, noting the codes they are asked to open.
template <int> struct NotingScreen : CMViewController {
    std::vector<std::string> pushed;
    void PushStockVC(const std::string &code) override { pushed.push_back(code); }
};
struct FrontPageViewController : NotingScreen<0> {};
struct MarketViewController : NotingScreen<1> {};
struct MyStockViewController : NotingScreen<2> {};
struct NewsViewController : NotingScreen<3> {};
struct DecisionViewController : NotingScreen<4> {};

TEST(TradeMsgCenterScreens, APickedHoldingOpensFromTheScreensThatShowSecurities) {
    auto center = TradeMsgCenter::create();
    center->SwitchToStock("SH600000"); // no screen yet: nothing

    auto check = [&](base::Ref<CMViewController> screen, const std::vector<std::string> &pushed,
                     auto *typed) {
        SCOPED_TRACE(screen->className());
        center->setCurrentActiveVCHandle(screen);
        center->SwitchToStock("SH600000");
        EXPECT_EQ(typed->pushed, pushed);
    };
    auto front = base::make<FrontPageViewController>();
    auto market = base::make<MarketViewController>();
    auto mine = base::make<MyStockViewController>();
    auto news = base::make<NewsViewController>();
    auto decision = base::make<DecisionViewController>();
    check(front, {"SH600000"}, front.get());
    check(market, {"SH600000"}, market.get());
    check(mine, {"SH600000"}, mine.get());
    check(news, {}, news.get());
    check(decision, {}, decision.get());

    auto detail = base::make<StockDetailViewController>();
    center->setCurrentActiveVCHandle(detail);
    center->SwitchToStock("SZ000001");
    EXPECT_EQ(detail->stockCode(), "SZ000001") << "the detail screen changes security";

    detail.reset();
    EXPECT_EQ(center->currentActiveVCHandle(), nullptr) << "not retained";
    center->SwitchToStock("SH600036");
}

TEST(TradeMsgCenterScreens, EnterTradeBarAsksForTheTradingScreens) {
    auto observer = base::make<base::Object>();
    std::vector<base::Dict> posted;
    base::NotificationCenter::shared().addObserver(
        observer, "AppNotify", [&](const base::Notification &n) { posted.push_back(n.userInfo); });
    TradeMsgCenter::EnterTradeBar();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0], (base::Dict{{"MSG_ID", "Trader_MSG"}, {"Data", "LaunchTrader"}}));
    base::NotificationCenter::shared().removeObserver(observer.get());
}

} // namespace
} // namespace tradequery
