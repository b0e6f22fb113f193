#include "Components/CMAlertView.h"

#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

struct CMAlertViewTest : ::testing::Test {
    host::TestApp app;

    base::Weak<CMAlertView> showAt(double time, const std::string &text) {
        auto box = base::make<CMAlertView>(gfx::Rect{0, 0, 220, 100});
        app.advance(time - app.clock().monotonic());
        box->SetAlertInfoText(text);
        app.window().addSubview(box);
        return box;
    }
};

TEST_F(CMAlertViewTest, RemovesItselfTwoAndAHalfSecondsAfterItsTextAndIsThenReleased) {
    const double start = app.clock().monotonic();
    base::Weak<CMAlertView> box = showAt(start, "该股已存在自选股中");
    ASSERT_EQ(app.toasts().size(), 1u);
    EXPECT_EQ(app.toasts()[0].text, "该股已存在自选股中");
    EXPECT_EQ(app.toasts()[0].time, start);

    app.advance(2.49);
    ASSERT_FALSE(box.expired());
    EXPECT_EQ(box.lock()->superview(), &app.window());
    app.advance(0.02);
    EXPECT_TRUE(box.expired());
}

TEST_F(CMAlertViewTest, StaysAliveUntilItsTimeWithoutAnyParent) {
    auto box = base::make<CMAlertView>(gfx::Rect{0, 0, 220, 100});
    box->SetAlertInfoText("无人持有");
    base::Weak<CMAlertView> weak = box;
    box.reset();
    EXPECT_FALSE(weak.expired());
    app.advance(2.5);
    EXPECT_TRUE(weak.expired());
}

TEST_F(CMAlertViewTest, ASecondTextDoesNotExtendTheFirstCountDown) {
    auto box = showAt(app.clock().monotonic(), "第一条");
    app.advance(2.0);
    box.lock()->SetAlertInfoText("第二条");
    EXPECT_EQ(box.lock()->infoLabel().text(), "第二条");
    app.advance(0.6);
    ASSERT_FALSE(box.expired());
    EXPECT_EQ(box.lock()->superview(), nullptr);
    app.advance(2.0);
    EXPECT_TRUE(box.expired());
}

TEST_F(CMAlertViewTest, PictureFollowsTheBoundsWhileTheTextKeepsItsFrame) {
    auto box = base::make<CMAlertView>(gfx::Rect{5, 5, 220, 100});
    EXPECT_EQ(box->backgroundImage().frame(), (gfx::Rect{0, 0, 220, 100}));
    ASSERT_TRUE(box->backgroundImage().image());
    EXPECT_TRUE(box->backgroundImage().image()->isStretchable());
    EXPECT_EQ(box->infoLabel().numberOfLines(), 0);

    box->setFrame({5, 5, 300, 120});
    box->layoutIfNeeded();
    EXPECT_EQ(box->backgroundImage().frame(), (gfx::Rect{0, 0, 300, 120}));
    EXPECT_EQ(box->infoLabel().frame(), (gfx::Rect{0, 0, 220, 100}));
}

} // namespace
