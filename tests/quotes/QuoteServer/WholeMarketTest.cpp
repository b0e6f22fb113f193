#include "peers/RawClient.h"

#include "DataBase/ComAPI.h"
#include "PYMethod.h"
#include "peers/MarketSeries.h"
#include "peers/QuoteRow.h"
#include "peers/QuoteServer.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>

using peers::MarketFixture;
using peers::QuoteServer;
using peers::Security;

namespace {

// A reply body read field by field.
struct Body {
    std::vector<uint8_t> bytes;
    uint32_t pos = 0;
    int num(int width) { return int(ComAPI::ReadNum(bytes, pos, width)); }
    int32_t i32() { return ComAPI::ReadInt(bytes, pos); }
    std::string str() { return ComAPI::ReadString(bytes, pos); }
};

// A list row's fixed part; the optional groups are skipped by asking for none.
struct ListRow {
    std::string code;
    int type = 0;
    int32_t close = 0, last = 0;
};

struct ListPage {
    int total = 0;
    std::vector<ListRow> rows;
};

class WholeMarketTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = new QuoteServer(0, MarketFixture::whole()); }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override { server->setMarketMinute(MarketFixture::CloseMinute); }

    Body ask(uint16_t type, const base::Data &body) {
        client.send(1, type, body);
        std::optional<std::vector<uint8_t>> frame = client.frame();
        EXPECT_TRUE(frame) << "no reply to " << type;
        Body reply{frame.value_or(std::vector<uint8_t>(NTDataPageHead::Size))};
        reply.pos = NTDataPageHead::read(reply.bytes)->headerLength();
        return reply;
    }
    // The whole class, page after page as the replies' size allows.
    ListPage whole(int classID, int sortField = 0, int order = 0) {
        ListPage all = page(classID, sortField, order, 0, 500);
        while (all.rows.size() < size_t(all.total)) {
            ListPage next = page(classID, sortField, order, int(all.rows.size()), 500);
            if (next.rows.empty())
                break;
            all.rows.insert(all.rows.end(), next.rows.begin(), next.rows.end());
        }
        return all;
    }
    ListPage page(int classID, int sortField, int order, int start, int count) {
        base::Data request;
        for (int field : {classID, 0})
            ComAPI::WriteShort(request, field);
        ComAPI::WriteByte(request, sortField);
        ComAPI::WriteByte(request, order);
        ComAPI::WriteShort(request, start);
        ComAPI::WriteShort(request, count);
        Body reply = ask(2955, request);
        ListPage out;
        EXPECT_EQ(reply.num(2), classID & 0xFFFF);
        reply.num(2);
        out.total = reply.num(2);
        int rows = reply.num(2);
        for (int i = 0; i < rows; ++i) {
            ListRow row;
            row.code = reply.str();
            reply.str();
            reply.num(1);
            row.type = reply.num(1);
            row.close = reply.i32();
            reply.i32();
            row.last = reply.i32();
            for (int k = 0; k < 3; ++k)
                reply.i32();
            if (classID == 105)
                reply.num(2);
            out.rows.push_back(row);
        }
        EXPECT_EQ(reply.pos, reply.bytes.size()) << "class " << classID;
        return out;
    }
    const Security &security(const std::string &code) {
        market = server->market();
        const Security *found = market.find(code);
        EXPECT_TRUE(found) << code;
        return found ? *found : market.securities().front();
    }

    static QuoteServer *server;
    RawClient client{server->port()};
    MarketFixture market = MarketFixture::standard(0);
};

QuoteServer *WholeMarketTest::server = nullptr;

TEST_F(WholeMarketTest, TheSameSeedMakesTheSameMarketOfFiveThousandSharesSearchableByInitials) {
    MarketFixture first = MarketFixture::whole(7), again = MarketFixture::whole(7),
                  other = MarketFixture::whole(8);
    for (const char *prefix : {"SH", "SZ"}) {
        EXPECT_EQ(first.codeTable(prefix).toString(), again.codeTable(prefix).toString()) << prefix;
        EXPECT_NE(first.codeTable(prefix).toString(), other.codeTable(prefix).toString()) << prefix;
    }
    std::map<std::string, int> initials;
    for (const Security &s : first.securities()) {
        EXPECT_EQ(first.quote(s).last, again.quote(s).last) << s.fullCode();
        if (s.type == MarketFixture::StockType && s.name.find("模拟") == std::string::npos &&
            (s.market == "SH" || s.market == "SZ"))
            ++initials[s.pinyin];
    }
    // The generated names read as the search reads them.
    for (const Security &s : first.market("SZ")) {
        if (s.code.starts_with("30")) {
            EXPECT_EQ(s.pinyin, PYMethod::getPinYin(s.name)) << s.name;
        }
    }
    EXPECT_GT(initials.size(), 1000u) << "initials tell most stocks apart";

    ListPage shares = whole(0);
    EXPECT_GE(shares.total, 4900);
    EXPECT_LE(shares.total, 5200);
    EXPECT_EQ(int(shares.rows.size()), shares.total);
}

