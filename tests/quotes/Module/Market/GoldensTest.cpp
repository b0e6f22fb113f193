#include "MarketFixture.h"

#include "Golden.h"

#include "ui/Popover.h"

namespace market {

namespace {

// The screens as users see them, on the loopback market at the close.
class GoldensTest : public MarketScreenTest {
protected:
    void SetUp() override { show(); }
    void chooseTab(int tab) {
        tapView(*screen->switchTabBarView()->buttonAt(tab));
        settle();
        app.advance(1);
        settle();
    }
    bool matches(const std::string &name) { return qvtest::matchesGolden(app.render(), "market/" + name); }
};

TEST_F(GoldensTest, TheIndexTabWithItsCharts) {
    app.advance(1);
    settle();
    EXPECT_TRUE(matches("index-tab"));
}

TEST_F(GoldensTest, TheStockTabInBothModes) {
    chooseTab(MarketViewController::StockTab);
    EXPECT_TRUE(matches("stock-tab-trends"));
    tapView(stockList().configMarketBarView().changeModeButton());
    app.advance(1);
    EXPECT_TRUE(matches("stock-tab-columns"));
}

TEST_F(GoldensTest, TheMarketMenuAtItsSecondLevel) {
    chooseTab(MarketViewController::StockTab);
    tapView(stockList().configMarketBarView().leftButton());
    app.advance(1);
    auto &nav =
        dynamic_cast<ui::NavigationController &>(stockList().switchMarketMenuPopoverController()->content());
    auto &menu = dynamic_cast<SwitchMarketMenuController &>(*nav.viewControllers().front());
    menu.cmTableView()->categoryTableView().layoutIfNeeded();
    tapView(*menu.cmTableView()->categoryTableView().cellForRow({0, 0}));
    app.advance(1);
    ASSERT_EQ(nav.top()->title(), "分类");
    EXPECT_TRUE(matches("menu-second-level"));
}

TEST_F(GoldensTest, AFieldPullDown) {
    chooseTab(MarketViewController::StockTab);
    DefaultHeaderView &cell = *stockList().defaultColumn().headerAt(3);
    gfx::Rect r = cell.convert(cell.bounds(), nullptr);
    app.tap({r.x() + 110, r.y() + 15});
    app.advance(1);
    ASSERT_TRUE(cell.fieldTablePopoverController() && cell.fieldTablePopoverController()->isVisible());
    EXPECT_TRUE(matches("field-pull-down"));
}

TEST_F(GoldensTest, TheBoardTabInBothModesAndDrilledDown) {
    chooseTab(MarketViewController::BoardTab);
    EXPECT_TRUE(matches("board-tab-trends"));
    BoardModelView &boards = *screen->boardModelView();
    tapView(boards.configMarketBarView().changeModeButton());
    app.advance(1);
    EXPECT_TRUE(matches("board-tab-columns"));
    boards.boardTableView().layoutIfNeeded();
    tapView(*boards.boardTableView().cellForRow({0, 0}));
    settle();
    app.advance(1);
    settle();
    EXPECT_TRUE(matches("board-drilled-down"));
}

TEST_F(GoldensTest, TheBondTab) {
    chooseTab(MarketViewController::BondTab);
    EXPECT_TRUE(matches("bond-tab"));
}

TEST_F(GoldensTest, TheFundTabInEachColumnSet) {
    chooseTab(MarketViewController::FundTab);
    EXPECT_TRUE(matches("fund-tab-exchange"));
    struct Market {
        const char *name;
        int classID;
        const char *golden;
    } markets[] = {{"股票型基金", 2301, "fund-tab-open-end"}, {"货币型基金", 2305, "fund-tab-money"}};
    for (const Market &m : markets) {
        screen->fundModelView()->ReturnSelectedMarket(
            base::Dict{{"MENU_NAME", m.name}, {"CLASS_ID", m.classID}});
        settle();
        app.advance(1);
        settle();
        EXPECT_TRUE(matches(m.golden)) << m.name;
    }
}

TEST_F(GoldensTest, TheCurrencyTabWithTheDollarIndexTile) {
    chooseTab(MarketViewController::CurrTab);
    EXPECT_TRUE(matches("currency-tab"));
}

TEST_F(GoldensTest, TheCommodityTabWithItsClassMenuOpen) {
    chooseTab(MarketViewController::ProdTab);
    EXPECT_TRUE(matches("commodity-tab-trends"));
    ProdModelView &products = *screen->prodModelView();
    tapView(products.configMarketBarView().changeModeButton());
    app.advance(1);
    tapView(products.configMarketBarView().leftButton());
    app.advance(1);
    ASSERT_TRUE(products.switchMarketMenuPopoverController()->isVisible());
    EXPECT_TRUE(matches("commodity-tab-columns-menu"));
}

} // namespace

} // namespace market
