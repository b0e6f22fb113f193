#include "ToolBarFixture.h"

#include "Class/Module/ToolBarView/TradeView/AccountSelViewController.h"
#include "Class/Module/ToolBarView/TradeView/TradeView.h"
#include "Common/Util.h"
#include "Components/CMProgressWaitingView.h"
#include "DataBase/DataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "peers/TradeAccountBook.h"
#include "support/Golden.h"

#include "ui/NavigationController.h"

#include <algorithm>
#include <cstdio>

namespace toolbar {
namespace {

TEST(TradePrice, GatewayPricesBecomeThousandthsDigitByDigit) {
    struct Case {
        const char *text;
        int32_t thousandths;
    } cases[] = {
        {"2.01", 2010},   {"8.03", 8030},   {"1.001", 1001},   {"10.01", 10010}, {"0.07", 70},
        {"2.0105", 2011}, {"2.0104", 2010}, {"2.00949", 2009}, {"12", 12000},    {"3.", 3000},
        {".5", 500},      {"-1.25", -1250}, {"", 0},           {"abc", 0},       {" 4.2 ", 4200},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TradeView::PriceThousandths(c.text), c.thousandths) << c.text;
    int mismatches = 0;
    for (int cents = 1; cents <= 10000; ++cents) {
        char text[16];
        std::snprintf(text, sizeof text, "%d.%02d", cents / 100, cents % 100);
        mismatches += TradeView::PriceThousandths(text) != cents * 10;
    }
    EXPECT_EQ(mismatches, 0) << "every price from 0.01 to 100.00";
}

// The logged-in bar over the loopback gateway with its trading account book and the market's
// securities; the quote layer's code library holds a few securities for the search.
class OrderTest : public ToolBarTest {
protected:
    OrderTest() {
        book = std::make_unique<peers::TradeAccountBook>(*gateway, "20121207");
        book->trade();
        book->setMarket(peers::MarketFixture::standard());
    }
    ~OrderTest() override {
        DataBase::sharedDataBase()->IO_NetDataCenter()->IO_MktStockCodeLib = base::Array();
    }

    base::Ref<TradeView> open(int tag) {
        if (!db->IO_TradeNetData()->isLoginSuccess())
            logIn();
        if (!bar)
            showBar();
        press(tag);
        settleSlides();
        settle();
        return panel<TradeView>();
    }
    // The code typed into the field and left.
    void load(TradeView &order, const std::string &code) {
        order.codeField().setText(code);
        order.codeEditingEnded();
        settle();
    }
    void type(TradeView &order, const std::string &text) {
        order.codeField().becomeFirstResponder();
        for (char c : text)
            app.typeText(std::string(1, c));
        settle();
    }
    // A security reply of the gateway's made of these pairs.
    void scriptSecurity(std::string pairs) {
        gateway->setReply(11102, "21004=11103\x01"
                                 "21000=0\x01"
                                 "21002=\x01" +
                                     pairs + "21003=\x01");
    }
    void fillForm(TradeView &order, const std::string &code, const std::string &volume) {
        load(order, code);
        order.volumeField().setText(volume);
    }

