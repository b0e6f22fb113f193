#pragma once

#include "Class/Module/CommonControls/TradeDateRange/TradeDateRange.h"
#include "Class/Module/CommonControls/TradePageStrip/TradePageStrip.h"
#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"
#include "DataBase/TradeQuery/TradePageQueryDataBase.h"

#include "ui/ScrollView.h"
#include "ui/TableView.h"

#include <string>

class CMProgressWaitingView;
class GeneralCell;

// The base of the full-screen query tables a query panel's full-screen button opens over the whole
// screen below the status bar: the same query as the panel, as a wide table in the broker's own
// columns (the titles the gateway sent at login for the query's reply), inside a scroll view that
// moves sideways when the columns are wider than the screen.
//
// The column list starts with the plain serial column "No" (30 points); each server column adds
// 120; name and code, when both are columns, become one " 名称" column right after "No". The table
// is 30 + 120 per column + 10 wide, at least as wide as the scroll view. Without a title list for
// the reply there is only "No".
//
// A view starts from its panel's query object (pages fetched, page on show, dates, page text) and
// then queries with one of its own under its own notification name, so the panel's page stays as it
// was. It holds its panel weakly; the panel takes the view away when it goes. Its waiting strip does
// not move, rows have no buttons and a tap on a row does nothing. The close button removes the view
// at once.
class FullScrTradeBaseView : public ui::View, public TradePageStripDelegate, public TradeDateRangeDelegate {
public:
    static constexpr const char *kCellIdentifier = "genneralCell";
    static constexpr float kHeaderHeight = 22, kRowHeight = 44;
    static constexpr float kSerialWidth = 30, kTailWidth = 10;

    explicit FullScrTradeBaseView(gfx::Rect frame);
    ~FullScrTradeBaseView() override;
    void setUp() override;

    // The close button, the title and the (still) waiting strip inside `rect`.
    void GenTitleBar(gfx::Rect rect);
    void CloseAction();

    // The query object the view pages.
    virtual TradePageQueryDataBase &queryData() = 0;
    base::Opt<void> prevPageAction() override;
    base::Opt<void> nextPageAction() override;
    base::Opt<void> dateRangeCalendarToggled(TradeDateRange &) override;

    // Builds the column list of the reply to `funcID` and the table width from it.
    void createColumnArray(int funcID);
    // Keeps `funcID` as the id of the columns, rebuilds them and widens the table and its scroll
    // area to the new width.
    void ResetTableColumns(int funcID);

    base::Weak<TradeBaseView> ownerViewHandler;
    ui::Label *titleLabel() const { return m_titleLabel.get(); }
    ui::Button *closeButton() const { return m_closeButton.get(); }
    CMProgressWaitingView *progressView() const { return m_progressView.get(); }
    const base::Array &columnArray() const { return m_columnArray; }
    float tableWidth() const { return m_tableWidth; }
    int currentReqType() const { return m_currentReqType; }
    const base::Array &dataArray() const { return m_dataArray; }
    ui::ScrollView &scrollView() { return *m_scrollView; }
    ui::TableView &table() { return *m_table; }
    TradePageStrip &pageStrip() { return *m_pageStrip; }
    TradeDateRange *dateRange() const { return m_dateRange.get(); }
    ui::Button *searchBtn() const { return m_searchBtn.get(); }

protected:
    virtual void initData() {}
    virtual void initUI(gfx::Rect frame) { (void)frame; }
    // The page strip at stripY, and the scroll view with the table from tableY, `height` high.
    void buildTable(float stripY, float tableY, float height);
    // The date buttons, "查询" and the two calendars centred across the view at calendarY.
    void buildDateRow(float calendarY);
    virtual void searchAction() {}
    // Shows a page: its text, its rows (none for an empty page), the table reloaded.
    void showPage(const std::optional<base::Array> &rows, const std::string &pageInfo);
    // After copying the panel's query object: its dates on the buttons, its page text, the columns
    // of `funcID` and the page on show.
    void showTakenOver(int funcID);
    // The look of a row: a fresh cell's columns and colours, and the row's background.
    virtual void styleCell(GeneralCell &cell, bool fresh, int row);
    // The row's background: dark stripes, alternating.
    static void stripe(GeneralCell &cell, int row);

private:
    struct Relay;
    base::Ref<GeneralCell> cellForRow(ui::TableView &table, ui::IndexPath path);
    base::Ref<ui::View> headerView();

    base::Ref<CMProgressWaitingView> m_progressView;
    base::Ref<ui::Label> m_titleLabel;
    base::Ref<ui::Button> m_closeButton;
    base::Ref<Relay> m_relay;
    base::Ref<ui::ScrollView> m_scrollView;
    base::Ref<ui::TableView> m_table;
    base::Ref<TradePageStrip> m_pageStrip;
    base::Ref<TradeDateRange> m_dateRange;
    base::Ref<ui::Button> m_searchBtn;
    base::Array m_columnArray;
    base::Array m_dataArray;
    float m_tableWidth = 0;
    int32_t m_currentReqType = 0;
};
