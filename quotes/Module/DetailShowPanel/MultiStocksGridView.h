#pragma once

#include "Module/CommonControls/KLine/KLine/KLineView.h"
#include "Module/CommonControls/MinLine/MinLine/MinLineView.h"
#include "Module/DetailShowPanel/MultiStocksGridPricePanel.h"
#include "ui/Gesture.h"
#include "ui/ImageView.h"

class MultiStocksGridView;

// What a cell of the multi-stock grid tells the grid.
class MultiStocksGridViewDelegate {
public:
    virtual ~MultiStocksGridViewDelegate() = default;
    // The cell was tapped.
    virtual base::Opt<void> ReturnSelectedGrid(MultiStocksGridView &grid) {
        (void)grid;
        return base::notImplemented;
    }
};

// One cell of the multi-stock grid: a price panel over a compact intraday or candle chart of one
// security. `MultiStocksShowView` makes 18 of them once and reuses them as the pages move: it
// sets the code and name, hands in the owner's chart lists and shows a chart's waiting indicator
// while the owner has none. The candle chart is made the first time the grid shows candles.
class MultiStocksGridView : public ui::View, public KLineViewDelegate {
public:
    static constexpr float PanelHeight = 40;
    // Both charts sit at (ChartInset, ChartTop) and leave ChartBottom points below them.
    static constexpr float ChartInset = 1, ChartTop = 59, ChartBottom = 6;
    static constexpr int CompactViewMode = 1;

    explicit MultiStocksGridView(gfx::Rect frame = {});
    void setUp() override;
    void layoutSubviews() override;

    // The period tab's chart period: 0 intraday, 3, 5, 7, 8, 9 for tabs 1 to 5; 0 for any other.
    static int getKType(int circleID);

    void SetStockCodeMarket(const std::string &code);
    void SetStockName(const std::string &name);
    void setIsShowMinLineView(bool show);
    void UpdateMinLine(const base::Ref<StockQuoteInf> &record, base::Ref<MinLineList> list);
    void UpdateKLine(const base::Ref<StockQuoteInf> &record, base::Ref<KLineList> list, int ktype);
    void createKLineView();
    bool existKLineView() const { return bool(kview); }
    void clearMinLineView();
    void clearKLineView();
    void StartMinLineWaitingAlert();
    void StopMinLineWaitingAlert();
    void StartKLineWaitingAlert();
    void StopKLineWaitingAlert();

    int gridID() const { return gridID_; }
    void setGridID(int id) { gridID_ = id; }
    bool isShowMinLineView() const { return isShowMinLineView_; }
    MultiStocksGridPricePanel &stockGrid() const { return *stockGrid_; }
    KLineView *kLineView() const { return kview.get(); }
    MinLineView &minLineView() const { return *minView; }

    base::Weak<MultiStocksGridViewDelegate> delegate;

private:
    gfx::Rect chartFrame() const;
    void tapped();

    int gridID_ = -1;
    base::Ref<MultiStocksGridPricePanel> stockGrid_;
    base::Ref<ui::TapRecognizer> tapRecognizer;
    base::Ref<KLineView> kview;
    base::Ref<MinLineView> minView;
    base::Ref<ui::ImageView> backgroundImageView;
    bool isShowMinLineView_ = true;
};
