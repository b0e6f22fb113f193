#include "MarketFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/Market/ProdModelCell.h"

#include "Common/Util.h"
#include "DataBase/ComAPI.h"
#include "ui/Popover.h"

namespace market {

namespace {

// A product page request as the server received it.
struct ProductRequest {
    int classID = 0, order = 0, sortID = 0, start = 0, count = 0;
    bool operator==(const ProductRequest &) const = default;
};

class CommodityListTest : public MarketScreenTest {
protected:
    void SetUp() override {
        show();
        forgetRequests();
        productsSeen = quotes.received(peers::QuoteServer::ProductListType).size();
        tapView(*screen->switchTabBarView()->buttonAt(MarketViewController::ProdTab));
        settle();
        app.runPending();
        table().layoutIfNeeded();
    }
    ProdModelView &products() { return *screen->prodModelView(); }
    ui::TableView &table() { return *products().curTableView(); }
    const MarketQuotePack &pack() { return *products().quotesData().pack(); }
    std::vector<ProductRequest> productRequests() {
        std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::ProductListType);
        std::vector<ProductRequest> requests;
        for (size_t i = productsSeen; i < frames.size(); ++i) {
            ByteView body = frames[i].bytes();
            uint32_t pos = 0;
            ProductRequest r;
            r.classID = uint16_t(ComAPI::ReadShort(body, pos));
            r.order = ComAPI::ReadByte(body, pos);
            r.sortID = ComAPI::ReadByte(body, pos);
            r.start = ComAPI::ReadShort(body, pos);
            r.count = ComAPI::ReadShort(body, pos);
            requests.push_back(r);
        }
        productsSeen = frames.size();
        return requests;
    }
    void switchMode() {
        tapView(products().configMarketBarView().changeModeButton());
        app.runPending();
        table().layoutIfNeeded();
    }
    void tapColumn(int column) {
        table().layoutIfNeeded();
        tapView(*products().titleColumn().headerAt(column));
        settle();
        app.runPending();
    }
    // Opens the class menu and answers the navigation controller it shows in.
    ui::NavigationController &openMenu() {
        tapView(products().configMarketBarView().leftButton());
        app.advance(1);
        return dynamic_cast<ui::NavigationController &>(
            products().switchMarketMenuPopoverController()->content());
    }
    CMTableView &menuLevel(ui::NavigationController &nav) {
        if (auto *first = dynamic_cast<SwitchMarketMenuController *>(nav.top()))
            return *first->cmTableView();
        return *dynamic_cast<SubMenuViewController &>(*nav.top()).cmTableView();
    }
    // Taps the row of that name on the menu's level on show.
    void tapMenuRow(ui::NavigationController &nav, const std::string &name) {
        CMTableView &level = menuLevel(nav);
        const base::Value &rows = level.tableDataArray();
        for (size_t i = 0; i < rows.array()->size(); ++i)
            if (rows[i]["MENU_NAME"].stringValue() == name) {
                level.categoryTableView().layoutIfNeeded();
                tapView(*level.categoryTableView().cellForRow({0, int(i)}));
                app.advance(1);
                return;
            }
        ADD_FAILURE() << "no menu row " << name;
    }
    NetDataCenter &center() { return *db->IO_NetDataCenter(); }

