#include "KLineClass.h"

#include "Common/Gdip.h"
#include "Common/StyleFunc.h"
#include "Common/StylePool.h"
#include "Common/Util.h"
#include "gfx/Text.h"

#include <algorithm>
#include <cmath>

namespace {

struct ModeLayout {
    float leftMargin, rightMargin, titleHeight, paneShare;
};
constexpr ModeLayout Layouts[] = {{10, 50, 20, 0.2f}, {4, 50, 0, 0.25f}};

// Grid bands of the main pane by its plot height.
int bandsFor(float height) {
    if (height < 100)
        return 2;
    if (height < 200)
        return 3;
    if (height < 300)
        return 4;
    if (height < 400)
        return 5;
    return 6;
}

float bottomOf(const gfx::Rect &r) {
    return r.y() + r.height();
}

float rightOf(const gfx::Rect &r) {
    return r.x() + r.width();
}

} // namespace

KLineClass::KLineClass(int viewMode) : m_viewMode(viewMode == 1 ? 1 : 0) {
    const bool compact = m_viewMode == 1;
    setFont(StyleFunc::getSysFont(compact ? 13 : 14));
    setTechTitleFont(StyleFunc::getSysFont(compact ? 12 : 13));
    m_cursorInfoFont = compact ? StyleFunc::getSysFont(13) : StyleFunc::getBoldSysFont(14);
    m_bShowVol = true;
    m_bShowCursor = false;
}

void KLineClass::calcRects(gfx::Rect rect) {
    const ModeLayout &l = Layouts[m_viewMode];
    const float pane = l.paneShare * rect.height();
    calcRects2(rect, l.leftMargin, l.rightMargin, l.titleHeight, BottomFrameHeight, pane, pane);
    m_nHorLineCount_Main = bandsFor(m_rtMain.height());
}

void KLineClass::draw(gfx::Context &context, gfx::Rect rect) {
    ++m_drawTimes;
    calcRects(rect);
    drawAxis(context, rect);
    if (!hasData())
        return;
    calcIndex(m_rtMain);
    calcMaxMinPrice();
    if (m_isAddStocksMode) {
        calcAddStock_MaxMinPrice(m_nIndexFrom, m_nIndexTo);
        drawAddStocksTitle(context);
    }
    displayFirstTime = candleAt(m_nIndexFrom) ? candleAt(m_nIndexFrom)->time : 0;
    drawKLine(context, rect);
    hideExrightButtons();
    drawBottomText(context, rect);
}

void KLineClass::drawAxis(gfx::Context &context, gfx::Rect) {
    StylePool &style = StylePool::Instance();
    drawChartBackground(context, m_rtMainBorder);
    if (!(m_bShowCursor && m_viewMode == 1)) {
        gfx::Rect t = m_rtMainTitle;
        Gdip::drawStrInRect(context, Util::getKTypeName(m_ktype),
                            {t.x(), t.y(), PeriodNameWidth, std::max(t.height(), m_textH)}, *m_font,
                            *style.clTextRise, true, 1);
    }
    for (auto [shown, border, plot] : {std::tuple{m_bShowVol, m_rtVolBorder, m_rtVol},
                                       std::tuple{m_bShowLevel2Tech, m_rtLevel2Border, m_rtLevel2}}) {
        if (!shown)
            continue;
        drawChartBackground(context, border);
        style.drawKHorzLine(context, plot, std::trunc(plot.y() + plot.height() / 2), false);
    }
}

void KLineClass::drawPriceText(gfx::Context &context, gfx::Rect rt) {
    StylePool &style = StylePool::Instance();
    const int n = m_nHorLineCount_Main;
    const gfx::Rect m = m_rtMain;
    const float step = m.height() / float(n);
    const int firstLine = m_rtMainTitle.height() > 0 ? 0 : 1;
    for (int j = firstLine; j < n; ++j)
        style.drawKHorzLine(context, m, std::trunc(m.y() + step * float(j)), false);

    const int dig = decimal(), displayDig = getPriceDisplayDig(m_nMaxPrice, dig);
    // Labels sit right-aligned between the plot and the view's right edge.
    const float colX = rightOf(m) + 2, colW = rightOf(rt) - 2 - colX;
    auto label = [&](int32_t value, float top) {
        Gdip::drawStrInRect(context, Util::FormatPrice(float(value), dig, displayDig),
                            {colX, top, colW, m_textH}, *m_font, *style.clTextRise, 2);
    };
    for (int j = m_viewMode == 1 ? 1 : 0; j < n; ++j) {
        int32_t value = m_nMaxPrice - Util::truncToInt(double(m_nMaxPrice - m_nMinPrice) / n * j);
        label(value, m.y() + step * float(j) - m_textH / 2);
    }
    if (m_viewMode == 1)
        label(m_nMaxPrice, m.y());
    label(m_nMinPrice, bottomOf(m) - m_textH);
}

