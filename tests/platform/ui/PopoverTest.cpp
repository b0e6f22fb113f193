#include "ui/Popover.h"
#include "host/Offscreen.h"
#include "ui/Alert.h"
#include "ui/Animator.h"
#include "ui/Button.h"
#include "ui/KeyboardHost.h"
#include "ui/NavigationController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;
using Calls = std::vector<std::string>;

// Content that wants a size of its own, set when its view loads, and notes its appearances.
struct Menu : ViewController {
    gfx::Size wanted;
    Calls *calls = nullptr;
    explicit Menu(gfx::Size wanted, Calls *calls = nullptr) : wanted(wanted), calls(calls) {}
    void viewDidLoad() override { setContentSizeInPopover(wanted); }
    void viewWillAppear(bool) override { note("willAppear"); }
    void viewDidAppear(bool) override { note("didAppear"); }
    void viewWillDisappear(bool) override { note("willDisappear"); }
    void viewDidDisappear(bool) override { note("didDisappear"); }
    void note(const std::string &what) {
        if (calls)
            calls->push_back(what);
    }
};

struct Watcher : PopoverDelegate {
    Calls calls;
    bool allow = true;
    base::Opt<bool> shouldDismiss(Popover &) override {
        calls.push_back("should");
        return allow;
    }
    base::Opt<void> didDismiss(Popover &p) override {
        calls.push_back(p.isVisible() ? "did (still visible)" : "did");
        return {};
    }
};

struct PopoverTest : ::testing::Test {
    host::TestApp app;
    Window &window = app.window();
    ~PopoverTest() override {
        for (auto &p : Popover::visiblePopovers())
            p->dismiss(false);
    }
    Ref<Popover> popover(gfx::Size size, Calls *calls = nullptr) {
        return make<Popover>(make<Menu>(size, calls));
    }
};

TEST_F(PopoverTest, PlacementTriesUpDownLeftRightThenTheRoomiestSide) {
    // The usable area is the application frame (y 20 to 768) less 10 points on every side.
    struct Case {
        const char *name;
        gfx::Rect anchor;
        unsigned arrows;
        gfx::Size content;
        Arrow arrow;
        gfx::Rect box;
        gfx::Point tip;
    } cases[] = {
        {"below a button at the top",
         {500, 30, 24, 24},
         ArrowUp,
         {320, 400},
         ArrowUp,
         {344, 67, 336, 416},
         {512, 54}},
        {"no room below: above",
         {500, 700, 24, 24},
         ArrowAny,
         {320, 400},
         ArrowDown,
         {344, 271, 336, 416},
         {512, 700}},
        {"at the left edge: to the right",
         {5, 400, 20, 20},
         ArrowLeft | ArrowRight,
         {320, 400},
         ArrowLeft,
         {38, 202, 336, 416},
         {25, 410}},
        {"at the right edge: to the left",
         {1000, 400, 20, 20},
         ArrowLeft | ArrowRight,
         {320, 400},
         ArrowRight,
         {651, 202, 336, 416},
         {1000, 410}},
        {"in the top left corner: kept inside, arrow off centre",
         {0, 20, 30, 30},
         ArrowUp,
         {320, 400},
         ArrowUp,
         {10, 63, 336, 416},
         {31, 50}},
        {"nothing fits: the roomier side, shortened",
         {500, 300, 24, 24},
         ArrowUp | ArrowDown,
         {320, 700},
         ArrowUp,
         {344, 337, 336, 421},
         {512, 324}},
        {"the explicit right arrow",
         {600, 300, 40, 40},
         ArrowRight,
         {320, 300},
         ArrowRight,
         {251, 162, 336, 316},
         {600, 320}},
        {"no arrow given counts as any",
         {500, 30, 24, 24},
         0,
         {200, 200},
         ArrowUp,
         {404, 67, 216, 216},
         {512, 54}},
    };
    for (auto &c : cases) {
        auto p = popover(c.content);
        p->presentFromRect(c.anchor, window, c.arrows, false);
        EXPECT_EQ(p->arrowDirection(), c.arrow) << c.name;
        EXPECT_EQ(p->frame(), c.box) << c.name;
        EXPECT_EQ(p->arrowTip(), c.tip) << c.name;
        gfx::Rect area = Screen::main().applicationFrame().inset(Popover::Margin, Popover::Margin);
        EXPECT_EQ(area.intersection(p->frame()), p->frame()) << c.name;
        View &content = p->content().view();
        EXPECT_EQ(content.convert(content.bounds(), nullptr),
                  p->frame().inset(Popover::Border, Popover::Border))
            << c.name;
        p->dismiss(false);
    }
}

TEST_F(PopoverTest, TheAnchorIsTakenFromTheViewItIsIn) {
    auto host = make<View>(gfx::Rect{100, 200, 300, 100});
    window.addSubview(host);
    auto p = popover({320, 200});
    p->presentFromRect({10, 10, 40, 30}, *host, ArrowUp, false);
    EXPECT_EQ(p->arrowTip(), (gfx::Point{130, 240}));
}

