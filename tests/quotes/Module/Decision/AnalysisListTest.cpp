#include "DecisionFixture.h"

#include "Common/FileFunc.h"
#include "base/PropertyList.h"

namespace decision {

namespace {

using Tab = DecisionViewController::Tab;

// Marked header columns.
std::vector<int> marked(GeneralColumn &header) {
    std::vector<int> columns;
    for (int i = 0; i < header.columnNum(); ++i)
        if (!header.headerAt(i)->headerIcon().isHidden())
            columns.push_back(i);
    return columns;
}

base::Value menuRow(const std::string &id, const std::string &name, const std::string &classID) {
    return base::Dict{{"MENU_ID", id}, {"MENU_NAME", name}, {"CLASS_ID", classID}};
}

base::Value boardRow() {
    return menuRow("MENU_STOCK_HUSHEN_ZXB", "板块类", "105");
}

std::vector<std::string> namesOf(const base::Array &rows) {
    std::vector<std::string> names;
    for (const base::Value &row : rows)
        names.push_back(row["MENU_NAME"].stringValue());
    return names;
}

class AnalysisListTest : public DecisionTest {
protected:
    DDEDecisionView &dde() {
        if (!screen->ddeDecisionView())
            chooseTab(Tab::DDETab);
        return *screen->ddeDecisionView();
    }
    SectionAnalysView &section() {
        if (!screen->sectionAnalysView())
            chooseTab(Tab::SectionTab);
        return *screen->sectionAnalysView();
    }
    // A list of its own, outside any page, reporting to `owner`.
    template <class List> base::Ref<List> lone(int tabIndex, int boardIndex) {
        auto list = base::make<List>(DecisionViewController::TabFrame, tabIndex);
        list->delegate = owner;
        list->curBoardStocksTabIndex = boardIndex;
        app.window().addSubview(list);
        return list;
    }
    void choose(AnalysisListView &list, const base::Value &row) {
        list.ReturnSelectedMarket(row);
        settle();
        app.runPending();
    }
    void drillInto(AnalysisListView &list, int row) {
        list.didSelectRow({0, row});
        settle();
        app.runPending();
    }
    // A watch-list group of the codes in the documents, listed as the only group.
    void writeGroup(const std::vector<std::string> &codes) {
        base::Array entries;
        for (const std::string &code : codes)
            entries.add(base::Dict{{"MarketCode", code}, {"StockName", code}});
        base::PropertyList::write(entries, documentsFile("MyFocusList.plist"));
        base::PropertyList::write(
            base::Array{base::Dict{{"ModelName", "我的关注"}, {"ModelFileName", "MyFocusList"}}},
            documentsFile("MyStockModuleList.plist"));
        DataManager::resetSharedDataManager();
        DataManager::sharedDataManager().initialize();
    }
    base::Value groupRow() { return menuRow(AnalysisListView::MyStockMenuID, "我的关注", "MyFocusList"); }
};

TEST_F(AnalysisListTest, ANewListShowsTheAShareClassByRiseAndOnlyTheFirstOfItsKindMarksTheRise) {
    show();
    forgetRequests();
    DDEDecisionView &list = dde();
    std::vector<ListRequest> asked = listRequests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(),
              (ListRequest{0, DDEDecisionView::ExtendedFieldsFlag, 1, 0, 0, asked.front().count}));
    EXPECT_EQ(list.currentSelMarketTitle(), "沪深A股");
    ASSERT_TRUE(waitForRows(list, 10));
    list.viewForHeader(0);
    EXPECT_EQ(marked(list.titleColumn()), std::vector<int>{3});
    // The user's mark stays when the header is built again.
    list.titleColumn().SetSelectedHeader(5);
    list.viewForHeader(0);
    EXPECT_EQ(marked(list.titleColumn()), std::vector<int>{5});

