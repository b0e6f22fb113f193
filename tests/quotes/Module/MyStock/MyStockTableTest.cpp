#include "Module/MyStock/MyStockTableView.h"

#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"

#include "host/Offscreen.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <tuple>

namespace mystock {

namespace {

// The screen's side of the table: what it was asked for.
struct Screen : base::Object, MyStockTableViewTarget, MyStockTableViewDelegate {
    std::vector<std::pair<int, int>> sorts; // field, order
    std::vector<std::tuple<std::string, std::string, int>> opened;
    std::vector<std::vector<int>> visibleAsked;
    std::vector<double> pageOffsets;
    base::Ref<MiniViewManager> mini = base::make<MiniViewManager>();

    base::Opt<void> resetTimerCenterOnScroll(int) override { return {}; }
    void prereqNextPageQuotes(double offset, double) override { pageOffsets.push_back(offset); }
    void reqCurScreenData(const std::vector<int> &rows) override { visibleAsked.push_back(rows); }
    void reqCurScreenQuotes(const std::vector<int> &rows) override { visibleAsked.push_back(rows); }
    void resetQuotesSortId(int field, int order) override { sorts.emplace_back(field, order); }
    MiniViewManager *mviews() override { return mini.get(); }
    base::Opt<void> ReturnStockName(const std::string &name, const std::string &code, int index) override {
        opened.emplace_back(name, code, index);
        return {};
    }
};

base::Ref<MyStockRow> row(int i, int32_t newprice, int32_t closeprice, int notes = 0) {
    auto entry = base::make<MyStockRow>();
    entry->MarketCode = "SH6" + std::to_string(10000 + i);
    entry->StockName = "股" + std::to_string(i);
    entry->basicInf = base::make<StockQuoteInf>();
    entry->basicInf->code = *entry->MarketCode;
    entry->basicInf->name = *entry->StockName;
    entry->basicInf->newprice = newprice;
    entry->basicInf->closeprice = closeprice;
    entry->basicInf->noteCount = notes;
    return entry;
}

struct MyStockTableTest : ::testing::Test {
    host::TestApp app;
    base::Ref<Screen> screen = base::make<Screen>();
    base::Ref<MyStockRowList> rows = base::make<MyStockRowList>();
    base::Ref<MyStockTableView> table = base::make<MyStockTableView>(gfx::Rect{0, 36, 1024, 600});

    MyStockTableTest() {
        for (int i = 0; i < 15; ++i)
            rows->items.push_back(row(i, 1100 - 10 * i, 1050, i == 3 ? 2 : 0));
        table->delegate = screen;
        table->parentControllerTarget = screen;
        table->SetTableDataArray(rows);
        app.window().addSubview(table);
        table->RefreshTableView();
        app.runPending();
    }
    template <class Cell> base::Ref<Cell> cell(int index) {
        return std::dynamic_pointer_cast<Cell>(table->tableView().cellForRow({0, index}));
    }
    void tapColumn(int index) {
        GeneralHeaderView *header = table->titleColumn().headerAt(index);
        gfx::Rect r = header->convert(header->bounds(), nullptr);
        app.tap({r.x() + r.width() / 2, r.y() + r.height() / 2});
    }
};

TEST_F(MyStockTableTest, TrendRowsShowNumberTagAndNotesOfTheirStock) {
    table->tableView().scrollToRow({0, 11}, ui::ScrollPosition::Top, false);
    app.runPending();
    auto twelfth = cell<MyStockTableCell>(11);
    ASSERT_TRUE(twelfth);
    EXPECT_EQ(twelfth->SNLabel().text(), "1\n2\n");
    EXPECT_EQ(twelfth->SNLabel().frame().width(), 12);

    struct Case {
        int32_t newprice, closeprice;
        const char *tag;
        bool arrow;
    };
    for (Case c : {Case{1100, 1050, "red_tag.png", true}, Case{1000, 1050, "green_tag.png", true},
                   Case{0, 1050, "white_tag.png", false}, Case{1050, 1050, "white_tag.png", false}}) {
        rows->items[0] = row(0, c.newprice, c.closeprice);
        table->tableView().scrollToRow({0, 0}, ui::ScrollPosition::Top, false);
        table->RefreshTableView();
        app.runPending();
        auto first = cell<MyStockTableCell>(0);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->upDownTagImageView().image(), gfx::Image::named(c.tag)) << c.newprice;
        EXPECT_EQ(first->upDownArrowImageView().image() != nullptr, c.arrow) << c.newprice;
    }
    EXPECT_TRUE(cell<MyStockTableCell>(0)->infoButton().isHidden());
    EXPECT_FALSE(cell<MyStockTableCell>(3)->infoButton().isHidden());
}

TEST_F(MyStockTableTest, ColumnHeadersSortOnlyTheirEnabledFields) {
    table->ResetTableMode(0);
    app.runPending();
    tapColumn(4); // "涨跌 " never sorts
    tapColumn(0);
    tapColumn(1);
    EXPECT_TRUE(screen->sorts.empty());
    tapColumn(2);
    tapColumn(2);
    EXPECT_EQ(screen->sorts, (std::vector<std::pair<int, int>>{{4, 0}, {4, 1}}));
}

TEST_F(MyStockTableTest, AFieldChosenInTheThirdValueCellReplacesTheSecondRankField) {
    table->ReturnSelectedFieldName("总额", 3, 3);
    EXPECT_EQ(table->RankFields(), (std::array<int32_t, 3>{21, 3, 20}));
    EXPECT_EQ(screen->sorts, (std::vector<std::pair<int, int>>{{3, 0}}));
    DefaultHeaderView *rise = table->defaultColumn().headerAt(MyStockTableView::RiseHeader);
    EXPECT_TRUE(rise->updownTagImage().isHidden());
}

TEST_F(MyStockTableTest, SwitchingStylesKeepsTheRowsAndChangesTheirHeight) {
    EXPECT_EQ(table->tableView().rectForRow({0, 1}).height(), MyStockTableView::RowHeight);
    table->ResetTableMode(0);
    app.runPending();
    EXPECT_EQ(table->modeType, 1);
    EXPECT_EQ(table->tableView().rectForRow({0, 1}).height(), MyStockTableView::GenRowHeight);
    EXPECT_TRUE(cell<GeneralCell>(1));
    EXPECT_EQ(table->tableView().numberOfRows(0), 15);
    table->ResetTableMode(7);
    EXPECT_EQ(table->modeType, 1);
    table->ResetTableMode(1);
    app.runPending();
    EXPECT_EQ(table->modeType, 0);
    EXPECT_EQ(table->tableView().numberOfRows(0), 15);
}

TEST_F(MyStockTableTest, ARowTapOpensItsStockAndATapBelowTheRowsNothing) {
    gfx::Rect second = table->tableView().rectForRow({0, 1});
    app.tap({500, 36 + second.y() + 35});
    EXPECT_EQ(screen->opened,
              (std::vector<std::tuple<std::string, std::string, int>>{{"股1", "SH610001", 1}}));
    rows->items.resize(2);
    table->RefreshTableView();
    app.runPending();
    app.tap({500, 600});
    EXPECT_EQ(screen->opened.size(), 1u);
}

} // namespace

} // namespace mystock
