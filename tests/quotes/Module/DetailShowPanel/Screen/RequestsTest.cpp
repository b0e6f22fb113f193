#include "DetailScreenFixture.h"

#include "DataBase/ComAPI.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"

namespace detailscreen {
namespace {

struct RequestCase {
    const char *name;
    const char *code;
    int boardID;
    int baseInfo;
    std::set<int> asked, notAsked;
};

const RequestCase kRequestCases[] = {
    {"stock", "SH600000", 0, 2939, {2939, 2940, 2966, 2970, 2976, 2969}, {2915, 2206, 2929, 2955}},
    {"main index", "SH000001", 0, 2939, {2939, 2206, 2940, 2965, 2929, 2977}, {2970, 2915, 2966}},
    {"board from the board list", "BI000101", 101, 2939, {2955}, {2929, 2977, 2970}},
    {"board elsewhere", "BI000101", 0, 2939, {2929, 2977}, {2955, 2970}},
    {"money-market fund", "OF000009", 0, 2310, {2311, 2313, 2314}, {2312, 2940, 2939}},
    {"other fund", "OF110022", 0, 2310, {2311, 2312, 2313, 2314}, {2940}},
};

TEST_F(DetailScreenTest, TheFirstOpenAsksForTheBasicInformationThenTheKindsSet) {
    readyWithoutAccount();
    for (const RequestCase &c : kRequestCases) {
        SCOPED_TRACE(c.name);
        quotes.clearReceived();
        auto screen = open(c.code, c.boardID);
        std::vector<int> sent = types();
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(sent[0], c.baseInfo);
        EXPECT_EQ(sent[1], c.baseInfo == 2310 ? 2311 : 2939) << "nothing else before the basic information";
        std::set<int> all = typeSet();
        for (int type : c.asked)
            EXPECT_TRUE(all.contains(type)) << type;
        for (int type : c.notAsked)
            EXPECT_FALSE(all.contains(type)) << type;
        nav->pop(false);
        app.runPending();
    }
}

TEST_F(DetailScreenTest, ABoardFromTheBoardListAsksForItsFirst25Members) {
    readyWithoutAccount();
    quotes.clearReceived();
    auto screen = open("BI000101", 101);
    std::vector<std::vector<int>> asked;
    for (const peers::ReceivedFrame &frame : quotes.received())
        if (frame.type == 2955) {
            // Board, field groups, sort field, order, first row, rows.
            uint32_t pos = 0;
            int board = ComAPI::ReadShort(frame.bytes(), pos);
            ComAPI::ReadShort(frame.bytes(), pos);
            ComAPI::ReadByte(frame.bytes(), pos);
            ComAPI::ReadByte(frame.bytes(), pos);
            int first = ComAPI::ReadShort(frame.bytes(), pos);
            asked.push_back({board, first, ComAPI::ReadShort(frame.bytes(), pos)});
        }
    EXPECT_EQ(asked, (std::vector<std::vector<int>>{{101, 0, 25}}));
}

// A fund's net values and reports come with the first load; its refreshes ask for nothing more.
TEST_F(DetailScreenTest, AFundsReportsAreAskedOnTheFirstLoadOnly) {
    readyWithoutAccount();
    for (const char *code : {"OF110022", "OF000009"}) {
        SCOPED_TRACE(code);
        auto screen = open(code);
        quotes.clearReceived();
        advance(11);
        EXPECT_EQ(typeSet(), std::set<int>{});
        nav->pop(false);
        app.runPending();
    }
}

TEST_F(DetailScreenTest, TheLevelTwoAccountAlsoGetsTheOrderBook) {
    readyWithAccount();
    quotes.clearReceived();
    auto screen = open("SH600000");
    EXPECT_TRUE(typeSet().contains(2915));
    EXPECT_EQ(screen->rightStockDetailPanel()->buySellPanelView().stockInfo(), screen->getCurrentBasicInf());
}

TEST_F(DetailScreenTest, AnInvalidOrShownCodeSendsAndClearsNothing) {
    readyWithoutAccount();
    auto screen = open("SH600000");
    settle();
    std::string name = screen->stockInfoShowView()->nameLabel().text();
    ASSERT_EQ(name, "浦发银行");
    quotes.clearReceived();
    for (const char *code : {"SH", "", "SH600000"})
        screen->SetStockCodeMarket(code);
    settle();
    EXPECT_TRUE(types().empty());
    EXPECT_EQ(screen->stockCode(), "SH600000");
    EXPECT_EQ(screen->stockInfoShowView()->nameLabel().text(), name);
}

TEST_F(DetailScreenTest, TheScreenRefreshesEveryFiveSecondsOnlyWhileShown) {
    readyWithoutAccount();
    auto screen = open("SH600000");
    quotes.clearReceived();
    advance(4.9);
    EXPECT_TRUE(types().empty());
    advance(0.7);
    std::set<int> refresh = typeSet();
    EXPECT_EQ(refresh, (std::set<int>{2939, 2940, 2970, 2976, 2969}));
    std::vector<int> one = types();
    EXPECT_EQ(std::count(one.begin(), one.end(), 2940), 1);
    advance(5.5);
    std::vector<int> two = types();
    EXPECT_EQ(std::count(two.begin(), two.end(), 2940), 2);

    nav->pop(false);
    app.runPending();
    quotes.clearReceived();
    advance(12);
    EXPECT_TRUE(types().empty()) << "a popped screen asks for nothing";
}

// Nothing keeps a popped screen: not the timer, the notification centre, its data centre, nor its
// panels, whose delegates and parent targets point back at it.
TEST_F(DetailScreenTest, APoppedScreenGoesWithItsPanels) {
    readyWithoutAccount();
    base::Weak<StockDetailViewController> screen;
    std::vector<base::Weak<ui::View>> panels;
    {
        auto shown = open("SH600000");
        for (const char *code : {"SH000001", "SFIF1212", "OF110022", "FEUSDCNY", "HKHSI"}) {
            shown->SetStockCodeMarket(code);
            settle();
            panels.push_back(shown->rightPanel()->weakSelf<ui::View>());
        }
        panels.push_back(shown->rightStockDetailPanel()->weakSelf<ui::View>());
        screen = shown;
        nav->pop(false);
        app.runPending();
    }
    settle();
    EXPECT_FALSE(screen.lock());
    for (const base::Weak<ui::View> &panel : panels)
        EXPECT_FALSE(panel.lock());
    quotes.clearReceived();
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"HQConnectStatus", true}});
    advance(6);
    EXPECT_TRUE(types().empty());
}

