#include "DecisionFixture.h"

#include "Golden.h"

namespace decision {

namespace {

using Tab = DecisionViewController::Tab;

// The decision page and the home page's stage list as users see them, on the loopback market of
// the fixed quotes date.
class GoldensTest : public DecisionTest {
protected:
    void settleAll() {
        settle();
        app.advance(1);
        settle();
        app.runPending();
    }
    bool matches(const std::string &name) { return qvtest::matchesGolden(app.render(), "decision/" + name); }
};

TEST_F(GoldensTest, TheBigOrderListAndABoardsMembers) {
    show();
    chooseTab(Tab::DDETab);
    DDEDecisionView &list = *screen->ddeDecisionView();
    ASSERT_TRUE(waitForRows(list, 12));
    settleAll();
    EXPECT_TRUE(matches("dde-list"));
    list.ReturnSelectedMarket(base::Dict{{"MENU_ID", "MENU_STOCK_HUSHEN_ZXB"},
                                         {"MENU_NAME", AnalysisListView::BoardMenuName},
                                         {"CLASS_ID", "105"}});
    ASSERT_TRUE(runUntil([&] { return list.rowCount() > 1; }, 10));
    list.didSelectRow({0, 1});
    AnalysisBoardStocksView &stocks = *list.boardStocksModelView();
    ASSERT_TRUE(runUntil([&] { return stocks.rowCount() > 10 && stocks.BIBasicInf(); }, 10));
    settleAll();
    EXPECT_TRUE(matches("dde-board-members"));
}

TEST_F(GoldensTest, TheFundFlowRankingInTheWeekColumns) {
    show();
    chooseTab(Tab::SVFundTab);
    SVFundView &ranking = *screen->svfundView();
    ranking.ReturnSelectedMarket(
        base::Dict{{"MENU_ID", "MENU_SVFUND_WEEK"}, {"MENU_NAME", "最近一周"}, {"CLASS_ID", "2"}});
    ASSERT_TRUE(runUntil([&] { return ranking.rowCount() >= 8; }, 10));
    settleAll();
    EXPECT_TRUE(matches("svfund-week"));
}

TEST_F(GoldensTest, TheHomePagesStageStatisticsTab) {
    FrontPageViewController &page = homeWithTab(FrontPageViewController::SectionTab);
    auto homeNav = base::make<ui::NavigationController>(home);
    app.window().setRootViewController(homeNav);
    app.runPending();
    ASSERT_TRUE(waitForRows(*page.sectionAnalysView(), 12));
    settleAll();
    EXPECT_TRUE(matches("home-stage-tab"));
    app.window().setRootViewController(nullptr);
}

} // namespace

} // namespace decision
