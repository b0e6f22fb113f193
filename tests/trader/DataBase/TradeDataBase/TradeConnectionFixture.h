#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "base/NotificationCenter.h"
#include "base/RunLoop.h"
#include "base/VirtualClock.h"
#include "peers/BrokerTable.h"
#include "peers/LoopDriver.h"
#include "peers/TradeGateway.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tradeconn {

constexpr const char *kBroker = "zira";
constexpr const char *kMobile = "13800138000";
constexpr const char *kCode = "246810";
constexpr const char *kAccount = "880001";
constexpr const char *kPassword = "pw";

// What a requester heard, copied while the shared reply was valid.
struct Heard {
    int type;
    bool success;
    std::string errCode;
    std::string errMsg;
    std::optional<base::Dict> params;
    base::Dict dict;
};

class Requester : public base::Object, public TradeDataDelegate {
public:
    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rsp,
                                   const std::optional<base::Dict> &params) override;
    base::Opt<void> OnTradeConnect(bool success, int status) override {
        connects.emplace_back(success, status);
        return {};
    }
    // Replies heard for one function.
    std::vector<Heard> of(int type) const;

    std::vector<Heard> replies;
    std::vector<std::pair<bool, int>> connects;
};

// A trade connection on the main run loop and a virtual clock, a quote layer whose broker table
// lists the loopback gateway (broker "zira", one account), and a requester. Nothing waits on real
// time: the loop runs until it is idle, sockets are waited for by the loop's own poll, and time
// moves only by advance().
class TradeConnectionTest : public ::testing::Test {
protected:
    TradeConnectionTest();
    ~TradeConnectionTest() override;

    // A new gateway, connection and requester; the brokers listed are "zira" on the gateway, plus
    // those given.
    void start(std::vector<peers::GatewayBroker> more = {});
    void setBrokers(const std::vector<peers::GatewayBroker> &brokers);

    // Runs the loop until neither it nor the gateway has anything left to do.
    void settle() { driver.runUntilIdle(); }
    // Runs the loop until `done` holds; false when it still does not after many idle rounds (a
    // loaded machine may hand loopback connects and bytes over a little late).
    bool pumpUntil(const std::function<bool()> &done);
    void advance(double seconds) { driver.advance(seconds); }

    int step(const std::string &broker = kBroker, const std::string &code = kCode);
    // Connected and the phone check passed.
    void connectAndCheck();
    // Then logged in with the gateway's account.
    void loginReady();

    std::vector<int> funcsReceived() const;
    int relaunches() const { return relaunches_; }

    base::VirtualClock clock;
    peers::LoopDriver driver{clock};
    std::unique_ptr<peers::TradeGateway> gateway;
    base::Ref<NetDataCenter> quotes;
    base::Ref<TradeDataBase> db;
    base::Ref<Requester> requester;
    std::string msg;

private:
    base::Ref<base::Object> observer_ = base::make<base::Object>();
    int relaunches_ = 0;
};

} // namespace tradeconn
