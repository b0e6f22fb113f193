#include "ChartMessagesFixture.h"

namespace {

using chartframes::Candle;

base::Data kLineBody(const std::vector<Candle> &candles, bool hold = false, int count = -1) {
    base::Data body;
    ComAPI::WriteByte(body, hold ? 1 : 0);
    ComAPI::WriteShort(body, count < 0 ? int(candles.size()) : count);
    for (const Candle &c : candles) {
        for (int32_t field : {c.time, c.open, c.high, c.low, c.close, c.vol, c.amount})
            ComAPI::WriteInt(body, field);
        if (hold)
            ComAPI::WriteInt(body, c.hold);
    }
    return body;
}

Candle day(int32_t time, int32_t close = 1000) {
    return {time, close - 5, close + 10, close - 10, close, 100, 2000, 0};
}

std::vector<int32_t> timesOf(const KLinePack &pack) {
    std::vector<int32_t> times;
    for (const auto &item : pack.rspArray)
        times.push_back(std::dynamic_pointer_cast<KLineItem>(item)->time);
    return times;
}

class RecordingManager : public base::Object, public NetDataCenter::KLineManager {
public:
    base::Opt<void> OnRspKLine(const base::Ref<ReqParams> &reqParams) override {
        calls.push_back(reqParams.get());
        return {};
    }
    // The parameters it was told about; not kept alive, as they hold the manager.
    std::vector<const ReqParams *> calls;
};

class KLineMessages : public ChartMessages {
protected:
    base::Ref<KLinePack> pack = base::make<KLinePack>("SH600000", 7);
    base::Ref<RecordingManager> manager = base::make<RecordingManager>();

