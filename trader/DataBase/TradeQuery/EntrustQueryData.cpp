#include "DataBase/TradeQuery/EntrustQueryData.h"

#include "Common/Util.h"

int EntrustQueryData::getCurrentReqType() const {
    switch (queryType()) {
    case kToday:
        return TradeNetDataCenter::kEntrustList;
    case kHistory:
        return TradeNetDataCenter::kHistoryEntrustList;
    case kList3:
        return TradeNetDataCenter::kCanDisentrustList;
    default:
        return 0;
    }
}

void EntrustQueryData::reqDisEntrust(const base::Dict &row) {
    netData()->RequestDisentrust(observerName(), row.get("1036").stringValue(), row.get("1037").stringValue(),
                                 row.get("1026").stringValue(), row.get("1042").stringValue(),
                                 row.get("1019").stringValue(), row.get("1003").stringValue());
}

base::Opt<void> EntrustQueryData::OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                                 const std::optional<base::Dict> &params) {
    switch (reqType) {
    case TradeNetDataCenter::kCanDisentrustList:
    case TradeNetDataCenter::kEntrustList:
    case TradeNetDataCenter::kHistoryEntrustList:
        ProcRspData(*rspData, params);
        break;
    case TradeNetDataCenter::kDisentrust:
        ProcDisEntrustRsp(*rspData);
        break;
    default:
        break;
    }
    return {};
}

void EntrustQueryData::ProcDisEntrustRsp(const TradeRspData &rsp) {
    if (!rsp.successRsp()) {
        Util::ShowTipBox(rsp.getRspErrMsg().value_or(""));
        return;
    }
    std::optional<base::Dict> info = rsp.getRspInfoInArray();
    if (!info)
        return;
    std::string text = info->has("1208") ? info->get("1208").stringValue() : kCancelSent;
    if (auto delegate = m_delegate.lock())
        delegate->RefreshEntrustTableView();
    Util::ShowTipBox(text);
}

void EntrustQueryData::reqTodayList(int start, int count) {
    netData()->RequestEntrustList(observerName(), false, start, count, searchTag());
}

void EntrustQueryData::reqHistoryList(int start, int count) {
    netData()->RequestHistoryEntrustList(observerName(), currentStartDate().value_or(""),
                                         currentEndDate().value_or(""), start, count, searchTag());
}

void EntrustQueryData::reqList3(int start, int count) {
    netData()->RequestEntrustList(observerName(), true, start, count, searchTag());
}

void EntrustQueryData::QueryBegin() {
    TradePageQueryDataBase::QueryBegin();
    if (auto delegate = m_delegate.lock())
        delegate->StartWaitingAlert();
}

void EntrustQueryData::QueryEnd() {
    TradePageQueryDataBase::QueryEnd();
    if (auto delegate = m_delegate.lock())
        delegate->StopWaitingAlert();
}

void EntrustQueryData::UpdateViewWithArray(const std::optional<base::Array> &rows,
                                           const std::string &pageInfo) {
    if (auto delegate = m_delegate.lock())
        delegate->UpdateEntrustArray(rows, pageInfo, getCurrentReqType());
}
