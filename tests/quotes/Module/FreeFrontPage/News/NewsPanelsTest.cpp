#include "NewsBusFixture.h"

#include "Golden.h"
#include "Module/FreeFrontPage/NewsContentFrontPageView.h"
#include "Module/FreeFrontPage/NewsSideBarView.h"

#include "Common/StyleFunc.h"
#include "host/Offscreen.h"
#include "ui/ViewController.h"

#include <ctime>
#include <gtest/gtest.h>

namespace newsbus {
namespace {

// The host of both panels, as the free home page is: it notes the headlines and codes it hears.
struct Host : base::Object, NewsSideBarViewOperation, NewsContentFrontPageViewDelegate {
    std::vector<std::string> urls, codes;
    void newsSideBarViewItemClick(NewsSideBarView &, const base::Dict &userInfo) override {
        urls.push_back(userInfo.get(NewsSideBarView::UrlKey).stringValue());
    }
    base::Opt<void> newsContentFrontPageView_didClickStockCode(const std::string &code) override {
        codes.push_back(code);
        return {};
    }
};

// A screen in the offscreen window against nginx serving our news documents, with the side bar at
// its place on the free home page and the pop-up centred where the page shows it. Every headline
// request is counted.
class NewsPanelsTest : public NewsBusTest {
protected:
    static inline const gfx::Rect SideBarFrame{745, 0, 279, 638};
    static inline const gfx::Rect PopupFrame{212, 145, 600, 400};

    NewsPanelsTest() {
        app.window().setRootViewController(screen);
        screen->view().setBackgroundColor(gfx::Color::rgba(0.02f, 0.11f, 0.16f));
        base::NotificationCenter::shared().addObserver(
            observer, DLDataManagement::MsgCenterNotify, [this](const base::Notification &n) {
                if (n.userInfo.get(DLMsgData::ReqData)[QVNNewsDataInterface::ReqType].intValue() ==
                    QVNNewsDataInterface::NewsTopLineArrayType)
                    ++headlineRequests;
            });
        base::Weak<NewsContentFrontPageView> shown = popup;
        driver.watch([shown] {
            auto p = shown.lock();
            return !p || !p->webV().isLoading();
        });
    }
    ~NewsPanelsTest() override {
        runUntilIdle();
        base::NotificationCenter::shared().removeObserver(observer.get());
        app.window().setRootViewController(nullptr);
    }

    base::Ref<NewsSideBarView> sideBar() {
        auto bar = base::make<NewsSideBarView>(SideBarFrame);
        bar->delegate = host;
        screen->view().addSubview(bar);
        return bar;
    }
    // The page's calling order: recognisers and pop-up only when it is not shown, then the article.
    void open(const std::string &path) {
        if (!popup->superview()) {
            popup->addTapGestureRecognizerToSuperView(&screen->view());
            screen->view().addSubview(popup);
        }
        popup->refreshData(url(path));
    }
    size_t hostRecognizers() const { return screen->view().gestureRecognizers().size(); }
    bool waiting() { return popup->waitingAlert().superview() == popup.get(); }
    gfx::Point rowCentre(NewsSideBarView &bar, int row) {
        gfx::Rect r = bar.newsListV().convert(bar.newsListV().rectForRow({0, row}), nullptr);
        return {r.midX(), r.midY()};
    }
    // A tap whose touches reach the views before anything else runs (no reply can come between).
    void quickTap(gfx::Point at) {
        app.touchDown(1, at);
        app.touchUp(1);
    }
    std::optional<ui::WebView::Link> linkTo(const std::string &end) {
        for (const ui::WebView::Link &link : popup->webV().links())
            if (link.url.absoluteString().ends_with(end))
                return link;
        return std::nullopt;
    }
    void tapIn(ui::View &view, gfx::Rect area) {
        gfx::Rect shown = view.convert(area, nullptr);
        app.tap({shown.midX(), shown.midY()});
        runUntilIdle();
    }

