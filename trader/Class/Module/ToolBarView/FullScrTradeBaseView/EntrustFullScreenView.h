#pragma once

#include "Class/Module/ToolBarView/FullScrTradeBaseView/FullScrTradeBaseView.h"
#include "DataBase/TradeQuery/EntrustQueryData.h"

// The order panel's query full screen: the date row and "查询" over the table of orders in the
// broker's columns for the query on show (cancelable 11132, today's 11134, history 11136); a page
// of another query rebuilds the columns. In cancel mode the date buttons and "查询" are hidden.
class EntrustFullScreenView : public FullScrTradeBaseView, public EntrustQueryDataDelegate {
public:
    static constexpr const char *kObserverName = "EntrustFullScreenNotify";

    using FullScrTradeBaseView::FullScrTradeBaseView;

    // Starts from the panel's query object: its pages, page, dates and text.
    void initEntrustData(const EntrustQueryData &panelData);
    void SetQueryType(bool canDisentrust);
    void searchAction() override;

    base::Opt<void> UpdateEntrustArray(const std::optional<base::Array> &rows, const std::string &pageInfo,
                                       int reqType) override;

    TradePageQueryDataBase &queryData() override { return *m_entrustData; }
    EntrustQueryData &entrustData() { return *m_entrustData; }
    bool isQueryCanDisentrust() const { return m_isQueryCanDisentrust; }

protected:
    void initUI(gfx::Rect frame) override;

private:
    base::Ref<EntrustQueryData> m_entrustData;
    bool m_isQueryCanDisentrust = false;
};
