#include "KLineClassRootBase.h"

#include "Common/StyleFunc.h"

#include <algorithm>
#include <cmath>

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
