#include "MessageTestSupport.h"

#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/StockInterface.h"
#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/VirtualClock.h"

#include <utime.h>

#include <set>

namespace {

using Bytes = std::vector<uint8_t>;

class CoreTest : public MessageLayerTest {};

TEST_F(CoreTest, FrameHeaderCarriesIdTypeAttributeAndLength) {
    for (int i = 0; i < 3; ++i)
        center->getNewSeqID(2955);
    base::Data frame;
    Bytes body(10, 0xAB);
    ASSERT_TRUE(center->MakeNTDataPage(frame, 2955, body, 77));
    Bytes expected = concat({{0x05, 0x8B, 0x0B, 0x00, 0x00, 0x0A, 0x00}, body});
    EXPECT_EQ(bytesOf(frame), expected);

    base::Data codes, compressed;
    ASSERT_TRUE(center->MakeCompressNTDataPage(codes, 2956, body));
    ASSERT_TRUE(center->MakeCompressNTDataPage(compressed, 2944, body));
    EXPECT_EQ(codes.bytes()[3], 4);
    EXPECT_EQ(compressed.bytes()[3], 2);
}

TEST_F(CoreTest, SequenceIdsRunFrom1To249WithoutTheUnmatchedId) {
    // The counter starts at 1, so the first request goes out with 2.
    EXPECT_EQ(center->getNewSeqID(2955), 2);
    std::vector<int> ids;
    for (int i = 0; i < 600; ++i)
        ids.push_back(center->getNewSeqID(2955));
    for (size_t i = 1; i < ids.size(); ++i) {
        int expected = ids[i - 1] == 124 ? 126 : ids[i - 1] == 249 ? 1 : ids[i - 1] + 1;
        ASSERT_EQ(ids[i], expected) << "after " << ids[i - 1];
    }
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), 248u);
}

TEST_F(CoreTest, NavigationRequestCarries123AndRestartsTheCount) {
    for (int i = 0; i < 40; ++i)
        center->getNewSeqID(2955);
    center->RequestServerAddress({});
    center->RequestServerTime({});
    center->RequestServerTime({});
    ASSERT_EQ(coordinator->records.size(), 3u);
    EXPECT_EQ(coordinator->records[0].data.bytes()[0], 123);
    EXPECT_EQ(coordinator->records[0].seqID, 123);
    EXPECT_EQ(coordinator->records[1].seqID, 1);
    EXPECT_EQ(coordinator->records[2].seqID, 2);
    EXPECT_EQ(center->m_seqID(), 2);
}

TEST_F(CoreTest, ABodyTooLongForTheHeaderIsRefusedWithoutTakingAnId) {
    base::Data frame;
    Bytes body(0x10000, 0);
    EXPECT_FALSE(center->MakeNTDataPage(frame, 2955, body));
    EXPECT_TRUE(frame.empty());
    EXPECT_EQ(center->m_seqID(), 1);

    std::vector<std::string> codes(7000, "SH600000");
    center->RequestPauseList({}, 0, codes, base::make<StockQuoteList>(), 1);
    EXPECT_TRUE(coordinator->records.empty());
}

TEST_F(CoreTest, RecordsNameTheRequesterAndCarryTheParameters) {
    auto requester = base::make<RecordingRequester>();
    auto rows = base::make<StockQuoteList>();
    center->RequestRealInformation(requester, 0);
    center->RequestRealInformation(std::string("BreakNewsViewControllerNotify"), 4);
    center->RequestServerTime({});
    ASSERT_EQ(coordinator->records.size(), 3u);

    const QuoteRequestRecord &first = coordinator->records[0];
    EXPECT_EQ(first.reqType, 2600);
    EXPECT_EQ(first.seqID, first.data.bytes()[0]);
    ASSERT_TRUE(std::holds_alternative<base::Ref<DataPoolDelegate>>(first.delegate));
    EXPECT_EQ(std::get<base::Ref<DataPoolDelegate>>(first.delegate).get(), requester.get());
    ASSERT_TRUE(first.reqParams);
    EXPECT_EQ(first.reqParams->get("reqType").intValue(), 2600);
    EXPECT_EQ(first.reqParams->get("reqid").intValue(), 0);

    const QuoteRequestRecord &second = coordinator->records[1];
    ASSERT_TRUE(std::holds_alternative<std::string>(second.delegate));
    EXPECT_EQ(std::get<std::string>(second.delegate), "BreakNewsViewControllerNotify");
    EXPECT_EQ(second.reqParams->get("reqid").intValue(), 4);

    const QuoteRequestRecord &third = coordinator->records[2];
    EXPECT_TRUE(std::holds_alternative<std::monostate>(third.delegate));
    EXPECT_FALSE(third.reqParams);
}

