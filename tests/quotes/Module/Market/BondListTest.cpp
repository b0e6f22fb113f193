#include "MarketFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

namespace market {

namespace {

class BondListTest : public MarketScreenTest {
protected:
    void SetUp() override {
        show();
        forgetRequests();
        tapView(*screen->switchTabBarView()->buttonAt(MarketViewController::BondTab));
        settle();
        app.runPending();
        table().layoutIfNeeded();
    }
    BondModelView &bonds() { return *screen->bondModelView(); }
    ui::TableView &table() { return *bonds().curTableView(); }
    void tapHeader(int column) {
        table().layoutIfNeeded();
        tapView(*bonds().titleColumn().headerAt(column));
        settle();
        app.runPending();
    }
};

TEST_F(BondListTest, StartsOnShanghaiBondsByRiseDescendingWithRiseMarkedAndNoModeButton) {
    ConfigMarketBarView &bar = bonds().configMarketBarView();
    EXPECT_EQ(bar.leftButton().titleForState(ui::Normal), "上海债券");
    EXPECT_TRUE(bar.changeModeButton().isHidden());
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{BondModelView::ClassID, 1, 0, 0, 30}}));
    EXPECT_TRUE(minuteRequests().empty());
    ASSERT_GT(bonds().rowCount(), 0);
    EXPECT_FALSE(bonds().titleColumn().headerAt(3)->headerIcon().isHidden());
    EXPECT_TRUE(bonds().titleColumn().headerAt(5)->headerIcon().isHidden());
    auto first = std::dynamic_pointer_cast<GeneralCell>(table().cellForRow({0, 0}));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->columnNum(), 11);
}

TEST_F(BondListTest, HeaderTapsSortOnlyWhenTheFieldOrOrderChanges) {
    struct Step {
        int column;
        std::vector<ListRequest> sent;
    } steps[] = {
        {3, {}},                                      // rise descending is in force already
        {3, {{BondModelView::ClassID, 1, 1, 0, 30}}}, // reversed
        {1, {{BondModelView::ClassID, 9, 0, 0, 30}}}, // the name column sorts by code
        {0, {}},                                      // "No." never sorts
        {4, {}},                                      // nor the change
    };
    for (const Step &step : steps) {
        forgetRequests();
        tapHeader(step.column);
        EXPECT_EQ(listRequests(), step.sent) << "column " << step.column;
    }
}

TEST_F(BondListTest, ANewMarketKeepsTheSortAndRelistsFromTheTop) {
    tapHeader(1);
    forgetRequests();
    bonds().ReturnSelectedMarket(base::Dict{{"MENU_NAME", "其他债券"}, {"CLASS_ID", 2001}});
    settle();
    EXPECT_EQ(bonds().configMarketBarView().leftButton().titleForState(ui::Normal), "其他债券");
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{2001, 9, 0, 0, 30}}));
}

// The menu's other markets list their own bonds.
TEST_F(BondListTest, TheMenusMarketsListTheirOwnBonds) {
    base::Array menu = loadBundleList(BondModelView::MenuFile);
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0]["CLASS_ID"].intValue(), BondModelView::ClassID);
    struct Market {
        int classID;
        const char *codeHead;
    } markets[] = {{23, "SZ"}, {1301, "SH010"}};
    for (const Market &m : markets) {
        bonds().ReturnSelectedMarket(base::Dict{{"MENU_NAME", "债券"}, {"CLASS_ID", m.classID}});
        settle();
        ASSERT_GT(bonds().rowCount(), 0) << m.classID;
        for (int r = 0; r < bonds().rowCount(); ++r)
            EXPECT_TRUE(bonds().recordAt(r)->code.starts_with(m.codeHead)) << bonds().recordAt(r)->code;
    }
}

TEST_F(BondListTest, AnUntradedBondIsWhiteAndRowsBand) {
    int untraded = -1;
    for (int row = 0; row < bonds().rowCount(); ++row)
        if (bonds().recordAt(row)->newprice == 0)
            untraded = row;
    ASSERT_GE(untraded, 0);
    auto cell = std::dynamic_pointer_cast<GeneralCell>(bonds().cellForRow(table(), {0, untraded}));
    for (int column : {2, 3, 4})
        EXPECT_EQ(*dynamic_cast<ui::Label &>(*cell->columnAt(column)).textColor(), *gfx::Color::white())
            << column;
    auto beyond =
        std::dynamic_pointer_cast<GeneralCell>(bonds().cellForRow(table(), {0, bonds().rowCount() + 5}));
    EXPECT_NE(beyond, nullptr);
}

TEST_F(BondListTest, ARowOpensTheBondWithTheRowsHeld) {
    tapView(*table().cellForRow({0, 1}));
    app.advance(1);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), bonds().recordAt(1)->code);
    EXPECT_EQ(detail->currentStocksIndex(), 1);
    EXPECT_EQ(int(detail->checkStocksArray().size()), bonds().rowCount());
}

} // namespace

} // namespace market
