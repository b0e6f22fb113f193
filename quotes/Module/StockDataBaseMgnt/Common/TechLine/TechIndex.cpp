#include "TechIndex.h"

#include "Common/FileFunc.h"
#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"

#include <algorithm>
#include <cmath>

namespace {

using Sub = TechLineSubItem;

// Capacity of a record created on a candle: the most outputs an indicator has.
constexpr int RecordCapacity = 5;
// KDJ's and RSI's fixed bounds, and the divisor KDJ reads prices with.
constexpr float PercentMax = 100;
constexpr float KDJStart = 50;
constexpr float KDJPriceDivisor = 1000;
constexpr float FlatRange = 0.0001f;
// DMA's difference is shown in hundredths whatever the security's decimals.
constexpr float DMADivisor = 100;

struct TechKind {
    int32_t type;
    const char *name;
    std::vector<std::string> outputs;
    std::array<float, 4> defaults;
};

const std::vector<TechKind> &techKinds() {
    static const std::vector<TechKind> kinds = {
        {TechIndex::VOL, "VOL", {"isRise", "VOL", "MA1", "MA2", "MA3"}, {5, 10, 20, 0}},
        {TechIndex::MACD, "MACD", {"DIFF", "DEA", "MACD"}, {12, 26, 9, 0}},
        {TechIndex::KDJ, "KDJ", {"K", "D", "J"}, {9, 3, 3, 0}},
        {TechIndex::RSI, "RSI", {"RSI1", "RSI2", "RSI3"}, {6, 12, 24, 0}},
        {TechIndex::BIAS, "BIAS", {"BIAS1", "BIAS2", "BIAS3"}, {6, 12, 24, 0}},
        {TechIndex::CCI, "CCI", {"CCI"}, {14, TechIndex::CCIFactor, TechIndex::CCIThirdParam, 0}},
        {TechIndex::BOLL, "BOLL", {"MID", "UPPER", "LOWER"}, {26, 2, 0, 0}},
        {TechIndex::WR, "WR", {"WR1", "WR2"}, {14, 28, 0, 0}},
        {TechIndex::DMA, "DMA", {"DDD", "AMA"}, {10, 50, 0, 0}},
        {TechIndex::MA, "MA", {"MA1", "MA2", "MA3", "MA4"}, {5, 10, 20, 30}},
    };
    return kinds;
}

const TechKind *findKind(int32_t type) {
    for (const TechKind &kind : techKinds())
        if (kind.type == type)
            return &kind;
    return nullptr;
}

// An output line that stays hidden until an earlier candle held a value: its first value is
// hidden, so its first segment joins the second and third candles that have one.
class ShownFromNext {
public:
    explicit ShownFromNext(bool positiveOnly) : positiveOnly_(positiveOnly) {}
    int32_t type(float value) {
        int32_t type = seen_ ? Sub::Line : Sub::Hidden;
        if (positiveOnly_ ? value > 0 : value != 0)
            seen_ = true;
        return type;
    }

private:
    bool positiveOnly_;
    bool seen_ = false;
};

// Not-a-number (and infinite) results are kept hidden at 0.
void setChecked(TechLineItem &record, int index, int32_t type, float value) {
    if (std::isfinite(value))
        record.setSubItem(index, type, value);
    else
        record.setSubItem(index, Sub::Hidden, 0);
}

// The best value of the sliding window of `period` candles ending at each candle (fewer at the
// start), into `out`: the candles fall into blocks of `period`, and a window spans the end of one
// block and the start of the next, so it is the better of the best from its first candle to the
// end of that block (`suffix`) and the best from its last candle's block start. Every candle costs
// two comparisons and no branch, where a queue of candidates would mispredict on noisy prices.
template <class Better>
void windowBest(const std::vector<int32_t> &column, int period, std::vector<int32_t> &suffix,
                std::vector<int32_t> &out) {
    Better better;
    int n = int(column.size());
    // A window longer than the candles is the same as one of all of them.
    period = std::min(period, n);
    for (int blockEnd = (n - 1) / period * period + period; blockEnd > 0; blockEnd -= period) {
        int last = std::min(blockEnd, n) - 1;
        suffix[size_t(last)] = column[size_t(last)];
        for (int i = last - 1; i >= blockEnd - period; --i)
            suffix[size_t(i)] = better(column[size_t(i)], suffix[size_t(i + 1)]);
    }
    for (int blockStart = 0; blockStart < n; blockStart += period) {
        int32_t fromBlockStart = column[size_t(blockStart)];
        int end = std::min(blockStart + period, n);
        for (int i = blockStart; i < end; ++i) {
            fromBlockStart = better(fromBlockStart, column[size_t(i)]);
            // The first block's windows start at candle 0, inside the block.
            out[size_t(i)] =
                blockStart == 0 ? fromBlockStart : better(suffix[size_t(i - period + 1)], fromBlockStart);
        }
    }
}

struct Higher {
    int32_t operator()(int32_t a, int32_t b) const { return std::max(a, b); }
};
struct Lower {
    int32_t operator()(int32_t a, int32_t b) const { return std::min(a, b); }
};

// A moving sum over the last n values of a column, exact in 64 bits.
class MovingSum {
public:
    MovingSum(const std::vector<int32_t> &column, int n) : column_(column), n_(n) {}
    // Adds value i and drops the one that leaves the window; the number of values in it.
    int add(int i) {
        sum_ += column_[size_t(i)];
        if (i >= n_)
            sum_ -= column_[size_t(i - n_)];
        return std::min(i + 1, n_);
    }
    int64_t sum() const { return sum_; }

private:
    const std::vector<int32_t> &column_;
    int n_;
    int64_t sum_ = 0;
};

float mean(int64_t sum, int count) {
    return float(double(sum) / count);
}

float powerOfTen(int digits) {
    return float(std::pow(10.0, std::clamp(digits, 0, 10)));
}

} // namespace

