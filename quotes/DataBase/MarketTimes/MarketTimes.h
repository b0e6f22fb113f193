#pragma once

#include "DataBase/ComAPI.h"
#include "base/Object.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One trading session, HHMM Beijing time; a close earlier than the open ends on the next day.
struct TradeTimeItem {
    int16_t opentime = 0;
    int16_t closetime = 0;

    // Minutes of the session, both its first and its last minute counted (0930-1130 gives 121).
    int getMinCount() const;
    bool operator==(const TradeTimeItem &) const = default;
};

// The sessions of one market.
class MarketTimeItem : public base::Object {
public:
    MarketTimeItem(std::string code, std::vector<TradeTimeItem> times);

    // The market key: a two-letter prefix, a whole "IX" code or four characters of a "CX" code.
    std::string code;
    // In trading order.
    std::vector<TradeTimeItem> times;
    // Trading minutes per day, computed when the item is built.
    int32_t minCount = 0;

    void addTradeTime(int16_t opentime, int16_t closetime);
    // The sum of the sessions' minute counts.
    int getMinCount() const;
};

// The trading sessions per market: a built-in table, replaced by the copy saved in
// "tradetime.dat" of the documents directory, and updated by intraday replies. Lookups take the
// first matching entry; an updated market moves to the end. Main thread only.
class MarketTimes {
public:
    // More sessions than this in a reply are ignored.
    static constexpr int MaxSessions = 8;

    // The process-wide table, created on first use.
    static MarketTimes &Instance();
    // A table filled from the file, or from the built-in list when the file is missing or damaged.
    MarketTimes();

    std::vector<base::Ref<MarketTimeItem>> list;

    // The first entry whose key is the start of the code; none for an empty code.
    base::Ref<MarketTimeItem> getItem(std::string_view code) const;
    // The entry's minutes per day, 241 for a market the table does not list.
    int getMinCount(std::string_view code) const;
    // The session block of a compressed intraday reply: u16 unread, u16 count k, then k pairs of u16
    // open and close. Takes at most 8 sessions, and only pairs the block holds.
    void addItem(ByteView sessionBlock, std::string_view code);
    // Replaces the market's sessions and saves the table, unless they are unchanged. Refuses a
    // code without a market key and sessions that are not 1 to 8 valid HHMM pairs, which would
    // otherwise match every code or count no minutes.
    void addItemWithCheck(std::string_view code, std::span<const TradeTimeItem> times);
    // Appends an entry for the code's market key.
    void addItem(std::string_view code, std::span<const TradeTimeItem> times);
    void delItems(std::string_view code);
    static std::string fmtCode(std::string_view code);

    // Writes the whole table atomically; NO for an empty table or a failed write.
    bool saveToFile() const;
    // Reads the saved table; NO, leaving the table empty, when the file is missing or damaged
    // (truncated, trailing bytes, no markets, an empty key, no sessions or an invalid time).
    bool readFromFile();
    void loadTradeTimes();

    // Whether the sessions can be kept: 1 to 8 of them, each with valid HHMM times.
    static bool isValidSessions(std::span<const TradeTimeItem> times);
};
