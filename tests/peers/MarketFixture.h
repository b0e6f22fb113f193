#pragma once

#include "base/Data.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace peers {

struct Security {
    std::string market; // "SH", "SZ"
    std::string code;   // exchange code without the market prefix
    std::string name;
    std::string pinyin; // initials the search keypad matches
    int type = 1;       // 0 index, 1 stock, 2 exchange fund, 3 bond, 4 currency pair, 7 future
    int decimal = 2;
    int32_t closePrice = 0; // previous close, scaled by 10^decimal
    bool suspended = false; // not traded today: no quote, no minutes

    std::string fullCode() const { return market + code; }
};

// The day's quote of a security, prices scaled like its previous close.
struct Quote {
    int32_t open = 0;
    int32_t last = 0;
    int32_t high = 0;
    int32_t low = 0;
    int32_t volume = 0; // 手
    int32_t amount = 0; // 万
};

struct Candle {
    int32_t time = 0; // yyyymmdd
    int32_t open = 0;
    int32_t high = 0;
    int32_t low = 0;
    int32_t close = 0;
    int32_t volume = 0;
    int32_t amount = 0;
};

// One ex-rights event; quantities and money per share × 10,000.
struct ExrightEvent {
    int32_t date = 0;
    int32_t give = 0;
    int32_t pei = 0;
    int32_t peiPrice = 0;
    int32_t profit = 0;
};

// One minute of the day's intraday chart.
struct MinutePoint {
    int32_t time = 0; // HHMM
    int32_t price = 0;
    int32_t totalVol = 0;
    int32_t ave = 0;
};

// The prices of a day's trading minutes: from the open to the close through a knot every 20
// minutes, wandering within the day's range and touching its high and its low.
class DayPath {
public:
    explicit DayPath(const Candle &day);
    int32_t price(int slot) const;

private:
    static constexpr size_t Segments = 12;
    static constexpr int SegmentMinutes = 20;
    std::array<int32_t, Segments + 1> knots_{};
};

// The market the loopback quote server serves: real Shanghai and Shenzhen securities with their
// names, plus generated ones, and quotes and day candles made up from the code and the day, the
// same on every run. The day moves minute by minute along each security's intraday path: quotes,
// minutes, minute candles and today's candle are those of the current minute (the close unless set
// or stepped). Copies share the securities, so a copy is cheap.
class MarketFixture {
public:
    enum Kind : int {
        IndexType = 0,
        StockType = 1,
        FundType = 2,
        BondType = 3,
        CurrencyType = 4,
        FutureType = 7
    };
    // Trading minutes of a day: 09:30–11:30 and 13:01–15:00.
    static constexpr int MinutesPerDay = 241;
    static constexpr int CloseMinute = MinutesPerDay - 1;

    // Market prefixes in the order of the code-table market ids (id = position + 1).
    static constexpr std::array<std::string_view, 11> Markets = {"SH", "SZ", "HK", "IX", "OF", "BI",
                                                                 "SF", "SC", "ZC", "DC", "SG"};
    static constexpr int32_t DefaultQuotesDate = 20121207;
    // The first day with candles: history is finite, so that paging back ends.
    static constexpr int32_t DefaultHistoryStart = 20080102;
    // Minute candles are kept for this many trading days up to the quotes date.
    static constexpr int MinuteHistoryDays = 5;

