#pragma once

#include "KLineClassRootBase.h"

#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/StockDataBaseMgnt/Common/TechLine/KLineLevel2TechIndex.h"
#include "Module/StockDataBaseMgnt/Common/TechLine/TechIndex.h"
#include "base/Value.h"

// The data side of the candlestick chart: the security's snapshot and candles, the indicators of
// the main pane (moving averages or Bollinger bands) and of the sub-pane, the visible window of
// candles, its price range, the candle pitch (zoom), the scroll offset (pan), the level-2 pane's
// indicator and the overlay of comparison stocks on one relative scale. The candlestick view drives
// it and its drawing subclass; the detail screen saves and restores pitch and offset. Prices are
// the scaled integers of the quote records. Main thread only.
class KLineClassBase : public KLineClassRootBase {
public:
    // Candle periods that matter here.
    static constexpr int32_t DayKType = 7;
    // Pitches a zoom may give: 1, or an even number from 4 to 16.
    static constexpr float MinPitch = 1;
    static constexpr int SmallestWidePitch = 4;
    static constexpr int MaxPitch = 16;
    // Fewer older candles than this left to scroll into view asks for more.
    static constexpr int ForwardRequestMargin = 10;

    KLineClassBase();

    // Replaces the snapshot and candles (either may be absent). With both, takes the period,
    // stamps the update and recomputes the main, sub and level-2 indicators over all candles.
    void Update(base::Ref<StockBasicInf> basicInf, base::Ref<KLineList> klineList, int32_t ktype,
                int32_t updateType = 0);
    // The visible window for a main plot: as many whole candles as fit, the newest `offset`
    // candles scrolled out to the right, never past the oldest candle.
    void calcIndex(gfx::Rect rect);
    // Candles beyond those that fit in the main plot; 0 when all fit.
    int getMaxOffset() const;
    // The window's highest high and lowest low, widened by the shown main indicator values.
    void calcMaxMinPrice();
    // 10^decimal of the snapshot; 1 without one.
    float getPriceMulti() const;
    // Sets the offset within 0..getMaxOffset(); YES when it changed.
    bool move(int offset);
    // Pitch 1 below 4, an even pitch up to 16; an odd request from 5 on is refused. YES when the
    // pitch changed.
    bool zoom(float size);
    // YES when fewer than 10 older candles are left to scroll into view.
    bool needReqKLineForward() const;
    // YES for a point in the main plot with a snapshot and candles.
    bool canShowCursor(gfx::Point point) const;

    // Switches an indicator: 12 and 4096 go to the main pane (YES); 0 and 4098 switch the main
    // pane off or to the fund line (NO); 4097 changes nothing (NO); any other code becomes the
    // sub-pane's indicator (YES). The answer tells whether the main pane's choice changed.
    bool changeTechIndex(int32_t techType, const std::optional<base::Array> &paramArray = std::nullopt);
    void changeMainTechIndex(int32_t techType, const std::optional<base::Array> &paramArray = std::nullopt);

    // Volume: its averages (outputs 1 to 4) in the moving-average colours from the first, the rest
    // in the name colour; every other indicator's output i in moving-average colour i.
    base::Ref<gfx::Color> getTechColor(int index, int32_t techType) const override;

    // The level-2 pane: on with its indicator; replies are kept per code and used only for day
    // candles and the current code.
    void initLevel2TechIndex(int32_t techType);
    void changeLevel2TechIndex(int32_t techType);
    void resetLevel2TechIndex(int32_t techType, const base::Ref<ReplyList> &series);
    bool UpdateLevel2TechIndex(int32_t techType, const base::Ref<ReplyList> &series);

    // Comparison stocks: dictionaries {"code", "basicInf", "colorID"} shared with the detail
    // screen's data centre; the scale writes "FirstOpenPrice", "MaxPrice" and "MinPrice" into them.
    void setMultiStockList(base::Array list) { m_multiStockList = std::move(list); }
    // Hides the main indicator while comparison stocks are drawn.
    void OpenAddStocksMode();
    // Back to moving averages; every candle's comparison candles are dropped.
    void CloseAddStocksMode();
    void clearKItemMainTechIndex();
    // After calcMaxMinPrice: one relative scale from the first candle of the window on which this
    // and every comparison stock have an open, so equal moves from it have equal heights.
    void calcAddStock_MaxMinPrice(int indexFrom, int indexTo);

    float ksize() const { return m_ksize; }
    void setKsize(float size) { m_ksize = size; }
    int koffset() const { return m_offset; }
    void setKoffset(int offset) { m_offset = offset; }
    int32_t mainTechType() const { return m_mainTechType; }
    int32_t secondTechType() const { return m_secondTechType; }
    int32_t ktype() const { return m_ktype; }
    int indexFrom() const { return m_nIndexFrom; }
    int indexTo() const { return m_nIndexTo; }
    int32_t maxPrice() const { return m_nMaxPrice; }
    int32_t minPrice() const { return m_nMinPrice; }
    const base::Ref<TechIndex> &mainTechIndex() const { return m_mainTechIndex; }
    const base::Ref<TechIndex> &secondTechIndex() const { return m_secondTechIndex; }
    const base::Ref<KLineLevel2TechIndex> &level2TechIndex() const { return m_level2TechIndex; }
    const base::Ref<KLineList> &klineList() const { return m_klineList; }

protected:
    int candleCount() const { return m_klineList ? int(m_klineList->size()) : 0; }
    // Whole candles that fit in a width at the current pitch.
    int fitCount(float width) const;
    int decimal() const { return m_basicInf ? m_basicInf->decimal : 0; }
    // Recomputes an indicator when both snapshot and candles are there.
    void recalc(TechIndex &tech) const;
    void recalcLevel2(const base::Ref<ReplyList> &series);

    base::Ref<StockBasicInf> m_basicInf;
    base::Ref<KLineList> m_klineList;
    int32_t m_nMaxPrice = 0, m_nMinPrice = 0;
    int m_nIndexFrom = 0, m_nIndexTo = 0;
    int32_t m_ktype = DayKType;
    float m_ksize = 8;
    int m_offset = 0;
    int32_t m_mainTechType = TechIndex::MA;
    int32_t m_secondTechType = TechIndex::VOL;
    base::Ref<TechIndex> m_mainTechIndex;
    base::Ref<TechIndex> m_secondTechIndex;
    base::Ref<KLineLevel2TechIndex> m_level2TechIndex;
    gfx::Point m_cursorTouch;
    int m_nCurIndex = 0;
    base::Array m_multiStockList;
};
