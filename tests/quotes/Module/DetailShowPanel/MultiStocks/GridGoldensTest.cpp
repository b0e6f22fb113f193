#include "Module/DetailShowPanel/MultiStocksShowView.h"

#include "CoordinatorFixture.h"
#include "Golden.h"
#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"
#include "Module/StockDataBaseMgnt/KLineNetData.h"
#include "Module/StockDataBaseMgnt/MyStockQuotesData.h"

#include <gtest/gtest.h>

namespace {

template <class T>
base::Ref<std::vector<base::Ref<T>>> typed(const std::vector<base::Ref<base::Object>> *items) {
    if (!items)
        return nullptr;
    auto list = base::make<std::vector<base::Ref<T>>>();
    for (const auto &item : *items)
        if (auto t = std::dynamic_pointer_cast<T>(item))
            list->push_back(t);
    return list;
}

// An owner as the watch-list screen is one: the quotes of its rows from MyStockQuotesData, the
// intraday minutes from a MiniViewManager's store and the candles from a KLineNetData, all asked
// through the coordinator and handed back to the grid as they arrive. An entry carries a record
// once the server has named the row's security: a code it does not know comes back empty.
class WatchListOwner : public base::Object, public DataPoolDelegate, public MultiStocksShowViewDataSource {
public:
    // The volume and turnover groups, which the price panels show.
    static constexpr int32_t PanelFields = 0x0001 | 0x0010;

    void setUp() override {
        quotesData->extendedFieldsFlag = PanelFields;
        quotesData->setMyStockDataArray(rows);
        rows->items.clear();
    }
    // Fetches the quotes of the codes first, then shows them in the grid.
    void show(const std::vector<std::string> &codes) {
        base::Array entries;
        for (const std::string &code : codes)
            entries.add(base::Dict{{"MarketCode", code}});
        quotesData->createMyStockDataArray(entries);
        quotesData->reqQuotesByPage(0, self<WatchListOwner>());
    }

    void reqCurScreenData(const std::vector<base::Ref<StockQuoteInf>> &records, int startid, bool stale,
                          int ktype) override {
        std::vector<std::string> codes;
        for (const auto &r : records)
            codes.push_back(r->code);
        if (stale)
            quotesData->reqVisibleQuotes(codes, startid, ktype, self<WatchListOwner>());
        for (const auto &r : records) {
            if (ktype < 1)
                mviews->reqOneMinLine(r, self<WatchListOwner>(), 0);
            else
                klines->reqKLine(self<WatchListOwner>(), r->code, ktype, false, 0, false);
        }
    }
    void reqCurScreenQuotes(const std::vector<std::string> &codes, int startid, int ktype) override {
        quotesData->reqVisibleQuotes(codes, startid, ktype, self<WatchListOwner>());
    }
    base::Ref<MinLineList> getMinLineList(const std::string &code) override {
        return typed<StkMinLineItem>(mviews->minLineLib()->getMinLineRspArray(code));
    }
    base::Ref<KLineList> getKLineList(const std::string &code, int ktype) override {
        return typed<KLineItem>(klines->getKLineRspArray(code, ktype));
    }

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override {
        auto g = grid.lock();
        if (!g || !params)
            return;
        if (reqType == MLineNetData::MinLineReplyType) {
            if (auto pack = MinLinePack::getMinLinePackFromDict(params->object("pack")))
                g->UpdateMinLine(pack->code, typed<StkMinLineItem>(&pack->rspArray));
            return;
        }
        if (reqType == KLineNetData::CandleReplyType) {
            if (auto pack = std::dynamic_pointer_cast<KLinePack>(params->object("pack")))
                g->UpdateKLine(pack->code, typed<KLineItem>(&pack->rspArray), pack->ktype);
            return;
        }
        std::optional<QuoteRecords> records;
        int startid = 0, value = 0;
        int kind = quotesData->ProcQuotes(int(params->get("tag").intValue()), records, startid, value);
        if (kind == MyStockQuotesData::PageReply) {
            g->SetGridDataArray(entries(), true);
        } else if (kind == MyStockQuotesData::VisibleReply && records) {
            refreshEntries();
            g->UpdateQuotes(startid, int(records->size()));
        }
    }

