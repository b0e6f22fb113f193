#pragma once

#include "Class/Module/CommonControls/RowPickerController/RowPickerController.h"

// Hears the shareholder account the user picked. Optional.
class AccountSelViewControllerDelegate {
public:
    virtual ~AccountSelViewControllerDelegate() = default;
    virtual base::Opt<void> ReturnSelectedValueDict(const base::Dict &row, int index) {
        (void)row, (void)index;
        return base::notImplemented;
    }
};

// The shareholder-account picker the order panel opens in a popover: one column of the login's
// accounts by shareholder code ("1019"), the current one selected. A pick goes to the delegate at
// once; the popover stays open.
class AccountSelViewController : public RowPickerController {
public:
    std::string rowTitle(int row) const override;

    base::Weak<AccountSelViewControllerDelegate> delegate;

protected:
    void picked(const base::Dict &row, int index) override;
};
