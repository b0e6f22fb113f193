#include "NewsBusFixture.h"

#include "Golden.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/NewsViewController/NewsArticlePage.h"
#include "Module/NewsViewController/NewsViewController.h"

#include "host/Offscreen.h"
#include "ui/NavigationController.h"

#include <gtest/gtest.h>

namespace newsbus {
namespace {

// The news screen in a navigation controller in the offscreen window, against nginx serving our
// news documents. Every list and article address the screen asks for is noted.
class NewsScreenTest : public NewsBusTest {
protected:
    NewsScreenTest() {
        base::NotificationCenter::shared().addObserver(
            observer, DLDataManagement::MsgCenterNotify, [this](const base::Notification &n) {
                const base::Value req = n.userInfo.get(DLMsgData::ReqData);
                std::string address =
                    req[Interface::NewsListUrl].stringValue() + req[Interface::NewsContentUrl].stringValue();
                asked.push_back(address.empty() ? "columns" : shortly(address));
            });
        base::Weak<NewsViewController> shown = screen;
        driver.watch([shown] {
            auto s = shown.lock();
            return !s || !s->isViewLoaded() || !s->newsContentView()->isLoading();
        });
    }
    ~NewsScreenTest() override {
        runUntilIdle();
        app.window().setRootViewController(nullptr);
    }

    using Interface = QVNNewsDataInterface;

    void show() {
        nav = base::make<ui::NavigationController>(screen);
        app.window().setRootViewController(nav);
        runUntilIdle();
    }
    // An address without this server's part.
    std::string shortly(const std::string &address) const {
        std::string host = url("");
        return address.rfind(host, 0) == 0 ? address.substr(host.size()) : address;
    }
    void tap(ui::View &view, gfx::Rect area) {
        gfx::Rect shown = view.convert(area, nullptr);
        app.tap({shown.midX(), shown.midY()});
        runUntilIdle();
    }
    void tapRow(int row) {
        PullingRefreshTableView &table = screen->newsListView()->listView();
        table.scrollToRow({0, row}, ui::ScrollPosition::Top, false);
        tap(table, table.rectForRow({0, row}));
    }
    void tapColumn(size_t index) {
        ui::Button &button = *screen->newsColumnsView()->buttons().at(index);
        tap(button, button.bounds());
    }
    std::vector<std::string> titles() {
        std::vector<std::string> out;
        for (const auto &item : screen->newsListView()->newsListInfo().items())
            out.push_back(item->title.value_or(""));
        return out;
    }
    std::vector<std::string> since(size_t from) const {
        return std::vector<std::string>(asked.begin() + long(std::min(from, asked.size())), asked.end());
    }

    host::TestApp app{&sharedClock()};
    base::Ref<base::Object> observer = base::make<base::Object>();
    std::vector<std::string> asked;
    base::Ref<NewsViewController> screen = base::make<NewsViewController>();
    base::Ref<ui::NavigationController> nav;
};

TEST_F(NewsScreenTest, ColumnsThenTheFirstListThenItsFirstArticle) {
    show();
    EXPECT_EQ(screen->newsColumnsView()->frame(), (gfx::Rect{0, 0, 1024, 52}));
    EXPECT_EQ(screen->newsListView()->frame(), (gfx::Rect{0, 48, 310, 592}));
    EXPECT_EQ(screen->newsContentView()->frame(), (gfx::Rect{310, 48, 714, 592}));
    gfx::Rect spinner = screen->activityIndicator()->frame();
    EXPECT_EQ(spinner.midX(), 512);
    EXPECT_EQ(spinner.midY(), 330);

    EXPECT_EQ(asked, (std::vector<std::string>{"columns", "/wap/news/list/yaowen/index.json",
                                               "/wap/news/article/yaowen_0.json"}));
    ASSERT_EQ(screen->newsColumnsView()->buttons().size(), 5u);
    EXPECT_TRUE(screen->newsColumnsView()->buttons()[0]->isSelected());
    EXPECT_EQ(titles().size(), 4u);
    EXPECT_EQ(screen->newsListView()->listView().selectedRow(), (ui::IndexPath{0, 0}));
    EXPECT_TRUE(screen->activityIndicator()->isHidden());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "news/columns-list-article"));

