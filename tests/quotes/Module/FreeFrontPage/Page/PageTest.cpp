#include "Module/FreeFrontPage/FreeFrontPageViewController.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "PanelFixture.h"

#include "Golden.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/NotificationCenter.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/Popover.h"

#include <gtest/gtest.h>

namespace freefront {
namespace {

class PageTest : public PanelTest {
protected:
    PageTest() {
        base::FileManager::remove(documentsFile("UserConfig.plist"));
        DataManager::resetSharedDataManager();
        DataManager::sharedDataManager().initialize();
        base::NotificationCenter::shared().addObserver(
            observer, DataBase::AppNotify, [this](const base::Notification &n) {
                messages.push_back(n.userInfo.get("MSG_ID").stringValue());
            });
    }
    ~PageTest() override {
        for (auto &popover : ui::Popover::visiblePopovers())
            popover->dismiss(false);
        base::NotificationCenter::shared().removeObserver(observer.get());
        app.window().setRootViewController(nullptr);
        nav.reset();
        page.reset();
        settle();
        DataManager::resetSharedDataManager();
    }

    void show() {
        nav = base::make<ui::NavigationController>(page);
        app.window().setRootViewController(nav);
        app.runPending();
        settle();
        app.runPending();
    }
    const base::Ref<TimerCenter> &timer() { return db->IO_TimerCenter(); }
    bool timerIsOurs() {
        return timer()->controller().get() == static_cast<TimerCenterDelegate *>(page.get());
    }
    size_t guides() const { return size_t(std::count(messages.begin(), messages.end(), "Guide_MSG")); }

    base::Ref<FreeFrontPageViewController> page = base::make<FreeFrontPageViewController>();
    base::Ref<ui::NavigationController> nav;
    std::vector<std::string> messages;
};

TEST_F(PageTest, PanelsAreLaidOutForLandscapeFromTheScreen) {
    FreeFrontPageViewController::Layout l = FreeFrontPageViewController::layoutFor({0, 0, 768, 1024});
    EXPECT_EQ(l.fundFlow, (gfx::Rect{0, 0, 744, 260}));
    EXPECT_EQ(l.indexList, (gfx::Rect{0, 260, 235, 394}));
    EXPECT_EQ(l.newsSideBar, (gfx::Rect{745, 0, 279, 638}));
    EXPECT_EQ(l.watchList, (gfx::Rect{240, 260, 500, 374}));
    EXPECT_EQ(l.headlineCentre, (gfx::Point{512, 345}));
    // A landscape screen gives the same.
    EXPECT_EQ(FreeFrontPageViewController::layoutFor({0, 0, 1024, 768}).watchList, l.watchList);

    show();
    ASSERT_TRUE(page->svCapitalSideBarV());
    EXPECT_EQ(page->svCapitalSideBarV()->frame(), l.fundFlow);
    EXPECT_EQ(page->title(), "首页");
    EXPECT_TRUE(page->shouldAutorotateTo(ui::Orientation::LandscapeRight));
    EXPECT_FALSE(page->shouldAutorotateTo(ui::Orientation::Portrait));
}

TEST_F(PageTest, TheFirstLoadAsksForTheGuideOnce) {
    show();
    EXPECT_EQ(guides(), 1u);
    EXPECT_FALSE(DataManager::sharedDataManager().gUserConfigDict.get("IsShowUserGuide").boolValue());
    EXPECT_TRUE(DataManager::sharedDataManager().gUserConfigDict.has("IsShowUserGuide"));

    // The stored value holds for the next start.
    DataManager::resetSharedDataManager();
    DataManager::sharedDataManager().initialize();
    auto again = base::make<FreeFrontPageViewController>();
    again->view();
    EXPECT_EQ(guides(), 1u);
}

TEST_F(PageTest, RefreshesEveryFiveSecondsUnderItsIdOnlyWhileConnected) {
    show();
    EXPECT_TRUE(timerIsOurs());
    EXPECT_EQ(timer()->userID(), 600);
    quotes.clearReceived();
    advance(FreeFrontPageViewController::RefreshPeriod + 0.5);
    // The fund flow's pair, the five indexes and the watch-list rows on show.
    EXPECT_EQ(listRequests().size(), 4u);

    quotes.closeConnection();
    pumpUntil([&] { return !db->isHQConnected(); });
    quotes.clearReceived();
    page->OnTimerCenterNotify(600);
    settle();
    EXPECT_TRUE(listRequests().empty());
}

TEST_F(PageTest, BackAfterMoreThanFiveSecondsRefreshesAtOnce) {
    show();
    struct Case {
        double away;
        size_t requests;
    } cases[] = {{3, 0}, {6, 4}};
    for (const Case &c : cases) {
        nav->push(base::make<ui::ViewController>(), false);
        app.runPending();
        EXPECT_FALSE(timerIsOurs());
        advance(c.away);
        quotes.clearReceived();
        nav->pop(false);
        settle(); // the clock stands: no tick comes
        EXPECT_EQ(listRequests().size(), c.requests) << c.away << " s away";
        EXPECT_TRUE(timerIsOurs());
    }
}

TEST_F(PageTest, TheFundFlowPanelAndItsPicker) {
    show();
    advance(1);
    app.runPending();
    EXPECT_EQ(page->svCapitalSideBarV()->svCapitalChartV().barLooks().size(), 8u);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "freefrontpage/page-day"));

