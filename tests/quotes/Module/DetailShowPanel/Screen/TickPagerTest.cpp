#include "DetailScreenFixture.h"

#include "DataBase/ComAPI.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"
#include "base/FileManager.h"

namespace detailscreen {
namespace {

constexpr const char *kCode = "SH600000";

// A tick request as the server read it: first position and count.
struct Asked {
    int pos, count;
    bool operator==(const Asked &) const = default;
};

base::Ref<StkStrikeDetailItem> tick(int pos) {
    auto t = base::make<StkStrikeDetailItem>();
    t->pos = pos;
    t->time = 93000 + pos % 60;
    t->dealPrice = 1000 + pos % 7;
    t->dealVol = 10 + pos;
    return t;
}

std::vector<base::Ref<base::Object>> ticks(int from, int to) {
    std::vector<base::Ref<base::Object>> out;
    for (int p = from; p <= to; ++p)
        out.push_back(tick(p));
    return out;
}

class TickPagerTest : public DetailScreenTest {
protected:
    void SetUp() override {
        readyWithoutAccount();
        record->code = kCode;
        record->name = "浦发银行";
        record->decimal = 2;
        record->closeprice = 1000;
        record->type = 1;
        quotesDate = db->IO_NetDataCenter()->IO_QuotesDate;
        ASSERT_GT(quotesDate, 0);
        forgetCache();
        quotes.clearReceived();
    }
    // The day's ticks a pager left behind.
    void forgetCache() {
        base::FileManager::remove(documentsFile(LocalFileFunc::getCodePath(kCode) + "strike.dat"));
    }
    // A pager on the newest position, added to the window and zoomed in as a panel opens it.
    base::Ref<StockDetailFullScreenView> open(int lastPos, bool finishZoom = true) {
        auto pager = base::make<StockDetailFullScreenView>(gfx::Rect{768, 415, 256, 230});
        app.window().addSubview(pager);
        pager->SetStockCode(kCode, record, lastPos);
        pager->ShowWithAnimationZoomToRect(StockDetailFullScreenView::kFullRect);
        // The running zoom would keep the pager past the test.
        if (finishZoom)
            app.advance(StockDetailFullScreenView::ZoomSeconds);
        return pager;
    }
    std::vector<Asked> asked() const {
        std::vector<Asked> out;
        for (const peers::ReceivedFrame &frame : quotes.received())
            if (frame.type == 2970) {
                uint32_t pos = 0;
                ComAPI::ReadString(frame.bytes(), pos);
                int first = ComAPI::ReadInt(frame.bytes(), pos);
                out.push_back({first, ComAPI::ReadShort(frame.bytes(), pos)});
            }
        return out;
    }
    static std::vector<Asked> wholePage(int pageNo) {
        std::vector<Asked> out;
        for (int k = 0; k < 5; ++k)
            out.push_back({pageNo * 150 + 30 * k, 30});
        return out;
    }
    void cache(int from, int to, int date) {
        std::vector<base::Ref<base::Object>> list = ticks(from, to);
        ASSERT_TRUE(LocalFileFunc::saveStrikeDetail(kCode, list, date));
    }

