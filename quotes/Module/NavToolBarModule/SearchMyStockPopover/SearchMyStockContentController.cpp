#include "Module/NavToolBarModule/SearchMyStockPopover/SearchMyStockContentController.h"

#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/RunLoop.h"
#include "ui/NavigationController.h"

#include <algorithm>

namespace {

// Upper case for ASCII letters only: names and other text pass untouched.
std::string asciiUpper(std::string text) {
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

std::string searchKey(const std::string &text) {
    constexpr const char *blanks = " \t\r\n\v\f";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(blanks);
    return asciiUpper(text.substr(first, last - first + 1));
}

// The score of a security for a key without "$": 0 when it does not match.
int score(const std::string &key, const std::string &code, const std::string &pinyin) {
    if (code == key || pinyin == key)
        return 100;
    // An empty key is in every text; it counts only as an exact match.
    if (key.empty())
        return 0;
    size_t at = code.find(key);
    if (at == std::string::npos)
        at = pinyin.find(key);
    return at == std::string::npos ? 0 : 99 - int(at);
}

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
    struct Hit {
        base::Dict entry;
        int order;
    };
    std::string key = searchKey(text);
    bool byFullCode = key.find('$') != std::string::npos;
    std::vector<Hit> hits;
    const base::Ref<NetDataCenter> &layer = quoteLayer();
    for (const base::Value &market : layer ? layer->IO_MktStockCodeLib : base::Array()) {
        std::string title = market["title"].stringValue();
        base::Value stocks = market["Lib"];
        if (!stocks.array())
            continue;
        for (const base::Value &stock : *stocks.array()) {
            if (hits.size() >= kMaxAccepted)
                break;
            std::string code = stock["SCode"].stringValue();
            int order = byFullCode && hits.empty()
                            ? ("$" + title + code == key ? 100 : 0)
                            : score(key, asciiUpper(code), asciiUpper(stock["SPinY"].stringValue()));
            if (order < 1)
                continue;
            hits.push_back({base::Dict{{"market", title},
                                       {"numCode", code},
                                       {"code", title + code},
                                       {"name", stock["SName"].stringValue()},
                                       {"order", order}},
                            order});
        }
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.order > b.order; });
    _searchResultArray = base::Array();
    for (size_t i = 0; i < hits.size() && i < kMaxResults; ++i)
        _searchResultArray.add(hits[i].entry);
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
