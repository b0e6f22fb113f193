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
    // The level-2 code drawn from the candles' own BS-point records.
    static constexpr int32_t BSPointTechType = 2933;
    static constexpr const char *NoLevel2Text = "该周期无Level2指标";
    // Title lines: the main one starts after the period name.
    static constexpr float MainTitleOffset = 75, SecondTitleOffset = 5, TitleTextPad = 8;
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
    // Forgets the series kept for a code.
    void dropLevel2Series(int32_t techType) { m_level2Dict.erase(techType); }

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

    // One candle between `top` and `bottom` scaled maxPrice..minPrice in the slot left..left + width:
    // rising (open at or below close; a doji after a doji by its close against the prior close) in
    // riseColor, else fallColor. Inset a point each side when wider than a point; a flat body is a
    // horizontal line and one under 2 points wide a vertical line. Bodies in column mode take the
    // style pool's candle column, others are filled when falling and outlined when rising. Also the
    // fund line segment from the prior candle (main code 4098) and the level-2 B or S letter.
    void drawK(gfx::Context &context, const KLineItem &k, const KLineItem *kPrior, float maxPrice,
               float minPrice, float left, float width, float top, float bottom, const gfx::Color &riseColor,
               const gfx::Color &fallColor, bool isColumnMode) const;
    // Title lines for candle i: the main one after the period name, the volume pane's, the level-2
    // pane's. Nothing for no indicator or a candle without a record.
    void drawMainTechTitle(gfx::Context &context, int index) const;
    void drawSecondTechTitle(gfx::Context &context, int index) const;
    void drawTechTitle(gfx::Context &context, const TechIndexBase &tech, int index, gfx::Rect rtTitle,
                       float xOffset) const;
    // BS points get their hint, day candles the values, other periods a notice.
    void drawLevel2TechTitle(gfx::Context &context, int index) const;
    void drawLevel2TechTitle(gfx::Context &context, int index, gfx::Rect rtTitle, float xOffset) const;
    void drawNoLevel2TechInfo(gfx::Context &context) const;
    void drawBSText(gfx::Context &context, int index) const;

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
    const KLineItem *candleAt(int index) const {
        return index >= 0 && index < candleCount() ? (*m_klineList)[size_t(index)].get() : nullptr;
    }
    // Draws `text` from x in the title line, as wide as the text and the pad; the x after it.
    float drawTitleText(gfx::Context &context, const std::string &text, float x, gfx::Rect rtTitle,
                        const gfx::Color &color) const;
    // The "name:value" texts of one record's shown outputs from x.
    void drawTechValues(gfx::Context &context, const TechIndexBase &tech, const TechLineItem &record,
                        int digits, float x, gfx::Rect rtTitle) const;
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