    std::unique_ptr<peers::TradeAccountBook> book;
};

std::string pairs(std::initializer_list<std::pair<int, std::string>> list) {
    std::string text;
    for (const auto &[tag, value] : list)
        text += std::to_string(tag) + "=" + value + "\x01";
    return text;
}

TEST_F(OrderTest, TheBuyPanelShowsFundsThenTheLoadedSecurity) {
    base::Ref<TradeView> order = open(101);
    ASSERT_TRUE(order);
    EXPECT_EQ(order->fundsLine().text(), "可用资金: 100000.00") << "the renminbi row's funds";
    EXPECT_EQ(order->accountButton().currentTitle(), "A880001");
    EXPECT_EQ(order->tradeButton().currentTitle(), "买入");
    EXPECT_EQ(order->volumeLine().text(), "可买数量: --");
    EXPECT_EQ(order->nameLabel().text(), "--");
    struct Geometry {
        ui::View &view;
        gfx::Rect frame;
        int tag;
    } controls[] = {
        {order->accountButton(), {10, 51, 240, 43}, 0},      {order->codeField(), {10, 102, 120, 28}, 231},
        {order->nameLabel(), {140, 102, 110, 28}, 0},        {order->priceField(), {10, 138, 240, 28}, 232},
        {order->volumeLine(), {10, 174, 240, 28}, 235},      {order->volumeField(), {41, 210, 178, 28}, 233},
        {order->subButton(), {10, 210, 28, 28}, 100},        {order->addButton(), {222, 210, 28, 28}, 101},
        {order->fundsLine(), {10, 246, 240, 28}, 234},       {order->tradeButton(), {10, 282, 240, 28}, 236},
        {order->buySellPanelView(), {10, 354, 240, 177}, 0}, {order->upLimitLabel(), {58, 539, 72, 28}, 0},
        {order->downLimitLabel(), {178, 539, 72, 28}, 0},
    };
    for (const Geometry &g : controls) {
        EXPECT_EQ(g.view.frame(), g.frame);
        EXPECT_EQ(g.view.tag, g.tag);
    }

    load(*order, "600000");
    EXPECT_EQ(order->nameLabel().text(), "浦发银行");
    EXPECT_EQ(order->curExchangeNum(), 1);
    EXPECT_EQ(order->curAccountType(), 3);
    EXPECT_EQ(order->priceField().text(), Util::FormatPrice(order->curStockInf()->sellPrice[0], 3))
        << "best ask";
    EXPECT_NE(order->volumeLine().text(), "可买数量: --") << "asked with funds, price, type and exchange";
    EXPECT_EQ(gateway->received(11110).size(), 1u);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/buy-panel"));
}

TEST_F(OrderTest, TheFundsAreThoseOfTheRenminbiRowElseOfTheFirst) {
    struct Case {
        const char *name, *rows, *funds;
    } cases[] = {
        {"renminbi second",
         "21002=\x01"
         "1028=1\x01"
         "1078=10.00\x01"
         "21003=\x01"
         "21002=\x01"
         "1028=0\x01"
         "1078=20.00\x01"
         "21003=\x01",
         "20.00"},
        {"no renminbi",
         "21002=\x01"
         "1028=2\x01"
         "1078=30.00\x01"
         "21003=\x01",
         "30.00"},
        {"no row", "", "--"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        gateway->setReply(11104, std::string("21004=11105\x01"
                                             "21000=0\x01") +
                                     c.rows);
        base::Ref<TradeView> order = open(101);
        ASSERT_TRUE(order);
        EXPECT_EQ(order->fundsLine().text(), std::string("可用资金: ") + c.funds);
        EXPECT_FALSE(order->progressView()->isAnimating());
        press(101);
        settleSlides();
    }
}

TEST_F(OrderTest, TheSecurityReplyFillsTheRecordExactly) {
    struct Case {
        const char *name;
        int tag;
        const char *ask1, *bid1, *last, *price;
    } cases[] = {
        {"buy takes the best ask", 101, "2.01", "8.03", "1.001", "2.010"},
        {"sell takes the best bid", 102, "2.01", "8.03", "1.001", "8.030"},
        {"buy without an ask takes the last", 101, "0", "8.03", "10.01", "10.010"},
        {"sell without a bid takes the last", 102, "2.01", "0.000", "10.01", "10.010"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        scriptSecurity(pairs({{1036, "600000"},
                              {1037, "浦发银行"},
                              {1003, "1"},
                              {1021, "3"},
                              {1167, c.ask1},
                              {1168, "2.02"},
                              {1156, c.bid1},
                              {1159, "9.99"},
                              {1160, "8.01"},
                              {1172, "10.01"},
                              {1173, "8.03"},
                              {1178, "9.10"},
                              {1181, c.last},
                              {1151, "300"},
                              {1162, "700"}}));
        base::Ref<TradeView> order = open(c.tag);
        ASSERT_TRUE(order);
        load(*order, "600000");
        const StockBasicInf &record = *order->curStockInf();
        EXPECT_EQ(record.sellPrice[0], TradeView::PriceThousandths(c.ask1));
        EXPECT_EQ(record.sellPrice[1], 2020);
        EXPECT_EQ(record.buyPrice[0], TradeView::PriceThousandths(c.bid1));
        EXPECT_EQ(record.buyPrice[2], 0) << "1159 is no bid";
        EXPECT_EQ(record.buyPrice[3], 8010);
        EXPECT_EQ(record.highprice, 10010);
        EXPECT_EQ(record.lowprice, 8030);
        EXPECT_EQ(record.closeprice, 9100);
        EXPECT_EQ(record.buyVol[0], 300);
        EXPECT_EQ(record.sellVol[0], 700);
        EXPECT_EQ(order->priceField().text(), c.price);
        EXPECT_EQ(order->upLimitLabel().text(), "10.010");
        EXPECT_EQ(order->downLimitLabel().text(), "8.030");
        press(c.tag);
        settleSlides();
    }
}

TEST_F(OrderTest, RepliesForAnotherCodeAreIgnored) {
    base::Ref<TradeView> order = open(101);
    scriptSecurity(pairs({{1036, "000001"}, {1037, "平安银行"}, {1003, "2"}, {1021, "2"}, {1181, "14.52"}}));
    load(*order, "600000");
    EXPECT_EQ(order->nameLabel().text(), "--");
    EXPECT_EQ(order->curExchangeNum(), -1);
}

TEST_F(OrderTest, TheAccountFollowsTheSecuritysTypeAndTheDefaultMark) {
    gateway->setLoginAccountRows("21002=\x01"
                                 "1021=2\x01"
                                 "1019=0SZ1\x01"
                                 "21003=\x01"
                                 "21002=\x01"
                                 "1021=3\x01"
                                 "1019=ASH1\x01"
                                 "21003=\x01"
                                 "21002=\x01"
                                 "1021=3\x01"
                                 "1019=ASH2\x01"
                                 "1394=1\x01"
                                 "21003=\x01");
    base::Ref<TradeView> order = open(101);
    EXPECT_EQ(order->accountStr(), "0SZ1") << "the first account at creation";
    load(*order, "600000");
    EXPECT_EQ(order->accountStr(), "ASH2") << "the default one of the type";
    EXPECT_EQ(order->accountButton().currentTitle(), "ASH2");
    load(*order, "000002");
    EXPECT_EQ(order->accountStr(), "0SZ1") << "the first of the type";

    order->accountAction();
    ASSERT_TRUE(order->accountPopover());
    auto *nav = dynamic_cast<ui::NavigationController *>(&order->accountPopover()->content());
    ASSERT_NE(nav, nullptr);
    auto *picker = dynamic_cast<AccountSelViewController *>(nav->viewControllers().front().get());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->title(), "选择账号");
    picker->view();
    EXPECT_EQ(picker->pickerView().selectedRow(0), 0);
    EXPECT_EQ(picker->rowTitle(2), "ASH2");
    picker->didSelect(1);
    EXPECT_EQ(order->accountStr(), "ASH1");
    EXPECT_EQ(order->curAccountType(), 3);
    EXPECT_EQ(order->cruSelAccount(), 1);
    EXPECT_TRUE(order->accountPopover()->isVisible()) << "the picker stays open";
}

TEST_F(OrderTest, WithoutAccountsThePickerAndTheOrderRefuse) {
    gateway->setLoginAccountRows("");
    base::Ref<TradeView> order = open(101);
    EXPECT_EQ(order->accountButton().currentTitle(), "");
    tap(order->accountButton());
    ASSERT_FALSE(alertTexts().empty());
    EXPECT_EQ(alertTexts().back(), "未能查询到股东账号！");
    EXPECT_EQ(app.alerts().back().title, "提示");
    EXPECT_FALSE(order->accountPopover());
    app.pressAlertButton(0);
    fillForm(*order, "600000", "100");
    tap(order->tradeButton());
    EXPECT_EQ(alertTexts().back(), "没有股东账号不能交易。");
}

TEST_F(OrderTest, TheSellPanelShowsTheSellableVolumeOfTheHolding) {
    base::Ref<TradeView> order = open(102);
    EXPECT_EQ(order->tradeButton().currentTitle(), "卖出");
    EXPECT_EQ(order->volumeLine().text(), "可卖数量: --");
    load(*order, "600000");
    EXPECT_EQ(order->volumeLine().text(), "可卖数量: 5000");
    EXPECT_TRUE(gateway->received(11110).empty()) << "a sell asks the holdings, not 11110";
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/sell-panel"));
}

TEST_F(OrderTest, AFailedVolumeQueryIsSilentAndNoFundsAskNothing) {
    book->failNext(11110, "查询失败");
    base::Ref<TradeView> order = open(101);
    size_t tips = tipTexts().size();
    load(*order, "600000");
    EXPECT_EQ(order->volumeLine().text(), "可买数量: --");
    EXPECT_EQ(tipTexts().size(), tips);

    press(101);
    settleSlides();
    book->failNext(11104, "资金查询失败");
    order = open(101);
    EXPECT_EQ(tipTexts().back(), "资金查询失败");
    EXPECT_EQ(order->fundsLine().text(), "可用资金: --");
    size_t asked = gateway->received(11110).size();
    load(*order, "600000");
    EXPECT_EQ(gateway->received(11110).size(), asked) << "no funds, no 11110";
}

TEST_F(OrderTest, TheVolumeButtonsStepByAHundredNeverBelowZero) {
    base::Ref<TradeView> order = open(101);
    struct Case {
        const char *before;
        int tag;
        const char *after;
    } cases[] = {
        {"", 101, "100"}, {"", 100, "0"}, {"50", 100, "0"}, {"250", 100, "150"}, {"250", 101, "350"}};
    for (const Case &c : cases) {
        order->volumeField().setText(c.before);
        tap(c.tag == 100 ? order->subButton() : order->addButton());
        EXPECT_EQ(order->volumeField().text(), c.after) << c.before << " " << c.tag;
    }
}

TEST_F(OrderTest, ABookRowSetsThePrice) {
    base::Ref<TradeView> order = open(101);
    load(*order, "600000");
    BuySellPanelView &book = order->buySellPanelView();
    book.tableView().layoutIfNeeded();
    base::Ref<ui::TableCell> ask5 = book.tableView().cellForRow({0, 0});
    ASSERT_TRUE(ask5);
    tap(*ask5);
    EXPECT_EQ(order->priceField().text(), Util::FormatPrice(order->curStockInf()->sellPrice[4], 3));
}

TEST_F(OrderTest, TheCodeFieldTakesSixCharactersAndFewerForgetTheSecurity) {
    base::Ref<TradeView> order = open(101);
    type(*order, "6000001");
    EXPECT_EQ(order->codeField().text(), "600000") << "a seventh character is refused";
    order->codeEditingEnded();
    settle();
    EXPECT_EQ(order->nameLabel().text(), "浦发银行");
    app.pressBackspace();
    settle();
    EXPECT_EQ(order->codeField().text(), "60000");
    EXPECT_EQ(order->nameLabel().text(), "--");
    EXPECT_EQ(order->curInputCode(), "");
    EXPECT_EQ(order->curExchangeNum(), -1);
    EXPECT_EQ(order->priceField().text(), "");
    EXPECT_EQ(order->upLimitLabel().text(), "--");
}

TEST_F(OrderTest, TheSearchListsCodesAndInitialsAndAPickLoadsTheCode) {
    base::Array stocks;
    for (int i = 0; i < 300; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "%06d", 100000 + i);
        stocks.add(base::Dict{{"SCode", code}, {"SName", "生成"}, {"SPinY", "SC"}});
    }
    DataBase::sharedDataBase()->IO_NetDataCenter()->IO_MktStockCodeLib = base::Array{
        base::Dict{
            {"title", "SH"},
            {"Lib", base::Array{base::Dict{{"SCode", "600000"}, {"SName", "浦发银行"}, {"SPinY", "PFYH"}},
                                base::Dict{{"SCode", "601600"}, {"SName", "中国铝业"}, {"SPinY", "ZGLY"}},
                                base::Dict{{"SCode", "900600"}, {"SName", "六百"}, {"SPinY", "L600"}},
                                base::Dict{{"SCode", "000600"}, {"SName", "建投能源"}, {"SPinY", "600"}}}}},
        base::Dict{{"title", "SZ"}, {"Lib", stocks}}};
    base::Ref<TradeView> order = open(101);
    type(*order, "600");
    ASSERT_TRUE(order->searchPopover());
    EXPECT_TRUE(order->searchPopover()->isVisible());
    std::vector<std::pair<std::string, int>> ranked;
    for (const base::Value &row : order->searchResultArray())
        ranked.emplace_back(row["code"].stringValue(), int(row["order"].intValue()));
    std::vector<std::pair<std::string, int>> expected{
        {"SH000600", 100}, {"SH600000", 99}, {"SH601600", 96}, {"SH900600", 96}};
    EXPECT_EQ(ranked, expected) << "initials only for codes without the text";

    order->codeField().setText("");
    type(*order, "1");
    EXPECT_EQ(order->searchResultArray().size(), 70u) << "the best 70 of at most 200";

    order->codeField().setText("");
    type(*order, "pfy");
    ASSERT_EQ(order->searchResultArray().size(), 1u);
    order->ReturnSelectedStock("SH600000");
    settle();
    EXPECT_EQ(order->codeField().text(), "600000");
    EXPECT_FALSE(order->searchPopover());
    EXPECT_EQ(order->nameLabel().text(), "浦发银行");
}

TEST_F(OrderTest, TheOrderButtonChecksInOrder) {
    base::Ref<TradeView> order = open(101);
    struct Case {
        const char *code, *price, *volume, *refusal;
    } cases[] = {
        {"60000", "8.00", "100", "股票代码须为完整 6 位。"},
        {"600000", "", "100", "委托价格必须填写。"},
        {"600000", "8.00", "", "委托数量必须填写。"},
    };
    for (const Case &c : cases) {
        load(*order, c.code);
        order->priceField().setText(c.price);
        order->volumeField().setText(c.volume);
        tap(order->tradeButton());
        EXPECT_EQ(alertTexts().back(), c.refusal);
        EXPECT_EQ(app.alerts().back().title, "提示");
        app.pressAlertButton(0);
    }
    EXPECT_TRUE(gateway->received(11116).empty());
}

TEST_F(OrderTest, ATypedCodeNotYetLoadedIsAskedForAndTheOrderWaitsForIt) {
    base::Ref<TradeView> order = open(101);
    load(*order, "600000");
    size_t seen = gateway->received().size();
    order->codeField().setText("000002");
    order->volumeField().setText("100");
    tap(order->tradeButton());
    EXPECT_EQ(alertTexts().back(), TradeView::kNotReady);
    EXPECT_EQ(sentSince(seen), (std::vector<int>{11102, 11110})) << "the code loaded, no order";
    EXPECT_EQ(order->curExchangeNum(), 2) << "the new security's exchange";
    app.pressAlertButton(0);
    tap(order->tradeButton());
    EXPECT_EQ(app.alerts().back().title, "委托买入");
}

TEST_F(OrderTest, TheConfirmationSendsTheLoadedSecurityAndClearsTheFormAtOnce) {
    base::Ref<TradeView> order = open(102);
    fillForm(*order, "000858", "200");
    std::string price = order->priceField().text();
    tap(order->tradeButton());
    ASSERT_FALSE(app.visibleAlerts().empty());
    base::Ref<ui::Alert> alert = app.visibleAlerts().back();
    EXPECT_EQ(alert->title(), "委托卖出");
    EXPECT_EQ(alert->message(), "    股东帐号：0880001\n    股票名称：五粮液\n    股票代码：000858\n"
                                "    委托数量：200\n    委托价格：" +
                                    price + "\n        是否交易？\n");
    EXPECT_EQ(alert->buttonTitle(0), "返回");
    EXPECT_EQ(alert->buttonTitle(1), "确定");
    EXPECT_EQ(alert->messageLabel().textAlignment(), gfx::Align::Left);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/order-confirmation"));
    ASSERT_TRUE(app.pressAlertButton(0));
    driver.runUntilIdle();
    EXPECT_TRUE(gateway->received(11116).empty()) << "返回 sends nothing";

    tap(order->tradeButton());
    ASSERT_TRUE(app.pressAlertButton(1));
    EXPECT_EQ(order->codeField().text(), "") << "emptied before the reply";
    EXPECT_EQ(order->priceField().text(), "");
    EXPECT_EQ(order->volumeField().text(), "");
    EXPECT_EQ(order->nameLabel().text(), "--");
    EXPECT_EQ(order->volumeLine().text(), "可卖数量: --");
    EXPECT_TRUE(order->isOrderTimerRunning());
    settle();
    std::vector<peers::TradeRequest> sent = gateway->received(11116);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].value(1036), "000858");
    EXPECT_EQ(sent[0].value(1003), "2");
    EXPECT_EQ(sent[0].value(1021), "2");
    EXPECT_EQ(sent[0].value(1019), "0880001");
    EXPECT_EQ(sent[0].value(1026), "1");
    EXPECT_EQ(sent[0].value(1040), "200");
    EXPECT_EQ(sent[0].value(1041), price);
    EXPECT_FALSE(order->isOrderTimerRunning());
    ASSERT_FALSE(tipTexts().empty());
    EXPECT_EQ(tipTexts().back(), "委托成功，委托编号：E0");
    EXPECT_TRUE(book->order("E0"));
}

