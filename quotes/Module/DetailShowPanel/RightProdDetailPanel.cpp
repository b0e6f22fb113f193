#include "Module/DetailShowPanel/RightProdDetailPanel.h"

#include "Module/DetailShowPanel/RightForeignIndexDetailPanel.h"

namespace {

constexpr int kBookLevels = 5;

} // namespace

const std::vector<std::string> &RightProdDetailPanel::FieldCaptions() {
    static const std::vector<std::string> captions{"持仓", "结算", "增仓", "前结",
                                                   "日增", "总手", "涨停", "跌停"};
    return captions;
}

RightProdDetailPanel::RightProdDetailPanel(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(RightPanelBackground());
}

void RightProdDetailPanel::setUp() {
    ui::View::setUp();
    float w = bounds().width(), h = bounds().height();
    m_buySellPanelView = base::make<BuySellPanelView>(gfx::Rect{0, 0, w, BookHeight});
    m_buySellPanelView->clearView();
    m_buySellPanelView->SetBuySellNum(kBookLevels);
    addSubview(m_buySellPanelView);
    m_valuePanelView = base::make<ValuePanelView>(gfx::Rect{0, BookHeight, w, GridHeight});
    m_valuePanelView->SetFieldArray(FieldCaptions());
    m_valuePanelView->SetValueArray(RepeatedValues(FieldCaptions().size()));
    addSubview(m_valuePanelView);
    m_futureStrikeDetailView = base::make<FutureStrikeDetailView>(gfx::Rect{}, weakSelf());
    m_futureStrikeDetailView->setFrame({0, 292, w, h - 314});
    m_futureStrikeDetailView->setTableViewBaseViewDelegate(weakSelf<RightProdDetailPanel>());
    addSubview(m_futureStrikeDetailView);
}

void RightProdDetailPanel::clearView() {
    m_buySellPanelView->clearView();
    m_futureStrikeDetailView->clearView();
    m_valuePanelView->SetValueArray(RepeatedValues(FieldCaptions().size()));
}

base::Opt<void> RightProdDetailPanel::ZoomInAction(TableBaseView &table) {
    m_strikeFullScreenView =
        StockDetailFullScreenView::Open(*this, table.frame(), m_futureStrikeDetailView->strikeLastPos(),
                                        parentTarget, false, weakSelf<RightProdDetailPanel>());
    return {};
}

base::Opt<void> RightProdDetailPanel::ReturnStrikeFullScreenViewDismiss() {
    m_strikeFullScreenView.reset();
    return {};
}
