#include "Module/NavToolBarModule/SearchMyStockPopover/SearchMyStockContentController.h"

#include "Module/NavToolBarModule/SearchMyStockPopover/StockSearchRule.h"

#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/RunLoop.h"
#include "ui/NavigationController.h"

#include <algorithm>

namespace {

const base::Ref<NetDataCenter> &quoteLayer() {
    return DataBase::sharedDataBase()->IO_NetDataCenter();
}

} // namespace

void SearchMyStockContentController::viewDidLoad() {
    setContentSizeInPopover(kContentSize);
    initData();
    initUI();
}

void SearchMyStockContentController::viewDidUnload() {
    ui::ViewController::viewDidUnload();
    if (m_searchBarTitleView)
        m_searchBarTitleView->removeFromSuperview();
    m_searchBarTitleView.reset();
    m_searchRecentTable.reset();
    m_searchResultTable.reset();
}

void SearchMyStockContentController::initData() {
    m_myStockModelArray = DataManager::sharedDataManager().GetCurrentModelsArray();
    base::Value first = m_myStockModelArray.at(0);
    m_currentModel = first["ModelName"].stringValue();
    m_currentModelFileName = first["ModelFileName"].stringValue();
}

void SearchMyStockContentController::initUI() {
    m_searchBarTitleView = base::make<SearchBarTitleView>(gfx::Rect{0, 0, kContentSize.w, kTitleBarHeight});
    m_searchBarTitleView->setHidden(true);
    m_searchBarTitleView->delegate = weakSelf<SearchMyStockContentController>();
    placeTitleBar();
    m_searchBarTitleView->SetPickerDataArray(m_myStockModelArray);
    setTitle(kInitialTitle);

    m_searchRecentTable = base::make<SearchRecentTableView>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    m_searchRecentTable->delegate = weakSelf<SearchMyStockContentController>();
    m_searchRecentTable->SetTableDataArray(DataManager::sharedDataManager().GetLatestRecentViewed());
    view().addSubview(m_searchRecentTable);
}

void SearchMyStockContentController::placeTitleBar() {
    if (ui::NavigationController *nav = navigationController())
        nav->navigationBar().addSubview(m_searchBarTitleView);
}

void SearchMyStockContentController::ReloadSearchData() {
    view();
    m_myStockModelArray = DataManager::sharedDataManager().GetCurrentModelsArray();
    m_searchBarTitleView->SetPickerDataArray(m_myStockModelArray);
}

void SearchMyStockContentController::SetCurrentWithRecentViewed() {
    view();
    m_showingResults = false;
    setTitle(kRecentTitle);
    m_searchBarTitleView->setHidden(true);
    m_searchRecentTable->SetTableDataArray(DataManager::sharedDataManager().GetLatestRecentViewed());
    view().bringSubviewToFront(m_searchRecentTable.get());
}

void SearchMyStockContentController::SetCurrentWithResultViewed(const std::string &text) {
    view();
    m_showingResults = true;
    if (!m_searchResultTable) {
        m_searchResultTable =
            base::make<SearchResultTableView>(gfx::Rect{0, 0, view().bounds().width(), kContentSize.h});
        m_searchResultTable->delegate = weakSelf<SearchMyStockContentController>();
        m_searchResultTable->parentController = weakSelf<SearchMyStockContentController>();
        view().addSubview(m_searchResultTable);
    }
    if (!m_searchBarTitleView->superview())
        placeTitleBar();
    m_searchBarTitleView->setHidden(false);
    setTitle("");
    view().bringSubviewToFront(m_searchResultTable.get());
    getSearchResult(text);
    m_searchResultTable->SetTableDataArray(_searchResultArray, m_currentModelFileName);
    delayReqFirstScreenQuotes();
}

void SearchMyStockContentController::getSearchResult(const std::string &text) {
    _searchResultArray = StockSearchRule::search(text, StockSearchRule::NavigationSearch);
}

void SearchMyStockContentController::delayReqFirstScreenQuotes() {
    base::RunLoop &loop = base::RunLoop::main();
    loop.cancelPerforms(this, "reqFirstScreenQuotes");
    base::Weak<SearchMyStockContentController> weak = weakSelf<SearchMyStockContentController>();
    loop.performAfter(kQuoteDelay, base::Action(weak, "reqFirstScreenQuotes", [weak](base::Object *) {
                          if (auto self = weak.lock())
                              self->reqFirstScreenQuotes();
                      }));
}

void SearchMyStockContentController::reqFirstScreenQuotes() {
    std::vector<std::string> codes;
    for (size_t i = 0; i < _searchResultArray.size() && i < kFirstScreenCount; ++i)
        codes.push_back(_searchResultArray.at(i)["code"].stringValue());
    reqQuotes(codes, kFirstScreenTag);
}

void SearchMyStockContentController::reqQuotes(const std::vector<std::string> &codes, int tag) {
    const base::Ref<NetDataCenter> &layer = quoteLayer();
    if (codes.empty() || !layer)
        return;
    base::Ref<DataPoolDelegate> requester = self<SearchMyStockContentController>();
    layer->RequestPauseList(requester, 0, codes, _quotesList, tag);
}

void SearchMyStockContentController::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &) {
    if (reqType == kQuoteReplyType && m_searchResultTable)
        m_searchResultTable->UpdateQuotes(_quotesList->items);
}

base::Opt<void> SearchMyStockContentController::ReturnSelectedModelName(const std::string &name,
                                                                        const std::string &fileName) {
    m_currentModel = name;
    m_currentModelFileName = fileName;
    if (m_searchResultTable)
        m_searchResultTable->SetTableDataArray(m_searchResultTable->entries(), fileName);
    return {};
}

base::Opt<void> SearchMyStockContentController::ReturnStockName(const std::string &name,
                                                                const std::string &code) {
    if (auto d = delegate.lock())
        d->ReturnSelectedStock(name, code);
    return {};
}

base::Opt<void> SearchMyStockContentController::ReturnStockToSave(const std::string &name,
                                                                  const std::string &code) {
    DataManager::sharedDataManager().AddNewStockToModel(m_currentModel, m_currentModelFileName, name, code);
    return {};
}
