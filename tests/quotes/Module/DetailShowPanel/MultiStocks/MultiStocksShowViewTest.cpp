#include "Module/DetailShowPanel/MultiStocksShowView.h"

#include "GridFixture.h"
#include "gfx/Font.h"
#include "gfx/Image.h"
#include "host/Offscreen.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using namespace grid;

// An owner that answers from what the test put in its caches and notes every call.
struct RecordingOwner : base::Object, MultiStocksShowViewDataSource, MultiStocksShowViewDelegate {
    struct PageAsk {
        std::vector<std::string> codes;
        int startid;
        bool stale;
        int ktype;
    };
    void reqCurScreenData(const std::vector<base::Ref<StockQuoteInf>> &records, int startid, bool stale,
                          int ktype) override {
        std::vector<std::string> codes;
        for (const auto &r : records)
            codes.push_back(r->code);
        pageAsks.push_back({codes, startid, stale, ktype});
        heard.push_back("data " + std::to_string(startid));
    }
    void reqCurScreenQuotes(const std::vector<std::string> &codes, int startid, int ktype) override {
        quoteAsks.push_back({codes, startid, false, ktype});
    }
    base::Ref<MinLineList> getMinLineList(const std::string &code) override {
        minAsks.push_back(code);
        return minLines.count(code) ? minLines[code] : nullptr;
    }
    base::Ref<KLineList> getKLineList(const std::string &code, int ktype) override {
        kAsks.push_back(code + "/" + std::to_string(ktype));
        return kLines.count(code) ? kLines[code] : nullptr;
    }
    base::Opt<void> ReturnCurrentSelectedPageNum(int page, int pageSize) override {
        heard.push_back("page " + std::to_string(page) + "/" + std::to_string(pageSize));
        return {};
    }
    base::Opt<void> ReturnSelectedGridStockName(const std::string &name, const std::string &code,
                                                int index) override {
        heard.push_back("tap " + name + " " + code + " " + std::to_string(index));
        return {};
    }
    base::Opt<void> resetTimerCenterOnScroll(int factor) override {
        timerFactors.push_back(factor);
        return {};
    }

    std::vector<PageAsk> pageAsks, quoteAsks;
    std::vector<std::string> minAsks, kAsks, heard;
    std::vector<int> timerFactors;
    std::map<std::string, base::Ref<MinLineList>> minLines;
    std::map<std::string, base::Ref<KLineList>> kLines;
};

// Frames are kept as centre and size, so a frame read back may differ in the last bits.
::testing::AssertionResult near(gfx::Rect actual, gfx::Rect expected) {
    const float a[] = {actual.x(), actual.y(), actual.width(), actual.height()};
    const float e[] = {expected.x(), expected.y(), expected.width(), expected.height()};
    for (int i = 0; i < 4; ++i)
        if (std::abs(a[i] - e[i]) > 1e-3f)
            return ::testing::AssertionFailure() << "component " << i << ": " << a[i] << " != " << e[i];
    return ::testing::AssertionSuccess();
}

// A delegate that has none of the optional operations.
struct SilentDelegate : base::Object, MultiStocksShowViewDelegate {};

class ShowViewTest : public ::testing::Test {
protected:
    static constexpr float W = 768, H = 600;
    ShowViewTest() { app.clock().advance(100); }
    void SetUp() override {
        grid->parentControllerTarget = owner;
        grid->delegate = owner;
        app.window().addSubview(grid);
    }
    // The standard watch-list layout: 2 × 3 with the margins of the owners.
    void twoByThree() {
        grid->setRowNum(2);
        grid->setColNum(3);
        grid->setTopSpace(15);
        grid->setBelowSpace(10);
        grid->setLeftRightSpace(10);
        grid->setMidVerSpace(10);
        grid->setMidHorSpace(10);
    }
    MultiStocksGridView *cellOf(int index) const {
        for (const auto &cell : grid->cells())
            if (cell->tag != 0 && cell->gridID() == index)
                return cell.get();
        return nullptr;
    }
    // Swipes one page to the left and lets the content come to rest.
    void swipeLeft() {
        app.dragAndRest({W - 100, 300}, {100, 300});
        app.advance(2);
    }