    page->svCapitalSideBarV()->switchSVCycleAction(nullptr);
    app.advance(0.5);
    settle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "freefrontpage/page-cycle-picker"));
}

TEST_F(PageTest, AHeadlineShowsThePopUpOnceOverThePanelsAndItsSecurityLinksOpenTheDetailScreen) {
    show();
    const FreeFrontPageViewController::Layout &l = page->layout();
    ASSERT_TRUE(page->newsSideBarV() && page->newsContentV());
    EXPECT_EQ(page->newsSideBarV()->frame(), l.newsSideBar);
    NewsContentFrontPageView &popup = *page->newsContentV();
    EXPECT_FALSE(popup.superview()) << "made, not shown";

    auto popups = [&] {
        return std::count_if(page->view().subviews().begin(), page->view().subviews().end(),
                             [&](const auto &v) { return v.get() == &popup; });
    };
    for (const char *address : {"http://127.0.0.1:9/a.json", "http://127.0.0.1:9/b.json"}) {
        page->newsSideBarViewItemClick(*page->newsSideBarV(), base::Dict{{"urlKey", address}});
        EXPECT_EQ(popups(), 1);
        EXPECT_EQ(page->view().subviews().back().get(), &popup) << "above the panels";
        EXPECT_EQ(page->view().gestureRecognizers().size(), 2u) << "the pop-up's recognisers, once";
    }
    EXPECT_EQ((gfx::Point{popup.frame().midX(), popup.frame().y() + popup.frame().height() / 2}),
              l.headlineCentre);
    EXPECT_EQ(popup.frame().s, FreeFrontPageViewController::HeadlinePopupSize);

    page->newsContentFrontPageView_didClickStockCode("SH600000");
    app.runPending();
    ASSERT_EQ(nav->viewControllers().size(), 2u);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->viewControllers().back().get());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "SH600000");
    EXPECT_TRUE(detail->checkStocksArray().empty());
    EXPECT_EQ(detail->currentStocksIndex(), 0);
}

TEST_F(PageTest, TheIndexChartAndTheWatchListRowsOpenTheDetailScreen) {
    show();
    EXPECT_EQ(page->indexSidBanner()->frame(), page->layout().indexList);
    EXPECT_EQ(page->mystockListV()->frame(), page->layout().watchList);
    struct Case {
        gfx::Rect rect;
        const ui::View *in;
        const char *code;
        int index;
        size_t rows;
    } cases[] = {{page->indexSidBanner()->rectForRow({0, 0}), page->indexSidBanner(), "SH000001", 0, 5},
                 {page->mystockListV()->tableView().rectForRow({0, 2}), &page->mystockListV()->tableView(),
                  "SH600000", 2, 5}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        app.tap(centre(c.in->convert(c.rect, nullptr)));
        app.advance(1);
        auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
        ASSERT_NE(detail, nullptr);
        EXPECT_EQ(detail->stockCode(), c.code);
        EXPECT_EQ(detail->currentStocksIndex(), c.index);
        EXPECT_EQ(detail->checkStocksArray().size(), c.rows);
        nav->pop(false);
        app.runPending();
        settle();
    }
}

} // namespace
} // namespace freefront
