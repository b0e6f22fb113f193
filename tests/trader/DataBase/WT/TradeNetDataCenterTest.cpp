#include "TradeTestFrames.h"

#include "DataBase/WT/TradeCipher.h"
#include "DataBase/WT/TradeConnectLoginInfo.h"
#include "DataBase/WT/TradeNetDataCenter.h"

#include "base/Str.h"
#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tradetest;

namespace {

const uint8_t kNonce[16] = {7, 6, 5, 4, 3, 2, 1, 0, 7, 6, 5, 4, 3, 2, 1, 0};
const uint8_t kZero[16] = {};
constexpr const char *kMobile = "13800138000";
constexpr const char *kCode = "246810";

// Pairs written with "|" for the closing 0x01.
std::string msg(std::string text) {
    for (char &c : text)
        if (c == '|')
            c = '\x01';
    return text;
}

class RecordingParent : public base::Object, public TradeNetDataTarget {
public:
    void MakeRequestGroup(TradeRequestRecord record) override { records.push_back(std::move(record)); }
    void RefuseRequest(TradeRequestRecord record, const std::string &errMsg) override {
        refused.emplace_back(std::move(record), errMsg);
    }
    base::Ref<TradeConnectLoginInfo> IO_ConnectLoginInfo() const override { return info; }

    std::vector<TradeRequestRecord> records;
    std::vector<std::pair<TradeRequestRecord, std::string>> refused;
    base::Ref<TradeConnectLoginInfo> info = base::make<TradeConnectLoginInfo>();
};

// A message layer on a virtual clock whose requests land in a recording parent; it can pass the
// phone check and log in as a gateway would answer.
class TradeNetDataCenterTest : public ::testing::Test {
protected:
    TradeNetDataCenterTest() {
        base::Clock::setCurrent(&clock);
        center = TradeNetDataCenter::create();
        center->setParentTarget(parent);
    }
    ~TradeNetDataCenterTest() override {
        center->stopHeartbeat();
        base::Clock::setCurrent(nullptr);
    }

    int open(const base::Data &frame) {
        TradeFrameCut cut = cutTradeFrame(frame.bytes(), frame.length());
        return processRsp(cut);
    }
    int processRsp(const TradeFrameCut &cut) {
        return center->processRspData(cut.payload.bytes(), cut.payload.length(), cut.header);
    }

    void passPhoneCheck() {
        ASSERT_TRUE(center->requestD({}, "zira", kMobile, kCode));
        key = deriveKey(kNonce, kCode, kZero);
        ASSERT_EQ(open(replyFrame(kTradePackD, acceptReply(kNonce, key.data(), 100), 1, 77)), -100);
        ASSERT_TRUE(center->phoneCheckSucceeded());
        parent->records.clear();
    }
    void login(const std::string &tables) {
        center->RequestUserLogin({}, 1, "acct", "pw", "D0");
        ASSERT_EQ(open(replyFrame(kTradePackC, sealBlock(msg("21004=11101|" + tables), key.data(), 1), 2)),
                  11100);
        parent->records.clear();
    }
    void loginFully() {
        passPhoneCheck();
        login("21000=|21002=|1207=CK|21010=G1|1016=C1|1005=D1|21003=|"
              "21000=|21002=|1021=3|1019=A001|21003=|21002=|1021=2|1019=0002|21003=|21002=|1019=X9|21003=|"
              "21000=|21002=|1326=11147,2,1036=代码,1040=数量|21003=|");
    }

    // The message text of a request frame: a C block deciphered under the session key, or the F text.
    std::string textOf(const TradeRequestRecord &record) const {
        CommPackInfo header = CommPackInfo::read(record.data.bytes());
        base::Data payload =
            record.data.subdata(CommPackInfo::kSize, record.data.length() - CommPackInfo::kSize);
        if (header.packtype == kTradePackF)
            return payload.toString();
        const uint8_t *k = key.empty() ? kZero : key.data();
        dec_aes(payload.bytes(), payload.length(), k, 16, payload.mutableBytes());
        return payload.subdata(29, size_t(readInt32LE(payload.bytes() + 21))).toString();
    }

