#include "Module/FrontPage/DecisionLists/AnalysisBoardStocksView.h"

#include "Module/Market/QuoteRows.h"

#include "ui/NavigationController.h"

namespace {

constexpr const char *RowIdentifier = "genneralCell";
constexpr float RowHeight = 44;

} // namespace

namespace AnalysisRows {

void fill(GeneralCell &cell, int row, const StockQuoteInf &record, const base::Array &columns,
          bool displayCode) {
    QuoteRows::fillBackground(cell, row);
    base::Array values{std::to_string(row + 1),
                       base::Dict{{"StockName", record.name},
                                  {"StockCode", displayCode ? record.getDisplayCode() : record.code}}};
    for (size_t i = 2; i < columns.size(); ++i)
        values.add(record.FormatValue(int32_t(columns[i]["ColID"].intValue())));
    cell.SetValueArray(values);
}

base::Ref<GeneralCell> dequeue(ui::TableView &table, const base::Array &columns) {
    auto cell = std::dynamic_pointer_cast<GeneralCell>(table.dequeueReusableCell(RowIdentifier));
    if (!cell) {
        cell = base::make<GeneralCell>(ui::TableCell::Style::Default, RowIdentifier,
                                       gfx::Rect{0, 0, table.bounds().width(), RowHeight});
        cell->SetFormatArray(columns);
    }
    return cell;
}

void styleTable(ui::TableView &table) {
    table.setBackgroundColor(gfx::Color::clear());
    table.opaque = false;
    table.separatorStyle = ui::TableView::Separator::None;
    table.showsVerticalScrollIndicator = false;
    table.rowHeight = RowHeight;
}

void showDrillDown(ConfigMarketBarView &bar, ui::TableView &table, const std::string &boardName, bool shown) {
    table.setHidden(shown);
    bar.backButton().setHidden(!shown);
    if (shown)
        bar.boardNameLabel().setText(boardName);
    bar.boardNameLabel().setHidden(!shown);
    bar.leftButton().setHidden(shown);
}

void presentMenu(base::Ref<ui::Popover> &popover, base::Weak<SwitchMarketMenuController> &kept,
                 base::Weak<SwitchMarketMenuControllerDelegate> delegate, const base::Array &rows,
                 ui::Button &button, unsigned arrows) {
    if (!popover) {
        auto menu = base::make<SwitchMarketMenuController>();
        menu->delegate = std::move(delegate);
        menu->SetMenuItemsArray(rows);
        kept = menu;
        popover = base::make<ui::Popover>(base::make<ui::NavigationController>(menu));
    }
    popover->presentFromRect(button.bounds(), button, arrows, true);
}

void forget(const base::Ref<ui::Popover> &popover, const base::Weak<SwitchMarketMenuController> &menu,
            BoardStocksModelView *drillDown) {
    if (auto shown = menu.lock())
        shown->delegate.reset();
    if (popover)
        popover->dismiss(false);
    if (drillDown)
        drillDown->delegate.reset();
}

} // namespace AnalysisRows

base::Ref<ui::TableCell> AnalysisBoardStocksView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    base::Ref<GeneralCell> cell = AnalysisRows::dequeue(table, columnArray());
    cell->indexPath = path;
    // A row whose record has not come keeps what it showed.
    if (base::Ref<StockQuoteInf> record = recordOfRow(path.row)) {
        AnalysisRows::fill(*cell, path.row, *record, columnArray(), false);
        if (m_colour)
            m_colour(*cell, *record);
    }
    return cell;
}
