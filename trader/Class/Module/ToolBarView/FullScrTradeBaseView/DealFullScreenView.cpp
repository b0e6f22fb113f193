#include "Class/Module/ToolBarView/FullScrTradeBaseView/DealFullScreenView.h"

void DealFullScreenView::initUI(gfx::Rect frame) {
    float w = frame.width(), h = frame.height();
    GenTitleBar({0, 0, w, 40});
    buildTable(75, 109, h - 108);
    buildDateRow(109);
    m_dealData = TradeDataLayerBase::create<DealQueryData>(kObserverName);
    m_dealData->setDelegate(std::static_pointer_cast<DealQueryDataDelegate>(self<DealFullScreenView>()));
}

void DealFullScreenView::initDealData(const DealQueryData &panelData) {
    m_dealData->CopyFromDealData(panelData);
    showTakenOver(m_dealData->getCurrentReqType());
}

void DealFullScreenView::searchAction() {
    m_dealData->SearchDeal(dateRange()->startDate(), dateRange()->endDate());
}

base::Opt<void> DealFullScreenView::UpdateDealArray(const std::optional<base::Array> &rows,
                                                    const std::string &pageInfo, int reqType) {
    if (reqType != currentReqType())
        ResetTableColumns(reqType);
    showPage(rows, pageInfo);
    return {};
}
