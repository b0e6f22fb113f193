#pragma once

#include "base/Data.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace peers {

struct Security {
    std::string market; // "SH", "SZ"
    std::string code;   // exchange code without the market prefix
    std::string name;
    std::string pinyin; // initials the search keypad matches
    int type = 1;       // 0 index, 1 stock
    int decimal = 2;
    int32_t closePrice = 0; // previous close, scaled by 10^decimal

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

// A small market the loopback quote server serves: real Shanghai and Shenzhen securities with
// their names, plus generated ones, and quotes and day candles made up from the code and the day,
// the same on every run.
class MarketFixture {
public:
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
    MarketFixture(std::vector<Security> securities, int32_t quotesDate);

    const std::vector<Security> &securities() const { return securities_; }
    std::vector<Security> market(std::string_view prefix) const;
    // A full code such as "SH600000"; nothing for an unknown one.
    const Security *find(std::string_view fullCode) const;

    int32_t quotesDate() const { return quotesDate_; }
    void setQuotesDate(int32_t date) { quotesDate_ = date; }
    int32_t historyStart() const { return historyStart_; }
    void setHistoryStart(int32_t date) { historyStart_ = date; }

    // A market's code-table records as the code-table reply carries them (code, name, pinyin
    // strings each), and the checksum of those bytes, never 0 (0 is the client's "no table").
    base::Data codeTable(std::string_view prefix) const;
    static uint32_t checksum(const base::Data &records);

    // A number made from a text and a salt (a day, an index), the same on every run: the source of
    // every made-up value of the market.
    static uint32_t noise(std::string_view text, int32_t salt);

    Quote quote(const Security &security) const;
    // Up to `count` day candles on weekdays from the history start, oldest first, ending at the
    // quotes date, or on the last weekday before `before` when that is above 0. Prices before an
    // ex-rights event show its gap.
    std::vector<Candle> dayCandles(const Security &security, int32_t before, int count) const;
    // The same for week (8) and month (9) candles built from the days, each dated by its last day,
    // and for minute candles (1–6) of the last few days, dated by packed times.
    std::vector<Candle> candles(const Security &security, int ktype, int32_t before, int count) const;
    // The quotes date's intraday minutes: 241 of them, 09:30–11:30 and 13:01–15:00.
    std::vector<MinutePoint> minutes(const Security &security) const;
    // The ex-rights events of a security, oldest first (a few stocks have them).
    static std::vector<ExrightEvent> exrights(const Security &security);

private:
    std::vector<Security> securities_;
    int32_t quotesDate_;
    int32_t historyStart_ = DefaultHistoryStart;
};

} // namespace peers
