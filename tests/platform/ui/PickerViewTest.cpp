#include "ui/PickerView.h"

#include "Golden.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;

// Banks and currencies, as the transfer panel offers them, with every choice written down.
struct Banks : PickerDataSource, PickerDelegate {
    std::vector<std::vector<std::string>> columns{
        {"工商银行", "农业银行", "中国银行", "建设银行", "交通银行", "招商银行"}};
    float height = 44;
    std::vector<std::pair<int, int>> chosen;

    int numberOfComponents(PickerView &) override { return int(columns.size()); }
    int numberOfRows(PickerView &, int c) override { return int(columns[size_t(c)].size()); }
    base::Opt<float> rowHeight(PickerView &, int) override { return height; }
    base::Opt<std::string> title(PickerView &, int row, int c) override {
        return columns[size_t(c)][size_t(row)];
    }
    base::Opt<void> didSelect(PickerView &, int row, int c) override {
        chosen.push_back({row, c});
        return {};
    }
};

struct PickerViewTest : ::testing::Test {
    host::TestApp app;
    Ref<Banks> banks = make<Banks>();
    Ref<PickerView> picker = make<PickerView>(gfx::Rect{0, 0, 320, 220});

    void SetUp() override {
        picker->dataSource = banks;
        picker->delegate = banks;
        picker->setShowsSelectionIndicator(true);
        app.window().addSubview(picker);
        picker->reloadAllComponents();
    }
};

TEST_F(PickerViewTest, EachSettledTurnReportsItsRowOnce) {
    EXPECT_EQ(picker->selectedRow(0), 0);
    // A slow turn of one row and a bit, a throw, and a turn back past the first row.
    app.dragAndRest({160, 150}, {160, 96});
    app.advance(1);
    app.fling({160, 150}, {160, 100});
    app.advance(3);
    int thrown = picker->selectedRow(0);
    app.dragAndRest({160, 20}, {160, 200});
    app.advance(1);
    ASSERT_EQ(banks->chosen.size(), 3u);
    EXPECT_EQ(banks->chosen[0], (std::pair{1, 0}));
    EXPECT_GT(thrown, 1);
    EXPECT_EQ(banks->chosen[1], (std::pair{thrown, 0}));
    EXPECT_EQ(banks->chosen[2], (std::pair{0, 0}));
    // Each wheel rests exactly on a row.
    EXPECT_FLOAT_EQ(picker->wheel(0)->contentOffset().y + picker->wheel(0)->contentInset().top, 0);
}

TEST_F(PickerViewTest, SelectRowMovesWithoutReporting) {
    picker->selectRow(4, 0, true);
    app.advance(1);
    EXPECT_EQ(picker->selectedRow(0), 4);
    picker->selectRow(40, 0, false);
    EXPECT_EQ(picker->selectedRow(0), 5);
    EXPECT_TRUE(banks->chosen.empty());
    // A reload keeps the row.
    picker->reloadAllComponents();
    EXPECT_EQ(picker->selectedRow(0), 5);
}

TEST_F(PickerViewTest, ATapOnARowTurnsItToTheCentre) {
    app.tap({160, 110 + 44});
    app.advance(1);
    EXPECT_EQ(picker->selectedRow(0), 1);
    EXPECT_EQ(banks->chosen, (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST_F(PickerViewTest, AScaledPickerStillTakesTouches) {
    picker->setTransform(gfx::Transform::scale(0.8f, 0.6f));
    // The wheel's rows are 44 high but 26.4 on screen: two rows are 52.8 points of finger.
    gfx::Point centre = picker->center();
    app.dragAndRest({centre.x, centre.y + 30}, {centre.x, centre.y + 30 - 52.8f});
    app.advance(1);
    EXPECT_EQ(banks->chosen, (std::vector<std::pair<int, int>>{{2, 0}}));
}

TEST_F(PickerViewTest, AnOwnerGoneWhileAWheelSettlesIsNotCalled) {
    app.dragAndRest({160, 150}, {160, 96});
    banks.reset();
    app.advance(1);
    EXPECT_EQ(picker->selectedRow(0), 1);
    picker->reloadAllComponents();
    EXPECT_EQ(picker->numberOfComponents(), 0);
}

TEST_F(PickerViewTest, TwoWheelsLookRight) {
    banks->columns.push_back({"人民币", "美元", "港币"});
    banks->height = 40;
    picker->reloadAllComponents();
    picker->selectRow(2, 0, false);
    picker->selectRow(1, 1, false);
    picker->removeFromSuperview();
    auto window = make<Window>(gfx::Rect{0, 0, 320, 220});
    window->addSubview(picker);
    EXPECT_TRUE(qvtest::matchesGolden(window->render(), "ui/picker"));
}

} // namespace
} // namespace ui
