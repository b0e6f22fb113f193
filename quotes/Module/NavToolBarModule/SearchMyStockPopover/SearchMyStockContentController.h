#pragma once

#include "Module/NavToolBarModule/SearchMyStockPopover/SearchBarTitleView.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/SearchRecentTableView.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/SearchResultTableView.h"

#include "DataBase/NetData/NetDataCenter.h"
#include "base/Value.h"
#include "ui/ViewController.h"

#include <string>
#include <vector>

// The screen that owns a search field and opens what the search popover picks.
class SearchMyStockContentControllerDelegate {
public:
    virtual ~SearchMyStockContentControllerDelegate() = default;
    virtual base::Opt<void> ReturnSelectedStock(const std::string &name, const std::string &code) {
        (void)name, (void)code;
        return base::notImplemented;
    }
};

// The content of the stock search popover, the root of a navigation controller inside it. While the
// search field is empty it lists the recently picked securities; with text it searches the market
// code library by code and pinyin initials and shows the best 20 matches, quoted after a pause in
// typing, each with a button that adds it to the watch-list group chosen in the title bar. A pick
// goes to the delegate (the screen owning the field).
//
// The search is StockSearchRule with the navigation settings: the text trimmed, the best 20.
//
// Quotes: 1.0 s after the last search (typing faster sends nothing) the first 8 results are asked
// for with tag 1; when the result list stops scrolling, the rows in view without a quote with tag 2.
class SearchMyStockContentController : public ui::ViewController,
                                       public DataPoolDelegate,
                                       public SearchBarTitleViewDelegate,
                                       public SearchRecentTableViewDelegate,
                                       public SearchResultTableViewDelegate {
public:
    static constexpr gfx::Size kContentSize{400, 280};
    static constexpr float kTitleBarHeight = 44;
    static constexpr const char *kInitialTitle = "请输入代码或简拼";
    static constexpr const char *kRecentTitle = "请输入股票代码或简拼";
    static constexpr size_t kFirstScreenCount = 8;
    static constexpr double kQuoteDelay = 1.0;
    static constexpr int kFirstScreenTag = 1, kVisibleRowsTag = 2;
    static constexpr int32_t kQuoteReplyType = 2955;

    void viewDidLoad() override;
    // The views went with the screen's view after a memory warning: the next load builds them
    // again, so none of the old ones may stay behind (a result list in no view, a second title bar).
    void viewDidUnload() override;

    // Re-reads the watch-list groups into the title bar, whose picker then makes its group current.
    void ReloadSearchData();
    void SetCurrentWithRecentViewed();
    void SetCurrentWithResultViewed(const std::string &text);
    // Fills the results for the text.
    void getSearchResult(const std::string &text);

    void delayReqFirstScreenQuotes();
    void reqFirstScreenQuotes();
    void reqQuotes(const std::vector<std::string> &codes, int tag = kVisibleRowsTag);
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;

    base::Opt<void> ReturnSelectedModelName(const std::string &name, const std::string &fileName) override;
    base::Opt<void> ReturnStockName(const std::string &name, const std::string &code) override;
    base::Opt<void> ReturnStockToSave(const std::string &name, const std::string &code) override;

    bool isShowingResults() const { return m_showingResults; }
    const base::Array &searchResultArray() const { return _searchResultArray; }
    const std::string &currentModel() const { return m_currentModel; }
    const std::string &currentModelFileName() const { return m_currentModelFileName; }
    SearchBarTitleView *searchBarTitleView() const { return m_searchBarTitleView.get(); }
    SearchRecentTableView *searchRecentTable() const { return m_searchRecentTable.get(); }
    SearchResultTableView *searchResultTable() const { return m_searchResultTable.get(); }

    base::Weak<SearchMyStockContentControllerDelegate> delegate;

private:
    void initData();
    void initUI();
    // The title bar sits on the bar of the navigation controller around this screen.
    void placeTitleBar();

    base::Array m_myStockModelArray;
    base::Ref<SearchBarTitleView> m_searchBarTitleView;
    base::Ref<SearchRecentTableView> m_searchRecentTable;
    base::Ref<SearchResultTableView> m_searchResultTable;
    std::string m_currentModel, m_currentModelFileName;
    base::Array _searchResultArray;
    base::Ref<StockQuoteList> _quotesList = base::make<StockQuoteList>();
    bool m_showingResults = false;
};
