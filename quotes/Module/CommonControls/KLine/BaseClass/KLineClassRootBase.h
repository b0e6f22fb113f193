#pragma once

#include "Module/StockDataBaseMgnt/Common/TechLine/TechIndexBase.h"
#include "gfx/Color.h"
#include "gfx/Context.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

// The common base of every chart: the candlestick chart and the intraday chart family. A chart is
// a vertical stack of panes inside the view's rectangle, top to bottom: a top strip, the main pane
// (title line and price plot), the volume or sub-indicator pane with its title line, the level-2
// pane with its title line, and a bottom strip for the time axis. Each pane has a border, a title
// line, a plot and a left and a right text column at the plot's height. The root lays the panes
// out (a full variant for the intraday charts, a compact one for the candlestick chart); each
// subclass sets the pane switches, calls one layout with its own sizes and runs its own draw pass.
// Geometry is in points with y growing downwards. Main thread only.
class KLineClassRootBase : public base::Object {
public:
    // A reply list as the quote messages deliver it (level-2 series, an index's rise/fall line).
    using ReplyList = std::vector<base::Ref<base::Object>>;

    // Pane frames at creation: 47/255 grey.
    static constexpr float BorderGrey = 47.0f / 255;
    // Axis labels without a colour of their own.
    static constexpr float LabelRed = 100.0f / 255, LabelGreen = 112.0f / 255, LabelBlue = 238.0f / 255;
    // Overlaid stocks' titles: name and range font sizes, and the room around each text.
    static constexpr float AddStockNameSize = 14, AddStockRangeSize = 13, AddStockTextPad = 4,
                           AddStockLinePad = 2;

    struct Pane {
        gfx::Rect border, plot, title, left, right;
    };

    KLineClassRootBase();

    // The full variant: panes framed inside a border inset by the margins, with text columns
    // between border and plot and the volume title above its border. Absent panes get zero
    // rectangles.
    void calcRects(gfx::Rect rect, float borderLeftMargin, float borderRightMargin, float borderLineWidth,
                   float leftFrameWidth, float rightFrameWidth, float topFrameHeight, float bottomFrameHeight,
                   float mainTitleHeight, float volFrameHeight, float volTitleHeight, float thirdFrameHeight,
                   float thirdTitleHeight);
    // The compact variant: every pane spans the plot width between the margins, titles inside the
    // borders, 1-point gaps between main, volume and level-2 panes whether they exist or not.
    void calcRects2(gfx::Rect rect, float borderLeftMargin, float borderRightMargin, float titleFrameHeight,
                    float bottomFrameHeight, float volFrameHeight, float thirdFrameHeight);

    // Fills the rectangle with the background colour and frames it 1 point wide.
    void drawChartBackground(gfx::Context &context, gfx::Rect rtChart) const;
    // Draws the first `count` values of one candle's (or minute's) indicator record in its slot
    // x..x + width of a plot from top to bottom scaled max..min: line points joined to the
    // previous record's, volume bars from the bottom, sticks and bars from the middle, banded
    // lines. No previous record leaves the joining segments out.
    void drawOneTech(gfx::Context &context, int32_t techType, const TechLineItem *tech,
                     const TechLineItem *techPrior, int count, float max, float min, float x, float width,
                     float top, float bottom) const;
    // The three value labels of an indicator pane (max, middle, min) in a text column, right
    // aligned; the default colour without one. The right column shows volumes with their unit
    // in place of the bottom value.
    void drawTechLeftText(gfx::Context &context, gfx::Rect rect, float vmax, float vmin, int digits,
                          const gfx::Color *textColor = nullptr) const;
    void drawTechRightText(gfx::Context &context, gfx::Rect rect, int32_t techType, float vmax, float vmin,
                           int digits, const gfx::Color *textColor = nullptr) const;
    // "☂ name" then the range text of one overlaid stock from (x, y); the x after it goes to
    // `nextX` for the next stock's title.
    void drawAddStockText(gfx::Context &context, std::string_view stockName, std::string_view stockRange,
                          float x, float y, const gfx::Color &textColor, float &nextX) const;

    // Where the cross-hair may go: the main plot's width, from its top to the volume plot's bottom
    // (the main plot's own bottom without a volume pane).
    gfx::Rect getCursorRect() const;
    // Decimals of a price label: 3 below 9.99, 1 above 1,000, 0 above 10,000, else `decimal`.
    int getPriceDisplayDig(int32_t price, int decimal) const;
    // The colour of output `index` of an indicator type; each chart has its own rule.
    virtual base::Ref<gfx::Color> getTechColor(int index, int32_t techType) const;
    int32_t getCurLevel2TechType() const { return m_level2TechType; }

    bool isShowVol() const { return m_bShowVol; }
    void setIsShowVol(bool show) { m_bShowVol = show; }
    bool isShowCursor() const { return m_bShowCursor; }
    void setIsShowCursor(bool show) { m_bShowCursor = show; }
    bool isShowLevel2Tech() const { return m_bShowLevel2Tech; }
    void setIsShowLevel2Tech(bool show) { m_bShowLevel2Tech = show; }
    bool isAddStocksMode() const { return m_isAddStocksMode; }

    const base::Ref<gfx::Font> &font() const { return m_font; }
    // Also takes the font's text height (x-height plus cap height, whole points).
    void setFont(base::Ref<gfx::Font> font);
    float textHeight() const { return m_textH; }
    const base::Ref<gfx::Font> &techTitleFont() const { return m_techTitleFont; }
    void setTechTitleFont(base::Ref<gfx::Font> font) { m_techTitleFont = std::move(font); }

    gfx::Rect m_rtTop, m_rtBottom;
    gfx::Rect m_rtMainBorder, m_rtMain, m_rtMainTitle, m_rtMainLeft, m_rtMainRight;
    gfx::Rect m_rtVolBorder, m_rtVol, m_rtVolTitle, m_rtVolLeft, m_rtVolRight;
    gfx::Rect m_rtLevel2Border, m_rtLevel2, m_rtLevel2Title, m_rtLevel2Left, m_rtLevel2Right;

    // Time of the last data update (seconds of the platform clock); 0 before any.
    double updateTick = 0;
    base::Ref<gfx::Color> chartBackgroundColor;
    base::Ref<gfx::Color> borderColor;

protected:
    bool m_bShowVol = false;
    bool m_bShowCursor = false;
    bool m_bShowLevel2Tech = false;
    bool m_isAddStocksMode = false;
    // Draw passes so far; the subclasses keep it.
    int32_t m_drawTimes = 0;
    base::Ref<gfx::Font> m_font;
    float m_textH = 0;
    base::Ref<gfx::Font> m_techTitleFont;
    int32_t m_level2TechType = 0;
    std::map<int32_t, base::Ref<ReplyList>> m_level2Dict;

private:
    // Text columns of a pane at its plot's height.
    static void setColumns(Pane &pane, float leftX, float leftW, float rightX, float rightW);
    // Max, middle and min labels at the top, middle and bottom of a text column.
    void drawThreeLabels(gfx::Context &context, gfx::Rect rect, const std::string (&texts)[3],
                         const gfx::Color *textColor) const;
    void drawBand(gfx::Context &context, const TechLineSubItem &s, const TechLineSubItem &p, float ys,
                  float yp, float xc, float xp, float top, float bottom) const;
    void storePane(const Pane &main, const Pane &vol, const Pane &level2);
};
