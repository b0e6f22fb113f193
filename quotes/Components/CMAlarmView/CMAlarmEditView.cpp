#include "Components/CMAlarmView/CMAlarmEditView.h"

#include "Components/CMAlarmView/CMAlarmMainPanelCell.h"

struct CMAlarmEditView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<CMAlarmEditView> form;

    int numberOfSections(ui::TableView &) override { return 2; }
    int numberOfRows(ui::TableView &, int section) override {
        return section == 0 ? 1 : section == 1 ? kRowCount : 0;
    }
    base::Opt<std::string> titleForHeader(ui::TableView &, int section) override {
        return std::string(section == 1 ? kConditionsTitle : "");
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath path) override {
        return path.section == 0 ? CMAlarmMainPanelCell::kRowHeight : rowHeight;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto f = form.lock();
        const float width = table.bounds().width();
        if (path.section == 0) {
            auto panel = std::dynamic_pointer_cast<CMAlarmMainPanelCell>(
                table.dequeueReusableCell(CMAlarmMainPanelCell::kIdentifier));
            if (!panel)
                panel = base::make<CMAlarmMainPanelCell>(
                    gfx::Rect{0, 0, width, CMAlarmMainPanelCell::kRowHeight});
            if (f && !f->m_quoteDict.isNull())
                panel->setPanelValue(f->m_quoteDict);
            return panel;
        }
        auto cell =
            std::dynamic_pointer_cast<CMInputCell>(table.dequeueReusableCell(CMInputCell::kIdentifier));
        if (!cell)
            cell = base::make<CMInputCell>(gfx::Rect{0, 0, width, rowHeight});
        if (!f)
            return cell;
        const Row &row = kRows[path.row];
        cell->delegate = f;
        cell->indexPath = path;
        cell->setInputCellType(path.row == kLimitRow ? CMInputCell::SwitchKind : CMInputCell::TextKind);
        cell->setIsShowTag(path.row >= 2 && path.row <= 4);
        cell->setInputCellTitle(row.title, row.placeholder);
        base::Value value = f->m_valueDict.get(row.key);
        if (path.row == kLimitRow)
            cell->setSelInputState(value.stringValue() != CMInputCell::kPermanentTitle, false);
        else
            cell->setInputCellValue(value.stringValue());
        return cell;
    }
};

CMAlarmEditView::CMAlarmEditView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::white());
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, 0, frame.width(), frame.height()},
                                            ui::TableView::Style::Grouped);
    m_tableView->rowHeight = rowHeight;
    addSubview(m_tableView);
}

void CMAlarmEditView::setUp() {
    ui::View::setUp();
    m_table = base::make<Table>();
    m_table->form = weakSelf<CMAlarmEditView>();
    m_tableView->dataSource = m_table;
    m_tableView->delegate = m_table;
}

const char *CMAlarmEditView::keyOf(ui::IndexPath path) {
    return path.section == 1 && path.row >= 0 && path.row < kRowCount ? kRows[path.row].key : nullptr;
}

void CMAlarmEditView::setAlarmValueDict(const base::Value &alarm) {
    m_valueDict = base::Dict();
    for (const char *key : {"STOCKNAME", "STOCKCODE"})
        if (base::Value value = m_quoteDict[key]; !value.isNull())
            m_valueDict.set(key, value);
    if (const base::Dict *entries = alarm.dict())
        for (const auto &[key, value] : *entries)
            m_valueDict.set(key, value);
    m_tableView->reloadData();
}

void CMAlarmEditView::setStockQuote(const base::Value &quote) {
    m_quoteDict = quote;
    for (const char *key : {"STOCKNAME", "STOCKCODE"})
        if (base::Value value = quote[key]; !value.isNull())
            m_valueDict.set(key, value);
    m_tableView->reloadData();
}

void CMAlarmEditView::setDefaultStockCode(const std::string &code) {
    if (m_valueDict.get("STOCKCODE").stringValue().empty())
        m_valueDict.set("STOCKCODE", code);
}

base::Dict CMAlarmEditView::getAlarmValueDict() {
    if (m_lastIndexPath) {
        const char *key = keyOf(*m_lastIndexPath);
        auto cell = std::dynamic_pointer_cast<CMInputCell>(m_tableView->cellForRow(*m_lastIndexPath));
        if (key && cell && cell->indexPath == *m_lastIndexPath && cell->valueField())
            m_valueDict.set(key, cell->getInputFiledText());
    }
    return m_valueDict;
}

base::Opt<void> CMAlarmEditView::beginTextInputAtIndex(ui::IndexPath path) {
    m_lastIndexPath = path;
    return {};
}

base::Opt<void> CMAlarmEditView::didTextInputAtIndex(ui::IndexPath path, const std::string &text) {
    if (const char *key = keyOf(path))
        m_valueDict.set(key, text);
    return {};
}

base::Opt<void> CMAlarmEditView::didSelInputAtIndex(ui::IndexPath path, bool on) {
    if (const char *key = keyOf(path))
        m_valueDict.set(key, on ? CMInputCell::kOnceTitle : CMInputCell::kPermanentTitle);
    return {};
}