    base::Ref<StockBasicInf> record = base::make<StockBasicInf>();
    int quotesDate = 0;
};

// The newest page first, then the one before; positions count from 0 and are asked as they are.
TEST_F(TickPagerTest, OpeningShowsTheNewestPageAndFetchesItThenThePageBefore) {
    struct Case {
        int lastPos;
        const char *label;
        std::vector<int> pages;
    };
    for (const Case &c : {Case{149, "第 1 页, 共 1 页", {0}}, Case{150, "第 2 页, 共 2 页", {1, 0}}}) {
        SCOPED_TRACE(c.lastPos);
        forgetCache();
        quotes.clearReceived();
        auto pager = open(c.lastPos);
        EXPECT_EQ(pager->pageInfoLabel().text(), c.label);
        settle();
        std::vector<Asked> want;
        for (int page : c.pages) {
            std::vector<Asked> whole = wholePage(page);
            want.insert(want.end(), whole.begin(), whole.end());
        }
        EXPECT_EQ(asked(), want);
        EXPECT_FALSE(pager->isBusyofReqStrike());
        for (int page : c.pages) {
            ASSERT_TRUE(pager->strikePageDict().getPageInfo(page));
            const auto &held = pager->strikePageDict().getPageInfo(page)->array;
            ASSERT_EQ(held.size(), 150u);
            EXPECT_EQ(held.front()->pos, page * 150);
            EXPECT_EQ(held.back()->pos, page * 150 + 149);
        }
        EXPECT_EQ(pager->scrollSubViewArray()[0]->currentPageNo(), c.pages.front());
        pager->removeFromSuperview();
    }
}

// A page read from the day's cache asks only for what it lacks; another day's cache counts for
// nothing; what the pager held is written back when it goes.
TEST_F(TickPagerTest, TheDaysCacheIsContinuedAndWrittenBack) {
    struct Case {
        int cached;
        int date;
        Asked first;
    };
    for (const Case &c : {Case{120, quotesDate, {120, 30}}, Case{140, quotesDate, {140, 10}},
                          Case{140, quotesDate - 1, {0, 30}}}) {
        SCOPED_TRACE(c.cached);
        cache(0, c.cached - 1, c.date);
        quotes.clearReceived();
        auto pager = open(100);
        settle();
        ASSERT_FALSE(asked().empty());
        EXPECT_EQ(asked().front(), c.first);
        pager->removeFromSuperview();
        pager.reset();
        // The zoom's animation lets go of it.
        app.advance(StockDetailFullScreenView::ZoomSeconds);
        std::vector<base::Ref<StkStrikeDetailItem>> saved;
        ASSERT_TRUE(LocalFileFunc::readStrikeDetail(kCode, saved, quotesDate));
        ASSERT_EQ(saved.size(), 150u);
        for (size_t i = 0; i < saved.size(); ++i)
            ASSERT_EQ(saved[i]->pos, int(i));
    }
}

// Swiping from page 3 to page 2 of 6 moves the view that shows none of 1, 2 and 3 to page 1 and
// asks for it; a full page is never asked again.
TEST_F(TickPagerTest, ASwipeFillsTheSpareViewAndAsksItsPageOnce) {
    auto pager = open(899);
    settle();
    ui::ScrollView &scroll = pager->stockDetailScrollView();
    auto shown = [&] {
        std::vector<int> pages;
        for (const auto &view : pager->scrollSubViewArray())
            pages.push_back(view->currentPageNo());
        return pages;
    };
    EXPECT_EQ(shown(), (std::vector<int>{5, 4, -1}));
    scroll.setContentOffset({4 * 1024, 0});
    scroll.setContentOffset({3 * 1024, 0});
    settle();
    EXPECT_EQ(shown(), (std::vector<int>{2, 4, 3}));
    quotes.clearReceived();
    scroll.setContentOffset({2 * 1024, 0});
    EXPECT_EQ(shown(), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(pager->pageInfoLabel().text(), "第 3 页, 共 6 页");
    settle();
    EXPECT_EQ(asked(), wholePage(1));
    // Back and forth over full pages asks nothing.
    quotes.clearReceived();
    for (int page : {3, 2, 3, 4, 3, 2})
        scroll.setContentOffset({float(page) * 1024, 0});
    settle();
    EXPECT_EQ(asked(), std::vector<Asked>{});
}

TEST_F(TickPagerTest, LiveTicksExtendTheLastPageAndMoveOnlyAReaderOfIt) {
    auto pager = open(149);
    settle();
    ASSERT_EQ(pager->strikePageDict().getPageInfo(0)->array.size(), 150u);
    // The reader is on the last page: a new page takes them along.
    pager->UpdateParentStrikeArray(ticks(120, 160), 160);
    EXPECT_EQ(pager->maxPageNo(), 1);
    EXPECT_EQ(pager->currentPageNo(), 1);
    EXPECT_EQ(pager->pageInfoLabel().text(), "第 2 页, 共 2 页");
    EXPECT_FLOAT_EQ(pager->stockDetailScrollView().contentOffset().x, 1024);
    EXPECT_EQ(pager->strikePageDict().getPageInfo(1)->array.size(), 11u);
    // A reader further back only sees the count grow.
    pager->stockDetailScrollView().setContentOffset({0, 0});
    pager->UpdateParentStrikeArray(ticks(161, 310), 310);
    EXPECT_EQ(pager->pageInfoLabel().text(), "第 1 页, 共 3 页");
    EXPECT_EQ(pager->strikePageDict().getPageInfo(1)->array.size(), 150u);
    EXPECT_TRUE(pager->strikePageDict().getPageInfo(1)->isGetAllData);
    EXPECT_EQ(pager->strikePageDict().getPageInfo(2)->array.size(), 11u);
    // Ticks that would leave a gap are ignored.
    pager->UpdateParentStrikeArray(ticks(330, 340), 340);
    EXPECT_EQ(pager->strikePageDict().getPageInfo(2)->array.size(), 11u);
    EXPECT_EQ(pager->maxPageNo(), 2);
}

// A reply that never comes, or a reconnect, does not leave the pager waiting for ever.
TEST_F(TickPagerTest, ALostReplyOrAReconnectAsksAgain) {
    peers::Fault silent;
    silent.type = 2970;
    silent.silent = true;
    quotes.addFault(silent);
    auto pager = open(149);
    settle();
    EXPECT_EQ(asked(), (std::vector<Asked>{{0, 30}}));
    EXPECT_TRUE(pager->isBusyofReqStrike());
    // The coordinator takes the silence for a lost link; the pager asks again once it is back.
    ASSERT_TRUE(runUntil([&] { return asked().size() >= 6; }, 120));
    settle();
    EXPECT_EQ(asked()[1], (Asked{0, 30}));
    EXPECT_FALSE(pager->isBusyofReqStrike());
    EXPECT_EQ(pager->strikePageDict().getPageInfo(0)->array.size(), 150u);

    // The connection back: the request in flight is asked again, and the reply that then comes
    // twice fills the page once.
    quotes.clearReceived();
    auto other = open(300, false);
    EXPECT_TRUE(other->isBusyofReqStrike());
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"HQConnectStatus", true}});
    settle();
    ASSERT_GE(asked().size(), 2u);
    EXPECT_EQ(asked()[0], (Asked{300, 30}));
    EXPECT_EQ(asked()[1], (Asked{300, 30}));
    const auto &page = other->strikePageDict().getPageInfo(2)->array;
    ASSERT_EQ(page.size(), 150u);
    for (size_t k = 0; k < page.size(); ++k)
        ASSERT_EQ(page[k]->pos, 300 + int(k));
    app.advance(StockDetailFullScreenView::ZoomSeconds);
}

