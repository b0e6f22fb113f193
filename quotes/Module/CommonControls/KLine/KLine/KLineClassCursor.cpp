#include "KLineClass.h"

#include "Common/Gdip.h"
#include "Common/StylePool.h"
#include "Common/Util.h"
#include "base/Str.h"
#include "gfx/Text.h"

#include <algorithm>
#include <cmath>

namespace {

// Panels wider than this take one full row, wider than the first one short row, else two rows.
constexpr float FullPanelWidth = 600, ShortPanelWidth = 400;

float bottomOf(const gfx::Rect &r) {
    return r.y() + r.height();
}

float rightOf(const gfx::Rect &r) {
    return r.x() + r.width();
}

struct PanelItem {
    std::string title, value;
    base::Ref<gfx::Color> color;
};

} // namespace

int KLineClass::floatPanelLayout(float viewWidth) {
    if (viewWidth < ShortPanelWidth)
        return 2;
    if (viewWidth < FullPanelWidth)
        return 1;
    return 0;
}

void KLineClass::calcCursor() {
    const float pitch = std::max(m_ksize, MinPitch);
    int index = m_nIndexFrom + Util::truncToInt((m_cursorTouch.x - m_rtMain.x()) / pitch);
    m_nCurIndex = std::clamp(index, m_nIndexFrom, std::max(m_nIndexFrom, m_nIndexTo));
}

void KLineClass::drawCursor(gfx::Context &context, gfx::Rect rect, gfx::Point cursorTouch) {
    if (!hasData())
        return;
    StylePool &style = StylePool::Instance();
    calcRects(rect);
    calcIndex(m_rtMain);
    calcMaxMinPrice();
    if (m_isAddStocksMode)
        calcAddStock_MaxMinPrice(m_nIndexFrom, m_nIndexTo);
    const gfx::Rect m = m_rtMain;
    m_cursorTouch = {std::clamp(cursorTouch.x, m.x(), rightOf(m)), cursorTouch.y};
    calcCursor();
    if (m_viewMode == 0)
        drawTitleLines(context, m_nCurIndex);

    const float lineY = std::clamp(cursorTouch.y, m.y(), bottomOf(m));
    style.drawCursorLine(context, {m.x(), lineY}, {rightOf(m), lineY});
    const float centreX = m.x() + m_ksize * float(m_nCurIndex - m_nIndexFrom) + m_ksize / 2;
    float lowest = bottomOf(m);
    if (m_bShowVol)
        lowest = bottomOf(m_rtVol);
    if (m_bShowLevel2Tech)
        lowest = bottomOf(m_rtLevel2);
    style.drawCursorLine(context, {centreX, m.y()}, {centreX, lowest});

    const int dig = decimal();
    const float price =
        Util::mappingValueByAsixY(float(m_nMaxPrice), float(m_nMinPrice), lineY, m.y(), bottomOf(m));
    style.drawCursorText(context, 3, int(rightOf(m) + 2), int(lineY - m_textH / 2),
                         int(m_rtMainRight.width()),
                         Util::FormatPrice(price, dig, getPriceDisplayDig(m_nMaxPrice, dig)), *m_font);
    const KLineItem &item = *candleAt(m_nCurIndex);
    style.drawCursorText(context, 4, int(m_cursorTouch.x), int(m_rtBottom.y() + 2), int(TimeTagWidth),
                         Util::FormatKLineTime(item.time, m_ktype, true), *m_font);

    const KLineItem *prior = candleAt(m_nCurIndex - 1);
    const int32_t reference = prior ? prior->closeprice : item.openprice;
    if (m_mainTechType == TechIndex::FundLine)
        drawFloatPanel_OpenFund(context, item, reference);
    else
        drawFloatPanel2(context, item, reference, floatPanelLayout(rect.width()));
}

