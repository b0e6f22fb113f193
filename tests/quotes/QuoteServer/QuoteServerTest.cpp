#include "peers/RawClient.h"

#include "DataBase/ComAPI.h"
#include "DataBase/ExternFiles/qvnbitstream.h"
#include "peers/NavigationServer.h"
#include "peers/QuoteServer.h"

#include <functional>
#include <gtest/gtest.h>
#include <zlib.h>

using peers::QuoteServer;

namespace {

// A reply frame read field by field from behind its header.
struct Reply {
    std::vector<uint8_t> bytes;
    uint32_t pos = 0;

    NTDataPageHead head() const { return *NTDataPageHead::read(bytes); }
    int num(int width) { return int(ComAPI::ReadNum(bytes, pos, width)); }
    int32_t i32() { return ComAPI::ReadInt(bytes, pos); }
    int64_t i64() { return ComAPI::ReadLongLong(bytes, pos); }
    std::string str() { return ComAPI::ReadString(bytes, pos); }
    bool atEnd() const { return pos == bytes.size(); }
};

class QuoteServerTest : public ::testing::Test {
protected:
    Reply ask(uint16_t type, const base::Data &body = {}, uint16_t attribute = 0, uint8_t seqID = 7) {
        client.send(seqID, type, body, attribute);
        std::optional<std::vector<uint8_t>> frame = client.frame();
        EXPECT_TRUE(frame) << "no reply to " << type;
        Reply reply{frame.value_or(std::vector<uint8_t>(NTDataPageHead::Size))};
        reply.pos = reply.head().headerLength();
        EXPECT_EQ(reply.head().type, type);
        EXPECT_EQ(reply.head().seqID, seqID);
        return reply;
    }

    static base::Data loginBody(const std::string &name, const std::string &password) {
        base::Data body;
        ComAPI::WriteInt(body, 0);
        ComAPI::WriteString(body, "");
        ComAPI::WriteString(body, name);
        ComAPI::WriteString(body, password);
        return body;
    }
    static base::Data codeTableBody(const char *prefix, uint32_t crc) {
        base::Data body(prefix, 2);
        ComAPI::WriteInt(body, int32_t(crc));
        return body;
    }
    static base::Data candleBody(const std::string &code, int period, int32_t position, int count) {
        base::Data body;
        ComAPI::WriteString(body, code);
        ComAPI::WriteByte(body, period);
        ComAPI::WriteInt(body, position);
        ComAPI::WriteShort(body, count);
        return body;
    }
    static base::Data newsBody(int32_t id) {
        base::Data body;
        ComAPI::WriteString(body, "test");
        ComAPI::WriteShort(body, 0);
        ComAPI::WriteInt(body, id);
        return body;
    }
    static base::Data syncBody(bool upload, const std::string &name, const std::string &password,
                               const std::vector<std::string> &codes = {}) {
        base::Data body;
        ComAPI::WriteByte(body, upload ? 1 : 0);
        ComAPI::WriteString(body, password);
        ComAPI::WriteString(body, name);
        if (upload) {
            ComAPI::WriteShort(body, int32_t(codes.size()));
            for (const std::string &code : codes)
                ComAPI::WriteString(body, code);
        }
        return body;
    }

    QuoteServer server;
    RawClient client{server.port()};
};

struct CodeRecord {
    std::string code, name, pinyin;
};

std::vector<CodeRecord> readCodeRecords(ByteView records, int count) {
    std::vector<CodeRecord> found;
    uint32_t pos = 0;
    for (int i = 0; i < count; ++i) {
        CodeRecord record;
        record.code = ComAPI::ReadString(records, pos);
        record.name = ComAPI::ReadString(records, pos);
        record.pinyin = ComAPI::ReadString(records, pos);
        found.push_back(record);
    }
    EXPECT_EQ(pos, records.size());
    return found;
}

} // namespace

