#include "WebFixture.h"

#include "Golden.h"
#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/Str.h"
#include "web/Fetch.h"

#include <gtest/gtest.h>

namespace {

using Log = std::vector<std::string>;
using webtest::WebStage;

// An article as the news host sends it, put into a bundle template the way the article screens
// do: title, source line and body in Song face at the template's sizes.
struct Article {
    std::string title = "沪指震荡收涨 创业板指涨逾1%";
    std::string source = "证券时报", time = "2026-12-10 15:30";
    std::string content =
        "今日两市股指早盘低开，午后在券商、保险等权重板块的带动下震荡走高。截至收盘，上证综指报"
        "3120.45点，涨0.56%；深证成指涨0.83%。<a href=\"@stock=SH600000\">浦发银行</a>"
        "盘中一度涨停，银行板块整体走强，两市成交额较上一交易日有所放大。";
};

std::string templatePath(const char *name) {
    auto path = base::Bundle::main().pathFor(name, "html");
    EXPECT_TRUE(path) << name << " is not in the bundle";
    return path.value_or(base::Bundle::main().resourcePath() + "/" + name + ".html");
}

std::string block(const char *format, double size, const std::string &text) {
    return base::str::format(format, size, text);
}

constexpr const char *Centred =
    "<center><span style=\"font-family:宋体; font-size:%.0fpt\">%@</span></center>";
constexpr const char *Plain = "<span style=\"font-family:宋体; font-size:%.0fpt\">%@</span>";

// The news screen's and the headline pop-up's page (13, 11, 12 points, "来自" line).
std::string newsPage(const Article &a) {
    std::string tpl = base::FileManager::read(templatePath("news_content_template"))->toString();
    return base::str::format(tpl, block(Centred, 13, a.title),
                             block(Centred, 11, base::str::format("（来自：%@  %@）", a.source, a.time)),
                             block(Plain, 12, a.content));
}

// The information-mine popover's page (12, 10, 11 points, time first).
std::string bombPage(const Article &a) {
    std::string tpl = base::FileManager::read(templatePath("bomb_content_template"))->toString();
    return base::str::format(tpl, block(Centred, 12, a.title),
                             block(Centred, 10, base::str::format("%@  %@", a.time, a.source)),
                             block(Plain, 11, a.content));
}

bool identical(const gfx::Surface &a, const gfx::Surface &b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!(a.pixel(x, y) == b.pixel(x, y)))
                return false;
    return a.width() == b.width() && a.height() == b.height();
}

std::string lastComponent(const base::Url &url) {
    return url.path().substr(url.path().rfind('/') + 1);
}

TEST(ArticleTemplates, EachHasExactlyThreePlacesAndNoOtherFormatSign) {
    for (const char *name : {"news_content_template", "bomb_content_template"}) {
        std::string text = base::FileManager::read(templatePath(name))->toString();
        EXPECT_EQ(std::count(text.begin(), text.end(), '%'), 3) << name;
        size_t places = 0;
        for (size_t at = text.find("%@"); at != std::string::npos; at = text.find("%@", at + 2))
            ++places;
        EXPECT_EQ(places, 3u) << name;
    }
}

TEST(ArticleTemplates, HeadlinePopUpWrapsChineseAtThePanelWidth) {
    WebStage stage({580, 352});
    stage.web->loadHtml(newsPage({}), base::Url::file(templatePath("news_content_template")));
    ASSERT_TRUE(stage.settle());
    EXPECT_EQ(stage.recorder->take().back(), "finish");
    // The body wraps inside the panel: taller than one line, never wider.
    EXPECT_GT(stage.web->scrollView().contentSize().h, 150);
    EXPECT_EQ(stage.web->scrollView().contentSize().w, 580);
    EXPECT_TRUE(qvtest::matchesGolden(stage.app.render(), "web/news-template-580"));
}

TEST(ArticleTemplates, InformationMinePopoverWrapsWithoutBouncing) {
    WebStage stage({320, 340});
    stage.web->scrollView().bounces = false;
    Article article;
    article.content += article.content + article.content;
    stage.web->loadHtml(bombPage(article), base::Url::file(templatePath("bomb_content_template")));
    ASSERT_TRUE(stage.settle());
    EXPECT_TRUE(qvtest::matchesGolden(stage.app.render(), "web/bomb-template-320"));
    // Pulled down past its top the page does not follow the finger.
    stage.app.dragAndRest({160, 100}, {160, 250});
    stage.app.advance(1);
    EXPECT_EQ(stage.web->scrollView().contentOffset().y, 0);
    // It scrolls within its content.
    ASSERT_GT(stage.web->scrollView().contentSize().h, 340);
    stage.app.dragAndRest({160, 300}, {160, 200});
    stage.app.advance(1);
    EXPECT_GT(stage.web->scrollView().contentOffset().y, 0);
    EXPECT_TRUE(qvtest::matchesGolden(stage.app.render(), "web/bomb-template-320-scrolled"));
    // A link shown after scrolling is found where it is drawn.
    std::vector<std::string> tapped;
    stage.recorder->decide = [&](ui::WebView &, const base::Url &url, ui::NavigationType type) {
        tapped.push_back(lastComponent(url) + " " + std::to_string(int(type)));
        return false;
    };
    gfx::Rect last = stage.web->convert(stage.web->links().back().frame, nullptr);
    ASSERT_GT(last.y(), 200);
    stage.app.tap({last.x() + last.width() / 2, last.y() + last.height() / 2});
    stage.app.advance(1);
    EXPECT_EQ(tapped, (std::vector<std::string>{"@stock=SH600000 0"}));
}

