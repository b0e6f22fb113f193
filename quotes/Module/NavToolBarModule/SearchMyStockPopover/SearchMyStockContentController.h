#pragma once

#include "ui/ViewController.h"

#include <string>

// The screen that owns a search field and opens what the search popover picks.
class SearchMyStockContentControllerDelegate {
public:
    virtual ~SearchMyStockContentControllerDelegate() = default;
    virtual base::Opt<void> ReturnSelectedStock(const std::string &name, const std::string &code) {
        (void)name, (void)code;
        return base::notImplemented;
    }
};

// The content of the stock search popover: the recently picked securities while the search field
// is empty, else the securities of the market code library that match the field's text.
class SearchMyStockContentController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{400, 280};

    void viewDidLoad() override;

    // Re-reads the watch-list groups.
    void ReloadSearchData();
    void SetCurrentWithRecentViewed();
    void SetCurrentWithResultViewed(const std::string &text);

    // Whether the result list shows (else the recent list), and the text it was searched for.
    bool isShowingResults() const { return m_showingResults; }
    const std::string &searchText() const { return m_searchText; }

    base::Weak<SearchMyStockContentControllerDelegate> delegate;

private:
    bool m_showingResults = false;
    std::string m_searchText;
};
