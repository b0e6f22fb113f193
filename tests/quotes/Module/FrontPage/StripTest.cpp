#include "Module/FrontSwitchTabBarView/FrontSwitchTabBarView.h"

#include "host/Offscreen.h"
#include "ui/Animator.h"

#include <gtest/gtest.h>

namespace {

struct Heard : base::Object, FrontSwitchTabBarViewDelegate {
    base::Opt<void> SelectedTabItem(ui::Button &button) override {
        calls.push_back("item " + std::to_string(button.tag));
        return {};
    }
    base::Opt<void> frontSwitchTabBarView_didSelectTabItem(int index, const std::string &title) override {
        calls.push_back("index " + std::to_string(index) + " " + title);
        return {};
    }
    std::vector<std::string> calls;
};

const std::vector<std::string> HomeTitles = {"首页",           "锐丰股票池", "主题投资", "价值发现",
                                             "一致性盈利预期", "DDE决策",    "阶段统计"};

class StripTest : public ::testing::Test {
protected:
    base::Ref<FrontSwitchTabBarView> strip(float width, const std::vector<std::string> &titles = HomeTitles) {
        auto made = base::make<FrontSwitchTabBarView>(gfx::Rect{0, 0, width, 50});
        made->delegate = heard;
        made->SetButtonArray(titles);
        app.window().addSubview(made);
        return made;
    }

    host::TestApp app;
    base::Ref<Heard> heard = base::make<Heard>();
};

TEST_F(StripTest, SevenTabsShareTheWidthWithSeparatorsInTheGapsAndTheMarkerUnderTheFirst) {
    struct Case {
        float width, tab;
    } cases[] = {{1024, 133.43f}, {924, 119.14f}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.width);
        auto s = strip(c.width);
        ASSERT_EQ(s->tabCount(), 7u);
        EXPECT_NEAR(s->buttonAt(0)->frame().width(), c.tab, 0.01);
        EXPECT_NEAR(s->buttonAt(0)->frame().x(), 15, 0.01);
        EXPECT_NEAR(s->buttonAt(6)->frame().maxX(), c.width - 15, 0.01);
        ASSERT_EQ(s->dotLineArray().size(), 6u);
        for (int i = 0; i < 6; ++i) {
            // Centred in the 10-point gap after tab i.
            float gapStart = s->buttonAt(i)->frame().maxX();
            EXPECT_NEAR(s->dotLineArray()[size_t(i)]->frame().x(), gapStart + 5, 0.01);
            EXPECT_EQ(s->dotLineArray()[size_t(i)]->frame().y(), 20);
        }
        gfx::Rect marker = s->buttonImage().frame();
        EXPECT_NEAR(marker.x() + 12.5f, s->buttonAt(0)->frame().x() + c.tab / 2, 0.01);
        EXPECT_EQ(marker.y(), 40);
        EXPECT_FALSE(s->buttonAt(0)->isEnabled());
        EXPECT_TRUE(s->buttonAt(1)->isEnabled());
    }
    EXPECT_TRUE(heard->calls.empty());
}

TEST_F(StripTest, ASelectionIsReportedOnceWithBothCallsInOrder) {
    auto s = strip(1024);
    s->SetCurrSelectedTab(0);
    s->SetCurrSelectedTab(0);
    EXPECT_EQ(heard->calls, (std::vector<std::string>{"item 100", "index 0 首页"}));
    heard->calls.clear();
    s->SelectedItemAction(s->buttonAt(2)); // a tap
    s->SetCurrSelectedTab(2);
    EXPECT_EQ(heard->calls, (std::vector<std::string>{"item 102", "index 2 主题投资"}));
    EXPECT_EQ(s->selectedTag(), 2);
    EXPECT_FALSE(s->buttonAt(2)->isEnabled());
    EXPECT_TRUE(s->buttonAt(0)->isEnabled());
    heard->calls.clear();
    s->SetCurrSelectedTab(7); // no such tab
    s->SetCurrSelectedTab(-1);
    EXPECT_TRUE(heard->calls.empty());
    EXPECT_EQ(s->selectedTag(), 2);
}

TEST_F(StripTest, StripsWithEqualTitlesReportIndependently) {
    auto home = strip(1024);
    auto decision = strip(1024, {"资金流向", "DDE决策", "阶段统计", "大单统计"});
    home->SetCurrSelectedTab(5);
    decision->SetCurrSelectedTab(1);
    EXPECT_EQ(heard->calls,
              (std::vector<std::string>{"item 105", "index 5 DDE决策", "item 101", "index 1 DDE决策"}));
}

TEST_F(StripTest, TheMarkerSlidesEvenWhenNothingIsReported) {
    auto s = strip(1024);
    s->SetCurrSelectedTab(3);
    app.advance(1);
    gfx::Rect under3 = s->buttonImage().frame();
    // A repeated selection reports nothing; the marker is sent to where it is.
    heard->calls.clear();
    s->SetCurrSelectedTab(3);
    EXPECT_TRUE(heard->calls.empty());
    app.advance(0.35);
    EXPECT_EQ(s->buttonImage().frame(), under3);

    // Back to tab 0, reported or not, over 0.3 s.
    s->SetCurrSelectedTab(0);
    EXPECT_TRUE(ui::Animator::shared().animatingViews());
    app.advance(0.15);
    gfx::Point halfway = ui::Animator::shared().presentation(s->buttonImage()).center;
    EXPECT_LT(halfway.x, under3.x());
    EXPECT_GT(halfway.x, s->buttonImage().frame().x() + 12.5f);
    app.advance(0.2);
    EXPECT_EQ(ui::Animator::shared().presentation(s->buttonImage()).center, s->buttonImage().center());
}

TEST_F(StripTest, AnEmptyTitleListLaysOutNothing) {
    auto s = strip(1024, {});
    EXPECT_EQ(s->tabCount(), 0u);
    EXPECT_TRUE(s->dotLineArray().empty());
    s->SetCurrSelectedTab(0);
    s->layoutIfNeeded();
    EXPECT_TRUE(heard->calls.empty());
}

} // namespace
