#include "Components/CMSlideMenuView.h"

#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

struct Picks : base::Object, CMSlideMenuViewDelegate {
    std::vector<int> indexes;
    base::Opt<void> ReturnSelectedIndex(int index, CMSlideMenuView &) override {
        indexes.push_back(index);
        return {};
    }
};

struct SlideMenuTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMSlideMenuView> strip = CMSlideMenuView::create({0, 0, 200, 40});
    base::Ref<Picks> owner = base::make<Picks>();

    void SetUp() override {
        strip->delegate = owner;
        app.window().addSubview(strip);
        strip->SetMenuItemArray({"资讯", "F10", "财务", "公告", "研报"});
    }
    std::vector<bool> pressed() {
        std::vector<bool> all;
        for (int i = 0; i < strip->count(); ++i)
            all.push_back(strip->item(i)->isPressed());
        return all;
    }
};

TEST_F(SlideMenuTest, TabsLineUpInAScrollingStrip) {
    EXPECT_EQ(strip->item(0)->frame(), (gfx::Rect{10, 5, 45, 30}));
    EXPECT_EQ(strip->item(2)->frame(), (gfx::Rect{120, 5, 45, 30}));
    EXPECT_EQ(strip->item(4)->tag, 1304);
    EXPECT_EQ(strip->bgScrollView().contentSize(), (gfx::Size{285, 40}));
    EXPECT_EQ(pressed(), std::vector<bool>(5, false));

    strip->SetMenuItemWidth(60, 4, 99, 2);
    EXPECT_EQ(strip->item(1)->frame(), (gfx::Rect{64, 4, 60, 32}));
    EXPECT_EQ(strip->bgScrollView().contentSize(), (gfx::Size{312, 40}));
}

TEST_F(SlideMenuTest, ATapLeavesOnlyThatTabPressedAndReportsItsIndex) {
    strip->SetSelectedItemIndex(0);
    app.tap({142, 20});
    app.advance(0.5);
    EXPECT_EQ(owner->indexes, std::vector<int>{2});
    EXPECT_EQ(pressed(), (std::vector<bool>{false, false, true, false, false}));

    strip->SetSelectedItemIndex(5);
    EXPECT_EQ(pressed(), std::vector<bool>(5, false)) << "an index past the tabs releases them all";
}

TEST_F(SlideMenuTest, ANewListReplacesTheTabs) {
    strip->SetMenuItemArray({"一", "二"});
    EXPECT_EQ(strip->count(), 2);
    EXPECT_EQ(strip->bgScrollView().subviews().size(), 2u);
    EXPECT_EQ(strip->item(2), nullptr);
}

} // namespace
