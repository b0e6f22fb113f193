#pragma once

#include "Module/CommonControls/TableView/StrikeDetailView.h"
#include "Module/DetailShowPanel/BuySellPanelView.h"
#include "Module/DetailShowPanel/StockDetailFullScreenView.h"
#include "Module/DetailShowPanel/ValuePanelView.h"

#include <string>
#include <vector>

// The right-hand panel of a future: a five-level order book, an eight-field grid (open interest,
// settlement, limits) and the futures tick list, whose double tap opens the tick pager.
class RightProdDetailPanel : public ui::View,
                             public TableViewBaseViewDelegate,
                             public StockDetailFullScreenViewDelegate {
public:
    static const std::vector<std::string> &FieldCaptions();
    static constexpr float BookHeight = 200, GridHeight = 90;

    explicit RightProdDetailPanel(gfx::Rect frame);
    void setUp() override;
    void clearView();
    base::Opt<void> ZoomInAction(TableBaseView &table) override;
    base::Opt<void> ReturnStrikeFullScreenViewDismiss() override;
    // The open tick pager, or null.
    base::Ref<StockDetailFullScreenView> strikeFullScreenView() const {
        return m_strikeFullScreenView.lock();
    }

    BuySellPanelView &buySellPanelView() { return *m_buySellPanelView; }
    ValuePanelView &valuePanelView() { return *m_valuePanelView; }
    FutureStrikeDetailView &futureStrikeDetailView() { return *m_futureStrikeDetailView; }

    // The owning screen, not retained.
    base::Weak<base::Object> parentTarget;

private:
    base::Ref<BuySellPanelView> m_buySellPanelView;
    base::Ref<ValuePanelView> m_valuePanelView;
    base::Ref<FutureStrikeDetailView> m_futureStrikeDetailView;
    base::Weak<StockDetailFullScreenView> m_strikeFullScreenView;
};
