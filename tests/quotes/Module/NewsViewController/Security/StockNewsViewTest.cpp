#include "SecurityNewsFixture.h"

#include "Golden.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockNewsView/StockNewsView.h"
#include "Module/NewsViewController/NewsListCell.h"

#include "ui/ViewController.h"

#include <gtest/gtest.h>

namespace newsbus {
namespace {

// The news view where the detail screen puts it, in the window, against our stock documents.
class StockNewsViewTest : public SecurityNewsTest {
protected:
    StockNewsViewTest() {
        app.window().setRootViewController(base::make<ui::ViewController>());
        app.window().rootViewController()->view().addSubview(view);
        screenQuiet = [this] { return !view->newsContentView().isLoading(); };
    }
    ~StockNewsViewTest() override {
        runUntilIdle();
        screenQuiet = nullptr;
    }

    // Per category: whether it is open and its rows' titles.
    struct Category {
        std::string arrow;
        std::vector<std::string> titles;
        bool operator==(const Category &) const = default;
    };
    std::vector<Category> categories() {
        std::vector<Category> out;
        ui::TableView &table = view->newsListView();
        table.layoutIfNeeded();
        for (int section = 0; section < table.numberOfSections(); ++section) {
            auto *header = dynamic_cast<StockNewsSectionHeaderView *>(table.headerView(section));
            Category category;
            if (header)
                category.arrow = header->isExpanded() ? "v" : ">";
            for (int row = 0; row < table.numberOfRows(section); ++row) {
                table.scrollToRow({section, row}, ui::ScrollPosition::None, false);
                table.layoutIfNeeded();
                auto cell = std::dynamic_pointer_cast<NewsListCell>(table.cellForRow({section, row}));
                category.titles.push_back(cell ? cell->titleLabel().text() : "?");
            }
            out.push_back(category);
        }
        return out;
    }
    void tapHeader(int section) {
        ui::TableView &table = view->newsListView();
        table.scrollToSection(section);
        table.layoutIfNeeded();
        tap(*table.headerView(section));
    }
    void tapRow(int section, int row) {
        ui::TableView &table = view->newsListView();
        table.scrollToRow({section, row}, ui::ScrollPosition::None, false);
        table.layoutIfNeeded();
        tap(table, table.rectForRow({section, row}));
    }

