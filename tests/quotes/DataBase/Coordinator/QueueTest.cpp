#include "CoordinatorFixture.h"

#include "Components/CMAlertView.h"
#include "DataBase/NetData/RequestPosItem.h"

using coordinator::CoordinatorTest;
using coordinator::navigation;
using coordinator::RecordingRequester;
using peers::Fault;

namespace {

constexpr int DetailType = 2939;
constexpr int ServerTimeType = 2963;

class QueueTest : public CoordinatorTest {
protected:
    void askDetail(int32_t reqNo) {
        db->IO_NetDataCenter()->RequestByStkCode(requester, DetailType, "SH600000", reqNo, nullptr);
    }
    void askServerTime() { db->IO_NetDataCenter()->RequestServerTime(requester); }
    size_t messageBoxes() {
        const auto &views = app.window().subviews();
        return size_t(std::count_if(views.begin(), views.end(), [](const base::Ref<ui::View> &v) {
            return std::dynamic_pointer_cast<CMAlertView>(v) != nullptr;
        }));
    }

    base::Ref<RecordingRequester> requester = base::make<RecordingRequester>();
};

TEST_F(QueueTest, LoginAsksForTheQuotesDate) {
    readyWithoutAccount();
    EXPECT_TRUE(
        pumpUntil([&] { return db->IO_NetDataCenter()->IO_QuotesDate == quotes.market().quotesDate(); }));
}

TEST_F(QueueTest, RequestsWhileDisconnectedAreDropped) {
    askServerTime();
    EXPECT_TRUE(db->m_RequestGroups().empty());
    EXPECT_TRUE(db->m_isNetIdle());
}

TEST_F(QueueTest, WithdrawnDetailRequestsAreNeitherSentNorDelivered) {
    readyWithoutAccount();
    NetDataCenter &center = *db->IO_NetDataCenter();
    // Withdrawn before it went out: removed unsent.
    askDetail(41);
    center.addStockDetailReqNo(42);
    askDetail(42);
    ASSERT_TRUE(pumpUntil([&] { return requester->count(DetailType) == 1; }));
    EXPECT_EQ(quotes.receivedCount(DetailType), 1u);
    // Withdrawn while in flight: its reply is dropped and the link is free again.
    center.addStockDetailReqNo(43);
    quotes.addFault(Fault::on(DetailType).split(3, -1));
    askDetail(43);
    ASSERT_TRUE(pumpUntil([&] { return quotes.receivedCount(DetailType) == 2; }));
    center.removeStockDetailReqNo(43);
    quotes.resume();
    askServerTime();
    ASSERT_TRUE(pumpUntil([&] { return requester->count(ServerTimeType) == 1; }));
    EXPECT_EQ(requester->count(DetailType), 1u);
}

TEST_F(QueueTest, DroppedRequestsLeaveTheirPacksIdle) {
    readyWithoutAccount();
    auto pack = base::make<RequestPosItem>("SH600000");
    quotes.addFault(Fault::on(2969).silence());
    db->IO_NetDataCenter()->RequestStockBoards(requester, pack);
    ASSERT_FALSE(pack->isIdle);
    ASSERT_TRUE(pumpUntil([&] { return quotes.receivedCount(2969) == 1; }));
    size_t lost = losses();
    quotes.closeConnection();
    ASSERT_TRUE(pumpUntil([&] { return losses() == lost + 1; }));
    EXPECT_TRUE(pack->isIdle);
    EXPECT_EQ(requester->count(2969), 0u);
}

TEST_F(QueueTest, HeartbeatIsWrittenWithoutAwaitingAReply) {
    readyWithAccount();
    // In steps, so that the breaking-news polls on the way are answered before their time-outs.
    for (int step = 0; step < 10; ++step) {
        advance(3);
        ASSERT_TRUE(pumpUntil([&] { return db->m_isNetIdle() && db->m_RequestGroups().empty(); }));
    }
    ASSERT_TRUE(pumpUntil([&] { return quotes.receivedCount(2925) == 1; }));
    askServerTime();
    EXPECT_TRUE(pumpUntil([&] { return requester->count(ServerTimeType) == 1; }));
}

// After a connection error the application hears the tip; the message box shows it too when the
// network is down, or when the keeper's delay has reached 30 s, and goes 2.5 s later.
TEST_F(QueueTest, ConnectionErrorTips) {
    struct Case {
        const char *name;
        uint32_t flags;
        const char *tip;
        bool messageBox;
    };
    const Case cases[] = {
        {"reachable", net::Reachable, "网络连接已断开，正在重连服务器...", false},
        {"connection required", net::Reachable | net::ConnectionRequired,
         "网络连接已断开，请检查本地网络是否畅通...", true},
        {"unreachable", 0, "网络连接已断开，请检查本地网络是否畅通...", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        readyWithoutAccount();
        net::ReachabilityTarget::overrideFlags(c.flags);
        quotes.addFault(Fault::on(ServerTimeType).silence());
        askServerTime();
        settle();
        advance(10);
        ASSERT_TRUE(pumpUntil([&] { return !delegate->tips.empty(); }));
        EXPECT_EQ(delegate->tips.back(), c.tip);
        EXPECT_EQ(messageBoxes(), c.messageBox ? 1u : 0u);
        advance(2.5);
        EXPECT_EQ(messageBoxes(), 0u);
        net::ReachabilityTarget::overrideFlags(net::Reachable);
    }
}

TEST_F(QueueTest, MessageBoxOnReachableNetworkOnceTheDelayReachesThirtySeconds) {
    navigation().addFault(Fault::on(1000, -1).silence());
    loginWithoutAccount();
    for (int loss = 1; loss <= 11; ++loss) {
        SCOPED_TRACE(loss);
        ASSERT_TRUE(pumpUntil([&] { return navigation().receivedCount(1000) >= size_t(loss); }));
        advance(10);
        ASSERT_TRUE(pumpUntil([&] { return delegate->tips.size() == size_t(loss); }));
        // The delay is 33.0 s only before the eleventh loss (29.7 before the tenth).
        EXPECT_EQ(messageBoxes(), loss == 11 ? 1u : 0u);
        advance(db->m_ConnectTimes());
    }
}

} // namespace
