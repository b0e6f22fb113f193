#include "Module/Decision/TotalRankMultiListView.h"

#include "Module/Decision/MiniRankListViewCell.h"
#include "PanelFixture.h"

#include "Golden.h"
#include "ui/Popover.h"

#include <gtest/gtest.h>

namespace freefront {
namespace {

// The decision page's tab area.
const gfx::Rect TabArea{0, 0, 1024, 584};

class Owner : public base::Object, public TotalRankMultiListViewDelegates {
public:
    base::Opt<void> jumpToMinLineView(TotalRankMultiListView &, const base::Dict &info) override {
        opened.push_back(info);
        return {};
    }
    base::Opt<void> jumpToMultiMinLineView(TotalRankMultiListView &, const base::Dict &info) override {
        grids.push_back(info);
        return {};
    }
    std::vector<base::Dict> opened, grids;
};

std::vector<std::string> codesOf(const MiniRankListView &list) {
    std::vector<std::string> codes;
    for (size_t i = 0; i < list.dspDataArray().size(); ++i)
        codes.push_back(list.dspDataArray()[i]["codeKey"].stringValue());
    return codes;
}

class RankListsTest : public PanelTest {
protected:
    RankListsTest() { advance(10); }
    ~RankListsTest() override {
        for (auto &popover : ui::Popover::visiblePopovers())
            popover->dismiss(false);
    }
    void make() {
        view = base::make<TotalRankMultiListView>(TabArea);
        view->delegate = owner;
        app.window().addSubview(view);
        app.runPending();
    }
    // Makes the lists and lets them fill, as the decision page does on its first showing.
    void makeAndFill() {
        make();
        view->NotifyTimeEvent(0);
        settle();
        app.runPending();
    }
    base::Value classEntry(int index) const { return view->popTblVCtrl().tableArray[size_t(index)]; }
    MiniRankListView &list(int i) const { return *view->list(i); }
    bool waiting(int i) const { return list(i).waitingAlert().superview() != nullptr; }

    base::Ref<TotalRankMultiListView> view;
    base::Ref<Owner> owner = base::make<Owner>();
};

TEST_F(RankListsTest, NineListsOnTwoPages) {
    make();
    EXPECT_EQ(view->scrollV().frame(), (gfx::Rect{0, 36, 1024, 541}));
    EXPECT_EQ(view->pageCtrl().numberOfPages(), 2);
    const float xs[] = {3, 342, 681}, ys[] = {0, 270};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(view->list(i));
        const int page = i / 6;
        EXPECT_EQ(list(i).frame(), (gfx::Rect{1024.0f * float(page) + xs[i % 3], ys[(i % 6) / 3], 337, 268}));
        EXPECT_EQ(list(i).lTitle().text(), TotalRankMultiListView::lists()[size_t(i)].title);
        EXPECT_TRUE(waiting(i));
    }
    EXPECT_EQ(view->switchBtn().currentTitle(), "A 股综合排名");

