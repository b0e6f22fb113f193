#include "host/Offscreen.h"
#include "ui/Animator.h"
#include "ui/Button.h"
#include "ui/NavigationController.h"
#include "ui/Popover.h"
#include "ui/TabBarController.h"
#include "ui/ViewController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;
using Calls = std::vector<std::string>;

Calls *journal = nullptr;

// A controller (or container) that writes down every life-cycle call, and answers the rotation
// question as told.
template <class Base> struct Recorded : Base {
    using Base::Base;
    std::string name = "?";
    std::function<bool(Orientation)> answer = [](Orientation o) { return int(o) >= 3; };

    void note(const std::string &what) {
        if (journal)
            journal->push_back(name + " " + what);
    }
    void loadView() override {
        note("load");
        Base::loadView();
    }
    void viewDidLoad() override { note("didLoad"); }
    void viewDidUnload() override { note("didUnload"); }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }
    bool shouldAutorotateTo(Orientation o) override {
        note("rotate " + std::to_string(int(o)));
        return answer(o);
    }
};

using Screen = Recorded<ViewController>;
using Nav = Recorded<NavigationController>;
using Tabs = Recorded<TabBarController>;

template <class T = Screen, class... A> Ref<T> named(std::string name, A &&...args) {
    auto c = make<T>(std::forward<A>(args)...);
    c->name = std::move(name);
    return c;
}

// Stand for the stock detail screen the tab strips re-target and the market screen they return to.
struct Detail : Screen {
    std::string code;
};
struct Market : Screen {};

struct ControllerTest : ::testing::Test {
    host::TestApp app;
    Calls calls;
    ControllerTest() { journal = &calls; }
    ~ControllerTest() override {
        journal = nullptr;
        app.window().setRootViewController(nullptr);
        Application::shared().setStatusBarOrientation(Orientation::LandscapeLeft);
    }
    Calls take() { return std::exchange(calls, {}); }
};

TEST_F(ControllerTest, ViewsLoadOnFirstUseAndNeverInAContainersSetUp) {
    auto a = named("A"), b = named("B");
    auto nav = named<Nav>("Nav", a);
    auto tabs = named<Tabs>("Tabs");
    tabs->setViewControllers({nav, b}, false);
    EXPECT_TRUE(take().empty()) << "making containers and setting tabs loads nothing";
    EXPECT_FALSE(a->isViewLoaded());
    EXPECT_FALSE(tabs->isViewLoaded());

    a->view();
    a->view();
    EXPECT_EQ(take(), (Calls{"A load", "A didLoad"}));
    EXPECT_EQ(a->navigationController(), nav.get());
    EXPECT_EQ(a->tabBarController(), tabs.get());
    EXPECT_EQ(b->navigationController(), nullptr);
}

TEST_F(ControllerTest, ANewRootIsAskedToRotateBeforeItAppearsAndTheOldOneDisappears) {
    auto a = named("A"), b = named("B");
    auto nav = named<Nav>("Nav", a);
    auto tabs = named<Tabs>("Tabs");
    tabs->setViewControllers({nav, b}, false);
    app.window().setRootViewController(tabs);
    EXPECT_EQ(take(),
              (Calls{"Tabs load", "Nav load", "A load", "A didLoad", "Nav didLoad", "Tabs didLoad",
                     "Tabs rotate 4", "Tabs willAppear", "Nav rotate 4", "Nav willAppear", "A rotate 4",
                     "A willAppear", "Tabs didAppear", "Nav didAppear", "A didAppear"}));
    EXPECT_FALSE(b->isViewLoaded()) << "a tab not shown is not loaded";
    EXPECT_EQ(tabs->view().frame(), (gfx::Rect{0, 20, 1024, 748}));
    EXPECT_EQ(a->view().frame(), (gfx::Rect{0, 44, 1024, 748 - 49 - 44}));
    EXPECT_EQ(tabs->tabBar().frame(), (gfx::Rect{0, 699, 1024, 49}));

    auto splash = named("Splash");
    app.window().setRootViewController(splash);
    EXPECT_EQ(take(), (Calls{"Tabs willDisappear", "Nav willDisappear", "A willDisappear",
                             "Tabs didDisappear", "Nav didDisappear", "A didDisappear", "Splash load",
                             "Splash didLoad", "Splash rotate 4", "Splash willAppear", "Splash didAppear"}));
    EXPECT_EQ(tabs->view().window(), nullptr);
}

