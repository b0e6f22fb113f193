#include "WebFixture.h"
#include "peers/FaultPeer.h"
#include "peers/NginxSuite.h"

#include "base/Bundle.h"
#include "base/Encoding.h"
#include "net/ProxyResolver.h"
#include "web/Fetch.h"

#include "gfx/Context.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// libproxy reads the desktop settings through plugins; pointed at a folder with none, before it
// first starts, only its reader of the proxy environment variables answers.
const bool noDesktopProxySettings = [] {
    auto folder = std::filesystem::temp_directory_path() / "qv-web-no-proxy-plugins";
    std::filesystem::create_directories(folder);
    return setenv("PX_MODULE_PATH", folder.c_str(), 1) == 0;
}();

using Log = std::vector<std::string>;
using webtest::WebStage;

constexpr const char *Headline = "/wap/data/ipad/news/jrtt/1.html?openNews=1";
constexpr const char *F10 = "/dbui/ipad/?&r=ften.cpbd&code=%s&ed=001";

// The news host's redirects: one to the headline page, one off the web.
constexpr char Locations[] = R"(
location = /go/headline { return 302 /wap/data/ipad/news/jrtt/1.html?openNews=1; }
location = /go/ftp { return 302 ftp://127.0.0.1/file; }
location /gbk/ { charset gbk; }
)";

std::string f10(const std::string &code) {
    char path[128];
    std::snprintf(path, sizeof path, F10, code.c_str());
    return path;
}

// A PNG of one colour, written by our own drawing code.
std::string png(int w, int h, gfx::Rgba8 colour) {
    gfx::Surface surface(w, h);
    gfx::Context context(surface);
    context.setFill(*gfx::Color::rgba(colour.r / 255.f, colour.g / 255.f, colour.b / 255.f));
    context.fillRect({0, 0, float(w), float(h)});
    std::string path = ::testing::TempDir() + "/web_fixture.png";
    surface.writePng(path);
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class WebViewTest : public peers::NginxSuite<false, Locations> {
protected:
    static void SetUpTestSuite() {
        NginxSuite::SetUpTestSuite();
        // The news host's index page of the analysis panels (its style sheet paints the canvas,
        // its image sets the first line's height), a detail page, a page outside "/dbui/ipad" and
        // the headline page.
        nginx->writeFile("dbui/ipad/index.html", R"(<html><head>
<link rel="stylesheet" href="/css/site.css"></head><body>
<img src="/img/banner.png"><br>
<a href="detail.html?r=zttz.detail">详情</a>
<a href="/other/page.html">其他</a>
<a href="/wap/data/ipad/news/jrtt/1.html?openNews=1">头条</a>
<a href="/go/headline">转到头条</a>
</body></html>)");
        nginx->writeFile("css/site.css", "body { background-color: #204060; margin: 0; }");
        nginx->writeFile("img/banner.png", png(60, 40, {255, 0, 0, 255}));
        nginx->writeFile("dbui/ipad/detail.html", R"(<p>明细 <a href="index.html">返回</a></p>)");
        nginx->writeFile("other/page.html", "<p>其他页面</p>");
        nginx->writeFile("wap/data/ipad/news/jrtt/1.html", "<p>今日头条</p>");
    }

    WebViewTest() {
        stage.recorder->name = [](const base::Url &url) {
            std::string text = url.absoluteString(), prefix = nginx->url("");
            return text.starts_with(prefix) ? text.substr(prefix.size()) : text;
        };
    }

    std::string url(const std::string &path) { return nginx->url(path); }
    void load(const std::string &path) {
        stage.web->loadRequest(*base::Url::parse(url(path)));
        ASSERT_TRUE(stage.settle());
    }
    std::string current() {
        auto shown = stage.web->currentUrl();
        return shown ? stage.recorder->name(*shown) : "none";
    }
    gfx::Rgba8 pixel(float x, float y) { return stage.app.render().pixel(int(x), int(y)); }

    WebStage stage{{789, 586}};
};

TEST_F(WebViewTest, PageFinishesOnceItsStyleSheetAndImagesAreIn) {
    load(f10("SH600000"));
    EXPECT_EQ(stage.recorder->take(), (Log{"should " + f10("SH600000") + " 5", "start", "finish"}));
    EXPECT_EQ(current(), f10("SH600000"));
    EXPECT_FALSE(stage.web->canGoBack());
    EXPECT_EQ(pixel(30, 20), (gfx::Rgba8{255, 0, 0, 255}));    // the image
    EXPECT_EQ(pixel(700, 500), (gfx::Rgba8{32, 64, 96, 255})); // the sheet's canvas colour
    // Links lie below the 40-point image, in the window where a finger finds them.
    auto links = stage.web->links();
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[0].url.absoluteString(), url("/dbui/ipad/detail.html?r=zttz.detail"));
    EXPECT_GE(links[0].frame.y(), 40);
}

