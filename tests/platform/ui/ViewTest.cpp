#include "ui/View.h"
#include "host/Offscreen.h"
#include "ui/Label.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;

// Counts its passes.
class Probe : public View {
public:
    using View::View;
    int layouts = 0, draws = 0;
    void layoutSubviews() override { ++layouts; }
    void drawRect(gfx::Context &c, gfx::Rect) override {
        ++draws;
        c.fillRect(bounds());
    }
};

std::vector<int> tags(const View &v) {
    std::vector<int> out;
    for (auto &s : v.subviews())
        out.push_back(s->tag);
    return out;
}

Ref<View> tagged(int tag, gfx::Rect frame = {}) {
    auto v = make<View>(frame);
    v->tag = tag;
    return v;
}

TEST(ViewTree, OrderingOperations) {
    auto root = make<View>();
    auto a = tagged(1), b = tagged(2), c = tagged(3);
    root->addSubview(a);
    root->addSubview(b);
    root->insertSubview(c, 0);
    EXPECT_EQ(tags(*root), (std::vector{3, 1, 2}));
    root->bringSubviewToFront(c.get());
    EXPECT_EQ(tags(*root), (std::vector{1, 2, 3}));
    root->sendSubviewToBack(b.get());
    EXPECT_EQ(tags(*root), (std::vector{2, 1, 3}));
    root->insertSubviewAbove(tagged(4), a.get());
    root->insertSubviewBelow(tagged(5), b.get());
    EXPECT_EQ(tags(*root), (std::vector{5, 2, 1, 4, 3}));
    // Adding a subview again moves it rather than doubling it.
    root->addSubview(b);
    EXPECT_EQ(tags(*root), (std::vector{5, 1, 4, 3, 2}));
    a->removeFromSuperview();
    EXPECT_EQ(a->superview(), nullptr);
    EXPECT_EQ(tags(*root), (std::vector{5, 4, 3, 2}));
}

TEST(ViewTree, MovingAViewToAnotherParentDetachesItFirst) {
    auto one = make<View>(), two = make<View>(), child = tagged(7);
    one->addSubview(child);
    two->addSubview(child);
    EXPECT_TRUE(one->subviews().empty());
    EXPECT_EQ(child->superview(), two.get());
    EXPECT_TRUE(child->isDescendantOf(two.get()));
    EXPECT_FALSE(child->isDescendantOf(one.get()));
}

TEST(ViewTree, ViewWithTagSearchesDepthFirstIncludingItself) {
    auto root = tagged(10);
    auto mid = tagged(20);
    mid->addSubview(tagged(100000000));
    root->addSubview(mid);
    root->addSubview(tagged(30));
    EXPECT_EQ(root->viewWithTag(10), root.get());
    EXPECT_EQ(root->viewWithTag(100000000)->superview(), mid.get());
    EXPECT_EQ(root->viewWithTag(30)->tag, 30);
    EXPECT_EQ(root->viewWithTag(99), nullptr);
}

TEST(ViewTree, RemovingItselfDuringIterationIsSafe) {
    auto root = make<View>();
    for (int i = 0; i < 3; ++i)
        root->addSubview(tagged(i));
    for (auto &v : std::vector(root->subviews()))
        v->removeFromSuperview();
    EXPECT_TRUE(root->subviews().empty());
}

TEST(ViewGeometry, FrameBoundsAndCentreStayConsistent) {
    View v({10, 20, 100, 50});
    EXPECT_EQ(v.bounds(), (gfx::Rect{0, 0, 100, 50}));
    EXPECT_EQ(v.center(), (gfx::Point{60, 45}));
    v.setCenter({100, 100});
    EXPECT_EQ(v.frame(), (gfx::Rect{50, 75, 100, 50}));
    v.setBounds({0, 0, 40, 40});
    EXPECT_EQ(v.frame(), (gfx::Rect{80, 80, 40, 40}));
    // A transform scales the frame about the centre.
    v.setTransform(gfx::Transform::scale(2, 0.5f));
    EXPECT_EQ(v.frame(), (gfx::Rect{60, 90, 80, 20}));
    EXPECT_EQ(v.bounds(), (gfx::Rect{0, 0, 40, 40}));
}

