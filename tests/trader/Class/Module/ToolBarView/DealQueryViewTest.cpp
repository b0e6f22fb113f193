#include "QueryPanelFixture.h"

#include "Class/Module/ToolBarView/DealQueryView/DealQueryView.h"
#include "support/Golden.h"

namespace toolbar {
namespace {

TEST_F(QueryPanelTest, TheDealPanelShowsTodaysDealsOnOpeningAndAnEarlierStartAsksTheHistory) {
    auto panel = open<DealQueryView>(105);
    ASSERT_TRUE(panel);
    EXPECT_EQ(sent(11140), 1) << "without any tap";
    EXPECT_EQ(sent(11142), 0);
    EXPECT_EQ(panel->dataArray().size(), 15u);
    EXPECT_EQ(panel->dateRange()->calendar().frame().y(), 76);
    EXPECT_EQ(panel->table().frame(), (gfx::Rect{0, 126, 320, 528}));
    auto first = cell<DealTradeCell>(panel->table(), 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->frame().height(), 60);
    EXPECT_EQ(first->NOLabel->text(), "1\n");
    EXPECT_EQ(first->nameLabel->text(), "股票1000");
    EXPECT_EQ(first->stateLabel->text(), "买入");
    EXPECT_EQ(first->dealTypeLabel->text(), "普通成交");
    EXPECT_EQ(first->dealVolLabel->text(), "100100") << "the whole order";

    size_t seen = sentCount();
    app.tap({160, 126 + 30});
    settle();
    EXPECT_EQ(sentSince(seen), std::vector<int>{}) << "a tap on a deal does nothing";
    EXPECT_EQ(bar->prevView(), panel);

    tap(panel->pageStrip().nextButton());
    settle();
    first = cell<DealTradeCell>(panel->table(), 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->NOLabel->text(), "1\n6\n");

    panel->dateRange()->setDates(daysBefore(2), today());
    tap(*panel->searchBtn());
    settle();
    EXPECT_EQ(sent(11142), 1);
    EXPECT_EQ(sent(11140), 2) << "the first page and the second";
    ASSERT_EQ(gateway->received(11142).size(), 1u);
    EXPECT_EQ(gateway->received(11142)[0].value(1022), book->daysBefore(2));
    EXPECT_EQ(gateway->received(11142)[0].value(1023), book->daysBefore(0));
}

TEST_F(QueryPanelTest, TheDealPanelWithItsEndCalendarOpen) {
    auto panel = open<DealQueryView>(105);
    ASSERT_TRUE(panel);
    tap(panel->dateRange()->endDateBtn());
    advance(0.8);
    EXPECT_FALSE(panel->dateRange()->endCalendar().isHidden());
    EXPECT_EQ(panel->pageStrip().pageInfo(), "");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/deal-calendar"));
}

} // namespace
} // namespace toolbar
