#include "Module/DetailShowPanel/ElementBoardView.h"
#include "Module/DetailShowPanel/RightStockDetailPanel.h"

#include "Common/StylePool.h"
#include "host/Offscreen.h"
#include "ui/Animator.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

namespace {

base::Ref<StockBoardInf> board(const char *code, const char *name, int id, int range) {
    auto b = base::make<StockBoardInf>();
    b->code = code;
    b->name = name;
    b->boardID = int16_t(id);
    b->decimal = 2;
    b->lastPrice = 123456;
    b->range = range;
    return b;
}

struct Listener : base::Object, ElementBoardViewDelegate {
    std::vector<std::string> heard;
    base::Opt<void> enterBoardStocks(int boardID, const std::string &name) override {
        heard.push_back("enter " + std::to_string(boardID) + " " + name);
        return {};
    }
    base::Opt<void> ReturnTlineStock(const std::string &code, const std::string &name) override {
        heard.push_back("trend " + code + " " + name);
        return {};
    }
};

struct ElementBoardTest : testing::Test {
    host::TestApp app;
    base::Ref<RightStockDetailPanel> panel = base::make<RightStockDetailPanel>(gfx::Rect{768, 0, 256, 660});
    base::Ref<Listener> listener = base::make<Listener>();

    void SetUp() override {
        app.window().addSubview(panel);
        panel->ReturnSelectedIndex(2, panel->slideMenuViewTop());
        view().delegate = listener;
        view().SetElementBoardDataArray({board("BI000101", "银行", 101, 150),
                                         board("BI000102", "地产", 102, -80),
                                         board("BI000103", "券商", 103, 0)});
        app.render();
    }
    ElementBoardView &view() { return panel->elementBoardView(); }
    ElementBoardCell &row(int r) {
        return dynamic_cast<ElementBoardCell &>(*view().tableView().cellForRow({0, r}));
    }
};

TEST_F(ElementBoardTest, TabShowsTheBoardsInAlternatingRowsThatClearingKeeps) {
    EXPECT_FALSE(view().isHidden());
    EXPECT_TRUE(panel->buySellPanelView().isHidden());
    EXPECT_TRUE(panel->tigerSubDetailView().isHidden());
    EXPECT_FLOAT_EQ(view().tableView().rectForRow({0, 1}).y(), 44);
    for (int r = 0; r < 3; ++r)
        EXPECT_TRUE(*row(r).backgroundView()->backgroundColor() == *ElementBoardView::RowColor(r)) << r;
    EXPECT_FALSE(*ElementBoardView::RowColor(0) == *ElementBoardView::RowColor(1));
    EXPECT_EQ(row(1).nameLabel().text(), "地产");

    panel->clearView();
    app.render();
    EXPECT_EQ(view().dataArray().size(), 3u) << "the boards stay while the stock stays";
}

TEST_F(ElementBoardTest, TrendButtonReportsTheBoardAndARowTapEntersIt) {
    row(2).showTlBtn().sendActions(ui::TouchUpInside);
    app.tap({768 + 50, 30 + 44 + 20});
    app.runPending();
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"trend BI000103 券商", "enter 102 地产"}));
}

} // namespace

