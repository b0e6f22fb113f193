#include "DetailScreenFixture.h"

namespace detailscreen {
namespace {

// Which panel a screen shows, by name.
std::string panelName(const StockDetailViewController &screen) {
    ui::View *shown = screen.rightPanel();
    if (!shown)
        return "none";
    if (shown == screen.rightStockDetailPanel())
        return "stock";
    if (shown == screen.rightIndexDetailPanel())
        return "index";
    if (shown == screen.rightProdDetailPanel())
        return "future";
    if (shown == screen.rightOpenFundDetailPanel())
        return "fund";
    if (shown == screen.rightCurrDetailPanel())
        return "currency";
    if (shown == screen.rightForeignIndexDetailPanel())
        return "foreign index";
    return "other";
}

TEST_F(DetailScreenTest, EachKindOfSecurityOnTheLoopbackMarketGetsItsModePanelAndCaptions) {
    struct Case {
        const char *code;
        int boardID;
        int mode;
        const char *panel;
        const char *firstCaption;
    };
    const Case cases[] = {
        {"SH600000", 0, 0, "stock", "换手"},
        {"SZ000001", 0, 0, "stock", "换手"},
        {"SH000001", 0, 1, "index", "总额"},
        {"BI000101", 101, 1, "index", "总额"},
        {"BI000101", 0, 1, "index", "总额"},
        {"OF110022", 0, 3, "fund", ""},
        {"OF000009", 0, 3, "fund", ""},
        {"HKHSI", 0, 5, "foreign index", "总额"},
        {"IXDJIA", 0, 5, "foreign index", "总额"},
        {"SFIF1212", 0, 2, "future", "振幅"},
        {"FEUSDCNY", 0, 4, "currency", "今开"},
        {"HK00700", 0, 0, "stock", "换手"},
    };
    readyWithoutAccount();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        auto screen = open(c.code, c.boardID);
        EXPECT_EQ(screen->currentModeType(), c.mode);
        EXPECT_EQ(panelName(*screen), c.panel);
        EXPECT_EQ(screen->rightPanel()->frame(), StockDetailViewController::kRightPanelFrame);
        EXPECT_FALSE(screen->rightPanel()->isHidden());
        EXPECT_EQ(screen->stockPriceShowView()->nameLabel(0).text(), c.firstCaption);
        if (auto *index = screen->rightIndexDetailPanel()) {
            EXPECT_EQ(!index->boardStocksView().isHidden(), c.boardID > 0)
                << "board members only for a board opened with its id";
        }
        if (auto *fund = screen->rightOpenFundDetailPanel()) {
            EXPECT_EQ(fund->stocksView().isHidden(), std::string(c.code) == "OF000009");
        }
        nav->pop(false);
        app.runPending();
    }
}

TEST_F(DetailScreenTest, KindsOutsideTheCodeTablesTakeTheirModeFromTheBasicInformation) {
    struct Case {
        const char *code;
        int type;
        int mode;
        const char *panel;
        const char *captions[6];
    };
    const Case cases[] = {
        {"SF000001", 7, 2, "future", {"振幅", "今开", "最高", "现手", "最低", "总额"}},
        {"FEUSDCNY", 1, 4, "currency", {"今开", "昨收", "最高", "最低", "买入", "卖出"}},
        {"IXDJIA", 0, 5, "foreign index", {"总额", "市值", "昨收", "今开", "最高", "最低"}},
        {"HK00700", 1, 0, "stock", {"换手", "量比", "总额", "总手", "内盘", "外盘"}},
    };
    readyWithoutAccount();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        auto screen = make(c.code);
        push(screen);
        answerBasicInf(*screen, c.type);
        EXPECT_EQ(screen->currentModeType(), c.mode);
        EXPECT_EQ(panelName(*screen), c.panel);
        for (size_t k = 0; k < 6; ++k)
            EXPECT_EQ(screen->stockPriceShowView()->nameLabel(k).text(), c.captions[k]);
        nav->pop(false);
        app.runPending();
    }
}

TEST_F(DetailScreenTest, AStockThatKeepsItsModeAfterAnIndexShowsTheStockPanel) {
    readyWithoutAccount();
    auto screen = open("SH000001");
    ASSERT_EQ(panelName(*screen), "index");
    screen->SetStockCodeMarket("HK00700");
    answerBasicInf(*screen, 1, "腾讯控股");
    EXPECT_EQ(screen->currentModeType(), 0);
    EXPECT_EQ(panelName(*screen), "stock");
    EXPECT_TRUE(screen->rightIndexDetailPanel()->isHidden());
    EXPECT_EQ(screen->stockPriceShowView()->nameLabel(5).text(), "外盘");
    EXPECT_EQ(screen->stockName(), "腾讯控股");
}

TEST_F(DetailScreenTest, TheSameKindAgainKeepsThePanelButLaysItOutForTheNewCode) {
    readyWithoutAccount();
    auto screen = open("OF110022");
    RightOpenFundDetailPanel *fund = screen->rightOpenFundDetailPanel();
    ASSERT_TRUE(fund);
    EXPECT_FALSE(fund->stocksView().isHidden());
    screen->SetStockCodeMarket("OF000009");
    settle();
    EXPECT_EQ(screen->rightOpenFundDetailPanel(), fund) << "panels are made once and reused";
    EXPECT_TRUE(fund->stocksView().isHidden()) << "a money-market fund after another fund has no holdings";

    auto board = make("BI000101", 101);
    push(board);
    settle();
    EXPECT_FALSE(board->rightIndexDetailPanel()->boardStocksView().isHidden());
    board->SetStockCodeMarket("SH000001");
    settle();
    EXPECT_TRUE(board->rightIndexDetailPanel()->boardStocksView().isHidden())
        << "another code resets the board id: the contribution lists again";
    EXPECT_FALSE(board->rightIndexDetailPanel()->indexGXView().isHidden());
}

TEST_F(DetailScreenTest, PortraitIsRefused) {
    auto screen = make("SH600000");
    EXPECT_FALSE(screen->shouldAutorotateTo(ui::Orientation::Portrait));
    EXPECT_FALSE(screen->shouldAutorotateTo(ui::Orientation::PortraitUpsideDown));
    EXPECT_TRUE(screen->shouldAutorotateTo(ui::Orientation::LandscapeLeft));
    EXPECT_TRUE(screen->shouldAutorotateTo(ui::Orientation::LandscapeRight));
}

} // namespace
} // namespace detailscreen