TEST_F(DetailScreenTest, NothingGoesOutWhileTheLinkIsDownAndEverythingAtTheNextTickAfter) {
    readyWithoutAccount();
    auto screen = open("SH600000");
    size_t lost = losses();
    quotes.setListening(false);
    quotes.closeConnection();
    ASSERT_TRUE(pumpUntil([&] { return losses() == lost + 1; }));
    quotes.clearReceived();
    advance(11);
    EXPECT_TRUE(types().empty());

    quotes.setListening(true);
    ASSERT_TRUE(runUntil([&] { return db->isHQConnected(); }, 60));
    ASSERT_TRUE(runUntil([&] { return typeSet().contains(2940); }, 6));
    settle();
    std::set<int> all = typeSet();
    for (int type : {2939, 2940, 2970, 2976, 2969})
        EXPECT_TRUE(all.contains(type)) << type;
}

TEST_F(DetailScreenTest, AStaleScreenRefreshesAsItAppears) {
    readyWithoutAccount();
    // A leaving time of 0 reads as never left: start past the virtual clock's origin.
    advance(1);
    auto screen = open("SH600000");
    nav->push(base::make<ListScreen>(), false);
    app.runPending();
    advance(6);
    quotes.clearReceived();
    nav->pop(false);
    app.runPending();
    settle();
    EXPECT_TRUE(typeSet().contains(2940)) << "refreshed without waiting for the tick";
}

TEST_F(DetailScreenTest, TheTradeCentreGetsTheNumericCodeAndTheTradeButton) {
    readyWithoutAccount();
    TradeMsgCenter &trade = *TradeMsgCenter::sharedTradeMsgCenter();
    auto screen = open("SZ000001");
    EXPECT_EQ(trade.currentActiveVCHandle(), screen.get());
    EXPECT_EQ(trade.currentProdCode(), "000001");
    trade.SwitchToStock("SH600036");
    EXPECT_EQ(screen->stockCode(), "SH600036");
    EXPECT_EQ(trade.currentProdCode(), "600036");

    std::vector<std::string> messages;
    base::NotificationCenter::shared().addObserver(
        observer, DataBase::AppNotify,
        [&](const base::Notification &n) { messages.push_back(n.userInfo.get("Data").stringValue()); });
    app.tap(centre(*screen->traderButton()));
    app.advance(0.5);
    base::NotificationCenter::shared().removeObserver(observer.get());
    EXPECT_EQ(messages, std::vector<std::string>{"LaunchTrader"});
}

} // namespace
} // namespace detailscreen
