#include "Module/Decision/TotalRankMultiMLineView.h"

#include "PanelFixture.h"

#include "Golden.h"
#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"

#include <gtest/gtest.h>

namespace freefront {
namespace {

const gfx::Rect TabArea{0, 0, 1024, 584};

class Owner : public base::Object, public TotalRankMultiMLineViewDelegate {
public:
    base::Opt<void> totalRankMultiMLineView_didTouchBack() override {
        ++backs;
        return {};
    }
    base::Opt<void> totalRankMultiMLineView_didSelectGridStockName(const std::string &name,
                                                                   const std::string &code, int index,
                                                                   const base::Array &rows) override {
        chosen.push_back({name, code, index, rows});
        return {};
    }
    struct Choice {
        std::string name, code;
        int index;
        base::Array rows;
    };
    int backs = 0;
    std::vector<Choice> chosen;
};

class GridTest : public PanelTest {
protected:
    GridTest() { advance(10); }
    void make(size_t count) {
        grid = base::make<TotalRankMultiMLineView>(TabArea);
        grid->delegate = owner;
        grid->setTitle("总金额排名");
        app.window().addSubview(grid);
        base::Array rows;
        for (const peers::Security &security : quotes.market().securities())
            if (security.type == 1 && rows.size() < count)
                rows.add(base::Dict{{"MarketCode", security.fullCode()}, {"StockName", security.name}});
        grid->setDataArray(rows);
        settle();
        app.advance(0.5);
        settle();
    }
    // The cell showing entry `index` of the list.
    const MultiStocksGridView *cellOf(int index) const {
        for (const auto &cell : grid->myMultiStockShowView().cells())
            if (cell->gridID() == index && cell->tag == MultiStocksPageModel::PageTagBase)
                return cell.get();
        return nullptr;
    }
    size_t quotedEntries() const {
        size_t quoted = 0;
        for (int i = 0; i < 6; ++i)
            quoted += grid->myMultiStockShowView().pages().record(i) ? 1 : 0;
        return quoted;
    }

    base::Ref<TotalRankMultiMLineView> grid;
    base::Ref<Owner> owner = base::make<Owner>();
};

TEST_F(GridTest, SixFillAPageFewerLeaveEmptyCells) {
    struct Case {
        size_t count, quoted;
    } cases[] = {{6, 6}, {4, 4}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        make(c.count);
        EXPECT_EQ(grid->myMultiStockShowView().pages().pageCount(), 1);
        EXPECT_EQ(quotedEntries(), c.quoted);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(cellOf(i) != nullptr, size_t(i) < c.count) << i;
        EXPECT_TRUE(grid->myMultiStockShowView().pageControl().isHidden());
        grid->removeFromSuperview();
    }
}

TEST_F(GridTest, ARefreshAsksThePricesThenTheIntradayLines) {
    make(6);
    advance(6); // past the intraday lines' five seconds
    quotes.clearReceived();
    grid->NotifyTimeEvent(0);
    settle();
    std::vector<peers::ReceivedFrame> frames = quotes.received();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front().type, peers::QuoteServer::QuoteListType);
    size_t minutes = 0;
    for (size_t i = 1; i < frames.size(); ++i)
        minutes += frames[i].type == peers::QuoteServer::MinLineType ? 1 : 0;
    EXPECT_EQ(minutes, 6u);
    EXPECT_EQ(quotes.receivedCount(peers::QuoteServer::QuoteListType), 1u);
}

TEST_F(GridTest, BackAndACellGoToTheOwner) {
    make(6);
    app.tap(centre(grid->backButton()));
    app.runPending();
    EXPECT_EQ(owner->backs, 1);
    EXPECT_TRUE(grid->superview()) << "the owner removes the grid";

    const MultiStocksGridView *fifth = cellOf(4);
    ASSERT_TRUE(fifth);
    app.tap(centre(*fifth));
    app.advance(0.5);
    ASSERT_EQ(owner->chosen.size(), 1u);
    EXPECT_EQ(owner->chosen[0].index, 4);
    EXPECT_EQ(owner->chosen[0].code, grid->myStockArray()[4]["MarketCode"].stringValue());
    ASSERT_EQ(owner->chosen[0].rows.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(owner->chosen[0].rows[i]["MarketCode"].stringValue(),
                  grid->myStockArray()[i]["MarketCode"].stringValue());
}

TEST_F(GridTest, ChartGridGolden) {
    make(6);
    ASSERT_TRUE(runUntil([&] {
        for (int i = 0; i < 6; ++i)
            if (!cellOf(i) || cellOf(i)->minLineView().isShowWaitingAlert())
                return false;
        return true;
    }));
    app.advance(0.5);
    settle();
    EXPECT_EQ(grid->titleLabel().text(), "总金额排名");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "decision/chart-grid"));
}

} // namespace
} // namespace freefront
