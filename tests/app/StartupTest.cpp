#include "StartupFixture.h"

#include "Golden.h"

#include "EncryptorAES.h"
#include "base/Str.h"
#include "ui/NavigationController.h"

namespace app {
namespace {

TEST_F(StartupTest, FirstStartAcceptsTheDisclaimerLogsInFreeAndHandsOverToTheTabs) {
    launch();
    SplashViewController &splash = *delegate->splashViewController();
    EXPECT_FALSE(splash.mainLoginView()) << "the disclaimer comes first";
    EXPECT_TRUE(quotes.received().empty()) << "nothing connects before the disclaimer is accepted";
    EXPECT_TRUE(qvtest::matchesGolden(host.render(), "app/disclaimer"));

    auto *notice = dynamic_cast<NoticeAnnounceView *>(splash.view().subviews().back().get());
    ASSERT_NE(notice, nullptr);
    tap(notice->acceptButton());
    EXPECT_FALSE(readUserConfig().get("IsShowNoticeAnnounce").boolValue());
    ASSERT_TRUE(splash.mainLoginView());
    EXPECT_TRUE(splash.mainLoginView()->isHidden())
        << "without a saved account the free login starts by itself";

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
    EXPECT_EQ(titles, (std::vector<std::string>{"首页", "自选股", "行情", "资讯", "决策"}));
    EXPECT_EQ(tabBar().prevOrientation(), 4);

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
    EXPECT_TRUE(qvtest::matchesGolden(host.render(), "app/first-tab"));
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
    EXPECT_TRUE(qvtest::matchesGolden(host.render(), "app/login-panel"));
}

TEST_F(StartupTest, TheSplashShowsWhileAStartLogsInByItself) {
    writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}, {"MainLoginPwd", ""}});
    launch();
    EXPECT_TRUE(delegate->splashViewController()->mainLoginView()->isHidden());
    EXPECT_TRUE(qvtest::matchesGolden(host.render(), "app/splash"));
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
