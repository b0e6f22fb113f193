#pragma once

#include "Module/FrontPage/DecisionLists/AnalysisBoardStocksView.h"

#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"
#include "Module/Market/ConfigMarketBarView.h"
#include "Module/Market/MarketTableBaseView.h"
#include "Module/Market/SwitchMarketMenuController.h"
#include "Module/StockDataBaseMgnt/DDEQuotesData.h"

#include "ui/Popover.h"

#include <string>
#include <variant>

// What the big-order list tells the page that shows it.
class DDEModelViewDelegate {
public:
    virtual ~DDEModelViewDelegate() = default;
    // Open the security's detail screen, stepping through the rows given.
    virtual base::Opt<void> ReturnDDEStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                     int stockIndex, const base::Array &dataArray) {
        (void)code, (void)moduleName, (void)stockIndex, (void)dataArray;
        return base::notImplemented;
    }
    virtual base::Opt<void> EnterDDEBoardStocks(const base::Ref<StockQuoteInf> &board) {
        (void)board;
        return base::notImplemented;
    }
    virtual base::Opt<void> BackToDDEBoardAction() { return base::notImplemented; }
    virtual base::Opt<void> resetTimerCenterOnScroll(int tabIndex) {
        (void)tabIndex;
        return base::notImplemented;
    }
};

// What the stage-statistics list tells the page that shows it.
class SectionAnalysViewDelegate {
public:
    virtual ~SectionAnalysViewDelegate() = default;
    virtual base::Opt<void> ReturnSectionStockCodeMarket(const std::string &code,
                                                         const std::string &moduleName, int stockIndex,
                                                         const base::Array &dataArray) {
        (void)code, (void)moduleName, (void)stockIndex, (void)dataArray;
        return base::notImplemented;
    }
    virtual base::Opt<void> EnterSectionBoardStocks(const base::Ref<StockQuoteInf> &board) {
        (void)board;
        return base::notImplemented;
    }
    virtual base::Opt<void> BackToSectionBoardAction() { return base::notImplemented; }
    virtual base::Opt<void> resetTimerCenterOnScroll(int tabIndex) {
        (void)tabIndex;
        return base::notImplemented;
    }
};

