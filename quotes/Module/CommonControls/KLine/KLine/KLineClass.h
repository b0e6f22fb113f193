#pragma once

#include "Module/CommonControls/KLine/BaseClass/KLineClassBase.h"

#include <string>
#include <vector>

// What the candlestick chart asks of its view: the ex-rights marks are the view's buttons.
class KLineClassDelegate {
public:
    virtual ~KLineClassDelegate() = default;
    // The mark of an ex-rights date belongs at the point under its candle.
    virtual void showExrightButton(int32_t exrightDate, int exrightFlag, gfx::Point bottomPoint) = 0;
    // Marks of dates before `dateFrom` or after `dateTo` are off screen.
    virtual void hideExrightButtons(int32_t dateFrom, int32_t dateTo) = 0;
};

// The candlestick chart's drawing: panes, grid and price labels, candles with the main indicator,
// the sub-indicator and level-2 panes, time labels, title lines, comparison stocks and their
// titles, ex-rights marks (through the delegate), and, in a pass of its own, the cross-hair with
// its value tags and the information panel of the candle under it. Mode 0 is the detail screen's
// full chart, mode 1 the compact one of small places; the mode never changes. Every pass lays
// out and computes afresh. Rises are red and falls green (`clTextRise`, `clTextFall`); candle
// bodies take `clRiseLine` and `clFallLine`.
class KLineClass : public KLineClassBase {
public:
    static constexpr float BottomFrameHeight = 25;
    // Mode 0: margins 10 and 50, a 20-point title line, volume and level-2 panes a fifth of the
    // height each; mode 1: margins 4 and 50, no title line, a quarter each.
    static constexpr float PeriodNameWidth = 70, TimeTagWidth = 60;
    static constexpr float PanelRowStep = 19, PanelAvoidance = 20;
    static constexpr const char *TurnoverTitle = "换:";

    // The information panel: layout 0 one full row, 1 one short row, 2 two rows.
    struct FloatPanel {
        int layout = 0;
        gfx::Rect rect;
        std::vector<std::string> titles;
        std::vector<std::string> values;
    };

    explicit KLineClass(int viewMode);
    using KLineClassBase::drawK;

    // Lays the panes out for the view rectangle and sets the main pane's grid band count.
    void calcRects(gfx::Rect rect);
    // Everything but the cross-hair.
    void draw(gfx::Context &context, gfx::Rect rect);
    // The cross-hair for a touch point (clamped to the main plot), its tags and the panel.
    void drawCursor(gfx::Context &context, gfx::Rect rect, gfx::Point cursorTouch);
    // The candle index under the stored touch point, within the visible window.
    void calcCursor();
    // Marks outside the first and last visible dates are hidden.
    void hideExrightButtons();
    void showExrightButton(int32_t exrightDate, int exrightFlag, gfx::Point bottomPoint);
    void hideExrightButtons(int32_t dateFrom, int32_t dateTo);

    // The panel layout a view of this width takes.
    static int floatPanelLayout(float viewWidth);

    int viewMode() const { return m_viewMode; }
    int horLineCountMain() const { return m_nHorLineCount_Main; }
    int32_t getDisplayFirstTime() const { return displayFirstTime; }
    int curIndex() const { return m_nCurIndex; }
    // The panel of the last cross-hair pass.
    const FloatPanel &floatPanel() const { return m_floatPanel; }
    const base::Ref<gfx::Font> &cursorInfoFont() const { return m_cursorInfoFont; }

    base::Weak<KLineClassDelegate> delegate;

private:
    void drawAxis(gfx::Context &context, gfx::Rect rt);
    void drawPriceText(gfx::Context &context, gfx::Rect rt);
    void drawKLine(gfx::Context &context, gfx::Rect rt);
    void drawK(gfx::Context &context, const KLineItem &k, const KLineItem *kPrior, float left, float width,
               float top, float bottom);
    void drawBottomText(gfx::Context &context, gfx::Rect rt);
    void drawAddStocksTitle(gfx::Context &context);
    void drawTitleLines(gfx::Context &context, int index);
    void drawFloatPanel2(gfx::Context &context, const KLineItem &item, int32_t lastClosePrice, int mode);
    void drawFloatPanel_OpenFund(gfx::Context &context, const KLineItem &item, int32_t lastClosePrice);
    void drawFloatItem2(gfx::Context &context, gfx::Point at, const std::string &sTitle,
                        const std::string &sValue, float titleWidth, float valueWidth, const gfx::Color &clr);
    bool hasData() const { return m_basicInf && candleCount() > 0; }

    int32_t m_viewMode;
    int32_t m_nHorLineCount_Main = 6;
    int32_t displayFirstTime = 0;
    base::Ref<gfx::Font> m_cursorInfoFont;
    FloatPanel m_floatPanel;
};
