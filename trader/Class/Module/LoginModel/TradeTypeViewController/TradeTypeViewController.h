#pragma once

#include "Class/Module/CommonControls/RowPickerController/RowPickerController.h"

class CMWaitingAlertView;
class LoginView;

// The account-type picker the login form opens in a popover: one column of the broker's account
// types by name, under a waiting indicator while the gateway's list is on its way. A choice goes
// straight into the form, whose button and account field follow.
class TradeTypeViewController : public RowPickerController {
public:
    static constexpr float kColumnWidth = 300, kRowHeight = 34;

    TradeTypeViewController();
    void loadView() override;

    void setParentLoginHdl(base::Weak<LoginView> form) { m_parentLoginHdl = std::move(form); }
    void SetAccountTypeArray(const base::Array &types) { SetDataArray(types, -1); }
    void UpdateAccountTypeArray(const base::Array &types);
    void StartWaitingAlert();
    void StopWaitingAlert();
    bool isWaiting() const;

    // A row's text: the name of its "1021" type, nothing without one.
    std::string rowTitle(int row) const override;

protected:
    void picked(const base::Dict &row, int index) override;

private:
    base::Ref<CMWaitingAlertView> m_waitingAlert;
    base::Weak<LoginView> m_parentLoginHdl;
};
