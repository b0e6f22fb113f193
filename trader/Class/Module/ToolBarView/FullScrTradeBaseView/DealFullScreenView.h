#pragma once

#include "Class/Module/ToolBarView/FullScrTradeBaseView/FullScrTradeBaseView.h"
#include "DataBase/TradeQuery/DealQueryData.h"

// The deal panel's full screen: the date row and "查询" over the table of deals in the broker's
// columns for today's deals (11140) or a range's (11142); a page of the other query rebuilds the
// columns.
class DealFullScreenView : public FullScrTradeBaseView, public DealQueryDataDelegate {
public:
    static constexpr const char *kObserverName = "DealFullScreenNotify";

    using FullScrTradeBaseView::FullScrTradeBaseView;

    // Starts from the panel's query object: its pages, page, dates and text.
    void initDealData(const DealQueryData &panelData);
    void searchAction() override;

    base::Opt<void> UpdateDealArray(const std::optional<base::Array> &rows, const std::string &pageInfo,
                                    int reqType) override;

    TradePageQueryDataBase &queryData() override { return *m_dealData; }
    DealQueryData &dealData() { return *m_dealData; }

protected:
    void initUI(gfx::Rect frame) override;

private:
    base::Ref<DealQueryData> m_dealData;
};
