#include "FrontPageFixture.h"

#include "Common/StylePool.h"
#include "Components/CMGeneralCell.h"
#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/FrontPage/StocksPoolView/StockPoolGridExtCell.h"

namespace frontpage {

namespace {

using Tab = FrontPageViewController::Tab;

class PoolsTest : public FrontPageTest {
protected:
    void SetUp() override {
        show();
        forgetRequests();
        chooseTab(Tab::PoolTab);
    }
    StocksPoolView &pools() { return *screen->stocksPoolView(); }
    StockPoolGridView &board(int page, int poolID) { return *pools().page(page)->boardForPool(poolID); }
    void choosePage(int number) {
        tapView(pools().pageButton(number));
        settle();
        app.runPending();
    }
    static std::vector<std::string> codes(const StockPoolGridView &b) {
        std::vector<std::string> out;
        for (const auto &record : b.dataArray())
            out.push_back(record->code);
        return out;
    }
    base::Ref<NetDataCenter::StockPoolList> poolOf(std::vector<std::string> codes) {
        auto list = base::make<NetDataCenter::StockPoolList>();
        for (std::string &code : codes) {
            auto record = base::make<StockPoolInf>();
            record->code = std::move(code);
            list->items.push_back(record);
        }
        return list;
    }
};

TEST_F(PoolsTest, EachPageAsksForItsPoolsWhenMadeAndOnTheTick) {
    EXPECT_EQ(poolRequests(), (std::vector<int>{104, 101, 102, 103, 105, 106, 107, 108}));
    EXPECT_EQ(pools().frame(), FrontPageViewController::TabLandscape);
    EXPECT_EQ(pools().page(1)->frame(), (gfx::Rect{0, 35, 1024, 549}));
    forgetRequests();
    choosePage(1); // the page on show
    EXPECT_TRUE(poolRequests().empty());
    choosePage(2);
    EXPECT_EQ(poolRequests(), (std::vector<int>{201, 202, 203, 204, 205, 206}));
    EXPECT_TRUE(pools().page(1)->isHidden());
    EXPECT_TRUE(pools().pageButton(2).isPressed() && !pools().pageButton(1).isPressed());
    forgetRequests();
    choosePage(1);
    EXPECT_TRUE(poolRequests().empty());
    advance(FrontPageViewController::RefreshPeriod + 0.5);
    EXPECT_EQ(poolRequests().size(), 8u);
    EXPECT_EQ(pools().page(3), nullptr);
}

TEST_F(PoolsTest, RepliesGoToTheBoardOfTheirPoolOnAPageThatIsMade) {
    StockPoolGridView &winOne = board(1, 104);
    EXPECT_EQ(winOne.titleLabel().text(), "锐丰1号池");
    EXPECT_FALSE(winOne.dataArray().empty());
    choosePage(2);
    EXPECT_EQ(board(2, 205).titleLabel().text(), "观察池");
    EXPECT_FALSE(board(2, 205).dataArray().empty());
    std::vector<std::string> firstObserve = codes(board(1, 106));
    pools().UpdateStockPoolArray(poolOf({"SZ000002"}), 205);
    EXPECT_EQ(codes(board(2, 205)), std::vector<std::string>{"SZ000002"});
    EXPECT_EQ(codes(board(1, 106)), firstObserve);
    // An id no page has, and a pool of the page not made yet, are dropped.
    pools().UpdateStockPoolArray(poolOf({"SH600000"}), 999);
    pools().UpdateStockPoolArray(poolOf({"SH600000"}), 301);
    EXPECT_EQ(pools().page(3), nullptr);
    EXPECT_EQ(codes(board(2, 205)), std::vector<std::string>{"SZ000002"});
    EXPECT_EQ(codes(board(1, 106)), firstObserve);
}

TEST_F(PoolsTest, EachGridTypeShowsItsRows) {
    struct Case {
        int page, poolID;
        uint16_t type;
        float rowHeight;
        bool zoomShown;
    } cases[] = {{1, 107, 0, 44, true}, {1, 104, 1, 64, false}, {1, 105, 2, 64, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.poolID);
        StockPoolGridView &b = board(c.page, c.poolID);
        EXPECT_EQ(b.iGridType(), c.type);
        EXPECT_EQ(b.rowHeight, c.rowHeight);
        EXPECT_EQ(!b.zoomInOutBtn().isHidden(), c.zoomShown);
        b.tableView().layoutIfNeeded();
        base::Ref<ui::TableCell> cell = b.tableView().cellForRow({0, 0});
        ASSERT_NE(cell, nullptr);
        const StockPoolInf &first = *b.dataArray().front();
        if (c.type == 0) {
            EXPECT_EQ(cell->textLabel()->text(), first.name);
            continue;
        }
        auto &row = dynamic_cast<StockPoolGridExtCell &>(*cell);
        EXPECT_EQ(row.currentCellType(), c.type - 1);
        EXPECT_EQ(row.nameLabel().text(), first.name);
        EXPECT_EQ(row.codeLabel().text(), first.FormatValue(9));
        EXPECT_EQ(row.dateTimeLabel().text(), first.FormatValue(702));
        ui::Label &gain = c.type == 1 ? row.incomeLabel() : row.largeIncomeLabel();
        EXPECT_EQ(gain.text(), first.FormatValue(701));
        EXPECT_EQ(row.caption(3)->text(), c.type == 1 ? "收益" : "收益率");
        EXPECT_EQ(row.caption(3)->frame(), gain.frame());
    }
    choosePage(3);
    EXPECT_EQ(board(3, 301).rowHeight, 20);
    EXPECT_EQ(board(3, 306).rowHeight, 44);
}

TEST_F(PoolsTest, AStockWithoutEntryPriceShowsNoGainAndOldEntriesTheirDate) {
    StockPoolGridView &winOne = board(1, 104);
    // The server's fourth member entered on 3-7, its fifth has no entry price.
    ASSERT_GE(winOne.dataArray().size(), 5u);
    winOne.tableView().layoutIfNeeded();
    ASSERT_NE(winOne.tableView().cellForRow({0, 4}), nullptr);
    auto &old = dynamic_cast<StockPoolGridExtCell &>(*winOne.tableView().cellForRow({0, 3}));
    EXPECT_EQ(old.dateTimeLabel().text(), "3-7 09:05");
    auto &noEntry = dynamic_cast<StockPoolGridExtCell &>(*winOne.tableView().cellForRow({0, 4}));
    EXPECT_EQ(noEntry.incomeLabel().text(), "--");
    EXPECT_EQ(*noEntry.incomeLabel().textColor(), *StylePool::Instance().clTextPlane);
    EXPECT_EQ(noEntry.dateTimeLabel().text(), "12-7 09:35");
}

TEST_F(PoolsTest, OneBoardEnlargesOverAMaskAndClosesBackAfterItsAnimation) {
    BasePoolView &page = *pools().page(1);
    StockPoolGridView &small = board(1, 108);
    std::vector<std::string> rows = codes(small);
    ASSERT_FALSE(rows.empty());
    tapView(small.zoomInOutBtn());
    app.runPending();
    StockPoolGridView *detail = page.detailPoolGridView();
    ASSERT_NE(detail, nullptr);
    ASSERT_NE(page.bgScrollView().viewWithTag(BasePoolView::MaskTag), nullptr);
    EXPECT_EQ(detail->iGridType(), 3);
    EXPECT_EQ(detail->frame(), (gfx::Rect{187, 0, 650, 500}));
    EXPECT_EQ(detail->fromRect(), small.frame());
    EXPECT_EQ(detail->titleLabel().text(), "热点股票");
    EXPECT_EQ(codes(*detail), rows);
    // A second request, and later replies, leave the open board as it is.
    page.ZoomInAction(board(1, 107));
    EXPECT_EQ(page.detailPoolGridView(), detail);
    pools().UpdateStockPoolArray(poolOf({"SZ000002"}), 108);
    EXPECT_EQ(codes(*detail), rows);

    // Its rows: values by position, the header sorts nothing.
    detail->tableView().layoutIfNeeded();
    auto &cell = dynamic_cast<GeneralCell &>(*detail->tableView().cellForRow({0, 0}));
    EXPECT_EQ(cell.columnNum(), 6);
    auto *header = dynamic_cast<GeneralColumn *>(detail->tableView().headerView(0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->columnNum(), 6);
    tapView(*header->headerAt(5));
    app.runPending();
    EXPECT_EQ(codes(*detail), rows);

    base::Weak<ui::View> closing = detail->weakSelf<ui::View>();
    tapView(detail->zoomInOutBtn());
    app.advance(0.2);
    EXPECT_NE(page.detailPoolGridView(), nullptr) << "still animating back";
    EXPECT_EQ(codes(*page.detailPoolGridView()), rows);
    app.advance(0.2);
    EXPECT_EQ(page.detailPoolGridView(), nullptr);
    EXPECT_EQ(page.bgScrollView().viewWithTag(BasePoolView::MaskTag), nullptr);
    EXPECT_TRUE(closing.expired());
}

TEST_F(PoolsTest, ATappedRowOpensTheStocksDetailScreen) {
    StockPoolGridView &hero = board(1, 105);
    hero.tableView().layoutIfNeeded();
    base::Ref<ui::TableCell> row = hero.tableView().cellForRow({0, 1});
    ASSERT_NE(row, nullptr);
    tapView(*row);
    app.advance(1);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), hero.dataArray().at(1)->code);
}

} // namespace

} // namespace frontpage
