#include "DataBase/TradeQuery/MoneyHoldData.h"

#include "Common/Util.h"

void MoneyHoldData::reqMoney() {
    netData()->RequestMoneyList(observerName());
}

base::Opt<void> MoneyHoldData::OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                              const std::optional<base::Dict> &params) {
    if (reqType == TradeNetDataCenter::kHoldList)
        ProcRspData(*rspData, params);
    else if (reqType == TradeNetDataCenter::kMoneyList)
        ProcMoneyList(*rspData);
    return {};
}

void MoneyHoldData::ProcMoneyList(const TradeRspData &rsp) {
    std::optional<base::Array> funds;
    if (rsp.successRsp()) {
        funds = rsp.getMainRspArray();
        if (funds)
            funds = funds->deepCopy();
    } else {
        Util::ShowTipBox(rsp.getRspErrMsg().value_or(""));
    }
    if (auto delegate = m_delegate.lock())
        delegate->UpdateMoneyArray(funds);
}

void MoneyHoldData::reqList3(int start, int count) {
    netData()->RequestHoldList(observerName(), start, count, searchTag());
}

void MoneyHoldData::QueryBegin() {
    TradePageQueryDataBase::QueryBegin();
    if (auto delegate = m_delegate.lock())
        delegate->StartWaitingAlert();
}

void MoneyHoldData::QueryEnd() {
    TradePageQueryDataBase::QueryEnd();
    if (auto delegate = m_delegate.lock())
        delegate->StopWaitingAlert();
}

void MoneyHoldData::UpdateViewWithArray(const std::optional<base::Array> &rows, const std::string &pageInfo) {
    if (auto delegate = m_delegate.lock())
        delegate->UpdateHoldArray(rows, pageInfo);
}
