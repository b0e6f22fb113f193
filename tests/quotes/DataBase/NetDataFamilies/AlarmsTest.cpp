#include "FamiliesTestSupport.h"

#include "DataBase/NetData/StockAlarmInfo.h"

namespace {

// A 3001 reply: marker, sub-type, the server value and what follows the sub-header.
Bytes alarmReply(int subType, uint32_t serverValue, const Bytes &rest = {}, int marker = 2) {
    return Body()
        .i8(marker)
        .i16(subType)
        .i16(0)
        .i16(int32_t(rest.size()))
        .i32(int32_t(serverValue))
        .raw(rest)
        .frame(3001);
}

class AlarmsTest : public FamilyTest {
protected:
    // Sends the current-alarm request and answers it with `reply`; the reply dictionary.
    base::Dict answer(const Bytes &reply) {
        center->RequestCurrentAlarmArray({});
        auto params = lastRecord().reqParams;
        center->ParseAlarmData(reply, params);
        return *params->get("rspDict").dict();
    }
    // The server value the next request carries.
    uint32_t nextServerValue() {
        center->RequestCurrentAlarmArray({});
        Bytes body = lastBody();
        return uint32_t(body[7] | body[8] << 8 | body[9] << 16 | uint32_t(body[10]) << 24);
    }
};

TEST_F(AlarmsTest, ServerValuePassesFromReplyToRequestUntilReverify) {
    EXPECT_EQ(nextServerValue(), 0u);
    answer(alarmReply(301, 0x01020304, {0}));
    EXPECT_EQ(nextServerValue(), 0x01020304u);
    // Unknown sub-types still hand out their value.
    answer(alarmReply(303, 0x0A0B0C0D));
    EXPECT_EQ(nextServerValue(), 0x0A0B0C0Du);

    base::Dict dict = answer(alarmReply(309, 0x55555555));
    EXPECT_EQ(dict.get("subType").intValue(), 309);
    EXPECT_EQ(nextServerValue(), 0u);

    answer(alarmReply(301, 0x01020304, {0}));
    center->ParseAlarmPushData(alarmReply(307, 0x77777777, Body().i8(0).i16(0).bytes()));
    center->ParseAlarmPushData(alarmReply(313, 0x77777777, Body().i32(5).str("x").bytes()));
    EXPECT_EQ(nextServerValue(), 0x01020304u);
    center->ParseAlarmPushData(alarmReply(309, 0x77777777));
    EXPECT_EQ(nextServerValue(), 0u);
}

TEST_F(AlarmsTest, RepliesFillTheDictionaryBySubType) {
    struct Case {
        const char *name;
        Bytes reply;
        base::Dict expected;
    };
    const Case cases[] = {
        {"added",
         alarmReply(300, 0, Body().i8(0).i32(42).bytes()),
         {{"subType", 300}, {"resultFlag", "YES"}, {"alarmID", 42}}},
        {"add refused",
         alarmReply(300, 0, Body().i8(1).str("满了").bytes()),
         {{"subType", 300}, {"resultFlag", "NO"}, {"errorMsg", "满了"}}},
        {"add odd result", alarmReply(300, 0, Body().i8(4).i32(42).bytes()), {{"subType", 300}}},
        {"deleted", alarmReply(301, 0, Body().i8(0).bytes()), {{"subType", 301}, {"resultFlag", "YES"}}},
        {"modify refused",
         alarmReply(308, 0, Body().i8(1).str("no").bytes()),
         {{"subType", 308}, {"resultFlag", "NO"}, {"errorMsg", "no"}}},
        {"no current alarms",
         alarmReply(307, 0, Body().i8(0).i16(0).bytes()),
         {{"subType", 307}, {"resultFlag", "YES"}, {"rspArray", base::Array()}}},
        {"history refused",
         alarmReply(302, 0, Body().i16(0).str("无").bytes()),
         {{"subType", 302}, {"resultFlag", "NO"}, {"errorMsg", "无"}}},
        {"error notice", alarmReply(313, 0, Body().i32(9).str("err").bytes()), {{"subType", 313}}},
        {"reply marker 3",
         alarmReply(301, 0, Body().i8(0).bytes(), 3),
         {{"subType", 301}, {"resultFlag", "YES"}}},
        {"wrong marker", alarmReply(301, 0, Body().i8(0).bytes(), 4), {}},
        {"empty", emptyFrame(3001), {}},
        {"short sub-header", Body().i8(2).i16(301).i16(0).frame(3001), {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(answer(c.reply), c.expected);
    }
}

TEST_F(AlarmsTest, CurrentAndHistoryRows) {
    Bytes alarms = Body()
                       .i8(0)
                       .i16(1)
                       .i32(17)
                       .str("SH600000")
                       .str("浦发银行")
                       .f32(9.5f)
                       .f32(-1)
                       .f32(3)
                       .i8(1)
                       .f32(-1)
                       .i8(0)
                       .f32(2.5f)
                       .i8(1)
                       .i8(1)
                       .i8(2)
                       .bytes();
    base::Dict dict = answer(alarmReply(307, 0, alarms));
    ASSERT_EQ(dict.get("rspArray").array()->size(), 1u);
    auto alarm = (*dict.get("rspArray").array())[0].objectAs<StockAlarmInfo>();
    ASSERT_TRUE(alarm);
    EXPECT_EQ(alarm->alarmID, 17);
    EXPECT_EQ(alarm->name, "浦发银行");
    EXPECT_EQ(alarm->priceGreaterThan, 9.5f);
    EXPECT_EQ(alarm->priceLessThan, -1.0f);
    EXPECT_EQ(alarm->todayRiseValid, 1);
    EXPECT_EQ(alarm->todayExchange, 2.5f);
    EXPECT_EQ(alarm->todayNewsValid, 1);
    EXPECT_EQ(alarm->decimal, 2);

    Bytes history = Body().i16(1).i16(1).i32(3).str("SZ000001").str("平安").str("涨到 10.00").bytes();
    dict = answer(alarmReply(302, 0, history));
    EXPECT_EQ(dict.get("resultFlag").stringValue(), "YES");
    auto fired = (*dict.get("rspArray").array())[0].objectAs<StockHistoryAlarmInfo>();
    ASSERT_TRUE(fired);
    EXPECT_EQ(fired->msgType, 3);
    EXPECT_EQ(fired->alarmDesc, "涨到 10.00");
}

TEST_F(AlarmsTest, TokenUploadResultSetsTheFlag) {
    EXPECT_FALSE(center->isUploadTokenSuccess());
    answer(alarmReply(306, 0, Body().i8(0).bytes()));
    EXPECT_TRUE(center->isUploadTokenSuccess());
    answer(alarmReply(306, 0, Body().i8(7).bytes()));
    EXPECT_TRUE(center->isUploadTokenSuccess());
    answer(alarmReply(306, 0, Body().i8(1).str("x").bytes()));
    EXPECT_FALSE(center->isUploadTokenSuccess());
}

TEST_F(AlarmsTest, ReplyWithoutItsDictionaryIsIgnored) {
    center->ParseAlarmData(alarmReply(301, 0x99, {0}), nullptr);
    center->ParseAlarmData(alarmReply(301, 0x99, {0}), base::make<ReqParams>());
    EXPECT_EQ(nextServerValue(), 0u);
}

} // namespace
