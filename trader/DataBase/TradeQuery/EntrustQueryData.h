#pragma once

#include "DataBase/TradeQuery/TradePageQueryDataBase.h"

// What the order panels hear; every operation optional.
class EntrustQueryDataDelegate {
public:
    virtual ~EntrustQueryDataDelegate() = default;
    virtual base::Opt<void> UpdateEntrustArray(const std::optional<base::Array> &rows,
                                               const std::string &pageInfo, int reqType) {
        (void)rows, (void)pageInfo, (void)reqType;
        return base::notImplemented;
    }
    // A cancel was accepted: the list is to be asked for again.
    virtual base::Opt<void> RefreshEntrustTableView() { return base::notImplemented; }
    virtual base::Opt<void> StartWaitingAlert() { return base::notImplemented; }
    virtual base::Opt<void> StopWaitingAlert() { return base::notImplemented; }
};

// Today's orders (11134), the cancelable ones (11132) or those of a date range (11136), paged; and
// the cancel of an order (11114), answered by a tip of the server's "1208" text, "撤单已提交！"
// without one, or the server's error text.
class EntrustQueryData : public TradePageQueryDataBase {
public:
    static constexpr const char *kCancelSent = "撤单已提交！";

    using TradePageQueryDataBase::TradePageQueryDataBase;

    void SearchEntrust(const std::string &startDate, const std::string &endDate) {
        SearchData(startDate, endDate);
    }
    void SearchCanDisentrust() { SearchData3(); }
    // Cancels the order of a row of the order list.
    void reqDisEntrust(const base::Dict &row);
    int getCurrentReqType() const;

    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                   const std::optional<base::Dict> &params) override;

    void setDelegate(base::Weak<EntrustQueryDataDelegate> delegate) { m_delegate = std::move(delegate); }

protected:
    void reqTodayList(int start, int count) override;
    void reqHistoryList(int start, int count) override;
    void reqList3(int start, int count) override;
    void QueryBegin() override;
    void QueryEnd() override;
    void UpdateViewWithArray(const std::optional<base::Array> &rows, const std::string &pageInfo) override;

private:
    void ProcDisEntrustRsp(const TradeRspData &rsp);

    base::Weak<EntrustQueryDataDelegate> m_delegate;
};
