#pragma once

#include "BrokerTable.h"
#include "FrameServer.h"
#include "MarketFixture.h"
#include "MarketSeries.h"
#include "NavigationServer.h"
#include "base/Clock.h"

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace peers {

struct QuoteRow;

// The loopback quote server. It answers the login and start-up messages of a quote connection from
// a synthetic market (`MarketFixture`: the small standard one, or the whole market of about 5,000
// A-shares and every other kind): navigation (1000, listing itself unless told otherwise), account
// login (2936), code tables (2956, zlib-compressed when the request allows it), product classes
// (2937), breaking news (2600), quote lists (2955: each market class its own securities, class 105
// the boards, a board's list id every stock whose boards (2969) name it, sorted on any sortable field, every
// field group filled from `QuoteRow`, pages cut to what a frame can hold), open-fund pages by fund type
// (2331), product pages (2938, the market's index futures among them), server time (2963), watch-list sync
// (2912), the web pages' user key (2972), stock pools (2950: 101–108, 201–206, 301–306), price alarms (3001:
// add, delete, list, modify and the history of fired alarms, per account) and the broker table (1003, brokers
// whose gateways are loopback trade gateways; an empty reply while none is set). Chart data: candles of every
// period (2944) over a finite history, the day's intraday minutes (2942), bit-coded whenever the request
// accepts it, and ex-rights events (2966). Detail data: base info (2939, funds 2310), the order book of ten
// levels (2940 the first five a side, 2915 levels six to ten, only after a login whose rights include
// level-2), and for level-2 sessions the order queues (2917), minute series (2922–2924) and day series
// (2918–2920, 2928, 2933). Series
// (QuoteServerExtras.cpp): an index's member counts (2206), rise/fall line (2965) and contributions (2929),
// ticks (2970, a future's with open interest), deals (2971), big orders of a stock (2976, its order-size
// rates on command hostile ones) and of a market (2977), the boards of a stock (2969) and the fund series
// (2311–2314), as `series()` makes them. The day moves when stepped or with a clock (`stepDay`, `moveWith`).
// Heartbeats (2925) get no reply; any other request gets an empty reply of its type. It pushes account errors
// (2907) and alarm frames (3001) on command; faults, pushes and the record of requests come from
// `FrameServer`.
class QuoteServer : public FrameServer {
public:
    enum MessageType : uint16_t {
        ServerAddressType = 1000,
        BrokerTableType = 1003,
        BreakingNewsType = 2600,
        AccountErrorType = 2907,
        WatchListSyncType = 2912,
        WebRightsType = 2972,
        HeartBeatType = 2925,
        AccountLoginType = 2936,
        ProductClassType = 2937,
        Level2PanType = 2915,
        FundBaseInfoType = 2310,
        BaseInfoType = 2939,
        DynamicInfoType = 2940,
        MinLineType = 2942,
        CandleType = 2944,
        ExrightType = 2966,
        QuoteListType = 2955,
        PoolListType = 2950,
        OpenFundListType = 2331,
        ProductListType = 2938,
        CodeTableType = 2956,
        ServerTimeType = 2963,
        AlarmType = 3001,
    };
    // The code-table attribute bit of a compressed body (and of a request that accepts one).
    static constexpr uint16_t CompressedAttribute = 4;
    static constexpr int64_t AllRights = 0x7FFF;
    // The rights bit that opens level-2 data.
    static constexpr int64_t Level2Right = 0x0001;
    // The client's mark of a request that accepts a bit-coded chart reply, and of such a reply.
    static constexpr uint16_t CodedAttribute = 2;
    // The bank board's member-list id and code; the other boards' ids follow ten apart.
    static constexpr int BoardID = 101;
    static constexpr const char *BoardCode = "BI000101";
    static constexpr int32_t DayPeriod = 7;
    // The product class whose page (2938) lists the market's index futures ("SF"), three levels deep
    // in the class tree; the quote list (2955) lists them under the same class.
    static constexpr int IndexFuturesClassID = 0xfffd;

    explicit QuoteServer(uint16_t port = 0, MarketFixture market = MarketFixture::standard());
    ~QuoteServer() override;

    // A login or sync under a name not added is refused with result 1, one with a wrong password
    // with result 2.
    void addAccount(const std::string &name, const std::string &password, int64_t rights = AllRights);
    // Forces the result byte of the login (2936) or sync (2912) replies; nothing: the account check.
    void setLoginResult(std::optional<int> result);
    void setSyncResult(std::optional<int> result);
    std::vector<std::string> watchList(const std::string &name) const;
    void setWatchList(const std::string &name, std::vector<std::string> codes);
    // The session id of the last accepted login; 0 before any.
    int64_t lastSessionID() const;

    // The brokers of the broker table.
    void setBrokers(std::vector<GatewayBroker> brokers);
    // What this server answers to message 1000 itself.
    void setNavigation(NavigationInfo info);
    // When off, code tables go out plain even to requests that accept compressed ones.
    void setCompressCodeTables(bool compress);
    // The date of the newest day candle; the server date follows it unless set apart.
    void setQuotesDate(int32_t date);
    // Moves the day on by `minutes` trading minutes (from the close to the next day's open): prices,
    // volumes, ticks, minutes, books, rankings and board figures move together. The server time
    // follows the market's minute unless set apart.
    void stepDay(int minutes = 1);
    // Puts the day at a trading minute (0 the open, MarketFixture::CloseMinute the close).
    void setMarketMinute(int minute);
    // From now on the day moves one trading minute per `secondsPerMinute` of `clock`: before each
    // reply the market catches up with the time passed. A test hands its virtual clock; the
    // stand-alone server the real one. Nothing stops it.
    void moveWith(const base::Clock *clock, double secondsPerMinute);
    void setServerTime(int32_t date, int32_t hhmmss);
    // What the web pages' user key request (2972) gets: the key of the account asked for (a key
    // holding "&" and a blank, as real keys may), a reply of another sub-type, or an empty reply.
    enum class UserKeyReply { Key, OtherSubType, Empty };
    void setUserKeyReply(UserKeyReply reply);
    // Lists by code (class 106) leave this code out, as a server without its quote does; empty:
    // none.
    void withholdCode(std::string code);
    // While on, every list by class (2955) answers no rows and a total of 0, as on a day the
    // server has no rankings; lists by code still answer.
    void setEmptyLists(bool empty);
    // From now on every stock's big-order reply (2976) carries these order-size rates in place of
    // its day's own: buy medium, large and extra-large, then sell the same, each in 1/10,000 of the
    // day's volume, as a hostile server may send them (past 10,000, summing past it, below 0).
    // Nothing: the day's own again.
    using OrderSizeRates = std::array<int16_t, 6>;
    void setOrderSizeRates(std::optional<OrderSizeRates> rates);
    // Adds the newest breaking-news item and answers its id (1 for the first).
    int32_t addNews(std::string text);
    // Leaves the next `count` ids without an item, as a server that withdrew some does: a request
    // for the item before an id gets the nearest one below the gap.
    void skipNewsIds(int count);
    MarketFixture market() const;
    // The series the server answers with; it resolves codes through this server while it lives.
    MarketSeries series() const;

    // A price alarm as the server keeps it under an account; a threshold of -1 is not set.
    struct Alarm {
        int32_t id = 0;
        std::string code;
        std::string name;
        float high = -1, low = -1, rise = -1, fall = -1, exchange = -1;
        int riseValid = 0, fallValid = 0, exchangeValid = 0, newsValid = 0;
        int decimal = 2;
    };
    std::vector<Alarm> alarms(const std::string &name) const;
    // The next alarm reply of that sub-type carries `result` (1 with `message`) whatever it asks.
    void failNextAlarm(int subType, int result, std::string message = "");

    void pushAccountError(int reason);
    void pushAlarm(uint16_t subType, uint32_t serverValue, const base::Data &payload = {}, uint8_t seqID = 0);
    // The same frames, for faults that write them together with a reply.
    static Frame accountErrorFrame(int reason, uint8_t seqID = 0);
    static Frame alarmFrame(uint8_t seqID, uint16_t subType, uint32_t serverValue,
                            const base::Data &payload = {});

private:
    struct FiredAlarm {
        std::string code;
        std::string name;
        std::string description;
    };
    struct Account {
        std::string password;
        int64_t rights = AllRights;
        std::vector<std::string> watchList;
        std::vector<Alarm> alarms;
        int32_t lastAlarmID = 0;
        std::vector<FiredAlarm> history;
    };

    std::optional<Frame> answer(const ReceivedFrame &request);
    void stepLocked(int minutes);
    void catchUpWithClock();
    int accountCheck(const std::string &name, const std::string &password) const;
    base::Data login(ByteView request);
    Frame codeTable(const ReceivedFrame &request) const;
    base::Data breakingNews(ByteView request) const;
    // Chart replies (QuoteServerCharts.cpp).
    Frame candleReply(const ReceivedFrame &request) const;
    Frame minLineReply(const ReceivedFrame &request) const;
    base::Data exrightReply(ByteView request) const;
    // A security of the market or one of the few outside its code tables (QuoteServerDetail.cpp).
    const Security *findAnywhere(std::string_view code) const;
    // Per-security replies (QuoteServerDetail.cpp); nothing for other types.
    std::optional<base::Data> detailReply(const ReceivedFrame &request) const;
    // Series replies (QuoteServerExtras.cpp); nothing for other types.
    MarketSeries makeSeries() const;
    std::optional<base::Data> seriesReply(const ReceivedFrame &request) const;
    // Level-2 queues, minute and day series (QuoteServerLevel2.cpp); nothing for other types.
    std::optional<base::Data> level2Reply(const ReceivedFrame &request) const;
    base::Data quoteList(ByteView request) const;
    base::Data serverTime() const;
    base::Data syncWatchList(ByteView request);
    // The user key (QuoteServerHome.cpp).
    base::Data webRights(ByteView request) const;
    // The boards that class 105 lists, the member-list id of a board, and the securities the
    // shell asks for outside the code tables (QuoteServerBoards.cpp).
    static std::vector<Security> boards();
    static int boardListID(const Security &board);
    static const Security *shellSecurity(std::string_view code);
    // The boards' made-up fund flows, and the net flows lists sort by (fields 17, 18, 19: the day,
    // five and thirty days), for boards and other securities alike (QuoteServerFundFlow.cpp).
    static void fillBoardFundFlow(QuoteRow &row);
    static std::optional<double> fundFlowSortKey(const MarketFixture &market, const Security &security,
                                                 int field);
    // A class's members as ranked by one field and order: the first `sorted` in order, the rest in
    // no particular order.
    struct Ranked {
        double key = 0;
        const Security *security = nullptr;
    };
    struct Ranking {
        std::vector<Ranked> rows;
        size_t sorted = 0;
    };
    // The securities of a list class, and their ranking in order at least up to `upTo`
    // (QuoteServerLists.cpp).
    const std::vector<const Security *> &classMembers(int classID) const;
    const Ranking &ranking(int classID, int sortField, int order, size_t upTo) const;
    // Open-fund pages by fund type (2331) and product pages by class (2938).
    base::Data openFundList(ByteView request) const;
    base::Data productList(ByteView request) const;
    // Stock pools and alarms (QuoteServerAlarms.cpp).
    base::Data poolList(ByteView request) const;
    Frame alarmReply(const ReceivedFrame &request);
    base::Data alarmBody(int subType, Account &account, ByteView request, uint32_t pos);
    void fireAlarm(Account &account, const Alarm &alarm, const Security &security) const;

    mutable std::mutex stateMutex_;
    MarketFixture market_;
    NavigationInfo navigation_;
    std::map<std::string, Account> accounts_;
    std::optional<int> loginResult_;
    std::optional<int> syncResult_;
    int64_t lastSessionID_ = 0;
    int64_t sessionRights_ = 0;
    bool compressCodeTables_ = true;
    std::optional<int32_t> serverDate_;
    int32_t serverTime_ = 150000;
    // Breaking news by id, and the id of the newest (or of the last one skipped).
    std::map<int32_t, std::string> news_;
    int32_t lastNewsID_ = 0;
    std::vector<GatewayBroker> brokers_;
    std::map<int, std::pair<int, std::string>> alarmFailures_;
    UserKeyReply userKeyReply_ = UserKeyReply::Key;
    std::string withheldCode_;
    std::optional<OrderSizeRates> orderSizeRates_;
    uint32_t alarmServerValue_ = 0;
    // Class members by class, and rankings by (class, sort field, ascending), dropped whenever the
    // market moves.
    mutable std::map<int, std::vector<const Security *>> members_;
    mutable std::map<std::tuple<int, int, bool>, Ranking> rankings_;
    std::atomic<bool> emptyLists_ = false;
    const base::Clock *dayClock_ = nullptr;
    double secondsPerMinute_ = 0;
    double movedUntil_ = 0;
};

} // namespace peers
