#include "Module/DetailShowPanel/RightIndexDetailPanel.h"

#include "Module/DetailShowPanel/RightForeignIndexDetailPanel.h"

const std::vector<std::string> &RightIndexDetailPanel::FieldCaptions() {
    static const std::vector<std::string> captions{"总成交量", "总成交额", "股票均价", "加权均价",
                                                   "上涨家数", "平盘家数", "下跌家数", "流通市值"};
    return captions;
}

RightIndexDetailPanel::RightIndexDetailPanel(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(RightPanelBackground());
}

void RightIndexDetailPanel::setUp() {
    ui::View::setUp();
    float w = bounds().width(), h = bounds().height();
    m_valuePanelView = base::make<ValuePanelView>(gfx::Rect{0, 0, w, GridHeight});
    m_valuePanelView->SetFieldArray(FieldCaptions());
    m_valuePanelView->SetValueArray(RepeatedValues(FieldCaptions().size()));
    addSubview(m_valuePanelView);

    float half = (h - GridHeight) / 2;
    m_indexGXView = base::make<IndexGXView>(gfx::Rect{}, weakSelf());
    m_indexGXView->setFrame({0, GridHeight, w, half});
    addSubview(m_indexGXView);
    m_indexDDDetailView = base::make<IndexDDDetailView>(gfx::Rect{}, weakSelf());
    m_indexDDDetailView->setFrame({0, GridHeight + half, w, half - BigOrderGap});
    addSubview(m_indexDDDetailView);
    m_boardStocksView = base::make<BoardIndexStocksView>(gfx::Rect{}, weakSelf());
    m_boardStocksView->setFrame({0, GridHeight, w, h - GridHeight});
    m_boardStocksView->setHidden(true);
    addSubview(m_boardStocksView);
}

void RightIndexDetailPanel::resetPanel(bool boardMode) {
    m_boardStocksView->setHidden(!boardMode);
    m_indexGXView->setHidden(boardMode);
    m_indexDDDetailView->setHidden(boardMode);
}

void RightIndexDetailPanel::clearView() {
    m_valuePanelView->SetValueArray(RepeatedValues(FieldCaptions().size()));
    m_indexGXView->clearView();
    m_indexDDDetailView->clearView();
    m_boardStocksView->clearView();
}
