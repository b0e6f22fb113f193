#include "host/Offscreen.h"
#include "ui/Animator.h"
#include "ui/Compositor.h"
#include "ui/DamageTracker.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;

// Counts how often its text is drawn.
class CountingLabel : public Label {
public:
    using Label::Label;
    int draws = 0;
    void drawRect(gfx::Context &c, gfx::Rect dirty) override {
        ++draws;
        Label::drawRect(c, dirty);
    }
};

// Fills what it is asked to draw, and notes what that was.
class Canvas : public View {
public:
    using View::View;
    std::vector<gfx::Rect> asked;
    base::Ref<gfx::Color> ink = gfx::Color::red();
    void drawRect(gfx::Context &c, gfx::Rect dirty) override {
        asked.push_back(dirty);
        c.setFill(*ink);
        c.fillRect(dirty);
    }
};

// A window with a grey background, two labels in a box, a canvas and a scroll view holding a
// strip, drawn once into `screen` as a host keeps its last frame.
struct DamageTest : ::testing::Test {
    host::TestApp app;
    Window &window = app.window();
    Ref<View> box = make<View>(gfx::Rect{100, 100, 300, 200});
    Ref<CountingLabel> price = make<CountingLabel>(gfx::Rect{10, 10, 120, 30});
    Ref<CountingLabel> name = make<CountingLabel>(gfx::Rect{10, 60, 120, 30});
    Ref<Canvas> canvas = make<Canvas>(gfx::Rect{500, 100, 200, 200});
    Ref<ScrollView> scroll = make<ScrollView>(gfx::Rect{100, 400, 400, 200});
    Ref<View> strip = make<View>(gfx::Rect{0, 0, 800, 40});
    gfx::Surface screen{1024, 768};

    void SetUp() override {
        window.setBackgroundColor(gfx::Color::white(0.8f));
        box->setBackgroundColor(gfx::Color::white(1));
        price->setText("10.25");
        name->setText("平安银行");
        box->addSubview(price);
        box->addSubview(name);
        window.addSubview(box);
        window.addSubview(canvas);
        scroll->setContentSize({800, 200});
        strip->setBackgroundColor(gfx::Color::blue());
        scroll->addSubview(strip);
        window.addSubview(scroll);
        window.update(screen);
    }

    // The damage of the next frame.
    gfx::Region frame() { return window.update(screen); }
    // A frame drawn whole from scratch.
    gfx::Surface whole() {
        gfx::Surface s(1024, 768);
        window.renderInto(s);
        return s;
    }
};

// Whether the region holds the rects and stays within a pixel around them.
::testing::AssertionResult covers(const gfx::Region &region, const std::vector<gfx::Rect> &rects) {
    gfx::Region held = region, outer;
    for (const gfx::Rect &r : rects) {
        held.add(r);
        outer.add(r.inset(-1, -1));
    }
    gfx::Region reach = outer;
    reach.add(region);
    if (held.rects() != region.rects())
        return ::testing::AssertionFailure() << "misses part of the rects";
    if (reach.rects() != outer.rects())
        return ::testing::AssertionFailure() << region.extents().description() << " reaches beyond them";
    return ::testing::AssertionSuccess();
}

TEST_F(DamageTest, AChangedLabelDamagesItsFrameOnly) {
    price->setText("10.26");
    gfx::Region damage = frame();
    EXPECT_TRUE(covers(damage, {{110, 110, 120, 30}}));
    EXPECT_TRUE(frame().isEmpty()) << "an unchanged window draws nothing";
}

TEST_F(DamageTest, AMovedViewDamagesItsOldAndNewFrames) {
    name->setFrame({200, 150, 90, 30});
    EXPECT_TRUE(covers(frame(), {{110, 160, 120, 30}, {300, 250, 90, 30}}));
}

TEST_F(DamageTest, AHiddenViewDamagesItsOldFrame) {
    canvas->setHidden(true);
    EXPECT_TRUE(covers(frame(), {{500, 100, 200, 200}}));
    EXPECT_TRUE(frame().isEmpty());
    canvas->setHidden(false);
    EXPECT_TRUE(covers(frame(), {{500, 100, 200, 200}}));
}

TEST_F(DamageTest, AnAnimationDamagesEachStepUntilItEnds) {
    View::animate(0.5, [&] { canvas->setCenter({700, 500}); });
    gfx::Rect last{500, 100, 200, 200};
    for (int step = 1; step <= 5; ++step) {
        app.advance(0.1);
        gfx::Region damage = frame();
        gfx::Point center = Animator::shared().presentation(*canvas).center;
        gfx::Rect now{center.x - 100, center.y - 100, 200, 200};
        EXPECT_TRUE(covers(damage, {last, now})) << step;
        last = now;
    }
    EXPECT_EQ(last, (gfx::Rect{600, 400, 200, 200}));
    EXPECT_TRUE(frame().isEmpty());
}

