#include "DataBase/TradeDataBase/TradeDataBase.h"

#include "RunLoopSocket.h"

base::Ref<TradeDataBase> TradeDataBase::sharedTradeDataBase() {
    static const base::Ref<TradeDataBase> instance = base::make<TradeDataBase>();
    return instance;
}

void TradeDataBase::disconnectTradeServer(const base::Ref<base::Object> &) {
    if (!m_RunLoopSocket || !m_RunLoopSocket->isConnected())
        return;
    m_isDisconnecting = true;
    m_RunLoopSocket->disconnect();
}