struct TechIndex::Workspace {
    // Grown to the longest list calculated so far and never shrunk, so that neither a
    // recalculation nor a new indicator allocates them again.
    std::vector<int32_t> open, high, low, close, vol;
    std::vector<KLineItem *> candles;
    std::array<std::vector<int32_t>, 5> windows;
    std::vector<float> values;
    // The records made for the candles of this calculation with an empty slot, handed out in order.
    std::shared_ptr<TechLineItem[]> newRecords;
    size_t newRecordCount = 0;
    size_t newRecordsTaken = 0;
};

TechIndex::TechIndex(int32_t techType, int32_t techClass) {
    m_techType = techType;
    m_techClass = techClass;
    setTechType(techType);
}

std::string TechIndex::getTechName(int32_t techType) {
    const TechKind *kind = findKind(techType);
    return kind ? kind->name : "";
}

int32_t TechIndex::getTechType(std::string_view name) {
    if (name == "W&R")
        return WR;
    if (name == "WR")
        return NoTech;
    for (const TechKind &kind : techKinds())
        if (name == kind.name)
            return kind.type;
    return NoTech;
}

bool TechIndex::cannotDraw(int32_t techType) {
    return techType == NoTech || techType == FundLine;
}

int TechIndex::getLeftTextDigits(int32_t techType) {
    return techType == MACD ? 3 : 2;
}

int TechIndex::getTopTextDigits(int32_t techType) {
    return techType == VOL ? 0 : 3;
}

float TechIndex::param(int number) const {
    switch (number) {
    case 1:
        return m_param1;
    case 2:
        return m_param2;
    case 3:
        return m_param3;
    case 4:
        return m_param4;
    default:
        return 0;
    }
}

void TechIndex::setTechType(int32_t techType, const std::optional<base::Array> &paramArray) {
    m_techType = techType;
    bool applied = paramArray ? setParams(*paramArray) : readParamsFromFile();
    if (!applied)
        setDefaultParams();
    if (techType == CCI) {
        m_param2 = CCIFactor;
        m_param3 = CCIThirdParam;
    }
    setOutputs();
}

void TechIndex::setDefaultParams() {
    // Every parameter is set, so nothing of an earlier indicator type survives into the title.
    std::array<float, 4> defaults{};
    if (const TechKind *kind = findKind(m_techType))
        defaults = kind->defaults;
    m_param1 = defaults[0];
    m_param2 = defaults[1];
    m_param3 = defaults[2];
    m_param4 = defaults[3];
}

void TechIndex::setOutputs() {
    const TechKind *kind = findKind(m_techType);
    m_outputParams = kind ? kind->outputs : std::vector<std::string>();
}

