#include "ChartMessagesFixture.h"

namespace {

using chartframes::Minute;

struct Row {
    int32_t time, price, totalVol, ave, holdVol;
};

base::Data minLineBody(int16_t position, const std::vector<Row> &rows, bool hold = false) {
    base::Data body;
    ComAPI::WriteByte(body, hold ? 1 : 0);
    ComAPI::WriteShort(body, 0);
    ComAPI::WriteShort(body, position);
    ComAPI::WriteShort(body, int(rows.size()));
    for (const Row &row : rows) {
        for (int32_t field : {row.time, row.price, row.totalVol, row.ave})
            ComAPI::WriteInt(body, field);
        if (hold)
            ComAPI::WriteInt(body, row.holdVol);
    }
    return body;
}

struct Shown {
    int32_t time, vol, totalVol;
    bool operator==(const Shown &) const = default;
};

std::vector<Shown> shown(const MinLinePack &pack) {
    std::vector<Shown> out;
    for (const auto &item : pack.rspArray) {
        auto minute = std::dynamic_pointer_cast<StkMinLineItem>(item);
        out.push_back({minute->time, minute->vol, minute->totalVol});
    }
    return out;
}

class MinLineMessages : public ChartMessages {
protected:
    base::Ref<MinLinePack> pack = base::make<MinLinePack>("SH600000");

