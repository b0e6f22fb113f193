#include "Class/Module/ToolBarView/TransAccountView/BankToAccountView.h"

#include "Common/Util.h"
#include "Common/UtilUI.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "DataBase/WT/TradeInterface.h"

#include "gfx/Font.h"

namespace {

constexpr float kRowHeight = 28, kCaptionWidth = 70, kFieldX = 80, kButtonHeight = 43;
constexpr float kFontSize = 16;
constexpr float kPromptHeight = 130;

// The y of each control, by variant (to securities, to the bank, balance); a negative y: not on
// that form.
struct Layout {
    float fundsLine, amount, bankPassword, fundPassword, transferButton, balanceButton, prompt;
};
constexpr Layout kLayouts[] = {
    {-1, 96, 129, 162, 198, 247.5f, 247.5f},
    {96, 129, 162, 195, 231, -1, 264},
    {-1, 96, 96, 129, 198, 165, 214.5f},
};

constexpr const char *kPrompts[] = {"提示信息:\n银行转证券时，", "提示信息:\n证券转银行时，",
                                    "提示信息:\n查询银行余额时，"};

std::string fieldText(const ui::TextField &field) {
    return field.isEnabled() ? field.text() : std::string();
}

} // namespace

BankToAccountView::~BankToAccountView() {
    if (m_moneyTimer)
        m_moneyTimer->invalidate();
}

void BankToAccountView::setUp() {
    TransferTabView::setUp();
    initUI(frame());
}

void BankToAccountView::wire(ui::Button &button, const char *name, void (BankToAccountView::*action)()) {
    base::Weak<BankToAccountView> weak = weakSelf<BankToAccountView>();
    button.addTarget(base::Action(name,
                                  [weak, action](base::Object *) {
                                      if (auto alive = weak.lock())
                                          ((*alive).*action)();
                                  }),
                     ui::TouchUpInside);
}

base::Ref<ui::TextField> BankToAccountView::entryRow(float y, const char *caption, int tag, bool secure) {
    float w = frame().width();
    auto label = base::make<ui::Label>(gfx::Rect{10, y, kCaptionWidth, kRowHeight});
    label->setBackgroundColor(gfx::Color::clear());
    // Light on the panel's dark backdrop.
    label->setTextColor(gfx::Color::white());
    label->setFont(gfx::Font::system(kFontSize));
    label->setText(caption);
    label->tag = 100 + tag;
    addSubview(label);
    m_captions.push_back(label);
    auto field = base::make<ui::TextField>(gfx::Rect{kFieldX, y, w - 90, kRowHeight});
    field->tag = tag;
    field->setBackground(UtilUI::imageNamed("textField_bg.png"));
    field->setTextColor(gfx::Color::black());
    field->setFont(gfx::Font::system(kFontSize));
    field->setContentVerticalAlignment(ui::TextField::VAlign::Center);
    field->setPlaceholder(caption);
    field->setSecureTextEntry(secure);
    field->autocapitalize = field->autocorrect = false;
    addSubview(field);
    return field;
}

void BankToAccountView::initUI(gfx::Rect frame) {
    float w = frame.width();
    const Layout &at = kLayouts[m_variant];
    setBackgroundColor(gfx::Color::clear());
    m_bankBtn = pickerButton({10, 0, w - 20, kButtonHeight}, "选择银行");
    wire(*m_bankBtn, "changeBankAction", &BankToAccountView::changeBankAction);
    addSubview(m_bankBtn);
    m_currencyBtn = pickerButton({10, 48, w - 20, kButtonHeight}, "人民币");
    wire(*m_currencyBtn, "changeCurrAction", &BankToAccountView::changeCurrAction);
    addSubview(m_currencyBtn);
    if (at.fundsLine >= 0) {
        m_accountCashLabel = base::make<ui::Label>(gfx::Rect{10, at.fundsLine, w - 20, kRowHeight});
        m_accountCashLabel->setBackgroundColor(gfx::Color::clear());
        m_accountCashLabel->setTextColor(gfx::Color::lightGray());
        m_accountCashLabel->setText("账户可转资金:0.00");
        addSubview(m_accountCashLabel);
    }
    m_transCashField = entryRow(at.amount, "转账金额", kTransCashTag, false);
    m_bankPwdField = entryRow(at.bankPassword, "银行密码", kBankPwdTag, true);
    m_accountPwdField = entryRow(at.fundPassword, "资金密码", kAccountPwdTag, true);
    if (m_variant == kBalance) {
        m_transCashField->setHidden(true);
        m_captions.front()->setHidden(true);
    }
    auto whiteButton = [&](float y, const char *title) {
        auto button = ui::Button::custom({10, std::max(y, 0.f), w - 20, kButtonHeight});
        button->setBackgroundImage(UtilUI::imageNamed("btn_white.png"));
        button->setTitleColor(gfx::Color::black());
        button->setTitle(title);
        addSubview(button);
        return button;
    };
    m_confirmBtn = whiteButton(at.transferButton, "转账");
    m_confirmBtn->setHidden(m_variant == kBalance);
    wire(*m_confirmBtn, "confirmAction", &BankToAccountView::confirmAction);
    m_remainBtn = whiteButton(at.balanceButton, "银行余额查询");
    m_remainBtn->setHidden(m_variant != kBalance);
    wire(*m_remainBtn, "remainAction", &BankToAccountView::remainAction);

    m_promptText = base::make<ui::TextView>(gfx::Rect{10, at.prompt, w - 20, kPromptHeight});
    m_promptText->setBackgroundColor(gfx::Color::clear());
    m_promptText->setTextColor(gfx::Color::lightGray());
    m_promptText->setFont(gfx::Font::system(kFontSize));
    m_promptText->editable = false;
    m_promptText->scrollEnabled = false;
    m_promptText->userInteractionEnabled = false;
    addSubview(m_promptText);
}

