#include "QueryRecorder.h"

namespace tradequery {
namespace {

class TransferDataTest : public TradeQueryTest {
protected:
    TransferDataTest() { data->setDelegate(recorder); }

    base::Ref<QueryRecorder> recorder = base::make<QueryRecorder>();
    base::Ref<TradeTransferData> data =
        TradeDataLayerBase::create<TradeTransferData>("TransAccountViewNotify");
};

TEST_F(TransferDataTest, AvailableMoneyFollowsTheLatestFundsReply) {
    EXPECT_EQ(data->getAvailableMoney(0), "查询中...");
    data->reqMoneyList();
    EXPECT_EQ(data->getAvailableMoney(0), "查询中...") << "no reply yet";
    settle();
    EXPECT_TRUE(data->isGetQueryMoneyRsp());
    EXPECT_EQ(recorder->log.last(), "funds:3:ok:");
    EXPECT_EQ(data->getAvailableMoney(0), "100000.00");
    EXPECT_EQ(data->getAvailableMoney(2), "3800.00");
    EXPECT_EQ(data->getAvailableMoney(5), "--");

    book->failNext(11104, "资金查询失败");
    data->reqMoneyList();
    EXPECT_FALSE(data->isGetQueryMoneyRsp());
    settle();
    EXPECT_EQ(recorder->log.last(), "funds:none:err:资金查询失败");
    EXPECT_EQ(data->getAvailableMoney(0), "查询中...");
    EXPECT_FALSE(data->isGetQueryMoneyRsp());

    // Rows without a currency are skipped; a currency's row without funds shows "--".
    gateway->setReply(11104, std::string("21004=11105\x01"
                                         "21000=0\x01"
                                         "21002=\x01"
                                         "1078=9.00\x01"
                                         "21003=\x01"
                                         "21002=\x01"
                                         "1028=1\x01"
                                         "21003=\x01"));
    data->reqMoneyList();
    settle();
    EXPECT_EQ(data->getAvailableMoney(0), "--");
    EXPECT_EQ(data->getAvailableMoney(1), "--");
    EXPECT_EQ(recorder->log.count("start"), 0) << "single replies start no waiting";
}

TEST_F(TransferDataTest, CurrencyAndBankLookups) {
    EXPECT_EQ(TradeTransferData::getSelectedCurrencyIndex(data->currencyArray(), 2), 2);
    EXPECT_EQ(TradeTransferData::getSelectedCurrencyIndex(data->currencyArray(), 9), -1);
    EXPECT_EQ(data->currencyArray()[1]["KeyName"].stringValue(), "美元");

    data->reqBankList();
    settle();
    EXPECT_EQ(recorder->log.last(), "banks:3:ok:");
    EXPECT_EQ(TradeTransferData::getSelectedBankIndex(recorder->banks, "1002"), 1);
    EXPECT_EQ(TradeTransferData::getSelectedBankIndex(recorder->banks, "9999"), -1);
}

TEST_F(TransferDataTest, AFailedBankListAlertsAndReportsNoBanks) {
    book->failNext(11130, "银行信息查询失败");
    data->reqBankList();
    settle();
    EXPECT_EQ(recorder->log.last(), "banks:0:err:银行信息查询失败") << "so that the tab ends its wait";
    ASSERT_FALSE(app.alerts().empty());
    EXPECT_EQ(app.alerts().back().message, "银行信息查询失败");
}

TEST_F(TransferDataTest, ATransferMovesMoneyThatTheNextFundsQueryShows) {
    data->reqTransfer(0, "1002", "fundpw", "bankpw", "500.50", 0);
    settle();
    EXPECT_EQ(recorder->log.last(), "transfer:ok:");
    std::vector<peers::TradeRequest> requests = sentRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].value(1193), "0");
    EXPECT_EQ(requests[0].value(1192), "500.50");
    EXPECT_EQ(requests[0].value(1031), "fundpw");
    EXPECT_EQ(requests[0].value(1189), "bankpw");
    data->reqMoneyList();
    settle();
    EXPECT_EQ(data->getAvailableMoney(0), "100500.50");
    EXPECT_EQ(book->bankBalance("1002"), 5000000 - 50050);

