#pragma once

#include "Module/StockDataBaseMgnt/Requesters.h"
#include "base/Object.h"

#include <string>
#include <vector>

// The intraday minutes of any number of securities, one MinLinePack per code. Before each request
// a pack without minutes is seeded from the intraday cache of the current quotes date, so that the
// server (2942) is asked only for the minutes after those; the cached minutes reach the requester
// together with the reply. Owners: the stock detail data centre, the message layer (for the market
// lists) and the small list charts.
class MLineNetData : public base::Object {
public:
    static constexpr int MinLineReplyType = 2942;

    // With the shared message layer of the process-wide coordinator.
    MLineNetData();
    explicit MLineNetData(base::Weak<NetDataCenter> netdatacenter);

    // Nothing for an invalid code or a pack still waiting for its reply.
    void reqMinLine(const QuoteRequester &requester, const std::string &code, int tag = 0);
    // Forgets the code's pack; the intraday file is written by the reply parser as minutes grow.
    void saveAndRemoveMinLine(const std::string &code);
    void clearAllMinLinesData() { m_packs.clear(); }
    // After a lost connection: a reconnect may ask again.
    void setAllIdle();
    // Null when the code has no pack. Valid while this store holds the pack.
    std::vector<base::Ref<base::Object>> *getMinLineRspArray(const std::string &code) const;
    base::Ref<MinLinePack> getMinLinePack(const std::string &code) const;
    // Hands the pack to the requester as a 2942 reply on the next run-loop pass.
    void DoNotifyDelegate(const QuoteRequester &requester, const base::Ref<MinLinePack> &pack);

    base::Ref<NetDataCenter> netdatacenter() const { return m_netdatacenter.lock(); }
    void setNetdatacenter(base::Weak<NetDataCenter> center) { m_netdatacenter = std::move(center); }
    const std::vector<base::Ref<MinLinePack>> &m_reqMinLineList() const { return m_packs; }

private:
    base::Weak<NetDataCenter> m_netdatacenter;
    std::vector<base::Ref<MinLinePack>> m_packs;
};
