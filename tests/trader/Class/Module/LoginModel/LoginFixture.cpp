#include "LoginFixture.h"

#include "DataBase/DataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/NotificationCenter.h"

#include <algorithm>
#include <cstdio>

namespace login {

LoginFormTest::LoginFormTest() {
    DataManager::sharedDataManager().msgboxParentHandle = app.window().weakSelf<ui::View>();
    driver.watch([this] { return !gateway || gateway->quiet(); });
    gateway = std::make_unique<peers::TradeGateway>();
    gateway->addAccount({kBroker, kMobile, kCode, kAccount, kPassword});
    if (!DataBase::sharedDataBase()->IO_NetDataCenter())
        DataBase::sharedDataBase()->initialize({});
    quotes = DataBase::sharedDataBase()->IO_NetDataCenter();
    setBrokers();
    db = TradeDataBase::sharedTradeDataBase();
    db->setQuoteLayer(quotes);
    db->setRandomIndex([](int) { return 0; });
    std::remove(AccountList::path().c_str());
    DataManager::sharedDataManager().SetTradeAddedAccountIndex(0);
    base::NotificationCenter::shared().addObserver(
        observer_, "AppNotify", [this](const base::Notification &n) {
            if (n.userInfo.get("Data").stringValue() == "LaunchTrader")
                ++launches_;
        });
}

LoginFormTest::~LoginFormTest() {
    base::NotificationCenter::shared().removeObserver(observer_.get());
    if (form)
        form->close();
    form.reset();
    if (db->isConnected())
        db->disconnectTradeServer({});
    settle();
    gateway.reset();
    settle();
    std::remove(AccountList::path().c_str());
    DataManager::sharedDataManager().msgboxParentHandle.reset();
}

void LoginFormTest::setBrokers(std::vector<peers::GatewayBroker> more) {
    more.insert(more.begin(), {kBroker, 'B', {gateway->port()}});
    quotes->ReadTradeAddressInfo(peers::brokerTableBody(more).span(), 0);
    quotes->IO_GetSecuritiesAddressRsp = true;
}

base::Ref<LoginView> LoginFormTest::showForm() {
    if (form)
        form->close();
    dim = base::make<ui::View>(TradeMsgCenter::kDimFrame);
    dim->tag = TradeMsgCenter::kDimTag;
    dim->setBackgroundColor(gfx::Color::black());
    dim->setAlpha(0.5f);
    app.window().addSubview(dim);
    form = base::make<LoginView>(TradeMsgCenter::kLoginFrame);
    form->setBgView(dim);
    app.window().addSubview(form);
    return form;
}

void LoginFormTest::saveAccounts(const SavedBrokerAccounts &accounts, int index) {
    ASSERT_TRUE(AccountList::save(accounts));
    DataManager::sharedDataManager().SetTradeAddedAccountIndex(index);
}

SavedBrokerAccount LoginFormTest::readyAccount() {
    return {kBroker, kMobile, kCode, "上海", "上海营业部", "0101", "0", kAccount, "YES"};
}

void LoginFormTest::settle() {
    for (int round = 0; round < 200 && !driver.runUntilIdle(); ++round)
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.005);
}

bool LoginFormTest::pumpUntil(const std::function<bool()> &done) {
    for (int round = 0; round < 200 && !driver.runUntilIdle(done);)
        round += base::RunLoop::main().runOnce(base::RunLoop::Default, 0.005) ? 0 : 1;
    return done();
}

std::vector<int> LoginFormTest::sent() {
    const auto &all = gateway->received();
    std::vector<int> out;
    for (size_t i = std::min(seen_, all.size()); i < all.size(); ++i)
        if (all[i].funcID != 10)
            out.push_back(all[i].funcID);
    seen_ = all.size();
    return out;
}

std::vector<std::string> LoginFormTest::alertTexts() const {
    std::vector<std::string> out;
    for (const auto &alert : app.alerts())
        out.push_back(alert.message);
    return out;
}

std::vector<std::string> LoginFormTest::tipTexts() const {
    std::vector<std::string> out;
    for (const auto &toast : app.toasts())
        out.push_back(toast.text);
    return out;
}

} // namespace login
