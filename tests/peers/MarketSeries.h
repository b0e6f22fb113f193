#pragma once

#include "MarketFixture.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace peers {

// The series a detail screen shows beside the quotes, made up from a `MarketFixture` the same on
// every run: an index's member counts, rise/fall line and contributions, a day's ticks, deals and
// big orders, the boards of a stock and the four fund series. The loopback quote server writes
// them into its replies (QuoteServerExtras.cpp); tests ask the server for the same object
// (`QuoteServer::series`) to know what the client must have read back.
//
// The members of a market are its stocks (type 1); its index is its first security of type 0
// ("SH000001", "SZ399001"). Times are those of the day's intraday minutes.
class MarketSeries {
public:
    // Resolves a full code, also outside the market's code tables (funds, boards).
    using Finder = std::function<const Security *(std::string_view fullCode)>;
    struct Board {
        Security security;
        int id = 0; // the id its member list is asked for by
    };

    // Member counts and averages of an index (prices like the index, values in 亿).
    struct RiseFallCount {
        int16_t rise = 0, plane = 0, fall = 0;
        int32_t avePrice = 0, weightingAvePrice = 0, circulatedValue = 0, totalValue = 0;
    };
    // A member's part of its index's change: points × 100, and its own rise in percent × 100.
    struct Contribution {
        std::string code, name;
        int32_t points = 0;
        int16_t rise = 0;
    };
    // A tick (time HHMMSS) or a minute's deals (time HHMM); `outer`: at the ask; a future's tick
    // carries the open interest after it.
    struct Deal {
        int32_t time = 0, price = 0, volume = 0;
        bool outer = false;
        int32_t hold = 0;
    };
    // A big order (time HHMM, volume in 手). Kinds 0–5 are those the client names; kind 6 is one it
    // does not know and skips. A market's orders name the member.
    struct BigOrder {
        std::string code, name;
        int type = 0;
        int16_t time = 0;
        int32_t volume = 0;
    };
    static constexpr int UnknownOrderKind = 6;
    struct StockBigOrders {
        // buy medium, big, very big and sell medium, big, very big shares of the day's volume in
        // percent × 100; institutional buy and sell, big buy and sell volumes in hundreds of 手.
        std::array<int16_t, 10> ratios{};
        std::vector<BigOrder> orders;
    };
    // A fund's value (net value, or for a money-market fund the income per 10,000 shares) and its
    // second value (accumulated net value, or the 7-day annualised yield in percent with the
    // fund's decimals).
    struct FundValue {
        int32_t date = 0, value = 0, second = 0;
    };
    struct FundHolding {
        std::string code, name;
        int32_t priorHoldVol = 0, holdVol = 0, inFundRate = 0, inCapitalRate = 0;
    };
    struct FundShares {
        int32_t date = 0, beginning = 0, bought = 0, sold = 0;
    };
    struct FundOwners {
        int32_t date = 0, count = 0, averageShares = 0, institutions = 0, individuals = 0;
    };
    struct BoardRow {
        Security board;
        int32_t last = 0;
        int32_t range = 0; // percent × 10^decimal
        int id = 0;
    };

    static constexpr int TicksPerMinute = 3;
    static constexpr int StockBigOrderCount = 40;
    static constexpr int MarketBigOrderCount = 60;
    static constexpr int FundValueDays = 120;
    static constexpr int FundHoldingCount = 10;
    static constexpr int FundShareQuarters = 8;
    static constexpr int FundOwnerReports = 4;

    MarketSeries(MarketFixture market, Finder find, std::vector<Board> boards);

    const MarketFixture &market() const { return market_; }
    const Security *find(std::string_view fullCode) const { return find_(fullCode); }
    std::vector<Security> members(std::string_view prefix) const;

    // Nothing for a market without members.
    std::optional<RiseFallCount> riseFallCount(const Security &index) const;
    // Per intraday minute: members above their previous close less those below, in percent.
    std::vector<int8_t> riseFallLine(const Security &index) const;
    // All members: order type 1 the largest contribution first, any other type the reverse.
    std::vector<Contribution> contributions(std::string_view prefix, int orderType) const;
    std::vector<Deal> ticks(const Security &security) const;
    std::vector<Deal> deals(const Security &security) const;
    StockBigOrders stockBigOrders(const Security &security) const;
    std::vector<BigOrder> marketBigOrders(std::string_view prefix) const;
    // Fund series, newest report first (values oldest first); nothing for a security not a fund.
    std::vector<FundValue> fundValues(const Security &fund) const;
    std::vector<FundHolding> fundHoldings(const Security &fund) const;
    std::vector<FundShares> fundShares(const Security &fund) const;
    std::vector<FundOwners> fundOwners(const Security &fund) const;
    // The position among `boardCount` boards (at least two) of a stock's industry board: the bank
    // board (the first) for a bank.
    static size_t industryBoard(const Security &stock, size_t boardCount);
    // The positions among `boardCount` boards of the boards a stock (type 1) belongs to: its
    // industry board, then a theme board, never the bank board; none for other types or fewer than
    // three boards. A board's members are the stocks that name it here.
    static std::vector<size_t> boardsOf(const Security &stock, size_t boardCount);
    static bool inBoard(const Security &stock, size_t board, size_t boardCount);
    // The boards of a stock, as `boardsOf` orders them.
    std::vector<BoardRow> stockBoards(const Security &stock) const;

private:
    const Security *indexOf(std::string_view prefix) const;

    MarketFixture market_;
    Finder find_;
    std::vector<Board> boards_;
};

} // namespace peers
