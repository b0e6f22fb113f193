#include "DetailScreenFixture.h"

#include "Common/ServerConfig.h"
#include "DataBase/NetData/StockDetailStatus.h"
#include "Golden.h"
#include "base/PropertyList.h"
#include "peers/NginxPeer.h"

#include <chrono>
#include <cstdlib>

namespace detailscreen {
namespace {

// The company pages come from nginx as the news host; the bundle's list points there while the
// test runs.
class CompanyTabTest : public DetailScreenTest {
protected:
    CompanyTabTest() : configPath(std::string(std::getenv("QV_BUNDLE")) + "/ServerConfig.plist") {
        shipped = *base::PropertyList::read(configPath);
        setNewsHost(nginx.url(""));
    }
    ~CompanyTabTest() override { base::PropertyList::write(shipped, configPath); }

    void setNewsHost(std::string address) {
        if (!address.empty() && address.back() == '/')
            address.pop_back();
        base::Dict config = shipped.dict()->copy();
        config.set(std::string(ServerConfig::NewsServerKey), address);
        ASSERT_TRUE(base::PropertyList::write(config, configPath));
    }
    // Runs the loop, which waits for the sockets itself, until the page has loaded or failed; a
    // real-time bound turns a hang into a failure.
    bool waitForPage(WebTabView &tab) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (tab.contentWebView().isLoading()) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            base::RunLoop::main().runOnce(base::RunLoop::Default, 0.01);
        }
        app.runPending();
        return true;
    }
    static std::string shownCode(WebTabView &tab) {
        std::optional<base::Url> url = tab.contentWebView().currentUrl();
        if (!url)
            return "";
        std::string text = url->absoluteString();
        size_t at = text.find("code=");
        return at == std::string::npos ? text : text.substr(at + 5, text.find('&', at) - at - 5);
    }

    peers::NginxPeer nginx{peers::NginxPeer::Options{.companyPages = true}};
    std::string configPath;
    base::Value shipped;
};

TEST_F(CompanyTabTest, TheTabShowsTheCodesPageAndFollowsTheCode) {
    ASSERT_TRUE(nginx.running());
    readyWithoutAccount();
    DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(false);
    auto screen = open("SH600000");
    StockDetailSwitchBar &strip = *screen->stockDetailSwitchBar();
    strip.ReturnSelectedItem(strip.tab(2));
    WebTabView *tab = screen->f10TabView();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->frame(), (gfx::Rect{0, 121, 768, 515}));
    EXPECT_TRUE(tab->contentWebView().isHidden());
    EXPECT_TRUE(tab->activityIndicator().isAnimating());
    ASSERT_TRUE(waitForPage(*tab));
    EXPECT_FALSE(tab->contentWebView().isHidden());
    EXPECT_FALSE(tab->activityIndicator().isAnimating());
    EXPECT_EQ(shownCode(*tab), "SH600000");
    EXPECT_EQ(tab->contentWebView().currentUrl()->absoluteString(),
              nginx.url("/dbui/ipad/?&r=ften.cpbd&code=SH600000&ed=001"));
    settle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/company-tab"));

    // Another code loads its page into the same panel.
    screen->SetStockCodeMarket("SZ000002");
    ASSERT_TRUE(waitForPage(*tab));
    EXPECT_EQ(screen->f10TabView(), tab);
    EXPECT_EQ(shownCode(*tab), "SZ000002");
    // Cleared, the panel shows black.
    tab->clearView();
    ASSERT_TRUE(waitForPage(*tab));
    EXPECT_FALSE(tab->contentWebView().isHidden());
    EXPECT_EQ(shownCode(*tab).find("dbui"), std::string::npos);
    settle();
}

// A page that cannot be had stops the indicator and leaves the panel as it was: black before a
// first page, the last page after one.
TEST_F(CompanyTabTest, AFailedPageStopsTheIndicatorAndKeepsThePanel) {
    readyWithoutAccount();
    setNewsHost("http://127.0.0.1:" + std::to_string(peers::NginxPeer::freePort()));
    DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(false);
    auto screen = open("SH600000");
    screen->StockDetailBarSelectedIndex(2, 0, *screen->stockDetailSwitchBar());
    WebTabView &tab = *screen->f10TabView();
    ASSERT_TRUE(waitForPage(tab));
    EXPECT_FALSE(tab.activityIndicator().isAnimating());
    EXPECT_TRUE(tab.contentWebView().isHidden());

    setNewsHost(nginx.url(""));
    tab.setContentURL(nginx.url("/dbui/ipad/?&r=ften.cpbd&code=SH600000&ed=001"));
    ASSERT_TRUE(waitForPage(tab));
    setNewsHost("http://127.0.0.1:" + std::to_string(peers::NginxPeer::freePort()));
    screen->StockDetailBarSelectedIndex(2, 0, *screen->stockDetailSwitchBar());
    ASSERT_TRUE(waitForPage(tab));
    EXPECT_FALSE(tab.activityIndicator().isAnimating());
    EXPECT_FALSE(tab.contentWebView().isHidden());
    EXPECT_EQ(shownCode(tab), "SH600000");
    settle();
}

} // namespace
} // namespace detailscreen
