#pragma once

#include "MinLineCheckFields.h"
#include "MinLineXPos.h"

#include "DataBase/NetData/StkMinLineItem.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/KLine/BaseClass/KLineClassRootBase.h"
#include "Module/StockDataBaseMgnt/Common/TechLine/MLineLevel2TechIndex.h"

#include <string>
#include <vector>

using MinLineList = std::vector<base::Ref<StkMinLineItem>>;

// The data and geometry core of every intraday chart (the detail screen's chart, its comparison
// lines, the list rows' pictures and the banners' small charts). It holds one security's quote
// snapshot and its minutes, derives the price and volume scale, lays the minutes over the trading
// sessions of the security's market, places the time-axis marks, keeps an index's rise/fall line
// and the level-2 minute indicator, and answers the cursor's and the information-mine button's
// questions. An update bringing nothing new (same snapshot prices, same count, same last minute)
// skips the recalculation, so the 5-second refreshes cost a few comparisons. Prices are scaled
// integers, minute and session times HHMM. Main thread only.
class MinLineClassBase : public KLineClassRootBase {
public:
    // Trading minutes of a day before the market is known; a market without sessions counts so.
    static constexpr int32_t DefaultMinCount = 241;
    // The information-mine button's place when no minute has reached its time.
    static constexpr float InfoBombDefaultX = 50.0f;
    // Price scale rules.
    enum AxisMode : int32_t { SymmetricAxis = 0, HighLowAxis = 1 };
    // Smallest half-range of the symmetric scale, in percent: indexes (type 0), other securities.
    static constexpr float IndexMinRange = 1.0f;
    static constexpr float StockMinRange = 0.2f;
    // The scale of a chart without a usable range: ±10 % around the previous close.
    static constexpr double FallbackRate = 0.1;
    // A half-hour mark every 30 minutes, in sessions of at least an hour.
    static constexpr int HalfHourMinutes = 30;
    static constexpr int MarkedSessionMinutes = 60;

    MinLineClassBase();

    // Each stores what it gets and answers whether the chart's data changed and was recalculated.
    bool Update(base::Ref<StockQuoteInf> basicInf, base::Ref<MinLineList> mlineList);
    bool UpdateBasicInf(base::Ref<StockQuoteInf> basicInf);
    bool UpdateMinLine(base::Ref<MinLineList> mlineList);
    // An index's rise/fall line (SeriesNumbers from −100 to 100); taken only for the stored
    // security's code.
    bool UpdateIndexRiseFallLine(const std::string &code, base::Ref<ReplyList> rspArray);

    void calcMaxMinPriceVol();
    float getMaxPriceRate() const { return m_dMaxPriceRate; }
    // A scale of ±rate around the previous close, to share one scale with other charts; its ends
    // are rounded to whole price units.
    void setMaxPriceRate(float rate);

    // The x of every placed minute for a plot rectangle.
    void calcXPos(gfx::Rect rect);
    // The sessions and their marks across the main plot.
    void calcTradeTimeXPos();
    // The minute under an x position, −1 for none.
    int getXPosIndex(float x) const;
    // YES for a point in the main plot with a snapshot and minutes.
    bool canShowCursor(gfx::Point point) const;
    // The x of the first minute at or after the time; 50.0 when none is.
    float getInfoBombXPos(int32_t time) const;

    // The level-2 pane (codes 2922, 2923, 2924): replies are kept per code.
    void initLevel2TechIndex(int32_t techType);
    void changeLevel2TechIndex(int32_t techType);
    void resetLevel2TechIndex(int32_t techType, const base::Ref<ReplyList> &series);
    bool UpdateLevel2TechIndex(int32_t techType, const base::Ref<ReplyList> &series);

    // Total buy rises and total sell falls; every other output i in moving-average colour i.
    base::Ref<gfx::Color> getTechColor(int index, int32_t techType) const override;

