// The whole loopback market read the way the application reads it: through the market-list, index,
// board, detail, candle and minute data sources on a logged-in coordinator, on the virtual clock.
// Every reply must parse and agree with the market the server made.
#include "CoordinatorFixture.h"

#include "DataBase/NetData/FundQuoteInf.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/StkMinLineItem.h"
#include "Module/StockDataBaseMgnt/BoardElementsData.h"
#include "Module/StockDataBaseMgnt/IndexQuotesData.h"
#include "Module/StockDataBaseMgnt/MyStockQuotesData.h"
#include "Module/StockDataBaseMgnt/StockDetailData.h"
#include "Module/StockDataBaseMgnt/StockQuotesData.h"
#include "peers/MarketSeries.h"
#include "peers/QuoteRow.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <unistd.h>

namespace {

using peers::MarketFixture;
using peers::Security;
using Member = std::function<bool(const Security &)>;

constexpr int RiseField = 1;
constexpr int Descending = 0;
// The minute the day stands at: late enough for every series, early enough that a day's ticks fit a
// few pages.
constexpr int Minute = 75;
constexpr int PagedTicksTag = 100;
constexpr int TickPage = 120;

Member stockOf(const char *market, std::vector<std::string> heads) {
    return [=](const Security &s) {
        return s.type == MarketFixture::StockType && s.market == market &&
               std::any_of(heads.begin(), heads.end(),
                           [&](const std::string &h) { return s.code.starts_with(h); });
    };
}

Member ofType(int type) {
    return [type](const Security &s) { return s.type == type; };
}

Member boardMember(size_t board) {
    return [board](const Security &s) {
        return s.type == MarketFixture::StockType && (s.market == "SH" || s.market == "SZ") &&
               peers::MarketSeries::inBoard(s, board, MarketFixture::boards().size());
    };
}

class Screen : public StockDetailDataDelegate, public IndexQuotesDataDelegate {
public:
    base::Opt<bool> isTrendLineViewVisible() override { return true; }
    base::Opt<bool> isKLineViewVisible() override { return true; }
    base::Opt<int> getKType() override { return KLineNetData::DayPeriod; }
    void UpdateTableDataSource(const base::Ref<StockQuoteList> &) override { ++indexUpdates; }
    void UpdateMinLine(const std::string &, const std::vector<base::Ref<base::Object>> &) override {}
    std::vector<std::string> getVisibleCodes() override { return visible; }

    std::vector<std::string> visible;
    int indexUpdates = 0;
};

class WholeMarketClientTest : public coordinator::CoordinatorTest {
protected:
    WholeMarketClientTest() : CoordinatorTest(MarketFixture::whole()) {
        base::FileManager::remove(documentsFile("data"));
        quotes.setMarketMinute(Minute);
        DataBase::setSharedDataBase(db);
    }
    ~WholeMarketClientTest() override { DataBase::setSharedDataBase(nullptr); }
    void SetUp() override {
        readyWithoutAccount();
        market = quotes.market();
    }

    const Security &security(const std::string &code) {
        const Security *found = market.find(code);
        if (!found) {
            ADD_FAILURE() << "not in the market: " << code;
            return market.securities().front();
        }
        return *found;
    }
    size_t count(const Member &member) const {
        return size_t(std::count_if(market.securities().begin(), market.securities().end(), member));
    }
    // A row as the market has it: the security is a member, its prices and amount are the market's,
    // and so is its volume when the row's field groups carry it.
    void checkRow(const StockQuoteInf &row, const Member &member, bool carriesVolume = true) {
        SCOPED_TRACE(row.code);
        const Security &s = security(row.code);
        EXPECT_TRUE(member(s));
        EXPECT_EQ(row.name, s.name);
        EXPECT_EQ(row.closeprice, s.closePrice);
        peers::Quote quote = market.quote(s);
        EXPECT_EQ(row.newprice, quote.last);
        EXPECT_EQ(row.amount, quote.amount);
        if (carriesVolume) {
            EXPECT_EQ(row.vol, quote.volume);
        }
        if (row.newprice > 0) {
            EXPECT_LE(row.lowprice, row.newprice);
            EXPECT_GE(row.highprice, row.newprice);
        }
    }
    // The rows' rises, as the server ranks them, run from the highest down.
    void checkRanked(const std::vector<base::Ref<StockQuoteInf>> &rows) {
        std::vector<double> rises;
        for (const auto &row : rows)
            if (const Security *s = market.find(row->code))
                rises.push_back(*peers::QuoteRow::quoteKey(*s, market.quote(*s), RiseField));
        EXPECT_TRUE(std::is_sorted(rises.rbegin(), rises.rend()));
    }