    size_t productsSeen = 0;
};

TEST_F(CommodityListTest, StartsOnIndexFuturesInOneBlockOfTrendRowsAgainstTheSettlement) {
    EXPECT_EQ(products().configMarketBarView().leftButton().titleForState(ui::Normal), "股指期货");
    EXPECT_EQ(productRequests(), (std::vector<ProductRequest>{{ProdModelView::ClassID, 0, 1, 0, 50}}));
    EXPECT_TRUE(listRequests().empty());
    ASSERT_EQ(products().rowCount(), 3);
    for (int r = 0; r < products().rowCount(); ++r) {
        auto record = std::dynamic_pointer_cast<StockBasicInf>(products().recordAt(r));
        ASSERT_NE(record, nullptr);
        auto row = std::dynamic_pointer_cast<ProdModelCell>(table().cellForRow({0, r}));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->SNLabel().text(), std::to_string(r + 1) + "\n");
        EXPECT_EQ(row->UpDownLabel().text(), record->FormatValue(525));
        EXPECT_EQ(row->RangeLabel().text(), record->FormatValue(526));
        EXPECT_EQ(row->valueLabel(0).text(), record->FormatValue(512));
        EXPECT_EQ(row->valueLabel(2).text(), record->FormatValue(517));
        EXPECT_TRUE(row->infoButton().isHidden());
        if (record->newprice == 0) {
            EXPECT_EQ(row->upDownTagImageView().image(), gfx::Image::named("white_tag.png")) << record->code;
            EXPECT_EQ(row->upDownArrowImageView().image(), nullptr) << record->code;
        }
    }
    EXPECT_EQ(Util::FormatSerialNumberVertical(105), "1\n0\n5\n");
    DefaultColumn &header = products().defaultColumn();
    const char *captions[] = {"最新", "涨幅", "持仓", "总手", "日增"};
    for (int id = 0; id < DefaultColumn::HeaderCount; ++id)
        EXPECT_EQ(header.headerAt(id)->fieldNameLabel().text(), captions[id]) << id;
}

TEST_F(CommodityListTest, UntradedColumnRowsAreWhiteAndRowsBeyondTheBlockOpenNothing) {
    switchMode();
    int untraded = -1;
    for (int r = 0; r < products().rowCount(); ++r)
        if (products().recordAt(r)->newprice == 0)
            untraded = r;
    ASSERT_GE(untraded, 0);
    auto cell = std::dynamic_pointer_cast<GeneralCell>(products().cellForRow(table(), {0, untraded}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->columnNum(), 12);
    for (int column : {2, 3, 4})
        EXPECT_EQ(*dynamic_cast<ui::Label &>(*cell->columnAt(column)).textColor(), *gfx::Color::white())
            << column;
    ui::ViewController *top = nav->top();
    products().didSelectRow({0, products().rowCount() + 2});
    app.advance(1);
    EXPECT_EQ(nav->top(), top);
}

// Column taps sort by the product sort ids, "涨跌 " never; the mini-trend header reverses by the rise.
TEST_F(CommodityListTest, HeaderTapsSortByTheProductSortIDs) {
    switchMode();
    EXPECT_FALSE(products().titleColumn().headerAt(ProdModelView::RiseColumn)->headerIcon().isHidden());
    struct Step {
        int column, sortID;
        bool sends;
    } steps[] = {
        {3, 526, true}, // "涨幅 "
        {2, 2, true},   // "最新 "
        {9, 4, true},   // "持仓 "
        {4, 4, false},  // "涨跌 " is not sortable
        {11, 5, true},  // "日增 "
        {7, 3, true},   // "总手 "
    };
    for (const Step &step : steps) {
        productRequests();
        tapColumn(step.column);
        EXPECT_EQ(pack().sortID, step.sortID) << step.column;
        EXPECT_EQ(productRequests().size(), step.sends ? 1u : 0u) << step.column;
    }
    switchMode();
    products().ReturnUpdownTag(1, 526, 1);
    EXPECT_EQ(pack().sortID, 526);
    EXPECT_EQ(pack().sortType, 1);
}

TEST_F(CommodityListTest, TotalLotsChosenInTheFirstValueHeaderShowInEveryRowAndSortDescending) {
    products().defaultColumn().headerAt(2)->SelectedFieldName("总手", 2);
    settle();
    app.runPending();
    table().layoutIfNeeded();
    EXPECT_EQ(products().RankFields()[0], 2);
    EXPECT_EQ(pack().sortID, 3);
    EXPECT_EQ(pack().sortType, 0);
    ASSERT_GT(products().rowCount(), 0);
    for (int r = 0; r < products().rowCount(); ++r) {
        auto row = std::dynamic_pointer_cast<ProdModelCell>(table().cellForRow({0, r}));
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->valueLabel(0).text(), products().recordAt(r)->FormatValue(2)) << r;
    }
    // The server's order: total lots descending.
    for (int r = 1; r < products().rowCount(); ++r)
        EXPECT_GE(products().recordAt(r - 1)->vol, products().recordAt(r)->vol);
}

