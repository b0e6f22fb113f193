#include "NavToolBarFixture.h"

#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Golden.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "base/PropertyList.h"
#include "ui/Application.h"
#include "ui/Popover.h"

#include <algorithm>

namespace navtoolbar {
namespace {

using Ranked = std::vector<std::pair<std::string, int>>;

Ranked ranked(const base::Array &entries) {
    Ranked out;
    for (const base::Value &entry : entries)
        out.emplace_back(entry["code"].stringValue(), int(entry["order"].intValue()));
    return out;
}

TEST_F(NavToolBarTest, SearchRanksTheCodeTablesByCodeThenInitials) {
    const Ranked banks = {{"SH600000", 97}, {"SH600016", 97}, {"SH600036", 97}, {"SH601288", 97},
                          {"SH601398", 97}, {"SH601939", 97}, {"SH601988", 97}, {"SZ000001", 97}};
    struct Case {
        const char *name;
        const char *text;
        Ranked found;
    } cases[] = {
        {"a code: equal ones first, in library order", "000001", {{"SH000001", 100}, {"SZ000001", 100}}},
        {"the key at the start, then one further in",
         "00001",
         {{"SH000016", 99}, {"SH000001", 98}, {"SZ000001", 98}}},
        {"a code holding the key beats initials holding it", "300", {{"SZ300059", 99}, {"SH000300", 96}}},
        {"initials", "PFYH", {{"SH600000", 100}}},
        {"lower case and blanks around", " pfyh \n", {{"SH600000", 100}}},
        {"initials inside names", "yh", banks},
        {"initials shared by two", "ZGSH", {{"SH600028", 100}, {"SH601088", 100}}},
        {"a full code", "$SH000001", {{"SH000001", 100}}},
        {"a full code in lower case", "$sz000001", {{"SZ000001", 100}}},
        {"a full code not in the tables", "$SH999999", {}},
        {"blanks only", "   ", {}},
        {"no match", "QQQ", {}},
        {"non-ASCII letters are not upper-cased into matches", "ｐｆｙｈ", {}},
    };
    auto searcher = base::make<SearchMyStockContentController>();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        searcher->getSearchResult(c.text);
        EXPECT_EQ(ranked(searcher->searchResultArray()), c.found);
    }
}

TEST_F(NavToolBarTest, MoreThanTwentyMatchesShowTheFirstTwentyOfTheBest) {
    auto searcher = base::make<SearchMyStockContentController>();
    searcher->getSearchResult("60");
    // Forty codes begin with 60: the twenty real ones come first in the Shanghai table.
    const std::vector<std::string> first = {"SH600000", "SH600009", "SH600016", "SH600028", "SH600030",
                                            "SH600036", "SH600050", "SH600104", "SH600276", "SH600519",
                                            "SH600585", "SH600887", "SH601006", "SH601088", "SH601288",
                                            "SH601318", "SH601398", "SH601857", "SH601939", "SH601988"};
    EXPECT_EQ(codesOf(searcher->searchResultArray()), first);
    base::Value entry = searcher->searchResultArray().at(0);
    EXPECT_EQ(entry["market"].stringValue(), "SH");
    EXPECT_EQ(entry["numCode"].stringValue(), "600000");
    EXPECT_EQ(entry["name"].stringValue(), "浦发银行");
}

TEST_F(NavToolBarTest, TypingWithinASecondSendsOneQuoteRequestForTheFinalResults) {
    typeInSearch("6");
    advance(0.5);
    app.typeText("0");
    advance(0.5);
    app.typeText("0");
    advance(0.9);
    EXPECT_TRUE(quotedCodes().empty()) << "still typing";
    ASSERT_TRUE(search().isShowingResults());
    ASSERT_EQ(search().searchResultArray().size(), 12u);

    advance(0.2);
    settle();
    std::vector<std::string> results = codesOf(search().searchResultArray());
    std::vector<std::vector<std::string>> sent = quotedCodes();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], std::vector<std::string>(results.begin(), results.begin() + 8));

    SearchResultTableView &list = *search().searchResultTable();
    auto &top = dynamic_cast<SearchResultCell &>(*list.resultTableView().cellForRow({0, 0}));
    EXPECT_EQ(top.StockNameLabel().text(), "浦发银行");
    EXPECT_TRUE(top.RangeLabel().text().ends_with("%")) << top.RangeLabel().text();
    EXPECT_FALSE(top.LastLabel().text().empty());
    EXPECT_TRUE(list.entries().at(8)["range"].isNull()) << "only the first screen is quoted";
}