    // A swipe to the second page, along the gap between the rows of lists, moves the page
    // indicator.
    app.drag({900, 305}, {100, 305}, 5, 0.1);
    app.advance(2);
    EXPECT_EQ(view->scrollV().contentOffset().x, 1024);
    EXPECT_EQ(view->pageCtrl().currentPage(), 1);
}

TEST_F(RankListsTest, ListsByTagAndClassesByIndex) {
    struct Case {
        int tag, sortField, direction, flag;
    } cases[] = {{10000, 1, 0, 0},   {10001, 25, 0, 32}, {10002, 26, 0, 64}, {10003, 1, 1, 0},
                 {10004, 25, 1, 32}, {10005, 26, 1, 64}, {10006, 22, 0, 0},  {10007, 20, 0, 8},
                 {10008, 3, 0, 0},   {9999, -1, 0, 0},   {10009, -1, 0, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        EXPECT_EQ(TotalRankMultiListView::sortFieldOfTag(c.tag), c.sortField);
        EXPECT_EQ(TotalRankMultiListView::directionOfTag(c.tag), c.direction);
        EXPECT_EQ(TotalRankMultiListView::flagOfTag(c.tag), c.flag);
    }
    const int classes[] = {0, 11, 12, 21, 22, 25, -1};
    for (int index = 0; index <= 6; ++index)
        EXPECT_EQ(TotalRankMultiListView::classIdOfIndex(index), classes[index]) << index;
    EXPECT_EQ(TotalRankMultiListView::classIdOfIndex(-1), -1);
}

TEST_F(RankListsTest, EachListAsksForItsSixRowsAndShowsThem) {
    make();
    quotes.clearReceived();
    view->NotifyTimeEvent(0);
    settle();
    app.runPending();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{0, 0, 1, 0, 0, 6},
                                                        {0, 32, 25, 0, 0, 6},
                                                        {0, 64, 26, 0, 0, 6},
                                                        {0, 0, 1, 1, 0, 6},
                                                        {0, 32, 25, 1, 0, 6},
                                                        {0, 64, 26, 1, 0, 6},
                                                        {0, 0, 22, 0, 0, 6},
                                                        {0, 8, 20, 0, 0, 6},
                                                        {0, 0, 3, 0, 0, 6}}));
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(list(i).dspDataArray().size(), 6u) << i;
        EXPECT_FALSE(waiting(i)) << i;
    }
    // The amount list shows the largest amounts first, each row its price and amount.
    const base::Array &rows = list(8).dspDataArray();
    peers::MarketFixture market = quotes.market();
    int32_t previous = INT32_MAX;
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::string code = rows[r]["codeKey"].stringValue();
        const peers::Security *security = nullptr;
        for (const peers::Security &s : market.securities())
            if (s.fullCode() == code)
                security = &s;
        ASSERT_TRUE(security) << code;
        const int32_t amount = market.quote(*security).amount;
        EXPECT_LE(amount, previous) << r;
        previous = amount;
    }
    auto *cell = dynamic_cast<MiniRankListViewCell *>(list(8).tblV().cellForRow({0, 0}).get());
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->labelName().text(), rows[0]["nameKey"].stringValue());
    EXPECT_EQ(cell->labelPrice().text(), rows[0]["DspVal1Key"].stringValue());
    EXPECT_FALSE(cell->labelOther().text().empty());
    EXPECT_EQ(*cell->labelCode().textColor(), *gfx::Color::yellow());
    EXPECT_EQ(*cell->labelOther().textColor(), *gfx::Color::yellow());
}

TEST_F(RankListsTest, AnotherClassClearsAndAsksAgainAndOldRepliesFillNothing) {
    makeAndFill();
    view->switchStkTypeAction(nullptr);
    app.runPending();
    ASSERT_TRUE(view->switchSVCyclePopoverController().isVisible());
    quotes.clearReceived();
    view->NotifyTimeEvent(0); // a refresh of the old class is queued
    view->SVCycleTableViewClick(view->popTblVCtrl(), classEntry(3));
    EXPECT_EQ(view->curSelTypeIndex(), 3);
    EXPECT_EQ(view->popTblVCtrl().curSelType, 3);
    EXPECT_EQ(view->switchBtn().currentTitle(), "深证 A 股综合排名");
    for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(list(i).dspDataArray().size() == 0) << i;
        EXPECT_TRUE(waiting(i)) << i;
    }
    // A reply asked for the old class neither fills a list nor stops its indicator.
    auto old = base::make<StockQuoteList>();
    old->items.push_back(base::make<StockQuoteInf>());
    old->items[0]->code = "SH600000";
    view->DataPoolCallBack(2955, base::make<ReqParams>(ReqParams{{"tag", 300}, {"classID", 0}}));
    auto params = base::make<ReqParams>(ReqParams{{"tag", 300}, {"classID", 0}});
    params->setObject("rspArray", old);
    view->DataPoolCallBack(2955, params);
    EXPECT_TRUE(waiting(0));
    EXPECT_TRUE(list(0).dspDataArray().size() == 0);

    settle();
    app.runPending();
    EXPECT_FALSE(view->switchSVCyclePopoverController().isVisible());
    std::vector<ListRequest> requests = listRequests();
    ASSERT_EQ(requests.size(), 18u);
    for (size_t r = 9; r < 18; ++r)
        EXPECT_EQ(requests[r].classID, 21) << r;
    for (int i = 0; i < 9; ++i)
        for (const std::string &code : codesOf(list(i)))
            EXPECT_TRUE(code.starts_with("SZ00")) << i << " " << code;
    EXPECT_FALSE(waiting(0));

    // The current class again only closes the popover.
    view->switchStkTypeAction(nullptr);
    app.runPending();
    quotes.clearReceived();
    view->SVCycleTableViewClick(view->popTblVCtrl(), classEntry(3));
    settle();
    app.runPending();
    EXPECT_FALSE(view->switchSVCyclePopoverController().isVisible());
    EXPECT_TRUE(listRequests().empty());
    EXPECT_EQ(list(0).dspDataArray().size(), 6u);
}

