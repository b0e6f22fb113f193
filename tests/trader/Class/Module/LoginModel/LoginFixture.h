#pragma once

#include "Class/Module/LoginModel/LoginView/LoginView.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "host/Offscreen.h"
#include "peers/BrokerTable.h"
#include "peers/LoopDriver.h"
#include "peers/TradeGateway.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace login {

constexpr const char *kBroker = "本地券商";
constexpr const char *kMobile = "13800138000";
constexpr const char *kCode = "123456";
constexpr const char *kAccount = "880001";
constexpr const char *kPassword = "123456";

// The process-wide trade connection and quote layer with the loopback gateway as the only broker
// of the broker table, an offscreen window holding the form over its dimming view as the trade
// message centre lays them, no saved accounts, all on the main run loop under a virtual clock.
class LoginFormTest : public ::testing::Test {
protected:
    LoginFormTest();
    ~LoginFormTest() override;

    // Lists these brokers, the gateway's first.
    void setBrokers(std::vector<peers::GatewayBroker> more = {});
    // A new form, as the trade message centre shows it.
    base::Ref<LoginView> showForm();
    // Saved accounts and the stored index in use.
    void saveAccounts(const SavedBrokerAccounts &accounts, int index);
    // A saved account of the gateway's broker that needs nothing more than the password.
    static SavedBrokerAccount readyAccount();

    void settle();
    bool pumpUntil(const std::function<bool()> &done);
    // Functions the gateway received since the last call, heartbeats left out.
    std::vector<int> sent();
    std::vector<std::string> alertTexts() const;
    std::vector<std::string> tipTexts() const;
    std::string lastAlert() const {
        return app.alerts().empty() ? std::string() : app.alerts().back().message;
    }
    int launches() const { return launches_; }
    bool formShown() const { return form && form->superview() != nullptr; }

    base::VirtualClock clock;
    host::TestApp app{&clock};
    peers::LoopDriver driver{clock};
    std::unique_ptr<peers::TradeGateway> gateway;
    base::Ref<NetDataCenter> quotes;
    base::Ref<TradeDataBase> db;
    base::Ref<LoginView> form;
    base::Ref<ui::View> dim;

private:
    size_t seen_ = 0;
    int launches_ = 0;
    base::Ref<base::Object> observer_ = base::make<base::Object>();
};

} // namespace login
