#include "MarketFixture.h"

#include "DataBase/ComAPI.h"
#include "base/Str.h"
#include "crypto/Crypto.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace peers {

namespace {

// market, code, name, pinyin, type, previous close
const Security RealSecurities[] = {
    {"SH", "000001", "上证指数", "SZZS", 0, 2, 215632}, {"SH", "000016", "上证50", "SZ50", 0, 2, 175418},
    {"SH", "000300", "沪深300", "HS300", 0, 2, 234587}, {"SH", "600000", "浦发银行", "PFYH", 1, 2, 821},
    {"SH", "600009", "上海机场", "SHJC", 1, 2, 1352},   {"SH", "600016", "民生银行", "MSYH", 1, 2, 612},
    {"SH", "600028", "中国石化", "ZGSH", 1, 2, 465},    {"SH", "600030", "中信证券", "ZXZQ", 1, 2, 1187},
    {"SH", "600036", "招商银行", "ZSYH", 1, 2, 1163},   {"SH", "600050", "中国联通", "ZGLT", 1, 2, 398},
    {"SH", "600104", "上汽集团", "SQJT", 1, 2, 1436},   {"SH", "600276", "恒瑞医药", "HRYY", 1, 2, 3218},
    {"SH", "600519", "贵州茅台", "GZMT", 1, 2, 21345},  {"SH", "600585", "海螺水泥", "HLSN", 1, 2, 1795},
    {"SH", "600887", "伊利股份", "YLGF", 1, 2, 2563},   {"SH", "601006", "大秦铁路", "DQTL", 1, 2, 702},
    {"SH", "601088", "中国神华", "ZGSH", 1, 2, 2446},   {"SH", "601288", "农业银行", "NYYH", 1, 2, 263},
    {"SH", "601318", "中国平安", "ZGPA", 1, 2, 4175},   {"SH", "601398", "工商银行", "GSYH", 1, 2, 404},
    {"SH", "601857", "中国石油", "ZGSY", 1, 2, 903},    {"SH", "601939", "建设银行", "JSYH", 1, 2, 438},
    {"SH", "601988", "中国银行", "ZGYH", 1, 2, 278},    {"SZ", "399001", "深证成指", "SZCZ", 0, 2, 862745},
    {"SZ", "399006", "创业板指", "CYBZ", 0, 2, 69218},  {"SZ", "000001", "平安银行", "PAYH", 1, 2, 1452},
    {"SZ", "000002", "万科A", "WKA", 1, 2, 905},        {"SZ", "000063", "中兴通讯", "ZXTX", 1, 2, 823},
    {"SZ", "000333", "美的集团", "MDJT", 1, 2, 2618},   {"SZ", "000568", "泸州老窖", "LZLJ", 1, 2, 3187},
    {"SZ", "000651", "格力电器", "GLDQ", 1, 2, 2492},   {"SZ", "000725", "京东方A", "JDFA", 1, 2, 198},
    {"SZ", "000858", "五粮液", "WLY", 1, 2, 2759},      {"SZ", "002415", "海康威视", "HKWS", 1, 2, 2681},
    {"SZ", "002594", "比亚迪", "BYD", 1, 2, 2534},      {"SZ", "300059", "东方财富", "DFCF", 1, 2, 712},
};

// A price within 5 % either side of `base`.
int32_t around(int32_t base, uint32_t noise) {
    int32_t span = std::max(base / 10, 2);
    return std::max(base + int32_t(noise % uint32_t(span)) - span / 2, 1);
}

std::chrono::sys_days toDays(int32_t date) {
    return std::chrono::year_month_day{std::chrono::year(date / 10000),
                                       std::chrono::month(unsigned(date / 100 % 100)),
                                       std::chrono::day(unsigned(date % 100))};
}

int32_t toDate(std::chrono::sys_days days) {
    std::chrono::year_month_day ymd{days};
    return int(ymd.year()) * 10000 + int(unsigned(ymd.month())) * 100 + int(unsigned(ymd.day()));
}

bool isWeekday(std::chrono::sys_days days) {
    std::chrono::weekday day{days};
    return day != std::chrono::Saturday && day != std::chrono::Sunday;
}

// A price as it stood before the events after `date`: each later event is undone, newest first.
int32_t beforeEvents(const Security &security, int32_t date, int32_t price) {
    std::vector<ExrightEvent> events = MarketFixture::exrights(security);
    double p = price;
    double unit = std::pow(10.0, security.decimal) / 10000;
    for (auto it = events.rbegin(); it != events.rend() && it->date > date; ++it)
        p = p * (1 + (it->give + it->pei) / 10000.0) +
            (it->profit - double(it->peiPrice) * it->pei / 10000) * unit;
    return int32_t(std::lround(p));
}

} // namespace

