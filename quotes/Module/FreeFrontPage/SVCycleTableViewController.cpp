#include "Module/FreeFrontPage/SVCycleTableViewController.h"

#include "Common/UtilUI.h"
#include "gfx/Font.h"
#include "ui/Application.h"
#include "ui/ImageView.h"

namespace {

constexpr float TitleFontSize = 17;

} // namespace

struct SVCycleTableViewController::Rows : ui::TableDataSource, ui::TableDelegate {
    base::Weak<SVCycleTableViewController> list;

    int numberOfRows(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? int(l->tableArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        base::Ref<ui::TableCell> cell = table.dequeueReusableCell(CellIdentifier);
        if (!cell) {
            cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, CellIdentifier);
            cell->textLabel()->setFont(gfx::Font::boldSystem(TitleFontSize));
            auto selected =
                base::make<ui::ImageView>(gfx::Rect{0, 0, table.bounds().width(), table.rowHeight},
                                          UtilUI::imageNamed("SelectedBg.png"));
            cell->setSelectedBackgroundView(selected);
        }
        auto l = list.lock();
        if (!l || path.row >= int(l->tableArray.size()))
            return cell;
        const base::Value entry = l->tableArray[size_t(path.row)];
        cell->textLabel()->setText(entry["nameKey"].stringValue());
        const base::Dict *d = entry.dict();
        if (d && d->has("cycleTypeKey") && int(entry["cycleTypeKey"].intValue()) == l->curSelType) {
            cell->setAccessoryType(l->curCellAccessorType);
            table.selectRow(path, false, ui::ScrollPosition::None);
        } else {
            cell->setAccessoryType(ui::TableCell::Accessory::None);
        }
        return cell;
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        auto l = list.lock();
        if (!l || path.row >= int(l->tableArray.size()))
            return {};
        if (auto owner = l->tblDelegate.lock())
            owner->SVCycleTableViewClick(*l, l->tableArray[size_t(path.row)]);
        return {};
    }
};

void SVCycleTableViewController::setUp() {
    ui::ViewController::setUp();
    rows_ = base::make<Rows>();
    rows_->list = self<SVCycleTableViewController>();
    table_ = base::make<ui::TableView>(gfx::Rect{}, ui::TableView::Style::Plain);
    table_->autoresizingMask = ui::FlexibleWidth | ui::FlexibleHeight;
    table_->rowHeight = RowHeight;
    table_->dataSource = rows_;
    table_->delegate = rows_;
}

void SVCycleTableViewController::loadView() {
    ui::ViewController::loadView();
    table_->setFrame(view().bounds());
    view().addSubview(table_);
}

bool SVCycleTableViewController::shouldAutorotateTo(ui::Orientation orientation) {
    return orientation == ui::Orientation::Portrait;
}

void SVCycleTableViewController::togglePopover(ui::Popover &popover, ui::View &anchor,
                                               unsigned permittedArrows) {
    if (popover.isVisible()) {
        popover.dismiss(true);
        return;
    }
    if (tableArray.size() == 0)
        return;
    table_->reloadData();
    popover.presentFromRect(anchor.bounds(), anchor, permittedArrows, true);
}
