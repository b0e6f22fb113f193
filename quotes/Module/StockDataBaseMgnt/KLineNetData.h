#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "Module/StockDataBaseMgnt/Requesters.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"
#include "base/Object.h"

#include <cstdint>
#include <string>
#include <vector>

// The candles of any number of securities and periods, one KLinePack per code and ktype. A request
// is served from the on-disk cache first, and the quote server (2944) is asked only for what is
// missing: the candles since the last cached one, or older ones in chains of 200-candle batches.
// Week and month candles may be computed from the day candles; they are kept under ktype + 1000
// and never asked of the server. Everything goes back to the cache when the owner lets go.
//
// Owners: the stock detail data centre and the watch-list chart grid. Replies reach the requester
// through DataBase::processRsp as 2944 with "pack" in the parameters; cached candles come the same
// way on the next run-loop pass, never inside the request call, and only while the requester lives.
// This store is the KLineManager of the packs it chains, so the candle parser hands it each reply.
class KLineNetData : public base::Object, public NetDataCenter::KLineManager {
public:
    using ObjectList = StockFunc::ObjectList;

    static constexpr int32_t MaxReqCount = 200;
    static constexpr int32_t ForwardToDateTag = 60001;
    static constexpr int32_t ForwardCountTag = 60002;
    // 70000 + ktype: after a refresh of day candles, top up the days of that week or month list.
    static constexpr int32_t MultiDayTagBase = 70000;
    // Computed week and month lists are kept under ktype + this.
    static constexpr int32_t ComputedPeriodOffset = 1000;
    static constexpr int32_t DayPeriod = 7;
    static constexpr int32_t WeekBatches = 5;
    static constexpr int32_t MonthBatches = 10;
    static constexpr int32_t CandleReplyType = 2944;

    // With the shared message layer of the process-wide coordinator.
    KLineNetData();
    explicit KLineNetData(base::Weak<NetDataCenter> netdatacenter);

    // Candles for a chart: NO for an invalid code, a ktype outside 1–9, a busy pack, or older
    // candles asked without a count or of a pack that holds the oldest. With isCalcDayToMultiDay a week or
    // month chart is fed with day candles instead.
    bool reqKLine(const QuoteRequester &requester, const std::string &code, int ktype, bool isForwardReq,
                  int reqCount, bool isCalcDayToMultiDay);
    bool reqLatestKLine(const QuoteRequester &requester, const std::string &code, int ktype);
    // Older candles down to toDate (reqCount 0) or reqCount more, in 200-candle batches. NO for an
    // invalid code, neither target, a busy pack, a pack holding the oldest candle or a target reached.
    bool reqKLineForwardBatch(const QuoteRequester &requester, const std::string &code, int ktype, int toDate,
                              int reqCount, bool notifyOnGetAllData);
    // The candle parser's call for packs this store chains.
    base::Opt<void> OnRspKLine(const base::Ref<ReqParams> &reqParams) override;
    // Day candles enough for a week (1000) or month (2000) list, less what is held on a first call.
    void reqMultiDayKLine(const QuoteRequester &requester, const std::string &code, int ktype,
                          bool isFirstReq, bool notifyOnGetAllData);
    // The week or month list computed from the code's day candles (rebuilt in full with isRecalc);
    // null without day candles. Valid while this store holds the pack.
    ObjectList *calcMultiDayKData(const std::string &code, int ktype, bool isRecalc);

    base::Ref<KLinePack> getKLinePackWithCreate(const std::string &code, int ktype);
    base::Ref<KLinePack> getKLinePack(const std::string &code, int ktype) const;
    // Null when the pack is absent. Valid while this store holds the pack.
    ObjectList *getKLineRspArray(const std::string &code, int ktype) const;

    // Writes every pack that holds candles to the cache and forgets all packs.
    void saveAndRemoveAllKLines();
    void saveAndRemoveKLine(const std::string &code);
    void doClose() { saveAndRemoveAllKLines(); }
    // After a lost connection: a reconnect may ask again.
    void setAllIdle();

    // Older cached candles into the pack: reqCount before its first, or with 0 those from toDate on.
    // YES when at least one was read.
    bool readKLineToPack(const base::Ref<KLinePack> &pack, int reqCount, int toDate, int &preadCount);
    // Hands the pack to the requester as a 2944 reply on the next run-loop pass.
    void DoNotifyDelegate(const QuoteRequester &requester, const base::Ref<KLinePack> &pack);
    bool readAllKLineToPack(const base::Ref<KLinePack> &pack);

    base::Ref<NetDataCenter> netdatacenter() const { return m_netdatacenter.lock(); }
    void setNetdatacenter(base::Weak<NetDataCenter> center) { m_netdatacenter = std::move(center); }
    const std::vector<base::Ref<KLinePack>> &m_reqKLineList() const { return m_packs; }

private:
    void save(const KLinePack &pack) const;
    int refreshCount(const KLinePack &pack) const;

    base::Weak<NetDataCenter> m_netdatacenter;
    std::vector<base::Ref<KLinePack>> m_packs;
};
