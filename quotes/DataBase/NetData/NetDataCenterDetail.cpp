// One block of facts about one security per message, written straight into the requester's record.
#include "DataBase/NetData/NetDataCenter.h"

#include "Common/Util.h"
#include "DataBase/NTDataPageHead.h"

#include <algorithm>

namespace {

constexpr int BaseInfoType = 2939;
constexpr int DynamicInfoType = 2940;
constexpr int RiseFallCountType = 2206;
constexpr int FundBaseInfoType = 2310;
constexpr int Level2BuySellPanType = 2915;
constexpr int FinancialDataType = 2974;

// Pairs beyond this are not read; the record holds ten levels a side.
constexpr int MaxBookPairs = 20;
constexpr size_t PairBytes = 8;
// The levels the level-2 book fills: entries 5 to 9 of each side.
constexpr int DeepLevelFirst = 5;
constexpr int DeepLevelPairs = 5;

// Reads up to `count` (price, volume) pairs, bounded by the bytes present, handing each to `store`
// with its index among the pairs.
template <class Store> void readBookPairs(ByteView frame, uint32_t &pos, int count, Store &&store) {
    ComAPI::ReadRows(frame, pos, count, [&](int64_t k) {
        int32_t price = ComAPI::ReadInt(frame, pos);
        int32_t vol = ComAPI::ReadInt(frame, pos);
        store(int(k), price, vol);
    });
}

void clearLevels(StockBasicInf &inf, int first, int last) {
    for (int i = first; i <= last; ++i)
        inf.sellPrice[i] = inf.sellVol[i] = inf.buyPrice[i] = inf.buyVol[i] = 0;
}

} // namespace

void NetDataCenter::RequestByStkCode(const QuoteRequester &requester, int reqType, const std::string &code,
                                     int32_t reqNo, const base::Ref<StockBasicInf> &rspInfo) {
    base::Data body;
    ComAPI::WriteString(body, code);
    auto params = base::make<ReqParams>(ReqParams{{"stockDetailReqNo", reqNo}, {"code", code}});
    if (rspInfo)
        params->setObject("rspInfo", rspInfo);
    sendRequest(reqType, body, requester, params);
}

void NetDataCenter::RequestStkBaseInfo(const QuoteRequester &requester, const std::string &code,
                                       int32_t reqNo, const base::Ref<StockBasicInf> &rspInfo) {
    RequestByStkCode(requester, BaseInfoType, code, reqNo, rspInfo);
}

void NetDataCenter::RequestDynamicInfo(const QuoteRequester &requester, const std::string &code,
                                       int32_t reqNo, const base::Ref<StockBasicInf> &rspInfo) {
    RequestByStkCode(requester, DynamicInfoType, code, reqNo, rspInfo);
}

void NetDataCenter::RequestRiseFallCount(const QuoteRequester &requester, const std::string &code,
                                         int32_t reqNo, const base::Ref<StockBasicInf> &rspInfo) {
    RequestByStkCode(requester, RiseFallCountType, code, reqNo, rspInfo);
}

void NetDataCenter::RequestFundBaseInfo(const QuoteRequester &requester, const std::string &code,
                                        int32_t reqNo, const base::Ref<StockBasicInf> &rspInfo) {
    RequestByStkCode(requester, FundBaseInfoType, code, reqNo, rspInfo);
}

void NetDataCenter::RequestLevel2BuySellPan(const QuoteRequester &requester, const std::string &code,
                                            int32_t reqNo, const base::Ref<StockBasicInf> &rspInfo) {
    RequestByStkCode(requester, Level2BuySellPanType, code, reqNo, rspInfo);
}

void NetDataCenter::RequestStockFinancialData(const QuoteRequester &requester, const std::string &code,
                                              int32_t reqNo, const base::Ref<StockBasicInf> &rspInfo) {
    RequestByStkCode(requester, FinancialDataType, code, reqNo, rspInfo);
}

void NetDataCenter::ParseStockDetailInfo(int reqType, ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto inf = reqParams ? reqParams->object<StockBasicInf>("rspInfo") : nullptr;
    if (!inf)
        return;
    switch (reqType) {
    case RiseFallCountType:
        ParseRiseFallCount(frame, *inf);
        break;
    case FundBaseInfoType:
        ParseFundBaseInfo(frame, *inf);
        break;
    case Level2BuySellPanType:
        ParseLevel2BuySellPan(frame, *inf);
        break;
    case BaseInfoType:
        ParseStkBaseInfo(frame, *inf);
        break;
    case DynamicInfoType:
        ParseDynamicInfo(frame, *inf);
        break;
    default:
        break;
    }
}

