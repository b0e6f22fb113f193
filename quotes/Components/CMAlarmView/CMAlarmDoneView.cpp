#include "Components/CMAlarmView/CMAlarmDoneView.h"

#include "Components/CMAlarmView/CMAlarmCell.h"

struct CMAlarmDoneView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<CMAlarmDoneView> list;

    int numberOfRows(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? int(l->m_dataArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<CMAlarmDoneCell>(
            table.dequeueReusableCell(CMAlarmDoneCell::kIdentifier));
        if (!cell)
            cell = base::make<CMAlarmDoneCell>(gfx::Rect{0, 0, table.bounds().width(), kRowHeight});
        if (auto l = list.lock())
            cell->setAlarmDoneValue(l->m_dataArray.at(size_t(path.row)));
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return kRowHeight; }
};

CMAlarmDoneView::CMAlarmDoneView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::white());
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_tableView->rowHeight = kRowHeight;
    m_tableView->sectionHeaderHeight = 0;
    m_tableView->separatorColor = gfx::Color::lightGray();
    addSubview(m_tableView);
}

void CMAlarmDoneView::setUp() {
    ui::View::setUp();
    m_table = base::make<Table>();
    m_table->list = weakSelf<CMAlarmDoneView>();
    m_tableView->dataSource = m_table;
    m_tableView->delegate = m_table;
}

void CMAlarmDoneView::setDataArray(const base::Value &rows) {
    const base::Array *array = rows.array();
    if (!array)
        return;
    m_dataArray = *array;
    m_tableView->reloadData();
}
