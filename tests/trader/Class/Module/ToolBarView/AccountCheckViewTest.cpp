#include "QueryPanelFixture.h"

#include "Class/Module/ToolBarView/AccountCheckView/AccountCheckView.h"
#include "Class/Module/ToolBarView/TradeView/TradeView.h"
#include "Components/CMViewController.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "support/Golden.h"

namespace toolbar {

// Top-level screens by the names the trade message centre knows them by, noting what they open.
struct NotedScreen : CMViewController {
    std::vector<std::string> pushed;
    void PushStockVC(const std::string &code) override { pushed.push_back(code); }
};
struct MarketViewController : NotedScreen {};
struct FreeFrontPageViewController : NotedScreen {};

namespace {

std::vector<std::string> values(AccountCheckView &panel) {
    std::vector<std::string> out;
    for (int i = 0; i < AccountCheckView::kFieldCount; ++i)
        out.push_back(panel.valueLabel(i) ? panel.valueLabel(i)->text() : "?");
    return out;
}

class FundsTest : public QueryPanelTest {
protected:
    FundsTest() { book->trade(); }
    // A panel made as the tool bar makes it, before its replies have come.
    base::Ref<AccountCheckView> madeAndNotSettled() {
        logIn();
        showBar();
        auto panel = base::make<AccountCheckView>(gfx::Rect{654, 65, 320, 654});
        panel->parentView = host->viewRef();
        panel->toolBarView = bar;
        panel->ShowView();
        return panel;
    }
};

TEST_F(FundsTest, TheFieldsShowZerosThenTheMarkedCurrency) {
    auto panel = madeAndNotSettled();
    EXPECT_EQ(values(*panel), std::vector<std::string>(6, "0.00"));
    EXPECT_EQ(panel->valueLabel(0)->frame(), (gfx::Rect{80, 65, 80, 30}));
    EXPECT_EQ(panel->valueLabel(5)->frame(), (gfx::Rect{240, 125, 80, 30}));
    // 美元 marked while the funds are on their way.
    panel->SwitchCurrencyTab(212);
    settle();
    EXPECT_EQ(values(*panel),
              (std::vector<std::string>{"2500.00", "2500.00", "0.00", "2500.00", "0.00", "2500.00"}));
    EXPECT_FALSE(panel->currencyTab(1)->isEnabled()) << "美元 stays marked";
    EXPECT_TRUE(panel->currencyTab(0)->isEnabled());
    tap(*panel->currencyTab(0));
    EXPECT_EQ(panel->valueLabel(1)->text(), "100000.00");
    EXPECT_EQ(*panel->currencyTab(0)->backgroundColor(), *AccountCheckView::fundsColor());
    EXPECT_EQ(*panel->currencyTab(1)->backgroundColor(), *gfx::Color::white());
    EXPECT_EQ(std::vector<int>({sent(11104), sent(11146)}), std::vector<int>({1, 1}));
    size_t seen = 0;
    std::vector<int> order = sentSince(seen);
    EXPECT_LT(std::find(order.begin(), order.end(), 11104), std::find(order.begin(), order.end(), 11146))
        << "funds first";
}

TEST_F(FundsTest, AMissingRowOrFieldShowsDashes) {
    book->failNext(11104, "资金查询失败");
    auto panel = open<AccountCheckView>(100);
    ASSERT_TRUE(panel);
    EXPECT_EQ(values(*panel), std::vector<std::string>(6, "--")) << "a failed reply";
    ASSERT_FALSE(tipTexts().empty());
    EXPECT_EQ(tipTexts().back(), "资金查询失败");
    press(100);
    settleSlides();

    gateway->setReply(11104, "21004=11105\x01"
                             "21000=0\x01"
                             "21002=\x01"
                             "1028=0\x01"
                             "1077=1.00\x01"
                             "1078=2.00\x01"
                             "1065=3.00\x01"
                             "1087=4.00\x01"
                             "1064=5.00\x01"
                             "21003=\x01");
    panel = open<AccountCheckView>(100);
    ASSERT_TRUE(panel);
    EXPECT_EQ(values(*panel), (std::vector<std::string>{"1.00", "2.00", "3.00", "4.00", "5.00", "--"}));
    panel->SwitchCurrencyTab(213);
    EXPECT_EQ(values(*panel), std::vector<std::string>(6, "--")) << "no row for 港元";
}

TEST_F(FundsTest, TheHoldingsPage) {
    auto panel = open<AccountCheckView>(100);
    ASSERT_TRUE(panel);
    ASSERT_EQ(panel->dataArray().size(), 4u);
    EXPECT_EQ(panel->pageStrip().pageInfo(), "从1到4条(共4条)");
    EXPECT_EQ(panel->table().frame(), (gfx::Rect{0, 192, 320, 462}));
    auto first = cell<AccountCell>(panel->table(), 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->nameLabel->text(), "平安银行");
    EXPECT_EQ(first->codeLabel->text(), "000001");
    EXPECT_EQ(first->valueLabel->text(), "13.88");
    EXPECT_EQ(first->amountLabel->text(), "3000");
    EXPECT_EQ(first->sellLabel->text(), "3000");
    EXPECT_EQ(first->noLabel->text(), "1\n");
    EXPECT_EQ(first->sellBtn().frame(), (gfx::Rect{300, 0, 20, 69}));
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/funds-panel"));
}

TEST_F(FundsTest, AHoldingOpensOnTheQuoteScreensThatShowSecurities) {
    auto panel = open<AccountCheckView>(100);
    ASSERT_TRUE(panel);
    auto market = base::make<MarketViewController>();
    auto freeHome = base::make<FreeFrontPageViewController>();
    base::Ref<TradeMsgCenter> center = TradeMsgCenter::sharedTradeMsgCenter();
    center->setCurrentActiveVCHandle(market);
    tap(*cell<AccountCell>(panel->table(), 1)->nameLabel); // 000858, Shenzhen
    tap(*cell<AccountCell>(panel->table(), 2)->nameLabel); // 600000, Shanghai
    EXPECT_EQ(market->pushed, (std::vector<std::string>{"SZ000858", "SH600000"}));
    center->setCurrentActiveVCHandle(freeHome);
    tap(*cell<AccountCell>(panel->table(), 2)->nameLabel);
    EXPECT_TRUE(freeHome->pushed.empty());

    center->setCurrentActiveVCHandle(market);
    base::Array rows{base::Dict{{"1036", "600519"}, {"1019", "X999"}}};
    panel->UpdateHoldArray(rows, "");
    panel->layoutIfNeeded();
    tap(*cell<AccountCell>(panel->table(), 0)->nameLabel);
    EXPECT_EQ(market->pushed.back(), "600519") << "an unknown shareholder code gives the bare code";
    center->setCurrentActiveVCHandle({});
}

TEST_F(FundsTest, SellReplacesThePanelByTheFilledSellPanel) {
    auto panel = open<AccountCheckView>(100);
    ASSERT_TRUE(panel);
    tap(cell<AccountCell>(panel->table(), 2)->sellBtn());
    settleSlides();
    settle();
    auto order = this->panel<TradeView>();
    ASSERT_TRUE(order);
    EXPECT_EQ(bar->prevType(), 102);
    EXPECT_EQ(order->tradeButton().currentTitle(), "卖出");
    EXPECT_EQ(order->codeField().text(), "600000");
    EXPECT_EQ(order->nameLabel().text(), "浦发银行");
    EXPECT_EQ(order->priceField().text(), "8.12");
    EXPECT_EQ(order->volumeField().text(), "");
    EXPECT_EQ(panel->superview(), nullptr);
}

TEST_F(FundsTest, SellWithTheConnectionDownClosesTheBar) {
    auto panel = open<AccountCheckView>(100);
    ASSERT_TRUE(panel);
    db->disconnectTradeServer({});
    settle();
    tap(cell<AccountCell>(panel->table(), 0)->sellBtn());
    settleSlides();
    settle();
    EXPECT_EQ(launches(), 1);
    EXPECT_TRUE(bar->isClose());
    EXPECT_EQ(bar->superview(), nullptr);
}

} // namespace
} // namespace toolbar
