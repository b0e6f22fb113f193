#include "StartupFixture.h"

#include "Golden.h"

#include "DataManagement/DLDataManagement/DLDataManagement.h"
#include "DataManagement/DLDataManagement/DataInterface/QVNNewsDataInterface.h"
#include "DataManagement/DLMsgCenter/DLMsgData.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/FreeFrontPage/FreeFrontPageViewController.h"

#include "ui/NavigationController.h"

#include <gtest/gtest.h>

namespace app {
namespace {

// The application started whole against both servers and our news documents: the free home
// page's headlines and the article pop-up.
class FreeHomeNewsTest : public StartupTest {
protected:
    static constexpr int FreeHomeTab = 5;

    FreeHomeNewsTest() {
        nginx->serveNewsRoot();
        driver.watch([] {
            auto fetcher = DLDataManagement::sharedDLDataManagement()->newsDataManagement();
            return !fetcher || fetcher->pendingRequestCount() == 0;
        });
        driver.watch([this] {
            return !page_ || !page_->newsContentV() || !page_->newsContentV()->webV().isLoading();
        });
    }
    ~FreeHomeNewsTest() override {
        page_ = nullptr;
        shutDown();
        driver.runUntilIdle();
    }

    FreeFrontPageViewController *showPage() {
        writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}, {"IsShowUserGuide", false}});
        launch();
        if (!runUntil([&] { return tabsShown(); }))
            return nullptr;
        tabBar().setSelectedIndex(FreeHomeTab);
        nav_ = dynamic_cast<ui::NavigationController *>(tabBar().selectedController());
        page_ = nav_ ? dynamic_cast<FreeFrontPageViewController *>(nav_->viewControllers().front().get())
                     : nullptr;
        if (page_)
            runUntil([&] { return page_->newsSideBarV()->newsListData().size() == 3; });
        driver.runUntilIdle();
        return page_;
    }
    void tapAt(ui::View &view, gfx::Rect area) {
        gfx::Rect shown = view.convert(area, nullptr);
        host.tap({shown.midX(), shown.midY()});
        driver.runUntilIdle();
    }

    FreeFrontPageViewController *page_ = nullptr;
    ui::NavigationController *nav_ = nullptr;
};

TEST_F(FreeHomeNewsTest, AHeadlineOpensItsArticleWhoseSecurityLinkOpensTheDetailScreen) {
    FreeFrontPageViewController *page = showPage();
    ASSERT_NE(page, nullptr);
    NewsSideBarView &headlines = *page->newsSideBarV();
    ASSERT_EQ(headlines.newsListData().size(), 3u);

    PullingRefreshTableView &list = headlines.newsListV();
    tapAt(list, list.rectForRow({0, 0}));
    NewsContentFrontPageView &popup = *page->newsContentV();
    ASSERT_EQ(popup.superview(), &page->view());
    ASSERT_TRUE(runUntil([&] { return !popup.webV().links().empty(); }));
    driver.runUntilIdle();
    EXPECT_TRUE(qvtest::matchesGolden(screen(), "app/free-home-headline"));

    std::optional<ui::WebView::Link> stock;
    for (const ui::WebView::Link &link : popup.webV().links())
        if (link.url.absoluteString().ends_with("@stock=SH600000"))
            stock = link;
    ASSERT_TRUE(stock);
    tapAt(popup.webV(), stock->frame);
    ASSERT_EQ(nav_->viewControllers().size(), 2u);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav_->viewControllers().back().get());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "SH600000");
}

// The page's 5 s tick reloads the headlines once more than 300 s have passed since they came.
TEST_F(FreeHomeNewsTest, ThePageTickReloadsTheHeadlinesAfterFiveMinutes) {
    ASSERT_NE(showPage(), nullptr);
    size_t asked = 0;
    base::NotificationCenter::shared().addObserver(
        observer, DLDataManagement::MsgCenterNotify, [&](const base::Notification &n) {
            if (n.userInfo.get(DLMsgData::ReqData)[QVNNewsDataInterface::ReqType].intValue() ==
                QVNNewsDataInterface::NewsTopLineArrayType)
                ++asked;
        });
    advance(NewsSideBarView::ReloadAfterSeconds - 10);
    EXPECT_EQ(asked, 0u);
    advance(20);
    EXPECT_EQ(asked, 1u);
    base::NotificationCenter::shared().removeObserver(observer.get(), DLDataManagement::MsgCenterNotify);
}

} // namespace
} // namespace app
