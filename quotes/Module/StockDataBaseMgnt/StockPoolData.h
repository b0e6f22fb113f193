#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/StockPoolInf.h"
#include "base/NotificationCenter.h"
#include "base/Object.h"

#include <map>
#include <string>

// What the stock-pool page implements to receive a pool's list.
class StockPoolDataDelegate {
public:
    virtual ~StockPoolDataDelegate() = default;
    virtual void UpdateStockPoolArray(const base::Ref<NetDataCenter::StockPoolList> &list, int poolID) = 0;
};

// Fetches the stocks of the server's stock pools for the stock-pool page: a fixed set of pools per
// tab, the first 50 stocks of each, every reply replacing the pool's list. Requests go out and
// replies come back under the observer name.
class StockPoolData : public base::Object, public DataPoolDelegate {
public:
    static constexpr int RequestCount = 50;
    static constexpr int PoolListType = 2950;

    // A data source observing `observerName` from now until it is released.
    static base::Ref<StockPoolData> create(std::string observerName);
    ~StockPoolData() override;

    // One request per pool of the set: 104, 101–103, 105–108; 201–206; 301–306.
    void reqSuperPool1();
    void reqSuperPool2();
    void reqNewStockPool();
    void reqStockPoolList(int poolID);

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;

    // Not retained: a page that is gone is not called.
    void setDelegate(base::Weak<StockPoolDataDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::string &observerName() const { return m_observerName; }

private:
    void StockPoolDataNotify(const base::Notification &notification);

    std::string m_observerName;
    std::map<int, base::Ref<NetDataCenter::StockPoolList>> m_pools;
    base::Weak<StockPoolDataDelegate> m_delegate;
};
