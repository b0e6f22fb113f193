#pragma once

#include "DataBase/TradeQuery/TradePageQueryDataBase.h"

// What the account panels hear; every operation optional.
class MoneyHoldDataDelegate {
public:
    virtual ~MoneyHoldDataDelegate() = default;
    virtual base::Opt<void> UpdateHoldArray(const std::optional<base::Array> &rows,
                                            const std::string &pageInfo) {
        (void)rows, (void)pageInfo;
        return base::notImplemented;
    }
    // The funds table (the main money account's), none after a failure.
    virtual base::Opt<void> UpdateMoneyArray(const std::optional<base::Array> &funds) {
        (void)funds;
        return base::notImplemented;
    }
    virtual base::Opt<void> StartWaitingAlert() { return base::notImplemented; }
    virtual base::Opt<void> StopWaitingAlert() { return base::notImplemented; }
};

// The holdings (11146, paged, without dates) and the funds (11104, one reply; a failure tips the
// server's text) of the account.
class MoneyHoldData : public TradePageQueryDataBase {
public:
    using TradePageQueryDataBase::TradePageQueryDataBase;

    void reqHold() { SearchData3(); }
    void reqMoney();
    int getCurrentReqType() const { return queryType() == kList3 ? TradeNetDataCenter::kHoldList : 0; }

    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                   const std::optional<base::Dict> &params) override;

    void setDelegate(base::Weak<MoneyHoldDataDelegate> delegate) { m_delegate = std::move(delegate); }

protected:
    void reqList3(int start, int count) override;
    void QueryBegin() override;
    void QueryEnd() override;
    void UpdateViewWithArray(const std::optional<base::Array> &rows, const std::string &pageInfo) override;

private:
    void ProcMoneyList(const TradeRspData &rsp);

    base::Weak<MoneyHoldDataDelegate> m_delegate;
};
