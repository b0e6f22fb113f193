#include "Class/Module/LoginModel/TradeTypeViewController/TradeTypeViewController.h"

#include "Class/Module/LoginModel/LoginView/LoginView.h"
#include "Components/CMWaitingAlertView.h"
#include "DataBase/WT/TradeInterface.h"

#include <cstdlib>

namespace {

constexpr gfx::Size kContentSize{320, 220};

} // namespace

struct TradeTypeViewController::Wheel : ui::PickerDataSource, ui::PickerDelegate {
    base::Weak<TradeTypeViewController> picker;

    int numberOfComponents(ui::PickerView &) override { return column; }
    int numberOfRows(ui::PickerView &, int) override {
        auto p = picker.lock();
        return p ? int(p->m_tradeTypeArray.size()) : 0;
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

TradeTypeViewController::TradeTypeViewController() {
    setContentSizeInPopover(kContentSize);
}

void TradeTypeViewController::setUp() {
    ui::ViewController::setUp();
    m_wheel = base::make<Wheel>();
    m_wheel->picker = weakSelf<TradeTypeViewController>();
}

void TradeTypeViewController::loadView() {
    auto root = base::make<ui::View>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    m_pickerView = base::make<ui::PickerView>(root->bounds());
    m_pickerView->setShowsSelectionIndicator(true);
    m_pickerView->dataSource = m_wheel;
    m_pickerView->delegate = m_wheel;
    root->addSubview(m_pickerView);
    m_waitingAlert = base::make<CMWaitingAlertView>(root->bounds());
    setView(root);
}

std::string TradeTypeViewController::rowTitle(int row) const {
    if (row < 0 || size_t(row) >= m_tradeTypeArray.size())
        return {};
    base::Value type = m_tradeTypeArray[size_t(row)]["1021"];
    return type.isNull() ? std::string() : TradeInterface::getAccountTypeName(int(type.intValue()));
}

void TradeTypeViewController::UpdateAccountTypeArray(const base::Array &types) {
    StopWaitingAlert();
    m_tradeTypeArray = types;
    view();
    m_pickerView->reloadAllComponents();
}

void TradeTypeViewController::didSelect(int row) {
    auto form = m_parentLoginHdl.lock();
    if (!form || row < 0 || size_t(row) >= m_tradeTypeArray.size())
        return;
    form->setAccountType(m_tradeTypeArray[size_t(row)]["1021"].stringValue());
    form->SetAccountTypeBtnName(TradeInterface::getAccountTypeName(std::atoi(form->accountType().c_str())));
}

void TradeTypeViewController::StartWaitingAlert() {
    view().addSubview(m_waitingAlert);
    m_waitingAlert->StartAlert();
}

void TradeTypeViewController::StopWaitingAlert() {
    if (!m_waitingAlert)
        return;
    m_waitingAlert->StopWaitingAlert();
    m_waitingAlert->removeFromSuperview();
}

bool TradeTypeViewController::isWaiting() const {
    return m_waitingAlert && m_waitingAlert->superview();
}
