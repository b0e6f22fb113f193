#include "QueryRecorder.h"

namespace tradequery {
namespace {

// The deal and order objects with their today and history functions.
struct DatedKind {
    const char *name;
    std::function<base::Ref<TradePageQueryDataBase>(const base::Ref<QueryRecorder> &)> make;
    int today, history;
};

std::vector<DatedKind> datedKinds() {
    return {
        {"deals",
         [](const base::Ref<QueryRecorder> &r) {
             auto data = TradeDataLayerBase::create<DealQueryData>("DealQueryNotify");
             data->setDelegate(r);
             return base::Ref<TradePageQueryDataBase>(data);
         },
         11140, 11142},
        {"orders",
         [](const base::Ref<QueryRecorder> &r) {
             auto data = TradeDataLayerBase::create<EntrustQueryData>("EntrustQueryNotify");
             data->setDelegate(r);
             return base::Ref<TradePageQueryDataBase>(data);
         },
         11134, 11136},
    };
}

TEST_F(TradeQueryTest, DateSearchesChooseTodayOrHistoryAndRefuseBadDates) {
    const std::string t = shownDay(0), y = shownDay(1), later = "2099-12-31";
    struct Search {
        std::string start, end;
        int result;
        bool history; // which function goes out when one does
        bool sends;
        std::string alert;
    };
    struct Case {
        const char *name;
        bool disconnected;
        std::vector<Search> searches;
    } cases[] = {
        {"today to today", false, {{t, t, 1, false, true, ""}}},
        {"yesterday to today", false, {{y, t, 2, true, true, ""}}},
        {"today to a later day", false, {{t, later, 2, true, true, ""}}},
        {"one-digit month and day", false, {{"2013-1-5", t, -1, false, false, "起始日期(2013-1-5)无效！"}}},
        {"letters in the end date",
         false,
         {{t, "2013-01-0a", -1, false, false, "截至日期(2013-01-0a)无效！"}}},
        {"eight letters", false, {{"abcdefgh", t, -1, false, false, "起始日期(abcdefgh)无效！"}}},
        {"start after end",
         false,
         {{t, y, -1, false, false, "起始日期(" + t + ")不能大于截至日期(" + y + ")！"}}},
        {"disconnected", true, {{y, t, -1, false, false, "交易服务器已断开，请重新登录！"}}},
        {"repeated history range", false, {{y, t, 2, true, true, ""}, {y, t, -1, false, false, ""}}},
        {"repeated today search", false, {{t, t, 1, false, true, ""}, {t, t, 1, false, true, ""}}},
    };
    for (const DatedKind &kind : datedKinds()) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(kind.name) + ": " + c.name);
            if (c.disconnected)
                disconnect();
            else if (!db->isConnected())
                connectAndLogin();
            sent();
            auto recorder = base::make<QueryRecorder>();
            auto data = kind.make(recorder);
            for (const Search &s : c.searches) {
                size_t alerts = app.alerts().size();
                EXPECT_EQ(data->SearchData(s.start, s.end), s.result);
                settle();
                std::vector<int> expected;
                if (s.sends)
                    expected.push_back(s.history ? kind.history : kind.today);
                EXPECT_EQ(sent(), expected);
                if (s.alert.empty()) {
                    EXPECT_EQ(app.alerts().size(), alerts);
                } else {
                    ASSERT_EQ(app.alerts().size(), alerts + 1);
                    EXPECT_EQ(app.alerts().back().message, s.alert);
                }
            }
        }
    }
}

TEST_F(TradeQueryTest, RequestsCarryTheRangeAndRowWindow) {
    auto recorder = base::make<QueryRecorder>();
    auto deals = TradeDataLayerBase::create<DealQueryData>("DealQueryNotify");
    deals->setDelegate(recorder);
    deals->SearchDeal(shownDay(3), shownDay(1));
    settle();
    std::vector<peers::TradeRequest> requests = sentRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].value(1022), book->daysBefore(3));
    EXPECT_EQ(requests[0].value(1023), book->daysBefore(1));
    EXPECT_EQ(requests[0].value(1206), "0");
    EXPECT_EQ(requests[0].value(1277), "15");
    EXPECT_EQ(requests[0].value(1217), "1");
    EXPECT_EQ(deals->currentStartDate(), book->daysBefore(3));
}