// The common body of the big-order list (`DDEDecisionView`) and the stage-statistics list
// (`SectionAnalysView`): the price and rise of every security of a market class beside the
// analysis columns the server computes for it, which it sends only for requests that carry the
// list's field group. Paged while the user scrolls, under a bar whose menu chooses the market class
// (the documents' board-menu copy, else the bundle's), the boards ("板块类") or a watch-list
// group. On the boards a row drills into the board's members in place, the bar showing a back button
// and the board's name; each board row's small button opens the board itself. A watch-list group
// shows its stocks at once and their quotes as they come, sorted on the spot when the group's
// quotes are fresh.
//
// A list takes only the replies to its own requests, so the home page's and the decision page's
// lists (alive together, under the same names) never show each other's rows. The owning page
// refreshes it through NotifyTimeEvent with the list's tab index or, while a board's members show,
// the drill-down's.
class AnalysisListView : public MarketTableBaseView,
                         public ConfigMarketBarViewDelegate,
                         public SwitchMarketMenuControllerDelegate,
                         public GeneralColumnDelegate,
                         public GeneralCellDelegate,
                         public BoardStocksModelViewDelegate,
                         public DDEQuotesDataDelegate {
public:
    static constexpr float BarHeight = 36, RowHeight = 44, HeaderHeight = 30;
    static constexpr float DrillDownTop = 30, DrillDownHeight = 586;
    static constexpr int RiseColumn = 3;
    static constexpr const char *DefaultMarketTitle = "沪深A股";
    static constexpr const char *BoardMenuName = "板块类";
    static constexpr const char *MyStockMenuID = "MY_STOCK";
    static constexpr const char *ModuleName = "StockModel";
    static constexpr const char *BundleMenu = "DDE_SectionModelMenu";
    static constexpr const char *ActionImage = "tline_tag.png";

    // What sets the twins apart.
    struct Kind {
        int32_t extendedFieldsFlag;
        const char *observerName, *myStockObserverName, *menuFile;
        // The widths of "最新 " and "涨幅 ".
        int priceWidth;
        // Whether the first header of a list of this kind has marked the rise column yet.
        bool *headerMarked;
        base::Array (*analysisColumns)();
        // Colours a row by sign: the latest price and rise by the change, and the twin's own
        // columns by their values.
        void (*colourRow)(GeneralCell &cell, const StockQuoteInf &record);
    };
    // A row shown: a market (or board) record, or a watch-list row, never read as the other.
    using Row = std::variant<std::monostate, base::Ref<StockQuoteInf>, base::Ref<MyStockRow>>;

    AnalysisListView(gfx::Rect frame, int tabIndex, const Kind &kind);
    ~AnalysisListView() override;
    void setUp() override;

    // The owner's timer: the list's own index refreshes its visible rows, the drill-down's index
    // the board's members; any other nothing.
    void NotifyTimeEvent(int index);
    bool isBoardStocksShowing() const;

    // The list's column entries; shared by the drill-down.
    base::Array makeColumnArray() const;
    // The menu: the board-menu rows (documents copy, else the bundle's), then one row per
    // watch-list group.
    base::Array menuRows() const;

    // The table's questions.
    int numberOfRows(int section) override;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    float heightForRow(ui::IndexPath) override { return RowHeight; }
    float heightForHeader(int) override { return HeaderHeight; }
    base::Ref<ui::View> viewForHeader(int section) override;
    void didSelectRow(ui::IndexPath path) override;
    bool getVisibleIndex(int &first, int &count) override;
    base::Opt<void> UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                          bool isFirstGetQuotes) override;
    void resetTimerCenterOnScroll() override;
    void scrollViewDidScroll(ui::ScrollView &scrollView) override;
    void scrollViewDidEndDragging(ui::ScrollView &scrollView, bool decelerate) override;
    void scrollViewDidEndDecelerating(ui::ScrollView &scrollView) override;

    base::Opt<void> PerformAction(ui::Button &button) override;
    base::Opt<void> BackAction(ui::Button &button) override;
    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override;
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) override;
    base::Opt<void> ReturnSelectedCell(ui::Button *button, ui::IndexPath indexPath) override;
    base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                          int stockIndex, const base::Array &dataArray) override;
    base::Opt<void> UpdateMyStockArray(const base::Ref<MyStockRowList> &rows, bool isScrollToTop) override;

    // The row shown at a table row; nothing outside the rows.
    Row rowAt(int row) const;
    // The record of a row of either kind; nothing for a watch-list row still without its quote.
    base::Ref<StockQuoteInf> recordOfRow(int row) const;
    // The rows as the detail screen steps through them.
    base::Array dataArray() const;

    ConfigMarketBarView &configMarketBarView() { return *m_configMarketBarView; }
    ui::TableView &ddeTableView() { return *m_curTableView; }
    GeneralColumn &titleColumn() { return *m_titleColumn; }
    const base::Array &columnArray() const { return m_columnArray; }
    ui::Popover *switchMarketMenuPopoverController() const { return m_popover.get(); }
    AnalysisBoardStocksView *boardStocksModelView() const { return m_boardStocksModelView.lock().get(); }
    const base::Array &myStockModelArray() const { return m_myStockModelArray; }
    const std::string &currentSelMarketTitle() const { return m_currentSelMarketTitle; }
    const std::string &currentSelMenuID() const { return m_currentSelMenuID; }
    const std::string &currentModelName() const { return m_currentModelName; }
    const std::string &currentModelFileName() const { return m_currentModelFileName; }
    bool isMyStockMode() const { return m_isMyStockMode; }
    DDEQuotesData &ddeData() { return *m_ddeData; }
    int32_t extendedFieldsFlag() const { return m_kind.extendedFieldsFlag; }
    const Kind &kind() const { return m_kind; }

