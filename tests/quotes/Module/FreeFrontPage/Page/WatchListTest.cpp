#include "Module/FreeFrontPage/MyStockListView.h"

#include "PanelFixture.h"

#include "Module/NewsViewController/InfoBombViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/PropertyList.h"
#include "ui/Application.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"

#include <gtest/gtest.h>

namespace freefront {
namespace {

const gfx::Rect PanelFrame{240, 260, 500, 374};

class Opened : public base::Object, public MyStockListViewDelegate {
public:
    base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &module, int index,
                                          const base::Array &rows) override {
        codes.push_back(code);
        modules.push_back(module);
        indexes.push_back(index);
        rowCounts.push_back(rows.size());
        return {};
    }
    std::vector<std::string> codes, modules;
    std::vector<int> indexes;
    std::vector<size_t> rowCounts;
};

class WatchListTest : public PanelTest {
protected:
    WatchListTest() {
        for (const char *file : {"MyStockModuleList.plist", "MyStockList.plist", "LatestBrowseViewed.plist"})
            base::FileManager::remove(documentsFile(file));
        DataManager::resetSharedDataManager();
        DataManager::sharedDataManager().initialize();
    }
    ~WatchListTest() override {
        for (auto &popover : ui::Popover::visiblePopovers())
            popover->dismiss(false);
        if (panel)
            panel->removeFromSuperview();
        panel.reset();
        settle();
        DataManager::resetSharedDataManager();
    }
    void make() {
        quotes.clearReceived();
        panel = base::make<MyStockListView>(PanelFrame);
        panel->delegate = opened;
        app.window().addSubview(panel);
        settle();
        app.runPending();
    }
    void choose(const char *mode) { panel->ReturnSelectedMarket(base::Dict{{"MENU_NAME", mode}}); }
    void sortBy(int column, int status) {
        GeneralHeaderView *header = panel->titleColumn().headerAt(column);
        ASSERT_TRUE(header);
        panel->ClickHeaderAction(*header, column, status);
    }
    std::vector<std::string> codes() const {
        std::vector<std::string> out;
        for (int i = 0; i < panel->rowCount(); ++i)
            out.push_back(panel->recordAt(i) ? panel->recordAt(i)->code : "");
        return out;
    }
    FrontPageQuoteCell *cell(int row) {
        return dynamic_cast<FrontPageQuoteCell *>(panel->tableView().cellForRow({0, row}).get());
    }
    std::string text(int row, int column) {
        auto *label = dynamic_cast<ui::Label *>(cell(row)->columnAt(column));
        return label ? label->text() : "";
    }
    bool marked(int column) { return !panel->titleColumn().headerAt(column)->headerIcon().isHidden(); }

    base::Ref<MyStockListView> panel;
    base::Ref<Opened> opened = base::make<Opened>();
};

TEST_F(WatchListTest, StartsOnTheFirstGroupWithOnePagedRequest) {
    make();
    EXPECT_EQ(panel->currentModelName(), "自选股");
    EXPECT_EQ(codes(),
              (std::vector<std::string>{"SH000001", "SZ399001", "SH600000", "SZ000001", "SH600519"}));
    std::vector<ListRequest> requests = listRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].flags, 129);
    EXPECT_EQ(text(0, 0), "1");
    EXPECT_EQ(text(4, 0), "5");
    EXPECT_EQ(panel->leftButton()->titleForState(ui::Normal), "自选股");
    EXPECT_FALSE(panel->menu());
}

TEST_F(WatchListTest, TheRankingAsksTwentyByRiseAndShowsThemAtTheReply) {
    make();
    std::vector<std::string> watched = codes();
    quotes.clearReceived();
    choose("涨跌排行");
    EXPECT_EQ(codes(), watched) << "the rows stay until the reply";
    EXPECT_TRUE(marked(3));
    settle();
    app.runPending();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 129, 1, 0, 0, 20}}));
    ASSERT_EQ(panel->rowCount(), 20);
    auto rise = [&](int row) {
        const StockQuoteInf &r = *panel->recordAt(row);
        return r.closeprice > 0 && r.newprice > 0 ? double(r.newprice - r.closeprice) / r.closeprice : 0;
    };
    for (int i = 1; i < 20; ++i)
        EXPECT_GE(rise(i - 1), rise(i)) << i;

    // The latest price, ascending.
    quotes.clearReceived();
    sortBy(2, 1);
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 129, 4, 1, 0, 20}}));
    EXPECT_TRUE(marked(2));
    EXPECT_EQ(panel->currentSortId(), 4);

    // The change cannot be ranked: nothing goes out and nothing changes.
    std::vector<std::string> ranked = codes();
    quotes.clearReceived();
    sortBy(4, 0);
    settle();
    EXPECT_TRUE(listRequests().empty());
    EXPECT_EQ(panel->currentSortId(), 4);
    EXPECT_EQ(panel->currentSortType(), 1);
    EXPECT_TRUE(marked(2));
    EXPECT_FALSE(marked(4));
    EXPECT_EQ(codes(), ranked);

    // The page's refresh asks the ranking again.
    quotes.clearReceived();
    panel->NotifyTimeEvent();
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 129, 4, 1, 0, 20}}));
}

