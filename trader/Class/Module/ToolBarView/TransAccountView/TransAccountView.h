#pragma once

#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"
#include "Class/Module/ToolBarView/TransAccountView/TransferTabView.h"
#include "DataBase/TradeQuery/TradeTransferData.h"

#include "ui/Button.h"

#include <array>

// The bank-transfer panel the tool bar opens as "银行转账": four tabs under the title bar, bank to
// securities (shown first), securities to bank, the transfer history and the bank balance, and the
// view of the selected tab below them. The panel owns the one data object the tab views share
// (replies come under "TransAccountViewNotify" and go to the view shown when they arrive); the
// bank list belongs to the trade session. A tab switch ends the shown view and builds the pressed
// tab's afresh; the shown tab's button is disabled, so it cannot be pressed again.
class TransAccountView : public TradeBaseView {
public:
    static constexpr const char *kObserverName = "TransAccountViewNotify";
    static constexpr int kFirstTabTag = 500;
    static constexpr int kTabCount = 4;
    enum Tab : int { kBankToAccount = 500, kAccountToBank = 501, kTransferQuery = 502, kBankBalance = 503 };
    static constexpr float kTabY = 50, kTabHeight = 25, kContentY = 90;

    explicit TransAccountView(gfx::Rect frame) : TradeBaseView(frame) {}
    ~TransAccountView() override;

    void CloseAction();
    void ItemTabAction(int tag);

    int count() const { return kTabCount; }
    const base::Ref<TransferTabView> &prevContentView() const { return m_prevContentView; }
    const base::Ref<TradeTransferData> &transferData() const { return m_transferData; }
    ui::Button &tabButton(int tag) { return *m_tabs.at(size_t(tag - kFirstTabTag)); }
    // The tag of the tab shown.
    int shownTab() const { return m_shownTab; }

protected:
    void initData() override;
    void initUI(gfx::Rect frame) override;

private:
    base::Ref<ui::Button> GenTabItem(const char *caption, int tag, gfx::Rect frame);
    base::Ref<TransferTabView> GenBankToAccount();
    base::Ref<TransferTabView> GenAccountToBank();
    base::Ref<TransferTabView> TransferQuery();
    base::Ref<TransferTabView> GenBankBalance();
    void showTab(int tag);
    void endShownTab();

    base::Ref<TransferTabView> m_prevContentView;
    base::Ref<TradeTransferData> m_transferData;
    std::array<base::Ref<ui::Button>, kTabCount> m_tabs;
    int m_shownTab = 0;
};
