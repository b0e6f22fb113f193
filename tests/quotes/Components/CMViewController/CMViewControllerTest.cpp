#include "ShellFixture.h"

#include "Golden.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/NavToolBarModule/BreakNewsViewController/BreakNewsViewController.h"

#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"

namespace shell {
namespace {

using Bar = ShellScreen::Bar;

// The bar's views of a screen, by what they show.
struct Shown {
    bool logo, settings, help, trader, news, alarm, search;
    float traderX;
};

Shown shownOn(ShellScreen &screen) {
    ui::Button *trader = screen.traderButton();
    return {screen.navigationItem().titleView() != nullptr,
            screen.navigationItem().leftItem() != nullptr,
            screen.helpButton() && screen.helpButton()->superview(),
            trader && trader->superview(),
            screen.breakingNewsButton() && screen.breakingNewsButton()->superview(),
            screen.stockAlarmButton() && screen.stockAlarmButton()->superview(),
            screen.searchBarTextField() && screen.searchBarTextField()->superview(),
            trader ? trader->frame().x() : -1};
}

TEST_F(ShellTest, ScreensGetTheButtonsTheyAskFor) {
    struct Case {
        const char *name;
        Bar bar;
        Shown shown;
    } cases[] = {
        {"home", {true, false, true, true, true, true}, {true, true, false, true, true, true, true, 770}},
        {"market and the other tabs",
         {true, false, true, true, false, true},
         {true, true, false, true, true, false, true, 770}},
        {"stock detail",
         {false, false, true, true, false, false},
         {true, false, false, true, true, false, false, 770}},
        {"help beside the trade button",
         {false, true, true, false, false, false},
         {true, false, true, true, false, false, false, 724}},
        {"nothing but the logo",
         {false, false, false, false, false, false},
         {true, false, false, false, false, false, false, -1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto screen = makeScreen(c.bar);
        show(screen);
        Shown s = shownOn(*screen);
        EXPECT_EQ(s.logo, c.shown.logo);
        EXPECT_EQ(s.settings, c.shown.settings);
        EXPECT_EQ(s.help, c.shown.help);
        EXPECT_EQ(s.trader, c.shown.trader);
        EXPECT_EQ(s.news, c.shown.news);
        EXPECT_EQ(s.alarm, c.shown.alarm);
        EXPECT_EQ(s.search, c.shown.search);
        EXPECT_EQ(s.traderX, c.shown.traderX);
    }
}

TEST_F(ShellTest, TheTradeButtonReachesOnlyAScreenThatAnswersIt) {
    auto screen = makeScreen({false, false, true, false, false, false});
    show(screen);
    app.tap(centre(*screen->traderButton()));
    EXPECT_EQ(screen->trades, 1);

    // A screen without the operation keeps a button that does nothing.
    auto silent = base::make<CMViewController>();
    auto nav = base::make<ui::NavigationController>(silent);
    app.window().setRootViewController(nav);
    app.runPending();
    silent->SetNavigationWithShowSettings(false, false, true);
    app.tap(centre(*silent->traderButton()));
    EXPECT_TRUE(app.alerts().empty());
}

TEST_F(ShellTest, APushedScreenLaysItsButtonsOverTheRootsAndTakesThemAlong) {
    auto home = makeScreen({true, false, true, true, true, true});
    auto nav = show(home);
    ui::View &bar = nav->navigationBar();
    size_t rootViews = bar.subviews().size();
    {
        auto detail = base::make<StockDetailViewController>();
        detail->SetStockCodeMarket("SH600000");
        nav->push(detail, false);
        app.runPending();
        EXPECT_EQ(detail->traderButton()->superview(), &bar);
        EXPECT_EQ(detail->breakingNewsButton()->superview(), &bar);
        EXPECT_EQ(nav->pop(false), detail);
        app.runPending();
    }
    EXPECT_EQ(bar.subviews().size(), rootViews);
    EXPECT_EQ(home->traderButton()->superview(), &bar) << "the root's own buttons stay";
}

TEST_F(ShellTest, DataIsStaleOnlyMoreThanFiveSecondsAfterLeaving) {
    auto screen = makeScreen({});
    struct Case {
        const char *name;
        bool left;
        double after;
        bool stale;
    } cases[] = {
        {"never left", false, 100, false},
        {"just left", true, 0, false},
        {"exactly five seconds", true, 5.0, false},
        {"a little later", true, 5.001, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        screen->setViewDisappearTick(0.0);
        if (c.left)
            screen->setViewDisappearTick();
        app.advance(c.after);
        EXPECT_EQ(screen->dataHasOverTime(), c.stale);
    }
}

TEST_F(ShellTest, ASearchResultPushesADetailScreenOrReTargetsTheOneOnTop) {
    auto market = makeScreen({true, false, true, true, false, true});
    auto nav = show(market);

    market->ReturnSelectedStock("浦发银行", "SH600000");
    app.advance(1);
    ASSERT_EQ(nav->viewControllers().size(), 2u);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->stockCode(), "SH600000");

    market->ReturnSelectedStock("平安银行", "SZ000001");
    app.advance(1);
    EXPECT_EQ(nav->viewControllers().size(), 2u) << "re-targeted, not stacked";
    EXPECT_EQ(detail->stockCode(), "SZ000001");

    // Something else on top: a new detail screen goes over it.
    nav->push(base::make<ui::ViewController>(), false);
    market->ReturnSelectedStock("上证指数", "SH000001");
    app.advance(1);
    ASSERT_EQ(nav->viewControllers().size(), 4u);
    EXPECT_EQ(dynamic_cast<StockDetailViewController &>(*nav->top()).stockCode(), "SH000001");
}

TEST_F(ShellTest, WithoutANavigationControllerAPickOnlyClosesTheSearch) {
    auto loose = makeScreen({true, false, true, true, false, true});
    app.window().setRootViewController(loose);
    app.runPending();
    EXPECT_EQ(loose->traderButton()->superview(), nullptr);
    loose->SearchMyStockPopoverShow();
    loose->searchBarTextField()->setText("600");
    loose->ReturnSelectedStock("浦发银行", "SH600000");
    loose->PushStockVC("SH600000");
    app.advance(1);
    EXPECT_EQ(loose->searchBarTextField()->text(), "");
    EXPECT_EQ(app.window().rootViewController(), loose.get());
    EXPECT_TRUE(ui::Popover::visiblePopovers().empty());
}

TEST_F(ShellTest, TypingReachesOnlyTheSearchOfTheFieldBeingEdited) {
    auto home = makeScreen({true, false, true, true, true, true});
    show(home);
    // Another screen's field and search exist, but that screen is not editing.
    auto other = makeScreen({true, false, true, true, false, true});
    other->view();
    other->SearchMyStockPopoverShow();

    app.tap(centre(*home->searchBarTextField()));
    EXPECT_TRUE(home->searchBarTextFieldEditing());
    ASSERT_TRUE(home->searchPopoverController());
    EXPECT_TRUE(home->searchPopoverController()->isVisible());
    app.typeText("60");
    EXPECT_TRUE(searchOf(*home).isShowingResults());
    EXPECT_FALSE(searchOf(*other).isShowingResults());

    // Emptying the field goes back to the recent list.
    app.pressBackspace();
    app.pressBackspace();
    EXPECT_FALSE(searchOf(*home).isShowingResults());
}

TEST_F(ShellTest, ATapOutsideTheSearchEmptiesTheFieldAndTheNextOpeningShowsTheRecentList) {
    auto home = makeScreen({true, false, true, true, true, true});
    show(home);
    app.tap(centre(*home->searchBarTextField()));
    app.typeText("pf");
    ui::Popover *search = home->searchPopoverController().get();
    ASSERT_TRUE(search->isVisible());

    app.tap({500, 700});
    app.advance(1);
    EXPECT_FALSE(search->isVisible());
    EXPECT_EQ(home->searchBarTextField()->text(), "");
    EXPECT_FALSE(home->searchBarTextField()->isEditing());
    EXPECT_FALSE(home->searchBarTextFieldEditing());

    app.tap(centre(*home->searchBarTextField()));
    EXPECT_EQ(home->searchPopoverController().get(), search) << "made once";
    EXPECT_TRUE(search->isVisible());
    EXPECT_FALSE(searchOf(*home).isShowingResults());
}

TEST_F(ShellTest, VoiceTextFillsTheFieldAndSearches) {
    auto home = makeScreen({true, false, true, true, true, true});
    show(home);
    home->ReturnSpeechSearchResult("浦发");
    EXPECT_EQ(home->searchBarTextField()->text(), "浦发");
    ASSERT_TRUE(home->searchPopoverController());
    EXPECT_TRUE(home->searchPopoverController()->isVisible());
    EXPECT_TRUE(searchOf(*home).isShowingResults());
}

TEST_F(ShellTest, SettingsPopoverIsOneForEveryScreen) {
    auto home = makeScreen({true, false, true, true, true, true});
    auto nav = show(home);
    home->settingsButtonAction(settingsControl(*home));
    base::Ref<ui::Popover> first = DataManager::sharedDataManager().gSettingsPopoverVC;
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(navOf(*first).viewControllers().front()->contentSizeInPopover(), (gfx::Size{320, 400}));
    home->ReturnLogoutAction();
    app.advance(1);
    EXPECT_FALSE(first->isVisible());

    auto second = makeScreen({true, false, true, true, false, true});
    show(second);
    second->settingsButtonAction(settingsControl(*second));
    EXPECT_EQ(DataManager::sharedDataManager().gSettingsPopoverVC, first);
    EXPECT_TRUE(first->isVisible());
}

TEST_F(ShellTest, TheBreakingNewsPopoverIsMarkedWhileItShows) {
    auto home = makeScreen({true, false, true, true, true, true});
    show(home);
    breakingNews().array = {"旧闻", "", "新闻"};
    app.tap(centre(*home->breakingNewsButton()));
    base::Ref<ui::Popover> news = DataManager::sharedDataManager().gBreakingNewsPopoverVC;
    ASSERT_TRUE(news);
    EXPECT_TRUE(news->isVisible());
    EXPECT_TRUE(breakingNews().isShowingPopover);
    auto &list = dynamic_cast<BreakNewsViewController &>(*navOf(*news).viewControllers().front());
    EXPECT_EQ(list.newsArray(), (std::vector<std::string>{"新闻", "旧闻"})) << "newest first, no gaps";

    app.tap({500, 700});
    app.advance(1);
    EXPECT_FALSE(news->isVisible());
    EXPECT_FALSE(breakingNews().isShowingPopover) << "the next breaking news shows as a tip";

    // Shown again, it carries the newest list.
    breakingNews().array = {"更新"};
    app.tap(centre(*home->breakingNewsButton()));
    EXPECT_EQ(DataManager::sharedDataManager().gBreakingNewsPopoverVC, news);
    EXPECT_EQ(list.newsArray(), std::vector<std::string>{"更新"});
}

TEST_F(ShellTest, TheBreakingNewsPopoverAnswersToTheScreenThatShowedItLast) {
    auto home = makeScreen({true, false, true, true, true, true});
    auto nav = show(home);
    app.tap(centre(*home->breakingNewsButton()));
    app.tap({500, 700});
    app.advance(1);

    base::Ref<ui::Popover> news = DataManager::sharedDataManager().gBreakingNewsPopoverVC;
    {
        auto detail = base::make<StockDetailViewController>();
        nav->push(detail, false);
        app.runPending();
        app.tap(centre(*detail->breakingNewsButton()));
        EXPECT_TRUE(breakingNews().isShowingPopover);
        // The screen goes while its popover shows: the popover closes with it, unmarked.
        nav->pop(false);
        app.runPending();
    }
    EXPECT_FALSE(news->isVisible());
    EXPECT_FALSE(breakingNews().isShowingPopover);

    // The root shows it again and hears its dismissal.
    app.tap(centre(*home->breakingNewsButton()));
    app.tap({500, 700});
    app.advance(1);
    EXPECT_FALSE(breakingNews().isShowingPopover);
}

TEST_F(ShellTest, EveryAlarmPressOpensANewPopover) {
    auto home = makeScreen({true, false, true, true, true, true});
    show(home);
    app.tap(centre(*home->stockAlarmButton()));
    ASSERT_EQ(ui::Popover::visiblePopovers().size(), 1u);
    base::Ref<ui::Popover> first = ui::Popover::visiblePopovers().front();
    app.tap({500, 700});
    app.advance(1);
    app.tap(centre(*home->stockAlarmButton()));
    ASSERT_EQ(ui::Popover::visiblePopovers().size(), 1u);
    EXPECT_NE(ui::Popover::visiblePopovers().front(), first);
}

TEST_F(ShellTest, OneWaitingIndicatorAtATime) {
    auto screen = makeScreen({});
    show(screen);
    screen->stopWaitingAlert(); // none yet: harmless
    screen->startWaitingAlert({100, 100, 200, 100});
    CMWaitingAlertView *first = screen->waitingAlert();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->infoLabel()->text(), "加载中...");
    screen->startWaitingAlert({0, 0, 50, 50});
    EXPECT_EQ(screen->waitingAlert(), first);
    EXPECT_EQ(first->frame(), (gfx::Rect{100, 100, 200, 100}));
    screen->stopWaitingAlert();
    EXPECT_EQ(screen->waitingAlert(), nullptr);
    EXPECT_EQ(screen->view().subviews().size(), 0u);
}

TEST_F(ShellTest, NavigationBarLooksRight) {
    auto home = makeScreen({true, false, true, true, true, true});
    show(home);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/navigation-bar"));
}

} // namespace
} // namespace shell