    size_t before = asked.size();
    tapRow(0);
    EXPECT_TRUE(since(before).empty()) << "the shown row asks nothing";
    tapRow(2);
    EXPECT_EQ(since(before), std::vector<std::string>{"/wap/news/article/yaowen_2.json"});
}

TEST_F(NewsScreenTest, PullsReplaceAndAppendUntilTheEnd) {
    show();
    NewsListView &list = *screen->newsListView();
    PullingRefreshTableView &table = list.listView();
    list.pullingTableViewDidStartLoading(table);
    runUntilIdle();
    EXPECT_EQ(titles().size(), 8u);
    EXPECT_FALSE(list.isLoadEnd()) << "page 2 names page 3 as next and last: armed, not ended";
    list.pullingTableViewDidStartLoading(table);
    runUntilIdle();
    EXPECT_EQ(titles().size(), 10u);
    EXPECT_TRUE(list.isLoadEnd());
    EXPECT_TRUE(table.reachedTheEnd()) << "no pulling up after the last page";
    EXPECT_EQ(table.selectedRow(), (ui::IndexPath{0, 0})) << "appending keeps the shown row selected";
    table.scrollToRow({0, 9}, ui::ScrollPosition::Bottom, false);
    runUntilIdle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "news/list-end"));

    size_t before = asked.size();
    list.pullingTableViewDidStartRefreshing(table);
    runUntilIdle();
    EXPECT_EQ(since(before), (std::vector<std::string>{"/wap/news/list/yaowen/index.json",
                                                       "/wap/news/article/yaowen_0.json"}));
    EXPECT_EQ(titles().size(), 4u) << "pulling down replaces the list with its first page";
    EXPECT_FALSE(list.isLoadEnd());
    EXPECT_FALSE(table.reachedTheEnd());
}

TEST_F(NewsScreenTest, ColumnTapsReloadFromTheFirstPage) {
    show();
    // 市场 and 行业 share a directory; each tap starts its list afresh.
    tapColumn(2);
    EXPECT_EQ(titles().front(), "早盘：两市小幅高开，题材股活跃");
    tapColumn(3);
    EXPECT_EQ(titles().size(), 4u);
    EXPECT_EQ(titles().front(), "水泥行业：需求回暖，价格企稳");
    screen->newsListView()->pullingTableViewDidStartLoading(screen->newsListView()->listView());
    runUntilIdle();
    tapColumn(3);
    EXPECT_EQ(titles().size(), 4u) << "a re-tapped column holds no entry twice";
    EXPECT_TRUE(screen->newsColumnsView()->buttons()[3]->isSelected());
    EXPECT_FALSE(screen->newsColumnsView()->buttons()[2]->isSelected());

    size_t before = asked.size();
    tapColumn(4);
    EXPECT_TRUE(since(before).empty()) << "a column address without \"/\" asks nothing";
    EXPECT_EQ(titles().size(), 4u);
    tapRow(1);
    EXPECT_EQ(since(before), std::vector<std::string>{"/wap/news/article/hangye_1.json"});
}

TEST_F(NewsScreenTest, EmptyPagesFailuresAndUnreadableArticlesKeepTheArticle) {
    show();
    std::optional<base::Url> shown = screen->newsContentView()->currentUrl();
    size_t before = asked.size();
    ASSERT_TRUE(screen->openColumnList(url("/wap/news/list/edge/header_only.json")));
    runUntilIdle();
    EXPECT_TRUE(titles().empty());
    EXPECT_EQ(since(before), std::vector<std::string>{"/wap/news/list/edge/header_only.json"});
    ASSERT_TRUE(screen->refreshNewsContentWithUrl(url("/wap/news/bad/notjson.json")));
    runUntilIdle();
    ASSERT_TRUE(screen->refreshNewsContentWithUrl(url("/wap/news/article/none.json")));
    runUntilIdle();
    EXPECT_EQ(screen->newsContentView()->currentUrl(), shown);
    EXPECT_TRUE(screen->activityIndicator()->isHidden());
    ASSERT_TRUE(screen->openColumnList(url("/wap/news/list/none.json")));
    runUntilIdle();
    EXPECT_TRUE(screen->activityIndicator()->isHidden());
    EXPECT_TRUE(screen->newsListView()->listView().userInteractionEnabled);
}