    base::VirtualClock clock;
    base::Ref<RecordingParent> parent = base::make<RecordingParent>();
    base::Ref<TradeNetDataCenter> center;
    std::vector<uint8_t> key;
};

const std::string kSession = "1205=15|21010=G1|1207=CK|1203=13800138000|9006=|1005=D1|1016=C1|1030=pw|";

TEST_F(TradeNetDataCenterTest, EveryBuilderWritesItsPairsInOrder) {
    using Build = std::function<void(TradeNetDataCenter &, const TradeRequester &)>;
    struct Case {
        const char *name;
        Build build;
        char packtype;
        std::string text;
        base::Dict params;
    } cases[] = {
        {"stock info", [](auto &c, auto &r) { c.RequestStockInfo(r, 1, "600000"); }, kTradePackC,
         "8=QVN1.0|21004=11102|" + kSession + "1003=1|1036=600000|"},
        {"money list", [](auto &c, auto &r) { c.RequestMoneyList(r); }, kTradePackC,
         "8=QVN1.0|21004=11104|" + kSession + "1028=9|"},
        {"change password", [](auto &c, auto &r) { c.RequestChangeTradePassword(r, "pw", "new"); },
         kTradePackC, "8=QVN1.0|21004=11106|" + kSession + "1032=new|"},
        {"affordable volume with an account",
         [](auto &c, auto &r) { c.RequestCanBuySellVol(r, 2, "S77", 0, "000001", "10.5", "1000.00", 1); },
         kTradePackC,
         "8=QVN1.0|21004=11110|" + kSession +
             "1021=2|1019=S77|1003=0|1036=000001|1041=10.5|1078=1000.00|1026=1|"},
        {"affordable volume looking up the account",
         [](auto &c, auto &r) { c.RequestCanBuySellVol(r, 2, "", 0, "000001", "10.5", "1000.00", 1); },
         kTradePackC,
         "8=QVN1.0|21004=11110|" + kSession +
             "1021=2|1019=0002|1003=0|1036=000001|1041=10.5|1078=1000.00|1026=1|"},
        {"cancel without a name",
         [](auto &c, auto &r) { c.RequestDisentrust(r, "600000", "", "1", "N42", "A001", "1"); }, kTradePackC,
         "8=QVN1.0|21004=11114|" + kSession + "1212=1|1036=600000|1037=|1026=1|1042=N42|1019=A001|1003=1|"},
        {"order with an empty shareholder code of type 3",
         [](auto &c, auto &r) { c.RequestBuySell(r, 3, "", 1, "600000", "9.99", "100", 2); }, kTradePackC,
         "8=QVN1.0|21004=11116|" + kSession +
             "1026=2|1021=3|1019=A001|1003=1|1036=600000|1041=9.99|1029=1|1040=100|"},
        {"order of a type without an account",
         [](auto &c, auto &r) { c.RequestBuySell(r, 5, "", 1, "900901", "0.5", "100", 1); }, kTradePackC,
         "8=QVN1.0|21004=11116|" + kSession +
             "1026=1|1021=5|1019=|1003=1|1036=900901|1041=0.5|1029=1|1040=100|"},
        {"transfer", [](auto &c, auto &r) { c.RequestTransfer(r, 1, "B1", "mp", "bp", "500", 0); },
         kTradePackC, "8=QVN1.0|21004=11122|" + kSession + "1193=1|1186=B1|1031=mp|1189=bp|1192=500|1028=0|"},
        {"transfer list",
         [](auto &c, auto &r) { c.RequestTransferList(r, "20240101", "20240131", 15, 15, "B1", "0"); },
         kTradePackC,
         "8=QVN1.0|21004=11124|" + kSession + "1186=B1|1022=20240101|1023=20240131|1206=15|1277=15|1028=0|",
         base::Dict{{"Start", 15}, {"Count", 15}}},
        {"bank balance", [](auto &c, auto &r) { c.RequestBankBalance(r, "B1", "mp", "bp", 2); }, kTradePackC,
         "8=QVN1.0|21004=11126|" + kSession + "1186=B1|1031=mp|1189=bp|1028=2|"},
        {"bank list", [](auto &c, auto &r) { c.RequestBankList(r); }, kTradePackC,
         "8=QVN1.0|21004=11130|" + kSession},
        {"cancelable orders", [](auto &c, auto &r) { c.RequestEntrustList(r, true, 0, 15); }, kTradePackC,
         "8=QVN1.0|21004=11132|" + kSession + "1206=0|1277=15|1036=|1026=2|",
         base::Dict{{"Start", 0}, {"Count", 15}}},
        {"today's orders", [](auto &c, auto &r) { c.RequestEntrustList(r, false, 30, 15); }, kTradePackC,
         "8=QVN1.0|21004=11134|" + kSession + "1206=30|1277=15|1036=|1026=2|",
         base::Dict{{"Start", 30}, {"Count", 15}}},
        {"past orders",
         [](auto &c, auto &r) { c.RequestHistoryEntrustList(r, "20240101", "20240105", 0, 15); }, kTradePackC,
         "8=QVN1.0|21004=11136|" + kSession + "1022=20240101|1023=20240105|1206=0|1277=15|",
         base::Dict{{"Start", 0}, {"Count", 15}}},
        {"today's deals", [](auto &c, auto &r) { c.RequestDealList(r, 0, 15); }, kTradePackC,
         "8=QVN1.0|21004=11140|" + kSession + "1206=0|1277=15|1217=0|1036=|1026=2|",
         base::Dict{{"Start", 0}, {"Count", 15}}},
        {"past deals", [](auto &c, auto &r) { c.RequestHistoryDealList(r, "20240101", "20240105", 15, 15); },
         kTradePackC,
         "8=QVN1.0|21004=11142|" + kSession +
             "1022=20240101|1023=20240105|1206=15|1277=15|1217=1|1036=|1026=2|",
         base::Dict{{"Start", 15}, {"Count", 15}}},
        {"holdings page", [](auto &c, auto &r) { c.RequestHoldList(r, 15, 15); }, kTradePackC,
         "8=QVN1.0|21004=11146|" + kSession + "1019=|1036=|1206=15|1277=15|",
         base::Dict{{"Start", 15}, {"Count", 15}}},
        {"holdings of a stock", [](auto &c, auto &r) { c.RequestHoldList(r, std::string("600000")); },
         kTradePackC, "8=QVN1.0|21004=11146|" + kSession + "1019=|1036=600000|1206=0|1277=10|",
         base::Dict{{"Start", 0}, {"Count", 10}}},
        {"account types", [](auto &c, auto &r) { c.RequestLoginMode(r); }, kTradePackC,
         "8=QVN1.0|21004=12010|1205=15|1208=0|"},
        {"branches", [](auto &c, auto &r) { c.RequestAccountDep(r, kMobile, "021", 4); }, kTradePackC,
         "8=QVN1.0|21004=12056|1206=0|1277=100|1203=13800138000|1295=021|", base::Dict{{"AreaIndex", 4}}},
        {"areas", [](auto &c, auto &r) { c.RequestAccountArea(r, kMobile); }, kTradePackC,
         "8=QVN1.0|21004=12058|1206=0|1277=100|1203=13800138000|"},
        {"account information", [](auto &c, auto &r) { c.RequestAccountInfo(r, kMobile, "1357", 2); },
         kTradePackC, "8=QVN1.0|21004=13008|1205=15|2002=13800138000|2007=1357|32003=2|"},
        {"check code by SMS", [](auto &c, auto &r) { c.RequestPhoneCheckNum(r, kMobile); }, kTradePackF,
         "8=QVN1.0|21004=13028|2002=13800138000|"},
        {"second check code", [](auto &c, auto &r) { c.RequestDeroVuvCheckNum(r, kMobile); }, kTradePackF,
         "8=QVN1.0|21004=13054|2002=13800138000|"},
        {"registration text", [](auto &c, auto &r) { c.RequestPhoneRegText(r); }, kTradePackF,
         "8=QVN1.0|21004=13056|"},
        {"registration numbers", [](auto &c, auto &r) { c.RequestDazerIveCheckNum(r); }, kTradePackF,
         "8=QVN1.0|21004=13064|1205=15|"},
        {"heartbeat", [](auto &c, auto &) { c.RequestHeartBeat(); }, kTradePackC, "8=CTRL1.0|21004=10|"},
    };
    loginFully();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        parent->records.clear();
        c.build(*center, std::string("Requester"));
        ASSERT_EQ(parent->records.size(), 1u);
        const TradeRequestRecord &record = parent->records[0];
        EXPECT_EQ(CommPackInfo::read(record.data.bytes()).packtype, c.packtype);
        EXPECT_EQ(textOf(record), msg(c.text));
        EXPECT_EQ(record.funcID, base::str::toInt(msg(c.text).substr(msg(c.text).find("21004=") + 6)));
        EXPECT_EQ(record.reqParams.value_or(base::Dict()), c.params);
        EXPECT_TRUE(parent->refused.empty());
    }
}

