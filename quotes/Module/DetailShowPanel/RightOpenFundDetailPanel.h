#pragma once

#include "Module/CommonControls/TableView/OpenFundStocksView.h"
#include "ui/ScrollView.h"

// The right-hand panel of an open-end fund: its holdings, shares and holders tables stacked in a
// scroll view 330 wide, so that the 320-wide tables scroll sideways in the 256-wide column. A
// money-market fund (type 5) has no holdings: its shares and holders tables move up to y 0 and 150.
// The screen feeds the tables from its fund replies.
class RightOpenFundDetailPanel : public ui::View {
public:
    static constexpr int MoneyMarketType = 5;
    static constexpr float ContentWidth = 330, TableWidth = 320;

    explicit RightOpenFundDetailPanel(gfx::Rect frame);
    void setUp() override;

    // The fund's type from its basic record; the screen calls it whenever it shows this panel.
    void resetPanel(int type);
    void clearView();

    OpenFundStocksView &stocksView() { return *m_stocksView; }
    OpenFundSharesView &sharesView() { return *m_sharesView; }
    OpenFundOwnersView &ownersView() { return *m_ownersView; }
    ui::ScrollView &scrollView() { return *m_scrollView; }

private:
    base::Ref<ui::ScrollView> m_scrollView;
    base::Ref<OpenFundStocksView> m_stocksView;
    base::Ref<OpenFundSharesView> m_sharesView;
    base::Ref<OpenFundOwnersView> m_ownersView;
};
