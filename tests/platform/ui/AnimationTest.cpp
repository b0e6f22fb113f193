#include "host/Offscreen.h"
#include "ui/Animator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;

struct AnimationTest : ::testing::Test {
    host::TestApp app;
    Ref<View> box = make<View>(gfx::Rect{0, 0, 100, 50});
    std::vector<std::string> log;
    void SetUp() override { app.window().addSubview(box); }
};

TEST_F(AnimationTest, ModelIsFinalAtOnceAndCompletionWaitsForDelayAndDuration) {
    View::animate(
        0.4, 0.3, Curve::EaseOut,
        [&] {
            box->setFrame({200, 100, 100, 50});
        },
        [&](bool finished) { log.push_back(finished ? "done" : "stopped"); });
    EXPECT_EQ(box->frame(), (gfx::Rect{200, 100, 100, 50}));
    app.advance(0.69);
    EXPECT_TRUE(log.empty());
    app.advance(0.02);
    EXPECT_EQ(log, (std::vector<std::string>{"done"}));
}

TEST_F(AnimationTest, ABlockThatResizesAndMovesTwiceStillFinishes) {
    View::animate(
        0.3,
        [&] {
            box->setFrame({10, 10, 300, 200});
            box->setCenter({400, 300});
        },
        [&](bool finished) { log.push_back(finished ? "done" : "stopped"); });
    app.advance(0.15);
    Look mid = Animator::shared().presentation(*box);
    EXPECT_GT(mid.bounds.width(), 100);
    EXPECT_LT(mid.bounds.width(), 300);
    app.advance(0.2);
    EXPECT_EQ(log, (std::vector<std::string>{"done"}));
}

TEST_F(AnimationTest, ZeroDurationCallsBackOnTheNextPassNeverInsideTheCommit) {
    View::animate(
        0, [&] { box->setAlpha(0); }, [&](bool) { log.push_back("done"); });
    EXPECT_TRUE(log.empty());
    app.runPending();
    EXPECT_EQ(log, (std::vector<std::string>{"done"}));
}

TEST_F(AnimationTest, ScreenShowsTheInterpolatedValueAfterTheDelay) {
    View::animate(1, 0.5, Curve::Linear, [&] {
        box->setAlpha(0);
        box->setCenter({250, 25});
    });
    Animator &a = Animator::shared();
    EXPECT_FLOAT_EQ(a.presentation(*box).alpha, 1) << "still the old value during the delay";
    app.advance(1);
    EXPECT_NEAR(a.presentation(*box).alpha, 0.5f, 1e-4);
    EXPECT_NEAR(a.presentation(*box).center.x, 150, 1e-3);
    EXPECT_TRUE(a.busy());
    app.advance(0.6);
    EXPECT_FLOAT_EQ(a.presentation(*box).alpha, 0);
    EXPECT_FALSE(a.busy());
}

TEST_F(AnimationTest, EasingCurvesKeepTheirEndsAndShape) {
    for (Curve c : {Curve::EaseInOut, Curve::EaseIn, Curve::EaseOut, Curve::Linear}) {
        EXPECT_NEAR(Animator::ease(c, 0), 0, 1e-6);
        EXPECT_NEAR(Animator::ease(c, 1), 1, 1e-6);
    }
    EXPECT_LT(Animator::ease(Curve::EaseIn, 0.3), 0.3);
    EXPECT_GT(Animator::ease(Curve::EaseOut, 0.3), 0.3);
    EXPECT_NEAR(Animator::ease(Curve::EaseInOut, 0.5), 0.5, 1e-6);
}