// A list object of each kind, searched so that its list holds `rows` rows.
struct ListKind {
    const char *name;
    int func;
    std::function<base::Ref<TradePageQueryDataBase>(const base::Ref<QueryRecorder> &)> start;
};

class PagingTest : public TradeQueryTest {
protected:
    std::vector<ListKind> kinds() {
        return {
            {"history deals", 11142,
             [this](const base::Ref<QueryRecorder> &r) {
                 auto data = TradeDataLayerBase::create<DealQueryData>("DealQueryNotify");
                 data->setDelegate(r);
                 EXPECT_EQ(data->SearchData(shownDay(10), shownDay(1)), 2);
                 return base::Ref<TradePageQueryDataBase>(data);
             }},
            {"today's orders", 11134,
             [this](const base::Ref<QueryRecorder> &r) {
                 auto data = TradeDataLayerBase::create<EntrustQueryData>("EntrustQueryNotify");
                 data->setDelegate(r);
                 EXPECT_EQ(data->SearchData(shownDay(0), shownDay(0)), 1);
                 return base::Ref<TradePageQueryDataBase>(data);
             }},
            {"holdings", 11146,
             [](const base::Ref<QueryRecorder> &r) {
                 auto data = TradeDataLayerBase::create<MoneyHoldData>("MoneyHoldNotify");
                 data->setDelegate(r);
                 data->reqHold();
                 return base::Ref<TradePageQueryDataBase>(data);
             }},
        };
    }
};

TEST_F(PagingTest, FortyRowsPageThroughAndBackFromTheCache) {
    for (const ListKind &kind : kinds()) {
        SCOPED_TRACE(kind.name);
        book->setRows(kind.func, 40);
        sent();
        auto recorder = base::make<QueryRecorder>();
        auto data = kind.start(recorder);
        settle();
        EXPECT_EQ(data->currentPageInfo(), "从1到15条(共40条)");
        EXPECT_EQ(data->GotoNextPage(), kind.func == 11142 ? 2 : kind.func == 11134 ? 1 : 3);
        settle();
        EXPECT_EQ(data->currentPageInfo(), "从16到30条(共40条)");
        EXPECT_GT(data->GotoNextPage(), 0);
        settle();
        EXPECT_EQ(data->currentPageInfo(), "从31到40条(共40条)");
        EXPECT_TRUE(data->isGetAllQueryData());
        EXPECT_EQ(sent(), std::vector<int>(3, kind.func));
        EXPECT_EQ(data->GotoNextPage(), 0);
        EXPECT_EQ(data->currentPageNo(), 2);

        data->GotoPrevPage();
        EXPECT_EQ(data->currentPageInfo(), "从16到30条(共40条)");
        ASSERT_TRUE(recorder->lastRows);
        EXPECT_EQ(recorder->lastRows->size(), 15u);
        EXPECT_EQ(data->GotoNextPage(), 0) << "page 2 comes from the cache";
        EXPECT_EQ(data->currentPageInfo(), "从31到40条(共40条)");
        settle();
        EXPECT_TRUE(sent().empty());
        EXPECT_FALSE(data->isQuerying());
        EXPECT_EQ(recorder->log.count("start"), kind.func == 11146 ? 3 : 2)
            << "the date searches start no waiting";
        EXPECT_EQ(recorder->log.count("stop"), 3) << "every page reply ends it";
    }
}

