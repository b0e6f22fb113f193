#include "MinLineClass.h"

#include "Common/Gdip.h"
#include "Common/StyleFunc.h"
#include "Common/StylePool.h"
#include "Common/Util.h"
#include "gfx/Text.h"

#include <algorithm>
#include <cmath>

namespace {

struct ModeValues {
    int labelFont, titleFont, cursorFont;
    bool boldCursorFont;
    float borderLeftMargin, borderRightMargin, paneShare;
};

constexpr ModeValues Modes[] = {
    {14, 13, 14, true, 50, 54, 0.2f},
    {13, 12, 13, false, 43, 43, 0.25f},
};

const ModeValues &modeValues(int32_t viewMode) {
    return Modes[viewMode == MinLineClass::CompactMode ? 1 : 0];
}

} // namespace

MinLineClass::MinLineClass(int32_t viewMode) : m_viewMode(viewMode) {
    const ModeValues &mode = modeValues(viewMode);
    setFont(StyleFunc::getSysFont(mode.labelFont));
    setTechTitleFont(StyleFunc::getSysFont(mode.titleFont));
    m_cursorInfoFont = mode.boldCursorFont ? StyleFunc::getBoldSysFont(mode.cursorFont)
                                           : StyleFunc::getSysFont(mode.cursorFont);
    m_bShowVol = true;
    m_priceLineWidth = LineWidth;
}

void MinLineClass::calcRects(gfx::Rect rect) {
    const ModeValues &mode = modeValues(m_viewMode);
    float H = rect.height();
    KLineClassRootBase::calcRects(rect, mode.borderLeftMargin, mode.borderRightMargin, 0, 0, 0,
                                  m_isAddStocksMode ? AddStocksTopFrameHeight : TopFrameHeight,
                                  BottomFrameHeight, 0, mode.paneShare * H, m_bShowVol ? 1 : 0,
                                  mode.paneShare * H, ThirdTitleHeight);
    m_nHorLineCount_Min = HorLineCount;
    for (const auto &[below, count] : GridSteps) {
        if (m_rtMain.height() < below) {
            m_nHorLineCount_Min = int32_t(count);
            break;
        }
    }
}

void MinLineClass::draw(gfx::Context &context, gfx::Rect rect) {
    calcRects(rect);
    drawAxis(context);
    if (!m_basicInf || !m_mlineList)
        return;
    const StylePool &style = StylePool::Instance();
    drawMinVolLine(context, *style.clPriceLine, *style.clPriceAveLine, *style.clVolLine);
    drawPriceText(context);
    if (m_bShowVol)
        drawVolText(context);
    if (m_bShowLevel2Tech) {
        drawLevel2TechIndex(context, m_rtLevel2, m_rtLevel2Left);
        if (!m_bShowCursor)
            drawLevel2TechTitle(context, -1);
    }
}

void MinLineClass::drawAxis(gfx::Context &context) {
    StylePool &style = StylePool::Instance();
    drawChartBackground(context, m_rtMain);
    int n = m_nHorLineCount_Min;
    for (int i = 1; i < n; ++i)
        style.drawKHorzLine(context, m_rtMain,
                            std::trunc(m_rtMain.y() + m_rtMain.height() / float(n) * float(i)), i == n / 2);
    if (m_bShowVol) {
        drawChartBackground(context, m_rtVolBorder);
        style.drawKHorzLine(context, m_rtVol, std::trunc(m_rtVol.midY()), false);
    }
    if (m_bShowLevel2Tech) {
        drawChartBackground(context, m_rtLevel2);
        style.drawKHorzLine(context, m_rtLevel2, std::trunc(m_rtLevel2.midY()), false);
    }

    calcTradeTimeXPos();
    for (const TradeTimeXPosItem &session : m_timeXPosList) {
        drawTimeShading(context, session);
        float h = textHeight();
        Gdip::drawStrInRect(context, Util::FormatTime(session.opentime, false),
                            {session.openx + 2, m_rtBottom.y(), TimeLabelWidth, h}, *m_font,
                            *style.clTextName, 0);
        Gdip::drawStrInRect(context, Util::FormatTime(session.closetime, false),
                            {session.closex - TimeLabelWidth - 2, m_rtBottom.y(), TimeLabelWidth, h}, *m_font,
                            *style.clTextName, 2);
    }
}

