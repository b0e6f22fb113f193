#include "DataBase/TradeQuery/TradeDataLayerBase.h"

TradeDataLayerBase::~TradeDataLayerBase() {
    base::NotificationCenter::shared().removeObserver(this);
}

void TradeDataLayerBase::observe() {
    base::Weak<TradeDataLayerBase> weak = weakSelf<TradeDataLayerBase>();
    base::NotificationCenter::shared().addObserver(weak, m_observerName,
                                                   [weak](const base::Notification &notification) {
                                                       if (auto self = weak.lock())
                                                           self->TradePageQueryNotify(notification);
                                                   });
}

void TradeDataLayerBase::TradePageQueryNotify(const base::Notification &notification) {
    TradeDataBase::ProcRecvNotify(notification, *this);
}

base::Ref<TradeNetDataCenter> TradeDataLayerBase::netData() {
    return TradeDataBase::sharedTradeDataBase()->IO_TradeNetData();
}
