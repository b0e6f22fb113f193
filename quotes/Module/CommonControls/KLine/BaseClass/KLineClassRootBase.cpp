#include "KLineClassRootBase.h"

#include "Common/Gdip.h"
#include "Common/StyleFunc.h"
#include "Common/StylePool.h"
#include "Common/Util.h"
#include "Module/StockDataBaseMgnt/Common/TechLine/TechIndex.h"
#include "gfx/Text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Price label decimals change at these whole-unit prices.
constexpr float SmallPrice = 9.99f;
constexpr float LargePrice = 1000;
constexpr float HugePrice = 10000;

float bottomOf(const gfx::Rect &rect) {
    return rect.y() + rect.height();
}

} // namespace

KLineClassRootBase::KLineClassRootBase()
    : chartBackgroundColor(gfx::Color::clear()),
      borderColor(gfx::Color::rgba(BorderGrey, BorderGrey, BorderGrey)) {}

void KLineClassRootBase::setFont(base::Ref<gfx::Font> font) {
    m_font = std::move(font);
    m_textH = float(StyleFunc::getFontHeight(m_font));
}

base::Ref<gfx::Color> KLineClassRootBase::getTechColor(int, int32_t) const {
    return nullptr;
}

void KLineClassRootBase::setColumns(Pane &pane, float leftX, float leftW, float rightX, float rightW) {
    pane.left = {leftX, pane.plot.y(), leftW, pane.plot.height()};
    pane.right = {rightX, pane.plot.y(), rightW, pane.plot.height()};
}

void KLineClassRootBase::storePane(const Pane &main, const Pane &vol, const Pane &level2) {
    m_rtMainBorder = main.border;
    m_rtMain = main.plot;
    m_rtMainTitle = main.title;
    m_rtMainLeft = main.left;
    m_rtMainRight = main.right;
    m_rtVolBorder = vol.border;
    m_rtVol = vol.plot;
    m_rtVolTitle = vol.title;
    m_rtVolLeft = vol.left;
    m_rtVolRight = vol.right;
    m_rtLevel2Border = level2.border;
    m_rtLevel2 = level2.plot;
    m_rtLevel2Title = level2.title;
    m_rtLevel2Left = level2.left;
    m_rtLevel2Right = level2.right;
}

void KLineClassRootBase::calcRects(gfx::Rect rect, float L, float R, float b, float LW, float RW, float TH,
                                   float BH, float MT, float VH, float VT, float GH, float GT) {
    float x = rect.x(), y = rect.y(), W = rect.width(), H = rect.height();
    float borderX = x + L + 1, BW = W - L - R - 2;
    float plotX = borderX + LW, PW = BW - LW - RW - 2 * b;
    float leftX = x + 1, leftW = L + LW;
    float rightX = borderX + BW + 1, rightW = x + W - rightX;

    m_rtBottom = {plotX, y + H - BH, PW, BH};
    Pane main, vol, level2;
    if (m_bShowLevel2Tech) {
        level2.border = {borderX, m_rtBottom.y() - (GH + GT) + 2, BW, GH + GT};
        level2.title = {plotX, level2.border.y() + b, PW, GT};
        level2.plot = {plotX, bottomOf(level2.title), PW, GH - 2 * b};
        setColumns(level2, leftX, leftW, rightX, rightW);
    }
    if (m_bShowVol) {
        float top = (level2.title.y() > 0 ? level2.title.y() : m_rtBottom.y()) - VH;
        vol.border = {borderX, top, BW, VH};
        vol.plot = {plotX, top + b, PW, VH - 2 * b};
        vol.title = {plotX, top - VT, PW, VT};
        setColumns(vol, leftX, leftW, rightX, rightW);
    }
    m_rtTop = {borderX, y, BW, TH};
    float mainH = H - TH - BH - level2.border.height() - vol.border.height() - vol.title.height();
    main.border = {borderX, y + TH, BW, mainH};
    main.title = {plotX, main.border.y() + b, PW, MT};
    main.plot = {plotX, bottomOf(main.title), PW, mainH - MT - 2 * b};
    setColumns(main, leftX, leftW, rightX, rightW);
    storePane(main, vol, level2);
}

