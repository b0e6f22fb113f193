#include "QueryPanelFixture.h"

#include "Class/Module/ToolBarView/EntrustQueryView/EntrustQueryView.h"
#include "Components/CMProgressWaitingView.h"
#include "support/Golden.h"

namespace toolbar {
namespace {

using Cancel = peers::TradeAccountBook::CancelReply;

TEST_F(QueryPanelTest, CancelModeAsksForTheCancelableOrdersAtOnceWithRefreshAndNoDateRow) {
    auto panel = open<EntrustQueryView>(103);
    ASSERT_TRUE(panel);
    EXPECT_EQ(sent(11132), 1);
    EXPECT_EQ(sent(11134), 0);
    EXPECT_TRUE(panel->isQueryCanDisentrust());
    EXPECT_EQ(panel->currentReqType(), 11132);
    EXPECT_FALSE(panel->refreshBtn().isHidden());
    EXPECT_EQ(panel->refreshBtn().frame(), (gfx::Rect{158, 75, 50, 28}));
    EXPECT_TRUE(panel->dateRange()->startDateBtn().isHidden());
    EXPECT_TRUE(panel->dateRange()->endDateBtn().isHidden());
    EXPECT_TRUE(panel->searchBtn()->isHidden());
    EXPECT_EQ(panel->dataArray().size(), 15u);
    EXPECT_EQ(panel->pageStrip().pageInfo(), "从1到15条(共20条)");
    EXPECT_EQ(panel->table().frame(), (gfx::Rect{0, 126, 320, 528}));
    auto first = cell<EntrustTradeCell>(panel->table(), 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->nameLabel->text(), "股票0");
    EXPECT_EQ(first->codeLabel->text(), "600000");
    EXPECT_EQ(first->buySellLabel->text(), "买入");
    EXPECT_EQ(first->stateLabel->text(), "已报");
    EXPECT_EQ(first->NOLabel->text(), "1\n");
    EXPECT_FALSE(first->withDrawBtn->isHidden());
    EXPECT_EQ(first->frame().height(), 85);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/entrust-cancel"));

    panel->refreshAction();
    settle();
    EXPECT_EQ(sent(11132), 2) << "刷新 asks again";
}

TEST_F(QueryPanelTest, QueryModeAsksForTodaysOrdersWithTodayOnBothButtons) {
    auto panel = open<EntrustQueryView>(104);
    ASSERT_TRUE(panel);
    EXPECT_EQ(sent(11134), 1);
    EXPECT_EQ(sent(11132), 0);
    EXPECT_TRUE(panel->refreshBtn().isHidden());
    EXPECT_FALSE(panel->searchBtn()->isHidden());
    EXPECT_EQ(panel->dateRange()->startDate(), today());
    EXPECT_EQ(panel->dateRange()->endDate(), today());
    EXPECT_EQ(panel->dateRange()->startDateBtn().frame(), (gfx::Rect{20, 43, 100, 28}));
    EXPECT_EQ(panel->searchBtn()->frame(), (gfx::Rect{250, 43, 50, 28}));
    EXPECT_EQ(panel->dateRange()->calendar().frame().y(), 119);
    EXPECT_EQ(panel->currentReqType(), 11134);
}

TEST_F(QueryPanelTest, TheCancelButtonShowsByTheListAndTheOrdersMark) {
    auto panel = open<EntrustQueryView>(104);
    ASSERT_TRUE(panel);
    base::Array rows{base::Dict{{"1214", "1"}}, base::Dict{{"1214", "0"}}, base::Dict{}};
    struct Case {
        int reqType;
        bool shown[3];
    } cases[] = {
        {11132, {true, true, true}},
        {11134, {true, false, false}},
        {11136, {false, false, false}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reqType);
        panel->UpdateEntrustArray(rows, "", c.reqType);
        panel->layoutIfNeeded();
        for (int row = 0; row < 3; ++row) {
            auto shown = cell<EntrustTradeCell>(panel->table(), row);
            ASSERT_TRUE(shown);
            EXPECT_EQ(!shown->withDrawBtn->isHidden(), c.shown[row]) << "row " << row;
        }
    }
}

TEST(EntrustQueryView, TheAverageDealPriceIsAmountOverVolume) {
    struct Case {
        base::Dict row;
        const char *average;
    } cases[] = {
        {base::Dict{{"1049", "1000"}, {"1047", "300"}}, "3.333"},
        {base::Dict{{"1049", "1000"}, {"1047", "0"}}, "--"},
        {base::Dict{{"1049", "1000"}}, "--"},
        {base::Dict{{"1047", "100"}}, "0.000"},
        {base::Dict{{"1049", "12.5"}, {"1047", "2"}}, "6.250"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EntrustQueryView::AveragePrice(c.row), c.average);
}

TEST_F(QueryPanelTest, RowsAreNumberedAcrossPagesAndAFailedPageKeepsTheRows) {
    auto panel = open<EntrustQueryView>(104);
    ASSERT_TRUE(panel);
    tap(panel->pageStrip().nextButton());
    settle();
    EXPECT_EQ(panel->pageStrip().pageInfo(), "从16到20条(共20条)");
    auto first = cell<EntrustTradeCell>(panel->table(), 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->NOLabel->text(), "1\n6\n");

    tap(panel->pageStrip().prevButton());
    book->setRows(11134, 40);
    size_t seen = sentCount();
    tap(panel->pageStrip().nextButton());
    tap(panel->pageStrip().nextButton());
    settle();
    EXPECT_EQ(sentSince(seen), std::vector<int>{}) << "page 2 is cached";
    panel->searchAction();
    settle();
    EXPECT_EQ(panel->pageStrip().pageInfo(), "从1到15条(共40条)");
    tap(panel->pageStrip().nextButton());
    settle();
    ASSERT_EQ(tipTexts().size(), 0u) << "the cached pages went with the new search";
    EXPECT_EQ(panel->pageStrip().pageInfo(), "从16到30条(共40条)");
    book->failNext(11134, "查询失败");
    tap(panel->pageStrip().nextButton());
    settle();
    ASSERT_FALSE(tipTexts().empty());
    EXPECT_EQ(tipTexts().back(), "查询失败");
    EXPECT_EQ(panel->dataArray().size(), 15u);
    EXPECT_EQ(panel->pageStrip().pageInfo(), "从16到30条(共40条)");
    EXPECT_FALSE(panel->progressView()->isAnimating());
}

TEST_F(QueryPanelTest, ACancelIsConfirmedSentTippedAndTheListAskedAgainLater) {
    struct Case {
        const char *name;
        Cancel reply;
        bool fail;
        const char *tip; // nullptr: none
        bool refreshed;
    } cases[] = {
        {"accepted with a text", Cancel::WithText, false, "撤单成功", true},
        {"accepted without a text", Cancel::WithoutText, false, "撤单已提交！", true},
        {"accepted without a row", Cancel::NoRow, false, nullptr, false},
        {"refused", Cancel::WithText, true, "该委托已成交", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        book->setRows(11134, 20);
        book->setCancelReply(c.reply);
        auto panel = open<EntrustQueryView>(103);
        ASSERT_TRUE(panel);
        auto first = cell<EntrustTradeCell>(panel->table(), 0);
        ASSERT_TRUE(first);
        size_t alerts = app.alerts().size(), tips = app.toasts().size();
        int cancels = sent(11114);
        tap(*first->withDrawBtn);
        ASSERT_EQ(app.alerts().size(), alerts + 1);
        EXPECT_EQ(app.alerts().back().title, "委托撤单");
        EXPECT_EQ(app.alerts().back().message, "确定要撤单[单号:E0]吗？");
        app.pressAlertButton(0);
        settle();
        EXPECT_EQ(sent(11114), cancels) << "取消 sends nothing";

        tap(*first->withDrawBtn);
        if (c.fail)
            book->failNext(11114, "该委托已成交");
        size_t seen = sentCount();
        app.pressAlertButton(1);
        settle();
        std::vector<int> sentNow = sentSince(seen);
        ASSERT_EQ(sentNow, std::vector<int>{11114});
        EXPECT_EQ(gateway->received(11114).back().value(1042), "E0");
        EXPECT_EQ(gateway->received(11114).back().value(1036), "600000");
        if (c.tip) {
            ASSERT_EQ(app.toasts().size(), tips + 1);
            EXPECT_EQ(app.toasts().back().text, c.tip);
        } else {
            EXPECT_EQ(app.toasts().size(), tips);
        }
        advance(1.4);
        EXPECT_EQ(sentSince(seen), std::vector<int>{});
        advance(0.2);
        EXPECT_EQ(sentSince(seen), c.refreshed ? std::vector<int>{11132} : std::vector<int>{});
        if (c.refreshed) {
            EXPECT_EQ(panel->pageStrip().pageInfo(), "从1到15条(共19条)");
        }
        press(103);
        settleSlides();
    }
}

TEST_F(QueryPanelTest, NoRefreshLeavesOnceThePanelHasClosed) {
    auto panel = open<EntrustQueryView>(104);
    ASSERT_TRUE(panel);
    auto first = cell<EntrustTradeCell>(panel->table(), 0);
    ASSERT_TRUE(first);
    tap(*first->withDrawBtn);
    app.pressAlertButton(1);
    settle();
    ASSERT_EQ(sent(11114), 1);
    tap(*panel->closeButton());
    settleSlides();
    size_t seen = sentCount();
    advance(2);
    EXPECT_EQ(sentSince(seen), std::vector<int>{});
    EXPECT_EQ(panel->superview(), nullptr);
}

TEST_F(QueryPanelTest, SearchesAskTodayEveryTimeAndAHistoryRangeOnce) {
    auto panel = open<EntrustQueryView>(104);
    ASSERT_TRUE(panel);
    TradeDateRange &dates = *panel->dateRange();
    dates.setDates(daysBefore(3), today());
    tap(*panel->searchBtn());
    tap(*panel->searchBtn());
    settle();
    EXPECT_EQ(sent(11136), 1) << "the range on show is not asked again";
    EXPECT_EQ(panel->currentReqType(), 11136);
    EXPECT_EQ(panel->dataArray().size(), 12u) << "the book's orders of the three days before";
    auto past = cell<EntrustTradeCell>(panel->table(), 0);
    ASSERT_TRUE(past);
    EXPECT_TRUE(past->withDrawBtn->isHidden());
    dates.setDates(today(), today());
    tap(*panel->searchBtn());
    tap(*panel->searchBtn());
    EXPECT_EQ(sent(11134), 3);
}

TEST_F(QueryPanelTest, RefusedSearchesSayWhyAndKeepTheRows) {
    auto panel = open<EntrustQueryView>(104);
    ASSERT_TRUE(panel);
    struct Case {
        std::string start, end, message;
    } cases[] = {
        {"2012-1-1", today(), "起始日期(2012-1-1)无效！"},
        {today(), "abc", "截至日期(abc)无效！"},
        {today(), daysBefore(1), "起始日期(" + today() + ")不能大于截至日期(" + daysBefore(1) + ")！"},
    };
    size_t seen = sentCount();
    for (const Case &c : cases) {
        panel->dateRange()->setDates(c.start, c.end);
        tap(*panel->searchBtn());
        ASSERT_FALSE(alertTexts().empty());
        EXPECT_EQ(alertTexts().back(), c.message);
        app.pressAlertButton(0);
    }
    EXPECT_EQ(sentSince(seen), std::vector<int>{});
    db->disconnectTradeServer({});
    settle();
    panel->dateRange()->setDates(today(), today());
    tap(*panel->searchBtn());
    ASSERT_FALSE(alertTexts().empty());
    EXPECT_EQ(alertTexts().back(), "交易服务器已断开，请重新登录！");
    EXPECT_EQ(panel->dataArray().size(), 15u);
}

TEST_F(QueryPanelTest, ACalendarClearsThePageTextAndATappedDayFillsItsButtonWithoutAQuery) {
    auto panel = open<EntrustQueryView>(104);
    ASSERT_TRUE(panel);
    ASSERT_FALSE(panel->pageStrip().pageInfo().empty());
    size_t seen = sentCount();
    tap(panel->dateRange()->startDateBtn());
    EXPECT_FALSE(panel->dateRange()->calendar().isHidden());
    EXPECT_EQ(panel->pageStrip().pageInfo(), "");
    advance(0.8);
    panel->dateRange()->didSelectDate(panel->dateRange()->calendar(), base::Date(0));
    EXPECT_EQ(panel->dateRange()->startDate(), "2001-01-01");
    EXPECT_TRUE(panel->dateRange()->calendar().isHidden());
    EXPECT_EQ(sentSince(seen), std::vector<int>{});
    EXPECT_EQ(panel->dataArray().size(), 15u) << "the rows stay";
}

} // namespace
} // namespace toolbar
