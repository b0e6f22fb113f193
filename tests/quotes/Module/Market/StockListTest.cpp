#include "MarketFixture.h"

#include "Common/TimeFunc.h"
#include "base/PropertyList.h"
#include "ui/Popover.h"

#include <algorithm>
#include <functional>

namespace market {

namespace {

class StockListTest : public MarketScreenTest {
protected:
    void SetUp() override {
        show();
        forgetRequests();
        tapView(*screen->switchTabBarView()->buttonAt(MarketViewController::StockTab));
        settle();
        app.runPending();
    }
    ui::TableView &table() { return *stockList().curTableView(); }
    // Replaces the rows the data source holds with `count` made-up records, all fresh.
    void holdRows(int count) {
        const base::Ref<MarketQuotePack> &pack = stockList().quotesData().pack();
        std::vector<base::Ref<StockQuoteInf>> &items = pack->rspArray()->items;
        items.clear();
        double now = TimeFunc::getCurTick();
        for (int i = 0; i < count; ++i) {
            auto record = base::make<StockQuoteInf>();
            record->code = "SH6" + std::to_string(10000 + i);
            record->name = "股" + std::to_string(i);
            record->updateTick = now;
            items.push_back(record);
        }
        pack->totalCount = count;
        stockList().UpdateTableDataSource(pack->rspArray(), false);
        app.runPending();
    }
    void showFrom(int row) { scrollTo(table(), table().rectForRow({0, row}).y()); }
    // Scrolls to the end, step after step, until no further page comes.
    void scrollToTheEnd() {
        for (int held = -1; held != stockList().rowCount();) {
            held = stockList().rowCount();
            table().layoutIfNeeded();
            table().setContentOffset({0, std::max(0.f, table().contentSize().h - table().bounds().height())});
            settle();
            app.runPending();
        }
    }
    int rowOf(const std::function<bool(const StockQuoteInf &)> &match) {
        for (int row = 0; row < stockList().rowCount(); ++row)
            if (match(*stockList().recordAt(row)))
                return row;
        return -1;
    }
    void switchMode() {
        tapView(stockList().configMarketBarView().changeModeButton());
        app.runPending();
        table().layoutIfNeeded();
    }
};

TEST_F(StockListTest, TheFirstPageComesRankedByRiseThenItsFirstRowsCharts) {
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 1, 0, 0, 30}}));
    EXPECT_EQ(stockReplyTags().front(), 301);
    ASSERT_EQ(stockList().rowCount(), 30);
    std::vector<std::string> firstTen;
    for (int i = 0; i < 10; ++i)
        firstTen.push_back(stockList().recordAt(i)->code);
    EXPECT_EQ(minuteRequests(), firstTen);
}

TEST_F(StockListTest, TrimmingKeepsAHundredRowsBelowTheFirstVisibleInStepsOfFifty) {
    struct Case {
        int held, first, kept;
    } cases[] = {{95, 0, 95}, {160, 10, 110}, {149, 0, 149}};
    for (const Case &c : cases) {
        holdRows(c.held);
        showFrom(c.first);
        EXPECT_EQ(stockList().rowCount(), c.kept) << c.held << " rows from " << c.first;
    }
}

TEST_F(StockListTest, StaleVisibleRowsAreRefreshedInOneRequestAndFreshOnesGetTheirCharts) {
    stockList().reLayout({0, 35, 1024, 1000}); // rows 10 to 22 in view
    holdRows(60);
    forgetRequests();
    const base::Ref<MarketQuotePack> &pack = stockList().quotesData().pack();
    pack->rspArray()->items[12]->updateTick = 0;
    pack->rspArray()->items[18]->updateTick = 0;
    showFrom(10);
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 1, 0, 12, 7}}));
    EXPECT_EQ(stockReplyTags().front(), 302);
    // The pass asks no charts; the refresh's reply asks those of the rows it refreshed.
    std::vector<std::string> refreshed;
    for (int row = 12; row <= 18; ++row) {
        EXPECT_GT(stockList().recordAt(row)->updateTick, 0) << row;
        refreshed.push_back(stockList().recordAt(row)->code);
    }
    EXPECT_EQ(minuteRequests(), refreshed);

    forgetRequests();
    showFrom(11);
    EXPECT_TRUE(listRequests().empty());
    EXPECT_FALSE(minuteRequests().empty());
    std::vector<int> tags = stockReplyTags();
    EXPECT_FALSE(tags.empty());
    EXPECT_TRUE(std::all_of(tags.begin(), tags.end(), [](int tag) { return tag == 3; }));
}

TEST_F(StockListTest, NothingVisibleNothingRefreshedAndAnUnpagedListNeverPages) {
    holdRows(0);
    forgetRequests();
    EXPECT_FALSE(stockList().NotifyTimeEvent());
    EXPECT_TRUE(listRequests().empty());

    stockList().isPagesMode = false;
    holdRows(40);
    stockList().quotesData().pack()->totalCount = 400;
    forgetRequests();
    showFrom(30);
    EXPECT_TRUE(listRequests().empty());
    EXPECT_EQ(stockList().rowCount(), 40);
}