    void parse(const base::Data &frame) { center->ParseMinLine(frame.span(), paramsWith(pack)); }
    void hold(const std::vector<Shown> &minutes) {
        for (const Shown &m : minutes) {
            auto item = base::make<StkMinLineItem>();
            item->time = m.time;
            item->vol = m.vol;
            item->totalVol = m.totalVol;
            pack->rspArray.push_back(item);
        }
    }
};

TEST_F(MinLineMessages, RequestAsksFromThePacksPositionForACodedReply) {
    auto requester = base::make<ChartRequester>();
    pack->setDelegate(requester);
    pack->tag = 2;
    pack->pos = -1;
    center->RequestMinLine(pack);
    base::Data expected;
    ComAPI::WriteString(expected, "SH600000");
    ComAPI::WriteShort(expected, 0);
    EXPECT_EQ(onlyRequestBody(), expected);
    EXPECT_EQ(onlyRequestAttribute(), 2);
    const QuoteRequestRecord &record = coordinator->records.back();
    EXPECT_EQ(record.reqType, 2942);
    EXPECT_EQ(std::get<base::Ref<DataPoolDelegate>>(record.delegate).get(), requester.get());
    EXPECT_EQ(record.reqParams->object("pack"), pack);
    EXPECT_EQ(record.reqParams->get("code"), base::Value("SH600000"));
    EXPECT_EQ(record.reqParams->get("tag"), base::Value(2));
    EXPECT_FALSE(pack->isIdle);

    center->RequestMinLine(pack);
    EXPECT_EQ(coordinator->records.size(), 1u);

    auto named = base::make<MinLinePack>("SZ000002");
    named->setDelegate(std::string("MinLineNotify"));
    named->pos = 37;
    center->RequestMinLine(named);
    ASSERT_EQ(coordinator->records.size(), 2u);
    EXPECT_EQ(std::get<std::string>(coordinator->records.back().delegate), "MinLineNotify");
    uint32_t pos = 7 + 10;
    EXPECT_EQ(ComAPI::ReadShort(coordinator->records.back().data.span(), pos), 37);
}

TEST_F(MinLineMessages, RepliesJoinOnWithVolumesFromTheRunningTotal) {
    parse(reply(
        2942,
        minLineBody(3, {{930, 1000, 100, 1000, 0}, {931, 1001, 150, 1000, 0}, {932, 999, 180, 1000, 0}})));
    EXPECT_EQ(shown(*pack), (std::vector<Shown>{{930, 100, 100}, {931, 50, 150}, {932, 30, 180}}));
    EXPECT_EQ(pack->pos, 3);

    parse(reply(
        2942,
        minLineBody(4, {{932, 999, 200, 1000, 0}, {933, 1002, 0, 1000, 0}, {934, 1003, 260, 1000, 0}})));
    EXPECT_EQ(
        shown(*pack),
        (std::vector<Shown>{{930, 100, 100}, {931, 50, 150}, {932, 50, 200}, {933, 0, 0}, {934, 60, 260}}));
    EXPECT_EQ(pack->pos, 4);
    EXPECT_TRUE(pack->isIdle);
    EXPECT_GT(pack->updateTick, 0);
}

TEST_F(MinLineMessages, MinutesNotLaterThanTheLastHeldAreSkipped) {
    hold({{930, 100, 100}, {931, 50, 150}, {932, 10, 160}});
    parse(reply(2942, minLineBody(3, {{930, 1, 100, 1, 0}, {931, 1, 150, 1, 0}, {932, 1, 180, 1, 0}})));
    EXPECT_EQ(shown(*pack), (std::vector<Shown>{{930, 100, 100}, {931, 50, 150}, {932, 30, 180}}));
}

TEST_F(MinLineMessages, HoldVolumesAreReadWhenFlagged) {
    parse(reply(2942, minLineBody(1, {{930, 1000, 5, 1000, 77}}, true)));
    ASSERT_EQ(pack->rspArray.size(), 1u);
    EXPECT_EQ(std::dynamic_pointer_cast<StkMinLineItem>(pack->rspArray[0])->holdVol, 77);
}

TEST_F(MinLineMessages, EmptyOrStaleRepliesEmptyThePack) {
    const std::vector<std::pair<std::string, base::Data>> cases = {
        {"empty body", reply(2942, base::Data())},
        {"header cut short", base::Data::fromString("\x01\x7e")},
        {"position behind the held minutes", reply(2942, minLineBody(5, {{1000, 1, 1, 1, 0}}))},
        {"position 0", reply(2942, minLineBody(0, {{1000, 1, 1, 1, 0}}))},
    };
    for (const auto &[name, frame] : cases) {
        pack->rspArray.clear();
        hold({{930, 1, 1},
              {931, 1, 2},
              {932, 1, 3},
              {933, 1, 4},
              {934, 1, 5},
              {935, 1, 6},
              {936, 1, 7},
              {937, 1, 8},
              {938, 1, 9},
              {939, 1, 10}});
        pack->isIdle = false;
        parse(frame);
        EXPECT_TRUE(pack->rspArray.empty()) << name;
        EXPECT_TRUE(pack->isIdle) << name;
    }
}

TEST_F(MinLineMessages, ReplyWithoutItsPackIsIgnored) {
    base::Data frame = reply(2942, minLineBody(1, {{930, 1, 1, 1, 0}}));
    center->ParseMinLine(frame.span(), nullptr);
    center->ParseMinLine(frame.span(), base::make<ReqParams>());
    center->ParseMinLine(frame.span(), paramsWith(base::make<KLinePack>("SH600000", 7)));
}

TEST_F(MinLineMessages, GrowingDaysAreCachedForTheQuotesDate) {
    std::vector<Row> rows;
    for (int i = 0; i < 21; ++i)
        rows.push_back({930 + i, 1000, 10 * (i + 1), 1000, 0});
    parse(reply(2942, minLineBody(20, std::vector<Row>(rows.begin(), rows.begin() + 20))));
    EXPECT_FALSE(std::filesystem::exists(FileFunc::getFilePath("data/minline/SH600000.dat")));

    parse(reply(2942, minLineBody(21, {rows[19], rows[20]})));
    EXPECT_EQ(pack->readCount, 21);
    std::vector<base::Ref<StkMinLineItem>> cached;
    ASSERT_TRUE(LocalFileFunc::readMinLine("SH600000", cached, 20120305));
    ASSERT_EQ(cached.size(), 21u);
    EXPECT_EQ(cached[20]->vol, 10);

    // The current minute sent again does not grow the day: nothing is written.
    std::filesystem::remove(FileFunc::getFilePath("data/minline/SH600000.dat"));
    parse(reply(2942, minLineBody(21, {rows[20]})));
    EXPECT_EQ(pack->rspArray.size(), 21u);
    EXPECT_FALSE(std::filesystem::exists(FileFunc::getFilePath("data/minline/SH600000.dat")));
}

TEST_F(MinLineMessages, CodedReplyIsExpandedAndItsSessionsKept) {
    chartframes::MinFrame layout;
    layout.position = 3;
    layout.count = 3;
    layout.sessions = {{900, 1000}, {1300, 1330}};
    layout.coded = {{1000, 100, 1000}, {1002, 130, 1001}};
    layout.plain = {{1003, 170, 1001}};
    pack->code = "QQ000001";
    parse(chartframes::codedMinFrame(layout));
    EXPECT_EQ(shown(*pack), (std::vector<Shown>{{900, 100, 100}, {901, 30, 130}, {902, 40, 170}}));
    EXPECT_EQ(MarketTimes::Instance().getMinCount("QQ000009"), 92);
}

TEST_F(MinLineMessages, LongSessionDaysFitTheExpansion) {
    chartframes::MinFrame layout;
    layout.hold = true;
    layout.sessions = {{600, 500}};
    layout.position = 1381;
    layout.count = 1381;
    for (int i = 0; i < 1381; ++i)
        layout.coded.push_back({1000 + i % 7, 10 * (i + 1), 1000, 5});
    parse(chartframes::codedMinFrame(layout));
    ASSERT_EQ(pack->rspArray.size(), 1381u);
    auto last = std::dynamic_pointer_cast<StkMinLineItem>(pack->rspArray.back());
    EXPECT_EQ(last->time, 500);
    EXPECT_EQ(last->vol, 10);
    EXPECT_EQ(last->holdVol, 5);
}

TEST_F(MinLineMessages, PartlyExpandedReplyChangesNothing) {
    hold({{930, 1, 1}, {931, 1, 2}});
    pack->pos = 2;
    pack->isIdle = false;
    chartframes::MinFrame layout;
    layout.position = 2;
    layout.count = 3;
    layout.sessions = {{900, 1000}};
    layout.coded = {{1000, 100, 1000}, {5000000, 130, 1001}, {1, 140, 1}};
    base::Data frame = chartframes::codedMinFrame(layout);
    base::Data cut = frame.subdata(0, frame.length() - 8);
    cut.mutableBytes()[5] = uint8_t(cut.length() - 7);
    pack->code = "RR000001";
    parse(cut);
    EXPECT_EQ(shown(*pack), (std::vector<Shown>{{930, 1, 1}, {931, 1, 2}}));
    EXPECT_EQ(pack->pos, 2);
    EXPECT_TRUE(pack->isIdle);
    EXPECT_EQ(MarketTimes::Instance().getMinCount("RR000001"), 61);

    // A plain tail the body does not hold is as much a failure.
    base::Data noTail = chartframes::codedMinFrame(layout);
    noTail.mutableBytes()[16] = 1;
    parse(noTail);
    EXPECT_EQ(pack->rspArray.size(), 2u);

    // More minutes than any day holds.
    base::Data tooLong = chartframes::codedMinFrame(layout);
    tooLong.mutableBytes()[14] = 0x00;
    tooLong.mutableBytes()[15] = 0x08;
    parse(tooLong);
    EXPECT_EQ(pack->rspArray.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(FileFunc::getFilePath("data/minline/RR000001.dat")));
}

} // namespace
