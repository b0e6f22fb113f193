#include "DataSourcesFixture.h"

#include "Module/StockDataBaseMgnt/StockAlarmData.h"
#include "Module/StockDataBaseMgnt/StockPoolData.h"

#include <map>

namespace datasources {
namespace {

struct PoolPage : StockPoolDataDelegate {
    void UpdateStockPoolArray(const base::Ref<NetDataCenter::StockPoolList> &list, int poolID) override {
        pools[poolID] = list->items.size();
        order.push_back(poolID);
    }
    std::map<int, size_t> pools;
    std::vector<int> order;
};

class StockPoolDataTest : public DataSourcesTest {};

TEST_F(StockPoolDataTest, EachSetAsksItsPoolsInOrderAndHandsEveryListOver) {
    readyWithoutAccount();
    auto page = std::make_shared<PoolPage>();
    auto pools = StockPoolData::create("StockPoolDataTest");
    pools->setDelegate(page);
    quotes.clearReceived();
    pools->reqSuperPool1();
    pools->reqSuperPool2();
    pools->reqNewStockPool();
    settle();

    std::vector<int> asked;
    for (const peers::ReceivedFrame &frame : quotes.received(2950)) {
        uint32_t pos = 0;
        asked.push_back(ComAPI::ReadShort(frame.bytes(), pos));
        EXPECT_EQ(ComAPI::ReadShort(frame.bytes(), pos), 0);
        EXPECT_EQ(ComAPI::ReadShort(frame.bytes(), pos), 50);
    }
    const std::vector<int> expected{104, 101, 102, 103, 105, 106, 107, 108, 201, 202,
                                    203, 204, 205, 206, 301, 302, 303, 304, 305, 306};
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(page->order, expected);
    for (const auto &[id, size] : page->pools)
        EXPECT_GT(size, 0u) << id;
}

TEST_F(StockPoolDataTest, AnEmptyReplyAndAReleasedPageAreIgnored) {
    readyWithoutAccount();
    auto page = std::make_shared<PoolPage>();
    auto pools = StockPoolData::create("StockPoolDataTest");
    pools->setDelegate(page);
    pools->reqStockPoolList(999);
    settle();
    EXPECT_TRUE(page->order.empty());
    page.reset();
    pools->reqStockPoolList(101);
    settle();
    EXPECT_EQ(quotes.receivedCount(2950), 2u);
}

// What the alarm screens hear, in order, as "operation:detail".
struct AlarmScreen : StockAlarmDataDelegate {
    base::Opt<void> updateCurrentAlarmArray(const base::Array &alarms) override {
        current = alarms;
        return log("current", std::to_string(alarms.size()));
    }
    base::Opt<void> updateCurrentAlarmFail(const Message &m) override { return log("currentFail", m); }
    base::Opt<void> updateHistoryAlarmArray(const base::Array &alarms) override {
        history = alarms;
        return log("history", std::to_string(alarms.size()));
    }
    base::Opt<void> updateHistoryAlarmFail(const Message &m) override { return log("historyFail", m); }
    base::Opt<void> updateAddAlarmSuccess() override { return log("add", std::nullopt); }
    base::Opt<void> updateAddAlarmFail(const Message &m) override { return log("addFail", m); }
    base::Opt<void> updateModifyAlarmSuccess() override { return log("modify", std::nullopt); }
    base::Opt<void> updateModifyAlarmFail(const Message &m) override { return log("modifyFail", m); }
    base::Opt<void> updateDeleteAlarmSuccess() override { return log("delete", std::nullopt); }
    base::Opt<void> updateDeleteAlarmFail(const Message &m) override { return log("deleteFail", m); }
    base::Opt<void> updateStockQuoteDict(const base::Dict &quote) override {
        quotes.push_back(quote);
        return log("quote", quote.get("STOCKCODE").stringValue());
    }

