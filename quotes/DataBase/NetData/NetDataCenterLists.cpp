// The combined quote list (paged market lists and lists of explicit codes), the market index list
// and the breaking news.
#include "DataBase/NetData/NetDataCenter.h"

#include "Common/TimeFunc.h"
#include "DataBase/NTDataPageHead.h"

namespace {

constexpr int StockListType = 2955;
constexpr int MarketIndexType = 2207;
constexpr int RealInformationType = 2600;
// The class id of a list of explicit codes, and the one whose rows name their constituent.
constexpr int CodeListClassID = 106;
constexpr int ConstituentClassID = 105;

constexpr int FillReplace = 0;
constexpr int FillAtStart = 1;

enum FlagBit : int {
    SellVolGroup = 0x0001,
    NpSellVolGroup = 0x0002,
    XianshouGroup = 0x0004,
    LiangbiGroup = 0x0008,
    HuanshouGroup = 0x0010,
    IncreaseSPDGroup = 0x0020,
    WeibiGroup = 0x0040,
    NoteCountGroup = 0x0080,
    RateGroup = 0x0100,
    BestPriceGroup = 0x0200,
    RiseTranspGroup = 0x0400,
    DDGroup = 0x0800,
    FundGroup = 0x1000,
    ProdGroup = 0x2000,
};

} // namespace

int NetDataCenter::getQuotesNeedFillCount(int startid, int count, const StockQuoteList &rspArray, int,
                                          int totalCount) {
    int end = startid + count;
    int have = int(rspArray.items.size());
    if (totalCount <= 0)
        return end - have;
    if (have < totalCount)
        return std::min(end, totalCount) - have;
    return -1;
}

void NetDataCenter::RequestStockListCom(const QuoteRequester &requester, int rid, int llag, int oid,
                                        int ostatu, int startid, int count,
                                        const base::Ref<StockQuoteList> &rspArray, int tag, int fillType,
                                        int totalCount) {
    if (fillType == FillAtStart && rspArray) {
        int padding = getQuotesNeedFillCount(startid, count, *rspArray, fillType, totalCount);
        double now = TimeFunc::getCurTick();
        for (int i = 0; i < padding; ++i) {
            auto row = base::make<StockBasicInf>();
            row->updateTick = now;
            rspArray->items.push_back(row);
        }
    }
    base::Data body;
    ComAPI::WriteShort(body, rid);
    ComAPI::WriteShort(body, llag);
    ComAPI::WriteByte(body, oid);
    ComAPI::WriteByte(body, ostatu);
    ComAPI::WriteShort(body, startid);
    ComAPI::WriteShort(body, count);
    auto params = base::make<ReqParams>(ReqParams{
        {"tag", tag}, {"fillType", fillType}, {"startid", startid}, {"reqCount", count}, {"classID", rid}});
    params->setObject("rspArray", rspArray);
    sendRequest(StockListType, body, requester, params);
}

void NetDataCenter::RequestPauseList(const QuoteRequester &requester, int llag,
                                     const std::vector<std::string> &arr,
                                     const base::Ref<StockQuoteList> &rspArray, int tag) {
    if (arr.empty())
        return;
    base::Data body;
    ComAPI::WriteShort(body, CodeListClassID);
    ComAPI::WriteShort(body, llag);
    ComAPI::WriteShort(body, int32_t(arr.size()));
    for (const std::string &code : arr)
        ComAPI::WriteString(body, code);
    auto params = base::make<ReqParams>(ReqParams{{"tag", tag}});
    params->setObject("rspArray", rspArray);
    sendRequest(StockListType, body, requester, params);
}

void NetDataCenter::readQuoteRow(ByteView frame, uint32_t &pos, int classID, int flags,
                                 StockQuoteInf &row) const {
    auto readInt = [&](int32_t &field) { field = ComAPI::ReadInt(frame, pos); };
    auto readShort = [&](int16_t &field) { field = ComAPI::ReadShort(frame, pos); };
    auto readByte = [&](int8_t &field) { field = ComAPI::ReadByte(frame, pos); };

    row.code = ComAPI::ReadString(frame, pos);
    row.name = ComAPI::ReadString(frame, pos);
    readByte(row.decimal);
    readByte(row.type);
    for (int32_t *field :
         {&row.closeprice, &row.openprice, &row.newprice, &row.highprice, &row.lowprice, &row.amount})
        readInt(*field);
    if (classID == ConstituentClassID)
        readShort(row.chengfenID);
    if (flags & SellVolGroup) {
        readShort(row.sellVolUnit);
        readInt(row.vol);
    }
    if (flags & NpSellVolGroup)
        readInt(row.npSellVol);
    if (flags & XianshouGroup)
        readInt(row.xianshou);
    if (flags & LiangbiGroup)
        readShort(row.liangbi);
    if (flags & HuanshouGroup)
        readShort(row.huanshou);
    if (flags & IncreaseSPDGroup)
        readShort(row.IncreaseSPD);
    if (flags & WeibiGroup)
        readShort(row.weibi);
    if (flags & NoteCountGroup)
        readByte(row.noteCount);
    if (flags & RateGroup) {
        readInt(row.shiyingRate);
        readInt(row.shijingRate);
    }
    if (flags & BestPriceGroup) {
        readInt(row.sell1Price);
        readInt(row.buy1Price);
    }
    if (flags & RiseTranspGroup)
        for (int32_t *field : {&row.riseRate7, &row.transpRate7, &row.riseRate30, &row.transpRate30})
            readInt(*field);
    if (flags & DDGroup) {
        readShort(row.ddx1);
        readShort(row.ddy1);
        readInt(row.ddz1);
        readInt(row.ddx60);
        readInt(row.ddy60);
        readByte(row.redCount);
        readByte(row.redEvenCount);
    }
    if (flags & FundGroup)
        for (int32_t *field : {&row.fundIn, &row.fundOut, &row.fundIn5, &row.fundOut5, &row.fundAmount5,
                               &row.fundIn30, &row.fundOut30, &row.fundAmount30})
            readInt(*field);
    if (flags & ProdGroup)
        for (int32_t *field :
             {&row.prodyposition, &row.prodysettlement, &row.prodposition, &row.prodsettlement})
            readInt(*field);
}