bool TechIndex::setParams(const base::Array &paramArray) {
    m_param1 = m_param2 = m_param3 = m_param4 = 0;
    float *params[] = {&m_param1, &m_param2, &m_param3, &m_param4};
    size_t count = std::min<size_t>(paramArray.size(), 4);
    for (size_t i = 0; i < count; ++i) {
        int64_t value = paramArray[i]["Parameter"].intValue();
        if (value <= 0)
            return false;
        *params[i] = float(value);
    }
    return !paramArray.empty();
}

bool TechIndex::readParamsFromFile() {
    if (cannotDraw(m_techType))
        return false;
    std::string userFile = FileFunc::getFilePath(UserSettingsFile);
    std::optional<std::string> path;
    if (base::FileManager::exists(userFile))
        path = userFile;
    else
        path = base::Bundle::main().pathFor(BundleSettingsName, "plist");
    if (!path)
        return false;
    std::optional<base::Value> list = base::PropertyList::read(*path);
    const base::Array *records = list ? list->array() : nullptr;
    if (!records)
        return false;
    std::string name = getTechName(m_techType);
    for (const base::Value &record : *records) {
        // The settings list names Williams %R by its button title, so a record is matched by the
        // code its name stands for as well as by the engine's name.
        std::string techName = record["TechName"].stringValue();
        if (techName != name && getTechType(techName) != m_techType)
            continue;
        base::Value params = record["Params"];
        return params.array() && setParams(*params.array());
    }
    return false;
}

std::string TechIndex::getParamsText() const {
    std::string text = getTechName(m_techType) + "(" + std::to_string(int(m_param1));
    for (float p : {m_param2, m_param3, m_param4})
        if (p > 0)
            text += "," + std::to_string(int(p));
    return text + ")";
}

bool TechIndex::getMaxMinInfo(int indexFrom, int indexTo, float &max, float &min) const {
    switch (m_techType) {
    case VOL:
        defaultRange(indexFrom, indexTo, max, min);
        min = 0;
        return true;
    case MACD:
        symmetricRange(indexFrom, indexTo, max, min);
        return true;
    case KDJ:
    case RSI:
        max = PercentMax;
        min = 0;
        return false;
    case BIAS:
    case CCI:
    case WR:
    case DMA:
    case BOLL:
    case MA:
        defaultRange(indexFrom, indexTo, max, min);
        return true;
    default:
        return false;
    }
}

void TechIndex::calculate(const base::Ref<const KLineList> &klineList, int digits, int) {
    if (!klineList)
        return;
    m_klineList = klineList;
    if (klineList->empty() || m_outputParams.empty())
        return;
    loadCandles(*klineList);
    float priceMulti = powerOfTen(digits);
    switch (m_techType) {
    case VOL:
        calcVOL();
        break;
    case MA:
        calcMA(priceMulti);
        break;
    case MACD:
        calcMACD(priceMulti);
        break;
    case KDJ:
        calcKDJ();
        break;
    case RSI:
        calcRSI();
        break;
    case BIAS:
        calcBIAS();
        break;
    case CCI:
        calcCCI();
        break;
    case BOLL:
        calcBOLL(priceMulti);
        break;
    case WR:
        calcWR();
        break;
    case DMA:
        calcDMA();
        break;
    default:
        break;
    }
    // The candles now hold the block; the workspace lets go of it.
    m_work->newRecords.reset();
    m_work = nullptr;
}

void TechIndex::loadCandles(const KLineList &list) {
    thread_local Workspace workspace;
    m_work = &workspace;
    size_t n = list.size();
    for (auto *column : {&m_work->open, &m_work->high, &m_work->low, &m_work->close, &m_work->vol})
        column->resize(n);
    for (auto &window : m_work->windows)
        window.resize(n);
    m_work->candles.resize(n);
    m_work->values.resize(n);
    for (size_t i = 0; i < n; ++i) {
        KLineItem &candle = *list[i];
        m_work->open[i] = candle.openprice;
        m_work->high[i] = candle.highprice;
        m_work->low[i] = candle.lowprice;
        m_work->close[i] = candle.closeprice;
        m_work->vol[i] = candle.vol;
        m_work->candles[i] = &candle;
    }
    m_work->newRecordCount = m_work->newRecordsTaken = 0;
}

inline TechLineItem &TechIndex::recordOf(size_t i) {
    base::Ref<base::Object> &slot = slotOf(*m_work->candles[i]);
    if (holdsRecord(slot))
        return static_cast<TechLineItem &>(*slot);
    return newRecordIn(i, slot);
}