    void SetUp() override {
        ChartMessages::SetUp();
        pack->manager = manager;
    }
    base::Ref<ReqParams> parse(const base::Data &frame) {
        auto params = paramsWith(pack);
        params->setObject("manager", manager);
        center->ParseKLine(frame.span(), params);
        return params;
    }
    void hold(std::initializer_list<int32_t> times) {
        for (int32_t time : times) {
            auto candle = base::make<KLineItem>();
            candle->time = time;
            candle->closeprice = 1;
            pack->rspArray.push_back(candle);
        }
    }
    base::Ref<KLineItem> candleAt(size_t index) const {
        return std::dynamic_pointer_cast<KLineItem>(pack->rspArray.at(index));
    }
};

TEST_F(KLineMessages, RequestBodyAndAttribute) {
    auto requester = base::make<ChartRequester>();
    pack->pos = 20120105;
    pack->reqCount = 10;
    pack->isRealForwardReq = true;
    ASSERT_TRUE(center->RequestKLine(requester, pack));
    base::Data expected;
    ComAPI::WriteString(expected, "SH600000");
    ComAPI::WriteByte(expected, 7);
    ComAPI::WriteInt(expected, 20120105);
    ComAPI::WriteShort(expected, 10);
    EXPECT_EQ(onlyRequestBody(), expected);
    EXPECT_EQ(onlyRequestAttribute(), 0);
    const QuoteRequestRecord &record = coordinator->records.back();
    EXPECT_EQ(record.reqType, 2944);
    EXPECT_EQ(record.reqParams->object("pack"), pack);
    EXPECT_EQ(record.reqParams->object("manager"), manager);
    EXPECT_EQ(record.reqParams->get("isForwardReq"), base::Value(true));
    EXPECT_FALSE(pack->isIdle);
    EXPECT_FALSE(center->RequestKLine(requester, pack));

    auto larger = base::make<KLinePack>("SZ000002", 2);
    larger->reqCount = 11;
    ASSERT_TRUE(center->RequestKLine(requester, larger));
    EXPECT_EQ(onlyRequestAttribute(), 2);
    EXPECT_FALSE(coordinator->records.back().reqParams->has("manager"));
}

TEST_F(KLineMessages, OlderCandlesGoInFrontAndAShortReplyMarksTheOldest) {
    hold({20120110, 20120111});
    pack->isForwardReq = true;
    pack->reqCount = 5;
    parse(reply(2944, kLineBody({day(20120105), day(20120106), day(20120109)})));
    EXPECT_EQ(timesOf(*pack), (std::vector<int32_t>{20120105, 20120106, 20120109, 20120110, 20120111}));
    EXPECT_EQ(pack->rspCount, 3);
    EXPECT_EQ(pack->rspFirstTime, 20120105);
    EXPECT_EQ(pack->rspLastTime, 20120109);
    EXPECT_TRUE(pack->isGetFirstKLine);
    EXPECT_TRUE(pack->isIdle);
    EXPECT_FALSE(center->RequestKLine(std::monostate(), pack));
    EXPECT_TRUE(coordinator->records.empty());
}

TEST_F(KLineMessages, RefreshReplacesTheNewestCandleAndKeepsWhatItCarried) {
    hold({20120105, 20120106, 20120107});
    auto replaced = candleAt(2);
    replaced->exrightFlag = 2;
    replaced->exrightDate = 20120107;
    replaced->bsItem = base::make<Level2BSItem>();
    replaced->addStockInfo = base::make<base::Object>();
    pack->isForwardReq = false;
    parse(reply(2944, kLineBody({day(20120106), day(20120107, 1234), day(20120108)})));
    EXPECT_EQ(timesOf(*pack), (std::vector<int32_t>{20120105, 20120106, 20120107, 20120108}));
    EXPECT_EQ(candleAt(1)->closeprice, 1);
    EXPECT_EQ(candleAt(2)->closeprice, 1234);
    EXPECT_EQ(candleAt(2)->exrightFlag, 0);

    pack->rspArray.pop_back();
    parse(reply(2944, kLineBody({day(20120107, 1300)})));
    ASSERT_EQ(pack->rspArray.size(), 3u);
    EXPECT_EQ(candleAt(2)->closeprice, 1300);
    EXPECT_EQ(candleAt(2)->exrightFlag, 0);

    auto again = candleAt(2);
    again->exrightFlag = 3;
    again->exrightDate = 20120107;
    again->bsItem = replaced->bsItem;
    again->addStockInfo = replaced->addStockInfo;
    parse(reply(2944, kLineBody({day(20120107, 1310)})));
    EXPECT_EQ(candleAt(2)->closeprice, 1310);
    EXPECT_EQ(candleAt(2)->exrightFlag, 3);
    EXPECT_EQ(candleAt(2)->exrightDate, 20120107);
    EXPECT_EQ(candleAt(2)->bsItem, replaced->bsItem);
    EXPECT_EQ(candleAt(2)->addStockInfo, replaced->addStockInfo);
}

TEST_F(KLineMessages, RefreshNewerThanEverythingHeldReplacesIt) {
    hold({20120105, 20120106, 20120107});
    pack->isForwardReq = false;
    parse(reply(2944, kLineBody({day(20120201), day(20120202)})));
    EXPECT_EQ(timesOf(*pack), (std::vector<int32_t>{20120201, 20120202}));
}

TEST_F(KLineMessages, RefreshWithoutCandlesKeepsTheNewestHeld) {
    hold({20120105, 20120106});
    pack->isForwardReq = false;
    for (const base::Data &frame : {reply(2944, kLineBody({})), reply(2944, kLineBody({}, false, 3)),
                                    reply(2944, kLineBody({day(20120101)}))}) {
        parse(frame);
        EXPECT_EQ(timesOf(*pack), (std::vector<int32_t>{20120105, 20120106}));
        EXPECT_FALSE(pack->isGetFirstKLine);
    }
}

TEST_F(KLineMessages, MissingPricesComeFromTheClose) {
    parse(
        reply(2944, kLineBody({{20120105, 0, 0, 0, 1234, 1, 1, 0}, {20120106, 1000, -1, 0, 1100, 1, 1, 0}})));
    auto first = candleAt(0);
    EXPECT_EQ(first->openprice, 1234);
    EXPECT_EQ(first->highprice, 1234);
    EXPECT_EQ(first->lowprice, 1234);
    EXPECT_EQ(first->olowprice, 1234);
    auto second = candleAt(1);
    EXPECT_EQ(second->highprice, 1100);
    EXPECT_EQ(second->lowprice, 1000);
    EXPECT_EQ(second->ohighprice, 1100);
}

TEST_F(KLineMessages, EmptyReplyMarksTheOldestOnlyWhenPagingBack) {
    for (bool forward : {true, false}) {
        pack->isForwardReq = forward;
        pack->isGetFirstKLine = false;
        pack->rspCount = 9;
        pack->rspFirstTime = pack->rspLastTime = 1;
        auto params = parse(reply(2944, base::Data()));
        EXPECT_EQ(pack->isGetFirstKLine, forward);
        EXPECT_EQ(pack->rspCount, 0);
        EXPECT_EQ(pack->rspFirstTime, 0);
        EXPECT_EQ(manager->calls.back(), params.get());
    }
}

TEST_F(KLineMessages, HoldAndTheManager) {
    Candle withHold = day(20120105);
    withHold.hold = 4321;
    auto params = parse(reply(2944, kLineBody({withHold}, true)));
    EXPECT_EQ(candleAt(0)->holdVol, 4321);
    ASSERT_EQ(manager->calls.size(), 1u);
    EXPECT_EQ(manager->calls[0], params.get());

    // A manager that does not implement the continuation is simply not told.
    auto plain = base::make<base::Object>();
    auto quiet = paramsWith(pack);
    quiet->setObject("manager", plain);
    center->ParseKLine(reply(2944, kLineBody({day(20120106)})).span(), quiet);
    EXPECT_EQ(manager->calls.size(), 1u);
}

TEST_F(KLineMessages, CodedReplies) {
    pack->isForwardReq = true;
    pack->reqCount = 3;
    std::vector<Candle> candles = {{20120105, 1000, 1050, 990, 1020, 5000, 600000, 70},
                                   {20120106, 1020, 1020, 1020, 1020, 0, 0, 70},
                                   {20120109, 0, 2000, 5, 1000, 123456, 7, 100}};
    parse(chartframes::codedKLineFrame(7, true, candles));
    EXPECT_EQ(timesOf(*pack), (std::vector<int32_t>{20120105, 20120106, 20120109}));
    EXPECT_EQ(candleAt(1)->amount, 0);
    EXPECT_EQ(candleAt(2)->openprice, 1000);
    EXPECT_EQ(candleAt(2)->holdVol, 100);
    EXPECT_FALSE(pack->isGetFirstKLine);
    EXPECT_EQ(manager->calls.size(), 1u);
}

TEST_F(KLineMessages, FailedCodedReplyChangesNoCandle) {
    hold({20120105, 20120106});
    base::Data frame = chartframes::codedKLineFrame(7, false, {day(20120107), day(20120108)});
    frame.mutableBytes()[10] = 9;
    for (bool forward : {true, false}) {
        pack->isForwardReq = forward;
        pack->reqCount = 50;
        pack->isIdle = false;
        parse(frame);
        EXPECT_EQ(timesOf(*pack), (std::vector<int32_t>{20120105, 20120106}));
        EXPECT_FALSE(pack->isGetFirstKLine);
        EXPECT_EQ(pack->rspCount, 0);
        EXPECT_TRUE(pack->isIdle);
    }
    EXPECT_TRUE(manager->calls.empty());
}

TEST_F(KLineMessages, QuotesDateComesFromTheNewestIndexCandle) {
    center->IO_QuotesDate = 0;
    center->reqQuotesDate();
    ASSERT_EQ(coordinator->records.size(), 1u);
    const QuoteRequestRecord &record = coordinator->records.back();
    EXPECT_EQ(onlyRequestAttribute(), 0);
    EXPECT_EQ(std::get<base::Ref<DataPoolDelegate>>(record.delegate).get(),
              static_cast<DataPoolDelegate *>(center.get()));
    auto quotesPack = KLinePack::getKLinePackFromDict(record.reqParams->object("pack"));
    ASSERT_TRUE(quotesPack);
    EXPECT_EQ(quotesPack->code, "SH000001");
    EXPECT_EQ(quotesPack->ktype, 7);
    EXPECT_EQ(quotesPack->tag, 100001);
    EXPECT_EQ(quotesPack->reqCount, 1);

    center->ParseKLine(reply(2944, kLineBody({day(20120305)})).span(), record.reqParams);
    center->DataPoolCallBack(2944, record.reqParams);
    EXPECT_EQ(center->IO_QuotesDate, 20120305);
}

} // namespace
