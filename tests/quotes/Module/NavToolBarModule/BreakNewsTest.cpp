#include "NavToolBarFixture.h"

#include "Golden.h"
#include "Module/NavToolBarModule/BreakNewsViewController/BreakNewsViewController.h"
#include "Module/NewsViewController/BreakingNewsTipView.h"

#include "DataBase/ComAPI.h"
#include "peers/FrameServer.h"
#include "ui/Popover.h"

namespace navtoolbar {
namespace {

// The breaking-news list and tips of a market screen, against the quote server's items.
class BreakNewsTest : public NavToolBarTest {
protected:
    static constexpr double kPoll = 3.0;

    void SetUp() override {
        NavToolBarTest::SetUp();
        // The first reply of a quotes date only dates the record.
        poll();
    }

    static std::string item(int id) { return base::str::format("第%d条实时解盘", id); }
    // Items up to `last` on the server, numbered from where it stands.
    void addItemsUpTo(int last) {
        while (itemsOnServer_ < last)
            quotes.addNews(item(++itemsOnServer_));
    }
    // The next poll of the connection has run and its reply is in.
    void poll() {
        size_t before = quotes.receivedCount(peers::QuoteServer::BreakingNewsType);
        runUntil([&] { return quotes.receivedCount(peers::QuoteServer::BreakingNewsType) > before; },
                 kPoll + 1);
        settle();
    }
    RealNews &record() { return *db->IO_NetDataCenter()->IO_RealNewsJP; }

    BreakNewsViewController &open() {
        app.tap(centre(*screen->breakingNewsButton()));
        settle();
        app.advance(1);
        settle();
        base::Ref<ui::Popover> popover = DataManager::sharedDataManager().gBreakingNewsPopoverVC;
        EXPECT_TRUE(popover && popover->isVisible());
        auto &nav = dynamic_cast<ui::NavigationController &>(popover->content());
        return dynamic_cast<BreakNewsViewController &>(*nav.viewControllers().front());
    }
    void close() {
        app.tap({900, 700});
        app.advance(1);
        settle();
    }
    // The ids the list asked for (above 0: the item before that id), since the last call.
    std::vector<int> listRequests() {
        std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::BreakingNewsType);
        std::vector<int> ids;
        for (size_t i = framesSeen_; i < frames.size(); ++i) {
            ByteView body = frames[i].bytes();
            uint32_t pos = 0;
            ComAPI::ReadString(body, pos);
            ComAPI::ReadShort(body, pos);
            if (int id = ComAPI::ReadInt(body, pos); id > 0)
                ids.push_back(id);
        }
        framesSeen_ = frames.size();
        return ids;
    }
    std::vector<BreakingNewsTipView *> tips() {
        std::vector<BreakingNewsTipView *> found;
        for (const auto &view : app.window().subviews())
            if (auto *tip = dynamic_cast<BreakingNewsTipView *>(view.get()))
                found.push_back(tip);
        return found;
    }

