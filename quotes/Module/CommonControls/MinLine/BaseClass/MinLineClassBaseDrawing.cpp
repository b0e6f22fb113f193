#include "MinLineClassBase.h"

#include "Common/Gdip.h"
#include "Common/StylePool.h"
#include "Common/Util.h"
#include "DataBase/NetData/SeriesNumber.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"
#include "gfx/Text.h"

#include <algorithm>
#include <cmath>

namespace {

// Rise/fall values run from −100 to 100 over the main plot less a fifth of its height at each end.
constexpr float RiseFallRange = 100;
constexpr float RiseFallInset = 0.2f;
// Level-2 title texts: the first starts this far into the title line; each box is its text plus this.
constexpr float TitleIndent = 5;
constexpr float TitlePad = 8;

} // namespace

std::vector<int> MinLineClassBase::drawnPositions(int count, int step) {
    std::vector<int> positions;
    int s = std::max(step, 1);
    for (int e = 0; e < count; e += s) {
        positions.push_back(e);
        if (e + s >= count)
            s = std::max(1, count - 1 - e);
    }
    return positions;
}

void MinLineClassBase::drawMinVolLine(gfx::Context &context, const gfx::Color &clPriceLine,
                                      const gfx::Color &clPriceAveLine, const gfx::Color &clVolLine) {
    drawMinVolLine(context, m_rtMain, clPriceLine, m_bShowPriceAveLine, clPriceAveLine, true, m_rtVol,
                   clVolLine, true);
}

void MinLineClassBase::drawMinVolLine(gfx::Context &context, const gfx::Color &clPriceLine,
                                      const gfx::Color &clPriceAveLine) {
    drawMinVolLine(context, m_rtMain, clPriceLine, m_bShowPriceAveLine, clPriceAveLine, false, {},
                   clPriceLine, false);
}

void MinLineClassBase::drawMinVolLine(gfx::Context &context, gfx::Rect rtChart,
                                      const gfx::Color &clPriceLine) {
    drawMinVolLine(context, rtChart, clPriceLine, false, clPriceLine, false, {}, clPriceLine, false);
}

void MinLineClassBase::drawMinVolLine(gfx::Context &context, gfx::Rect rtChart, const gfx::Color &clPriceLine,
                                      bool isDrawAveLine, const gfx::Color &clPriceAveLine, bool isDrawVol,
                                      gfx::Rect rtVol, const gfx::Color &clVolLine,
                                      bool isDrawIndexRiseFallLine) {
    if (!hasData())
        return;
    const StylePool &style = StylePool::Instance();
    bool riseFall =
        isDrawIndexRiseFallLine && m_indexRiseFallLineList && StockFunc::isSZSCIndex(m_basicInf->code);
    calcXPos(rtChart);

    float top = rtChart.y(), h = rtChart.height();
    auto priceY = [&](int32_t v) {
        return Util::mappingAsixYValue(float(m_nMaxPrice), float(m_nMinPrice), float(v), top + 1,
                                       top + h - 2);
    };
    auto volY = [&](int32_t v) {
        return Util::mappingAsixYValue(float(m_nMaxVol), 0, float(v), rtVol.y() + 1, rtVol.maxY() - 2);
    };
    float inset = std::ceil(RiseFallInset * h);
    auto riseFallY = [&](int32_t v) {
        return Util::mappingAsixYValue(RiseFallRange, -RiseFallRange, float(v), top + 1 + inset,
                                       top + h - 2 - inset);
    };

    context.setShouldAntialias(false);
    // A stock that has not traded yet sits on the previous close until its first priced minute.
    int32_t price = m_basicInf->closeprice, ave = m_basicInf->closeprice;
    std::vector<gfx::Point> priceLine, aveLine;
    for (int position : drawnPositions(int(m_minLineXPosList.size()), m_nDrawMinLineStep)) {
        const MinLineXPosItem &pos = m_minLineXPosList[size_t(position)];
        if (pos.index < 0 || pos.index >= pointCount())
            continue;
        const StkMinLineItem &point = *(*m_mlineList)[size_t(pos.index)];
        if (point.price >= 1)
            price = point.price;
        if (point.ave >= 1)
            ave = point.ave;
        priceLine.push_back({pos.x, priceY(price)});
        aveLine.push_back({pos.x, priceY(ave)});
        if (isDrawVol && point.vol >= 1)
            Gdip::drawLine(context, {pos.x, volY(point.vol)}, {pos.x, rtVol.maxY() - 2}, clVolLine, 1);
        if (riseFall && pos.index < int(m_indexRiseFallLineList->size())) {
            auto *number = dynamic_cast<SeriesNumber *>((*m_indexRiseFallLineList)[size_t(pos.index)].get());
            if (number && number->value != 0)
                Gdip::drawLine(context, {pos.x, riseFallY(number->value)}, {pos.x, m_rtMain.midY()},
                               number->value > 0 ? *style.clRiseLine : *style.clFallLine, 1);
        }
    }
    if (isDrawAveLine && aveLine.size() > 1)
        Gdip::drawLine(context, aveLine, clPriceAveLine, m_priceLineWidth);
    if (priceLine.size() > 1)
        Gdip::drawLine(context, priceLine, clPriceLine, m_priceLineWidth);
    context.setShouldAntialias(true);
}