TEST_F(PopoverTest, AnOutsideTapAsksThenDismissesThenTellsAndIsConsumed) {
    int pressed = 0;
    auto button = Button::custom({700, 500, 100, 60});
    button->addTarget(base::Action("press", [&](base::Object *) { ++pressed; }), TouchUpInside);
    window.addSubview(button);
    auto watcher = make<Watcher>();
    Calls life;
    auto p = popover({320, 200}, &life);
    p->delegate = watcher;
    p->presentFromRect({100, 40, 40, 30}, window, ArrowUp, true);
    app.advance(Popover::FadeDuration);
    EXPECT_EQ(life, (Calls{"willAppear", "didAppear"}));

    watcher->allow = false;
    app.tap({750, 530});
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(watcher->calls, (Calls{"should"}));

    watcher->allow = true;
    app.tap({750, 530});
    EXPECT_FALSE(p->isVisible());
    EXPECT_EQ(watcher->calls, (Calls{"should", "should", "did"}));
    EXPECT_EQ(pressed, 0) << "the tap that closes a popover goes nowhere else";
    app.advance(Popover::FadeDuration);
    EXPECT_EQ(life, (Calls{"willAppear", "didAppear", "willDisappear", "didDisappear"}));

    app.tap({p->frame().midX(), p->frame().midY()});
    app.tap({750, 530});
    EXPECT_EQ(pressed, 1) << "once closed, touches reach the screen again";
}

TEST_F(PopoverTest, ATapInsideIsTheContentsAndDismissFromTheProgramIsSilent) {
    auto watcher = make<Watcher>();
    auto p = popover({320, 200});
    p->delegate = watcher;
    int pressed = 0;
    auto button = Button::custom({0, 0, 100, 40});
    button->addTarget(base::Action("press", [&](base::Object *) { ++pressed; }), TouchUpInside);
    p->content().view().addSubview(button);
    p->presentFromRect({100, 40, 40, 30}, window, ArrowUp, false);
    gfx::Rect r = button->convert(button->bounds(), nullptr);
    app.tap({r.midX(), r.midY()});
    EXPECT_EQ(pressed, 1);
    EXPECT_TRUE(p->isVisible());
    p->dismiss(true);
    EXPECT_FALSE(p->isVisible());
    EXPECT_TRUE(watcher->calls.empty());
}

TEST_F(PopoverTest, PresentingAVisiblePopoverAgainMovesIt) {
    Calls life;
    auto p = popover({320, 200}, &life);
    p->presentFromRect({100, 40, 40, 30}, window, ArrowUp, false);
    p->presentFromRect({800, 40, 40, 30}, window, ArrowUp, false);
    EXPECT_EQ(p->arrowTip(), (gfx::Point{820, 70}));
    EXPECT_EQ(Popover::visiblePopovers().size(), 1u);
    EXPECT_EQ(life, (Calls{"willAppear", "didAppear"})) << "moving is not appearing again";

    // Kept after closing, it opens again where it is asked.
    p->dismiss(false);
    p->presentFromRect({400, 40, 40, 30}, window, ArrowUp, false);
    EXPECT_EQ(p->arrowTip(), (gfx::Point{420, 70}));
    EXPECT_EQ(life.size(), 6u);
    p->dismiss(false);
}

TEST_F(PopoverTest, AStackedPopoverClosesAloneOnAnOutsideTap) {
    auto first = popover({320, 300}), second = popover({200, 100});
    auto watcher1 = make<Watcher>(), watcher2 = make<Watcher>();
    first->delegate = watcher1;
    second->delegate = watcher2;
    first->presentFromRect({100, 40, 40, 30}, window, ArrowUp, false);
    second->presentFromRect({150, 200, 20, 20}, window, ArrowLeft, false);
    EXPECT_EQ(Popover::visiblePopovers().back(), second);

    app.tap({900, 700});
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    EXPECT_TRUE(watcher1->calls.empty());
    app.tap({900, 700});
    EXPECT_FALSE(first->isVisible());
}

TEST_F(PopoverTest, AlertsSitAbovePopovers) {
    auto p = popover({320, 600});
    p->presentFromRect({400, 30, 40, 30}, window, ArrowUp, false);
    auto alert =
        make<Alert>("提示", "网络连接失败", base::Weak<AlertDelegate>(), "确定", std::vector<std::string>{});
    alert->show();
    app.tap({100, 700});
    EXPECT_TRUE(p->isVisible()) << "the alert takes the touch";
    EXPECT_TRUE(app.pressAlertButton(0));
    app.tap({100, 700});
    EXPECT_FALSE(p->isVisible());
}

