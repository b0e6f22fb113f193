// Level-2 data: the order queue at the best prices, per-minute series for the intraday chart and
// per-day series for the candle chart.
#include "DataBase/NetData/NetDataCenter.h"

#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/Level2BSItem.h"
#include "DataBase/NetData/RefreshedSeries.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/SeriesNumber.h"
#include "base/Str.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int DDRatioType = 2920;
constexpr int DDOffsetType = 2928;
// Each row of the per-day buy/sell statistics.
constexpr uint32_t BSRowBytes = 19;
// The queue reply names the ask and the bid side.
constexpr int MaxQueueSides = 2;

void readQueueSide(ByteView frame, uint32_t &pos, base::Dict &dict) {
    std::string side = ComAPI::ReadByte(frame, pos) != 0 ? "sell" : "buy";
    int32_t price = ComAPI::ReadInt(frame, pos);
    int32_t orders = ComAPI::ReadInt(frame, pos);
    int16_t count = ComAPI::ReadShort(frame, pos);
    base::Array lots;
    int64_t sum = 0;
    int64_t read = ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        int32_t vol = ComAPI::ReadInt(frame, pos);
        sum += vol;
        lots.add(base::str::format("%ld", std::lround(vol / 100.0)));
    });
    float average = read > 0 ? float(sum) / 100.0f / float(read) : 0.0f;
    dict.set(side + "Price", price);
    dict.set(side + "Num", orders);
    dict.set(side + "PerNum", average);
    dict.set(side + "Array", lots);
}

base::Ref<DD_Item> readDayItem(int reqType, ByteView frame, uint32_t &pos) {
    auto item = base::make<DD_Item>();
    item->date = ComAPI::ReadInt(frame, pos);
    if (reqType == DDRatioType) {
        item->value = float(ComAPI::ReadInt24(frame, pos)) / 1000.0f;
        item->value2 = float(ComAPI::ReadByte(frame, pos));
    } else if (reqType == DDOffsetType) {
        item->value = float(ComAPI::ReadShort(frame, pos) + 5000) / 100.0f;
    } else {
        item->value = float(ComAPI::ReadShort(frame, pos)) / 1000.0f;
    }
    return item;
}

// A refresh brings the newest day again: drop what the list holds from that day on.
void dropFromDate(NetDataCenter::PackList &list, int32_t date) {
    while (!list.empty()) {
        auto last = std::dynamic_pointer_cast<DD_Item>(list.back());
        if (!last || last->date < date)
            return;
        list.pop_back();
    }
}

base::Ref<Level2BSItem> readBSItem(ByteView frame, uint32_t &pos) {
    auto item = base::make<Level2BSItem>();
    item->tag = ComAPI::ReadByte(frame, pos);
    for (int32_t *field : {&item->udd, &item->upp, &item->ls, &item->hs})
        *field = ComAPI::ReadInt(frame, pos);
    item->d3 = ComAPI::ReadShort(frame, pos);
    item->parseTag();
    return item;
}

} // namespace

void NetDataCenter::RequestLevel2EntrustQueue(const QuoteRequester &requester,
                                              const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2917, pack);
}

void NetDataCenter::RequestLevel2MinDDX(const QuoteRequester &requester,
                                        const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2922, pack);
}

void NetDataCenter::RequestLevel2MinDiffer(const QuoteRequester &requester,
                                           const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2923, pack);
}

void NetDataCenter::RequestLevel2MinBSVol(const QuoteRequester &requester,
                                          const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2924, pack);
}

void NetDataCenter::ParseLevel2EntrustQueue(ByteView frame, base::Dict &rspDict) {
    rspDict.clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int32_t queueID = ComAPI::ReadInt(frame, pos);
    int sides = std::clamp<int>(ComAPI::ReadByte(frame, pos), 0, MaxQueueSides);
    ComAPI::ReadRows(frame, pos, sides, [&](int64_t) { readQueueSide(frame, pos, rspDict); });
    rspDict.set("queueID", queueID);
}

void NetDataCenter::ParseLevel2MinDDX(ByteView frame, PackList &rspArray, int32_t &newPos) {
    parseRefreshedSeries(frame, rspArray, newPos, [&](uint32_t &pos) {
        return base::make<SeriesNumber>(ComAPI::ReadShort(frame, pos));
    });
}