    base::Weak<MultiStocksShowView> grid;
    base::Ref<MyStockRowList> rows = base::make<MyStockRowList>();
    base::Ref<MyStockQuotesData> quotesData = MyStockQuotesData::create();
    base::Ref<MiniViewManager> mviews = base::make<MiniViewManager>();
    base::Ref<KLineNetData> klines = base::make<KLineNetData>();

private:
    base::Array entries() {
        list_ = base::Array();
        for (const auto &row : rows->items)
            list_.add(base::Dict{{"MarketCode", row->MarketCode.value_or("")}});
        refreshEntries();
        return list_;
    }
    // Rows take new records with each reply; the entries follow.
    void refreshEntries() {
        for (size_t i = 0; i < rows->items.size() && i < list_.size(); ++i)
            if (const auto &record = rows->items[i]->basicInf; record && !record->name.empty())
                list_[i].dict()->set("basicInf", record);
    }
    base::Array list_;
};

class GridGoldensTest : public coordinator::CoordinatorTest {
protected:
    GridGoldensTest() { DataBase::setSharedDataBase(db); }
    ~GridGoldensTest() override { DataBase::setSharedDataBase(nullptr); }
    void SetUp() override {
        readyWithoutAccount();
        // Quotes never fetched are dated 0: let the clock be well past it.
        advance(2 * MultiStocksPageModel::StaleAge);
        owner = base::make<WatchListOwner>();
        gridView = base::make<MultiStocksShowView>(gfx::Rect{0, 0, 1024, 768});
        gridView->parentControllerTarget = owner;
        owner->grid = gridView;
        app.window().addSubview(gridView);
    }
    void layout(int rows, int cols) {
        gridView->setRowNum(rows);
        gridView->setColNum(cols);
        gridView->setTopSpace(15);
        gridView->setBelowSpace(10);
        gridView->setLeftRightSpace(10);
        gridView->setMidVerSpace(10);
        gridView->setMidHorSpace(10);
    }
    // The first `count` stocks of the loopback market.
    std::vector<std::string> stocks(size_t count) const {
        std::vector<std::string> codes;
        for (const peers::Security &security : quotes.market().securities())
            if (security.type == 1 && codes.size() < count)
                codes.push_back(security.fullCode());
        return codes;
    }
    // Every chart of the page on show has its data (its neighbours wait until they are shown).
    bool chartsArrived() const {
        for (const auto &cell : gridView->cells()) {
            if (cell->tag != MultiStocksPageModel::PageTagBase + gridView->pages().currentPage() ||
                !gridView->pages().record(cell->gridID()))
                continue;
            if (cell->minLineView().isShowWaitingAlert() ||
                (cell->kLineView() && cell->kLineView()->isShowWaitingAlert()))
                return false;
        }
        return !gridView->cells().empty();
    }
    void showAndSettle(const std::vector<std::string> &codes) {
        owner->show(codes);
        ASSERT_TRUE(runUntil([&] { return chartsArrived(); }));
        app.advance(0.5);
        settle();
    }

    base::Ref<WatchListOwner> owner;
    base::Ref<MultiStocksShowView> gridView;
};

TEST_F(GridGoldensTest, ATwoByThreePageOfIntradayCharts) {
    layout(2, 3);
    showAndSettle(stocks(8));
    EXPECT_EQ(gridView->pageControl().numberOfPages(), 2);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "grid/intraday-2x3"));

    // The owner's timer: the page's quotes are asked again and the new records reach the panels.
    const auto before = gridView->pages().record(0);
    quotes.clearReceived();
    advance(60);
    gridView->reqCurScreenQuotes();
    settle();
    EXPECT_EQ(quotes.receivedCount(peers::QuoteServer::QuoteListType), 1u);
    const auto &record = owner->rows->items[0]->basicInf;
    EXPECT_NE(record, before);
    EXPECT_EQ(gridView->pages().record(0), record);
    EXPECT_EQ(gridView->cells()[0]->stockGrid().lastLabel->text(), record->FormatValue(4));
}

TEST_F(GridGoldensTest, ATwoByTwoPageOfDayCandles) {
    layout(2, 2);
    gridView->SwitchCircle(3);
    showAndSettle(stocks(4));
    EXPECT_EQ(gridView->ktype(), 7);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "grid/day-2x2"));
}

TEST_F(GridGoldensTest, APageWhoseFirstEntryHasNoQuoteYet) {
    layout(2, 3);
    std::vector<std::string> codes = stocks(5);
    // A code the market does not know is never quoted.
    codes.insert(codes.begin(), "SH799999");
    showAndSettle(codes);
    MultiStocksGridView &unquoted = *gridView->cells()[0];
    EXPECT_EQ(unquoted.stockGrid().codeLabel->text(), StockQuoteInf::FormatDisplayCode("SH799999"));
    EXPECT_EQ(unquoted.stockGrid().lastLabel->text(), "");
    EXPECT_TRUE(unquoted.minLineView().isShowWaitingAlert());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "grid/first-unquoted"));
}

} // namespace
