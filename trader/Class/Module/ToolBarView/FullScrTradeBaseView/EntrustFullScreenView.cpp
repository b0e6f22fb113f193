#include "Class/Module/ToolBarView/FullScrTradeBaseView/EntrustFullScreenView.h"

void EntrustFullScreenView::initUI(gfx::Rect frame) {
    float w = frame.width(), h = frame.height();
    GenTitleBar({0, 0, w, 40});
    buildTable(75, 109, h - 108);
    buildDateRow(109);
    m_entrustData = TradeDataLayerBase::create<EntrustQueryData>(kObserverName);
    m_entrustData->setDelegate(
        std::static_pointer_cast<EntrustQueryDataDelegate>(self<EntrustFullScreenView>()));
}

void EntrustFullScreenView::initEntrustData(const EntrustQueryData &panelData) {
    m_entrustData->CopyFromDealData(panelData);
    showTakenOver(m_entrustData->getCurrentReqType());
}

void EntrustFullScreenView::SetQueryType(bool canDisentrust) {
    m_isQueryCanDisentrust = canDisentrust;
    dateRange()->setButtonsHidden(canDisentrust);
    searchBtn()->setHidden(canDisentrust);
}

void EntrustFullScreenView::searchAction() {
    m_entrustData->SearchEntrust(dateRange()->startDate(), dateRange()->endDate());
}

base::Opt<void> EntrustFullScreenView::UpdateEntrustArray(const std::optional<base::Array> &rows,
                                                          const std::string &pageInfo, int reqType) {
    if (reqType != currentReqType())
        ResetTableColumns(reqType);
    showPage(rows, pageInfo);
    return {};
}
