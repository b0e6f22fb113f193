#include "TradeConnectionFixture.h"

#include "peers/TcpPeer.h"

namespace tradeconn {
namespace {

TEST_F(TradeConnectionTest, ConnectSequenceCodesAndTexts) {
    // The broker table has not come yet: it is asked for.
    quotes->IO_GetSecuritiesAddressRsp = false;
    EXPECT_EQ(step(), 100);
    EXPECT_EQ(msg, "正在请求券商交易地址......");
    setBrokers({});
    EXPECT_EQ(step(), -101);
    EXPECT_EQ(msg, "未能找到所有券商的交易服务器!");
    setBrokers({{kBroker, 'Z', {gateway->port()}}, {"other", 'O', {}}});
    EXPECT_EQ(step("nobody"), -1);
    EXPECT_EQ(msg, "未能找到该券商的交易服务器！");
    EXPECT_EQ(step("other"), -1);
    EXPECT_EQ(msg, "未能找到该券商的交易服务器！");

    connectAndCheck();
    EXPECT_EQ(db->IO_ConnectLoginInfo()->securitiesName, kBroker);
    EXPECT_EQ(db->IO_ConnectLoginInfo()->mobile, kMobile);
    EXPECT_EQ(gateway->received(peers::TradeGateway::kPhoneCheck).size(), 1u);
    EXPECT_EQ(step(), 0) << "a passed phone check is not sent again";
    EXPECT_EQ(gateway->received().size(), 1u);
    std::string err;
    EXPECT_FALSE(db->connectToTradeServerRandom(requester, kBroker, nullptr, err));
    EXPECT_EQ(err, "交易服务器已处于连接状态，不能再次连接！");

    // Another broker: this connection is closed first, and the caller hears the end.
    auto other = base::make<Requester>();
    EXPECT_EQ(db->ConnectAndCheckPhone(other, "elsewhere", nullptr, kMobile, kCode, msg), 10);
    EXPECT_EQ(msg, "正在断开连接......");
    ASSERT_TRUE(pumpUntil([&] { return !other->connects.empty(); }));
    EXPECT_EQ(other->connects, (std::vector<std::pair<bool, int>>{{false, 2}}));
    EXPECT_FALSE(db->isConnected());
    EXPECT_EQ(relaunches(), 0) << "a requested close is no error";
    EXPECT_TRUE(gateway->violations().empty()) << gateway->violations()[0];
}

TEST_F(TradeConnectionTest, PhoneCheckOutcomes) {
    struct Case {
        const char *name;
        std::optional<std::string> refusal;
        std::string code;
        bool success;
        std::string errCode, errMsg;
    } cases[] = {
        {"accepted", std::nullopt, kCode, true, "", ""},
        {"refused by the gateway", "该手机号码已停用", kCode, false, "-2", "该手机号码已停用"},
        {"another check code", std::nullopt, "999999", false, "-1", "密钥验证失败"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        start();
        gateway->setPhoneCheckRefusal(c.refusal);
        ASSERT_EQ(step(kBroker, c.code), 1);
        ASSERT_TRUE(pumpUntil([&] { return !requester->connects.empty(); }));
        ASSERT_EQ(step(kBroker, c.code), 2);
        ASSERT_TRUE(pumpUntil([&] { return !requester->of(-100).empty(); }));
        const Heard heard = requester->of(-100).back();
        EXPECT_EQ(heard.success, c.success);
        EXPECT_EQ(heard.errCode, c.errCode);
        EXPECT_EQ(heard.errMsg, c.errMsg);
        EXPECT_EQ(db->IO_ConnectLoginInfo()->checkSuccess, c.success);
        EXPECT_EQ(step(kBroker, c.code), c.success ? 0 : 2);
    }
}

TEST_F(TradeConnectionTest, LoginFillsTheSessionAndLaterRequestsCarryIt) {
    struct Case {
        const char *name;
        bool identifiers, accounts;
        std::string customer, holderSH;
    } cases[] = {
        {"full reply", true, true, std::string("C") + kAccount, "A880001"},
        {"no identifier row", false, true, kAccount, "A880001"},
        {"no accounts", true, false, std::string("C") + kAccount, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        start();
        gateway->setLoginTables(c.identifiers, c.accounts);
        loginReady();
        const auto &center = db->IO_TradeNetData();
        EXPECT_TRUE(center->isLoginSuccess());
        EXPECT_EQ(center->customerNum(), c.customer);
        EXPECT_EQ(center->getStockHolderCode(3), c.holderSH);
        EXPECT_EQ(center->getExchangeStr(c.holderSH), c.accounts ? "SH" : "");
        EXPECT_EQ(center->getExchangeStr(peers::TradeGateway::holderCode(kAccount, 2)),
                  c.accounts ? "SZ" : "");
        center->RequestMoneyList(requester);
        center->RequestBuySell(requester, 3, "", 1, "600000", "10.00", "100", 1);
        ASSERT_TRUE(pumpUntil([&] { return requester->replies.size() == 2; }));
        // The gateway checks every session pair of both against the login's values.
        EXPECT_TRUE(gateway->violations().empty()) << gateway->violations()[0];
        EXPECT_EQ(gateway->received(11116).back().value(1019), c.holderSH);
    }
}

TEST_F(TradeConnectionTest, RepliesReachObjectsAndNames) {
    loginReady();
    const auto &center = db->IO_TradeNetData();
    std::vector<base::Dict> posted;
    auto observer = base::make<base::Object>();
    base::NotificationCenter::shared().addObserver(observer, "DealNotify", [&](const base::Notification &n) {
        posted.push_back(n.userInfo);
        // The notification turns back into the requester's own call.
        EXPECT_TRUE(TradeDataBase::ProcRecvNotify(n, *requester));
    });
    center->RequestDealList(std::string("DealNotify"), 15, 15);
    // An object that hears no replies: its request still leaves the queue.
    center->RequestMoneyList(base::make<base::Object>());
    center->RequestBankList(requester);
    ASSERT_TRUE(pumpUntil([&] { return requester->replies.size() == 2; }));
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].get("TradeNetDataNotify").intValue(), 11140);
    EXPECT_TRUE(posted[0].get("RspData").objectAs<TradeRspData>());
    EXPECT_EQ(posted[0].get("ReqParams"), (base::Dict{{"Start", 15}, {"Count", 15}}));
    EXPECT_EQ(requester->replies[0].type, 11140);
    EXPECT_EQ(requester->replies[0].params, (base::Dict{{"Start", 15}, {"Count", 15}}));
    EXPECT_EQ(requester->replies[1].type, 11130);
    EXPECT_TRUE(db->m_RequestGroups().empty());
    EXPECT_TRUE(db->m_isNetIdle());
    base::NotificationCenter::shared().removeObserver(observer.get());
}

TEST_F(TradeConnectionTest, RequestsWhileDownFailOnALaterPass) {
    const auto &center = db->IO_TradeNetData();
    center->RequestAccountArea(requester, kMobile);
    center->RequestPhoneRegText(requester);
    center->RequestMoneyList(requester);
    EXPECT_TRUE(requester->replies.empty()) << "never inside the call";
    settle();
    ASSERT_EQ(requester->replies.size(), 3u);
    EXPECT_EQ(requester->replies[0].type, 12058);
    EXPECT_EQ(requester->replies[0].errMsg, "交易服务器已断开，请重新登录！");
    EXPECT_FALSE(requester->replies[0].success);
    EXPECT_EQ(requester->replies[1].type, 13056);
    EXPECT_EQ(requester->replies[2].type, 11104);
    EXPECT_EQ(requester->replies[2].errMsg, "密钥验证失败") << "no phone check, so no key";
    EXPECT_EQ(gateway->acceptedConnections(), 0);
}

TEST_F(TradeConnectionTest, RequestQueuedWhileConnectingGoesOutOnConnect) {
    ASSERT_EQ(step(), 1);
    db->IO_TradeNetData()->RequestAccountArea(requester, kMobile);
    ASSERT_TRUE(pumpUntil([&] { return !requester->of(12058).empty(); }));
    EXPECT_TRUE(requester->of(12058)[0].success);
    EXPECT_TRUE(gateway->violations().empty()) << gateway->violations()[0];
}

TEST_F(TradeConnectionTest, HeartbeatAfterLoginBehindTheRequestInFlight) {
    advance(45);
    connectAndCheck();
    advance(30);
    EXPECT_TRUE(gateway->received(10).empty()) << "no login yet";

    db->IO_TradeNetData()->RequestUserLogin(requester, 1, kAccount, kPassword, "");
    ASSERT_TRUE(pumpUntil([&] { return !requester->of(11100).empty(); }));
    // Ticks at 90 and 120: one heartbeat each.
    advance(60);
    EXPECT_TRUE(pumpUntil([&] { return gateway->received(10).size() == 2; }));

    // The tick at 150 while a request waits for its reply: the heartbeat queues behind it.
    advance(14);
    gateway->addFault(peers::TradeFault::on(11104).split(1));
    db->IO_TradeNetData()->RequestMoneyList(requester);
    advance(1);
    EXPECT_EQ(gateway->received(10).size(), 2u);
    gateway->resume();
    EXPECT_TRUE(pumpUntil([&] { return gateway->received(10).size() == 3; }));
    EXPECT_EQ(requester->of(11104).size(), 1u);
    EXPECT_EQ(funcsReceived().back(), 10);
    EXPECT_TRUE(gateway->violations().empty()) << gateway->violations()[0];

    // After the connection dropped, the ticks send nothing.
    gateway->closeConnection();
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.back() == std::make_pair(false, 0); }));
    EXPECT_FALSE(db->IO_TradeNetData()->isLoginSuccess());
    advance(90);
    EXPECT_EQ(gateway->received(10).size(), 3u);
}

