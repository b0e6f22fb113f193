#include "DataBase/TradeQuery/TradeTransferData.h"

#include "Common/Util.h"

namespace {

std::string errText(const TradeRspData &rsp) {
    return rsp.getRspErrMsg().value_or("");
}

} // namespace

TradeTransferData::TradeTransferData(std::string observerName)
    : TradePageQueryDataBase(std::move(observerName)),
      m_currencyArray{base::Dict{{"KeyName", "人民币"}, {"KeyValue", 0}},
                      base::Dict{{"KeyName", "美元"}, {"KeyValue", 1}},
                      base::Dict{{"KeyName", "港元"}, {"KeyValue", 2}}} {}

void TradeTransferData::reqBankList() {
    netData()->RequestBankList(observerName());
}

void TradeTransferData::reqMoneyList() {
    m_isGetQueryMoneyRsp = false;
    netData()->RequestMoneyList(observerName());
}

void TradeTransferData::reqBankBalance(const std::string &bankCode, const std::string &moneyPsw,
                                       const std::string &bankPsw, int currencyType) {
    netData()->RequestBankBalance(observerName(), bankCode, moneyPsw, bankPsw, currencyType);
}

void TradeTransferData::reqTransfer(int transferType, const std::string &bankCode,
                                    const std::string &moneyPsw, const std::string &bankPsw,
                                    const std::string &transferMoney, int currencyType) {
    netData()->RequestTransfer(observerName(), transferType, bankCode, moneyPsw, bankPsw, transferMoney,
                               currencyType);
}

void TradeTransferData::reqTodayList(int start, int count, const base::Dict &params) {
    reqHistoryList(start, count, params);
}

void TradeTransferData::reqHistoryList(int start, int count, const base::Dict &) {
    netData()->RequestTransferList(observerName(), currentStartDate().value_or(""),
                                   currentEndDate().value_or(""), start, count,
                                   m_searchParams.get("bankCode").stringValue(),
                                   m_searchParams.get("currency").stringValue(), searchTag());
}

int TradeTransferData::SearchTransfer(const std::string &startDate, const std::string &endDate,
                                      const base::Dict &params) {
    auto key = [](const base::Dict &p) {
        return std::pair(p.get("bankCode").stringValue(), p.get("currency").stringValue());
    };
    base::Dict kept = m_searchParams;
    std::optional<std::string> keptStart = currentStartDate(), keptEnd = currentEndDate();
    // Another bank or currency over the same dates is a new search, not a repeat.
    if (key(params) != key(kept)) {
        setCurrentStartDate(std::nullopt);
        setCurrentEndDate(std::nullopt);
    }
    m_searchParams = base::Dict{{"bankCode", params.get("bankCode")}, {"currency", params.get("currency")}};
    int type = SearchData(startDate, endDate, params);
    if (type < 0) {
        m_searchParams = kept;
        setCurrentStartDate(keptStart);
        setCurrentEndDate(keptEnd);
    }
    return type;
}

std::string TradeTransferData::getAvailableMoney(int currency) const {
    if (!m_moneyArray)
        return kQuerying;
    for (const base::Value &row : *m_moneyArray) {
        const base::Dict *fields = row.dict();
        const base::Value *code = fields ? fields->find("1028") : nullptr;
        if (!code || code->stringValue() != std::to_string(currency))
            continue;
        const base::Value *money = fields->find("1078");
        return money ? money->stringValue() : kNoValue;
    }
    return kNoValue;
}

int TradeTransferData::getSelectedBankIndex(const base::Array &banks, const std::string &bankCode) {
    for (size_t i = 0; i < banks.size(); ++i)
        if (const base::Dict *row = banks[i].dict();
            row && row->has("1186") && row->get("1186").stringValue() == bankCode)
            return int(i);
    return -1;
}

int TradeTransferData::getSelectedCurrencyIndex(const base::Array &currencies, int currencyType) {
    for (size_t i = 0; i < currencies.size(); ++i) {
        const base::Dict *row = currencies[i].dict();
        const base::Value *value = row ? row->find("KeyValue") : nullptr;
        if (value && value->isNumber() && value->intValue() == currencyType)
            return int(i);
    }
    return -1;
}

base::Opt<void> TradeTransferData::OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                                  const std::optional<base::Dict> &params) {
    switch (reqType) {
    case TradeNetDataCenter::kMoneyList:
        ProcMoneyList(*rspData);
        break;
    case TradeNetDataCenter::kTransfer:
        ProcTransfer(*rspData);
        break;
    case TradeNetDataCenter::kTransferList:
        ProcRspData(*rspData, params);
        break;
    case TradeNetDataCenter::kBankBalance:
        ProcBankBalance(*rspData);
        break;
    case TradeNetDataCenter::kBankList:
        ProcBankList(*rspData);
        break;
    default:
        break;
    }
    return {};
}

void TradeTransferData::ProcBankList(const TradeRspData &rsp) {
    if (!rsp.successRsp())
        Util::ShowInfoBox(errText(rsp));
    // A failed list still ends the shown view's wait: it then has no banks to offer.
    auto delegate = m_delegate.lock();
    if (!delegate)
        return;
    if (rsp.successRsp())
        delegate->UpdateBankArray(netData()->IO_TransferBankArray().deepCopy(), false, errText(rsp));
    else
        delegate->UpdateBankArray(base::Array(), true, errText(rsp));
}

void TradeTransferData::ProcMoneyList(const TradeRspData &rsp) {
    m_moneyArray.reset();
    if (rsp.successRsp()) {
        m_isGetQueryMoneyRsp = true;
        if (std::optional<base::Array> rows = rsp.getRspArray())
            m_moneyArray = rows->deepCopy();
    }
    if (auto delegate = m_delegate.lock())
        delegate->UpdateMoneyArray(m_moneyArray, !rsp.successRsp(), errText(rsp));
}

void TradeTransferData::ProcBankBalance(const TradeRspData &rsp) {
    std::optional<std::string> balance;
    if (rsp.successRsp())
        if (std::optional<base::Dict> info = rsp.getRspInfoInArray(); info && info->has("1194"))
            balance = info->get("1194").stringValue();
    if (auto delegate = m_delegate.lock())
        delegate->UpdateBankBalance(balance, !rsp.successRsp(), errText(rsp));
}

void TradeTransferData::ProcTransfer(const TradeRspData &rsp) {
    if (auto delegate = m_delegate.lock())
        delegate->UpdateTransfer(!rsp.successRsp(), errText(rsp));
}

void TradeTransferData::QueryBegin() {
    TradePageQueryDataBase::QueryBegin();
    if (auto delegate = m_delegate.lock())
        delegate->StartWaitingAlert();
}

void TradeTransferData::QueryEnd() {
    TradePageQueryDataBase::QueryEnd();
    if (auto delegate = m_delegate.lock())
        delegate->StopWaitingAlert();
}

void TradeTransferData::UpdateViewWithArray(const std::optional<base::Array> &rows,
                                            const std::string &pageInfo) {
    if (auto delegate = m_delegate.lock())
        delegate->UpdateTransferArray(rows, pageInfo);
}
