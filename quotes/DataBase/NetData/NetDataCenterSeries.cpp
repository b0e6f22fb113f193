// Lists of items for one security, driven by a request-state pack that remembers how far the list
// has been fetched: ticks, deals, big orders, ex-rights events, the rise/fall line and the index
// contribution list.
#include "DataBase/NetData/NetDataCenter.h"

#include "Common/TimeFunc.h"
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/IndexGXItem.h"
#include "DataBase/NetData/NewExrightItem.h"
#include "DataBase/NetData/RefreshedSeries.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/SeriesNumber.h"
#include "DataBase/NetData/StkMinLineItem.h"
#include "Module/StockDataBaseMgnt/IndexNetData.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int StrikeDetailType = 2970;
constexpr int DealDetailType = 2971;
constexpr int StockDDDetailV2Type = 2976;
constexpr int IndexDDDetailV2Type = 2977;
constexpr int StockDDDetailType = 2931;
constexpr int IndexDDDetailType = 2932;
constexpr int RiseFallLineType = 2965;
constexpr int ExrightType = 2966;
constexpr int IndexGXType = 2929;
constexpr int ExrightTestType = 2958;

// Unpaged tick, deal and market big-order lists keep the newest rows only.
constexpr int64_t MaxKeptRows = 100;
// A pack with this tag pages: it wants exactly `reqCount` rows and keeps all of them.
constexpr int32_t PagedTag = 100;
constexpr int DefaultRowCount = 30;
// Big-order rows of these types carry a time and a volume; other types are skipped whole.
constexpr uint32_t MaxBigOrderType = 5;
constexpr uint32_t SkippedBigOrderBytes = 6;

int32_t positionAfter(int32_t first, int64_t rows) {
    return int32_t(std::clamp<int64_t>(first + rows, 0, INT32_MAX));
}

void skipBytes(ByteView frame, uint32_t &pos, uint32_t count) {
    pos = uint32_t(std::min<uint64_t>(uint64_t(pos) + count, frame.size()));
}

// Classifies a futures deal by how open interest moved against the previous deal.
void classifyFuturesDeal(StkStrikeDetailItem &row, int64_t previousHold) {
    if (previousHold < 1)
        return;
    int64_t change = int64_t(row.holdVol) - previousHold;
    row.incVol = int32_t(change);
    int64_t vol = row.dealVol;
    if (std::llabs(change) > vol)
        return;
    int64_t sum = vol + change;
    int64_t opened = sum / 2;
    int64_t closed = vol - opened;
    if (sum >= -1 && sum <= 1 && closed > 0)
        row.dealType = 6;
    else if (sum >= 2 && vol == opened)
        row.dealType = 5;
    else if (row.isOuterPan)
        row.dealType = opened > closed ? 1 : opened < closed ? 4 : 7;
    else
        row.dealType = opened > closed ? 3 : opened < closed ? 2 : 8;
}

// Ticks and deals: rows are read first, so that only rows present in the reply push old ones out.
void parseDeals(ByteView frame, NetDataCenter::PackList &list, int32_t &newPos, bool isReqAllData,
                ReqParams *reqParams, bool hasFuturesFlag) {
    if (NetDataCenter::IsEmptyPack(frame)) {
        list.clear();
        newPos = 0;
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    bool futures = hasFuturesFlag && ComAPI::ReadByte(frame, pos) == 1;
    int32_t first = ComAPI::ReadInt(frame, pos);
    int16_t count = ComAPI::ReadShort(frame, pos);
    NetDataCenter::PackList rows;
    int64_t previousHold = 0;
    ComAPI::ReadRows(frame, pos, count, [&](int64_t i) {
        auto row = base::make<StkStrikeDetailItem>();
        row->pos = positionAfter(first, i);
        row->time = ComAPI::ReadInt(frame, pos);
        row->setDealWord(ComAPI::ReadNum(frame, pos, 4));
        row->dealVol = ComAPI::ReadInt(frame, pos);
        if (futures) {
            row->holdVol = ComAPI::ReadInt(frame, pos);
            classifyFuturesDeal(*row, i == 0 ? 0 : previousHold);
            previousHold = row->holdVol;
        }
        rows.push_back(row);
    });
    if (reqParams) {
        reqParams->set("rspPos", first);
        reqParams->set("rspCount", int64_t(rows.size()));
    }
    // A reply from the start of the day's sequence replaces everything.
    if (first < 1)
        list.clear();
    if (!isReqAllData)
        NetDataCenter::removeOverItem(list, int64_t(rows.size()), MaxKeptRows);
    list.insert(list.end(), rows.begin(), rows.end());
    newPos = positionAfter(first, int64_t(rows.size()));
}

void readBigOrderRatios(ByteView frame, uint32_t &pos, std::initializer_list<int16_t *> fields) {
    for (int16_t *field : fields)
        *field = ComAPI::ReadShort(frame, pos);
}

void clearBigOrderRatios(StockBasicInf &inf) {
    inf.buyZDRate = inf.buyDDRate = inf.buyTDDRate = inf.sellZDRate = inf.sellDDRate = inf.sellTDDRate = 0;
    inf.organBuyDDVol = inf.organSellDDVol = inf.buyDDVol = inf.sellDDVol = 0;
}

// Big orders of a stock after the day's ratios: the list runs newest first.
void parseStockBigOrders(ByteView frame, uint32_t &pos, NetDataCenter::PackList &list, int32_t &newPos,
                         bool skipsUnknownTypes) {
    int16_t first = ComAPI::ReadShort(frame, pos);
    int16_t count = ComAPI::ReadShort(frame, pos);
    int64_t read = ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        uint32_t type = ComAPI::ReadNum(frame, pos, 1);
        if (skipsUnknownTypes && type > MaxBigOrderType) {
            skipBytes(frame, pos, SkippedBigOrderBytes);
            return;
        }
        auto item = base::make<StockDDDetailItem>();
        item->type = int8_t(type);
        item->time = ComAPI::ReadShort(frame, pos);
        item->vol = ComAPI::ReadInt(frame, pos);
        list.insert(list.begin(), item);
    });
    newPos = positionAfter(first, read);
}

} // namespace

