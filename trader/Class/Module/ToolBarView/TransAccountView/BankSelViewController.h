#pragma once

#include "base/Value.h"
#include "ui/PickerView.h"
#include "ui/ViewController.h"

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
// to their bank and currency buttons. Bank rows read "name(currency)", currency entries their
// "KeyName". There is no confirm button: every row the wheel comes to rest on goes to the delegate
// at once, and the popover stays until a tap outside it. The delegate is not retained; an owner
// that ends clears it, so a picker still on screen reports to nobody.
class BankSelViewController : public ui::ViewController {
public:
    enum SelectType : int { kUnset = -1, kBanks = 1, kCurrencies = 2 };
    static constexpr gfx::Size kContentSize{320, 220};
    static constexpr float kColumnWidth = 320, kRowHeight = 44;

    BankSelViewController();
    void setUp() override;
    void loadView() override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;

    void setSelectType(int type) { m_selectType = type; }
    int selectType() const { return m_selectType; }
    // The rows and the one to show selected (−1: none); a built wheel reloads and selects it.
    void SetDataArray(const base::Array &rows, int index);
    std::string rowTitle(int row) const;
    void didSelect(int row);

    ui::PickerView &pickerView();
    int selectedIndex() const { return m_selectedIndex; }
    const base::Array &dataArray() const { return m_dataArray; }

    base::Weak<BankSelViewControllerDelegate> delegate;

private:
    struct Wheel;
    base::Ref<ui::PickerView> m_pickerView;
    base::Ref<Wheel> m_wheel;
    base::Array m_dataArray;
    int m_selectedIndex = -1;
    int m_selectType = kUnset;
};
