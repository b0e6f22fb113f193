#include "Module/StockDataBaseMgnt/StockFunc.h"

#include "Common/TimeFunc.h"
#include "Common/Util.h"
#include "DataBase/NetData/StockQuoteInf.h"

#include <chrono>
#include <cmath>
#include <limits>

namespace {

using namespace std::chrono;

constexpr int LastMinutePeriod = 6;

// The nearest integer, halves away from zero, clamped.
int32_t clampRound(double value) {
    return std::isnan(value) ? 0 : Util::truncToInt(std::round(value));
}

KLineItem *candleAt(const StockFunc::ObjectList &list, size_t i) {
    return dynamic_cast<KLineItem *>(list[i].get());
}

std::vector<KLineItem *> candlesOf(const StockFunc::ObjectList &list) {
    std::vector<KLineItem *> candles;
    for (const auto &item : list)
        if (auto candle = dynamic_cast<KLineItem *>(item.get()))
            candles.push_back(candle);
    return candles;
}

std::vector<const NewExrightItem *> eventsOf(const StockFunc::ObjectList &list) {
    std::vector<const NewExrightItem *> events;
    for (const auto &item : list)
        if (auto event = dynamic_cast<const NewExrightItem *>(item.get()))
            events.push_back(event);
    return events;
}

// The share multiplier of an event (1 + give + pei); nothing when it is not above 0.
std::optional<double> shareMultiplier(const NewExrightItem &event) {
    double m = 1 + event.give / 10000.0 + event.pei / 10000.0;
    if (!(m > 0) || !std::isfinite(m))
        return std::nullopt;
    return m;
}

struct Factor {
    int32_t multi = StockFunc::FactorScale;
    int32_t plus = 0;
};

Factor factorOf(const StockExrightItem *item) {
    if (!item || item->multi <= 0)
        return {};
    return {item->multi, item->plus};
}

void restore(KLineItem &candle) {
    candle.openprice = candle.oopenprice;
    candle.highprice = candle.ohighprice;
    candle.lowprice = candle.olowprice;
    candle.closeprice = candle.ocloseprice;
    candle.vol = candle.ovol;
}

int32_t adjustedVolume(int32_t ovol, int32_t multi) {
    return Util::truncToInt(ovol / (multi / 10000.0));
}

// Forward prices: the product and the addend in single precision, summed in double.
void applyForward(KLineItem &candle, Factor f, float scale) {
    auto price = [&](int32_t unadjusted) {
        float product = float(unadjusted) * float(f.multi);
        float addend = float(f.plus) * scale;
        return Util::truncToInt(double(product) / 10000 + double(addend) / 10000);
    };
    candle.openprice = price(candle.oopenprice);
    candle.highprice = price(candle.ohighprice);
    candle.lowprice = price(candle.olowprice);
    candle.closeprice = price(candle.ocloseprice);
    candle.vol = adjustedVolume(candle.ovol, f.multi);
}

// Backward prices: computed in single precision throughout.
void applyBackward(KLineItem &candle, Factor f, float scale) {
    auto price = [&](int32_t unadjusted) {
        float value = float(unadjusted) * float(f.multi) / 10000.0f + float(f.plus) * scale / 10000.0f;
        return Util::truncToInt(double(value));
    };
    candle.openprice = price(candle.oopenprice);
    candle.highprice = price(candle.ohighprice);
    candle.lowprice = price(candle.olowprice);
    candle.closeprice = price(candle.ocloseprice);
    candle.vol = adjustedVolume(candle.ovol, f.multi);
}

float priceScale(int digit) {
    return float(std::pow(10.0, std::clamp(digit, 0, 9)));
}

void adjustForward(const std::vector<KLineItem *> &candles, const StockFunc::FactorList &factors,
                   int exrightDate, float scale) {
    size_t next = 0;
    const int32_t firstTime = candles.front()->time;
    if (factors.front()->date < firstTime) {
        next = factors.size();
        for (size_t i = 0; i < factors.size(); ++i)
            if (factors[i]->date > firstTime) {
                next = i;
                break;
            }
    }
    for (KLineItem *candle : candles) {
        if (next < factors.size() && candle->time >= factors[next]->date) {
            if (candle->time == factors[next]->date)
                candle->exrightFlag = StockFunc::ExrightForward;
            ++next;
        }
        if (candle->exrightFlag >= StockFunc::ExrightNotShown && candle->time > exrightDate)
            candle->exrightFlag = StockFunc::ExrightNotShown;
        if (next < factors.size() && factors[next]->multi > 0)
            applyForward(*candle, factorOf(factors[next].get()), scale);
        else
            restore(*candle);
    }
}

void adjustBackward(const std::vector<KLineItem *> &candles, const StockFunc::FactorList &factors,
                    int exrightDate, float scale) {
    size_t next = 0;
    const StockExrightItem *current = nullptr;
    for (KLineItem *candle : candles) {
        if (next < factors.size() && candle->time >= factors[next]->date) {
            if (candle->time == factors[next]->date)
                candle->exrightFlag = StockFunc::ExrightBackward;
            current = factors[next].get();
            ++next;
        }
        if (candle->exrightFlag >= StockFunc::ExrightNotShown && candle->time < exrightDate)
            candle->exrightFlag = StockFunc::ExrightNotShown;
        if (current && current->multi > 0)
            applyBackward(*candle, factorOf(current), scale);
        else
            restore(*candle);
    }
}

struct Builder {
    StockFunc::ObjectList &result;
    bool isAddObj;
    size_t inserted = 0;
    base::Ref<KLineItem> building;

