#include "Components/CMWaitingAlertView.h"

#include "host/Offscreen.h"
#include "ui/Control.h"

#include <gtest/gtest.h>

namespace {

struct CMWaitingAlertViewTest : ::testing::Test {
    host::TestApp app;
    base::Ref<ui::View> screen = base::make<ui::View>(gfx::Rect{0, 0, 400, 300});

    void SetUp() override { app.window().addSubview(screen); }
};

TEST_F(CMWaitingAlertViewTest, TouchesReachTheViewBehind) {
    struct Counter : base::Object {
        int taps = 0;
    };
    auto counter = base::make<Counter>();
    auto button = base::make<ui::Control>(gfx::Rect{100, 100, 80, 40});
    button->addTarget(base::Action(counter, "tap", [&](base::Object *) { ++counter->taps; }),
                      ui::TouchUpInside);
    screen->addSubview(button);
    CMWaitingAlertView::StartWaitingAlert({}, *screen, {0, 0, 400, 300}, "正在加载");
    CMWaitingAlertView::StartWaitingAlert({}, *screen);

    app.tap({140, 120});
    EXPECT_EQ(counter->taps, 1);
}

TEST_F(CMWaitingAlertViewTest, TextBoxShowsTheDefaultTextAndKeepsFifteenPointsForSizeZero) {
    struct Case {
        std::string text;
        float size;
        std::string shown;
        float points;
    };
    for (const Case &c : {Case{"", 0, "加载中...", 15}, Case{"正在登录", 18, "正在登录", 18}}) {
        auto view = base::make<CMWaitingAlertView>(gfx::Rect{0, 0, 200, 160});
        view->StartAlertWithInfo(c.text, c.size);
        EXPECT_EQ(view->alertType(), 0);
        EXPECT_EQ(view->infoLabel()->text(), c.shown);
        EXPECT_EQ(view->infoLabel()->font()->pointSize(), c.points);
        EXPECT_TRUE(view->activityIndicator()->isAnimating());
        view->StopWaitingAlert();
    }
}

TEST_F(CMWaitingAlertViewTest, PartsAreCentredInTheSizeGivenAtCreation) {
    auto view = base::make<CMWaitingAlertView>(gfx::Rect{20, 20, 200, 160});
    view->StartAlertWithInfo("加载", 0);
    view->layoutIfNeeded();
    EXPECT_EQ(view->backgroundImage()->frame(), (gfx::Rect{50, 40, 100, 80}));
    EXPECT_EQ(view->infoLabel()->frame(), (gfx::Rect{0, 30, 100, 50}));
    EXPECT_EQ(view->activityIndicator()->frame(), (gfx::Rect{85, 50, 30, 30}));

    view->StartAlert();
    view->layoutIfNeeded();
    EXPECT_EQ(view->activityIndicator()->frame(), (gfx::Rect{85, 65, 30, 30}));
    EXPECT_TRUE(view->backgroundImage()->isHidden());
    view->StopWaitingAlert();
}

TEST_F(CMWaitingAlertViewTest, ClassOperationsStartMoveAndStopOneIndicator) {
    base::Weak<CMWaitingAlertView> waiting =
        CMWaitingAlertView::StartWaitingAlert({}, *screen, {0, 0, 200, 160});
    auto view = waiting.lock();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->superview(), screen.get());
    EXPECT_EQ(view->alertType(), 1);
    EXPECT_TRUE(view->activityIndicator()->isAnimating());

    EXPECT_EQ(CMWaitingAlertView::StartWaitingAlert(waiting, *screen, {10, 10, 400, 300}).lock(), view);
    view->layoutIfNeeded();
    EXPECT_EQ(view->frame(), (gfx::Rect{10, 10, 400, 300}));
    EXPECT_EQ(view->activityIndicator()->frame(), (gfx::Rect{85, 65, 30, 30}));
    EXPECT_EQ(screen->subviews().size(), 1u);

    auto spinner = view->activityIndicator();
    view.reset();
    CMWaitingAlertView::StopWaitingAlert(waiting);
    EXPECT_TRUE(waiting.expired());
    EXPECT_FALSE(spinner->isAnimating());
    CMWaitingAlertView::StopWaitingAlert(waiting);
    CMWaitingAlertView::StopWaitingAlert({});

    base::Weak<CMWaitingAlertView> again = CMWaitingAlertView::StartWaitingAlert(waiting, *screen);
    ASSERT_FALSE(again.expired());
    EXPECT_EQ(again.lock()->frame(), (gfx::Rect{0, 0, 400, 300}));
    CMWaitingAlertView::StopWaitingAlert(again);
}

TEST_F(CMWaitingAlertViewTest, TextFormUsesTwelvePoints) {
    auto waiting = CMWaitingAlertView::StartWaitingAlert({}, *screen, {0, 0, 200, 160}, "");
    auto view = waiting.lock();
    EXPECT_EQ(view->alertType(), 0);
    EXPECT_EQ(view->infoLabel()->text(), "加载中...");
    EXPECT_EQ(view->infoLabel()->font()->pointSize(), 12);
    view->StopWaitingAlert();
}

} // namespace
