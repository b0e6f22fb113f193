#pragma once

#include "Module/Market/DefaultColumn.h"
#include "Module/Market/MarketTableBaseView.h"

#include <array>
#include <string>

// A paged list under the five-cell mini-trend header: it keeps the field the list is ranked by and
// the fields the header's value cells show, and answers the header's sort and field choices. The
// stock, board and board-member lists share it.
class RankedMarketListView : public MarketTableBaseView, public DefaultColumnDelegate {
public:
    using MarketTableBaseView::MarketTableBaseView;

    // A sort cell tapped: rank by its field in the given direction.
    base::Opt<void> ReturnUpdownTag(int upDown, int classID, int headerID) override;
    // A field picked for value cell 2 to 4: show it there and rank by it, descending.
    base::Opt<void> ReturnSelectedFieldName(const std::string &name, int classID, int headerID) override;

    int16_t iCurrentRankFeild() const { return m_iCurrentRankFeild; }
    const std::array<int32_t, 3> &RankFields() const { return m_rankFields; }

protected:
    int16_t m_iCurrentRankFeild = -1;
    std::array<int32_t, 3> m_rankFields{21, 2, 20};
};
