#include "Module/DetailShowPanel/BuySellPanelView.h"
#include "Module/DetailShowPanel/RightForeignIndexDetailPanel.h"
#include "Module/DetailShowPanel/RightOpenFundDetailPanel.h"
#include "Module/DetailShowPanel/ValuePanelView.h"

#include "Common/StylePool.h"
#include "host/Offscreen.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

struct Prices : base::Object, BuySellPanelViewDelegate {
    std::vector<std::string> picked;
    base::Opt<void> ReturnSelBuySellValue(const std::string &price) override {
        picked.push_back(price);
        return {};
    }
};

// A book with asks above and bids below a close of 10.00: ask 1 at the close, ask 2 above it,
// bid 1 below it, no tenth levels.
base::Ref<StockBasicInf> book() {
    auto r = base::make<StockBasicInf>();
    r->code = "SH600000";
    r->type = 1;
    r->decimal = 2;
    r->closeprice = 1000;
    for (size_t k = 0; k < 9; ++k) {
        r->sellPrice[k] = int32_t(1000 + 5 * k);
        r->sellVol[k] = int32_t(100 + k);
        r->buyPrice[k] = int32_t(995 - 5 * k);
        r->buyVol[k] = int32_t(200 + k);
    }
    return r;
}

struct OrderBookTest : ::testing::Test {
    host::TestApp app;
    base::Ref<BuySellPanelView> panel = base::make<BuySellPanelView>(gfx::Rect{0, 30, 256, 355});

    void SetUp() override {
        app.window().addSubview(panel);
        panel->clearView();
        panel->SetBuySellNum(10);
        app.render();
    }
    BuySellPanelCell &cell(int section, int row) {
        return dynamic_cast<BuySellPanelCell &>(*panel->tableView().cellForRow({section, row}));
    }
};

TEST_F(OrderBookTest, RowsShareTheHeightOfBothHalvesAndTheGap) {
    EXPECT_FLOAT_EQ(panel->tableRowHeight(), 17.65f);
    EXPECT_FLOAT_EQ(panel->tableView().rectForRow({1, 0}).y(), 10 * 17.65f + 2);
    auto small = base::make<BuySellPanelView>(gfx::Rect{0, 0, 240, 177});
    small->SetBuySellNum(5);
    EXPECT_FLOAT_EQ(small->tableRowHeight(), 17.5f);
    for (int refused : {0, 11, -3}) {
        small->SetBuySellNum(refused);
        EXPECT_EQ(small->fieldNum(), 5) << refused;
    }
}

TEST_F(OrderBookTest, AsksCountDownToTheGapAndBidsUpFromIt) {
    panel->SetBuySellData(book());
    app.render();
    const StylePool &style = StylePool::Instance();
    EXPECT_EQ(cell(0, 0).titleLabel().text(), "卖");
    EXPECT_EQ(cell(0, 0).titleTextLabel().text(), "10");
    EXPECT_EQ(cell(0, 0).valueLabel1().text(), "--") << "no tenth level";
    EXPECT_EQ(cell(0, 0).valueLabel2().text(), "--");
    EXPECT_EQ(cell(0, 9).titleTextLabel().text(), "1");
    EXPECT_EQ(cell(0, 9).valueLabel1().text(), "10.00");
    EXPECT_EQ(cell(0, 9).valueLabel1().textColor(), style.clTextPlane);
    EXPECT_EQ(cell(0, 8).valueLabel1().textColor(), style.clTextRise);
    EXPECT_EQ(cell(1, 0).titleLabel().text(), "买");
    EXPECT_EQ(cell(1, 0).titleTextLabel().text(), "1");
    EXPECT_EQ(cell(1, 0).valueLabel1().text(), "9.95");
    EXPECT_EQ(cell(1, 0).valueLabel1().textColor(), style.clTextFall);
    EXPECT_EQ(cell(1, 9).titleTextLabel().text(), "10");

    panel->clearView();
    app.render();
    for (auto [section, row] : std::vector<std::pair<int, int>>{{0, 8}, {1, 0}}) {
        EXPECT_EQ(cell(section, row).valueLabel1().text(), "--");
        EXPECT_EQ(cell(section, row).valueLabel2().text(), "--");
        // The cell showed a rising or falling price before: "--" is neutral again.
        EXPECT_EQ(cell(section, row).valueLabel1().textColor(), style.clTextPlane) << section << row;
    }
}