TEST_F(StockListTest, SortColumnsAreFoundByFieldAndARepeatedSortSendsNothing) {
    base::Array columns = StockModelView::makeColumnArray();
    EXPECT_EQ(MarketTableBaseView::getSortColumnIndex(columns, 4), 2);
    EXPECT_EQ(MarketTableBaseView::getSortColumnIndex(columns, 0), -1); // "No." has no field
    EXPECT_EQ(MarketTableBaseView::getSortColumnIndex(columns, 777), -1);
    forgetRequests();
    stockList().resetQuotesSortId(1, 0);
    settle();
    EXPECT_TRUE(listRequests().empty());
}

TEST_F(StockListTest, ScrollingPagesToTheEndAndTrimsFarBelow) {
    forgetRequests();
    scrollToTheEnd();
    std::vector<ListRequest> pages = listRequests();
    int total = stockList().quotesData().pack()->totalCount;
    ASSERT_GT(total, 200);
    EXPECT_EQ(stockList().rowCount(), total);
    ASSERT_EQ(pages.size(), size_t((total + 29) / 30 - 1));
    for (size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(pages[i], (ListRequest{0, 1, 0, int(i + 1) * 30, 30}));
    showFrom(10);
    EXPECT_EQ(stockList().rowCount(), 110);
}

TEST_F(StockListTest, BothHeadersSortButNeitherTheSerialNorTheChangeColumn) {
    switchMode();
    GeneralColumn &columns = stockList().titleColumn();
    EXPECT_FALSE(columns.headerAt(3)->headerIcon().isHidden()); // the initial sort, rise
    forgetRequests();
    tapView(*columns.headerAt(0));
    tapView(*columns.headerAt(4));
    settle();
    EXPECT_TRUE(listRequests().empty());
    tapView(*columns.headerAt(2));
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 4, 0, 0, 30}}));
    EXPECT_FALSE(columns.headerAt(2)->headerIcon().isHidden());
    EXPECT_TRUE(columns.headerAt(3)->headerIcon().isHidden());

    switchMode();
    forgetRequests();
    DefaultHeaderView &turnover = *stockList().defaultColumn().headerAt(2);
    gfx::Rect r = turnover.convert(turnover.bounds(), nullptr);
    app.tap({r.x() + 40, r.y() + 15});
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 21, 0, 0, 30}}));
}

TEST_F(StockListTest, AFieldChosenForTheFourthHeaderShowsInTheRowsSecondValue) {
    stockList().defaultColumn().ReturnCurrentSelectedFieldName("量比", 20, 3);
    settle();
    app.runPending();
    EXPECT_EQ(stockList().RankFields()[1], 20);
    EXPECT_EQ(stockList().iCurrentRankFeild(), 20);
    auto &row = dynamic_cast<StockModelCell &>(*table().cellForRow({0, 0}));
    EXPECT_EQ(row.valueLabel(1).text(), stockList().recordAt(0)->FormatValue(20));
}

TEST_F(StockListTest, TheMarketMenuComesFromTheDocumentsCopyElseTheBundle) {
    struct Case {
        bool documents;
        std::string firstRow;
    } cases[] = {{false, "沪市股票"}, {true, "自选板块"}};
    for (const Case &c : cases) {
        if (c.documents)
            base::PropertyList::write(base::Array{base::Dict{{"MENU_NAME", "自选板块"}, {"CLASS_ID", 11}}},
                                      documentsFile("StockModelMenu.plist"));
        // A list made afresh reads its menu again.
        tapView(*screen->switchTabBarView()->buttonAt(0));
        screen->didReceiveMemoryWarning();
        tapView(*screen->switchTabBarView()->buttonAt(MarketViewController::StockTab));
        settle();
        tapView(stockList().configMarketBarView().leftButton());
        app.advance(1);
        ui::Popover *menu = stockList().switchMarketMenuPopoverController();
        ASSERT_TRUE(menu && menu->isVisible());
        auto &first = dynamic_cast<SwitchMarketMenuController &>(
            *dynamic_cast<ui::NavigationController &>(menu->content()).viewControllers().front());
        EXPECT_EQ(first.cmTableView()->tableDataArray()[0]["MENU_NAME"].stringValue(), c.firstRow);
        menu->dismiss(false);
    }
}

