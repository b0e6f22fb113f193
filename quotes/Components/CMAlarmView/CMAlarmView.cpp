#include "Components/CMAlarmView/CMAlarmView.h"

#include "Components/CMAlarmView/CMAlarmCell.h"

struct CMAlarmView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<CMAlarmView> list;

    int numberOfRows(ui::TableView &, int section) override {
        auto l = list.lock();
        return l && section == 0 ? int(l->m_dataArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell =
            std::dynamic_pointer_cast<CMAlarmCell>(table.dequeueReusableCell(CMAlarmCell::kIdentifier));
        if (!cell) {
            cell = base::make<CMAlarmCell>(gfx::Rect{0, 0, table.bounds().width(), rowHeight});
            cell->setAccessoryType(ui::TableCell::Accessory::DetailDisclosureButton);
        }
        if (auto l = list.lock())
            cell->setAlarmValue(l->m_dataArray.at(size_t(path.row)));
        return cell;
    }
    base::Opt<bool> canEditRow(ui::TableView &, ui::IndexPath) override { return true; }
    base::Opt<void> commitEditing(ui::TableView &, ui::EditingStyle style, ui::IndexPath path) override {
        if (auto l = list.lock(); l && style == ui::EditingStyle::Delete)
            l->deleteRow(path.row);
        return {};
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return rowHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int section) override {
        return section == 0 ? headerHeight : 0;
    }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &, int section) override {
        auto l = list.lock();
        return l && section == 0 ? base::Ref<ui::View>(l->m_searchBar) : nullptr;
    }
    base::Opt<ui::EditingStyle> editingStyle(ui::TableView &, ui::IndexPath) override {
        return ui::EditingStyle::Delete;
    }
    base::Opt<void> accessoryButtonTapped(ui::TableView &, ui::IndexPath path) override {
        if (auto l = list.lock())
            l->editAlarmAction(path.row);
        return {};
    }
};

struct CMAlarmView::Search : ui::SearchBarDelegate {
    base::Weak<CMAlarmView> list;

    base::Opt<void> textDidChange(ui::SearchBar &, const std::string &text) override {
        auto l = list.lock();
        if (!l)
            return {};
        l->showResultsList(true);
        if (auto d = l->delegate.lock())
            d->didSearchWord(text);
        return {};
    }
    base::Opt<void> cancelClicked(ui::SearchBar &) override {
        if (auto l = list.lock())
            l->showResultsList(false);
        return {};
    }
    base::Opt<void> resultsListClicked(ui::SearchBar &) override {
        if (auto l = list.lock())
            l->showResultsList(!l->isShowingResults());
        return {};
    }
    base::Opt<void> didEndEditing(ui::SearchBar &bar) override {
        if (auto l = list.lock())
            l->showResultsList(false);
        bar.setText("");
        return {};
    }
};

CMAlarmView::CMAlarmView(gfx::Rect frame) : ui::View(frame) {
    const float w = frame.width(), h = frame.height();
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, 0, w, h});
    m_tableView->rowHeight = rowHeight;
    m_separatorColor = m_tableView->separatorColor;
    addSubview(m_tableView);

    m_searchBar = base::make<ui::SearchBar>(gfx::Rect{0, 0, w, headerHeight});
    m_searchBar->setBarStyle(ui::SearchBar::Style::Black);
    m_searchBar->setPlaceholder(kPlaceholder);
    m_searchBar->setShowsCancelButton(true);
    m_searchBar->setShowsSearchResultsButton(true);
    m_searchBar->textField().setClearButtonMode(ui::TextField::ViewMode::Never);

    m_alarmResultsView = base::make<CMAlarmResultsView>(gfx::Rect{0, headerHeight, w, h - headerHeight});
    m_alarmResultsView->setHidden(true);
    m_tableView->addSubview(m_alarmResultsView);
}

void CMAlarmView::setUp() {
    ui::View::setUp();
    m_table = base::make<Table>();
    m_table->list = weakSelf<CMAlarmView>();
    m_tableView->dataSource = m_table;
    m_tableView->delegate = m_table;
    m_search = base::make<Search>();
    m_search->list = weakSelf<CMAlarmView>();
    m_searchBar->delegate = m_search;
    m_alarmResultsView->delegate = weakSelf<CMAlarmView>();
}

void CMAlarmView::setDataArray(const base::Value &rows) {
    m_dataArray.clear();
    if (const base::Array *array = rows.array())
        m_dataArray = array->copy();
    m_tableView->reloadData();
}

void CMAlarmView::setResultsArray(base::Array rows, const base::Value &otherKeys) {
    m_alarmResultsView->setResultsArray(std::move(rows), otherKeys);
    showResultsList(true);
}

void CMAlarmView::setEditMode(bool editing) {
    if (editing)
        m_deleteAlarmIDArray.clear();
    m_tableView->setEditing(editing, true);
}

void CMAlarmView::showResultsList(bool shown) {
    m_alarmResultsView->setHidden(!shown);
    if (shown) {
        m_tableView->separatorColor = gfx::Color::clear();
        m_tableView->bringSubviewToFront(m_alarmResultsView.get());
    } else {
        m_tableView->separatorColor = m_separatorColor;
        m_searchBar->textField().resignFirstResponder();
    }
    m_tableView->setNeedsDisplay();
}

void CMAlarmView::editAlarmAction(int row) {
    if (row < 0 || size_t(row) >= m_dataArray.size())
        return;
    base::Value alarm = m_dataArray.at(size_t(row));
    if (auto d = delegate.lock())
        d->addStockAlarmAction(alarm["STOCKCODE"].stringValue(), false, int32_t(alarm["ALARMID"].intValue()),
                               alarm);
}

void CMAlarmView::deleteRow(int row) {
    if (row < 0 || size_t(row) >= m_dataArray.size())
        return;
    m_deleteAlarmIDArray.push_back(int32_t(m_dataArray.at(size_t(row))["ALARMID"].intValue()));
    m_dataArray.remove(size_t(row));
    m_tableView->deleteRows({{0, row}}, ui::RowAnimation::Automatic);
    m_tableView->reloadData();
}

base::Opt<void> CMAlarmView::addStockAlarmAction(const std::string &code) {
    showResultsList(false);
    if (auto d = delegate.lock())
        d->addStockAlarmAction(code, true, 0, base::Value());
    return {};
}
