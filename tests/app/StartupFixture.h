#pragma once

#include "QVNSolvaneMobileAppDelegate.h"

#include "host/Offscreen.h"
#include "peers/LoopDriver.h"
#include "peers/NginxSuite.h"
#include "peers/QuoteServer.h"

#include <functional>
#include <string>
#include <vector>

namespace app {

// The whole application against the loopback quote server (also its navigation server) and a
// real nginx as the news host, in the offscreen host under the virtual clock. The bundle is the
// application's own, but for a server list naming these servers; the documents directory starts
// empty, so a test runs the first start unless it writes the user configuration first. The loop
// runs until the quote server and the headline fetch are idle, then the clock jumps to the next
// due time: nothing waits on real time.
class StartupTest : public peers::NginxSuite<false, peers::PanelLocation> {
protected:
    static constexpr const char *Headlines =
        R"([{"title":"沪指收复年线","url":"http://127.0.0.1/n/1","otime":"12-07 15:01"},)"
        R"({"title":"券商板块领涨","url":"http://127.0.0.1/n/2"}])";

    StartupTest();
    ~StartupTest() override;

    // The test program's bundle directory.
    static std::string bundleDirectory();
    // Writes the user configuration the next launch reads.
    void writeUserConfig(const base::Dict &config) const;
    base::Dict readUserConfig() const;
    // Builds the window and tab-bar controller and launches the application in `host`.
    void launch();
    // Closes the quote link and lets go of the application, so that launch() can start afresh.
    void shutDown();
    bool runUntil(const std::function<bool()> &done, double seconds = 30) {
        return driver.runUntil(done, seconds);
    }
    void advance(double seconds) { driver.advance(seconds); }
    // Taps the centre of the view, wherever it lies in the window.
    void tap(ui::View &view);
    // The window as rendered for a golden, the status bar's changing parts covered.
    gfx::Surface screen();
    // Covers the status bar's time and activity indicator with grey boxes: they follow the one
    // clock all tests share, so they depend on which tests ran before.
    static void coverStatusBar(gfx::Surface &shown);
    // The application has handed over to the tab-bar controller.
    bool tabsShown() const;
    // Runs until the home screen's page has come from nginx, which answers in real time (10 s at
    // most); false when the first tab is no home screen or the page did not come.
    bool waitForHomePage();
    CMTabBarController &tabBar() { return *delegate->mtabBarController; }
    std::vector<std::string> alertTitles() const;

    // One clock for the whole program: the HTTP client's thread reads the current clock in its
    // passes, so it must outlive every test.
    static base::VirtualClock &sharedClock();

    host::TestApp host{&sharedClock()};
    peers::QuoteServer quotes;
    peers::LoopDriver driver{host.clock()};
    base::Ref<QVNSolvaneMobileAppDelegate> delegate;
    std::vector<int> statuses;
    std::vector<double> statusTimes;
    base::Ref<base::Object> observer = base::make<base::Object>();
};

} // namespace app
