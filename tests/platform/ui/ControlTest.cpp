#include "Golden.h"
#include "gfx/BitmapContext.h"
#include "host/Offscreen.h"
#include "ui/ActivityIndicator.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/PageControl.h"
#include "ui/SegmentedControl.h"
#include "ui/Slider.h"

#include <gtest/gtest.h>

#include <map>

namespace ui {
namespace {

using base::make;
using base::Ref;

// Counts the events a control sends, by event.
struct Events : base::Object {
    std::map<unsigned, int> counts;
    void listen(Control &c, unsigned events) {
        for (unsigned e = 1; e && e <= ValueChanged; e <<= 1)
            if (events & e)
                c.addTarget(base::Action(weakSelf(), "count", [this, e](base::Object *) { ++counts[e]; }), e);
    }
    int operator[](unsigned e) const {
        auto it = counts.find(e);
        return it == counts.end() ? 0 : it->second;
    }
};

struct ControlTest : ::testing::Test {
    host::TestApp app;
    Ref<Events> events = make<Events>();
    template <class T> Ref<T> place(Ref<T> control) {
        app.window().addSubview(control);
        events->listen(*control, AllEvents);
        return control;
    }
};

TEST_F(ControlTest, ATapOnAButtonFiresTouchUpInsideOnce) {
    auto button = place(Button::custom({100, 100, 80, 40}));
    app.touchDown(1, {120, 110});
    EXPECT_TRUE(button->isHighlighted());
    EXPECT_EQ((*events)[TouchDown], 1);
    app.touchUp(1);
    EXPECT_EQ((*events)[TouchUpInside], 1);
    EXPECT_EQ((*events)[TouchUpOutside], 0);
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(ControlTest, LiftingFarAwayIsTouchUpOutsideButNearIsStillInside) {
    struct Case {
        gfx::Point liftAt;
        unsigned expected;
    };
    const Case cases[] = {{{240, 110}, TouchUpInside}, {{400, 110}, TouchUpOutside}};
    for (const Case &c : cases) {
        auto button = place(Button::custom({100, 100, 80, 40}));
        events->counts.clear();
        app.touchDown(1, {120, 110});
        app.touchMove(1, c.liftAt);
        EXPECT_EQ(button->isHighlighted(), c.expected == TouchUpInside);
        app.touchUp(1);
        EXPECT_EQ((*events)[c.expected], 1);
        EXPECT_EQ((*events)[TouchUpInside] + (*events)[TouchUpOutside], 1);
        button->removeFromSuperview();
    }
}

TEST_F(ControlTest, ADisabledButtonSendsNothingAndPassesTheTouchOn) {
    struct Parent : View {
        using View::View;
        int began = 0;
        void touchesBegan(const TouchSet &, const Event &) override { ++began; }
    };
    auto parent = make<Parent>(gfx::Rect{0, 0, 400, 400});
    app.window().addSubview(parent);
    auto button = Button::custom({100, 100, 80, 40});
    parent->addSubview(button);
    events->listen(*button, AllEvents);
    button->setEnabled(false);
    app.tap({120, 110});
    EXPECT_TRUE(events->counts.empty());
    EXPECT_EQ(parent->began, 1);
}

TEST_F(ControlTest, RemovedTargetsAreNotCalled) {
    auto button = place(Button::custom({0, 0, 50, 50}));
    button->removeTarget(events.get(), TouchUpInside);
    app.tap({10, 10});
    EXPECT_EQ((*events)[TouchUpInside], 0);
    EXPECT_EQ((*events)[TouchDown], 1);
}

TEST_F(ControlTest, ButtonValuesFallBackOnTheNormalState) {
    auto button = Button::custom({0, 0, 80, 40});
    button->setTitle("买入");
    button->setTitle("卖出", Selected);
    EXPECT_EQ(button->titleForState(Highlighted), "买入");
    EXPECT_EQ(button->titleForState(Selected), "卖出");
    button->setSelected(true);
    EXPECT_EQ(button->currentTitle(), "卖出");
    button->layoutIfNeeded();
    EXPECT_EQ(button->titleLabel().text(), "卖出");
    EXPECT_EQ(Button::contactAdd()->frame().s, (gfx::Size{29, 29}));
}

TEST_F(ControlTest, NonContinuousSliderReportsOnceAndOnlyWhenTheValueMoved) {
    auto slider = place(make<Slider>(gfx::Rect{0, 0, 123, 30}));
    slider->continuous = false;
    app.touchDown(1, {11, 15});
    app.touchUp(1);
    EXPECT_EQ((*events)[ValueChanged], 0) << "a tap on the thumb moves nothing";
    app.touchDown(1, {11, 15});
    app.touchMove(1, {60, 15});
    app.touchMove(1, {111, 15});
    EXPECT_EQ((*events)[ValueChanged], 0);
    app.touchUp(1);
    EXPECT_EQ((*events)[ValueChanged], 1);
    EXPECT_FLOAT_EQ(slider->value(), 1);
    slider->setValue(7);
    EXPECT_FLOAT_EQ(slider->value(), 1) << "values are clamped";
}

TEST_F(ControlTest, ContinuousSliderReportsEveryMove) {
    auto slider = place(make<Slider>(gfx::Rect{0, 0, 123, 30}));
    app.touchDown(1, {11, 15});
    app.touchMove(1, {40, 15});
    app.touchMove(1, {70, 15});
    app.touchUp(1);
    EXPECT_EQ((*events)[ValueChanged], 2);
    EXPECT_NEAR(slider->value(), 0.59f, 0.01f);
}

TEST_F(ControlTest, PageControlStepsTowardsTheTap) {
    auto pages = place(make<PageControl>(gfx::Rect{0, 0, 200, 20}));
    pages->setNumberOfPages(3);
    app.tap({190, 10});
    EXPECT_EQ(pages->currentPage(), 1);
    app.tap({190, 10});
    app.tap({190, 10});
    EXPECT_EQ(pages->currentPage(), 2);
    EXPECT_EQ((*events)[ValueChanged], 2) << "no event at the last page";
    app.tap({5, 10});
    EXPECT_EQ(pages->currentPage(), 1);
    pages->setCurrentPage(9);
    EXPECT_EQ(pages->currentPage(), 2);
}

TEST_F(ControlTest, SegmentedControlSelectsOrOnlyReportsWhenMomentary) {
    auto segments = place(make<SegmentedControl>(gfx::Rect{0, 0, 120, 30}));
    segments->insertSegment("日", 0);
    segments->insertSegment("周", 1);
    segments->insertSegment("月", 2);
    segments->setWidth(60, 0);
    EXPECT_EQ(segments->segmentAt({59, 10}), 0);
    EXPECT_EQ(segments->segmentAt({61, 10}), 1);
    EXPECT_EQ(segments->segmentAt({119, 10}), 2);
    app.tap({100, 10});
    EXPECT_EQ(segments->selectedIndex(), 2);
    segments->momentary = true;
    app.tap({10, 10});
    EXPECT_EQ(segments->selectedIndex(), SegmentedControl::NoSegment);
    EXPECT_EQ((*events)[ValueChanged], 2);
}

TEST_F(ControlTest, ActivityIndicatorShowsOnlyWhileAnimatingAndDoesNotKeepItselfAlive) {
    std::weak_ptr<ActivityIndicator> weak;
    {
        auto spinner = make<ActivityIndicator>(ActivityIndicator::Style::Gray);
        weak = spinner;
        EXPECT_TRUE(spinner->isHidden());
        spinner->start();
        EXPECT_FALSE(spinner->isHidden());
        app.window().addSubview(spinner);
        app.render();
        app.advance(0.1);
        EXPECT_TRUE(spinner->needsDisplay()) << "the spokes turn";
        spinner->stop();
        EXPECT_TRUE(spinner->isHidden());
        spinner->setHidesWhenStopped(false);
        EXPECT_FALSE(spinner->isHidden());
        spinner->start();
        spinner->removeFromSuperview();
    }
    EXPECT_TRUE(weak.expired());
}

Ref<gfx::Image> swatch(float w, float h, const gfx::Color &fill, const gfx::Color &edge) {
    gfx::BitmapContext c{int(w), int(h)};
    c.setFill(edge);
    c.fillRect({0, 0, w, h});
    c.setFill(fill);
    c.fillRect({3, 3, w - 6, h - 6});
    return c.makeImage();
}

TEST(Rendering, ASmallScreenOfLabelsButtonsAndImagesMatchesItsGoldenImage) {
    host::Offscreen host;
    auto window = make<Window>(gfx::Rect{0, 0, 240, 160});
    window->makeKeyAndVisible();
    window->setBackgroundColor(gfx::Color::rgba(0.1f, 0.12f, 0.18f, 1));

    auto title = make<Label>(gfx::Rect{10, 8, 220, 22});
    title->setText("浦发银行 600000");
    title->setTextColor(gfx::Color::white());
    title->setFont(gfx::Font::boldSystem(16));
    auto price = make<Label>(gfx::Rect{10, 32, 220, 20});
    price->setText("10.25  +0.15");
    price->setTextColor(gfx::Color::rgba(0.9f, 0.25f, 0.3f, 1));
    price->setTextAlignment(gfx::Align::Right);
    auto note = make<Label>(gfx::Rect{10, 54, 100, 40});
    note->setText("a label of two lines at most, cut after that");
    note->setFont(gfx::Font::system(12));
    note->setTextColor(gfx::Color::lightGray());
    note->setNumberOfLines(2);

    auto background =
        swatch(20, 20, *gfx::Color::rgba(0.2f, 0.4f, 0.8f, 1), *gfx::Color::white())->stretchable(8, 8);
    auto buy = Button::custom({10, 104, 100, 40});
    buy->setBackgroundImage(background);
    buy->setTitle("买入");
    auto image = make<ImageView>(gfx::Rect{130, 60, 40, 40},
                                 swatch(16, 16, *gfx::Color::orange(), *gfx::Color::black()));
    auto framed = make<View>(gfx::Rect{180, 60, 50, 40});
    framed->setBackgroundColor(gfx::Color::green());
    framed->layer().cornerRadius = 8;
    framed->layer().borderWidth = 2;
    framed->layer().borderColor = gfx::Color::white();
    auto faded = make<View>(gfx::Rect{130, 110, 100, 40});
    faded->setBackgroundColor(gfx::Color::yellow());
    faded->setAlpha(0.5f);
    for (Ref<View> v : std::initializer_list<Ref<View>>{title, price, note, buy, image, framed, faded})
        window->addSubview(v);

    EXPECT_TRUE(qvtest::matchesGolden(host.render(), "ui/small-screen"));
    Application::shared().removeWindow(window.get());
}

} // namespace
} // namespace ui
