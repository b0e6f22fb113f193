#include "Module/StockDataBaseMgnt/StockDetailNetData.h"

#include "Common/Util.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/Level2BSItem.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"
#include "Module/StockDataBaseMgnt/Requesters.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"

#include <initializer_list>

namespace {

constexpr std::initializer_list<int32_t> FundItems = {2311, 2312, 2313, 2314};
constexpr std::initializer_list<int32_t> StockItems = {2970, 2971, 2976, 2966, 2969, 2917, 2923,
                                                       2922, 2924, 2918, 2919, 2920, 2928, 2933};
constexpr int BoardSortField = 1;
constexpr int BoardSortOrder = 0;

bool isBoardCode(const std::string &code) {
    return Util::getMarketCode(code) == "BI";
}

} // namespace

StockDetailNetData::StockDetailNetData() : m_netdatacenter(sharedNetDataCenter()) {}

StockDetailNetData::StockDetailNetData(base::Weak<NetDataCenter> netdatacenter)
    : m_netdatacenter(std::move(netdatacenter)) {}

void StockDetailNetData::StartStockDetailRequest(const std::string &requester, const std::string &code) {
    auto center = netdatacenter();
    if (requester.empty() || code.empty() || !center)
        return;
    if (!m_code.empty())
        StopStockDetailRequest();
    m_reqNo = center->IO_StockDetailReqNo + 1;
    center->IO_StockDetailReqNo = m_reqNo;
    center->addStockDetailReqNo(m_reqNo);
    m_code = code;
    m_delegate = requester;
    m_isGetBasicInf = false;
    m_stockBasicInf = base::make<StockBasicInf>();
    makeItems();
}

void StockDetailNetData::makeItems() {
    // The items of the previous security go: their rows belong to it.
    m_requestPosDict->items.clear();
    if (StockFunc::isOFCode(m_code)) {
        for (int32_t type : FundItems)
            m_requestPosDict->initItem(type, m_code, m_reqNo);
    } else if (isBoardCode(m_code)) {
        m_requestPosDict->initItem(BoardStocksItem, m_code, m_reqNo)->obj = base::make<StockQuoteList>();
    } else {
        for (int32_t type : StockItems)
            m_requestPosDict->initItem(type, m_code, m_reqNo);
    }
}

void StockDetailNetData::StopStockDetailRequest() {
    if (auto center = netdatacenter())
        center->removeStockDetailReqNo(m_reqNo);
}

void StockDetailNetData::reqBasicInf() {
    auto center = netdatacenter();
    if (!center || m_code.empty())
        return;
    if (StockFunc::isOFCode(m_code))
        center->RequestFundBaseInfo(m_delegate, m_code, m_reqNo, m_stockBasicInf);
    else
        center->RequestStkBaseInfo(m_delegate, m_code, m_reqNo, m_stockBasicInf);
}

void StockDetailNetData::reqExright(NetDataCenter &center) {
    auto item = getRequestPosItem(2966);
    if (!item || !StockFunc::isSHSZStock(m_stockBasicInf.get()))
        return;
    if (LocalFileFunc::readExright(m_code, item->rspArray, center.IO_QuotesDate)) {
        item->isRsp = true;
        return;
    }
    center.RequestStockExright(m_delegate, item);
}

void StockDetailNetData::reqStockData(int type) {
    auto center = netdatacenter();
    if (!center || m_code.empty())
        return;
    auto item = getRequestPosItem(type);
    switch (type) {
    case 2206:
        center->RequestRiseFallCount(m_delegate, m_code, m_reqNo, m_stockBasicInf);
        return;
    case 2915:
        center->RequestLevel2BuySellPan(m_delegate, m_code, m_reqNo, m_stockBasicInf);
        return;
    case 2940:
        center->RequestDynamicInfo(m_delegate, m_code, m_reqNo, m_stockBasicInf);
        return;
    default:
        break;
    }
    if (!item)
        return;
    switch (type) {
    case 2311:
        center->RequestFundKLine(m_delegate, item);
        break;
    case 2312:
        center->RequestFundStocks(m_delegate, item);
        break;
    case 2313:
        center->RequestFundShares(m_delegate, item);
        break;
    case 2314:
        center->RequestFundStruct(m_delegate, item);
        break;
    case 2917:
        center->RequestLevel2EntrustQueue(m_delegate, item);
        break;
    case 2966:
        reqExright(*center);
        break;
    case 2969:
        center->RequestStockBoards(m_delegate, item);
        break;
    case 2970:
        center->RequestStkStrikeDetail(m_delegate, item);
        break;
    case 2971:
        center->RequestDealDetail(m_delegate, item);
        break;
    case 2976:
        center->RequestStockDDDetailV2(m_delegate, item, m_stockBasicInf);
        break;
    default:
        break;
    }
}