TEST_F(OrderBookTest, ATapHandsOverThePriceAsShown) {
    auto prices = base::make<Prices>();
    panel->delegate = prices;
    panel->SetBuySellData(book());
    app.render();
    for (auto [section, row] : std::vector<std::pair<int, int>>{{1, 0}, {0, 0}}) {
        gfx::Rect r = panel->tableView().rectForRow({section, row});
        app.tap(panel->tableView().convert(gfx::Point{r.midX(), r.midY()}, nullptr));
        app.advance(0.5);
    }
    EXPECT_EQ(prices->picked, (std::vector<std::string>{"9.95", "--"}));
}

TEST(ValuePanelView, FieldsTakeHalfTheWidthAndAnEvenShareOfTheHeight) {
    auto grid = base::make<ValuePanelView>(gfx::Rect{0, 415, 256, 355});
    std::vector<std::string> captions(16, "最新");
    grid->SetFieldArray(captions);
    EXPECT_EQ(grid->fieldWidth(), 128);
    EXPECT_FLOAT_EQ(grid->fieldHeight(), 43.375f);
    EXPECT_EQ(grid->captionLabel(5)->frame(), (gfx::Rect{128, 86.75f, 64, 43.375f}));
    EXPECT_EQ(grid->valueLabel(5)->frame().maxX(), 256);
    EXPECT_EQ(grid->valueLabel(5)->tag, 2055);

    grid->SetValueArray(std::vector<std::string>(16, "--"));
    grid->SetValueArray({"10.20", "10.11"});
    EXPECT_EQ(grid->valueLabel(1)->text(), "10.11");
    EXPECT_EQ(grid->valueLabel(2)->text(), "--") << "fields past the values keep theirs";
    grid->SetValueArray(std::vector<std::string>(20, "1"));
    EXPECT_EQ(grid->valueLabel(15)->text(), "1") << "values past the fields are dropped";

    grid->SetValueUpdown(-5, 3);
    EXPECT_EQ(grid->valueLabel(3)->textColor(), StylePool::Instance().clTextFall);
    grid->SetValueUpdown(1, 16);

    grid->SetFieldArray({"持仓", "结算"});
    EXPECT_EQ(grid->fieldCount(), 2u) << "a second set of captions replaces the fields";
    EXPECT_EQ(grid->subviews().size(), 4u);
    EXPECT_EQ(grid->captionLabel(1)->text(), "结算");
}

// A value starts on the field's last two thirds, or past its caption's text when that reaches
// further, and shrinks to fit there: a long figure never runs into its caption.
TEST(ValuePanelView, AValueKeepsClearOfItsCaption) {
    auto grid = base::make<ValuePanelView>(gfx::Rect{0, 0, 256, 90});
    grid->SetFieldArray({"量", "流通市值", "总　　额"});
    grid->SetValueArray({"41.87万亿", "41.87万亿", "1234567.89"});
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(grid->captionLabel(i)->text());
        const ui::Label &caption = *grid->captionLabel(i), &value = *grid->valueLabel(i);
        const float captionEnd = caption.frame().midX() + gfx::measure(caption.text(), *caption.font()).w / 2;
        EXPECT_GE(value.frame().x(), std::max(caption.frame().x() + 128 / 3.f, captionEnd));
        EXPECT_EQ(value.frame().maxX(), caption.frame().x() + 128);
        EXPECT_LE(gfx::measure(value.text(), *value.fittedFont()).w, value.frame().width());
    }
    EXPECT_EQ(grid->valueLabel(0)->fittedFont(), grid->valueLabel(0)->font()) << "room enough";
    EXPECT_LT(grid->valueLabel(1)->fittedFont()->pointSize(), ValuePanelView::FontSize);
}

TEST(ValuePanelView, OneColumnGridsKeepTheRowHeightAndRunPastTheirFrame) {
    auto panel = base::make<RightForeignIndexDetailPanel>(gfx::Rect{768, 0, 256, 660});
    ValuePanelView &grid = panel->valuePanelView();
    EXPECT_EQ(grid.fieldCount(), 13u);
    EXPECT_EQ(grid.fieldWidth(), 256);
    EXPECT_NEAR(grid.captionLabel(12)->frame().y(), 294.9, 0.1);
    EXPECT_EQ(grid.captionLabel(12)->text(), "总 市 值");
    EXPECT_EQ(grid.valueLabel(9)->text(), "--");

    auto currency = base::make<RightCurrDetailPanel>(gfx::Rect{768, 0, 256, 660});
    EXPECT_EQ(currency->valuePanelView().fieldCount(), 10u);
    EXPECT_EQ(currency->valuePanelView().captionLabel(7)->text(), "买　　入");
    currency->valuePanelView().SetValueArray({"6.83"});
    currency->valuePanelView().SetValueUpdown(1, 0);
    currency->clearView();
    EXPECT_EQ(currency->valuePanelView().valueLabel(0)->text(), "--");
    EXPECT_EQ(currency->valuePanelView().valueLabel(0)->textColor(), StylePool::Instance().clTextRise)
        << "clearing keeps the colours";
}

