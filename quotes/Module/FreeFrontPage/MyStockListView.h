#pragma once

#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"
#include "Module/Market/SwitchMarketMenuController.h"
#include "Module/StockDataBaseMgnt/DDEQuotesData.h"

#include "DataBase/NetData/NetDataCenter.h"
#include "ui/Popover.h"
#include "ui/TableView.h"

#include <string>
#include <vector>

// A row of the watch-list panel: a quote row with a small information button over the name column,
// shown when the stock has information-mine notes today; it opens them in a popover beside it.
class FrontPageQuoteCell : public GeneralCell {
public:
    static constexpr const char *Identifier = "FrontPageQuoteCell";
    FrontPageQuoteCell(gfx::Rect frame);
    void setUp() override;

    void infoButtonAction(ui::Button *button);
    ui::Button &infoButton() { return *infoButton_; }
    ui::Popover *infoAlertPopoverController() const { return infoAlertPopoverController_.get(); }

    std::string marketCode, stockName;

private:
    base::Ref<ui::Button> infoButton_;
    base::Ref<ui::Popover> infoAlertPopoverController_;
};

// Hears a tapped row: its code, the module name, its row and the rows to step through.
class MyStockListViewDelegate {
public:
    virtual ~MyStockListViewDelegate() = default;
    virtual base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                  int stockIndex, const base::Array &dataArray) {
        (void)code, (void)moduleName, (void)stockIndex, (void)dataArray;
        return base::notImplemented;
    }
};

// The free home page's quote table between the index list and the news: the stocks of the first
// watch-list group ("自选股", where it starts), the recently browsed stocks ("最新浏览") or the
// twenty A-shares first by a chosen field ("涨跌排行"), chosen from the button in its header.
// The first two are paged through the watch-list quote source, which keeps the visible rows fresh
// and sorts them on the spot; the ranking is one list request, sent again at every refresh and at
// every column tap; the rows on show stay until its reply. Rows number from 1 and show name and code, latest,
// rise, change and volume; rows with information-mine notes show the information button. A list's deliveries
// change the rows only while that list shows.
//
// A stock added to the watch-list (or browsed) while its list shows reloads the rows at once and
// asks the quotes 1.0 s after the last change, once for a burst of changes; the wait ends with the
// panel. The change ("涨跌 ") cannot be ranked by the server, whose sort field is one byte: that
// tap leaves the ranking and its header as they were.
class MyStockListView : public ui::View,
                        public DataPoolDelegate,
                        public SwitchMarketMenuControllerDelegate,
                        public DDEQuotesDataDelegate,
                        public GeneralColumnDelegate {
public:
    static constexpr const char *ObserverName = "MyStockListViewNotify";
    static constexpr const char *RankingObserverName = "MyStockListViewRankingNotify";
    static constexpr const char *MyStockMode = "自选股", *RecentMode = "最新浏览", *RankingMode = "涨跌排行";
    static constexpr const char *MenuResource = "FrontPageModelMenu";
    static constexpr const char *ModuleName = "StockModel";
    static constexpr int32_t ExtendedFieldsFlag = 129;
    static constexpr int QuoteListType = 2955, RankingTag = 100, RankingCount = 20, RankingClass = 0;
    static constexpr int RiseColumn = 3;
    static constexpr float RowHeight = 44, HeaderHeight = 46;
    static constexpr double ChangeDelay = 1.0;

    explicit MyStockListView(gfx::Rect frame);
    ~MyStockListView() override;
    void setUp() override;

    // The page's refresh: the ranking again, or the quotes of the visible rows.
    void NotifyTimeEvent();
    void ReqMyStocks();
    void ReqRecentBrowse();
    void reqMyStockCurScreenQuotes();
    void ReqRankingArray();

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    base::Opt<void> UpdateMyStockArray(const base::Ref<MyStockRowList> &rows, bool isScrollToTop) override;
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) override;
    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override;
    void leftButtonAction(ui::Button *button);

    // The record shown at a row; none outside the rows or for a watch-list row without its quote.
    base::Ref<StockQuoteInf> recordAt(int row) const;
    int rowCount() const;
    // The rows as the detail screen steps through them.
    base::Array dataArray() const;

    const std::string &currentModelName() const { return currentModelName_; }
    int currentSortId() const { return currentSortId_; }
    int currentSortType() const { return currentSortType_; }
    ui::TableView &tableView() { return *ddeTableView_; }
    GeneralColumn &titleColumn() { return *titleColumn_; }
    ui::Button *leftButton() const { return leftButton_.get(); }
    ui::Popover *switchMarketMenuPopoverController() const {
        return switchMarketMenuPopoverController_.get();
    }
    SwitchMarketMenuController *menu() const { return menu_.lock().get(); }
    const base::Array &columnArray() const { return columnArray_; }
    const base::Array &myStockModelArray() const { return myStockModelArray_; }

    base::Weak<MyStockListViewDelegate> delegate;

private:
    struct Table;

    bool isRanking() const { return currentModelName_ == RankingMode; }
    void ReloadDataOfMyStocks();
    void ReloadDataOfRecentBrowse();
    void showRows(const base::Ref<MyStockRowList> &rows);
    void markHeader(int column, int direction);
    int sortColumn() const;
    std::vector<int> visibleRows() const;
    void MyStockSwitchAction(const base::Notification &notification);
    void scheduleAfterChange(const char *name, void (MyStockListView::*request)());
    void rowTapped(int row);
    base::Ref<ui::View> makeHeader();

    base::Ref<Table> table_;
    base::Ref<ui::TableView> ddeTableView_;
    base::Ref<GeneralColumn> titleColumn_;
    base::Ref<ui::Button> leftButton_;
    base::Ref<ui::Popover> switchMarketMenuPopoverController_;
    base::Weak<SwitchMarketMenuController> menu_;
    base::Array columnArray_;
    base::Array myStockModelArray_;
    base::Array myStockArray_;
    base::Ref<DDEQuotesData> mystockData_;
    base::Ref<MyStockRowList> myRows_;
    base::Ref<StockQuoteList> rankingArray_ = base::make<StockQuoteList>();
    std::vector<base::Ref<StockQuoteInf>> rankingRows_;
    // Whether the rows on show are the ranking's: from its reply until the user leaves it.
    bool rankingShown_ = false;
    // The target of the delayed requests after a watch-list change.
    base::Ref<base::Object> changeWait_ = base::make<base::Object>();
    std::string currentModelName_ = MyStockMode;
    int currentSortId_ = 1, currentSortType_ = 0;
    int markedColumn_ = -1, markedDirection_ = 0;
};
