#include "Class/Module/CommonControls/RowPickerController/RowPickerController.h"

struct RowPickerController::Wheel : ui::PickerDataSource, ui::PickerDelegate {
    base::Weak<RowPickerController> picker;

    int numberOfComponents(ui::PickerView &) override { return 1; }
    int numberOfRows(ui::PickerView &, int) override {
        auto p = picker.lock();
        return p ? int(p->m_dataArray.size()) : 0;
    }
    base::Opt<float> rowHeight(ui::PickerView &, int) override {
        auto p = picker.lock();
        return p ? p->m_rowHeight : 0;
    }
    base::Opt<float> width(ui::PickerView &, int) override {
        auto p = picker.lock();
        return p ? p->m_columnWidth : 0;
    }
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

RowPickerController::RowPickerController(float columnWidth, float rowHeight)
    : m_columnWidth(columnWidth), m_rowHeight(rowHeight) {
    setContentSizeInPopover(kContentSize);
}

void RowPickerController::setUp() {
    ui::ViewController::setUp();
    m_wheel = base::make<Wheel>();
    m_wheel->picker = weakSelf<RowPickerController>();
}

void RowPickerController::loadView() {
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

ui::PickerView &RowPickerController::pickerView() {
    view();
    return *m_pickerView;
}

void RowPickerController::SetDataArray(const base::Array &rows, int index) {
    m_dataArray = rows;
    m_selectedIndex = index;
    if (!m_pickerView)
        return;
    m_pickerView->reloadAllComponents();
    if (index >= 0 && size_t(index) < rows.size())
        m_pickerView->selectRow(index, 0, false);
}

const base::Dict *RowPickerController::rowAt(int row) const {
    if (row < 0 || size_t(row) >= m_dataArray.size())
        return nullptr;
    return m_dataArray[size_t(row)].dict();
}

void RowPickerController::didSelect(int row) {
    const base::Dict *entry = rowAt(row);
    if (!entry)
        return;
    m_selectedIndex = row;
    base::Dict picked = *entry;
    this->picked(picked, row);
}