    host::TestApp app{&sharedClock()};
    base::Ref<ui::ViewController> screen = base::make<ui::ViewController>();
    base::Ref<Host> host = base::make<Host>();
    base::Ref<NewsContentFrontPageView> popup = [this] {
        auto p = base::make<NewsContentFrontPageView>(PopupFrame);
        p->delegate = host;
        return p;
    }();
    base::Ref<base::Object> observer = base::make<base::Object>();
    size_t headlineRequests = 0;
};

// --- The side bar

TEST_F(NewsPanelsTest, ThreeHeadlinesGiveThreeRowsOfTitleSummaryAndDateLine) {
    auto bar = sideBar();
    EXPECT_EQ(headlineRequests, 1u) << "made, it loads";
    runUntilIdle();
    ASSERT_EQ(bar->newsListData().size(), 3u);
    ASSERT_EQ(bar->newsListV().numberOfRows(0), 3);
    EXPECT_EQ(bar->topNewTitleV().dspTitle(), "今日头条");
    EXPECT_EQ(bar->newsListV().frame(), (gfx::Rect{0, 36, 279, 602}));

    const float t = bar->newsListV().bounds().width();
    const float h17 = float(StyleFunc::getFontHeight(gfx::Font::system(17)));
    const float h14 = float(StyleFunc::getFontHeight(gfx::Font::system(14)));
    auto cell = std::dynamic_pointer_cast<NewsListTblCell>(bar->newsListV().cellForRow({0, 0}));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->title().text(), "沪指高开");
    EXPECT_EQ(cell->title().frame(), (gfx::Rect{20, 2, t - 25, h17}));
    EXPECT_EQ(cell->content().text(), "两市早盘小幅高开。");
    EXPECT_EQ(cell->content().numberOfLines(), 2);
    EXPECT_EQ(cell->content().frame().y(), h17 + 2) << "the summary starts at the top of its place";
    EXPECT_EQ(cell->date().text(), "2012-05-08 09:31") << "the host's time carries the date already";
    EXPECT_EQ(cell->date().textAlignment(), gfx::Align::Right);
    // Right under the summary's place, which ends 2 points below the row.
    EXPECT_EQ(cell->date().frame(), (gfx::Rect{20, 82 - h14, t - 25, h14}));
    auto numberTitle = std::dynamic_pointer_cast<NewsListTblCell>(bar->newsListV().cellForRow({0, 1}));
    ASSERT_TRUE(numberTitle);
    EXPECT_EQ(numberTitle->title().text(), "123");
    EXPECT_EQ(numberTitle->content().text(), "");
}

TEST(NewsListTblCellTest, TheDateLineIsTheDateAndTheTimeWrittenOnce) {
    struct Case {
        std::optional<std::string> date, time;
        const char *shown;
    } cases[] = {
        {"2012-05-08", "09:31", "2012-05-08 09:31"},
        {"2012-05-08", "2012-05-08 09:31", "2012-05-08 09:31"},
        {"2012-05-08", "2012-05-07 23:59", "2012-05-08 2012-05-07 23:59"},
        {std::nullopt, "09:31", " 09:31"},
    };
    auto cell = base::make<NewsListTblCell>(279.f);
    for (const Case &c : cases) {
        NewsSummaryInfo headline;
        headline.date = c.date, headline.time = c.time;
        cell->configure(headline, 279);
        EXPECT_EQ(cell->date().text(), c.shown);
    }
}

TEST_F(NewsPanelsTest, HeadlinesWithAnAddressReachTheHostOthersDoNothing) {
    auto bar = sideBar();
    runUntilIdle();
    app.tap(rowCentre(*bar, 1)); // no address
    runUntilIdle();
    EXPECT_TRUE(host->urls.empty());
    app.tap(rowCentre(*bar, 0));
    runUntilIdle();
    EXPECT_EQ(host->urls, std::vector<std::string>{url("/wap/news/article/yaowen_0.json")});
    EXPECT_FALSE(bar->newsListV().selectedRow()) << "the touched row is deselected";
}

TEST_F(NewsPanelsTest, APullReloadsAndTouchesWaitForTheReplyPullingUpLoadsNothing) {
    auto bar = sideBar();
    runUntilIdle();
    PullingRefreshTableView &list = bar->newsListV();
    const gfx::Point top = rowCentre(*bar, 0);

    app.dragAndRest(top, {top.x, top.y + 150}, 10, 0.5);
    EXPECT_EQ(headlineRequests, 2u);
    EXPECT_FALSE(list.userInteractionEnabled);
    quickTap(top);
    EXPECT_TRUE(host->urls.empty()) << "a touch while the list reloads is ignored";
    runUntilIdle();
    EXPECT_TRUE(list.userInteractionEnabled);
    EXPECT_EQ(bar->newsListData().size(), 3u);
    app.advance(1); // the header strip slides back
    app.tap(top);
    runUntilIdle();
    EXPECT_EQ(host->urls.size(), 1u) << "after the reply touches work again";

    // Three rows do not fill the list: pulling up at its end asks nothing.
    const gfx::Point bottom{top.x, float(SideBarFrame.maxY() - 20)};
    app.dragAndRest(bottom, {bottom.x, bottom.y - 250}, 10, 0.5);
    runUntilIdle();
    EXPECT_EQ(headlineRequests, 2u);
    EXPECT_TRUE(list.userInteractionEnabled);
}

TEST_F(NewsPanelsTest, AFailedLoadKeepsTheRowsAndAnEmptyReplyEmptiesThem) {
    auto bar = sideBar();
    runUntilIdle();
    ASSERT_EQ(bar->newsListData().size(), 3u);

    qvtest::ScratchBundle::writeServerConfig({{"NewsServer", "ftp://127.0.0.1"}});
    const gfx::Point top = rowCentre(*bar, 0);
    app.dragAndRest(top, {top.x, top.y + 150}, 10, 0.5);
    EXPECT_FALSE(bar->newsListV().userInteractionEnabled);
    runUntilIdle();
    EXPECT_EQ(bar->newsListData().size(), 3u);
    EXPECT_EQ(bar->newsListV().numberOfRows(0), 3);
    EXPECT_TRUE(bar->newsListV().userInteractionEnabled);

    // A host whose headline document reports an error: no headlines.
    nginx->writeFile("erring/wap/news/news/gaoduan/syxw/xwtt.json", R"([{"header":{"error":1}}])");
    qvtest::ScratchBundle::writeServerConfig({{"NewsServer", url("/erring")}});
    bar->refreshAction(nullptr);
    runUntilIdle();
    EXPECT_EQ(bar->newsListV().numberOfRows(0), 0);
}

// The tick reloads only more than 300 s after the last load, on a clock of whole seconds that
// crosses the end of a day and a month like any other second.
TEST_F(NewsPanelsTest, TheTickReloadsOnlyMoreThanThreeHundredSecondsAfterTheLastLoad) {
    // Up to 150 s before the next month begins (UTC), where the wait below crosses midnight and
    // the month's end.
    constexpr double FromUnix = 978307200; // the clock's origin, 2001-01-01, in Unix seconds
    const auto unixNow = std::time_t(sharedClock().now() + FromUnix);
    std::tm month{};
    gmtime_r(&unixNow, &month);
    month.tm_mday = 1, month.tm_hour = month.tm_min = month.tm_sec = 0, month.tm_mon += 1;
    const double nextMonth = double(timegm(&month)) - FromUnix;
    sharedClock().advance(nextMonth - 150 - sharedClock().now());

    auto bar = sideBar();
    runUntilIdle();
    ASSERT_EQ(headlineRequests, 1u);
    const int64_t last = NewsSideBarView::lastLoadSeconds();
    ASSERT_EQ(last, NewsSideBarView::clockSeconds()) << "headlines that came set the last load";

    struct Step {
        int64_t since;
        size_t requests;
    } steps[] = {{299, 1}, {300, 1}, {301, 2}};
    for (const Step &s : steps) {
        sharedClock().advance(double(last + s.since - NewsSideBarView::clockSeconds()));
        bar->refreshOnTimer(nullptr);
        EXPECT_EQ(headlineRequests, s.requests) << s.since << " s after the last load";
    }
    EXPECT_GT(sharedClock().now(), nextMonth) << "the wait crossed into the next month";
    // The reload started counts as the last load, and so does its reply.
    bar->refreshOnTimer(nullptr);
    EXPECT_EQ(headlineRequests, 2u);
    runUntilIdle();
    EXPECT_EQ(NewsSideBarView::lastLoadSeconds(), NewsSideBarView::clockSeconds());
}

// --- The pop-up

TEST_F(NewsPanelsTest, AHeadlineOpensOverTheHostAndASecondReplacesIt) {
    open("/wap/news/article/yaowen_0.json");
    EXPECT_TRUE(waiting()) << "the spinner turns until the article comes";
    EXPECT_EQ(popup->waitingAlert().frame(), (gfx::Rect{275, 175, 50, 50}));
    runUntilIdle();
    EXPECT_FALSE(waiting());
    EXPECT_EQ(popup->webV().links().size(), 3u);
    EXPECT_EQ(hostRecognizers(), 2u);
    EXPECT_EQ(popup->webV().frame(), (gfx::Rect{10, 38, 580, 352}));
    EXPECT_EQ(popup->closeBtn().frame(), (gfx::Rect{559, 6, 32, 32}));

    open("/wap/news/article/escape.json");
    EXPECT_EQ(hostRecognizers(), 2u) << "attached once";
    app.runPending();
    EXPECT_TRUE(popup->webV().links().empty()) << "blank while the second article comes";
    EXPECT_TRUE(waiting());
    runUntilIdle();
    EXPECT_TRUE(popup->webV().links().empty()) << "the new article in place of the first";
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "freefrontpage/headline-popup"));
}