TEST_F(TradeConnectionTest, FailOverAcrossTheBrokersAddresses) {
    peers::TradeGateway second;
    uint16_t refused = peers::TcpPeer::closedPort();
    setBrokers(
        {{"three", 'T', {gateway->port(), second.port(), refused}}, {"other", 'O', {gateway->port()}}});
    WTTraderAddressList three = quotes->getSecuritiesAddressInfo("three")->addressList();
    db->setRandomIndex([](int) { return 1; });

    // The pick (1) is flagged: the attempt goes to 2, which refuses; the next is 0.
    three[1]->setConnectFail(true);
    ASSERT_EQ(step("three"), 1);
    ASSERT_TRUE(pumpUntil([&] { return !requester->connects.empty(); }));
    EXPECT_EQ(requester->connects.back(), std::make_pair(false, 1));
    EXPECT_TRUE(three[2]->connectFail());
    ASSERT_TRUE(db->connectToNextTradeServer());
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 2; }));
    EXPECT_EQ(requester->connects.back(), std::make_pair(true, 1));
    EXPECT_EQ(db->IO_ConnectLoginInfo()->connectIndex, 0);
    EXPECT_TRUE(pumpUntil([&] { return gateway->acceptedConnections() == 1; }));
    EXPECT_EQ(second.acceptedConnections(), 0);

    // Every address flagged: kept while another broker is tried, cleared for this one.
    db->disconnectTradeServer(requester);
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 3; }));
    three[0]->setConnectFail(true);
    ASSERT_EQ(step("other"), 1);
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 4; }));
    EXPECT_TRUE(three[0]->connectFail() && three[1]->connectFail() && three[2]->connectFail());
    db->disconnectTradeServer(requester);
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 5; }));
    ASSERT_EQ(step("three"), 1);
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 6; }));
    EXPECT_FALSE(three[0]->connectFail());
    EXPECT_EQ(requester->connects.back(), std::make_pair(true, 1));
    EXPECT_TRUE(pumpUntil([&] { return second.acceptedConnections() == 1; }))
        << "the pick went to index 1 again";
    EXPECT_EQ(relaunches(), 0) << "the refused connect had addresses left to fail over to";
}

