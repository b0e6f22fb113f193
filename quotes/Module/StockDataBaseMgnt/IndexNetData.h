#pragma once

#include "Module/StockDataBaseMgnt/Requesters.h"
#include "base/Object.h"

#include <string>
#include <vector>

// The series only an index has: its members' contributions (2929, the top and the bottom twenty,
// one pack per market), the big orders among its members (2977, one list per market) and the
// rise/fall line (2965, one list per index). The message layer owns the one instance (IO_IndexLib)
// and the detail data centre asks through it.
class IndexNetData : public base::Object {
public:
    static constexpr int GXReqCount = 20;
    // A big-order list not updated for this long starts over from the newest orders.
    static constexpr double BigInfoRestartAge = 60.0;

    // With the shared message layer of the process-wide coordinator.
    IndexNetData();
    explicit IndexNetData(base::Weak<NetDataCenter> netdatacenter);

    // Both halves of the market's contributions; nothing while they are still coming or when the
    // code has no two-letter market.
    void reqIndexGX(const QuoteRequester &requester, const std::string &indexCode);
    // After the contribution parser has counted a reply: ready, idle and stamped once both are in.
    static void OnRspIndexGX(IndexGXPack &pack);
    // Null until both halves have arrived. Valid while this store holds the pack.
    const std::vector<base::Ref<base::Object>> *getIndexGXRspArray(const std::string &indexCode) const;
    void reqIndexBigInfo(const QuoteRequester &requester, const std::string &indexCode);
    const std::vector<base::Ref<base::Object>> *getIndexBigInfoRspArray(const std::string &code) const;
    void reqIndexRiseFallLine(const QuoteRequester &requester, const std::string &indexCode);
    const std::vector<base::Ref<base::Object>> *
    getIndexRiseFallLineRspArray(const std::string &indexCode) const;
    // After a lost connection: a reconnect may ask again.
    void setAllIdle();

    base::Ref<NetDataCenter> netdatacenter() const { return m_netdatacenter.lock(); }
    void setNetdatacenter(base::Weak<NetDataCenter> center) { m_netdatacenter = std::move(center); }
    base::Ref<RequestPosItem> bigInfoItem(const std::string &code) const;

private:
    base::Weak<NetDataCenter> m_netdatacenter;
    std::vector<base::Ref<IndexGXPack>> m_reqIndexGXList;
    std::vector<base::Ref<RequestPosItem>> m_reqIndexBigInfoList;
    std::vector<base::Ref<RequestPosItem>> m_reqIndexRiseFallLineRspArray;
};