    void emit() {
        if (!building)
            return;
        if (isAddObj)
            result.push_back(building);
        else
            result.insert(result.begin() + std::ptrdiff_t(std::min(inserted++, result.size())), building);
        building = nullptr;
    }
    void start(const KLineItem &day) {
        emit();
        building = base::make<KLineItem>();
        KLineItem &c = *building;
        c.time = day.time;
        c.openprice = day.openprice;
        c.highprice = day.highprice;
        c.lowprice = day.lowprice;
        c.closeprice = day.closeprice;
        c.vol = day.vol;
        c.amount = day.amount;
        c.oopenprice = day.oopenprice;
        c.ohighprice = day.ohighprice;
        c.olowprice = day.olowprice;
        c.ocloseprice = day.ocloseprice;
        c.ovol = day.ovol;
        if (day.exrightFlag >= StockFunc::ExrightNotShown) {
            c.exrightFlag = day.exrightFlag;
            c.exrightDate = day.time;
        }
    }
    void extend(const KLineItem &day) {
        KLineItem &c = *building;
        c.highprice = std::max(c.highprice, day.highprice);
        c.lowprice = std::min(c.lowprice, day.lowprice);
        c.vol = int32_t(int64_t(c.vol) + day.vol);
        c.amount = int32_t(int64_t(c.amount) + day.amount);
        c.closeprice = day.closeprice;
        c.time = day.time;
        if (day.exrightFlag >= StockFunc::ExrightNotShown) {
            c.exrightFlag = day.exrightFlag;
            c.exrightDate = day.time;
        }
    }
};

bool sameDay(const KLineItem &day, const KLineItem &saved) {
    return day.time == saved.time && day.closeprice == saved.closeprice && day.highprice == saved.highprice &&
           day.lowprice == saved.lowprice && day.vol == saved.vol && day.amount == saved.amount;
}

int periodOf(int ktype, const base::Ref<base::Object> &item) {
    auto candle = dynamic_cast<const KLineItem *>(item.get());
    return candle ? TimeFunc::getWhichPeriod(ktype, candle->time) : 0;
}

} // namespace

bool StockFunc::isSHSZStock(const StockQuoteInf *quote) {
    if (!quote || quote->code.empty() || quote->type != 1)
        return false;
    std::string market = Util::getMarketCode(quote->code);
    return market == "SH" || market == "SZ";
}

bool StockFunc::isSZSCIndex(std::string_view code) {
    return code == "SH000001" || code == "SZ399001";
}

bool StockFunc::isOFCode(std::string_view code) {
    return isValidCode(code) && code.substr(0, 2) == "OF";
}

int StockFunc::distanceExchangeDays(int fromDate, int toDate) {
    auto from = TimeFunc::civilDay(fromDate), to = TimeFunc::civilDay(toDate);
    if (!from || !to)
        return 0;
    int d = int((*to - *from).count());
    return d - 2 * (d / 7);
}

int StockFunc::getKLineDate(int time, int ktype) {
    if (ktype > LastMinutePeriod)
        return time;
    uint32_t packed = uint32_t(time);
    int year = int(packed >> 20), month = int(packed >> 16 & 0xF), day = int(packed >> 11 & 0x1F);
    return year % 100 * 10000 + month * 100 + day;
}

