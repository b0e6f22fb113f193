#include "Module/StockDataBaseMgnt/IndexNetData.h"

#include "Common/TimeFunc.h"
#include "Common/Util.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"

namespace {

constexpr int TopOrder = 1;
constexpr int BottomOrder = 0;

std::string marketOf(const std::string &code) {
    std::string market = Util::getMarketCode(code);
    return market.size() == 2 ? market : std::string();
}

} // namespace

IndexNetData::IndexNetData() : m_netdatacenter(sharedNetDataCenter()) {}

IndexNetData::IndexNetData(base::Weak<NetDataCenter> netdatacenter)
    : m_netdatacenter(std::move(netdatacenter)) {}

void IndexNetData::reqIndexGX(const QuoteRequester &requester, const std::string &indexCode) {
    auto center = netdatacenter();
    std::string market = marketOf(indexCode);
    if (!center || market.empty())
        return;
    auto pack = IndexGXPack::getIndexGXPack(m_reqIndexGXList, indexCode);
    if (pack) {
        if (!pack->isIdle)
            return;
        pack->rspArray.clear();
    } else {
        pack = base::make<IndexGXPack>(market);
        m_reqIndexGXList.push_back(pack);
    }
    pack->isIdle = false;
    pack->reqTimes = 0;
    pack->isReady = false;
    center->RequestIndexGX(requester, pack, TopOrder, GXReqCount);
    center->RequestIndexGX(requester, pack, BottomOrder, GXReqCount);
}

void IndexNetData::OnRspIndexGX(IndexGXPack &pack) {
    pack.isReady = pack.reqTimes > 1;
    if (pack.isReady) {
        pack.isIdle = true;
        pack.updateTick = TimeFunc::getCurTick();
    }
}

const std::vector<base::Ref<base::Object>> *
IndexNetData::getIndexGXRspArray(const std::string &indexCode) const {
    auto pack = IndexGXPack::getIndexGXPack(m_reqIndexGXList, indexCode);
    return pack && pack->isReady ? &pack->rspArray : nullptr;
}

base::Ref<RequestPosItem> IndexNetData::bigInfoItem(const std::string &code) const {
    std::string market = marketOf(code);
    return market.empty() ? nullptr : RequestPosItem::getItem(m_reqIndexBigInfoList, market);
}

void IndexNetData::reqIndexBigInfo(const QuoteRequester &requester, const std::string &indexCode) {
    auto center = netdatacenter();
    std::string market = marketOf(indexCode);
    if (!center || market.empty())
        return;
    auto item = bigInfoItem(indexCode);
    if (item) {
        if (!item->isIdle)
            return;
        if (TimeFunc::getCurTick() - item->updateTick > BigInfoRestartAge) {
            item->pos = -1;
            item->rspArray.clear();
        }
    } else {
        item = base::make<RequestPosItem>(market);
        m_reqIndexBigInfoList.push_back(item);
    }
    center->RequestIndexDDDetailV2(requester, item);
}

const std::vector<base::Ref<base::Object>> *
IndexNetData::getIndexBigInfoRspArray(const std::string &code) const {
    auto item = bigInfoItem(code);
    return item ? &item->rspArray : nullptr;
}

void IndexNetData::reqIndexRiseFallLine(const QuoteRequester &requester, const std::string &indexCode) {
    auto center = netdatacenter();
    if (!center || !StockFunc::isValidCode(indexCode))
        return;
    auto item = RequestPosItem::getItem(m_reqIndexRiseFallLineRspArray, indexCode);
    if (!item) {
        item = base::make<RequestPosItem>(indexCode);
        m_reqIndexRiseFallLineRspArray.push_back(item);
    }
    center->RequestIndexRiseFallLine(requester, item);
}

const std::vector<base::Ref<base::Object>> *
IndexNetData::getIndexRiseFallLineRspArray(const std::string &indexCode) const {
    if (!StockFunc::isValidCode(indexCode))
        return nullptr;
    auto item = RequestPosItem::getItem(m_reqIndexRiseFallLineRspArray, indexCode);
    return item ? &item->rspArray : nullptr;
}

void IndexNetData::setAllIdle() {
    RequestPosItem::setAllIdle(m_reqIndexGXList);
    RequestPosItem::setAllIdle(m_reqIndexBigInfoList);
    RequestPosItem::setAllIdle(m_reqIndexRiseFallLineRspArray);
}
