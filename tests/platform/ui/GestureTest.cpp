#include "ui/Gesture.h"
#include "host/Offscreen.h"
#include "ui/Button.h"

#include <gtest/gtest.h>

#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;
using S = GestureState;
using States = std::vector<GestureState>;

// Writes down the state of each recogniser at each of its actions.
struct Log : base::Object {
    std::vector<GestureState> states;
    template <class R> Ref<R> watch(Ref<R> r) {
        r->addTarget(base::Action(weakSelf(), "gesture", [this](base::Object *sender) {
            states.push_back(static_cast<GestureRecognizer *>(sender)->state());
        }));
        return r;
    }
};

// A view that notes the touches it gets.
struct Pad : View {
    using View::View;
    std::vector<std::string> seen;
    void touchesBegan(const TouchSet &t, const Event &) override { seen.push_back("began" + count(t)); }
    void touchesMoved(const TouchSet &t, const Event &) override { seen.push_back("moved" + count(t)); }
    void touchesEnded(const TouchSet &t, const Event &) override { seen.push_back("ended" + count(t)); }
    void touchesCancelled(const TouchSet &t, const Event &) override {
        seen.push_back("cancelled" + count(t));
    }
    static std::string count(const TouchSet &t) {
        return t.size() == 1 ? "" : " x" + std::to_string(t.size());
    }
};

struct GestureTest : ::testing::Test {
    host::TestApp app;
    Ref<Log> log = make<Log>();
    Ref<Pad> pad = make<Pad>(gfx::Rect{0, 0, 600, 600});
    void SetUp() override { app.window().addSubview(pad); }

    void twoFingers(gfx::Point a0, gfx::Point b0, gfx::Point a1, gfx::Point b1, int steps = 4) {
        app.touchDown(1, a0);
        app.touchDown(2, b0);
        for (int i = 1; i <= steps; ++i) {
            float k = float(i) / float(steps);
            app.advance(0.02);
            app.touchesMove({{1, {a0.x + (a1.x - a0.x) * k, a0.y + (a1.y - a0.y) * k}},
                             {2, {b0.x + (b1.x - b0.x) * k, b0.y + (b1.y - b0.y) * k}}});
        }
        app.touchUp(1);
        app.touchUp(2);
    }
};

TEST_F(GestureTest, ATapRecogniserOnASuperviewCancelsTheButtonBeneath) {
    auto tap = log->watch(make<TapRecognizer>());
    pad->addGestureRecognizer(tap);
    auto button = Button::custom({100, 100, 80, 40});
    pad->addSubview(button);
    int upInside = 0, cancelled = 0;
    button->addTarget(base::Action("up", [&](base::Object *) { ++upInside; }), TouchUpInside);
    button->addTarget(base::Action("cancel", [&](base::Object *) { ++cancelled; }), TouchCancel);
    app.tap({120, 110});
    EXPECT_EQ(log->states, (States{S::Ended}));
    EXPECT_EQ(upInside, 0);
    EXPECT_EQ(cancelled, 1);
}

TEST_F(GestureTest, ADelegateCanKeepATouchForASubview) {
    struct KeepButtons : GestureDelegate {
        base::Opt<bool> shouldReceiveTouch(GestureRecognizer &, const Touch &t) override {
            return dynamic_cast<Button *>(t.view()) == nullptr;
        }
    };
    auto keep = make<KeepButtons>();
    auto tap = log->watch(make<TapRecognizer>());
    tap->delegate = keep;
    pad->addGestureRecognizer(tap);
    auto button = Button::custom({100, 100, 80, 40});
    pad->addSubview(button);
    int upInside = 0;
    button->addTarget(base::Action("up", [&](base::Object *) { ++upInside; }), TouchUpInside);
    app.tap({120, 110});
    EXPECT_EQ(upInside, 1);
    EXPECT_TRUE(log->states.empty());
    app.tap({300, 300});
    EXPECT_EQ(log->states, (States{S::Ended})) << "elsewhere the recogniser still works";
}

TEST_F(GestureTest, WithoutCancellingTheViewSeesTheWholeTouch) {
    auto tap = log->watch(make<TapRecognizer>());
    tap->cancelsTouchesInView = false;
    pad->addGestureRecognizer(tap);
    app.tap({50, 50});
    EXPECT_EQ(log->states, (States{S::Ended}));
    EXPECT_EQ(pad->seen, (std::vector<std::string>{"began", "ended"}));
}

