#include "DataBase/TradeQuery/DealQueryData.h"

int DealQueryData::getCurrentReqType() const {
    switch (queryType()) {
    case kToday:
        return TradeNetDataCenter::kDealList;
    case kHistory:
        return TradeNetDataCenter::kHistoryDealList;
    default:
        return 0;
    }
}

base::Opt<void> DealQueryData::OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                              const std::optional<base::Dict> &params) {
    if (reqType == TradeNetDataCenter::kDealList || reqType == TradeNetDataCenter::kHistoryDealList)
        ProcRspData(*rspData, params);
    return {};
}

void DealQueryData::reqTodayList(int start, int count) {
    netData()->RequestDealList(observerName(), start, count, searchTag());
}

void DealQueryData::reqHistoryList(int start, int count) {
    netData()->RequestHistoryDealList(observerName(), currentStartDate().value_or(""),
                                      currentEndDate().value_or(""), start, count, searchTag());
}

void DealQueryData::QueryBegin() {
    TradePageQueryDataBase::QueryBegin();
    if (auto delegate = m_delegate.lock())
        delegate->StartWaitingAlert();
}

void DealQueryData::QueryEnd() {
    TradePageQueryDataBase::QueryEnd();
    if (auto delegate = m_delegate.lock())
        delegate->StopWaitingAlert();
}

void DealQueryData::UpdateViewWithArray(const std::optional<base::Array> &rows, const std::string &pageInfo) {
    if (auto delegate = m_delegate.lock())
        delegate->UpdateDealArray(rows, pageInfo, getCurrentReqType());
}
