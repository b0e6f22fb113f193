#include "Module/NavToolBarModule/SearchMyStockPopover/SearchMyStockContentController.h"

void SearchMyStockContentController::viewDidLoad() {
    setContentSizeInPopover(kContentSize);
}

void SearchMyStockContentController::ReloadSearchData() {}

void SearchMyStockContentController::SetCurrentWithRecentViewed() {
    m_showingResults = false;
}

void SearchMyStockContentController::SetCurrentWithResultViewed(const std::string &text) {
    m_showingResults = true;
    m_searchText = text;
}