// The connection answers a request the gateway never answers after its own 10 s: that failure ends
// the order timer before its 15 s, and the user reads the connection's reason.
TEST_F(OrderTest, AWithheldOrderReplyEndsInTheConnectionsFailureWithoutASecondAlert) {
    base::Ref<TradeView> order = open(101);
    gateway->addFault(peers::TradeFault::on(11116).silence());
    fillForm(*order, "600000", "100");
    tap(order->tradeButton());
    ASSERT_TRUE(app.pressAlertButton(1));
    EXPECT_TRUE(order->isOrderTimerRunning());
    driver.advance(10.5);
    EXPECT_FALSE(order->isOrderTimerRunning());
    EXPECT_EQ(tipTexts().back(), TradeDataBase::kDisconnectedText);
    size_t alerts = app.alerts().size();
    driver.advance(10);
    EXPECT_EQ(app.alerts().size(), alerts);
}

TEST_F(OrderTest, TheTimerPopoverAndRegistrationEndWithThePanel) {
    base::Ref<TradeView> order = open(101);
    gateway->addFault(peers::TradeFault::on(11116).silence());
    fillForm(*order, "600000", "100");
    tap(order->tradeButton());
    ASSERT_TRUE(app.pressAlertButton(1));
    type(*order, "60");
    ASSERT_TRUE(order->searchPopover());
    base::Ref<ui::Popover> popover = order->searchPopover();
    EXPECT_EQ(TradeMsgCenter::sharedTradeMsgCenter()->tradeViewHandle(), order);
    base::Weak<TradeView> weak = order;
    order.reset();
    bar->LockToolBar(); // the auto-lock while the popover is up
    settleSlides();
    EXPECT_TRUE(weak.expired());
    EXPECT_FALSE(popover->isVisible());
    EXPECT_FALSE(TradeMsgCenter::sharedTradeMsgCenter()->tradeViewHandle());
    size_t alerts = app.alerts().size(), tips = tipTexts().size();
    driver.advance(20);
    EXPECT_EQ(app.alerts().size(), alerts) << "a late firing reaches nobody";
    EXPECT_EQ(tipTexts().size(), tips) << "nor does the late failure of the order";
}