TEST_F(AnimationTest, NamedBlocksReportTheirNameAndWhetherTheyWereInterrupted) {
    auto note = [&](const std::string &name, bool finished) {
        log.push_back(name + (finished ? " finished" : " interrupted"));
    };
    View::beginAnimations("Hide Window");
    View::setAnimationDuration(1);
    View::setAnimationDidStop(note);
    box->setAlpha(0);
    View::commitAnimations();
    app.advance(0.5);
    View::beginAnimations("Start Show");
    View::setAnimationDuration(0.2);
    View::setAnimationDidStop(note);
    box->setAlpha(1);
    View::commitAnimations();
    EXPECT_NEAR(Animator::shared().presentation(*box).alpha, 0.5f, 0.05f)
        << "the new one starts where it shows";
    app.advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"Start Show finished", "Hide Window interrupted"}));
}

TEST_F(AnimationTest, CompletionsDueTogetherRunInCommitOrder) {
    for (std::string name : {"first", "second", "third"})
        View::animate(
            0.25,
            [&] {
                box->setCenter({10, 10});
            },
            [this, name](bool) { log.push_back(name); });
    app.advance(0.3);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second", "third"}));
}

TEST_F(AnimationTest, HiddenIsNotAnimated) {
    View::animate(1, [&] { box->setHidden(true); });
    EXPECT_TRUE(box->isHidden());
}

TEST_F(AnimationTest, TransformsTurnRatherThanSquash) {
    auto half = Animator::blend({}, gfx::Transform::rotation(std::numbers::pi_v<float>), 0.5);
    gfx::Point p = half.apply({10, 0});
    EXPECT_NEAR(p.x, 0, 1e-4);
    EXPECT_NEAR(std::abs(p.y), 10, 1e-4) << "half a half-turn is a quarter turn, not a point";
    auto grown = Animator::blend(gfx::Transform::scale(1, 1), gfx::Transform::scale(3, 2), 0.5);
    EXPECT_EQ(grown.apply({1, 1}), (gfx::Point{2, 1.5f}));
}

TEST_F(AnimationTest, StandAloneLayersMoveOverTheTransactionsDuration) {
    auto arrow = make<Layer>();
    arrow->frame = {0, 0, 20, 40};
    box->layer().addSublayer(arrow);
    Transaction::begin();
    Transaction::setDuration(0.18);
    arrow->setTransform(gfx::Transform::rotation(std::numbers::pi_v<float>));
    Transaction::commit();
    app.advance(0.09);
    gfx::Point mid = arrow->presentedTransform().apply({10, 0});
    EXPECT_NEAR(std::abs(mid.y), 10, 0.5f);
    app.advance(0.1);
    EXPECT_EQ(arrow->presentedTransform(), arrow->transform());
    Transaction::begin();
    Transaction::setDuration(0);
    arrow->setTransform({});
    Transaction::commit();
    EXPECT_TRUE(arrow->presentedTransform().isIdentity());
    arrow->removeFromSuperlayer();
    EXPECT_TRUE(box->layer().sublayers().empty());
}

// Colour of the rendered window at a point.
gfx::Rgba8 at(host::TestApp &app, int x, int y) {
    return app.render().pixel(x, y);
}

struct TransitionTest : AnimationTest, TransitionDelegate {
    std::vector<bool> stops;
    base::Opt<void> animationDidStop(Transition &, bool finished) override {
        stops.push_back(finished);
        return {};
    }
    Ref<TransitionDelegate> delegate = make<Forward>(this);
    struct Forward : TransitionDelegate {
        explicit Forward(TransitionTest *t) : test(t) {}
        TransitionTest *test;
        base::Opt<void> animationDidStop(Transition &t, bool finished) override {
            return test->animationDidStop(t, finished);
        }
    };

    // Starts a red → blue change of the box under a one-second linear transition.
    void change(Transition::Type type, Transition::From from) {
        box->setBackgroundColor(gfx::Color::red());
        app.render();
        auto t = make<Transition>();
        t->type = type;
        t->subtype = from;
        t->duration = 1;
        t->delegate = delegate;
        box->layer().addTransition(t, "animation");
        box->setBackgroundColor(gfx::Color::blue());
    }
};

bool red(gfx::Rgba8 p) {
    return p.r > 200 && p.b < 50;
}
bool blue(gfx::Rgba8 p) {
    return p.b > 200 && p.r < 50;
}