TEST_F(GestureTest, DoubleTapNeedsTheSecondTapInTime) {
    auto doubleTap = log->watch(make<TapRecognizer>());
    doubleTap->tapsRequired = 2;
    pad->addGestureRecognizer(doubleTap);
    app.tap({50, 50});
    app.advance(0.1);
    app.tap({52, 51});
    EXPECT_EQ(log->states, (States{S::Ended}));
    app.advance(1);
    app.tap({50, 50});
    app.advance(0.5);
    app.tap({50, 50});
    EXPECT_EQ(log->states.size(), 1u) << "taps too far apart in time are two failed attempts";
    EXPECT_EQ(doubleTap->state(), S::Possible);
}

TEST_F(GestureTest, ASingleTapWaitsForTheDoubleTapItRequiresToFail) {
    auto doubleLog = make<Log>();
    auto doubleTap = doubleLog->watch(make<TapRecognizer>());
    doubleTap->tapsRequired = 2;
    auto single = log->watch(make<TapRecognizer>());
    single->requireToFail(*doubleTap);
    pad->addGestureRecognizer(doubleTap);
    pad->addGestureRecognizer(single);
    app.tap({50, 50});
    EXPECT_TRUE(log->states.empty()) << "held back while a second tap may come";
    app.advance(0.4);
    EXPECT_EQ(log->states, (States{S::Ended}));
    EXPECT_TRUE(doubleLog->states.empty());

    log->states.clear();
    app.advance(1);
    app.tap({50, 50});
    app.advance(0.1);
    app.tap({50, 50});
    app.advance(1);
    EXPECT_EQ(doubleLog->states, (States{S::Ended}));
    EXPECT_TRUE(log->states.empty()) << "the double tap won";
}

TEST_F(GestureTest, ATapFailsWhenTheFingerWanders) {
    auto tap = log->watch(make<TapRecognizer>());
    pad->addGestureRecognizer(tap);
    app.drag({50, 50}, {90, 50});
    EXPECT_TRUE(log->states.empty());
    EXPECT_EQ(tap->state(), S::Failed);
}

TEST_F(GestureTest, PansReachOnlyTheRecogniserWithTheMatchingFingerCount) {
    auto one = log->watch(make<PanRecognizer>());
    one->maxTouches = 1;
    auto twoLog = make<Log>();
    auto two = twoLog->watch(make<PanRecognizer>());
    two->minTouches = two->maxTouches = 2;
    pad->addGestureRecognizer(one);
    pad->addGestureRecognizer(two);
    twoFingers({100, 100}, {140, 100}, {100, 160}, {140, 160});
    EXPECT_TRUE(log->states.empty()) << "one-finger pan ignores two fingers";
    EXPECT_EQ(twoLog->states, (States{S::Began, S::Changed, S::Changed, S::Changed, S::Ended}));
    EXPECT_EQ(two->translation(pad.get()), (gfx::Point{0, 60}));

    twoLog->states.clear();
    app.drag({300, 300}, {300, 380});
    EXPECT_TRUE(twoLog->states.empty()) << "two-finger pan ignores one finger";
    ASSERT_FALSE(log->states.empty());
    EXPECT_EQ(log->states.front(), S::Began);
    EXPECT_EQ(log->states.back(), S::Ended);
    EXPECT_EQ(one->translation(nullptr), (gfx::Point{0, 80}));
}

TEST_F(GestureTest, APanThatBeganCancelsTheViewsTouches) {
    pad->addGestureRecognizer(log->watch(make<PanRecognizer>()));
    app.drag({100, 100}, {100, 200});
    ASSERT_GE(pad->seen.size(), 2u);
    EXPECT_EQ(pad->seen.front(), "began");
    EXPECT_EQ(pad->seen.back(), "cancelled");
}

TEST_F(GestureTest, PinchScalesWithTheDistanceBetweenTheFingers) {
    auto pinch = log->watch(make<PinchRecognizer>());
    pad->addGestureRecognizer(pinch);
    std::vector<float> scales;
    pinch->addTarget(base::Action("scale", [&](base::Object *) { scales.push_back(pinch->scale); }));
    twoFingers({200, 200}, {300, 200}, {150, 200}, {350, 200});
    ASSERT_FALSE(log->states.empty());
    EXPECT_EQ(log->states.front(), S::Began);
    EXPECT_EQ(log->states.back(), S::Ended);
    EXPECT_NEAR(scales.back(), 2.0f, 0.01f);
}

