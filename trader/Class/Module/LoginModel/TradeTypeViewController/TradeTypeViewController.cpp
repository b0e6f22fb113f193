#include "Class/Module/LoginModel/TradeTypeViewController/TradeTypeViewController.h"

#include "Class/Module/LoginModel/LoginView/LoginView.h"
#include "Components/CMWaitingAlertView.h"
#include "DataBase/WT/TradeInterface.h"

#include <cstdlib>

TradeTypeViewController::TradeTypeViewController() : RowPickerController(kColumnWidth, kRowHeight) {}

void TradeTypeViewController::loadView() {
    RowPickerController::loadView();
    m_waitingAlert = base::make<CMWaitingAlertView>(view().bounds());
}

std::string TradeTypeViewController::rowTitle(int row) const {
    const base::Dict *entry = rowAt(row);
    base::Value type = entry ? entry->get("1021") : base::Value();
    return type.isNull() ? std::string() : TradeInterface::getAccountTypeName(int(type.intValue()));
}

void TradeTypeViewController::UpdateAccountTypeArray(const base::Array &types) {
    StopWaitingAlert();
    view();
    SetDataArray(types, -1);
}

void TradeTypeViewController::picked(const base::Dict &row, int) {
    auto form = m_parentLoginHdl.lock();
    if (!form)
        return;
    form->setAccountType(row.get("1021").stringValue());
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