TEST_F(QuoteServerTest, NavigationServerListsTheQuoteServer) {
    peers::NavigationServer navigation(peers::NavigationInfo::pointingAt(server.port()));
    RawClient navClient(navigation.port());
    base::Data body;
    ComAPI::WriteString(body, "6.00");
    ComAPI::WriteString(body, "2190000");
    ComAPI::WriteString(body, "ipad");
    ComAPI::WriteByte(body, 0);
    navClient.send(0, 1000, body);

    auto frame = navClient.frame();
    ASSERT_TRUE(frame);
    Reply reply{*frame, NTDataPageHead::Size};
    EXPECT_EQ(reply.head().seqID, 123);
    EXPECT_EQ(reply.head().type, 1000);
    EXPECT_EQ(reply.num(2), 1);
    EXPECT_EQ(reply.str(), "127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(reply.num(2), 0);
    reply.str();
    EXPECT_EQ(reply.str(), "1.0");
    reply.str();
    EXPECT_EQ(reply.num(1), 0);
    EXPECT_EQ(reply.num(1), 0);
    EXPECT_TRUE(reply.atEnd());
    ASSERT_EQ(navigation.received(1000).size(), 1u);
    EXPECT_EQ(navigation.received(1000)[0].bytes().size(), body.length());

    // Anything else is left unanswered.
    navClient.send(5, 2963);
    ASSERT_TRUE(navigation.waitForQuiet());
    EXPECT_EQ(navClient.readFor(0), "");
}

TEST_F(QuoteServerTest, QuoteServerAnswersNavigationWithItself) {
    Reply reply = ask(1000, {}, 0, 123);
    EXPECT_EQ(reply.num(2), 1);
    EXPECT_EQ(reply.str(), "127.0.0.1:" + std::to_string(server.port()));
}

TEST_F(QuoteServerTest, LoginResults) {
    server.addAccount("13800000000", "secret", 0x5);
    struct Case {
        std::optional<int> forced;
        const char *name;
        const char *password;
        int result;
    } cases[] = {
        {std::nullopt, "13800000000", "secret", 0},
        {std::nullopt, "13800000000", "wrong", 2},
        {std::nullopt, "13900000000", "secret", 1},
        {8, "13800000000", "secret", 8},
        {7, "nobody", "", 7},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.result);
        server.setLoginResult(c.forced);
        Reply reply = ask(2936, loginBody(c.name, c.password));
        EXPECT_EQ(reply.num(1), c.result);
        if (c.result == 0 || c.result == 7) {
            EXPECT_EQ(reply.i64(), server.lastSessionID());
            EXPECT_EQ(reply.i64(), c.result == 0 ? 0x5 : QuoteServer::AllRights);
            ASSERT_EQ(reply.num(2), 15);
            EXPECT_EQ(uint32_t(reply.i32()) & 0xFFFF, 0x298Cu); // starts 2012-03-05
        } else {
            EXPECT_EQ(reply.num(2), 0);
        }
        reply.pos = uint32_t(reply.bytes.size() - 2);
        EXPECT_EQ(reply.num(2), 0);
    }
    EXPECT_NE(server.lastSessionID(), 0);
}

TEST_F(QuoteServerTest, CodeTablesPlainCompressedAndUnchanged) {
    base::Data records = server.market().codeTable("SH");
    uint32_t crc = peers::MarketFixture::checksum(records);
    int count = int(server.market().market("SH").size());

    Reply plain = ask(2956, codeTableBody("SH", 0));
    EXPECT_EQ(plain.head().headerLength(), NTDataPageHead::LongSize);
    EXPECT_EQ(plain.head().attribute, 0);
    EXPECT_EQ(plain.num(4), int(records.length()));
    EXPECT_EQ(uint32_t(plain.i32()), crc);
    EXPECT_EQ(plain.num(2), count);
    std::vector<CodeRecord> shanghai = readCodeRecords(ByteView(plain.bytes).subspan(plain.pos), count);
    ASSERT_GE(shanghai.size(), 4u);
    EXPECT_EQ(shanghai[0].code, "000001");
    EXPECT_EQ(shanghai[0].name, "上证指数");
    EXPECT_EQ(shanghai[0].pinyin, "SZZS");

    Reply zipped = ask(2956, codeTableBody("SH", 0), QuoteServer::CompressedAttribute);
    EXPECT_EQ(zipped.head().attribute, QuoteServer::CompressedAttribute);
    uLongf size = uLongf(zipped.num(4));
    EXPECT_EQ(uint32_t(zipped.i32()), crc);
    EXPECT_EQ(zipped.num(2), count);
    ASSERT_EQ(zipped.head().bodyLength - 10, zipped.bytes.size() - zipped.pos);
    std::vector<uint8_t> inflated(size);
    ASSERT_EQ(uncompress(inflated.data(), &size, zipped.bytes.data() + zipped.pos,
                         uLong(zipped.bytes.size() - zipped.pos)),
              Z_OK);
    EXPECT_EQ(inflated, records.vector());

    server.setCompressCodeTables(false);
    EXPECT_EQ(ask(2956, codeTableBody("SH", 0), QuoteServer::CompressedAttribute).head().attribute, 0);

    Reply unchanged = ask(2956, codeTableBody("SH", crc), QuoteServer::CompressedAttribute);
    EXPECT_EQ(unchanged.head().attribute, 0);
    EXPECT_EQ(unchanged.num(4), 0);
    EXPECT_EQ(uint32_t(unchanged.i32()), crc);
    EXPECT_EQ(unchanged.num(2), 0);
    EXPECT_TRUE(unchanged.atEnd());

    // A market without securities still answers, plainly, with no records.
    Reply empty = ask(2956, codeTableBody("HK", 0), QuoteServer::CompressedAttribute);
    EXPECT_EQ(empty.head().attribute, 0);
    empty.pos += 8;
    EXPECT_EQ(empty.num(2), 0);
    EXPECT_TRUE(empty.atEnd());
}

