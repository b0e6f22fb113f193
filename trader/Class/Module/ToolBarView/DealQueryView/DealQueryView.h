#pragma once

#include "Class/Module/CommonControls/DealTradeCell/DealTradeCell.h"
#include "Class/Module/ToolBarView/TradeBaseView/TradeQueryPanel.h"
#include "DataBase/TradeQuery/DealQueryData.h"

class DealFullScreenView;

// The deal panel of the tool bar ("成交查询"): the deals of the range on the date buttons, today's
// (11140) when both dates are today, else the history (11142), 15 a page. It asks for today's deals
// as soon as it is made. A tap on a deal does nothing.
class DealQueryView : public TradeQueryPanel, public DealQueryDataDelegate {
public:
    static constexpr const char *kObserverName = "DealQueryNotify";
    static constexpr float kRowHeight = 60;

    using TradeQueryPanel::TradeQueryPanel;
    void setUp() override;

    void searchAction() override;
    void FullScreenAction() override;

    base::Opt<void> UpdateDealArray(const std::optional<base::Array> &rows, const std::string &pageInfo,
                                    int reqType) override;
    base::Opt<void> StartWaitingAlert() override;
    base::Opt<void> StopWaitingAlert() override;

    TradePageQueryDataBase &queryData() override { return *m_dealData; }
    DealQueryData &dealData() { return *m_dealData; }
    base::Ref<DealFullScreenView> dealFullSrcView() const;

protected:
    void initUI(gfx::Rect frame) override;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;

private:
    base::Ref<DealQueryData> m_dealData;
};