TEST_F(PopoverTest, TheLayerHoldsAVisiblePopoverAndADelegateThatIsGoneIsSkipped) {
    base::Weak<Popover> weak;
    {
        auto p = popover({320, 200});
        auto watcher = make<Watcher>();
        p->delegate = watcher;
        p->presentFromRect({100, 40, 40, 30}, window, ArrowUp, false);
        weak = p;
    }
    ASSERT_FALSE(weak.expired()) << "nothing else keeps it, yet it shows";
    app.tap({900, 700});
    app.advance(1);
    EXPECT_TRUE(weak.expired());
}

TEST_F(PopoverTest, AModalInPopoverKeepsItOpen) {
    auto p = popover({320, 200});
    p->presentFromRect({100, 40, 40, 30}, window, ArrowUp, false);
    auto full = make<ViewController>();
    full->modalInPopover = true;
    full->presentation = ViewController::Presentation::FormSheet;
    p->content().presentModal(full, false);
    app.tap({1000, 760});
    EXPECT_TRUE(p->isVisible());
    full->dismissModal(false);
}

TEST_F(PopoverTest, APushInsideResizesToThePushedScreenAndBackOnPop) {
    // The market menu: a first level of 320 × 500, a deeper level titled "分类" of 240 × 400.
    auto first = make<Menu>(gfx::Size{320, 500});
    first->setTitle("板块");
    auto nav = make<NavigationController>(first);
    auto p = make<Popover>(nav);
    p->presentFromRect({100, 40, 40, 30}, window, ArrowUp, false);
    EXPECT_EQ(p->frame().s, (gfx::Size{336, 560}));

    auto deeper = make<Menu>(gfx::Size{240, 400});
    deeper->setTitle("分类");
    nav->push(deeper, true);
    EXPECT_EQ(p->frame().s, (gfx::Size{256, 460}));
    EXPECT_GT(Animator::shared().presentation(nav->view()).bounds.width(), 300) << "the size moves there";
    app.advance(Popover::ResizeDuration);
    EXPECT_EQ(Animator::shared().presentation(nav->view()).bounds.width(), 240);
    ASSERT_NE(nav->navigationBar().backButton(), nullptr);
    EXPECT_EQ(dynamic_cast<Button *>(nav->navigationBar().backButton())->currentTitle(), "板块");

    nav->navigationBar().layoutIfNeeded();
    gfx::Rect back =
        nav->navigationBar().backButton()->convert(nav->navigationBar().backButton()->bounds(), nullptr);
    app.tap({back.midX(), back.midY()});
    app.advance(Popover::ResizeDuration);
    EXPECT_EQ(nav->top(), first.get());
    EXPECT_EQ(p->frame().s, (gfx::Size{336, 560}));
}

TEST_F(PopoverTest, TheKeyboardMovesThePopoverUpAndItsContentMayShrinkIt) {
    // The broker chooser: 320 × 500, and 320 × 275 while the keyboard shows.
    auto menu = make<Menu>(gfx::Size{320, 500});
    auto p = make<Popover>(menu);
    p->presentFromRect({500, 100, 24, 24}, window, ArrowUp, false);
    EXPECT_EQ(p->frame(), (gfx::Rect{344, 137, 336, 516}));
    auto input = make<View>();
    KeyboardHost::shared().inputBegan(*input, {}, false);
    EXPECT_EQ(p->frame(), (gfx::Rect{344, 30, 336, 376})) << "up to the margin, then shortened";
    menu->setContentSizeInPopover({320, 275});
    EXPECT_EQ(p->frame(), (gfx::Rect{344, 115, 336, 291})) << "only as far up as the keyboard needs";
    KeyboardHost::shared().inputEnded(*input);
    menu->setContentSizeInPopover({320, 500});
    app.advance(1);
    EXPECT_EQ(p->frame(), (gfx::Rect{344, 137, 336, 516}));
}

TEST_F(PopoverTest, HidingTheBarGivesItsRoomToTheScreen) {
    auto menu = make<Menu>(gfx::Size{320, 300});
    auto nav = make<NavigationController>(menu);
    auto p = make<Popover>(nav);
    p->presentFromRect({100, 40, 40, 30}, window, ArrowUp, false);
    EXPECT_EQ(p->frame().s, (gfx::Size{336, 360}));
    nav->setNavigationBarHidden(true, false);
    EXPECT_EQ(p->frame().s, (gfx::Size{336, 316}));
    EXPECT_EQ(menu->view().frame(), (gfx::Rect{0, 0, 320, 300}));
}

TEST_F(PopoverTest, TheContentsOwnSizeChangeWinsOverTheOneSetOnThePopover) {
    auto menu = make<Menu>(gfx::Size{320, 500});
    auto p = make<Popover>(menu);
    p->setContentSize({300, 300}, false);
    p->presentFromRect({100, 40, 40, 30}, window, ArrowUp, false);
    EXPECT_EQ(p->frame().s, (gfx::Size{316, 316}));
    menu->setContentSizeInPopover({320, 275});
    app.advance(Popover::ResizeDuration);
    EXPECT_EQ(p->frame().s, (gfx::Size{336, 291}));
}

} // namespace
} // namespace ui