namespace {

// Rows as the list's data source holds them after its replies, handed to the list.
void fillMembers(ElementStockView &list, int count) {
    base::Ref<StockQuoteList> rows = list.boardElementData().pack()->rspArray();
    rows->items.clear();
    for (int i = 0; i < count; ++i) {
        auto quote = base::make<StockQuoteInf>();
        quote->code = "SH6" + std::to_string(10000 + i).substr(0, 5);
        quote->name = "成员" + std::to_string(i + 1);
        quote->decimal = 2;
        quote->closeprice = 1000;
        quote->newprice = i % 2 ? 1010 : 990;
        rows->items.push_back(quote);
    }
    list.UpdateBoardElementArray(rows, true);
}

// The x the view shows now, mid-slide included.
float shownX(const ui::View &view) {
    ui::Look look = ui::Animator::shared().presentation(view);
    return look.center.x - look.bounds.width() / 2;
}

struct MemberListener : base::Object, ElementStockViewDelegate {
    std::vector<std::string> heard;
    base::Opt<void> ReturnStockMarketCode(const std::string &code, const std::string &name) override {
        heard.push_back(code + " " + name);
        return {};
    }
};

TEST(ElementStockView, RowsFillEightToAScreenAndNumberTopToBottom) {
    host::TestApp app;
    auto list = base::make<ElementStockView>(gfx::Rect{0, 0, 256, 330});
    app.window().addSubview(list);
    EXPECT_FLOAT_EQ(list->rowHeight(), 37.5f);
    EXPECT_EQ(list->currentBoardID(), -1);
    EXPECT_EQ(list->oldFrame(), (gfx::Rect{256, 0, 256, 330}));
    list->SetBoardName("银行", 101);
    EXPECT_EQ(list->boardNameBtn().titleForState(ui::Normal), "银行");
    fillMembers(*list, 130);
    app.render();
    EXPECT_FLOAT_EQ(list->tableView().rectForRow({0, 1}).y(), 37.5f);
    auto cell = [&](int row) {
        return std::dynamic_pointer_cast<ElementStockCell>(list->tableView().cellForRow({0, row}));
    };
    ASSERT_TRUE(cell(6));
    EXPECT_EQ(cell(6)->SNLabel().text(), "7\n");
    EXPECT_EQ(cell(6)->nameLabel().text(), "成员7");
    EXPECT_TRUE(*cell(6)->backgroundView()->backgroundColor() == *ElementBoardView::RowColor(6));
    EXPECT_TRUE(*cell(6)->lastLabel().textColor() == *StylePool::Instance().getPriceColor(1000, 990));
    EXPECT_TRUE(*cell(7)->rangeLabel().textColor() == *StylePool::Instance().getPriceColor(1000, 1010));
    list->tableView().scrollToRow({0, 122}, ui::ScrollPosition::Top, false);
    app.render();
    ASSERT_TRUE(cell(122));
    EXPECT_EQ(cell(122)->SNLabel().text(), "1\n2\n3\n");
}

struct ElementStockTest : ElementBoardTest {
    base::Ref<MemberListener> memberListener = base::make<MemberListener>();
    // Taps a board row and lets the slide finish.
    base::Ref<ElementStockView> enter(int row) {
        app.tap({768 + 50, 30 + 44 * float(row) + 20});
        app.runPending();
        return view().elementStockView();
    }
};

TEST_F(ElementStockTest, ABoardTapSlidesTheSameListInAndItsTitleSlidesItOut) {
    EXPECT_FALSE(view().elementStockView());
    auto list = enter(1);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->isShowing());
    EXPECT_EQ(list->currentBoardID(), 102);
    EXPECT_EQ(list->boardNameBtn().titleForState(ui::Normal), "地产");
    EXPECT_FLOAT_EQ(list->rowHeight(), (355 - 30) / 8.f);
    EXPECT_FLOAT_EQ(shownX(*list), 256) << "starts parked right of its place";
    app.advance(0.3);
    float halfway = shownX(*list);
    EXPECT_GT(halfway, 0);
    EXPECT_LT(halfway, 256);
    app.advance(0.31);
    EXPECT_FLOAT_EQ(shownX(*list), 0);

    list->boardNameBtn().sendActions(ui::TouchUpInside);
    EXPECT_FALSE(list->isShowing());
    app.advance(0.61);
    EXPECT_FLOAT_EQ(shownX(*list), 256);

    // A second board takes the same list, re-titled, and slides it in again.
    app.tap({768 + 50, 30 + 44 * 2 + 20});
    app.runPending();
    EXPECT_EQ(view().elementStockView(), list);
    EXPECT_EQ(list->boardNameBtn().titleForState(ui::Normal), "券商");
    EXPECT_EQ(list->currentBoardID(), 103);
    EXPECT_TRUE(list->isShowing());
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"enter 102 地产", "enter 103 券商"}));
}

TEST_F(ElementStockTest, AMemberTapIsReportedAsTheStockToShow) {
    auto list = enter(0);
    app.advance(0.7);
    fillMembers(*list, 3);
    app.render();
    app.tap({768 + 128, 30 + 30 + list->rowHeight() * 1.5f});
    app.runPending();
    ASSERT_EQ(listener->heard.size(), 2u);
    EXPECT_EQ(listener->heard[1], "trend " + list->dataArray()->items[1]->code + " 成员2");
}

} // namespace