TEST_F(PagingTest, ThirtyRowsEndOnAnEmptyPageAndShowTheLastAgain) {
    for (bool totals : {true, false}) {
        for (const ListKind &kind : kinds()) {
            SCOPED_TRACE(std::string(kind.name) + (totals ? " with totals" : " without totals"));
            book->setRows(kind.func, 30);
            book->setTotals(totals);
            sent();
            auto recorder = base::make<QueryRecorder>();
            auto data = kind.start(recorder);
            settle();
            data->GotoNextPage();
            settle();
            EXPECT_FALSE(data->isGetAllQueryData()) << "a full page says nothing of the next";
            data->GotoNextPage();
            settle();
            std::vector<peers::TradeRequest> requests = sentRequests();
            ASSERT_EQ(requests.size(), 3u);
            EXPECT_EQ(requests[2].value(1206), "30");
            EXPECT_TRUE(data->isGetAllQueryData());
            EXPECT_EQ(data->currentPageNo(), 1);
            EXPECT_EQ(data->currentPageInfo(), totals ? "从16到30条(共30条)" : "从16到30条");
            EXPECT_EQ(data->totalNum(), totals ? std::optional<std::string>("30") : std::nullopt);
            EXPECT_EQ(data->GotoNextPage(), 0);
            settle();
            EXPECT_TRUE(sent().empty());
        }
    }
}

TEST_F(PagingTest, EmptyListsAndRefusedPaging) {
    for (const ListKind &kind : kinds()) {
        SCOPED_TRACE(kind.name);
        book->setRows(kind.func, 0);
        auto recorder = base::make<QueryRecorder>();
        auto data = kind.start(recorder);
        settle();
        EXPECT_EQ(data->currentPageInfo(), "未查询到数据");
        EXPECT_EQ(recorder->pages().back(),
                  "rows:未查询到数据:none:" + std::to_string(kind.func == 11146 ? 0 : kind.func));
        EXPECT_TRUE(data->isGetAllQueryData());
        data->GotoPrevPage();
        EXPECT_EQ(recorder->pages().size(), 1u) << "nothing before page 0";
    }

    sent();
    auto deals = TradeDataLayerBase::create<DealQueryData>("DealQueryNotify");
    EXPECT_EQ(deals->GotoNextPage(), -1) << "no search yet";
    EXPECT_EQ(deals->getCurrentReqType(), 0);
    settle();
    EXPECT_TRUE(sent().empty());
}

// Shows a page directly, as a cache entry without rows would.
struct ShownDeals : DealQueryData {
    using DealQueryData::DealQueryData;
    using DealQueryData::UpdatePage;
};

TEST_F(PagingTest, ALaterPageWithoutRowsNamesItsNumber) {
    auto recorder = base::make<QueryRecorder>();
    auto deals = TradeDataLayerBase::create<ShownDeals>("DealQueryNotify");
    deals->setDelegate(recorder);
    deals->UpdatePage(1, std::string("40"));
    EXPECT_EQ(deals->currentPageInfo(), "第2页 未查询到数据");
    EXPECT_EQ(recorder->pages(), std::vector<std::string>{"rows:第2页 未查询到数据:none:0"});
}

TEST_F(PagingTest, AFullScreenCopyOpensOnTheSamePageAndPagesUnderItsOwnName) {
    book->setRows(11142, 40);
    auto panelRecorder = base::make<QueryRecorder>();
    auto panel = TradeDataLayerBase::create<DealQueryData>("DealQueryNotify");
    panel->setDelegate(panelRecorder);
    panel->SearchDeal(shownDay(10), shownDay(1));
    settle();
    panel->GotoNextPage();
    settle();

    auto fullRecorder = base::make<QueryRecorder>();
    auto full = TradeDataLayerBase::create<DealQueryData>("DealFullScreenNotify");
    full->setDelegate(fullRecorder);
    full->CopyFromDealData(*panel);
    EXPECT_EQ(full->currentPageNo(), 1);
    EXPECT_EQ(full->currentPageInfo(), "从16到30条(共40条)");
    EXPECT_EQ(full->currentStartDate(), panel->currentStartDate());
    ASSERT_EQ(full->pageDataArray().size(), 2u);
    EXPECT_TRUE(full->pageDataArray()[0].dict()->same(*panel->pageDataArray()[0].dict()));
    sent();

    full->GotoPrevPage();
    EXPECT_EQ(full->currentPageInfo(), "从1到15条(共40条)");
    full->GotoNextPage();
    EXPECT_EQ(full->GotoNextPage(), 2);
    settle();
    EXPECT_EQ(sent(), std::vector<int>{11142});
    EXPECT_EQ(full->currentPageInfo(), "从31到40条(共40条)");
    EXPECT_EQ(panel->currentPageNo(), 1) << "the reply went to the copy only";
    EXPECT_EQ(panelRecorder->pages().size(), 2u);
}