    base::Opt<void> log(const std::string &op, const Message &detail) {
        events.push_back(op + ":" + detail.value_or("nil"));
        return {};
    }
    std::vector<std::string> events;
    base::Array current, history;
    std::vector<base::Dict> quotes;
};

class StockAlarmDataTest : public DataSourcesTest {
protected:
    void SetUp() override {
        readyWithAccount();
        alarms->setDelegate(screen);
        quotes.clearReceived();
    }
    static base::Dict edit(const std::string &high, const std::string &low, const std::string &limit,
                           const std::string &code = "SH600000") {
        return {{"STOCKCODE", code}, {"STOCKNAME", "浦发银行"}, {"HIGH", high},  {"LOW", low},
                {"UPRATE", ""},      {"DOWNRATE", ""},          {"LIMIT", limit}};
    }
    std::string last() const { return screen->events.empty() ? "" : screen->events.back(); }

    base::Ref<StockAlarmData> alarms = StockAlarmData::create("StockAlarmDataTest");
    std::shared_ptr<AlarmScreen> screen = std::make_shared<AlarmScreen>();
};

// The thresholds and flags of the alarm fields of an add request, after the pre-data.
struct SentAlarm {
    std::string code;
    float high, low, rise;
    std::vector<int> flags;
};

SentAlarm sentAlarm(const peers::ReceivedFrame &frame) {
    ByteView bytes = frame.bytes();
    uint32_t pos = 11;
    for (int i = 0; i < 5; ++i)
        ComAPI::ReadString(bytes, pos);
    ComAPI::ReadByte(bytes, pos);
    ComAPI::ReadString(bytes, pos);
    SentAlarm sent;
    sent.code = ComAPI::ReadString(bytes, pos);
    sent.high = ComAPI::ReadFloat(bytes, pos);
    sent.low = ComAPI::ReadFloat(bytes, pos);
    sent.rise = ComAPI::ReadFloat(bytes, pos);
    sent.flags.push_back(ComAPI::ReadByte(bytes, pos));
    ComAPI::ReadFloat(bytes, pos);
    sent.flags.push_back(ComAPI::ReadByte(bytes, pos));
    ComAPI::ReadFloat(bytes, pos);
    sent.flags.push_back(ComAPI::ReadByte(bytes, pos));
    sent.flags.push_back(ComAPI::ReadByte(bytes, pos));
    EXPECT_EQ(pos, bytes.size());
    return sent;
}

TEST_F(StockAlarmDataTest, EditTextsBecomeThresholdsAndFlags) {
    alarms->reqAddAlarm(edit("", "9.5", "永久"));
    alarms->reqAddAlarm(edit("12", "", "一次"));
    settle();
    auto sent = quotes.received(3001);
    ASSERT_EQ(sent.size(), 2u);
    SentAlarm permanent = sentAlarm(sent[0]), once = sentAlarm(sent[1]);
    EXPECT_EQ(permanent.code, "SH600000");
    EXPECT_EQ(permanent.high, -1.0f);
    EXPECT_EQ(permanent.low, 9.5f);
    EXPECT_EQ(permanent.rise, -1.0f);
    EXPECT_EQ(permanent.flags, (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(once.high, 12.0f);
    EXPECT_EQ(once.flags, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(screen->events, (std::vector<std::string>{"add:nil", "add:nil"}));
}

TEST_F(StockAlarmDataTest, AThresholdThatIsNotANumberIsRefusedBeforeSending) {
    for (const char *bad : {"abc", "9.5元", "1e999", " "}) {
        alarms->reqAddAlarm(edit(bad, "", "一次"));
        alarms->reqModifyAlarm(edit("", bad, "一次"), 1);
    }
    settle();
    EXPECT_EQ(quotes.receivedCount(3001), 0u);
    ASSERT_EQ(screen->events.size(), 8u);
    EXPECT_EQ(screen->events[0], std::string("addFail:") + StockAlarmData::NotANumber);
    EXPECT_EQ(screen->events[1], std::string("modifyFail:") + StockAlarmData::NotANumber);
}

TEST_F(StockAlarmDataTest, FailuresReachTheirOperationWithTheServersMessageOrNil) {
    quotes.failNextAlarm(307, 1, "x");
    alarms->reqCurrentAlarmArray();
    settle();
    EXPECT_EQ(last(), "currentFail:x");
    // Result 2 carries no flag: a failure without a message.
    quotes.failNextAlarm(300, 2);
    alarms->reqAddAlarm(edit("12", "", "一次"));
    settle();
    EXPECT_EQ(last(), "addFail:nil");
    alarms->reqDeleteAlarmArray({77});
    settle();
    EXPECT_EQ(last(), "deleteFail:预警不存在");
}

TEST_F(StockAlarmDataTest, AddListModifyDeleteAndHistoryRoundTrip) {
    alarms->reqHistoryAlarmArray();
    alarms->reqAddAlarm(edit("", "0.5", "永久"));
    alarms->reqAddAlarm(edit("0.01", "", "一次", "SZ000001"));
    alarms->reqCurrentAlarmArray();
    settle();
    EXPECT_EQ(screen->events,
              (std::vector<std::string>{"historyFail:没有历史预警", "add:nil", "add:nil", "current:2"}));
    ASSERT_EQ(screen->current.size(), 2u);
    const base::Dict &first = *screen->current[0].dict();
    EXPECT_EQ(first.get("STOCKCODE").stringValue(), "SH600000");
    EXPECT_EQ(first.get("HIGH").stringValue(), "");
    EXPECT_EQ(first.get("LOW").stringValue(), "0.50");
    EXPECT_EQ(first.get("LIMIT").stringValue(), "永久");
    int32_t firstID = int32_t(first.get("ALARMID").intValue());

    alarms->reqModifyAlarm(edit("20", "", "一次"), firstID);
    alarms->reqDeleteAlarmArray({int32_t(screen->current[1].dict()->get("ALARMID").intValue())});
    alarms->reqCurrentAlarmArray();
    alarms->reqHistoryAlarmArray();
    settle();
    ASSERT_EQ(screen->current.size(), 1u);
    EXPECT_EQ(screen->current[0].dict()->get("HIGH").stringValue(), "20.00");
    EXPECT_EQ(screen->current[0].dict()->get("LIMIT").stringValue(), "一次");
    // The alarm above 0.01 fired as soon as it was set.
    ASSERT_EQ(screen->history.size(), 1u);
    EXPECT_EQ(screen->history[0].dict()->get("STOCKCODE").stringValue(), "SZ000001");
    EXPECT_FALSE(screen->history[0].dict()->get("INFO").stringValue().empty());
    EXPECT_EQ(quotes.alarms("u1").size(), 1u);
}

TEST_F(StockAlarmDataTest, TheQuoteOfTheCurrentCodeReachesTheEditScreenTwice) {
    alarms->reqStockQuoteInf(std::nullopt);
    settle();
    EXPECT_EQ(quotes.receivedCount(2939) + quotes.receivedCount(2940), 0u);

    alarms->reqStockQuoteInf("SH600000");
    settle();
    ASSERT_EQ(screen->quotes.size(), 2u);
    EXPECT_EQ(screen->quotes[1].get("STOCKNAME").stringValue(), "浦发银行");
    EXPECT_FALSE(screen->quotes[1].get("LAST").stringValue().empty());

    // A second code starts from a cleared record, and late replies of the first are dropped.
    alarms->reqStockQuoteInf("SH600000");
    alarms->reqStockQuoteInf("SZ000001");
    EXPECT_EQ(alarms->record()->newprice, 0);
    screen->quotes.clear();
    settle();
    for (const base::Dict &quote : screen->quotes)
        EXPECT_EQ(quote.get("STOCKCODE").stringValue(), "SZ000001");
    EXPECT_EQ(screen->quotes.size(), 2u);
}

} // namespace
} // namespace datasources