TEST(ViewGeometry, ConvertsPointsThroughOffsetsBoundsOriginsAndTransforms) {
    auto root = make<View>(gfx::Rect{0, 0, 400, 400});
    auto outer = make<View>(gfx::Rect{100, 50, 200, 200});
    auto inner = make<View>(gfx::Rect{10, 20, 50, 50});
    root->addSubview(outer);
    outer->addSubview(inner);
    EXPECT_EQ(inner->convert(gfx::Point{5, 5}, root.get()), (gfx::Point{115, 75}));
    EXPECT_EQ(root->convert(gfx::Point{115, 75}, inner.get()), (gfx::Point{5, 5}));
    EXPECT_EQ(inner->convertFrom(gfx::Point{115, 75}, root.get()), (gfx::Point{5, 5}));
    // A scrolled bounds origin shifts the contents.
    outer->setBounds({0, 30, 200, 200});
    EXPECT_EQ(inner->convert(gfx::Point{5, 5}, root.get()), (gfx::Point{115, 45}));
    outer->setBounds({0, 0, 200, 200});
    outer->setTransform(gfx::Transform::scale(2, 2));
    // Centre of outer stays at (200, 150); its point (10, 20) is 90, 80 left/up of its centre.
    gfx::Point p = inner->convert(gfx::Point{0, 0}, root.get());
    EXPECT_FLOAT_EQ(p.x, 200 - 2 * 90);
    EXPECT_FLOAT_EQ(p.y, 150 - 2 * 80);
    EXPECT_EQ(inner->convert(gfx::Rect{0, 0, 10, 10}, root.get()).s, (gfx::Size{20, 20}));
}

TEST(ViewGeometry, AutoresizingFollowsTheSuperview) {
    struct Case {
        unsigned mask;
        gfx::Rect expected;
    };
    const Case cases[] = {
        {0, {10, 10, 80, 30}},
        {FlexibleWidth, {10, 10, 180, 30}},
        {FlexibleLeftMargin, {110, 10, 80, 30}},
        {FlexibleWidth | FlexibleHeight, {10, 10, 180, 80}},
        {FlexibleTopMargin | FlexibleBottomMargin, {10, 35, 80, 30}},
    };
    for (const Case &c : cases) {
        auto parent = make<View>(gfx::Rect{0, 0, 100, 50});
        auto child = make<View>(gfx::Rect{10, 10, 80, 30});
        child->autoresizingMask = c.mask;
        parent->addSubview(child);
        parent->setFrame({0, 0, 200, 100});
        EXPECT_EQ(child->frame(), c.expected) << c.mask;
    }
}

TEST(ViewPasses, LayoutRunsOnlyWhenMarked) {
    host::TestApp app;
    auto probe = make<Probe>(gfx::Rect{0, 0, 100, 100});
    app.window().addSubview(probe);
    app.render();
    EXPECT_EQ(probe->layouts, 1) << "a new view is laid out once";
    app.render();
    EXPECT_EQ(probe->layouts, 1);
    probe->setNeedsLayout();
    probe->setNeedsLayout();
    app.render();
    EXPECT_EQ(probe->layouts, 2) << "marks are coalesced";
    probe->setFrame({10, 10, 100, 100});
    app.render();
    EXPECT_EQ(probe->layouts, 3) << "a new frame lays out";
    probe->setFrame({10, 10, 100, 100});
    probe->setCenter({70, 70});
    app.render();
    EXPECT_EQ(probe->layouts, 3) << "the same frame or a new centre does not";
    probe->layoutIfNeeded();
    EXPECT_EQ(probe->layouts, 3);
    probe->setNeedsLayout();
    probe->layoutIfNeeded();
    EXPECT_EQ(probe->layouts, 4) << "layoutIfNeeded runs a pending layout at once";
}

TEST(ViewPasses, DrawRunsOnlyWhenMarkedAndOncePerFrame) {
    host::TestApp app;
    auto probe = make<Probe>(gfx::Rect{0, 0, 100, 100});
    app.window().addSubview(probe);
    EXPECT_EQ(probe->draws, 0) << "nothing draws outside a frame";
    app.render();
    EXPECT_EQ(probe->draws, 1);
    app.render();
    EXPECT_EQ(probe->draws, 1) << "unmarked content is reused";
    probe->setNeedsDisplay();
    probe->setNeedsDisplay();
    app.render();
    EXPECT_EQ(probe->draws, 2);
    probe->setCenter({200, 200});
    probe->setAlpha(0.5f);
    app.render();
    EXPECT_EQ(probe->draws, 2) << "moving or fading keeps the content";
    probe->setBounds({0, 0, 120, 100});
    app.render();
    EXPECT_EQ(probe->draws, 3) << "a new size redraws";
}

TEST(ViewPasses, LabelRedrawsWhenItsTextChanges) {
    host::TestApp app;
    auto label = make<Label>(gfx::Rect{0, 0, 100, 20});
    app.window().addSubview(label);
    app.render();
    EXPECT_FALSE(label->needsDisplay());
    label->setText("600000");
    EXPECT_TRUE(label->needsDisplay());
}

