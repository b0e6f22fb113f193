#pragma once

#include "MarketFixture.h"

#include <array>
#include <cstdint>
#include <optional>

namespace peers {

// Ten price levels a side around the last price: bids from the last price down, asks from one
// price unit above it up, levels beyond the day's price limits empty (price and volume 0).
struct OrderBook {
    static constexpr int Levels = 10;
    std::array<int32_t, Levels> bidPrice{}, bidVolume{}, askPrice{}, askVolume{};
};

// Every field a quote list row carries, made up from a security's quote at the market's minute and
// consistent with it: the turnover from the volume and the shares, the best prices from the book,
// the 7- and 30-day figures from the day candles, the fund flows from the amounts. The loopback
// quote server writes rows from it and ranks lists by it; tests check replies against it.
struct QuoteRow {
    // The net fund flow of a day, five days and thirty days, as the fund-flow ranking sorts by them.
    static constexpr int DayNetFlowSortID = 17, WeekNetFlowSortID = 18, MonthNetFlowSortID = 19;
    Security security;
    Quote quote;
    int32_t upLimit = 0, downLimit = 0;
    int32_t circulated = 0, total = 0; // shares in 手
    int32_t inner = 0, lastDeal = 0;
    int16_t liangbi = 0, huanshou = 0, speed = 0, weibi = 0;
    int8_t notes = 0;
    int32_t pe = 0, pb = 0, sell1 = 0, buy1 = 0;
    int32_t rise7 = 0, transp7 = 0, rise30 = 0, transp30 = 0;
    int16_t ddx = 0, ddy = 0;
    int32_t ddz = 0, ddx60 = 0, ddy60 = 0;
    int8_t redDays = 0, redRun = 0;
    int32_t fundIn = 0, fundOut = 0, fundIn5 = 0, fundOut5 = 0, fundAmount5 = 0, fundIn30 = 0, fundOut30 = 0,
            fundAmount30 = 0;
    int32_t yposition = 0, ysettlement = 0, position = 0, settlement = 0;

    // Without `history` the figures made from the day candles (the 7- and 30-day rises and
    // turnovers, the rising days, the 5- and 30-day fund flows) stay 0, which saves their candles.
    static QuoteRow of(const MarketFixture &market, const Security &security, bool history = true);
    // Whether a sort field needs the figures from the day candles.
    static bool sortsByHistory(int field);
    // Whether a list reply's field groups need them.
    static bool groupsNeedHistory(int flags) { return flags & 0x1C00; }
    static OrderBook book(const MarketFixture &market, const Security &security);
    // The same for the fields the quote alone gives (rise, volume, amount, prices and change, the
    // amplitude); nothing for the others.
    static std::optional<double> quoteKey(const Security &security, const Quote &quote, int field);
    // The value a list sorts by for a display field id as the request's byte carries it (ids above
    // 255 arrive as their low byte); nothing for a field no list sorts by.
    std::optional<double> sortKey(int field) const;
};

} // namespace peers
