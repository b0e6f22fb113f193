#include "Components/CMTableView.h"
#include "Components/CMGeneralCell.h"
#include "Components/CategoryTableViewCell.h"

#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

base::Value entry(const char *name, std::optional<bool> sub = std::nullopt) {
    base::Dict row;
    row.set("MENU_NAME", name);
    row.set("CLASS_ID", 11);
    if (sub)
        row.set("HasSubMenu", *sub);
    return base::Value(row);
}

base::Value rows(std::vector<base::Value> entries) {
    base::Array list;
    for (auto &e : entries)
        list.add(e);
    return base::Value(list);
}

struct Chooser : base::Object {
    std::vector<std::string> chosen;
};

struct MenuTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMTableView> menu = CMTableView::create({0, 0, 240, 400});
    base::Ref<Chooser> owner = base::make<Chooser>();

    void SetUp() override {
        app.window().addSubview(menu);
        menu->setRetDataActionTarget(owner, [this](const base::Value &row) {
            owner->chosen.push_back(row["MENU_NAME"].stringValue());
        });
    }
    CategoryTableViewCell *cell(int row) {
        app.render();
        return dynamic_cast<CategoryTableViewCell *>(menu->categoryTableView().cellForRow({0, row}).get());
    }
};

TEST_F(MenuTest, WithoutRowsTheMenuIsEmpty) {
    app.render();
    EXPECT_EQ(menu->categoryTableView().numberOfRows(0), 0);
    menu->setTableDataArray(rows({}));
    app.render();
    EXPECT_EQ(menu->categoryTableView().numberOfRows(0), 0);
    EXPECT_EQ(menu->categoryTableView().frame(), (gfx::Rect{0, 0, 239, 400}));
}

TEST_F(MenuTest, RowsShowTheirNamesAndArrowsOnlyForSubMenus) {
    menu->setTableRowWithHeight(50);
    menu->setTableDataArray(rows({entry("沪深A股", true), entry("上证A股", false), entry("深证A股")}));
    ASSERT_TRUE(cell(0));
    EXPECT_EQ(cell(0)->titleLabel().text(), "沪深A股");
    EXPECT_EQ(cell(0)->accessoryType(), ui::TableCell::Accessory::DisclosureIndicator);
    EXPECT_EQ(cell(1)->accessoryType(), ui::TableCell::Accessory::None);
    EXPECT_EQ(cell(2)->accessoryType(), ui::TableCell::Accessory::None);
    EXPECT_EQ(menu->categoryTableView().rectForRow({0, 2}), (gfx::Rect{0, 100, 239, 50}));

    // The same cells come back for a list whose first row has no sub-menu and no name.
    base::Dict bare;
    bare.set("CLASS_ID", 3);
    menu->setTableDataArray(rows({base::Value(bare), entry("创业板", true)}));
    EXPECT_EQ(cell(0)->accessoryType(), ui::TableCell::Accessory::None) << "no stale disclosure";
    EXPECT_EQ(cell(0)->titleLabel().text(), "");
    EXPECT_EQ(cell(1)->accessoryType(), ui::TableCell::Accessory::DisclosureIndicator);
}

TEST_F(MenuTest, AChosenRowGoesToTheReceiverAndStaysSelectedInWhite) {
    menu->setTableDataArray(rows({entry("沪深A股"), entry("上证A股")}));
    app.render();
    app.tap({100, 66});
    app.advance(0.5);
    EXPECT_EQ(owner->chosen, std::vector<std::string>{"上证A股"});
    ASSERT_TRUE(cell(1)->isSelected());
    EXPECT_EQ(*cell(1)->titleLabel().textColor(), *gfx::Color::white());
    EXPECT_EQ(cell(1)->selectedBackgroundView().get(), &cell(1)->cellBackgroundView());
    EXPECT_EQ(cell(1)->cellBackgroundView().image(), gfx::Image::named("SelectedBg.png"));
    app.tap({100, 22});
    app.advance(0.5);
    EXPECT_EQ(*cell(1)->titleLabel().textColor(), *gfx::Color::black());

    owner.reset(); // the receiver is gone: choosing does nothing
    app.tap({100, 66});
    app.advance(0.5);
}

TEST_F(MenuTest, TitleLookAndSelectedPictureComeFromTheMenu) {
    auto picture = gfx::Image::named("title_bg.png");
    menu->setCellBackgroundImage(picture);
    menu->setTitleFont(gfx::Font::system(20), nullptr);
    menu->setTitleFont(nullptr, gfx::Color::red());
    menu->setTableDataArray(rows({entry("沪深A股")}));
    EXPECT_EQ(cell(0)->cellBackgroundView().image(), picture);
    EXPECT_EQ(cell(0)->titleLabel().font()->pointSize(), 20);
    EXPECT_EQ(*cell(0)->titleLabel().textColor(), *gfx::Color::red());
}

TEST(CMGeneralCell, TheBackgroundFillsTheCellInItsColour) {
    auto cell = CMGeneralCell::create(ui::TableCell::Style::Default, "pool");
    cell->setFrame({0, 0, 300, 40});
    cell->SetCellBgColor(51, 102, 255, 0.5f);
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->backgroundView()->frame(), (gfx::Rect{0, 0, 300, 40}));
    EXPECT_EQ(*cell->backgroundView()->backgroundColor(), *gfx::Color::rgba(0.2f, 0.4f, 1, 0.5f));
}

} // namespace