void KLineClass::drawKLine(gfx::Context &context, gfx::Rect rt) {
    StylePool &style = StylePool::Instance();
    drawPriceText(context, rt);

    const bool mainShown = !TechIndex::cannotDraw(m_mainTechType);
    const float multi = getPriceMulti();
    const float mainMax = float(m_nMaxPrice) / multi, mainMin = float(m_nMinPrice) / multi;
    float subMax = 0, subMin = 0;
    m_secondTechIndex->getMaxMinInfo(m_nIndexFrom, m_nIndexTo, subMax, subMin);
    const bool level2Shown =
        m_bShowLevel2Tech && m_level2TechIndex && m_ktype == DayKType && m_level2TechType != BSPointTechType;
    float l2Max = 0, l2Min = 0;
    if (level2Shown)
        m_level2TechIndex->getMaxMinInfo(m_nIndexFrom, m_nIndexTo, l2Max, l2Min);

    const float pitch = m_ksize;
    float x = m_rtMain.x();
    for (int i = m_nIndexFrom; i <= m_nIndexTo; ++i, x += pitch) {
        const KLineItem *k = candleAt(i);
        if (!k)
            continue;
        const bool first = i == m_nIndexFrom;
        drawK(context, *k, candleAt(i - 1), x, pitch, m_rtMain.y(), bottomOf(m_rtMain));
        auto pass = [&](const TechIndexBase &tech, float max, float min, const gfx::Rect &plot) {
            base::Ref<TechLineItem> record = tech.getItem(i);
            base::Ref<TechLineItem> prior = first ? nullptr : tech.getItem(i - 1);
            drawOneTech(context, tech.techType(), record.get(), prior.get(), tech.getOutputParamCount(), max,
                        min, x, pitch, plot.y(), bottomOf(plot));
        };
        if (mainShown)
            pass(*m_mainTechIndex, mainMax, mainMin, m_rtMain);
        if (m_bShowVol)
            pass(*m_secondTechIndex, subMax, subMin, m_rtVol);
        if (level2Shown)
            pass(*m_level2TechIndex, l2Max, l2Min, m_rtLevel2);
    }
    if (m_bShowVol)
        drawTechRightText(context, m_rtVolRight, m_secondTechType, subMax, subMin,
                          TechIndex::getLeftTextDigits(m_secondTechType), style.clTextName.get());
    if (level2Shown)
        drawTechRightText(context, m_rtLevel2Right, m_level2TechType, l2Max, l2Min,
                          KLineLevel2TechIndex::getLeftTextDigits(m_level2TechType));
    if (!m_bShowCursor && m_viewMode == 0)
        drawTitleLines(context, m_nIndexTo);
}

void KLineClass::drawTitleLines(gfx::Context &context, int index) {
    drawMainTechTitle(context, index);
    if (m_bShowVol)
        drawSecondTechTitle(context, index);
    if (m_bShowLevel2Tech)
        drawLevel2TechTitle(context, index);
}

void KLineClass::drawK(gfx::Context &context, const KLineItem &k, const KLineItem *kPrior, float left,
                       float width, float top, float bottom) {
    StylePool &style = StylePool::Instance();
    if (m_isAddStocksMode) {
        if (auto overlays = dynamic_cast<const AddStockKLines *>(k.addStockInfo.get())) {
            for (const base::Value &stock : m_multiStockList) {
                const base::Dict *dict = stock.dict();
                if (!dict)
                    continue;
                auto entry = overlays->items.find(dict->get("code").stringValue());
                if (entry == overlays->items.end() || !entry->second)
                    continue;
                const gfx::Color &color = *style.getAddStockColor(int(dict->get("colorID").intValue()));
                KLineClassBase::drawK(context, *entry->second, nullptr,
                                      float(dict->get("MaxPrice").doubleValue()),
                                      float(dict->get("MinPrice").doubleValue()), left, width, top, bottom,
                                      color, color, false);
            }
        }
    }
    KLineClassBase::drawK(context, k, kPrior, float(m_nMaxPrice), float(m_nMinPrice), left, width, top,
                          bottom, *style.clRiseLine, *style.clFallLine, true);
    if (k.exrightFlag >= 1)
        showExrightButton(k.exrightDate, k.exrightFlag, {std::trunc(left + width / 2), bottomOf(m_rtMain)});
}

void KLineClass::drawBottomText(gfx::Context &context, gfx::Rect) {
    const KLineItem *first = candleAt(m_nIndexFrom), *last = candleAt(m_nIndexTo);
    if (!first || !last)
        return;
    const gfx::Color &color = *StylePool::Instance().clTextName;
    const float y = m_rtBottom.y();
    std::string from = Util::FormatKLineTime(first->time, m_ktype, true);
    std::string to = Util::FormatKLineTime(last->time, m_ktype, true);
    const float toW = gfx::measure(to, *m_font).w + 1;
    Gdip::drawStrInRect(context, from, {m_rtMain.x(), y, gfx::measure(from, *m_font).w + 1, m_textH}, *m_font,
                        color, 0);
    Gdip::drawStrInRect(context, to, {rightOf(m_rtMain) - toW, y, toW, m_textH}, *m_font, color, 2);
}

void KLineClass::drawAddStocksTitle(gfx::Context &context) {
    StylePool &style = StylePool::Instance();
    const float y = 2;
    float x = 80, next = x;
    drawAddStockText(context, m_basicInf->name, m_basicInf->FormatValue(1), x, y, *style.clPriceLine, next);
    x = next + 10;
    for (const base::Value &stock : m_multiStockList) {
        const base::Dict *dict = stock.dict();
        if (!dict || dict->get("code").stringValue().empty())
            continue;
        auto inf = dict->get("basicInf").objectAs<StockBasicInf>();
        if (!inf)
            continue;
        drawAddStockText(context, inf->name, inf->FormatValue(1), x, y,
                         *style.getAddStockColor(int(dict->get("colorID").intValue())), next);
        x = next + 10;
    }
}

void KLineClass::hideExrightButtons() {
    const KLineItem *first = candleAt(m_nIndexFrom), *last = candleAt(m_nIndexTo);
    if (first && last)
        hideExrightButtons(first->time, last->time);
}

void KLineClass::showExrightButton(int32_t exrightDate, int exrightFlag, gfx::Point bottomPoint) {
    if (auto d = delegate.lock())
        d->showExrightButton(exrightDate, exrightFlag, bottomPoint);
}

void KLineClass::hideExrightButtons(int32_t dateFrom, int32_t dateTo) {
    if (auto d = delegate.lock())
        d->hideExrightButtons(dateFrom, dateTo);
}
