#include "KLineClassBase.h"

#include "Common/Gdip.h"
#include "Common/StyleFunc.h"
#include "Common/StylePool.h"
#include "Common/Util.h"
#include "gfx/Text.h"

#include <algorithm>
#include <cmath>

namespace {

// The B and S letters of the level-2 BS points sit in a box this high above the high or below
// the low.
constexpr float BSLetterBox = 20;
// The notice of a period without level-2 values.
constexpr float NoLevel2Grey = 238.0f / 255;

float whole(float v) {
    return std::trunc(v);
}

} // namespace

void KLineClassBase::drawK(gfx::Context &context, const KLineItem &k, const KLineItem *kPrior, float maxPrice,
                           float minPrice, float left, float width, float top, float bottom,
                           const gfx::Color &riseColor, const gfx::Color &fallColor,
                           bool isColumnMode) const {
    auto y = [&](float v) { return whole(Util::mappingAsixYValue(maxPrice, minPrice, v, top, bottom)); };
    const float yOpen = y(float(k.openprice)), yHigh = y(float(k.highprice)), yLow = y(float(k.lowprice)),
                yClose = y(float(k.closeprice));
    bool rise = k.openprice <= k.closeprice;
    if (kPrior && k.openprice == k.closeprice && kPrior->openprice == kPrior->closeprice)
        rise = k.closeprice >= kPrior->closeprice;
    const gfx::Color &color = rise ? riseColor : fallColor;

    const float inset = width > 1 ? 1 : 0;
    const float bodyTop = std::min(yOpen, yClose), bodyBottom = std::max(yOpen, yClose);
    if (yOpen == yClose) {
        Gdip::drawLine(context, {left + inset, yOpen}, {left + width - inset, yOpen}, color, 1);
    } else {
        const float bodyW = whole(width - 2 * inset);
        if (bodyW < 2) {
            Gdip::drawLine(context, {left + inset, bodyTop}, {left + inset, bodyBottom}, color, 1);
        } else {
            gfx::Rect body{left + inset, bodyTop, bodyW, bodyBottom - bodyTop};
            if (isColumnMode)
                StylePool::Instance().drawKLineColumn(context, body, rise, color);
            else if (rise)
                Gdip::drawRect(context, body, color);
            else
                Gdip::fillRect(context, body, color);
        }
    }
    const float centre = whole(left + width / 2);
    if (yHigh < bodyTop)
        Gdip::drawLine(context, {centre, bodyTop}, {centre, yHigh}, color, 1);
    if (yLow > bodyBottom)
        Gdip::drawLine(context, {centre, bodyBottom}, {centre, yLow}, color, 1);

    if (m_mainTechType == TechIndex::FundLine && kPrior)
        Gdip::drawLine(context, {centre - width, y(float(kPrior->holdVol))}, {centre, y(float(k.holdVol))},
                       *gfx::Color::yellow(), 1);

    if (k.bsItem && k.bsItem->bs) {
        const bool sell = !k.bsItem->p1;
        gfx::Rect box{left, sell ? yHigh - BSLetterBox : yLow, width, BSLetterBox};
        auto letterFont = gfx::Font::boldSystem(m_font->pointSize());
        Gdip::drawStrInRect(context, sell ? "S" : "B", box, *letterFont,
                            sell ? *gfx::Color::green() : *gfx::Color::yellow(), 1);
    }
}

float KLineClassBase::drawTitleText(gfx::Context &context, const std::string &text, float x,
                                    gfx::Rect rtTitle, const gfx::Color &color) const {
    const float w = gfx::measure(text, *m_techTitleFont).w + TitleTextPad;
    Gdip::drawStrInRect(context, text, {x, rtTitle.y(), w, rtTitle.height()}, *m_techTitleFont, color, 0);
    return x + w;
}

