#include "Class/Module/LoginModel/DepListViewController/DepListViewController.h"

#include "Class/Module/LoginModel/LoginView/LoginView.h"
#include "Components/CMWaitingAlertView.h"

namespace {

constexpr gfx::Size kContentSize{320, 220};

} // namespace

struct DepListViewController::Wheels : ui::PickerDataSource, ui::PickerDelegate {
    base::Weak<DepListViewController> picker;

    int numberOfComponents(ui::PickerView &) override { return column; }
    int numberOfRows(ui::PickerView &, int component) override {
        auto p = picker.lock();
        if (!p)
            return 0;
        return int(component == 0 ? p->m_areaArray.size() : p->m_depArray.size());
    }
    base::Opt<float> rowHeight(ui::PickerView &, int) override { return kRowHeight; }
    base::Opt<float> width(ui::PickerView &, int) override { return kColumnWidth; }
    base::Opt<std::string> title(ui::PickerView &, int row, int component) override {
        auto p = picker.lock();
        if (!p)
            return std::string();
        return component == 0 ? p->m_areaArray[size_t(row)]["1296"].stringValue()
                              : p->m_depArray[size_t(row)]["1006"].stringValue();
    }
    base::Opt<void> didSelect(ui::PickerView &, int row, int component) override {
        if (auto p = picker.lock())
            p->didSelect(row, component);
        return {};
    }
};

DepListViewController::DepListViewController() {
    setContentSizeInPopover(kContentSize);
}

void DepListViewController::setUp() {
    ui::ViewController::setUp();
    m_wheels = base::make<Wheels>();
    m_wheels->picker = weakSelf<DepListViewController>();
}

void DepListViewController::loadView() {
    auto root = base::make<ui::View>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    m_pickerView = base::make<ui::PickerView>(root->bounds());
    m_pickerView->setShowsSelectionIndicator(true);
    m_pickerView->dataSource = m_wheels;
    m_pickerView->delegate = m_wheels;
    root->addSubview(m_pickerView);
    m_waitingAlert = base::make<CMWaitingAlertView>(root->bounds());
    setView(root);
}

void DepListViewController::SetDepArray(const base::Array *deps) {
    m_depArray = deps ? deps->deepCopy() : base::Array();
}

void DepListViewController::UpdateAreaArray(const base::Array &areas, int areaIndex) {
    m_areaArray = areas;
    view();
    m_pickerView->reloadComponent(0);
    if (areaIndex >= 0)
        m_pickerView->selectRow(areaIndex, 0, false);
}

void DepListViewController::UpdateDepArray(const base::Array &deps, const std::string &currentDepCode,
                                           int areaIndex) {
    StopWaitingAlert();
    view();
    if (areaIndex != m_pickerView->selectedRow(0))
        return;
    SetDepArray(&deps);
    m_pickerView->reloadComponent(1);
    if (currentDepCode.empty()) {
        chooseDep(0);
        return;
    }
    for (size_t i = 0; i < m_depArray.size(); ++i)
        if (m_depArray[i]["1005"].stringValue() == currentDepCode) {
            m_pickerView->selectRow(int(i), 1, false);
            return;
        }
}

void DepListViewController::didSelect(int row, int component) {
    if (component == 1) {
        chooseDep(row);
        return;
    }
    auto form = m_parentLoginHdl.lock();
    if (!form || row < 0 || size_t(row) >= m_areaArray.size())
        return;
    base::Value &area = m_areaArray[size_t(row)];
    std::string name = area["1296"].stringValue();
    form->setAreaName(name);
    if (name == m_selectedAreaName)
        return;
    m_selectedAreaName = name;
    if (area["HasReq"].boolValue()) {
        base::Value deps = area["DepArray"];
        SetDepArray(deps.array());
    } else {
        SetDepArray(nullptr);
        form->reqAccountDep(row);
        StartWaitingAlert();
    }
    m_pickerView->reloadComponent(1);
    chooseDep(0);
}

void DepListViewController::chooseDep(int row) {
    bool exists = row >= 0 && size_t(row) < m_depArray.size();
    m_selectedDepName = exists ? m_depArray[size_t(row)]["1006"].stringValue() : std::string();
    m_selectedDepCode = exists ? m_depArray[size_t(row)]["1005"].stringValue() : std::string();
    if (auto form = m_parentLoginHdl.lock()) {
        form->setDepartmentName(m_selectedDepName);
        form->setDepartmentCode(m_selectedDepCode);
        form->SetAreaDepartmentBtnName(m_selectedAreaName, m_selectedDepName);
    }
}

void DepListViewController::StartWaitingAlert() {
    view().addSubview(m_waitingAlert);
    m_waitingAlert->StartAlert();
}

void DepListViewController::StopWaitingAlert() {
    if (!m_waitingAlert)
        return;
    m_waitingAlert->StopWaitingAlert();
    m_waitingAlert->removeFromSuperview();
}

bool DepListViewController::isWaiting() const {
    return m_waitingAlert && m_waitingAlert->superview();
}
