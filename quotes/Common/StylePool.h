#pragma once

#include "Common/StylePoolBase.h"
#include "base/Object.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Gradient.h"
#include "gfx/Image.h"

#include <string_view>

// The quote screens' one dark colour scheme: red for rising, green for falling and grey for
// unchanged values, fixed colours for price lines, volume bars, moving averages and overlaid
// stocks, gradient-filled candles, and the drawing of the recurring chart elements (separators,
// cross-hair, value tags, candle and volume bars) in these colours. One instance for the process,
// made on first use and never destroyed; every screen reads it on the main thread.
class StylePool : public StylePoolBase {
public:
    // Separator dashes: 3 on, 8 off; the cross-hair: 2 on, 3 off.
    static constexpr float SepDash[] = {3, 8};
    static constexpr float CursorDash[] = {2, 3};
    static constexpr float CursorTextHeight = 17;

    static StylePool &Instance();

    const base::Ref<gfx::Color> clTextName, clTextRise, clTextFall, clTextPlane, clTextRise2, clTextFall2,
        clTextPlane2, clTextVol, clTextAmount, clCutLine, clVolLine, clBorder, clRiseLine, clFallLine, clAxis,
        clThickAxis, clAxis2, clPriceLine, clPriceAveLine, clMiniPriceLine, clMiniPriceAveLine, clCursorLine,
        clCursorInfoBG, clExright, clMA1, clMA2, clMA3, clMA4, clMA5, clMA6, clAddStock1, clAddStock2,
        clAddStock3, clAddStock4, clAddStock5, clAddStock6, clChartBG, clTrendLineEvenBG;

    // Empty where the bundle lacks the picture.
    const base::Ref<gfx::Image> imgTxtBG, imgTableTitle, imgMiniWaiting, imgSetTechIndex, imgTableViewBG;
    const base::Ref<gfx::Font> fontPriceVol, fontTechIndex;
    // Three stops across a candle: darker at its edges than in its middle, which is the line colour.
    const base::Ref<gfx::Gradient> gradientKLineRise, gradientKLineFall;

    // Plane when either price is 0, else rise, fall or plane as the current one compares.
    const base::Ref<gfx::Color> &getPriceColor(int refPrice, int curPrice) const;
    // Rise above 0, fall below, plane at 0.
    const base::Ref<gfx::Color> &getPriceColor(int change) const;
    // Rise for the buying big-order types 0, 2 and 4; fall for every other value.
    const base::Ref<gfx::Color> &getDDTypeColor(int type) const;
    // The colour of index 0 to 5; the first for any other index.
    const base::Ref<gfx::Color> &getMAColor(int index) const;
    const base::Ref<gfx::Color> &getAddStockColor(int index) const;

    // Black inside the rect inset by 1 point, framed by a 1-point line; the type is not used.
    void drawKLineBorder(gfx::Context &context, gfx::Rect rt, int type) const;
    // The segment dashed in the axis colour, then again 1 point aside (down, or right when
    // vertical) in the second axis colour.
    void drawKSepLine(gfx::Context &context, gfx::Point p1, gfx::Point p2) override;
    void drawThickKSepLine(gfx::Context &context, gfx::Point p1, gfx::Point p2, bool isVertLine) override;
    // The cross-hair segment, dashed, 1 point wide.
    void drawCursorLine(gfx::Context &context, gfx::Point p1, gfx::Point p2) const;
    // A value tag: a box `w` wide and 17 high at (x, y), or centred on x for type 4, holding the
    // text in white.
    void drawCursorText(gfx::Context &context, int type, int x, int y, int w, std::string_view sText,
                        const gfx::Font &font) const;
    // A candle body: up to 1 point wide a vertical line in the current stroke colour, up to 2
    // filled with the colour, wider filled with the rise or fall gradient.
    void drawKLineColumn(gfx::Context &context, gfx::Rect rect, bool isRise, const gfx::Color &color) const;
    // A volume bar in the rise or fall line colour, drawn as the candle bodies are.
    void drawKLineVolColumn(gfx::Context &context, gfx::Rect rect, bool isRise) const;
    // The rect filled with the rise or fall gradient from its left edge to its right edge.
    void drawKLineColumn(gfx::Context &context, gfx::Rect rect, bool isRise) const;

private:
    StylePool();
    static void strokeVertical(gfx::Context &context, gfx::Rect rect);
};