// The close button shrinks the pager back to the list's place over 0.3 s, then tells the panel
// and goes.
TEST_F(TickPagerTest, ZoomInAndOut) {
    struct Panel : base::Object, StockDetailFullScreenViewDelegate {
        int dismissed = 0;
        base::Opt<void> ReturnStrikeFullScreenViewDismiss() override {
            ++dismissed;
            return {};
        }
    };
    auto panel = base::make<Panel>();
    base::Weak<StockDetailFullScreenView> weak;
    {
        auto pager = open(149);
        pager->delegate = panel;
        weak = pager;
        EXPECT_EQ(pager->frame(), StockDetailFullScreenView::kFullRect);
        EXPECT_EQ(pager->fromRect(), (gfx::Rect{768, 415, 256, 230}));
        EXPECT_EQ(pager->closeButton().frame(), (gfx::Rect{0, 0, 25, 25}));
        settle();
        pager->closeButton().sendActions(ui::TouchUpInside);
        EXPECT_EQ(pager->frame(), (gfx::Rect{768, 415, 256, 230}));
    }
    app.advance(0.2);
    EXPECT_EQ(panel->dismissed, 0);
    EXPECT_TRUE(weak.lock());
    app.advance(0.2);
    EXPECT_EQ(panel->dismissed, 1);
    EXPECT_FALSE(weak.lock()) << "nothing keeps a closed pager";
}

// A double tap on the stock panel's ticks grows the pager out of them; the screen feeds it the ticks
// of its refreshes until it closes.
TEST_F(TickPagerTest, TheStockPanelsTicksOpenThePagerAndTheScreenFeedsIt) {
    quotes.setMarketMinute(100);
    auto screen = DetailScreenTest::open(kCode);
    RightStockDetailPanel *panel = screen->rightStockDetailPanel();
    ASSERT_TRUE(panel);
    StrikeDetailView &list = panel->strikeDetailView();
    gfx::Point middle = centre(list);
    app.tap(middle);
    app.tap(middle);
    settle();
    base::Ref<StockDetailFullScreenView> pager = panel->strikeFullScreenView();
    ASSERT_TRUE(pager);
    EXPECT_EQ(pager->superview(), &screen->view());
    EXPECT_EQ(pager->fromRect(),
              (gfx::Rect{768, list.frame().y(), list.frame().width(), list.frame().height()}));
    EXPECT_EQ(pager->frame(), StockDetailFullScreenView::kFullRect);
    EXPECT_EQ(pager->titleLabel().text(), screen->stockName() + " - 逐笔成交");
    int last = list.strikeLastPos();
    ASSERT_GE(last, 0);
    EXPECT_EQ(pager->maxPageNo(), last / 150);

    // The day moves on: the screen's next ticks reach the pager's last page.
    quotes.stepDay(3);
    advance(StockDetailViewController::RefreshPeriod + 0.5);
    ASSERT_GT(list.strikeLastPos(), last);
    const auto &newest = pager->strikePageDict().getPageInfo(pager->maxPageNo())->array;
    ASSERT_FALSE(newest.empty());
    EXPECT_EQ(newest.back()->pos, list.strikeLastPos());

    pager->closeButton().sendActions(ui::TouchUpInside);
    pager.reset();
    app.advance(StockDetailFullScreenView::ZoomSeconds + 0.1);
    EXPECT_FALSE(panel->strikeFullScreenView());
}

} // namespace
} // namespace detailscreen
