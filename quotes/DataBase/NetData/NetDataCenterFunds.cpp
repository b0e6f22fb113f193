// Product pages, fund pages and the fund panels of one fund.
#include "DataBase/NetData/NetDataCenter.h"

#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/FundQuoteInf.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/OpenFundStockItem.h"
#include "DataBase/NetData/RequestPosItem.h"

namespace {

constexpr int MerchandiseListType = 2938;
constexpr int OpenFundListType = 2331;
constexpr int FundCompanyType = 2330;
constexpr int MoneyFundListType = 2301;
// Money-market funds report incomes and yields instead of net values.
constexpr int MoneyFundType = 5;

constexpr int FillReplace = 0;
constexpr int FillAtStart = 1;

// Rows missing before a page can be placed; -1 when every row of a known total is held.
int missingRows(int startid, int count, size_t held, int totalCount) {
    int end = startid + count;
    int have = int(held);
    if (totalCount <= 0)
        return end - have;
    return have < totalCount ? std::min(end, totalCount) - have : -1;
}

base::Ref<base::Object> fundRow(int fundType) {
    if (fundType == MoneyFundType)
        return base::make<CurrencyFundQuoteInf>();
    return base::make<OpenFundQuoteInf>();
}

base::Ref<base::Object> readFundRow(ByteView frame, uint32_t &pos, int fundType) {
    auto readAll = [&](auto &row, std::initializer_list<int32_t *> fields) {
        row.code = ComAPI::ReadString(frame, pos);
        row.name = ComAPI::ReadString(frame, pos);
        for (int32_t *field : fields)
            *field = ComAPI::ReadInt(frame, pos);
    };
    if (fundType == MoneyFundType) {
        auto row = base::make<CurrencyFundQuoteInf>();
        readAll(*row, {&row->date, &row->income10000, &row->incomeRate7, &row->priorDate,
                       &row->priorIncome10000, &row->priorIncomeRate7});
        return row;
    }
    auto row = base::make<OpenFundQuoteInf>();
    readAll(*row, {&row->date, &row->lastPrice, &row->finalPrice, &row->priorDate, &row->priorLastPrice,
                   &row->priorFinalPrice, &row->dayIncRate, &row->weekIncRate, &row->monthIncRate,
                   &row->yearIncRate});
    return row;
}

int32_t readUnsigned(ByteView frame, uint32_t &pos) {
    return int32_t(ComAPI::ReadNum(frame, pos, 4));
}

// Empties the list, then appends the rows of a fund series reply.
template <class ReadRow>
void parseFundSeries(ByteView frame, NetDataCenter::PackList &list, ReadRow &&readRow) {
    list.clear();
    if (NetDataCenter::IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) { list.push_back(readRow(pos)); });
}

} // namespace

void NetDataCenter::RequestMerchandiseList(const QuoteRequester &requester, int rid, int oid, int ostatu,
                                           int startid, int count, const base::Ref<StockQuoteList> &rspArray,
                                           int tag) {
    base::Data body;
    ComAPI::WriteShort(body, rid);
    ComAPI::WriteByte(body, ostatu);
    ComAPI::WriteByte(body, oid);
    ComAPI::WriteShort(body, startid);
    ComAPI::WriteShort(body, count);
    auto params = base::make<ReqParams>(ReqParams{{"tag", tag}});
    params->setObject("rspArray", rspArray);
    sendRequest(MerchandiseListType, body, requester, params);
}

void NetDataCenter::ParseMerchandiseList(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto rows = reqParams ? reqParams->object<StockQuoteList>("rspArray") : nullptr;
    if (!rows)
        return;
    rows->items.clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    reqParams->set("totalCount", int64_t(ComAPI::ReadNum(frame, pos, 2)));
    int64_t count = ComAPI::ReadNum(frame, pos, 2);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto row = base::make<StockBasicInf>();
        row->code = ComAPI::ReadString(frame, pos);
        row->name = ComAPI::ReadString(frame, pos);
        row->decimal = int8_t(ComAPI::ReadNum(frame, pos, 1));
        row->sellVolUnit = int16_t(ComAPI::ReadNum(frame, pos, 2));
        for (int32_t *field :
             {&row->newprice, &row->closeprice, &row->vol, &row->highprice, &row->lowprice, &row->openprice,
              &row->amount, &row->settlement, &row->ysettlement, &row->position, &row->yposition})
            *field = readUnsigned(frame, pos);
        rows->items.push_back(row);
    });
}

void NetDataCenter::RequestOpenFundList(const QuoteRequester &requester, int fundType, int companyid,
                                        int startid, int count, int sortID, int sortType,
                                        const base::Ref<ObjectList> &rspArray, int tag, int fillType,
                                        int totalCount) {
    if (fillType == FillAtStart && rspArray) {
        int padding = missingRows(startid, count, rspArray->items.size(), totalCount);
        for (int i = 0; i < padding; ++i)
            rspArray->items.push_back(fundRow(fundType));
    }
    base::Data body;
    ComAPI::WriteShort(body, companyid);
    ComAPI::WriteShort(body, startid);
    ComAPI::WriteShort(body, count);
    ComAPI::WriteByte(body, sortID);
    ComAPI::WriteByte(body, sortType);
    ComAPI::WriteByte(body, fundType);
    auto params = base::make<ReqParams>(
        ReqParams{{"tag", tag}, {"fillType", fillType}, {"startid", startid}, {"reqCount", count}});
    params->setObject("rspArray", rspArray);
    sendRequest(OpenFundListType, body, requester, params);
}