void NetDataCenter::ParseStkBaseInfo(ByteView frame, StockBasicInf &inf) {
    if (IsEmptyPack(frame)) {
        inf.code.clear();
        inf.name.clear();
        inf.type = inf.decimal = 0;
        inf.sellVolUnit = 0;
        inf.closeprice = inf.upStopPrice = inf.downStopPrice = 0;
        inf.yposition = inf.ysettlement = inf.circulatedCapital = inf.totalCapital = 0;
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    inf.code = ComAPI::ReadString(frame, pos);
    inf.name = ComAPI::ReadString(frame, pos);
    inf.type = ComAPI::ReadByte(frame, pos);
    inf.decimal = ComAPI::ReadByte(frame, pos);
    inf.sellVolUnit = ComAPI::ReadShort(frame, pos);
    inf.closeprice = ComAPI::ReadInt(frame, pos);
    inf.upStopPrice = ComAPI::ReadInt(frame, pos);
    inf.downStopPrice = ComAPI::ReadInt(frame, pos);
    int32_t ninth = ComAPI::ReadInt(frame, pos);
    int32_t tenth = ComAPI::ReadInt(frame, pos);
    if (Util::isQHType(inf.type)) {
        // Futures move against yesterday's settlement, not a close.
        inf.yposition = ninth;
        inf.ysettlement = tenth;
        inf.closeprice = tenth;
    } else {
        inf.circulatedCapital = ninth;
        inf.totalCapital = tenth;
    }
}

void NetDataCenter::ParseDynamicInfo(ByteView frame, StockBasicInf &inf) {
    if (IsEmptyPack(frame)) {
        inf.newprice = inf.openprice = inf.highprice = inf.lowprice = 0;
        inf.vol = inf.amount = inf.npSellVol = inf.xianshou = inf.avePrice = 0;
        inf.settlement = inf.position = inf.incPosition = 0;
        inf.liangbi = 0;
        clearLevels(inf, 0, DeepLevelFirst - 1);
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    bool futures = ComAPI::ReadByte(frame, pos) == 1;
    for (int32_t *field : {&inf.newprice, &inf.openprice, &inf.highprice, &inf.lowprice, &inf.vol,
                           &inf.amount, &inf.npSellVol, &inf.xianshou})
        *field = ComAPI::ReadInt(frame, pos);
    int32_t avePrice = ComAPI::ReadInt(frame, pos);
    // An index keeps the average of its member counts.
    if (inf.type != 0)
        inf.avePrice = avePrice;
    if (futures)
        for (int32_t *field : {&inf.settlement, &inf.position, &inf.incPosition})
            *field = ComAPI::ReadInt(frame, pos);
    inf.liangbi = ComAPI::ReadShort(frame, pos);

    int announced = ComAPI::ReadShort(frame, pos);
    // The halves split the pairs the reply holds, not a count it cannot back with bytes.
    int present = int((frame.size() - pos + PairBytes - 1) / PairBytes);
    int pairs = std::min({announced, MaxBookPairs, present});
    if (pairs < 1)
        return;
    // The ask half comes farthest level first, the bid half best level first.
    int asks = pairs / 2;
    readBookPairs(frame, pos, pairs, [&](int k, int32_t price, int32_t vol) {
        if (k < asks) {
            inf.sellPrice[asks - 1 - k] = price;
            inf.sellVol[asks - 1 - k] = vol;
        } else {
            inf.buyPrice[k - asks] = price;
            inf.buyVol[k - asks] = vol;
        }
    });
}

void NetDataCenter::ParseRiseFallCount(ByteView frame, StockBasicInf &inf) {
    if (IsEmptyPack(frame)) {
        inf.riseCount = inf.planeCount = inf.fallCount = 0;
        inf.avePrice = inf.weightingAvePrice = inf.circulatedMarketValue = inf.totalMarketValue = 0;
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    for (int16_t *field : {&inf.riseCount, &inf.planeCount, &inf.fallCount})
        *field = ComAPI::ReadShort(frame, pos);
    for (int32_t *field :
         {&inf.avePrice, &inf.weightingAvePrice, &inf.circulatedMarketValue, &inf.totalMarketValue})
        *field = ComAPI::ReadInt(frame, pos);
}

void NetDataCenter::ParseFundBaseInfo(ByteView frame, StockBasicInf &inf) {
    if (IsEmptyPack(frame)) {
        inf.code.clear();
        inf.name.clear();
        inf.type = inf.decimal = 0;
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    inf.code = ComAPI::ReadString(frame, pos);
    inf.name = ComAPI::ReadString(frame, pos);
    inf.type = ComAPI::ReadByte(frame, pos);
    inf.decimal = ComAPI::ReadByte(frame, pos);
}

void NetDataCenter::ParseLevel2BuySellPan(ByteView frame, StockBasicInf &inf) {
    constexpr int last = DeepLevelFirst + DeepLevelPairs - 1;
    if (IsEmptyPack(frame)) {
        clearLevels(inf, DeepLevelFirst, last);
        return;
    }
    uint32_t pos = NTDataPageHead::Size;
    for (int i = 0; i < 4; ++i)
        ComAPI::ReadInt(frame, pos);
    int pairs = std::min<int>(ComAPI::ReadShort(frame, pos), 2 * DeepLevelPairs);
    if (pairs < 1)
        return;
    // Asks from level 10 inwards, then bids from level 6 outwards; pairs past level 10 have no place.
    readBookPairs(frame, pos, pairs, [&](int k, int32_t price, int32_t vol) {
        if (k < DeepLevelPairs) {
            inf.sellPrice[last - k] = price;
            inf.sellVol[last - k] = vol;
        } else {
            inf.buyPrice[DeepLevelFirst + k - DeepLevelPairs] = price;
            inf.buyVol[DeepLevelFirst + k - DeepLevelPairs] = vol;
        }
    });
}
