#include "Module/CommonControls/TableView/IndexGXView.h"
#include "Module/CommonControls/TableView/OpenFundStocksView.h"
#include "Module/CommonControls/TableView/StockDDDetailView.h"
#include "Module/CommonControls/TableView/StrikeDetailView.h"

#include "Common/StylePool.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

using Rows = TableBaseView::Rows;

// The member taps a table reports.
struct Taps : base::Object, IndexSupplyStockDelegate {
    std::vector<std::pair<std::string, std::string>> members;
    base::Opt<void> ReturnIndexSupplyStock(const std::string &code, const std::string &name) override {
        members.emplace_back(code, name);
        return {};
    }
};

base::Ref<StkStrikeDetailItem> tick(int time, int price, int vol, bool outer, int dealType = 0,
                                    int incVol = 0) {
    auto t = base::make<StkStrikeDetailItem>();
    t->time = time;
    t->dealPrice = price;
    t->dealVol = vol;
    t->isOuterPan = outer;
    t->dealType = int8_t(dealType);
    t->incVol = incVol;
    return t;
}

base::Ref<StockBasicInf> record(int closeprice, int decimal = 2) {
    auto r = base::make<StockBasicInf>();
    r->code = "SH600000";
    r->closeprice = closeprice;
    r->decimal = int8_t(decimal);
    r->type = 1;
    return r;
}

Rows manyBigOrders(int count) {
    Rows rows;
    for (int i = 0; i < count; ++i) {
        auto item = base::make<IndexDDDetailItem>();
        item->code = "SH60000" + std::to_string(i % 10);
        item->name = "股" + std::to_string(i);
        item->time = int16_t(930 + i);
        item->vol = 100 + i;
        rows.push_back(item);
    }
    return rows;
}

struct DetailTablesTest : ::testing::Test {
    host::TestApp app;
    const StylePool &style = StylePool::Instance();

    // A table as its panel makes it: zero frame, then placed, in the window and laid out.
    template <class T> base::Ref<T> place(gfx::Rect frame) {
        auto table = base::make<T>(gfx::Rect{}, base::Weak<base::Object>());
        table->setFrame(frame);
        app.window().addSubview(table);
        app.render();
        return table;
    }
    void show() { app.render(); }
    std::vector<std::string> column(TableBaseView &table, size_t col) {
        std::vector<std::string> texts;
        for (int r = 0; r < table.tv().numberOfRows(0); ++r)
            if (auto cell = table.tv().cellForRow({0, r}))
                texts.push_back(TableBaseView::cellLabel(*cell, col)->text());
        return texts;
    }
    ui::Label &label(TableBaseView &table, int row, size_t col) {
        return *TableBaseView::cellLabel(*table.tv().cellForRow({0, row}), col);
    }
};

TEST_F(DetailTablesTest, ColumnsShareTheWidthLeftByTheFixedOnes) {
    auto ticks = place<StrikeDetailView>({0, 0, 256, 200});
    EXPECT_EQ(ticks->tv().frame(), (gfx::Rect{2, 6, 252, 188}));
    const auto &cols = ticks->cols();
    ASSERT_EQ(cols.size(), 3u);
    EXPECT_EQ(cols[0].x, 5);
    EXPECT_EQ(cols[1].x, 66);
    EXPECT_EQ(cols[2].x, 153);
    EXPECT_EQ(cols[2].width, 95) << "flexible 98, less 3 as the last column";

    auto shares = place<OpenFundSharesView>({0, 0, 320, 120});
    EXPECT_EQ(shares->tv().frame(), (gfx::Rect{2, 30, 316, 84})) << "below the title bar";
    std::vector<float> widths;
    for (const auto &col : shares->cols())
        widths.push_back(col.width);
    EXPECT_EQ(widths, (std::vector<float>{70, 70, 70, 67})) << "fixed columns keep their width";
    EXPECT_EQ(shares->titleLabel(3)->text(), "本期赎回");
    EXPECT_EQ(shares->titleLabel(3)->frame(), (gfx::Rect{shares->cols()[3].x, 2, 67, 28}));

    // Growing the view re-frames the title labels; the bar's picture keeps its first width.
    auto owners = place<OpenFundOwnersView>({0, 0, 320, 120});
    float firstWidth = owners->titleBarImage()->frame().width();
    owners->setFrame({0, 0, 420, 120});
    show();
    EXPECT_EQ(owners->titleLabel(0)->frame().width(), owners->cols()[0].width);
    EXPECT_GT(owners->cols()[0].width, 100);
    EXPECT_EQ(owners->titleBarImage()->frame().width(), firstWidth);
}