void NetDataCenter::ParseOpenFundList(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto rows = reqParams ? reqParams->object<ObjectList>("rspArray") : nullptr;
    if (!rows)
        return;
    int64_t fillType = reqParams->get("fillType").intValue();
    int64_t start = reqParams->has("startid") ? reqParams->get("startid").intValue() : -1;
    if (fillType == FillAtStart && start < 0)
        return;
    auto &items = rows->items;
    if (fillType == FillReplace)
        items.clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int fundType = ComAPI::ReadByte(frame, pos);
    int16_t total = ComAPI::ReadShort(frame, pos);
    reqParams->set("totalCount", total);
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t i) {
        auto row = readFundRow(frame, pos, fundType);
        if (fillType == FillReplace) {
            items.push_back(row);
        } else if (fillType == FillAtStart) {
            size_t at = size_t(start + i);
            if (at < items.size())
                items[at] = row;
            else
                items.push_back(row);
        }
    });
    if (fillType == FillAtStart && total >= 0 && items.size() > size_t(total))
        items.resize(size_t(total));
}

void NetDataCenter::RequestFundKLine(const QuoteRequester &requester, const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2311, pack);
}

void NetDataCenter::RequestFundStocks(const QuoteRequester &requester,
                                      const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2312, pack);
}

void NetDataCenter::RequestFundShares(const QuoteRequester &requester,
                                      const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2313, pack);
}

void NetDataCenter::RequestFundStruct(const QuoteRequester &requester,
                                      const base::Ref<RequestPosItem> &pack) {
    RequestArrayData(requester, 2314, pack);
}

void NetDataCenter::ParseFundKLine(ByteView frame, PackList &rspArray) {
    parseFundSeries(frame, rspArray, [&](uint32_t &pos) {
        auto candle = base::make<KLineItem>();
        candle->time = ComAPI::ReadInt(frame, pos);
        // A value curve: flat candles at the value.
        candle->openprice = ComAPI::ReadInt(frame, pos);
        candle->highprice = candle->lowprice = candle->closeprice = candle->openprice;
        candle->holdVol = ComAPI::ReadInt(frame, pos);
        candle->backupPrices();
        return candle;
    });
}

void NetDataCenter::ParseFundStocks(ByteView frame, PackList &rspArray) {
    parseFundSeries(frame, rspArray, [&](uint32_t &pos) {
        auto item = base::make<OpenFundStockItem>();
        item->code = ComAPI::ReadString(frame, pos);
        item->name = ComAPI::ReadString(frame, pos);
        for (int32_t *field : {&item->priorHoldVol, &item->holdVol, &item->inFundRate, &item->inCapitalRate})
            *field = ComAPI::ReadInt(frame, pos);
        return item;
    });
}

void NetDataCenter::ParseFundShares(ByteView frame, PackList &rspArray) {
    parseFundSeries(frame, rspArray, [&](uint32_t &pos) {
        auto item = base::make<OpenFundSharesItem>();
        for (int32_t *field : {&item->date, &item->beginningShares, &item->buyShares, &item->sellShares})
            *field = ComAPI::ReadInt(frame, pos);
        return item;
    });
}

void NetDataCenter::ParseFundStruct(ByteView frame, PackList &rspArray) {
    parseFundSeries(frame, rspArray, [&](uint32_t &pos) {
        auto item = base::make<OpenFundOwnerItem>();
        for (int32_t *field : {&item->date, &item->ownerCount, &item->ownerAvgShares,
                               &item->institutionShares, &item->individualShares})
            *field = ComAPI::ReadInt(frame, pos);
        return item;
    });
}

void NetDataCenter::RequestFundList(const QuoteRequester &requester, int ftype, int oid, int ostatu,
                                    int startid, int count, const base::Ref<StockQuoteList> &rspArray,
                                    int tag) {
    base::Data body;
    ComAPI::WriteByte(body, oid);
    ComAPI::WriteByte(body, ostatu);
    ComAPI::WriteShort(body, startid);
    ComAPI::WriteShort(body, count);
    auto params = base::make<ReqParams>(ReqParams{{"tag", tag}});
    params->setObject("rspArray", rspArray);
    sendRequest(ftype, body, requester, params);
}

void NetDataCenter::ParseFundList(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto rows = reqParams ? reqParams->object<StockQuoteList>("rspArray") : nullptr;
    auto head = NTDataPageHead::read(frame);
    if (!rows || !head || head->bodyLength == 0)
        return;
    bool moneyFunds = head->type == MoneyFundListType;
    uint32_t pos = NTDataPageHead::Size;
    int64_t count = ComAPI::ReadNum(frame, pos, 2);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto row = base::make<StockBasicInf>();
        row->code = ComAPI::ReadString(frame, pos);
        row->name = ComAPI::ReadString(frame, pos);
        row->decimal = int8_t(ComAPI::ReadNum(frame, pos, 1));
        row->newprice = readUnsigned(frame, pos);
        if (moneyFunds)
            row->sevenDYRate = readUnsigned(frame, pos);
        row->closeprice = readUnsigned(frame, pos);
        row->amount = readUnsigned(frame, pos);
        row->yesDate = readUnsigned(frame, pos);
        rows->items.push_back(row);
    });
}

void NetDataCenter::RequestFundCompany(const QuoteRequester &requester, const base::Array &rspArray) {
    base::Data body;
    ComAPI::WriteShort(body, 0);
    sendRequest(FundCompanyType, body, requester, base::make<ReqParams>(ReqParams{{"rspArray", rspArray}}));
}

void NetDataCenter::ParseFundCompany(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    base::Value list = reqParams ? reqParams->get("rspArray") : base::Value();
    base::Array *names = list.array();
    if (!names)
        return;
    names->clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    ComAPI::ReadShort(frame, pos);
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) { names->add(ComAPI::ReadString(frame, pos)); });
}
