#include "DetailScreenFixture.h"

#include "DataBase/ComAPI.h"

namespace detailscreen {
namespace {

// The six values of each kind of security and their captions; a kind without them keeps what the
// window shows.
TEST(PopStockDetailView, EachKindShowsItsOwnSixValuesUnderItsOwnCaptions) {
    struct Case {
        const char *code;
        int type;
        std::vector<int> ids;
        std::vector<std::string> captions;
    };
    const Case cases[] = {
        {"SH000001", 0, {3, 503, 504, 505, 506, 518}, {"总额", "昨收", "今开", "最高", "最低", "市值"}},
        {"SFIF1212", 7, {22, 504, 505, 509, 506, 3}, {"振幅", "今开", "最高", "现手", "最低", "总额"}},
        {"SZ000002", 1, {519, 20, 3, 2, 510, 511}, {"换手", "量比", "总额", "总手", "内盘", "外盘"}},
        {"HK00005", 1, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        StockBasicInf record;
        record.code = c.code;
        record.type = int8_t(c.type);
        PopStockDetailView::Fields fields = PopStockDetailView::FieldsFor(record);
        EXPECT_EQ(fields.ids, c.ids);
        EXPECT_EQ(fields.captions, c.captions);
    }
    host::TestApp app;
    auto pop = base::make<PopStockDetailView>(gfx::Rect{0, 0, 1024, 768});
    app.window().addSubview(pop);
    StockBasicInf index;
    index.code = "SH000001";
    index.name = "上证指数";
    index.decimal = 2;
    index.closeprice = 300000;
    index.newprice = 301000;
    pop->UpdatePriceData(index);
    EXPECT_EQ(pop->stockPriceShowView().nameLabel(5).text(), "市值");
    EXPECT_EQ(pop->stockPriceShowView().valueLabel(1).text(), index.FormatValue(503));
    EXPECT_EQ(pop->stockInfoShowView().codeLabel().text(), "000001");
    StockBasicInf hk;
    hk.code = "HK00005";
    hk.name = "汇丰控股";
    hk.type = 1;
    pop->UpdatePriceData(hk);
    EXPECT_EQ(pop->stockPriceShowView().nameLabel(5).text(), "市值");
    EXPECT_EQ(pop->stockPriceShowView().valueLabel(1).text(), index.FormatValue(503));
    EXPECT_EQ(pop->stockInfoShowView().nameLabel().text(), "汇丰控股");
}

class PopUpTest : public DetailScreenTest {
protected:
    void SetUp() override {
        readyWithoutAccount();
        screen = open("SH600000");
        panel = screen->rightStockDetailPanel();
        ASSERT_TRUE(panel);
        panel->slideMenuViewTop().SetSelectedItemIndex(2);
        panel->ReturnSelectedIndex(2, panel->slideMenuViewTop());
        app.render();
    }
    // Slides a board's members in and taps the member in `row`; answers its code.
    std::string tapMember(int board, int row) {
        ElementBoardView &boards = panel->elementBoardView();
        gfx::Rect r = boards.tableView().rectForRow({0, board});
        app.tap(boards.tableView().convert(gfx::Point{60, r.midY()}, nullptr));
        settle();
        app.advance(ElementStockView::SlideSeconds);
        base::Ref<ElementStockView> members = boards.elementStockView();
        if (!members || members->dataArray()->items.size() <= size_t(row))
            return {};
        std::string code = members->dataArray()->items[size_t(row)]->code;
        gfx::Rect m = members->tableView().rectForRow({0, row});
        app.tap(members->tableView().convert(gfx::Point{120, m.midY()}, nullptr));
        settle();
        return code;
    }
    // The request types the server had for a code.
    std::vector<int> askedFor(const std::string &code) const {
        std::vector<int> out;
        for (const peers::ReceivedFrame &frame : quotes.received()) {
            uint32_t pos = 0;
            if (ComAPI::ReadString(frame.bytes(), pos) == code)
                out.push_back(frame.type);
        }
        return out;
    }
    size_t count(const std::vector<int> &types, int type) const {
        return size_t(std::count(types.begin(), types.end(), type));
    }

    base::Ref<StockDetailViewController> screen;
    RightStockDetailPanel *panel = nullptr;
};

TEST_F(PopUpTest, AMemberTapOpensTheWindowOnItAndItsRepliesFillIt) {
    quotes.clearReceived();
    std::string code = tapMember(1, 2);
    ASSERT_FALSE(code.empty());
    PopStockDetailView *pop = screen->popStockDetailView();
    ASSERT_TRUE(pop);
    EXPECT_EQ(pop->superview(), &app.window());
    EXPECT_EQ(pop->frame(), (gfx::Rect{0, 0, 1024, 768}));
    EXPECT_EQ(pop->backgroundView().frame(), (gfx::Rect{164.5f, 136.5f, 695, 495}));
    EXPECT_EQ(pop->code(), code);
    std::vector<int> asked = askedFor(code);
    for (int type : {2939, 2940, 2942})
        EXPECT_EQ(count(asked, type), 1u) << type;
    const StockBasicInf &record = *screen->stockDetailData().popStockBasicInf();
    EXPECT_EQ(record.code, code);
    EXPECT_GT(record.newprice, 0);
    EXPECT_EQ(pop->stockInfoShowView().lastLabel().text(), record.FormatValue(4));
    EXPECT_EQ(pop->stockPriceShowView().valueLabel(0).text(), record.FormatValue(519));
    EXPECT_FALSE(pop->trendLineView().isHidden());
    EXPECT_TRUE(pop->klineView().isHidden());
    EXPECT_TRUE(pop->tab(PopStockDetailView::TrendTabTag).isPressed());

    // A reply for another code leaves it alone.
    std::string shown = pop->stockInfoShowView().nameLabel().text();
    screen->stockDetailData().popStockBasicInf()->name = "别的";
    screen->DataPoolCallBack(2940, params("SZ000002"));
    EXPECT_EQ(pop->stockInfoShowView().nameLabel().text(), shown);
}

TEST_F(PopUpTest, TheCandleTabAsksCandlesOnceAndTheTickRefreshesBoth) {
    std::string code = tapMember(1, 0);
    PopStockDetailView *pop = screen->popStockDetailView();
    ASSERT_TRUE(pop);
    quotes.clearReceived();
    CMSlideMenuItem &candles = pop->tab(PopStockDetailView::KLineTabTag);
    pop->ReturnSelectedItem(candles);
    EXPECT_TRUE(pop->klineView().isShowWaitingAlert());
    pop->ReturnSelectedItem(pop->tab(PopStockDetailView::TrendTabTag));
    pop->ReturnSelectedItem(candles);
    EXPECT_TRUE(pop->hasReqKLine());
    EXPECT_FALSE(pop->klineView().isHidden());
    EXPECT_TRUE(pop->trendLineView().isHidden());
    settle();
    EXPECT_EQ(count(askedFor(code), 2944), 1u);
    EXPECT_FALSE(pop->klineView().isShowWaitingAlert()) << "stops at the first candle reply";

    quotes.clearReceived();
    advance(StockDetailViewController::RefreshPeriod + 0.5);
    std::vector<int> asked = askedFor(code);
    EXPECT_EQ(count(asked, 2940), 1u);
    EXPECT_EQ(count(asked, 2944), 1u);
}

TEST_F(PopUpTest, TheWatchListButtonFollowsTheDefaultGroup) {
    DataManager::sharedDataManager().AddNewStockToModel("我的自选", "MyStockList", "测试", "SZ000002");
    screen->ShowPopStockDetailView("SZ000002", "测试");
    settle();
    PopStockDetailView *pop = screen->popStockDetailView();
    ASSERT_TRUE(pop);
    ui::Button &button = pop->stockInfoShowView().addMyStockBtn();
    EXPECT_EQ(button.tag, StockInfoShowView::RemoveTag);
    button.sendActions(ui::TouchUpInside);
    EXPECT_EQ(button.tag, StockInfoShowView::AddTag);
    EXPECT_FALSE(DataManager::sharedDataManager().IsStockInMyStock("SZ000002", "MyStockList"));
}

TEST_F(PopUpTest, OnlyTheCloseButtonClosesItAndTheOwnerHearsAfterTheSlide) {
    screen->ShowPopStockDetailView("SZ000002", "万科A");
    settle();
    base::Weak<PopStockDetailView> pop = screen->popStockDetailView()->weakSelf<PopStockDetailView>();
    app.advance(1);
    EXPECT_TRUE(*pop.lock()->backgroundColor() == *gfx::Color::rgba(0, 0, 0, PopStockDetailView::DimAlpha))
        << "the screen behind is dimmed";
    app.tap({20, 700});
    app.advance(1);
    ASSERT_TRUE(pop.lock());
    EXPECT_TRUE(screen->popStockDetailView());
    pop.lock()->goBackButton().sendActions(ui::TouchUpInside);
    app.advance(PopStockDetailView::SlideSeconds / 2);
    EXPECT_TRUE(screen->popStockDetailView()) << "still sliding out";
    app.advance(PopStockDetailView::SlideSeconds);
    EXPECT_FALSE(screen->popStockDetailView());
    EXPECT_FALSE(pop.lock()) << "nothing keeps a closed window";
    // Its code is no longer asked on the tick.
    quotes.clearReceived();
    advance(StockDetailViewController::RefreshPeriod + 0.5);
    EXPECT_EQ(askedFor("SZ000002"), std::vector<int>{});
}

} // namespace
} // namespace detailscreen
