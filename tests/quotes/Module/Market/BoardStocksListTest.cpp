#include "MarketFixture.h"

#include "Module/Market/BoardStocksModelView.h"
#include "Module/Market/StockModelCell.h"

#include "Common/StylePool.h"
#include "Common/TimeFunc.h"

namespace market {

namespace {

// Records what the constituents tell their owner.
struct Owner : BoardStocksModelViewDelegate {
    struct Opened {
        std::string code;
        int index = -1;
        std::vector<std::string> codes;
    };
    std::vector<Opened> opened;
    std::vector<std::string> boardQuotes;

    base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &, int index,
                                          const base::Array &dataArray) override {
        Opened o{code, index, {}};
        for (size_t i = 0; i < dataArray.size(); ++i)
            o.codes.push_back(dataArray[i].objectAs<StockQuoteInf>()->code);
        opened.push_back(o);
        return {};
    }
    base::Opt<void> ReturnBoardQuoteInf(const base::Ref<StockQuoteInf> &record) override {
        boardQuotes.push_back(record->code);
        return {};
    }
};

base::Ref<StockQuoteInf> record(const std::string &code, const std::string &name) {
    auto r = base::make<StockQuoteInf>();
    r->code = code;
    r->name = name;
    r->newprice = 1010;
    r->closeprice = 1000;
    r->updateTick = TimeFunc::getCurTick();
    return r;
}

class BoardStocksListTest : public MarketScreenTest {
protected:
    void SetUp() override { show(); }
    // A constituents list on screen over the bank board, not yet started.
    BoardStocksModelView &make(base::Array columns = BoardModelView::makeBoardStocksColumnArray()) {
        list = base::make<BoardStocksModelView>(gfx::Rect{0, 0, 1024, 560}, std::move(columns));
        list->delegate = owner;
        app.window().addSubview(list);
        return *list;
    }
    base::Ref<StockQuoteInf> bankBoard() {
        base::Ref<StockQuoteInf> board = record(peers::QuoteServer::BoardCode, "银行板块");
        board->chengfenID = peers::QuoteServer::BoardID;
        return board;
    }
    // The list holds these members, fresh.
    void holdMembers(const std::vector<base::Ref<StockQuoteInf>> &members) {
        const base::Ref<MarketQuotePack> &pack = list->quotesData().pack();
        pack->rspArray()->items = members;
        pack->totalCount = int(members.size());
        list->UpdateTableDataSource(pack->rspArray(), false);
        app.runPending();
        list->curTableView()->layoutIfNeeded();
    }
    std::vector<base::Ref<StockQuoteInf>> threeMembers() {
        return {record("SH600001", "甲"), record("SH600002", "乙"), record("SZ000003", "丙")};
    }
    void tapRow(int row) { list->didSelectRow({0, row}); }

    void TearDown() override {
        if (list)
            list->removeFromSuperview();
    }

    base::Ref<BoardStocksModelView> list;
    base::Ref<Owner> owner = base::make<Owner>();
};

TEST_F(BoardStocksListTest, ThreeMembersGiveFourRowsTheBoardFirstAndATapOpensItsRecordInBoardAndMembers) {
    make();
    holdMembers(threeMembers());
    list->UpdateBoardIndexQuote(bankBoard());
    list->curTableView()->layoutIfNeeded();
    EXPECT_EQ(owner->boardQuotes, (std::vector<std::string>{peers::QuoteServer::BoardCode}));
    ASSERT_EQ(list->numberOfRows(0), 4);
    std::vector<std::string> names, serials;
    for (int row = 0; row < 4; ++row) {
        auto &cell = dynamic_cast<StockModelCell &>(*list->curTableView()->cellForRow({0, row}));
        names.push_back(cell.StockNameLabel().text());
        serials.push_back(cell.SNLabel().text());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"银行板块", "甲", "乙", "丙"}));
    EXPECT_EQ(serials, (std::vector<std::string>{"1", "2", "3", "4"}));

    tapRow(2);
    ASSERT_EQ(owner->opened.size(), 1u);
    EXPECT_EQ(owner->opened[0].code, "SH600002");
    EXPECT_EQ(owner->opened[0].index, 2);
    EXPECT_EQ(owner->opened[0].codes,
              (std::vector<std::string>{peers::QuoteServer::BoardCode, "SH600001", "SH600002", "SZ000003"}));
}

TEST_F(BoardStocksListTest, BeforeTheBoardsQuoteRowZeroOpensNothingAndMembersOpenAmongTheMembers) {
    make();
    holdMembers(threeMembers());
    tapRow(0);
    EXPECT_TRUE(owner->opened.empty());
    tapRow(2);
    ASSERT_EQ(owner->opened.size(), 1u);
    EXPECT_EQ(owner->opened[0].code, "SH600002");
    EXPECT_EQ(owner->opened[0].index, 1);
    EXPECT_EQ(owner->opened[0].codes, (std::vector<std::string>{"SH600001", "SH600002", "SZ000003"}));
    tapRow(4);
    EXPECT_EQ(owner->opened.size(), 1u);
}

