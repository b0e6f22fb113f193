#include "Module/Market/ConfigMarketBarView.h"
#include "Module/Market/DefaultColumn.h"
#include "Module/Market/StockModelCell.h"
#include "Module/Market/SwitchMarketMenuController.h"

#include "host/Offscreen.h"
#include "ui/NavigationController.h"
#include "ui/Popover.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

namespace market {

namespace {

struct Sorts : base::Object, DefaultColumnDelegate, SwitchMarketMenuControllerDelegate {
    std::vector<std::tuple<int, int, int>> sorts; // direction, field, header
    std::vector<std::tuple<std::string, int, int>> fields;
    std::vector<base::Value> markets;
    base::Opt<void> ReturnUpdownTag(int upDown, int classID, int headerID) override {
        sorts.emplace_back(upDown, classID, headerID);
        return {};
    }
    base::Opt<void> ReturnSelectedFieldName(const std::string &name, int classID, int headerID) override {
        fields.emplace_back(name, classID, headerID);
        return {};
    }
    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override {
        markets.push_back(row);
        return {};
    }
};

base::Array fieldRows() {
    return {base::Dict{{"MENU_NAME", "涨幅"}, {"CLASS_ID", 1}},
            base::Dict{{"MENU_NAME", "换手"}, {"CLASS_ID", 21}},
            base::Dict{{"MENU_NAME", "成交量"}, {"CLASS_ID", 2}},
            base::Dict{{"MENU_NAME", "量比"}, {"CLASS_ID", 20}},
            base::Dict{{"MENU_NAME", "换手率"}, {"CLASS_ID", 21}}};
}

struct HeadersTest : ::testing::Test {
    host::TestApp app;
    base::Ref<Sorts> sorts = base::make<Sorts>();
    base::Ref<DefaultColumn> header = base::make<DefaultColumn>(gfx::Rect{0, 100, 1024, 30});

    HeadersTest() {
        header->delegate = sorts;
        int fields[] = {4, 1, 21, 2, 20};
        for (int id = 0; id < 5; ++id)
            header->SetPullList(fieldRows(), fields[id], id);
        app.window().addSubview(header);
        app.runPending();
    }
    ~HeadersTest() override {
        for (auto &popover : ui::Popover::visiblePopovers())
            popover->dismiss(false);
    }
    // A tap at x within header cell `id`.
    void tapCell(int id, float x) {
        gfx::Rect r = header->headerAt(id)->convert(header->headerAt(id)->bounds(), nullptr);
        app.tap({r.x() + x, r.y() + 15});
    }
    bool arrowShown(int id) { return !header->headerAt(id)->updownTagImage().isHidden(); }
};

TEST_F(HeadersTest, TheSelectedCellReversesAndAnotherStartsDescending) {
    for (int i = 0; i < 3; ++i)
        tapCell(1, 40);
    tapCell(2, 40);
    using Sort = std::tuple<int, int, int>;
    EXPECT_EQ(sorts->sorts, (std::vector<Sort>{{1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 21, 2}}));
    EXPECT_FALSE(arrowShown(1));
    EXPECT_TRUE(arrowShown(2));
    EXPECT_EQ(header->isRank(), 0);
}

TEST_F(HeadersTest, TapZonesSortBetweenNothingAndTheMarkerOpensTheList) {
    struct Zone {
        int cell;
        float x;
        size_t sorts;
        bool opens;
    } zones[] = {{2, 85, 0, false}, {2, 79, 1, false}, {2, 101, 1, true}, {0, 101, 1, false}};
    for (const Zone &zone : zones) {
        tapCell(zone.cell, zone.x);
        EXPECT_EQ(sorts->sorts.size(), zone.sorts) << "x " << zone.x;
        EXPECT_EQ(header->headerAt(zone.cell)->fieldTablePopoverController() != nullptr, zone.opens)
            << "x " << zone.x;
    }
}

TEST_F(HeadersTest, AChosenFieldRecaptionsTheCellAndSelectsItDescending) {
    tapCell(3, 110);
    ui::Popover *popover = header->headerAt(3)->fieldTablePopoverController();
    ASSERT_TRUE(popover && popover->isVisible());
    auto &list = dynamic_cast<FieldTableController &>(popover->content());
    app.runPending();
    list.fieldTable()->layoutIfNeeded();
    app.tap([&] {
        gfx::Rect r = list.fieldTable()->convert(list.fieldTable()->rectForRow({0, 3}), nullptr);
        return gfx::Point{r.x() + 20, r.y() + 10};
    }());
    using Field = std::tuple<std::string, int, int>;
    EXPECT_EQ(sorts->fields, (std::vector<Field>{{"量比", 20, 3}}));
    EXPECT_EQ(header->headerAt(3)->fieldNameLabel().text(), "量比");
    EXPECT_TRUE(arrowShown(3));
    EXPECT_FALSE(arrowShown(1));
    EXPECT_EQ(header->currentSelHeader, 3);
    app.advance(1);
    EXPECT_FALSE(popover->isVisible());
}

TEST_F(HeadersTest, TheLaterOfTwoRowsWithOneFieldNamesTheCell) {
    EXPECT_EQ(header->headerAt(2)->fieldNameLabel().text(), "换手率");
    header->SetPullList(fieldRows(), 99, 4);
    EXPECT_EQ(header->headerAt(4)->fieldNameLabel().text(), "");
    header->SetPullList(fieldRows(), 1, 5); // no such cell
}

TEST_F(HeadersTest, WithNoCellSelectedNothingSortsUntilAFieldIsChosen) {
    header->SetDefaultSelectedHeader(-1);
    for (int id = 0; id < 5; ++id)
        EXPECT_FALSE(arrowShown(id));
    tapCell(1, 40);
    tapCell(2, 40);
    EXPECT_TRUE(sorts->sorts.empty());
    header->ReturnCurrentSelectedFieldName("量比", 20, 4);
    tapCell(4, 40);
    EXPECT_EQ(sorts->sorts, (std::vector<std::tuple<int, int, int>>{{1, 20, 4}}));
}

TEST_F(HeadersTest, TrendViewsTakeEightyPercentOfTheRow) {
    struct Case {
        float height;
        gfx::Rect trend;
    } cases[] = {{70, {745, 7, 265, 56}}, {44, {745, 4.4f, 265, 35.2f}}};
    for (const Case &c : cases) {
        auto row =
            base::make<StockModelCell>(ui::TableCell::Style::Default, "r", gfx::Rect{0, 0, 1024, c.height});
        gfx::Rect f = row->miniImageView()->frame();
        EXPECT_EQ(f.x(), c.trend.x());
        EXPECT_FLOAT_EQ(f.y(), c.trend.y());
        EXPECT_EQ(f.width(), c.trend.width());
        EXPECT_FLOAT_EQ(f.height(), c.trend.height());
    }
}

struct MenusTest : ::testing::Test {
    host::TestApp app;
    base::Ref<Sorts> owner = base::make<Sorts>();