TEST(ArticleTemplates, TemplateFindsItsBundleImageThroughItsBaseUrl) {
    WebStage stage({580, 352});
    stage.web->loadHtml(newsPage({}), base::Url::file(templatePath("news_content_template")));
    ASSERT_TRUE(stage.settle());
    // The rule under the source line is the bundle's "blue_line.png" repeated across the body.
    gfx::Surface shown = stage.app.render();
    int blueRows = 0;
    for (int y = 0; y < 120; ++y)
        blueRows += shown.pixel(290, y) == gfx::Rgba8{0x2c, 0x7b, 0xe5, 255};
    EXPECT_GE(blueRows, 1);

    // Without the bundle as base the same page has no rule.
    stage.web->loadHtml(newsPage({}), *base::Url::parse("http://127.0.0.1:9/"));
    ASSERT_TRUE(stage.settle());
    shown = stage.app.render();
    blueRows = 0;
    for (int y = 0; y < 120; ++y)
        blueRows += shown.pixel(290, y) == gfx::Rgba8{0x2c, 0x7b, 0xe5, 255};
    EXPECT_EQ(blueRows, 0);
}

TEST(ArticleTemplates, TappedLinksReachTheLinkRuleAsWritten) {
    WebStage stage({580, 352});
    Article article;
    article.content = "<p><a href=\"@stock=SH600000\">浦发银行</a></p><p><a href=\"@stock\">无代码</a></p>"
                      "<p><a href=\"http://127.0.0.1:9/news/2.html\">相关新闻</a></p>";
    // The pop-up's rule: an "@" component is never loaded; its code after "=" goes to the host.
    std::vector<std::string> codes;
    stage.recorder->decide = [&](ui::WebView &, const base::Url &url, ui::NavigationType type) {
        if (type != ui::NavigationType::LinkClicked)
            return true;
        std::string component = lastComponent(url);
        if (!component.starts_with("@"))
            return true;
        if (size_t equals = component.find('='); equals != std::string::npos)
            codes.push_back(component.substr(equals + 1));
        return false;
    };
    base::Url base = base::Url::file(templatePath("news_content_template"));
    stage.web->loadHtml(newsPage(article), base);
    ASSERT_TRUE(stage.settle());
    stage.recorder->take();

    ASSERT_TRUE(stage.tapLink(base.resolving("@stock=SH600000")->absoluteString()));
    ASSERT_TRUE(stage.tapLink(base.resolving("@stock")->absoluteString()));
    EXPECT_EQ(codes, (std::vector<std::string>{"SH600000"}));
    EXPECT_FALSE(stage.web->isLoading());
    EXPECT_EQ(stage.web->currentUrl(), base);

    // Any other link loads inside the view (here it fails: nothing listens there).
    ASSERT_TRUE(stage.tapLink("http://127.0.0.1:9/news/2.html"));
    ASSERT_TRUE(stage.settle());
    auto log = stage.recorder->take();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[2], "should http://127.0.0.1:9/news/2.html 0");
    EXPECT_EQ(log[3], "start");
    EXPECT_TRUE(log.back().starts_with("fail"));
}

TEST(ArticleTemplates, ServerTextRunsNoCodeAndReachesNoLocalFile) {
    WebStage stage({580, 352});
    base::Url base = base::Url::file(templatePath("news_content_template"));
    auto show = [&](const std::string &content) {
        Article article;
        article.content = "<p>正文</p>" + content;
        stage.web->loadHtml(newsPage(article), base);
        EXPECT_TRUE(stage.settle());
        EXPECT_EQ(stage.recorder->take().back(), "finish");
        return stage.app.render();
    };
    // A picture outside the bundle, a script that would write text, a frame and a script link
    // show exactly what a missing picture alone shows.
    gfx::Surface inert = show("<p><img src=\"nowhere.png\"></p>");
    gfx::Surface hostile =
        show("<p><img src=\"file://" + std::string(QV_FIXTURES_DIR) +
             "/gfx/shapes.png\"></p><script>document.write('<p>注入</p>')</script>"
             "<iframe src=\"http://127.0.0.1:9/\"></iframe><a href=\"javascript:alert(1)\"></a>");
    EXPECT_TRUE(identical(hostile, inert));
    EXPECT_TRUE(stage.web->links().empty());
}

TEST(ArticleTemplates, OnlyTheWebAndTheBundleMayBeLoaded) {
    std::string bundle = base::Bundle::main().resourcePath();
    struct Case {
        std::string url;
        bool allowed;
    } cases[] = {
        {"http://news.example.com/a.html", true},
        {"https://news.example.com/a.html", true},
        {"ftp://news.example.com/a.html", false},
        {"file://" + bundle + "/news_content_template.html", true},
        {"file://" + bundle + "/blue_line.png", true},
        {"file:///etc/hostname", false},
        {"file://" + bundle + "/../CMakeLists.txt", false},
        {"file://" + bundle + "/%2e%2e/CMakeLists.txt", false},
        {"file://" + bundle, false},
    };
    for (const Case &c : cases) {
        auto url = base::Url::parse(c.url);
        ASSERT_TRUE(url) << c.url;
        EXPECT_EQ(web::Fetch::allowed(*url), c.allowed) << c.url;
    }
}

} // namespace