int StockFunc::getKLineFullDate(int time, int ktype) {
    if (ktype > LastMinutePeriod)
        return time;
    uint32_t packed = uint32_t(time);
    return int(packed >> 20) * 10000 + int(packed >> 16 & 0xF) * 100 + int(packed >> 11 & 0x1F);
}

void StockFunc::calcExrightList(const ObjectList &exrightList, FactorList &destArray, int exrightType,
                                int exrightDate) {
    destArray.clear();
    std::vector<const NewExrightItem *> events = eventsOf(exrightList);
    float c = 1, s = 0;
    auto factor = [&](int32_t date) {
        auto item = base::make<StockExrightItem>();
        item->date = date;
        item->multi = clampRound(double(c) * FactorScale);
        item->plus = clampRound(double(s) * FactorScale);
        return item;
    };
    if (exrightType == BackwardAdjust) {
        for (const NewExrightItem *event : events) {
            auto m = shareMultiplier(*event);
            if (event->date < exrightDate || !m)
                continue;
            float t = float(event->profit / 10000.0 - (event->peiPrice / 10000.0) * (event->pei / 10000.0));
            s = s + c * t;
            c = c * float(*m);
            destArray.push_back(factor(event->date));
        }
    } else if (exrightType == ForwardAdjust) {
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            const NewExrightItem *event = *it;
            auto m = shareMultiplier(*event);
            if (event->date > exrightDate || !m)
                continue;
            double e = 1 / *m;
            float t =
                float(e * ((event->peiPrice / 10000.0) * (event->pei / 10000.0) - event->profit / 10000.0));
            s = s + c * t;
            c = c * float(e);
            destArray.insert(destArray.begin(), factor(event->date));
        }
    }
}

bool StockFunc::calcKLineExrightData(int exrightType, int exrightDate, int digit, const ObjectList &klineList,
                                     const ObjectList &exrightList) {
    std::vector<KLineItem *> candles = candlesOf(klineList);
    if (eventsOf(exrightList).empty() || candles.empty())
        return false;
    FactorList factors;
    if (exrightType == ForwardAdjust || exrightType == BackwardAdjust) {
        if (exrightDate < 1)
            return false;
        calcExrightList(exrightList, factors, exrightType, exrightDate);
        if (factors.empty())
            return false;
    }
    float scale = priceScale(digit);
    if (exrightType == ForwardAdjust) {
        adjustForward(candles, factors, exrightDate, scale);
    } else if (exrightType == BackwardAdjust) {
        adjustBackward(candles, factors, exrightDate, scale);
    } else {
        for (KLineItem *candle : candles) {
            if (candle->exrightFlag >= ExrightNotShown)
                candle->exrightFlag = ExrightNotShown;
            restore(*candle);
        }
    }
    return true;
}

bool StockFunc::calcLastKLineExright(int exrightType, int exrightDate, int digit, const ObjectList &klineList,
                                     const ObjectList &exrightList) {
    std::vector<KLineItem *> candles = candlesOf(klineList);
    std::vector<const NewExrightItem *> events = eventsOf(exrightList);
    if (events.empty() || candles.empty())
        return false;
    KLineItem &last = *candles.back();
    const bool onEvent = last.time == events.back()->date;
    int8_t flag = NoExright;
    if (exrightType == ForwardAdjust) {
        if (exrightDate < 1)
            return false;
        flag = onEvent ? (last.time == exrightDate ? ExrightForward : ExrightNotShown) : NoExright;
    } else if (exrightType == BackwardAdjust) {
        FactorList factors;
        if (exrightDate >= 1)
            calcExrightList(exrightList, factors, exrightType, exrightDate);
        if (factors.empty())
            return false;
        flag = onEvent ? ExrightBackward : NoExright;
        Factor f = factorOf(factors.back().get());
        applyBackward(last, f, priceScale(digit));
    } else {
        flag = onEvent ? ExrightNotShown : NoExright;
    }
    last.exrightFlag = flag;
    if (flag >= ExrightNotShown)
        last.exrightDate = last.time;
    return true;
}

