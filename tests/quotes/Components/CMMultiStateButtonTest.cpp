#include "Components/CMMultiStateButton.h"

#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

struct Recorder : base::Object, CMMultiStateButtonDelegate {
    std::vector<std::string> calls;
    base::Opt<void> OnExpandFlower(int date) override {
        calls.push_back("expand " + std::to_string(date));
        return {};
    }
    base::Opt<void> ReturnSelectedButtonIndex(int index, int date) override {
        calls.push_back("selected " + std::to_string(index) + " " + std::to_string(date));
        return {};
    }
};

// A 36 × 36 button at (100, 100), as the candle chart places one on an ex-rights day.
struct MultiStateTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMMultiStateButton> button = CMMultiStateButton::create({100, 100, 36, 36});
    base::Ref<Recorder> owner = base::make<Recorder>();

    void SetUp() override {
        button->setExrightDate(20120615);
        button->delegate = owner;
        app.window().addSubview(button);
    }
    // Taps the current button and lets the flower open.
    void unfold() {
        app.tap({118, 118});
        app.advance(CMMultiStateButton::UnfoldSeconds);
    }
    // Window point in the middle of a choice once unfolded.
    gfx::Point choiceAt(int state) { return button->convert(button->choice(state).center(), nullptr); }
};

TEST_F(MultiStateTest, UnfoldsAroundTheCurrentButtonAndReportsWhenOpen) {
    EXPECT_TRUE(button->isShrinkState());
    app.touchDown(1, {118, 118});
    app.advance(0.05);
    app.touchUp(1);
    EXPECT_FALSE(button->isShrinkState()) << "unfolding counts as open from its start";
    EXPECT_EQ(button->frame(), (gfx::Rect{64, 64, 108, 72}));
    EXPECT_EQ(button->currOrientButton().frame(), (gfx::Rect{36, 36, 36, 36}));
    EXPECT_FALSE(button->currOrientButton().isEnabled());
    app.advance(0.09);
    EXPECT_TRUE(owner->calls.empty());
    app.advance(0.02);
    EXPECT_EQ(owner->calls, (std::vector<std::string>{"expand 20120615"}));
    EXPECT_EQ(button->choice(0).frame(), (gfx::Rect{36, 0, 36, 36}));
    EXPECT_EQ(button->choice(1).frame(), (gfx::Rect{0, 36, 36, 36}));
    EXPECT_EQ(button->choice(2).frame(), (gfx::Rect{72, 36, 36, 36}));
    EXPECT_EQ(button->tipImage().frame(), (gfx::Rect{76, 5, 70, 25}));
    EXPECT_EQ(button->nameLabel().frame(), (gfx::Rect{92, 3, 62, 20}));
    EXPECT_FALSE(button->tipImage().isHidden());
    EXPECT_EQ(button->nameLabel().text(), "不复权");
}

TEST_F(MultiStateTest, AChoiceFoldsBackToTheOldFrameAndIsReportedEvenWhenCurrent) {
    for (int state : {2, 2, 0}) {
        owner->calls.clear();
        unfold();
        app.tap(choiceAt(state));
        EXPECT_EQ(button->buttonTag(), state);
        app.advance(0.29);
        EXPECT_EQ(owner->calls.size(), 1u) << "only the unfolding so far";
        EXPECT_FALSE(button->isShrinkState());
        app.advance(0.02);
        EXPECT_EQ(owner->calls.back(), "selected " + std::to_string(state) + " 20120615");
        EXPECT_TRUE(button->isShrinkState());
        EXPECT_EQ(button->frame(), (gfx::Rect{100, 100, 36, 36}));
        EXPECT_EQ(button->choice(state).frame(), (gfx::Rect{0, 0, 36, 36}));
        EXPECT_TRUE(button->currOrientButton().isEnabled());
        EXPECT_TRUE(button->tipImage().isHidden());
    }
    EXPECT_EQ(button->nameLabel().text(), "不复权");
}

TEST_F(MultiStateTest, ShrinkingFoldsWithoutAChoiceAndOnlyWhenOpen) {
    button->SetCurrentSate(1);
    button->ShrinkState(); // folded already: nothing moves
    app.advance(0.2);
    EXPECT_EQ(button->frame(), (gfx::Rect{100, 100, 36, 36}));

    unfold();
    button->ShrinkState();
    button->ShrinkState();
    app.tap(choiceAt(0)); // folding: the choices no longer answer
    app.advance(CMMultiStateButton::ShrinkSeconds);
    EXPECT_EQ(button->frame(), (gfx::Rect{100, 100, 36, 36}));
    EXPECT_EQ(button->buttonTag(), 1);
    EXPECT_EQ(owner->calls, (std::vector<std::string>{"expand 20120615"}));
    EXPECT_TRUE(button->isShrinkState());
}

TEST_F(MultiStateTest, StatesOutsideTheThreeClearTheNameAndPicture) {
    button->SetCurrentSate(2);
    EXPECT_EQ(button->nameLabel().text(), "后复权");
    EXPECT_EQ(button->currOrientButton().backgroundImageForState(ui::Normal),
              gfx::Image::named("arrow_right.png"));
    button->SetCurrentSate(3);
    EXPECT_EQ(button->nameLabel().text(), "");
    EXPECT_FALSE(button->currOrientButton().backgroundImageForState(ui::Normal));
}

TEST_F(MultiStateTest, WithoutAListeningOwnerItStillUnfoldsAndFolds) {
    auto silent = std::make_shared<CMMultiStateButtonDelegate>();
    button->delegate = silent;
    unfold();
    app.tap(choiceAt(1));
    app.advance(CMMultiStateButton::ChooseSeconds);
    EXPECT_EQ(button->buttonTag(), 1);
    button->delegate.reset();
    unfold();
    app.tap(choiceAt(2));
    app.advance(CMMultiStateButton::ChooseSeconds);
    EXPECT_EQ(button->buttonTag(), 2);
    EXPECT_EQ(button->frame(), (gfx::Rect{100, 100, 36, 36}));
}

} // namespace
