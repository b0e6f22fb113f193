#include "CoordinatorFixture.h"

#include "ui/Alert.h"

namespace coordinator {
namespace {

using peers::Fault;

class IdleLinkTest : public CoordinatorTest {};

TEST_F(IdleLinkTest, APushOnAnIdleLinkIsHandledWhenItArrives) {
    readyWithoutAccount();
    const size_t sent = quotes.received().size();
    quotes.pushAccountError(1);
    // No request goes out and the clock stands still: only a read already pending sees the push.
    EXPECT_TRUE(pumpUntil([&] { return !db->isHQConnected(); }));
    EXPECT_EQ(quotes.received().size(), sent);
}

TEST_F(IdleLinkTest, APushNeverFreesTheLineOfTheRequestInFlight) {
    readyWithoutAccount();
    quotes.addFault(Fault::on(peers::QuoteServer::ServerTimeType).silence());
    db->IO_NetDataCenter()->RequestServerTime(std::string("Nobody"));
    db->IO_NetDataCenter()->RequestRealInformation(std::string("Nobody"), 0);
    pumpUntil([&] { return quotes.receivedCount(peers::QuoteServer::ServerTimeType) == 1; });
    quotes.pushAlarm(1, 7);
    settle();
    EXPECT_EQ(quotes.receivedCount(peers::QuoteServer::BreakingNewsType), 0u);
    EXPECT_TRUE(db->isHQConnected());
    // The silent reply still times out as a read would.
    advance(DataBase::IOTimeout + 0.5);
    EXPECT_FALSE(db->isHQConnected());
}

} // namespace
} // namespace coordinator