void KLineClassBase::drawTechValues(gfx::Context &context, const TechIndexBase &tech,
                                    const TechLineItem &record, int digits, float x,
                                    gfx::Rect rtTitle) const {
    const int count = std::min(record.count(), tech.getOutputParamCount());
    for (int i = 0; i < count; ++i) {
        const TechLineSubItem *sub = record.getSubItem(i);
        if (!sub || sub->type == TechLineSubItem::RiseFlag)
            continue;
        base::Ref<gfx::Color> color = getTechColor(i, tech.techType());
        std::string text = tech.getTechItemName(i) + ":" + Util::FormatFloatWithUnit(sub->value, digits);
        x = drawTitleText(context, text, x, rtTitle, color ? *color : *StylePool::Instance().clTextName);
    }
}

void KLineClassBase::drawTechTitle(gfx::Context &context, const TechIndexBase &tech, int index,
                                   gfx::Rect rtTitle, float xOffset) const {
    if (tech.techType() == 0)
        return;
    base::Ref<TechLineItem> record = tech.getItem(index);
    if (!record)
        return;
    float x = rtTitle.x() + xOffset;
    int digits = 2;
    if (auto classic = dynamic_cast<const TechIndex *>(&tech)) {
        x = drawTitleText(context, classic->getParamsText(), x, rtTitle, *StylePool::Instance().clTextName);
        digits = TechIndex::getTopTextDigits(tech.techType());
    }
    drawTechValues(context, tech, *record, digits, x, rtTitle);
}

void KLineClassBase::drawMainTechTitle(gfx::Context &context, int index) const {
    if (!TechIndex::cannotDraw(m_mainTechType))
        drawTechTitle(context, *m_mainTechIndex, index, m_rtMainTitle, MainTitleOffset);
}

void KLineClassBase::drawSecondTechTitle(gfx::Context &context, int index) const {
    drawTechTitle(context, *m_secondTechIndex, index, m_rtVolTitle, SecondTitleOffset);
}

void KLineClassBase::drawLevel2TechTitle(gfx::Context &context, int index) const {
    drawLevel2TechTitle(context, index, m_rtLevel2Title, SecondTitleOffset);
}

void KLineClassBase::drawLevel2TechTitle(gfx::Context &context, int index, gfx::Rect rtTitle,
                                         float xOffset) const {
    if (!m_level2TechIndex)
        return;
    if (m_level2TechType == BSPointTechType) {
        drawBSText(context, index);
        return;
    }
    if (m_ktype != DayKType) {
        drawNoLevel2TechInfo(context);
        return;
    }
    if (base::Ref<TechLineItem> record = m_level2TechIndex->getItem(index))
        drawTechValues(context, *m_level2TechIndex, *record,
                       KLineLevel2TechIndex::getTopTextDigits(m_level2TechType), rtTitle.x() + xOffset,
                       rtTitle);
}

void KLineClassBase::drawNoLevel2TechInfo(gfx::Context &context) const {
    gfx::Rect r = m_rtLevel2Title;
    Gdip::drawStrInRect(context, NoLevel2Text,
                        {r.x() + SecondTitleOffset, r.y(), r.width() - SecondTitleOffset, r.height()},
                        *m_techTitleFont, *gfx::Color::white(NoLevel2Grey), 0);
}

void KLineClassBase::drawBSText(gfx::Context &context, int index) const {
    const KLineItem *candle = candleAt(index);
    if (!candle || !candle->bsItem)
        return;
    const gfx::Color &color = *StylePool::Instance().clTextName;
    gfx::Rect t = m_rtLevel2Title;
    Gdip::drawStrInRect(context, "BS点", {t.x() + 5, t.y() + 2, t.width() - 5, t.height()}, *m_techTitleFont,
                        color, 0);
    gfx::Rect p = m_rtLevel2;
    std::string hint =
        candle->bsItem->getBSString(decimal(), Util::FormatKLineTime(candle->time, m_ktype, true));
    context.save();
    context.setFill(color);
    context.drawText(hint, {p.x() + 5, p.y() + 2, p.width() - 10, p.height() - 4}, *m_techTitleFont);
    context.restore();
}