// ---------------------------------------------------------------------------------------------
// The data object

void BankToAccountView::SetTransferData(const base::Ref<TradeTransferData> &data) {
    attach(data);
    reqDataOnInit();
}

void BankToAccountView::reqDataOnInit() {
    base::Ref<TradeTransferData> data = transferData();
    if (m_variant == kToBank) {
        if (data->isGetQueryMoneyRsp()) {
            SetAccountCashLabel();
        } else {
            data->reqMoneyList();
            m_isQueryingMoney = true;
        }
    }
    base::Ref<TradeNetDataCenter> session = TradeDataBase::sharedTradeDataBase()->IO_TradeNetData();
    if (session->IO_GetTransferBankArray()) {
        UpdateBankArray(session->IO_TransferBankArray(), false, "");
    } else {
        data->reqBankList();
        m_isQueryingBank = true;
    }
    if (m_isQueryingMoney || m_isQueryingBank)
        StartWaitingAlert();
}

void BankToAccountView::closeTab() {
    if (m_moneyTimer)
        m_moneyTimer->invalidate();
    m_moneyTimer.reset();
    TransferTabView::closeTab();
}

void BankToAccountView::stopWaitingWhenIdle() {
    if (!m_isQueryingMoney && !m_isQueryingBank)
        StopWaitingAlert();
}

base::Opt<void> BankToAccountView::UpdateBankArray(const base::Array &banks, bool errRsp,
                                                   const std::string &) {
    m_isQueryingBank = false;
    m_bankArray.reset();
    if (!errRsp)
        m_bankArray = banks.copy();
    if (m_bankArray && !m_bankArray->empty() && (*m_bankArray)[0].dict())
        SetBankRelInfo(*(*m_bankArray)[0].dict());
    else
        showNoBank();
    stopWaitingWhenIdle();
    return {};
}

base::Opt<void> BankToAccountView::UpdateMoneyArray(const std::optional<base::Array> &, bool errRsp,
                                                    const std::string &errMsg) {
    m_isQueryingMoney = false;
    if (m_accountCashLabel) {
        if (errRsp)
            m_accountCashLabel->setText("账户可转资金: (未查到)");
        else
            SetAccountCashLabel();
    }
    stopWaitingWhenIdle();
    if (errRsp)
        Util::ShowTipBox(errMsg);
    return {};
}

base::Opt<void> BankToAccountView::UpdateBankBalance(const std::optional<std::string> &balance, bool errRsp,
                                                     const std::string &errMsg) {
    StopWaitingAlert();
    Util::ShowInfoBox(errRsp ? errMsg : "您的银行余额为：" + balance.value_or("--"));
    m_bankPwdField->setText("");
    m_accountPwdField->setText("");
    return {};
}

base::Opt<void> BankToAccountView::UpdateTransfer(bool errRsp, const std::string &errMsg) {
    StopWaitingAlert();
    Util::ShowInfoBox(errRsp ? "转帐失败！" + errMsg : std::string("转帐成功！"));
    clearEntries();
    if (m_variant == kToBank) {
        if (m_moneyTimer)
            m_moneyTimer->invalidate();
        base::Weak<BankToAccountView> weak = weakSelf<BankToAccountView>();
        m_moneyTimer = base::Timer::scheduled(kMoneyDelay, false,
                                              base::Action("delayReqMoneyList", [weak](base::Object *) {
                                                  if (auto alive = weak.lock())
                                                      alive->delayReqMoneyList();
                                              }));
    }
    return {};
}

void BankToAccountView::delayReqMoneyList() {
    m_moneyTimer.reset();
    if (auto data = transferData())
        data->reqMoneyList();
}

void BankToAccountView::clearEntries() {
    m_bankPwdField->setText("");
    m_accountPwdField->setText("");
    m_transCashField->setText("");
}

// ---------------------------------------------------------------------------------------------
// Bank and currency