TEST_F(RankListsTest, ShortAndEmptyClassesAndStrayTags) {
    make();
    struct Case {
        int index;
        size_t rows;
    } cases[] = {{5, 1}, {2, 0}}; // the growth board lists one stock here, Shanghai B none
    for (const Case &c : cases) {
        SCOPED_TRACE(c.index);
        view->SVCycleTableViewClick(view->popTblVCtrl(), classEntry(c.index));
        settle();
        app.runPending();
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(list(i).dspDataArray().size(), c.rows) << i;
            EXPECT_EQ(list(i).tblV().numberOfRows(0), int(c.rows)) << i;
            EXPECT_FALSE(waiting(i)) << i;
        }
    }
    // Replies of tags outside the nine are dropped.
    view->SVCycleTableViewClick(view->popTblVCtrl(), classEntry(0));
    for (int tag : {299, 309, -1})
        view->DataPoolCallBack(2955, base::make<ReqParams>(ReqParams{{"tag", tag}, {"classID", 0}}));
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(waiting(i)) << i;
    settle();
}

TEST_F(RankListsTest, RowAndGridTapsGoToTheOwner) {
    makeAndFill();
    // The third row of the amount list, on the second page.
    view->scrollV().setContentOffset({1024, 0}, false);
    app.runPending();
    MiniRankListView &amount = list(8);
    app.tap(centre(amount.tblV().convert(amount.tblV().rectForRow({0, 2}), nullptr)));
    app.advance(0.5);
    ASSERT_EQ(owner->opened.size(), 1u);
    const std::vector<std::string> codes = codesOf(amount);
    EXPECT_EQ(owner->opened[0].get("kStkCode").stringValue(), codes[2]);
    EXPECT_EQ(owner->opened[0].get("kStkIndex").intValue(), 2);
    const base::Value list = owner->opened[0].get("kDataArray");
    ASSERT_EQ(list.array()->size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ((*list.array())[i].stringValue(), codes[i]);
    EXPECT_FALSE(amount.tblV().selectedRow());

    app.tap(centre(amount.changBtn()));
    app.runPending();
    ASSERT_EQ(owner->grids.size(), 1u);
    EXPECT_EQ(owner->grids[0].get("title").stringValue(), "总金额排名");
    const base::Value stocks = owner->grids[0].get("stkDataArray");
    ASSERT_EQ(stocks.array()->size(), 6u);
    EXPECT_EQ((*stocks.array())[1]["MarketCode"].stringValue(), codes[1]);
    EXPECT_EQ((*stocks.array())[1]["StockName"].stringValue(),
              amount.dspDataArray()[1]["nameKey"].stringValue());

    // A row without a code opens nothing; the grid button of an empty list does nothing.
    amount.setDspDataArray(base::Array{base::Dict{{"nameKey", "无代码"}}});
    app.runPending();
    app.tap(centre(amount.tblV().convert(amount.tblV().rectForRow({0, 0}), nullptr)));
    amount.setDspDataArray(base::Array());
    app.tap(centre(amount.changBtn()));
    app.advance(0.5);
    EXPECT_EQ(owner->opened.size(), 1u);
    EXPECT_EQ(owner->grids.size(), 1u);
}

TEST_F(RankListsTest, NineListsGolden) {
    makeAndFill();
    app.advance(0.5);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "decision/rank-lists"));
}

} // namespace
} // namespace freefront