uint32_t MarketFixture::noise(std::string_view text, int32_t salt) {
    uint32_t hash = crypto::crc32(text.data(), text.size(), uint32_t(salt));
    hash ^= hash >> 16;
    hash *= 0x7feb352d;
    hash ^= hash >> 15;
    return hash;
}

Candle MarketFixture::dayCandle(const Security &security, int32_t date) {
    uint32_t noise = MarketFixture::noise(security.fullCode(), date);
    Candle candle;
    candle.time = date;
    candle.open = beforeEvents(security, date, around(security.closePrice, noise));
    candle.close = beforeEvents(security, date, around(security.closePrice, noise >> 8));
    // The day's range reaches up to 2.5 % beyond the open and the close on either side.
    int32_t reach = std::max(candle.open, candle.close) / 40;
    candle.high =
        std::max(candle.open, candle.close) + int32_t(noise % 7) + reach * int32_t(noise >> 20 & 15) / 15;
    candle.low = std::max(
        std::min(candle.open, candle.close) - int32_t(noise % 5) - reach * int32_t(noise >> 24 & 15) / 15, 1);
    candle.volume = int32_t(10000 + noise % 90000);
    candle.amount = int32_t(int64_t(candle.volume) * candle.close / 10000 + 1);
    return candle;
}

DayPath::DayPath(const Candle &day) {
    uint32_t noise = MarketFixture::noise(base::str::format("%d:%d", day.time, day.open), day.close);
    size_t highKnot = 1 + noise % (Segments - 1);
    size_t lowKnot = 1 + (noise >> 8) % (Segments - 1);
    if (lowKnot == highKnot)
        lowKnot = lowKnot % (Segments - 1) + 1;
    for (size_t k = 1; k < Segments; ++k) {
        uint32_t n = (noise ^ uint32_t(k) * 0x9E3779B9u) * 0x85EBCA6Bu;
        n ^= n >> 13;
        knots_[k] = day.low + int32_t(n % uint32_t(day.high - day.low + 1));
    }
    knots_[0] = day.open;
    knots_[Segments] = day.close;
    knots_[highKnot] = day.high;
    knots_[lowKnot] = day.low;
}

int32_t DayPath::price(int slot) const {
    size_t k = std::min(size_t(std::max(slot, 0) / SegmentMinutes), Segments - 1);
    int32_t from = knots_[k], to = knots_[k + 1];
    return from + int32_t(int64_t(to - from) * (slot - int(k) * SegmentMinutes) / SegmentMinutes);
}

MarketFixture MarketFixture::standard(int generated) {
    std::vector<Security> securities(std::begin(RealSecurities), std::end(RealSecurities));
    for (int i = 1; i <= generated; ++i) {
        std::string number = base::str::format("%02d", i);
        securities.push_back({"SH", "6090" + number, "沪模拟" + number, "HMN" + number, 1, 2, 500 + 37 * i});
        securities.push_back({"SZ", "0090" + number, "深模拟" + number, "SMN" + number, 1, 2, 400 + 53 * i});
    }
    return MarketFixture(std::move(securities), DefaultQuotesDate);
}

MarketFixture::MarketFixture(std::vector<Security> securities, int32_t quotesDate) : quotesDate_(quotesDate) {
    auto listing = std::make_shared<Listing>();
    listing->securities = std::move(securities);
    for (size_t i = 0; i < listing->securities.size(); ++i)
        listing->byCode.emplace(listing->securities[i].fullCode(), i);
    listing_ = std::move(listing);
    refreshQuotes();
}

std::vector<Security> MarketFixture::market(std::string_view prefix) const {
    std::vector<Security> found;
    std::copy_if(securities().begin(), securities().end(), std::back_inserter(found),
                 [prefix](const Security &security) { return security.market == prefix; });
    return found;
}

