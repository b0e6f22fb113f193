#pragma once

#include "DataBase/TradeQuery/TradePageQueryDataBase.h"

// What the visible tab of the transfer screen hears; every operation optional. `errRsp` is true when
// the reply reported failure, `errMsg` is the reply's error text.
class TradeTransferDataDelegate {
public:
    virtual ~TradeTransferDataDelegate() = default;
    virtual base::Opt<void> UpdateBankArray(const base::Array &banks, bool errRsp,
                                            const std::string &errMsg) {
        (void)banks, (void)errRsp, (void)errMsg;
        return base::notImplemented;
    }
    virtual base::Opt<void> UpdateMoneyArray(const std::optional<base::Array> &funds, bool errRsp,
                                             const std::string &errMsg) {
        (void)funds, (void)errRsp, (void)errMsg;
        return base::notImplemented;
    }
    virtual base::Opt<void> UpdateBankBalance(const std::optional<std::string> &balance, bool errRsp,
                                              const std::string &errMsg) {
        (void)balance, (void)errRsp, (void)errMsg;
        return base::notImplemented;
    }
    virtual base::Opt<void> UpdateTransfer(bool errRsp, const std::string &errMsg) {
        (void)errRsp, (void)errMsg;
        return base::notImplemented;
    }
    virtual base::Opt<void> UpdateTransferArray(const std::optional<base::Array> &rows,
                                                const std::string &pageInfo) {
        (void)rows, (void)pageInfo;
        return base::notImplemented;
    }
    virtual base::Opt<void> StartWaitingAlert() { return base::notImplemented; }
    virtual base::Opt<void> StopWaitingAlert() { return base::notImplemented; }
};

// The data of the bank-transfer screen: the linked banks (11130; a failure shows the server's text
// in an alert and reports no rows with the error flag), the funds (11104), a bank balance (11126),
// a transfer (11122) and the paged transfer history (11124) by date range, bank and currency. The
// single replies leave the querying state alone. The passwords handed in go into the request and
// are not kept.
//
// A history search keeps its bank and currency with its dates: later pages carry those, whatever
// was chosen since, and a search is skipped as a repeat only when dates, bank and currency all
// match the last one.
class TradeTransferData : public TradePageQueryDataBase {
public:
    static constexpr const char *kQuerying = "查询中...";
    static constexpr const char *kNoValue = "--";

    explicit TradeTransferData(std::string observerName);

    void reqBankList();
    void reqMoneyList();
    void reqBankBalance(const std::string &bankCode, const std::string &moneyPsw, const std::string &bankPsw,
                        int currencyType);
    // `transferType` 0 bank to securities, 1 securities to bank; the amount as typed.
    void reqTransfer(int transferType, const std::string &bankCode, const std::string &moneyPsw,
                     const std::string &bankPsw, const std::string &transferMoney, int currencyType);
    // `params`: {"bankCode": text, "currency": decimal text of the currency code}. Answers as
    // SearchData does.
    int SearchTransfer(const std::string &startDate, const std::string &endDate, const base::Dict &params);
    // The next page of the last search, with its bank and currency.
    int GotoNextTransferPage() { return GotoNextPage(m_searchParams); }
    const base::Dict &searchParams() const { return m_searchParams; }

    bool isGetQueryMoneyRsp() const { return m_isGetQueryMoneyRsp; }
    const base::Array &currencyArray() const { return m_currencyArray; }
    // The available funds ("1078") of the currency's first funds row; "查询中..." without a funds
    // table, "--" without that row or value.
    std::string getAvailableMoney(int currency) const;
    static int getSelectedBankIndex(const base::Array &banks, const std::string &bankCode);
    static int getSelectedCurrencyIndex(const base::Array &currencies, int currencyType);

    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                   const std::optional<base::Dict> &params) override;

    void setDelegate(base::Weak<TradeTransferDataDelegate> delegate) { m_delegate = std::move(delegate); }
    const base::Weak<TradeTransferDataDelegate> &delegate() const { return m_delegate; }

protected:
    void reqTodayList(int start, int count, const base::Dict &params) override;
    void reqHistoryList(int start, int count, const base::Dict &params) override;
    void QueryBegin() override;
    void QueryEnd() override;
    void UpdateViewWithArray(const std::optional<base::Array> &rows, const std::string &pageInfo) override;

private:
    void ProcBankList(const TradeRspData &rsp);
    void ProcMoneyList(const TradeRspData &rsp);
    void ProcBankBalance(const TradeRspData &rsp);
    void ProcTransfer(const TradeRspData &rsp);

    base::Array m_currencyArray;
    std::optional<base::Array> m_moneyArray;
    bool m_isGetQueryMoneyRsp = false;
    base::Dict m_searchParams;
    base::Weak<TradeTransferDataDelegate> m_delegate;
};