TEST_F(PagingTest, AFailedPageTipsTheServerTextAndKeepsThePage) {
    struct Case {
        const char *name;
        bool withFuncID;
    } cases[] = {{"refusal with its function", true}, {"failure without a function", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        book->setRows(11142, 40);
        auto recorder = base::make<QueryRecorder>();
        auto deals = TradeDataLayerBase::create<DealQueryData>("DealQueryNotify");
        deals->setDelegate(recorder);
        deals->SearchDeal(shownDay(10), shownDay(1));
        settle();
        book->failNext(11142, "查询超时", c.withFuncID);
        EXPECT_EQ(deals->GotoNextPage(), 2);
        settle();
        EXPECT_EQ(tipTexts().back(), "查询超时");
        EXPECT_EQ(recorder->log.last(), "stop");
        EXPECT_FALSE(deals->isQuerying());
        EXPECT_EQ(deals->currentPageNo(), 0);
        EXPECT_EQ(deals->currentPageInfo(), "从1到15条(共40条)");
        EXPECT_EQ(deals->GotoNextPage(), 2) << "the page can be asked for again";
        settle();
        EXPECT_EQ(deals->currentPageInfo(), "从16到30条(共40条)");
    }
}

TEST_F(PagingTest, ALostConnectionEndsTheQuery) {
    book->setRows(11146, 40);
    auto recorder = base::make<QueryRecorder>();
    auto holds = TradeDataLayerBase::create<MoneyHoldData>("MoneyHoldNotify");
    holds->setDelegate(recorder);
    holds->reqHold();
    settle();
    gateway->addFault(peers::TradeFault::on(11146).silence());
    holds->GotoNextPage();
    settle();
    EXPECT_TRUE(holds->isQuerying());
    gateway->closeConnection();
    settle();
    EXPECT_FALSE(holds->isQuerying());
    EXPECT_EQ(recorder->log.last(), "stop");
    EXPECT_EQ(tipTexts().back(), "交易服务器已断开，请重新登录！");
    EXPECT_EQ(holds->currentPageInfo(), "从1到15条(共40条)");

    connectAndLogin();
    holds->reqHold();
    settle();
    EXPECT_EQ(holds->currentPageInfo(), "从1到15条(共40条)");
    EXPECT_FALSE(holds->isQuerying());
}

TEST_F(PagingTest, AnOverlappedSearchFilesNoRowsOfTheOlderRange) {
    auto recorder = base::make<QueryRecorder>();
    auto deals = TradeDataLayerBase::create<DealQueryData>("DealQueryNotify");
    deals->setDelegate(recorder);
    // Past deals lie one to five days back, four a day.
    EXPECT_EQ(deals->SearchData(shownDay(1), shownDay(1)), 2);
    EXPECT_EQ(deals->SearchData(shownDay(5), shownDay(2)), 2);
    settle();
    EXPECT_EQ(sent(), (std::vector<int>{11142, 11142}));
    EXPECT_EQ(recorder->pages(), std::vector<std::string>{"rows:从1到15条(共16条):15:11142"});
    base::Array rows = deals->getDataArrayOfCurrentPage().value_or(base::Array());
    EXPECT_EQ(rows.size(), 15u);
    for (const base::Value &row : rows)
        EXPECT_LE(row["1046"].stringValue(), book->daysBefore(2));
}

TEST_F(TradeQueryTest, CancelsAnswerByTipAndRefresh) {
    struct Case {
        const char *name;
        peers::TradeAccountBook::CancelReply reply;
        std::string order;
        std::vector<std::string> events;
        std::string tip;
    } cases[] = {
        {"with the server's text",
         peers::TradeAccountBook::CancelReply::WithText,
         "E0",
         {"refresh"},
         "撤单成功"},
        {"without a text",
         peers::TradeAccountBook::CancelReply::WithoutText,
         "E1",
         {"refresh"},
         "撤单已提交！"},
        {"without a row", peers::TradeAccountBook::CancelReply::NoRow, "E2", {}, ""},
        {"an order that is gone", peers::TradeAccountBook::CancelReply::WithText, "E999", {}, "委托不存在"},
        {"an order cancelled before",
         peers::TradeAccountBook::CancelReply::WithText,
         "E0",
         {},
         "该委托不可撤单"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        book->setCancelReply(c.reply);
        auto recorder = base::make<QueryRecorder>();
        auto orders = TradeDataLayerBase::create<EntrustQueryData>("EntrustQueryNotify");
        orders->setDelegate(recorder);
        base::Dict row = book->order(c.order) ? base::Dict{} : base::Dict{{"1042", c.order}};
        if (auto known = book->order(c.order))
            for (const auto &[tag, value] : *known)
                row.set(std::to_string(tag), value);
        size_t tips = tipTexts().size();
        orders->reqDisEntrust(row);
        settle();
        std::vector<peers::TradeRequest> requests = sentRequests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].value(1042), c.order);
        EXPECT_EQ(recorder->log.events, c.events);
        if (c.tip.empty()) {
            EXPECT_EQ(tipTexts().size(), tips);
        } else {
            ASSERT_EQ(tipTexts().size(), tips + 1);
            EXPECT_EQ(tipTexts().back(), c.tip);
        }
    }
    EXPECT_EQ(book->order("E0")->at(peers::TradeAccountBook::kOrderState),
              peers::TradeAccountBook::kCancelled);
}