TEST_F(ControllerTest, ChangingTabsSwapsTheScreensBelowTheOverlays) {
    auto a = named("A"), b = named("B");
    auto tabs = named<Tabs>("Tabs");
    tabs->setViewControllers({a, b}, false);
    app.window().setRootViewController(tabs);
    auto overlay = make<View>(gfx::Rect{0, 0, 1024, 768});
    tabs->view().addSubview(overlay);
    take();

    tabs->setSelectedIndex(1);
    EXPECT_EQ(take(), (Calls{"A willDisappear", "A didDisappear", "B load", "B didLoad", "B rotate 4",
                             "B willAppear", "B didAppear"}));
    EXPECT_EQ(tabs->selectedController(), b.get());
    EXPECT_EQ(tabs->view().subviews().back(), overlay) << "the overlay stays on top";
    EXPECT_EQ(a->view().window(), nullptr);

    tabs->setSelectedIndex(1);
    tabs->setSelectedIndex(7);
    tabs->setSelectedIndex(-1);
    EXPECT_TRUE(take().empty()) << "the same tab or one out of range changes nothing";
}

TEST_F(ControllerTest, ReplacedTabsTellTheScreenTheyHeldLastThatItLeaves) {
    auto tabs = named<Tabs>("Tabs");
    tabs->setViewControllers({named("A")}, false);
    app.window().setRootViewController(tabs);
    take();
    tabs->setViewControllers({named("B")}, false);
    EXPECT_EQ(take(), (Calls{"A willDisappear", "A didDisappear", "B load", "B didLoad", "B rotate 4",
                             "B willAppear", "B didAppear"}));
}

TEST_F(ControllerTest, TappingATabAsksTheDelegateWhichIsNotKeptAlive) {
    struct Gate : TabBarControllerDelegate {
        bool allow = true;
        Calls seen;
        base::Opt<bool> shouldSelect(TabBarController &, ViewController &c) override {
            seen.push_back("should " + c.title());
            return allow;
        }
        base::Opt<void> didSelect(TabBarController &, ViewController &c) override {
            seen.push_back("did " + c.title());
            return {};
        }
    };
    auto a = named("A"), b = named("B");
    a->setTitle("行情");
    b->setTitle("自选");
    auto tabs = named<Tabs>("Tabs");
    tabs->setViewControllers({a, b}, false);
    app.window().setRootViewController(tabs);
    auto gate = make<Gate>();
    tabs->delegate = gate;
    auto tapTab = [&](int i) {
        gfx::Rect r = tabs->tabBar().convert(tabs->tabBar().itemFrame(i), nullptr);
        app.tap({r.midX(), r.midY()});
    };

    gate->allow = false;
    tapTab(1);
    EXPECT_EQ(tabs->selectedIndex(), 0);
    gate->allow = true;
    tapTab(1);
    EXPECT_EQ(tabs->selectedIndex(), 1);
    tabs->setSelectedIndex(0);
    EXPECT_EQ(gate->seen, (Calls{"should 自选", "should 自选", "did 自选"}))
        << "the program's choice is not reported";

    gate.reset();
    tapTab(1);
    EXPECT_EQ(tabs->selectedIndex(), 1) << "a delegate that is gone is skipped";
}

TEST_F(ControllerTest, PushAndPopSlideAndTellEachScreenInOrder) {
    auto a = named("A"), b = named("B"), c = named("C");
    auto nav = named<Nav>("Nav", a);
    app.window().setRootViewController(nav);
    take();

    nav->push(b, true);
    EXPECT_EQ(take(), (Calls{"B load", "B didLoad", "A willDisappear", "B rotate 4", "B willAppear"}));
    EXPECT_EQ(nav->top(), b.get());
    EXPECT_GT(Animator::shared().presentation(b->view()).center.x, 512) << "sliding in from the right";
    app.advance(NavigationController::SlideDuration);
    EXPECT_EQ(take(), (Calls{"A didDisappear", "B didAppear"}));
    EXPECT_EQ(a->view().superview(), nullptr);
    EXPECT_EQ(nav->navigationBar().items().size(), 2u);

    nav->push(c, false);
    EXPECT_EQ(take(), (Calls{"C load", "C didLoad", "B willDisappear", "C rotate 4", "C willAppear",
                             "B didDisappear", "C didAppear"}));

    auto popped = nav->popToRoot(true);
    ASSERT_EQ(popped.size(), 2u);
    EXPECT_EQ(popped[0], b);
    EXPECT_EQ(popped[1], c);
    app.advance(NavigationController::SlideDuration);
    EXPECT_EQ(take(),
              (Calls{"C willDisappear", "A rotate 4", "A willAppear", "C didDisappear", "A didAppear"}))
        << "the screens between hear nothing";
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_EQ(b->navigationController(), nullptr);
}