    // The drawing pass, into the current context (antialiasing off while it runs). The full chart
    // draws price and average lines in the main plot, volume bars in the volume plot and, for the
    // two main indexes, the rise/fall bars; the mini and small charts only the lines; a comparison
    // line only the price, into the rectangle given. Nothing is drawn without minutes.
    void drawMinVolLine(gfx::Context &context, const gfx::Color &clPriceLine,
                        const gfx::Color &clPriceAveLine, const gfx::Color &clVolLine);
    void drawMinVolLine(gfx::Context &context, const gfx::Color &clPriceLine,
                        const gfx::Color &clPriceAveLine);
    void drawMinVolLine(gfx::Context &context, gfx::Rect rtChart, const gfx::Color &clPriceLine);
    // The positions a pass with this step draws among `count`: every step-th from 0, and always
    // the last.
    static std::vector<int> drawnPositions(int count, int step);
    // The level-2 pane: axis labels in the text column and one slot per placed minute; nothing
    // without records.
    void drawLevel2TechIndex(gfx::Context &context, gfx::Rect rtChart, gfx::Rect rtLeftText) const;
    // "name:value" of each shown output of a minute's level-2 record (−1 the latest) along the
    // level-2 title line; nothing without that record.
    void drawLevel2TechTitle(gfx::Context &context, int index) const;
    // The stock's name and rise percentage at (x, y); the x after them goes to `nextX`.
    void drawAddStockText(gfx::Context &context, float x, float y, const gfx::Color &textColor,
                          float &nextX) const;
    using KLineClassRootBase::drawAddStockText;

    bool isShowPriceAveLine() const { return m_bShowPriceAveLine; }
    void setIsShowPriceAveLine(bool show) { m_bShowPriceAveLine = show; }
    int drawMinLineStep() const { return m_nDrawMinLineStep; }
    void setDrawMinLineStep(int step) { m_nDrawMinLineStep = step; }
    void setAxisMode(int32_t mode) { m_nAxisMode = mode; }
    // Comparison mode: the full chart leaves a taller top strip for the stock titles.
    void setIsAddStocksMode(bool on) { m_isAddStocksMode = on; }
    // The minute under the cross-hair of the last cursor pass.
    int curIndex() const { return m_nCurIndex; }

    int32_t maxPrice() const { return m_nMaxPrice; }
    int32_t minPrice() const { return m_nMinPrice; }
    int32_t maxVol() const { return m_nMaxVol; }
    int32_t maxMinCount() const { return m_maxMinCount; }
    const std::vector<MinLineXPosItem> &minLineXPosList() const { return m_minLineXPosList; }
    const std::vector<TradeTimeXPosItem> &timeXPosList() const { return m_timeXPosList; }
    const MinLineCheckFields &priorData() const { return m_priorData; }
    const base::Ref<MLineLevel2TechIndex> &level2TechIndex() const { return m_level2TechIndex; }
    const base::Ref<ReplyList> &indexRiseFallLineList() const { return m_indexRiseFallLineList; }

protected:
    bool recalcData();
    bool isSameWithPriorData() const;
    void saveLastData();
    int pointCount() const { return m_mlineList ? int(m_mlineList->size()) : 0; }
    bool hasData() const { return m_basicInf && pointCount() > 0; }
    // The mark of one of the price scale's `n` + 1 levels for the last layout (top, grid lines,
    // bottom): its price, the top of its text, and its colour (rise above the middle line, white on
    // it, fall below). Empty without a snapshot.
    struct ScaleMark {
        int32_t price = 0;
        float top = 0;
        base::Ref<gfx::Color> color;
        bool middle = false;
    };
    std::vector<ScaleMark> scaleMarks(int n) const;
    // The core of the drawing pass; volume bars in `rtVol`.
    void drawMinVolLine(gfx::Context &context, gfx::Rect rtChart, const gfx::Color &clPriceLine,
                        bool isDrawAveLine, const gfx::Color &clPriceAveLine, bool isDrawVol, gfx::Rect rtVol,
                        const gfx::Color &clVolLine, bool isDrawIndexRiseFallLine);

    base::Ref<StockQuoteInf> m_basicInf;
    base::Ref<MinLineList> m_mlineList;
    base::Ref<ReplyList> m_indexRiseFallLineList;
    int32_t m_nMaxPrice = 0, m_nMinPrice = 0;
    int32_t m_nMaxVol = 0;
    float m_dMaxPriceRate = 0;
    int32_t m_maxMinCount = DefaultMinCount;
    std::vector<MinLineXPosItem> m_minLineXPosList;
    std::vector<TradeTimeXPosItem> m_timeXPosList;
    base::Ref<MLineLevel2TechIndex> m_level2TechIndex;
    int32_t m_nAxisMode = SymmetricAxis;
    bool m_bShowPriceAveLine = true;
    float m_priceLineWidth = 1.0f;
    int m_nDrawMinLineStep = 1;
    MinLineCheckFields m_priorData;
    gfx::Point m_cursorTouch;
    int m_nCurIndex = 0;
};
