#pragma once

#include "Class/Module/CommonControls/EntrustTradeCell/EntrustTradeCell.h"
#include "Class/Module/ToolBarView/TradeBaseView/TradeQueryPanel.h"
#include "DataBase/TradeQuery/EntrustQueryData.h"

#include "ui/Alert.h"

class EntrustFullScreenView;

// The order panel of the tool bar, in one of two modes set once right after it is made:
// - cancel mode ("撤单"): the orders that can still be cancelled (11132), each with its cancel
//   button, and "刷新" to ask again; no date row;
// - query mode ("委托查询"): the orders of the range on the date buttons, today at first: today's
//   (11134) when both dates are today, with a cancel button on the rows the broker marks "1214" =
//   "1", else the history (11136) without cancel buttons; "查询" asks again.
//
// A cancel button asks "确定要撤单[单号:%@]吗？" with the order's number; "确定" sends the cancel
// (11114). An accepted cancel tips the broker's text and asks for the list again 1.5 s later,
// unless the panel has gone by then. The average deal price is amount over volume ("%.3f"), "--"
// without a volume.
class EntrustQueryView : public TradeQueryPanel,
                         public EntrustQueryDataDelegate,
                         public EntrustTradeCellDelegate {
public:
    static constexpr const char *kObserverName = "EntrustQueryNotify";
    static constexpr float kRowHeight = 85;
    static constexpr double kRefreshDelay = 1.5;
    static constexpr int kCancelAlertTag = 1001;
    static constexpr const char *kCancelTitle = "委托撤单";

    using TradeQueryPanel::TradeQueryPanel;
    ~EntrustQueryView() override;

    // Sets the mode (YES: cancel mode) and runs its first query.
    void SetQueryType(bool canDisentrust);
    // Runs the query of the mode again: the cancelable list from its first page, or the range on
    // the date buttons.
    void reqCurrentEntrustList();
    void refreshAction();
    void searchAction() override;
    void FullScreenAction() override;

    base::Opt<void> UpdateEntrustArray(const std::optional<base::Array> &rows, const std::string &pageInfo,
                                       int reqType) override;
    base::Opt<void> RefreshEntrustTableView() override;
    base::Opt<void> StartWaitingAlert() override;
    base::Opt<void> StopWaitingAlert() override;
    base::Opt<void> ReturnWithDrawAction(ui::Button *button, ui::IndexPath indexPath) override;
    void alertView(ui::Alert &alert, int buttonIndex);

    // "%.3f" of amount over volume, "--" without a positive volume.
    static std::string AveragePrice(const base::Dict &row);

    TradePageQueryDataBase &queryData() override { return *m_entrustData; }
    EntrustQueryData &entrustData() { return *m_entrustData; }
    bool isQueryCanDisentrust() const { return m_isQueryCanDisentrust; }
    int currentReqType() const { return m_currentReqType; }
    ui::Button &refreshBtn() { return *m_refreshBtn; }
    const base::Dict &curDisentrustDic() const { return m_curDisentrustDic; }
    base::Ref<EntrustFullScreenView> entrustFullScrView() const;

protected:
    void initUI(gfx::Rect frame) override;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    void panelWillDismiss() override;

private:
    struct AlertRelay;
    base::Ref<EntrustQueryData> m_entrustData;
    base::Ref<ui::Button> m_refreshBtn;
    base::Ref<AlertRelay> m_alertRelay;
    base::Dict m_curDisentrustDic;
    bool m_isQueryCanDisentrust = false;
    int32_t m_currentReqType = -1;
};
