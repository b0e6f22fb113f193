#pragma once

#include "CoordinatorFixture.h"

#include "Components/CMViewController.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/SearchMyStockContentController.h"

#include "ui/NavigationController.h"

#include <string>
#include <vector>

namespace navtoolbar {

// A top-level screen with the market screens' bar: settings, trade, breaking news and search.
struct MarketScreen : CMViewController {
    void viewDidLoad() override {
        SetNavigationWithShowSettings(true, false, true);
        SetNavigationWithShowBreakingNews(true);
        SetNavigationWithSearchBar();
    }
};

// The quote connection of a finished login to the loopback quote server (its code tables loaded)
// as the process-wide one, fresh user files, and a market screen under a navigation controller in
// the offscreen window. The login is without an account unless the test says otherwise.
class NavToolBarTest : public coordinator::CoordinatorTest {
protected:
    NavToolBarTest();
    ~NavToolBarTest() override;
    void SetUp() override;
    virtual bool withAccount() const { return false; }

    // Taps the search field and types the text.
    void typeInSearch(const std::string &text);
    SearchMyStockContentController &search();
    // The codes of the quote lists (2955 by codes) the server received since the last call.
    std::vector<std::vector<std::string>> quotedCodes();
    static gfx::Point centre(ui::View &view);
    // The codes of a result list, in order.
    static std::vector<std::string> codesOf(const base::Array &entries);

    base::Ref<MarketScreen> screen = base::make<MarketScreen>();
    base::Ref<ui::NavigationController> nav;

private:
    size_t quoteRequestsSeen_ = 0;
};

} // namespace navtoolbar
