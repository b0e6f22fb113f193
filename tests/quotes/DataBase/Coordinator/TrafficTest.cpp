#include "CoordinatorFixture.h"

#include "Module/NewsViewController/BreakingNewsTipView.h"

#include <optional>

using coordinator::CoordinatorTest;
using coordinator::RecordingRequester;
using peers::Fault;
using peers::QuoteServer;

namespace {

constexpr int ServerTimeType = 2963;
constexpr const char *MismatchTip = "！！！！！！致命错误，请求号不匹配(2963 != 2955)，断开连接！！！！！！";

class TrafficTest : public CoordinatorTest {
protected:
    void SetUp() override { readyWithoutAccount(); }

    void askServerTime() { db->IO_NetDataCenter()->RequestServerTime(requester); }
    bool toastShown(const std::string &text) const {
        return std::any_of(app.toasts().begin(), app.toasts().end(),
                           [&](const host::ToastRecord &toast) { return toast.text == text; });
    }
    const host::AlertRecord *alertTitled(const std::string &title) const {
        for (const host::AlertRecord &alert : app.alerts())
            if (alert.title == title)
                return &alert;
        return nullptr;
    }

    base::Ref<RecordingRequester> requester = base::make<RecordingRequester>();
};

// Replies that arrive misshapen but whole: the request is answered once, or the link is closed.
struct ShapeCase {
    const char *name;
    Fault fault;
    bool delivered;
    std::optional<std::string> toast;
};

TEST_F(TrafficTest, MisshapenRepliesAreAnsweredOnceOrCloseTheLink) {
    const ShapeCase cases[] = {
        {"header cut after 3 bytes", Fault::on(ServerTimeType).split(3, 0.05), true, std::nullopt},
        {"unknown id before the reply", Fault::on(ServerTimeType).withSeqID(77).followedByReply(), true,
         std::nullopt},
        {"id 0 before the reply", Fault::on(ServerTimeType).withSeqID(0).followedByReply(), true,
         std::nullopt},
        {"id 125 before the reply", Fault::on(ServerTimeType).withSeqID(125).followedByReply(), true,
         std::nullopt},
        {"same id, another type", Fault::on(ServerTimeType).withType(2955), false, MismatchTip},
        {"closed mid-reply", Fault::on(ServerTimeType).closingAfter(5), false, std::nullopt},
    };
    for (const ShapeCase &c : cases) {
        SCOPED_TRACE(c.name);
        if (!db->isHQConnected()) {
            advance(db->m_ConnectTimes());
            ASSERT_TRUE(pumpUntil([&] { return db->isHQConnected(); }));
            settle();
        }
        requester->types.clear();
        size_t lost = losses();
        quotes.addFault(c.fault);
        askServerTime();
        if (c.delivered) {
            ASSERT_TRUE(pumpUntil([&] { return requester->count(ServerTimeType) == 1; }));
            settle();
            EXPECT_EQ(requester->count(ServerTimeType), 1u);
            EXPECT_EQ(losses(), lost);
            // The link is free for the next request.
            askServerTime();
            EXPECT_TRUE(pumpUntil([&] { return requester->count(ServerTimeType) == 2; }));
        } else {
            ASSERT_TRUE(pumpUntil([&] { return losses() == lost + 1; }));
            EXPECT_EQ(requester->count(ServerTimeType), 0u);
        }
        if (c.toast) {
            EXPECT_TRUE(toastShown(*c.toast));
        }
    }
}

// Replies that never complete: the link waits for its 10 s read time-out, then reconnects.
TEST_F(TrafficTest, IncompleteRepliesTimeOutAfterTenSeconds) {
    const std::pair<const char *, Fault> cases[] = {
        {"silence", Fault::on(ServerTimeType).silence()},
        {"length beyond the body", Fault::on(ServerTimeType).announcing(60000)},
        {"held after the header", Fault::on(ServerTimeType).split(7, -1)},
    };
    for (const auto &[name, fault] : cases) {
        SCOPED_TRACE(name);
        if (!db->isHQConnected()) {
            advance(db->m_ConnectTimes());
            ASSERT_TRUE(pumpUntil([&] { return db->isHQConnected(); }));
            settle();
        }
        size_t lost = losses();
        size_t tips = delegate->tips.size();
        quotes.addFault(fault);
        askServerTime();
        settle();
        advance(9.9);
        EXPECT_EQ(losses(), lost);
        advance(0.1);
        ASSERT_TRUE(pumpUntil([&] { return losses() == lost + 1; }));
        EXPECT_EQ(requester->count(ServerTimeType), 0u);
        ASSERT_EQ(delegate->tips.size(), tips + 1);
        EXPECT_EQ(delegate->tips.back(), "网络连接已断开，正在重连服务器...");
        quotes.resume();
        quotes.clearFaults();
    }
}

TEST_F(TrafficTest, CodeTableReplyWaitsForItsLongHeader) {
    quotes.addFault(Fault::on(2956).split(8, -1));
    db->IO_NetDataCenter()->RequestMarketStockList(requester);
    settle();
    EXPECT_EQ(requester->count(2956), 0u);
    quotes.resume();
    EXPECT_TRUE(pumpUntil([&] { return requester->count(2956) == 11; }));
}

TEST_F(TrafficTest, CodeTableLengthBeyondAnyTableClosesTheLinkAtOnce) {
    size_t lost = losses();
    quotes.addFault(Fault::on(2956).announcing(0xFFFFFFF0u));
    db->IO_NetDataCenter()->RequestMarketStockList(requester);
    EXPECT_TRUE(pumpUntil([&] { return losses() == lost + 1; }));
    EXPECT_EQ(requester->count(2956), 0u);
}

// The server-time parser reads the year of a 2-byte body and must not take month and day from
// the push behind it.
TEST_F(TrafficTest, ShortReplyCoalescedWithAPushGetsOnlyItsOwnBytes) {
    quotes.addFault(
        Fault::on(ServerTimeType).cutBody(2).withAfter(QuoteServer::accountErrorFrame(2).encode()));
    askServerTime();
    ASSERT_TRUE(pumpUntil([&] { return requester->count(ServerTimeType) == 1; }));
    EXPECT_EQ(db->IO_NetDataCenter()->IO_ServerDate % 10000, 0);
    ASSERT_TRUE(pumpUntil([&] { return alertTitled("帐号异常") != nullptr; }));
    EXPECT_EQ(alertTitled("帐号异常")->message, "很抱歉，账号异常，请重新登陆！");
}

TEST_F(TrafficTest, AccountErrorPushDisconnectsForGoodAndBringsTheLoginBack) {
    std::vector<base::Dict> appNotes;
    base::NotificationCenter::shared().addObserver(
        observer, DataBase::AppNotify, [&](const base::Notification &n) { appNotes.push_back(n.userInfo); });
    int accepted = quotes.acceptedConnections();
    quotes.pushAccountError(2);
    advance(3); // the next request reads the push
    ASSERT_TRUE(pumpUntil([&] { return alertTitled("帐号异常") != nullptr; }));
    EXPECT_EQ(alertTitled("帐号异常")->buttons, (std::vector<std::string>{"确 定"}));
    ASSERT_FALSE(app.visibleAlerts().empty());
    EXPECT_EQ(app.visibleAlerts().back()->tag, DataBase::AccountErrorAlertTag);
    EXPECT_FALSE(DataManager::sharedDataManager().gUserConfigDict.get("IsAutoMainLogin").boolValue());
    EXPECT_TRUE(appNotes.empty());
    ASSERT_TRUE(app.pressAlertButton(0));
    ASSERT_EQ(appNotes.size(), 1u);
    EXPECT_EQ(appNotes[0].get("MSG_ID").stringValue(), "Stock_MSG");
    EXPECT_EQ(appNotes[0].get("Data").stringValue(), "MainLogin");
    advance(60);
    EXPECT_FALSE(db->isHQConnected());
    EXPECT_EQ(quotes.acceptedConnections(), accepted);
}

TEST_F(TrafficTest, PushInTheSameReadAsAReplyIsHandled) {
    quotes.addFault(Fault::on(ServerTimeType).withBefore(QuoteServer::accountErrorFrame(1).encode()));
    askServerTime();
    EXPECT_TRUE(pumpUntil([&] { return alertTitled("帐号异常") != nullptr; }));
    settle();
    EXPECT_FALSE(db->isHQConnected());
}

// 250 and more requests behind one in flight: ids run to 249, go on at 1, never use 0 or 125, and a
// waiting request whose id comes round again is replaced.
TEST_F(TrafficTest, SequenceIdsWrapPast249AndSkip125) {
    quotes.addFault(Fault::on(ServerTimeType).split(3, -1));
    quotes.clearReceived();
    for (int i = 0; i < 300; ++i)
        askServerTime();
    settle();
    quotes.resume();
    ASSERT_TRUE(pumpUntil([&] { return requester->count(ServerTimeType) == 249; }));
    settle();
    EXPECT_EQ(requester->count(ServerTimeType), 249u);
    std::vector<uint8_t> ids;
    for (const peers::ReceivedFrame &frame : quotes.received(ServerTimeType))
        ids.push_back(frame.seqID);
    ASSERT_EQ(ids.size(), 249u);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 0), 0);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 125), 0);
    EXPECT_NE(
        std::adjacent_find(ids.begin(), ids.end(), [](uint8_t a, uint8_t b) { return a == 249 && b == 1; }),
        ids.end());
}