TEST_F(TransitionTest, PushSlidesTheOldContentOutAndTheNewIn) {
    change(Transition::Type::Push, Transition::From::Right);
    app.advance(0.5);
    EXPECT_TRUE(red(at(app, 25, 25)));
    EXPECT_TRUE(blue(at(app, 75, 25)));
    EXPECT_EQ(at(app, 150, 25).a, 0) << "nothing slides outside the layer";
    app.advance(0.6);
    EXPECT_TRUE(blue(at(app, 25, 25)));
    EXPECT_EQ(stops, (std::vector<bool>{true}));
}

TEST_F(TransitionTest, FadeMixesBothAndCubeTurnsFromTheSubtypesSide) {
    change(Transition::Type::Fade, Transition::From::Left);
    app.advance(0.5);
    gfx::Rgba8 p = at(app, 50, 25);
    EXPECT_NEAR(p.r, 128, 20);
    EXPECT_NEAR(p.b, 128, 20);
    app.advance(1);
    change(Transition::Type::Cube, Transition::From::Right);
    app.advance(0.25);
    EXPECT_TRUE(red(at(app, 50, 25)));
    EXPECT_TRUE(blue(at(app, 90, 25)));
}

TEST_F(TransitionTest, FlipShowsOneFaceAtATime) {
    change(Transition::Type::Flip, Transition::From::Bottom);
    app.advance(0.2);
    EXPECT_GT(at(app, 50, 25).r, 100);
    EXPECT_EQ(at(app, 50, 2).a, 0) << "the old face folds towards the middle";
    app.advance(0.6);
    EXPECT_GT(at(app, 50, 25).b, 100);
}

// The new content is drawn once for the frames of a transition, and again whenever it changes.
TEST_F(TransitionTest, NewContentChangingMidwayShowsInTheNextFrame) {
    struct Case {
        const char *name;
        std::function<void()> midway;
        double then;
    } const cases[] = {
        {"set at once", [&] { box->setBackgroundColor(gfx::Color::green()); }, 0},
        {"animated", [&] { View::animate(0.1, [&] { box->setBackgroundColor(gfx::Color::green()); }); },
         0.15},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        change(Transition::Type::Push, Transition::From::Right);
        app.advance(0.4);
        EXPECT_TRUE(blue(at(app, 75, 25)));
        c.midway();
        app.advance(c.then);
        gfx::Rgba8 p = at(app, 90, 25);
        EXPECT_TRUE(p.g > 200 && p.b < 50) << int(p.r) << "," << int(p.g) << "," << int(p.b);
        app.advance(1);
    }
}

TEST_F(TransitionTest, RemovingItStopsItUnfinishedAndANewOneUnderTheKeyReplacesIt) {
    change(Transition::Type::Push, Transition::From::Left);
    box->layer().removeAnimation("animation");
    EXPECT_EQ(stops, (std::vector<bool>{false}));
    EXPECT_EQ(box->layer().transitionForKey("animation"), nullptr);
    change(Transition::Type::Push, Transition::From::Left);
    change(Transition::Type::Fade, Transition::From::Left);
    EXPECT_EQ(stops, (std::vector<bool>{false, false}));
    app.advance(1.1);
    EXPECT_EQ(stops, (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(blue(at(app, 50, 25)));
}

TEST_F(TransitionTest, TypeNamesFollowThePlatform) {
    EXPECT_EQ(Transition::typeNamed("oglFlip"), Transition::Type::Flip);
    EXPECT_EQ(Transition::typeNamed("cube"), Transition::Type::Cube);
    EXPECT_EQ(Transition::typeNamed("push"), Transition::Type::Push);
    EXPECT_EQ(Transition::typeNamed("rippleEffect"), Transition::Type::Fade);
    EXPECT_EQ(Transition::subtypeNamed("fromBottom"), Transition::From::Bottom);
}

} // namespace
} // namespace ui