    base::Ref<StockNewsView> view = base::make<StockNewsView>(gfx::Rect{0, 121, 768, 515});
};

TEST_F(StockNewsViewTest, AReplyOpensTheFirstCategoryAndAsksItsFirstArticle) {
    EXPECT_EQ(view->newsListView().frame(), (gfx::Rect{0, 0, 190, 515}));
    EXPECT_EQ(view->newsContentView().frame(), (gfx::Rect{190, 0, 578, 515}));
    gfx::Rect spinner = view->activityIndicator().frame();
    EXPECT_EQ(spinner.midX(), 512);
    EXPECT_EQ(spinner.midY(), 330);

    view->updateStockNews("SH600036");
    EXPECT_TRUE(view->activityIndicator().isAnimating());
    // Stopped at the list reply: the first article is asked with no indicator.
    ASSERT_TRUE(runUntilIdle([&] { return !view->stockNewsList().empty(); }));
    EXPECT_FALSE(view->activityIndicator().isAnimating());
    EXPECT_TRUE(view->activityIndicator().isHidden());
    runUntilIdle();
    EXPECT_EQ(asked, (std::vector<std::string>{"news SH600036", "/wap/news/article/stock/zsyh_news_0.json"}));
    EXPECT_EQ(categories(),
              (std::vector<Category>{{"v",
                                      {"招商银行零售业务稳步增长，财富管理规模创新高",
                                       "招商银行发行小微企业专项金融债", "招商银行信用卡交易额同比增长两成"}},
                                     {">", {}},
                                     {">", {}},
                                     {">", {}}}));
    EXPECT_EQ(view->newsListView().selectedRow(), (ui::IndexPath{0, 0}));
    // The rows are as wide as the list: their texts end 10 points inside it, not past its edge.
    auto row = std::dynamic_pointer_cast<NewsListCell>(view->newsListView().cellForRow({0, 0}));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->titleLabel().frame().maxX(), 180);
    EXPECT_EQ(row->datetimeLabel().frame().maxX(), 180);
    EXPECT_TRUE(view->newsContentView().currentUrl());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/stock-news"));
}

TEST_F(StockNewsViewTest, OpeningAsksTheFirstArticleClosingAsksNothing) {
    view->updateStockNews("SH600036");
    runUntilIdle();
    size_t before = asked.size();
    tapHeader(1);
    EXPECT_EQ(since(before), std::vector<std::string>{"/wap/news/article/stock/zsyh_notice_0.json"});
    std::vector<Category> shown = categories();
    EXPECT_EQ(shown[0].titles.size(), 3u) << "the first stays open";
    EXPECT_EQ(shown[1],
              (Category{"v", {"招商银行：关于优先股股息发放的公告", "招商银行：董事会会议决议公告"}}));
    EXPECT_EQ(view->newsListView().selectedRow(), (ui::IndexPath{1, 0}));

    before = asked.size();
    tapHeader(0);
    EXPECT_TRUE(since(before).empty());
    EXPECT_EQ(categories()[0], (Category{">", {}}));
    tapRow(1, 1);
    EXPECT_EQ(since(before), std::vector<std::string>{"/wap/news/article/stock/zsyh_notice_1.json"});
    EXPECT_FALSE(view->activityIndicator().isAnimating()) << "an article turns no indicator";
}

// The research category's article: markup and "%@" in its title, source and time show as written;
// its link loads in the pane.
TEST_F(StockNewsViewTest, ArticleTextsShowAsWrittenAndLinksLoadInThePane) {
    view->updateStockNews("SH600036");
    runUntilIdle();
    tapHeader(0);
    tapHeader(3);
    EXPECT_EQ(asked.back(), "/wap/news/article/stock/markup.json");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/stock-news-markup"));
    std::vector<ui::WebView::Link> links = view->newsContentView().links();
    ASSERT_EQ(links.size(), 1u);
    tap(view->newsContentView(), links[0].frame);
    EXPECT_EQ(view->newsContentView().currentUrl()->absoluteString(), url("/wap/news/pages/guide.html"));
}

TEST_F(StockNewsViewTest, AbsentAndEmptyCategoriesOpenToNoRowsAndAskNothing) {
    view->updateStockNews("SZ000002");
    runUntilIdle();
    EXPECT_EQ(asked, std::vector<std::string>{"news SZ000002"})
        << "an absent first category shows no article";
    EXPECT_EQ(categories(), (std::vector<Category>{{"v", {}}, {">", {}}, {">", {}}, {">", {}}}));
    EXPECT_FALSE(view->newsContentView().currentUrl());
    tapHeader(1);
    EXPECT_EQ(asked.size(), 1u) << "an empty category asks nothing";
    EXPECT_EQ(categories()[1], (Category{"v", {}}));
    tapHeader(3);
    EXPECT_EQ(asked.back(), "/wap/news/article/stock/wk_report_0.json");
    EXPECT_TRUE(view->newsContentView().currentUrl());
}

TEST_F(StockNewsViewTest, AServerErrorShowsNoCategoriesAFailureKeepsThem) {
    view->updateStockNews("SH600036");
    runUntilIdle();
    newsHostDown();
    view->updateStockNews("SH600036");
    runUntilIdle();
    EXPECT_FALSE(view->activityIndicator().isAnimating());
    EXPECT_EQ(categories().size(), 4u);
    EXPECT_EQ(categories()[0].titles.size(), 3u);

    qvtest::ScratchBundle::writeServerConfig({{"NewsServer", url("")}});
    view->updateStockNews("SZ000001");
    runUntilIdle();
    EXPECT_FALSE(view->activityIndicator().isAnimating());
    EXPECT_EQ(view->newsListView().numberOfSections(), 0);
}

// A new security drops the facade of the one before: its list or article, late, reaches nobody.
TEST_F(StockNewsViewTest, ALateReplyOfThePreviousSecurityNeverShows) {
    struct Case {
        const char *name;
        // Where the previous security's requests are when the new one comes.
        std::function<bool()> when;
        const char *next;
    };
    const Case cases[] = {
        {"article in flight", [&] { return !view->stockNewsList().empty(); }, "SZ000002"},
        {"list in flight", [] { return true; }, "SZ000001"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        view->removeFromSuperview();
        view = base::make<StockNewsView>(gfx::Rect{0, 121, 768, 515});
        app.window().rootViewController()->view().addSubview(view);
        view->updateStockNews("SH600036");
        std::string before = view->stockNewsData()->vcTag();
        ASSERT_TRUE(runUntilIdle(c.when));
        view->updateStockNews(c.next);
        EXPECT_NE(view->stockNewsData()->vcTag(), before);
        runUntilIdle();
        EXPECT_EQ(view->stockCode(), c.next);
        EXPECT_FALSE(view->newsContentView().currentUrl()) << "no article of SH600036";
        for (const Category &category : categories())
            for (const std::string &title : category.titles)
                EXPECT_EQ(title.find("招商银行"), std::string::npos) << title;
    }
}

// Hands on the title of every article the view is given.
struct ArticleRecorder : StockNewsView {
    using StockNewsView::StockNewsView;
    std::vector<std::string> titles;
    base::Opt<void> updateNewsContent(const base::Ref<NewsContentInfo> &article) override {
        if (article)
            titles.push_back(article->title.value_or(""));
        return StockNewsView::updateNewsContent(article);
    }
};

// Each row of our stock documents opens its own article, never another company's.
TEST_F(StockNewsViewTest, EveryRowOpensTheArticleItNames) {
    for (const char *code : {"SH600000", "SH600036"}) {
        SCOPED_TRACE(code);
        view->removeFromSuperview();
        auto recorder = base::make<ArticleRecorder>(gfx::Rect{0, 121, 768, 515});
        view = recorder;
        app.window().rootViewController()->view().addSubview(view);
        view->updateStockNews(code);
        runUntilIdle();
        for (int section = 1; section < view->newsListView().numberOfSections(); ++section)
            tapHeader(section);
        runUntilIdle();
        std::vector<Category> shown = categories();
        for (size_t section = 0; section < shown.size(); ++section)
            for (size_t row = 0; row < shown[section].titles.size(); ++row) {
                recorder->titles.clear();
                tapRow(int(section), int(row));
                runUntilIdle();
                ASSERT_FALSE(recorder->titles.empty()) << section << "/" << row;
                EXPECT_EQ(recorder->titles.back(), shown[section].titles[row]);
            }
    }
}

} // namespace
} // namespace newsbus