TEST_F(TradeNetDataCenterTest, LoginSetsTheSessionValuesBeforeItsPairs) {
    passPhoneCheck();
    center->RequestUserLogin(std::string("Login"), 2, "880001", "secret", "0101");
    ASSERT_EQ(parent->records.size(), 1u);
    EXPECT_EQ(
        textOf(parent->records[0]),
        msg("8=QVN1.0|21004=11100|1205=15|21010=|1207=|1203=13800138000|9006=|1005=0101|1016=880001|"
            "1030=secret|1021=2|1019=880001|1324=|1332=|1325=7,11105,11133,11135,11137,11141,11143,11147|"
            "1329=|1330=1|"));
}

TEST_F(TradeNetDataCenterTest, RefusedRequestsSendNothingAndTellTheRequester) {
    // Before the phone check: the zero-key login-support requests go, the session functions do not.
    center->RequestAccountArea(std::string("Area"), kMobile);
    ASSERT_EQ(parent->records.size(), 1u);
    EXPECT_EQ(textOf(parent->records[0]), msg("8=QVN1.0|21004=12058|1206=0|1277=100|1203=13800138000|"));
    center->RequestUserLogin(std::string("Login"), 1, "a", "pw", "");
    center->RequestDealList(std::string("Deals"), 0, 15);
    EXPECT_EQ(parent->records.size(), 1u);
    EXPECT_EQ(center->tradePwd(), "");
    ASSERT_EQ(parent->refused.size(), 2u);
    EXPECT_EQ(parent->refused[0].first.funcID, 11100);
    EXPECT_EQ(parent->refused[0].second, "密钥验证失败");
    EXPECT_EQ(parent->refused[1].first.funcID, 11140);
    EXPECT_EQ(parent->refused[1].first.reqParams, (base::Dict{{"Start", 0}, {"Count", 15}}));
    EXPECT_TRUE(parent->refused[1].first.data.empty());

    loginFully();
    parent->refused.clear();
    // A value that would end its pair early, and a wrong old password.
    center->RequestStockInfo(std::string("Stock"), 1,
                             "600000\x01"
                             "1030=x");
    center->RequestPhoneCheckNum(std::string("Reg"), std::string("138\0", 4));
    EXPECT_FALSE(center->RequestChangeTradePassword(std::string("Pwd"), "wrong", "new"));
    EXPECT_TRUE(parent->records.empty());
    ASSERT_EQ(parent->refused.size(), 2u);
    EXPECT_EQ(parent->refused[0].first.funcID, 11102);
    EXPECT_EQ(parent->refused[0].second, "输入内容包含无效字符！");
    EXPECT_EQ(parent->refused[1].first.funcID, 13028);
}