    ~MenusTest() override {
        for (auto &popover : ui::Popover::visiblePopovers())
            popover->dismiss(false);
    }
};

TEST_F(MenusTest, AChoiceOnAnyLevelReachesTheOwnerAsAFirstLevelOne) {
    base::Value deeper = base::Array{base::Dict{{"MENU_NAME", "上证B股"}, {"CLASS_ID", 12}}};
    base::Value second =
        base::Array{base::Dict{{"MENU_NAME", "上证A股"}, {"CLASS_ID", 11}},
                    base::Dict{{"MENU_NAME", "更多"}, {"HasSubMenu", true}, {"SUB_MENU_ARRAY", deeper}}};
    base::Value rows =
        base::Array{base::Dict{{"MENU_NAME", "沪市股票"}, {"HasSubMenu", true}, {"SUB_MENU_ARRAY", second}},
                    base::Dict{{"MENU_NAME", "创业板"}, {"CLASS_ID", 25}}};
    auto menu = base::make<SwitchMarketMenuController>();
    menu->delegate = owner;
    menu->SetMenuItemsArray(rows);
    auto nav = base::make<ui::NavigationController>(menu);
    auto popover = base::make<ui::Popover>(nav);
    popover->presentFromRect({0, 100, 190, 28}, app.window(), ui::ArrowUp, false);
    app.advance(1);

    menu->selectedAction((*rows.array())[0]);
    app.advance(1);
    ASSERT_EQ(nav->viewControllers().size(), 2u);
    auto &level = dynamic_cast<SubMenuViewController &>(*nav->top());
    EXPECT_EQ(level.title(), "分类");
    EXPECT_TRUE(owner->markets.empty());
    level.selectedAction((*second.array())[0]);
    level.selectedAction((*second.array())[1]);
    app.advance(1);
    dynamic_cast<SubMenuViewController &>(*nav->top()).selectedAction((*deeper.array())[0]);
    menu->selectedAction((*rows.array())[1]);
    ASSERT_EQ(owner->markets.size(), 3u);
    EXPECT_EQ(owner->markets[0]["CLASS_ID"].intValue(), 11);
    EXPECT_EQ(owner->markets[1]["CLASS_ID"].intValue(), 12);
    EXPECT_EQ(owner->markets[2]["CLASS_ID"].intValue(), 25);
}

TEST_F(MenusTest, TwoModeTapsRestoreTheBarAndOnlyZeroOrOneShowsTheButton) {
    auto bar = base::make<ConfigMarketBarView>(gfx::Rect{0, 100, 1024, 36});
    app.window().addSubview(bar);
    app.runPending();
    gfx::Rect r = bar->changeModeButton().convert(bar->changeModeButton().bounds(), nullptr);
    gfx::Point middle{r.x() + r.width() / 2, r.y() + r.height() / 2};
    app.tap(middle);
    EXPECT_EQ(bar->modeState(), 0);
    EXPECT_EQ(bar->changeModeButton().backgroundImageForState(ui::Normal),
              gfx::Image::named("listDef_singleMode.png"));
    app.tap(middle);
    EXPECT_EQ(bar->modeState(), 1);
    EXPECT_EQ(bar->changeModeButton().backgroundImageForState(ui::Normal),
              gfx::Image::named("list_singleMode.png"));
    bar->SetModeButtonShow(2);
    EXPECT_FALSE(bar->changeModeButton().isHidden());
    bar->SetModeButtonShow(0);
    EXPECT_TRUE(bar->changeModeButton().isHidden());
    bar->reLayout({0, 100, 1200, 36});
    EXPECT_EQ(bar->leftButton().frame().x(), 0);
    EXPECT_EQ(bar->changeModeButton().frame().x(), 1024 - 52);
}

} // namespace

} // namespace market