TEST_F(WholeMarketTest, EachListClassListsItsOwnSecurities) {
    using Check = std::function<bool(const Security &)>;
    auto stockOf = [](const char *market, std::vector<std::string> heads) -> Check {
        return [=](const Security &s) {
            return s.type == MarketFixture::StockType && s.market == market &&
                   std::any_of(heads.begin(), heads.end(),
                               [&](const std::string &h) { return s.code.starts_with(h); });
        };
    };
    auto ofType = [](int type) -> Check { return [type](const Security &s) { return s.type == type; }; };
    std::vector<Security> boards = MarketFixture::boards();
    struct Case {
        int classID;
        Check member;
    };
    std::vector<Case> cases = {
        {11, stockOf("SH", {"6"})},
        {12, stockOf("SH", {"9"})},
        {21, stockOf("SZ", {"00"})},
        {22, stockOf("SZ", {"20"})},
        {25, stockOf("SZ", {"30"})},
        {13, ofType(MarketFixture::BondType)},
        {14, ofType(MarketFixture::FundType)},
        {104, ofType(MarketFixture::CurrencyType)},
        {0xfffd, ofType(MarketFixture::FutureType)},
        {105, [](const Security &s) { return s.market == "BI"; }},
    };
    for (size_t b = 0; b < boards.size(); ++b)
        cases.push_back({QuoteServer::BoardID + int(b) * 10, [b, n = boards.size()](const Security &s) {
                             return s.type == MarketFixture::StockType &&
                                    (s.market == "SH" || s.market == "SZ") &&
                                    peers::MarketSeries::inBoard(s, b, n);
                         }});
    std::map<std::string, int> listedIn;
    std::map<int, std::set<std::string>> classes;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.classID);
        ListPage listed = whole(c.classID);
        EXPECT_GT(listed.total, 0);
        EXPECT_EQ(int(listed.rows.size()), listed.total);
        for (const ListRow &row : listed.rows) {
            EXPECT_TRUE(c.member(security(row.code))) << row.code;
            ++listedIn[row.code];
            classes[c.classID].insert(row.code);
        }
    }
    EXPECT_EQ(listedIn["SH600036"], 3) << "a bank: Shanghai A, the bank board and a theme board";
    EXPECT_EQ(page(3001, 0, 0, 0, 10).total, 0) << "no such class";

    // Every board a stock's boards reply names lists the stock among its members, the theme board
    // as well as the industry board.
    for (const char *code : {"SH600036", "SH600000", "SZ000001", "SZ300001", "SZ002594", "SH601988"}) {
        SCOPED_TRACE(code);
        base::Data request;
        ComAPI::WriteString(request, code);
        Body reply = ask(2969, request);
        int rows = reply.num(2);
        EXPECT_EQ(rows, 2);
        for (int i = 0; i < rows; ++i) {
            std::string board = reply.str();
            reply.str();
            reply.num(1);
            reply.i32();
            reply.i32();
            int id = reply.num(2);
            EXPECT_TRUE(classes[id].count(code)) << board << " (" << id << ")";
        }
    }
}

TEST_F(WholeMarketTest, EverySortableFieldSortsBothWaysAndPagesAgree) {
    const int fields[] = {1,  2,  3,  4,  5,  6,  7,  8,  10,  11,  12,  13,  14,  15,  16,  17, 18,
                          19, 20, 21, 22, 23, 24, 25, 26, 246, 247, 248, 249, 250, 253, 254, 255};
    MarketFixture now = server->market();
    for (int field : fields) {
        for (int order : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "field " << field << " order " << order);
            ListPage all = page(25, field, order, 0, 200);
            std::vector<double> keys;
            for (const ListRow &row : all.rows)
                keys.push_back(*peers::QuoteRow::of(now, *now.find(row.code)).sortKey(field));
            EXPECT_TRUE(order == 1 ? std::is_sorted(keys.begin(), keys.end())
                                   : std::is_sorted(keys.rbegin(), keys.rend()));
            if (order == 0) {
                EXPECT_GT(std::set<double>(keys.begin(), keys.end()).size(), 1u) << "the field varies";
            }
            ListPage second = page(25, field, order, 50, 50);
            ASSERT_EQ(second.rows.size(), 50u);
            EXPECT_EQ(second.rows.front().code, all.rows[50].code);
            EXPECT_EQ(second.total, all.total);
        }
    }
}

