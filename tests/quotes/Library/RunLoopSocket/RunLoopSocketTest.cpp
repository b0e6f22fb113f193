#include "RunLoopSocket.h"
#include "peers/LoopDriver.h"
#include "peers/TcpPeer.h"

#include "base/RunLoop.h"
#include "base/VirtualClock.h"

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <netdb.h>
#include <vector>

namespace {

using base::RunLoop;

// Writes every callback into a log as one line, and flags a callback that arrives while another
// one is still running (the disconnect callback must come on a later pass).
class Recorder : public RunLoopSocketDelegate {
public:
    using RunLoopSocketDelegate::onSocket;

    std::vector<std::string> log;
    std::vector<base::Data> reads;
    std::function<void(RunLoopSocket &)> afterRead, afterError, afterDisconnect;
    std::optional<bool> allowConnect;

    base::Opt<bool> onSocketWillConnect(RunLoopSocket &) override {
        if (!allowConnect)
            return base::notImplemented;
        note("willConnect");
        return *allowConnect;
    }
    base::Opt<void> onSocket(RunLoopSocket &, const std::string &host, uint16_t) override {
        note("connect " + host);
        return {};
    }
    base::Opt<void> onSocket(RunLoopSocket &socket, const base::Data &data, int32_t tag) override {
        Scope scope(this);
        note("read " + std::to_string(tag) + " " + std::to_string(data.length()));
        reads.push_back(data);
        if (auto hook = afterRead)
            hook(socket);
        return {};
    }
    base::Opt<void> onSocket(RunLoopSocket &, int32_t tag) override {
        note("write " + std::to_string(tag));
        return {};
    }
    base::Opt<void> onSocket(RunLoopSocket &, const base::Ref<base::Error> &error) override {
        Scope scope(this);
        note(error ? "error " + error->domain() + " " + std::to_string(error->code()) : "end");
        if (error)
            errorText = error->localizedDescription();
        return {};
    }
    base::Opt<void> onSocketDidDisconnect(RunLoopSocket &socket) override {
        Scope scope(this);
        note(socket.isConnected() ? "disconnected while connected" : "disconnected");
        if (auto hook = afterDisconnect)
            hook(socket);
        return {};
    }

    std::string errorText;

private:
    struct Scope {
        explicit Scope(Recorder *r) : r(r) { ++r->depth; }
        ~Scope() { --r->depth; }
        Recorder *r;
    };
    void note(std::string line) { log.push_back(depth > 1 ? "nested " + line : line); }
    int depth = 0;
};

class RunLoopSocketTest : public ::testing::Test {
protected:
    void SetUp() override { base::Clock::setCurrent(&clock); }
    void TearDown() override {
        socket.reset();
        settle();
        base::Clock::setCurrent(nullptr);
    }

    // Runs the loop, without moving the clock, until `done` holds or the socket and its peers are
    // idle.
    bool runUntil(const std::function<bool()> &done) { return driver.runUntilIdle(done); }
    void settle() { driver.runUntilIdle(); }
    // A peer that lives as long as the test, watched by the driver.
    peers::TcpPeer &makePeer(peers::TcpPeer::Options options = {}) {
        peers::TcpPeer &peer = *peers_.emplace_back(std::make_unique<peers::TcpPeer>(options));
        driver.watch([&peer] { return peer.quiet(); });
        return peer;
    }
    bool logged(const std::string &line) const {
        return std::find(recorder->log.begin(), recorder->log.end(), line) != recorder->log.end();
    }
    bool connectTo(uint16_t port, const std::string &host = "127.0.0.1") {
        return socket->connectToHost(host, port);
    }
    bool connectAndWait(uint16_t port) {
        return connectTo(port) && runUntil([&] { return logged("connect 127.0.0.1"); });
    }
    static base::Data bytes(size_t length, char first = 'a') {
        std::string text(length, first);
        for (size_t i = 0; i < length; ++i)
            text[i] = char(first + i % 26);
        return base::Data::fromString(text);
    }