TEST_F(NewsPanelsTest, OnlyTheLatestHeadlinesArticleShows) {
    // The first headline's article, a link and 3 KB of letters that do not compress, comes at
    // 1 KB/s: after the second one.
    std::string letters;
    for (unsigned i = 0, seed = 1; i < 3072; ++i, seed = seed * 1103515245u + 12345u)
        letters += char('a' + (seed >> 16) % 26);
    const std::string body = "<p><a href=\\\"guide.html\\\">x</a>" + letters + "</p>";
    nginx->writeFile("slow/late.json", R"([{"title":"late","content":")" + body + R"("}])");
    open("/slow/late.json");
    open("/wap/news/article/escape.json");
    runUntilIdle();
    EXPECT_TRUE(popup->webV().links().empty()) << "the late reply of the first headline shows nowhere";
    EXPECT_FALSE(waiting());
}

TEST_F(NewsPanelsTest, AFailedArticleStopsTheSpinnerAndSaysSo) {
    open("/wap/news/article/missing.json");
    runUntilIdle();
    EXPECT_FALSE(waiting());
    EXPECT_FALSE(popup->waitingAlert().activityIndicator()->isAnimating());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "freefrontpage/headline-popup-failed"));
}

TEST_F(NewsPanelsTest, SecurityLinksGoToTheHostOthersLoadInside) {
    open("/wap/news/article/yaowen_0.json");
    runUntilIdle();
    std::optional<ui::WebView::Link> stock = linkTo("@stock=SH600000"), bare = linkTo("@stock"),
                                     plain = linkTo("guide.html");
    ASSERT_TRUE(stock && bare && plain);
    const std::string article = popup->webV().currentUrl()->absoluteString();

    tapIn(popup->webV(), bare->frame);
    EXPECT_TRUE(host->codes.empty());
    EXPECT_EQ(popup->webV().currentUrl()->absoluteString(), article) << "\"@stock\" loads nothing";

    tapIn(popup->webV(), stock->frame);
    EXPECT_EQ(host->codes, std::vector<std::string>{"SH600000"});
    EXPECT_EQ(popup->webV().currentUrl()->absoluteString(), article);
    EXPECT_TRUE(popup->superview()) << "a touch on the article keeps the pop-up";

    tapIn(popup->webV(), plain->frame);
    EXPECT_EQ(popup->webV().currentUrl()->absoluteString(), url("/wap/news/pages/guide.html"));
}

