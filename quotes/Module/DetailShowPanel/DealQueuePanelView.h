#pragma once

#include "ui/Label.h"
#include "ui/View.h"

#include <string>
#include <vector>

// The level-2 order queues at the best price of each side, under the detail screen's intraday
// chart: on the left the orders waiting at the best ask ("委卖", "卖一"), on the right those at the
// best bid ("委买", "买一"). Each side has a header (price, volume at that price, number of orders,
// average lots per order) over 5 rows of 10 cells, one per queued order, showing its size.
//
// The panel keeps no data: every value is in a label found again by its tag, base + 0 to base + 49
// for the cells and base + 61 to base + 64 for the header values, with base 2300 for the sell side
// and 2400 for the buy side. The detail screen feeds it from every deal-queue reply.
class DealQueuePanelView : public ui::View {
public:
    static constexpr int SellBeginTag = 2300, BuyBeginTag = 2400;
    static constexpr int CellCount = 50, CellsPerRow = 10, RowCount = 5;
    static constexpr int PriceTag = 61, VolumeTag = 62, NumTag = 63, PerNumTag = 64;
    static constexpr float HeaderHeight = 23;

    explicit DealQueuePanelView(gfx::Rect frame);

    // One side: the queue's texts (the first 50 shown, the cells beyond blanked), the best price
    // scaled by 10^dig, the volume at it, the number of orders and the average lots per order.
    void UpdateQueueData(const std::vector<std::string> &queue, int beginTag, int value, int vol, int num,
                         float perNum, int dig);
    // Both sides empty: "--" for price and volume, "0笔", "0.0手/笔", no cells.
    void clearView();

    // The label of a side's tag, or null.
    ui::Label *labelWithTag(int tag);

private:
    void buildSide(gfx::Rect rect, int beginTag);
};
