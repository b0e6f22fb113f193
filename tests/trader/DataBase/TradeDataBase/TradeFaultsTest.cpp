#include "TradeConnectionFixture.h"

namespace tradeconn {
namespace {

using peers::TradeFault;

enum class Outcome {
    Delivered, // the reply reaches the requester and the line serves the next request
    Failed,    // the requester hears a failure with `errMsg`; the line serves the next request
    Closed,    // the connection ends as an error: status 0, "ReLaunchTrader", the request fails
};

TEST_F(TradeConnectionTest, MisshapenRepliesAreAnsweredOnceOrCloseTheLink) {
    struct Case {
        const char *name;
        TradeFault fault;
        Outcome outcome;
        std::string errMsg = {};
        // Clock seconds before the held bytes go out, and after.
        std::optional<double> resumeAfter = {};
        double wait = 0;
        bool compressBlock = false, compressFrame = false;
    } cases[] = {
        {"plain reply", TradeFault::on(1, 0), Outcome::Delivered},
        {"text compressed in its block", TradeFault::on(1, 0), Outcome::Delivered, "", {}, 0, true},
        {"frame compressed as a whole", TradeFault::on(1, 0), Outcome::Delivered, "", {}, 0, false, true},
        {"1 byte, then the rest", TradeFault::on(11104).split(1), Outcome::Delivered, "", 1.0},
        {"21 bytes, then the rest", TradeFault::on(11104).split(21), Outcome::Delivered, "", 0.0},
        {"header alone, then the payload", TradeFault::on(11104).split(22), Outcome::Delivered, "", 0.0},
        {"a piece, the rest 9 s later", TradeFault::on(11104).split(30), Outcome::Delivered, "", 9.0},
        {"a piece and never the rest", TradeFault::on(11104).split(30), Outcome::Closed, "", {}, 10.1},
        {"a reply for no request first", TradeFault::on(11104).withSynID(999).followedByReply(),
         Outcome::Delivered},
        {"an empty frame first", TradeFault::on(11104).cutPayload(0).followedByReply(), Outcome::Delivered},
        {"a damaged checksum first", TradeFault::on(11104).withBadCRC().followedByReply(),
         Outcome::Delivered},
        {"a payload that does not inflate first", TradeFault::on(11104).withBadZlib().followedByReply(),
         Outcome::Delivered},
        {"only a reply for no request", TradeFault::on(11104).withSynID(999), Outcome::Closed, "", {}, 10.1},
        {"only a damaged checksum", TradeFault::on(11104).withBadCRC(), Outcome::Closed, "", {}, 10.1},
        {"only an empty frame", TradeFault::on(11104).cutPayload(0), Outcome::Closed, "", {}, 10.1},
        {"wrong key", TradeFault::on(11104).withWrongKey(), Outcome::Failed, "密钥验证失败"},
        {"wrong digest", TradeFault::on(11104).withBadDigest(), Outcome::Failed, "密钥验证失败"},
        {"stored length past the block", TradeFault::on(11104).withStoredLength(4000), Outcome::Failed,
         "密钥验证失败"},
        {"text length other than the stored one", TradeFault::on(11104).withTextLength(5), Outcome::Failed,
         "密钥验证失败"},
        {"unknown packet type", TradeFault::on(11104).withPacktype(14), Outcome::Failed, ""},
        {"negative length", TradeFault::on(11104).announcing(-1), Outcome::Closed},
        {"huge length", TradeFault::on(11104).announcing(0x7FFFFFF0), Outcome::Closed},
        {"length beyond what comes", TradeFault::on(11104).announcing(5000), Outcome::Closed, "", {}, 10.1},
        {"silence", TradeFault::on(11104).silence(), Outcome::Closed, "", {}, 10.1},
        {"close in the middle of the reply", TradeFault::on(11104).closingAfter(30), Outcome::Closed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        start();
        gateway->setCompression(c.compressBlock, c.compressFrame);
        loginReady();
        int relaunchesBefore = relaunches();
        gateway->addFault(c.fault);
        const auto &center = db->IO_TradeNetData();
        center->RequestMoneyList(requester);
        ASSERT_TRUE(pumpUntil([&] { return gateway->received(11104).size() == 1; }));
        settle();
        if (c.resumeAfter) {
            advance(*c.resumeAfter);
            EXPECT_TRUE(requester->replies.empty());
            gateway->resume();
            settle();
        }
        if (c.wait > 0) {
            advance(c.wait - 0.2);
            EXPECT_TRUE(requester->replies.empty()) << "nothing before the 10 s are up";
            advance(0.2);
        }
        ASSERT_TRUE(pumpUntil([&] { return !requester->replies.empty(); }));
        ASSERT_EQ(requester->replies.size(), 1u);
        const Heard &heard = requester->replies[0];
        EXPECT_EQ(heard.type, 11104);
        EXPECT_EQ(heard.success, c.outcome == Outcome::Delivered);
        EXPECT_EQ(gateway->received(11104).size(), 1u) << "no request is written twice";
        EXPECT_TRUE(gateway->violations().empty()) << gateway->violations()[0];
        if (c.outcome == Outcome::Closed) {
            EXPECT_EQ(heard.errMsg, "交易服务器已断开，请重新登录！");
            EXPECT_EQ(requester->connects.back(), std::make_pair(false, 0));
            EXPECT_EQ(relaunches(), relaunchesBefore + 1);
            EXPECT_FALSE(db->isConnected());
            continue;
        }
        if (c.outcome == Outcome::Failed)
            EXPECT_EQ(heard.errMsg, c.errMsg);
        EXPECT_EQ(relaunches(), relaunchesBefore);
        // The line is free again for the next request.
        center->RequestMoneyList(requester);
        ASSERT_TRUE(pumpUntil([&] { return requester->replies.size() == 2; }));
        EXPECT_TRUE(requester->replies[1].success);
        EXPECT_TRUE(db->m_RequestGroups().empty());
    }
}

TEST_F(TradeConnectionTest, DamagedPhoneCheckRepliesAreFailures) {
    struct Case {
        const char *name;
        TradeFault fault;
        std::optional<std::string> refusal;
        std::string errCode, errMsg;
    } cases[] = {
        {"accepting reply cut short", TradeFault::on(peers::TradeGateway::kPhoneCheck).cutPayload(20),
         std::nullopt, "-1", "密钥验证失败"},
        {"nonce under another key", TradeFault::on(peers::TradeGateway::kPhoneCheck).withWrongKey(),
         std::nullopt, "-1", "密钥验证失败"},
        {"reason without its terminator",
         TradeFault::on(peers::TradeGateway::kPhoneCheck).withoutTerminator(), "未开通", "-2", "未开通"},
        {"refusal cut inside its header", TradeFault::on(peers::TradeGateway::kPhoneCheck).cutPayload(10),
         "未开通", "-2", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        start();
        gateway->setPhoneCheckRefusal(c.refusal);
        gateway->addFault(c.fault);
        ASSERT_EQ(step(), 1);
        ASSERT_TRUE(pumpUntil([&] { return !requester->connects.empty(); }));
        ASSERT_EQ(step(), 2);
        ASSERT_TRUE(pumpUntil([&] { return !requester->replies.empty(); }));
        ASSERT_EQ(requester->replies.size(), 1u);
        EXPECT_EQ(requester->replies[0].type, -100);
        EXPECT_FALSE(requester->replies[0].success);
        EXPECT_EQ(requester->replies[0].errCode, c.errCode);
        EXPECT_EQ(requester->replies[0].errMsg, c.errMsg);
        EXPECT_FALSE(db->IO_ConnectLoginInfo()->checkSuccess);
        EXPECT_TRUE(db->isConnected());
    }
}

} // namespace
} // namespace tradeconn