TEST_F(NavToolBarTest, RowsInViewAreQuotedWhenScrollingStops) {
    typeInSearch("60");
    advance(1.0);
    settle();
    ASSERT_EQ(quotedCodes().size(), 1u);

    SearchResultTableView &list = *search().searchResultTable();
    gfx::Rect area = list.convert(list.bounds(), nullptr);
    gfx::Point low{area.x() + 60, area.maxY() - 20}, high{area.x() + 60, area.y() + 10};
    app.dragAndRest(low, high);
    // The request went out as the finger lifted, for the rows in view that have no quote yet.
    std::vector<std::string> unquoted = list.makeVisibleCodes();
    std::vector<ui::IndexPath> rows = list.resultTableView().indexPathsForVisibleRows();
    ASSERT_FALSE(rows.empty());
    ASSERT_GE(rows.back().row, 8);
    EXPECT_EQ(unquoted.front(), list.entries().at(8)["code"].stringValue());
    settle();
    EXPECT_EQ(quotedCodes(), std::vector<std::vector<std::string>>{unquoted});
    EXPECT_TRUE(list.makeVisibleCodes().empty()) << "every row in view has its quote now";
}

// A memory warning while the popover is closed unloads its screen: the next search builds the
// list again inside the shown popover, under one title bar.
TEST_F(NavToolBarTest, TheSearchShowsItsResultsAgainAfterAMemoryWarning) {
    typeInSearch("60");
    advance(1.0);
    settle();
    screen->searchPopoverController()->dismiss(false);
    screen->searchBarTextField()->resignFirstResponder();
    app.runPending();
    ui::Application::shared().simulateMemoryWarning();
    app.runPending();

    typeInSearch("yh");
    advance(1.0);
    settle();
    SearchResultTableView *list = search().searchResultTable();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->superview(), &search().view());
    EXPECT_TRUE(list->window());
    EXPECT_EQ(list->entries().size(), search().searchResultArray().size());
    ui::View &bar = search().navigationController()->navigationBar();
    EXPECT_EQ(std::count_if(bar.subviews().begin(), bar.subviews().end(),
                            [](const auto &v) { return dynamic_cast<SearchBarTitleView *>(v.get()); }),
              1);
}

TEST_F(NavToolBarTest, TheGroupPickersArrowsLieWholeInsideThePopover) {
    typeInSearch("yh");
    app.runPending();
    SearchBarTitleView &bar = *search().searchBarTitleView();
    ASSERT_FALSE(bar.isHidden());
    gfx::Rect arrow = bar.rightArrow().convert(bar.rightArrow().bounds(), nullptr);
    gfx::Rect content = search().view().convert(search().view().bounds(), nullptr);
    EXPECT_GT(arrow.width(), 0);
    EXPECT_LE(arrow.maxX(), content.maxX());
    EXPECT_GT(arrow.x(), content.maxX() - 40) << "still at the right end of the bar";
}

TEST_F(NavToolBarTest, TheAddButtonFollowsTheChosenGroup) {
    typeInSearch("ZGSH");
    SearchResultTableView &list = *search().searchResultTable();
    auto cell = [&](int row) -> SearchResultCell & {
        return dynamic_cast<SearchResultCell &>(*list.resultTableView().cellForRow({0, row}));
    };
    ASSERT_EQ(list.modelFileName(), "MyStockList");
    EXPECT_TRUE(cell(0).isAddButtonShown());

    app.tap(centre(cell(0).addButton()));
    DataManager &files = DataManager::sharedDataManager();
    EXPECT_TRUE(files.IsStockInMyStock("SH600028", "MyStockList"));
    EXPECT_FALSE(cell(0).isAddButtonShown()) << "gone right after the add";
    EXPECT_TRUE(cell(1).isAddButtonShown());

    search().searchBarTitleView()->myStockPickerView().scrollToElement(1, false);
    EXPECT_EQ(search().currentModel(), "重点关注");
    EXPECT_EQ(list.modelFileName(), "MyFocusList");
    EXPECT_TRUE(cell(0).isAddButtonShown()) << "not in the other group";
    app.tap(centre(cell(0).addButton()));
    EXPECT_TRUE(files.IsStockInMyStock("SH600028", "MyFocusList"));

    // A security the bundle's group already holds shows no button.
    search().searchBarTitleView()->myStockPickerView().scrollToElement(0, false);
    screen->searchBarTextField()->setText("");
    typeInSearch("PFYH");
    EXPECT_FALSE(cell(0).isAddButtonShown());
}

TEST_F(NavToolBarTest, TheCurrentGroupFollowsThePickerWhenTheGroupsChange) {
    typeInSearch("ZGSH");
    search().searchBarTitleView()->myStockPickerView().scrollToElement(1, false);
    ASSERT_EQ(search().currentModelFileName(), "MyFocusList");
    app.tap({500, 700});
    app.advance(1);

    // One group left: the next opening falls back to it.
    ASSERT_TRUE(base::PropertyList::write(
        base::Array{base::Dict{{"ModelName", "我的自选"}, {"ModelFileName", "MyStockList"}}},
        documentsFile("MyStockModuleList.plist")));
    typeInSearch("ZGSH");
    EXPECT_EQ(search().currentModel(), "我的自选");
    EXPECT_EQ(search().searchResultTable()->modelFileName(), "MyStockList");
    base::FileManager::remove(documentsFile("MyStockModuleList.plist"));
}