    base::VirtualClock clock;
    peers::LoopDriver driver{clock};
    std::vector<std::unique_ptr<peers::TcpPeer>> peers_;
    base::Ref<Recorder> recorder = base::make<Recorder>();
    base::Ref<RunLoopSocket> socket = base::make<RunLoopSocket>(recorder);
};

using Log = std::vector<std::string>;

TEST_F(RunLoopSocketTest, ConnectsAndReportsThePeer) {
    peers::TcpPeer &peer = makePeer();
    EXPECT_EQ(socket->flags(), RunLoopSocket::EnablePreBuffering);
    ASSERT_TRUE(connectTo(peer.port()));
    EXPECT_FALSE(socket->isConnected());
    EXPECT_TRUE(recorder->log.empty()) << "the outcome arrives by callback";
    ASSERT_TRUE(runUntil([&] { return !recorder->log.empty(); }));
    EXPECT_EQ(recorder->log, Log{"connect 127.0.0.1"});
    EXPECT_TRUE(socket->isConnected());
    EXPECT_EQ(socket->flags(), 0x0f);
}

TEST_F(RunLoopSocketTest, ReadQueuedBeforeConnectWaitsForTheConnection) {
    peers::TcpPeer &peer = makePeer();
    socket->readDataWithTimeout(-1, 3);
    ASSERT_TRUE(connectAndWait(peer.port()));
    peer.send("hi");
    ASSERT_TRUE(runUntil([&] { return recorder->log.size() == 2; }));
    EXPECT_EQ(recorder->log, (Log{"connect 127.0.0.1", "read 3 2"}));
    EXPECT_EQ(recorder->reads[0].toString(), "hi");
}

TEST_F(RunLoopSocketTest, OneReadTakesEverythingAvailableAndTheNextWaitsForNewBytes) {
    peers::TcpPeer &peer = makePeer();
    ASSERT_TRUE(connectAndWait(peer.port()));
    const base::Data burst = bytes(1000);
    peer.send(burst.toString());
    settle();

    recorder->afterRead = [](RunLoopSocket &s) { s.readDataWithTimeout(-1, 2); };
    socket->readDataWithTimeout(-1, 1);
    EXPECT_EQ(recorder->log.size(), 1u) << "a read is served on a later pass, never inside the call";
    ASSERT_TRUE(runUntil([&] { return recorder->log.size() == 2; }));
    settle();
    EXPECT_EQ(recorder->log, (Log{"connect 127.0.0.1", "read 1 1000"}));
    EXPECT_EQ(recorder->reads[0], burst);

    recorder->afterRead = nullptr;
    peer.send("z");
    ASSERT_TRUE(runUntil([&] { return recorder->log.size() == 3; }));
    EXPECT_EQ(recorder->log.back(), "read 2 1");
}

TEST_F(RunLoopSocketTest, WritesGoOutWholeInOrderAndAreReportedOnce) {
    peers::TcpPeer &peer = makePeer();
    ASSERT_TRUE(connectAndWait(peer.port()));
    const base::Data first = bytes(10000);
    const base::Data second = bytes(4 << 20, 'A');
    socket->writeData(first, 10.0, 7);
    socket->writeData(base::Data(), 10.0, 8);
    socket->writeData(second, 10.0, 9);
    ASSERT_TRUE(runUntil([&] { return recorder->log.size() == 3; }));
    settle();
    EXPECT_EQ(recorder->log, (Log{"connect 127.0.0.1", "write 7", "write 9"}));
    EXPECT_EQ(peer.waitForBytes(first.length() + second.length(), 20), first.toString() + second.toString());
}

TEST_F(RunLoopSocketTest, SilentPeerTimesTheReadOutThenDisconnectsOnALaterPass) {
    peers::TcpPeer &peer = makePeer();
    ASSERT_TRUE(connectAndWait(peer.port()));
    socket->readDataWithTimeout(10.0, 1);
    settle();
    clock.advance(9.9);
    EXPECT_EQ(recorder->log.size(), 1u);
    clock.advance(0.2);
    settle();
    EXPECT_EQ(recorder->log, (Log{"connect 127.0.0.1", "error RunLoopSocketErrorDomain 4", "disconnected"}));
    EXPECT_EQ(recorder->errorText, "Read operation timed out");
    EXPECT_TRUE(peer.waitForClientClose());
}

TEST_F(RunLoopSocketTest, WriteToAPeerThatNeverReadsTimesOut) {
    peers::TcpPeer &peer = makePeer({.accept = false});
    ASSERT_TRUE(connectAndWait(peer.port()));
    // More than the connection can buffer; what the bytes are does not matter.
    socket->writeData(base::Data(std::vector<uint8_t>(64 << 20)), 10.0, 5);
    settle();
    clock.advance(10.1);
    settle();
    EXPECT_EQ(recorder->log, (Log{"connect 127.0.0.1", "error RunLoopSocketErrorDomain 5", "disconnected"}));
    EXPECT_EQ(recorder->errorText, "Write operation timed out");
}

TEST_F(RunLoopSocketTest, PeerClosingDeliversItsLastBytesThenEndsWithoutError) {
    peers::TcpPeer &peer = makePeer();
    ASSERT_TRUE(connectAndWait(peer.port()));
    peer.send("last words");
    peer.closeConnection();
    settle();
    EXPECT_EQ(recorder->log.size(), 1u) << "the end waits until the bytes before it were read";
    socket->readDataWithTimeout(-1, 1);
    ASSERT_TRUE(runUntil([&] { return recorder->log.size() == 4; }));
    EXPECT_EQ(recorder->log, (Log{"connect 127.0.0.1", "read 1 10", "end", "disconnected"}));
    EXPECT_FALSE(socket->isConnected());
    EXPECT_FALSE(socket->unreadData()) << "only while an error is being reported";
}

TEST_F(RunLoopSocketTest, DisconnectReportsOnlyForAStartedConnect) {
    struct Case {
        const char *name;
        bool connect;
        bool waitForOpen;
        Log expected;
    } const cases[] = {
        {"never connected", false, false, {}},
        {"connect under way", true, false, {"disconnected"}},
        {"connected", true, true, {"connect 127.0.0.1", "disconnected"}},
    };
    peers::TcpPeer &peer = makePeer();
    for (const auto &c : cases) {
        recorder->log.clear();
        if (c.connect) {
            ASSERT_TRUE(c.waitForOpen ? connectAndWait(peer.port()) : connectTo(peer.port()));
        }
        const size_t before = recorder->log.size();
        socket->disconnect();
        EXPECT_EQ(recorder->log.size(), before) << c.name << ": nothing inside disconnect";
        EXPECT_FALSE(socket->isConnected());
        EXPECT_EQ(socket->flags(), RunLoopSocket::EnablePreBuffering);
        settle();
        EXPECT_EQ(recorder->log, c.expected) << c.name;
    }
}

TEST_F(RunLoopSocketTest, DestroyingAConnectedSocketReportsNothing) {
    peers::TcpPeer &peer = makePeer();
    ASSERT_TRUE(connectAndWait(peer.port()));
    socket->readDataWithTimeout(10.0, 1);
    socket->writeData(bytes(10), 10.0, 2);
    socket.reset();
    settle();
    clock.advance(20);
    settle();
    EXPECT_EQ(recorder->log, Log{"connect 127.0.0.1"});
    EXPECT_TRUE(peer.waitForClientClose());
}

TEST_F(RunLoopSocketTest, OwnerMayDropTheSocketInsideACallback) {
    peers::TcpPeer &peer = makePeer();
    ASSERT_TRUE(connectAndWait(peer.port()));
    recorder->afterRead = [&](RunLoopSocket &s) {
        socket.reset();
        s.readDataWithTimeout(-1, 2);
    };
    socket->readDataWithTimeout(-1, 1);
    peer.send("x");
    ASSERT_TRUE(runUntil([&] { return recorder->log.size() == 2; }));
    EXPECT_TRUE(peer.waitForClientClose());
    settle();
    EXPECT_EQ(recorder->log, (Log{"connect 127.0.0.1", "read 1 1"}));
}

TEST_F(RunLoopSocketTest, ReconnectsFromInsideTheDisconnectCallback) {
    peers::TcpPeer &peer = makePeer();
    ASSERT_TRUE(connectAndWait(peer.port()));
    bool again = false;
    recorder->afterDisconnect = [&](RunLoopSocket &s) {
        recorder->afterDisconnect = nullptr;
        again = s.connectToHost("127.0.0.1", peer.port());
    };
    peer.closeConnection();
    ASSERT_TRUE(runUntil([&] { return recorder->log.size() == 4; }));
    EXPECT_TRUE(again);
    EXPECT_EQ(recorder->log, (Log{"connect 127.0.0.1", "end", "disconnected", "connect 127.0.0.1"}));
    EXPECT_TRUE(socket->isConnected());
}

TEST_F(RunLoopSocketTest, RefusedConnectReportsTheErrorThenDisconnects) {
    ASSERT_TRUE(socket->connectToHost("127.0.0.1", peers::TcpPeer::closedPort()));
    ASSERT_TRUE(runUntil([&] { return recorder->log.size() == 2; }));
    EXPECT_EQ(recorder->log,
              (Log{"error NSPOSIXErrorDomain " + std::to_string(ECONNREFUSED), "disconnected"}));
}

TEST_F(RunLoopSocketTest, ConnectThatCannotStartFailsAtOnceWithTheReason) {
    struct Case {
        std::string host;
        std::string domain;
        long code;
    } const cases[] = {
        {"no-such-host.invalid", "kCFStreamErrorDomainNetDB", EAI_NONAME},
        {"quotes.example.INVALID.", "kCFStreamErrorDomainNetDB", EAI_NONAME},
        {"two words", "kCFStreamErrorDomainNetDB", EAI_NONAME},
        {"nav..example.com", "kCFStreamErrorDomainNetDB", EAI_NONAME},
        {"", "kCFStreamErrorDomainNetDB", EAI_NONAME},
        {"224.0.0.1", "NSPOSIXErrorDomain", ENETUNREACH},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.host);
        base::Ref<base::Error> error;
        EXPECT_FALSE(socket->connectToHost(c.host, 80, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), c.domain);
        EXPECT_EQ(error->code(), c.code);
        settle();
        EXPECT_TRUE(recorder->log.empty()) << "no callback follows a connect that returned false";
    }
    peers::TcpPeer &peer = makePeer();
    EXPECT_TRUE(connectAndWait(peer.port())) << "the socket is idle again";
}

