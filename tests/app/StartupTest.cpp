#include "StartupFixture.h"

#include "Golden.h"

#include "Components/CMAlarmViewController/CMAlarmViewController.h"
#include "Components/CMViewController.h"
#include "EncryptorAES.h"
#include "Module/FreeFrontPage/FreeFrontPageViewController.h"
#include "Module/NavToolBarModule/BreakNewsViewController/BreakNewsViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/PropertyList.h"
#include "base/Str.h"

#include "ui/NavigationController.h"
#include "ui/Popover.h"
#include "ui/StatusBar.h"

#include <algorithm>
#include <filesystem>

namespace app {
namespace {

// The status band: in the window, above the root screen's view.
bool statusBarOnTop(ui::Window &window) {
    const auto &views = window.subviews();
    auto bar = std::find_if(views.begin(), views.end(),
                            [](const auto &v) { return dynamic_cast<ui::StatusBar *>(v.get()); });
    auto root = std::find_if(views.begin(), views.end(), [&](const auto &v) {
        return window.rootViewController() && v.get() == &window.rootViewController()->view();
    });
    return bar != views.end() && root != views.end() && bar > root &&
           (*bar)->frame() == gfx::Rect{0, 0, 1024, 20} && !(*bar)->isHidden();
}

TEST_F(StartupTest, FirstStartAcceptsTheDisclaimerLogsInFreeAndHandsOverToTheTabs) {
    launch();
    SplashViewController &splash = *delegate->splashViewController();
    EXPECT_FALSE(splash.mainLoginView()) << "the disclaimer comes first";
    EXPECT_TRUE(quotes.received().empty()) << "nothing connects before the disclaimer is accepted";
    EXPECT_TRUE(statusBarOnTop(*delegate->window));
    EXPECT_TRUE(qvtest::matchesGolden(screen(), "app/disclaimer"));

    auto *notice = dynamic_cast<NoticeAnnounceView *>(splash.view().subviews().back().get());
    ASSERT_NE(notice, nullptr);
    tap(notice->acceptButton());
    EXPECT_FALSE(readUserConfig().get("IsShowNoticeAnnounce").boolValue());
    // Without a saved account the free login starts by itself: the panel never shows (it may be
    // gone already, the login being that quick).
    EXPECT_TRUE(!splash.mainLoginView() || splash.mainLoginView()->isHidden());
    EXPECT_FALSE(statuses.empty());

    ASSERT_TRUE(runUntil([&] { return !statuses.empty() && statuses.back() == DataBase::LoginFinished; }));
    double loggedIn = statusTimes.back();
    EXPECT_FALSE(tabsShown()) << "the splash closes first";
    ASSERT_TRUE(runUntil([&] { return tabsShown(); }));
    EXPECT_NEAR(host.clock().monotonic() - loggedIn, SplashViewController::AnimationDuration, 0.05);
    EXPECT_FALSE(delegate->splashViewController());
    EXPECT_TRUE(host.alerts().empty()) << "the server's version is not newer: no upgrade notice";

    std::vector<std::string> titles;
    for (const auto &tab : tabBar().viewControllers()) {
        auto *navigation = dynamic_cast<ui::NavigationController *>(tab.get());
        ASSERT_NE(navigation, nullptr) << "every tab of the configuration sits in a navigation controller";
        titles.push_back(navigation->viewControllers().front()->title());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"首页", "自选股", "行情", "资讯", "决策", "免费首页"}));
    EXPECT_EQ(tabBar().prevOrientation(), 4);
    EXPECT_TRUE(statusBarOnTop(*delegate->window));
    // The strips stand where the landscape window has them, right above the tab bar.
    float top = ui::Screen::main().applicationFrame().y();
    EXPECT_EQ(tabBar().overturnShowerView().frame(), CMTabBarController::MarqueeLandscape.offset(0, -top));
    EXPECT_EQ(tabBar().indexBannerView().frame(), CMTabBarController::IndexBannerLandscape.offset(0, -top));
    EXPECT_EQ(tabBar().boardBannerView().frame(), CMTabBarController::BoardBannerLandscape.offset(0, -top));

