#include "QueryRecorder.h"

namespace tradequery {
namespace {

// The account book trading as the stand-alone gateway runs it: orders placed through the trade
// connection move funds and holdings as a broker would, read back through the landed query objects.
class BrokerBookTest : public TradeQueryTest {
protected:
    BrokerBookTest() {
        book->trade();
        money->setDelegate(recorder);
    }
    void order(const char *code, const char *price, const char *volume, int buySell) {
        db->IO_TradeNetData()->RequestBuySell(std::monostate(), 3, "", 1, code, price, volume, buySell);
        settle();
    }
    std::string available() {
        money->reqMoney();
        settle();
        return recorder->funds ? (*recorder->funds)[0]["1078"].stringValue() : "none";
    }
    // Code, shares, frozen and sellable shares of each holding.
    std::vector<std::string> holdings() {
        money->reqHold();
        settle();
        std::vector<std::string> out;
        for (const base::Value &row : money->getDataArrayOfCurrentPage().value_or(base::Array()))
            out.push_back(row["1036"].stringValue() + ":" + row["1060"].stringValue() + ":" +
                          row["1052"].stringValue() + ":" + row["1061"].stringValue());
        return out;
    }

    base::Ref<QueryRecorder> recorder = base::make<QueryRecorder>();
    base::Ref<MoneyHoldData> money = TradeDataLayerBase::create<MoneyHoldData>("MoneyHoldNotify");
};

TEST_F(BrokerBookTest, ABuyFreezesMoneyACancelReleasesItAndAFillMovesItIntoHoldings) {
    EXPECT_EQ(available(), "100000.00");
    order("600036", "10.00", "1000", 0);
    EXPECT_EQ(available(), "90000.00") << "the buy's money is frozen";
    ASSERT_TRUE(book->order("E0"));
    db->IO_TradeNetData()->RequestDisentrust(std::monostate(), "600036", "", "0", "E0", "", "1");
    settle();
    EXPECT_EQ(available(), "100000.00") << "the cancel releases it";
    EXPECT_EQ(book->fillOpenOrders(), 0) << "a cancelled order never fills";

    order("600036", "10.00", "1000", 0);
    EXPECT_EQ(book->fillOpenOrders(), 1);
    EXPECT_EQ(available(), "90000.00");
    std::vector<std::string> held = holdings();
    EXPECT_NE(std::find(held.begin(), held.end(), "600036:1000:0:1000"), held.end());

    order("600036", "12.00", "400", 1);
    held = holdings();
    EXPECT_NE(std::find(held.begin(), held.end(), "600036:1000:400:600"), held.end())
        << "a sell freezes its shares";
    book->fillOpenOrders();
    EXPECT_EQ(available(), "94800.00") << "the sale's money arrives when it fills";
    held = holdings();
    EXPECT_NE(std::find(held.begin(), held.end(), "600036:600:0:600"), held.end());
}

TEST_F(BrokerBookTest, OrdersBeyondTheFundsOrTheSellableSharesAreRefused) {
    order("600036", "100.00", "2000", 0);
    order("600000", "8.00", "6000", 1);
    EXPECT_FALSE(book->order("E0")) << "no order was taken";
    EXPECT_EQ(gateway->received(11116).size(), 2u);
    EXPECT_EQ(available(), "100000.00");
    EXPECT_EQ(book->holding("600000")->frozen, 0);
    EXPECT_EQ(book->fillOpenOrders(), 0);
}

} // namespace
} // namespace tradequery