TEST_F(NewsPanelsTest, ClosingTakesTheRecognisersOffTheHostAndBlanksThePage) {
    struct Case {
        const char *name;
        std::function<void()> touch;
        bool closes;
    };
    const gfx::Rect shown = PopupFrame;
    const gfx::Point text{shown.midX(), shown.y() + 200}, outside{100, 600};
    const Case cases[] = {
        {"a tap on the article", [&] { app.tap(text); }, false},
        {"a drag on the article",
         [&] {
             app.dragAndRest(text, {text.x, text.y - 60});
         },
         false},
        {"a tap outside", [&] { app.tap(outside); }, true},
        {"a drag outside",
         [&] {
             app.dragAndRest(outside, {outside.x + 80, outside.y});
         },
         true},
        {"the close button", [&] { tapIn(popup->closeBtn(), popup->closeBtn().bounds()); }, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open("/wap/news/article/yaowen_0.json");
        runUntilIdle();
        c.touch();
        runUntilIdle();
        EXPECT_EQ(popup->superview() == nullptr, c.closes);
        EXPECT_EQ(popup->frame(), PopupFrame) << "a drag never moves it";
        EXPECT_EQ(hostRecognizers(), c.closes ? 0u : 2u);
        if (c.closes)
            EXPECT_TRUE(popup->webV().links().empty());
    }
    EXPECT_TRUE(host->codes.empty());
}

TEST_F(NewsPanelsTest, APopUpThatGoesTakesItsRecognisersWithIt) {
    open("/wap/news/article/escape.json");
    runUntilIdle();
    popup->removeFromSuperview();
    popup.reset();
    EXPECT_EQ(hostRecognizers(), 0u);
    app.tap({100, 600});
    runUntilIdle();
}

} // namespace
} // namespace newsbus