protected:
    // The twin's own delegate calls.
    virtual void tellOpen(const std::string &code, int index, const base::Array &rows) = 0;
    virtual void tellEnter(const base::Ref<StockQuoteInf> &board) = 0;
    virtual void tellBack() = 0;
    virtual void tellScroll(int tabIndex) = 0;
    // The twin's drill-down, made and started on a board.
    virtual base::Ref<AnalysisBoardStocksView> makeBoardStocksView(gfx::Rect frame) = 0;
    virtual void startBoardStocksView(AnalysisBoardStocksView &view,
                                      const base::Ref<StockQuoteInf> &board) = 0;

private:
    void openMarketMenu(ui::Button &button);
    void openBoard(const base::Ref<StockQuoteInf> &board);
    void leaveDrillDown();
    std::vector<int> visibleRows() const;
    void showMyStockRows(const base::Ref<MyStockRowList> &rows, bool scrollToTop);

    Kind m_kind;
    base::Ref<ConfigMarketBarView> m_configMarketBarView;
    base::Ref<ui::Popover> m_popover;
    base::Weak<SwitchMarketMenuController> m_menu;
    std::string m_currentSelMarketTitle = DefaultMarketTitle;
    std::string m_currentSelMenuID;
    base::Array m_columnArray;
    base::Ref<GeneralColumn> m_titleColumn;
    base::Array m_myStockModelArray;
    std::string m_currentModelName;
    std::string m_currentModelFileName;
    base::Array m_myStockArray;
    base::Weak<AnalysisBoardStocksView> m_boardStocksModelView;
    bool m_isMyStockMode = false;
    base::Ref<DDEQuotesData> m_ddeData;
    // The watch-list rows on show; empty outside watch-list mode.
    base::Ref<MyStockRowList> m_myRows;
};

// The big-order list: same-day and 60-day DDX, DDY and DDZ and the two counts of red days of
// the last ten, the DDX to 60-day DDY columns coloured by their sign.
class DDEDecisionView : public AnalysisListView {
public:
    static constexpr int32_t ExtendedFieldsFlag = 2048;
    static constexpr const char *ObserverName = "DDEDecisionViewNotify";
    static constexpr const char *MyStockObserverName = "DDEDecisionViewMyStockNotify";
    static constexpr const char *MenuFile = "DDEModelMenu.plist";
    static inline bool headerMarked = false;
    static base::Array analysisColumns();
    static void colourRow(GeneralCell &cell, const StockQuoteInf &record);
    static const Kind TheKind;

    DDEDecisionView(gfx::Rect frame, int tabIndex) : AnalysisListView(frame, tabIndex, TheKind) {}

    base::Weak<DDEModelViewDelegate> delegate;

protected:
    void tellOpen(const std::string &code, int index, const base::Array &rows) override;
    void tellEnter(const base::Ref<StockQuoteInf> &board) override;
    void tellBack() override;
    void tellScroll(int tabIndex) override;
    base::Ref<AnalysisBoardStocksView> makeBoardStocksView(gfx::Rect frame) override;
    void startBoardStocksView(AnalysisBoardStocksView &view, const base::Ref<StockQuoteInf> &board) override;
};

// The stage-statistics list: the 7- and 30-day rise and turnover.
class SectionAnalysView : public AnalysisListView {
public:
    static constexpr int32_t ExtendedFieldsFlag = 1024;
    static constexpr const char *ObserverName = "SectionAnalysViewNotify";
    static constexpr const char *MyStockObserverName = "SectionAnalysViewMyStockNotify";
    static constexpr const char *MenuFile = "SectionModelMenu.plist";
    static inline bool headerMarked = false;
    static base::Array analysisColumns();
    static const Kind TheKind;

    SectionAnalysView(gfx::Rect frame, int tabIndex) : AnalysisListView(frame, tabIndex, TheKind) {}

    base::Weak<SectionAnalysViewDelegate> delegate;

protected:
    void tellOpen(const std::string &code, int index, const base::Array &rows) override;
    void tellEnter(const base::Ref<StockQuoteInf> &board) override;
    void tellBack() override;
    void tellScroll(int tabIndex) override;
    base::Ref<AnalysisBoardStocksView> makeBoardStocksView(gfx::Rect frame) override;
    void startBoardStocksView(AnalysisBoardStocksView &view, const base::Ref<StockQuoteInf> &board) override;
};
