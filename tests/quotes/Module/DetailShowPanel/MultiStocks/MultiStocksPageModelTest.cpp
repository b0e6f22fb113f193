#include "Module/DetailShowPanel/MultiStocksPageModel.h"

#include "GridFixture.h"
#include "base/VirtualClock.h"

#include <gtest/gtest.h>

namespace {

using namespace grid;
using Model = MultiStocksPageModel;

// Records what the model asks of its view, in order, and moves the content as a scroll view
// would: the move is reported back at once.
class Recorder : public Model::Listener {
public:
    void listReset(bool makePool) override { pools += makePool; }
    void pageWillFill(int page) override { events.push_back("page " + std::to_string(page)); }
    void cellFilled(int cell) override {
        events.push_back("fill " + std::to_string(model->cell(cell).gridID));
    }
    void cellFreed(int cell) override { events.push_back("free " + std::to_string(cell)); }
    void scrollContent(float x) override {
        events.push_back("scroll " + std::to_string(int(x)));
        model->didScroll(x);
    }
    void requestPageData(const Model::PageRequest &request) override { requests.push_back(request); }

    Model *model = nullptr;
    int pools = 0;
    std::vector<std::string> events;
    std::vector<Model::PageRequest> requests;
};

class PageModelTest : public ::testing::Test {
protected:
    static constexpr float W = 600, H = 400;
    PageModelTest() {
        base::Clock::setCurrent(&clock);
        recorder.model = &model;
        model.setViewSize({W, H});
    }
    ~PageModelTest() override { base::Clock::setCurrent(nullptr); }