void MinLineClass::drawTimeShading(gfx::Context &context, const TradeTimeXPosItem &session) {
    StylePool &style = StylePool::Instance();
    auto panes = [&](auto &&drawInPane) {
        drawInPane(m_rtMain);
        if (m_bShowVol)
            drawInPane(m_rtVol);
        if (m_bShowLevel2Tech)
            drawInPane(m_rtLevel2);
    };
    // Every second interval between the session's marks is shaded.
    bool shade = false;
    float previousX = 0;
    for (const TimeXPosItem &mark : session.getSubArray()) {
        float x = float(mark.x);
        if (shade && previousX > 0)
            panes([&](gfx::Rect pane) {
                Gdip::fillRect(context, {previousX, pane.y(), x - previousX, pane.height()},
                               *style.clTrendLineEvenBG);
            });
        if (mark.type == TimeXPosItem::SessionClose)
            panes([&](gfx::Rect pane) { style.drawKVertLine(context, pane, x, true); });
        shade = !shade;
        previousX = x;
    }
}

std::string MinLineClass::formatPrice(int32_t price) const {
    return Util::FormatPrice(float(price), m_basicInf->decimal,
                             getPriceDisplayDig(m_nMaxPrice, m_basicInf->decimal));
}

std::vector<MinLineClass::PriceLabel> MinLineClass::priceLabels() const {
    std::vector<PriceLabel> labels;
    for (const ScaleMark &mark : scaleMarks(m_nHorLineCount_Min))
        labels.push_back({formatPrice(mark.price),
                          Util::FormatRange(mark.price, m_basicInf->closeprice, rangeDigits()), mark.color,
                          mark.middle, mark.top});
    return labels;
}

void MinLineClass::drawPriceText(gfx::Context &context) {
    base::Ref<gfx::Font> bold = StyleFunc::getBoldSysFont(int(m_font->pointSize()));
    float h = textHeight();
    for (const PriceLabel &label : priceLabels()) {
        const gfx::Font &font = label.bold ? *bold : *m_font;
        Gdip::drawStrInRect(context, label.price, {m_rtMainLeft.x(), label.top, m_rtMainLeft.width(), h},
                            font, *label.color, 2);
        Gdip::drawStrInRect(context, label.range, {m_rtMainRight.x(), label.top, m_rtMainRight.width(), h},
                            font, *label.color, 2);
    }
}

void MinLineClass::drawVolText(gfx::Context &context) {
    const StylePool &style = StylePool::Instance();
    int multiple = 1, digits = 0;
    Util::getFormatVolumeMultiple(m_nMaxVol, multiple, digits);
    float h = textHeight(), w = m_rtVol.x() - 3;
    int32_t middle = m_nMaxVol - int32_t(std::trunc(double(m_nMaxVol) * 0.5));
    Gdip::drawStrInRect(context, Util::FormatVolumeByMultiple(m_nMaxVol, multiple, digits),
                        {0, m_rtVol.y() - 3, w, h}, *m_font, *style.clTextName, 2);
    Gdip::drawStrInRect(context, Util::FormatVolumeByMultiple(middle, multiple, digits),
                        {0, m_rtVol.midY() - h / 2, w, h}, *m_font, *style.clTextName, 2);
    Gdip::drawStrInRect(context, Util::getFormatVolumeUnit(m_nMaxVol), {0, m_rtVol.maxY() - h + 2, w, h},
                        *m_font, *style.clTextName, 2);
}

