#include "peers/RawClient.h"

#include "peers/QuoteServer.h"

#include <gtest/gtest.h>

using peers::Fault;
using peers::QuoteServer;

namespace {

constexpr uint8_t SeqID = 9;

// What arrives until `length` bytes are in, and anything beyond them that the server sent.
std::string collect(QuoteServer &server, RawClient &client, size_t length) {
    client.waitForBytes(length, 2.0);
    server.waitForQuiet();
    return client.readFor(0);
}

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int value : values)
        out += char(value);
    return out;
}

class FrameServerTest : public ::testing::Test {
protected:
    // The server-time reply as it goes out without a fault: 7-byte header, 7-byte body.
    std::string intactReply() {
        client.send(SeqID, 2963);
        return collect(server, client, 14);
    }

    QuoteServer server;
    RawClient client{server.port()};
};

} // namespace

TEST(FrameServer, FaultsShapeTheReply) {
    const std::string accountError = bytes({0, 0x5B, 0x0B, 0, 0, 1, 0, 1});
    const std::string alarm = bytes({0, 0xB9, 0x0B, 0, 0, 11, 0, 2, 0x35, 0x01, 0, 0, 0, 0, 0, 0, 0, 0});
    struct Case {
        const char *name;
        Fault fault;
        std::function<std::string(std::string)> expected;
        bool closes = false;
    } cases[] = {
        {"silence", Fault().silence(), [](std::string) { return std::string(); }},
        {"id 0", Fault().withSeqID(0), [](std::string r) { return r.replace(0, 1, 1, '\0'); }},
        {"id 125 then the right one", Fault().withSeqID(125).followedByReply(),
         [](std::string r) { return std::string(1, char(125)) + r.substr(1) + r; }},
        {"another type under the same id", Fault().withType(2955),
         [](std::string r) {
             return r.replace(1, 2, bytes({0x8B, 0x0B}));
         }},
        {"a length beyond the body", Fault().announcing(0xFFFF),
         [](std::string r) {
             return r.replace(5, 2, bytes({0xFF, 0xFF}));
         }},
        {"a body shorter than its layout", Fault().cutBody(2),
         [](std::string r) {
             return r.replace(5, 2, bytes({2, 0})).substr(0, 9);
         }},
        {"coalesced with pushes",
         Fault()
             .withBefore(QuoteServer::accountErrorFrame(1).encode())
             .withAfter(QuoteServer::alarmFrame(0, 309, 0).encode()),
         [&](std::string r) { return accountError + r + alarm; }},
        {"closed mid-reply", Fault().closingAfter(4), [](std::string r) { return r.substr(0, 4); }, true},
        {"closed after the reply", Fault().closingAfter(100), [](std::string r) { return r; }, true},
        {"split", Fault().split(3, 0.05), [](std::string r) { return r; }},
        {"delayed", Fault().delayed(0.05), [](std::string r) { return r; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QuoteServer server;
        RawClient client(server.port());
        client.send(SeqID, 2963);
        std::string intact = collect(server, client, 14);
        ASSERT_EQ(intact.size(), 14u);

        server.addFault(c.fault);
        client.send(SeqID, 2963);
        std::string expected = c.expected(intact);
        EXPECT_EQ(collect(server, client, expected.size()), expected);
        EXPECT_EQ(client.closedByServer(), c.closes);
        if (c.closes)
            continue;
        // The fault was for one reply only.
        client.send(SeqID, 2963);
        EXPECT_EQ(collect(server, client, 14), intact);
    }
}

TEST_F(FrameServerTest, SplitReplyArrivesInTwoPiecesAfterThePause) {
    server.addFault(Fault().split(3, 0.3));
    client.send(SeqID, 2963);
    EXPECT_EQ(client.waitForBytes(3).size(), 3u);
    EXPECT_EQ(client.waitForBytes(4, 0.1).size(), 3u);
    EXPECT_TRUE(client.frame(2.0));
}

TEST_F(FrameServerTest, HeldBytesWaitForResume) {
    // A code-table reply stopping after 8 of the 9 header bytes.
    base::Data body("SH", 2);
    ComAPI::WriteInt(body, 0);
    server.addFault(Fault::on(2956).split(8, -1));
    client.send(SeqID, 2956, body, QuoteServer::CompressedAttribute);
    EXPECT_EQ(client.waitForBytes(8).size(), 8u);
    ASSERT_TRUE(server.waitForQuiet());
    EXPECT_EQ(client.waitForBytes(9, 0).size(), 8u);
    EXPECT_FALSE(client.frame(0));

    // A held reply also holds back what comes after it on that connection.
    client.send(SeqID + 1, 2963);
    ASSERT_TRUE(server.waitForQuiet());
    EXPECT_EQ(client.waitForBytes(9, 0).size(), 8u);

    server.resume();
    auto table = client.frame();
    ASSERT_TRUE(table);
    EXPECT_EQ(NTDataPageHead::read(*table)->headerLength(), NTDataPageHead::LongSize);
    EXPECT_TRUE(client.frame());
}

TEST_F(FrameServerTest, HeldDelayAndLongHeaderOversizedLength) {
    base::Data body("SZ", 2);
    ComAPI::WriteInt(body, 0);
    server.addFault(Fault::on(2956).announcing(0x7FFFFFF0).delayed(-1));
    client.send(SeqID, 2956, body);
    ASSERT_TRUE(server.waitForQuiet());
    EXPECT_EQ(client.readFor(0), "");
    server.resume();
    std::string head = client.waitForBytes(9);
    ASSERT_GE(head.size(), 9u);
    EXPECT_EQ(head.substr(5, 4), bytes({0xF0, 0xFF, 0xFF, 0x7F}));
}

TEST_F(FrameServerTest, FaultsPickTheirRequestTypeAndCount) {
    std::string intact = intactReply();
    ASSERT_EQ(intact.size(), 14u);
    server.addFault(Fault::on(2963, 2).withSeqID(77));
    server.addFault(Fault::on(0, -1).withSeqID(88));

    // A heartbeat gets no reply and so uses up no fault.
    client.send(1, 2925, base::Data(std::vector<uint8_t>(8)));
    std::vector<int> ids;
    for (uint16_t type : {2963, 2963, 2963, 2207, 2207}) {
        client.send(SeqID, type);
        auto frame = client.frame();
        ASSERT_TRUE(frame);
        ids.push_back((*frame)[0]);
    }
    EXPECT_EQ(ids, (std::vector<int>{77, 77, 88, 88, 88}));

    server.clearFaults();
    client.send(SeqID, 2963);
    EXPECT_EQ(collect(server, client, 14), intact);
}

TEST_F(FrameServerTest, RecordsRequestsCutFromAnyWrites) {
    base::Data news;
    ComAPI::WriteString(news, "test");
    ComAPI::WriteShort(news, 0);
    ComAPI::WriteInt(news, 0);
    base::Data stream;
    NTDataPageHead::append(stream, 1, 2963, 0, {});
    NTDataPageHead::append(stream, 2, 2600, 0, news.span());
    NTDataPageHead::append(stream, 3, 2937, 2, {});
    std::string all = stream.toString();
    // Two requests in one write, the third cut inside its header.
    client.sendBytes(all.substr(0, 7 + 17 + 3));
    ASSERT_TRUE(server.waitForRequests(2600, 1));
    EXPECT_EQ(server.receivedCount(2937), 0u);
    client.sendBytes(all.substr(7 + 17 + 3));
    ASSERT_TRUE(server.waitForRequests(2937, 1));

    std::vector<peers::ReceivedFrame> frames = server.received();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].connection, 1);
    EXPECT_EQ(frames[1].seqID, 2);
    EXPECT_EQ(frames[1].type, 2600);
    EXPECT_EQ(frames[1].body, news.vector());
    EXPECT_EQ(frames[2].attribute, 2);
    for (uint16_t type : {2963, 2600, 2937}) {
        auto reply = client.frame();
        ASSERT_TRUE(reply);
        EXPECT_EQ(NTDataPageHead::read(*reply)->type, type);
    }
    server.clearReceived();
    EXPECT_TRUE(server.received().empty());
}

