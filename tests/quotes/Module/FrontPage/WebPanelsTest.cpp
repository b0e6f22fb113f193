#include "FrontPageFixture.h"

#include "Common/ServerConfig.h"
#include "base/Log.h"

namespace frontpage {

namespace {

using Tab = FrontPageViewController::Tab;
using KeyReply = peers::QuoteServer::UserKeyReply;

// The analysis and home pages come from nginx; the key from the loopback quote server, whose keys
// hold "&" and a blank.
class WebPanelsTest : public FrontPageTest {
protected:
    void SetUp() override { ASSERT_TRUE(nginx().running()); }

    HomeWebPanel &panel(int tag) { return dynamic_cast<HomeWebPanel &>(*screen->tabView(tag)); }
    void choose(int tag) {
        chooseTab(tag);
        ASSERT_TRUE(waitForPage(panel(tag).contentWebView()));
    }
    // The key the server gives the market account.
    std::string serverKey() {
        const base::Value dict = lastKeyReply();
        return dict["userKey"].stringValue();
    }
    base::Value lastKeyReply() {
        auto requester = base::make<coordinator::RecordingRequester>();
        db->IO_NetDataCenter()->RequestWebPower(requester);
        settle();
        return requester->replies.empty() ? base::Value() : requester->replies[0]->get("rspDict");
    }
    // Follows the page's link whose address ends with `tail` as a tap does.
    bool tapLink(WebTabView &tab, const std::string &tail) {
        ui::WebView &web = tab.contentWebView();
        web.layoutIfNeeded();
        for (const ui::WebView::Link &link : web.links()) {
            const std::string &address = link.url.absoluteString();
            if (address.size() < tail.size() ||
                address.compare(address.size() - tail.size(), tail.size(), tail))
                continue;
            gfx::Rect r = web.convert(link.frame, nullptr);
            app.tap({r.x() + r.width() / 2, r.y() + r.height() / 2});
            app.runPending();
            return true;
        }
        return false;
    }
};

TEST_F(WebPanelsTest, EachPanelLoadsItsPageWithThePercentEncodedKey) {
    EXPECT_EQ(HomeWebPanel::percentEncoded("a&b c"), "a%26b%20c");
    show();
    std::string key = serverKey();
    ASSERT_NE(key.find("&k "), std::string::npos);
    std::string encoded = HomeWebPanel::percentEncoded(key);
    ASSERT_TRUE(waitForPage(screen->synView()->contentWebView()));
    EXPECT_EQ(shownAddress(screen->synView()->contentWebView()), newsUrl("/dbui/ipad/?userkey=" + encoded));
    struct Case {
        int tag;
        const char *query;
    } cases[] = {{Tab::SubjectTab, "?r=zttz&userkey="},
                 {Tab::DiscoverTab, "?r=jzfx.first&userkey="},
                 {Tab::ProfitTab, "?r=yzyq.consistencylist&userkey="}};
    for (const Case &c : cases) {
        choose(c.tag);
        EXPECT_EQ(shownAddress(panel(c.tag).contentWebView()),
                  newsUrl(std::string("/dbui/ipad/") + c.query + encoded));
        EXPECT_EQ(*panel(c.tag).curUrl(), shownAddress(panel(c.tag).contentWebView()));
    }
}

TEST_F(WebPanelsTest, ReselectingReloadsOrFetchesAKeyByWhereTheBrowserIs) {
    quotes.setUserKeyReply(KeyReply::Empty); // the panels stay without a page at first
    show();
    chooseTab(Tab::DiscoverTab);
    settle();
    quotes.setUserKeyReply(KeyReply::Key);
    std::string index =
        newsUrl("/dbui/ipad/?r=jzfx.first&userkey=" + HomeWebPanel::percentEncoded(serverKey()));
    std::string home = newsUrl("/dbui/ipad/?userkey=" + HomeWebPanel::percentEncoded(serverKey()));
    struct Case {
        const char *name;
        int tag;
        std::string at; // "" for no page yet
        bool key;       // a fresh key, else a reload of the page shown
        std::string after;
    } cases[] = {
        {"home, no page", Tab::HomeTab, "", true, home},
        {"home, off the panel path", Tab::HomeTab, newsUrl("/wap/data/ipad/news/jrtt/1.html"), false,
         newsUrl("/wap/data/ipad/news/jrtt/1.html")},
        {"home, on the panel path", Tab::HomeTab, newsUrl("/dbui/ipad/?r=zttz.detail&id=1"), true, home},
        {"analysis, no page", Tab::DiscoverTab, "", false, ""},
        {"analysis, detail page", Tab::DiscoverTab, newsUrl("/dbui/ipad/?r=jzfx.yxgs&id=3"), false,
         newsUrl("/dbui/ipad/?r=jzfx.yxgs&id=3")},
        {"analysis, index page", Tab::DiscoverTab, newsUrl("/dbui/ipad/?r=jzfx.first"), true, index},
        {"analysis, elsewhere", Tab::DiscoverTab, newsUrl("/wap/data/ipad/news/jrtt/1.html"), true, index},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HomeWebPanel &p = panel(c.tag);
        if (!c.at.empty()) {
            p.contentWebView().setContentURL(c.at);
            ASSERT_TRUE(waitForPage(p.contentWebView()));
        } else {
            ASSERT_FALSE(p.curUrl().has_value());
        }
        forgetRequests();
        p.reloadCurrentWebPage();
        settle();
        ASSERT_TRUE(waitForPage(p.contentWebView()));
        EXPECT_EQ(keyRequests(), c.key ? 1u : 0u);
        EXPECT_EQ(shownAddress(p.contentWebView()), c.after);
    }
}

TEST_F(WebPanelsTest, AReplyWithoutAKeyLeavesTheBrowser) {
    show();
    SynthesizedView &syn = *screen->synView();
    ASSERT_TRUE(waitForPage(syn.contentWebView()));
    std::string shown = shownAddress(syn.contentWebView());
    for (KeyReply reply : {KeyReply::OtherSubType, KeyReply::Empty}) {
        quotes.setUserKeyReply(reply);
        forgetRequests();
        syn.reloadCurrentWebPage();
        settle();
        EXPECT_EQ(keyRequests(), 1u);
        EXPECT_FALSE(syn.contentWebView().contentWebView().isLoading());
        EXPECT_EQ(shownAddress(syn.contentWebView()), shown);
        EXPECT_EQ(*syn.curUrl(), shown);
    }
}

TEST_F(WebPanelsTest, OnlyATappedHeadlineLinkOfTheWholeAddressOpensTheNewsTab) {
    show();
    WebTabView &browser = screen->synView()->contentWebView();
    ASSERT_TRUE(waitForPage(browser));
    std::string home = shownAddress(browser);
    // The same page by a program's load, or with another query by a tap, loads as any other.
    browser.setContentURL(newsUrl(SynthesizedView::HeadlinePage));
    ASSERT_TRUE(waitForPage(browser));
    EXPECT_EQ(shownAddress(browser), newsUrl(SynthesizedView::HeadlinePage));
    EXPECT_EQ(tabs->selectedIndex(), 0);
    browser.setContentURL(home);
    ASSERT_TRUE(waitForPage(browser));
    ASSERT_TRUE(tapLink(browser, "/jrtt/1.html"));
    ASSERT_TRUE(waitForPage(browser));
    EXPECT_EQ(shownAddress(browser), newsUrl("/wap/data/ipad/news/jrtt/1.html"));
    EXPECT_EQ(tabs->selectedIndex(), 0);

    browser.setContentURL(home);
    ASSERT_TRUE(waitForPage(browser));
    ASSERT_TRUE(tapLink(browser, "?openNews=1"));
    ASSERT_TRUE(waitForPage(browser));
    EXPECT_EQ(tabs->selectedIndex(), 1);
    EXPECT_EQ(shownAddress(browser), home);
}

TEST_F(WebPanelsTest, TheBackButtonStepsBackInThePanelsHistory) {
    show();
    choose(Tab::SubjectTab);
    auto &subject = dynamic_cast<AnalysisWebPanel &>(panel(Tab::SubjectTab));
    EXPECT_EQ(subject.backButton().frame(), AnalysisWebPanel::BackButtonFrame);
    std::string index = shownAddress(subject.contentWebView());
    ASSERT_TRUE(tapLink(subject.contentWebView(), "?r=zttz.detail&id=1"));
    ASSERT_TRUE(waitForPage(subject.contentWebView()));
    EXPECT_NE(subject.curUrl()->find(SubjectInvestView::DetailMarker), std::string::npos);
    tapView(subject.backButton());
    ASSERT_TRUE(waitForPage(subject.contentWebView()));
    EXPECT_EQ(shownAddress(subject.contentWebView()), index);
}

TEST_F(WebPanelsTest, TheLevel2AccountOfAKeyRequestIsNeverLogged) {
    quotes.addAccount("l2name", "l2secret", peers::QuoteServer::Level2Right);
    NetDataCenter &center = *db->IO_NetDataCenter();
    center.IO_L2UserName = "l2name";
    center.IO_L2Password = "l2secret";
    base::LogLevel before = base::logThreshold();
    base::setLogThreshold(base::LogLevel::Debug);
    ::testing::internal::CaptureStderr();
    show();
    ASSERT_TRUE(waitForPage(screen->synView()->contentWebView()));
    std::string logged = ::testing::internal::GetCapturedStderr();
    base::setLogThreshold(before);
    EXPECT_GE(quotes.received(peers::QuoteServer::WebRightsType).size(), 1u);
    EXPECT_EQ(logged.find("l2name"), std::string::npos);
    EXPECT_EQ(logged.find("l2secret"), std::string::npos);
}

} // namespace

} // namespace frontpage