    // A detail centre showing `code`, its base info in, then asked as on first show.
    base::Ref<StockDetailData> open(const std::string &code) {
        auto centre = base::make<StockDetailData>();
        centre->setDelegate(screen);
        centre->StartRequest(code);
        centre->reqData(true);
        settle();
        centre->stockDetailLib()->setIO_isGetBasicInf(true);
        centre->reqData(true);
        settle();
        return centre;
    }
    // The day's ticks so far, paged from the first through the centre's tick item.
    int64_t tickedVolume(StockDetailData &centre) {
        base::Ref<RequestPosItem> ticks = centre.stockDetailLib()->getRequestPosItem(2970);
        if (!ticks)
            return -1;
        ticks->tag = PagedTicksTag;
        ticks->reqCount = TickPage;
        ticks->pos = 0;
        size_t held = 0;
        do {
            held = ticks->rspArray.size();
            centre.stockDetailLib()->reqStockData(2970);
            settle();
        } while (ticks->rspArray.size() > held);
        int64_t volume = 0;
        for (const auto &item : ticks->rspArray)
            volume += std::static_pointer_cast<StkStrikeDetailItem>(item)->dealVol;
        return volume;
    }

    MarketFixture market = MarketFixture::standard(0);
    std::shared_ptr<Screen> screen = std::make_shared<Screen>();
    base::Ref<coordinator::RecordingRequester> requester = base::make<coordinator::RecordingRequester>();
};

TEST_F(WholeMarketClientTest, EveryListClassPagesItsOwnSecuritiesRankedByRise) {
    struct Case {
        const char *name;
        int classID;
        Member member;
    };
    std::vector<Case> cases = {
        {"A-shares", 0,
         [](const Security &s) {
             return stockOf("SH", {"6"})(s) || stockOf("SZ", {"00", "30"})(s);
         }},
        {"Shanghai A", 11, stockOf("SH", {"6"})},
        {"Shanghai B", 12, stockOf("SH", {"9"})},
        {"Shenzhen A", 21, stockOf("SZ", {"00"})},
        {"Shenzhen B", 22, stockOf("SZ", {"20"})},
        {"growth board", 25, stockOf("SZ", {"30"})},
        {"bonds", 13, ofType(MarketFixture::BondType)},
        {"exchange funds", 14, ofType(MarketFixture::FundType)},
        {"currency pairs", 104, ofType(MarketFixture::CurrencyType)},
        {"futures", 0xfffd, ofType(MarketFixture::FutureType)},
        {"boards", 105, [](const Security &s) { return s.market == "BI"; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto list = base::make<StockQuotesData>();
        list->SetObserverName(std::string("WholeMarketList-") + c.name, 0, c.classID);
        list->SetSortID(RiseField);
        list->SetSortType(Descending);
        list->reqDataFirst();
        settle();
        list->gotoQuotesNextPage();
        settle();
        const MarketQuotePack &pack = *list->pack();
        ASSERT_GT(pack.totalCount, 0);
        EXPECT_EQ(size_t(pack.totalCount), count(c.member));
        const auto &rows = pack.rspArray()->items;
        EXPECT_EQ(rows.size(),
                  std::min<size_t>(size_t(pack.totalCount), 2 * MarketQuotePack::DefaultPageSize));
        for (const auto &row : rows)
            checkRow(*row, c.member);
        checkRanked(rows);
    }
}

TEST_F(WholeMarketClientTest, EveryBoardListsItsOwnMembers) {
    std::vector<Security> boards = MarketFixture::boards();
    for (size_t b = 0; b < boards.size(); ++b) {
        SCOPED_TRACE(boards[b].name);
        auto members = BoardElementsData::create("WholeMarketBoard");
        members->reqBoardStocksFirst(peers::QuoteServer::BoardID + int(b) * 10);
        settle();
        const MarketQuotePack &pack = *members->pack();
        ASSERT_GT(pack.totalCount, 0);
        EXPECT_EQ(size_t(pack.totalCount), count(boardMember(b)));
        while (pack.rowCount() < size_t(pack.totalCount)) {
            size_t held = pack.rowCount();
            members->gotoQuotesNextPage();
            settle();
            ASSERT_GT(pack.rowCount(), held);
        }
        for (const auto &row : pack.rspArray()->items)
            checkRow(*row, boardMember(b), false);
        checkRanked(pack.rspArray()->items);
    }
}

TEST_F(WholeMarketClientTest, FundAndFuturesClassesPageTheirOwnAndIndexesQuoteWhatIsShown) {
    for (int fundType : {1, 5}) {
        SCOPED_TRACE(fundType);
        auto list = base::make<StockQuotesData>();
        list->SetObserverName("WholeMarketFunds", 0, MarketQuotePack::OpenFundFirstClass + fundType);
        list->reqDataFirst();
        settle();
        const auto &funds = list->pack()->fundArray()->items;
        ASSERT_FALSE(funds.empty());
        EXPECT_GE(list->pack()->totalCount, int32_t(funds.size()));
        for (const auto &fund : funds)
            EXPECT_EQ(fundType == 5, bool(std::dynamic_pointer_cast<CurrencyFundQuoteInf>(fund)));
    }

    // The index futures' product page lists the market's futures as they trade.
    auto products = base::make<StockQuotesData>();
    products->SetObserverName("WholeMarketProducts", 0, peers::QuoteServer::IndexFuturesClassID);
    products->SetIsProdClass();
    products->reqDataFirst();
    settle();
    const auto &futures = products->pack()->rspArray()->items;
    ASSERT_EQ(futures.size(), count(ofType(MarketFixture::FutureType)));
    for (const auto &row : futures) {
        SCOPED_TRACE(row->code);
        const Security &s = security(row->code);
        EXPECT_EQ(s.market, "SF");
        peers::QuoteRow expected = peers::QuoteRow::of(market, s, false);
        EXPECT_EQ(row->newprice, expected.quote.last);
        EXPECT_EQ(row->vol, expected.quote.volume);
        auto future = std::dynamic_pointer_cast<StockBasicInf>(row);
        ASSERT_TRUE(future);
        EXPECT_EQ(future->settlement, expected.settlement);
        EXPECT_EQ(future->yposition, expected.yposition);
        EXPECT_GT(future->position, 0);
    }

    screen->visible = {"SH000001", "SZ399001", "HKHSI", "IXDJIA", "IXUDI", "BI000101"};
    auto indexes = base::make<IndexQuotesData>();
    indexes->SetObserverName("WholeMarketIndexes", 0);
    indexes->setDelegate(screen);
    indexes->reqDataFirst();
    settle();
    EXPECT_EQ(screen->indexUpdates, 1);
    const auto &rows = indexes->pack()->rspArray()->items;
    ASSERT_EQ(rows.size(), screen->visible.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i]->code, screen->visible[i]);
        checkRow(*rows[i], [](const Security &) { return true; });
        EXPECT_GT(rows[i]->newprice, 0) << rows[i]->code;
    }
}

TEST_F(WholeMarketClientTest, EveryKindOfSecurityHasABookMinutesTicksAndCandlesThatAgree) {
    const char *codes[] = {"SH600000", "SH600517", "SH900901", "SZ000002", "SZ300001", "SZ200011",
                           "SH010107", "SH510050", "HK00700",  "HKHSI",    "IXDJIA",   "IXUDI",
                           "SFIF1212", "FEUSDCNY", "BI000102", "SH000001", "SZ399001"};
    for (const char *code : codes) {
        SCOPED_TRACE(code);
        const Security &s = security(code);
        peers::Quote quote = market.quote(s);
        base::Ref<StockDetailData> centre = open(code);
        const StockBasicInf &inf = *centre->stockDetailLib()->IO_StockBasicInf();
        EXPECT_EQ(inf.code, code);
        EXPECT_EQ(inf.name, s.name);
        ASSERT_EQ(inf.newprice, quote.last);
        EXPECT_EQ(inf.vol, quote.volume);

        // The book brackets the last price, each side moving away from it level by level.
        EXPECT_LE(inf.buyPrice[0], inf.newprice);
        EXPECT_GT(inf.sellPrice[0], inf.newprice);
        for (size_t i = 1; i < 5; ++i) {
            if (inf.buyPrice[i] > 0) {
                EXPECT_LT(inf.buyPrice[i], inf.buyPrice[i - 1]);
            }
            if (inf.sellPrice[i] > 0) {
                EXPECT_GT(inf.sellPrice[i], inf.sellPrice[i - 1]);
            }
        }

        std::vector<base::Ref<base::Object>> *minutes = centre->minlineLib()->getMinLineRspArray(code);
        ASSERT_TRUE(minutes);
        ASSERT_EQ(minutes->size(), size_t(Minute + 1));
        auto last = std::static_pointer_cast<StkMinLineItem>(minutes->back());
        EXPECT_EQ(last->price, inf.newprice) << "minute bars end at the last price";
        EXPECT_EQ(last->totalVol, inf.vol);

        // A board shows its members instead of ticks.
        if (s.market != "BI") {
            EXPECT_EQ(tickedVolume(*centre), inf.vol) << "the ticks add up to the day's volume";
        }

        for (int ktype = 1; ktype <= 9; ++ktype) {
            SCOPED_TRACE(ktype);
            ASSERT_TRUE(centre->klineLib()->reqKLine(requester, code, ktype, false, 60, false));
            settle();
            StockFunc::ObjectList *candles = centre->klineLib()->getKLineRspArray(code, ktype);
            ASSERT_TRUE(candles);
            ASSERT_FALSE(candles->empty());
            int32_t time = 0;
            for (const auto &item : *candles) {
                auto candle = std::static_pointer_cast<KLineItem>(item);
                EXPECT_GT(candle->time, time);
                time = candle->time;
                EXPECT_LE(candle->lowprice, std::min(candle->openprice, candle->closeprice));
                EXPECT_GE(candle->highprice, std::max(candle->openprice, candle->closeprice));
            }
            EXPECT_EQ(std::static_pointer_cast<KLineItem>(candles->back())->closeprice, inf.newprice)
                << "the newest candle closes at the last price";
        }
    }
}

TEST_F(WholeMarketClientTest, TheWebPagesGetAUserKeyOnlyForTheAccountLoggedIn) {
    quotes.addAccount("l2", "pw", peers::QuoteServer::Level2Right);
    struct Case {
        const char *name, *password;
        bool keyed;
    };
    NetDataCenter &center = *db->IO_NetDataCenter();
    std::map<std::string, std::string> keys;
    for (const Case &c : {Case{"", "", true}, Case{"l2", "pw", true}, Case{"l2", "wrong", false},
                          Case{"nobody", "pw", false}, Case{"l2", "pw", true}}) {
        SCOPED_TRACE(c.name + std::string("/") + c.password);
        center.IO_L2UserName = c.name;
        center.IO_L2Password = c.password;
        requester->replies.clear();
        requester->types.clear();
        center.RequestWebPower(requester);
        settle();
        ASSERT_EQ(requester->count(2972), 1u);
        base::Value held = requester->replies[0]->get("rspDict");
        const base::Dict *reply = held.dict();
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->get("subType").intValue(), c.keyed ? 119 : 0);
        std::string key = reply->get("userKey").stringValue();
        EXPECT_EQ(key.empty(), !c.keyed);
        if (!c.keyed)
            continue;
        if (keys.count(c.name)) {
            EXPECT_EQ(keys[c.name], key) << "one account, one key";
        }
        keys[c.name] = key;
    }
    EXPECT_NE(keys[""], keys["l2"]);
}