TEST_F(WebViewTest, BlackPageOfAPanelThatNeverLoadedCoversTheWholePanel) {
    EXPECT_EQ(pixel(400, 300), (gfx::Rgba8{5, 61, 88, 255})); // clear: the owner's background
    stage.web->loadHtml("<html><head><style>body{background-color:black;}</style></head><body></body></html>",
                        base::Url::file(base::Bundle::main().resourcePath() + "/"));
    EXPECT_TRUE(stage.web->isLoading());
    ASSERT_TRUE(stage.settle());
    EXPECT_EQ(stage.recorder->take().back(), "finish");
    for (gfx::Point p : {gfx::Point{1, 1}, gfx::Point{400, 300}, gfx::Point{788, 585}})
        EXPECT_EQ(pixel(p.x, p.y), (gfx::Rgba8{0, 0, 0, 255})) << p.x << "," << p.y;
}

TEST_F(WebViewTest, AnotherCodeReloadsTheSamePanelEvenWhileTheFirstIsLoading) {
    load(f10("SH600000"));
    stage.web->loadRequest(*base::Url::parse(url(f10("SZ000001"))));
    ASSERT_TRUE(stage.settle());
    EXPECT_EQ(current(), f10("SZ000001"));

    // A switch before the first page is in: the first is dropped without a report.
    stage.recorder->take();
    stage.web->loadRequest(*base::Url::parse(url(f10("SH600001"))));
    stage.web->loadRequest(*base::Url::parse(url(f10("SH600002"))));
    ASSERT_TRUE(stage.settle());
    EXPECT_EQ(stage.recorder->take(), (Log{"should " + f10("SH600001") + " 5", "start",
                                           "should " + f10("SH600002") + " 5", "start", "finish"}));
    EXPECT_EQ(current(), f10("SH600002"));
}

TEST_F(WebViewTest, EveryFailureIsReportedAndLeavesThePageShown) {
    load(f10("SH600000"));
    struct Case {
        const char *name;
        std::string url;
        long code;
    } cases[] = {
        {"missing page", url("/no/such.html"), web::Fetch::BadServerResponse},
        {"server error", url("/status/500"), web::Fetch::BadServerResponse},
        {"refused connection", "http://127.0.0.1:" + std::to_string(peers::NginxPeer::freePort()) + "/", 0},
        {"other scheme", "ftp://127.0.0.1/file", web::Fetch::UnsupportedUrl},
        {"redirect off the web", url("/go/ftp"), web::Fetch::UnsupportedUrl},
        {"six redirects", url("/chain/6"), web::Fetch::TooManyRedirects},
        {"file outside the bundle", "file:///etc/hostname", web::Fetch::UnsupportedUrl},
        {"bundle file escaping by dots",
         "file://" + base::Bundle::main().resourcePath() + "/../CMakeLists.txt", web::Fetch::UnsupportedUrl},
    };
    for (const Case &c : cases) {
        stage.recorder->take();
        stage.web->loadRequest(*base::Url::parse(c.url));
        ASSERT_TRUE(stage.settle()) << c.name;
        auto log = stage.recorder->take();
        ASSERT_FALSE(log.empty()) << c.name;
        EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto &l) { return l.starts_with("fail"); }), 1)
            << c.name;
        if (c.code) {
            EXPECT_EQ(log.back(), "fail " + std::to_string(c.code)) << c.name;
        }
        EXPECT_EQ(current(), f10("SH600000")) << c.name;
        EXPECT_EQ(pixel(30, 20), (gfx::Rgba8{255, 0, 0, 255})) << c.name;
    }
}

TEST_F(WebViewTest, FiveRedirectsAreFollowedAndEachIsOffered) {
    load("/chain/5");
    auto log = stage.recorder->take();
    EXPECT_EQ(log, (Log{"should /chain/5 5", "start", "should /chain/4 5", "should /chain/3 5",
                        "should /chain/2 5", "should /chain/1 5", "should /chain/0 5", "finish"}));
    EXPECT_EQ(current(), "/chain/0");

    // A redirect refused ends the load as a failure.
    stage.recorder->decide = [](ui::WebView &, const base::Url &u, ui::NavigationType) {
        return u.path() != "/chain/1";
    };
    load("/chain/2");
    EXPECT_EQ(stage.recorder->take().back(), "fail -999");
    EXPECT_EQ(current(), "/chain/0");
}

