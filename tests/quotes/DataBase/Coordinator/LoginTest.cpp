#include "CoordinatorFixture.h"

#include "peers/TcpPeer.h"

#include <functional>

using coordinator::CoordinatorTest;
using coordinator::navigation;

namespace {

struct LoginCase {
    const char *name;
    std::function<void(peers::QuoteServer &)> arrange;
    bool withAccount;
    std::vector<int> statuses;
};

TEST_F(CoordinatorTest, LoginStatusSequences) {
    const LoginCase cases[] = {
        {"without account", nullptr, false, {1, 3, 9}},
        {"with account", [](peers::QuoteServer &q) { q.addAccount("u1", "pw"); }, true, {1, 3, 5, 9}},
        {"rejected", [](peers::QuoteServer &q) { q.addAccount("u1", "other"); }, true, {1, 3, 6}},
    };
    for (const LoginCase &c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        if (c.arrange)
            c.arrange(quotes);
        int result = c.withAccount ? db->ConnectAndLoginLevel2Account(nullptr, "u1", "pw", false)
                                   : db->ConnectAndLoginWithoutAccount(nullptr, false);
        EXPECT_EQ(result, 1);
        ASSERT_TRUE(waitForEnd());
        EXPECT_EQ(statuses, c.statuses);
    }
}

TEST_F(CoordinatorTest, FirstLoginLoadsCodeTablesAndProductClassesThenFinishes) {
    readyWithoutAccount();
    EXPECT_EQ(quotes.receivedCount(2956), 11u);
    EXPECT_EQ(quotes.receivedCount(2937), 1u);
    // The finish set follows: the server time.
    EXPECT_TRUE(pumpUntil([&] { return quotes.receivedCount(2963) == 1; }));
    std::vector<float> progress = delegate->loginProgress();
    ASSERT_FALSE(progress.empty());
    EXPECT_FLOAT_EQ(progress.back(), 1.0f);
    EXPECT_NE(delegate->reports.back().marker.find("100.00%"), std::string::npos);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_TRUE(db->isHQConnected());
    EXPECT_EQ(db->m_progress(), -1);
}

TEST_F(CoordinatorTest, RefusingQuoteServerEndsTheLoginWithFour) {
    navigation().setInfo(peers::NavigationInfo::pointingAt(peers::TcpPeer::closedPort()));
    loginWithoutAccount();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(statuses, (std::vector<int>{1, 4}));
    EXPECT_FALSE(db->isHQConnected());
}

TEST_F(CoordinatorTest, BlackHoledQuoteServerTimesOutAfterTenSeconds) {
    peers::TcpPeer hole(peers::TcpPeer::Options{.accept = false});
    hole.fillBacklog();
    navigation().setInfo(peers::NavigationInfo::pointingAt(hole.port()));
    loginWithoutAccount();
    ASSERT_TRUE(waitForStatus(1));
    ASSERT_TRUE(pumpUntil([&] { return navigation().openConnections() == 0; }));
    advance(0); // the quote server is dialled at once
    advance(9.9);
    EXPECT_EQ(statuses, (std::vector<int>{1}));
    advance(0.1);
    EXPECT_TRUE(waitForStatus(4));
    EXPECT_EQ(statuses, (std::vector<int>{1, 4}));
}

// The navigation server's list hands the login straight on to the quote server: no reconnect
// delay stands between them. The delay is the quick one for a later loss.
TEST_F(CoordinatorTest, QuoteServerIsDialedAsSoonAsTheServerListIsIn) {
    loginWithoutAccount();
    ASSERT_TRUE(waitForStatus(1));
    ASSERT_TRUE(pumpUntil([&] { return navigation().openConnections() == 0; }));
    advance(0);
    EXPECT_TRUE(pumpUntil([&] { return quotes.acceptedConnections() == 1; }));
    EXPECT_TRUE(waitForStatus(3));
    EXPECT_NEAR(db->m_ConnectTimes(), DataBase::QuickReconnect, 1e-9);
}

// A navigation server that never answers: each loss waits longer, up to 33 s.
TEST_F(CoordinatorTest, ReconnectLadderFromZero) {
    navigation().addFault(peers::Fault::on(1000, -1).silence());
    loginWithoutAccount();
    const std::vector<std::string> ladder = {"3.30",  "6.60",  "9.90",  "13.20", "16.50", "19.80",
                                             "23.10", "26.40", "29.70", "33.00", "33.00"};
    double previous = 0;
    for (size_t step = 0; step < ladder.size(); ++step) {
        SCOPED_TRACE(step);
        int accepted = navigation().acceptedConnections();
        if (step > 0) {
            advance(previous - 0.05);
            settle();
            EXPECT_EQ(navigation().acceptedConnections(), accepted);
            advance(0.05);
        }
        ASSERT_TRUE(pumpUntil([&] { return navigation().receivedCount(1000) == step + 1; }));
        advance(10); // the silent reply times out
        ASSERT_TRUE(pumpUntil([&] { return delegate->reconnectDelays().size() == step + 1; }));
        EXPECT_EQ(delegate->reconnectDelays().back(), ladder[step]);
        previous = std::stod(ladder[step]);
    }
    // Every time-out told the application.
    EXPECT_EQ(delegate->tips.size(), ladder.size());
}

TEST_F(CoordinatorTest, ActivationRestartsTheKeeperOnlyWithAnAccountName) {
    for (bool withAccount : {true, false}) {
        SCOPED_TRACE(withAccount);
        restart();
        quotes.addAccount("u1", "pw");
        withAccount ? readyWithAccount() : readyWithoutAccount();
        int accepted = quotes.acceptedConnections();
        quotes.closeConnection();
        ASSERT_TRUE(pumpUntil([&] { return !db->isHQConnected(); }));
        settle();
        base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                                {{"AppActiveState", "AppDidBecomeActive"}});
        advance(0.3);
        bool redialed = pumpUntil([&] { return quotes.acceptedConnections() > accepted; });
        EXPECT_EQ(redialed, withAccount);
    }
}

