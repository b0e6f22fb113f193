#pragma once

#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/Market/ModelCellBaseView.h"
#include "Module/StockDataBaseMgnt/StockQuotesData.h"

#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <cstdint>
#include <vector>

// What a market list tells the screen that owns it besides its own delegate's operations.
class MarketTableBaseViewTarget {
public:
    virtual ~MarketTableBaseViewTarget() = default;
    // The list now shows the market of this menu row.
    virtual base::Opt<void> SetCurrMarket(const base::Value &row, int tabIndex) {
        (void)row, (void)tabIndex;
        return base::notImplemented;
    }
};

// What a market list asks of its screen: open a row in the detail screen (with the list's rows,
// so that the detail screen steps through them), and hold the refresh while the list scrolls.
class MarketListDelegate {
public:
    virtual ~MarketListDelegate() = default;
    virtual base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                  int stockIndex, const base::Array &dataArray) {
        (void)code, (void)moduleName, (void)stockIndex, (void)dataArray;
        return base::notImplemented;
    }
    virtual base::Opt<void> resetTimerCenterOnScroll(int tabIndex) {
        (void)tabIndex;
        return base::notImplemented;
    }
};

// What the market lists remember for the whole process, as users of the lists see it: the first
// column-mode header of a stock list marks the column of the initial sort, and the first quote reply
// of an index list picks the codes it refreshes from then on.
struct MarketProcessMarks {
    static inline bool columnHeaderMarked = false;
    static inline bool bFirstUpdate = false;
    // The board list's first column-mode header marks the rise column.
    static inline bool boardColumnHeaderMarked = false;
    // The bond list's first header marks the rise column.
    static inline bool bondColumnHeaderMarked = false;
    static inline bool fundColumnHeaderMarked = false;
    // The commodity list's first column-mode header marks the rise column.
    static inline bool prodColumnHeaderMarked = false;
    // Which picture every board bar's mode button shows: 0 the mini-trend one.
    static inline uint8_t boardBarModeImage = 0;
    // For tests, which start each case as a fresh process would.
    static void reset() {
        columnHeaderMarked = bFirstUpdate = boardColumnHeaderMarked = bondColumnHeaderMarked =
            fundColumnHeaderMarked = prodColumnHeaderMarked = false;
        boardBarModeImage = 0;
    }
};

// The array of a bundle property list by name; empty when the bundle lacks it, it cannot be read or
// it holds no array.
base::Array loadBundleList(const std::string &name);

// The base of the paged market lists of the market screen. It owns the list's data source (a
// `StockQuotesData`, which sends the requests and hands back its own row array after every
// change) and the cache of the rows' intraday pictures, and does the paging: the next 30 rows
// while the user scrolls within one and a half screens of the end, rows trimmed to 100 below the
// first visible one at the end of a scroll, stale visible rows (older than 5 s) refreshed at the
// end of a scroll, or else the visible rows' pictures asked for. Requests are tagged by the tab
// index: pages t × 100 + 101, refreshes t × 100 + 102, pictures t + 1.
//
// A subclass makes its table with `makeTable`, names its data source (`SetObserverName`), asks for
// the first page and answers the table operations. The data source empties its rows before the
// table reloads, so every table operation looks its row up through `recordAt`, which answers
// nothing for a row no longer held.
class MarketTableBaseView : public ui::View, public StockQuotesDataDelegate {
public:
    static constexpr double StaleSeconds = 5.0;
    // Rows kept below the first visible one when the list is trimmed.
    static constexpr int KeepBelowFirst = 100;
    // The next page is asked for while less than this many screens lie above the content's end.
    static constexpr float NextPageScreens = 2.5f;

    explicit MarketTableBaseView(gfx::Rect frame);
    void setUp() override;