TEST_F(WebViewTest, TappedLinkAndRedirectToTheHeadlineAreTold) {
    load(f10("SH600000"));
    stage.recorder->take();
    // The first tab's rule: the headline page tapped is taken to the news tab, the panel stays.
    int newsTab = 0;
    stage.recorder->decide = [&](ui::WebView &web, const base::Url &u, ui::NavigationType type) {
        if (type == ui::NavigationType::LinkClicked && u.absoluteString() == url(Headline)) {
            web.stopLoading();
            ++newsTab;
        }
        return true;
    };
    ASSERT_TRUE(stage.tapLink(url(Headline)));
    EXPECT_EQ(stage.recorder->take(), (Log{"should " + std::string(Headline) + " 0", "fail -999"}));
    EXPECT_EQ(newsTab, 1);
    EXPECT_FALSE(stage.web->isLoading());
    ASSERT_TRUE(stage.settle());
    EXPECT_EQ(current(), f10("SH600000"));

    // The same address reached by a redirect is an ordinary load.
    ASSERT_TRUE(stage.tapLink(url("/go/headline")));
    ASSERT_TRUE(stage.settle());
    EXPECT_EQ(stage.recorder->take(),
              (Log{"should /go/headline 0", "start", "should " + std::string(Headline) + " 5", "finish"}));
    EXPECT_EQ(newsTab, 1);
    EXPECT_EQ(current(), Headline);
}

TEST_F(WebViewTest, BackAndReloadFollowTheHistory) {
    load(f10("SH600000"));
    ASSERT_TRUE(stage.tapLink(url("/dbui/ipad/detail.html?r=zttz.detail")));
    ASSERT_TRUE(stage.settle());
    ASSERT_TRUE(stage.web->canGoBack());
    ASSERT_TRUE(stage.tapLink(url("/dbui/ipad/index.html")));
    ASSERT_TRUE(stage.settle());
    stage.recorder->take();

    stage.web->goBack();
    ASSERT_TRUE(stage.settle());
    stage.web->reload();
    ASSERT_TRUE(stage.settle());
    stage.web->goBack();
    ASSERT_TRUE(stage.settle());
    EXPECT_EQ(stage.recorder->take(), (Log{"should /dbui/ipad/detail.html?r=zttz.detail 2", "start", "finish",
                                           "should /dbui/ipad/detail.html?r=zttz.detail 3", "start", "finish",
                                           "should " + f10("SH600000") + " 2", "start", "finish"}));
    EXPECT_EQ(current(), f10("SH600000"));
    EXPECT_FALSE(stage.web->canGoBack());
    stage.web->goBack();
    EXPECT_TRUE(stage.recorder->take().empty());

    // A new link from the first page drops the pages ahead of it.
    ASSERT_TRUE(stage.tapLink(url("/other/page.html")));
    ASSERT_TRUE(stage.settle());
    stage.web->goBack();
    ASSERT_TRUE(stage.settle());
    EXPECT_EQ(current(), f10("SH600000"));
    EXPECT_FALSE(stage.web->canGoBack());
}

TEST_F(WebViewTest, PageInTheCharsetTheServerOrThePageNamesReadsAsInUtf8) {
    std::string page = "<p><a href=\"x.html\">上证综指收涨</a></p>";
    auto gbk = [](const std::string &text) {
        return base::encode(text, base::Encoding::Gb18030)->toString();
    };
    nginx->writeFile("utf8/page.html", page);
    load("/utf8/page.html");
    auto utf8 = stage.web->links();
    ASSERT_EQ(utf8.size(), 1u);
    // The server names no charset outside /gbk/; there a header's utf-8 would be wrong, so the
    // header's gbk must win over a page that claims utf-8.
    struct Case {
        const char *path;
        std::string bytes;
    } cases[] = {
        {"/gbk/page.html", gbk(page)},
        {"/gbk/claims-utf8.html", "<meta charset=\"utf-8\">" + gbk(page)},
        {"/meta/charset.html",
         "<html><head><meta charset=\"GBK\"></head><body>" + gbk(page) + "</body></html>"},
        {"/meta/equiv.html",
         "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">" + gbk(page)},
        {"/meta/unquoted.html", "<meta charset=gb18030>" + gbk(page)},
    };
    for (const Case &c : cases) {
        nginx->writeFile(std::string(c.path).substr(1), c.bytes);
        load(c.path);
        auto links = stage.web->links();
        ASSERT_EQ(links.size(), 1u) << c.path;
        EXPECT_EQ(links[0].frame, utf8[0].frame) << c.path;
    }
}

// Bytes move in real time: runs the loop until `ready` holds, within a real-time bound.
bool pump(const std::function<bool()> &ready) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.01);
    }
    return true;
}

// Runs the loop for a moment of real time, long enough for bytes a peer sent to be read.
void pumpFor(double seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until)
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.01);
}