TEST_F(WatchListTest, EachListTakesOnlyItsOwnDeliveries) {
    make();
    std::vector<std::string> watched = codes();
    // A ranking that comes after the user went back changes nothing.
    choose("涨跌排行");
    choose("自选股");
    settle();
    app.runPending();
    EXPECT_EQ(codes(), watched);
    EXPECT_FALSE(marked(3));

    // Watch-list quotes that come while the ranking shows change nothing either.
    choose("涨跌排行");
    settle();
    std::vector<std::string> ranked = codes();
    ASSERT_EQ(ranked.size(), 20u);
    auto rows = base::make<MyStockRowList>();
    panel->UpdateMyStockArray(rows, false);
    EXPECT_EQ(codes(), ranked);
}

TEST_F(WatchListTest, TwoStocksAddedWithinASecondGiveOneRequestASecondAfterTheSecond) {
    make();
    quotes.clearReceived();
    DataManager &data = DataManager::sharedDataManager();
    data.AddNewStockToModel("我的自选", "MyStockList", "中国银行", "SH601988");
    EXPECT_EQ(panel->rowCount(), 6) << "the rows follow at once";
    advance(0.5);
    data.AddNewStockToModel("我的自选", "MyStockList", "农业银行", "SH601288");
    EXPECT_EQ(panel->rowCount(), 7);
    advance(0.9);
    EXPECT_TRUE(listRequests().empty());
    advance(0.2);
    EXPECT_EQ(listRequests().size(), 1u);
}

TEST_F(WatchListTest, ADelayedRequestEndsWithThePanel) {
    make();
    DataManager::sharedDataManager().AddNewStockToModel("我的自选", "MyStockList", "中国银行", "SH601988");
    quotes.clearReceived();
    choose("涨跌排行"); // a reply on its way
    panel->removeFromSuperview();
    base::Weak<MyStockListView> gone = panel;
    panel.reset();
    EXPECT_TRUE(gone.expired());
    advance(2);
    // The ranking asked before still goes out; its reply reaches nobody.
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 129, 1, 0, 0, 20}}));
}

TEST_F(WatchListTest, AStockWithNotesShowsTheButtonThatOpensThem) {
    make();
    choose("涨跌排行");
    settle();
    app.runPending();
    int withNotes = -1, without = -1;
    for (int i = 0; i < panel->rowCount() && i < 7; ++i) {
        if (panel->recordAt(i)->noteCount == 2 && withNotes < 0)
            withNotes = i;
        if (panel->recordAt(i)->noteCount == 0 && without < 0)
            without = i;
    }
    ASSERT_GE(withNotes, 0) << "the server gives some stocks two notes";
    ASSERT_GE(without, 0);
    EXPECT_TRUE(cell(without)->infoButton().isHidden());
    FrontPageQuoteCell &row = *cell(withNotes);
    ASSERT_FALSE(row.infoButton().isHidden());
    app.tap(centre(row.infoButton()));
    app.runPending();
    ASSERT_TRUE(row.infoAlertPopoverController());
    EXPECT_EQ(row.infoAlertPopoverController()->arrowDirection(), ui::ArrowLeft);
    auto *nav = dynamic_cast<ui::NavigationController *>(&row.infoAlertPopoverController()->content());
    ASSERT_TRUE(nav);
    auto *notes = dynamic_cast<InfoBombViewController *>(nav->top());
    ASSERT_TRUE(notes);
    EXPECT_EQ(notes->stockCode(), panel->recordAt(withNotes)->code);
    EXPECT_TRUE(opened->codes.empty()) << "the button is no row tap";
}

TEST_F(WatchListTest, ARowTapOpensItsStockWithTheRows) {
    make();
    app.tap(centre(panel->tableView().convert(panel->tableView().rectForRow({0, 2}), nullptr)));
    app.runPending();
    ASSERT_EQ(opened->codes.size(), 1u);
    EXPECT_EQ(opened->codes[0], "SH600000");
    EXPECT_EQ(opened->modules[0], "StockModel");
    EXPECT_EQ(opened->indexes[0], 2);
    EXPECT_EQ(opened->rowCounts[0], 5u);
}

TEST_F(WatchListTest, EmptyListsShowNoRowsAndAskNothing) {
    // No browsed stock yet.
    make();
    quotes.clearReceived();
    choose("最新浏览");
    settle();
    EXPECT_EQ(panel->rowCount(), 0);
    EXPECT_TRUE(listRequests().empty());
    panel->NotifyTimeEvent();
    settle();
    EXPECT_TRUE(listRequests().empty());

    // No group at all.
    panel->removeFromSuperview();
    panel.reset();
    ASSERT_TRUE(
        base::PropertyList::write(base::Value(base::Array{}), documentsFile("MyStockModuleList.plist")));
    make();
    EXPECT_EQ(panel->rowCount(), 0);
    EXPECT_TRUE(listRequests().empty());
}

TEST_F(WatchListTest, TheMenuListsTheThreeListsAndSwitches) {
    make();
    panel->leftButtonAction(panel->leftButton());
    app.runPending();
    ASSERT_TRUE(panel->menu());
    EXPECT_EQ(panel->menu()->title(), "切换类别");
    EXPECT_EQ(panel->switchMarketMenuPopoverController()->arrowDirection(), ui::ArrowUp);
    panel->menu()->selectedAction(base::Dict{{"MENU_NAME", "涨跌排行"}});
    app.runPending();
    settle();
    EXPECT_EQ(panel->currentModelName(), "涨跌排行");
    EXPECT_EQ(panel->leftButton()->titleForState(ui::Normal), "涨跌排行");
    EXPECT_EQ(panel->rowCount(), 20);
}

} // namespace
} // namespace freefront