void NetDataCenter::RequestArrayData(const QuoteRequester &requester, int reqType,
                                     const base::Ref<RequestPosItem> &pack,
                                     const base::Ref<StockBasicInf> &rspInfo) {
    if (!pack || (reqType == ExrightType && pack->isRsp) || !pack->isIdle)
        return;
    pack->isIdle = false;
    int32_t start = std::max(pack->pos, 0);
    auto params = base::make<ReqParams>(ReqParams{{"stockDetailReqNo", pack->reqNo}});
    params->setObject("pack", pack);
    if (rspInfo)
        params->setObject("rspInfo", rspInfo);

    base::Data body;
    switch (reqType) {
    case 2311:
    case 2312:
    case 2313:
    case 2314:
    case ExrightType:
    case 2969:
        ComAPI::WriteString(body, pack->code);
        break;
    case 2917:
    case 2922:
    case 2923:
    case 2924:
        ComAPI::WriteString(body, pack->code);
        ComAPI::WriteInt(body, start);
        break;
    case StockDDDetailType:
    case StockDDDetailV2Type:
    case IndexDDDetailType:
    case IndexDDDetailV2Type: {
        bool market = reqType == IndexDDDetailType || reqType == IndexDDDetailV2Type;
        ComAPI::WriteString(body, market ? pack->code.substr(0, 2) : pack->code);
        ComAPI::WriteShort(body, start);
        ComAPI::WriteShort(body, DefaultRowCount);
        break;
    }
    case RiseFallLineType:
        ComAPI::WriteString(body, pack->code);
        ComAPI::WriteShort(body, start);
        break;
    case StrikeDetailType:
    case DealDetailType: {
        // Without a position, ticks ask for the latest rows and deals for the first.
        int32_t reqPos = pack->pos;
        int32_t reqCount = pack->tag == PagedTag && pack->reqCount >= 1 ? pack->reqCount : DefaultRowCount;
        if (pack->pos < 0) {
            reqPos = reqType == StrikeDetailType ? -1 : 0;
            reqCount = reqType == StrikeDetailType ? -DefaultRowCount : DefaultRowCount;
        }
        ComAPI::WriteString(body, pack->code);
        ComAPI::WriteInt(body, reqPos);
        ComAPI::WriteShort(body, reqCount);
        params->set("reqPos", reqPos);
        params->set("reqCount", reqCount);
        break;
    }
    default:
        break;
    }
    sendRequest(reqType, body, requester, params);
}

void NetDataCenter::RequestStkStrikeDetail(const QuoteRequester &requester,
                                           const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, StrikeDetailType, pack);
}

void NetDataCenter::RequestDealDetail(const QuoteRequester &requester,
                                      const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, DealDetailType, pack);
}

void NetDataCenter::RequestStockDDDetailV2(const QuoteRequester &requester,
                                           const base::Ref<RequestPosItem> &pack,
                                           const base::Ref<StockBasicInf> &rspInfo) {
    RequestArrayData(requester, StockDDDetailV2Type, pack, rspInfo);
}