TEST_F(DetailTablesTest, ThePlaceholderShowsForAnEmptyListAndSurvivesClearing) {
    auto table = place<IndexGXView>({0, 0, 256, 285});
    EXPECT_TRUE(table->noDataLabel().isHidden()) << "hidden until a list arrives";
    Rows one{base::make<IndexGXItem>()};
    table->Update(nullptr, &one);
    EXPECT_TRUE(table->noDataLabel().isHidden());
    table->clearView();
    EXPECT_TRUE(table->noDataLabel().isHidden()) << "clearing keeps the placeholder's state";
    Rows none;
    table->Update(nullptr, &none);
    EXPECT_FALSE(table->noDataLabel().isHidden());
    EXPECT_EQ(table->noDataLabel().text(), "没有数据");
    EXPECT_EQ(table->noDataLabel().center(), table->tv().center());
    table->clearView();
    EXPECT_FALSE(table->noDataLabel().isHidden());
    EXPECT_EQ(table->tv().numberOfRows(0), 0);
}

TEST_F(DetailTablesTest, UpdatesFollowTheListOnlyWhileTheUserIsAtItsEnd) {
    auto table = place<StockDDDetailView>({0, 0, 256, 200});
    Rows rows;
    for (int i = 0; i < 40; ++i)
        rows.push_back(base::make<StockDDDetailItem>());
    table->Update(nullptr, &rows);
    app.advance(1);
    ui::TableView &tv = table->tv();
    tv.setContentOffset({0, 200});
    EXPECT_FALSE(table->isTableViewEnd());
    table->Update(nullptr, &rows);
    app.advance(1);
    EXPECT_EQ(tv.contentOffset().y, 200) << "the user left the end: no scrolling";

    tv.setContentOffset(tv.maximumOffset());
    EXPECT_TRUE(table->isTableViewEnd());
    table->Update(nullptr, &rows);
    app.advance(1);
    EXPECT_EQ(tv.contentOffset().y, 0) << "back at the end: the first row is brought into view again";
}

TEST_F(DetailTablesTest, TheIndexBigOrderListAlwaysEndsOnItsLastRow) {
    auto table = place<IndexDDDetailView>({0, 0, 256, 263});
    Rows rows = manyBigOrders(40);
    table->tv().setContentOffset({0, 100});
    table->Update(nullptr, &rows);
    app.advance(1);
    EXPECT_EQ(table->tv().contentOffset().y, table->tv().maximumOffset().y);
    show();
    EXPECT_EQ(label(*table, 39, 1).text(), "股39");
    EXPECT_EQ(label(*table, 39, 3).text(), "139");
}

TEST_F(DetailTablesTest, ReusedCellsAreReFramedOnlyAfterTheWidthChanged) {
    auto table = place<IndexGXView>({0, 0, 256, 285});
    Rows rows{base::make<IndexGXItem>()};
    table->Update(nullptr, &rows);
    show();
    ui::Label *name = &label(*table, 0, 0);
    name->setFrame({0, 0, 1, 1});
    table->tv().reloadData();
    show();
    EXPECT_EQ(label(*table, 0, 0).frame(), (gfx::Rect{0, 0, 1, 1})) << "same width: labels left alone";

    table->setFrame({0, 0, 300, 285});
    show();
    EXPECT_EQ(label(*table, 0, 0).frame(), (gfx::Rect{table->cols()[0].x, 0, 76, 20}));
}

