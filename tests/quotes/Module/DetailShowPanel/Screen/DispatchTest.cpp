#include "DetailScreenFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailValues.h"

#include "Common/StylePool.h"

#include <array>
#include <functional>
#include <regex>

namespace detailscreen {
namespace {

// A record whose fields are all different, so that each value id formats differently.
void fill(StockBasicInf &r) {
    r.decimal = 2;
    r.closeprice = 1000;
    r.newprice = 1050;
    r.openprice = 990;
    r.highprice = 1080;
    r.lowprice = 970;
    r.avePrice = 1010;
    r.vol = 123456;
    r.amount = 654321;
    r.ysettlement = 1100;
    r.upStopPrice = 1100;
    r.downStopPrice = 900;
    r.buyPrice[0] = 1049;
    r.sellPrice[0] = 1051;
}

TEST(StockDetailValues, EachModeBuildsItsFieldsInOrder) {
    StockBasicInf r;
    fill(r);
    r.type = 7;
    struct Case {
        int mode;
        std::vector<int32_t> header, panel;
        std::vector<std::pair<int, int>> signs;
    };
    const int latest = 50, open = -10, high = 80, low = -30;
    const Case cases[] = {
        {0,
         {519, 20, 3, 2, 510, 511},
         {4, 501, 502, 519, 1, 504, 2, 505, 509, 506, 3, 20, 507, 508, 510, 511},
         {{0, latest},
          {1, 10},
          {2, latest},
          {4, latest},
          {5, open},
          {7, high},
          {9, low},
          {12, 1},
          {13, -1},
          {14, 1},
          {15, -1}}},
        {1, {}, {2, 3, 501, 524, 521, 523, 522, 520}, {}},
        {2,
         {22, 504, 505, 509, 506, 3},
         {512, 514, 516, 515, 517, 2, 507, 508},
         {{0, -50}, {1, -50}, {2, -50}, {3, -50}, {4, 1}, {5, -1}}},
        {3, {}, {}, {}},
        {5,
         {3, 518, 503, 504, 505, 506},
         {4, 502, 1, 503, 504, 505, 506, 2, 3},
         {{0, latest}, {1, latest}, {2, latest}, {4, open}, {5, high}, {6, low}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        std::vector<std::string> header, panel;
        for (int32_t id : c.header)
            header.push_back(r.FormatValue(id));
        for (int32_t id : c.panel)
            panel.push_back(r.FormatValue(id));
        if (c.mode == 5)
            panel.insert(panel.end(), 4, "--");
        EXPECT_EQ(StockDetailValues::headerValues(c.mode, r), header);
        StockDetailValues::PanelValues values = StockDetailValues::panelValues(c.mode, r);
        EXPECT_EQ(values.values, panel);
        EXPECT_EQ(values.signs, c.signs);
    }
    EXPECT_TRUE(StockDetailValues::headerValues(2, StockBasicInf()).empty()) << "a future of another type";

    StockDetailValues::PanelValues currency = StockDetailValues::panelValues(4, r);
    ASSERT_EQ(currency.values.size(), 10u);
    EXPECT_EQ(currency.values[7], "10.49");
    EXPECT_EQ(currency.values[8], "10.51");
    EXPECT_EQ(currency.signs.back(), (std::pair<int, int>{9, 10}));
    EXPECT_EQ(StockDetailValues::headerValues(4, r).back(), "10.51");
    EXPECT_EQ(StockDetailValues::fieldNames(3), std::vector<std::string>(6, ""));
}

class DispatchTest : public DetailScreenTest {
protected:
    void SetUp() override { readyWithoutAccount(); }

    // A pushed screen in the mode of the made-up basic information, its record filled.
    base::Ref<StockDetailViewController> shown(const std::string &code, int type) {
        auto screen = make(code);
        push(screen);
        answerBasicInf(*screen, type, "测试");
        fill(*screen->getCurrentBasicInf());
        return screen;
    }
    static base::Ref<ReqParams> typed(const std::string &code, int reqType) {
        auto p = params(code);
        p->set("reqType", reqType);
        return p;
    }
    static base::Ref<StkStrikeDetailItem> tick(int time) {
        auto t = base::make<StkStrikeDetailItem>();
        t->time = time;
        t->dealPrice = 1000;
        return t;
    }
};

TEST_F(DispatchTest, DynamicInformationFillsTheHeaderAndThePanelOfTheMode) {
    auto screen = shown("SH600000", 1);
    screen->DataPoolCallBack(2940, params("SH600000"));
    StockInfoShowView &info = *screen->stockInfoShowView();
    EXPECT_EQ(info.nameLabel().text(), "测试");
    EXPECT_EQ(info.lastLabel().text(), "10.50");
    EXPECT_EQ(info.upDownImgView().image(), gfx::Image::named("up.png"));
    EXPECT_EQ(screen->stockPriceShowView()->valueLabel(2).text(),
              screen->getCurrentBasicInf()->FormatValue(3));
    ValuePanelView &grid = screen->rightStockDetailPanel()->valuePanelView();
    EXPECT_EQ(grid.valueLabel(0)->text(), "10.50");
    EXPECT_EQ(grid.valueLabel(9)->textColor(), StylePool::Instance().clTextFall) << "low below the close";
    EXPECT_EQ(screen->rightStockDetailPanel()->buySellPanelView().stockInfo(), screen->getCurrentBasicInf());

    auto future = shown("SF000001", 7);
    future->DataPoolCallBack(2940, params("SF000001"));
    EXPECT_EQ(future->stockPriceShowView()->valueLabel(1).text(),
              future->getCurrentBasicInf()->FormatValue(504));
    EXPECT_EQ(future->rightProdDetailPanel()->valuePanelView().valueLabel(3)->textColor(),
              StylePool::Instance().clTextFall)
        << "coloured against the previous settlement";

    auto currency = shown("FEUSDCNY", 1);
    currency->DataPoolCallBack(2940, params("FEUSDCNY"));
    EXPECT_EQ(currency->rightCurrDetailPanel()->valuePanelView().valueLabel(8)->text(), "10.51");
    EXPECT_EQ(currency->stockPriceShowView()->valueLabel(4).text(), "10.49");
}

TEST_F(DispatchTest, TheTypeComesFromTheParametersWhenNoneIsHandedIn) {
    auto screen = shown("SH600000", 1);
    for (int type : {0, -1}) {
        screen->stockInfoShowView()->clearView();
        screen->DataPoolCallBack(type, typed("SH600000", 2940));
        EXPECT_EQ(screen->stockInfoShowView()->lastLabel().text(), "10.50") << type;
    }
}

TEST_F(DispatchTest, RepliesForAnotherCodeOrOfOtherTypesChangeNothing) {
    auto screen = shown("SH600000", 1);
    screen->SetStockCodeMarket("SH600036");
    answerBasicInf(*screen, 1);
    screen->DataPoolCallBack(2940, params("SH600000"));
    EXPECT_EQ(screen->stockInfoShowView()->lastLabel().text(), "--") << "the previous code's reply";
    screen->DataPoolCallBack(2940, base::make<ReqParams>());
    EXPECT_EQ(screen->stockInfoShowView()->lastLabel().text(), "--") << "a reply without a code";

    fill(*screen->getCurrentBasicInf());
    for (int type : {2916, 2921, 2925, 2930, 2941, 2943, 2950, 2966, 2971, 2978, 2206, 2300, 2500, 2315})
        screen->DataPoolCallBack(type, params("SH600036"));
    EXPECT_EQ(screen->stockInfoShowView()->lastLabel().text(), "--");
    EXPECT_EQ(screen->rightStockDetailPanel()->valuePanelView().valueLabel(0)->text(), "--");
}

TEST_F(DispatchTest, TicksGoToTheTickTableOfStocksAndFuturesOnly) {
    auto screen = shown("SH600000", 1);
    StockDetailNetData &lib = *screen->stockDetailData().stockDetailLib();
    auto *ticks = lib.getStockRspArray(2970);
    ASSERT_TRUE(ticks);
    ticks->assign({tick(93005), tick(93010)});
    lib.getRequestPosItem(2970)->pos = 2;
    screen->DataPoolCallBack(2970, params("SH600000"));
    StrikeDetailView &table = screen->rightStockDetailPanel()->strikeDetailView();
    EXPECT_EQ(table.list().size(), 2u);
    EXPECT_EQ(table.strikeLastPos(), 1);

    struct Case {
        const char *code;
        int type;
    };
    for (const Case &c : {Case{"SH000001", 0}, Case{"FEUSDCNY", 1}, Case{"HKHSI", 0}, Case{"OF110022", 1}}) {
        SCOPED_TRACE(c.code);
        screen->SetStockCodeMarket(c.code);
        answerBasicInf(*screen, c.type);
        ASSERT_NE(screen->currentModeType(), 0);
        table.Update(screen->getCurrentBasicInf(), nullptr, 7);
        if (auto *rows = screen->stockDetailData().stockDetailLib()->getStockRspArray(2970))
            rows->assign({tick(93005)});
        screen->DataPoolCallBack(2970, params(c.code));
        EXPECT_EQ(table.strikeLastPos(), 7) << "ignored outside the stock and future modes";
    }

    auto future = shown("SF000001", 7);
    StockDetailNetData &futureLib = *future->stockDetailData().stockDetailLib();
    futureLib.getStockRspArray(2970)->assign({tick(93005), tick(93006), tick(93007)});
    futureLib.getRequestPosItem(2970)->pos = 3;
    future->DataPoolCallBack(2970, params("SF000001"));
    EXPECT_EQ(future->rightProdDetailPanel()->futureStrikeDetailView().list().size(), 3u);
}

TEST_F(DispatchTest, AFundsNetValueShowsWithThreeDigits) {
    auto screen = open("OF110022");
    std::string last = screen->stockInfoShowView()->lastLabel().text();
    EXPECT_TRUE(std::regex_match(last, std::regex("[0-9]+\\.[0-9]{3}"))) << last;
    EXPECT_EQ(screen->stockPriceShowView()->nameLabel(0).text(), "");
    EXPECT_FALSE(screen->rightOpenFundDetailPanel()->sharesView().list().empty());
}

TEST_F(DispatchTest, IndexListsAndBoardMembersReachTheIndexPanel) {
    auto index = open("SH000001");
    EXPECT_FALSE(index->rightIndexDetailPanel()->indexGXView().list().empty());
    auto board = open("BI000101", 101);
    EXPECT_EQ(board->rightIndexDetailPanel()->boardStocksView().list().size(), 8u);
    auto elsewhere = open("BI000101");
    EXPECT_FALSE(elsewhere->rightIndexDetailPanel()->indexGXView().list().empty())
        << "the main index's contributions";
}

// Which views a reply reaches, recorded on the screen's own header and panels: before each reply
// every view gets a mark (a placeholder text, record or row), and a view whose mark is gone was
// reached. The screen has made all six panels first, so a reply that went to a panel of another
// kind of security would show.
class DispatchRoutingTest : public DispatchTest {
protected:
    using Screen = StockDetailViewController;
    enum Reach : unsigned {
        Info = 1 << 0,
        Price = 1 << 1,
        StockBook = 1 << 2,
        StockGrid = 1 << 3,
        StockTicks = 1 << 4,
        StockBigOrders = 1 << 5,
        IndexGrid = 1 << 6,
        IndexContribution = 1 << 7,
        IndexBigOrders = 1 << 8,
        BoardMembers = 1 << 9,
        FutureBook = 1 << 10,
        FutureGrid = 1 << 11,
        FutureTicks = 1 << 12,
        FundHoldings = 1 << 13,
        FundShares = 1 << 14,
        FundHolders = 1 << 15,
        CurrencyGrid = 1 << 16,
        ForeignGrid = 1 << 17,
    };
    struct Probe {
        Reach reach;
        const char *name;
        std::function<void(Screen &)> mark;
        std::function<bool(Screen &)> reached;
    };

    // A view of a panel, or null while the screen has not made that panel.
    template <class Panel, class Owner, class View>
    static std::function<View *(Screen &)> part(Panel *(Screen::*panel)() const, View &(Owner::*view)()) {
        return [panel, view](Screen &s) -> View * {
            Panel *p = (s.*panel)();
            return p ? &(p->*view)() : nullptr;
        };
    }
    template <class Table> Probe table(Reach reach, const char *name, std::function<Table *(Screen &)> of) {
        return {reach, name, [this, of](Screen &s) { of(s)->updateList(&markRows, 0); },
                [this, of](Screen &s) { return of(s)->list() != markRows; }};
    }
    Probe grid(Reach reach, const char *name, std::function<ValuePanelView *(Screen &)> of) {
        return {reach, name, [of](Screen &s) { of(s)->SetValueArray({Mark}); },
                [of](Screen &s) { return of(s)->valueLabel(0)->text() != Mark; }};
    }
    Probe book(Reach reach, const char *name, std::function<BuySellPanelView *(Screen &)> of) {
        return {reach, name, [this, of](Screen &s) { of(s)->setStockInfo(markRecord); },
                [this, of](Screen &s) { return of(s)->stockInfo() != markRecord; }};
    }

    std::vector<Probe> probes() {
        return {
            {Info, "info header", [](Screen &s) { s.stockInfoShowView()->lastLabel().setText(Mark); },
             [](Screen &s) { return s.stockInfoShowView()->lastLabel().text() != Mark; }},
            {Price, "price header",
             [](Screen &s) { s.stockPriceShowView()->SetFieldValueArray(std::vector<std::string>(6, Mark)); },
             [](Screen &s) { return s.stockPriceShowView()->valueLabel(0).text() != Mark; }},
            book(StockBook, "stock book",
                 part(&Screen::rightStockDetailPanel, &RightStockDetailPanel::buySellPanelView)),
            grid(StockGrid, "stock grid",
                 part(&Screen::rightStockDetailPanel, &RightStockDetailPanel::valuePanelView)),
            table(StockTicks, "stock ticks",
                  part(&Screen::rightStockDetailPanel, &RightStockDetailPanel::strikeDetailView)),
            table(StockBigOrders, "stock big orders",
                  part(&Screen::rightStockDetailPanel, &RightStockDetailPanel::stockDDDetailView)),
            grid(IndexGrid, "index grid",
                 part(&Screen::rightIndexDetailPanel, &RightIndexDetailPanel::valuePanelView)),
            table(IndexContribution, "index contributions",
                  part(&Screen::rightIndexDetailPanel, &RightIndexDetailPanel::indexGXView)),
            table(IndexBigOrders, "index big orders",
                  part(&Screen::rightIndexDetailPanel, &RightIndexDetailPanel::indexDDDetailView)),
            table(BoardMembers, "board members",
                  part(&Screen::rightIndexDetailPanel, &RightIndexDetailPanel::boardStocksView)),
            book(FutureBook, "future book",
                 part(&Screen::rightProdDetailPanel, &RightProdDetailPanel::buySellPanelView)),
            grid(FutureGrid, "future grid",
                 part(&Screen::rightProdDetailPanel, &RightProdDetailPanel::valuePanelView)),
            table(FutureTicks, "future ticks",
                  part(&Screen::rightProdDetailPanel, &RightProdDetailPanel::futureStrikeDetailView)),
            table(FundHoldings, "fund holdings",
                  part(&Screen::rightOpenFundDetailPanel, &RightOpenFundDetailPanel::stocksView)),
            table(FundShares, "fund shares",
                  part(&Screen::rightOpenFundDetailPanel, &RightOpenFundDetailPanel::sharesView)),
            table(FundHolders, "fund holders",
                  part(&Screen::rightOpenFundDetailPanel, &RightOpenFundDetailPanel::ownersView)),
            grid(CurrencyGrid, "currency grid",
                 part(&Screen::rightCurrDetailPanel, &RightCurrDetailPanel::valuePanelView)),
            grid(ForeignGrid, "foreign index grid",
                 part(&Screen::rightForeignIndexDetailPanel, &RightForeignIndexDetailPanel::valuePanelView)),
        };
    }
    static std::string names(unsigned reached, const std::vector<Probe> &all) {
        std::string out;
        for (const Probe &p : all)
            if (reached & p.reach)
                out += std::string(out.empty() ? "" : ", ") + p.name;
        return out.empty() ? "nothing" : out;
    }

    static constexpr const char *Mark = "#";
    const TableBaseView::Rows markRows{base::make<base::Object>()};
    const base::Ref<StockBasicInf> markRecord = base::make<StockBasicInf>();
};

TEST_F(DispatchRoutingTest, EachReplyReachesTheViewsOfItsRowInEachMode) {
    // One security of each mode, in mode order.
    const std::array<const char *, 6> codes{"SH600000", "SH000001", "SFIF1212",
                                            "OF110022", "FEUSDCNY", "HKHSI"};
    constexpr unsigned Nowhere = 0;
    const unsigned stock = Info | Price | StockBook | StockGrid, index = Info | Price | IndexGrid,
                   future = Info | Price | FutureBook | FutureGrid;
    struct Row {
        int type;
        bool forShownCode;
        std::array<unsigned, 6> reaches;
    };
    const auto everywhere = [](unsigned reach) {
        return std::array<unsigned, 6>{reach, reach, reach, reach, reach, reach};
    };
    const Row rows[] = {
        {2940, true, {stock, index, future, Info, Info | Price | CurrencyGrid, Info | Price | ForeignGrid}},
        {2940, false, everywhere(Nowhere)},
        {2970, true, {StockTicks, Nowhere, FutureTicks, Nowhere, Nowhere, Nowhere}},
        {2915, true, everywhere(StockBook)},
        {2915, false, everywhere(Nowhere)},
        // Wherever the data centre keeps a big-order list: a fund's keeps none.
        {2976,
         true,
         {StockBigOrders, StockBigOrders, StockBigOrders, Nowhere, StockBigOrders, StockBigOrders}},
        {2311, true, {Nowhere, Nowhere, Nowhere, Info, Nowhere, Nowhere}},
        {2312, true, everywhere(FundHoldings)},
        {2313, true, everywhere(FundShares)},
        {2314, true, everywhere(FundHolders)},
        // The contributions of the shown SH/SZ code's market, else of the main index: all there
        // since the main index was shown.
        {2929, true, everywhere(IndexContribution)},
        {2977, true, everywhere(IndexBigOrders)},
        {2955, true, everywhere(BoardMembers)},
        // The first basic information is in: a second one changes nothing.
        {2939, true, everywhere(Nowhere)},
        {2310, true, everywhere(Nowhere)},
    };
    // Chart, level-2 and satellite replies reach no header or panel; every other type is ignored.
    const int elsewhere[] = {2917, 2918, 2922, 2942, 2944, 2965, 2969, 2206, 2309, 2315, 2914,
                             2916, 2921, 2925, 2927, 2930, 2932, 2934, 2938, 2941, 2943, 2945,
                             2954, 2956, 2964, 2966, 2968, 2971, 2975, 2978, 3000};

    auto screen = open(codes[0]);
    for (const char *code : codes) {
        screen->SetStockCodeMarket(code);
        settle();
    }
    const std::vector<Probe> all = probes();
    for (size_t mode = 0; mode < codes.size(); ++mode) {
        screen->SetStockCodeMarket(codes[mode]);
        settle();
        ASSERT_EQ(screen->currentModeType(), int(mode)) << codes[mode];
        auto reached = [&](int type, bool forShownCode) {
            for (const Probe &p : all)
                p.mark(*screen);
            screen->DataPoolCallBack(type, params(forShownCode ? codes[mode] : "SZ000002"));
            unsigned out = 0;
            for (const Probe &p : all)
                out |= p.reached(*screen) ? p.reach : 0;
            return out;
        };
        for (const Row &row : rows)
            EXPECT_EQ(names(reached(row.type, row.forShownCode), all), names(row.reaches[mode], all))
                << row.type << (row.forShownCode ? "" : " for another code") << " on " << codes[mode];
        for (int type : elsewhere)
            EXPECT_EQ(names(reached(type, true), all), "nothing") << type << " on " << codes[mode];
    }
}

} // namespace
} // namespace detailscreen
