#pragma once

#include "CoordinatorFixture.h"

#include "Module/FrontPage/FrontPageViewController.h"

#include "peers/NginxPeer.h"
#include "ui/NavigationController.h"
#include "ui/TabBarController.h"

#include <string>
#include <vector>

namespace frontpage {

// A finished login on the loopback quote server (the standard market) as the process-wide
// coordinator, with nginx as the news host serving the analysis pages and the headline page; fresh
// user files with the home page's help overlay already seen (unless a test says otherwise); the
// home screen under a navigation controller in a tab-bar controller whose second tab is a
// news screen, in the offscreen window (shown by `show`).
class FrontPageTest : public coordinator::CoordinatorTest {
protected:
    FrontPageTest();
    ~FrontPageTest() override;

    void show();
    void chooseTab(int tag);
    // Runs the loop until the panel's browser has stopped loading; a real-time bound turns a hang
    // into a failure (nginx answers on its own time).
    bool waitForPage(WebTabView &tab);
    // The address the browser shows, or "".
    static std::string shownAddress(WebTabView &tab);
    // The key requests (2972) and pool requests (2950, their ids) received since forgetRequests.
    size_t keyRequests();
    std::vector<int> poolRequests();
    void forgetRequests();

    static gfx::Point centre(const ui::View &view);
    void tapView(const ui::View &view) { app.tap(centre(view)); }
    std::string newsUrl(const std::string &path) const;

    static peers::NginxPeer &nginx();

    base::Ref<FrontPageViewController> screen = base::make<FrontPageViewController>();
    base::Ref<ui::NavigationController> nav;
    base::Ref<ui::TabBarController> tabs;
    bool helpSeen = true;

private:
    std::string configPath_;
    base::Value shippedConfig_;
    size_t keysSeen_ = 0, poolsSeen_ = 0;
};

} // namespace frontpage