TEST_F(StockListTest, ChoosingAMarketAgainReloadsItFromItsFirstRow) {
    forgetRequests();
    stockList().ReturnSelectedMarket(base::Dict{{"MENU_NAME", "深证A股"}, {"CLASS_ID", 21}});
    settle();
    stockList().ReturnSelectedMarket(base::Dict{{"MENU_NAME", "深证A股"}, {"CLASS_ID", 21}});
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{21, 1, 0, 0, 30}, {21, 1, 0, 0, 30}}));
    EXPECT_EQ(stockList().configMarketBarView().leftButton().titleForState(ui::Normal), "深证A股");
    EXPECT_EQ(stockList().rowCount(), 30);
}

TEST_F(StockListTest, AnUntradedStockIsWhiteInBothModes) {
    scrollToTheEnd();
    int untraded = rowOf([](const StockQuoteInf &q) { return q.newprice == 0 && q.closeprice > 0; });
    ASSERT_GE(untraded, 0);
    auto row = std::dynamic_pointer_cast<StockModelCell>(stockList().cellForRow(table(), {0, untraded}));
    EXPECT_EQ(row->upDownTagImageView().image(), gfx::Image::named("white_tag.png"));
    EXPECT_EQ(row->upDownArrowImageView().image(), nullptr);
    switchMode();
    auto columns = std::dynamic_pointer_cast<GeneralCell>(stockList().cellForRow(table(), {0, untraded}));
    for (int column : {2, 3, 4})
        EXPECT_EQ(*dynamic_cast<ui::Label &>(*columns->columnAt(column)).textColor(), *gfx::Color::white());
}

TEST_F(StockListTest, TheInformationButtonShowsOnlyWithNotesAlsoOnAReusedRow) {
    holdRows(1);
    const base::Ref<MarketQuotePack> &pack = stockList().quotesData().pack();
    pack->rspArray()->items[0]->noteCount = 2;
    stockList().UpdateTableDataSource(pack->rspArray(), false);
    app.runPending();
    table().layoutIfNeeded();
    base::Ref<ui::TableCell> shown = table().cellForRow({0, 0});
    EXPECT_FALSE(dynamic_cast<StockModelCell &>(*shown).infoButton().isHidden());
    pack->rspArray()->items[0] = base::make<StockQuoteInf>();
    pack->rspArray()->items[0]->code = "SH600000";
    stockList().UpdateTableDataSource(pack->rspArray(), false);
    app.runPending();
    table().layoutIfNeeded();
    ASSERT_EQ(table().cellForRow({0, 0}), shown);
    EXPECT_TRUE(dynamic_cast<StockModelCell &>(*shown).infoButton().isHidden());
}

TEST_F(StockListTest, AMovedPriceShowsAfterTheNextTick) {
    std::string code = stockList().recordAt(0)->code;
    int32_t before = stockList().recordAt(0)->newprice;
    quotes.setMarketMinute(60);
    advance(MarketViewController::RefreshPeriod + 0.5);
    base::Ref<StockQuoteInf> now = stockList().recordAt(0);
    const peers::Security *security = quotes.market().find(now->code);
    ASSERT_NE(security, nullptr);
    EXPECT_EQ(now->newprice, quotes.market().quote(*security).last);
    EXPECT_TRUE(now->code != code || now->newprice != before);
    auto &row = dynamic_cast<StockModelCell &>(*table().cellForRow({0, 0}));
    EXPECT_EQ(row.LastLabel().text(), now->FormatValue(4));
}

TEST_F(StockListTest, RowsTheSourceNoLongerHoldsKeepTheirLookAndOpenNothing) {
    holdRows(5);
    table().layoutIfNeeded();
    auto shown = std::dynamic_pointer_cast<StockModelCell>(table().cellForRow({0, 4}));
    std::string name = shown->StockNameLabel().text();
    // The source empties its rows before the table hears of it.
    stockList().quotesData().pack()->rspArray()->items.clear();
    table().reloadData();
    auto again = std::dynamic_pointer_cast<StockModelCell>(stockList().cellForRow(table(), {0, 4}));
    EXPECT_FALSE(again->StockNameLabel().text().empty()); // a row shown before, unchanged
    stockList().didSelectRow({0, 4});
    app.advance(1);
    EXPECT_EQ(nav->top(), screen.get());
    EXPECT_EQ(shown->StockNameLabel().text(), name);
}

TEST_F(StockListTest, TheInformationButtonOpensTheSecuritysNotes) {
    scrollToTheEnd();
    int noted = rowOf([](const StockQuoteInf &q) { return q.noteCount > 0; });
    ASSERT_GE(noted, 0);
    showFrom(noted);
    auto &row = dynamic_cast<StockModelCell &>(*table().cellForRow({0, noted}));
    tapView(row.infoButton());
    app.advance(1);
    ASSERT_TRUE(row.infoAlertPopoverController() && row.infoAlertPopoverController()->isVisible());
    auto &notes = dynamic_cast<ui::NavigationController &>(row.infoAlertPopoverController()->content());
    EXPECT_EQ(notes.top()->title(), "信息地雷 - " + stockList().recordAt(noted)->name);
}

} // namespace

} // namespace market