TechLineItem &TechIndex::newRecordIn(size_t i, base::Ref<base::Object> &slot) {
    if (m_work->newRecordsTaken == m_work->newRecordCount) {
        // One block for this candle and every later one with an empty slot. A slot holding
        // something else than a record is rare, and gets a record of its own.
        size_t empty = 0;
        for (size_t k = i; k < m_work->candles.size(); ++k)
            empty += !slotOf(*m_work->candles[k]);
        if (!empty)
            return newRecord(slot, RecordCapacity);
        m_work->newRecords = std::make_shared<TechLineItem[]>(empty, TechLineItem(RecordCapacity));
        m_work->newRecordCount = empty;
        m_work->newRecordsTaken = 0;
    }
    // The candle's reference keeps the whole block alive.
    TechLineItem &record = m_work->newRecords[m_work->newRecordsTaken++];
    slot = base::Ref<base::Object>(m_work->newRecords, &record);
    return record;
}

// Each calculation walks the candles once and fills a candle's whole record in one visit.

void TechIndex::calcVOL() {
    int periods[] = {int(m_param1), int(m_param2), int(m_param3)};
    MovingSum sums[] = {{m_work->vol, std::max(periods[0], 1)},
                        {m_work->vol, std::max(periods[1], 1)},
                        {m_work->vol, std::max(periods[2], 1)}};
    ShownFromNext shown[] = {ShownFromNext(true), ShownFromNext(true), ShownFromNext(true)};
    for (int i = 0; i < int(m_work->candles.size()); ++i) {
        TechLineItem &record = recordOf(size_t(i));
        record.setSubItem(0, Sub::RiseFlag, m_work->close[size_t(i)] >= m_work->open[size_t(i)] ? 1 : 0);
        record.setSubItem(1, Sub::VolBar, float(m_work->vol[size_t(i)]));
        for (int j = 0; j < 3; ++j) {
            sums[j].add(i);
            float average = periods[j] > 0 && i >= periods[j] - 1 ? mean(sums[j].sum(), periods[j]) : 0;
            record.setSubItem(2 + j, shown[j].type(average), average);
        }
    }
}

void TechIndex::calcMA(float priceMulti) {
    int periods[] = {int(m_param1), int(m_param2), int(m_param3), int(m_param4)};
    MovingSum sums[] = {{m_work->close, std::max(periods[0], 1)},
                        {m_work->close, std::max(periods[1], 1)},
                        {m_work->close, std::max(periods[2], 1)},
                        {m_work->close, std::max(periods[3], 1)}};
    ShownFromNext shown[] = {ShownFromNext(true), ShownFromNext(true), ShownFromNext(true),
                             ShownFromNext(true)};
    for (int i = 0; i < int(m_work->candles.size()); ++i) {
        TechLineItem &record = recordOf(size_t(i));
        for (int j = 0; j < 4; ++j) {
            sums[j].add(i);
            float average = periods[j] > 0 && i >= periods[j] - 1 ? mean(sums[j].sum(), periods[j]) : 0;
            record.setSubItem(j, shown[j].type(average), average / priceMulti);
        }
    }
}

void TechIndex::calcMACD(float priceMulti) {
    float s = float(int(m_param1)), l = float(int(m_param2)), m = float(int(m_param3));
    float emaS = 0, emaL = 0, dea = 0;
    for (size_t i = 0; i < m_work->candles.size(); ++i) {
        float c = float(m_work->close[i]) / priceMulti;
        float diff = 0;
        if (i == 0) {
            emaS = emaL = c;
        } else {
            emaS = emaS * (s - 1) / (s + 1) + 2 * c / (s + 1);
            emaL = emaL * (l - 1) / (l + 1) + 2 * c / (l + 1);
            diff = emaS - emaL;
            dea = dea * (m - 1) / (m + 1) + 2 * diff / (m + 1);
        }
        TechLineItem &record = recordOf(i);
        setChecked(record, 0, Sub::Line, diff);
        setChecked(record, 1, Sub::Line, dea);
        setChecked(record, 2, Sub::Stick, 2 * (diff - dea));
    }
}