TEST_F(TradeNetDataCenterTest, LoginReplyLeavesAccountsTitlesAndIdentifiers) {
    loginFully();
    EXPECT_TRUE(center->isLoginSuccess());
    EXPECT_EQ(center->guid(), "G1");
    EXPECT_EQ(center->customerNum(), "C1");
    EXPECT_EQ(center->getStockHolderCode(3), "A001");
    EXPECT_EQ(center->getStockHolderCode(7), "");
    EXPECT_EQ(center->getExchangeStr("A001"), "SH");
    EXPECT_EQ(center->getExchangeStr("0002"), "SZ");
    EXPECT_EQ(center->getExchangeStr("X9"), "") << "a row without an account type";
    EXPECT_EQ(center->getExchangeStr(""), "");
    ASSERT_TRUE(center->IO_TableTitleGroup()->getTableTitle(11147));

    // The password change keeps the session's password, before and after its reply.
    center->RequestChangeTradePassword({}, "pw", "new");
    open(replyFrame(kTradePackC, sealBlock(msg("21004=11107|"), key.data(), 2), 3));
    EXPECT_EQ(center->tradePwd(), "pw");

    // The end of the connection takes everything, the mobile too.
    center->OnTradeConnectFail();
    EXPECT_FALSE(center->isLoginSuccess());
    EXPECT_EQ(center->phoneNum(), "");
    EXPECT_EQ(center->tradePwd(), "");
    EXPECT_TRUE(center->IO_AccountArray().empty());
    EXPECT_TRUE(center->IO_TableTitleGroup()->tableTitleArray().empty());
}