    // The home page's list of the same kind starts unmarked; the other kind's first list marks.
    forgetRequests();
    FrontPageViewController &page = homeWithTab(FrontPageViewController::DDETab);
    ASSERT_NE(page.ddeDecisionView(), nullptr);
    page.ddeDecisionView()->viewForHeader(0);
    EXPECT_TRUE(marked(page.ddeDecisionView()->titleColumn()).empty());
    SectionAnalysView &stage = section();
    stage.viewForHeader(0);
    EXPECT_EQ(marked(stage.titleColumn()), std::vector<int>{3});
    for (const ListRequest &request : listRequests())
        EXPECT_TRUE(request.flag == DDEDecisionView::ExtendedFieldsFlag ||
                    request.flag == SectionAnalysView::ExtendedFieldsFlag)
            << request.flag;
}

TEST_F(AnalysisListTest, EachTwinHasItsColumnsAndOnlyThePriceAndAnalysisCaptionsTakeTaps) {
    show();
    struct Case {
        AnalysisListView *list;
        std::vector<std::string> names;
        std::vector<int> widths;
    } cases[] = {
        {&dde(),
         {"No.", " 名称", "最新 ", "涨幅 ", "当日DDX", "当日DDY", "当日DDZ ", "60日DDX", "60日DDY",
          "10日飘红天数", "10日连续飘红"},
         {39, 91, 85, 85, 90, 90, 90, 90, 90, 120, 120}},
        {&section(),
         {"No.", " 名称", "最新 ", "涨幅 ", "7日涨幅", "7日换手", "30日涨幅 ", "30日换手"},
         {39, 91, 149, 149, 139, 139, 139, 139}},
    };
    for (const Case &c : cases) {
        std::vector<std::string> names;
        std::vector<int> widths;
        for (const base::Value &column : c.list->columnArray()) {
            names.push_back(column["ColName"].stringValue());
            widths.push_back(int(column["ColWidth"].intValue()));
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(widths, c.widths);
        for (int i = 0; i < c.list->titleColumn().columnNum(); ++i)
            EXPECT_EQ(c.list->titleColumn().headerAt(i)->enabled, i >= 2) << names[size_t(i)];
    }
}

TEST_F(AnalysisListTest, RowsAreColouredBySignAndAnUntradedRowIsWhite) {
    show();
    DDEDecisionView &list = dde();
    ASSERT_TRUE(waitForRows(list, 1));
    // A small fixture of records: rising with positive figures, falling with negative ones, an
    // unchanged one at zero, and one that has not traded.
    auto record = [](int32_t newprice, int32_t figure) {
        auto r = base::make<StockQuoteInf>();
        r->code = "SH600000";
        r->name = "测试";
        r->closeprice = 1000;
        r->newprice = newprice;
        r->ddx1 = r->ddy1 = int16_t(figure);
        r->ddz1 = r->ddx60 = r->ddy60 = figure;
        r->redCount = r->redEvenCount = 7;
        return r;
    };
    auto rows = base::make<StockQuoteList>();
    rows->items = {record(1100, 5), record(900, -5), record(1000, 0), record(0, 0)};
    list.UpdateTableDataSource(rows, false);
    struct Case {
        int row;
        int prices, figures;
    } cases[] = {{0, 1, 1}, {1, -1, -1}, {2, 0, 0}, {3, 0, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        for (int column : {2, 3})
            EXPECT_EQ(colourOf(list, c.row, column), c.prices) << column;
        for (int column = 4; column <= 8; ++column)
            EXPECT_EQ(colourOf(list, c.row, column), c.figures) << column;
        // The red-day counts keep the row's own colour.
        for (int column : {9, 10})
            EXPECT_EQ(colourOf(list, c.row, column), 0) << column;
    }
    SectionAnalysView &stage = section();
    ASSERT_TRUE(waitForRows(stage, 1));
    stage.UpdateTableDataSource(rows, false);
    EXPECT_EQ(colourOf(stage, 1, 3), -1);
    EXPECT_EQ(colourOf(stage, 3, 2), 0);
}

TEST_F(AnalysisListTest, TheMenuIsTheDocumentsCopyOrElseTheBundlesFollowedByTheGroups) {
    writeGroup({"SH600000"});
    std::string copy = FileFunc::getFilePath(DDEDecisionView::MenuFile);
    struct Case {
        const char *name;
        std::optional<std::string> file;
        std::vector<std::string> names;
    } cases[] = {
        {"no copy", std::nullopt, {"沪深A股", "上证A股", "深证A股", "创业板", "板块类", "我的关注"}},
        {"a copy",
         R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><array><dict><key>MENU_ID</key><string>MENU_STOCK_HUSHEN_ZXB</string><key>MENU_NAME</key><string>板块类</string><key>CLASS_ID</key><string>105</string></dict></array></plist>)",
         {"板块类", "我的关注"}},
        {"an empty copy", "", {"我的关注"}},
        {"a damaged copy", "<plist><array><dict>", {"我的关注"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        base::FileManager::remove(copy);
        if (c.file) {
            ASSERT_TRUE(base::FileManager::writeAtomically(copy, base::Data::fromString(*c.file)));
        }
        auto list = lone<DDEDecisionView>(2, 11);
        EXPECT_EQ(namesOf(list->menuRows()), c.names);
        list->removeFromSuperview();
    }
    base::FileManager::remove(copy);

    // A list reads its menu when it first opens it: a copy written later reaches only later lists.
    auto early = lone<DDEDecisionView>(2, 11);
    early->PerformAction(early->configMarketBarView().leftButton());
    app.runPending();
    ASSERT_NE(early->switchMarketMenuPopoverController(), nullptr);
    early->switchMarketMenuPopoverController()->dismiss(false);
    ASSERT_TRUE(base::FileManager::writeAtomically(copy, base::Data::fromString(*cases[1].file)));
    auto later = lone<DDEDecisionView>(2, 11);
    EXPECT_EQ(namesOf(later->menuRows()), (std::vector<std::string>{"板块类", "我的关注"}));
    early->PerformAction(early->configMarketBarView().leftButton());
    app.runPending();
    auto &menu = dynamic_cast<SwitchMarketMenuController &>(
        *dynamic_cast<ui::NavigationController &>(early->switchMarketMenuPopoverController()->content())
             .top());
    ASSERT_NE(menu.cmTableView(), nullptr);
    ASSERT_NE(menu.cmTableView()->tableDataArray().array(), nullptr);
    EXPECT_EQ(menu.cmTableView()->tableDataArray().array()->size(), 6u);
    base::FileManager::remove(copy);
}

TEST_F(AnalysisListTest, TheBoardsDrillIntoTheirMembersAndTheActionButtonOpensTheBoardItself) {
    auto list = lone<DDEDecisionView>(2, 11);
    ASSERT_TRUE(waitForRows(*list, 1));
    forgetRequests();
    choose(*list, boardRow());
    std::vector<ListRequest> asked = listRequests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].classID, 105);
    ASSERT_TRUE(runUntil([&] { return list->rowCount() > 2 && list->recordAt(0)->chengfenID > 0; }, 10));
    base::Ref<StockQuoteInf> board = list->recordAt(1);
    ASSERT_NE(cellOf(*list, 1)->accButton(), nullptr);
    EXPECT_FALSE(cellOf(*list, 1)->accButton()->isHidden());

    // The action button: the board's own detail screen, no drill-down.
    list->ReturnSelectedCell(nullptr, {0, 1});
    ASSERT_EQ(owner->opened.size(), 1u);
    EXPECT_EQ(owner->opened[0].code, board->code);
    EXPECT_EQ(owner->opened[0].index, 1);
    EXPECT_FALSE(list->isBoardStocksShowing());

    forgetRequests();
    drillInto(*list, 1);
    ASSERT_TRUE(list->isBoardStocksShowing());
    EXPECT_EQ(owner->events, std::vector<std::string>{"enter " + board->code});
    EXPECT_TRUE(list->ddeTableView().isHidden());
    EXPECT_FALSE(list->configMarketBarView().backButton().isHidden());
    EXPECT_EQ(list->configMarketBarView().boardNameLabel().text(), board->name);
    EXPECT_TRUE(list->configMarketBarView().leftButton().isHidden());
    asked = listRequests();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked[0].classID, board->chengfenID);
    EXPECT_EQ(asked[0].flag, DDEDecisionView::ExtendedFieldsFlag);

    AnalysisBoardStocksView &stocks = *list->boardStocksModelView();
    ASSERT_TRUE(runUntil([&] { return stocks.rowCount() > 1 && stocks.BIBasicInf(); }, 10));
    EXPECT_EQ(rowTexts(stocks, 0)[0], "1");
    EXPECT_EQ(rowTexts(stocks, 0)[1], board->name + " " + board->code);
    EXPECT_EQ(rowTexts(stocks, 1)[0], "2");
    // A member: the board and its members to step through, the tapped row's index.
    stocks.didSelectRow({0, 2});
    ASSERT_EQ(owner->opened.size(), 2u);
    EXPECT_EQ(owner->opened[1].code, stocks.recordAt(1)->code);
    EXPECT_EQ(owner->opened[1].index, 2);
    ASSERT_EQ(owner->opened[1].rows.size(), size_t(stocks.rowCount() + 1));
    EXPECT_EQ(owner->opened[1].rows[0], board->code);

    // The drill-down's index refreshes the members and the board; the list's own nothing.
    forgetRequests();
    list->NotifyTimeEvent(2);
    settle();
    EXPECT_TRUE(listRequests().empty());
    EXPECT_TRUE(codeRequests().empty());
    list->NotifyTimeEvent(11);
    settle();
    EXPECT_FALSE(listRequests().empty());
    EXPECT_EQ(codeRequests(), std::vector<std::vector<std::string>>{{board->code}});

    list->BackAction(list->configMarketBarView().backButton());
    EXPECT_FALSE(list->isBoardStocksShowing());
    EXPECT_EQ(list->boardStocksModelView(), nullptr);
    EXPECT_FALSE(list->ddeTableView().isHidden());
    EXPECT_FALSE(list->configMarketBarView().leftButton().isHidden());
    EXPECT_EQ(owner->events.back(), "back");
}

TEST_F(AnalysisListTest, AGroupShowsAtOnceSortsLocallyWhileFreshAndDropsLatePagesAndLeavingEmptiesTheTable) {
    writeGroup({"SH600000", "SH600009", "SZ000001", "SZ000002"});
    auto list = lone<DDEDecisionView>(2, 11);
    forgetRequests();
    // The market's first page is still on its way when the group is chosen: it must not show.
    choose(*list, groupRow());
    EXPECT_TRUE(list->isMyStockMode());
    EXPECT_EQ(list->numberOfRows(0), 4);
    EXPECT_EQ(list->currentSelMarketTitle(), "我的关注");
    ASSERT_TRUE(runUntil([&] { return list->recordOfRow(3) != nullptr; }, 10));
    settle();
    EXPECT_EQ(list->numberOfRows(0), 4);
    EXPECT_TRUE(std::holds_alternative<base::Ref<MyStockRow>>(list->rowAt(0)));
    EXPECT_FALSE(codeRequests().empty());

    // "60日DDY" with quotes older than 5 s: a fresh request first, the sorted rows with its reply.
    advance(6);
    forgetRequests();
    GeneralHeaderView &ddy60 = *list->titleColumn().headerAt(8);
    list->ClickHeaderAction(ddy60, 8, 1);
    settle();
    EXPECT_EQ(codeRequests().size(), 1u);
    auto order = [&] {
        std::vector<int32_t> values;
        for (int row = 0; row < list->numberOfRows(0); ++row)
            values.push_back(list->recordOfRow(row)->ddy60);
        return values;
    };
    // Direction 1 is ascending, as the server's.
    std::vector<int32_t> ascending = order();
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end()));
    // At once while fresh: no request.
    forgetRequests();
    list->ClickHeaderAction(ddy60, 8, 0);
    EXPECT_TRUE(codeRequests().empty());
    std::vector<int32_t> descending = order();
    EXPECT_TRUE(std::is_sorted(descending.rbegin(), descending.rend()));

    // Back to a market class: the group's rows go at once, the class's rows follow.
    list->ReturnSelectedMarket(menuRow("MENU_STOCK_SH_A", "上证A股", "11"));
    EXPECT_FALSE(list->isMyStockMode());
    EXPECT_EQ(list->numberOfRows(0), 0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(list->rowAt(0)));
    ASSERT_TRUE(waitForRows(*list, 1));
    EXPECT_TRUE(std::holds_alternative<base::Ref<StockQuoteInf>>(list->rowAt(0)));
    EXPECT_TRUE(list->recordAt(0)->code.starts_with("SH6"));
}

