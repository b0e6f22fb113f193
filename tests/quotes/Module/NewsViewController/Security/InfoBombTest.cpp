#include "SecurityNewsFixture.h"

#include "Golden.h"
#include "Module/NewsViewController/InfoBombDetailViewController.h"
#include "Module/NewsViewController/InfoBombViewController.h"

#include "ui/NavigationController.h"
#include "ui/Popover.h"

#include <gtest/gtest.h>

namespace newsbus {
namespace {

constexpr int32_t Day = 20121207;

// The mine list opened as a quote row opens it: the root of a navigation controller in a popover
// from a button of the window.
class InfoBombTest : public SecurityNewsTest {
protected:
    InfoBombTest() {
        app.window().setRootViewController(base::make<ui::ViewController>());
        app.window().rootViewController()->view().addSubview(anchor);
        screenQuiet = [this] {
            auto *detail = article();
            return !detail || !detail->contentWebView() || !detail->contentWebView()->isLoading();
        };
    }
    ~InfoBombTest() override {
        runUntilIdle();
        screenQuiet = nullptr;
        if (popover)
            popover->dismiss(false);
    }

    void open(const std::string &code, const std::string &name) {
        screen->setStockCode(code, name);
        nav = base::make<ui::NavigationController>(screen);
        popover = base::make<ui::Popover>(nav);
        popover->presentFromRect(anchor->bounds(), *anchor, ui::ArrowLeft, false);
        app.runPending();
    }
    std::vector<std::string> rows() {
        std::vector<std::string> out;
        ui::TableView &table = *screen->tableView();
        table.layoutIfNeeded();
        for (int row = 0; row < table.numberOfRows(0); ++row)
            if (base::Ref<ui::TableCell> cell = table.cellForRow({0, row}))
                out.push_back(cell->textLabel()->text());
        return out;
    }
    InfoBombDetailViewController *article() const {
        return nav ? dynamic_cast<InfoBombDetailViewController *>(nav->top()) : nullptr;
    }

    base::Ref<ui::View> anchor = base::make<ui::View>(gfx::Rect{20, 300, 40, 40});
    base::Ref<InfoBombViewController> screen = base::make<InfoBombViewController>();
    base::Ref<ui::NavigationController> nav;
    base::Ref<ui::Popover> popover;
};

TEST_F(InfoBombTest, TheDaysMinesAreListedInDocumentOrderAndARowOpensItsArticle) {
    loggedInOn(Day);
    size_t before = asked.size();
    open("SH600036", "招商银行");
    EXPECT_EQ(since(before), std::vector<std::string>{"mines SH600036 20121207"});
    EXPECT_EQ(screen->title(), "信息地雷 - 招商银行");
    EXPECT_TRUE(screen->indicator()->isAnimating());
    EXPECT_EQ(screen->contentSizeInPopover(), (gfx::Size{320, 340}));
    runUntilIdle();

    EXPECT_FALSE(screen->indicator()->isAnimating());
    // The item of the day before and the one whose time text is too short are left out.
    EXPECT_EQ(rows(), (std::vector<std::string>{"1. 招商银行：董事会决议公告", "2. <b>a</b> & %@",
                                                "3. 招商银行：分红实施公告"}));
    EXPECT_EQ(nav->viewControllers().size(), 1u) << "two or more mines stay listed";
    ui::TableView &table = *screen->tableView();
    auto shade = [&](int row) { return table.cellForRow({0, row})->contentView().backgroundColor()->g(); };
    EXPECT_FLOAT_EQ(shade(0), 38 / 255.f);
    EXPECT_FLOAT_EQ(shade(1), 47 / 255.f);
    EXPECT_FLOAT_EQ(shade(2), 38 / 255.f);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "news/info-bomb-list"));

    before = asked.size();
    app.tap([&] {
        gfx::Rect row = table.convert(table.rectForRow({0, 1}), nullptr);
        return gfx::Point{row.midX(), row.midY()};
    }());
    // Pushed at once, before its article has come.
    InfoBombDetailViewController *detail = article();
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->title(), "信息地雷正文");
    EXPECT_TRUE(detail->indicator()->isAnimating());
    EXPECT_EQ(since(before), std::vector<std::string>{"/wap/news/article/stock/markup.json"});
    runUntilIdle();
    EXPECT_FALSE(detail->indicator()->isAnimating());
    driver.advance(1); // the push slides in
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "news/info-bomb-article"));
}