TEST_F(QuoteServerTest, StandardMarketHoldsRealAndGeneratedCodes) {
    peers::MarketFixture market = peers::MarketFixture::standard(5);
    struct Case {
        const char *code;
        const char *name;
        int type;
    } cases[] = {{"SH600000", "浦发银行", 1}, {"SH600519", "贵州茅台", 1}, {"SZ000001", "平安银行", 1},
                 {"SH000001", "上证指数", 0}, {"SZ399001", "深证成指", 0}, {"SZ009005", "深模拟05", 1}};
    for (const Case &c : cases) {
        const peers::Security *security = market.find(c.code);
        ASSERT_TRUE(security) << c.code;
        EXPECT_EQ(security->name, c.name);
        EXPECT_EQ(security->type, c.type);
    }
    EXPECT_FALSE(market.find("SZ009006"));
    EXPECT_FALSE(market.find("600000"));
}

TEST_F(QuoteServerTest, DayCandlesEndOnTheQuotesDateAndSkipWeekends) {
    struct Case {
        const char *code;
        int period;
        int32_t position;
        int count;
        std::vector<int32_t> dates;
    } cases[] = {
        {"SH000001", 7, 0, 1, {20121207}},                     // the quotes-date request
        {"SH000001", 7, 0, 3, {20121205, 20121206, 20121207}}, // oldest first
        {"SZ000001", 7, 20121210, 2, {20121206, 20121207}},    // before a Monday
        {"SZ000001", 7, 20121209, 1, {20121207}},              // before a Sunday
        {"SH999999", 7, 0, 5, {}},
        {"SH600000", 7, 0, -4, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + std::to_string(c.position));
        Reply reply = ask(2944, candleBody(c.code, c.period, c.position, c.count));
        EXPECT_EQ(reply.head().attribute, 0);
        EXPECT_EQ(reply.num(1), 0);
        ASSERT_EQ(reply.num(2), int(c.dates.size()));
        for (int32_t date : c.dates) {
            EXPECT_EQ(reply.i32(), date);
            int32_t open = reply.i32(), high = reply.i32(), low = reply.i32(), close = reply.i32();
            EXPECT_GT(low, 0);
            EXPECT_LE(low, std::min(open, close));
            EXPECT_GE(high, std::max(open, close));
            EXPECT_GT(reply.i32(), 0);
            reply.i32();
        }
        EXPECT_TRUE(reply.atEnd());
    }

    server.setQuotesDate(20121210);
    Reply moved = ask(2944, candleBody("SH000001", 7, 0, 1));
    moved.pos += 3;
    EXPECT_EQ(moved.i32(), 20121210);
}

TEST_F(QuoteServerTest, ServerTimeFollowsTheQuotesDateUnlessSet) {
    Reply reply = ask(2963);
    EXPECT_EQ(reply.num(2), 2012);
    EXPECT_EQ(reply.num(1), 12);
    EXPECT_EQ(reply.num(1), 7);
    EXPECT_EQ(reply.num(1), 15);
    reply.pos += 2;
    EXPECT_TRUE(reply.atEnd());

    server.setServerTime(20130102, 93015);
    Reply set = ask(2963);
    std::vector<int> fields{set.num(2), set.num(1), set.num(1), set.num(1), set.num(1), set.num(1)};
    EXPECT_EQ(fields, (std::vector<int>{2013, 1, 2, 9, 30, 15}));
}