    host::TestApp app;
    base::Ref<MultiStocksShowView> grid = base::make<MultiStocksShowView>(gfx::Rect{0, 0, W, H});
    base::Ref<RecordingOwner> owner = base::make<RecordingOwner>();
};

TEST_F(ShowViewTest, AListOnTwoPagesAsksTheOwnerForThePageOnShowAndFollowsASwipe) {
    twoByThree();
    grid->SetGridDataArray(entries(7), true);
    EXPECT_EQ(grid->pageControl().numberOfPages(), 2);
    EXPECT_EQ(grid->cells().size(), size_t(MultiStocksPageModel::CellCount));
    ASSERT_EQ(owner->pageAsks.size(), 1u);
    EXPECT_EQ(owner->pageAsks[0].codes, (std::vector<std::string>{"C0", "C1", "C2", "C3", "C4", "C5"}));
    EXPECT_TRUE(owner->pageAsks[0].stale);
    EXPECT_EQ(owner->minAsks.size(), 7u) << "both pages filled from the owner's cache";
    EXPECT_EQ(owner->heard.front(), "page 0/6") << "the delegate hears of the page before cells fill";
    ASSERT_TRUE(cellOf(6));
    EXPECT_TRUE(cellOf(6)->minLineView().isShowWaitingAlert()) << "no cached intraday chart";

    // The dots follow the pages and take no taps of their own.
    app.tap({W / 2 + 30, H - 22});
    app.advance(1);
    EXPECT_EQ(grid->pageControl().currentPage(), 0);
    swipeLeft();
    EXPECT_EQ(grid->contentView().contentOffset().x, W);
    EXPECT_EQ(grid->pageControl().currentPage(), 1);
    EXPECT_EQ(owner->pageAsks.back().codes, (std::vector<std::string>{"C6"}));
    EXPECT_EQ(owner->pageAsks.back().startid, 6);
    ASSERT_FALSE(owner->timerFactors.empty());
    EXPECT_EQ(owner->timerFactors.back(), 2);

    // A new list that does not load the first page stays on the page of the current entry.
    grid->SetGridDataArray(entries(9), false);
    EXPECT_EQ(grid->contentView().contentOffset().x, W);
    EXPECT_EQ(owner->pageAsks.back().startid, 6);
    EXPECT_EQ(grid->cells().size(), size_t(MultiStocksPageModel::CellCount)) << "the cells are made once";
}

TEST_F(ShowViewTest, RepliesReachTheirCellsAndNothingElse) {
    twoByThree();
    base::Array list = entries(8);
    list.add(entry("C0", record("C0"))); // listed twice: the second is on page 1
    grid->SetGridDataArray(list, true);
    MultiStocksGridView &first = *cellOf(0);

    auto minutes = base::make<MinLineList>();
    grid->UpdateMinLine("C0", minutes);
    EXPECT_FALSE(first.minLineView().isShowWaitingAlert());
    EXPECT_TRUE(cellOf(8)->minLineView().isShowWaitingAlert()) << "only the first cell of the code";
    grid->UpdateMinLine("nowhere", minutes);

    // Candles of another period than the grid's are dropped.
    grid->UpdateKLine("C1", base::make<KLineList>(), 7);
    EXPECT_FALSE(cellOf(1)->existKLineView());

    StockQuoteInf &r = *list[1]["basicInf"].objectAs<StockQuoteInf>();
    r.newprice = 900;
    grid->UpdateQuotes(1, 0);
    EXPECT_EQ(cellOf(1)->stockGrid().lastLabel->text(), "10.50") << "a count below 1 changes nothing";
    grid->UpdateQuotes(1, 100);
    EXPECT_EQ(cellOf(1)->stockGrid().lastLabel->text(), "9.00") << "a range past the end is cut there";
    EXPECT_EQ(*cellOf(1)->stockGrid().lastLabel->textColor(), *gfx::Color::rgba(0, 1, 0));
}