    // The real securities and `generated` made-up stocks in each of Shanghai and Shenzhen.
    static MarketFixture standard(int generated = 20);
    // The whole market: about 5,000 A-shares of Shanghai, Shenzhen and the growth board with made-up
    // names (their pinyin initials as the search matches them), B-shares, bonds, exchange funds,
    // boards, Hong Kong, world indexes, index futures and currency pairs. The same seed gives the
    // same market.
    static MarketFixture whole(uint32_t seed = 1);
    // The board indexes ("BI"), the bank board first; the whole market lists them in its code tables.
    static std::vector<Security> boards();
    // The open-end funds of the fund pages ("OF"), FundsPerType of each fund type from 0 to
    // MoneyFundType (1 stock, 2 bond, 3 mixed, 5 money-market funds), made up from the type and the
    // row, the same on every run; the first stock fund is "110022" and the first money-market fund
    // "000009". A fund's kind is its fund type, as the fund detail reads it. They stand outside the
    // listing: no class lists them, only the fund pages do; a market that holds them (the whole
    // market does) has them in its "OF" code table.
    static constexpr int FundsPerType = 45;
    static constexpr int MoneyFundType = 5;
    static const std::vector<Security> &funds();
    // Fund `row` of a fund type's page; nothing outside the types and rows above.
    static const Security *fund(int fundType, int row);
    // A fund by its full code, such as "OF110022"; nothing for any other code.
    static const Security *findFund(std::string_view fullCode);
    // The net value of a fund, at four decimals.
    static int32_t fundNetValue(const Security &fund);
    MarketFixture(std::vector<Security> securities, int32_t quotesDate);

    const std::vector<Security> &securities() const { return listing_->securities; }
    std::vector<Security> market(std::string_view prefix) const;
    // A full code such as "SH600000"; nothing for an unknown one.
    const Security *find(std::string_view fullCode) const;

    int32_t quotesDate() const { return quotesDate_; }
    void setQuotesDate(int32_t date);
    int32_t historyStart() const { return historyStart_; }
    void setHistoryStart(int32_t date) { historyStart_ = date; }

    // The securities of a market's code table: the market's own, and for "OF" the funds when it holds
    // them.
    std::vector<Security> codeTableSecurities(std::string_view prefix) const;
    bool holdsFunds() const { return holdsFunds_; }
    void setHoldsFunds(bool holds) { holdsFunds_ = holds; }
    // A market's code-table records as the code-table reply carries them (code, name, pinyin
    // strings each), and the checksum of those bytes, never 0 (0 is the client's "no table").
    base::Data codeTable(std::string_view prefix) const;
    static uint32_t checksum(const base::Data &records);

    // A number made from a text and a salt (a day, an index), the same on every run: the source of
    // every made-up value of the market.
    static uint32_t noise(std::string_view text, int32_t salt);

    // The trading minute the day stands at (0 the open's minute, CloseMinute the close), its time
    // (HHMM), and moving it. A step moves one minute on; from the close it opens the next weekday.
    int minute() const { return minute_; }
    int32_t minuteTime() const;
    void setMinute(int minute);
    void step();

    Quote quote(const Security &security) const;
    // The whole day's candle of a date, whatever the minute.
    static Candle dayCandle(const Security &security, int32_t date);
    // The part of a day's volume (or amount) traded up to a minute, spread evenly.
    static int32_t volumeUpTo(int32_t dayTotal, int slot);
    // Up to `count` day candles on weekdays from the history start, oldest first, ending at the
    // quotes date, or on the last weekday before `before` when that is above 0. Prices before an
    // ex-rights event show its gap.
    std::vector<Candle> dayCandles(const Security &security, int32_t before, int count) const;
    // The same for week (8) and month (9) candles built from the days, each dated by its last day,
    // and for minute candles (1–6) of the last few days, dated by packed times.
    std::vector<Candle> candles(const Security &security, int ktype, int32_t before, int count) const;
    // The quotes date's intraday minutes up to the current one: at the close 241 of them,
    // 09:30–11:30 and 13:01–15:00. The last one's price and total volume are the quote's.
    std::vector<MinutePoint> minutes(const Security &security) const;
    // The ex-rights events of a security, oldest first (a few stocks have them).
    static std::vector<ExrightEvent> exrights(const Security &security);

private:
    struct Listing {
        std::vector<Security> securities;
        std::unordered_map<std::string, size_t> byCode;
    };
    // Today's candle up to the current minute; zeros for a suspended security.
    Candle todayCandle(const Security &security) const;
    Quote computeQuote(const Security &security) const;
    void refreshQuotes();

    std::shared_ptr<const Listing> listing_;
    std::shared_ptr<const std::vector<Quote>> quotes_; // by position in the listing
    int32_t quotesDate_;
    int32_t historyStart_ = DefaultHistoryStart;
    int minute_ = CloseMinute;
    bool holdsFunds_ = false;
};

} // namespace peers
