#include "Module/CommonControls/KLine/BaseClass/KLineViewBase.h"

#include "host/Offscreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what reached the handlers, in order.
struct Probe : KLineViewBase {
    explicit Probe(gfx::Rect frame) : KLineViewBase(frame) { tag = 100; }
    std::vector<std::string> calls;

    void handlePanFrom(ui::PanRecognizer *) override { calls.push_back("pan"); }
    void handleDblPanFrom(ui::PanRecognizer *) override { calls.push_back("dblpan"); }
    void singleTap() override { calls.push_back("single"); }
    void doubleTap() override { calls.push_back("double"); }
};

struct KLineViewBaseTest : ::testing::Test {
    host::TestApp app;
    base::Ref<Probe> view = base::make<Probe>(gfx::Rect{0, 0, 400, 300});

    void SetUp() override { app.window().addSubview(view); }
};

TEST_F(KLineViewBaseTest, TapBecomesSingleTapAfterTheDelayAtTheFingersPoint) {
    view->addTap();
    app.tap({120, 80});
    app.advance(KLineViewBase::TapDelay - 0.01); // counted from the lift
    EXPECT_TRUE(view->calls.empty());
    app.advance(0.02);
    EXPECT_EQ(view->calls, std::vector<std::string>{"single"});
    EXPECT_EQ(view->tapPoint(), (gfx::Point{120, 80}));
}

TEST_F(KLineViewBaseTest, DoubleTapCancelsThePendingSingleTap) {
    view->addTap();
    view->addDblTap();
    app.tap({50, 50});
    app.advance(0.05);
    app.tap({50, 50});
    app.advance(1);
    EXPECT_EQ(view->calls, std::vector<std::string>{"double"});
}

TEST_F(KLineViewBaseTest, TouchesOfSubviewsWithAnotherTagStayTheirs) {
    view->addTap();
    auto overlay = base::make<ui::View>(gfx::Rect{200, 0, 200, 300});
    overlay->tag = 200;
    view->addSubview(overlay);
    auto sameTag = base::make<ui::View>(gfx::Rect{0, 200, 100, 100});
    sameTag->tag = 100;
    view->addSubview(sameTag);

    app.tap({300, 100});
    app.advance(1);
    EXPECT_TRUE(view->calls.empty());
    app.tap({50, 250});
    app.advance(1);
    EXPECT_EQ(view->calls, std::vector<std::string>{"single"});
}

TEST_F(KLineViewBaseTest, OneAndTwoFingerPansGoToTheirOwnHandlers) {
    view->multipleTouchEnabled = true;
    view->addPan();
    view->addDblPan();
    app.dragAndRest({100, 100}, {160, 100});
    ASSERT_FALSE(view->calls.empty());
    EXPECT_EQ(view->calls.front(), "pan");
    EXPECT_EQ(std::count(view->calls.begin(), view->calls.end(), "dblpan"), 0);

    view->calls.clear();
    app.touchDown(1, {100, 100});
    app.touchDown(2, {100, 150});
    for (float x = 110; x <= 160; x += 10)
        app.touchesMove({{1, {x, 100}}, {2, {x, 150}}});
    app.touchUp(1);
    app.touchUp(2);
    ASSERT_FALSE(view->calls.empty());
    EXPECT_EQ(std::count(view->calls.begin(), view->calls.end(), "pan"), 0);
}

TEST_F(KLineViewBaseTest, WaitingIndicatorCoversTheGivenSizeUntilStopped) {
    EXPECT_FALSE(view->isShowWaitingAlert());
    view->StartWaitingAlert({30, 40, 200, 100});
    EXPECT_TRUE(view->isShowWaitingAlert());
    ASSERT_EQ(view->subviews().size(), 1u);
    EXPECT_EQ(view->subviews()[0]->frame(), (gfx::Rect{0, 0, 200, 100}));

    view->StartWaitingAlert({0, 0, 400, 300}); // moves the one shown
    ASSERT_EQ(view->subviews().size(), 1u);
    EXPECT_EQ(view->subviews()[0]->frame(), (gfx::Rect{0, 0, 400, 300}));

    view->StopWaitingAlert();
    EXPECT_FALSE(view->isShowWaitingAlert());
    EXPECT_TRUE(view->subviews().empty());
    view->StopWaitingAlert();
}

} // namespace
