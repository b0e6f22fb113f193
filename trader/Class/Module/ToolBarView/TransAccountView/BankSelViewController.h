#pragma once

#include "Class/Module/CommonControls/RowPickerController/RowPickerController.h"

// Hears each row the user settles on in the bank or currency picker. Optional.
class BankSelViewControllerDelegate {
public:
    virtual ~BankSelViewControllerDelegate() = default;
    virtual base::Opt<void> ReturnSelectedValueDict(const base::Dict &row) {
        (void)row;
        return base::notImplemented;
    }
};

// The wheel of banks or currencies that the transfer forms and the history open in a popover next
// to their bank and currency buttons: bank rows read "name(currency)", currency entries their
// "KeyName". Every settled row goes to the delegate. The delegate is not retained; an owner that
// ends clears it, so a picker still on screen reports to nobody. It turns only to portrait.
class BankSelViewController : public RowPickerController {
public:
    enum SelectType : int { kUnset = -1, kBanks = 1, kCurrencies = 2 };

    bool shouldAutorotateTo(ui::Orientation orientation) override;
    void setSelectType(int type) { m_selectType = type; }
    int selectType() const { return m_selectType; }
    std::string rowTitle(int row) const override;

    base::Weak<BankSelViewControllerDelegate> delegate;

protected:
    void picked(const base::Dict &row, int index) override;

private:
    int m_selectType = kUnset;
};