TEST_F(FrameServerTest, PushesAndClosingGoToTheNewestConnection) {
    ASSERT_TRUE(server.waitForConnections(1));
    RawClient newer(server.port());
    ASSERT_TRUE(server.waitForConnections(2));

    server.pushAccountError(2);
    server.pushAlarm(313, 0x01020304, base::Data("ab", 2), 5);
    EXPECT_EQ(newer.frame(), (std::vector<uint8_t>{0, 0x5B, 0x0B, 0, 0, 1, 0, 2}));
    EXPECT_EQ(newer.frame(), (std::vector<uint8_t>{5, 0xB9, 0x0B, 0, 0, 13, 0, 2, 0x39, 0x01,
                                                   0, 0,    2,    0, 4, 3,  2, 1, 'a',  'b'}));
    ASSERT_TRUE(server.waitForQuiet());
    EXPECT_EQ(client.readFor(0), "");

    server.closeConnection();
    EXPECT_EQ(newer.readFor(1.0), "");
    EXPECT_TRUE(newer.closedByServer());
    EXPECT_TRUE(server.waitForOpenConnections(1));
    EXPECT_EQ(server.acceptedConnections(), 2);
    EXPECT_EQ(intactReply().size(), 14u);
}

TEST(FrameServer, PushesWaitForAClientAndAPortInUseIsRefused) {
    QuoteServer server;
    server.pushAccountError(1);
    server.closeConnection();
    RawClient client(server.port());
    EXPECT_EQ(client.frame(), (std::vector<uint8_t>{0, 0x5B, 0x0B, 0, 0, 1, 0, 1}));
    EXPECT_EQ(client.readFor(1.0), "");
    EXPECT_TRUE(client.closedByServer());

    QuoteServer second(server.port());
    EXPECT_EQ(second.port(), 0);
}

TEST(FrameServer, RefusesWhileNotListeningAndListensAgainOnItsPort) {
    QuoteServer server;
    RawClient first(server.port());
    ASSERT_TRUE(server.waitForConnections(1));

    ASSERT_TRUE(server.setListening(false));
    EXPECT_FALSE(RawClient(server.port()).connected());
    // The open connection is still served.
    first.send(SeqID, 2963);
    EXPECT_TRUE(first.frame());

    ASSERT_TRUE(server.setListening(true));
    RawClient again(server.port());
    ASSERT_TRUE(again.connected());
    again.send(SeqID, 2963);
    EXPECT_TRUE(again.frame());
    EXPECT_EQ(server.acceptedConnections(), 2);
}