TEST_F(CoordinatorTest, ActivationWhileConnectedOrResigningDoesNothing) {
    readyWithAccount();
    int accepted = quotes.acceptedConnections();
    for (const char *state : {"AppDidBecomeActive", "AppWillResignActive"})
        base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr, {{"AppActiveState", state}});
    advance(1);
    EXPECT_EQ(quotes.acceptedConnections(), accepted);
    EXPECT_TRUE(db->isHQConnected());
}

TEST_F(CoordinatorTest, ReconnectAfterLossLogsInAgainAndAnnouncesIt) {
    readyWithAccount();
    bool announced = false;
    base::NotificationCenter::shared().addObserver(
        observer, DataBase::CommonNotify,
        [&](const base::Notification &n) { announced |= n.userInfo.get("HQConnectStatus").boolValue(); });
    size_t logins = quotes.receivedCount(2936);
    size_t lost = losses();
    quotes.closeConnection();
    ASSERT_TRUE(pumpUntil([&] { return losses() == lost + 1; }));
    advance(db->m_ConnectTimes());
    ASSERT_TRUE(pumpUntil([&] { return quotes.receivedCount(2936) == logins + 1; }))
        << delegate->reports.back().marker;
    EXPECT_TRUE(announced);
    // No new status: the login had ended.
    EXPECT_EQ(statuses, (std::vector<int>{1, 3, 5, 9}));
}

// A login while connected to a quote server still ends with a status.
TEST_F(CoordinatorTest, LoginWhileConnectedRunsToAnEnd) {
    quotes.addAccount("u1", "pw");
    quotes.addAccount("u2", "pw2");
    readyWithAccount();
    statuses.clear();
    EXPECT_EQ(db->ConnectAndLoginLevel2Account(nullptr, "u2", "wrong", false), DataBase::LoginSent);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(statuses, (std::vector<int>{6}));
    statuses.clear();
    EXPECT_EQ(db->ConnectAndLoginLevel2Account(nullptr, "u2", "pw2", false), DataBase::LoginSent);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(statuses, (std::vector<int>{5, 9}));
    statuses.clear();
    EXPECT_EQ(db->ConnectAndLoginWithoutAccount(nullptr, false), DataBase::LoginSent);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(statuses, (std::vector<int>{9}));
}

TEST_F(CoordinatorTest, LoginDuringAPendingConnectJoinsIt) {
    int accepted = navigation().acceptedConnections();
    loginWithoutAccount();
    EXPECT_EQ(db->ConnectAndLoginWithoutAccount(nullptr, false), 1);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(statuses, (std::vector<int>{1, 3, 9}));
    EXPECT_EQ(navigation().acceptedConnections(), accepted + 1);
}

TEST_F(CoordinatorTest, FailedQuoteServerMovesOnAndMalformedAddressesAreSkipped) {
    peers::NavigationInfo info = peers::NavigationInfo::pointingAt(quotes.port());
    info.quoteServers = {"127.0.0.1", "127.0.0.1:0", "127.0.0.1:70000",
                         base::str::format("127.0.0.1:%d", int(peers::TcpPeer::closedPort())),
                         base::str::format("127.0.0.1:%d", int(quotes.port()))};
    navigation().setInfo(info);
    loginWithoutAccount();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(statuses, (std::vector<int>{1, 4}));
    // The keeper goes on with the next server of the list.
    for (int round = 0; round < 40 && !db->isHQConnected(); ++round)
        advance(1);
    EXPECT_TRUE(db->isHQConnected());
    EXPECT_EQ(quotes.acceptedConnections(), 1);
}

TEST_F(CoordinatorTest, AfterAFullRoundOfFailedQuoteServersNavigationIsAskedAgain) {
    navigation().setInfo(peers::NavigationInfo::pointingAt(peers::TcpPeer::closedPort()));
    loginWithoutAccount();
    ASSERT_TRUE(waitForEnd());
    for (int round = 0; round < 40 && navigation().receivedCount(1000) < 2; ++round)
        advance(1);
    EXPECT_EQ(navigation().receivedCount(1000), 2u);
}

TEST_F(CoordinatorTest, DisconnectStopsReconnecting) {
    readyWithoutAccount();
    int accepted = quotes.acceptedConnections();
    int navAccepted = navigation().acceptedConnections();
    db->Disconnect();
    settle();
    advance(60);
    EXPECT_EQ(quotes.acceptedConnections(), accepted);
    EXPECT_EQ(navigation().acceptedConnections(), navAccepted);
}

} // namespace