TEST_F(TradeNetDataCenterTest, LoginReplyWithoutTablesKeepsTheRequestValues) {
    passPhoneCheck();
    login("");
    EXPECT_TRUE(center->isLoginSuccess());
    EXPECT_EQ(center->customerNum(), "acct");
    EXPECT_EQ(center->guid(), "");
    EXPECT_EQ(center->getStockHolderCode(3), "");
    center->RequestMoneyList({});
    ASSERT_EQ(parent->records.size(), 1u);
    EXPECT_EQ(
        textOf(parent->records[0]),
        msg("8=QVN1.0|21004=11104|1205=15|21010=|1207=|1203=13800138000|9006=|1005=D0|1016=acct|1030=pw|"
            "1028=9|"));
}

TEST_F(TradeNetDataCenterTest, BankListReplyIsKept) {
    loginFully();
    open(replyFrame(kTradePackC,
                    sealBlock(msg("21004=11131|21000=|21002=|1186=B1|1303=1|21003=|"), key.data(), 2), 3));
    EXPECT_TRUE(center->IO_GetTransferBankArray());
    ASSERT_EQ(center->IO_TransferBankArray().size(), 1u);
    EXPECT_EQ(center->IO_TransferBankArray()[0]["1186"].stringValue(), "B1");
}

TEST_F(TradeNetDataCenterTest, HeartbeatEveryThirtySecondsOnlyWhileLoggedIn) {
    clock.advance(45);
    EXPECT_TRUE(parent->records.empty());
    loginFully();
    clock.advance(14);
    EXPECT_TRUE(parent->records.empty());
    clock.advance(31);
    ASSERT_EQ(parent->records.size(), 2u);
    EXPECT_EQ(textOf(parent->records[0]), msg("8=CTRL1.0|21004=10|"));
    EXPECT_EQ(parent->records[0].funcID, 10);
    center->OnTradeConnectFail();
    clock.advance(90);
    EXPECT_EQ(parent->records.size(), 2u);
}

} // namespace
