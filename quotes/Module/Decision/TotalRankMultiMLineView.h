#pragma once

#include "Module/DetailShowPanel/MultiStocksShowView.h"
#include "Module/StockDataBaseMgnt/MyStockQuotesData.h"

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

class MiniViewManager;

// What the chart grid of a rank list tells its owner; both optional.
class TotalRankMultiMLineViewDelegate {
public:
    virtual ~TotalRankMultiMLineViewDelegate() = default;
    virtual base::Opt<void> totalRankMultiMLineView_didTouchBack() { return base::notImplemented; }
    // A cell was chosen: its name, code, index in the list and the list's rows in order.
    virtual base::Opt<void> totalRankMultiMLineView_didSelectGridStockName(const std::string &name,
                                                                           const std::string &marketCode,
                                                                           int stockIndex,
                                                                           const base::Array &rows) {
        (void)name, (void)marketCode, (void)stockIndex, (void)rows;
        return base::notImplemented;
    }
};

// The securities of one rank list as a grid of small intraday charts with their prices, two rows
// by three columns, under a title bar with a back button and the list's title. It feeds the grid:
// a watch-list style quote source for the prices and an intraday-line manager for the charts, both
// its own, so that they and their late replies go with it. Each refresh asks the prices of every
// shown security again, then their intraday lines. The back button and a chosen cell go to the
// owner, which removes the grid.
class TotalRankMultiMLineView : public ui::View,
                                public DataPoolDelegate,
                                public MultiStocksShowViewDelegate,
                                public MultiStocksShowViewDataSource {
public:
    static constexpr float TitleHeight = 36;
    static constexpr int Rows = 2, Cols = 3;
    static constexpr int QuoteReplyType = 2955, MinLineReplyType = 2942;
    static constexpr int AllBasicGroups = 511;
    static inline const gfx::Rect TitleLabelFrame{160, 3, 200, 30}, BackButtonFrame{20, 5, 112, 23};

    explicit TotalRankMultiMLineView(gfx::Rect frame);
    ~TotalRankMultiMLineView() override;
    void setUp() override;

    void setTitle(const std::string &text);
    // The securities as {"MarketCode", "StockName"} rows, in order; the grid shows the first page.
    void setDataArray(const base::Array &rows);
    void NotifyTimeEvent(int index);
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void backButtonAction(ui::Button *sender);

    // The grid's questions.
    void reqCurScreenData(const std::vector<base::Ref<StockQuoteInf>> &records, int startid,
                          bool needReqBasicInf, int ktype) override;
    void reqCurScreenQuotes(const std::vector<std::string> &codes, int startid, int ktype) override;
    base::Ref<MinLineList> getMinLineList(const std::string &code) override;
    base::Ref<KLineList> getKLineList(const std::string &, int) override { return nullptr; }
    base::Opt<void> ReturnSelectedGridStockName(const std::string &name, const std::string &marketCode,
                                                int stockIndex) override;

    MultiStocksShowView &myMultiStockShowView() const { return *grid_; }
    ui::Label &titleLabel() const { return *titleLabel_; }
    ui::Button &backButton() const { return *backButton_; }
    const base::Array &myStockArray() const { return myStockArray_; }
    const base::Ref<MyStockRowList> &myStockDataArray() const { return myStockDataArray_; }

    base::Weak<TotalRankMultiMLineViewDelegate> delegate;

private:
    QuoteRequester requester();
    void ProcQuotes(const base::Ref<ReqParams> &params);
    void ProcMinLine(const base::Ref<ReqParams> &params);
    void reqMinLines_CurScreen(const QuoteRecords &records);
    base::Array gridEntries() const;

    base::Ref<MultiStocksShowView> grid_;
    base::Array myStockArray_;
    base::Ref<MyStockRowList> myStockDataArray_ = base::make<MyStockRowList>();
    base::Ref<ui::Button> backButton_;
    base::Ref<ui::ImageView> titleImageView_;
    base::Ref<ui::Label> titleLabel_;
    base::Ref<MyStockQuotesData> myStockQuotesData_;
    base::Ref<MiniViewManager> mviews_;
};
