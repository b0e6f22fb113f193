#include "StartupFixture.h"

#include "TabScreens.h"

#include "DataBase/DataBase.h"
#include "Module/FrontPage/FrontPageViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/PropertyList.h"
#include "base/RunLoop.h"
#include "base/Str.h"
#include "gfx/Context.h"
#include "net/Reachability.h"
#include "ui/NavigationController.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace app {

namespace {

namespace fs = std::filesystem;

// A bundle beside the real one, made before anything reads the bundle: links to every resource
// but the server list, which each test writes for its own servers.
class BundleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const char *real = std::getenv("QV_BUNDLE");
        fs::path source = real ? fs::path(real) : fs::path(QV_FIXTURES_DIR) / ".." / ".." / "resources";
        dir() = fs::path(base::Paths::home()) / base::str::format("qv-startup-bundle-%d", int(getpid()));
        fs::remove_all(dir());
        fs::create_directories(dir());
        for (const fs::directory_entry &entry : fs::directory_iterator(source))
            if (entry.path().filename() != "ServerConfig.plist")
                fs::create_symlink(fs::absolute(entry.path()), dir() / entry.path().filename());
        ::setenv("QV_BUNDLE", dir().c_str(), 1);
    }
    void TearDown() override { fs::remove_all(dir()); }
    static fs::path &dir() {
        static fs::path path;
        return path;
    }
};

[[maybe_unused]] ::testing::Environment *const bundleEnvironment =
    ::testing::AddGlobalTestEnvironment(new BundleEnvironment);

std::string documentsFile(const std::string &name) {
    return base::Paths::join(base::Paths::documents(), name);
}

} // namespace

gfx::Surface StartupTest::screen() {
    gfx::Surface shown = host.render();
    coverStatusBar(shown);
    return shown;
}

void StartupTest::coverStatusBar(gfx::Surface &shown) {
    gfx::Context context(shown);
    context.setFill(*gfx::Color::rgba(0.3f, 0.3f, 0.3f));
    context.fillRect({482, 1, 60, 18});
    context.fillRect({4, 2, 20, 16});
}

base::VirtualClock &StartupTest::sharedClock() {
    static auto *clock = new base::VirtualClock;
    return *clock;
}

StartupTest::StartupTest() {
    registerTabScreens();
    for (const char *file : {"UserConfig.plist", "MyStockList.plist"})
        base::FileManager::remove(documentsFile(file));
    base::FileManager::remove(documentsFile("code"));
    // The home page's first-start help has its own golden; here it would cover every screen of a
    // fresh home and none of one that an earlier run left behind.
    DataManager::sharedDataManager().SetHelpShowState(false, FrontPageViewController::HelpTipID);
    net::ReachabilityTarget::overrideFlags(net::Reachable);
    base::Array navServers;
    navServers.add(base::Dict{{"host", "127.0.0.1"}, {"port", int(quotes.port())}});
    base::PropertyList::write(
        base::Dict{{"NavServers", navServers},
                   {"NewsServer", base::str::format("http://127.0.0.1:%d", int(nginx->port()))}},
        (BundleEnvironment::dir() / "ServerConfig.plist").string());
    nginx->writeFile("wap/data/ipad/news/ssxw/index.json", Headlines);

    DataBase::setSharedDataBase(nullptr);
    DataManager::resetSharedDataManager();
    driver.watch([this] { return quotes.quiet(); });
    driver.watch([this] { return !delegate || !delegate->mtabBarController->isFetchingNews(); });
    base::NotificationCenter::shared().addObserver(
        observer, DataBase::LoginLevel2AccountNotify, [this](const base::Notification &n) {
            statuses.push_back(int(n.userInfo.get(DataBase::LoginLevel2AccountStatus).intValue()));
            statusTimes.push_back(host.clock().monotonic());
        });
}

StartupTest::~StartupTest() {
    shutDown();
    EXPECT_FALSE(driver.stalled()) << "a run until idle gave up after " << peers::LoopDriver::RealLimit
                                   << " real seconds";
    quotes.stop();
    net::ReachabilityTarget::overrideFlags(std::nullopt);
}

std::string StartupTest::bundleDirectory() {
    return BundleEnvironment::dir().string();
}

void StartupTest::writeUserConfig(const base::Dict &config) const {
    base::PropertyList::write(config, documentsFile("UserConfig.plist"));
}

base::Dict StartupTest::readUserConfig() const {
    std::optional<base::Value> config = base::PropertyList::read(documentsFile("UserConfig.plist"));
    return config && config->dict() ? *config->dict() : base::Dict();
}

void StartupTest::launch() {
    delegate = base::make<QVNSolvaneMobileAppDelegate>();
    delegate->window = host.window().self<ui::Window>();
    delegate->mtabBarController = base::make<CMTabBarController>();
    ui::Application::shared().launch(delegate);
    driver.runUntilIdle();
}

void StartupTest::shutDown() {
    if (!delegate)
        return;
    DataBase::sharedDataBase()->Disconnect();
    driver.runUntilIdle();
    ui::Alert::discardAll();
    QVNSolvaneMobileAppDelegate::traderToolBar().reset();
    host.window().setRootViewController(nullptr);
    ui::Application::shared().launch(nullptr);
    delegate.reset();
    DataBase::setSharedDataBase(nullptr);
    DataManager::resetSharedDataManager();
}

void StartupTest::tap(ui::View &view) {
    gfx::Rect frame = view.convert(view.bounds(), nullptr);
    host.tap({frame.midX(), frame.midY()});
    driver.runUntilIdle();
}

bool StartupTest::tabsShown() const {
    return delegate && delegate->window->rootViewController() == delegate->mtabBarController.get();
}

bool StartupTest::waitForHomePage() {
    auto *tab = dynamic_cast<ui::NavigationController *>(tabBar().viewControllers().front().get());
    auto *home =
        tab ? dynamic_cast<FrontPageViewController *>(tab->viewControllers().front().get()) : nullptr;
    if (!home || !home->synView())
        return false;
    ui::WebView &page = home->synView()->contentWebView().contentWebView();
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((page.isLoading() || !page.currentUrl()) && std::chrono::steady_clock::now() < until) {
        driver.runUntilIdle();
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.01);
    }
    host.runPending();
    return !page.isLoading() && page.currentUrl();
}

std::vector<std::string> StartupTest::alertTitles() const {
    std::vector<std::string> titles;
    for (const host::AlertRecord &alert : host.alerts())
        titles.push_back(alert.title + "/" + alert.message);
    return titles;
}

} // namespace app