TEST_F(GestureTest, PinchFollowsAScaleResetBetweenCallbacks) {
    auto pinch = make<PinchRecognizer>();
    pad->addGestureRecognizer(pinch);
    std::vector<float> scales;
    pinch->addTarget(base::Action("scale", [&](base::Object *) {
        scales.push_back(pinch->scale);
        pinch->scale = 1;
    }));
    twoFingers({200, 200}, {300, 200}, {150, 200}, {350, 200});
    float product = 1;
    for (float s : scales)
        product *= s;
    EXPECT_NEAR(product, 2.0f, 0.01f);
}

TEST_F(GestureTest, LongPressBeginsAfterHalfASecondAndFollowsTheFinger) {
    auto press = log->watch(make<LongPressRecognizer>());
    pad->addGestureRecognizer(press);
    app.touchDown(1, {100, 100});
    app.advance(0.45);
    EXPECT_TRUE(log->states.empty());
    app.advance(0.1);
    EXPECT_EQ(log->states, (States{S::Began}));
    EXPECT_EQ(pad->seen.back(), "cancelled");
    app.touchMove(1, {180, 120});
    EXPECT_EQ(press->location(pad.get()), (gfx::Point{180, 120}));
    app.touchUp(1);
    EXPECT_EQ(log->states, (States{S::Began, S::Changed, S::Ended}));
}

// An action sent as the fingers lift (a tap, the end of a pan) is told where they lifted, not
// the window's origin.
TEST_F(GestureTest, ARecogniserEndedByLiftingFingersKnowsWhereTheyLifted) {
    pad->setFrame({50, 40, 600, 600});
    std::vector<gfx::Point> taps, pans;
    auto tap = make<TapRecognizer>();
    tap->addTarget(base::Action("tap", [&](base::Object *) { taps.push_back(tap->location(pad.get())); }));
    auto pan = make<PanRecognizer>();
    pan->addTarget(base::Action("pan", [&](base::Object *) {
        if (pan->state() == S::Ended)
            pans.push_back(pan->location(nullptr));
    }));
    pad->addGestureRecognizer(tap);
    pad->addGestureRecognizer(pan);
    app.tap({170, 150});
    EXPECT_EQ(taps, std::vector<gfx::Point>{(gfx::Point{120, 110})});
    app.drag({100, 100}, {300, 200});
    EXPECT_EQ(pans, std::vector<gfx::Point>{(gfx::Point{300, 200})});
}

TEST_F(GestureTest, LongPressFailsWhenTheFingerMovesOrLiftsEarly) {
    auto press = log->watch(make<LongPressRecognizer>());
    pad->addGestureRecognizer(press);
    app.touchDown(1, {100, 100});
    app.touchMove(1, {130, 100});
    app.advance(1);
    app.touchUp(1);
    app.touchDown(1, {100, 100});
    app.advance(0.2);
    app.touchUp(1);
    app.advance(1);
    EXPECT_TRUE(log->states.empty());
}

TEST_F(GestureTest, ADelegateMayStopARecogniserFromBeginning) {
    struct Refuse : GestureDelegate {
        base::Opt<bool> shouldBegin(GestureRecognizer &) override { return false; }
    };
    auto refuse = make<Refuse>();
    auto pan = log->watch(make<PanRecognizer>());
    pan->delegate = refuse;
    pad->addGestureRecognizer(pan);
    app.drag({100, 100}, {100, 200});
    EXPECT_TRUE(log->states.empty());
    EXPECT_EQ(pad->seen.back(), "ended") << "the view keeps its touch";
}

TEST_F(GestureTest, AViewWithoutMultipleTouchGetsOnlyTheFirstFinger) {
    app.touchDown(1, {10, 10});
    app.touchDown(2, {50, 50});
    app.touchUp(2);
    app.touchUp(1);
    EXPECT_EQ(pad->seen, (std::vector<std::string>{"began", "ended"}));
    pad->seen.clear();
    pad->multipleTouchEnabled = true;
    app.touchDown(1, {10, 10});
    app.touchDown(2, {50, 50});
    app.touchUp(2);
    app.touchUp(1);
    EXPECT_EQ(pad->seen, (std::vector<std::string>{"began", "began", "ended", "ended"}));
}

} // namespace
} // namespace ui