TEST_F(ControllerTest, AnOperationDuringASlideEndsTheSlideFirst) {
    auto a = named("A"), b = named("B");
    auto nav = named<Nav>("Nav", a);
    app.window().setRootViewController(nav);
    nav->push(b, true);
    take();
    EXPECT_EQ(nav->pop(true), b);
    EXPECT_EQ(take(),
              (Calls{"A didDisappear", "B didAppear", "B willDisappear", "A rotate 4", "A willAppear"}));
    app.advance(1);
    EXPECT_EQ(take(), (Calls{"B didDisappear", "A didAppear"}));
    EXPECT_EQ(a->view().frame(), nav->contentFrame());
}

TEST_F(ControllerTest, MisuseOfTheStackDoesNothing) {
    auto a = named("A"), b = named("B");
    auto nav = named<Nav>("Nav", a);
    auto other = named<Nav>("Other", named("X"));
    app.window().setRootViewController(nav);
    nav->push(b, false);
    take();

    struct Case {
        const char *name;
        std::function<void()> act;
    } cases[] = {
        {"push what is on the stack", [&] { nav->push(b, true); }},
        {"push the root", [&] { nav->push(a, false); }},
        {"push nothing", [&] { nav->push(nullptr, false); }},
        {"push a screen of another stack", [&] { nav->push(other->viewControllers()[0], false); }},
        {"pop to a screen not on the stack", [&] { nav->popTo(*other, false); }},
    };
    for (auto &c : cases) {
        c.act();
        EXPECT_EQ(nav->viewControllers().size(), 2u) << c.name;
        EXPECT_TRUE(take().empty()) << c.name;
    }
    nav->pop(false);
    EXPECT_EQ(nav->pop(true), nullptr) << "the root stays";
    EXPECT_TRUE(nav->popToRoot(false).empty());
    EXPECT_EQ(nav->viewControllers().size(), 1u);
}

TEST_F(ControllerTest, TabStripsRetargetTheDetailOnTopOrPopToTheMarketScreen) {
    // Opening a security: re-target a detail screen on top of the selected tab, else push one.
    auto home = named("Home");
    auto market = named<Market>("Market");
    auto homeNav = named<Nav>("HomeNav", home), marketNav = named<Nav>("MarketNav", market);
    auto tabs = named<Tabs>("Tabs");
    tabs->setViewControllers({homeNav, named("Watch"), marketNav}, false);
    app.window().setRootViewController(tabs);
    auto open = [&](const std::string &code) {
        auto *nav = dynamic_cast<NavigationController *>(tabs->selectedController());
        if (auto *detail = dynamic_cast<Detail *>(nav->visible())) {
            detail->code = code;
            return;
        }
        auto detail = named<Detail>("Detail");
        detail->code = code;
        nav->push(detail, true);
    };
    open("SH000001");
    app.advance(1);
    open("SZ399001");
    ASSERT_EQ(homeNav->viewControllers().size(), 2u);
    EXPECT_EQ(homeNav->controllersOf<Detail>().size(), 1u);
    EXPECT_EQ(homeNav->controllersOf<Detail>()[0]->code, "SZ399001");

    // Opening the board list: select the market tab and pop it back to its root screen.
    marketNav->push(named<Detail>("Detail2"), false);
    tabs->setSelectedIndex(2);
    take();
    if (!dynamic_cast<Market *>(marketNav->visible()))
        marketNav->popToRoot(true);
    app.advance(1);
    EXPECT_EQ(marketNav->top(), market.get());
    EXPECT_EQ(take(), (Calls{"Market load", "Market didLoad", "Detail2 willDisappear", "Market rotate 4",
                             "Market willAppear", "Detail2 didDisappear", "Market didAppear"}));
}

TEST_F(ControllerTest, BarShowsTheTopItemWithABackButtonThatPops) {
    auto a = named("A"), b = named("B");
    a->setTitle("分类");
    auto nav = named<Nav>("Nav", a);
    app.window().setRootViewController(nav);
    NavigationBar &bar = nav->navigationBar();
    EXPECT_EQ(bar.backButton(), nullptr);
    nav->push(b, false);
    ASSERT_NE(bar.backButton(), nullptr);
    auto *back = dynamic_cast<Button *>(bar.backButton());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->currentTitle(), "分类");

    // A left item of its own takes the back button's place; a button put on the bar stays.
    auto logo = make<View>(gfx::Rect{0, 0, 120, 30});
    auto extra = make<View>(gfx::Rect{700, 5, 40, 34});
    bar.addSubview(extra);
    b->navigationItem().setTitleView(logo);
    b->navigationItem().setLeftItem(BarButtonItem::system(BarButtonItem::SystemItem::Cancel, {}));
    EXPECT_EQ(bar.backButton(), nullptr);
    EXPECT_EQ(logo->superview(), &bar);
    EXPECT_EQ(bar.subviews().back(), extra);
    bar.layoutIfNeeded();
    EXPECT_EQ(logo->frame(), (gfx::Rect{452, 7, 120, 30})) << "the title view is centred";

    b->navigationItem().setLeftItem(nullptr);
    bar.layoutIfNeeded();
    gfx::Rect r = bar.backButton()->convert(bar.backButton()->bounds(), nullptr);
    app.tap({r.midX(), r.midY()});
    app.advance(1);
    EXPECT_EQ(nav->top(), a.get());
    EXPECT_EQ(extra->superview(), &bar);
}

