#include "net/Stream.h"
#include "net/SocketAddress.h"
#include "peers/TcpPeer.h"

#include "base/RunLoop.h"

#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <netdb.h>
#include <vector>

namespace {

using base::RunLoop;

// Runs the current loop until `done` holds or `seconds` of real time have gone by.
template <class Pred> bool runUntil(Pred done, double seconds = 5.0) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        RunLoop::current().runOnce(RunLoop::Default, 0.01);
    }
    return true;
}

// A stream pair scheduled on the current loop that records every event as "r<event>" / "w<event>".
struct Pair {
    base::Ref<net::ReadStream> read;
    base::Ref<net::WriteStream> write;
    std::vector<std::string> events;

    Pair(const std::string &host, uint16_t port) {
        std::tie(read, write) = net::pairToHost(host, port);
        const unsigned all = net::OpenCompleted | net::HasBytesAvailable | net::CanAcceptBytes |
                             net::ErrorOccurred | net::EndEncountered;
        read->setClient(all, [this](net::Event e) { events.push_back("r" + std::to_string(e)); });
        write->setClient(all, [this](net::Event e) { events.push_back("w" + std::to_string(e)); });
        read->schedule(RunLoop::current(), RunLoop::Default);
        write->schedule(RunLoop::current(), RunLoop::Default);
    }
    ~Pair() {
        read->close();
        write->close();
    }
    bool open() { return read->open() && write->open(); }
    bool saw(const std::string &e) const {
        return std::find(events.begin(), events.end(), e) != events.end();
    }
    std::string readAll() {
        std::string out;
        uint8_t chunk[256];
        while (read->hasBytesAvailable())
            out.append(reinterpret_cast<char *>(chunk), size_t(read->read(chunk, sizeof chunk)));
        return out;
    }
};

TEST(StreamTest, OpensBothStreamsReadSideFirst) {
    peers::TcpPeer peer;
    Pair pair("127.0.0.1", peer.port());
    ASSERT_TRUE(pair.open());
    EXPECT_FALSE(pair.read->open()) << "a stream opens once";
    EXPECT_EQ(pair.read->status(), net::Status::Opening) << "the lookup must not run inside open()";
    EXPECT_EQ(pair.read->nativeSocket(), -1);

    ASSERT_TRUE(runUntil([&] { return pair.events.size() >= 2; }));
    EXPECT_EQ(pair.events[0], "r1");
    EXPECT_EQ(pair.events[1], "w1");
    EXPECT_EQ(pair.read->status(), net::Status::Open);
    EXPECT_EQ(pair.write->status(), net::Status::Open);

    auto socket = net::Socket::wrap(pair.read->nativeSocket());
    ASSERT_TRUE(socket->peer());
    EXPECT_EQ(socket->peer()->numericHost(), "127.0.0.1");
    EXPECT_EQ(socket->peer()->port(), peer.port());
    EXPECT_EQ(socket->local()->numericHost(), "127.0.0.1");
}

TEST(StreamTest, ReadsWhatThePeerSendsThenItsEnd) {
    peers::TcpPeer peer;
    Pair pair("localhost", peer.port());
    pair.open();
    ASSERT_TRUE(runUntil([&] { return pair.saw("r1"); }));
    ASSERT_TRUE(peer.waitForConnections(1));
    peer.send("hello");
    ASSERT_TRUE(runUntil([&] { return pair.saw("r2"); }));
    EXPECT_EQ(pair.readAll(), "hello");

    peer.send(" world");
    peer.closeConnection();
    std::string rest;
    ASSERT_TRUE(runUntil([&] {
        rest += pair.readAll();
        return pair.saw("r16");
    }));
    EXPECT_EQ(rest, " world");
    EXPECT_EQ(pair.read->status(), net::Status::AtEnd);
    EXPECT_FALSE(pair.read->error().isError());
}

TEST(StreamTest, WritesEverythingAcrossAFullConnection) {
    peers::TcpPeer peer;
    Pair pair("127.0.0.1", peer.port());
    pair.open();
    ASSERT_TRUE(runUntil([&] { return pair.write->status() == net::Status::Open; }));

    std::string payload(8 << 20, 'x');
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = char('a' + i % 26);
    size_t done = 0;
    ASSERT_TRUE(runUntil(
        [&] {
            while (done < payload.size() && pair.write->canAcceptBytes()) {
                long n = pair.write->write(reinterpret_cast<const uint8_t *>(payload.data()) + done,
                                           payload.size() - done);
                EXPECT_GE(n, 0);
                done += size_t(std::max(n, 0L));
            }
            return done == payload.size();
        },
        20));
    EXPECT_EQ(peer.waitForBytes(payload.size(), 20), payload);
}

TEST(StreamTest, RefusalReachesBothOpenedStreams) {
    Pair pair("127.0.0.1", peers::TcpPeer::closedPort());
    EXPECT_TRUE(pair.open());
    ASSERT_TRUE(runUntil([&] { return pair.events.size() >= 2; }));
    EXPECT_EQ(pair.events, (std::vector<std::string>{"r8", "w8"}));
    EXPECT_EQ(pair.read->status(), net::Status::Error);
    EXPECT_EQ(pair.read->error(), (net::StreamError{net::StreamError::Posix, ECONNREFUSED}));
}

TEST(StreamTest, WhatFailsBeforeAConnectStartsFailsTheOpen) {
    struct Case {
        std::string host;
        net::StreamError error;
    } const cases[] = {
        {"no-such-host.invalid", {net::StreamError::NetDb, EAI_NONAME}},
        {std::string(64, 'a') + ".example.com", {net::StreamError::NetDb, EAI_NONAME}},
        {"tab\there", {net::StreamError::NetDb, EAI_NONAME}},
        {"224.0.0.1", {net::StreamError::Posix, ENETUNREACH}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.host);
        Pair pair(c.host, 80);
        EXPECT_FALSE(pair.read->open());
        EXPECT_EQ(pair.read->status(), net::Status::Error);
        EXPECT_EQ(pair.read->error(), c.error);
        EXPECT_FALSE(pair.write->open()) << "the other stream shares the failed connection";
        while (RunLoop::current().runOnce(RunLoop::Default, 0)) {
        }
        EXPECT_TRUE(pair.events.empty());
    }
}

TEST(StreamTest, ClosedStreamsStayQuietAndCloseTheSocket) {
    peers::TcpPeer peer;
    Pair pair("127.0.0.1", peer.port());
    pair.open();
    ASSERT_TRUE(runUntil([&] { return pair.events.size() >= 2; }));
    pair.read->close();
    pair.events.clear();
    peer.send("ignored");
    // Once the peer is quiet and the loop has nothing left, a close would have reached the peer.
    ASSERT_TRUE(runUntil([&] { return peer.quiet() && !RunLoop::current().runOnce(RunLoop::Default, 0); }));
    EXPECT_FALSE(peer.waitForClientClose(0)) << "the socket outlives one closed stream";
    pair.write->close();
    EXPECT_TRUE(peer.waitForClientClose());
    EXPECT_EQ(pair.read->nativeSocket(), -1);
    runUntil([] { return false; }, 0.1);
    for (const auto &e : pair.events)
        EXPECT_NE(e[0], 'r') << e;
}

} // namespace
