#include "Class/Module/ToolBarView/TransAccountView/BankSelViewController.h"

#include "Class/Module/ToolBarView/TransAccountView/TransferRules.h"

struct BankSelViewController::Wheel : ui::PickerDataSource, ui::PickerDelegate {
    base::Weak<BankSelViewController> picker;

    int numberOfComponents(ui::PickerView &) override { return 1; }
    int numberOfRows(ui::PickerView &, int) override {
        auto p = picker.lock();
        return p ? int(p->m_dataArray.size()) : 0;
    }
    base::Opt<float> rowHeight(ui::PickerView &, int) override { return kRowHeight; }
    base::Opt<float> width(ui::PickerView &, int) override { return kColumnWidth; }
    base::Opt<std::string> title(ui::PickerView &, int row, int) override {
        auto p = picker.lock();
        return p ? p->rowTitle(row) : std::string();
    }
    base::Opt<void> didSelect(ui::PickerView &, int row, int) override {
        if (auto p = picker.lock())
            p->didSelect(row);
        return {};
    }
};

BankSelViewController::BankSelViewController() {
    setContentSizeInPopover(kContentSize);
}

void BankSelViewController::setUp() {
    ui::ViewController::setUp();
    m_wheel = base::make<Wheel>();
    m_wheel->picker = weakSelf<BankSelViewController>();
}

void BankSelViewController::loadView() {
    auto root = base::make<ui::View>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    m_pickerView = base::make<ui::PickerView>(root->bounds());
    m_pickerView->setShowsSelectionIndicator(true);
    m_pickerView->dataSource = m_wheel;
    m_pickerView->delegate = m_wheel;
    root->addSubview(m_pickerView);
    setView(root);
    if (m_selectedIndex >= 0 && size_t(m_selectedIndex) < m_dataArray.size())
        m_pickerView->selectRow(m_selectedIndex, 0, false);
}

bool BankSelViewController::shouldAutorotateTo(ui::Orientation orientation) {
    return orientation == ui::Orientation::Portrait;
}

ui::PickerView &BankSelViewController::pickerView() {
    view();
    return *m_pickerView;
}

void BankSelViewController::SetDataArray(const base::Array &rows, int index) {
    m_dataArray = rows;
    m_selectedIndex = index;
    if (!m_pickerView)
        return;
    m_pickerView->reloadAllComponents();
    if (index >= 0 && size_t(index) < rows.size())
        m_pickerView->selectRow(index, 0, false);
}

std::string BankSelViewController::rowTitle(int row) const {
    if (row < 0 || size_t(row) >= m_dataArray.size())
        return {};
    const base::Dict *entry = m_dataArray[size_t(row)].dict();
    if (!entry)
        return {};
    switch (m_selectType) {
    case kBanks:
        return transfer::bankTitle(*entry);
    case kCurrencies:
        return entry->get("KeyName").stringValue();
    default:
        return {};
    }
}

void BankSelViewController::didSelect(int row) {
    if (row < 0 || size_t(row) >= m_dataArray.size())
        return;
    base::Value picked = m_dataArray[size_t(row)];
    if (auto d = delegate.lock(); d && picked.dict())
        d->ReturnSelectedValueDict(*picked.dict());
}
