#include "FrontPageFixture.h"

#include "Common/ServerConfig.h"
#include "DataBase/ComAPI.h"
#include "base/Bundle.h"
#include "base/PropertyList.h"
#include "ui/Popover.h"

#include <chrono>

namespace frontpage {

namespace {

// Stands for the news screen, which the home page finds by its class name.
class NewsViewController : public ui::ViewController {};

} // namespace

peers::NginxPeer &nginx() {
    static peers::NginxPeer server{peers::NginxPeer::Options{.companyPages = true}};
    return server;
}

peers::NginxPeer &FrontPageTest::nginx() {
    return frontpage::nginx();
}

FrontPageTest::FrontPageTest() : configPath_(base::Bundle::main().resourcePath() + "/ServerConfig.plist") {
    shippedConfig_ = *base::PropertyList::read(configPath_);
    base::Dict config = shippedConfig_.dict()->copy();
    std::string host = nginx().url("");
    if (!host.empty() && host.back() == '/')
        host.pop_back();
    config.set(std::string(ServerConfig::NewsServerKey), host);
    base::PropertyList::write(config, configPath_);
    // The headline page the home pages link to comes from our news host's documents.
    nginx().serveNewsRoot();
    for (const char *file : {"TipHelpSettings.plist", "UserConfig.plist"})
        base::FileManager::remove(documentsFile(file));
    DataManager::resetSharedDataManager();
    DataManager::sharedDataManager().initialize();
    DataManager::sharedDataManager().msgboxParentHandle = app.window().self<ui::View>();
    DataBase::setSharedDataBase(db);
    readyWithoutAccount();
}

FrontPageTest::~FrontPageTest() {
    for (auto &popover : ui::Popover::visiblePopovers())
        popover->dismiss(false);
    app.window().setRootViewController(nullptr);
    tabs.reset();
    nav.reset();
    screen.reset();
    settle();
    DataBase::setSharedDataBase(nullptr);
    DataManager::resetSharedDataManager();
    base::PropertyList::write(shippedConfig_, configPath_);
}

void FrontPageTest::show() {
    if (helpSeen)
        DataManager::sharedDataManager().SetHelpShowState(false, FrontPageViewController::HelpTipID);
    nav = base::make<ui::NavigationController>(screen);
    tabs = base::make<ui::TabBarController>();
    tabs->setViewControllers({nav, base::make<ui::NavigationController>(base::make<NewsViewController>())},
                             false);
    app.window().setRootViewController(tabs);
    app.runPending();
    settle();
    app.runPending();
}

void FrontPageTest::chooseTab(int tag) {
    screen->frontSwitchTabBarView().SetCurrSelectedTab(tag - FrontPageViewController::FirstTabTag);
    settle();
    app.runPending();
}

bool FrontPageTest::waitForPage(WebTabView &tab) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    settle();
    while (tab.contentWebView().isLoading()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.01);
    }
    app.runPending();
    return true;
}

std::string FrontPageTest::shownAddress(WebTabView &tab) {
    std::optional<base::Url> url = tab.contentWebView().currentUrl();
    return url ? url->absoluteString() : "";
}

size_t FrontPageTest::keyRequests() {
    return quotes.received(peers::QuoteServer::WebRightsType).size() - keysSeen_;
}

std::vector<int> FrontPageTest::poolRequests() {
    std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::PoolListType);
    std::vector<int> ids;
    for (size_t i = poolsSeen_; i < frames.size(); ++i) {
        uint32_t pos = 0;
        ByteView body = frames[i].bytes();
        int id = ComAPI::ReadShort(body, pos);
        int start = ComAPI::ReadShort(body, pos);
        int count = ComAPI::ReadShort(body, pos);
        EXPECT_EQ(start, 0);
        EXPECT_EQ(count, 50);
        ids.push_back(id);
    }
    return ids;
}

void FrontPageTest::forgetRequests() {
    keysSeen_ = quotes.received(peers::QuoteServer::WebRightsType).size();
    poolsSeen_ = quotes.received(peers::QuoteServer::PoolListType).size();
}

gfx::Point FrontPageTest::centre(const ui::View &view) {
    gfx::Rect r = view.convert(view.bounds(), nullptr);
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

std::string FrontPageTest::newsUrl(const std::string &path) const {
    return ServerConfig::urlFor(ServerConfig::NewsServerKey, path);
}

} // namespace frontpage