    base::Opt<void> UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                          bool isFirstGetQuotes) override;
    base::Opt<void> UpdateMinLine(const std::string &code, const MinutePoints &points) override;
    base::Opt<bool> isMinLineMode() override { return modeType == 0; }
    // Gives the row its record's code and the cached picture of that code (possibly none yet).
    void showMView(ModelCellBaseView &row, const StockQuoteInf &record);

    virtual void reqCurScreenData(bool force);
    virtual bool getVisibleIndex(int &first, int &count);
    virtual bool needRefreshCurScreen() { return true; }
    virtual void setMinLineAllIdle();
    virtual void clearAllMinLinesData();
    virtual void scrollViewDidScroll(ui::ScrollView &scrollView);
    virtual void scrollViewDidEndDragging(ui::ScrollView &scrollView, bool decelerate);
    virtual void scrollViewDidEndDecelerating(ui::ScrollView &scrollView);
    virtual void procOnEndScroll(ui::ScrollView &scrollView);
    void resetQuotesSortId(int sortID, int sortType);
    void resetQuotesClassId(int classID);
    virtual void resetTimerCenterOnScroll() {}
    // Refreshes every visible row; false, sending nothing, when none is visible.
    virtual bool NotifyTimeEvent();
    // The first column whose "ColID" is the id; -1 when none.
    static int getSortColumnIndex(const base::Array &columns, int columnID);

    // The table's questions, answered by the subclasses: the base shows no rows.
    virtual int numberOfSections() { return 1; }
    virtual int numberOfRows(int section) {
        (void)section;
        return 0;
    }
    virtual base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path);
    virtual float heightForRow(ui::IndexPath path) {
        (void)path;
        return m_curTableView ? m_curTableView->rowHeight : 44;
    }
    virtual float heightForHeader(int section) {
        (void)section;
        return 0;
    }
    virtual base::Ref<ui::View> viewForHeader(int section) {
        (void)section;
        return nullptr;
    }
    virtual void didSelectRow(ui::IndexPath path) { (void)path; }
    // The index in the rows held of the record a table row shows; -1 for a row showing none of
    // them. Lists with rows of their own above the held ones shift it.
    virtual int recordIndexOfRow(ui::IndexPath path) const { return path.row; }

    // The rows held, and the record of a row; nothing for a row outside them.
    int rowCount() const;
    base::Ref<StockQuoteInf> recordAt(int row) const;
    // The row of any kind (fund lists hold fund rows); nothing for a row outside them.
    base::Ref<base::Object> objectAt(int row) const;
    const base::Ref<base::Object> &dataArray() const { return m_dataArray; }
    StockQuotesData &quotesData() { return *m_quotesData; }
    MiniViewManager &mviews() { return *m_mviews; }
    ui::TableView *curTableView() const { return m_curTableView.get(); }

    base::Weak<MarketTableBaseViewTarget> parentControllerTarget;
    // 0 rows with an intraday picture (mini-trend mode), 1 plain column rows.
    int16_t modeType = 0;
    int32_t curTabIndex = -1;
    int32_t curBoardStocksTabIndex = -1;
    bool isPagesMode = false;

protected:
    // A table wired to this list's operations.
    base::Ref<ui::TableView> makeTable(gfx::Rect frame);
    // The list's own table as every market list shows it: wired, clear over the screen's
    // background, with no separators and no scroll bar; it becomes the current table and a subview.
    void makeListTable(gfx::Rect frame);
    // A column row of this table: a reused one, or a new one of the list's width over the columns,
    // with `made` set.
    base::Ref<GeneralCell> dequeueColumnRow(ui::TableView &table, const base::Array &columns,
                                            bool *made = nullptr);
    // A row on show of a mini-trend table, or nothing.
    ModelCellBaseView *visibleTrendRow(const std::string &code) const;

    static constexpr const char *ColumnRowIdentifier = "genneralCell";

    base::Ref<ui::TableView> m_curTableView;
    int32_t m_tableRowHeight = 70;
    float m_tableGenRowHeight = 44;
    float m_tableHeaderHeight = 30;

private:
    struct Table;

    base::Ref<base::Object> m_dataArray;
    base::Ref<MiniViewManager> m_mviews;
    base::Ref<StockQuotesData> m_quotesData;
    base::Ref<Table> m_table;
};

// The minutes of a picture reply as the pictures take them.
base::Ref<MinLineList> toMinLineList(const MinutePoints &points);
