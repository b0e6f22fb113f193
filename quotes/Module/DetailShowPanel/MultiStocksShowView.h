#pragma once

#include "Module/DetailShowPanel/MultiStocksGridView.h"
#include "Module/DetailShowPanel/MultiStocksPageModel.h"
#include "Module/DetailShowPanel/MultiStocksShowViewDelegate.h"
#include "ui/PageControl.h"
#include "ui/ScrollView.h"

#include <vector>

// A list of securities as a horizontally paged grid of small charts: each page holds rowNum ×
// colNum cells, each a price panel over an intraday or candle chart of the period chosen for the
// whole grid, with one dot per page below. The watch-list's chart-grid modes and the decision
// page's ranking grid own one: they set the geometry and the list, answer the data source's
// requests and hand replies back through the Update operations. The grid keeps no data of its own
// and asks its owner only for the page on show and its neighbours; 18 cells made with the first
// list serve every page. Main thread only.
class MultiStocksShowView : public ui::View,
                            public MultiStocksGridViewDelegate,
                            private MultiStocksPageModel::Listener {
public:
    static constexpr float DecelerationRate = 0.6f;
    static constexpr float PageControlHeight = 25, PageControlBottom = 35;
    // resetTimerCenterOnScroll's answer for six-cell pages, and for any other.
    static constexpr int SixCellPage = 6;

    explicit MultiStocksShowView(gfx::Rect frame);
    void setUp() override;
    void layoutSubviews() override;

    // Geometry; takes effect at the next SetGridDataArray.
    void setRowNum(int rows) { model_.rowNum = rows; }
    void setColNum(int cols) { model_.colNum = cols; }
    void setTopSpace(float space) { model_.topSpace = space; }
    void setBelowSpace(float space) { model_.belowSpace = space; }
    void setLeftRightSpace(float space) { model_.leftRightSpace = space; }
    void setMidVerSpace(float space) { model_.midVerSpace = space; }
    void setMidHorSpace(float space) { model_.midHorSpace = space; }
    int rowNum() const { return model_.rowNum; }
    int colNum() const { return model_.colNum; }

    // Entries are dictionaries with "MarketCode" and, once quoted, "basicInf" (a StockQuoteInf).
    // Shows page 0, or the page of the current entry.
    void SetGridDataArray(base::Array list, bool loadFirstPage);
    // The period tab, 0 to 5: every cell drops its charts and shows the new period.
    void SwitchCircle(int circleID);
    // The owner's quote timer: asks for the quotes of the page on show.
    void reqCurScreenQuotes();
    // The owner's replies. Records of list indexes first … first + count − 1 (cut at the list's
    // end) refill the panel of the first cell showing their code; chart lists go to the cell of
    // their code while its entry still shows it, candles only of the grid's period.
    void UpdateQuotes(int first, int count);
    void UpdateMinLine(const std::string &code, base::Ref<MinLineList> list);
    void UpdateKLine(const std::string &code, base::Ref<KLineList> list, int ktype);

    int ktype() const { return ktype_; }
    ui::PageControl &pageControl() const { return *pageControl_; }
    ui::ScrollView &contentView() const { return *contentView_; }
    const MultiStocksPageModel &pages() const { return model_; }
    const std::vector<base::Ref<MultiStocksGridView>> &cells() const { return cells_; }

    base::Weak<MultiStocksShowViewDelegate> delegate;
    base::Weak<MultiStocksShowViewDataSource> parentControllerTarget;

    // The content view's movements: the page under the offset fills, a rest snaps to a page.
    void scrollViewDidScroll();
    void scrollViewDidEndDecelerating();
    // A cell's tap.
    base::Opt<void> ReturnSelectedGrid(MultiStocksGridView &grid) override;

private:
    struct Scrolling;

    void listReset(bool makePool) override;
    void pageWillFill(int page) override;
    void cellFilled(int cell) override;
    void cellFreed(int cell) override;
    void scrollContent(float x) override;
    void requestPageData(const MultiStocksPageModel::PageRequest &request) override;

    void resetGridItem(MultiStocksGridView &cell, const StockQuoteInf &record);
    void updateGridKLineOrMinLine(MultiStocksGridView &cell, const base::Ref<StockQuoteInf> &record);

    MultiStocksPageModel model_{*this};
    base::Ref<ui::PageControl> pageControl_;
    base::Ref<ui::ScrollView> contentView_;
    base::Ref<Scrolling> scrolling_;
    std::vector<base::Ref<MultiStocksGridView>> cells_;
    int ktype_ = 0;
};
