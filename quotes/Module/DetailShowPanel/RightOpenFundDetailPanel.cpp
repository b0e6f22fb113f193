#include "Module/DetailShowPanel/RightOpenFundDetailPanel.h"

#include "Module/DetailShowPanel/RightForeignIndexDetailPanel.h"

namespace {

const gfx::Rect kStocksFrame{0, 0, RightOpenFundDetailPanel::TableWidth, 250};
const gfx::Rect kSharesFrame{0, 270, RightOpenFundDetailPanel::TableWidth, 120};
const gfx::Rect kOwnersFrame{0, 420, RightOpenFundDetailPanel::TableWidth, 120};
const gfx::Rect kMoneySharesFrame{0, 0, RightOpenFundDetailPanel::TableWidth, 120};
const gfx::Rect kMoneyOwnersFrame{0, 150, RightOpenFundDetailPanel::TableWidth, 120};

} // namespace

RightOpenFundDetailPanel::RightOpenFundDetailPanel(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(RightPanelBackground());
    m_scrollView = base::make<ui::ScrollView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_scrollView->setContentSize({ContentWidth, frame.height()});
    addSubview(m_scrollView);
}

void RightOpenFundDetailPanel::setUp() {
    ui::View::setUp();
    m_stocksView = base::make<OpenFundStocksView>(gfx::Rect{}, weakSelf());
    m_sharesView = base::make<OpenFundSharesView>(gfx::Rect{}, weakSelf());
    m_ownersView = base::make<OpenFundOwnersView>(gfx::Rect{}, weakSelf());
    m_stocksView->setFrame(kStocksFrame);
    m_sharesView->setFrame(kSharesFrame);
    m_ownersView->setFrame(kOwnersFrame);
    m_scrollView->addSubview(m_stocksView);
    m_scrollView->addSubview(m_sharesView);
    m_scrollView->addSubview(m_ownersView);
}

void RightOpenFundDetailPanel::resetPanel(int type) {
    bool moneyMarket = type == MoneyMarketType;
    m_stocksView->setHidden(moneyMarket);
    m_sharesView->setFrame(moneyMarket ? kMoneySharesFrame : kSharesFrame);
    m_ownersView->setFrame(moneyMarket ? kMoneyOwnersFrame : kOwnersFrame);
}

void RightOpenFundDetailPanel::clearView() {
    m_stocksView->clearView();
    m_sharesView->clearView();
    m_ownersView->clearView();
}
