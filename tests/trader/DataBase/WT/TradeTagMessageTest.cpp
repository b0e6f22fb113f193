#include "TradeTestFrames.h"

#include "DataBase/WT/TradeReqData.h"

#include <gtest/gtest.h>

using namespace tradetest;

namespace {

TEST(TradeReqData, WritesVersionFunctionAndPairsInOrder) {
    TradeReqData req(11104);
    req.addIntValue(1028, 9);
    EXPECT_EQ(req.getReqStr(), "8=QVN1.0\x01"
                               "21004=11104\x01"
                               "1028=9\x01");

    TradeReqData heartbeat(10);
    EXPECT_EQ(heartbeat.getReqStr(), "8=CTRL1.0\x01"
                                     "21004=10\x01");

    TradeReqData text(11100);
    EXPECT_TRUE(text.addStrValue(1016, "A=B 中文"));
    text.addIntValue(1021, -3);
    EXPECT_FALSE(text.refused());
    EXPECT_EQ(text.getReqStr(), "8=QVN1.0\x01"
                                "21004=11100\x01"
                                "1016=A=B 中文\x01"
                                "1021=-3\x01");
}

TEST(TradeReqData, RefusesValuesThatWouldForgePairs) {
    for (std::string value : {std::string("x\x01"
                                          "1016=999"),
                              std::string("x\0y", 3)}) {
        TradeReqData req(11100);
        EXPECT_FALSE(req.addStrValue(1016, value));
        EXPECT_TRUE(req.refused());
        EXPECT_EQ(req.getReqStr(), "8=QVN1.0\x01"
                                   "21004=11100\x01");
    }
}

struct ParseCase {
    const char *name;
    std::string text;
    base::Dict expected;
};

base::Dict parse(const std::string &text) {
    RecordingCodec codec;
    codec.IO_RspData()->clear();
    codec.parseC(reinterpret_cast<const uint8_t *>(text.data()), text.size());
    return codec.IO_RspData()->dict();
}

TEST(TradeTagParser, FilesPairsByTheirRules) {
    base::Array oneRow{base::Dict{{"1078", "100.00"}}};
    ParseCase cases[] = {
        {"a table with one row",
         "21004=11105\x01"
         "21000=0\x01"
         "21002=\x01"
         "1078=100.00\x01"
         "21003=\x01",
         {{"FuncID", "11105"}, {"TableCount", 1}, {"Table0", oneRow}}},
        {"header tags stay at the top even inside a row",
         "21000=\x01"
         "21002=\x01"
         "8=QVN1.0\x01"
         "1289=42\x01"
         "21008=-1\x01"
         "21009=no\x01"
         "1036=600000\x01"
         "21003=\x01",
         {{"Ver", "QVN1.0"},
          {"TotalNum", "42"},
          {"ErrCode", "-1"},
          {"ErrMsg", "no"},
          {"TableCount", 1},
          {"Table0", base::Array{base::Dict{{"1036", "600000"}}}}}},
        {"an equals sign inside a value is kept", "1037=A=B\x01", {{"1037", "A=B"}}},
        {"a last pair without its closing byte keeps its whole value", "21009=abc", {{"ErrMsg", "abc"}}},
        {"a last pair ending at its equals sign is empty", "1037=", {{"1037", ""}}},
        {"items without an equals sign and ignored tags file nothing",
         "junk\x01"
         "21001=x\x01"
         "1=2\x01"
         "tail",
         {{"1", "2"}}},
        {"a tag that is not a number is tag 0", "abc=1\x01", {{"0", "1"}}},
        {"a value that is not UTF-8 is dropped",
         "1037=\xff\xfe\x01"
         "1036=ok\x01",
         {{"1036", "ok"}}},
        {"a later pair replaces an earlier one",
         "1036=a\x01"
         "1036=b\x01",
         {{"1036", "b"}}},
        {"a row ending outside any table is lost",
         "21002=\x01"
         "1=x\x01"
         "21003=\x01"
         "2=y\x01",
         {{"2", "y"}}},
        {"rows go to the table opened last",
         "21000=\x01"
         "21002=\x01"
         "1=a\x01"
         "21003=\x01"
         "21000=\x01"
         "21002=\x01"
         "1=b\x01"
         "21003=\x01"
         "21002=\x01"
         "1=c\x01"
         "21003=\x01",
         {{"TableCount", 2},
          {"Table0", base::Array{base::Dict{{"1", "a"}}}},
          {"Table1", base::Array{base::Dict{{"1", "b"}}, base::Dict{{"1", "c"}}}}}},
        {"a new row does not keep the fields of the last one",
         "21000=\x01"
         "21002=\x01"
         "1=a\x01"
         "2=b\x01"
         "21003=\x01"
         "21002=\x01"
         "1=c\x01"
         "21003=\x01",
         {{"TableCount", 1},
          {"Table0", base::Array{base::Dict{{"1", "a"}, {"2", "b"}}, base::Dict{{"1", "c"}}}}}},
        {"empty text", "", {}},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.name);
        base::Dict got = parse(c.text);
        EXPECT_EQ(got, c.expected) << base::Value(got).description();
    }
}

TEST(TradeTagParser, ReplyTypeIsTheRequestsFunctionAndOddMeansSuccess) {
    struct Case {
        std::string text;
        int type;
        bool success;
        std::vector<int> bookkept;
    } cases[] = {
        {"21004=11105\x01", 11104, true, {11105}},
        {"21004=11104\x01"
         "21009=bad\x01",
         11104,
         false,
         {}},
        {"1=2\x01", 0, false, {}},
        {"21004=x\x01", 0, false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        RecordingCodec codec;
        base::Data frame = replyFrame(kTradePackF, base::Data::fromString(c.text), 3);
        EXPECT_EQ(codec.open(frame), c.type);
        EXPECT_EQ(codec.IO_RspData()->successRsp(), c.success);
        EXPECT_EQ(codec.succeeded, c.bookkept);
    }
}

} // namespace
