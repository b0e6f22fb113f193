// Chart messages: the intraday minutes of a security (2942) and its candles (2944), either plain or
// bit-coded by the server, and the quotes-date request that rides on 2944.
#include "DataBase/NetData/NetDataCenter.h"

#include "Common/TimeFunc.h"
#include "DataBase/ExternFiles/qvnbitstream.h"
#include "DataBase/MarketTimes/MarketTimes.h"
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/StkMinLineItem.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"

#include <algorithm>

namespace {

constexpr int MinLineType = 2942;
constexpr int KLineType = 2944;
constexpr uint16_t CodedReply = 2;
// Header and fixed fields in front of the minutes of an expanded intraday reply.
constexpr uint32_t ExpandedMinHeadSize = 14;
// Candle requests for more than this many candles accept a bit-coded reply.
constexpr int32_t PlainKLineCount = 10;
// Minutes are cached once the day holds more than this many.
constexpr size_t CachedMinLineCount = 20;
constexpr const char *QuotesDateIndex = "SH000001";
constexpr int32_t QuotesDatePeriod = 7;
constexpr int32_t QuotesDateTagValue = 100001;

QuoteRequester requesterOf(const PackBase &pack) {
    if (!pack.delegateName().empty())
        return pack.delegateName();
    if (auto requester = std::dynamic_pointer_cast<DataPoolDelegate>(pack.delegateObject()))
        return requester;
    return std::monostate();
}

bool isCoded(ByteView frame) {
    auto head = NTDataPageHead::read(frame);
    return head && (head->attribute & CodedReply);
}

// The plain frame of a bit-coded intraday reply; nothing unless every minute was expanded. The
// sessions the reply carries update the trading-session table even then.
std::optional<std::vector<uint8_t>> expandMinLine(ByteView frame, const std::string &code) {
    uint32_t size = 0;
    ByteView sessions;
    NewExpandMinData(frame, {}, size, &sessions);
    if (sessions.data())
        MarketTimes::Instance().addItem(sessions, code);
    if (size == 0)
        return std::nullopt;
    std::vector<uint8_t> out(size);
    int written = NewExpandMinData(frame, out, size, nullptr);
    uint32_t recordSize = out[7] ? 20 : 16;
    if (uint32_t(written) != (size - ExpandedMinHeadSize) / recordSize)
        return std::nullopt;
    return out;
}

// The plain frame of a bit-coded candle reply; nothing unless every candle was expanded.
std::optional<std::vector<uint8_t>> expandKLine(ByteView frame) {
    uint32_t size = 0;
    NewExpandKLineData(frame, {}, size);
    if (size == 0)
        return std::nullopt;
    std::vector<uint8_t> out(size);
    NewExpandKLineData(frame, out, size);
    uint32_t bodyLengthPos = 5;
    if (ComAPI::ReadShort(out, bodyLengthPos) == 0)
        return std::nullopt;
    return out;
}

base::Ref<StkMinLineItem> readMinute(ByteView frame, uint32_t &pos, bool hold) {
    auto minute = base::make<StkMinLineItem>();
    minute->time = ComAPI::ReadInt(frame, pos);
    minute->price = ComAPI::ReadInt(frame, pos);
    minute->totalVol = ComAPI::ReadInt(frame, pos);
    minute->ave = ComAPI::ReadInt(frame, pos);
    minute->holdVol = hold ? ComAPI::ReadInt(frame, pos) : 0;
    return minute;
}

// The total volume of the newest held minute that has one.
int32_t lastTotalVol(const std::vector<base::Ref<base::Object>> &minutes) {
    for (auto it = minutes.rbegin(); it != minutes.rend(); ++it)
        if (auto minute = std::dynamic_pointer_cast<StkMinLineItem>(*it); minute && minute->totalVol >= 1)
            return minute->totalVol;
    return 0;
}

// Joins the reply's minutes onto those held: the last held minute is sent again and replaced, and
// each minute's volume is the growth of the day's total since the previous minute that had one.
void appendMinutes(ByteView frame, uint32_t &pos, int count, bool hold, MinLinePack &pack) {
    if (!pack.rspArray.empty())
        pack.rspArray.pop_back();
    auto last =
        pack.rspArray.empty() ? nullptr : std::dynamic_pointer_cast<StkMinLineItem>(pack.rspArray.back());
    int32_t previousTotal = lastTotalVol(pack.rspArray);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto minute = readMinute(frame, pos, hold);
        if (minute->totalVol >= 1) {
            minute->vol = int32_t(int64_t(minute->totalVol) - previousTotal);
            previousTotal = minute->totalVol;
        }
        if (!last || minute->time > last->time)
            pack.rspArray.push_back(minute);
    });
}