    int itemsOnServer_ = 0;
    size_t framesSeen_ = 0;
};

TEST_F(BreakNewsTest, TheListShowsEveryItemNewestFirstWithVerticalNumbers) {
    addItemsUpTo(12);
    poll();
    advance(BreakingNewsTipView::ShowSeconds); // the tip of the newest has gone
    BreakNewsViewController &list = open();
    ASSERT_EQ(list.newsArray().size(), 12u) << "the eleven before the newest come in one by one";
    EXPECT_EQ(list.newsArray().front(), item(12));
    EXPECT_EQ(list.newsArray().back(), item(1));

    ui::TableView &table = list.mTableView();
    table.layoutIfNeeded();
    auto top = std::dynamic_pointer_cast<BreakingNewsCell>(table.cellForRow({0, 0}));
    ASSERT_TRUE(top);
    EXPECT_EQ(top->SNLabel().text(), "1\n2\n") << "12, one digit per line";
    EXPECT_EQ(top->newsLabel().text(), item(12));
    table.scrollToRow({0, 11}, ui::ScrollPosition::Bottom, false);
    table.layoutIfNeeded();
    auto bottom = std::dynamic_pointer_cast<BreakingNewsCell>(table.cellForRow({0, 11}));
    ASSERT_TRUE(bottom);
    EXPECT_EQ(bottom->SNLabel().text(), "1\n");
    EXPECT_EQ(bottom->newsLabel().text(), item(1));

    table.scrollToRow({0, 0}, ui::ScrollPosition::Top, false);
    app.advance(1);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/breaking-news-list"));
}

TEST_F(BreakNewsTest, OlderItemsComeOneAfterAnotherAndTheListGrowsWithEach) {
    addItemsUpTo(5);
    poll();
    for (int next = 6; next <= 8; ++next) {
        addItemsUpTo(next);
        poll();
    }
    ASSERT_EQ(record().firstid, 5);
    ASSERT_EQ(record().lastid, 8);
    listRequests();

    base::Ref<base::Object> watcher = base::make<base::Object>();
    std::vector<size_t> shown;
    BreakNewsViewController *seen = nullptr;
    base::NotificationCenter::shared().addObserver(watcher, BreakNewsViewController::kObserverName,
                                                   [&](const base::Notification &) {
                                                       if (seen)
                                                           shown.push_back(seen->newsArray().size());
                                                   });
    app.tap(centre(*screen->breakingNewsButton()));
    auto &nav = dynamic_cast<ui::NavigationController &>(
        DataManager::sharedDataManager().gBreakingNewsPopoverVC->content());
    seen = &dynamic_cast<BreakNewsViewController &>(*nav.viewControllers().front());
    settle();
    app.advance(1);
    base::NotificationCenter::shared().removeObserver(watcher.get());

    EXPECT_EQ(listRequests(), (std::vector<int>{5, 4, 3, 2}));
    // What each reply finds on screen: one more row after each.
    EXPECT_EQ(shown, (std::vector<size_t>{4, 5, 6, 7}));
    EXPECT_EQ(seen->newsArray().size(), 8u);
    EXPECT_EQ(seen->newsArray().back(), item(1));
    EXPECT_FALSE(seen->isRequestingBreakNews());
}

TEST_F(BreakNewsTest, OneAppearanceFetchesFiftyOlderItemsAndANewItemTheNextFifty) {
    addItemsUpTo(121);
    poll();
    listRequests();
    BreakNewsViewController &list = open();
    EXPECT_EQ(listRequests().size(), 50u);
    EXPECT_EQ(list.newsArray().size(), 51u);

    close();
    open();
    EXPECT_TRUE(listRequests().empty()) << "reopening alone asks for nothing";
    EXPECT_EQ(list.reqTimes(), 0) << "but the budget starts again";

    addItemsUpTo(122);
    poll();
    settle();
    EXPECT_EQ(list.newsArray().front(), item(122));
    EXPECT_EQ(listRequests().size(), 50u);
    EXPECT_EQ(list.newsArray().size(), 102u);
    EXPECT_TRUE(tips().empty()) << "an item arriving while the list shows is no tip";
}

TEST_F(BreakNewsTest, AGapInTheIdsIsPassedOver) {
    addItemsUpTo(3);
    quotes.skipNewsIds(2);
    quotes.addNews(item(6));
    poll();
    BreakNewsViewController &list = open();
    EXPECT_EQ(list.newsArray(), (std::vector<std::string>{item(6), item(3), item(2), item(1)}));
}

TEST_F(BreakNewsTest, ANewQuotesDateEmptiesTheList) {
    addItemsUpTo(4);
    poll();
    BreakNewsViewController &list = open();
    ASSERT_EQ(list.newsArray().size(), 4u);
    close();

    quotes.setQuotesDate(20991231);
    ASSERT_TRUE(runUntil([&] { return record().updateDate == 20991231; }, 40));
    EXPECT_TRUE(record().array.empty());
    open();
    EXPECT_TRUE(list.newsArray().empty()) << "yesterday's items are gone";
}

TEST_F(BreakNewsTest, ANewItemWhileTheListIsClosedShowsATipForThreeSeconds) {
    addItemsUpTo(1);
    poll();
    ASSERT_EQ(tips().size(), 1u);
    BreakingNewsTipView &tip = *tips().front();
    EXPECT_EQ(tip.titleLabel().text(), "实时解盘");
    EXPECT_EQ(tip.newsLabel().text(), item(1));
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/breaking-news-tip"));
    advance(BreakingNewsTipView::ShowSeconds);
    EXPECT_TRUE(tips().empty());

    // Two items three seconds apart: one tip after the other.
    addItemsUpTo(2);
    poll();
    ASSERT_EQ(tips().size(), 1u);
    EXPECT_EQ(tips().front()->newsLabel().text(), item(2));
    addItemsUpTo(3);
    poll();
    ASSERT_EQ(tips().size(), 1u) << "the first went as the second came";
    EXPECT_EQ(tips().front()->newsLabel().text(), item(3));

    // The close button takes it at once.
    app.tap(centre(tips().front()->closeBtn()));
    EXPECT_TRUE(tips().empty());
}

TEST_F(BreakNewsTest, ALostReplyHoldsTheListOnlyUntilTheLinkComesBack) {
    addItemsUpTo(6);
    poll();
    quotes.addFault(peers::Fault::on(peers::QuoteServer::BreakingNewsType).silence());
    BreakNewsViewController &list = open();
    ASSERT_TRUE(list.isRequestingBreakNews());
    EXPECT_EQ(list.newsArray(), std::vector<std::string>{item(6)});

    ASSERT_TRUE(runUntil([&] { return list.newsArray().size() == 6; }, 60))
        << "after the reconnect the back-fill goes on";
    EXPECT_FALSE(list.isRequestingBreakNews());
    EXPECT_GE(quotes.acceptedConnections(), 2);
}

TEST_F(BreakNewsTest, AnIdBeyondTheStoreChangesNothing) {
    addItemsUpTo(2);
    poll();
    BreakNewsViewController &list = open();
    ASSERT_EQ(list.newsArray().size(), 2u);
    close();
    quotes.skipNewsIds(2147483647 - 3);
    quotes.addNews("超出范围");
    poll();
    poll();
    EXPECT_TRUE(tips().empty());
    open();
    EXPECT_EQ(list.newsArray(), (std::vector<std::string>{item(2), item(1)}));
}

} // namespace
} // namespace navtoolbar