void NetDataCenter::ParseStockListCom(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto rows = reqParams ? reqParams->object<StockQuoteList>("rspArray") : nullptr;
    if (!rows)
        return;
    int64_t fillType = reqParams->get("fillType").intValue();
    int64_t start = reqParams->has("startid") ? reqParams->get("startid").intValue() : -1;
    if (fillType == FillAtStart && start < 0)
        return;
    std::vector<base::Ref<StockQuoteInf>> &items = rows->items;
    if (fillType == FillReplace)
        items.clear();
    if (IsEmptyPack(frame))
        return;

    uint32_t pos = NTDataPageHead::Size;
    int classID = int(ComAPI::ReadNum(frame, pos, 2));
    int flags = int(ComAPI::ReadNum(frame, pos, 2));
    int64_t total = ComAPI::ReadNum(frame, pos, 2);
    reqParams->set("totalCount", total);
    int64_t count = ComAPI::ReadNum(frame, pos, 2);
    double now = TimeFunc::getCurTick();
    ComAPI::ReadRows(frame, pos, count, [&](int64_t k) {
        auto row = base::make<StockQuoteInf>();
        readQuoteRow(frame, pos, classID, flags, *row);
        row->updateTick = now;
        if (fillType == FillReplace) {
            items.push_back(row);
        } else if (fillType == FillAtStart) {
            size_t at = size_t(start + k);
            if (at < items.size())
                items[at] = row;
            else
                items.push_back(row);
        }
    });
    if (fillType == FillAtStart && int64_t(items.size()) > total)
        items.resize(size_t(total));
}

void NetDataCenter::RequestMarketIndex(const QuoteRequester &requester) {
    sendRequest(MarketIndexType, {}, requester);
}

void NetDataCenter::ParseMarketIndex(ByteView frame) {
    IO_MarketIndex.clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int64_t count = ComAPI::ReadNum(frame, pos, 2);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto item = base::make<DPIndexItem>();
        item->stockName = ComAPI::ReadString(frame, pos);
        item->dot = ComAPI::ReadByte(frame, pos);
        item->price = ComAPI::ReadInt(frame, pos);
        item->closeprice = ComAPI::ReadInt(frame, pos);
        item->amount = ComAPI::ReadInt(frame, pos);
        IO_MarketIndex.push_back(item);
    });
}

void NetDataCenter::RequestRealInformation(const QuoteRequester &requester, int reqid) {
    base::Data body;
    ComAPI::WriteString(body, "test");
    ComAPI::WriteShort(body, 0);
    ComAPI::WriteInt(body, reqid);
    sendRequest(RealInformationType, body, requester,
                base::make<ReqParams>(ReqParams{{"reqType", RealInformationType}, {"reqid", reqid}}));
}

void NetDataCenter::resetRealNews() {
    RealNews &news = *IO_RealNewsJP;
    news.firstid = -1;
    news.lastid = -1;
    news.currentid = -1;
    news.content.clear();
    news.array.clear();
}

void NetDataCenter::ParseRealInformation(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    RealNews &news = *IO_RealNewsJP;
    news.hasNewData = false;
    bool dateChanged = news.updateDate != IO_QuotesDate;
    news.updateDate = IO_QuotesDate;
    if (dateChanged || IsEmptyPack(frame)) {
        resetRealNews();
        return;
    }
    if (!reqParams || reqParams->get("reqType").intValue() != RealInformationType)
        return;
    uint32_t pos = NTDataPageHead::Size;
    int32_t id = ComAPI::ReadInt(frame, pos);
    // The store keeps an entry for every id below the newest: a huge id is no news the store can hold.
    if (id > MaxRealNewsId)
        return;
    news.currentid = id;
    if (id <= 0) {
        news.content = "...";
        return;
    }
    int64_t reqid = reqParams->get("reqid").intValue();
    if (reqid > 0) {
        news.firstid = id;
    } else if (reqid == 0) {
        if (news.firstid <= 0)
            news.firstid = id;
        if (id != news.lastid) {
            news.lastid = id;
            news.hasNewData = true;
        }
    }
    news.content = ComAPI::ReadString(frame, pos);
    if (news.array.size() < size_t(id))
        news.array.resize(size_t(id));
    news.array[size_t(id - 1)] = news.content;
}