void KLineClassRootBase::calcRects2(gfx::Rect rect, float L, float R, float T, float BH, float VH, float GH) {
    float x = rect.x(), y = rect.y(), W = rect.width(), H = rect.height();
    float plotX = x + L, PW = W - L - R;
    float leftX = x + 1, leftW = L - 1;
    float rightX = x + W - R + 1, rightW = R - 1;
    auto framed = [&](Pane &pane, float top, float height) {
        pane.border = {plotX, top, PW, height};
        pane.title = {plotX, top, PW, T};
        pane.plot = {plotX, top + T, PW, height - T};
        setColumns(pane, leftX, leftW, rightX, rightW);
    };

    m_rtBottom = {x, y + H - BH, W, BH};
    Pane main, vol, level2;
    if (m_bShowLevel2Tech)
        framed(level2, m_rtBottom.y() - GH, GH);
    if (m_bShowVol)
        framed(vol, (level2.title.y() > 0 ? level2.border.y() - 1 : m_rtBottom.y()) - VH, VH);
    m_rtTop = {plotX, y, PW, 1};
    // The two 1-point gaps between the panes are kept whether the panes exist or not.
    framed(main, y + 1, H - 1 - BH - level2.border.height() - 1 - vol.border.height() - 1);
    storePane(main, vol, level2);
}

gfx::Rect KLineClassRootBase::getCursorRect() const {
    float bottom = m_bShowVol ? bottomOf(m_rtVol) : bottomOf(m_rtMain);
    return {m_rtMain.x(), m_rtMain.y(), m_rtMain.width(), bottom - m_rtMain.y()};
}

int KLineClassRootBase::getPriceDisplayDig(int32_t price, int decimal) const {
    float v = float(price) / float(std::pow(10.0, std::clamp(decimal, 0, 10)));
    if (v < SmallPrice)
        return 3;
    if (v > HugePrice)
        return 0;
    if (v > LargePrice)
        return 1;
    return decimal;
}

void KLineClassRootBase::drawChartBackground(gfx::Context &context, gfx::Rect rtChart) const {
    Gdip::fillRect(context, rtChart, *chartBackgroundColor);
    Gdip::drawRect(context, rtChart, *borderColor);
}

void KLineClassRootBase::drawOneTech(gfx::Context &context, int32_t techType, const TechLineItem *tech,
                                     const TechLineItem *techPrior, int count, float max, float min, float x,
                                     float width, float top, float bottom) const {
    if (!tech)
        return;
    StylePool &style = StylePool::Instance();
    float xc = x + width / 2, xp = x - width / 2, ym = top + (bottom - top) / 2;
    float inset = width > 1 ? 1 : 0;
    float barX = x + inset, barW = width - 2 * inset;
    auto y = [&](float v) { return Util::mappingAsixYValue(max, min, v, top, bottom); };
    bool isRise = true;
    for (int i = 0; i < count; ++i) {
        const TechLineSubItem *s = tech->getSubItem(i);
        if (!s)
            continue;
        const TechLineSubItem *p = techPrior ? techPrior->getSubItem(i) : nullptr;
        base::Ref<gfx::Color> color = getTechColor(i, techType);
        const gfx::Color &lineColor = color ? *color : *style.clTextName;
        switch (s->type) {
        case TechLineSubItem::RiseFlag:
            if (techType == TechIndex::VOL)
                isRise = int(s->value) != 0;
            break;
        case TechLineSubItem::Line:
            if (p && p->type != TechLineSubItem::Hidden)
                Gdip::drawLine(context, {xp, y(p->value)}, {xc, y(s->value)}, lineColor, 1);
            break;
        case TechLineSubItem::VolBar: {
            float barTop = std::floor(Util::mappingAsixYValue(max, 0, s->value, top, bottom));
            // At least 1 point high, and kept inside the plot.
            float height = std::max(bottom - barTop, 1.0f);
            style.drawKLineVolColumn(context, {barX, bottom - height, barW, height}, isRise);
            break;
        }
        case TechLineSubItem::Stick:
            Gdip::drawLine(context, {xc, ym}, {xc, y(s->value)},
                           s->value >= 0 ? *style.clTextRise : *style.clTextFall, 1);
            break;
        case TechLineSubItem::Bar: {
            float end = std::floor(y(s->value));
            float height = std::max(std::fabs(ym - end), 1.0f);
            style.drawKLineVolColumn(context, {barX, std::min(ym, end), barW, height}, s->value >= 0);
            break;
        }
        case TechLineSubItem::LineAlways:
            if (p)
                Gdip::drawLine(context, {xp, y(p->value)}, {xc, y(s->value)}, lineColor, 1);
            break;
        case TechLineSubItem::Band:
            if (p && p->type != TechLineSubItem::Hidden) {
                Gdip::drawLine(context, {xp, y(p->value)}, {xc, y(s->value)}, lineColor, 1);
                drawBand(context, *s, *p, y(s->value), y(p->value), xc, xp, top, bottom);
            }
            break;
        default:
            break;
        }
    }
}