TEST_F(CoreTest, BuildersStillFrameWhenNoCoordinatorTakesTheRecord) {
    center->theDelegate.reset();
    center->RequestServerTime({});
    EXPECT_EQ(center->m_seqID(), 2);
}

TEST_F(CoreTest, EmptyPacks) {
    EXPECT_TRUE(NetDataCenter::IsEmptyPack(Bytes{1, 0x8B, 0x0B, 0, 0, 0}));
    EXPECT_TRUE(NetDataCenter::IsEmptyPack(Bytes{1, 0x8B, 0x0B, 0, 0, 0, 0}));
    EXPECT_FALSE(NetDataCenter::IsEmptyPack(Bytes{1, 0x8B, 0x0B, 0, 0, 1, 0, 9}));
    // Code tables announce their length in four bytes.
    EXPECT_TRUE(NetDataCenter::IsEmptyPack(Bytes{1, 0x8C, 0x0B, 0, 0, 1, 0, 0}));
    EXPECT_FALSE(NetDataCenter::IsEmptyPack(bytesOf(replyFrame(2956, Body().byte(1).data))));
}

TEST_F(CoreTest, StockDetailRequestNumbers) {
    center->addStockDetailReqNo(3);
    center->addStockDetailReqNo(5);
    center->addStockDetailReqNo(3);
    EXPECT_TRUE(center->isValidStockDetailReqNo(3));
    EXPECT_FALSE(center->isValidStockDetailReqNo(4));
    center->removeStockDetailReqNo(3);
    EXPECT_FALSE(center->isValidStockDetailReqNo(3));
    EXPECT_TRUE(center->isValidStockDetailReqNo(5));
}

// The quotes date comes from a day-candle reply for the Shanghai index with the layer's own tag.
TEST_F(CoreTest, QuotesDateComesOnlyFromTheIndexDayCandleReply) {
    struct Case {
        const char *name;
        int type;
        std::string code;
        int32_t ktype;
        int32_t tag;
        int candles;
        int32_t expected;
    };
    const Case cases[] = {
        {"match", 2944, "SH000001", 7, 100001, 1, 20130304},
        {"two candles", 2944, "SH000001", 7, 100001, 2, 0},
        {"no candle", 2944, "SH000001", 7, 100001, 0, 0},
        {"other tag", 2944, "SH000001", 7, 1, 1, 0},
        {"other code", 2944, "SZ399001", 7, 100001, 1, 0},
        {"week candle", 2944, "SH000001", 8, 100001, 1, 0},
        {"intraday reply", 2942, "SH000001", 7, 100001, 1, 0},
    };
    for (const Case &c : cases) {
        center->IO_QuotesDate = 0;
        auto pack = base::make<KLinePack>(c.code, c.ktype);
        pack->tag = c.tag;
        for (int i = 0; i < c.candles; ++i) {
            auto candle = base::make<KLineItem>();
            candle->time = 20130304 - i;
            pack->rspArray.push_back(candle);
        }
        auto params = base::make<ReqParams>();
        params->setObject("pack", pack);
        center->DataPoolCallBack(c.type, params);
        EXPECT_EQ(center->IO_QuotesDate, c.expected) << c.name;
    }
    center->DataPoolCallBack(2944, nullptr);
    center->DataPoolCallBack(2944, base::make<ReqParams>());
}

base::Data acceptedLogin(int64_t session, int64_t rights) {
    return replyFrame(2936,
                      Body().byte(0).longLong(session).longLong(rights).shortValue(0).shortValue(0).data);
}

TEST_F(CoreTest, ALostConnectionEndsTheSessionButKeepsTheAccount) {
    center->RequestUserInf({}, "13800000000", "secret");
    center->ParseUserInf(acceptedLogin(0x0102030405060708, 1).span());
    ASSERT_TRUE(center->IO_L2LoginSuccess);
    center->OnDisConnect();
    EXPECT_FALSE(center->IO_L2LoginSuccess);
    EXPECT_TRUE(center->IO_AccountPowerArray().empty());
    EXPECT_FALSE(center->isValidPower(0));
    coordinator->records.clear();
    center->RequestHeartBeat();
    EXPECT_TRUE(coordinator->records.empty());
    EXPECT_EQ(center->IO_L2UserName, "13800000000");
    EXPECT_EQ(center->IO_L2Password, "secret");

    center->ClearLevel2Account();
    EXPECT_EQ(center->IO_L2UserName, "");
    EXPECT_EQ(center->IO_L2Password, "");
}

class RefreshTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        base::Clock::setCurrent(&clock);
        center = NetDataCenter::create();
        center->theDelegate = coordinator;
    }
    void TearDown() override {
        center.reset();
        base::Clock::setCurrent(nullptr);
    }

    base::VirtualClock clock;
    base::Ref<RecordingCoordinator> coordinator = base::make<RecordingCoordinator>();
    base::Ref<NetDataCenter> center;
};

TEST_F(RefreshTimerTest, SendsTheHeartbeatAndQuotesDateEvery30sWhileConnected) {
    center->ParseUserInf(acceptedLogin(0x1122334455667788, 0).span());
    clock.advance(29.9);
    EXPECT_TRUE(coordinator->records.empty());
    clock.advance(0.2);
    ASSERT_EQ(coordinator->records.size(), 2u);
    const QuoteRequestRecord &heartbeat = coordinator->records[0];
    EXPECT_EQ(heartbeat.reqType, 2925);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(heartbeat.delegate));
    Bytes body(heartbeat.data.bytes() + 7, heartbeat.data.bytes() + heartbeat.data.length());
    EXPECT_EQ(body, (Bytes{0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(coordinator->records[1].reqType, 2944);

    coordinator->connected = false;
    clock.advance(60);
    EXPECT_EQ(coordinator->records.size(), 2u);
    coordinator->connected = true;
    clock.advance(30);
    EXPECT_EQ(coordinator->records.size(), 4u);
}

// Stale intraday caches go on the 60th tick, half an hour after start, connected or not.
TEST_F(RefreshTimerTest, ClearsStaleChartCachesEveryHalfHour) {
    coordinator->connected = false;
    center->IO_QuotesDate = 20121207;
    std::string dir = base::Paths::join(base::Paths::documents(), "data", "minline");
    ASSERT_TRUE(base::FileManager::createDirectory(dir, true));
    auto makeStale = [&](const std::string &name) {
        std::string path = base::Paths::join(dir, name);
        EXPECT_TRUE(base::FileManager::writeAtomically(path, base::Data::fromString("x")));
        struct utimbuf old = {946684800, 946684800};
        EXPECT_EQ(utime(path.c_str(), &old), 0);
        return path;
    };
    std::string first = makeStale("SH600000.dat");
    clock.advance(59 * 30 + 1);
    EXPECT_TRUE(base::FileManager::exists(first));
    clock.advance(30);
    EXPECT_FALSE(base::FileManager::exists(first));

    std::string second = makeStale("SZ000001.dat");
    clock.advance(59 * 30);
    EXPECT_TRUE(base::FileManager::exists(second));
    clock.advance(30);
    EXPECT_FALSE(base::FileManager::exists(second));
}

TEST_F(RefreshTimerTest, StopsWithTheLayer) {
    center->ParseUserInf(acceptedLogin(7, 0).span());
    center.reset();
    clock.advance(120);
    EXPECT_TRUE(coordinator->records.empty());
}

TEST(StockInterfaceTest, SortCodesOfProductAndFundLists) {
    const std::pair<int, int> prod[] = {{9, 0},   {1, 1},   {4, 2}, {2, 3},
                                        {512, 4}, {517, 5}, {3, 3}, {600, 600}};
    for (auto [field, code] : prod)
        EXPECT_EQ(StockInterface::GetProdSortID(field), code) << field;
    const std::pair<int, int> open[] = {{603, 1}, {604, 2}, {607, 3},  {608, 4},
                                        {609, 5}, {610, 6}, {605, 605}};
    for (auto [field, code] : open)
        EXPECT_EQ(StockInterface::GetOpenFundSortID(field), code) << field;
    const std::pair<int, int> curr[] = {{611, 1}, {612, 2}, {9, 9}};
    for (auto [field, code] : curr)
        EXPECT_EQ(StockInterface::GetCurrFundSortID(field), code) << field;
}

} // namespace
