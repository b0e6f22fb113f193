#pragma once

#include "Common/TimeFunc.h"
#include "DataBase/ComAPI.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "Module/StockDataBaseMgnt/IndexNetData.h"
#include "Module/StockDataBaseMgnt/KLineNetData.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"
#include "Module/StockDataBaseMgnt/MLineNetData.h"
#include "base/Clock.h"
#include "base/FileManager.h"
#include "base/RunLoop.h"
#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

namespace requesters {

// Stands in for the coordinator: keeps the request records the message layer hands over.
class RecordingCoordinator : public base::Object, public NetDataCenterDelegate {
public:
    base::Opt<void> MakeRequestGroup(const QuoteRequestRecord &record) override {
        records.push_back(record);
        return {};
    }
    base::Opt<bool> isHQConnected() override { return true; }

    size_t count(int type) const {
        return size_t(
            std::count_if(records.begin(), records.end(), [&](auto &r) { return r.reqType == type; }));
    }
    std::vector<QuoteRequestRecord> records;
};

class RecordingRequester : public base::Object, public DataPoolDelegate {
public:
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override {
        types.push_back(reqType);
        replies.push_back(params);
    }
    std::vector<int32_t> types;
    std::vector<base::Ref<ReqParams>> replies;
};

// What a candle request asks for.
struct CandleAsk {
    std::string code;
    int ktype = 0;
    int32_t pos = 0;
    int count = 0;
};

inline CandleAsk candleAsk(const QuoteRequestRecord &record) {
    ByteView frame = record.data.span();
    uint32_t at = 7;
    CandleAsk ask;
    ask.code = ComAPI::ReadString(frame, at);
    ask.ktype = ComAPI::ReadByte(frame, at);
    ask.pos = ComAPI::ReadInt(frame, at);
    ask.count = ComAPI::ReadShort(frame, at);
    return ask;
}

inline base::Data frameOf(int type, const base::Data &body) {
    base::Data frame;
    ComAPI::WriteByte(frame, 1);
    ComAPI::WriteShort(frame, type);
    ComAPI::WriteShort(frame, 0);
    ComAPI::WriteShort(frame, int(body.length()));
    frame.append(body);
    return frame;
}

// A plain candle reply with one flat candle per time.
inline base::Data candleReply(const std::vector<int> &times, int price = 1000) {
    base::Data body;
    ComAPI::WriteByte(body, 0);
    ComAPI::WriteShort(body, int(times.size()));
    for (int time : times)
        for (int32_t v : {time, price, price, price, price, 100, 10})
            ComAPI::WriteInt(body, v);
    return frameOf(2944, body);
}

// The trading days (Monday to Friday) ending on `last`, oldest first.
inline std::vector<int> tradingDaysEndingOn(int last, int count) {
    std::vector<int> days;
    auto date = TimeFunc::getDateFromNumDate(last);
    while (date && int(days.size()) < count) {
        int numDate = TimeFunc::getNumDate(*date), weekday = 0, week = 0;
        TimeFunc::getWeekday(numDate, weekday, week);
        if (weekday <= 5)
            days.insert(days.begin(), numDate);
        date = TimeFunc::IncDate(*date, -1);
    }
    return days;
}

inline std::vector<base::Ref<KLineItem>> candlesAt(const std::vector<int> &times) {
    std::vector<base::Ref<KLineItem>> list;
    for (int time : times) {
        auto c = base::make<KLineItem>();
        c->time = time;
        c->openprice = c->highprice = c->lowprice = c->closeprice = 1000;
        c->vol = 100;
        c->backupPrices();
        list.push_back(c);
    }
    return list;
}

// A message layer with a recording coordinator, its own documents directory and a virtual clock.
class RequestersTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = base::FileManager::uniqueTemporaryPath();
        ::setenv("QV_HOME", home_.c_str(), 1);
        base::Clock::setCurrent(&clock);
        center = NetDataCenter::create();
        center->theDelegate = coordinator;
        center->IO_ServerDate = 20120305;
        center->IO_QuotesDate = 20120305;
        klines = base::make<KLineNetData>(center);
    }
    void TearDown() override {
        base::Clock::setCurrent(nullptr);
        std::filesystem::remove_all(home_);
    }

    // Runs the calls deferred to the next pass of the run loop.
    void nextPass() { clock.advance(0); }
    // The reply of the last request, parsed as the coordinator would and handed to the manager.
    void answerLast(const base::Data &frame) {
        const QuoteRequestRecord record = coordinator->records.back();
        center->ParseKLine(frame.span(), record.reqParams);
    }
    CandleAsk lastAsk() const { return candleAsk(coordinator->records.back()); }

    base::VirtualClock clock{400000000};
    base::Ref<RecordingCoordinator> coordinator = base::make<RecordingCoordinator>();
    base::Ref<NetDataCenter> center;
    base::Ref<KLineNetData> klines;
    base::Ref<RecordingRequester> requester = base::make<RecordingRequester>();
    std::string home_;
};

} // namespace requesters