TEST_F(ControllerTest, APromptMakesTheBarTallerAndItemsRunTheirActions) {
    auto bar = make<NavigationBar>(gfx::Rect{0, 0, 540, 44});
    auto item = make<NavigationItem>("example.com");
    int login = 0;
    item->setRightItem(BarButtonItem::titled("Login", BarButtonItem::Style::Done,
                                             base::Action("login", [&](base::Object *) { ++login; })));
    bar->pushItem(item);
    EXPECT_EQ(bar->sizeThatFits({540, 0}).h, 44);
    item->setPrompt("Login to this secure server.");
    EXPECT_EQ(bar->sizeThatFits({540, 0}).h, 74);
    item->rightItem()->press();
    item->rightItem()->setEnabled(false);
    item->rightItem()->press();
    EXPECT_EQ(login, 1) << "a disabled item does nothing";
    EXPECT_EQ(BarButtonItem::system(BarButtonItem::SystemItem::Cancel, {})->title(), "取消");
}

TEST_F(ControllerTest, FullScreenModalCoversTheRootChainAndDismissesBack) {
    auto a = named("A");
    auto nav = named<Nav>("Nav", a);
    app.window().setRootViewController(nav);
    take();
    auto guide = named("Guide");
    a->presentModal(guide, false);
    EXPECT_EQ(take(),
              (Calls{"Guide load", "Guide didLoad", "Nav willDisappear", "A willDisappear", "Guide rotate 4",
                     "Guide willAppear", "Nav didDisappear", "A didDisappear", "Guide didAppear"}));
    EXPECT_EQ(a->presentedController(), guide.get());
    EXPECT_EQ(guide->presentingController(), a.get());
    EXPECT_EQ(guide->view().frame(), (gfx::Rect{0, 20, 1024, 748}));

    a->presentModal(named("Second"), false);
    nav->push(guide, false);
    EXPECT_TRUE(take().empty()) << "one presentation at a time; a presented screen is not pushed";

    guide->dismissModal(false);
    EXPECT_EQ(take(), (Calls{"Guide willDisappear", "Nav rotate 4", "Nav willAppear", "A rotate 4",
                             "A willAppear", "Guide didDisappear", "Nav didAppear", "A didAppear"}));
    EXPECT_EQ(a->presentedController(), nullptr);
    EXPECT_EQ(guide->view().window(), nullptr);
}

TEST_F(ControllerTest, APresentedScreenOutlivesItsPresenterUntilDismissed) {
    auto a = named("A");
    app.window().setRootViewController(a);
    base::Weak<Screen> weak;
    {
        auto sheet = named("Sheet");
        weak = sheet;
        sheet->presentation = ViewController::Presentation::FormSheet;
        a->presentModal(sheet, false);
    }
    app.window().setRootViewController(nullptr);
    a.reset();
    auto sheet = weak.lock();
    ASSERT_TRUE(sheet) << "the presented screen is held while it shows";
    sheet->dismissModal(false);
    EXPECT_EQ(sheet->view().window(), nullptr);
    sheet.reset();
    EXPECT_TRUE(weak.expired());
}