void TechIndex::calcKDJ() {
    int period = std::max(int(m_param1), 1);
    float m1 = m_param2, m2 = m_param3;
    float k = KDJStart, d = KDJStart;
    std::vector<int32_t> &highs = m_work->windows[0], &lows = m_work->windows[1];
    windowBest<Higher>(m_work->high, period, m_work->windows[2], highs);
    windowBest<Lower>(m_work->low, period, m_work->windows[2], lows);
    for (int i = 0; i < int(m_work->candles.size()); ++i) {
        float h = float(std::max(highs[size_t(i)], 0)) / KDJPriceDivisor;
        float lo = float(lows[size_t(i)]) / KDJPriceDivisor;
        float rsv = h - lo < FlatRange
                        ? PercentMax
                        : (float(m_work->close[size_t(i)]) / KDJPriceDivisor - lo) * PercentMax / (h - lo);
        k = k * (m1 - 1) / m1 + rsv / m1;
        d = d * (m2 - 1) / m2 + k / m2;
        TechLineItem &record = recordOf(size_t(i));
        setChecked(record, 0, Sub::Line, k);
        setChecked(record, 1, Sub::Line, d);
        setChecked(record, 2, Sub::Line, 3 * k - 2 * d);
    }
}

void TechIndex::calcRSI() {
    int n = int(m_work->candles.size());
    // Rises and falls of each candle against the one before; candle 0 has neither.
    std::vector<int32_t> &ups = m_work->windows[0], &downs = m_work->windows[1];
    for (int i = 0; i < n; ++i) {
        int32_t change = i == 0 ? 0 : m_work->close[size_t(i)] - m_work->close[size_t(i - 1)];
        ups[size_t(i)] = std::max(change, 0);
        downs[size_t(i)] = std::max(-change, 0);
    }
    int periods[] = {int(m_param1), int(m_param2), int(m_param3)};
    MovingSum upSums[] = {
        {ups, std::max(periods[0], 1)}, {ups, std::max(periods[1], 1)}, {ups, std::max(periods[2], 1)}};
    MovingSum downSums[] = {
        {downs, std::max(periods[0], 1)}, {downs, std::max(periods[1], 1)}, {downs, std::max(periods[2], 1)}};
    ShownFromNext shown[] = {ShownFromNext(true), ShownFromNext(true), ShownFromNext(true)};
    float values[] = {0, 0, 0};
    for (int i = 0; i < n; ++i) {
        TechLineItem &record = recordOf(size_t(i));
        for (int j = 0; j < 3; ++j) {
            upSums[j].add(i);
            downSums[j].add(i);
            // N changes back reach candle i − N, which must exist; until then the value stays
            // what it was.
            if (periods[j] > 0 && i >= periods[j]) {
                float u = float(upSums[j].sum()), dn = float(downSums[j].sum());
                values[j] = u + dn < FlatRange ? PercentMax : PercentMax * u / (u + dn);
            }
            record.setSubItem(j, shown[j].type(values[j]), values[j]);
        }
    }
}

void TechIndex::calcBIAS() {
    int periods[] = {int(m_param1), int(m_param2), int(m_param3)};
    MovingSum sums[] = {{m_work->close, std::max(periods[0], 1)},
                        {m_work->close, std::max(periods[1], 1)},
                        {m_work->close, std::max(periods[2], 1)}};
    for (int i = 0; i < int(m_work->candles.size()); ++i) {
        TechLineItem &record = recordOf(size_t(i));
        for (int j = 0; j < 3; ++j) {
            int count = sums[j].add(i);
            float average = periods[j] > 0 ? mean(sums[j].sum(), count) : 0;
            setChecked(record, j, Sub::Line, (float(m_work->close[size_t(i)]) - average) / average * 100);
        }
    }
}

void TechIndex::calcCCI() {
    int n = int(m_work->candles.size());
    int period = int(m_param1);
    // Typical prices, truncated as whole numbers.
    std::vector<int32_t> &typical = m_work->windows[0];
    for (int i = 0; i < n; ++i)
        typical[size_t(i)] = int32_t(
            (int64_t(m_work->high[size_t(i)]) + m_work->low[size_t(i)] + m_work->close[size_t(i)]) / 3);
    MovingSum sum(typical, std::max(period, 1));
    for (int i = 0; i < n; ++i) {
        int count = sum.add(i);
        float value = NAN;
        if (period > 0) {
            float average = mean(sum.sum(), count);
            float deviation = 0;
            for (int k = i; k > i - count; --k)
                deviation += std::fabs(float(typical[size_t(k)]) - average);
            deviation /= float(count);
            value = (float(typical[size_t(i)]) - average) / (m_param2 * deviation);
        }
        setChecked(recordOf(size_t(i)), 0, Sub::Line, value);
    }
}

