#include "SmallMinLineClass.h"

#include "Common/Gdip.h"
#include "Common/StyleFunc.h"
#include "Common/StylePool.h"
#include "Common/Util.h"

#include <cmath>

SmallMinLineClass::SmallMinLineClass()
    : m_timeFont(StyleFunc::getSysFont(TimeFontSize)),
      m_timeFontH(float(StyleFunc::getFontHeight(m_timeFont))) {
    setFont(StyleFunc::getSysFont(LabelFontSize));
    m_nDrawMinLineStep = DrawStep;
    m_priceLineWidth = LineWidth;
}

void SmallMinLineClass::calcRects(gfx::Rect rect) {
    KLineClassRootBase::calcRects(rect, 0, 0, 0, 0, RightFrameWidth, TopFrameHeight, BottomFrameHeight, 0, 0,
                                  0, 0, 0);
}

void SmallMinLineClass::draw(gfx::Context &context, gfx::Rect rect) {
    calcRects(rect);
    drawAxis(context);
    if (!hasData())
        return;
    const StylePool &style = StylePool::Instance();
    drawMinVolLine(context, *style.clPriceLine, *style.clPriceAveLine);
    float h = textHeight(), x = m_rtMain.maxX() + 2, w = m_rtMainBorder.maxX() - m_rtMain.maxX() - 3;
    for (const RangeLabel &label : rangeLabels())
        Gdip::drawStrInRect(context, label.text, {x, label.top, w, h}, *m_font, *label.color, 2);
}

void SmallMinLineClass::drawAxis(gfx::Context &context) {
    StylePool &style = StylePool::Instance();
    const gfx::Rect &plot = m_rtMain;
    drawChartBackground(context, plot);
    int n = m_nHorLineCount_Min;
    for (int i = 1; i < n; ++i)
        style.drawKHorzLine(context, plot, std::trunc(plot.y() + plot.height() / float(n) * float(i)),
                            i == n / 2);
    style.drawKVertLine(context, plot, std::trunc(plot.maxX() - 1), false);

    calcTradeTimeXPos();
    for (size_t k = 0; k < m_timeXPosList.size(); ++k) {
        const TradeTimeXPosItem &session = m_timeXPosList[k];
        float y = m_rtBottom.y();
        Gdip::drawStrInRect(context, Util::FormatTime(session.opentime, false),
                            {session.openx + 2, y, TimeLabelWidth, m_timeFontH}, *m_timeFont,
                            *style.clTextName, 0);
        Gdip::drawStrInRect(context, Util::FormatTime(session.closetime, false),
                            {session.closex - TimeLabelWidth - 2, y, TimeLabelWidth, m_timeFontH},
                            *m_timeFont, *style.clTextName, 2);
        if (k + 1 < m_timeXPosList.size())
            style.drawKVertLine(context, plot, std::trunc(session.closex), true);
    }
}

std::vector<SmallMinLineClass::RangeLabel> SmallMinLineClass::rangeLabels() const {
    std::vector<RangeLabel> labels;
    for (const ScaleMark &mark : scaleMarks(m_nHorLineCount_Min))
        labels.push_back({Util::FormatRange(mark.price, m_basicInf->closeprice, 1), mark.color, mark.top});
    return labels;
}
