#include "RequestersFixture.h"

#include "DataBase/NetData/StkMinLineItem.h"

namespace requesters {
namespace {

base::Data contributionReply(int rows) {
    base::Data body;
    ComAPI::WriteShort(body, rows);
    for (int i = 0; i < rows; ++i) {
        ComAPI::WriteString(body, "SH60000" + std::to_string(i));
        ComAPI::WriteString(body, "x");
        ComAPI::WriteInt(body, 100 - i);
        ComAPI::WriteShort(body, 5);
    }
    return frameOf(2929, body);
}

base::Data bigOrderReply(int first, int rows) {
    base::Data body;
    ComAPI::WriteShort(body, first);
    ComAPI::WriteShort(body, rows);
    for (int i = 0; i < rows; ++i) {
        ComAPI::WriteString(body, "SH600000");
        ComAPI::WriteString(body, "x");
        ComAPI::WriteByte(body, 1);
        ComAPI::WriteShort(body, 930);
        ComAPI::WriteInt(body, 500);
    }
    return frameOf(2977, body);
}

class IndexRequests : public RequestersTest {
protected:
    QuoteRequester me() const { return std::string("IndexObserver"); }
    IndexNetData &index() { return *center->IO_IndexLib; }
    // The start position of the last big-order request.
    int lastBigOrderStart() {
        ByteView frame = coordinator->records.back().data.span();
        uint32_t at = 7;
        ComAPI::ReadString(frame, at);
        return ComAPI::ReadShort(frame, at);
    }
};

TEST_F(IndexRequests, ContributionsAreReadyOnlyAfterBothHalves) {
    index().reqIndexGX(me(), "SH000001");
    ASSERT_EQ(coordinator->count(2929), 2u);
    std::vector<int> orders;
    for (const auto &record : coordinator->records) {
        ByteView frame = record.data.span();
        EXPECT_EQ(frame[7], 'S');
        EXPECT_EQ(frame[8], 'H');
        orders.push_back(frame[9]);
        uint32_t at = 12;
        EXPECT_EQ(ComAPI::ReadShort(frame, at), 20);
    }
    EXPECT_EQ(orders, (std::vector<int>{1, 0}));

    NetDataCenter::ParseIndexGX(contributionReply(20).span(), coordinator->records[0].reqParams);
    EXPECT_FALSE(index().getIndexGXRspArray("SH000001"));
    index().reqIndexGX(me(), "SH000300");
    EXPECT_EQ(coordinator->count(2929), 2u) << "the market's pack is still waiting";
    NetDataCenter::ParseIndexGX(contributionReply(20).span(), coordinator->records[1].reqParams);
    auto rows = index().getIndexGXRspArray("SH000300");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->size(), 40u);

    index().reqIndexGX(me(), "SZ399001");
    index().reqIndexGX(me(), "X");
    EXPECT_EQ(coordinator->count(2929), 4u);
}

TEST_F(IndexRequests, BigOrdersStartOverAfterSixtySeconds) {
    index().reqIndexBigInfo(me(), "SH000001");
    EXPECT_EQ(lastBigOrderStart(), 0);
    center->ParseRspArray(2977, bigOrderReply(0, 30).span(), coordinator->records.back().reqParams);
    clock.advance(59);
    index().reqIndexBigInfo(me(), "SH000300");
    EXPECT_EQ(lastBigOrderStart(), 30) << "the same market's list goes on";
    center->ParseRspArray(2977, bigOrderReply(30, 5).span(), coordinator->records.back().reqParams);
    EXPECT_EQ(index().getIndexBigInfoRspArray("SH000001")->size(), 35u);
    clock.advance(61);
    index().reqIndexBigInfo(me(), "SH000001");
    EXPECT_EQ(lastBigOrderStart(), 0);
    EXPECT_TRUE(index().getIndexBigInfoRspArray("SH000001")->empty());
    index().reqIndexBigInfo(me(), "SH000001");
    EXPECT_EQ(coordinator->count(2977), 3u) << "busy";
}

TEST_F(IndexRequests, AReconnectAsksAgain) {
    index().reqIndexGX(me(), "SH000001");
    index().reqIndexBigInfo(me(), "SH000001");
    center->IO_MLib->reqMinLine(me(), "SH600000");
    center->OnDisConnect();
    index().reqIndexGX(me(), "SH000001");
    index().reqIndexBigInfo(me(), "SH000001");
    center->IO_MLib->reqMinLine(me(), "SH600000");
    EXPECT_EQ(coordinator->count(2929), 4u);
    EXPECT_EQ(coordinator->count(2977), 2u);
    EXPECT_EQ(coordinator->count(2942), 2u);
}

TEST_F(IndexRequests, RiseFallLineIsPerIndex) {
    index().reqIndexRiseFallLine(me(), "SH000001");
    index().reqIndexRiseFallLine(me(), "SZ399001");
    index().reqIndexRiseFallLine(me(), "SH");
    EXPECT_EQ(coordinator->count(2965), 2u);
    EXPECT_TRUE(index().getIndexRiseFallLineRspArray("SH000001"));
    EXPECT_FALSE(index().getIndexRiseFallLineRspArray("SH000300"));
}

TEST_F(RequestersTest, MinutesAreSeededFromTodaysCache) {
    std::vector<base::Ref<StkMinLineItem>> minutes;
    for (int i = 0; i < 30; ++i) {
        auto m = base::make<StkMinLineItem>();
        m->time = 930 + i;
        m->price = 1000;
        minutes.push_back(m);
    }
    ASSERT_TRUE(LocalFileFunc::saveMinLine("SH600000", minutes, 20120305));
    ASSERT_TRUE(LocalFileFunc::saveMinLine("SZ000002", minutes, 20120302));
    MLineNetData mlines(center);
    mlines.reqMinLine(std::string("M"), "SH600000", 7);
    mlines.reqMinLine(std::string("M"), "SZ000002");
    mlines.reqMinLine(std::string("M"), "S");
    ASSERT_EQ(coordinator->records.size(), 2u);
    auto pack = mlines.getMinLinePack("SH600000");
    EXPECT_EQ(pack->rspArray.size(), 30u);
    EXPECT_EQ(pack->pos, 30);
    EXPECT_EQ(coordinator->records[0].reqParams->get("tag").intValue(), 7);
    ByteView frame = coordinator->records[0].data.span();
    uint32_t at = 7;
    ComAPI::ReadString(frame, at);
    EXPECT_EQ(ComAPI::ReadShort(frame, at), 30);
    EXPECT_TRUE(mlines.getMinLineRspArray("SZ000002")->empty()) << "another day's file is stale";
    mlines.saveAndRemoveMinLine("SH600000");
    EXPECT_FALSE(mlines.getMinLinePack("SH600000"));
}

} // namespace
} // namespace requesters
