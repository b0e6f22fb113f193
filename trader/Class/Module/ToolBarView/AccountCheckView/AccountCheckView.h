#pragma once

#include "Class/Module/ToolBarView/AccountCheckView/AccountCell.h"
#include "Class/Module/ToolBarView/TradeBaseView/TradeQueryPanel.h"
#include "DataBase/TradeQuery/MoneyHoldData.h"

#include <vector>

class AccountFullScreenView;

// The funds panel of the tool bar ("资金账户", titled "账户信息"): the funds of one currency at a
// time (tabs 人民币, 美元, 港元) in six fields, and the holdings, 15 a page. It asks for the funds
// (11104, every currency) and then the first page of holdings (11146) as soon as it is made.
//
// The fields show "0.00" until the funds arrive, then the marked currency's row: "--" for a field
// the row lacks, "--" in all six for a currency without a row. A tap on a holding makes the quote
// screen behind the panels open it ("SH" or "SZ" by the market of its shareholder code, the bare
// code when that code is not the login's) where that screen opens securities; its "卖" button
// replaces the panel by the sell panel filled with the holding's code, name and latest price.
class AccountCheckView : public TradeQueryPanel, public MoneyHoldDataDelegate, public AccountCellDelegate {
public:
    static constexpr const char *kObserverName = "MoneyHoldNotify";
    static constexpr float kRowHeight = 70;
    static constexpr int kFirstTabTag = 211, kFirstValueTag = 200, kFieldCount = 6;
    static constexpr int kSellPanelIndex = 2;

    // One funds field: its caption and the funds row's key.
    struct Field {
        const char *caption, *key;
    };
    static const Field kFields[kFieldCount];

    using TradeQueryPanel::TradeQueryPanel;
    void setUp() override;

    void SwitchCurrencyTab(int tag);
    base::Opt<void> UpdateMoneyArray(const std::optional<base::Array> &funds) override;
    base::Opt<void> UpdateHoldArray(const std::optional<base::Array> &rows,
                                    const std::string &pageInfo) override;
    base::Opt<void> StartWaitingAlert() override;
    base::Opt<void> StopWaitingAlert() override;
    base::Opt<void> SellBtnAction(ui::Button *button, ui::IndexPath indexPath) override;
    void FullScreenAction() override;

    // Fills the labels tagged 200–205 inside `parentView` with the funds of the currency (0–2).
    static void SetMoneyInfo(const base::Array &moneyArray, int currency, ui::View &parentView);
    // The three currency tabs (tags 211–213, 66 × 25) at y 40 and the x given, 人民币 marked;
    // `action` hears the tag of a pressed tab.
    static std::vector<base::Ref<ui::Button>> MakeCurrencyTabs(ui::View &parent, const float (&xs)[3],
                                                               const base::Weak<base::Object> &target,
                                                               std::function<void(int)> action);
    // Marks the tab of `tag` and unmarks the others.
    static void MarkCurrencyTab(ui::View &parent, int tag);
    static base::Ref<gfx::Color> fundsColor();
    static base::Ref<gfx::Color> fundsTextColor();

    TradePageQueryDataBase &queryData() override { return *m_moneyholdData; }
    MoneyHoldData &moneyholdData() { return *m_moneyholdData; }
    const base::Array &moneyArray() const { return m_moneyArray; }
    int selectedCurrency() const { return m_selectedCurrency; }
    ui::Label *valueLabel(int field) {
        return dynamic_cast<ui::Label *>(viewWithTag(kFirstValueTag + field));
    }
    ui::Button *currencyTab(int index) {
        return dynamic_cast<ui::Button *>(viewWithTag(kFirstTabTag + index));
    }
    base::Ref<AccountFullScreenView> accountFullScrView() const;

protected:
    void initUI(gfx::Rect frame) override;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    void didSelectRow(ui::IndexPath path) override;

private:
    void GenerateValueField(gfx::Rect rect, const char *fieldName, int tag);

    base::Ref<MoneyHoldData> m_moneyholdData;
    base::Array m_moneyArray;
    int m_selectedCurrency = 0;
};
