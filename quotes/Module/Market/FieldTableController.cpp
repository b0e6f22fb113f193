#include "Module/Market/FieldTableController.h"

#include "gfx/Font.h"

struct FieldTableController::Rows : ui::TableDataSource, ui::TableDelegate {
    base::Weak<FieldTableController> list;

    int numberOfRows(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? int(l->m_fieldArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        base::Ref<ui::TableCell> cell = table.dequeueReusableCell(CellIdentifier);
        if (!cell)
            cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, CellIdentifier);
        cell->textLabel()->setFont(gfx::Font::system(15));
        if (auto l = list.lock())
            cell->textLabel()->setText(l->m_fieldArray.at(size_t(path.row))["MENU_NAME"].stringValue());
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return RowHeight; }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        auto l = list.lock();
        if (!l || path.row >= int(l->m_fieldArray.size()))
            return {};
        base::Value row = l->m_fieldArray.at(size_t(path.row));
        if (auto d = l->delegate.lock())
            d->SelectedFieldName(row["MENU_NAME"].stringValue(), int(row["CLASS_ID"].intValue()));
        return {};
    }
};

void FieldTableController::setUp() {
    ui::ViewController::setUp();
    m_rows = base::make<Rows>();
    m_rows->list = self<FieldTableController>();
    setContentSizeInPopover(ContentSize);
}

void FieldTableController::viewDidLoad() {
    m_fieldTable = base::make<ui::TableView>(gfx::Rect{0, 0, ContentSize.w, ContentSize.h});
    m_fieldTable->rowHeight = RowHeight;
    m_fieldTable->dataSource = m_rows;
    m_fieldTable->delegate = m_rows;
    view().addSubview(m_fieldTable);
}

void FieldTableController::SetFieldArray(const base::Array &rows) {
    m_fieldArray = rows.copy();
    if (m_fieldTable)
        m_fieldTable->reloadData();
}
