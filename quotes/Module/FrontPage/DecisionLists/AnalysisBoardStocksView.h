#pragma once

#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/Market/BoardStocksModelView.h"
#include "Module/Market/ConfigMarketBarView.h"
#include "Module/Market/SwitchMarketMenuController.h"

#include "ui/Popover.h"

#include <functional>

// How the analysis lists write a record into a column row: the banded background, the serial
// number, name and code (the display form or the plain one), then each column's field from
// column 2 on. Colours are the caller's.
namespace AnalysisRows {

void fill(GeneralCell &cell, int row, const StockQuoteInf &record, const base::Array &columns,
          bool displayCode);
// A cell of the analysis lists: 44 points high, the columns built once.
base::Ref<GeneralCell> dequeue(ui::TableView &table, const base::Array &columns);
// The table of an analysis list: see-through, 44-point rows, no separators, no scroll indicator.
void styleTable(ui::TableView &table);
// The bar and table of a list entering a board's members (the table hidden, the back button and
// the board's name shown, the menu button hidden) or back to its rows.
void showDrillDown(ConfigMarketBarView &bar, ui::TableView &table, const std::string &boardName, bool shown);
// A menu in a popover, made on first use and kept, shown from the button.
void presentMenu(base::Ref<ui::Popover> &popover, base::Weak<SwitchMarketMenuController> &kept,
                 base::Weak<SwitchMarketMenuControllerDelegate> delegate, const base::Array &rows,
                 ui::Button &button, unsigned arrows);
// What a list that goes leaves behind calls nothing: its menu no longer reports, its popover
// closes, its drill-down no longer reports.
void forget(const base::Ref<ui::Popover> &popover, const base::Weak<SwitchMarketMenuController> &menu,
            BoardStocksModelView *drillDown);

} // namespace AnalysisRows

// One board's members under the board's own quote (row 0, serial number 1), in the columns of the
// analysis list that drilled into it, coloured as that list colours its rows; the plain codes are
// shown. The list makes one when the user taps a board and drops it on the way back.
class AnalysisBoardStocksView : public BoardStocksModelView {
public:
    using Colour = std::function<void(GeneralCell &, const StockQuoteInf &)>;

    AnalysisBoardStocksView(gfx::Rect frame, base::Array columns, Colour colour)
        : BoardStocksModelView(frame, std::move(columns)), m_colour(std::move(colour)) {
        modeType = 1;
    }

    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;

private:
    Colour m_colour;
};

// The members of a board tapped in the big-order list.
class DDEBoardStocksView : public AnalysisBoardStocksView {
public:
    using AnalysisBoardStocksView::AnalysisBoardStocksView;
};

// The members of a board tapped in the stage-statistics list.
class SectionBoardStocksView : public AnalysisBoardStocksView {
public:
    using AnalysisBoardStocksView::AnalysisBoardStocksView;
};