TEST(LabelText, ShrinksToFitOneLineButNotBelowTheMinimum) {
    struct Case {
        float width, minimum;
        bool shrinks, fits;
    };
    const Case cases[] = {
        {400, 8, false, true},
        {100, 8, true, true},
        {40, 16, true, false},
    };
    for (const Case &c : cases) {
        auto label = make<Label>(gfx::Rect{0, 0, c.width, 30});
        label->setText("600000 浦发银行");
        label->setFont(gfx::Font::system(20));
        label->setAdjustsFontSizeToFitWidth(true);
        label->setMinimumFontSize(c.minimum);
        auto font = label->fittedFont();
        EXPECT_EQ(font->pointSize() < 20, c.shrinks) << c.width;
        EXPECT_GE(font->pointSize(), c.minimum);
        EXPECT_EQ(gfx::measure(label->text(), *font).w <= c.width, c.fits) << c.width;
    }
}

TEST(LabelText, SizeThatFitsKeepsToTheLineLimit) {
    auto label = make<Label>(gfx::Rect{0, 0, 80, 20});
    label->setText("one two three four five six seven eight nine ten");
    label->setFont(gfx::Font::system(14));
    float line = gfx::Font::system(14)->lineHeight();
    EXPECT_LE(label->sizeThatFits({80, 1000}).h, std::ceil(line));
    label->setNumberOfLines(2);
    EXPECT_LE(label->sizeThatFits({80, 1000}).h, std::ceil(2 * line));
    label->setNumberOfLines(0);
    EXPECT_GT(label->sizeThatFits({80, 1000}).h, std::ceil(3 * line)) << "as many lines as it takes";
}

TEST(LayerLook, CornersBordersAndShadows) {
    host::TestApp app;
    app.window().setBackgroundColor(gfx::Color::white());
    auto card = make<View>(gfx::Rect{100, 100, 100, 60});
    card->setBackgroundColor(gfx::Color::blue());
    card->layer().cornerRadius = 12;
    card->layer().borderWidth = 4;
    card->layer().borderColor = gfx::Color::red();
    card->layer().shadowOpacity = 1;
    card->layer().shadowOffset = {0, 8};
    card->layer().shadowRadius = 0;
    app.window().addSubview(card);
    gfx::Surface s = app.render();
    EXPECT_EQ(s.pixel(101, 101), (gfx::Rgba8{255, 255, 255, 255}))
        << "a rounded corner leaves the window showing";
    EXPECT_EQ(s.pixel(150, 101), (gfx::Rgba8{255, 0, 0, 255})) << "the border runs along the edge";
    EXPECT_EQ(s.pixel(150, 130), (gfx::Rgba8{0, 0, 255, 255}));
    EXPECT_EQ(s.pixel(150, 165), (gfx::Rgba8{0, 0, 0, 255})) << "the shadow falls below";
    card->layer().masksToBounds = true;
    EXPECT_EQ(app.render().pixel(150, 165), (gfx::Rgba8{255, 255, 255, 255})) << "masking drops the shadow";
}

TEST(HitTesting, SkipsHiddenTransparentAndNonInteractiveViews) {
    host::TestApp app;
    auto back = tagged(1, {0, 0, 300, 300});
    auto front = tagged(2, {50, 50, 100, 100});
    auto inner = tagged(3, {10, 10, 20, 20});
    app.window().addSubview(back);
    back->addSubview(front);
    front->addSubview(inner);
    auto hit = [&](gfx::Point p) {
        View *v = app.window().hitTest(p, nullptr);
        return v ? v->tag : -1;
    };
    EXPECT_EQ(hit({65, 65}), 3);
    EXPECT_EQ(hit({100, 100}), 2);
    EXPECT_EQ(hit({10, 10}), 1);
    EXPECT_EQ(hit({500, 500}), 0) << "the window itself";
    inner->setHidden(true);
    EXPECT_EQ(hit({65, 65}), 2);
    front->userInteractionEnabled = false;
    EXPECT_EQ(hit({65, 65}), 1) << "a non-interactive view passes the touch to the view behind";
    front->userInteractionEnabled = true;
    front->setAlpha(0);
    EXPECT_EQ(hit({65, 65}), 1);
    front->setAlpha(1);
    // Subviews outside their parent are not reached, clipping or not.
    auto outside = tagged(4, {150, 150, 40, 40});
    front->addSubview(outside);
    EXPECT_EQ(hit({220, 220}), 1);
}

TEST(HitTesting, FollowsTransforms) {
    host::TestApp app;
    auto v = tagged(5, {100, 100, 100, 100});
    app.window().addSubview(v);
    v->setTransform(gfx::Transform::scale(0.5f, 0.5f));
    EXPECT_EQ(app.window().hitTest({110, 110}, nullptr)->tag, 0);
    EXPECT_EQ(app.window().hitTest({130, 130}, nullptr)->tag, 5);
}

} // namespace
} // namespace ui