void NetDataCenter::ParseLevel2MinDiffer(ByteView frame, PackList &rspArray, int32_t &newPos) {
    parseRefreshedSeries(frame, rspArray, newPos, [&](uint32_t &pos) {
        return base::make<SeriesNumber>(ComAPI::ReadInt24(frame, pos));
    });
}

void NetDataCenter::ParseLevel2MinBSVol(ByteView frame, PackList &rspArray, int32_t &newPos) {
    parseRefreshedSeries(frame, rspArray, newPos, [&](uint32_t &pos) {
        auto item = base::make<Level2MinBSVolItem>();
        item->totalBuy = ComAPI::ReadInt(frame, pos);
        item->totalSell = ComAPI::ReadInt(frame, pos);
        return item;
    });
}

void NetDataCenter::RequestLevel2DD_(const QuoteRequester &requester, int reqType,
                                     const base::Ref<RequestPosItem> &pack) {
    if (!pack || !pack->isIdle)
        return;
    pack->isIdle = false;
    base::Data body;
    ComAPI::WriteString(body, pack->code);
    ComAPI::WriteInt(body, pack->isForwardReq ? pack->pos : 0);
    ComAPI::WriteShort(body, pack->reqCount);
    auto params = base::make<ReqParams>(ReqParams{{"stockDetailReqNo", pack->reqNo}});
    params->setObject("pack", pack);
    sendRequest(reqType, body, requester, params);
}

void NetDataCenter::ParseLevel2DD_(int reqType, ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto pack = reqParams ? RequestPosItem::getPackFromDict(reqParams->object("pack")) : nullptr;
    if (!pack)
        return;
    pack->isIdle = true;
    if (IsEmptyPack(frame)) {
        reqParams->set("IsEmptyPack", "YES");
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    int16_t count = ComAPI::ReadShort(frame, pos);
    PackList &list = pack->rspArray;
    bool forward = pack->isForwardReq;
    // Older days land in front of the list in the order received; a refresh appends.
    ComAPI::ReadRows(frame, pos, count, [&](int64_t i) {
        auto item = readDayItem(reqType, frame, pos);
        if (forward) {
            list.insert(list.begin() + std::ptrdiff_t(std::min<size_t>(size_t(i), list.size())), item);
            return;
        }
        if (i == 0)
            dropFromDate(list, item->date);
        list.push_back(item);
    });
}

void NetDataCenter::ParseLevel2BS(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto pack = reqParams ? RequestPosItem::getPackFromDict(reqParams->object("pack")) : nullptr;
    if (!pack)
        return;
    pack->isIdle = true;
    auto candlePack = std::dynamic_pointer_cast<RequestPosItem>(pack->obj);
    if (IsEmptyPack(frame) || pack->pos < 0 || !candlePack || candlePack->rspArray.empty())
        return;
    const PackList &candles = candlePack->rspArray;
    int64_t held = int64_t(candles.size());
    uint32_t pos = NTDataPageHead::Size;
    int64_t count = ComAPI::ReadShort(frame, pos);
    if (count < 1)
        return;

    // The rows cover the candles up to `end` (exclusive).
    int end = int(held);
    if (pack->isForwardReq) {
        if (pack->pos != 0 && !KLineItem::getIndex(candles, pack->pos, end))
            return;
    } else if (held < count) {
        return;
    }
    int64_t first = end - count;
    if (first < 0) {
        // The oldest rows have no candle.
        pos = uint32_t(std::min<uint64_t>(pos + uint64_t(-first) * BSRowBytes, frame.size()));
        count += first;
        first = 0;
    }
    if (pack->isForwardReq && first < held)
        if (auto candle = std::dynamic_pointer_cast<KLineItem>(candles[size_t(first)]))
            pack->savedPos = candle->time;
    ComAPI::ReadRows(frame, pos, std::min(count, held - first), [&](int64_t i) {
        auto item = readBSItem(frame, pos);
        if (auto candle = std::dynamic_pointer_cast<KLineItem>(candles[size_t(first + i)]))
            candle->bsItem = item;
    });
}
