#pragma once

#include "Module/CommonControls/MinLine/BaseClass/MinLineClassBase.h"

#include <string>
#include <vector>

// The full intraday chart of the detail screen, its full-screen form, pop-up window and chart
// grid: a price pane with grid, half-hour shading, session lines and time labels, price and
// percentage labels, a volume pane and, for Shanghai and Shenzhen stocks, the level-2 pane; the
// cross-hair with its value tags and floating information panel. `MinLineView` owns one, sets
// its switches (cross-hair shown, comparison mode, shared scale) and calls `draw` from its draw
// pass and `drawCursor` from its cursor view's. Every pass lays out again from the rectangle it
// gets. Main thread only.
class MinLineClass : public MinLineClassBase {
public:
    enum ViewMode : int32_t { FullMode = 0, CompactMode = 1 };
    // Grid intervals of the main pane, and fewer for a low plot: below each height the count
    // beside it.
    static constexpr int32_t HorLineCount = 10;
    static constexpr float GridSteps[][2] = {{100, 2}, {200, 4}, {300, 6}, {400, 8}};
    static constexpr float LineWidth = 1.2f;
    // The top strip grows to hold the stock titles in comparison mode.
    static constexpr float TopFrameHeight = 2, AddStocksTopFrameHeight = 20;
    static constexpr float BottomFrameHeight = 25, ThirdTitleHeight = 20;
    // The floating panel: its height, and the room before, between and after its items.
    static constexpr float PanelHeight = 20, PanelPad = 5;
    // Below this width the panel shows time, price and percentage only.
    static constexpr float MiniPanelWidth = 400;
    static constexpr float TimeTagWidth = 50;
    static constexpr float TimeLabelWidth = 60;

    explicit MinLineClass(int32_t viewMode = FullMode);

    void calcRects(gfx::Rect rect);
    // Axis, then the data with its labels and the level-2 pane; the axis alone without data.
    void draw(gfx::Context &context, gfx::Rect rect);
    // The cross-hair at the touch held inside the main plot, its price, percentage and time tags,
    // the floating panel and the level-2 title of the minute under it; sets `curIndex`.
    void drawCursor(gfx::Context &context, gfx::Rect rect, gfx::Point cursorTouch);

    // One price label row: the price in the left column, its percentage in the right one.
    struct PriceLabel {
        std::string price, range;
        base::Ref<gfx::Color> color;
        bool bold = false;
        float top = 0;
    };
    // The labels of the main pane's top, grid lines and bottom for the last layout; the middle
    // one white and bold.
    std::vector<PriceLabel> priceLabels() const;
    // One item of the floating panel.
    struct FloatItem {
        std::string title, value;
        base::Ref<gfx::Color> color;
    };
    std::vector<FloatItem> floatPanelItems(const StkMinLineItem &item, bool isMiniMode) const;

    int32_t horLineCount() const { return m_nHorLineCount_Min; }

private:
    void drawAxis(gfx::Context &context);
    void drawTimeShading(gfx::Context &context, const TradeTimeXPosItem &session);
    void drawPriceText(gfx::Context &context);
    void drawVolText(gfx::Context &context);
    void drawFloatPanel2(gfx::Context &context, const StkMinLineItem &item, bool isMiniMode);
    int rangeDigits() const { return m_viewMode == FullMode ? 2 : 1; }
    std::string formatPrice(int32_t price) const;

    int32_t m_viewMode;
    int32_t m_nHorLineCount_Min = HorLineCount;
    base::Ref<gfx::Font> m_cursorInfoFont;
};
