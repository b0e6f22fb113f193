#pragma once

#include "Class/Module/ToolBarView/TransAccountView/BankSelViewController.h"
#include "DataBase/TradeQuery/TradeTransferData.h"

#include "ui/Button.h"
#include "ui/Popover.h"
#include "ui/View.h"

#include <cstdint>
#include <string>

class TradeBaseView;

// What the four tab views of the bank-transfer panel share: the panel they run its waiting
// indicator on, the panel's data object whose delegate the shown view is, the chosen bank code and
// currency, and the bank and currency picker they open next to their buttons.
//
// A tab view ends when the panel switches tabs or closes (a lock time-out closes it at any moment):
// it then closes its picker and clears the picker's delegate, lets go of the data object's
// delegate and drops any call it still had pending, so that nothing it started reaches it later.
class TransferTabView : public ui::View,
                        public TradeTransferDataDelegate,
                        public BankSelViewControllerDelegate {
public:
    enum PickerType : int16_t { kNoPicker = -1, kBankPicker = 0, kCurrencyPicker = 1 };
    static constexpr const char *kNoBankTitle = "没有转帐银行";

    explicit TransferTabView(gfx::Rect frame) : ui::View(frame) {}
    ~TransferTabView() override;

    void setParentTarget(base::Weak<TradeBaseView> panel) { m_parentTarget = std::move(panel); }
    // Takes the panel's data object (not owned), becomes its delegate and asks for what it lacks.
    virtual void SetTransferData(const base::Ref<TradeTransferData> &data) = 0;
    // The panel lets the view go: see above.
    virtual void closeTab();

    base::Opt<void> StartWaitingAlert() override;
    base::Opt<void> StopWaitingAlert() override;

    const std::string &selectedBankCode() const { return m_selectedBankCode; }
    void setSelectedBankCode(const std::string &code) { m_selectedBankCode = code; }
    int selectedCurrency() const { return m_selectedCurrency; }
    void setSelectedCurrency(int currency) { m_selectedCurrency = currency; }
    int16_t btnType() const { return m_btnType; }
    const base::Ref<ui::Popover> &popoverController() const { return m_popoverController; }
    const base::Ref<BankSelViewController> &picker() const { return m_picker; }

protected:
    base::Ref<TradeTransferData> transferData() const { return m_transferData.lock(); }
    void attach(const base::Ref<TradeTransferData> &data);
    // Opens the bank picker over `banks` (an alert instead when there are none) or the currency
    // picker over the data object's currencies, next to `sender`.
    void openBankPicker(ui::Button &sender, const base::Array &banks);
    void openCurrencyPicker(ui::Button &sender);
    // A button in the forms' and history's look: white title on the grey image.
    static base::Ref<ui::Button> pickerButton(gfx::Rect frame, const char *title);

    std::string m_selectedBankCode;
    int m_selectedCurrency = 0;

private:
    void present(ui::Button &sender, const char *title, int type, const base::Array &rows, int index);
    void dropPicker();

    base::Weak<TradeBaseView> m_parentTarget;
    base::Weak<TradeTransferData> m_transferData;
    base::Ref<ui::Popover> m_popoverController;
    base::Ref<BankSelViewController> m_picker;
    int16_t m_btnType = kNoPicker;
};
