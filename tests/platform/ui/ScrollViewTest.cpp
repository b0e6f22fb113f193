#include "ui/ScrollView.h"

#include "host/Offscreen.h"
#include "ui/Animator.h"
#include "ui/Button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;

// Writes down every callback with the flags the owners of scroll views look at inside them.
struct Recorder : ScrollViewDelegate {
    std::vector<std::string> calls;
    int scrolls = 0;
    std::function<void(ScrollView &)> onEndDragging;

    static std::string flags(ScrollView &s) {
        return std::string(s.isDragging() ? " dragging" : "") + (s.isDecelerating() ? " decelerating" : "");
    }
    base::Opt<void> didScroll(ScrollView &) override {
        ++scrolls;
        return {};
    }
    base::Opt<void> willBeginDragging(ScrollView &s) override {
        calls.push_back("willBeginDragging" + flags(s));
        return {};
    }
    base::Opt<void> didEndDragging(ScrollView &s, bool decelerate) override {
        calls.push_back(std::string("didEndDragging(") + (decelerate ? "yes)" : "no)") + flags(s));
        if (onEndDragging)
            onEndDragging(s);
        return {};
    }
    base::Opt<void> willBeginDecelerating(ScrollView &s) override {
        calls.push_back("willBeginDecelerating" + flags(s));
        return {};
    }
    base::Opt<void> didEndDecelerating(ScrollView &s) override {
        calls.push_back("didEndDecelerating" + flags(s));
        return {};
    }
    base::Opt<void> didEndScrollingAnimation(ScrollView &s) override {
        calls.push_back("didEndScrollingAnimation" + flags(s));
        return {};
    }
};

using Calls = std::vector<std::string>;

// A 300 × 200 scroll view at the window's origin over 1000 points of vertical content.
struct ScrollViewTest : ::testing::Test {
    host::TestApp app;
    Ref<ScrollView> scroll = make<ScrollView>(gfx::Rect{0, 0, 300, 200});
    Ref<Recorder> recorder = make<Recorder>();

    void SetUp() override {
        scroll->setContentSize({300, 1000});
        scroll->delegate = recorder;
        app.window().addSubview(scroll);
    }
    float y() const { return scroll->contentOffset().y; }
};

TEST_F(ScrollViewTest, ContentFollowsTheFingerAndAtHalfSpeedPastAnEdge) {
    struct Case {
        const char *name;
        float startY, fingerDy;
        bool bounces;
        float expected;
    } cases[] = {
        {"inside", 100, -80, true, 180},
        {"past the top", 0, 100, true, -50},
        {"a pull just past the refresh line", 0, 121, true, -60.5f},
        {"a pull back inside it", 0, 60, true, -30},
        {"past the bottom", 800, -60, true, 830},
        {"no bounce stops at the top", 0, 100, false, 0},
        {"no bounce stops at the bottom", 800, -60, false, 800},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        scroll->bounces = c.bounces;
        scroll->setContentOffset({0, c.startY});
        app.touchDown(1, {150, 60});
        for (int i = 1; i <= 4; ++i) {
            app.advance(0.05);
            app.touchMove(1, {150, 60 + c.fingerDy * float(i) / 4});
        }
        EXPECT_TRUE(scroll->isDragging());
        EXPECT_FLOAT_EQ(y(), c.expected);
        app.advance(0.2);
        app.touchUp(1);
        app.advance(1);
    }
}

TEST_F(ScrollViewTest, ReleaseWithoutMomentumEndsAtOnceNeitherDraggingNorDecelerating) {
    scroll->setContentOffset({0, 300});
    app.dragAndRest({150, 150}, {150, 50});
    EXPECT_EQ(recorder->calls, (Calls{"willBeginDragging dragging", "didEndDragging(no)"}));
    EXPECT_FLOAT_EQ(y(), 400);
    EXPECT_FALSE(scroll->isTracking());
}

TEST_F(ScrollViewTest, ReleaseWithMomentumDeceleratesAtAnyRate) {
    for (float rate : {0.f, 0.1f, 0.4f, 0.6f, ScrollView::NormalRate, 1.f}) {
        SCOPED_TRACE(rate);
        scroll->decelerationRate = rate;
        scroll->setContentOffset({0, 300});
        recorder->calls.clear();
        app.fling({150, 150}, {150, 100});
        EXPECT_EQ(recorder->calls, (Calls{"willBeginDragging dragging", "didEndDragging(yes) decelerating",
                                          "willBeginDecelerating decelerating"}));
        float released = y();
        app.advance(30);
        EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
        EXPECT_EQ(recorder->calls.size(), 4u);
        // The content went on in the direction of the throw, more the slower it loses speed.
        EXPECT_GE(y(), released);
        if (rate >= ScrollView::NormalRate) {
            EXPECT_GT(y(), released + 20);
        } else {
            EXPECT_LT(y(), released + 5);
        }
    }
}

