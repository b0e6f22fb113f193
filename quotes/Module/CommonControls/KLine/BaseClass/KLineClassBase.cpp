#include "KLineClassBase.h"

#include "Common/StyleFunc.h"
#include "Common/StylePool.h"
#include "Common/TimeFunc.h"
#include "Common/Util.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Pitches are compared to four decimals.
constexpr float PitchPrecision = 10000;

const AddStockKLines *comparisonsOf(const KLineItem &candle) {
    return dynamic_cast<const AddStockKLines *>(candle.addStockInfo.get());
}

// The comparison stock's candle of the same time, or none.
const KLineItem *comparisonCandle(const KLineItem &candle, const std::string &code) {
    const AddStockKLines *comparisons = comparisonsOf(candle);
    if (!comparisons)
        return nullptr;
    auto entry = comparisons->items.find(code);
    return entry == comparisons->items.end() ? nullptr : entry->second.get();
}

} // namespace

KLineClassBase::KLineClassBase()
    : m_mainTechIndex(base::make<TechIndex>(TechIndex::MA, TechIndex::MainClass)),
      m_secondTechIndex(base::make<TechIndex>(TechIndex::VOL, TechIndex::SubClass)) {
    setFont(StyleFunc::getSysFont(14));
    setTechTitleFont(StyleFunc::getSysFont(13));
}

void KLineClassBase::recalc(TechIndex &tech) const {
    if (m_basicInf && m_klineList)
        tech.calculate(m_klineList, decimal());
}

void KLineClassBase::recalcLevel2(const base::Ref<ReplyList> &series) {
    if (m_level2TechIndex && m_klineList)
        m_level2TechIndex->calculate(series, m_klineList);
}

void KLineClassBase::Update(base::Ref<StockBasicInf> basicInf, base::Ref<KLineList> klineList, int32_t ktype,
                            int32_t) {
    m_basicInf = std::move(basicInf);
    m_klineList = std::move(klineList);
    if (!m_basicInf || !m_klineList)
        return;
    m_ktype = ktype;
    updateTick = TimeFunc::getCurTick();
    recalc(*m_mainTechIndex);
    recalc(*m_secondTechIndex);
    if (m_level2TechIndex) {
        auto kept = m_level2Dict.find(m_level2TechType);
        recalcLevel2(kept == m_level2Dict.end() ? nullptr : kept->second);
    }
}

int KLineClassBase::fitCount(float width) const {
    // A pitch restored from elsewhere may be anything; below 1 it counts as 1.
    return std::max(0, Util::truncToInt(width / std::max(m_ksize, MinPitch)));
}

void KLineClassBase::calcIndex(gfx::Rect rect) {
    int n = candleCount();
    int fit = fitCount(rect.width());
    if (fit >= n) {
        m_offset = 0;
        fit = n;
    } else if (n - m_offset < fit) {
        m_offset = n - fit;
    }
    // An empty list gives the empty window 0..−1.
    m_nIndexFrom = std::min(std::max(0, n - fit - m_offset), std::max(n - 1, 0));
    m_nIndexTo = std::min(std::max(0, n - m_offset - 1), n - 1);
}

int KLineClassBase::getMaxOffset() const {
    int n = candleCount();
    int fit = fitCount(m_rtMain.width());
    return fit >= n ? 0 : n - fit;
}

float KLineClassBase::getPriceMulti() const {
    return m_basicInf ? float(std::pow(10.0, std::clamp<int>(m_basicInf->decimal, 0, 10))) : 1;
}

void KLineClassBase::calcMaxMinPrice() {
    int32_t max = 0, min = INT32_MAX;
    int last = std::min(m_nIndexTo, candleCount() - 1);
    for (int i = std::max(m_nIndexFrom, 0); i <= last; ++i) {
        const KLineItem &candle = *(*m_klineList)[size_t(i)];
        max = std::max(max, candle.highprice);
        min = std::min(min, candle.lowprice);
        // In the fund line mode the cumulative net value is drawn too.
        if (m_mainTechType == TechIndex::FundLine) {
            max = std::max(max, candle.holdVol);
            min = std::min(min, candle.holdVol);
        }
    }
    float techMax = 0, techMin = 0;
    bool priceIndicator = m_mainTechType == TechIndex::MA || m_mainTechType == TechIndex::BOLL;
    if (priceIndicator && m_mainTechIndex->getMaxMinInfo(m_nIndexFrom, m_nIndexTo, techMax, techMin)) {
        float multi = getPriceMulti();
        if (techMax > 0 && techMax * multi > float(max))
            max = Util::truncToInt(techMax * multi);
        if (techMin > 0 && techMin * multi < float(min))
            min = Util::truncToInt(techMin * multi);
    }
    m_nMaxPrice = max;
    m_nMinPrice = min;
}

bool KLineClassBase::move(int offset) {
    int clamped = std::clamp(offset, 0, getMaxOffset());
    if (clamped == m_offset)
        return false;
    m_offset = clamped;
    return true;
}

bool KLineClassBase::zoom(float size) {
    float pitch = MinPitch;
    if (size >= 1) {
        long rounded = std::lround(size);
        if (rounded >= SmallestWidePitch) {
            if (rounded % 2 != 0)
                return false;
            pitch = float(std::min<long>(rounded, MaxPitch));
        }
    }
    if (std::lround(pitch * PitchPrecision) == std::lround(m_ksize * PitchPrecision))
        return false;
    m_ksize = pitch;
    return true;
}

bool KLineClassBase::needReqKLineForward() const {
    return getMaxOffset() - m_offset < ForwardRequestMargin;
}

bool KLineClassBase::canShowCursor(gfx::Point point) const {
    return m_rtMain.contains(point) && m_basicInf && candleCount() >= 1;
}