    base::Dict saved = readUserConfig();
    EXPECT_EQ(saved.get("MainLoginName").stringValue(), "");
    EXPECT_TRUE(saved.get("IsAutoMainLogin").boolValue());

    // The banners fill from their first replies; the marquee still greets until its first flip.
    ASSERT_TRUE(runUntil(
        [&] {
            return tabBar().indexBannerView().iIndex() == 0 &&
                   tabBar().indexBannerView().shownFace().indexNameLbl().text() == "上证指数" &&
                   !tabBar().boardBannerView().shownFace().boardNameLbl().text().empty();
        },
        1));
    driver.runUntilIdle();
    EXPECT_EQ(tabBar().overturnShowerView().switchTitleLabel().text(),
              " " + CMTabBarController::welcomeText());
    EXPECT_EQ(tabBar().overturnShowerView().titleArray().size(), 2u)
        << "the headline file replaced the greeting";
    // The first tab is the home screen; its page comes from nginx.
    ASSERT_TRUE(waitForHomePage());
    EXPECT_TRUE(qvtest::matchesGolden(screen(), "app/first-tab"));
}

TEST_F(StartupTest, RefusingTheDisclaimerEndsTheProcessWithStatusZero) {
    launch();
    auto *notice =
        dynamic_cast<NoticeAnnounceView *>(delegate->splashViewController()->view().subviews().back().get());
    ASSERT_NE(notice, nullptr);
    tap(notice->refuseButton());
    EXPECT_EQ(host.terminatedWith(), 0);
    EXPECT_TRUE(quotes.received().empty());
}

TEST_F(StartupTest, ASavedNameWithoutPasswordWaitsOnThePanel) {
    writeUserConfig(
        {{"IsShowNoticeAnnounce", false},
         {"MainLoginName", *EncryptorAES::encryptBase64String("u1", EncryptorAES::LoginKeyString, false)},
         {"MainLoginPwd", ""},
         {"IsSaveMainLoginPwd", false}});
    launch();
    const base::Ref<MainLoginView> &panel = delegate->splashViewController()->mainLoginView();
    ASSERT_TRUE(panel);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->nameField().text(), "u1");
    EXPECT_EQ(panel->pwdField().text(), "");
    EXPECT_TRUE(quotes.received().empty());
    EXPECT_TRUE(qvtest::matchesGolden(screen(), "app/login-panel"));
    // The box ticked, a password typed: both show on the panel's artwork.
    tap(panel->checkButton());
    tap(panel->pwdField());
    host.typeText("pw");
    advance(1);
    EXPECT_TRUE(qvtest::matchesGolden(screen(), "app/login-panel-ticked"));
}

TEST_F(StartupTest, TheSplashShowsWhileAStartLogsInByItself) {
    writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}, {"MainLoginPwd", ""}});
    // The code tables are held back: the login is caught under way.
    peers::Fault hold = peers::Fault::on(2956, -1);
    hold.delay = -1;
    quotes.addFault(hold);
    launch();
    ASSERT_TRUE(delegate->splashViewController()->mainLoginView());
    EXPECT_TRUE(delegate->splashViewController()->mainLoginView()->isHidden());
    EXPECT_TRUE(qvtest::matchesGolden(screen(), "app/splash"));
}

TEST_F(StartupTest, OnlyANewerServerVersionBringsTheUpgradeNoticeAfterTheHandOver) {
    const std::string notice = "系统提示";
    for (const char *version : {"2.90", "3.00", "3.10"}) {
        SCOPED_TRACE(version);
        peers::NavigationInfo info = peers::NavigationInfo::pointingAt(quotes.port());
        info.version = version;
        quotes.setNavigation(info);
        writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}});
        launch();
        ASSERT_TRUE(runUntil([&] { return tabsShown(); }));
        bool upgrade = !host.alerts().empty() && host.alerts().back().title == notice;
        EXPECT_EQ(upgrade, std::string(version) == "3.10");
        shutDown();
    }
}

} // namespace
} // namespace app