TEST_F(AnalysisListTest, ListsOfBothPagesTakeOnlyTheirOwnRepliesWhileDrilledIntoDifferentBoards) {
    writeGroup({"SH600000", "SZ000001"});
    auto homeList = lone<DDEDecisionView>(1, 11);
    auto pageList = lone<DDEDecisionView>(2, 11);
    choose(*homeList, boardRow());
    choose(*pageList, boardRow());
    ASSERT_TRUE(runUntil([&] { return homeList->rowCount() > 3 && pageList->rowCount() > 3; }, 10));
    drillInto(*homeList, 0);
    drillInto(*pageList, 2);
    AnalysisBoardStocksView &homeStocks = *homeList->boardStocksModelView();
    AnalysisBoardStocksView &pageStocks = *pageList->boardStocksModelView();
    ASSERT_TRUE(runUntil([&] { return homeStocks.BIBasicInf() && pageStocks.BIBasicInf(); }, 10));
    settle();
    std::string homeBoard = homeStocks.BIBasicInf()->code, pageBoard = pageStocks.BIBasicInf()->code;
    ASSERT_NE(homeBoard, pageBoard);
    auto members = [](AnalysisBoardStocksView &stocks) {
        std::set<std::string> codes;
        for (int i = 0; i < stocks.rowCount(); ++i)
            codes.insert(stocks.recordAt(i)->code);
        return codes;
    };
    std::set<std::string> homeMembers = members(homeStocks), pageMembers = members(pageStocks);
    // Each refresh of one drill-down leaves the other's board and members as they were.
    for (int round = 0; round < 2; ++round) {
        homeList->NotifyTimeEvent(11);
        settle();
        pageList->NotifyTimeEvent(11);
        settle();
        EXPECT_EQ(homeStocks.BIBasicInf()->code, homeBoard);
        EXPECT_EQ(pageStocks.BIBasicInf()->code, pageBoard);
        EXPECT_EQ(members(homeStocks), homeMembers);
        EXPECT_EQ(members(pageStocks), pageMembers);
    }
}