TEST_F(NewsScreenTest, AFailedColumnListIsAskedAgainWhenTheTabReturns) {
    qvtest::ScratchBundle::writeServerConfig({{"NewsServer", url("/missing")}});
    show();
    EXPECT_EQ(asked, std::vector<std::string>{"columns"});
    EXPECT_TRUE(screen->activityIndicator()->isHidden());
    EXPECT_FALSE(screen->activityIndicator()->isAnimating());
    EXPECT_TRUE(screen->newsColumnsView()->buttons().empty());

    qvtest::ScratchBundle::writeServerConfig({{"NewsServer", url("")}});
    screen->viewWillAppear(false);
    runUntilIdle();
    EXPECT_EQ(screen->newsColumnsView()->buttons().size(), 5u);
    EXPECT_EQ(titles().size(), 4u);
    size_t before = asked.size();
    screen->viewWillAppear(false);
    runUntilIdle();
    EXPECT_TRUE(since(before).empty()) << "columns that came are not asked again";
}

TEST_F(NewsScreenTest, SecurityLinksOpenTheDetailScreenOthersLoadInPlace) {
    show();
    auto linkTo = [&](const std::string &end) {
        for (const ui::WebView::Link &link : screen->newsContentView()->links())
            if (link.url.absoluteString().ends_with(end))
                return std::optional<ui::WebView::Link>(link);
        return std::optional<ui::WebView::Link>();
    };
    std::optional<ui::WebView::Link> stock = linkTo("@stock=SH600000"), bare = linkTo("@stock"),
                                     plain = linkTo("guide.html");
    ASSERT_TRUE(stock && bare && plain);

    tap(*screen->newsContentView(), bare->frame);
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_FALSE(screen->newsContentView()->currentUrl()->absoluteString().ends_with("@stock"));

    tap(*screen->newsContentView(), stock->frame);
    ASSERT_EQ(nav->viewControllers().size(), 2u);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->viewControllers().back().get());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "SH600000");
    nav->pop(false);
    runUntilIdle();

    tap(*screen->newsContentView(), plain->frame);
    EXPECT_EQ(screen->newsContentView()->currentUrl()->absoluteString(), url("/wap/news/pages/guide.html"));
}

TEST(NewsArticlePageTest, OnlyTheLastPathComponentMakesASecurityLink) {
    struct Case {
        const char *address;
        bool load;
        std::optional<std::string> code;
    } cases[] = {
        {"http://h/wap/news/link/@stock=SH600000", false, "SH600000"},
        {"http://h/wap/news/link/@stock=SZ000001=x", false, "SZ000001"},
        {"http://h/wap/news/link/@stock", false, std::nullopt},
        {"http://h/wap/news/link/@stock=", false, std::nullopt},
        {"http://h/wap/@stock=SH600000/guide.html", true, std::nullopt},
        {"http://h/wap/news/pages/guide.html", true, std::nullopt},
    };
    for (const Case &c : cases) {
        NewsArticlePage::TouchedLink link = NewsArticlePage::touchedLink(*base::Url::parse(c.address));
        EXPECT_EQ(link.load, c.load) << c.address;
        EXPECT_EQ(link.stockCode, c.code) << c.address;
    }
}

TEST_F(NewsScreenTest, TitlesShowAsWrittenAndTheTemplateFillsOnce) {
    EXPECT_EQ(NewsArticlePage::escape(R"(<b>a</b> & "x" 'y')"),
              "&lt;b&gt;a&lt;/b&gt; &amp; &quot;x&quot; &#39;y&#39;");
    EXPECT_EQ(NewsArticlePage::fill("[%@|%@|%@]", {"%@", "b"}), "[%@|b|]");
    show();
    ASSERT_TRUE(screen->refreshNewsContentWithUrl(url("/wap/news/article/escape.json")));
    runUntilIdle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "news/escaped-title"));
}

} // namespace
} // namespace newsbus