TEST_F(WebViewTest, AQuietHostFailsThePageAfterTenSecondsWithoutBytes) {
    load(f10("SH600000"));
    struct Case {
        const char *name;
        std::vector<peers::FaultPeer::Step> script;
    } cases[] = {
        {"silent from the start", {peers::FaultPeer::silence()}},
        {"silent after part of the body",
         {peers::FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n<p>part"),
          peers::FaultPeer::silence()}},
    };
    for (const Case &c : cases) {
        peers::FaultPeer peer(c.script);
        stage.recorder->take();
        stage.web->loadRequest(*base::Url::parse(peer.url("/page.html")));
        ASSERT_TRUE(pump([&] { return peer.requests().size() == 1; })) << c.name;
        // Bytes that come later move the deadline: ten quiet seconds count from them.
        stage.app.advance(6);
        pumpFor(0.3);
        stage.app.advance(3.9);
        EXPECT_TRUE(stage.web->isLoading()) << c.name;
        stage.app.advance(6.2);
        EXPECT_FALSE(stage.web->isLoading()) << c.name;
        EXPECT_EQ(stage.recorder->take(), (Log{"should " + peer.url("/page.html") + " 5", "start",
                                               "fail " + std::to_string(web::Fetch::TimedOut)}))
            << c.name;
        EXPECT_EQ(current(), f10("SH600000")) << c.name;
    }
}

// A style sheet or image that never comes is left out as a missing one is, once its ten quiet
// seconds have passed.
TEST_F(WebViewTest, ResourcesOnAQuietHostAreLeftOutAfterTenSeconds) {
    peers::FaultPeer quiet({peers::FaultPeer::silence()});
    nginx->writeFile("quiet/page.html", "<link rel=\"stylesheet\" href=\"" + quiet.url("/site.css") +
                                            "\"><p>正文</p><img src=\"" + quiet.url("/banner.png") + "\">");
    stage.web->loadRequest(*base::Url::parse(url("/quiet/page.html")));
    ASSERT_TRUE(pump([&] { return !quiet.requests().empty(); }));
    stage.app.advance(9.9);
    EXPECT_TRUE(stage.web->isLoading());
    stage.app.advance(0.2);
    ASSERT_TRUE(pump([&] { return quiet.requests().size() == 2; })); // the image, unless asked already
    stage.app.advance(10.1);
    EXPECT_FALSE(stage.web->isLoading());
    EXPECT_EQ(stage.recorder->take().back(), "finish");
    EXPECT_EQ(current(), "/quiet/page.html");
}

TEST_F(WebViewTest, PagesGoThroughTheSystemProxy) {
    std::string body = "<p><a href=\"x.html\">经由代理</a></p>";
    peers::FaultPeer proxy(
        {peers::FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                std::to_string(body.size()) + "\r\n\r\n" + body)});
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(proxy.port())).c_str(), 1);
    net::forgetSystemProxies();
    stage.web->loadRequest(*base::Url::parse("http://news.example/wap/page.html"));
    bool settled = stage.settle();
    unsetenv("http_proxy");
    net::forgetSystemProxies();
    ASSERT_TRUE(settled);
    EXPECT_EQ(stage.recorder->take().back(), "finish");
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_TRUE(proxy.requests()[0].starts_with("GET http://news.example/wap/page.html HTTP/1.1\r\n"));
    ASSERT_EQ(stage.web->links().size(), 1u);
    EXPECT_EQ(stage.web->links()[0].url.absoluteString(), "http://news.example/wap/x.html");
}

TEST_F(WebViewTest, RefusedNavigationChangesNothingAndStopEndsALoad) {
    load(f10("SH600000"));
    stage.recorder->decide = [](ui::WebView &, const base::Url &, ui::NavigationType) { return false; };
    stage.recorder->take();
    ASSERT_TRUE(stage.tapLink(url("/other/page.html")));
    EXPECT_EQ(stage.recorder->take(), (Log{"should /other/page.html 0"}));
    EXPECT_FALSE(stage.web->isLoading());

    stage.recorder->decide = nullptr;
    nginx->writeFile("slow/big.html", std::string(100000, 'x'));
    stage.web->loadRequest(*base::Url::parse(url("/slow/big.html")));
    base::RunLoop::main().runOnce(base::RunLoop::Default, 0.01);
    stage.web->stopLoading();
    EXPECT_FALSE(stage.web->isLoading());
    stage.app.advance(1);
    EXPECT_EQ(stage.recorder->take(), (Log{"should /slow/big.html 5", "start", "fail -999"}));
    EXPECT_EQ(current(), f10("SH600000"));
}

} // namespace