TEST(RightOpenFundDetailPanel, AMoneyMarketFundShowsOnlySharesAndHolders) {
    auto panel = base::make<RightOpenFundDetailPanel>(gfx::Rect{768, 0, 256, 660});
    EXPECT_EQ(panel->scrollView().contentSize().w, 330);
    EXPECT_EQ(panel->stocksView().frame(), (gfx::Rect{0, 0, 320, 250}));
    struct Case {
        int type;
        bool holdings;
        float sharesY, holdersY;
    };
    for (const Case &c : {Case{5, false, 0, 150}, Case{1, true, 270, 420}}) {
        panel->resetPanel(c.type);
        EXPECT_EQ(!panel->stocksView().isHidden(), c.holdings) << c.type;
        EXPECT_EQ(panel->sharesView().frame(), (gfx::Rect{0, c.sharesY, 320, 120})) << c.type;
        EXPECT_EQ(panel->ownersView().frame(), (gfx::Rect{0, c.holdersY, 320, 120})) << c.type;
    }
}

} // namespace

// A fund's tables filled with the longest figures of a report: 8-digit dates, 亿 shares.
struct FundTablesTest : ::testing::Test {
    host::TestApp app;
    base::Ref<RightOpenFundDetailPanel> panel =
        base::make<RightOpenFundDetailPanel>(gfx::Rect{768, 0, 256, 660});

    void SetUp() override {
        TableBaseView::Rows stocks, shares, owners;
        const int dates[] = {20121231, 20120930, 20120630, 20120331, 20111231, 20110930};
        for (int i = 0; i < 6; ++i) {
            auto stock = base::make<OpenFundStockItem>();
            stock->name = "中国联通";
            stock->holdVol = 4041 + i;
            stock->priorHoldVol = 3980;
            stock->inFundRate = 912;
            stock->inCapitalRate = 238;
            stocks.push_back(stock);
            auto share = base::make<OpenFundSharesItem>();
            share->date = dates[i];
            share->beginningShares = 208800;
            share->buyShares = 27150;
            share->sellShares = 22350;
            shares.push_back(share);
            auto owner = base::make<OpenFundOwnerItem>();
            owner->date = dates[i];
            owner->ownerCount = 109000;
            owner->institutionShares = 116000;
            owner->individualShares = 91800;
            owner->ownerAvgShares = 10652;
            owners.push_back(owner);
        }
        app.window().addSubview(panel);
        panel->stocksView().Update(&stocks);
        panel->sharesView().Update(&shares);
        panel->ownersView().Update(&owners);
        app.render();
    }
};

// Nothing a user reads is cut short: no title and no figure is wider than its column.
TEST_F(FundTablesTest, EveryCaptionAndFigureFitsItsColumn) {
    auto fits = [](const ui::Label &label) {
        return gfx::measure(label.text(), *label.fittedFont()).w <= label.frame().width();
    };
    for (TableBaseView *table : std::initializer_list<TableBaseView *>{
             &panel->stocksView(), &panel->sharesView(), &panel->ownersView()}) {
        const size_t columns = table->cols().size();
        for (size_t col = 0; col < columns; ++col) {
            ASSERT_TRUE(table->titleLabel(col));
            EXPECT_TRUE(fits(*table->titleLabel(col))) << table->titleLabel(col)->text();
        }
        for (int row = 0; row < table->tv().numberOfRows(0); ++row)
            if (auto cell = table->tv().cellForRow({0, row}))
                for (size_t col = 0; col < columns; ++col) {
                    ui::Label *label = TableBaseView::cellLabel(*cell, col);
                    ASSERT_TRUE(label);
                    EXPECT_TRUE(fits(*label))
                        << table->cols()[col].name << " row " << row << ": " << label->text();
                }
    }
}

TEST_F(FundTablesTest, ASidewaysDragBringsTheLastColumnsIn) {
    const float lastColumnEnd = panel->stocksView().cols().back().x + panel->stocksView().cols().back().width;
    EXPECT_GT(lastColumnEnd, 256) << "the tables are wider than the column";
    app.drag({1000, 150}, {850, 150});
    app.advance(2);
    EXPECT_EQ(panel->scrollView().contentOffset().x, 74);
    EXPECT_EQ(panel->scrollView().contentOffset().y, 0);
    EXPECT_LE(lastColumnEnd + 2, panel->scrollView().contentOffset().x + 256) << "the last column whole";
}