namespace app {
namespace {

TEST_F(StartupTest, ConnectionTipsShowOnlyWhileTheSplashRunsItsLogin) {
    launch();
    delegate->showTipMessage({}, "网络连接已经中断!!!");
    ASSERT_TRUE(DataManager::sharedDataManager().alertTipInfo());
    EXPECT_EQ(DataManager::sharedDataManager().alertTipInfo()->message(), "网络连接已经中断!!!");
    DataManager::sharedDataManager().removeShowAlertTipInfo();
    delegate->splashViewController()->FinishSplashShow();
    size_t alerts = host.alerts().size();
    delegate->showTipMessage({}, "网络连接已经中断!!!");
    EXPECT_EQ(host.alerts().size(), alerts) << "the splash is closing";
}

TEST_F(StartupTest, RemoteNotificationsStoreTheTokenAndShowTheirAlert) {
    launch();
    ui::Application &application = ui::Application::shared();
    application.deliverDeviceToken(base::Data::fromString(std::string("\x0a\x1b\x2c\x3d\x4e", 5)));
    const std::string &token = DataBase::sharedDataBase()->IO_DeviceToken;
    EXPECT_EQ(token.find_first_of("<> "), std::string::npos);
    EXPECT_FALSE(token.empty());
    size_t alerts = host.alerts().size();
    application.deliverRemoteNotification({{"aps", "not a dictionary"}});
    EXPECT_EQ(host.alerts().size(), alerts);
    application.deliverRemoteNotification({{"aps", base::Dict{{"alert", "平安银行涨停"}}}});
    ASSERT_EQ(host.alerts().size(), alerts + 1);
    EXPECT_EQ(host.alerts().back().title, "接收到推送消息");
    EXPECT_EQ(host.alerts().back().message, "平安银行涨停");
    EXPECT_EQ(host.alerts().back().buttons, (std::vector<std::string>{"关闭"}));
}

} // namespace
} // namespace app

namespace app {
namespace {

TEST_F(StartupTest, TabsWithoutNavigationGetNoNavigationControllerAndNoNavigationEntry) {
    namespace fs = std::filesystem;
    fs::path config = fs::path(bundleDirectory()) / "configfile.plist";
    fs::path real = fs::read_symlink(config);
    fs::remove(config);
    base::Array tabs;
    tabs.add(base::Dict{{"Tab_ViewController", "FrontPageViewController"},
                        {"Tab_Name", "首页"},
                        {"Tab_Image", "tabbar_home.png"},
                        {"IsShowNav", false},
                        {"Next", base::Dict{{"Nav_Name", "不用"}}}});
    tabs.add(base::Dict{
        {"Tab_ViewController", "MarketViewController"},
        {"Tab_Name", "行情"},
        {"Tab_Image", "tabbar_market.png"},
        {"IsShowNav", true},
        {"Next", base::Dict{{"Nav_ViewController", "MarketViewController"}, {"Nav_Name", "板块"}}}});
    base::PropertyList::write(tabs, config.string());
    writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}});
    launch();
    bool shown = runUntil([&] { return tabsShown(); });
    fs::remove(config);
    fs::create_symlink(real, config);
    ASSERT_TRUE(shown);

    ASSERT_EQ(tabBar().viewControllers().size(), 2u);
    auto *plain = dynamic_cast<CMViewController *>(tabBar().viewControllers()[0].get());
    ASSERT_NE(plain, nullptr) << "the screen itself is the tab";
    EXPECT_TRUE(plain->navDic.empty());
    EXPECT_EQ(plain->tabBarItem().title, "首页");
    auto *navigation = dynamic_cast<ui::NavigationController *>(tabBar().viewControllers()[1].get());
    ASSERT_NE(navigation, nullptr);
    auto *market = dynamic_cast<CMViewController *>(navigation->viewControllers().front().get());
    ASSERT_NE(market, nullptr);
    EXPECT_EQ(market->navDic.get("Nav_Name").stringValue(), "板块");
    EXPECT_TRUE(navigation->tabBarItem().image) << "the tab shows its image";
}

