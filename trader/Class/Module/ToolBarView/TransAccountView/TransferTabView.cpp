#include "Class/Module/ToolBarView/TransAccountView/TransferTabView.h"

#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"
#include "Common/Util.h"
#include "Common/UtilUI.h"

#include "ui/NavigationController.h"

TransferTabView::~TransferTabView() {
    dropPicker();
}

void TransferTabView::closeTab() {
    dropPicker();
    if (auto data = m_transferData.lock())
        if (data->delegate().lock().get() == static_cast<TradeTransferDataDelegate *>(this))
            data->setDelegate({});
}

void TransferTabView::dropPicker() {
    if (m_picker)
        m_picker->delegate.reset();
    if (m_popoverController)
        m_popoverController->dismiss(false);
    m_picker.reset();
    m_popoverController.reset();
}

void TransferTabView::attach(const base::Ref<TradeTransferData> &data) {
    m_transferData = data;
    data->setDelegate(weakSelf<TransferTabView>());
}

base::Opt<void> TransferTabView::StartWaitingAlert() {
    if (auto panel = m_parentTarget.lock())
        panel->StartWaitingAlert();
    return {};
}

base::Opt<void> TransferTabView::StopWaitingAlert() {
    if (auto panel = m_parentTarget.lock())
        panel->StopWaitingAlert();
    return {};
}

base::Ref<ui::Button> TransferTabView::pickerButton(gfx::Rect frame, const char *title) {
    auto button = ui::Button::custom(frame);
    button->setBackgroundImage(UtilUI::imageNamed("btn_gray.png"));
    button->setTitleColor(gfx::Color::white());
    button->setTitle(title);
    return button;
}

void TransferTabView::openBankPicker(ui::Button &sender, const base::Array &banks) {
    dropPicker();
    if (banks.empty()) {
        Util::ShowInfoBox("未能查询到转帐银行！", "错误");
        return;
    }
    present(sender, "选择银行", kBankPicker, banks,
            TradeTransferData::getSelectedBankIndex(banks, m_selectedBankCode));
}

void TransferTabView::openCurrencyPicker(ui::Button &sender) {
    dropPicker();
    auto data = transferData();
    if (!data)
        return;
    const base::Array &currencies = data->currencyArray();
    present(sender, "选择币种", kCurrencyPicker, currencies,
            TradeTransferData::getSelectedCurrencyIndex(currencies, m_selectedCurrency));
}

void TransferTabView::present(ui::Button &sender, const char *title, int type, const base::Array &rows,
                              int index) {
    m_btnType = int16_t(type);
    m_picker = base::make<BankSelViewController>();
    m_picker->setTitle(title);
    m_picker->delegate = weakSelf<TransferTabView>();
    m_picker->setSelectType(type == kBankPicker ? BankSelViewController::kBanks
                                                : BankSelViewController::kCurrencies);
    m_picker->SetDataArray(rows, index);
    m_popoverController = base::make<ui::Popover>(base::make<ui::NavigationController>(m_picker));
    m_popoverController->presentFromRect(sender.bounds(), sender, ui::ArrowRight, true);
}
