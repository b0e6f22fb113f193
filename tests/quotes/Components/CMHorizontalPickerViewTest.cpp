#include "Components/CMHorizontalPickerView.h"

#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

struct Groups : base::Object, CMHorizontalPickerViewDataSource, CMHorizontalPickerViewDelegate {
    std::vector<int> widths;
    bool titled = true;
    std::vector<int> reports;

    int numberOfElementsInHorizontalPickerView(CMHorizontalPickerView &) override {
        return int(widths.size());
    }
    base::Opt<int> widthForElementAtIndex(CMHorizontalPickerView &, int index) override {
        return widths[size_t(index)];
    }
    base::Opt<void> didSelectElementAtIndex(CMHorizontalPickerView &, int index) override {
        reports.push_back(index);
        return {};
    }
    base::Opt<std::string> titleForElementAtIndex(CMHorizontalPickerView &, int index) override {
        if (!titled)
            return base::notImplemented;
        return "组" + std::to_string(index);
    }
};

// A count without widths: a data source alone, or a delegate that gives no widths.
struct CountOnly : base::Object, CMHorizontalPickerViewDataSource, CMHorizontalPickerViewDelegate {
    int numberOfElementsInHorizontalPickerView(CMHorizontalPickerView &) override { return 4; }
};

// The owners' set-up: a strip 300 wide at the window's origin, the selection point at x 60.
struct PickerTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMHorizontalPickerView> picker = CMHorizontalPickerView::create({0, 0, 300, 40});
    base::Ref<Groups> owner = base::make<Groups>();

    void SetUp() override {
        owner->widths = {80, 100, 60};
        picker->setSelectionPoint({60, 0});
        picker->setDataSource(owner);
        picker->setDelegate(owner);
        picker->setTextColor(gfx::Color::white());
        picker->setSelectedTextColor(gfx::Color::yellow());
        app.window().addSubview(picker);
        app.render();
    }
    float offset() { return picker->scrollView().contentOffset().x; }
    ui::View *element(int index) {
        return picker->scrollView().viewWithTag(CMHorizontalPickerView::tagForElementAtIndex(index));
    }
    // Lets any motion come to rest.
    void settle() { app.advance(2); }
};

TEST_F(PickerTest, ElementsAbutAndTheEndsCanComeUnderTheSelectionPoint) {
    EXPECT_EQ(CMHorizontalPickerView::create({0, 0, 300, 40})->selectionPoint(), (gfx::Point{150, 0}));
    EXPECT_EQ(picker->numberOfElements(), 3);
    EXPECT_EQ(picker->scrollView().contentSize(), (gfx::Size{240, 40}));
    EXPECT_EQ(picker->scrollView().contentInset(), (gfx::EdgeInsets{0, 20, 0, 210}));
    EXPECT_EQ(picker->centerOfElementAtIndex(0), 40);
    EXPECT_EQ(picker->centerOfElementAtIndex(1), 130);
    EXPECT_EQ(picker->centerOfElementAtIndex(2), 210);
    picker->scrollToElement(1, false);
    EXPECT_EQ(offset(), 70);
    EXPECT_EQ(owner->reports, std::vector<int>{1});
    picker->scrollToElement(1, false);
    EXPECT_EQ(owner->reports, (std::vector<int>{1, 1})) << "reported again when already selected";
    picker->scrollToElement(-1, false);
    EXPECT_EQ(offset(), -60);
    EXPECT_EQ(picker->currentSelectedIndex(), -1);
    EXPECT_EQ(owner->reports.back(), -1);
}

TEST_F(PickerTest, EveryRestReportsOnceWithOrWithoutMomentum) {
    struct Case {
        const char *what;
        bool fling;
        float toX;
    } cases[] = {{"drag and rest", false, 140}, {"fling", true, 180}};
    for (const Case &c : cases) {
        picker->scrollToElement(0, false);
        settle();
        owner->reports.clear();
        if (c.fling)
            app.fling({c.toX, 20}, {c.toX - 60, 20});
        else
            app.dragAndRest({c.toX, 20}, {c.toX - 60, 20});
        settle();
        ASSERT_EQ(owner->reports.size(), 1u) << c.what;
        const int chosen = owner->reports[0];
        EXPECT_EQ(picker->currentSelectedIndex(), chosen) << c.what;
        EXPECT_EQ(offset(), picker->centerOfElementAtIndex(chosen) - 60) << c.what;
    }
}

TEST_F(PickerTest, BouncingPastAnEndSnapsToThatEnd) {
    struct Case {
        gfx::Point from, to;
        int end;
    } cases[] = {{{50, 20}, {290, 20}, 0}, {{290, 20}, {10, 20}, 2}};
    for (const Case &c : cases) {
        owner->reports.clear();
        app.dragAndRest(c.from, c.to);
        settle();
        ASSERT_FALSE(owner->reports.empty());
        EXPECT_EQ(owner->reports.back(), c.end);
        EXPECT_EQ(offset(), picker->centerOfElementAtIndex(c.end) - 60);
    }
}

TEST_F(PickerTest, TapsChooseTheElementUnderThemAndNothingInTheMargins) {
    app.tap({250, 20}); // right of the last element, in the inset
    settle();
    EXPECT_TRUE(owner->reports.empty());
    EXPECT_EQ(offset(), 0);
    app.tap({130, 20}); // element 1 spans 100 to 200 on screen
    settle();
    EXPECT_EQ(owner->reports, std::vector<int>{1});
    EXPECT_EQ(offset(), 70);
}

TEST_F(PickerTest, LabelsShowTheSelectionAndCarryTheirTags) {
    owner->widths = {80, 100, 60, 90, 70, 120};
    picker->reloadData();
    app.render();
    auto *first = dynamic_cast<CMHorizontalPickerLabel *>(element(0));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text(), "组0");
    EXPECT_TRUE(first->selectedElement());
    EXPECT_EQ(*first->textColor(), *gfx::Color::yellow());
    EXPECT_EQ(CMHorizontalPickerView::indexForElement(*first), 0);
    ASSERT_TRUE(element(3));
    EXPECT_EQ(element(3)->frame(), (gfx::Rect{240, 0, 90, 40}));

    picker->scrollToElement(4, false);
    app.render();
    ASSERT_TRUE(element(4));
    EXPECT_EQ(element(4)->tag, 50);
    EXPECT_EQ(element(0), nullptr) << "out of sight, put aside";
    EXPECT_TRUE(picker->dequeueReusableView());
    EXPECT_EQ(*static_cast<ui::Label *>(element(4))->textColor(), *gfx::Color::yellow());
    EXPECT_EQ(*static_cast<ui::Label *>(element(3))->textColor(), *gfx::Color::white());
}

TEST(CMHorizontalPicker, ACountWithoutWidthsMakesAnEmptyStripThatStillWorks) {
    host::TestApp app;
    auto picker = CMHorizontalPickerView::create({0, 0, 300, 40});
    auto owner = base::make<CountOnly>();
    picker->setDataSource(owner);
    picker->setDelegate(owner);
    app.window().addSubview(picker);
    app.render();
    EXPECT_EQ(picker->numberOfElements(), 4);
    EXPECT_EQ(picker->scrollView().contentSize().w, 0);
    EXPECT_TRUE(picker->scrollView().subviews().empty());
    app.dragAndRest({200, 20}, {100, 20});
    app.advance(2);
    app.tap({100, 20});
    app.advance(1);
    EXPECT_EQ(picker->currentSelectedIndex(), 0);
    picker->scrollToElement(3, false);
    app.render();
    EXPECT_TRUE(picker->scrollView().subviews().empty());
}

} // namespace