TEST_F(BoardStocksListTest, AHeaderTapSortsByTheSortIDOverTheColumnIDAndTheHeaderMarksIt) {
    auto column = [](const char *name, int id, std::optional<int> sortID) {
        base::Dict entry{{"ColName", name}, {"ColID", id}, {"ColWidth", 81}, {"Enabled", true}};
        if (sortID)
            entry.set("SortID", *sortID);
        return base::Value(entry);
    };
    base::Array columns = BoardModelView::makeBoardStocksColumnArray();
    columns.add(column("资金 ", 4, 21));
    columns.add(column("量 ", 2, std::nullopt));
    make(columns);
    list->modeType = 1;
    list->reqDataFirst(bankBoard());
    settle();
    struct Case {
        int column, status;
        ListRequest expected;
    } cases[] = {{13, 1, {peers::QuoteServer::BoardID, 21, 1, 0, 30}},
                 {14, 0, {peers::QuoteServer::BoardID, 2, 0, 0, 30}}};
    for (const Case &c : cases) {
        forgetRequests();
        list->ClickHeaderAction(*list->titleColumn().headerAt(c.column), c.column, c.status);
        settle();
        EXPECT_EQ(listRequests(), (std::vector<ListRequest>{c.expected})) << c.column;
        EXPECT_EQ(list->defaultSortIndex(), c.column);
    }
    // "No." only marks itself; the list stays sorted where it was.
    forgetRequests();
    list->ClickHeaderAction(*list->titleColumn().headerAt(0), 0, 1);
    settle();
    EXPECT_TRUE(listRequests().empty());
    EXPECT_EQ(list->defaultSortIndex(), 14);
}

TEST_F(BoardStocksListTest, TheBoardsPictureReachesOnlyTheBoardRowAndWaitsInTheCacheWhileItIsOutOfView) {
    make();
    std::vector<base::Ref<StockQuoteInf>> members;
    for (int i = 0; i < 30; ++i)
        members.push_back(record("SH6" + std::to_string(10000 + i), "股" + std::to_string(i)));
    holdMembers(members);
    list->UpdateBoardIndexQuote(bankBoard());
    scrollTo(*list->curTableView(), 70 * 10);
    MinutePoints minutes;
    auto minute = base::make<StkMinLineItem>();
    minute->time = 930;
    minute->price = 1005;
    minutes.push_back(minute);
    list->UpdateBoardIndexMinLine(peers::QuoteServer::BoardCode, minutes);
    for (const base::Ref<ui::TableCell> &cell : list->curTableView()->visibleCells()) {
        auto &row = dynamic_cast<StockModelCell &>(*cell);
        EXPECT_EQ(row.miniImageView()->image(), StylePool::Instance().imgMiniWaiting) << row.code;
    }
    base::Ref<MiniMinLineView> cached = list->mviews().getMView(peers::QuoteServer::BoardCode);
    ASSERT_NE(cached, nullptr);
    EXPECT_FALSE(cached->canRemove);
    scrollTo(*list->curTableView(), 0);
    auto &boardRow = dynamic_cast<StockModelCell &>(*list->curTableView()->cellForRow({0, 0}));
    EXPECT_NE(boardRow.miniImageView()->image(), StylePool::Instance().imgMiniWaiting);
    EXPECT_EQ(boardRow.miniImageView()->image(), cached->image());
}

TEST_F(BoardStocksListTest, VisibleTableRowsOneToNineRefreshMembersZeroToEight) {
    make();
    list->reqDataFirst(bankBoard());
    settle();
    std::vector<base::Ref<StockQuoteInf>> members;
    for (int i = 0; i < 30; ++i)
        members.push_back(record("SH6" + std::to_string(10000 + i), "股" + std::to_string(i)));
    holdMembers(members);
    list->curTableView()->setFrame({0, 0, 1024, 30 + 70 * 10});
    list->curTableView()->layoutIfNeeded();
    ASSERT_EQ(list->curTableView()->indexPathsForVisibleRows().size(), 10u);
    forgetRequests();
    EXPECT_TRUE(list->NotifyTimeEvent());
    settle();
    std::vector<ListRequest> requests = listRequests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front(), (ListRequest{peers::QuoteServer::BoardID, 1, 0, 0, 9}));
}

TEST_F(BoardStocksListTest, TheOtherStartsObserveTheirOwnNamesAndSetTheExtendedFieldFlag) {
    struct Case {
        const char *name;
        std::function<void(BoardStocksModelView &, const base::Ref<StockQuoteInf> &)> start;
        ListRequest expected;
    } cases[] = {
        {BoardStocksModelView::DDEObserverName,
         [](BoardStocksModelView &l, const base::Ref<StockQuoteInf> &b) { l.reqDDEDataFirst(b, 2); },
         {peers::QuoteServer::BoardID, 1, 0, 0, 30}},
        {BoardStocksModelView::SectionObserverName,
         [](BoardStocksModelView &l, const base::Ref<StockQuoteInf> &b) {
             l.reqSectionAnalysDataFirst(b, 2);
         },
         {peers::QuoteServer::BoardID, 1, 0, 0, 30}},
        {BoardStocksModelView::SVFundObserverName,
         [](BoardStocksModelView &l, const base::Ref<StockQuoteInf> &b) {
             l.reqSVFundDataFirst(b, 2, 3, 1, 7);
         },
         {peers::QuoteServer::BoardID, 3, 1, 0, 10}},
    };
    for (const Case &c : cases) {
        make();
        forgetRequests();
        c.start(*list, bankBoard());
        settle();
        EXPECT_EQ(list->quotesData().observerName(), c.name);
        EXPECT_EQ(list->quotesData().pack()->extendedFieldsFlag, 2);
        EXPECT_EQ(listRequests(), (std::vector<ListRequest>{c.expected})) << c.name;
        EXPECT_EQ(codeRequests(), (std::vector<std::vector<std::string>>{{peers::QuoteServer::BoardCode}}));
        std::vector<std::string> minutes = minuteRequests();
        EXPECT_EQ(std::count(minutes.begin(), minutes.end(), peers::QuoteServer::BoardCode), 0) << c.name;
        list->removeFromSuperview();
    }
    EXPECT_EQ(list->defaultSortIndex(), 7);
}

} // namespace

} // namespace market