void NetDataCenter::RequestStockDDDetail(const QuoteRequester &requester,
                                         const base::Ref<RequestPosItem> &pack,
                                         const base::Ref<StockBasicInf> &rspInfo) {
    RequestArrayData(requester, StockDDDetailType, pack, rspInfo);
}

void NetDataCenter::RequestIndexDDDetailV2(const QuoteRequester &requester,
                                           const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, IndexDDDetailV2Type, pack);
}

void NetDataCenter::RequestIndexDDDetail(const QuoteRequester &requester,
                                         const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, IndexDDDetailType, pack);
}

void NetDataCenter::RequestStockExright(const QuoteRequester &requester,
                                        const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, ExrightType, pack);
}

void NetDataCenter::RequestIndexRiseFallLine(const QuoteRequester &requester,
                                             const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, RiseFallLineType, pack);
}

void NetDataCenter::ParseRspArray(int reqType, ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto pack = reqParams ? RequestPosItem::getPackFromDict(reqParams->object("pack")) : nullptr;
    if (!pack)
        return;
    pack->isIdle = true;
    pack->updateTick = TimeFunc::getCurTick();
    base::Ref<StockBasicInf> inf;
    if (reqType == StockDDDetailType || reqType == StockDDDetailV2Type) {
        inf = reqParams->object<StockBasicInf>("rspInfo");
        if (!inf)
            return;
    }
    int32_t newPos = -1;
    PackList &list = pack->rspArray;
    switch (reqType) {
    case 2311:
        ParseFundKLine(frame, list);
        break;
    case 2312:
        ParseFundStocks(frame, list);
        break;
    case 2313:
        ParseFundShares(frame, list);
        break;
    case 2314:
        ParseFundStruct(frame, list);
        break;
    case RiseFallLineType:
        ParseIndexRiseFallLine(frame, list, newPos);
        break;
    case ExrightType:
        if (IsEmptyPack(frame)) {
            list.clear();
            break;
        }
        ParseStockExright(frame, list);
        pack->isRsp = true;
        // Read back on the same trading day instead of asking again.
        LocalFileFunc::saveExright(pack->code, list, IO_QuotesDate);
        break;
    case 2969:
        ParseStockBoards(frame, list);
        break;
    case StrikeDetailType:
        ParseStkStrikeDetail(frame, list, newPos, pack->tag == PagedTag, reqParams.get());
        break;
    case DealDetailType:
        ParseDealDetail(frame, list, newPos, pack->tag == PagedTag, reqParams.get());
        break;
    case StockDDDetailV2Type:
        ParseStockDDDetailV2(frame, list, newPos, *inf);
        break;
    case StockDDDetailType:
        ParseStockDDDetail(frame, list, newPos, *inf);
        break;
    case IndexDDDetailV2Type:
        ParseIndexDDDetailV2(frame, list, newPos);
        break;
    case IndexDDDetailType:
        ParseIndexDDDetail(frame, list, newPos);
        break;
    case 2917:
        ParseLevel2EntrustQueue(frame, pack->rspDict);
        break;
    case 2922:
        ParseLevel2MinDDX(frame, list, newPos);
        break;
    case 2923:
        ParseLevel2MinDiffer(frame, list, newPos);
        break;
    case 2924:
        ParseLevel2MinBSVol(frame, list, newPos);
        break;
    default:
        break;
    }
    pack->pos = newPos;
}

void NetDataCenter::ParseStkStrikeDetail(ByteView frame, PackList &rspArray, int32_t &newPos,
                                         bool isReqAllData, ReqParams *reqParams) {
    parseDeals(frame, rspArray, newPos, isReqAllData, reqParams, true);
}

void NetDataCenter::ParseDealDetail(ByteView frame, PackList &rspArray, int32_t &newPos, bool isReqAllData,
                                    ReqParams *reqParams) {
    parseDeals(frame, rspArray, newPos, isReqAllData, reqParams, false);
}