TEST_F(WholeMarketTest, ADeepPageAskedFirstAgreesWithTheWholeRankingAfterAStep) {
    server->setMarketMinute(100);
    server->stepDay();
    ListPage deep = page(0, 1, 0, 4000, 50);
    ListPage all = whole(0, 1, 0);
    ASSERT_EQ(deep.rows.size(), 50u);
    ASSERT_GT(all.rows.size(), 4050u);
    for (size_t i = 0; i < deep.rows.size(); ++i)
        EXPECT_EQ(deep.rows[i].code, all.rows[4000 + i].code) << i;
    MarketFixture now = server->market();
    std::vector<double> rises;
    std::set<std::string> codes;
    for (const ListRow &row : all.rows) {
        const Security &s = *now.find(row.code);
        rises.push_back(*peers::QuoteRow::quoteKey(s, now.quote(s), 1));
        codes.insert(row.code);
    }
    EXPECT_TRUE(std::is_sorted(rises.rbegin(), rises.rend()));
    EXPECT_EQ(codes.size(), all.rows.size()) << "each share once";
}

TEST_F(WholeMarketTest, SteppingMovesPricesVolumesAndTheServerTimeTogether) {
    server->setMarketMinute(60);
    MarketFixture before = server->market();
    ListPage first = whole(11, 9, 1);
    server->stepDay(2);
    MarketFixture after = server->market();
    ListPage moved = whole(11, 9, 1);
    ASSERT_EQ(first.rows.size(), moved.rows.size());
    int changed = 0;
    for (size_t i = 0; i < first.rows.size(); ++i) {
        const Security &s = *after.find(moved.rows[i].code);
        changed += moved.rows[i].last != first.rows[i].last;
        EXPECT_GE(after.quote(s).volume, before.quote(s).volume) << s.fullCode();
        if (moved.rows[i].last > 0) {
            EXPECT_LE(moved.rows[i].last, s.closePrice + s.closePrice / 10) << "within limit-up";
            EXPECT_GE(moved.rows[i].last, s.closePrice - s.closePrice / 10) << "within limit-down";
        }
    }
    EXPECT_GT(changed, int(first.rows.size()) / 2);
    Body time = ask(2963, {});
    EXPECT_EQ(time.num(2), 2012);
    time.pos += 2;
    EXPECT_EQ(time.num(1), 10);
    EXPECT_EQ(time.num(1), 32) << "10:32, two minutes on from 10:30";

    server->setMarketMinute(MarketFixture::CloseMinute);
    int32_t closeDate = server->market().quotesDate();
    server->stepDay();
    EXPECT_GT(server->market().quotesDate(), closeDate) << "after the close the next day opens";
    EXPECT_EQ(server->market().minute(), 0);
    server->setQuotesDate(MarketFixture::DefaultQuotesDate);
}

TEST_F(WholeMarketTest, TheDayFollowsTheClockItIsGiven) {
    struct StepClock : base::Clock {
        double now() const override { return seconds; }
        double monotonic() const override { return seconds; }
        double seconds = 0;
    } clock;
    server->setMarketMinute(0);
    server->moveWith(&clock, 3.0);
    clock.seconds = 10;
    ask(2963, {});
    EXPECT_EQ(server->market().minute(), 3) << "three whole minutes of three seconds";
    clock.seconds = 11;
    ask(2963, {});
    EXPECT_EQ(server->market().minute(), 3);
    server->moveWith(nullptr, 0);
}