TEST_F(StartupTest, TheSixthTabIsTheFreeHomePageWhoseFirstLoadShowsTheGuideOnce) {
    writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}});
    launch();
    ASSERT_TRUE(runUntil([&] { return tabsShown(); }));
    ASSERT_EQ(tabBar().viewControllers().size(), 6u);
    EXPECT_FALSE(tabBar().presentedController()) << "no guide before the page loads";
    EXPECT_FALSE(readUserConfig().has("IsShowUserGuide"));

    tabBar().setSelectedIndex(5);
    driver.runUntilIdle();
    host.runPending();
    auto *navigation = dynamic_cast<ui::NavigationController *>(tabBar().viewControllers()[5].get());
    ASSERT_NE(navigation, nullptr);
    auto *page = dynamic_cast<FreeFrontPageViewController *>(navigation->viewControllers().front().get());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->title(), "首页");
    ASSERT_NE(tabBar().presentedController(), nullptr);
    EXPECT_EQ(tabBar().presentedController()->className(), "UserGuideViewController");
    EXPECT_FALSE(readUserConfig().get("IsShowUserGuide").boolValue());
    tabBar().dismissModal(false);
    host.runPending();

    // The fund flow comes with the page; going away and back asks for no guide again.
    ASSERT_TRUE(
        runUntil([&] { return page->svCapitalSideBarV()->svCapitalChartV().barLooks().size() == 8; }, 5));
    tabBar().setSelectedIndex(2);
    host.runPending();
    tabBar().setSelectedIndex(5);
    driver.runUntilIdle();
    host.runPending();
    EXPECT_FALSE(tabBar().presentedController());
}

TEST_F(StartupTest, TheHomeBarOpensTheBreakingNewsListAndTheAlarmList) {
    quotes.addNews("沪指午后翻红");
    writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}});
    launch();
    ASSERT_TRUE(runUntil([&] { return tabsShown(); }));
    auto &home = dynamic_cast<CMViewController &>(
        *dynamic_cast<ui::NavigationController &>(*tabBar().viewControllers().front())
             .viewControllers()
             .front());
    ASSERT_TRUE(home.breakingNewsButton() && home.stockAlarmButton());

    tap(*home.breakingNewsButton());
    ASSERT_TRUE(runUntil([&] { return !ui::Popover::visiblePopovers().empty(); }, 2));
    auto &newsNav =
        dynamic_cast<ui::NavigationController &>(ui::Popover::visiblePopovers().front()->content());
    auto &news = dynamic_cast<BreakNewsViewController &>(*newsNav.viewControllers().front());
    ASSERT_TRUE(runUntil([&] { return !news.newsArray().empty(); }, 5));
    EXPECT_EQ(news.newsArray().front(), "沪指午后翻红");
    host.tap({900, 700});
    advance(1);

    tap(*home.stockAlarmButton());
    ASSERT_TRUE(runUntil([&] { return !ui::Popover::visiblePopovers().empty(); }, 2));
    auto &alarmNav =
        dynamic_cast<ui::NavigationController &>(ui::Popover::visiblePopovers().front()->content());
    auto &alarms = dynamic_cast<CMAlarmViewController &>(*alarmNav.viewControllers().front());
    EXPECT_EQ(alarms.title(), "预警列表");
    EXPECT_TRUE(runUntil([&] { return quotes.receivedCount(peers::QuoteServer::AlarmType) > 0; }, 2))
        << "it asks for the current alarms";
}

} // namespace
} // namespace app
