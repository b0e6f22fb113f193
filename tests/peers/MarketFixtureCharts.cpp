// Chart data of the synthetic market: week, month and minute candles, the day's intraday minutes
// and the ex-rights events whose gaps the day candles show.
#include "MarketFixture.h"

#include <algorithm>
#include <chrono>
#include <iterator>

namespace peers {

namespace {

using namespace std::chrono;

constexpr int WeekPeriod = 8;
constexpr int MonthPeriod = 9;
// Weekdays from the history start to any quotes date the tests use.
constexpr int AllDays = 1 << 14;

sys_days civil(int32_t date) {
    return year_month_day{year(date / 10000), month(unsigned(date / 100 % 100)), day(unsigned(date % 100))};
}

// The ISO week (with its week-based year) or the month a date belongs to.
int32_t periodOf(int ktype, int32_t date) {
    if (ktype == MonthPeriod)
        return date / 100;
    sys_days d = civil(date);
    sys_days thursday = d + days{4 - int(weekday{d}.iso_encoding())};
    year y = year_month_day{thursday}.year();
    return int(y) * 100 + int((thursday - sys_days{y / January / 1}).count() / 7 + 1);
}

int32_t packedTime(int32_t date, int hhmm) {
    return (date / 10000) << 20 | (date / 100 % 100) << 16 | (date % 100) << 11 | (hhmm / 100) << 6 |
           hhmm % 100;
}

// The trading minute of slot i: 09:30 to 11:30, then 13:01 to 15:00.
int slotTime(int i) {
    int minutes = i <= 120 ? 9 * 60 + 30 + i : 13 * 60 + 1 + (i - 121);
    return minutes / 60 * 100 + minutes % 60;
}

int minutesPerCandle(int ktype) {
    static constexpr int steps[] = {0, 1, 5, 15, 30, 60, 240};
    return ktype >= 1 && ktype <= 6 ? steps[ktype] : 1;
}

std::vector<Candle> groupDays(int ktype, const std::vector<Candle> &days) {
    std::vector<Candle> out;
    int32_t current = 0;
    for (const Candle &d : days) {
        int32_t period = periodOf(ktype, d.time);
        if (out.empty() || period != current) {
            out.push_back(d);
            current = period;
            continue;
        }
        Candle &c = out.back();
        c.time = d.time;
        c.high = std::max(c.high, d.high);
        c.low = std::min(c.low, d.low);
        c.close = d.close;
        c.volume += d.volume;
        c.amount += d.amount;
    }
    return out;
}

// The minute candles of one day up to its slot `lastSlot`: each closes a run of `step` trading
// minutes of the day's path, the runs of the volume and amount adding up to the day's.
std::vector<Candle> dayMinuteCandles(const Candle &day, int step, int lastSlot) {
    std::vector<Candle> out;
    DayPath path(day);
    for (int first = 0; first <= lastSlot; first += step) {
        int last = std::min(first + step - 1, lastSlot);
        Candle c;
        c.time = packedTime(day.time, slotTime(last));
        c.open = path.price(first);
        c.close = path.price(last);
        c.high = c.low = c.open;
        for (int slot = first; slot <= last; ++slot) {
            c.high = std::max(c.high, path.price(slot));
            c.low = std::min(c.low, path.price(slot));
        }
        int before = first - 1;
        c.volume = MarketFixture::volumeUpTo(day.volume, last) -
                   (before < 0 ? 0 : MarketFixture::volumeUpTo(day.volume, before));
        c.amount = MarketFixture::volumeUpTo(day.amount, last) -
                   (before < 0 ? 0 : MarketFixture::volumeUpTo(day.amount, before));
        out.push_back(c);
    }
    return out;
}

} // namespace

std::vector<Candle> MarketFixture::candles(const Security &security, int ktype, int32_t before,
                                           int count) const {
    if (ktype == 7)
        return dayCandles(security, before, count);
    std::vector<Candle> all;
    if (ktype == WeekPeriod || ktype == MonthPeriod) {
        all = groupDays(ktype, dayCandles(security, 0, AllDays));
    } else if (ktype >= 1 && ktype <= 6) {
        for (const Candle &day : dayCandles(security, 0, MinuteHistoryDays)) {
            int lastSlot = day.time == quotesDate_ ? minute_ : CloseMinute;
            std::vector<Candle> minutes =
                dayMinuteCandles(dayCandle(security, day.time), minutesPerCandle(ktype), lastSlot);
            all.insert(all.end(), minutes.begin(), minutes.end());
        }
    }
    auto end = before > 0 ? std::lower_bound(all.begin(), all.end(), before,
                                             [](const Candle &c, int32_t t) { return c.time < t; })
                          : all.end();
    auto begin = end - std::min<std::ptrdiff_t>(std::max(count, 0), end - all.begin());
    return std::vector<Candle>(begin, end);
}

std::vector<MinutePoint> MarketFixture::minutes(const Security &security) const {
    std::vector<Candle> today = dayCandles(security, 0, 1);
    std::vector<MinutePoint> out;
    if (today.empty() || security.suspended)
        return out;
    int32_t date = today.front().time;
    int64_t total = 0, amount = 0;
    for (const Candle &c :
         dayMinuteCandles(dayCandle(security, date), 1, date == quotesDate_ ? minute_ : CloseMinute)) {
        total += c.volume;
        amount += int64_t(c.close) * c.volume;
        out.push_back({slotTime(int(out.size())), c.close, int32_t(total),
                       int32_t(amount / std::max<int64_t>(total, 1))});
    }
    return out;
}

std::vector<ExrightEvent> MarketFixture::exrights(const Security &security) {
    // A 10-for-10 bonus, and a cash dividend of 0.50 a share with a 3-for-10 rights issue at 4.00.
    if (security.fullCode() == "SH600000")
        return {{20110603, 10000, 0, 0, 0}, {20120605, 0, 0, 0, 5000}};
    if (security.fullCode() == "SZ000002")
        return {{20120712, 0, 3000, 40000, 0}};
    return {};
}

} // namespace peers