// Tells what reaches a watch-list source's owner.
struct RowsHeard : DDEQuotesDataDelegate, base::Object {
    int updates = 0;
    base::Opt<void> UpdateMyStockArray(const base::Ref<MyStockRowList> &, bool) override {
        ++updates;
        return {};
    }
};

TEST_F(AnalysisListTest, WatchListSourcesUnderOneNameHearOnlyTheirOwnReplies) {
    auto asking =
        DDEQuotesData::create(DDEDecisionView::MyStockObserverName, DDEDecisionView::ExtendedFieldsFlag);
    auto other =
        DDEQuotesData::create(DDEDecisionView::MyStockObserverName, DDEDecisionView::ExtendedFieldsFlag);
    auto askingHeard = base::make<RowsHeard>(), otherHeard = base::make<RowsHeard>();
    asking->setDelegate(askingHeard);
    other->setDelegate(otherHeard);
    asking->createMyStockDataArray(base::Array{base::Dict{{"MarketCode", "SH600000"}, {"StockName", "甲"}}});
    other->createMyStockDataArray(base::Array{base::Dict{{"MarketCode", "SZ000002"}, {"StockName", "乙"}}});
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        if (round == 0)
            asking->MyStock_RereqMyStockQuotes();
        else
            asking->MyStock_ReqCurScreenQuotes({0});
        settle();
        EXPECT_EQ(askingHeard->updates, round + 1);
        EXPECT_EQ(otherHeard->updates, 0);
        // A row's record carries its code from the start; the quote comes with a reply.
        EXPECT_GT(asking->getMyStockDataArray()->items[0]->basicInf->newprice, 0);
        EXPECT_EQ(other->getMyStockDataArray()->items[0]->basicInf->newprice, 0);
    }
}

TEST_F(AnalysisListTest, ADroppedListDismissesItsMenuAndIsCalledByNothing) {
    auto list = lone<SectionAnalysView>(2, 21);
    list->PerformAction(list->configMarketBarView().leftButton());
    app.runPending();
    ui::Popover *popover = list->switchMarketMenuPopoverController();
    ASSERT_NE(popover, nullptr);
    ASSERT_TRUE(popover->isVisible());
    auto &menu = dynamic_cast<SwitchMarketMenuController &>(
        *dynamic_cast<ui::NavigationController &>(popover->content()).top());
    base::Ref<SwitchMarketMenuController> kept = menu.self<SwitchMarketMenuController>();
    list->removeFromSuperview();
    list.reset();
    app.runPending();
    EXPECT_TRUE(ui::Popover::visiblePopovers().empty());
    EXPECT_TRUE(kept->delegate.expired());
    // A reply under the list's name reaches nobody.
    settle();
}

} // namespace

} // namespace decision
