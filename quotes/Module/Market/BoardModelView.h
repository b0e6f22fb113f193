#pragma once

#include "Module/Market/BoardModelConfigBarView.h"
#include "Module/Market/BoardStocksModelView.h"
#include "Module/Market/ModelCellBaseView.h"
#include "Module/Market/RankedMarketListView.h"

#include "Module/CommonControls/GeneralCell/GeneralCell.h"

#include <cstdint>

// What the board list tells the market screen.
class BoardModelViewDelegate {
public:
    virtual ~BoardModelViewDelegate() = default;
    // The user left a drill-down: the ranking is on show again.
    virtual base::Opt<void> BackToBoardAction(int rankField, uint8_t rankType) {
        (void)rankField, (void)rankType;
        return base::notImplemented;
    }
    // The user drilled into this board.
    virtual base::Opt<void> EnterToStocksBoardAction(const base::Ref<StockQuoteInf> &board) {
        (void)board;
        return base::notImplemented;
    }
    // Open the detail screen on a record of the array; a board opened itself carries its member-list id.
    virtual base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                  int stockIndex, const base::Array &dataArray,
                                                  int32_t boardID) {
        (void)code, (void)moduleName, (void)stockIndex, (void)dataArray, (void)boardID;
        return base::notImplemented;
    }
    virtual base::Opt<void> resetTimerCenterOnScroll(int tabIndex) {
        (void)tabIndex;
        return base::notImplemented;
    }
};

// The list of the market screen's board tab: the boards (class 105) ranked by the server, in
// mini-trend or column rows. A tap on a board drills down in place: the ranking hides and the
// board's constituents take its place under the same bar, which shows a back button, the board's
// name and its rise. The board's picture (mini-trend mode) or the right-edge button (column mode)
// opens the board itself in the detail screen instead.
class BoardModelView : public RankedMarketListView,
                       public BoardModelConfigBarViewDelegate,
                       public BoardStocksModelViewDelegate,
                       public GeneralCellDelegate,
                       public ModelCellBaseViewDelegate {
public:
    static constexpr int TabIndex = 1;
    static constexpr int ClassID = 105;
    static constexpr const char *ObserverName = "BoardModelViewNotify";
    static constexpr const char *ModuleName = "StockModel";
    static constexpr const char *FieldMenuFile = "StockFieldRankMenu";
    static constexpr float BarHeight = 36;
    static constexpr int RiseColumn = 3;
    static constexpr int HeaderFields[DefaultColumn::HeaderCount] = {4, 1, 21, 2, 20};

    explicit BoardModelView(gfx::Rect frame);
    void setUp() override;

    void reLayout(gfx::Rect frame);
    // A tab was chosen from outside the screen: leaves a drill-down and tells the delegate.
    void SetBoardVisible();
    // Switches the mode of the ranking and of the constituents on show.
    void RefreshTable() override;

    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    base::Ref<ui::View> viewForHeader(int section) override;
    void didSelectRow(ui::IndexPath path) override;
    void resetTimerCenterOnScroll() override;
    bool NotifyTimeEvent() override;
    void setMinLineAllIdle() override;
    void clearAllMinLinesData() override;

    base::Opt<void> PerformAction(ui::Button &button) override;
    base::Opt<void> BackAction(ui::Button &button) override;
    base::Opt<void> ReturnSelectedCell(ui::Button *button, ui::IndexPath indexPath) override;
    base::Opt<void> ReturnSelectedCell(base::Object *sender, ui::IndexPath indexPath) override;
    base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                          int stockIndex, const base::Array &dataArray) override;
    base::Opt<void> ReturnBoardQuoteInf(const base::Ref<StockQuoteInf> &record) override;

    // The ranking's columns, and the constituents' (narrower, with two more).
    static base::Array makeColumnArray();
    static base::Array makeBoardStocksColumnArray();

    BoardModelConfigBarView &configMarketBarView() { return *m_configMarketBarView; }
    BoardStocksModelView *boardStocksModelView() const { return m_boardStocksModelView.lock().get(); }
    ui::TableView &boardTableView() { return *m_curTableView; }
    bool isDrilledDown() const { return m_curTableView->isHidden(); }

    base::Weak<BoardModelViewDelegate> delegate;

private:
    void openBoard(int row);
    // Steps shared by the back button and a tab chosen from outside.
    void leaveDrillDown();
    void tellBack();

    base::Ref<BoardModelConfigBarView> m_configMarketBarView;
    base::Weak<BoardStocksModelView> m_boardStocksModelView;
    int32_t m_iMainClassID = 1;
    uint8_t m_rankMainBtnOrient = 0, m_rankSubBtnOrient = 0;
    base::Array m_boardStocksColumnArray;
};
