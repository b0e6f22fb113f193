#include "Components/CMAlarmView/CMAlarmResultsView.h"

#include "ui/Button.h"

struct CMAlarmResultsView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<CMAlarmResultsView> list;

    int numberOfRows(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? int(l->m_dataArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        base::Ref<ui::TableCell> cell = table.dequeueReusableCell(kIdentifier);
        if (!cell) {
            cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, kIdentifier);
            cell->selectionStyle = ui::TableCell::Selection::None;
        }
        auto l = list.lock();
        if (!l)
            return cell;
        cell->textLabel()->setText(l->m_dataArray.at(size_t(path.row))["NAME"].stringValue());
        base::Ref<ui::Button> add = ui::Button::contactAdd();
        add->tag = path.row;
        base::Weak<CMAlarmResultsView> weak = list;
        ui::Button *sender = add.get();
        add->addTarget(base::Action(weak, "addAlarmAction",
                                    [weak, sender](base::Object *) {
                                        if (auto self = weak.lock())
                                            self->addAlarmAction(sender->tag);
                                    }),
                       ui::TouchUpInside);
        cell->setAccessoryView(add);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return kRowHeight; }
};

CMAlarmResultsView::CMAlarmResultsView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::white());
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_tableView->rowHeight = kRowHeight;
    addSubview(m_tableView);
}

void CMAlarmResultsView::setUp() {
    ui::View::setUp();
    m_table = base::make<Table>();
    m_table->list = weakSelf<CMAlarmResultsView>();
    m_tableView->dataSource = m_table;
    m_tableView->delegate = m_table;
}

void CMAlarmResultsView::setResultsArray(base::Array rows, const base::Value &) {
    m_dataArray = std::move(rows);
    m_tableView->reloadData();
}

void CMAlarmResultsView::addAlarmAction(int row) {
    if (row < 0 || size_t(row) >= m_dataArray.size())
        return;
    if (auto d = delegate.lock())
        d->addStockAlarmAction(m_dataArray.at(size_t(row))["KEY"].stringValue());
}
