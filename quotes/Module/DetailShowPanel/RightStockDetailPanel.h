#pragma once

#include "Components/CMSlideMenuView.h"
#include "Module/CommonControls/TableView/StockDDDetailView.h"
#include "Module/CommonControls/TableView/StrikeDetailView.h"
#include "Module/DetailShowPanel/BuySellPanelView.h"
#include "Module/DetailShowPanel/ElementBoardView.h"
#include "Module/DetailShowPanel/StockDetailFullScreenView.h"
#include "Module/DetailShowPanel/TigerSubDetailView.h"
#include "Module/DetailShowPanel/ValuePanelView.h"

#include <string>
#include <vector>

// Hears which board or board member the user picked in the stock panel.
class RightStockDetailPanelDelegate {
public:
    virtual ~RightStockDetailPanelDelegate() = default;
    virtual base::Opt<void> ReturnTlineStock(const std::string &code, const std::string &name) {
        (void)code, (void)name;
        return base::notImplemented;
    }
};

// The right-hand panel of a Shanghai or Shenzhen security (not an index or future): two tab
// strips, each showing one of three pages. Above: "买卖" the ten-level order book, "龙虎盘" the
// order-size ring and "板块" the stock's boards; below: "分笔" the ticks, "大单" the big orders and
// "盘口" the sixteen-field grid. Both start on their first tab. It requests nothing: the screen
// pushes every reply into the pages, shown or not. A board's trend button or a board member is
// passed on to the delegate, which shows it in the pop-up window. A double tap on the ticks opens
// the full-screen tick pager, which the screen feeds while it is open.
class RightStockDetailPanel : public ui::View,
                              public CMSlideMenuViewDelegate,
                              public ElementBoardViewDelegate,
                              public TableViewBaseViewDelegate,
                              public StockDetailFullScreenViewDelegate {
public:
    static const std::vector<std::string> &FieldCaptions();
    static constexpr float StripHeight = 30, BookHeight = 355;

    explicit RightStockDetailPanel(gfx::Rect frame);
    void setUp() override;

    // A tab of either strip; any other sender is ignored.
    base::Opt<void> ReturnSelectedIndex(int index, CMSlideMenuView &sender) override;
    // Empties the order book and the tables and puts "--" in the grid.
    void clearView();
    base::Opt<void> ReturnTlineStock(const std::string &code, const std::string &name) override;
    base::Opt<void> ZoomInAction(TableBaseView &table) override;
    base::Opt<void> ReturnStrikeFullScreenViewDismiss() override;
    // The open tick pager, or null.
    base::Ref<StockDetailFullScreenView> strikeFullScreenView() const {
        return m_strikeFullScreenView.lock();
    }

    CMSlideMenuView &slideMenuViewTop() { return *m_slideMenuViewTop; }
    CMSlideMenuView &slideMenuViewBelow() { return *m_slideMenuViewBelow; }
    BuySellPanelView &buySellPanelView() { return *m_buySellPanelView; }
    TigerSubDetailView &tigerSubDetailView() { return *m_tigerSubDetailView; }
    ElementBoardView &elementBoardView() { return *m_elementBoardView; }
    StrikeDetailView &strikeDetailView() { return *m_strikeDetailView; }
    StockDDDetailView &stockDDDetailView() { return *m_stockDDDetailView; }
    ValuePanelView &valuePanelView() { return *m_valuePanelView; }

    // The owning screen, not retained.
    base::Weak<base::Object> parentTarget;
    base::Weak<RightStockDetailPanelDelegate> delegate;

private:
    base::Ref<CMSlideMenuView> m_slideMenuViewTop, m_slideMenuViewBelow;
    base::Ref<BuySellPanelView> m_buySellPanelView;
    base::Ref<TigerSubDetailView> m_tigerSubDetailView;
    base::Ref<ElementBoardView> m_elementBoardView;
    base::Ref<StrikeDetailView> m_strikeDetailView;
    base::Ref<StockDDDetailView> m_stockDDDetailView;
    base::Ref<ValuePanelView> m_valuePanelView;
    base::Weak<StockDetailFullScreenView> m_strikeFullScreenView;
};

// A tab strip of the right-hand panels: "title_bg.png" behind, "title_btn_bg.png" under the chosen
// tab, the first tab chosen.
base::Ref<CMSlideMenuView> MakeRightPanelStrip(gfx::Rect frame, const std::vector<std::string> &titles,
                                               float itemWidth);
