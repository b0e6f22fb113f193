#pragma once

#include "Class/Module/ToolBarView/FullScrTradeBaseView/FullScrTradeBaseView.h"
#include "DataBase/TradeQuery/MoneyHoldData.h"

// The funds panel's full screen: the currency tabs, the six funds fields in one line, and the
// holdings in the broker's columns (11146), 15 a page. It opens on 人民币 whatever the panel shows
// and fills its fields itself from the funds rows the panel handed it.
class AccountFullScreenView : public FullScrTradeBaseView, public MoneyHoldDataDelegate {
public:
    static constexpr const char *kObserverName = "MoneyHoldFullScreenNotify";

    using FullScrTradeBaseView::FullScrTradeBaseView;

    // Keeps the funds rows and shows 人民币's.
    void SetMoneyArray(const base::Array &moneyArray);
    // Starts from the panel's query object: its pages, page and text.
    void initHoldData(const MoneyHoldData &panelData);
    void ResetTableColumns() { FullScrTradeBaseView::ResetTableColumns(TradeNetDataCenter::kHoldList); }
    void SwitchCurrencyTab(int tag);

    base::Opt<void> UpdateHoldArray(const std::optional<base::Array> &rows,
                                    const std::string &pageInfo) override;

    TradePageQueryDataBase &queryData() override { return *m_moneyholdData; }
    MoneyHoldData &moneyholdData() { return *m_moneyholdData; }
    const base::Array &moneyArray() const { return m_moneyArray; }
    ui::Label *valueLabel(int field);

protected:
    void initUI(gfx::Rect frame) override;
    void styleCell(GeneralCell &cell, bool fresh, int row) override;

private:
    void GenerateValueField(gfx::Rect rect, const char *fieldName, int tag);

    base::Ref<MoneyHoldData> m_moneyholdData;
    base::Array m_moneyArray;
};
