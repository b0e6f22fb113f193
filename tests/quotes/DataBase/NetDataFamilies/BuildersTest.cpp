#include "FamiliesTestSupport.h"

#include "DataBase/NetData/StockAlarmInfo.h"

#include <functional>

namespace {

const std::string Code = "SH600000";

struct BuilderCase {
    const char *name;
    std::function<void(NetDataCenter &)> send;
    int type;
    Bytes body;
};

class BuildersTest : public FamilyTest, public ::testing::WithParamInterface<BuilderCase> {};

TEST_P(BuildersTest, WritesTheBodyOfItsType) {
    const BuilderCase &c = GetParam();
    c.send(*center);
    ASSERT_EQ(coordinator->records.size(), 1u);
    EXPECT_EQ(lastType(), c.type);
    EXPECT_EQ(lastBody(), c.body);
    // The frame header announces the body that follows.
    const Bytes &frame = lastRecord().data.vector();
    EXPECT_EQ(frame[1] | frame[2] << 8, c.type);
    EXPECT_EQ(size_t(frame[5] | frame[6] << 8), c.body.size());
}

Bytes code(const std::string &text = Code) {
    return Body().str(text).bytes();
}

auto withPack(int type, base::Ref<RequestPosItem> pack) {
    return [type, pack](NetDataCenter &center) { center.RequestArrayData({}, type, pack); };
}

StockAlarmInfo sampleAlarm() {
    StockAlarmInfo alarm;
    alarm.code = "SZ000001";
    alarm.priceGreaterThan = 12.5f;
    alarm.priceLessThan = -1;
    alarm.todayRise = 5;
    alarm.todayRiseValid = 1;
    alarm.todayFall = -1;
    alarm.todayExchange = 3;
    alarm.todayExchangeValid = 1;
    alarm.todayNewsValid = 1;
    return alarm;
}

Bytes alarmFields() {
    return Body().str("SZ000001").f32(12.5f).f32(-1).f32(5).i8(1).f32(-1).i8(0).f32(3).i8(1).i8(1).bytes();
}

// Sub-header with a server value of 0 and the pre-data of account "u", empty password and `device`,
// followed by `rest`.
Bytes alarmBody(int subType, const std::string &device, const Bytes &rest) {
    Bytes pre = Body().str("u").str("").str("").str("").str(device).i8(7).str("1.00").raw(rest).bytes();
    return Body().i8(2).i16(subType).i16(0).i16(int32_t(pre.size())).i32(0).raw(pre).bytes();
}

// Sends with account "u" and an empty password.
auto asUser(std::function<void(NetDataCenter &)> send) {
    return [send](NetDataCenter &center) {
        center.IO_L2UserName = "u";
        center.IO_L2Password = "";
        send(center);
    };
}

const std::vector<BuilderCase> &builderCases() {
    static const std::vector<BuilderCase> cases = {
        {"BaseInfo", [](NetDataCenter &c) { c.RequestStkBaseInfo({}, Code, 0, nullptr); }, 2939, code()},
        {"DynamicInfo", [](NetDataCenter &c) { c.RequestDynamicInfo({}, Code, 0, nullptr); }, 2940, code()},
        {"RiseFallCount", [](NetDataCenter &c) { c.RequestRiseFallCount({}, "SH000001", 0, nullptr); }, 2206,
         code("SH000001")},
        {"FundBaseInfo", [](NetDataCenter &c) { c.RequestFundBaseInfo({}, "OF110022", 0, nullptr); }, 2310,
         code("OF110022")},
        {"Level2BuySellPan", [](NetDataCenter &c) { c.RequestLevel2BuySellPan({}, Code, 0, nullptr); }, 2915,
         code()},
        {"FinancialData", [](NetDataCenter &c) { c.RequestStockFinancialData({}, Code, 0, nullptr); }, 2974,
         code()},

        {"TicksLatest", withPack(2970, packAt(Code, -1)), 2970, Body().str(Code).i32(-1).i16(-30).bytes()},
        {"TicksFrom120", withPack(2970, packAt(Code, 120)), 2970, Body().str(Code).i32(120).i16(30).bytes()},
        {"TicksPaged", withPack(2970, packAt(Code, 120, 100, 25)), 2970,
         Body().str(Code).i32(120).i16(25).bytes()},
        {"TicksPagedWithoutCount", withPack(2970, packAt(Code, 40, 100, 0)), 2970,
         Body().str(Code).i32(40).i16(30).bytes()},
        {"DealsFirst", withPack(2971, packAt(Code, -1)), 2971, Body().str(Code).i32(0).i16(30).bytes()},
        {"DealsFrom7", withPack(2971, packAt(Code, 7)), 2971, Body().str(Code).i32(7).i16(30).bytes()},
        {"StockBigOrders", withPack(2976, packAt(Code, 12)), 2976, Body().str(Code).i16(12).i16(30).bytes()},
        {"StockBigOrdersOld", withPack(2931, packAt(Code, -1)), 2931,
         Body().str(Code).i16(0).i16(30).bytes()},
        {"MarketBigOrders", withPack(2977, packAt("SZ399001", 3)), 2977,
         Body().str("SZ").i16(3).i16(30).bytes()},
        {"MarketBigOrdersOld", withPack(2932, packAt("SH000001", -1)), 2932,
         Body().str("SH").i16(0).i16(30).bytes()},
        {"RiseFallLine", withPack(2965, packAt("SH000001", 101)), 2965,
         Body().str("SH000001").i16(101).bytes()},
        {"Exright", withPack(2966, packAt(Code, 5)), 2966, code()},
        {"Boards", withPack(2969, packAt(Code, 5)), 2969, code()},
        {"FundCandles", withPack(2311, packAt("OF110022", -1)), 2311, code("OF110022")},
        {"FundOwners", withPack(2314, packAt("OF110022", -1)), 2314, code("OF110022")},
        {"EntrustQueue", withPack(2917, packAt(Code, -1)), 2917, Body().str(Code).i32(0).bytes()},
        {"MinuteSeries", withPack(2923, packAt(Code, 240)), 2923, Body().str(Code).i32(240).bytes()},
        {"OtherType", withPack(2999, packAt(Code, 240)), 2999, {}},
        {"IndexContribution",
         [](NetDataCenter &c) { c.RequestIndexGX({}, base::make<IndexGXPack>("SH"), 1, 20); },
         2929,
         {'S', 'H', 1, 0, 0, 20, 0}},
        {"ExrightTest", [](NetDataCenter &c) { c.TestRequest2958({}, Code, 2); }, 2958,
         Body().str(Code).i8(2).bytes()},

        {"ProductList",
         [](NetDataCenter &c) { c.RequestMerchandiseList({}, 1, 4, 1, 0, 50, nullptr, 0); },
         2938,
         {0x01, 0x00, 0x01, 0x04, 0x00, 0x00, 0x32, 0x00}},
        {"OpenFundList",
         [](NetDataCenter &c) { c.RequestOpenFundList({}, 5, 9, 30, 20, 3, 1, nullptr, 0, 0, 0); }, 2331,
         Body().i16(9).i16(30).i16(20).i8(3).i8(1).i8(5).bytes()},
        {"OldFundList", [](NetDataCenter &c) { c.RequestFundList({}, 2301, 4, 1, 10, 20, nullptr, 0); }, 2301,
         Body().i8(4).i8(1).i16(10).i16(20).bytes()},
        {"FundCompanies", [](NetDataCenter &c) { c.RequestFundCompany({}, base::Array()); }, 2330,
         Body().i16(0).bytes()},

        {"PoolStocks", [](NetDataCenter &c) { c.RequestStockPoolStockList({}, 3, 20, 10, nullptr); }, 2950,
         Body().i16(3).i16(20).i16(10).bytes()},
        {"PoolStocks2", [](NetDataCenter &c) { c.RequestStockPoolStockList2({}, 3, 20, 10, nullptr); }, 2951,
         Body().i16(3).i16(20).i16(10).i16(0).bytes()},
        {"PoolCatalogue",
         [](NetDataCenter &c) { c.RequestStockPoolConfigInfo({}, base::Array()); },
         2949,
         {}},
        {"PoolEnterStock",
         [](NetDataCenter &c) { c.RequestStockPoolEnterStock({}); },
         2952,
         {0x04, 0x00, 0xA8, 0x04}},
        {"WebRights",
         [](NetDataCenter &c) {
             c.IO_L2UserName = "ab";
             c.IO_L2Password = "pass";
             c.RequestWebPower({});
         },
         2972, Body().i8(2).i16(119).i16(0).i16(10).str("ab").str("pass").bytes()},
        {"WebRightsEmptyPassword",
         [](NetDataCenter &c) {
             c.IO_L2UserName = "ab";
             c.RequestWebPower({});
         },
         2972, Body().i8(2).i16(119).i16(0).i16(6).str("ab").str("").bytes()},

        {"BrokerTableUncached",
         [](NetDataCenter &c) { c.RequestSecuritiesAddressInfo({}); },
         1003,
         {0x04, 0x00, 0x00, 0x00}},
    };
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Families, BuildersTest, ::testing::ValuesIn(builderCases()),
                         [](const auto &info) { return std::string(info.param.name); });

// Alarm bodies carry the device id, which differs per installation.
class AlarmBuildersTest : public FamilyTest {};

TEST_F(AlarmBuildersTest, EveryRequestCarriesSubHeaderPreDataAndItsFields) {
    const std::string device = center->deviceID();
    struct Case {
        const char *name;
        std::function<void(NetDataCenter &)> send;
        int subType;
        Bytes rest;
    };
    const std::vector<Case> cases = {
        {"current", [](NetDataCenter &c) { c.RequestCurrentAlarmArray({}); }, 307, {}},
        {"history", [](NetDataCenter &c) { c.RequestHistoryAlarmArray({}); }, 302,
         Body().i16(0).i16(50).bytes()},
        {"delete",
         [](NetDataCenter &c) {
             c.RequestDeleteAlarm({}, {5, 9});
         },
         301,
         {0x02, 0x00, 0x05, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00}},
        {"add", [](NetDataCenter &c) { c.RequestAddAlarm({}, sampleAlarm()); }, 300, alarmFields()},
        {"modify", [](NetDataCenter &c) { c.RequestModifyAlarm({}, 77, sampleAlarm()); }, 308,
         Body().i32(77).raw(alarmFields()).bytes()},
        {"token", [](NetDataCenter &c) { c.RequestUploadToken({}, "tok"); }, 306, Body().str("tok").bytes()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        asUser(c.send)(*center);
        EXPECT_EQ(lastType(), 3001);
        EXPECT_EQ(lastBody(), alarmBody(c.subType, device, c.rest));
        EXPECT_TRUE(lastRecord().reqParams->get("rspDict").dict());
    }
}

TEST_F(AlarmBuildersTest, CurrentAlarmsBodyMatchesTheProtocolExample) {
    // With device id "d": the length counts the 19 bytes after the sub-header.
    Bytes expected = {0x02, 0x33, 0x01, 0x00, 0x00, 0x13, 0x00, 0,    0,    0,
                      0,    0x01, 0x00, 0x75, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                      0x01, 0x00, 0x64, 0x07, 0x04, 0x00, 0x31, 0x2E, 0x30, 0x30};
    EXPECT_EQ(alarmBody(307, "d", {}), expected);
}

class PackRequestsTest : public FamilyTest {};

TEST_F(PackRequestsTest, ABusyPackOrKnownExrightsSendNothing) {
    auto busy = packAt(Code, 5);
    busy->isIdle = false;
    center->RequestArrayData({}, 2970, busy);
    auto known = packAt(Code, -1);
    known->isRsp = true;
    center->RequestStockExright({}, known);
    center->RequestArrayData({}, 2970, nullptr);
    center->RequestLevel2DD_({}, 2918, busy);
    center->RequestLevel2DD_({}, 2918, nullptr);
    EXPECT_TRUE(coordinator->records.empty());

    // Other series still ask for a pack whose ex-rights are known.
    center->RequestArrayData({}, 2969, known);
    EXPECT_EQ(coordinator->records.size(), 1u);
}

TEST_F(PackRequestsTest, RequestMarksThePackBusyAndCarriesWhatTheReplyNeeds) {
    auto pack = packAt(Code, 120, 100, 25);
    pack->reqNo = 8;
    auto record = base::make<StockBasicInf>();
    center->RequestArrayData({}, 2970, pack, record);
    EXPECT_FALSE(pack->isIdle);
    const auto &params = lastRecord().reqParams;
    EXPECT_EQ(params->get("stockDetailReqNo").intValue(), 8);
    EXPECT_EQ(params->object("pack"), pack);
    EXPECT_EQ(params->object("rspInfo"), record);
    EXPECT_EQ(params->get("reqPos").intValue(), 120);
    EXPECT_EQ(params->get("reqCount").intValue(), 25);

    center->RequestArrayData({}, 2970, pack);
    EXPECT_EQ(coordinator->records.size(), 1u);
}

TEST_F(PackRequestsTest, DetailRequestCarriesNumberCodeAndRecord) {
    auto record = base::make<StockBasicInf>();
    center->RequestDynamicInfo({}, Code, 3, record);
    center->RequestDynamicInfo({}, Code, 0, nullptr);
    const auto &first = coordinator->records[0].reqParams;
    EXPECT_EQ(first->get("stockDetailReqNo").intValue(), 3);
    EXPECT_EQ(first->get("code").stringValue(), Code);
    EXPECT_EQ(first->object("rspInfo"), record);
    EXPECT_FALSE(lastRecord().reqParams->has("rspInfo"));
}

TEST_F(PackRequestsTest, PerDayRequestAsksBeforeThePositionOnlyWhenPagingBack) {
    auto pack = packAt(Code, 20120608, 0, 200);
    center->RequestLevel2DD_({}, 2933, pack);
    EXPECT_EQ(lastBody(), Body().str(Code).i32(20120608).i16(200).bytes());
    EXPECT_FALSE(pack->isIdle);

    pack->isIdle = true;
    pack->isForwardReq = false;
    pack->reqCount = 1;
    center->RequestLevel2DD_({}, 2918, pack);
    EXPECT_EQ(lastType(), 2918);
    EXPECT_EQ(lastBody(), Body().str(Code).i32(0).i16(1).bytes());
}

} // namespace
