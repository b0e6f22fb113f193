#pragma once

#include "Module/Market/DefaultColumn.h"
#include "Module/MyStock/MyStockTableCell.h"
#include "Module/StockDataBaseMgnt/MyStockQuotesData.h"

#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"

#include "ui/TableView.h"
#include "ui/View.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class MiniViewManager;

// Hears a tap on a watch-list row: the stock's name and code and the row as displayed.
class MyStockTableViewDelegate {
public:
    virtual ~MyStockTableViewDelegate() = default;
    virtual base::Opt<void> ReturnStockName(const std::string &name, const std::string &code, int index) {
        (void)name, (void)code, (void)index;
        return base::notImplemented;
    }
};

// What the watch-list table asks of the screen that owns the rows and sends every request: hold
// the refresh while it scrolls, fetch the next quote page as the offset grows, refresh or chart
// the visible rows, sort, and lend the rows' intraday pictures.
class MyStockTableViewTarget {
public:
    virtual ~MyStockTableViewTarget() = default;
    // Slot 0, the table's; the screen's chart grid sends its own through the same operation.
    virtual base::Opt<void> resetTimerCenterOnScroll(int slot) = 0;
    virtual void prereqNextPageQuotes(double offset, double rowHeight) = 0;
    virtual void reqCurScreenData(const std::vector<int> &visibleRows) = 0;
    virtual void reqCurScreenQuotes(const std::vector<int> &visibleRows) = 0;
    virtual void resetQuotesSortId(int sortID, int sortType) = 0;
    virtual MiniViewManager *mviews() = 0;
};

// The quote table of the watch-list screen. It shows the screen's shared rows either as 70-point
// trend rows (name block, vertical row number, price, change and rise on a coloured tag, three
// value fields of the user's choice, intraday picture) under a `DefaultColumn`, or as 44-point
// column rows under a `GeneralColumn`. It sends nothing itself: scrolling, visible rows, sort
// choices and taps go to the owning screen.
class MyStockTableView : public ui::View, public GeneralColumnDelegate, public DefaultColumnDelegate {
public:
    static constexpr float RowHeight = 70, GenRowHeight = 44, HeaderHeight = 30;
    static constexpr const char *FieldMenuFile = "StockFieldRankMenu";
    static constexpr int HeaderFields[DefaultColumn::HeaderCount] = {4, 1, 21, 2, 20};
    // The header cell whose field is fixed and which sorts nothing.
    static constexpr int RiseHeader = 1;

    explicit MyStockTableView(gfx::Rect frame);
    void setUp() override;
    // Moves the view and its table, and reloads the rows.
    void reLayout(gfx::Rect frame);

    // The rows stay the owner's: the table keeps only a weak hold on them.
    void SetTableDataArray(const base::Ref<MyStockRowList> &rows);
    void RefreshTableView();
    // 1 trend rows, 0 column rows; anything else changes nothing.
    void ResetTableMode(int mode);
    // Shows the picture on the first visible trend row of the code.
    void UpdateMinLineView(const base::Ref<MiniMinLineView> &mview, const std::string &code);
    void reqCurScreenData();
    void reqCurScreenQuotes();

    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) override;
    base::Opt<void> ReturnUpdownTag(int upDown, int classID, int headerID) override;
    base::Opt<void> ReturnSelectedFieldName(const std::string &name, int classID, int headerID) override;

    static base::Array makeColumnArray();
    // The digits of the number, each on a line of its own.
    static std::string FormatSerialNumberVertical(int number);

    ui::TableView &tableView() { return *m_myStockTableView; }
    GeneralColumn &titleColumn() { return *m_titleColumn; }
    DefaultColumn &defaultColumn() { return *m_defaultColumn; }
    const std::array<int32_t, 3> &RankFields() const { return m_rankFields; }
    int16_t iCurrentRankFeild() const { return m_iCurrentRankFeild; }
    const base::Array &columnArray() const { return m_columnArray; }

    base::Weak<MyStockTableViewDelegate> delegate;
    base::Weak<MyStockTableViewTarget> parentControllerTarget;
    // 0 trend rows, 1 column rows.
    int16_t modeType = 0;

private:
    struct Table;

    int rowCount() const;
    base::Ref<MyStockRow> rowAt(int row) const;
    std::vector<int> visibleRows() const;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path);
    float heightForRow() const;
    base::Ref<ui::View> viewForHeader();
    void didSelectRow(ui::IndexPath path);
    void didScroll(ui::ScrollView &scrollView);
    void didEndScroll(ui::ScrollView &scrollView);
    void fillColumnRow(GeneralCell &cell, int row, const StockQuoteInf &record);
    void fillTrendRow(MyStockTableCell &cell, int row, const MyStockRow &entry);

    base::Ref<Table> m_table;
    base::Ref<ui::TableView> m_myStockTableView;
    base::Weak<MyStockRowList> m_reportDataArray;
    base::Array m_columnArray;
    base::Array m_menu_1_Array;
    base::Ref<GeneralColumn> m_titleColumn;
    base::Ref<DefaultColumn> m_defaultColumn;
    int16_t m_iCurrentRankFeild = -1;
    std::array<int32_t, 3> m_rankFields{21, 2, 20};
};