TEST_F(InfoBombTest, ASingleMineOpensStraightIntoItsArticle) {
    loggedInOn(Day);
    open("SZ000002", "万科A");
    runUntilIdle();
    ASSERT_EQ(nav->viewControllers().size(), 2u);
    ASSERT_NE(article(), nullptr);
    EXPECT_TRUE(article()->contentUrl().ends_with("/wap/news/article/stock/wk_mine_0.json"));
    EXPECT_EQ(screen->tableView()->selectedRow(), (ui::IndexPath{0, 0}));
    EXPECT_EQ(since(0), (std::vector<std::string>{"mines SZ000002 20121207",
                                                  "/wap/news/article/stock/wk_mine_0.json"}));
}

// Each way to no mines ends with the indicator stopped over an empty list.
TEST_F(InfoBombTest, NoDateNoDocumentAServerErrorOrAFailureListNothing) {
    struct Case {
        const char *name;
        std::function<void()> prepare;
        const char *code;
        const char *request;
    };
    const Case cases[] = {
        {"server time not known yet", [this] { notLoggedIn(); }, "SH600036", "mines SH600036 0"},
        {"another day", [this] { loggedInOn(20121210); }, "SH600036", "mines SH600036 20121210"},
        {"no document", [this] { loggedInOn(Day); }, "SH600009", "mines SH600009 20121207"},
        {"error 1", [this] { loggedInOn(Day); }, "SZ000001", "mines SZ000001 20121207"},
        {"host down",
         [this] {
             notLoggedIn();
             newsHostDown();
         },
         "SH600036", "mines SH600036 0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        screen = base::make<InfoBombViewController>();
        c.prepare();
        size_t before = asked.size();
        open(c.code, "名称");
        runUntilIdle();
        EXPECT_EQ(since(before), std::vector<std::string>{c.request});
        EXPECT_TRUE(rows().empty());
        EXPECT_FALSE(screen->indicator()->isAnimating());
        EXPECT_EQ(nav->viewControllers().size(), 1u);
        popover->dismiss(false);
        app.runPending();
    }
}

// The page's three blocks: title 12, "time  source" 10 and body 11 points; the plain texts escaped,
// so that markup and a "%@" of the server show as written, the body kept as markup.
TEST_F(InfoBombTest, TheArticlePageShowsPlainTextsAsWrittenAndKeepsTheBodysMarkup) {
    NewsContentInfo article;
    article.title = "<b>a</b> & %@";
    article.source = "本地<财经>";
    article.otime = "2012-12-07 %@";
    article.content = "<p>正文<b>标记</b></p>";
    std::vector<std::string> blocks = InfoBombDetailViewController::articleBlocks(article);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0],
              "<center><span style=\"font-family:宋体; font-size:12pt\">&lt;b&gt;a&lt;/b&gt; &amp; "
              "%@</span></center>");
    EXPECT_EQ(blocks[1], "<center><span style=\"font-family:宋体; font-size:10pt\">2012-12-07 %@  "
                         "本地&lt;财经&gt;</span></center>");
    EXPECT_EQ(blocks[2], "<span style=\"font-family:宋体; font-size:11pt\"><p>正文<b>标记</b></p></span>");
}

TEST_F(InfoBombTest, AFailedOrUnreadableArticleKeepsThePage) {
    auto detail = base::make<InfoBombDetailViewController>();
    nav = base::make<ui::NavigationController>(detail);
    app.window().setRootViewController(nav);
    app.runPending();
    detail->setContentUrl(url("/wap/news/bad/notjson.json"));
    runUntilIdle();
    EXPECT_FALSE(detail->indicator()->isAnimating());
    EXPECT_FALSE(detail->contentWebView()->currentUrl()) << "no record, no page";
    detail->setContentUrl(url("/wap/news/article/stock/wk_mine_0.json"));
    runUntilIdle();
    std::optional<base::Url> shown = detail->contentWebView()->currentUrl();
    ASSERT_TRUE(shown);
    newsHostDown();
    detail->setContentUrl(url("/wap/news/article/stock/wk_mine_1.json"));
    runUntilIdle();
    EXPECT_FALSE(detail->indicator()->isAnimating());
    EXPECT_EQ(detail->contentWebView()->currentUrl(), shown);
}

} // namespace
} // namespace newsbus