base::Ref<KLineItem> readCandleBody(ByteView frame, uint32_t &pos, int32_t time, bool hold) {
    auto candle = base::make<KLineItem>();
    candle->time = time;
    candle->openprice = ComAPI::ReadInt(frame, pos);
    candle->highprice = ComAPI::ReadInt(frame, pos);
    candle->lowprice = ComAPI::ReadInt(frame, pos);
    candle->closeprice = ComAPI::ReadInt(frame, pos);
    candle->vol = ComAPI::ReadInt(frame, pos);
    candle->amount = ComAPI::ReadInt(frame, pos);
    candle->holdVol = hold ? ComAPI::ReadInt(frame, pos) : 0;
    // Missing prices: the open from the close, the high and low from the open and close.
    if (candle->openprice <= 0)
        candle->openprice = candle->closeprice;
    if (candle->highprice <= 0)
        candle->highprice = std::max(candle->openprice, candle->closeprice);
    if (candle->lowprice <= 0)
        candle->lowprice = std::min(candle->openprice, candle->closeprice);
    candle->backupPrices();
    return candle;
}

base::Ref<KLineItem> lastCandle(const KLinePack &pack) {
    return pack.rspArray.empty() ? nullptr : std::dynamic_pointer_cast<KLineItem>(pack.rspArray.back());
}

// What the replaced newest candle carried that the reply does not.
void carryOver(const KLineItem &from, KLineItem &to) {
    if (from.addStockInfo)
        to.addStockInfo = from.addStockInfo;
    to.exrightFlag = from.exrightFlag;
    to.exrightDate = from.exrightDate;
    to.bsItem = from.bsItem;
}

// Places the reply's candles: older ones in front when paging back, else after the held ones; a
// refresh whose first candle is newer than all held replaces them.
void placeCandles(ByteView frame, KLinePack &pack) {
    uint32_t pos = NTDataPageHead::Size;
    bool hold = ComAPI::ReadByte(frame, pos) != 0;
    int count = ComAPI::ReadShort(frame, pos);
    const bool forward = pack.isForwardReq;

    auto held = lastCandle(pack);
    int32_t lastTime = held ? held->time : 0;
    base::Ref<KLineItem> resent;
    if (!forward && !pack.rspArray.empty()) {
        resent = held;
        pack.rspArray.pop_back();
    }
    auto previous = lastCandle(pack);
    int placed = 0;
    int32_t firstTime = 0, newestTime = 0;
    int64_t rows = ComAPI::ReadRows(frame, pos, count, [&](int64_t i) {
        int32_t time = ComAPI::ReadInt(frame, pos);
        if (i == 0 && !forward && lastTime >= 1 && time > lastTime) {
            pack.rspArray.clear();
            previous = nullptr;
        }
        auto candle = readCandleBody(frame, pos, time, hold);
        if (forward) {
            pack.rspArray.insert(pack.rspArray.begin() + std::min<size_t>(size_t(i), pack.rspArray.size()),
                                 candle);
            ++placed;
        } else if (!previous || time > previous->time) {
            pack.rspArray.push_back(candle);
            ++placed;
        }
        if (i == 0)
            firstTime = time;
        newestTime = time;
    });

    pack.rspCount = int32_t(rows);
    if (forward && rows < pack.reqCount)
        pack.isGetFirstKLine = true;
    pack.rspFirstTime = firstTime;
    pack.rspLastTime = newestTime;
    if (!resent)
        return;
    // A refresh that brought no newer candle keeps the one it would have replaced.
    if (placed == 0)
        pack.rspArray.push_back(resent);
    else if (auto newest = lastCandle(pack); newest && newest->time == resent->time)
        carryOver(*resent, *newest);
}

} // namespace

