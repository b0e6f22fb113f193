#include "DataBase/NetData/RequestPosItem.h"

#include "Common/Util.h"
#include "DataBase/NetData/KLineItem.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"

base::Ref<RequestPosItem> RequestPosItem::getPackFromDict(const base::Ref<base::Object> &pack) {
    return std::dynamic_pointer_cast<RequestPosItem>(pack);
}

void PackBase::setDelegate(const base::Ref<base::Object> &requester) {
    delegate_ = requester;
    delegateName_.clear();
}

void PackBase::setDelegate(std::string notificationName) {
    delegate_.reset();
    delegateName_ = std::move(notificationName);
}

bool PackBase::isDelegateGone() const {
    return delegateName_.empty() && delegate_.expired();
}

base::Ref<MinLinePack> MinLinePack::getMinLinePack(const std::vector<base::Ref<MinLinePack>> &list,
                                                   const std::string &code) {
    if (!StockFunc::isValidCode(code))
        return nullptr;
    return getItem(list, code);
}

base::Ref<MinLinePack> MinLinePack::getMinLinePackFromDict(const base::Ref<base::Object> &pack) {
    return std::dynamic_pointer_cast<MinLinePack>(pack);
}

void KLinePack::clearRspData() {
    rspCount = 0;
    rspFirstTime = 0;
    rspLastTime = 0;
}

std::optional<int32_t> KLinePack::firstHeldTime() const {
    if (rspArray.empty())
        return std::nullopt;
    auto first = std::dynamic_pointer_cast<KLineItem>(rspArray.front());
    return first ? first->time : 0;
}

bool KLinePack::canReadLocalData(bool isForwardReq) const {
    auto first = firstHeldTime();
    if (!first)
        return true;
    if (!isForwardReq)
        return false;
    if (existLocalData == 0)
        return true;
    if (existLocalData != 1 || localFirstTime <= 0)
        return false;
    return localFirstTime < *first;
}

bool KLinePack::canProcessRsp() const {
    if (isGetFirstKLine || reqMode != 2 || !notifyOnGetAllData)
        return true;
    if (reqForwardCount > 0)
        return false;
    auto first = firstHeldTime();
    if (reqForwardToDate <= 0 || !first)
        return true;
    return reqForwardToDate >= *first;
}

base::Ref<KLinePack> KLinePack::getKLinePack(const std::vector<base::Ref<KLinePack>> &list,
                                             const std::string &code, int32_t ktype) {
    if (!StockFunc::isValidCode(code))
        return nullptr;
    for (const auto &pack : list)
        if (pack && pack->code == code && pack->ktype == ktype)
            return pack;
    return nullptr;
}

base::Ref<KLinePack> KLinePack::getKLinePackFromDict(const base::Ref<base::Object> &pack) {
    return std::dynamic_pointer_cast<KLinePack>(pack);
}

base::Ref<IndexGXPack> IndexGXPack::getIndexGXPack(const std::vector<base::Ref<IndexGXPack>> &list,
                                                   const std::string &indexCode) {
    std::string market = Util::getMarketCode(indexCode);
    if (market.size() != 2)
        return nullptr;
    return getItem(list, market);
}

base::Ref<IndexGXPack> IndexGXPack::getIndexGXPackFromDict(const base::Ref<base::Object> &pack) {
    return std::dynamic_pointer_cast<IndexGXPack>(pack);
}

base::Ref<RequestPosItem> RequestPosDict::initItem(int32_t key, const std::string &code, int32_t reqNo) {
    auto &item = items[key];
    if (item) {
        item->isRsp = false;
        item->rspArray.clear();
        item->rspDict.clear();
    } else {
        item = base::make<RequestPosItem>();
    }
    item->code = code;
    item->reqNo = reqNo;
    item->pos = -1;
    item->savedPos = -1;
    item->isIdle = true;
    return item;
}

base::Ref<RequestPosItem> RequestPosDict::item(int32_t reqNo) const {
    auto found = items.find(reqNo);
    return found == items.end() ? nullptr : found->second;
}

void RequestPosDict::setAllIdle() {
    for (const auto &[key, item] : items)
        item->isIdle = true;
}