void TechIndex::calcBOLL(float priceMulti) {
    int n = int(m_work->candles.size());
    int period = int(m_param1);
    float width = m_param2;
    bool shown = false;
    int64_t sum = 0;
    __int128 squares = 0;
    for (int i = 0; i < n; ++i) {
        int64_t close = m_work->close[size_t(i)];
        sum += close;
        squares += __int128(close) * close;
        float mid = 0, upper = 0, lower = 0;
        // The first band is at candle N, one candle after a moving average of the same period.
        if (period > 0 && i >= period) {
            int64_t leaving = m_work->close[size_t(i - period)];
            sum -= leaving;
            squares -= __int128(leaving) * leaving;
            // The window's variance from exact sums: (N·Σc² − (Σc)²) / N².
            __int128 spread = __int128(period) * squares - __int128(sum) * sum;
            float sd = float(std::sqrt(double(spread)) / period);
            mid = mean(sum, period);
            upper = (mid + width * sd) / priceMulti;
            lower = (mid - width * sd) / priceMulti;
            mid /= priceMulti;
        }
        if (mid != 0 || upper != 0 || lower != 0)
            shown = true;
        int32_t type = shown ? Sub::Line : Sub::Hidden;
        TechLineItem &record = recordOf(size_t(i));
        setChecked(record, 0, type, mid);
        setChecked(record, 1, type, upper);
        setChecked(record, 2, type, lower);
    }
}

void TechIndex::calcWR() {
    int periods[] = {int(m_param1), int(m_param2)};
    std::vector<int32_t> *highs[] = {&m_work->windows[0], &m_work->windows[1]};
    std::vector<int32_t> *lows[] = {&m_work->windows[2], &m_work->windows[3]};
    for (int j = 0; j < 2; ++j) {
        if (periods[j] > 0) {
            windowBest<Higher>(m_work->high, periods[j], m_work->windows[4], *highs[j]);
            windowBest<Lower>(m_work->low, periods[j], m_work->windows[4], *lows[j]);
        }
    }
    ShownFromNext shown[] = {ShownFromNext(false), ShownFromNext(false)};
    for (int i = 0; i < int(m_work->candles.size()); ++i) {
        TechLineItem &record = recordOf(size_t(i));
        for (int j = 0; j < 2; ++j) {
            float value = 0;
            if (periods[j] > 0 && i >= periods[j]) {
                int64_t hh = std::max((*highs[j])[size_t(i)], 0);
                int64_t ll = (*lows[j])[size_t(i)];
                // A close outside its candle's range can make the window flat: no division then.
                if (hh != ll)
                    value = float(hh - m_work->close[size_t(i)]) * 100 / float(hh - ll);
            }
            record.setSubItem(j, shown[j].type(value), value);
        }
    }
}

void TechIndex::calcDMA() {
    int n = int(m_work->candles.size());
    int shortPeriod = int(m_param1), longPeriod = int(m_param2);
    std::vector<float> &ddd = m_work->values;
    MovingSum shortSum(m_work->close, std::max(shortPeriod, 1)),
        longSum(m_work->close, std::max(longPeriod, 1));
    ShownFromNext shownDDD(false), shownAMA(false);
    for (int i = 0; i < n; ++i) {
        // A short period longer than the candles so far averages over the candles that exist.
        int shortCount = shortSum.add(i);
        int longCount = longSum.add(i);
        ddd[size_t(i)] = 0;
        if (shortPeriod > 0 && longPeriod > 0 && i >= longPeriod)
            ddd[size_t(i)] = (mean(shortSum.sum(), shortCount) - mean(longSum.sum(), longCount)) / DMADivisor;
        float ama = 0;
        if (longPeriod > 0 && i >= longPeriod + DMAAverageLength) {
            for (int k = i - DMAAverageLength + 1; k < i; ++k)
                ama += ddd[size_t(k)];
            ama = (ama + ddd[size_t(i)]) / DMAAverageLength;
        }
        TechLineItem &record = recordOf(size_t(i));
        record.setSubItem(0, shownDDD.type(ddd[size_t(i)]), ddd[size_t(i)]);
        record.setSubItem(1, shownAMA.type(ama), ama);
    }
}
