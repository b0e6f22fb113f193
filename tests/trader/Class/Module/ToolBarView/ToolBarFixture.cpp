#include "ToolBarFixture.h"

#include "DataBase/DataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "peers/BrokerTable.h"

#include "base/NotificationCenter.h"

#include <cstdio>

namespace toolbar {

namespace {

// Hears the trade connection's results.
struct Listener : base::Object, TradeDataDelegate {
    int connects = 0, replies = 0;
    base::Opt<void> OnTradeConnect(bool, int) override { return ++connects, base::Opt<void>{}; }
    base::Opt<void> OnTradeDataRsp(int, const base::Ref<TradeRspData> &,
                                   const std::optional<base::Dict> &) override {
        return ++replies, base::Opt<void>{};
    }
};

} // namespace

ToolBarTest::ToolBarTest() {
    DataManager::sharedDataManager().msgboxParentHandle = app.window().weakSelf<ui::View>();
    driver.watch([this] { return !gateway || gateway->quiet(); });
    gateway = std::make_unique<peers::TradeGateway>();
    gateway->addAccount({kBroker, kMobile, kCode, kAccount, kPassword});
    if (!DataBase::sharedDataBase()->IO_NetDataCenter())
        DataBase::sharedDataBase()->initialize({});
    base::Ref<NetDataCenter> quotes = DataBase::sharedDataBase()->IO_NetDataCenter();
    quotes->ReadTradeAddressInfo(peers::brokerTableBody({{kBroker, 'B', {gateway->port()}}}).span(), 0);
    quotes->IO_GetSecuritiesAddressRsp = true;
    db = TradeDataBase::sharedTradeDataBase();
    db->setQuoteLayer(quotes);
    db->setRandomIndex([](int) { return 0; });
    std::remove(TradeMsgCenter::dataFilePath(TradeMsgCenter::kSettingsFile).c_str());
    TradeMsgCenter::sharedTradeMsgCenter()->setLockTimeMinute(10);
    host = base::make<ui::ViewController>();
    host->view().setFrame({0, 0, 1024, 768});
    app.window().addSubview(host->viewRef());
    base::NotificationCenter::shared().addObserver(
        observer_, "AppNotify", [this](const base::Notification &n) {
            if (n.userInfo.get("Data").stringValue() == "LaunchTrader")
                ++launches_;
        });
}

ToolBarTest::~ToolBarTest() {
    base::NotificationCenter::shared().removeObserver(observer_.get());
    TradeMsgCenter::sharedTradeMsgCenter()->StopLockTimeCount();
    if (bar)
        bar->DismissTraderToolBarWithSubiew();
    settleSlides();
    bar.reset();
    TradeMsgCenter::sharedTradeMsgCenter()->StopLockTimeCount();
    TradeMsgCenter::sharedTradeMsgCenter()->ClearCurrentProduct();
    ui::Alert::discardAll();
    if (db->isConnected())
        db->disconnectTradeServer({});
    settle();
    gateway.reset();
    settle();
    std::remove(TradeMsgCenter::dataFilePath(TradeMsgCenter::kSettingsFile).c_str());
    DataManager::sharedDataManager().msgboxParentHandle.reset();
}

void ToolBarTest::logIn() {
    auto listener = base::make<Listener>();
    std::string msg;
    auto step = [&] { return db->ConnectAndCheckPhone(listener, kBroker, nullptr, kMobile, kCode, msg); };
    ASSERT_EQ(step(), TradeDataBase::kConnecting);
    ASSERT_TRUE(driver.runUntil([&] { return listener->connects > 0; }, 5));
    ASSERT_EQ(step(), TradeDataBase::kCheckingPhone);
    ASSERT_TRUE(driver.runUntil([&] { return listener->replies > 0; }, 5));
    ASSERT_EQ(step(), TradeDataBase::kReady);
    db->IO_TradeNetData()->RequestUserLogin(listener, 1, kAccount, kPassword, "0101");
    ASSERT_TRUE(driver.runUntil([&] { return db->IO_TradeNetData()->isLoginSuccess(); }, 5));
}

base::Ref<TraderToolBarView> ToolBarTest::showBar() {
    bar = base::make<TraderToolBarView>(kBarFrame);
    bar->setParentHandler(host);
    bar->setIsHidden(false);
    bar->ShowTraderToolBar();
    settleSlides();
    return bar;
}

void ToolBarTest::tap(ui::View &view) {
    gfx::Rect frame = view.convert(view.bounds(), nullptr);
    app.tap({frame.midX(), frame.midY()});
    driver.runUntilIdle();
}

void ToolBarTest::settle() {
    for (int round = 0; round < 200 && !driver.runUntilIdle(); ++round)
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.005);
}

bool ToolBarTest::lockCounting() const {
    return TradeMsgCenter::sharedTradeMsgCenter()->isCounting();
}

std::vector<std::string> ToolBarTest::alertTexts() const {
    std::vector<std::string> out;
    for (const auto &alert : app.alerts())
        out.push_back(alert.message);
    return out;
}

std::vector<int> ToolBarTest::sentSince(size_t &seen) const {
    std::vector<int> out;
    for (; seen < gateway->received().size(); ++seen)
        if (gateway->received()[seen].funcID != 10)
            out.push_back(gateway->received()[seen].funcID);
    return out;
}

std::vector<std::string> ToolBarTest::tipTexts() const {
    std::vector<std::string> out;
    for (const auto &toast : app.toasts())
        out.push_back(toast.text);
    return out;
}

} // namespace toolbar
