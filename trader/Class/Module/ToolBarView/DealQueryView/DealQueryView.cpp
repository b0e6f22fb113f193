#include "Class/Module/ToolBarView/DealQueryView/DealQueryView.h"

#include "Class/Module/ToolBarView/FullScrTradeBaseView/DealFullScreenView.h"

void DealQueryView::setUp() {
    TradeQueryPanel::setUp();
    searchAction();
}

void DealQueryView::initUI(gfx::Rect frame) {
    float w = frame.width();
    buildPanel(frame, kPageStripY, w - 110, w - 107, w - 57, kTableY, kRowHeight);
    buildDateRow(76);
    m_dealData = TradeDataLayerBase::create<DealQueryData>(kObserverName);
    m_dealData->setDelegate(std::static_pointer_cast<DealQueryDataDelegate>(self<DealQueryView>()));
}

void DealQueryView::searchAction() {
    m_dealData->SearchDeal(m_dateRange->startDate(), m_dateRange->endDate());
}

base::Opt<void> DealQueryView::UpdateDealArray(const std::optional<base::Array> &rows,
                                               const std::string &pageInfo, int) {
    showPage(rows, pageInfo);
    return {};
}

base::Opt<void> DealQueryView::StartWaitingAlert() {
    TradeBaseView::StartWaitingAlert();
    return {};
}

base::Opt<void> DealQueryView::StopWaitingAlert() {
    TradeBaseView::StopWaitingAlert();
    return {};
}

base::Ref<ui::TableCell> DealQueryView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto cell = std::dynamic_pointer_cast<DealTradeCell>(table.dequeueReusableCell(kCellIdentifier));
    if (!cell)
        cell = base::make<DealTradeCell>(kCellIdentifier);
    base::Dict row = rowAt(path.row);
    cell->NOLabel->setText(serialText(path.row));
    cell->indexPath = path;
    cell->nameLabel->setText(row.get("1037").stringValue());
    cell->codeLabel->setText(row.get("1036").stringValue());
    cell->stateLabel->setText(row.get("1027").stringValue());
    cell->dateLabel->setText(row.get("1045").stringValue());
    cell->dealTypeLabel->setText(row.get("1294").stringValue());
    cell->dealPriceLabel->setText(row.get("1048").stringValue());
    cell->dealVolLabel->setText(row.get("1047").stringValue());
    return cell;
}

void DealQueryView::FullScreenAction() {
    auto view = base::make<DealFullScreenView>(kFullScreenFrame);
    view->ownerViewHandler = weakSelf<TradeBaseView>();
    view->titleLabel()->setText(titleLabel() ? titleLabel()->text() : std::string());
    view->initDealData(*m_dealData);
    presentFullScreen(view);
}

base::Ref<DealFullScreenView> DealQueryView::dealFullSrcView() const {
    return std::dynamic_pointer_cast<DealFullScreenView>(fullScreenView());
}