void MinLineClassBase::drawLevel2TechIndex(gfx::Context &context, gfx::Rect rtChart,
                                           gfx::Rect rtLeftText) const {
    if (!m_level2TechIndex || m_level2TechIndex->count() == 0)
        return;
    const MLineLevel2TechIndex &tech = *m_level2TechIndex;
    float max = TechIndexBase::RangeStartMax, min = TechIndexBase::RangeStartMin;
    tech.getMaxMinInfo(0, tech.count() - 1, max, min);
    drawTechLeftText(context, rtLeftText, max, min,
                     MLineLevel2TechIndex::getLeftTextDigits(m_level2TechType));

    const std::vector<MinLineXPosItem> &positions = m_minLineXPosList;
    float width = positions.size() >= 2 ? positions[1].x - positions[0].x : 1;
    base::Ref<TechLineItem> prior;
    for (const MinLineXPosItem &pos : positions) {
        base::Ref<TechLineItem> record = pos.index >= 0 ? tech.getItem(pos.index) : nullptr;
        drawOneTech(context, m_level2TechType, record.get(), prior.get(), tech.getOutputParamCount(), max,
                    min, pos.x, width, rtChart.y(), rtChart.maxY());
        prior = record;
    }
}

void MinLineClassBase::drawLevel2TechTitle(gfx::Context &context, int index) const {
    if (!m_level2TechIndex || !m_techTitleFont)
        return;
    base::Ref<TechLineItem> record = m_level2TechIndex->getItem(index);
    if (!record)
        return;
    float x = m_rtLevel2Title.x() + TitleIndent;
    int digits = MLineLevel2TechIndex::getTopTextDigits(m_level2TechType);
    for (int i = 0; i < m_level2TechIndex->getOutputParamCount(); ++i) {
        const TechLineSubItem *sub = record->getSubItem(i);
        if (!sub || sub->type == TechLineSubItem::RiseFlag)
            continue;
        std::string text =
            m_level2TechIndex->getTechItemName(i) + ":" + Util::FormatFloatWithUnit(sub->value, digits);
        float w = gfx::measure(text, *m_techTitleFont).w + TitlePad;
        base::Ref<gfx::Color> color = getTechColor(i, m_level2TechType);
        Gdip::drawStrInRect(context, text, {x, m_rtLevel2Title.y(), w, m_rtLevel2Title.height()},
                            *m_techTitleFont, *color, 0);
        x += w;
    }
}

void MinLineClassBase::drawAddStockText(gfx::Context &context, float x, float y, const gfx::Color &textColor,
                                        float &nextX) const {
    nextX = x;
    if (!m_basicInf)
        return;
    KLineClassRootBase::drawAddStockText(context, m_basicInf->name, m_basicInf->FormatValue(1), x, y,
                                         textColor, nextX);
}