TEST_F(QuoteServerTest, BreakingNewsNewestAndOlderItems) {
    Reply none = ask(2600, newsBody(0));
    EXPECT_EQ(none.i32(), 0);
    EXPECT_EQ(none.str(), "");

    server.addNews("第一条");
    EXPECT_EQ(server.addNews("第二条"), 2);
    struct Case {
        int32_t asked;
        int32_t id;
        const char *text;
    } cases[] = {{0, 2, "第二条"}, {2, 1, "第一条"}, {1, 0, ""}, {9, 2, "第二条"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.asked);
        Reply reply = ask(2600, newsBody(c.asked));
        EXPECT_EQ(reply.i32(), c.id);
        EXPECT_EQ(reply.str(), c.text);
    }
}

TEST_F(QuoteServerTest, ProductClassTreeCountsItsEntries) {
    Reply reply = ask(2937);
    reply.num(2);
    reply.str();
    reply.num(2);
    EXPECT_EQ(reply.num(1), 1);
    int children = reply.num(2);
    EXPECT_GT(children, 0);
    // Walks the tree depth first: every announced child is there and nothing follows.
    std::function<void(int)> walk = [&](int count) {
        for (int i = 0; i < count; ++i) {
            EXPECT_FALSE(reply.str().empty());
            reply.num(2);
            bool hasChildren = reply.num(1) == 1;
            int value = reply.num(2);
            if (hasChildren)
                walk(value);
        }
    };
    walk(children);
    EXPECT_TRUE(reply.atEnd());
}

TEST_F(QuoteServerTest, WatchListUploadThenDownload) {
    server.addAccount("u1", "pw");
    EXPECT_EQ(ask(2912, syncBody(true, "u1", "pw", {"SH600000", "SZ000001"})).num(1), 0);
    EXPECT_EQ(server.watchList("u1"), (std::vector<std::string>{"SH600000", "SZ000001"}));

    Reply download = ask(2912, syncBody(false, "u1", "pw"));
    EXPECT_EQ(download.num(1), 0);
    EXPECT_EQ(download.num(2), 2);
    EXPECT_EQ(download.str(), "SH600000");
    EXPECT_EQ(download.str(), "SZ000001");
    EXPECT_TRUE(download.atEnd());

    struct Case {
        std::optional<int> forced;
        const char *name;
        const char *password;
        int result;
    } refusals[] = {{std::nullopt, "u1", "bad", 2}, {std::nullopt, "u2", "pw", 1}, {3, "u1", "pw", 3}};
    for (const Case &c : refusals) {
        server.setSyncResult(c.forced);
        Reply reply = ask(2912, syncBody(false, c.name, c.password));
        EXPECT_EQ(reply.num(1), c.result);
        EXPECT_TRUE(reply.atEnd());
    }
}

TEST_F(QuoteServerTest, QuoteListByCodesAndByClass) {
    base::Data byCodes;
    ComAPI::WriteShort(byCodes, 106);
    ComAPI::WriteShort(byCodes, 0x0001);
    ComAPI::WriteShort(byCodes, 3);
    for (const char *code : {"SH600519", "SH999999", "SZ000001"})
        ComAPI::WriteString(byCodes, code);
    Reply codes = ask(2955, byCodes);
    EXPECT_EQ(codes.num(2), 106);
    EXPECT_EQ(codes.num(2), 0x0001);
    EXPECT_EQ(codes.num(2), 2);
    ASSERT_EQ(codes.num(2), 2);
    for (const char *code : {"SH600519", "SZ000001"}) {
        EXPECT_EQ(codes.str(), code);
        EXPECT_FALSE(codes.str().empty());
        EXPECT_EQ(codes.num(1), 2);
        EXPECT_EQ(codes.num(1), 1);
        for (int i = 0; i < 6; ++i)
            EXPECT_GT(codes.i32(), 0);
        EXPECT_EQ(codes.num(2), 100);
        EXPECT_GT(codes.i32(), 0);
    }
    EXPECT_TRUE(codes.atEnd());

    base::Data boards;
    ComAPI::WriteShort(boards, 105); // class
    ComAPI::WriteShort(boards, 0);   // flags
    ComAPI::WriteByte(boards, 0);    // sort field: none, the fixture's order
    ComAPI::WriteByte(boards, 0);    // order
    ComAPI::WriteShort(boards, 1);   // start row
    ComAPI::WriteShort(boards, 2);   // rows
    Reply page = ask(2955, boards);
    EXPECT_EQ(page.num(2), 105);
    EXPECT_EQ(page.num(2), 0);
    EXPECT_EQ(page.num(2), 8); // every board
    ASSERT_EQ(page.num(2), 2);
    EXPECT_EQ(page.str(), "BI000102"); // from row 1
    EXPECT_EQ(page.str(), "证券板块");
    EXPECT_EQ(page.num(1), 2);
    EXPECT_EQ(page.num(1), 0);
    page.pos += 24;
    EXPECT_EQ(page.num(2), 111); // the board's member-list id
}

