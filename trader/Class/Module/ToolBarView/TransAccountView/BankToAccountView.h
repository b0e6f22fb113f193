#pragma once

#include "Class/Module/ToolBarView/TransAccountView/TransferRules.h"
#include "Class/Module/ToolBarView/TransAccountView/TransferTabView.h"

#include "base/Timer.h"
#include "ui/Label.h"
#include "ui/TextField.h"
#include "ui/TextView.h"

#include <cstdint>
#include <functional>

// The transfer form of the bank-transfer panel, in three variants: bank to securities (this
// class), securities to bank (AccountToBankView, which also shows the funds that may leave the
// account) and the bank balance query (BankBalanceView). The user picks a bank of the trade
// session's list and a currency, types the passwords the bank's rule for the operation asks for
// (a field the rule does not offer is disabled and empty) and, on the transfer forms, an amount of
// at most two decimals. The entries are checked in a fixed order, the first refusal is shown and
// nothing is sent; a transfer goes out at once, without a confirmation, and its outcome is shown
// whichever form is open when it arrives. Both password fields are emptied after every transfer
// and balance report, and a password the rule does not ask for is sent empty.
//
// The bank list is asked for only when the trade session has none; the funds only when the data
// object has had no answer since its last request, and again 1.5 s after a securities-to-bank
// transfer report (dropped when the form ends first).
class BankToAccountView : public TransferTabView {
public:
    enum Variant : uint8_t { kToSecurities, kToBank, kBalance };
    enum FieldTag : int { kBankPwdTag = 1, kAccountPwdTag = 2, kTransCashTag = 3 };
    static constexpr double kMoneyDelay = 1.5;
    static constexpr const char *kNotNeeded = "无需输入";

    explicit BankToAccountView(gfx::Rect frame) : BankToAccountView(frame, kToSecurities) {}
    ~BankToAccountView() override;
    void setUp() override;

    void SetTransferData(const base::Ref<TradeTransferData> &data) override;
    void closeTab() override;

    // The controls' actions.
    void changeBankAction();
    void changeCurrAction();
    void confirmAction();
    void remainAction();

    base::Opt<void> ReturnSelectedValueDict(const base::Dict &row) override;
    base::Opt<void> UpdateBankArray(const base::Array &banks, bool errRsp,
                                    const std::string &errMsg) override;
    base::Opt<void> UpdateMoneyArray(const std::optional<base::Array> &funds, bool errRsp,
                                     const std::string &errMsg) override;
    base::Opt<void> UpdateBankBalance(const std::optional<std::string> &balance, bool errRsp,
                                      const std::string &errMsg) override;
    base::Opt<void> UpdateTransfer(bool errRsp, const std::string &errMsg) override;

    Variant variant() const { return m_variant; }
    bool isBankToAccount() const { return m_variant != kToBank; }
    // The rule the form's fields and prompt follow: the direction's, or the balance query's.
    int formRule() const;
    int pswTypeOfBankToAccount() const { return m_pswTypeOfBankToAccount; }
    int pswTypeOfAccountToBank() const { return m_pswTypeOfAccountToBank; }
    int pswTypeOfQueryBankBalance() const { return m_pswTypeOfQueryBankBalance; }
    bool isQueryingMoney() const { return m_isQueryingMoney; }
    bool isQueryingBank() const { return m_isQueryingBank; }
    bool isMoneyRequestPending() const { return m_moneyTimer != nullptr; }
    const std::optional<base::Array> &bankArray() const { return m_bankArray; }

    ui::Button &bankBtn() { return *m_bankBtn; }
    ui::Button &currencyBtn() { return *m_currencyBtn; }
    ui::TextField &bankPwdField() { return *m_bankPwdField; }
    ui::TextField &accountPwdField() { return *m_accountPwdField; }
    ui::TextField &transCashField() { return *m_transCashField; }
    // Present on the securities-to-bank form only.
    ui::Label *accountCashLabel() { return m_accountCashLabel.get(); }
    ui::TextView &promptText() { return *m_promptText; }
    ui::Button &confirmBtn() { return *m_confirmBtn; }
    ui::Button &remainBtn() { return *m_remainBtn; }

protected:
    BankToAccountView(gfx::Rect frame, Variant variant) : TransferTabView(frame), m_variant(variant) {}

private:
    void initUI(gfx::Rect frame);
    void reqDataOnInit();
    void delayReqMoneyList();
    void SetAccountCashLabel();
    void SetCurrencyInfo(const base::Value *value);
    void SetBankRelInfo(const base::Dict &bank);
    void showNoBank();
    void applyRule();
    void clearEntries();
    void stopWaitingWhenIdle();
    transfer::Entry entry(int rule) const;
    bool
    send(const transfer::Entry &entry, const std::optional<std::string> &refusal,
         const std::function<void(TradeTransferData &, const std::string &, const std::string &)> &request);
    base::Ref<ui::TextField> entryRow(float y, const char *caption, int tag, bool secure);
    void wire(ui::Button &button, const char *name, void (BankToAccountView::*action)());

    Variant m_variant;
    base::Ref<ui::Button> m_bankBtn, m_currencyBtn, m_confirmBtn, m_remainBtn;
    base::Ref<ui::TextField> m_bankPwdField, m_accountPwdField, m_transCashField;
    base::Ref<ui::Label> m_accountCashLabel;
    std::vector<base::Ref<ui::Label>> m_captions;
    base::Ref<ui::TextView> m_promptText;
    std::optional<base::Array> m_bankArray;
    bool m_isQueryingMoney = false;
    bool m_isQueryingBank = false;
    int m_pswTypeOfBankToAccount = transfer::kDefaultToSecurities;
    int m_pswTypeOfAccountToBank = transfer::kDefaultToBank;
    int m_pswTypeOfQueryBankBalance = transfer::kDefaultBalance;
    base::Ref<base::Timer> m_moneyTimer;
};

// Securities to bank: the form with the transferable-funds line.
class AccountToBankView : public BankToAccountView {
public:
    explicit AccountToBankView(gfx::Rect frame) : BankToAccountView(frame, kToBank) {}
};

// The bank balance query: the amount and the transfer button hidden, the query button shown.
class BankBalanceView : public BankToAccountView {
public:
    explicit BankBalanceView(gfx::Rect frame) : BankToAccountView(frame, kBalance) {}
};