void NetDataCenter::RequestMinLine(const base::Ref<MinLinePack> &pack) {
    if (!pack || !pack->isIdle)
        return;
    pack->isIdle = false;
    base::Data body;
    ComAPI::WriteString(body, pack->code);
    ComAPI::WriteShort(body, std::max(pack->pos, 0));
    auto params = base::make<ReqParams>(ReqParams{{"code", pack->code}, {"tag", pack->tag}});
    params->setObject("pack", pack);
    sendRequest(MinLineType, body, requesterOf(*pack), params, true);
}

void NetDataCenter::ParseMinLine(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto pack = reqParams ? MinLinePack::getMinLinePackFromDict(reqParams->object("pack")) : nullptr;
    if (!pack)
        return;
    pack->isIdle = true;
    pack->updateTick = TimeFunc::getCurTick();
    if (IsEmptyPack(frame)) {
        pack->rspArray.clear();
        return;
    }
    std::optional<std::vector<uint8_t>> expanded;
    if (isCoded(frame)) {
        expanded = expandMinLine(frame, pack->code);
        if (!expanded)
            return;
        frame = *expanded;
    }

    uint32_t pos = NTDataPageHead::Size;
    bool hold = ComAPI::ReadByte(frame, pos) != 0;
    pos += 2;
    int16_t position = ComAPI::ReadShort(frame, pos);
    int16_t count = ComAPI::ReadShort(frame, pos);
    pack->pos = position;
    if (position < 1 || size_t(position) < pack->rspArray.size()) {
        pack->rspArray.clear();
        return;
    }
    appendMinutes(frame, pos, count, hold, *pack);
    if (pack->rspArray.size() > CachedMinLineCount &&
        pack->rspArray.size() > size_t(std::max(pack->readCount, 0))) {
        pack->readCount = int32_t(pack->rspArray.size());
        LocalFileFunc::saveMinLine(pack->code, pack->rspArray, IO_QuotesDate);
    }
}

bool NetDataCenter::RequestKLine(const QuoteRequester &requester, const base::Ref<KLinePack> &pack) {
    if (!pack || (pack->isForwardReq && pack->isGetFirstKLine) || !pack->isIdle)
        return false;
    pack->isIdle = false;
    base::Data body;
    ComAPI::WriteString(body, pack->code);
    ComAPI::WriteByte(body, pack->ktype);
    ComAPI::WriteInt(body, pack->pos);
    ComAPI::WriteShort(body, pack->reqCount);
    auto params = base::make<ReqParams>(ReqParams{{"isForwardReq", pack->isRealForwardReq}});
    params->setObject("pack", pack);
    if (auto manager = pack->manager.lock())
        params->setObject("manager", manager);
    sendRequest(KLineType, body, requester, params, pack->reqCount > PlainKLineCount);
    return true;
}

void NetDataCenter::ParseKLine(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto pack = reqParams ? KLinePack::getKLinePackFromDict(reqParams->object("pack")) : nullptr;
    if (!pack)
        return;
    auto manager = std::dynamic_pointer_cast<KLineManager>(reqParams->object("manager"));
    pack->isIdle = true;
    pack->updateTick = TimeFunc::getCurTick();
    if (IsEmptyPack(frame)) {
        // Nothing older exists.
        if (pack->isForwardReq)
            pack->isGetFirstKLine = true;
        pack->clearRspData();
    } else if (!isCoded(frame)) {
        placeCandles(frame, *pack);
    } else if (auto expanded = expandKLine(frame)) {
        placeCandles(*expanded, *pack);
    } else {
        // A reply that cannot be read changes no candle and ends a batch.
        pack->clearRspData();
        return;
    }
    if (manager)
        manager->OnRspKLine(reqParams);
}

void NetDataCenter::reqQuotesDate() {
    auto pack = base::make<KLinePack>(QuotesDateIndex, QuotesDatePeriod);
    pack->tag = QuotesDateTagValue;
    pack->isForwardReq = true;
    pack->pos = 0;
    pack->reqCount = 1;
    QuoteRequester self;
    if (auto alive = std::dynamic_pointer_cast<DataPoolDelegate>(weak_from_this().lock()))
        self = alive;
    RequestKLine(self, pack);
}
