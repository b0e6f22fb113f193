#include "QueryRecorder.h"

#include "DataBase/WT/TradeNetDataCenter.h"

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

TEST_F(BrokerBookTest, AFilledBuyAveragesTheCostToTheNearestCent) {
    ASSERT_EQ(book->holding("600000")->volume, 5000);
    ASSERT_EQ(book->holding("600000")->costCents, 812);
    order("600000", "8.58", "100", 0);
    EXPECT_EQ(book->fillOpenOrders(), 1);
    // 5000 at 8.12 and 100 at 8.58: 8.129 a share.
    EXPECT_EQ(book->holding("600000")->costCents, 813);
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

// The columns the login reply titles for a reply that no row of `rows` carries.
std::vector<std::string> untitledColumns(TradeNetDataCenter &center, int replyID, const base::Array &rows) {
    std::vector<std::string> missing;
    auto columns = center.IO_TableTitleGroup()->getTableColumnArray(replyID);
    if (!columns)
        return {"no title for " + std::to_string(replyID)};
    for (const TradeColumnInfo &column : *columns)
        for (const base::Value &row : rows)
            if (!row.dict() || !row.dict()->has(column.columnID))
                missing.push_back(column.columnID);
    return missing;
}

TEST_F(BrokerBookTest, TheLoginTitlesTheColumnsOfEveryQueryAndTheRowsCarryThem) {
    TradeNetDataCenter &center = *db->IO_TradeNetData();
    for (int reply : {11105, 11133, 11135, 11137, 11141, 11143, 11147})
        EXPECT_TRUE(center.IO_TableTitleGroup()->getTableTitle(reply)) << reply;

    order("600036", "10.00", "1000", 0);
    EXPECT_EQ(book->fillOpenOrders(), 1);
    order("600016", "5.00", "1000", 0);
    available();
    ASSERT_TRUE(recorder->funds);
    EXPECT_EQ(untitledColumns(center, 11105, *recorder->funds), std::vector<std::string>{});
    money->reqHold();
    settle();
    EXPECT_EQ(untitledColumns(center, 11147, money->getDataArrayOfCurrentPage().value_or(base::Array())),
              std::vector<std::string>{});

    // The funds add up: the balance holds the frozen buy, the total the holdings at cost.
    const base::Value &rmb = (*recorder->funds)[0];
    auto amount = [&](const char *field) { return std::stod(rmb[field].stringValue()); };
    EXPECT_EQ(rmb["1028"].stringValue(), "0");
    EXPECT_DOUBLE_EQ(amount("1077"), amount("1078") + 5000) << "the open buy's money is frozen";
    EXPECT_DOUBLE_EQ(amount("1087"), amount("1077") + amount("1065"));
    EXPECT_GT(amount("1065"), 10000.0);

    auto transfer = TradeDataLayerBase::create<TradeTransferData>("BrokerBookTransfer");
    transfer->setDelegate(recorder);
    transfer->reqBankList();
    settle();
    ASSERT_FALSE(recorder->banks.empty());
    for (const base::Value &bank : recorder->banks)
        EXPECT_EQ(bank["1028"].stringValue(), "0") << bank["1186"].stringValue();
}

} // namespace
} // namespace tradequery
