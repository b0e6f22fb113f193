#include "MinLineClassBase.h"

#include "Common/StyleFunc.h"
#include "Common/StylePool.h"
#include "Common/TimeFunc.h"
#include "Common/Util.h"
#include "DataBase/MarketTimes/MarketTimes.h"

#include <algorithm>
#include <cmath>

namespace {

// Minute times of a session over midnight continue past 2400.
constexpr int32_t NextDay = 2400;

} // namespace

MinLineClassBase::MinLineClassBase() {
    setFont(StyleFunc::getSysFont(14));
    setTechTitleFont(StyleFunc::getSysFont(13));
}

bool MinLineClassBase::Update(base::Ref<StockQuoteInf> basicInf, base::Ref<MinLineList> mlineList) {
    m_basicInf = std::move(basicInf);
    m_mlineList = std::move(mlineList);
    return recalcData();
}

bool MinLineClassBase::UpdateBasicInf(base::Ref<StockQuoteInf> basicInf) {
    m_basicInf = std::move(basicInf);
    return recalcData();
}

bool MinLineClassBase::UpdateMinLine(base::Ref<MinLineList> mlineList) {
    m_mlineList = std::move(mlineList);
    return recalcData();
}

bool MinLineClassBase::UpdateIndexRiseFallLine(const std::string &code, base::Ref<ReplyList> rspArray) {
    if (code.empty() || !m_basicInf || code != m_basicInf->code)
        return false;
    m_indexRiseFallLineList = std::move(rspArray);
    return true;
}

bool MinLineClassBase::recalcData() {
    if (!m_basicInf || !m_mlineList || isSameWithPriorData())
        return false;
    saveLastData();
    updateTick = TimeFunc::getCurTick();
    // A market entry without sessions would count no minutes and divide every position by 0.
    m_maxMinCount = MarketTimes::Instance().getMinCount(m_basicInf->code);
    if (m_maxMinCount < 1)
        m_maxMinCount = DefaultMinCount;
    calcMaxMinPriceVol();
    return true;
}

std::vector<MinLineClassBase::ScaleMark> MinLineClassBase::scaleMarks(int n) const {
    std::vector<ScaleMark> marks;
    if (!m_basicInf)
        return marks;
    const StylePool &style = StylePool::Instance();
    float h = textHeight();
    for (int i = 0; i <= n; ++i) {
        int32_t value = i == 0 ? m_nMaxPrice
                        : i == n
                            ? m_nMinPrice
                            : m_nMaxPrice - int32_t(std::trunc(double(m_nMaxPrice - m_nMinPrice) / n * i));
        float top = i == 0   ? m_rtMain.y()
                    : i == n ? m_rtMain.maxY() - h
                             : m_rtMain.y() + m_rtMain.height() / float(n) * float(i) - h / 2;
        bool middle = i == n / 2;
        base::Ref<gfx::Color> color = middle      ? gfx::Color::white()
                                      : i < n / 2 ? style.clTextRise
                                                  : style.clTextFall;
        marks.push_back({value, top, color, middle});
    }
    return marks;
}

bool MinLineClassBase::isSameWithPriorData() const {
    const MinLineCheckFields &prior = m_priorData;
    if (!m_basicInf != prior.isNilBasicInf || !m_mlineList != prior.isNilMinLineList)
        return false;
    // Two missing codes count as different.
    if (m_basicInf->code.empty() || !prior.code || m_basicInf->code != *prior.code)
        return false;
    const StockQuoteInf &info = *m_basicInf;
    if (info.openprice != prior.openprice || info.closeprice != prior.closeprice ||
        info.highprice != prior.highprice || info.lowprice != prior.lowprice)
        return false;
    if (pointCount() != prior.mcount)
        return false;
    if (m_mlineList->empty())
        return true;
    // Only the newest minute is compared: the refreshes only ever change the end of the list.
    const StkMinLineItem &last = *m_mlineList->back();
    return last.time == prior.lastMTime && last.price == prior.lastMPrice && last.ave == prior.lastMAve &&
           last.vol == prior.lastMVol;
}

