#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"

#include "../IntradayFixture.h"
#include "CoordinatorFixture.h"

namespace {

using namespace intraday;

// The cache sends through the coordinator of a finished login to the loopback quote server.
class MiniViewManagerTest : public coordinator::CoordinatorTest {
protected:
    MiniViewManagerTest() { DataBase::setSharedDataBase(db); }
    ~MiniViewManagerTest() override { DataBase::setSharedDataBase(nullptr); }
    void SetUp() override {
        readyWithoutAccount();
        // Past the clock's start: a picture asked for at tick 0 would read as never asked for.
        advance(1);
        quotes.clearReceived();
        // Its requester takes the shared message layer when it is made.
        mviews = base::make<MiniViewManager>();
    }
    size_t minuteRequests() const { return quotes.receivedCount(MLineNetData::MinLineReplyType); }
    void request(const std::string &code) {
        mviews->reqOneMinLine(quote(code, code, 1000), requester, 1);
        settle();
    }

    base::Ref<MiniViewManager> mviews;
    base::Ref<coordinator::RecordingRequester> requester = base::make<coordinator::RecordingRequester>();
};

TEST_F(MiniViewManagerTest, ARowIsAskedForAtMostOnceEveryFiveSeconds) {
    request("SH600000");
    EXPECT_EQ(minuteRequests(), 1u);
    ASSERT_TRUE(mviews->getMView("SH600000"));
    EXPECT_EQ(mviews->getMView("SH600000")->height(), MiniViewManager::ChartHeight);
    advance(3);
    request("SH600000");
    EXPECT_EQ(minuteRequests(), 1u);
    advance(3);
    request("SH600000");
    EXPECT_EQ(minuteRequests(), 2u);
    EXPECT_EQ(requester->count(MLineNetData::MinLineReplyType), 2u);
    // The newest record stays with the picture.
    EXPECT_EQ(mviews->getMView("SH600000")->basicInf()->closeprice, 1000);
}

TEST_F(MiniViewManagerTest, ARangeIsClippedToTheList) {
    std::vector<base::Ref<StockQuoteInf>> records{quote("SH600000", "a", 1000), quote("", "no code", 1000),
                                                  quote("SH600004", "c", 1000)};
    mviews->reqMinLinesWithQuotesArray(records, -5, 10, requester, 1);
    settle();
    EXPECT_EQ(minuteRequests(), 2u);
    EXPECT_EQ(mviews->count(), 2u);
    mviews->reqMinLinesWithQuotesArray(records, 2, 1, requester, 1);
    mviews->reqMinLinesWithQuotesArray(records, 3, 10, requester, 1);
    settle();
    EXPECT_EQ(minuteRequests(), 2u);
}

TEST_F(MiniViewManagerTest, TheOldestEvictablePictureMakesRoom) {
    // 30 pictures requested a second apart; the first is pinned, the second the oldest evictable.
    for (int i = 0; i < 30; ++i) {
        request("SH6000" + std::to_string(10 + i));
        advance(1);
    }
    mviews->getMView("SH600010")->canRemove = false;
    // A picture made by a reply handed in before any request has no tick and is never evicted.
    mviews->setHoldMiniTrendViewCount(31);
    mviews->getMViewWithCreate("SZ000001", 56);
    mviews->setHoldMiniTrendViewCount(30);
    ASSERT_EQ(mviews->count(), 31u);

    request("SH600100");
    EXPECT_EQ(mviews->count(), 31u);
    EXPECT_FALSE(mviews->getMView("SH600011"));
    EXPECT_TRUE(mviews->getMView("SH600010"));
    EXPECT_TRUE(mviews->getMView("SZ000001"));
    EXPECT_FALSE(mviews->minLineLib()->getMinLinePack("SH600011"));
    EXPECT_TRUE(mviews->minLineLib()->getMinLinePack("SH600012"));

    // Nothing evictable left: the cache grows.
    mviews->setHoldMiniTrendViewCount(3);
    for (int i = 12; i < 40; ++i)
        mviews->getMView("SH6000" + std::to_string(i))->canRemove = false;
    mviews->getMView("SH600100")->canRemove = false;
    request("SH600200");
    EXPECT_EQ(mviews->count(), 32u);
}

} // namespace
