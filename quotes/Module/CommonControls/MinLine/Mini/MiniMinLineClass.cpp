#include "MiniMinLineClass.h"

#include "Common/Gdip.h"
#include "Common/StylePool.h"
#include "Common/Util.h"

MiniMinLineClass::MiniMinLineClass() {
    m_nAxisMode = HighLowAxis;
    m_priceLineWidth = LineWidth;
    m_bShowPriceAveLine = false;
}

void MiniMinLineClass::calcRects(gfx::Rect rect) {
    KLineClassRootBase::calcRects(rect, 0, 0, 0, LeftFrameWidth, RightFrameWidth, FrameHeight, FrameHeight, 0,
                                  0, 0, 0, 0);
}

void MiniMinLineClass::draw(gfx::Context &context, gfx::Rect rect) {
    calcRects(rect);
    const StylePool &style = StylePool::Instance();
    const gfx::Rect &plot = m_rtMain;
    float axisX = plot.x() - AxisGap;
    Gdip::drawLine(context, {axisX, plot.y() - AxisOverhang}, {axisX, plot.maxY() + AxisOverhang},
                   *gfx::Color::gray(), 1);
    const gfx::Point top[] = {{plot.x(), plot.y() + 2}, {plot.maxX(), plot.y() + 2}};
    Gdip::drawDashLine(context, top, *style.clTextRise, 1, Dash);
    const gfx::Point bottom[] = {{plot.x(), plot.maxY()}, {plot.maxX(), plot.maxY()}};
    Gdip::drawDashLine(context, bottom, *style.clTextFall, 1, Dash);
    if (!hasData())
        return;

    drawMinVolLine(context, *style.clMiniPriceLine, *style.clMiniPriceAveLine);
    auto [high, low] = rangeTexts();
    float h = textHeight(), x = plot.maxX() + LabelGap;
    Gdip::drawStrInRect(context, high, {x, plot.y() - h / 2, LabelWidth, h}, *m_font, *style.clTextRise, 2);
    Gdip::drawStrInRect(context, low, {x, plot.maxY() - h / 2 - 2, LabelWidth, h}, *m_font, *style.clTextFall,
                        2);
}

std::pair<std::string, std::string> MiniMinLineClass::rangeTexts() const {
    if (!m_basicInf)
        return {};
    int32_t close = m_basicInf->closeprice;
    return {Util::FormatZAFString(m_nMaxPrice, close, true), Util::FormatZAFString(m_nMinPrice, close, true)};
}