TEST_F(TradeQueryTest, CancelableOrdersLeaveOutTheCancelled) {
    book->setRows(11134, 3);
    auto recorder = base::make<QueryRecorder>();
    auto orders = TradeDataLayerBase::create<EntrustQueryData>("EntrustQueryNotify");
    orders->setDelegate(recorder);
    orders->reqDisEntrust(base::Dict{{"1042", "E0"}});
    settle();
    orders->SearchCanDisentrust();
    EXPECT_TRUE(orders->isQuerying());
    settle();
    EXPECT_EQ(recorder->pages().back(), "rows:从1到2条(共2条):2:11132");
    EXPECT_EQ(recorder->log.count("start"), 1);
}

TEST_F(TradeQueryTest, FundsComeFromTheMainAccountTable) {
    auto recorder = base::make<QueryRecorder>();
    auto money = TradeDataLayerBase::create<MoneyHoldData>("MoneyHoldNotify");
    money->setDelegate(recorder);
    for (bool secondaryFirst : {false, true}) {
        SCOPED_TRACE(secondaryFirst ? "secondary account first" : "main account only");
        book->setSecondaryFundsFirst(secondaryFirst);
        money->reqMoney();
        settle();
        ASSERT_TRUE(recorder->funds);
        ASSERT_EQ(recorder->funds->size(), 3u);
        EXPECT_EQ((*recorder->funds)[0]["1415"].stringValue(), "1");
        EXPECT_EQ((*recorder->funds)[0]["1078"].stringValue(), "100000.00");
    }
    book->failNext(11104, "资金查询失败");
    money->reqMoney();
    settle();
    EXPECT_EQ(recorder->log.last(), "funds:none");
    EXPECT_EQ(tipTexts().back(), "资金查询失败");
    EXPECT_EQ(recorder->log.count("start"), 0) << "the funds are no paged query";
}

} // namespace
} // namespace tradequery