bool KLineClassBase::changeTechIndex(int32_t techType, const std::optional<base::Array> &paramArray) {
    switch (techType) {
    case TechIndex::BOLL:
    case TechIndex::MA:
        changeMainTechIndex(techType, paramArray);
        return true;
    case TechIndex::NoTech:
    case TechIndex::FundLine:
        changeMainTechIndex(techType);
        return false;
    case TechIndex::KeepTech:
        return false;
    default:
        m_secondTechType = techType;
        m_secondTechIndex->setTechType(techType, paramArray);
        recalc(*m_secondTechIndex);
        return true;
    }
}

void KLineClassBase::changeMainTechIndex(int32_t techType, const std::optional<base::Array> &paramArray) {
    m_mainTechType = techType;
    m_mainTechIndex->setTechType(techType, paramArray);
    recalc(*m_mainTechIndex);
}

base::Ref<gfx::Color> KLineClassBase::getTechColor(int index, int32_t techType) const {
    const StylePool &style = StylePool::Instance();
    if (techType != TechIndex::VOL)
        return style.getMAColor(index);
    return index >= 1 && index <= 4 ? style.getMAColor(index - 1) : style.clTextName;
}

void KLineClassBase::initLevel2TechIndex(int32_t techType) {
    m_bShowLevel2Tech = true;
    m_level2TechType = techType;
    m_level2TechIndex = base::make<KLineLevel2TechIndex>(techType);
    m_level2Dict.clear();
}

void KLineClassBase::changeLevel2TechIndex(int32_t techType) {
    if (techType == m_level2TechType || !m_level2TechIndex)
        return;
    m_level2TechType = techType;
    m_level2TechIndex->setTechType(techType);
    if (m_ktype != DayKType)
        return;
    // Every code recalculates, the BS points too, so no values of the previous code survive.
    auto kept = m_level2Dict.find(techType);
    recalcLevel2(kept == m_level2Dict.end() ? nullptr : kept->second);
}

void KLineClassBase::resetLevel2TechIndex(int32_t techType, const base::Ref<ReplyList> &series) {
    if (!m_level2TechIndex)
        return;
    if (techType != m_level2TechType) {
        m_level2TechType = techType;
        m_level2TechIndex->setTechType(techType);
        if (m_ktype != DayKType)
            return;
    }
    recalcLevel2(series);
}

bool KLineClassBase::UpdateLevel2TechIndex(int32_t techType, const base::Ref<ReplyList> &series) {
    if (!m_level2TechIndex || m_ktype != DayKType || techType != m_level2TechType)
        return false;
    recalcLevel2(series);
    if (series)
        m_level2Dict[techType] = series;
    return true;
}

void KLineClassBase::OpenAddStocksMode() {
    if (m_isAddStocksMode)
        return;
    m_isAddStocksMode = true;
    m_mainTechType = TechIndex::NoTech;
}

void KLineClassBase::CloseAddStocksMode() {
    m_isAddStocksMode = false;
    m_mainTechType = TechIndex::MA;
    m_mainTechIndex->setTechType(TechIndex::MA);
    if (candleCount() > 0) {
        clearKItemMainTechIndex();
        recalc(*m_mainTechIndex);
    }
}

void KLineClassBase::clearKItemMainTechIndex() {
    if (!m_klineList)
        return;
    for (const base::Ref<KLineItem> &candle : *m_klineList)
        candle->addStockInfo = nullptr;
}

void KLineClassBase::calcAddStock_MaxMinPrice(int indexFrom, int indexTo) {
    int first = std::max(indexFrom, 0), last = std::min(indexTo, candleCount() - 1);
    size_t stocks = m_multiStockList.size();
    // The base candle: the first on which this and every comparison stock have an open.
    const KLineItem *base = nullptr;
    for (int i = first; i <= last && !base; ++i) {
        const KLineItem &candle = *(*m_klineList)[size_t(i)];
        const AddStockKLines *comparisons = comparisonsOf(candle);
        if (candle.openprice <= 0 || !comparisons || comparisons->items.size() != stocks)
            continue;
        bool allOpen =
            std::all_of(comparisons->items.begin(), comparisons->items.end(),
                        [](const auto &entry) { return entry.second && entry.second->openprice > 0; });
        if (allOpen)
            base = &candle;
    }
    if (!base)
        return;

    double p = base->openprice;
    double hi = m_nMaxPrice / p, lo = m_nMinPrice / p;
    for (base::Value &stock : m_multiStockList) {
        base::Dict *dict = stock.dict();
        std::string code = dict ? dict->get("code").stringValue() : "";
        if (code.empty() || !dict->get("basicInf").objectAs<StockBasicInf>())
            continue;
        int32_t high = 0, low = INT32_MAX;
        for (int i = first; i <= last; ++i) {
            if (const KLineItem *other = comparisonCandle(*(*m_klineList)[size_t(i)], code)) {
                high = std::max(high, other->highprice);
                low = std::min(low, other->lowprice);
            }
        }
        const KLineItem *onBase = comparisonCandle(*base, code);
        int32_t q = onBase ? onBase->openprice : 0;
        if (q > 0) {
            dict->set("FirstOpenPrice", q);
            hi = std::max(hi, high / double(q));
            lo = std::min(lo, low / double(q));
        }
    }
    m_nMaxPrice = Util::truncToInt(p * hi);
    m_nMinPrice = Util::truncToInt(p * lo);
    for (base::Value &stock : m_multiStockList) {
        base::Dict *dict = stock.dict();
        double f = dict ? dict->get("FirstOpenPrice").doubleValue() : 0;
        if (f > 0) {
            dict->set("MaxPrice", Util::truncToInt(hi * f));
            dict->set("MinPrice", Util::truncToInt(lo * f));
        }
    }
}
