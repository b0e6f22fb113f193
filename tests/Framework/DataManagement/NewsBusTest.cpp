#include "NewsBusFixture.h"

#include <gtest/gtest.h>

namespace newsbus {
namespace {

using Interface = QVNNewsDataInterface;

// A request that completes without the network: an address the fetcher refuses fails on the
// next pass.
base::Dict refusedRequest() {
    return Interface::MakeRequestNewsList("ftp://127.0.0.1/list.json");
}

TEST_F(NewsBusTest, ControllerIDsCountFromOneAcrossInitializeAndNeverRepeat) {
    DLDataManagement::resetSharedForTesting();
    auto hub = DLDataManagement::sharedDLDataManagement();
    EXPECT_EQ(hub->getNewNotifyID(), "MsgCenterObserver_1");
    hub->initialize();
    EXPECT_EQ(hub->getNewNotifyID(), "MsgCenterObserver_2");
    auto first = requester(), second = requester();
    EXPECT_EQ(first->controllerID, "MsgCenterObserver_3");
    EXPECT_EQ(second->controllerID, "MsgCenterObserver_4");

    first->post(refusedRequest());
    runUntilIdle();
    EXPECT_EQ(first->replies.size(), 1u);
    EXPECT_TRUE(second->replies.empty()) << "a reply reaches only its own requester";
}

TEST_F(NewsBusTest, OnlyNewsEnvelopesAfterInitializeAreServed) {
    DLDataManagement::resetSharedForTesting();
    auto early = requester();
    early->post(refusedRequest());
    runUntilIdle();
    EXPECT_TRUE(early->replies.empty()) << "before initialize nobody listens";

    DLDataManagement::sharedDLDataManagement()->initialize();
    DLDataManagement::sharedDLDataManagement()->initialize();
    for (const char *source : {"", "news", "NEWS ", "QUOTE"})
        early->post(refusedRequest(), source);
    runUntilIdle();
    EXPECT_TRUE(early->replies.empty()) << "only \"NEWS\" is routed";

    early->post(refusedRequest());
    runUntilIdle();
    EXPECT_EQ(early->replies.size(), 1u) << "a second initialize adds no second listener";
}

TEST_F(NewsBusTest, TheReplyIsTheVeryEnvelopePosted) {
    auto asker = requester();
    base::Dict posted = asker->post(refusedRequest());
    EXPECT_TRUE(asker->replies.empty()) << "no reply inside the request's own post";
    runUntilIdle();
    ASSERT_EQ(asker->replies.size(), 1u);
    const base::Dict &reply = asker->replies[0];
    EXPECT_TRUE(reply.same(posted));
    EXPECT_EQ(reply.get(DLMsgData::ComponentID).stringValue(), "");
    EXPECT_EQ(reply.get(DLMsgData::FuncID).stringValue(), "400");
    EXPECT_EQ(reply.get(DLMsgData::ReqData)[Interface::NewsListUrl].stringValue(),
              "ftp://127.0.0.1/list.json");
    std::vector<std::string> keys;
    for (const auto &[key, value] : reply)
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"ComponentID", "ControllerID", "FuncID", "DataSource",
                                              "ReqData", "RspData"}));
}

} // namespace
} // namespace newsbus
