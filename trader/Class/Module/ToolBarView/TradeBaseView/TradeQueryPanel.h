#pragma once

#include "Class/Module/CommonControls/TradeDateRange/TradeDateRange.h"
#include "Class/Module/CommonControls/TradePageStrip/TradePageStrip.h"
#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"
#include "DataBase/TradeQuery/TradePageQueryDataBase.h"

#include "ui/TableView.h"

#include <string>

// What the three query panels of the tool bar (funds and holdings, orders, deals) share: a table
// of 15 rows a page with their serial numbers, the page strip that pages the panel's query object,
// for the order and deal panels the date row with its calendars and the "查询" button, and the
// full-screen view the title bar's full-screen button opens over the whole screen.
//
// The panel owns its query object; the full-screen view has its own and holds the panel weakly.
// When the panel starts to go (its close button, the tool bar closing or locking, another panel
// taking its place) its full-screen view goes at once, so no full-screen view outlives its panel.
class TradeQueryPanel : public TradeBaseView, public TradePageStripDelegate, public TradeDateRangeDelegate {
public:
    static constexpr const char *kCellIdentifier = "genneralCell";
    static inline const gfx::Rect kFullScreenFrame{0, 20, 1024, 748};
    static constexpr float kDateRowY = 43, kPageStripY = 75, kTableY = 126;

    using TradeBaseView::TradeBaseView;

    // The query object the page strip pages and the serial numbers count from.
    virtual TradePageQueryDataBase &queryData() = 0;

    base::Opt<void> prevPageAction() override;
    base::Opt<void> nextPageAction() override;
    base::Opt<void> dateRangeCalendarToggled(TradeDateRange &) override;

    void CloseAction() { DismissView(); }
    // The rows of the page on show.
    const base::Array &dataArray() const { return m_dataArray; }
    ui::TableView &table() { return *m_table; }
    TradePageStrip &pageStrip() { return *m_pageStrip; }
    // Present in the order and deal panels.
    TradeDateRange *dateRange() const { return m_dateRange.get(); }
    ui::Button *searchBtn() const { return m_searchBtn.get(); }
    // The full-screen view opened last while it is on screen.
    base::Ref<ui::View> fullScreenView() const { return m_fullScreenView.lock(); }

protected:
    // The title bar, the background, the page strip and the table (h - tableY high from tableY).
    void buildPanel(gfx::Rect frame, float stripY, float textWidth, float prevX, float nextX, float tableY,
                    float rowHeight);
    // The date row at the top and the "查询" button calling searchAction; the calendars at y.
    void buildDateRow(float calendarY);
    virtual void searchAction() {}
    virtual void FullScreenAction() {}
    // The cell of one row, whose data is m_dataArray[path.row].
    virtual base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) = 0;
    virtual void didSelectRow(ui::IndexPath path) { (void)path; }
    // Shows a page: its text, its rows (none for an empty page), the table reloaded.
    void showPage(const std::optional<base::Array> &rows, const std::string &pageInfo);
    // The serial text of a row of the page on show.
    std::string serialText(int row);
    // The row's dictionary, or an empty one.
    base::Dict rowAt(int row) const;
    // Keeps the view as the panel's full-screen view and lays it over the panel's parent view.
    void presentFullScreen(const base::Ref<ui::View> &view);
    void panelWillDismiss() override;

    float m_rowHeight = 44;
    base::Array m_dataArray;
    base::Ref<TradeDateRange> m_dateRange;

private:
    struct Relay;
    base::Ref<Relay> m_relay;
    base::Ref<ui::TableView> m_table;
    base::Ref<TradePageStrip> m_pageStrip;
    base::Ref<ui::Button> m_searchBtn;
    base::Weak<ui::View> m_fullScreenView;
};