void MinLineClassBase::saveLastData() {
    MinLineCheckFields &prior = m_priorData;
    prior.clear();
    prior.isNilBasicInf = !m_basicInf;
    prior.isNilMinLineList = !m_mlineList;
    if (m_basicInf) {
        if (!m_basicInf->code.empty())
            prior.code = m_basicInf->code;
        prior.openprice = m_basicInf->openprice;
        prior.closeprice = m_basicInf->closeprice;
        prior.highprice = m_basicInf->highprice;
        prior.lowprice = m_basicInf->lowprice;
    }
    prior.mcount = pointCount();
    if (pointCount() > 0) {
        const StkMinLineItem &last = *m_mlineList->back();
        prior.lastMTime = last.time;
        prior.lastMPrice = last.price;
        prior.lastMAve = last.ave;
        prior.lastMVol = last.vol;
    }
}

void MinLineClassBase::calcMaxMinPriceVol() {
    if (!m_basicInf)
        return;
    int32_t close = m_basicInf->closeprice, high = m_basicInf->highprice, low = m_basicInf->lowprice;
    int32_t maxVol = 0;
    if (m_mlineList) {
        for (const base::Ref<StkMinLineItem> &point : *m_mlineList) {
            high = std::max({high, point->ave, point->price});
            if (point->price >= 1 && point->ave >= 1)
                low = std::min({low, point->price, point->ave});
            maxVol = std::max(maxVol, point->vol);
        }
    }
    int32_t max = 0, min = 0;
    auto fallback = [&] {
        max = Util::truncToInt(close * (1 + FallbackRate));
        min = Util::truncToInt(close * (1 - FallbackRate));
    };
    if (m_nAxisMode == HighLowAxis) {
        max = std::max(high, close);
        min = std::min(low, close);
    } else if (high >= 1 && low >= 1) {
        bool isIndex = m_basicInf->type == 0;
        float minRange = isIndex ? IndexMinRange : StockMinRange;
        float range = minRange;
        if (close > 0) {
            range = float(std::max(int64_t(high) - close, int64_t(close) - low)) / float(close) * 100;
            if (isIndex)
                range = std::ceil(range);
            range = std::max(range, minRange);
        }
        double m = std::trunc(double(float(close) * range) / 100);
        max = Util::truncToInt(close + m);
        min = Util::truncToInt(close - m);
    } else {
        fallback();
    }
    if (pointCount() <= 1 && close >= 1)
        fallback();
    m_nMaxPrice = max;
    m_nMinPrice = min;
    m_nMaxVol = maxVol;
    m_dMaxPriceRate = close >= 1 ? float(double(max) / close - 1) : 0;
}

void MinLineClassBase::setMaxPriceRate(float rate) {
    if (!m_basicInf)
        return;
    // Rounded, not cut: the rate is a single-precision quotient, and a cut would turn the
    // 3 % of 10.30 against 10.00 into a scale topped at 10.29.
    double close = m_basicInf->closeprice;
    m_nMaxPrice = Util::truncToInt(std::round(close * (1 + double(rate))));
    m_nMinPrice = Util::truncToInt(std::round(close * (1 - double(rate))));
}

void MinLineClassBase::calcXPos(gfx::Rect rect) {
    m_minLineXPosList.clear();
    if (!m_basicInf || !m_mlineList)
        return;
    float n = float(m_maxMinCount);
    int count = std::min(m_maxMinCount, pointCount());
    auto market = MarketTimes::Instance().getItem(m_basicInf->code);
    if (!market || market->times.empty()) {
        for (int i = 0; i < count; ++i)
            m_minLineXPosList.push_back({i, rect.x() + float(i) * rect.width() / n});
        return;
    }
    float left = rect.x() + 1, right = rect.x() + rect.width() - 1;
    auto spanX = [&](int minutes) { return Util::mappingAsixXValue(n, 0, float(minutes), left, right); };
    int before = 0, i = 0;
    for (const TradeTimeItem &session : market->times) {
        if (i >= count)
            break;
        int minutes = session.getMinCount();
        float sessionLeft = spanX(before), sessionRight = spanX(before + minutes);
        int32_t close = session.closetime + (session.closetime < session.opentime ? NextDay : 0);
        bool rolledOver = false;
        int32_t previous = 0;
        while (i < count) {
            int32_t time = (*m_mlineList)[size_t(i)]->time;
            if (!rolledOver && time < previous)
                rolledOver = true;
            int32_t adjusted = rolledOver ? time + NextDay : time;
            // Past the close: the same minute is looked at again in the next session.
            if (adjusted > close)
                break;
            previous = adjusted;
            if (adjusted >= session.opentime) {
                int m = Util::getMinCount(session.opentime, adjusted);
                float x = Util::mappingAsixXValue(float(minutes), 0, float(m), sessionLeft, sessionRight);
                m_minLineXPosList.push_back({i, x});
            }
            ++i;
        }
        before += minutes;
    }
}

