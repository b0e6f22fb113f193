#include "Module/Market/RankedMarketListView.h"

base::Opt<void> RankedMarketListView::ReturnUpdownTag(int upDown, int classID, int) {
    m_iCurrentRankFeild = int16_t(classID);
    resetQuotesSortId(classID, upDown);
    return {};
}

base::Opt<void> RankedMarketListView::ReturnSelectedFieldName(const std::string &, int classID,
                                                              int headerID) {
    m_iCurrentRankFeild = int16_t(classID);
    if (headerID >= 2 && headerID <= 4)
        m_rankFields[size_t(headerID - 2)] = classID;
    resetQuotesSortId(classID, 0);
    // The rows show the new field even when the sort was already by it.
    m_curTableView->reloadData();
    return {};
}
