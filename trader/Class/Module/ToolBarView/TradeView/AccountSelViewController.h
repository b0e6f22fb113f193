#pragma once

#include "base/Value.h"
#include "ui/PickerView.h"
#include "ui/ViewController.h"

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
class AccountSelViewController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{320, 220};
    static constexpr float kColumnWidth = 320, kRowHeight = 44;

    AccountSelViewController();
    void setUp() override;
    void loadView() override;

    // The rows and the selected one; the picker, once built, reloads and selects it.
    void SetDataArray(const base::Array &rows, int index);
    void didSelect(int row);
    std::string rowTitle(int row) const;

    ui::PickerView &pickerView() { return *m_pickerView; }
    int selectedIndex() const { return m_selectedIndex; }

    base::Weak<AccountSelViewControllerDelegate> delegate;

private:
    struct Wheel;
    base::Ref<ui::PickerView> m_pickerView;
    base::Ref<Wheel> m_wheel;
    base::Array m_dataArray;
    int m_selectedIndex = 0;
};
