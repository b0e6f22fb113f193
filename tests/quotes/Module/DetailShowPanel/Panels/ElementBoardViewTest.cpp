#include "Module/DetailShowPanel/ElementBoardView.h"
#include "Module/DetailShowPanel/RightStockDetailPanel.h"

#include "host/Offscreen.h"
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