TEST_F(TrafficTest, ReplyToANamedRequesterIsANotification) {
    base::Ref<ReqParams> received;
    std::optional<int> type;
    const std::string name = "BreakNewsViewControllerNotify";
    base::NotificationCenter::shared().addObserver(observer, name, [&](const base::Notification &n) {
        EXPECT_TRUE(DataBase::ProcRecvNotify(n, *requester));
        type = int(n.userInfo.get(DataBase::NetDataNotify).intValue());
        received = n.userInfo.get("ReqParams").objectAs<ReqParams>();
    });
    db->IO_NetDataCenter()->RequestRealInformation(name, 0);
    ASSERT_TRUE(pumpUntil([&] { return type.has_value(); }));
    EXPECT_EQ(*type, 2600);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->get("reqType").intValue(), 2600);
    EXPECT_EQ(requester->count(2600), 1u);
    EXPECT_FALSE(DataBase::ProcRecvNotify(base::Notification{name, nullptr, {}}, *requester));
}

TEST_F(TrafficTest, NewBreakingNewsShowsTheTipUnlessItsPopoverIsShowing) {
    auto tipShown = [&] {
        const auto &views = app.window().subviews();
        return std::any_of(views.begin(), views.end(), [](const base::Ref<ui::View> &v) {
            return std::dynamic_pointer_cast<BreakingNewsTipView>(v) != nullptr;
        });
    };
    // The first poll of the quotes date only starts the day's store.
    advance(3);
    ASSERT_TRUE(pumpUntil([&] { return quotes.receivedCount(2600) == 1; }));
    settle();
    quotes.addNews("沪深两市早盘小幅高开。");
    advance(3);
    ASSERT_TRUE(pumpUntil(tipShown));
    EXPECT_FALSE(db->IO_NetDataCenter()->IO_RealNewsJP->hasNewData);

    int notified = 0;
    base::NotificationCenter::shared().addObserver(observer, DataBase::BreakNewsViewControllerNotify,
                                                   [&](const base::Notification &) { ++notified; });
    db->IO_NetDataCenter()->IO_RealNewsJP->isShowingPopover = true;
    quotes.addNews("午后两市震荡走高。");
    advance(3);
    EXPECT_TRUE(pumpUntil([&] { return notified == 1; }));
}

// Breaking-news polls queued behind a slow account login arrive in the middle of the first-login
// load; the load still finishes and the progress never goes back or past 1.
TEST_F(CoordinatorTest, BreakingNewsRepliesInterleavingASlowFirstLogin) {
    quotes.addAccount("u1", "pw");
    quotes.addFault(Fault::on(2936).split(3, -1));
    loginWithAccount();
    ASSERT_TRUE(waitForStatus(3));
    for (int i = 0; i < 3; ++i)
        advance(3);
    quotes.resume();
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(statuses, (std::vector<int>{1, 3, 5, 9}));
    EXPECT_GE(quotes.receivedCount(2600), 2u);
    std::vector<float> progress = delegate->loginProgress();
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_LE(*std::max_element(progress.begin(), progress.end()), 1.0f);
}

} // namespace
