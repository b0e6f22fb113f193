#include "DetailScreenFixture.h"

#include "Golden.h"

namespace detailscreen {
namespace {

// The whole 1024 × 768 window with a detail screen pushed, once its first data arrived.
TEST_F(DetailScreenTest, TheScreenOfEachKindOfSecurity) {
    struct Case {
        const char *golden;
        const char *code;
        int boardID;
    };
    const Case cases[] = {
        {"detail/stock", "SH600000", 0},         {"detail/index", "SH000001", 0},
        {"detail/board-index", "BI000101", 101}, {"detail/fund", "OF110022", 0},
        {"detail/foreign-index", "HKHSI", 0},    {"detail/future", "SFIF1212", 0},
        {"detail/currency", "FEUSDCNY", 0},
    };
    readyWithoutAccount();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        auto screen = open(c.code, c.boardID);
        app.advance(1);
        settle();
        EXPECT_TRUE(qvtest::matchesGolden(app.render(), c.golden));
        if (RightStockDetailPanel *panel = screen->rightStockDetailPanel()) {
            panel->slideMenuViewBelow().SetSelectedItemIndex(2);
            panel->ReturnSelectedIndex(2, panel->slideMenuViewBelow());
            EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/stock-fields"));
            // The ring's slices settle after their animation.
            panel->slideMenuViewTop().SetSelectedItemIndex(1);
            panel->ReturnSelectedIndex(1, panel->slideMenuViewTop());
            app.advance(2);
            EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/stock-order-sizes"));
            panel->slideMenuViewTop().SetSelectedItemIndex(2);
            panel->ReturnSelectedIndex(2, panel->slideMenuViewTop());
            EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/stock-boards"));
            // A board's members slid in over the boards.
            ElementBoardView &boards = panel->elementBoardView();
            gfx::Rect row = boards.tableView().rectForRow({0, 1});
            app.tap(boards.tableView().convert(gfx::Point{60, row.midY()}, nullptr));
            settle();
            app.advance(ElementStockView::SlideSeconds + 0.1);
            EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/stock-board-members"));
        }
        nav->pop(false);
        app.runPending();
    }
}

// The pop-up window over a stock's screen, on its intraday chart and on its candles.
TEST_F(DetailScreenTest, ThePopUpWindowOnBothCharts) {
    readyWithoutAccount();
    auto screen = open("SH600000");
    screen->ShowPopStockDetailView("SH600519", "贵州茅台");
    settle();
    app.advance(1);
    PopStockDetailView *pop = screen->popStockDetailView();
    ASSERT_TRUE(pop);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/pop-up-intraday"));
    pop->ReturnSelectedItem(pop->tab(PopStockDetailView::KLineTabTag));
    settle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/pop-up-candles"));
}

// A full page of the tick pager, opened by a double tap on the stock panel's ticks.
TEST_F(DetailScreenTest, AFullPageOfTheTickPager) {
    readyWithoutAccount();
    auto screen = open("SH600000");
    RightStockDetailPanel *panel = screen->rightStockDetailPanel();
    ASSERT_TRUE(panel);
    gfx::Point middle = centre(panel->strikeDetailView());
    app.tap(middle);
    app.tap(middle);
    settle();
    base::Ref<StockDetailFullScreenView> pager = panel->strikeFullScreenView();
    ASSERT_TRUE(pager);
    app.advance(StockDetailFullScreenView::ZoomSeconds);
    int full = pager->maxPageNo() - 1;
    ASSERT_GE(full, 0);
    pager->stockDetailScrollView().setContentOffset({float(full) * StockDetailFullScreenView::PageWidth, 0});
    settle();
    ASSERT_EQ(pager->strikePageDict().getPageInfo(full)->array.size(), 150u);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/tick-pager"));
}

} // namespace
} // namespace detailscreen
