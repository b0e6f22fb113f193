#include "Module/StockDataBaseMgnt/StockPoolData.h"

#include "DataBase/DataBase.h"

#include <initializer_list>

base::Ref<StockPoolData> StockPoolData::create(std::string observerName) {
    auto data = base::make<StockPoolData>();
    data->m_observerName = std::move(observerName);
    base::Weak<StockPoolData> weak = data;
    base::NotificationCenter::shared().addObserver(weak, data->m_observerName,
                                                   [weak](const base::Notification &n) {
                                                       if (auto alive = weak.lock())
                                                           alive->StockPoolDataNotify(n);
                                                   });
    return data;
}

StockPoolData::~StockPoolData() {
    base::NotificationCenter::shared().removeObserver(this);
}

void StockPoolData::reqSuperPool1() {
    for (int id : {104, 101, 102, 103, 105, 106, 107, 108})
        reqStockPoolList(id);
}

void StockPoolData::reqSuperPool2() {
    for (int id : {201, 202, 203, 204, 205, 206})
        reqStockPoolList(id);
}

void StockPoolData::reqNewStockPool() {
    for (int id : {301, 302, 303, 304, 305, 306})
        reqStockPoolList(id);
}

void StockPoolData::reqStockPoolList(int poolID) {
    auto &list = m_pools[poolID];
    if (!list)
        list = base::make<NetDataCenter::StockPoolList>();
    if (auto center = DataBase::sharedDataBase()->IO_NetDataCenter())
        center->RequestStockPoolStockList(m_observerName, poolID, 0, RequestCount, list);
}

void StockPoolData::StockPoolDataNotify(const base::Notification &notification) {
    DataBase::ProcRecvNotify(notification, *this);
}

void StockPoolData::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType != PoolListType || !params || !params->has("PoolID"))
        return;
    auto list = params->object<NetDataCenter::StockPoolList>("rspArray");
    if (!list)
        return;
    if (auto delegate = m_delegate.lock())
        delegate->UpdateStockPoolArray(list, int(params->get("PoolID").intValue()));
}