// The user is told to log in again once, when the broker's last address has failed, and not at
// all when a later address answers.
TEST_F(TradeConnectionTest, OnlyTheLastFailedAddressAsksForANewLogin) {
    const uint16_t dead1 = peers::TcpPeer::closedPort(), dead2 = peers::TcpPeer::closedPort();
    setBrokers({{"two dead", 'T', {dead1, dead2, gateway->port()}}, {"all dead", 'A', {dead1, dead2}}});
    db->setRandomIndex([](int) { return 0; });

    ASSERT_EQ(step("two dead"), 1);
    for (size_t attempt = 1; attempt <= 2; ++attempt) {
        ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == attempt; }));
        EXPECT_EQ(requester->connects.back(), std::make_pair(false, 1));
        ASSERT_TRUE(db->connectToNextTradeServer());
    }
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 3; }));
    EXPECT_EQ(requester->connects.back(), std::make_pair(true, 1));
    EXPECT_EQ(relaunches(), 0);

    db->disconnectTradeServer(requester);
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 4; }));
    ASSERT_EQ(step("all dead"), 1);
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 5; }));
    EXPECT_EQ(relaunches(), 0) << "one address is left";
    ASSERT_TRUE(db->connectToNextTradeServer());
    ASSERT_TRUE(pumpUntil([&] { return requester->connects.size() == 6; }));
    EXPECT_EQ(requester->connects.back(), std::make_pair(false, 1));
    EXPECT_EQ(relaunches(), 1) << "the last address failed";
    EXPECT_FALSE(db->connectToNextTradeServer());
}

TEST_F(TradeConnectionTest, BlackHoledAddressFailsAfterTenSeconds) {
    peers::TcpPeer hole(peers::TcpPeer::Options{false});
    hole.fillBacklog();
    setBrokers({{kBroker, 'Z', {hole.port()}}});
    ASSERT_EQ(step(), 1);
    advance(9.9);
    EXPECT_TRUE(requester->connects.empty());
    // A request made meanwhile waits for the connection, and fails with it.
    db->IO_TradeNetData()->RequestLoginMode(requester);
    advance(0.2);
    ASSERT_TRUE(pumpUntil([&] { return !requester->connects.empty(); }));
    EXPECT_EQ(requester->connects.back(), std::make_pair(false, 1));
    EXPECT_TRUE(quotes->getSecuritiesAddressInfo(kBroker)->addressList()[0]->connectFail());
    EXPECT_FALSE(db->connectToNextTradeServer());
    settle();
    ASSERT_EQ(requester->of(12010).size(), 1u);
    EXPECT_EQ(requester->of(12010)[0].errMsg, "交易服务器已断开，请重新登录！");
}

} // namespace
} // namespace tradeconn