// The resident size of this process, from the kernel's page counts.
size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * size_t(sysconf(_SC_PAGESIZE));
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
// What the application may keep resident with the whole market loaded.
constexpr size_t ResidentBudget = size_t(64) << 20;
constexpr int WatchListRows = MyStockQuotesData::MaxRows;

// The same, its first figure taken before the login loads the code tables.
class WholeMarketMemoryTest : public WholeMarketClientTest {
protected:
    void SetUp() override {
        before = residentBytes();
        WholeMarketClientTest::SetUp();
    }
    size_t before = 0;
};

// The process holds the server and its market besides the client, so a process within the budget
// is an application within it. Under AddressSanitizer every allocation carries guard zones and freed
// memory is held back, so there the figures are reported and the budget is not checked.
TEST_F(WholeMarketMemoryTest, EveryCodeTableAFiveThousandRowListAndTheWatchListStayWithinTheBudget) {
    auto list = base::make<StockQuotesData>();
    list->SetObserverName("WholeMarketMemory", 0, 0);
    list->SetSortID(RiseField);
    list->SetSortType(Descending);
    list->SetReqCount(500);
    list->reqDataFirst();
    settle();
    const MarketQuotePack &pack = *list->pack();
    ASSERT_GT(pack.totalCount, 4900);
    while (pack.rowCount() < size_t(pack.totalCount)) {
        size_t held = pack.rowCount();
        list->gotoQuotesNextPage();
        settle();
        ASSERT_GT(pack.rowCount(), held);
    }
    checkRanked(pack.rspArray()->items);

    base::Array entries;
    for (const auto &row : pack.rspArray()->items) {
        if (entries.size() == WatchListRows)
            break;
        entries.add(base::Dict{{"MarketCode", row->code}, {"StockName", row->name}});
    }
    auto rows = base::make<MyStockRowList>();
    auto watchList = MyStockQuotesData::create();
    watchList->setMyStockDataArray(rows);
    watchList->createMyStockDataArray(entries);
    watchList->reqAllQuotes(WatchListRows, requester);
    settle();
    EXPECT_EQ(requester->count(2955), size_t(WatchListRows / MyStockQuotesData::BatchSize));

    size_t after = residentBytes();
    double mb = double(after) / (1 << 20), grown = (double(after) - double(before)) / (1 << 20);
    RecordProperty("resident_mb", std::to_string(mb));
    RecordProperty("grown_mb", std::to_string(grown));
    std::printf("resident %.1f MB, %.1f MB of it since before the login%s\n", mb, grown,
                Sanitized ? " (AddressSanitizer: not held to the budget)" : "");
    if (!Sanitized) {
        EXPECT_LT(after, ResidentBudget);
    }
}

} // namespace
