#pragma once

#include "TradeQueryFixture.h"

#include "DataBase/TradeQuery/DealQueryData.h"
#include "DataBase/TradeQuery/EntrustQueryData.h"
#include "DataBase/TradeQuery/MoneyHoldData.h"
#include "DataBase/TradeQuery/TradeTransferData.h"

namespace tradequery {

// One delegate for every query object, writing what it hears into a log: "rows:<page text>:<row
// count, or none>:<reqType>", "start", "stop", "refresh", "funds:<row count or none>".
class QueryRecorder : public base::Object,
                      public DealQueryDataDelegate,
                      public EntrustQueryDataDelegate,
                      public MoneyHoldDataDelegate,
                      public TradeTransferDataDelegate {
public:
    base::Opt<void> UpdateDealArray(const std::optional<base::Array> &rows, const std::string &pageInfo,
                                    int reqType) override {
        return page(rows, pageInfo, reqType);
    }
    base::Opt<void> UpdateEntrustArray(const std::optional<base::Array> &rows, const std::string &pageInfo,
                                       int reqType) override {
        return page(rows, pageInfo, reqType);
    }
    base::Opt<void> UpdateHoldArray(const std::optional<base::Array> &rows,
                                    const std::string &pageInfo) override {
        return page(rows, pageInfo, 0);
    }
    base::Opt<void> UpdateTransferArray(const std::optional<base::Array> &rows,
                                        const std::string &pageInfo) override {
        return page(rows, pageInfo, 0);
    }
    base::Opt<void> UpdateMoneyArray(const std::optional<base::Array> &funds) override {
        this->funds = funds;
        log.add("funds:" + (funds ? std::to_string(funds->size()) : std::string("none")));
        return {};
    }
    base::Opt<void> RefreshEntrustTableView() override {
        log.add("refresh");
        return {};
    }
    base::Opt<void> StartWaitingAlert() override {
        log.add("start");
        return {};
    }
    base::Opt<void> StopWaitingAlert() override {
        log.add("stop");
        return {};
    }

    // The transfer data's single replies.
    base::Opt<void> UpdateBankArray(const base::Array &banks, bool errRsp,
                                    const std::string &errMsg) override {
        this->banks = banks;
        log.add("banks:" + std::to_string(banks.size()) + (errRsp ? ":err:" : ":ok:") + errMsg);
        return {};
    }
    base::Opt<void> UpdateMoneyArray(const std::optional<base::Array> &funds, bool errRsp,
                                     const std::string &errMsg) override {
        this->funds = funds;
        log.add("funds:" + (funds ? std::to_string(funds->size()) : std::string("none")) +
                (errRsp ? ":err:" : ":ok:") + errMsg);
        return {};
    }
    base::Opt<void> UpdateBankBalance(const std::optional<std::string> &balance, bool errRsp,
                                      const std::string &errMsg) override {
        log.add("balance:" + balance.value_or("none") + (errRsp ? ":err:" : ":ok:") + errMsg);
        return {};
    }
    base::Opt<void> UpdateTransfer(bool errRsp, const std::string &errMsg) override {
        log.add(std::string("transfer") + (errRsp ? ":err:" : ":ok:") + errMsg);
        return {};
    }

    std::vector<std::string> pages() const {
        std::vector<std::string> out;
        for (const auto &event : log.events)
            if (event.rfind("rows:", 0) == 0)
                out.push_back(event);
        return out;
    }

    Log log;
    std::optional<base::Array> lastRows;
    std::optional<base::Array> funds;
    base::Array banks;

private:
    base::Opt<void> page(const std::optional<base::Array> &rows, const std::string &pageInfo, int reqType) {
        lastRows = rows;
        log.add("rows:" + pageInfo + ":" + (rows ? std::to_string(rows->size()) : std::string("none")) + ":" +
                std::to_string(reqType));
        return {};
    }
};

} // namespace tradequery