// Scrolling asks for no rows; each tick of the screen asks for the whole block and, as the pictures'
// interval allows, for the pictures of the rows on view.
TEST_F(CommodityListTest, ScrollingAsksNothingAndEachTickAsksTheWholeBlockAgain) {
    productRequests();
    scrollTo(table(), 40);
    EXPECT_TRUE(productRequests().empty());
    EXPECT_TRUE(listRequests().empty());
    minuteRequests();
    std::vector<std::string> pictures;
    for (int tick = 0; tick < 2; ++tick) {
        advance(MarketViewController::RefreshPeriod + 0.5);
        settle();
        EXPECT_EQ(productRequests(), (std::vector<ProductRequest>{{ProdModelView::ClassID, 0, 1, 0, 50}}));
        for (const std::string &code : minuteRequests())
            pictures.push_back(code);
    }
    for (ui::IndexPath path : table().indexPathsForVisibleRows())
        EXPECT_NE(std::find(pictures.begin(), pictures.end(), products().recordAt(path.row)->code),
                  pictures.end())
            << path.row;
    EXPECT_EQ(products().rowCount(), 3);
    EXPECT_TRUE(products().NotifyTimeEvent());
}

TEST_F(CommodityListTest, ARowOpensItsContractWithTheBlock) {
    table().layoutIfNeeded();
    tapView(*table().cellForRow({0, 1}));
    app.advance(1);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), products().recordAt(1)->code);
    EXPECT_EQ(detail->currentStocksIndex(), 1);
    EXPECT_EQ(int(detail->checkStocksArray().size()), products().rowCount());
}

// The menu shows the class tree as last received: none before it comes, and a tree refilled while
// the menu shows leaves the rows on show alone; a leaf three levels deep reaches the list.
TEST_F(CommodityListTest, TheClassMenuShowsTheTreeAsLastReceivedDownToALeafThreeLevelsDeep) {
    // Only the menu's requests are counted here: the screen's 5 s refresh, whose phase depends on
    // how long the login took, is held.
    db->IO_TimerCenter()->setController({});
    center().ParseProdClass({});
    ui::NavigationController &empty = openMenu();
    EXPECT_EQ(menuLevel(empty).tableDataArray().array()->size(), 0u);
    products().switchMarketMenuPopoverController()->dismiss(false);

    center().RequestMerchandiseMenu(base::Ref<DataPoolDelegate>(db));
    settle();
    ui::NavigationController &menu = openMenu();
    ASSERT_GT(menuLevel(menu).tableDataArray().array()->size(), 0u);
    tapMenuRow(menu, "中金所");
    center().ParseProdClass({});
    tapMenuRow(menu, "金融期货");
    productRequests();
    tapMenuRow(menu, "股指期货");
    settle();
    EXPECT_FALSE(products().switchMarketMenuPopoverController()->isVisible());
    EXPECT_EQ(products().currentSelMarketTitle(), "股指期货");
    EXPECT_EQ(productRequests(), (std::vector<ProductRequest>{{ProdModelView::ClassID, 0, 1, 0, 50}}));
    EXPECT_EQ(products().rowCount(), 3);

    center().RequestMerchandiseMenu(base::Ref<DataPoolDelegate>(db));
    settle();
    ui::NavigationController &again = openMenu();
    EXPECT_EQ(again.viewControllers().size(), 1u);
    tapMenuRow(again, "上海期货");
    productRequests();
    tapMenuRow(again, "铜");
    settle();
    EXPECT_EQ(products().configMarketBarView().leftButton().titleForState(ui::Normal), "铜");
    EXPECT_EQ(productRequests(), (std::vector<ProductRequest>{{101, 0, 1, 0, 50}}));
    ASSERT_GT(products().rowCount(), 0);
    EXPECT_EQ(products().recordAt(0)->name.substr(0, 9), "商品101");
}

} // namespace

} // namespace market