bool StockFunc::SetKLineExrightFlag(const ObjectList &klineList, const ObjectList &exrightList,
                                    int posOffset) {
    std::vector<const NewExrightItem *> events = eventsOf(exrightList);
    if (events.empty() || klineList.empty())
        return false;
    int64_t count = int64_t(klineList.size()) - posOffset;
    size_t cursor = 0;
    for (int64_t i = 0; i < count && cursor < events.size(); ++i) {
        KLineItem *candle = candleAt(klineList, size_t(i));
        if (!candle)
            continue;
        while (cursor < events.size() && events[cursor]->date < candle->time)
            ++cursor;
        if (cursor < events.size() && events[cursor]->date == candle->time) {
            candle->exrightFlag = ExrightNotShown;
            candle->exrightDate = candle->time;
            ++cursor;
        }
    }
    return true;
}

void StockFunc::setMultiDayKLineExrightFlag(const ObjectList &klineList, int ktype,
                                            const ObjectList &exrightList) {
    std::vector<const NewExrightItem *> events = eventsOf(exrightList);
    size_t cursor = 0;
    for (KLineItem *candle : candlesOf(klineList)) {
        int period = TimeFunc::getWhichPeriod(ktype, candle->time);
        while (cursor < events.size() && TimeFunc::getWhichPeriod(ktype, events[cursor]->date) < period)
            ++cursor;
        if (cursor >= events.size())
            return;
        if (TimeFunc::getWhichPeriod(ktype, events[cursor]->date) == period) {
            candle->exrightFlag = ExrightNotShown;
            candle->exrightDate = events[cursor]->date;
            ++cursor;
        }
    }
}

void StockFunc::calcMultiDayKLine2(int ktype, ObjectList &resultKList, const ObjectList &dayKList,
                                   int fromIndex, int toIndex, int toDate, bool isAddObj) {
    Builder builder{resultKList, isAddObj};
    int previousPeriod = 0;
    int last = std::min(toIndex, int(dayKList.size()) - 1);
    for (int i = std::max(fromIndex, 0); i <= last; ++i) {
        const KLineItem *day = candleAt(dayKList, size_t(i));
        if (!day)
            continue;
        if (toDate > 0 && day->time >= toDate)
            break;
        int periodDay = 0, periodNumber = 0;
        if (!TimeFunc::getKLinePeriodDay(ktype, day->time, periodDay, periodNumber))
            continue;
        // The full period id, so that week 1 of one year never joins week 1 of another and a week
        // across a year end stays one.
        int period = TimeFunc::getWhichPeriod(ktype, day->time);
        if (period <= 0)
            continue;
        if (builder.building && periodDay != 1 && period == previousPeriod)
            builder.extend(*day);
        else
            builder.start(*day);
        previousPeriod = period;
    }
    builder.emit();
}

void StockFunc::calcMultiDayKLine(int ktype, ObjectList &resultKList, const ObjectList &dayKList,
                                  const KLineItem &savedLastDayKItem) {
    if (dayKList.empty()) {
        resultKList.clear();
        return;
    }
    const int lastIndex = int(dayKList.size()) - 1;
    if (resultKList.empty()) {
        calcMultiDayKLine2(ktype, resultKList, dayKList, 0, lastIndex, 0, true);
        return;
    }
    const KLineItem *lastDay = candleAt(dayKList, size_t(lastIndex));
    const bool lastUnchanged = lastDay && sameDay(*lastDay, savedLastDayKItem);
    int firstResultPeriod = periodOf(ktype, resultKList.front());
    if (periodOf(ktype, dayKList.front()) != firstResultPeriod) {
        auto first = dynamic_cast<const KLineItem *>(resultKList.front().get());
        int start = first ? TimeFunc::getBeginningOfPeriod(ktype, first->time) : 0;
        if (start > 0)
            calcMultiDayKLine2(ktype, resultKList, dayKList, 0, lastIndex, start, false);
    }
    if (lastUnchanged || !lastDay)
        return;

    const int lastPeriod = TimeFunc::getWhichPeriod(ktype, lastDay->time);
    resultKList.pop_back();
    while (!resultKList.empty() && periodOf(ktype, resultKList.back()) >= lastPeriod)
        resultKList.pop_back();
    if (!resultKList.empty()) {
        const int keptPeriod = periodOf(ktype, resultKList.back());
        for (int j = lastIndex; j >= 0; --j) {
            int period = periodOf(ktype, dayKList[size_t(j)]);
            if (period == keptPeriod) {
                calcMultiDayKLine2(ktype, resultKList, dayKList, j + 1, lastIndex, 0, true);
                return;
            }
            if (period < keptPeriod)
                break;
        }
    }
    resultKList.clear();
    calcMultiDayKLine2(ktype, resultKList, dayKList, 0, lastIndex, 0, true);
}
