#pragma once

#include "CoordinatorFixture.h"

#include "Module/Market/MarketViewController.h"

#include "ui/NavigationController.h"

#include <optional>
#include <string>
#include <vector>

namespace market {

// A page request of a class list as the server received it.
struct ListRequest {
    int classID = 0, sortField = 0, order = 0, start = 0, count = 0;
    bool operator==(const ListRequest &) const = default;
};

// A finished login on a loopback quote server whose A-share list runs to a few hundred stocks, with
// the indexes and boards of the index tab, as the process-wide coordinator; fresh user files and
// process marks; the market screen under a navigation controller in the offscreen window (shown
// by `show`).
class MarketScreenTest : public coordinator::CoordinatorTest {
protected:
    MarketScreenTest();
    ~MarketScreenTest() override;

    // Puts the screen in the window and lets its first requests be answered.
    void show();
    // The class page requests and the by-code requests (their codes) received since forgetRequests.
    std::vector<ListRequest> listRequests();
    std::vector<std::vector<std::string>> codeRequests();
    // The codes whose minutes were asked for since the last call.
    std::vector<std::string> minuteRequests();
    // The tags of the stock list's replies since the last call.
    std::vector<int> stockReplyTags();
    void forgetRequests();

    // Puts the list in place of the bundle's property list of that name (none: removes it) until
    // the test ends.
    void replaceBundleList(const std::string &name, std::optional<base::Value> list);

    static gfx::Point centre(const ui::View &view);
    void tapView(const ui::View &view) { app.tap(centre(view)); }
    // Scrolls the table to the offset and ends the scroll there as a finger lifted at rest would.
    void scrollTo(ui::TableView &table, float y);

    StockModelView &stockList() { return *screen->stockModelView(); }
    IndexModelView &indexList() { return *screen->indexModelView(); }

    base::Ref<MarketViewController> screen = base::make<MarketViewController>();
    base::Ref<ui::NavigationController> nav;

private:
    size_t listSeen_ = 0, minutesSeen_ = 0;
    std::vector<int> stockTags_;
    size_t stockTagsSeen_ = 0;
    base::Ref<base::Object> tagObserver_ = base::make<base::Object>();
    // Bundle entries replaced, and what they linked to.
    std::vector<std::pair<std::string, std::string>> replaced_;
};

} // namespace market