TEST_F(ScrollViewTest, ReleasePastEitherEndSpringsBackInABounce) {
    for (auto [startY, fingerDy, edge] : {std::tuple{0.f, 120.f, 0.f}, std::tuple{800.f, -120.f, 800.f}}) {
        SCOPED_TRACE(edge);
        scroll->setContentOffset({0, startY});
        recorder->calls.clear();
        app.dragAndRest({150, 40}, {150, 40 + fingerDy});
        EXPECT_EQ(recorder->calls.at(1), "didEndDragging(yes) decelerating");
        app.advance(ScrollView::BounceDuration / 2);
        EXPECT_NE(y(), edge);
        app.advance(ScrollView::BounceDuration / 2 + 0.02);
        EXPECT_FLOAT_EQ(y(), edge);
        EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
    }
}

TEST_F(ScrollViewTest, AThrowStopsAtTheEdgeItReaches) {
    scroll->setContentOffset({0, 780});
    app.fling({150, 150}, {150, 120});
    app.advance(5);
    EXPECT_FLOAT_EQ(y(), 800);
    EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
}

TEST_F(ScrollViewTest, PagingSettlesOnPages) {
    scroll->pagingEnabled = true;
    struct Case {
        const char *name;
        float fingerDy;
        bool fling;
        float page;
    } cases[] = {
        {"slow drag less than half a page goes back", -80, false, 200},
        {"slow drag more than half a page goes on", -120, false, 400},
        {"a throw of a few points turns the page", -30, true, 400},
        {"a throw backwards", 30, true, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        scroll->setContentOffset({0, 200});
        recorder->calls.clear();
        if (c.fling)
            app.fling({150, 100}, {150, 100 + c.fingerDy});
        else
            app.dragAndRest({150, 100}, {150, 100 + c.fingerDy});
        app.advance(1);
        EXPECT_FLOAT_EQ(y(), c.page);
        EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
    }
}

TEST_F(ScrollViewTest, ProgrammaticOffsetsSendDidScroll) {
    scroll->setContentOffset({0, 50});
    EXPECT_EQ(recorder->scrolls, 1);
    scroll->setContentOffset({0, 50});
    EXPECT_EQ(recorder->scrolls, 1);

    scroll->setContentOffset({0, 250}, true);
    EXPECT_FALSE(scroll->isDecelerating());
    app.advance(ScrollView::AnimationDuration + 0.02);
    EXPECT_FLOAT_EQ(y(), 250);
    EXPECT_GT(recorder->scrolls, 5);
    EXPECT_EQ(recorder->calls, (Calls{"didEndScrollingAnimation"}));
}

// Owners quote the rows a scroll brings in once it ends; the wheel's steps end as a drag does.
TEST_F(ScrollViewTest, WheelStepsEndInOneDidEndDeceleratingOnceTheyPause) {
    scroll->scrollBy({0, 40});
    app.advance(0.1);
    scroll->scrollBy({0, 40});
    app.advance(ScrollView::WheelRestDelay - 0.01);
    EXPECT_EQ(recorder->calls, Calls{}) << "the wheel is still turning";
    app.advance(0.02);
    EXPECT_EQ(recorder->calls, Calls{"didEndDecelerating"});
    EXPECT_EQ(y(), 80);

    recorder->calls.clear();
    scroll->setContentOffset({0, 0});
    scroll->scrollBy({0, -40});
    app.advance(1);
    EXPECT_EQ(recorder->calls, Calls{}) << "at the edge the wheel moves nothing";

    scroll->scrollBy({0, 40});
    app.touchDown(1, {150, 100});
    app.advance(1);
    app.touchUp(1);
    app.advance(1);
    EXPECT_EQ(recorder->calls, Calls{}) << "a finger that came down took over";
}

TEST_F(ScrollViewTest, AFingerOnMovingContentStopsIt) {
    scroll->decelerationRate = 0.999f;
    scroll->setContentOffset({0, 100});
    app.fling({150, 150}, {150, 100});
    app.advance(0.1);
    float moving = y();
    app.touchDown(1, {150, 100});
    EXPECT_EQ(recorder->calls.back(), "didEndDecelerating");
    app.advance(0.5);
    app.touchUp(1);
    EXPECT_FLOAT_EQ(y(), moving);
}

// A button on the content, counting what reaches it.
struct ContentTouches : ScrollViewTest {
    Ref<Button> button = Button::custom();
    int presses = 0;

    void SetUp() override {
        ScrollViewTest::SetUp();
        button->setFrame({0, 0, 300, 100});
        button->addTarget(base::Action("press", [this](base::Object *) { ++presses; }), TouchUpInside);
        scroll->addSubview(button);
    }
};

TEST_F(ContentTouches, WaitBeforeTheyReachTheContent) {
    app.touchDown(1, {150, 50});
    app.advance(ScrollView::ContentTouchDelay / 2);
    EXPECT_FALSE(button->isHighlighted());
    app.advance(ScrollView::ContentTouchDelay);
    EXPECT_TRUE(button->isHighlighted());
    app.touchUp(1);
    EXPECT_EQ(presses, 1);
}

TEST_F(ContentTouches, AQuickTapStillPresses) {
    app.tap({150, 50});
    EXPECT_EQ(presses, 1);
}

TEST_F(ContentTouches, ADragCancelsThem) {
    app.touchDown(1, {150, 50});
    app.advance(0.3);
    EXPECT_TRUE(button->isHighlighted());
    app.touchMove(1, {150, 40});
    app.touchMove(1, {150, 20});
    EXPECT_FALSE(button->isHighlighted());
    app.touchUp(1);
    EXPECT_EQ(presses, 0);
    EXPECT_GT(y(), 0);
}

TEST_F(ScrollViewTest, ANestedScrollerTakesTheDirectionTheInnerCannotFollow) {
    // A table-like vertical list inside a strip that scrolls sideways.
    auto outer = make<ScrollView>(gfx::Rect{0, 300, 400, 200});
    outer->setContentSize({1240, 200});
    auto inner = make<ScrollView>(gfx::Rect{0, 0, 1240, 200});
    inner->setContentSize({1240, 800});
    outer->addSubview(inner);
    app.window().addSubview(outer);

    app.dragAndRest({300, 400}, {200, 400});
    EXPECT_FLOAT_EQ(outer->contentOffset().x, 100);
    EXPECT_EQ(inner->contentOffset(), (gfx::Point{0, 0}));

    app.dragAndRest({300, 450}, {300, 350});
    EXPECT_FLOAT_EQ(outer->contentOffset().x, 100);
    EXPECT_FLOAT_EQ(inner->contentOffset().y, 100);
}

TEST_F(ScrollViewTest, DirectionalLockKeepsTheFirstDirection) {
    scroll->setContentSize({900, 1000});
    scroll->setContentOffset({100, 100});
    scroll->directionalLockEnabled = true;
    app.dragAndRest({150, 150}, {130, 90});
    EXPECT_EQ(scroll->contentOffset(), (gfx::Point{100, 160}));
}

TEST_F(ScrollViewTest, TurnedOffItDoesNotScroll) {
    scroll->scrollEnabled = false;
    app.drag({150, 150}, {150, 50});
    EXPECT_FLOAT_EQ(y(), 0);
    EXPECT_TRUE(recorder->calls.empty());
}

// A pull-to-refresh owner: a release pulled beyond 60 points holds the strip with an inset of 60.
TEST_F(ScrollViewTest, AnInsetSetOnReleaseIsWhereTheBounceEnds) {
    recorder->onEndDragging = [](ScrollView &s) {
        if (s.contentOffset().y < -60)
            View::animate(0.18, [&] { s.setContentInset({60, 0, 0, 0}); });
    };
    app.dragAndRest({150, 20}, {150, 161});
    EXPECT_FLOAT_EQ(y(), -70.5f);
    app.advance(1);
    EXPECT_FLOAT_EQ(y(), -60);

    // Resetting the inset of resting content brings the offset back within the limits, moving on
    // screen inside an animation block.
    View::animate(0.36, 0, Curve::EaseOut, [&] { scroll->setContentInset({}); });
    EXPECT_FLOAT_EQ(y(), 0);
    app.advance(0.1);
    float shown = Animator::shared().presentation(*scroll).bounds.y();
    EXPECT_LT(shown, 0);
    EXPECT_GT(shown, -60);
}

// The owner's data can come while the content still springs back to the strip: the bounce then
// ends within the limits of the inset set meanwhile, not where the strip was.
TEST_F(ScrollViewTest, AnInsetResetDuringTheBounceMovesItsEnd) {
    recorder->onEndDragging = [](ScrollView &s) {
        if (s.contentOffset().y < -60)
            View::animate(0.18, [&] { s.setContentInset({60, 0, 0, 0}); });
    };
    app.dragAndRest({150, 20}, {150, 161});
    ASSERT_LT(y(), -60);
    View::animate(0.36, 0, Curve::EaseOut, [&] { scroll->setContentInset({}); });
    app.advance(1);
    EXPECT_FLOAT_EQ(y(), 0);
}

TEST_F(ScrollViewTest, ContentSizeObserversHearChangesOnly) {
    std::vector<gfx::Size> seen;
    scroll->onContentSizeChange([&](gfx::Size s) { seen.push_back(s); });
    scroll->setContentSize({300, 1000});
    scroll->setContentSize({300, 1200});
    EXPECT_EQ(seen, (std::vector<gfx::Size>{{300, 1200}}));
}

TEST_F(ScrollViewTest, ScrollRectToVisibleMovesTheLeast) {
    scroll->scrollRectToVisible({0, 500, 300, 50}, false);
    EXPECT_FLOAT_EQ(y(), 350);
    scroll->scrollRectToVisible({0, 400, 300, 50}, false);
    EXPECT_FLOAT_EQ(y(), 350);
    scroll->scrollRectToVisible({0, 100, 300, 50}, false);
    EXPECT_FLOAT_EQ(y(), 100);
    scroll->scrollRectToVisible({0, 990, 300, 50}, false);
    EXPECT_FLOAT_EQ(y(), 800);
}

// A sideways strip of elements 80, 100 and 60 wide whose owner snaps the nearest element under the
// selection point (x 60) whenever the strip comes to rest, and reports it as the selection.
struct SnappingStrip : ScrollViewDelegate {
    const std::vector<float> centres{40, 130, 210};
    std::vector<int> selections;

    int nearest(ScrollView &s) const {
        float centre = s.contentOffset().x + 60;
        int best = 0;
        for (int i = 0; i < int(centres.size()); ++i)
            if (std::abs(centres[size_t(i)] - centre) < std::abs(centres[size_t(best)] - centre))
                best = i;
        return best;
    }
    void snap(ScrollView &s) {
        int i = nearest(s);
        s.setContentOffset({centres[size_t(i)] - 60, 0}, true);
        selections.push_back(i);
    }
    base::Opt<void> didEndDragging(ScrollView &s, bool decelerate) override {
        if (!decelerate)
            snap(s);
        return {};
    }
    base::Opt<void> didEndDecelerating(ScrollView &s) override {
        snap(s);
        return {};
    }
};

TEST(SnappingStripTest, SnapsOncePerRest) {
    host::TestApp app;
    auto strip = make<ScrollView>(gfx::Rect{0, 0, 300, 30});
    auto owner = make<SnappingStrip>();
    strip->delegate = owner;
    strip->decelerationRate = 0.1f;
    strip->alwaysBounceHorizontal = true;
    strip->setContentSize({240, 30});
    strip->setContentInset({0, 20, 0, 210});
    app.window().addSubview(strip);

    // Without momentum: at once.
    app.dragAndRest({200, 15}, {120, 15});
    EXPECT_EQ(owner->selections, (std::vector<int>{1}));
    app.advance(1);
    EXPECT_FLOAT_EQ(strip->contentOffset().x, 70);

    // With momentum: only when the deceleration ends.
    app.fling({200, 15}, {140, 15});
    EXPECT_EQ(owner->selections.size(), 1u);
    app.advance(1);
    EXPECT_EQ(owner->selections, (std::vector<int>{1, 2}));
    EXPECT_FLOAT_EQ(strip->contentOffset().x, 150);

    // Far past either end, the bounce comes back to the end element.
    app.dragAndRest({100, 15}, {290, 15});
    app.advance(1);
    EXPECT_EQ(owner->selections.back(), 0);
    EXPECT_FLOAT_EQ(strip->contentOffset().x, -20);
    app.dragAndRest({290, 15}, {10, 15});
    app.advance(1);
    EXPECT_EQ(owner->selections.back(), 2);
    EXPECT_EQ(owner->selections.size(), 4u);
}

} // namespace
} // namespace ui