TEST_F(NavToolBarTest, APickOpensTheDetailScreenAndHeadsTheRecentListOnce) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        typeInSearch("PFYH");
        SearchResultTableView &list = *search().searchResultTable();
        app.tap(centre(*list.resultTableView().cellForRow({0, 0})));
        app.advance(1);
        ASSERT_EQ(nav->viewControllers().size(), 2u);
        auto &detail = dynamic_cast<StockDetailViewController &>(*nav->top());
        EXPECT_EQ(detail.stockCode(), "SH600000");
        EXPECT_FALSE(screen->searchPopoverController()->isVisible());
        EXPECT_EQ(screen->searchBarTextField()->text(), "");
        base::Array recent = DataManager::sharedDataManager().GetLatestRecentViewed();
        ASSERT_EQ(recent.size(), 1u);
        EXPECT_EQ(recent.at(0)["MarketCode"].stringValue(), "SH600000");
        EXPECT_EQ(recent.at(0)["StockName"].stringValue(), "浦发银行");
    }

    // The next opening lists it.
    app.tap(centre(*screen->searchBarTextField()));
    EXPECT_FALSE(search().isShowingResults());
    EXPECT_EQ(search().title(), SearchMyStockContentController::kRecentTitle);
    ASSERT_EQ(search().searchRecentTable()->rows().size(), 1u);
    EXPECT_EQ(search().searchRecentTable()->rows().at(0)["MarketCode"].stringValue(), "SH600000");
}

TEST_F(NavToolBarTest, TheShownDetailScreenIsTheTradingModulesCurrentScreen) {
    TradeMsgCenter &trade = *TradeMsgCenter::sharedTradeMsgCenter();
    screen->ReturnSelectedStock("浦发银行", "SH600000");
    app.advance(1);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_TRUE(detail);
    EXPECT_EQ(trade.currentActiveVCHandle(), detail);
    EXPECT_EQ(trade.currentProdCode(), "600000") << "the order panel takes the numeric code";

    // A holding picked in a trading table opens in it.
    trade.SwitchToStock("SZ000001");
    EXPECT_EQ(nav->viewControllers().size(), 2u);
    EXPECT_EQ(detail->stockCode(), "SZ000001");
    EXPECT_EQ(trade.currentProdCode(), "000001");

    nav->pop(false);
    app.runPending();
    EXPECT_EQ(trade.currentProdCode(), "");
}

TEST_F(NavToolBarTest, ARecentRowOpensItsSecurity) {
    DataManager::sharedDataManager().AddLatestRecentViewed("平安银行", "SZ000001");
    app.tap(centre(*screen->searchBarTextField()));
    ui::TableView &recent = search().searchRecentTable()->recentTableView();
    app.tap(centre(*recent.cellForRow({0, 0})));
    app.advance(1);
    ASSERT_EQ(nav->viewControllers().size(), 2u);
    EXPECT_EQ(dynamic_cast<StockDetailViewController &>(*nav->top()).stockCode(), "SZ000001");
}

TEST_F(NavToolBarTest, QuoteTextsOfResults) {
    auto list = base::make<SearchResultTableView>(gfx::Rect{0, 0, 400, 280});
    app.window().addSubview(list);
    list->SetTableDataArray(base::Array{base::Dict{{"code", "SH600000"}, {"name", "浦发银行"}},
                                        base::Dict{{"code", "SH600036"}, {"name", "招商银行"}},
                                        base::Dict{{"code", "SZ000001"}, {"name", "平安银行"}}},
                            "MyStockList");
    auto quote = [](const char *code, int32_t price, int32_t close) {
        auto q = base::make<StockQuoteInf>();
        q->code = code;
        q->newprice = price;
        q->closeprice = close;
        q->decimal = 2;
        return q;
    };
    list->UpdateQuotes({quote("SH600000", 0, 821), quote("SH600036", 1163, 1163),
                        quote("SZ000001", 1500, 1452), quote("SH999999", 100, 100)});
    app.runPending();
    auto cell = [&](int row) -> SearchResultCell & {
        return dynamic_cast<SearchResultCell &>(*list->resultTableView().cellForRow({0, row}));
    };
    EXPECT_EQ(cell(0).RangeLabel().text(), "--") << "no price: no percentage";
    EXPECT_EQ(cell(1).RangeLabel().text(), "0.00%");
    EXPECT_EQ(cell(1).LastLabel().text(), "11.63");
    EXPECT_EQ(cell(2).RangeLabel().text(), "+3.31%");
    EXPECT_EQ(*cell(2).RangeLabel().textColor(), *gfx::Color::red());
    list->removeFromSuperview();
}

TEST_F(NavToolBarTest, SearchPopoverLooksRight) {
    typeInSearch("yh");
    advance(1.0);
    settle();
    app.runPending();
    SearchResultTableView &list = *search().searchResultTable();
    auto &top = dynamic_cast<SearchResultCell &>(*list.resultTableView().cellForRow({0, 0}));
    EXPECT_EQ(list.modelFileName(), "MyStockList");
    EXPECT_FALSE(top.isAddButtonShown()) << "浦发银行 is in the bundle's group";
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/search-popover"));
}

} // namespace
} // namespace navtoolbar
