#pragma once

#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"
#include "Module/Market/BoardStocksModelView.h"
#include "Module/Market/ConfigMarketBarView.h"
#include "Module/Market/MarketTableBaseView.h"
#include "Module/Market/SwitchMarketMenuController.h"

#include "ui/Popover.h"

#include <string>

// What the fund-flow ranking tells the page that shows it.
class SVFundViewDelegate {
public:
    virtual ~SVFundViewDelegate() = default;
    virtual base::Opt<void> ReturnSVFundStockCodeMarket(const std::string &code,
                                                        const std::string &moduleName, int stockIndex,
                                                        const base::Array &dataArray) {
        (void)code, (void)moduleName, (void)stockIndex, (void)dataArray;
        return base::notImplemented;
    }
    virtual base::Opt<void> EnterSVFundBoardStocks(const base::Ref<StockQuoteInf> &board) {
        (void)board;
        return base::notImplemented;
    }
    virtual base::Opt<void> BackToSVFundBoardAction() { return base::notImplemented; }
    virtual base::Opt<void> resetTimerCenterOnScroll(int tabIndex) {
        (void)tabIndex;
        return base::notImplemented;
    }
};

// The fund-flow columns of one period and how their rows are coloured, shared by the ranking and
// its drill-down.
namespace SVFundColumns {

enum Period { Day = 1, Week = 2, Month = 3 };
constexpr int NetFlowColumn = 4;
// The three common columns and the seven of the period (none for another period).
base::Array make(int period);
// The server's ranking of a period: the net flow of a day (17), a week (18) or a month (19); 0 for
// another period.
int sortID(int period);
// Latest by the change; the period's rise and net flow by their sign; money in always red, money
// out always green.
void colourRow(GeneralCell &cell, const StockQuoteInf &record, int period);

} // namespace SVFundColumns

// One board's members under the board's quote (row 0, number 1) in the ranking's columns of the
// period, ten rows refreshed at a time.
class SVFundBoardStocksView : public BoardStocksModelView {
public:
    SVFundBoardStocksView(gfx::Rect frame, base::Array columns)
        : BoardStocksModelView(frame, std::move(columns)) {
        modeType = 1;
        isPagesMode = false;
    }

    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    bool getVisibleIndex(int &first, int &count) override;

    int32_t curTitleClass = SVFundColumns::Day;
};

// The fund-flow ranking of the boards: the first ten boards of the server's ranking of the net
// flow over the chosen period (one day, one week or one month, from the bar's menu), with the
// board's latest value, rise, net flow and its share of the turnover, money in and out, turnover
// and turnover rate. Only the net flow sorts. A row opens the board's members in place under a
// back button; a row's right-edge button opens the board's detail screen. The page refreshes the
// ranking, or the members and the board's quote, through NotifyTimeEvent.
class SVFundView : public MarketTableBaseView,
                   public ConfigMarketBarViewDelegate,
                   public SwitchMarketMenuControllerDelegate,
                   public GeneralColumnDelegate,
                   public GeneralCellDelegate,
                   public BoardStocksModelViewDelegate {
public:
    static constexpr float BarHeight = 36, RowHeight = 44, HeaderHeight = 30;
    static constexpr float DrillDownTop = 30, DrillDownHeight = 586;
    static constexpr int ClassID = 105;
    static constexpr int32_t ExtendedFieldsFlag = 5136;
    static constexpr int RankCount = 10;
    static constexpr const char *ObserverName = "SVFundViewNotify";
    static constexpr const char *ModuleName = "StockModel";
    static constexpr const char *MenuFile = "SVFundModelMenu";
    static constexpr const char *DefaultTitle = "最近一天";
    static constexpr const char *ActionImage = "tline_tag.png";

    SVFundView(gfx::Rect frame, int tabIndex);
    ~SVFundView() override;
    void setUp() override;

    void reloadTitleColumns(int titleClass);
    void NotifyTimeEvent(int index);
    bool isBoardStocksShowing() const;

    int numberOfRows(int) override { return rowCount(); }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    float heightForRow(ui::IndexPath) override { return RowHeight; }
    float heightForHeader(int) override { return HeaderHeight; }
    base::Ref<ui::View> viewForHeader(int section) override;
    void didSelectRow(ui::IndexPath path) override;
    bool getVisibleIndex(int &first, int &count) override;
    base::Opt<void> UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                          bool isFirstGetQuotes) override;
    void resetTimerCenterOnScroll() override;

    base::Opt<void> PerformAction(ui::Button &button) override;
    base::Opt<void> BackAction(ui::Button &button) override;
    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override;
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) override;
    base::Opt<void> ReturnSelectedCell(ui::Button *button, ui::IndexPath indexPath) override;
    base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                          int stockIndex, const base::Array &dataArray) override;

    // The ranking's rows as the detail screen steps through them.
    base::Array dataArray() const;

    ConfigMarketBarView &configMarketBarView() { return *m_configMarketBarView; }
    ui::TableView &ddeTableView() { return *m_curTableView; }
    GeneralColumn &titleColumn() { return *m_titleColumn; }
    const base::Array &columnArray() const { return m_columnArray; }
    ui::Popover *switchMarketMenuPopoverController() const { return m_popover.get(); }
    SVFundBoardStocksView *boardStocksModelView() const { return m_boardStocksModelView.lock().get(); }
    const std::string &currentSelMarketTitle() const { return m_currentSelMarketTitle; }
    const std::string &currentSelMenuID() const { return m_currentSelMenuID; }
    int32_t curTitleClass() const { return m_curTitleClass; }

    base::Weak<SVFundViewDelegate> delegate;

private:
    void openMenu(ui::Button &button);
    void openBoard(const base::Ref<StockQuoteInf> &board);

    base::Ref<ConfigMarketBarView> m_configMarketBarView;
    base::Ref<ui::Popover> m_popover;
    base::Weak<SwitchMarketMenuController> m_menu;
    std::string m_currentSelMarketTitle = DefaultTitle;
    std::string m_currentSelMenuID;
    base::Array m_columnArray;
    base::Ref<GeneralColumn> m_titleColumn;
    base::Weak<SVFundBoardStocksView> m_boardStocksModelView;
    int32_t m_curTitleClass = SVFundColumns::Day;
    // The next header marks the net flow, the column the ranking is sorted by.
    bool m_needResetHeaderSortFlag = true;
};