TEST_F(RunLoopSocketTest, ConnectThatNeverOpensTimesOutAfterTenSeconds) {
    peers::TcpPeer &peer = makePeer({.accept = false});
    peer.fillBacklog();
    ASSERT_TRUE(connectTo(peer.port()));
    settle();
    clock.advance(9.9);
    EXPECT_TRUE(recorder->log.empty());
    clock.advance(0.2);
    settle();
    EXPECT_EQ(recorder->log, (Log{"error RunLoopSocketErrorDomain 2", "disconnected"}));
    EXPECT_EQ(recorder->errorText, "Attempt to connect to host timed out");
}

TEST_F(RunLoopSocketTest, ReadQueuedDuringTheConnectTimesFromTheNextPass) {
    peers::TcpPeer &peer = makePeer({.accept = false});
    peer.fillBacklog();
    ASSERT_TRUE(connectTo(peer.port()));
    socket->readDataWithTimeout(5.0, 1);
    settle();
    clock.advance(5.1);
    settle();
    EXPECT_EQ(recorder->log, (Log{"error RunLoopSocketErrorDomain 4", "disconnected"}));
}

TEST_F(RunLoopSocketTest, SecondConnectWhileOneIsUnderWayIsRefused) {
    peers::TcpPeer &peer = makePeer();
    ASSERT_TRUE(connectTo(peer.port()));
    base::Ref<base::Error> error;
    EXPECT_FALSE(socket->connectToHost("127.0.0.1", peer.port(), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "NSPOSIXErrorDomain");
    EXPECT_EQ(error->code(), EALREADY);
    ASSERT_TRUE(runUntil([&] { return !recorder->log.empty(); }));
    settle();
    EXPECT_EQ(recorder->log, Log{"connect 127.0.0.1"});
    EXPECT_EQ(peer.connections(), 1u);
}

TEST_F(RunLoopSocketTest, CanceledConnectFailsAtOnceWithoutCallbacks) {
    peers::TcpPeer &peer = makePeer();
    recorder->allowConnect = false;
    base::Ref<base::Error> error;
    EXPECT_FALSE(socket->connectToHost("127.0.0.1", peer.port(), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "RunLoopSocketErrorDomain");
    EXPECT_EQ(error->code(), RunLoopSocket::CanceledError);
    EXPECT_EQ(error->localizedDescription(), "Connection canceled");
    settle();
    EXPECT_EQ(recorder->log, Log{"willConnect"});

    recorder->allowConnect = true;
    EXPECT_TRUE(connectAndWait(peer.port())) << "the socket is idle again";
}

TEST_F(RunLoopSocketTest, MisuseThrows) {
    peers::TcpPeer &peer = makePeer();
    auto orphan = base::make<RunLoopSocket>();
    try {
        orphan->connectToHost("127.0.0.1", peer.port());
        ADD_FAILURE() << "connect without a delegate";
    } catch (const RunLoopSocketException &e) {
        EXPECT_STREQ(e.what(), "Attempting to connect without a delegate. Set a delegate first.");
    }
    ASSERT_TRUE(connectAndWait(peer.port()));
    try {
        connectTo(peer.port());
        ADD_FAILURE() << "connect while connected";
    } catch (const RunLoopSocketException &e) {
        EXPECT_STREQ(e.what(),
                     "Attempting to connect while connected or accepting connections. Disconnect first.");
    }
    EXPECT_TRUE(socket->isConnected());
}

} // namespace