TEST_F(QuoteServerTest, BoardsAreRankedByTheRequestsSortAndTheHangSengIndexIsQuoted) {
    base::Data ranked;
    ComAPI::WriteShort(ranked, 105);
    ComAPI::WriteShort(ranked, 0);
    ComAPI::WriteByte(ranked, 1); // rise
    ComAPI::WriteByte(ranked, 0); // descending
    ComAPI::WriteShort(ranked, 0);
    ComAPI::WriteShort(ranked, 5);
    Reply page = ask(2955, ranked);
    page.pos += 4;
    EXPECT_EQ(page.num(2), 8);
    ASSERT_EQ(page.num(2), 5);
    double previous = 1e9;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(page.str().substr(0, 2), "BI");
        page.str();
        page.pos += 2;
        int32_t close = page.i32();
        page.i32();
        int32_t last = page.i32();
        page.pos += 12;
        page.num(2);
        double rise = double(last) / close;
        EXPECT_LE(rise, previous) << "row " << i;
        previous = rise;
    }

    base::Data codes;
    ComAPI::WriteShort(codes, 106);
    ComAPI::WriteShort(codes, 0);
    ComAPI::WriteShort(codes, 3);
    for (const char *code : {"SH000001", "SZ399001", "HKHSI"})
        ComAPI::WriteString(codes, code);
    Reply quotes = ask(2955, codes);
    quotes.pos += 4;
    EXPECT_EQ(quotes.num(2), 3);
    ASSERT_EQ(quotes.num(2), 3);
    for (const char *code : {"SH000001", "SZ399001", "HKHSI"}) {
        EXPECT_EQ(quotes.str(), code);
        quotes.str();
        quotes.pos += 2 + 24;
    }
}

TEST_F(QuoteServerTest, HeartbeatsGoUnansweredAndUnknownRequestsGetAnEmptyReply) {
    base::Data session;
    ComAPI::WriteLongLong(session, 42);
    client.send(3, 2925, session);
    Reply reply = ask(2207, {}, 0, 4);
    EXPECT_EQ(reply.head().bodyLength, 0u);
    EXPECT_EQ(server.receivedCount(2925), 1u);
}

namespace {

// The candle times of a plain candle reply.
std::vector<int32_t> candleTimes(Reply reply) {
    reply.num(1);
    int count = reply.num(2);
    std::vector<int32_t> times;
    for (int i = 0; i < count; ++i) {
        times.push_back(reply.i32());
        for (int field = 0; field < 6; ++field)
            reply.i32();
    }
    return times;
}

int32_t packed(int32_t date, int hhmm) {
    return (date / 10000) << 20 | (date / 100 % 100) << 16 | (date % 100) << 11 | (hhmm / 100) << 6 |
           hhmm % 100;
}

} // namespace