TEST_F(OrderTest, APanelSlidingOutLeavesTheRepliesToItsSuccessor) {
    base::Ref<TradeView> buy = open(101);
    book->failNext(11104, "资金查询失败");
    press(102); // the buy panel slides out while the sell panel asks for the funds
    settle();
    base::Ref<TradeView> sell = panel<TradeView>();
    ASSERT_TRUE(sell);
    EXPECT_NE(sell, buy);
    std::vector<std::string> tips = tipTexts();
    EXPECT_EQ(std::count(tips.begin(), tips.end(), "资金查询失败"), 1) << "one tip, not two";
}

TEST_F(OrderTest, CodesHandedOverLoadIntoTheOpenPanel) {
    TradeMsgCenter::sharedTradeMsgCenter()->SetCurrentProductInTradeView("600036");
    base::Ref<TradeView> order = open(101);
    EXPECT_EQ(order->codeField().text(), "600036") << "the detail screen's code at creation";
    EXPECT_EQ(order->nameLabel().text(), "招商银行");
    TradeMsgCenter::sharedTradeMsgCenter()->SetCurrentProductInTradeView("000002");
    settle();
    EXPECT_EQ(order->nameLabel().text(), "万科A");

    press(102);
    settleSlides();
    settle();
    base::Ref<TradeView> sell = panel<TradeView>();
    ASSERT_TRUE(sell);
    size_t asked = gateway->received(11102).size();
    bar->SetTradeCode("600519", "贵州茅台", "201.30", "200");
    EXPECT_EQ(sell->nameLabel().text(), "贵州茅台") << "the holding first";
    EXPECT_EQ(sell->priceField().text(), "201.30");
    settle();
    EXPECT_EQ(gateway->received(11102).size(), asked + 1);
    EXPECT_EQ(sell->volumeLine().text(), "可卖数量: 200");
    EXPECT_EQ(sell->volumeField().text(), "") << "the volume is not used";
}

} // namespace
} // namespace toolbar