// While only a transition moves, a frame redraws its view alone; a change made beside it during
// the transition is still drawn, and the last frame matches one drawn whole.
TEST_F(DamageTest, ATransitionDamagesItsViewAloneUntilSomethingElseChanges) {
    auto transition = make<Transition>();
    transition->type = Transition::Type::Push;
    transition->subtype = Transition::From::Right;
    transition->duration = 0.5;
    canvas->layer().addTransition(transition, "animation");
    canvas->ink = gfx::Color::green();
    canvas->setNeedsDisplay();
    const gfx::Rect canvasFrame{500, 100, 200, 200};
    for (int step = 1; step <= 3; ++step) {
        app.advance(0.1);
        EXPECT_TRUE(covers(frame(), {canvasFrame})) << step;
    }
    price->setText("10.26");
    app.advance(0.1);
    EXPECT_TRUE(covers(frame(), {canvasFrame, {110, 110, 120, 30}}));
    app.advance(0.2);
    EXPECT_TRUE(covers(frame(), {canvasFrame})) << "the transition's end";
    EXPECT_TRUE(frame().isEmpty());
    gfx::Surface expected = whole();
    int wrong = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            wrong += screen.pixel(x, y) != expected.pixel(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(DamageTest, AMarkedRectIsAllThatIsDrawnAndDamaged) {
    canvas->asked.clear();
    canvas->ink = gfx::Color::green();
    canvas->setNeedsDisplay({20.5f, 30, 40, 10});
    EXPECT_TRUE(covers(frame(), {{520, 130, 41, 10}}));
    EXPECT_EQ(canvas->asked, (std::vector<gfx::Rect>{{20, 30, 41, 10}}));
    gfx::Surface s = whole();
    EXPECT_EQ(screen.pixel(530, 135), s.pixel(530, 135));
    EXPECT_EQ(screen.pixel(530, 135), (gfx::Rgba8{0, 255, 0, 255}));
    EXPECT_EQ(screen.pixel(590, 135), (gfx::Rgba8{255, 0, 0, 255})) << "the rest of the content is kept";
}

TEST_F(DamageTest, ALabelDrawsItsTextAgainOnlyWhenItChanged) {
    int before = price->draws;
    price->setNeedsDisplay();
    price->setTextColor(price->textColor());
    EXPECT_TRUE(frame().isEmpty());
    EXPECT_EQ(price->draws, before);
    price->setTextColor(gfx::Color::red());
    EXPECT_FALSE(frame().isEmpty());
    EXPECT_EQ(price->draws, before + 1);
    price->setFrame({10, 10, 140, 30});
    frame();
    EXPECT_EQ(price->draws, before + 2) << "a new size draws again";
}

// After each change the frame brought up to date from the last one matches a frame drawn whole.
TEST_F(DamageTest, FramesBroughtUpToDateMatchFramesDrawnWhole) {
    struct Change {
        const char *name;
        std::function<void()> apply;
    };
    const std::vector<Change> changes = {
        {"text", [&] { name->setText("招商银行"); }},
        {"move under a sibling",
         [&] {
             canvas->setFrame({350, 150, 200, 200});
         }},
        {"order", [&] { window.bringSubviewToFront(box.get()); }},
        {"alpha", [&] { box->setAlpha(0.5f); }},
        {"corner set on the layer", [&] { box->layer().cornerRadius = 20; }},
        {"border set on the layer", [&] { canvas->layer().borderWidth = 3; }},
        {"shadow",
         [&] {
             box->layer().shadowOpacity = 0.8f;
             box->layer().shadowOffset = {6, 6};
         }},
        {"scroll",
         [&] {
             scroll->setContentOffset({150, 0}, false);
         }},
        {"rotation", [&] { canvas->setTransform(gfx::Transform::rotation(0.3f)); }},
        {"clip",
         [&] {
             box->clipsToBounds = true;
             price->setFrame({250, 10, 120, 30});
         }},
        {"removal", [&] { name->removeFromSuperview(); }},
        {"background", [&] { window.setBackgroundColor(gfx::Color::white(0.6f)); }},
    };
    for (const Change &change : changes) {
        change.apply();
        // A change made straight to a layer's fields tells no one: it shows in the next frame drawn
        // for any reason, and this asks for one whatever earlier tests left running.
        compositor::setNeedsFrame();
        frame();
        gfx::Surface expected = whole();
        int wrong = 0;
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1024; ++x)
                wrong += screen.pixel(x, y) != expected.pixel(x, y);
        EXPECT_EQ(wrong, 0) << change.name;
        window.update(screen);
    }
}

} // namespace
} // namespace ui
