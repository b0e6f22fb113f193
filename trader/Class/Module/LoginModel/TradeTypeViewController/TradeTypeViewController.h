#pragma once

#include "base/Value.h"
#include "ui/PickerView.h"
#include "ui/ViewController.h"

class CMWaitingAlertView;
class LoginView;

// The account-type picker the login form opens in a popover: one column of the broker's account
// types by name. A choice goes straight into the form, whose button and account field follow.
class TradeTypeViewController : public ui::ViewController {
public:
    static constexpr int column = 1;
    static constexpr float kColumnWidth = 300, kRowHeight = 34;

    TradeTypeViewController();
    void setUp() override;
    void loadView() override;

    void setParentLoginHdl(base::Weak<LoginView> form) { m_parentLoginHdl = std::move(form); }
    void SetAccountTypeArray(const base::Array &types) { m_tradeTypeArray = types; }
    void UpdateAccountTypeArray(const base::Array &types);
    void StartWaitingAlert();
    void StopWaitingAlert();
    bool isWaiting() const;

    void didSelect(int row);
    // A row's text: the name of its "1021" type, nothing without one.
    std::string rowTitle(int row) const;

    ui::PickerView &pickerView() { return *m_pickerView; }

private:
    struct Wheel;

    base::Ref<ui::PickerView> m_pickerView;
    base::Ref<Wheel> m_wheel;
    base::Array m_tradeTypeArray;
    base::Ref<CMWaitingAlertView> m_waitingAlert;
    base::Weak<LoginView> m_parentLoginHdl;
};