TEST_F(ControllerTest, FormSheetSlidesUpOverADimmedWindowThatTakesTouches) {
    auto a = named("A");
    app.window().setRootViewController(a);
    int pressed = 0;
    auto button = Button::custom({20, 40, 100, 40});
    button->addTarget(base::Action("press", [&](base::Object *) { ++pressed; }), TouchUpInside);
    a->view().addSubview(button);
    take();

    auto sheet = named("Sheet");
    sheet->presentation = ViewController::Presentation::FormSheet;
    a->presentModal(sheet, true);
    EXPECT_EQ(take(), (Calls{"Sheet load", "Sheet didLoad", "Sheet rotate 4", "Sheet willAppear"}))
        << "the screen below stays";
    EXPECT_GT(Animator::shared().presentation(sheet->view()).center.y, 384);
    app.advance(ViewController::CoverVerticalDuration);
    EXPECT_EQ(take(), (Calls{"Sheet didAppear"}));
    EXPECT_EQ(sheet->view().convert(sheet->view().bounds(), nullptr), (gfx::Rect{242, 74, 540, 620}));

    app.tap({60, 80});
    EXPECT_EQ(pressed, 0) << "the dimmed window keeps the touch from the screen below";
    sheet->dismissModal(true);
    app.advance(ViewController::CoverVerticalDuration);
    EXPECT_EQ(take(), (Calls{"Sheet willDisappear", "Sheet didDisappear"}));
    app.tap({60, 80});
    EXPECT_EQ(pressed, 1);
}

TEST_F(ControllerTest, CrossDissolveFadesTheScreenInOverThreeTenths) {
    auto a = named("A");
    app.window().setRootViewController(a);
    auto full = named("Full");
    full->transition = ViewController::Transition::CrossDissolve;
    full->modalInPopover = true;
    a->presentModal(full, true);
    app.advance(ViewController::CrossDissolveDuration / 2);
    EXPECT_NEAR(Animator::shared().presentation(full->view()).alpha, 0.5f, 0.01f);
    take();
    app.advance(ViewController::CrossDissolveDuration / 2);
    EXPECT_EQ(take(), (Calls{"A didDisappear", "Full didAppear"}));
    full->dismissModal(false);
}

TEST_F(ControllerTest, RotationAsksTheRootThenTheVisibleChainAndANoKeepsTheOrientation) {
    struct Case {
        const char *name;
        std::string refuser; // who answers no to 3
        bool turns;
        Calls asked;
    } cases[] = {
        {"all agree", "", true, {"Tabs rotate 3", "Nav rotate 3", "A rotate 3", "Full rotate 3"}},
        {"the tab bar refuses for its tabs", "Tabs", false, {"Tabs rotate 3"}},
        {"the top screen refuses", "A", false, {"Tabs rotate 3", "Nav rotate 3", "A rotate 3"}},
    };
    for (auto &c : cases) {
        auto a = named("A");
        auto nav = named<Nav>("Nav", a);
        auto tabs = named<Tabs>("Tabs");
        tabs->setViewControllers({nav, named("B")}, false);
        app.window().setRootViewController(tabs);
        auto full = named("Full");
        a->presentModal(full, false);
        for (Screen *s : {static_cast<Screen *>(a.get()), full.get()})
            s->answer = [&c, s](Orientation o) {
                return s->name != c.refuser || o != Orientation::LandscapeRight;
            };
        nav->answer = [](Orientation) { return true; };
        tabs->answer = [&c](Orientation o) {
            return c.refuser != "Tabs" || o != Orientation::LandscapeRight;
        };
        // A popover whose content answers portrait only does not matter.
        auto popover = make<Popover>(named("Menu"));
        dynamic_cast<Screen &>(popover->content()).answer = [](Orientation o) {
            return o == Orientation::Portrait;
        };
        popover->presentFromRect({10, 10, 20, 20}, app.window(), ArrowUp, false);
        take();

        EXPECT_EQ(app.window().rotate(Orientation::LandscapeRight), c.turns) << c.name;
        EXPECT_EQ(take(), c.asked) << c.name;
        EXPECT_EQ(Application::shared().statusBarOrientation(),
                  c.turns ? Orientation::LandscapeRight : Orientation::LandscapeLeft)
            << c.name;
        EXPECT_EQ(app.window().bounds().s, (gfx::Size{1024, 768}));
        popover->dismiss(false);
        full->dismissModal(false);
        Application::shared().setStatusBarOrientation(Orientation::LandscapeLeft);
    }
}

TEST_F(ControllerTest, MemoryWarningUnloadsOnlyViewsOutOfTheWindow) {
    auto a = named("A"), b = named("B"), never = named("Never");
    auto nav = named<Nav>("Nav", a);
    app.window().setRootViewController(nav);
    nav->push(b, false);
    take();

    Application::shared().simulateMemoryWarning();
    EXPECT_EQ(take(), (Calls{"A didUnload"}));
    EXPECT_FALSE(a->isViewLoaded());
    EXPECT_TRUE(b->isViewLoaded());
    EXPECT_FALSE(never->isViewLoaded());

    nav->pop(false);
    EXPECT_EQ(take(), (Calls{"A load", "A didLoad", "B willDisappear", "A rotate 4", "A willAppear",
                             "B didDisappear", "A didAppear"}));
}

} // namespace
} // namespace ui