void KLineClass::drawFloatPanel2(gfx::Context &context, const KLineItem &item, int32_t lastClosePrice,
                                 int mode) {
    StylePool &style = StylePool::Instance();
    const int dig = decimal(), displayDig = getPriceDisplayDig(item.highprice, dig);
    auto price = [&](int32_t v) { return Util::FormatPrice(float(v), dig, displayDig); };
    auto byPrice = [&](int32_t v) { return style.getPriceColor(lastClosePrice, v); };
    const bool full = mode == 0;

    std::vector<PanelItem> items;
    if (full)
        items.push_back({"日:", Util::FormatKLineTime(item.time, m_ktype, false), style.clTextName});
    items.push_back({"开:", price(item.openprice), byPrice(item.openprice)});
    items.push_back({"高:", price(item.highprice), byPrice(item.highprice)});
    items.push_back({"低:", price(item.lowprice), byPrice(item.lowprice)});
    items.push_back({"收:", price(item.closeprice), byPrice(item.closeprice)});
    items.push_back({"量:", Util::FormatVolume(item.vol, 1), style.clTextName});
    if (full)
        items.push_back({"额:", Util::FormatAmount(item.amount, 2), style.clTextName});
    items.push_back({"幅:", Util::FormatRange(item.closeprice, lastClosePrice, 2), byPrice(item.closeprice)});
    // Turnover needs the circulating capital: without it there is nothing to divide by.
    if (full && m_basicInf->circulatedCapital > 0)
        items.push_back(
            {TurnoverTitle,
             base::str::format("%.2f%%", double(item.vol) * 100.0 / double(m_basicInf->circulatedCapital)),
             style.clTextName});

    const gfx::Font &font = *m_cursorInfoFont;
    const float titleW = gfx::measure("日: ", font).w, rowH = m_textH + 1;
    std::vector<float> widths;
    for (const PanelItem &it : items)
        widths.push_back(gfx::measure(it.value, font).w);

    const bool twoRows = mode == 2;
    float width = 5, height = rowH;
    if (twoRows) {
        float row1 = widths[0] + widths[1] + widths[2], row2 = widths[3] + widths[4] + widths[5];
        width += 3 * (titleW + 5) + std::max(row1, row2);
        height = 2 * rowH;
    } else {
        for (float w : widths)
            width += titleW + 5 + w;
    }
    const gfx::Rect m = m_rtMain;
    gfx::Rect panel{m.x() + 1, m.y() + 1, width, height};
    if (twoRows && m_cursorTouch.y >= m.y() && m_cursorTouch.y <= m.y() + height + PanelAvoidance)
        panel = {m.x() + 1, bottomOf(m) - height, width, height};
    Gdip::fillRect(context, panel, *style.clCursorInfoBG);

    m_floatPanel = {mode, panel, {}, {}};
    const float left = panel.x() + 4;
    gfx::Point at{left, panel.y()};
    for (size_t i = 0; i < items.size(); ++i) {
        if (twoRows && i == 3)
            at = {left, panel.y() + PanelRowStep};
        drawFloatItem2(context, at, items[i].title, items[i].value, titleW, widths[i], *items[i].color);
        at.x += titleW + widths[i] + 5;
        m_floatPanel.titles.push_back(items[i].title);
        m_floatPanel.values.push_back(items[i].value);
    }
}

void KLineClass::drawFloatItem2(gfx::Context &context, gfx::Point at, const std::string &sTitle,
                                const std::string &sValue, float titleWidth, float valueWidth,
                                const gfx::Color &clr) {
    const float h = m_textH + 1;
    Gdip::drawStrInRect(context, sTitle, {at.x, at.y, titleWidth, h}, *m_cursorInfoFont,
                        *StylePool::Instance().clTextName, 0);
    Gdip::drawStrInRect(context, sValue, {at.x + titleWidth, at.y, valueWidth + 1, h}, *m_cursorInfoFont, clr,
                        0);
}

void KLineClass::drawFloatPanel_OpenFund(gfx::Context &context, const KLineItem &item,
                                         int32_t lastClosePrice) {
    StylePool &style = StylePool::Instance();
    const int dig = decimal(), displayDig = getPriceDisplayDig(item.highprice, dig);
    auto price = [&](int32_t v) { return Util::FormatPrice(float(v), dig, displayDig); };
    const PanelItem items[] = {
        {"日:", Util::FormatKLineTime(item.time, m_ktype, false), style.clTextName},
        {"净值:", price(item.closeprice), style.getPriceColor(lastClosePrice, item.closeprice)},
        {"累计净值:", price(item.holdVol), style.clTextName},
    };
    const char *measured[] = {"日: ", "净值: ", "累计净值: "};
    float width = 5;
    float titleWs[3], valueWs[3];
    for (int i = 0; i < 3; ++i) {
        titleWs[i] = gfx::measure(measured[i], *m_font).w;
        valueWs[i] = gfx::measure(items[i].value, *m_font).w;
        width += titleWs[i] + valueWs[i] + 5;
    }
    const float h = m_textH + 1;
    const gfx::Rect panel{m_rtMain.x() + 71, m_rtMain.y() - 2 - h, width, h};
    Gdip::fillRect(context, panel, *style.clCursorInfoBG);
    m_floatPanel = {0, panel, {}, {}};
    float x = m_rtMain.x() + 76;
    for (int i = 0; i < 3; ++i) {
        Gdip::drawStrInRect(context, items[i].title, {x, panel.y(), titleWs[i], h}, *m_font,
                            *style.clTextName, 0);
        Gdip::drawStrInRect(context, items[i].value, {x + titleWs[i], panel.y(), valueWs[i] + 1, h}, *m_font,
                            *items[i].color, 0);
        x += titleWs[i] + valueWs[i] + 5;
        m_floatPanel.titles.push_back(items[i].title);
        m_floatPanel.values.push_back(items[i].value);
    }
}
