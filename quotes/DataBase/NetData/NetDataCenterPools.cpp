// The stock pools of the server, the boards a stock belongs to, and the user key that the web pages
// get for the market account.
#include "DataBase/NetData/NetDataCenter.h"

#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/StockBoardInf.h"
#include "DataBase/NetData/StockPoolInf.h"

namespace {

constexpr int PoolConfigType = 2949;
constexpr int PoolStockListType = 2950;
constexpr int PoolStockList2Type = 2951;
constexpr int PoolEnterStockType = 2952;
constexpr int WebPowerType = 2972;

// The fixed body of the entered-stock request.
constexpr int32_t EnterStockWord = 78118916;
// The sub-header of a web-rights request and reply: its marker and the request's sub-type.
constexpr int SubHeadMarker = 2;
constexpr int WebPowerSubType = 119;

void writePoolListBody(base::Data &body, int poolID, int start, int count) {
    ComAPI::WriteShort(body, poolID);
    ComAPI::WriteShort(body, start);
    ComAPI::WriteShort(body, count);
}

base::Dict readSubPool(ByteView frame, uint32_t &pos) {
    base::Dict sub;
    sub.set("SubPoolName", ComAPI::ReadString(frame, pos));
    sub.set("SubPoolBriefName", ComAPI::ReadString(frame, pos));
    sub.set("SubPoolID", ComAPI::ReadShort(frame, pos));
    sub.set("ShowType", ComAPI::ReadByte(frame, pos));
    sub.set("RGBValue", ComAPI::ReadInt(frame, pos));
    return sub;
}

} // namespace

void NetDataCenter::RequestStockPoolStockList(const QuoteRequester &requester, int poolID, int start,
                                              int count, const base::Ref<StockPoolList> &rspArray) {
    base::Data body;
    writePoolListBody(body, poolID, start, count);
    auto params = base::make<ReqParams>();
    params->setObject("rspArray", rspArray);
    sendRequest(PoolStockListType, body, requester, params);
}

void NetDataCenter::ParseStockPoolStockList(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto rows = reqParams ? reqParams->object<StockPoolList>("rspArray") : nullptr;
    if (!rows)
        return;
    rows->items.clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    reqParams->set("PoolID", ComAPI::ReadShort(frame, pos));
    reqParams->set("TotalCount", ComAPI::ReadShort(frame, pos));
    reqParams->set("CurrentDate", ComAPI::ReadInt(frame, pos));
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto row = base::make<StockPoolInf>();
        row->code = ComAPI::ReadString(frame, pos);
        row->name = ComAPI::ReadString(frame, pos);
        row->type = ComAPI::ReadByte(frame, pos);
        row->decimal = ComAPI::ReadByte(frame, pos);
        row->sellVolUnit = ComAPI::ReadShort(frame, pos);
        for (int32_t *field :
             {&row->closeprice, &row->upStopPrice, &row->downStopPrice, &row->circulatedCapital,
              &row->totalCapital, &row->newprice, &row->enterPoolTime, &row->enterPoolPrice})
            *field = ComAPI::ReadInt(frame, pos);
        rows->items.push_back(row);
    });
}

void NetDataCenter::RequestStockPoolStockList2(const QuoteRequester &requester, int poolID, int start,
                                               int count, const base::Ref<StockPoolList> &rspArray) {
    base::Data body;
    writePoolListBody(body, poolID, start, count);
    ComAPI::WriteShort(body, 0);
    auto params = base::make<ReqParams>();
    params->setObject("rspArray", rspArray);
    sendRequest(PoolStockList2Type, body, requester, params);
}

void NetDataCenter::RequestStockPoolConfigInfo(const QuoteRequester &requester, const base::Array &rspArray) {
    sendRequest(PoolConfigType, {}, requester, base::make<ReqParams>(ReqParams{{"rspArray", rspArray}}));
}

void NetDataCenter::ParseStockPoolConfigInfo(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    base::Value list = reqParams ? reqParams->get("rspArray") : base::Value();
    base::Array *pools = list.array();
    if (!pools)
        return;
    pools->clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        base::Dict pool;
        pool.set("PoolName", ComAPI::ReadString(frame, pos));
        pool.set("PoolBriefName", ComAPI::ReadString(frame, pos));
        pool.set("PoolID", ComAPI::ReadShort(frame, pos));
        base::Array subPools;
        int16_t subCount = ComAPI::ReadShort(frame, pos);
        ComAPI::ReadRows(frame, pos, subCount, [&](int64_t) { subPools.add(readSubPool(frame, pos)); });
        pool.set("SubPoolArray", subPools);
        pools->add(pool);
    });
}

void NetDataCenter::RequestStockPoolEnterStock(const QuoteRequester &requester) {
    base::Data body;
    ComAPI::WriteInt(body, EnterStockWord);
    sendRequest(PoolEnterStockType, body, requester, base::make<ReqParams>());
}

void NetDataCenter::RequestStockBoards(const QuoteRequester &requester,
                                       const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2969, pack);
}

void NetDataCenter::ParseStockBoards(ByteView frame, PackList &rspArray) {
    rspArray.clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto board = base::make<StockBoardInf>();
        board->code = ComAPI::ReadString(frame, pos);
        board->name = ComAPI::ReadString(frame, pos);
        board->decimal = ComAPI::ReadByte(frame, pos);
        board->lastPrice = ComAPI::ReadInt(frame, pos);
        board->range = ComAPI::ReadInt(frame, pos);
        board->boardID = ComAPI::ReadShort(frame, pos);
        rspArray.push_back(board);
    });
}

void NetDataCenter::RequestWebPower(const QuoteRequester &requester) {
    base::Data account;
    ComAPI::WriteString(account, IO_L2UserName);
    ComAPI::WriteString(account, IO_L2Password);
    base::Data body;
    ComAPI::WriteByte(body, SubHeadMarker);
    ComAPI::WriteShort(body, WebPowerSubType);
    ComAPI::WriteShort(body, 0);
    ComAPI::WriteShort(body, int32_t(account.length()));
    body.append(account);
    sendRequest(WebPowerType, body, requester, base::make<ReqParams>(ReqParams{{"rspDict", base::Dict()}}));
}

void NetDataCenter::ParseWebPower(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    base::Value value = reqParams ? reqParams->get("rspDict") : base::Value();
    base::Dict *dict = value.dict();
    if (!dict)
        return;
    dict->clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    if (ComAPI::ReadByte(frame, pos) != SubHeadMarker)
        return;
    int16_t subType = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadShort(frame, pos);
    ComAPI::ReadShort(frame, pos);
    std::string userKey = ComAPI::ReadString(frame, pos);
    dict->set("subType", subType);
    dict->set("userKey", userKey);
}