void KLineClassRootBase::drawBand(gfx::Context &context, const TechLineSubItem &s, const TechLineSubItem &p,
                                  float ys, float yp, float xc, float xp, float top, float bottom) const {
    // The band hangs below a rising value's line and above a falling one's.
    auto depth = [](const TechLineSubItem &item) { return item.value >= 0 ? item.value2 : -item.value2; };
    const gfx::Point corners[] = {{xp, yp}, {xc, ys}, {xc, ys + depth(s)}, {xp, yp + depth(p)}};
    base::Ref<gfx::Color> fill = s.value > 0 ? gfx::Color::red() : gfx::Color::green();
    bool leaves = std::any_of(std::begin(corners), std::end(corners),
                              [&](const gfx::Point &c) { return c.y < top || c.y > bottom; });
    if (leaves)
        Gdip::fillPolygon(context, corners, *fill, {xp, top, xc - xp, bottom - top});
    else
        Gdip::fillPolygon(context, corners, *fill);
}

void KLineClassRootBase::drawThreeLabels(gfx::Context &context, gfx::Rect rect, const std::string (&texts)[3],
                                         const gfx::Color *textColor) const {
    if (!m_font)
        return;
    base::Ref<gfx::Color> fallback = gfx::Color::rgba(LabelRed, LabelGreen, LabelBlue);
    const gfx::Color &color = textColor ? *textColor : *fallback;
    float h = float(StyleFunc::getFontHeight(m_font));
    const float tops[] = {rect.y(), rect.y() + rect.height() / 2 - h / 2, rect.y() + rect.height() - h};
    for (int i = 0; i < 3; ++i)
        Gdip::drawStrInRect(context, texts[i], {rect.x(), tops[i], rect.width(), h}, *m_font, color, 2);
}

void KLineClassRootBase::drawTechLeftText(gfx::Context &context, gfx::Rect rect, float vmax, float vmin,
                                          int digits, const gfx::Color *textColor) const {
    const std::string texts[3] = {Util::FormatFloatWithUnit(vmax, digits),
                                  Util::FormatFloatWithUnit((vmax + vmin) / 2, digits),
                                  Util::FormatFloatWithUnit(vmin, digits)};
    drawThreeLabels(context, rect, texts, textColor);
}

void KLineClassRootBase::drawTechRightText(gfx::Context &context, gfx::Rect rect, int32_t techType,
                                           float vmax, float vmin, int digits,
                                           const gfx::Color *textColor) const {
    if (techType != TechIndex::VOL) {
        drawTechLeftText(context, rect, vmax, vmin, digits, textColor);
        return;
    }
    int volumeMax = int(vmax), multiple = 1, volumeDigits = 0;
    Util::getFormatVolumeMultiple(volumeMax, multiple, volumeDigits);
    const std::string texts[3] = {
        Util::FormatVolumeByMultiple(volumeMax, multiple, volumeDigits),
        Util::FormatVolumeByMultiple(int((vmax + vmin) / 2), multiple, volumeDigits),
        Util::getFormatVolumeUnit(volumeMax)};
    drawThreeLabels(context, rect, texts, textColor);
}

void KLineClassRootBase::drawAddStockText(gfx::Context &context, std::string_view stockName,
                                          std::string_view stockRange, float x, float y,
                                          const gfx::Color &textColor, float &nextX) const {
    auto drawPiece = [&](const std::string &text, const base::Ref<gfx::Font> &font, float left) {
        gfx::Size size = gfx::measure(text, *font);
        float h = float(StyleFunc::getFontHeight(font)) + AddStockLinePad;
        gfx::Rect box{left, y, size.w + AddStockTextPad, h};
        Gdip::drawStrInRect(context, text, box, *font, textColor, 0);
        return box.x() + box.width();
    };
    float afterName =
        drawPiece("☂ " + std::string(stockName), StyleFunc::getBoldSysFont(int(AddStockNameSize)), x);
    nextX = drawPiece(std::string(stockRange), StyleFunc::getBoldSysFont(int(AddStockRangeSize)), afterName);
}