TEST_F(ShowViewTest, SwitchingThePeriodRefetchesEveryCellAndThePage) {
    struct Case {
        int tab, ktype;
    } cases[] = {{0, 0}, {1, 3}, {2, 5}, {3, 7}, {4, 8}, {5, 9}, {6, 0}, {-1, 0}};
    for (const Case &c : cases)
        EXPECT_EQ(MultiStocksGridView::getKType(c.tab), c.ktype) << c.tab;

    twoByThree();
    owner->kLines["C1"] = base::make<KLineList>();
    grid->SetGridDataArray(entries(4), true);
    owner->minAsks.clear();
    grid->SwitchCircle(3);
    EXPECT_EQ(grid->ktype(), 7);
    EXPECT_EQ(owner->kAsks, (std::vector<std::string>{"C0/7", "C1/7", "C2/7", "C3/7"}));
    EXPECT_EQ(owner->pageAsks.back().ktype, 7);
    EXPECT_EQ(owner->pageAsks.size(), 2u);
    MultiStocksGridView &cached = *cellOf(1), &waiting = *cellOf(0);
    EXPECT_FALSE(cached.isShowMinLineView());
    EXPECT_TRUE(cached.minLineView().isHidden());
    EXPECT_FALSE(cached.kLineView()->isHidden());
    EXPECT_FALSE(cached.kLineView()->isShowWaitingAlert());
    EXPECT_TRUE(waiting.kLineView()->isShowWaitingAlert());
    grid->UpdateKLine("C0", base::make<KLineList>(), 7);
    EXPECT_FALSE(waiting.kLineView()->isShowWaitingAlert());

    grid->SwitchCircle(0);
    EXPECT_EQ(grid->ktype(), 0);
    EXPECT_TRUE(cached.isShowMinLineView());
    EXPECT_TRUE(cached.kLineView()->isHidden());
    EXPECT_EQ(owner->minAsks.size(), 4u);
    EXPECT_EQ(owner->pageAsks.back().ktype, 0);
    EXPECT_EQ(owner->pageAsks.size(), 3u);
}

TEST_F(ShowViewTest, CodesWithoutQuotesShowEmptyPricesAndAskNothing) {
    twoByThree();
    grid->SetGridDataArray(base::Array{entry("SH600000"), entry("SZ000001")}, true);
    MultiStocksGridView &cell = *cellOf(0);
    EXPECT_EQ(cell.stockGrid().codeLabel->text(), StockQuoteInf::FormatDisplayCode("SH600000"));
    EXPECT_EQ(cell.stockGrid().lastLabel->text(), "");
    EXPECT_TRUE(owner->pageAsks.empty());
    grid->reqCurScreenQuotes();
    EXPECT_TRUE(owner->quoteAsks.empty());
}

TEST_F(ShowViewTest, TheTimerRefreshAsksForThePageOnShow) {
    grid->setColNum(2);
    grid->SetGridDataArray(entries(3), true);
    grid->reqCurScreenQuotes();
    ASSERT_EQ(owner->quoteAsks.size(), 1u);
    EXPECT_EQ(owner->quoteAsks[0].codes, (std::vector<std::string>{"C0", "C1"}));
    EXPECT_EQ(owner->quoteAsks[0].startid, 0);

    // Pages of other than six cells space the owner's timer by 1; a programmatic move reports too.
    grid->contentView().setContentOffset({W, 0});
    EXPECT_EQ(owner->timerFactors, (std::vector<int>{1}));
    grid->reqCurScreenQuotes();
    EXPECT_EQ(owner->quoteAsks.back().codes, (std::vector<std::string>{"C2"}));
    EXPECT_EQ(owner->quoteAsks.back().startid, 2);
}

TEST_F(ShowViewTest, ATapReportsTheCellsNameCodeAndIndex) {
    twoByThree();
    grid->SetGridDataArray(entries(3), true);
    app.runPending();
    gfx::Rect f = cellOf(2)->frame();
    app.tap({f.midX(), f.y() + 20});
    app.advance(1);
    EXPECT_EQ(owner->heard.back(), "tap 名C2 C2 2");
}