TEST_F(WholeMarketTest, EveryKindHasABookTicksAndMinutesConsistentWithItsQuote) {
    server->setMarketMinute(90);
    MarketFixture now = server->market();
    peers::MarketSeries series = server->series();
    std::vector<std::string> codes = {"SH600000", "SH900901", "SZ300001", "SZ200011", "SH010107",
                                      "SH510050", "HK00700",  "HKHSI",    "IXDJIA",   "SFIF1212",
                                      "FEUSDCNY", "BI000102", "SH000001"};
    for (const std::string &code : codes) {
        SCOPED_TRACE(code);
        const Security &s = *now.find(code);
        peers::Quote quote = now.quote(s);
        ASSERT_GT(quote.last, 0);
        peers::OrderBook book = peers::QuoteRow::book(now, s);
        EXPECT_LE(book.bidPrice[0], quote.last);
        EXPECT_GT(book.askPrice[0], quote.last);
        for (size_t i = 1; i < peers::OrderBook::Levels; ++i) {
            if (book.bidPrice[i] > 0) {
                EXPECT_LT(book.bidPrice[i], book.bidPrice[i - 1]);
            }
        }
        std::vector<peers::MinutePoint> minutes = now.minutes(s);
        ASSERT_EQ(minutes.size(), 91u);
        EXPECT_EQ(minutes.back().price, quote.last);
        EXPECT_EQ(minutes.back().totalVol, quote.volume);
        int64_t ticked = 0;
        for (const auto &tick : series.ticks(s))
            ticked += tick.volume;
        EXPECT_EQ(ticked, quote.volume);
    }

    base::Data request;
    ComAPI::WriteString(request, "SFIF1212");
    ComAPI::WriteInt(request, 0);
    ComAPI::WriteShort(request, 5);
    Body ticks = ask(2970, request);
    EXPECT_EQ(ticks.num(1), 1) << "a future's ticks carry the open interest";

    const Security *untraded = nullptr;
    for (const Security &s : now.securities())
        untraded = s.suspended ? &s : untraded;
    ASSERT_TRUE(untraded);
    EXPECT_EQ(now.quote(*untraded).last, 0);
    EXPECT_TRUE(now.minutes(*untraded).empty());
}

TEST_F(WholeMarketTest, LevelTwoQueuesAndSeriesNeedLevelTwoRights) {
    server->setMarketMinute(30);
    base::Data queue;
    ComAPI::WriteString(queue, "SH600000");
    ComAPI::WriteInt(queue, 0);
    EXPECT_EQ(ask(2917, queue).pos, ask(2917, queue).bytes.size()) << "no rights: empty";

    server->addAccount("l2", "pw", QuoteServer::Level2Right);
    base::Data login;
    ComAPI::WriteInt(login, 0);
    ComAPI::WriteString(login, "");
    ComAPI::WriteString(login, "l2");
    ComAPI::WriteString(login, "pw");
    ask(2936, login);
    MarketFixture now = server->market();
    peers::OrderBook book = peers::QuoteRow::book(now, *now.find("SH600000"));
    Body reply = ask(2917, queue);
    reply.i32();
    ASSERT_EQ(reply.num(1), 2);
    for (int side = 0; side < 2; ++side) {
        bool sell = reply.num(1) != 0;
        EXPECT_EQ(reply.i32(), sell ? book.askPrice[0] : book.bidPrice[0]);
        reply.i32();
        int orders = reply.num(2);
        int64_t shares = 0;
        for (int i = 0; i < orders; ++i)
            shares += reply.i32();
        EXPECT_EQ(shares, 100 * int64_t(sell ? book.askVolume[0] : book.bidVolume[0]));
    }
    for (uint16_t type : {2922, 2923, 2924}) {
        Body series = ask(type, queue);
        EXPECT_EQ(series.num(2), 31) << type << ": a row per minute so far";
    }
}

TEST_F(WholeMarketTest, ATruncatedOrOversizedRequestGetsAPageThatParsesAndTheServerGoesOn) {
    base::Data cut;
    ComAPI::WriteShort(cut, 11);
    Body reply = ask(2955, cut);
    reply.num(2);
    reply.num(2);
    EXPECT_EQ(reply.num(2), whole(11).total) << "the class as a whole";
    EXPECT_EQ(reply.num(2), 0) << "no rows asked for";
    ListPage asked = page(0, 0, 0, 0, 6000);
    EXPECT_LT(asked.rows.size(), size_t(asked.total)) << "a page no frame can hold is cut short, whole rows";
    EXPECT_GT(page(25, 0, 0, 0, 10).total, 0);

    // A futures page past its end: the total, no rows.
    base::Data products;
    ComAPI::WriteShort(products, QuoteServer::IndexFuturesClassID);
    ComAPI::WriteByte(products, 0);
    ComAPI::WriteByte(products, 0);
    ComAPI::WriteShort(products, 40);
    ComAPI::WriteShort(products, 10);
    Body futures = ask(2938, products);
    EXPECT_EQ(futures.num(2), int(server->market().market("SF").size()));
    EXPECT_EQ(futures.num(2), 0);
    EXPECT_EQ(futures.pos, futures.bytes.size());
    // A user-key request cut after its marker, or of another sub-type, gets no key.
    for (int subType : {-1, 120}) {
        base::Data keyRequest;
        ComAPI::WriteByte(keyRequest, 2);
        if (subType >= 0)
            ComAPI::WriteShort(keyRequest, subType);
        Body key = ask(2972, keyRequest);
        EXPECT_EQ(key.pos, key.bytes.size()) << subType;
    }
    EXPECT_GT(page(11, 0, 0, 0, 10).total, 0);
}

} // namespace
