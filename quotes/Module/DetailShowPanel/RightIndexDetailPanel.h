#pragma once

#include "Module/CommonControls/TableView/IndexGXView.h"
#include "Module/CommonControls/TableView/StockDDDetailView.h"
#include "Module/DetailShowPanel/ValuePanelView.h"

#include <string>
#include <vector>

// The right-hand panel of a Shanghai or Shenzhen index or of a board: an eight-field grid over
// either the members' contributions and the members' big orders, or, for a board opened from the
// board list, the board's member list. The screen makes itself the delegate of the three lists, so
// that their row taps reach it.
class RightIndexDetailPanel : public ui::View {
public:
    static const std::vector<std::string> &FieldCaptions();
    static constexpr float GridHeight = 90, BigOrderGap = 22;

    explicit RightIndexDetailPanel(gfx::Rect frame);
    void setUp() override;

    // Board mode shows the member list, the other mode the contribution and big-order lists.
    void resetPanel(bool boardMode);
    void clearView();

    ValuePanelView &valuePanelView() { return *m_valuePanelView; }
    IndexGXView &indexGXView() { return *m_indexGXView; }
    IndexDDDetailView &indexDDDetailView() { return *m_indexDDDetailView; }
    BoardIndexStocksView &boardStocksView() { return *m_boardStocksView; }

private:
    base::Ref<ValuePanelView> m_valuePanelView;
    base::Ref<IndexGXView> m_indexGXView;
    base::Ref<IndexDDDetailView> m_indexDDDetailView;
    base::Ref<BoardIndexStocksView> m_boardStocksView;
};