void StockDetailNetData::reqBoardStocks(int boardID) {
    auto center = netdatacenter();
    auto item = getRequestPosItem(BoardStocksItem);
    if (!center || !item)
        return;
    center->RequestStockListCom(m_delegate, boardID & 0xFFFF, 0, BoardSortField, BoardSortOrder, 0,
                                BoardStocksCount, boardStocks(), 0, 0, 0);
}

base::Ref<StockQuoteList> StockDetailNetData::boardStocks() const {
    auto item = getRequestPosItem(BoardStocksItem);
    return item ? std::dynamic_pointer_cast<StockQuoteList>(item->obj) : nullptr;
}

void StockDetailNetData::reqMLineLevel2(int type) {
    auto center = netdatacenter();
    auto item = getRequestPosItem(type);
    if (!center || !item)
        return;
    if (type == 2924)
        center->RequestLevel2MinBSVol(m_delegate, item);
    else if (type == 2923)
        center->RequestLevel2MinDiffer(m_delegate, item);
    else if (type == 2922)
        center->RequestLevel2MinDDX(m_delegate, item);
}

void StockDetailNetData::reqKLineLevel2(int type, const base::Ref<RequestPosItem> &dayPack, int toDate) {
    auto center = netdatacenter();
    auto item = getRequestPosItem(type);
    if (!center || !item || !item->isIdle || !dayPack || dayPack->rspArray.empty())
        return;
    const auto *klist = &dayPack->rspArray;
    int32_t start = 0;
    if (type == Level2BSPointsItem) {
        start = std::max(item->savedPos, 0);
    } else if (!item->rspArray.empty()) {
        auto first = dynamic_cast<const DD_Item *>(item->rspArray.front().get());
        start = first ? first->date : 0;
    }
    if (start > 0) {
        auto shownFirst = dynamic_cast<const KLineItem *>(klist->front().get());
        // The series already reaches back over what is shown.
        if (toDate >= start || (shownFirst && shownFirst->time >= start))
            return;
    }
    item->pos = start;
    item->reqCount = Level2DayCount;
    item->isForwardReq = true;
    if (type == Level2BSPointsItem)
        item->obj = dayPack;
    center->RequestLevel2DD_(m_delegate, type, item);
}

void StockDetailNetData::reqKLineLevel2OnTimer(int type, const base::Ref<RequestPosItem> &dayPack) {
    auto center = netdatacenter();
    auto item = getRequestPosItem(type);
    if (!center || !item || !item->isIdle || !dayPack || dayPack->rspArray.empty())
        return;
    item->pos = 0;
    item->reqCount = 1;
    item->isForwardReq = false;
    center->RequestLevel2DD_(m_delegate, type, item);
}

std::vector<base::Ref<base::Object>> *StockDetailNetData::getStockRspArray(int type) const {
    auto item = getRequestPosItem(type);
    return item ? &item->rspArray : nullptr;
}

base::Dict *StockDetailNetData::getStockRspDict(int type) const {
    auto item = getRequestPosItem(type);
    return item ? &item->rspDict : nullptr;
}

bool StockDetailNetData::isGetExrightData() const {
    auto item = getRequestPosItem(2966);
    return item && item->isRsp;
}

void StockDetailNetData::clearCacheData() {
    for (int32_t type : {2970, 2971})
        if (getRequestPosItem(type))
            m_requestPosDict->initItem(type, m_code, m_reqNo);
}
