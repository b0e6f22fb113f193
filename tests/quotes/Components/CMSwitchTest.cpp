#include "Components/CMSwitch.h"

#include "host/Offscreen.h"
#include "ui/Animator.h"

#include <gtest/gtest.h>

namespace {

struct Events : base::Object {
    int changes = 0;
    void changed() { ++changes; }
};

struct SwitchTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMSwitch> control = CMSwitch::create({100, 100, 300, 80});
    base::Ref<Events> events = base::make<Events>();

    void SetUp() override {
        control->addTarget(BASE_ACTION(events.get(), changed), ui::ValueChanged);
        app.window().addSubview(control);
        control->layoutIfNeeded();
    }
    // Where a label shows on screen while an animation runs.
    float shownX(ui::View &view) {
        return ui::Animator::shared().presentation(view).center.x - view.bounds().width() / 2;
    }
};

TEST_F(SwitchTest, AlwaysNinetyFiveByTwentySeven) {
    EXPECT_EQ(control->frame(), (gfx::Rect{100, 100, 95, 27}));
    control->setFrame({5, 6, 10, 10});
    EXPECT_EQ(control->frame(), (gfx::Rect{5, 6, 95, 27}));
    EXPECT_EQ(control->clippingView().frame(), (gfx::Rect{4, 2, 87, 23}));
    EXPECT_FALSE(control->clippingView().userInteractionEnabled);
}

TEST_F(SwitchTest, StartsOffWithTheRightTextInView) {
    EXPECT_FALSE(control->isOn());
    EXPECT_EQ(control->value(), 0);
    EXPECT_EQ(control->thumbRect().x(), 0);
    // d = 95 - 27 = 68 wide texts: the right one at 95 - 4 - 68 = 23 inside the window, the left
    // one wholly before it.
    EXPECT_EQ(control->rightLabel().frame(), (gfx::Rect{23, 0, 68, 23}));
    EXPECT_EQ(control->leftLabel().frame(), (gfx::Rect{-72, 0, 68, 23}));
    EXPECT_EQ(control->leftLabel().text(), "ON");
    EXPECT_EQ(control->rightLabel().text(), "OFF");
}

TEST_F(SwitchTest, SettingTheStateMovesAtOnceOrOverAFifthOfASecond) {
    control->setOn(true);
    control->layoutIfNeeded();
    EXPECT_EQ(control->value(), 1);
    EXPECT_EQ(control->thumbRect().x(), 68);
    EXPECT_EQ(control->leftLabel().frame().x(), -4);
    EXPECT_EQ(control->rightLabel().frame().x(), 91);

    control->setOn(false, true);
    EXPECT_FALSE(control->isOn());
    EXPECT_EQ(control->value(), 0);
    EXPECT_EQ(control->rightLabel().frame().x(), 23);
    app.advance(0.1);
    const float midway = shownX(control->rightLabel());
    EXPECT_GT(midway, 23);
    EXPECT_LT(midway, 91);
    app.advance(0.1);
    EXPECT_EQ(shownX(control->rightLabel()), 23);
    EXPECT_EQ(events->changes, 0) << "setting the state is not a user's change";
}

TEST_F(SwitchTest, EveryTapFlipsOnceWhereverItLands) {
    struct Case {
        const char *what;
        float offX, onX; // where to tap while off, while on (switch coordinates)
    } cases[] = {
        {"on the thumb", 10, 85},
        {"beside the thumb", 70, 20},
    };
    for (const Case &c : cases) {
        control->setOn(false);
        events->changes = 0;
        app.tap({100 + c.offX, 113});
        app.advance(CMSwitch::AnimationSeconds);
        EXPECT_TRUE(control->isOn()) << c.what;
        EXPECT_EQ(control->value(), 1) << c.what;
        EXPECT_EQ(events->changes, 1) << c.what;
        app.tap({100 + c.onX, 113});
        app.advance(CMSwitch::AnimationSeconds);
        EXPECT_FALSE(control->isOn()) << c.what;
        EXPECT_EQ(events->changes, 2) << c.what;
    }
}

TEST_F(SwitchTest, DraggingTheThumbAcrossIsOneFlip) {
    app.drag({110, 113}, {190, 113});
    app.advance(CMSwitch::AnimationSeconds);
    EXPECT_TRUE(control->isOn());
    EXPECT_EQ(control->value(), 1);
    EXPECT_EQ(events->changes, 1);
    // Dragged part-way and back: still a flip, and still one report.
    app.drag({185, 113}, {150, 113});
    app.advance(CMSwitch::AnimationSeconds);
    EXPECT_FALSE(control->isOn());
    EXPECT_EQ(control->value(), 0);
    EXPECT_EQ(events->changes, 2);
}

TEST_F(SwitchTest, ACancelledTouchFlipsNothing) {
    app.touchDown(1, {150, 113});
    app.touchCancel(1);
    app.advance(CMSwitch::AnimationSeconds);
    EXPECT_FALSE(control->isOn());
    EXPECT_EQ(control->value(), 0);
    EXPECT_EQ(events->changes, 0);
}

TEST_F(SwitchTest, TintingKeepsTheFirstOfEqualColoursAndTintsThePicture) {
    auto blue = gfx::Color::rgba(0, 0, 1, 1);
    control->setTintColor(blue);
    control->setTintColor(gfx::Color::rgba(0, 0, 1, 1));
    EXPECT_EQ(control->tintColor(), blue);

    auto picture = gfx::Image::named("switchBlueBg.png");
    EXPECT_EQ(CMSwitch::imageTintedWithColor(picture, nullptr), picture);
    auto red = CMSwitch::imageTintedWithColor(picture, gfx::Color::red());
    ASSERT_TRUE(red);
    EXPECT_EQ(red->size(), picture->size());
    const gfx::Rgba8 middle = red->surface().pixel(47, 13);
    EXPECT_GT(middle.r, middle.b);
}

} // namespace