const Security *MarketFixture::find(std::string_view fullCode) const {
    auto it = listing_->byCode.find(std::string(fullCode));
    return it == listing_->byCode.end() ? nullptr : &listing_->securities[it->second];
}

void MarketFixture::setQuotesDate(int32_t date) {
    quotesDate_ = date;
    refreshQuotes();
}

int32_t MarketFixture::minuteTime() const {
    int minutes = minute_ <= 120 ? 9 * 60 + 30 + minute_ : 13 * 60 + 1 + (minute_ - 121);
    return minutes / 60 * 100 + minutes % 60;
}

void MarketFixture::setMinute(int minute) {
    minute_ = std::clamp(minute, 0, CloseMinute);
    refreshQuotes();
}

void MarketFixture::step() {
    if (minute_ < CloseMinute) {
        ++minute_;
    } else {
        std::chrono::sys_days day = toDays(quotesDate_) + std::chrono::days(1);
        while (!isWeekday(day))
            day += std::chrono::days(1);
        quotesDate_ = toDate(day);
        minute_ = 0;
    }
    refreshQuotes();
}

void MarketFixture::refreshQuotes() {
    auto quotes = std::make_shared<std::vector<Quote>>();
    quotes->reserve(securities().size());
    for (const Security &security : securities())
        quotes->push_back(computeQuote(security));
    quotes_ = std::move(quotes);
}

std::vector<Security> MarketFixture::codeTableSecurities(std::string_view prefix) const {
    std::vector<Security> securities = market(prefix);
    if (prefix == "OF" && holdsFunds_)
        securities.insert(securities.end(), funds().begin(), funds().end());
    return securities;
}

base::Data MarketFixture::codeTable(std::string_view prefix) const {
    base::Data records;
    for (const Security &security : codeTableSecurities(prefix)) {
        ComAPI::WriteString(records, security.code);
        ComAPI::WriteString(records, security.name);
        ComAPI::WriteString(records, security.pinyin);
    }
    return records;
}

uint32_t MarketFixture::checksum(const base::Data &records) {
    return std::max<uint32_t>(crypto::crc32(records.bytes(), records.length()), 1);
}

Candle MarketFixture::todayCandle(const Security &security) const {
    if (security.suspended)
        return {};
    Candle day = dayCandle(security, quotesDate_);
    if (minute_ == CloseMinute)
        return day;
    Candle now = day;
    now.high = now.low = day.open;
    DayPath path(day);
    for (int slot = 0; slot <= minute_; ++slot) {
        int32_t price = path.price(slot);
        now.high = std::max(now.high, price);
        now.low = std::min(now.low, price);
        now.close = price;
    }
    now.volume = volumeUpTo(day.volume, minute_);
    now.amount = volumeUpTo(day.amount, minute_);
    return now;
}

int32_t MarketFixture::volumeUpTo(int32_t dayTotal, int slot) {
    return int32_t(int64_t(dayTotal) * (slot + 1) / MinutesPerDay);
}

Quote MarketFixture::computeQuote(const Security &security) const {
    Candle today = todayCandle(security);
    return {today.open, today.close, today.high, today.low, today.volume, today.amount};
}

Quote MarketFixture::quote(const Security &security) const {
    const std::vector<Security> &listed = listing_->securities;
    if (!listed.empty() && &security >= &listed.front() && &security <= &listed.back())
        return (*quotes_)[size_t(&security - listed.data())];
    if (const Security *listed = find(security.fullCode()))
        return (*quotes_)[size_t(listed - listing_->securities.data())];
    return computeQuote(security);
}

std::vector<Candle> MarketFixture::dayCandles(const Security &security, int32_t before, int count) const {
    std::vector<Candle> candles;
    std::chrono::sys_days day = before > 0 ? toDays(before) - std::chrono::days(1) : toDays(quotesDate_);
    for (; int(candles.size()) < count && toDate(day) >= historyStart_; day -= std::chrono::days(1)) {
        if (!isWeekday(day))
            continue;
        if (toDate(day) != quotesDate_)
            candles.push_back(dayCandle(security, toDate(day)));
        else if (!security.suspended)
            candles.push_back(todayCandle(security));
    }
    std::reverse(candles.begin(), candles.end());
    return candles;
}

} // namespace peers