void MinLineClass::drawCursor(gfx::Context &context, gfx::Rect rect, gfx::Point cursorTouch) {
    calcRects(rect);
    calcXPos(m_rtMain);
    const StylePool &style = StylePool::Instance();
    float x = std::clamp(cursorTouch.x, m_rtMain.x(), m_rtMain.maxX());
    float y = std::clamp(cursorTouch.y, m_rtMain.y(), m_rtMain.maxY());
    m_cursorTouch = {x, y};
    m_nCurIndex = getXPosIndex(x);

    style.drawCursorLine(context, {m_rtMain.x(), y}, {m_rtMain.maxX(), y});
    style.drawCursorLine(context, {x, m_rtMain.y()}, {x, m_rtMain.maxY()});
    if (m_bShowVol)
        style.drawCursorLine(context, {x, m_rtVol.y()}, {x, m_rtVol.maxY()});
    if (m_bShowLevel2Tech)
        style.drawCursorLine(context, {x, m_rtLevel2.y()}, {x, m_rtLevel2.maxY()});
    if (!m_basicInf)
        return;

    float price =
        Util::mappingValueByAsixY(float(m_nMaxPrice), float(m_nMinPrice), y, m_rtMain.y(), m_rtMain.maxY());
    int tagY = int(y - textHeight() / 2);
    style.drawCursorText(context, 1, int(m_rtMainLeft.x()), tagY, int(m_rtMainLeft.width()),
                         formatPrice(int32_t(price)), *m_font);
    style.drawCursorText(context, 3, int(m_rtMain.maxX() + 2), tagY, int(m_rtMainRight.width()),
                         Util::FormatRange(int32_t(price), m_basicInf->closeprice, rangeDigits()), *m_font);

    if (pointCount() == 0)
        return;
    int shown = m_nCurIndex >= 0 && m_nCurIndex < pointCount() ? m_nCurIndex : pointCount() - 1;
    const StkMinLineItem &item = *(*m_mlineList)[size_t(shown)];
    style.drawCursorText(context, 4, int(x), int(m_rtBottom.y() + 2), int(TimeTagWidth),
                         Util::FormatTime(item.time, false), *m_font);
    drawFloatPanel2(context, item, rect.width() < MiniPanelWidth);
    if (m_bShowLevel2Tech)
        drawLevel2TechTitle(context, m_nCurIndex);
}

std::vector<MinLineClass::FloatItem> MinLineClass::floatPanelItems(const StkMinLineItem &item,
                                                                   bool isMiniMode) const {
    const StylePool &style = StylePool::Instance();
    int32_t close = m_basicInf ? m_basicInf->closeprice : 0;
    int decimal = m_basicInf ? m_basicInf->decimal : 0;
    const base::Ref<gfx::Color> &priceColor = style.getPriceColor(close, item.price);
    std::vector<FloatItem> items;
    items.push_back({"时:", Util::FormatTime(item.time, false), style.clTextName});
    items.push_back({"价:", Util::FormatPrice(item.price, decimal), priceColor});
    if (!isMiniMode) {
        items.push_back({"均:", Util::FormatPrice(item.ave, decimal), priceColor});
        items.push_back({"量:", std::to_string(item.vol), style.clTextName});
    }
    items.push_back({"幅:", Util::FormatRange(item.price, close, 2), priceColor});
    return items;
}

void MinLineClass::drawFloatPanel2(gfx::Context &context, const StkMinLineItem &item, bool isMiniMode) {
    const StylePool &style = StylePool::Instance();
    std::vector<FloatItem> items = floatPanelItems(item, isMiniMode);
    float titleWidth = gfx::measure("时: ", *m_cursorInfoFont).w;
    std::vector<float> valueWidths;
    float panelWidth = PanelPad;
    for (const FloatItem &floatItem : items) {
        valueWidths.push_back(gfx::measure(floatItem.value, *m_cursorInfoFont).w);
        panelWidth += titleWidth + valueWidths.back() + PanelPad;
    }
    float top = m_rtMain.y() + 1;
    Gdip::fillRect(context, {m_rtMain.x() + 1, top, panelWidth, PanelHeight}, *style.clCursorInfoBG);
    float x = m_rtMain.x() + PanelPad;
    for (size_t i = 0; i < items.size(); ++i) {
        const FloatItem &floatItem = items[i];
        const gfx::Color &titleColor = *style.clTextName;
        Gdip::drawStrInRect(context, floatItem.title, {x, top, titleWidth, PanelHeight}, *m_cursorInfoFont,
                            titleColor, true, 0);
        Gdip::drawStrInRect(context, floatItem.value, {x + titleWidth, top, valueWidths[i], PanelHeight},
                            *m_cursorInfoFont, *floatItem.color, true, 0);
        x += titleWidth + valueWidths[i] + PanelPad;
    }
}
