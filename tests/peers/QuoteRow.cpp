#include "QuoteRow.h"

#include <algorithm>
#include <numeric>

namespace peers {

namespace {

// Day candles behind the 7- and 30-day figures: today's and the 30 before it.
constexpr int HistoryDays = 31;
// Trading minutes behind the rise speed.
constexpr int SpeedMinutes = 5;

// A salt that changes with the market's date and minute.
int32_t momentSalt(const MarketFixture &market, int extra) {
    return int32_t(uint32_t(market.quotesDate()) * 1009u + uint32_t(market.minute()) * 16u + uint32_t(extra));
}

int32_t percent100(int64_t part, int64_t whole) {
    return whole > 0 ? int32_t(part * 10000 / whole) : 0;
}

int32_t sumVolumes(const std::vector<Candle> &days, size_t count, int32_t Candle::*field) {
    int64_t sum = 0;
    for (size_t i = days.size() - std::min(count, days.size()); i < days.size(); ++i)
        sum += days[i].*field;
    return int32_t(std::min<int64_t>(sum, INT32_MAX));
}

} // namespace

OrderBook QuoteRow::book(const MarketFixture &market, const Security &security) {
    OrderBook book;
    Quote quote = market.quote(security);
    if (quote.last <= 0)
        return book;
    int32_t up = security.closePrice + security.closePrice / 10;
    int32_t down = security.closePrice - security.closePrice / 10;
    std::string code = security.fullCode();
    for (int i = 0; i < OrderBook::Levels; ++i) {
        uint32_t n = MarketFixture::noise(code, momentSalt(market, i));
        int32_t bid = quote.last - i, ask = quote.last + 1 + i;
        if (bid >= std::max(down, 1)) {
            book.bidPrice[size_t(i)] = bid;
            book.bidVolume[size_t(i)] = int32_t(1 + n % 900);
        }
        if (ask <= up) {
            book.askPrice[size_t(i)] = ask;
            book.askVolume[size_t(i)] = int32_t(1 + (n >> 12) % 900);
        }
    }
    return book;
}

bool QuoteRow::sortsByHistory(int field) {
    return (field >= 5 && field <= 8) || field == 15 || field == 16 || field == WeekNetFlowSortID ||
           field == MonthNetFlowSortID;
}

QuoteRow QuoteRow::of(const MarketFixture &market, const Security &security, bool history) {
    QuoteRow row;
    row.security = security;
    row.quote = market.quote(security);
    const Quote &q = row.quote;
    std::string code = security.fullCode();
    auto noise = [&code](int salt) { return MarketFixture::noise(code, salt); };
    row.upLimit = security.closePrice + security.closePrice / 10;
    row.downLimit = security.closePrice - security.closePrice / 10;
    // Shares in 亿 (as the index member counts have them) times 10^6 手.
    int64_t shares = 5 + noise(1) % 195;
    row.circulated = int32_t(shares * 1000000);
    row.total = int32_t(shares * (100 + noise(2) % 80) * 10000);
    row.notes = noise(7) % 6 == 0 ? int8_t(1 + noise(8) % 3) : 0;
    row.pe = int32_t(800 + noise(9) % 5000);
    row.pb = int32_t(80 + noise(10) % 700);
    row.ddx60 = int32_t(noise(11) % 2001) - 1000;
    row.ddy60 = int32_t(noise(12) % 2001) - 1000;
    if (q.last <= 0)
        return row;

    uint32_t today = MarketFixture::noise(code, momentSalt(market, 0));
    row.inner = int32_t(int64_t(q.volume) * (40 + today % 21) / 100);
    int slot = market.minute();
    Candle day = MarketFixture::dayCandle(security, market.quotesDate());
    row.lastDeal = MarketFixture::volumeUpTo(day.volume, slot) -
                   (slot > 0 ? MarketFixture::volumeUpTo(day.volume, slot - 1) : 0);
    row.lastDeal -= 2 * (row.lastDeal / 4);
    row.liangbi = int16_t(50 + today % 250);
    row.huanshou = int16_t(percent100(q.volume, row.circulated));
    DayPath path(day);
    int32_t before = path.price(std::max(slot - SpeedMinutes, 0));
    row.speed = int16_t(percent100(q.last - before, before));
    OrderBook book = QuoteRow::book(market, security);
    int64_t bids = std::accumulate(book.bidVolume.begin(), book.bidVolume.end(), int64_t(0));
    int64_t asks = std::accumulate(book.askVolume.begin(), book.askVolume.end(), int64_t(0));
    row.weibi = int16_t(percent100(bids - asks, bids + asks));
    row.sell1 = book.askPrice[0];
    row.buy1 = book.bidPrice[0];

    row.ddx = int16_t(int32_t(today % 2001) - 1000);
    row.ddy = int16_t(int32_t((today >> 11) % 2001) - 1000);
    row.ddz = int32_t((today >> 5) % 4001) - 2000;
    row.fundIn = int32_t(int64_t(q.amount) * (30 + today % 40) / 100);
    row.fundOut = int32_t(int64_t(q.amount) * (30 + (today >> 8) % 40) / 100);
    row.yposition = int32_t(20000 + noise(17) % 30000);
    row.ysettlement = security.closePrice;
    row.position = row.yposition + int32_t(q.volume / 10) - int32_t(q.volume / 10 * (today % 3) / 2);
    row.settlement = (q.high + q.low + q.last) / 3;
    if (!history)
        return row;

    std::vector<Candle> days = market.dayCandles(security, 0, HistoryDays);
    auto riseSince = [&](size_t back) {
        const Candle &then = days[days.size() - 1 - std::min(back, days.size() - 1)];
        return percent100(q.last - then.close, then.close);
    };
    row.rise7 = riseSince(7);
    row.rise30 = riseSince(30);
    row.transp7 = percent100(sumVolumes(days, 7, &Candle::volume), row.circulated);
    row.transp30 = percent100(sumVolumes(days, 30, &Candle::volume), row.circulated);
    for (size_t i = days.size() > 10 ? days.size() - 10 : 1; i < days.size(); ++i)
        row.redDays = int8_t(row.redDays + (days[i].close > days[i - 1].close ? 1 : 0));
    for (size_t i = days.size() - 1; i > 0 && days[i].close > days[i - 1].close; --i)
        ++row.redRun;
    row.fundAmount5 = sumVolumes(days, 5, &Candle::amount);
    row.fundIn5 = int32_t(int64_t(row.fundAmount5) * (30 + noise(13) % 40) / 100);
    row.fundOut5 = int32_t(int64_t(row.fundAmount5) * (30 + noise(14) % 40) / 100);
    row.fundAmount30 = sumVolumes(days, 30, &Candle::amount);
    row.fundIn30 = int32_t(int64_t(row.fundAmount30) * (30 + noise(15) % 40) / 100);
    row.fundOut30 = int32_t(int64_t(row.fundAmount30) * (30 + noise(16) % 40) / 100);
    return row;
}

std::optional<double> QuoteRow::quoteKey(const Security &security, const Quote &q, int field) {
    int32_t close = security.closePrice;
    switch (field) {
    case 1:
        return close > 0 && q.last > 0 ? double(q.last - close) / close : 0;
    case 2:
        return q.volume;
    case 3:
        return q.amount;
    case 4:
        return q.last;
    case 22:
        return q.low > 0 ? double(q.high - q.low) / q.low : 0;
    case 502 & 0xFF:
        return q.last > 0 ? q.last - close : 0;
    case 503 & 0xFF:
        return close;
    case 504 & 0xFF:
        return q.open;
    case 505 & 0xFF:
        return q.high;
    case 506 & 0xFF:
        return q.low;
    default:
        return std::nullopt;
    }
}

std::optional<double> QuoteRow::sortKey(int field) const {
    if (std::optional<double> key = quoteKey(security, quote, field))
        return key;
    const Quote &q = quote;
    switch (field) {
    case 5:
        return rise7;
    case 6:
        return transp7;
    case 7:
        return rise30;
    case 8:
        return transp30;
    case 10:
        return ddx;
    case 11:
        return ddy;
    case 12:
        return ddz;
    case 13:
        return ddx60;
    case 14:
        return ddy60;
    case 15:
        return redDays;
    case 16:
        return redRun;
    case DayNetFlowSortID:
        return double(fundIn) - fundOut;
    case WeekNetFlowSortID:
        return double(fundIn5) - fundOut5;
    case MonthNetFlowSortID:
        return double(fundIn30) - fundOut30;
    case 20:
        return liangbi;
    case 21:
        return huanshou;
    case 23:
        return pe;
    case 24:
        return pb;
    case 25:
        return speed;
    case 26:
        return weibi;
    case 509 & 0xFF:
        return lastDeal;
    case 510 & 0xFF:
        return inner;
    case 511 & 0xFF:
        return q.volume - inner;
    default:
        return std::nullopt;
    }
}

} // namespace peers
