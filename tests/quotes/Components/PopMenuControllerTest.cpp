#include "Components/PopMenuController.h"

#include "Golden.h"
#include "host/Offscreen.h"
#include "ui/Button.h"
#include "ui/Popover.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Hears both operations, or only the ones asked for.
struct Listener : base::Object, PopMenuControllerDelegate {
    bool byID = true, byKey = true;
    std::vector<std::string> heard;

    base::Opt<void> ReturnSelectedPopMenuItem(int menu, int32_t id, const std::string &name) override {
        if (!byID)
            return base::notImplemented;
        heard.push_back(std::to_string(menu) + " id " + std::to_string(id) + " " + name);
        return {};
    }
    base::Opt<void> ReturnSelectedPopMenuItem(int menu, const std::string &key,
                                              const std::string &name) override {
        if (!byKey)
            return base::notImplemented;
        heard.push_back(std::to_string(menu) + " key " + key + " " + name);
        return {};
    }
};

struct PopMenuControllerTest : ::testing::Test {
    host::TestApp app;
    base::Ref<ui::Button> anchor = ui::Button::custom({400, 100, 70, 20});
    base::Ref<PopMenuController> menu = base::make<PopMenuController>(gfx::Rect{500, 500, 100, 80});
    base::Ref<ui::Popover> popover;
    base::Ref<Listener> listener = base::make<Listener>();

    void SetUp() override {
        app.window().addSubview(anchor);
        menu->popMenuID = 300;
        menu->delegate = listener;
    }
    void present() {
        popover = base::make<ui::Popover>(menu);
        popover->presentFromRect(anchor->bounds(), *anchor, ui::ArrowUp, false);
        app.advance(1);
        app.render(); // lays the rows out, as the screen would before a finger comes
    }
    // The centre of a row on screen.
    gfx::Point row(int index) const {
        ui::TableView *table = menu->tableView();
        return table->convert(gfx::Point{50, table->rowHeight * (float(index) + 0.5f)}, nullptr);
    }
};

TEST_F(PopMenuControllerTest, RowHeightFollowsTheFontSize) {
    for (auto [font, height] : {std::pair{14.f, 23.f}, {28.f, 46.f}, {13.f, 22.f}}) {
        auto m = base::make<PopMenuController>(gfx::Rect{0, 0, 100, 80});
        m->fontSize = font;
        m->view();
        EXPECT_EQ(m->tableView()->rowHeight, height) << font;
        EXPECT_EQ(m->tableView()->frame(), (gfx::Rect{0, 0, 100, 80}));
        EXPECT_EQ(m->contentSizeInPopover(), (gfx::Size{100, 80}));
    }
}

TEST_F(PopMenuControllerTest, ChoiceReportsByIdThenByKeyWithTheMenusId) {
    menu->addMenuItem("不复权", 0);
    menu->addMenuItem("前复权", 1);
    menu->addMenuItem("均线", std::string("MA"));
    present();
    app.tap(row(1));
    app.tap(row(2));
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"300 id 1 前复权", "300 key  前复权",
                                                         "300 id 0 均线", "300 key MA 均线"}));
    EXPECT_TRUE(popover->isVisible()); // the owner dismisses it
}

TEST_F(PopMenuControllerTest, OnlyTheImplementedOperationsAreSent) {
    menu->addMenuItem("后复权", 2);
    menu->addMenuItem("前复权", 1);
    present();
    listener->byKey = false;
    app.tap(row(0));
    listener->byID = false;
    app.tap(row(1));
    EXPECT_EQ(listener->heard, std::vector<std::string>{"300 id 2 后复权"});
}

TEST_F(PopMenuControllerTest, EmptyMenuShowsNoRowsAndReportsNothing) {
    present();
    EXPECT_EQ(menu->tableView()->numberOfRows(0), 0);
    app.tap(row(0));
    EXPECT_TRUE(listener->heard.empty());
}

TEST_F(PopMenuControllerTest, NamesAreFoundByTheFirstItemWithTheId) {
    menu->addMenuItem("DDX", 2918);
    menu->addMenuItem("DDY", 2918);
    EXPECT_EQ(menu->getMenuItemName(2918), "DDX");
    EXPECT_EQ(menu->getMenuItemName(7), "");
    menu->removeAllMenuItems();
    EXPECT_EQ(menu->getMenuItemName(2918), "");
}

TEST_F(PopMenuControllerTest, GoldenExrightMenuUnderItsButton) {
    for (auto [name, id] : {std::pair{"不复权", 0}, {"前复权", 1}, {"后复权", 2}})
        menu->addMenuItem(name, id);
    present();
    gfx::Rect box = popover->frame();
    gfx::Surface window = app.render();
    gfx::Surface shot(160, 140);
    gfx::Context context(shot);
    context.drawImage({-box.x() + 20, -box.y() + 30, float(window.width()), float(window.height())},
                      gfx::Image(window));
    EXPECT_TRUE(qvtest::matchesGolden(shot, "common/pop-menu", 48));
}

} // namespace
