#pragma once

#include "DataBase/TradeQuery/TradePageQueryDataBase.h"

// What the deal panels hear; every operation optional.
class DealQueryDataDelegate {
public:
    virtual ~DealQueryDataDelegate() = default;
    // The rows of the page shown (none when it holds none), its text and the function that asked.
    virtual base::Opt<void> UpdateDealArray(const std::optional<base::Array> &rows,
                                            const std::string &pageInfo, int reqType) {
        (void)rows, (void)pageInfo, (void)reqType;
        return base::notImplemented;
    }
    virtual base::Opt<void> StartWaitingAlert() { return base::notImplemented; }
    virtual base::Opt<void> StopWaitingAlert() { return base::notImplemented; }
};

// The deals of today (11140) or of a date range (11142), paged.
class DealQueryData : public TradePageQueryDataBase {
public:
    using TradePageQueryDataBase::TradePageQueryDataBase;

    void SearchDeal(const std::string &startDate, const std::string &endDate) {
        SearchData(startDate, endDate);
    }
    // 11140 for today's list, 11142 for a range, 0 before any search.
    int getCurrentReqType() const;

    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                   const std::optional<base::Dict> &params) override;

    void setDelegate(base::Weak<DealQueryDataDelegate> delegate) { m_delegate = std::move(delegate); }

protected:
    void reqTodayList(int start, int count) override;
    void reqHistoryList(int start, int count) override;
    void QueryBegin() override;
    void QueryEnd() override;
    void UpdateViewWithArray(const std::optional<base::Array> &rows, const std::string &pageInfo) override;

private:
    base::Weak<DealQueryDataDelegate> m_delegate;
};