void MinLineClassBase::calcTradeTimeXPos() {
    m_timeXPosList.clear();
    auto market = m_basicInf ? MarketTimes::Instance().getItem(m_basicInf->code) : nullptr;
    if (!market)
        return;
    float n = float(m_maxMinCount), left = m_rtMain.x(), right = m_rtMain.x() + m_rtMain.width();
    auto axisX = [&](int minutes) { return Util::mappingAsixXValue(n, 0, float(minutes), left, right); };
    int before = 0;
    for (size_t k = 0; k < market->times.size(); ++k) {
        const TradeTimeItem &session = market->times[k];
        int minutes = session.getMinCount();
        TradeTimeXPosItem item;
        if (minutes >= MarkedSessionMinutes) {
            for (int mark = 1; mark <= minutes / HalfHourMinutes - 1; ++mark) {
                int offset = before + HalfHourMinutes * mark;
                item.addSubPos(int16_t(offset), int32_t(axisX(offset)), TimeXPosItem::HalfHour);
            }
        }
        item.opentime = session.opentime;
        item.closetime = session.closetime;
        item.openx = axisX(before);
        item.closex = axisX(before + minutes + 1);
        bool last = k + 1 == market->times.size();
        item.addSubPos(session.closetime, int32_t(item.closex),
                       last ? TimeXPosItem::DayClose : TimeXPosItem::SessionClose);
        m_timeXPosList.push_back(std::move(item));
        before += minutes;
    }
}

int MinLineClassBase::getXPosIndex(float x) const {
    float previous = m_rtMain.x();
    for (const MinLineXPosItem &item : m_minLineXPosList) {
        if (previous <= x && x <= item.x)
            return item.index;
        previous = item.x;
    }
    return -1;
}

bool MinLineClassBase::canShowCursor(gfx::Point point) const {
    return m_rtMain.contains(point) && m_basicInf && pointCount() > 0;
}

float MinLineClassBase::getInfoBombXPos(int32_t time) const {
    for (const MinLineXPosItem &item : m_minLineXPosList) {
        if (item.index < 0 || item.index >= pointCount())
            continue;
        if ((*m_mlineList)[size_t(item.index)]->time >= time)
            return item.x;
    }
    return InfoBombDefaultX;
}

base::Ref<gfx::Color> MinLineClassBase::getTechColor(int index, int32_t techType) const {
    const StylePool &style = StylePool::Instance();
    if (techType == Level2TechTypes::MinBSVol && index == 0)
        return style.clTextRise;
    if (techType == Level2TechTypes::MinBSVol && index == 1)
        return style.clTextFall;
    return style.getMAColor(index);
}

void MinLineClassBase::initLevel2TechIndex(int32_t techType) {
    m_bShowLevel2Tech = true;
    m_level2TechType = techType;
    m_level2TechIndex = base::make<MLineLevel2TechIndex>(techType);
    m_level2Dict.clear();
}

void MinLineClassBase::changeLevel2TechIndex(int32_t techType) {
    if (techType == m_level2TechType || !m_level2TechIndex)
        return;
    m_level2TechType = techType;
    m_level2TechIndex->setTechType(techType);
    auto kept = m_level2Dict.find(techType);
    m_level2TechIndex->calculate(kept == m_level2Dict.end() ? nullptr : kept->second);
}

void MinLineClassBase::resetLevel2TechIndex(int32_t techType, const base::Ref<ReplyList> &series) {
    if (!m_level2TechIndex)
        return;
    if (techType != m_level2TechType) {
        m_level2TechType = techType;
        m_level2TechIndex->setTechType(techType);
    }
    m_level2TechIndex->calculate(series);
}

bool MinLineClassBase::UpdateLevel2TechIndex(int32_t techType, const base::Ref<ReplyList> &series) {
    if (!m_level2TechIndex || techType != m_level2TechType)
        return false;
    m_level2TechIndex->calculate(series);
    if (series)
        m_level2Dict[techType] = series;
    return true;
}