TEST_F(DetailTablesTest, EachMinutesNewestTickShowsTheFullTimeAndTheOthersTheirSeconds) {
    auto table = place<StrikeDetailView>({0, 0, 256, 200});
    auto basic = record(1000);
    Rows rows{tick(93005, 1000, 5, false), tick(93020, 1010, 12, true), tick(93102, 990, 7, true),
              tick(931, 1000, 3, false)};
    table->Update(basic, &rows, 41);
    show();
    EXPECT_EQ(table->strikeLastPos(), 41);
    EXPECT_EQ(column(*table, 0), (std::vector<std::string>{"9:31", " 9:31:02", " 9:30:20", ":05"}));
    EXPECT_EQ(column(*table, 1), (std::vector<std::string>{"10.00", "9.90", "10.10", "10.00"}));
    EXPECT_EQ(label(*table, 1, 1).textColor(), style.clTextFall);
    EXPECT_EQ(label(*table, 2, 1).textColor(), style.clTextRise);
    EXPECT_EQ(label(*table, 3, 1).textColor(), style.clTextPlane);
    EXPECT_EQ(label(*table, 1, 2).textColor(), style.clTextRise) << "an outer deal";
    EXPECT_EQ(label(*table, 3, 2).textColor(), style.clTextFall);
}

TEST_F(DetailTablesTest, AFuturesTickShowsItsOpenInterestChangeAndKind) {
    for (auto [type, text] : std::vector<std::pair<int, const char *>>{
             {1, "多开"}, {3, "空开"}, {8, "空换"}, {0, "--"}, {9, "--"}, {-1, "--"}})
        EXPECT_EQ(FutureStrikeDetailView::openCloseText(type), text) << type;

    auto table = place<FutureStrikeDetailView>({0, 0, 256, 346});
    auto basic = record(36000, 0);
    Rows rows{tick(93005, 36010, 123456, true, 3, -12)};
    table->Update(basic, &rows, 0);
    show();
    EXPECT_EQ(table->titleLabel(4)->text(), "开平");
    EXPECT_EQ(label(*table, 0, 3).text(), "-12");
    EXPECT_EQ(label(*table, 0, 4).text(), "空开");
}

TEST_F(DetailTablesTest, AContributionShowsPercentAndPointsInTheColourOfItsPull) {
    auto table = place<IndexGXView>({0, 0, 256, 285});
    auto down = base::make<IndexGXItem>();
    down->name = "工商银行";
    down->digit = -1234;
    down->risefall = 56;
    auto up = base::make<IndexGXItem>();
    up->digit = 250;
    up->risefall = -5;
    Rows rows{down, up};
    table->Update(nullptr, &rows);
    show();
    EXPECT_EQ(column(*table, 0)[0], "工商银行");
    EXPECT_EQ(column(*table, 1), (std::vector<std::string>{"0.6%", "-0.1%"}));
    EXPECT_EQ(column(*table, 2), (std::vector<std::string>{"-12.34", "2.50"}));
    EXPECT_EQ(label(*table, 0, 1).textColor(), style.clTextFall);
    EXPECT_EQ(label(*table, 0, 2).textColor(), style.clTextFall);
    EXPECT_EQ(label(*table, 1, 2).textColor(), style.clTextRise);
}

TEST_F(DetailTablesTest, ATapReportsTheMemberOfTheRowsNowHeld) {
    auto table = place<BoardIndexStocksView>({0, 0, 256, 570});
    auto taps = base::make<Taps>();
    table->delegate = taps;
    auto member = base::make<StockQuoteInf>();
    member->code = "SH600036";
    member->name = "招商银行";
    member->closeprice = 1000;
    member->newprice = 1020;
    member->decimal = 2;
    Rows rows{member};
    table->Update(&rows);
    show();
    EXPECT_EQ(label(*table, 0, 1).text(), "10.20");
    EXPECT_EQ(label(*table, 0, 1).textColor(), style.clTextRise);
    gfx::Rect row = table->tv().rectForRow({0, 0});
    app.tap(table->tv().convert(gfx::Point{row.midX(), row.midY()}, nullptr));
    app.advance(0.5);
    EXPECT_EQ(taps->members, (std::vector<std::pair<std::string, std::string>>{{"SH600036", "招商银行"}}));

    // A late callback for a row of an older, longer list reaches nothing.
    auto source = table->tv().dataSource.lock();
    auto delegate = table->tv().delegate.lock();
    EXPECT_TRUE(source->cellForRow(table->tv(), {0, 5}));
    delegate->didSelectRow(table->tv(), {0, 5});
    EXPECT_EQ(taps->members.size(), 1u);
}

} // namespace
