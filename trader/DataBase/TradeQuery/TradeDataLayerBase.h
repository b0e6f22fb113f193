#pragma once

#include "DataBase/TradeDataBase/TradeDataBase.h"

#include "base/Object.h"

#include <string>

// A trade data object addressed by a notification name: it passes its name to every request
// builder as the requester, and turns the notifications posted under that name back into
// OnTradeDataRsp. Made through create<T>(name), which starts the observation; the object stops
// observing when it goes.
class TradeDataLayerBase : public base::Object, public TradeDataDelegate {
public:
    template <class T> static base::Ref<T> create(const std::string &observerName) {
        auto object = base::make<T>(observerName);
        object->observe();
        return object;
    }

    explicit TradeDataLayerBase(std::string observerName) : m_observerName(std::move(observerName)) {}
    ~TradeDataLayerBase() override;
    TradeDataLayerBase(const TradeDataLayerBase &) = delete;
    TradeDataLayerBase &operator=(const TradeDataLayerBase &) = delete;

    const std::string &observerName() const { return m_observerName; }
    void TradePageQueryNotify(const base::Notification &notification);

protected:
    // The requests' builders, on the process-wide trade connection.
    static base::Ref<TradeNetDataCenter> netData();

private:
    void observe();

    std::string m_observerName;
};