TEST_F(ShowViewTest, AReleasedOwnerAndASilentDelegateAreAskedNothing) {
    auto silent = base::make<SilentDelegate>();
    grid->delegate = silent;
    grid->parentControllerTarget = base::make<RecordingOwner>(); // released at once
    twoByThree();
    grid->SetGridDataArray(entries(12), true);
    swipeLeft();
    grid->reqCurScreenQuotes();
    grid->SwitchCircle(2);
    EXPECT_EQ(grid->pageControl().currentPage(), 1);
    EXPECT_TRUE(owner->heard.empty());
}

TEST_F(ShowViewTest, CellsLayOutTheirPanelChartsAndLabelsFromTheirSize) {
    twoByThree();
    grid->SetGridDataArray(entries(1), true);
    MultiStocksGridView &cell = *cellOf(0);
    app.runPending();
    grid->layoutIfNeeded();
    const float w = (W - 20 - 20) / 3, h = (H - 15 - 10 - 10) / 2;
    EXPECT_TRUE(near(cell.frame(), gfx::Rect{10, 15, w, h}));
    MultiStocksGridPricePanel &panel = cell.stockGrid();
    EXPECT_TRUE(near(panel.frame(), gfx::Rect{0, 0, w, 40}));
    EXPECT_TRUE(near(cell.minLineView().frame(), gfx::Rect{1, 59, w - 2, h - 65}));
    const float x = w / 4.5f, a = (w - 25 - 2 * x) / 2;
    EXPECT_TRUE(near(panel.nameLabel->frame(), gfx::Rect{5, 10, x, 80.f / 3}));
    EXPECT_TRUE(near(panel.lastLabel->frame(), gfx::Rect{x, 35, x, 20}));
    EXPECT_TRUE(near(panel.rangeLabel->frame(), gfx::Rect{x, 10, x - 10, 20})) << "clear of the arrow";
    EXPECT_TRUE(near(panel.upDownImgView->frame(), gfx::Rect{2 * x - 10, 10, 25, 25}));
    EXPECT_TRUE(near(panel.volLabel->frame(), gfx::Rect{2 * x + a, 35, a, 20}));
    EXPECT_FLOAT_EQ(panel.nameLabel->font()->pointSize(), x / 4.5f);
    EXPECT_FLOAT_EQ(panel.volLabel->font()->pointSize(), x / 5);
    EXPECT_EQ(panel.exchangeNameLabel->text(), "换手");
    EXPECT_EQ(panel.volNameLabel->text(), "总手");
    EXPECT_TRUE(near(grid->pageControl().frame(), gfx::Rect{0, H - 35, W, 25}));
}

TEST(MultiStocksGridPricePanel, TheArrowAndColoursFollowTheSign) {
    struct Case {
        float change;
        const char *image;
        base::Ref<gfx::Color> color;
    } cases[] = {
        {0.01f, "up.png", gfx::Color::rgba(1, 0, 0)},
        {-5, "down.png", gfx::Color::rgba(0, 1, 0)},
        {0, "equal.png", gfx::Color::white()},
    };
    for (const Case &c : cases) {
        auto panel = base::make<MultiStocksGridPricePanel>(gfx::Rect{0, 0, 240, 40});
        panel->SetUpDown(c.change);
        EXPECT_EQ(panel->upDownImgView->image(), gfx::Image::named(c.image)) << c.change;
        EXPECT_EQ(*panel->lastLabel->textColor(), *c.color);
        EXPECT_EQ(*panel->rangeLabel->textColor(), *c.color);
        EXPECT_EQ(*panel->volLabel->textColor(), *gfx::Color::white()) << "volume keeps its colour";
        panel->SetUpDown(std::nanf(""));
        EXPECT_EQ(panel->upDownImgView->image(), gfx::Image::named(c.image)) << "NaN changes nothing";
        EXPECT_EQ(*panel->lastLabel->textColor(), *c.color);
    }
}

} // namespace
