#pragma once

#include "base/Object.h"

class RunLoopSocket;

// The one trade session of the process. So far it offers what the quote side needs of it: closing
// the trade link when the market account is used elsewhere.
class TradeDataBase : public base::Object {
public:
    static base::Ref<TradeDataBase> sharedTradeDataBase();

    // When the trade link is connected: forgets the login, marks the session as disconnecting and
    // closes the link. Otherwise nothing. The argument is the caller's connection delegate, unused.
    void disconnectTradeServer(const base::Ref<base::Object> &delegate);

    bool isDisconnecting() const { return m_isDisconnecting; }

private:
    base::Ref<RunLoopSocket> m_RunLoopSocket;
    bool m_isDisconnecting = false;
};