    data->reqTransfer(1, "1002", "fundpw", "bankpw", "999999999", 0);
    settle();
    EXPECT_EQ(recorder->log.last(), "transfer:err:余额不足");
}

TEST_F(TransferDataTest, BankBalanceWithAndWithoutItsField) {
    for (bool field : {true, false}) {
        book->setBalanceField(field);
        data->reqBankBalance("1001", "fundpw", "bankpw", 0);
        settle();
        EXPECT_EQ(recorder->log.last(), field ? "balance:50000.00:ok:" : "balance:none:ok:");
    }
    data->reqBankBalance("0000", "fundpw", "bankpw", 0);
    settle();
    EXPECT_EQ(recorder->log.last(), "balance:none:err:银行无效");
}

TEST_F(TransferDataTest, HistorySearchesAlwaysAskTheTransferList) {
    base::Dict params{{"bankCode", "1001"}, {"currency", "0"}};
    data->SearchTransfer(shownDay(0), shownDay(0), params);
    settle();
    data->SearchTransfer(shownDay(5), shownDay(0), params);
    settle();
    data->SearchTransfer(shownDay(5), shownDay(0), params);
    settle();
    std::vector<peers::TradeRequest> requests = sentRequests();
    ASSERT_EQ(requests.size(), 2u) << "the repeated range sends nothing";
    for (const auto &request : requests) {
        EXPECT_EQ(request.funcID, 11124);
        EXPECT_EQ(request.value(1186), "1001");
        EXPECT_EQ(request.value(1028), "0");
        EXPECT_EQ(request.value(1023), today);
    }
    EXPECT_EQ(requests[0].value(1022), today);
    EXPECT_EQ(data->currentPageInfo(), "从1到3条(共3条)");

    // A transfer adds today's row to the history.
    data->reqTransfer(1, "1003", "fundpw", "bankpw", "10", 0);
    settle();
    data->SearchTransfer(shownDay(0), shownDay(0), params);
    settle();
    EXPECT_EQ(recorder->pages().back(), "rows:从1到1条(共1条):1:0");
    EXPECT_EQ((*recorder->lastRows)[0]["1192"].stringValue(), "10.00");
}

TEST_F(TransferDataTest, AHistorySearchKeepsItsBankAndCurrencyForLaterPages) {
    book->setRows(11124, 40);
    base::Dict first{{"bankCode", "1001"}, {"currency", "0"}};
    ASSERT_EQ(data->SearchTransfer(shownDay(5), shownDay(0), first), 2);
    settle();
    // The pickers moved on; the next page still belongs to the search shown.
    ASSERT_EQ(data->GotoNextTransferPage(), 2);
    settle();
    // Another bank over the same dates is a new search; the same bank and dates again is not.
    base::Dict other{{"bankCode", "1002"}, {"currency", "0"}};
    EXPECT_EQ(data->SearchTransfer(shownDay(5), shownDay(0), other), 2);
    settle();
    EXPECT_EQ(data->SearchTransfer(shownDay(5), shownDay(0), other), -1);
    base::Dict dollars{{"bankCode", "1002"}, {"currency", "1"}};
    EXPECT_EQ(data->SearchTransfer(shownDay(5), shownDay(0), dollars), 2);
    settle();
    // A refused search leaves the one shown, and its pages, as they were.
    EXPECT_EQ(data->SearchTransfer("2012-13-45x", shownDay(0), first), -1);
    ASSERT_EQ(data->GotoNextTransferPage(), 2);
    settle();

    std::vector<std::pair<std::string, std::string>> sent;
    for (const peers::TradeRequest &request : sentRequests())
        sent.emplace_back(request.value(1186).value_or("") + "/" + request.value(1028).value_or(""),
                          request.value(1206).value_or(""));
    EXPECT_EQ(sent,
              (std::vector<std::pair<std::string, std::string>>{
                  {"1001/0", "0"}, {"1001/0", "15"}, {"1002/0", "0"}, {"1002/1", "0"}, {"1002/1", "15"}}));
    for (const peers::TradeRequest &request : sentRequests())
        EXPECT_EQ(request.value(1022), book->daysBefore(5));
}

} // namespace
} // namespace tradequery