void NetDataCenter::ParseStockDDDetailV2(ByteView frame, PackList &rspArray, int32_t &newPos,
                                         StockBasicInf &inf) {
    if (IsEmptyPack(frame)) {
        clearBigOrderRatios(inf);
        rspArray.clear();
        newPos = 0;
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    readBigOrderRatios(frame, pos,
                       {&inf.buyZDRate, &inf.buyDDRate, &inf.buyTDDRate, &inf.sellZDRate, &inf.sellDDRate,
                        &inf.sellTDDRate, &inf.organBuyDDVol, &inf.organSellDDVol, &inf.buyDDVol,
                        &inf.sellDDVol});
    for (int i = 0; i < 4; ++i)
        ComAPI::ReadShort(frame, pos);
    parseStockBigOrders(frame, pos, rspArray, newPos, true);
}

void NetDataCenter::ParseStockDDDetail(ByteView frame, PackList &rspArray, int32_t &newPos,
                                       StockBasicInf &inf) {
    if (IsEmptyPack(frame)) {
        clearBigOrderRatios(inf);
        rspArray.clear();
        newPos = 0;
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    readBigOrderRatios(frame, pos,
                       {&inf.buyZDRate, &inf.buyDDRate, &inf.buyTDDRate, &inf.sellZDRate, &inf.sellDDRate,
                        &inf.sellTDDRate, &inf.buyDDVol, &inf.sellDDVol, &inf.organBuyDDVol,
                        &inf.organSellDDVol});
    parseStockBigOrders(frame, pos, rspArray, newPos, false);
}

void NetDataCenter::ParseIndexDDDetailV2(ByteView frame, PackList &rspArray, int32_t &newPos) {
    ParseIndexDDDetail(frame, rspArray, newPos);
}

void NetDataCenter::ParseIndexDDDetail(ByteView frame, PackList &rspArray, int32_t &newPos) {
    if (IsEmptyPack(frame)) {
        rspArray.clear();
        newPos = 0;
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    int16_t first = ComAPI::ReadShort(frame, pos);
    int16_t count = ComAPI::ReadShort(frame, pos);
    PackList rows;
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto item = base::make<IndexDDDetailItem>();
        item->code = ComAPI::ReadString(frame, pos);
        item->name = ComAPI::ReadString(frame, pos);
        item->type = ComAPI::ReadByte(frame, pos);
        item->time = ComAPI::ReadShort(frame, pos);
        item->vol = ComAPI::ReadInt(frame, pos);
        rows.push_back(item);
    });
    removeOverItem(rspArray, int64_t(rows.size()), MaxKeptRows);
    rspArray.insert(rspArray.end(), rows.begin(), rows.end());
    newPos = positionAfter(first, int64_t(rows.size()));
}

void NetDataCenter::ParseIndexRiseFallLine(ByteView frame, PackList &rspArray, int32_t &newPos) {
    parseRefreshedSeries(frame, rspArray, newPos, [&](uint32_t &pos) {
        return base::make<SeriesNumber>(ComAPI::ReadByte(frame, pos));
    });
}

void NetDataCenter::ParseStockExright(ByteView frame, PackList &rspArray) {
    rspArray.clear();
    uint32_t pos = NTDataPageHead::Size;
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto item = base::make<NewExrightItem>();
        for (int32_t *field : {&item->date, &item->give, &item->pei, &item->peiPrice, &item->profit})
            *field = ComAPI::ReadInt(frame, pos);
        rspArray.push_back(item);
    });
}

void NetDataCenter::RequestIndexGX(const QuoteRequester &requester, const base::Ref<IndexGXPack> &pack,
                                   int orderType, int reqCount) {
    if (!pack)
        return;
    base::Data body;
    for (size_t i = 0; i < 2; ++i)
        ComAPI::WriteByte(body, i < pack->code.size() ? uint8_t(pack->code[i]) : 0);
    ComAPI::WriteByte(body, orderType);
    ComAPI::WriteShort(body, 0);
    ComAPI::WriteShort(body, reqCount);
    auto params = base::make<ReqParams>();
    params->setObject("pack", pack);
    sendRequest(IndexGXType, body, requester, params);
}

void NetDataCenter::ParseIndexGX(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto pack = reqParams ? IndexGXPack::getIndexGXPackFromDict(reqParams->object("pack")) : nullptr;
    if (!pack)
        return;
    ++pack->reqTimes;
    IndexNetData::OnRspIndexGX(*pack);
    if (IsEmptyPack(frame))
        return;
    PackList &list = pack->rspArray;
    // Rows of the second reply all go in behind the first reply's, each in front of the one before.
    size_t held = list.size();
    uint32_t pos = NTDataPageHead::Size;
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto item = base::make<IndexGXItem>();
        item->code = ComAPI::ReadString(frame, pos);
        item->name = ComAPI::ReadString(frame, pos);
        item->digit = ComAPI::ReadInt(frame, pos);
        item->risefall = ComAPI::ReadShort(frame, pos);
        if (pack->reqTimes == 1)
            list.push_back(item);
        else
            list.insert(list.begin() + std::ptrdiff_t(std::min(held, list.size())), item);
    });
    IndexNetData::OnRspIndexGX(*pack);
}

void NetDataCenter::TestRequest2958(const QuoteRequester &requester, const std::string &code,
                                    int exrightMode) {
    base::Data body;
    ComAPI::WriteString(body, code);
    ComAPI::WriteByte(body, exrightMode);
    sendRequest(ExrightTestType, body, requester);
}
