#include "Components/CMSliderView.h"
#include "Components/CMSlideMenuItem.h"

#include "host/Offscreen.h"
#include "ui/Label.h"

#include <gtest/gtest.h>

namespace {

struct Picks : base::Object, CMSliderViewDelegate {
    std::vector<int> indexes;
    base::Opt<void> SelectedIndicator(int index) override {
        indexes.push_back(index);
        return {};
    }
};

const std::vector<std::string> Periods = {"日线", "5分钟", "15分钟", "60分钟", "周线", "月线"};

// Six ticks on 542 points: a pitch of 100, ticks at 21, 121, ..., 521.
struct SliderTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMSliderView> slider = CMSliderView::create({0, 100, 542, 23});
    base::Ref<Picks> owner = base::make<Picks>();

    void SetUp() override {
        slider->delegate = owner;
        app.window().addSubview(slider);
        slider->SetTagArray(Periods);
        app.runPending();
    }
    float marker() { return slider->indicator().center().x; }
};

TEST_F(SliderTest, TicksAreLabelledAtTheirPitch) {
    EXPECT_EQ(slider->width(), 100);
    EXPECT_EQ(slider->viewWithTag(1402)->frame(), (gfx::Rect{191, 28, 60, 14}));
    EXPECT_EQ(static_cast<ui::Label *>(slider->viewWithTag(1405))->text(), "月线");
    EXPECT_EQ(slider->viewWithTag(1505)->frame(), (gfx::Rect{521, 8, 2, 7}));
    EXPECT_EQ(slider->indicator().center(), (gfx::Point{22, 10}));
    EXPECT_EQ(slider->subviews().back().get(), &slider->indicator());
}

TEST_F(SliderTest, TapsSnapToTheNearestTickWithinTheTicks) {
    struct Case {
        float x;
        int index;
    } cases[] = {
        {221 + 30, 2},           // three tenths of the pitch right of tick 2
        {221 + 50, 3},           // half-way goes to the higher tick
        {221 - 49, 2}, {540, 5}, // beyond the last tick
        {2, 0},                  // before the first
    };
    for (const Case &c : cases) {
        owner->indexes.clear();
        slider->MoveIndicator(c.x);
        EXPECT_EQ(owner->indexes, std::vector<int>{c.index}) << c.x;
        EXPECT_EQ(slider->currentSelIndex(), c.index);
        EXPECT_EQ(marker(), 21 + 100 * c.index);
    }
    owner->indexes.clear();
    app.tap({221 + 30, 110});
    EXPECT_EQ(owner->indexes, std::vector<int>{2});
}

TEST_F(SliderTest, DraggingTheMarkerBeyondTheLastTickSelectsTheLast) {
    slider->SetIndicatorAtIndex(3);
    EXPECT_TRUE(owner->indexes.empty()) << "setting the index tells nobody";
    EXPECT_EQ(marker(), 321);
    app.drag({321, 110}, {640, 110});
    EXPECT_EQ(owner->indexes.back(), 5);
    EXPECT_EQ(marker(), 521);
    app.drag({521, 110}, {-100, 110});
    EXPECT_EQ(owner->indexes.back(), 0);
}

TEST_F(SliderTest, FewerThanTwoTextsMakeNoTicksAndNoSelection) {
    slider->SetTagArray({"日线"});
    EXPECT_EQ(slider->viewWithTag(1401), nullptr) << "the old ticks are gone";
    EXPECT_EQ(slider->viewWithTag(1500), nullptr);
    app.tap({400, 110});
    slider->MoveIndicator(400);
    EXPECT_TRUE(owner->indexes.empty());
    EXPECT_EQ(slider->currentSelIndex(), 0);
    slider->setFrame({0, 100, 700, 23});
    app.render();
    EXPECT_EQ(marker(), 22);
}

TEST_F(SliderTest, ResizingMovesTheTicksAndKeepsTheSelection) {
    slider->MoveIndicator(321);
    slider->setFrame({0, 100, 1042, 23});
    app.render();
    EXPECT_EQ(slider->width(), 200);
    EXPECT_EQ(slider->viewWithTag(1505)->frame().x(), 1021);
    EXPECT_EQ(marker(), 22 + 3 * 200);
}

struct Taps : base::Object, CMSlideMenuItemDelegate {
    std::vector<CMSlideMenuItem *> items;
    base::Opt<void> ReturnSelectedItem(CMSlideMenuItem &item) override {
        items.push_back(&item);
        return {};
    }
};

TEST(CMSlideMenuItem, ShowsOneLookAtATimeAndReportsTaps) {
    host::TestApp app;
    auto item = CMSlideMenuItem::create({10, 10, 80, 30});
    auto owner = base::make<Taps>();
    item->delegate = owner;
    app.window().addSubview(item);
    EXPECT_EQ(item->titleLabel().frame(), (gfx::Rect{0, 0, 80, 30}));
    EXPECT_EQ(item->subviews().back().get(), &item->titleLabel());

    item->SetPressed(1);
    EXPECT_TRUE(item->normalImage().isHidden());
    EXPECT_FALSE(item->pressedImage().isHidden());
    item->SetPressed(7);
    EXPECT_TRUE(item->isPressed());
    item->SetPressed(0);
    EXPECT_FALSE(item->normalImage().isHidden());
    EXPECT_TRUE(item->pressedImage().isHidden());

    app.tap({50, 25});
    EXPECT_EQ(owner->items, std::vector<CMSlideMenuItem *>{item.get()});
    item->setFrame({10, 10, 120, 40});
    app.render();
    EXPECT_EQ(item->normalImage().frame(), (gfx::Rect{0, 0, 120, 40}));
}

} // namespace
