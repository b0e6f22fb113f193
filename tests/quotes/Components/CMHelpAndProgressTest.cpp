#include "Components/CMHelpView.h"
#include "Components/CMProgressWaitingView.h"

#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

struct HelpTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMHelpView> help = CMHelpView::create({0, 0, 1024, 768});

    void SetUp() override { app.window().addSubview(help); }
    bool hidden(int tag) { return help->viewWithTag(tag)->isHidden(); }
};

TEST_F(HelpTest, CloseButtonSitsNearTheBottomAndTakesTheOverlayAway) {
    EXPECT_EQ(help->backgroundImage().frame(), (gfx::Rect{0, 0, 1024, 768}));
    EXPECT_EQ(help->closeButton().frame(), (gfx::Rect{490, 710, 44, 44}));
    app.tap({512, 730});
    EXPECT_EQ(help->superview(), nullptr);
}

TEST_F(HelpTest, TappingATipHidesItAndShowsTheOthers) {
    help->SetTipButtonWithImage("tline_tag.png", {100, 100, 50, 18});
    help->SetTipButtonWithImage("tline_tag.png", {200, 100, 50, 18});
    help->SetTipButtonWithImage("tline_tag.png", {300, 100, 50, 18});
    EXPECT_EQ(help->countMaskBtn(), 3);
    EXPECT_EQ(help->viewWithTag(301)->frame(), (gfx::Rect{200, 100, 50, 18}));

    app.tap({220, 108});
    EXPECT_EQ((std::vector<bool>{hidden(300), hidden(301), hidden(302)}),
              (std::vector<bool>{false, true, false}));
    app.tap({320, 108});
    EXPECT_EQ((std::vector<bool>{hidden(300), hidden(301), hidden(302)}),
              (std::vector<bool>{false, false, true}));
    EXPECT_EQ(help->superview(), &app.window());
}

struct ProgressTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMProgressWaitingView> strip = base::make<CMProgressWaitingView>(gfx::Rect{0, 0, 300, 3});

    std::vector<bool> shown() {
        return {!strip->redImageView().isHidden(), !strip->yellowImageView().isHidden(),
                !strip->blueImageView().isHidden()};
    }
};

TEST_F(ProgressTest, OneSegmentIsHiddenInTurnEveryStep) {
    EXPECT_EQ(strip->yellowImageView().frame(), (gfx::Rect{100, 0, 100, 3}));
    EXPECT_EQ(strip->blueImageView().frame(), (gfx::Rect{200, 0, 100, 3}));
    strip->StartAnimating();
    app.advance(0.29);
    EXPECT_EQ(shown(), (std::vector<bool>{true, true, true}));

    const std::vector<std::vector<bool>> steps = {
        {false, true, true}, {true, false, true}, {true, true, false}, {false, true, true}};
    for (const auto &expected : steps) {
        app.advance(0.3);
        EXPECT_EQ(shown(), expected);
    }
    strip->StopAnimating();
    app.advance(1.0);
    EXPECT_EQ(strip->iStep(), 1);
}

TEST_F(ProgressTest, StartingTwiceLeavesTheStripStoppedAndReleasable) {
    strip->StartAnimating();
    strip->StartAnimating();
    EXPECT_FALSE(strip->isAnimating());
    app.advance(1.0);
    EXPECT_EQ(strip->iStep(), 0);

    strip->StartAnimating();
    strip->StopAnimating();
    base::Weak<CMProgressWaitingView> weak = strip;
    strip.reset();
    EXPECT_TRUE(weak.expired());
}

} // namespace