TEST_F(QuoteServerTest, CandlesOfEveryPeriodOverAFiniteHistory) {
    struct Case {
        const char *name;
        int period;
        int32_t position;
        int count;
        std::vector<int32_t> times;
    } cases[] = {
        {"weeks end on their last day", 8, 0, 3, {20121123, 20121130, 20121207}},
        {"weeks before a position", 8, 20121130, 1, {20121123}},
        {"the month so far", 9, 0, 2, {20121130, 20121207}},
        {"one-minute", 1, 0, 2, {packed(20121207, 1459), packed(20121207, 1500)}},
        {"sixty-minute", 5, 0, 1, {packed(20121207, 1500)}},
        {"five-minute before the first of the day", 2, packed(20121207, 934), 1, {packed(20121206, 1500)}},
        {"the history's first day ends a chain", 7, 20080103, 5, {20080102}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(candleTimes(ask(2944, candleBody("SH600000", c.period, c.position, c.count))), c.times);
    }
}

TEST_F(QuoteServerTest, CodedCandlesAndMinutesExpandToThePlainOnes) {
    for (int period : {1, 7, 8, 9}) {
        SCOPED_TRACE(period);
        Reply plain = ask(2944, candleBody("SZ000002", period, 0, 60));
        Reply coded = ask(2944, candleBody("SZ000002", period, 0, 60), QuoteServer::CodedAttribute);
        EXPECT_EQ(coded.head().attribute, QuoteServer::CodedAttribute);
        uint32_t size = 0;
        NewExpandKLineData(coded.bytes, {}, size);
        std::vector<uint8_t> out(size);
        NewExpandKLineData(coded.bytes, out, size);
        ASSERT_EQ(out.size(), plain.bytes.size());
        EXPECT_TRUE(std::equal(out.begin() + 7, out.end(), plain.bytes.begin() + 7));
    }

    base::Data body;
    ComAPI::WriteString(body, "SH600000");
    ComAPI::WriteShort(body, 100);
    Reply minutes = ask(2942, body);
    EXPECT_EQ(minutes.num(1), 0);
    minutes.num(2);
    EXPECT_EQ(minutes.num(2), 241);
    EXPECT_EQ(minutes.num(2), 142) << "the last minute held comes again";
    EXPECT_EQ(minutes.i32(), 1109);
    // Coded minutes carry no time: the reader steps them from the session's first minute, so a
    // coded reply, whatever the minutes held, is the whole day, minute for minute the plain one.
    Reply coded = ask(2942, body, QuoteServer::CodedAttribute);
    EXPECT_EQ(coded.head().attribute, QuoteServer::CodedAttribute);
    uint32_t size = 0;
    NewExpandMinData(coded.bytes, {}, size, nullptr);
    std::vector<uint8_t> out(size);
    EXPECT_EQ(NewExpandMinData(coded.bytes, out, size, nullptr), 241);
    ComAPI::WriteString(body = {}, "SH600000");
    ComAPI::WriteShort(body, 0);
    Reply day = ask(2942, body);
    ASSERT_EQ(out.size(), day.bytes.size());
    EXPECT_TRUE(std::equal(out.begin() + 7, out.end(), day.bytes.begin() + 7));
}

TEST_F(QuoteServerTest, ExrightEventsShowInTheDayCandles) {
    base::Data body;
    ComAPI::WriteString(body, "SH600000");
    Reply events = ask(2966, body);
    ASSERT_EQ(events.num(2), 2);
    EXPECT_EQ(events.i32(), 20110603);
    EXPECT_EQ(events.i32(), 10000);
    // Before the 10-for-10 bonus the price stood about twice as high.
    Reply days = ask(2944, candleBody("SH600000", 7, 20110607, 3));
    days.num(1);
    ASSERT_EQ(days.num(2), 3);
    std::vector<int32_t> closes;
    for (int i = 0; i < 3; ++i) {
        std::vector<int32_t> fields;
        for (int f = 0; f < 7; ++f)
            fields.push_back(days.i32());
        closes.push_back(fields[4]);
    }
    EXPECT_GT(closes[0], closes[1] * 17 / 10);
    EXPECT_GT(closes[1] * 12 / 10, closes[2]);
    ComAPI::WriteString(body = {}, "SH600016");
    EXPECT_TRUE(ask(2966, body).atEnd()) << "no events: an empty reply";
}

TEST_F(QuoteServerTest, DetailRepliesAndBoardMembers) {
    base::Data stock, fund;
    ComAPI::WriteString(stock, "SH600000");
    ComAPI::WriteString(fund, "OF000009");
    Reply base = ask(2939, stock);
    EXPECT_EQ(base.str(), "SH600000");
    EXPECT_EQ(base.str(), "浦发银行");
    EXPECT_EQ(base.num(1), 1);
    Reply fundBase = ask(2310, fund);
    fundBase.str();
    fundBase.str();
    EXPECT_EQ(fundBase.num(1), 5);
    EXPECT_TRUE(ask(2915, stock).atEnd()) << "no level-2 without an account";
    server.addAccount("l2", "pw", QuoteServer::Level2Right);
    ask(2936, loginBody("l2", "pw"));
    EXPECT_FALSE(ask(2915, stock).atEnd());

    base::Data list;
    ComAPI::WriteShort(list, QuoteServer::BoardID);
    ComAPI::WriteShort(list, 0);
    ComAPI::WriteByte(list, 9);
    ComAPI::WriteByte(list, 1);
    ComAPI::WriteShort(list, 0);
    ComAPI::WriteShort(list, 25);
    Reply members = ask(2955, list);
    EXPECT_EQ(members.num(2), QuoteServer::BoardID);
    members.num(2);
    EXPECT_EQ(members.num(2), 8);
    EXPECT_EQ(members.num(2), 8);
    EXPECT_EQ(members.str(), "SZ000001") << "the lowest code first";
}
