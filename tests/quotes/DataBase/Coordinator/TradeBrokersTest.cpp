#include "CoordinatorFixture.h"

#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "peers/TradeGateway.h"

namespace coordinator {
namespace {

// The broker table of the quote server leads the trade connection to the broker's gateway.
TEST_F(CoordinatorTest, TradeConnectionFindsTheGatewayThroughTheBrokerTable) {
    readyWithoutAccount();
    auto served = std::make_shared<peers::TradeGateway>();
    peers::TradeGateway &gateway = *served;
    driver.watch([weak = std::weak_ptr<peers::TradeGateway>(served)] {
        auto alive = weak.lock();
        return !alive || alive->quiet();
    });
    gateway.addAccount({"本地券商", "13800138000", "123456", "880001", "123456"});
    quotes.setBrokers({{"本地券商", 'B', {gateway.port()}}});
    // Whatever table came with the login is asked for again.
    db->IO_NetDataCenter()->IO_GetSecuritiesAddressRsp = false;

    std::vector<base::Dict> heard;
    // The requester's name also hears the quote layer's broker-table reply; only trade results count.
    base::NotificationCenter::shared().addObserver(
        observer, "TradeBrokerTest", [&](const base::Notification &n) {
            if (n.userInfo.has("TradeConnectNotify") || n.userInfo.has("TradeNetDataNotify"))
                heard.push_back(n.userInfo);
        });
    auto trade = TradeDataBase::sharedTradeDataBase();
    std::string msg;
    auto step = [&] {
        return trade->ConnectAndCheckPhone(std::string("TradeBrokerTest"), "本地券商", nullptr, "13800138000",
                                           "123456", msg);
    };
    EXPECT_EQ(step(), TradeDataBase::kRequestingBrokers);
    EXPECT_TRUE(pumpUntil([&] { return db->IO_NetDataCenter()->IO_GetSecuritiesAddressRsp; }));
    EXPECT_EQ(step(), TradeDataBase::kConnecting) << msg;
    EXPECT_TRUE(pumpUntil([&] { return heard.size() == 1; }));
    EXPECT_TRUE(heard.size() == 1 && heard[0].get("IsConnectSuccess").boolValue());
    EXPECT_EQ(step(), TradeDataBase::kCheckingPhone);
    EXPECT_TRUE(pumpUntil([&] { return heard.size() == 2; }));
    EXPECT_EQ(step(), TradeDataBase::kReady);
    EXPECT_TRUE(gateway.violations().empty());

    trade->disconnectTradeServer(std::string("TradeBrokerTest"));
    EXPECT_TRUE(pumpUntil([&] { return heard.size() == 3; }));
    base::NotificationCenter::shared().removeObserver(observer.get(), "TradeBrokerTest");
}

} // namespace
} // namespace coordinator