void BankToAccountView::showNoBank() {
    m_selectedBankCode.clear();
    m_bankBtn->setTitle(kNoBankTitle);
}

void BankToAccountView::SetBankRelInfo(const base::Dict &bank) {
    m_selectedBankCode = bank.get(transfer::kBankCode).stringValue();
    m_bankBtn->setTitle(transfer::bankTitle(bank));
    SetCurrencyInfo(bank.find(transfer::kCurrency));
    m_pswTypeOfBankToAccount =
        transfer::ruleOf(bank, transfer::kRuleToSecurities, transfer::kDefaultToSecurities);
    m_pswTypeOfAccountToBank = transfer::ruleOf(bank, transfer::kRuleToBank, transfer::kDefaultToBank);
    m_pswTypeOfQueryBankBalance = transfer::ruleOf(bank, transfer::kRuleBalance, transfer::kDefaultBalance);
    applyRule();
}

int BankToAccountView::formRule() const {
    switch (m_variant) {
    case kToSecurities:
        return m_pswTypeOfBankToAccount;
    case kToBank:
        return m_pswTypeOfAccountToBank;
    default:
        return m_pswTypeOfQueryBankBalance;
    }
}

void BankToAccountView::applyRule() {
    int rule = formRule();
    m_promptText->setText(kPrompts[m_variant] + TradeInterface::getTransferPswTypeName(rule) + " ");
    transfer::PasswordRule offered = transfer::passwordRule(rule);
    auto offer = [](ui::TextField &field, bool offers, const char *caption) {
        field.setPlaceholder(offers ? caption : kNotNeeded);
        field.setEnabled(offers);
        if (!offers)
            field.setText("");
    };
    offer(*m_bankPwdField, offered.offersBank, "银行密码");
    offer(*m_accountPwdField, offered.offersFund, "资金密码");
}

void BankToAccountView::SetCurrencyInfo(const base::Value *value) {
    m_selectedCurrency = value ? std::atoi(value->stringValue().c_str()) : -1;
    m_currencyBtn->setTitle(TradeInterface::getCurrencyName(m_selectedCurrency));
    if (m_variant == kToBank)
        SetAccountCashLabel();
}

void BankToAccountView::SetAccountCashLabel() {
    auto data = transferData();
    if (!m_accountCashLabel || !data)
        return;
    m_accountCashLabel->setText("账户可转资金:" + data->getAvailableMoney(m_selectedCurrency) + " (" +
                                TradeInterface::getCurrencyName(m_selectedCurrency) + ")");
}

void BankToAccountView::changeBankAction() {
    openBankPicker(*m_bankBtn, m_bankArray.value_or(base::Array()));
}

void BankToAccountView::changeCurrAction() {
    openCurrencyPicker(*m_currencyBtn);
}

base::Opt<void> BankToAccountView::ReturnSelectedValueDict(const base::Dict &row) {
    if (btnType() == kCurrencyPicker)
        SetCurrencyInfo(row.find("KeyValue"));
    else if (btnType() == kBankPicker)
        SetBankRelInfo(row);
    return {};
}

// ---------------------------------------------------------------------------------------------
// Transfer and balance

transfer::Entry BankToAccountView::entry(int rule) const {
    return {m_selectedBankCode,
            m_selectedCurrency,
            rule,
            fieldText(*m_bankPwdField),
            fieldText(*m_accountPwdField),
            m_variant == kBalance ? std::string() : m_transCashField->text()};
}

// The entry goes out when it passes its checks: a password its rule does not ask for is sent empty.
bool BankToAccountView::send(
    const transfer::Entry &entry, const std::optional<std::string> &refusal,
    const std::function<void(TradeTransferData &, const std::string &, const std::string &)> &request) {
    if (refusal) {
        Util::ShowInfoBox(*refusal);
        return false;
    }
    auto data = transferData();
    if (!data)
        return false;
    transfer::PasswordRule rule = transfer::passwordRule(entry.rule);
    request(*data, rule.needsFund ? entry.fundPassword : "", rule.needsBank ? entry.bankPassword : "");
    StartWaitingAlert();
    return true;
}

void BankToAccountView::confirmAction() {
    transfer::Entry typed = entry(formRule());
    send(typed, transfer::transferRefusal(typed),
         [&](TradeTransferData &data, const std::string &fund, const std::string &bank) {
             data.reqTransfer(isBankToAccount() ? 0 : 1, typed.bankCode, fund, bank, typed.amount,
                              typed.currency);
         });
}

void BankToAccountView::remainAction() {
    transfer::Entry typed = entry(m_pswTypeOfQueryBankBalance);
    send(typed, transfer::balanceRefusal(typed),
         [&](TradeTransferData &data, const std::string &fund, const std::string &bank) {
             data.reqBankBalance(typed.bankCode, fund, bank, typed.currency);
         });
}