    void grid(int rows, int cols) {
        model.rowNum = rows;
        model.colNum = cols;
    }
    void scrollTo(int page) { model.didScroll(float(page) * W); }
    // Entry index per cell in use, and the entries that have a cell.
    std::vector<int> shown() const {
        std::vector<int> ids;
        for (int i = 0; i < Model::CellCount; ++i)
            if (model.cell(i).inUse())
                ids.push_back(model.cell(i).gridID);
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    int cellsOfPage(int page) const {
        int n = 0;
        for (int i = 0; i < Model::CellCount; ++i)
            n += model.cell(i).tag == Model::PageTagBase + page;
        return n;
    }
    std::vector<int> range(int from, int to) const {
        std::vector<int> v;
        for (int i = from; i < to; ++i)
            v.push_back(i);
        return v;
    }
    size_t eventIndex(const std::string &event) const {
        return size_t(std::find(recorder.events.begin(), recorder.events.end(), event) -
                      recorder.events.begin());
    }

    base::VirtualClock clock{1000};
    Recorder recorder;
    Model model{recorder};
};

TEST_F(PageModelTest, SevenEntriesOnTwoByThreeMakeTwoPagesTheSecondWithOneCell) {
    grid(2, 3);
    model.setList(entries(7), true);
    EXPECT_EQ(model.pageCount(), 2);
    EXPECT_EQ(model.contentSize().w, 2 * W);
    EXPECT_EQ(shown(), range(0, 7));
    scrollTo(1);
    EXPECT_EQ(model.currentPage(), 1);
    EXPECT_EQ(model.currentStockIndex(), 6);
    EXPECT_EQ(cellsOfPage(1), 1);
    EXPECT_TRUE(model.pageFilled(0) && model.pageFilled(1));
}

TEST_F(PageModelTest, LeavingANeighbourhoodFreesItsCellsBeforeTheNextPageFills) {
    grid(2, 3);
    model.setList(entries(30), true);
    scrollTo(1);
    EXPECT_EQ(shown(), range(0, 18));
    recorder.events.clear();
    scrollTo(2);
    // Page 0's cells go before page 3's entries find cells; 18 cells always suffice.
    EXPECT_LT(eventIndex("free 5"), eventIndex("fill 18"));
    EXPECT_EQ(recorder.events.front(), "page 2");
    EXPECT_EQ(shown(), range(6, 24));
    EXPECT_FALSE(model.pageFilled(0));
    EXPECT_TRUE(model.pageFilled(3));
    // Freed cells stay where they were, shown, until used again.
    EXPECT_FALSE(model.cell(0).hidden);
}

TEST_F(PageModelTest, PagesOfEightCellsLeaveTheLastOnesEmptyWhenThreeAreFilled) {
    grid(2, 4);
    model.setList(entries(32), true);
    scrollTo(1);
    EXPECT_EQ(shown(), range(0, 18));
    EXPECT_EQ(cellsOfPage(2), 2);
    EXPECT_TRUE(model.pageFilled(2));
}

TEST_F(PageModelTest, CellFramesFollowTheMargins) {
    struct Case {
        int rows, cols;
        float top, below, sides, gap;
        float width, height;
    } cases[] = {
        // (600 − 20 − 20) / 3, (400 − 15 − 10 − 10) / 2
        {2, 3, 15, 10, 10, 10, 560.f / 3, 182.5f},
        {2, 2, 15, 10, 10, 10, 285, 182.5f},
        {1, 1, 0, 0, 0, 0, W, H},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + "x" + std::to_string(c.cols));
        Recorder r;
        Model m{r};
        r.model = &m;
        m.setViewSize({W, H});
        m.rowNum = c.rows, m.colNum = c.cols;
        m.topSpace = c.top, m.belowSpace = c.below, m.leftRightSpace = c.sides;
        m.midVerSpace = m.midHorSpace = c.gap;
        m.setList(entries(3 * c.rows * c.cols), true);
        m.didScroll(W);
        EXPECT_FLOAT_EQ(m.gridWidth(), c.width);
        EXPECT_FLOAT_EQ(m.gridHeight(), c.height);
        for (int i = 0; i < Model::CellCount; ++i) {
            const auto &cell = m.cell(i);
            if (!cell.inUse())
                continue;
            const int n = c.rows * c.cols, p = cell.gridID / n, k = cell.gridID % n;
            EXPECT_FLOAT_EQ(cell.frame.x(), c.sides + float(p) * W + float(k % c.cols) * (c.width + c.gap));
            EXPECT_FLOAT_EQ(cell.frame.y(), c.top + float(k / c.cols) * (c.height + c.gap));
            EXPECT_FLOAT_EQ(cell.frame.width(), c.width);
        }
    }
}

TEST_F(PageModelTest, PageUnderAnOffsetAndWhereARestSnaps) {
    struct Case {
        float x;
        int page;
        float rest;
    } cases[] = {
        {0, 0, 0}, {299, 0, 0}, {300, 1, 600}, {599, 1, 600}, {600, 1, 600}, {900, 2, 1200}, {-100, 0, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(model.pageAt(c.x), c.page) << c.x;
        EXPECT_EQ(model.restOffset(c.x), c.rest) << c.x;
    }
}

TEST_F(PageModelTest, ANewListKeepsThePageOfTheCurrentEntryUnlessTheFirstIsWanted) {
    grid(2, 3);
    model.setList(entries(30), true);
    scrollTo(3);
    recorder.events.clear();
    model.setList(entries(30), false);
    // Every cell freed and hidden, then the same page and its neighbours filled again.
    EXPECT_EQ(model.currentPage(), 3);
    EXPECT_EQ(shown(), range(12, 30));
    EXPECT_EQ(recorder.requests.back().startid, 18);

    // A shorter list: the offset moves to the page of the current entry's index.
    model.setList(entries(8), true);
    EXPECT_EQ(model.currentPage(), 0);
    EXPECT_EQ(shown(), range(0, 8));
    // The pool is made once, on the first list.
    EXPECT_EQ(recorder.pools, 1);
}

TEST_F(PageModelTest, EntriesWithoutRecordsAreShownButNotAskedFor) {
    grid(2, 3);
    base::Array list{entry("SH600000"), entry("SZ000001")};
    model.setList(list, true);
    EXPECT_EQ(shown(), range(0, 2));
    EXPECT_EQ(model.cell(0).code, "SH600000");
    EXPECT_TRUE(recorder.requests.empty());
    EXPECT_FALSE(model.quotesRequest());
}

TEST_F(PageModelTest, QuotesOlderThanFiveSecondsAreAskedForWithThePage) {
    struct Case {
        std::vector<double> ages;
        bool stale;
    } cases[] = {
        {{5.0, 5.0}, false},
        {{5.0, 5.5}, true},
        // Once stale, fresher records after it leave the flag set.
        {{6, 0, 1}, true},
        {{0}, false},
    };
    grid(1, 3);
    for (const Case &c : cases) {
        base::Array list;
        for (size_t i = 0; i < c.ages.size(); ++i)
            list.add(
                entry("C" + std::to_string(i), record("C" + std::to_string(i), clock.now() - c.ages[i])));
        recorder.requests.clear();
        model.setList(list, true);
        ASSERT_EQ(recorder.requests.size(), 1u);
        EXPECT_EQ(recorder.requests[0].needReqBasicInf, c.stale) << c.ages.back();
        EXPECT_EQ(recorder.requests[0].records.size(), c.ages.size());
    }
}

TEST_F(PageModelTest, TheStartIdIsTheFirstEntryWithACode) {
    grid(2, 3);
    base::Array list{entry("A"), entry("", record("")), entry("C", record("C")), entry("D", record("D"))};
    model.setList(list, true);
    ASSERT_EQ(recorder.requests.size(), 1u);
    EXPECT_EQ(recorder.requests[0].startid, 2);
    EXPECT_EQ(recorder.requests[0].records.size(), 2u);
    // A record without a code still counts for staleness.
    EXPECT_TRUE(recorder.requests[0].needReqBasicInf);
}

TEST_F(PageModelTest, TheTimerRefreshStampsThePageOnShowAndSendsItsCodes) {
    grid(1, 2);
    model.setList(entries(5), true);
    scrollTo(1);
    auto request = model.quotesRequest();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->codes, (std::vector<std::string>{"C2", "C3"}));
    EXPECT_EQ(request->startid, 2);
    EXPECT_EQ(model.record(2)->updateTick, clock.now());
    EXPECT_EQ(model.record(3)->updateTick, clock.now());
    EXPECT_EQ(model.record(4)->updateTick, 0);
}

TEST_F(PageModelTest, QuoteRepliesReachTheFirstCellOfTheirCodeWithinTheList) {
    grid(1, 3);
    base::Array list{entry("A", record("A")), entry("B", record("B")), entry("A", record("A"))};
    model.setList(list, true);
    auto cellOf = [&](int index) {
        for (int i = 0; i < Model::CellCount; ++i)
            if (model.cell(i).gridID == index)
                return i;
        return -1;
    };
    struct Case {
        int first, count;
        std::vector<int> entriesOfCells;
    } cases[] = {
        {0, 3, {0, 1, 0}},                                // the second "A" lands on the first "A" cell
        {0, 0, {}},        {1, -1, {}},  {1, 10, {1, 0}}, // cut at the end of the list
        {3, 2, {}},        {-1, 2, {0}},
    };
    for (const Case &c : cases) {
        std::vector<int> cells;
        for (const auto &t : model.quoteTargets(c.first, c.count))
            cells.push_back(t.cell);
        std::vector<int> expected;
        for (int index : c.entriesOfCells)
            expected.push_back(cellOf(index));
        EXPECT_EQ(cells, expected) << c.first << "+" << c.count;
    }
}

TEST_F(PageModelTest, ChartRepliesForCodesNoLongerShownAreDropped) {
    grid(1, 1);
    model.setList(entries(5), true);
    EXPECT_TRUE(model.chartTarget("C1"));
    scrollTo(3);
    EXPECT_FALSE(model.chartTarget("C0"));
    EXPECT_FALSE(model.chartTarget("C1"));
    ASSERT_TRUE(model.chartTarget("C4"));
    EXPECT_EQ(model.chartTarget("C4")->record, model.record(4));
    // An entry whose record now carries another code drops the reply too.
    model.record(4)->code = "X";
    EXPECT_FALSE(model.chartTarget("C4"));
}

} // namespace
