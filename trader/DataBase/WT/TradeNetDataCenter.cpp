#include "DataBase/WT/TradeNetDataCenter.h"

#include "DataBase/WT/TradeCipher.h"
#include "DataBase/WT/TradeConnectLoginInfo.h"
#include "DataBase/WT/TradeInterface.h"

#include "base/Str.h"

namespace {

// Field tags of the session pairs and the builders.
enum Tag : int {
    kExchange = 1003,
    kBranch = 1005,
    kCustomer = 1016,
    kHolderCode = 1019,
    kAccountType = 1021,
    kBeginDate = 1022,
    kEndDate = 1023,
    kBuySellFlag = 1026,
    kCurrency = 1028,
    kOrderFlag = 1029,
    kTradePassword = 1030,
    kFundPassword = 1031,
    kNewPassword = 1032,
    kStockCode = 1036,
    kStockName = 1037,
    kVolume = 1040,
    kPrice = 1041,
    kOrderNumber = 1042,
    kAvailableMoney = 1078,
    kBankCode = 1186,
    kBankPassword = 1189,
    kTransferAmount = 1192,
    kTransferDirection = 1193,
    kMobile = 1203,
    kClientKind = 1205,
    kFirstRow = 1206,
    kCheckCode = 1207,
    kTypeListKind = 1208,
    kCancelFlag = 1212,
    kDealKind = 1217,
    kRowCount = 1277,
    kAreaCode = 1295,
    kLoginEmpty1 = 1324,
    kTitleFuncs = 1325,
    kLoginEmpty3 = 1329,
    kLoginFlag = 1330,
    kLoginEmpty2 = 1332,
    kRegMobile = 2002,
    kRegCheckCode = 2007,
    kSessionEmpty = 9006,
    kSessionID = 21010,
    kQueryType = 32003,
};

constexpr const char *kClientKindValue = "15";
// The reply functions whose column titles the login asks for: their count, then the functions.
constexpr const char *kTitleFuncsValue = "7,11105,11133,11135,11137,11141,11143,11147";
// The funds of every currency.
constexpr int kAllCurrencies = 9;
// The buy-or-sell flag of the order and deal lists: both.
constexpr int kBothSides = 2;
constexpr int kHoldPage = 10;

constexpr const char *kNoSession = "密钥验证失败";

void wipe(std::string &secret) {
    wipeSecret(secret.data(), secret.size());
    secret.clear();
}

std::string text(const base::Dict &row, const char *key) {
    const base::Value *value = row.find(key);
    return value ? value->stringValue() : std::string();
}

} // namespace

base::Ref<TradeNetDataCenter> TradeNetDataCenter::create() {
    auto center = base::make<TradeNetDataCenter>();
    base::Weak<TradeNetDataCenter> weak = center;
    // The timer does not keep the layer alive: the layer stops it when it goes.
    center->m_heartbeatTimer = base::Timer::scheduled(
        kHeartbeatInterval, true, base::Action("OnHeartBeatTimer", [weak](base::Object *) {
            if (auto alive = weak.lock())
                alive->OnHeartBeatTimer();
        }));
    return center;
}

TradeNetDataCenter::TradeNetDataCenter() {
    clearConnectParams();
}

TradeNetDataCenter::~TradeNetDataCenter() {
    stopHeartbeat();
    wipe(m_tradePwd);
}

void TradeNetDataCenter::stopHeartbeat() {
    if (m_heartbeatTimer)
        m_heartbeatTimer->invalidate();
    m_heartbeatTimer.reset();
}

// --- Session

void TradeNetDataCenter::OnTradeConnectSuccess() {
    clearConnectParams();
    clearCurrentAccountVars();
}

void TradeNetDataCenter::OnTradeConnectFail() {
    clearConnectParams();
    clearCurrentAccountVars();
}

void TradeNetDataCenter::clearConnectParams() {
    clearCodecParams();
    m_loginSuccess = false;
    clearUserLoginParams(true);
}

void TradeNetDataCenter::clearUserLoginParams(bool clearPhoneNum) {
    m_checkCode.clear();
    m_guid.clear();
    m_customerNum.clear();
    wipe(m_tradePwd);
    if (clearPhoneNum)
        m_phoneNum.clear();
    m_depCode.clear();
}

void TradeNetDataCenter::clearCurrentAccountVars() {
    IO_RspData()->clear();
    m_accountArray.clear();
    m_tableTitleGroup->clear();
    m_transferBankArray.clear();
    m_getTransferBankArray = false;
}

void TradeNetDataCenter::SetCheckData(TradeReqData &req) const {
    req.addStrValue(kClientKind, kClientKindValue);
    req.addStrValue(kSessionID, m_guid);
    req.addStrValue(kCheckCode, m_checkCode);
    req.addStrValue(kMobile, m_phoneNum);
    req.addStrValue(kSessionEmpty, "");
    req.addStrValue(kBranch, m_depCode);
    req.addStrValue(kCustomer, m_customerNum);
    req.addStrValue(kTradePassword, m_tradePwd);
}

void TradeNetDataCenter::OnHeartBeatTimer() {
    if (m_loginSuccess)
        RequestHeartBeat();
}

std::string TradeNetDataCenter::getStockHolderCode(int accountType) const {
    for (const base::Value &row : m_accountArray)
        if (row.dict() && row.dict()->has("1021") &&
            base::str::toInt(text(*row.dict(), "1021")) == accountType)
            return text(*row.dict(), "1019");
    return {};
}

std::string TradeNetDataCenter::getExchangeStr(const std::string &stockHolderCode) const {
    if (stockHolderCode.empty())
        return {};
    for (const base::Value &row : m_accountArray) {
        if (!row.dict() || text(*row.dict(), "1019") != stockHolderCode)
            continue;
        if (!row.dict()->has("1021"))
            return {};
        return TradeInterface::getExchangeStr(base::str::toInt(text(*row.dict(), "1021")));
    }
    return {};
}

// --- Codec outlets

void TradeNetDataCenter::queueRequest(TradeRequestRecord record) {
    if (auto parent = m_parentTarget.lock())
        parent->MakeRequestGroup(std::move(record));
}

void TradeNetDataCenter::onPhoneCheckPassed() {
    if (auto parent = m_parentTarget.lock())
        parent->IO_ConnectLoginInfo()->checkSuccess = true;
}

void TradeNetDataCenter::onReplySucceeded(int funcID) {
    if (funcID == kUserLogin + 1) {
        loginSucceeded();
    } else if (funcID == kBankList + 1) {
        m_getTransferBankArray = true;
        m_transferBankArray = IO_RspData()->getRspArray().value_or(base::Array()).copy();
    }
}

void TradeNetDataCenter::loginSucceeded() {
    m_loginSuccess = true;
    if (auto row = IO_RspData()->getRspInfoInArray()) {
        m_checkCode = text(*row, "1207");
        m_guid = text(*row, "21010");
        m_customerNum = text(*row, "1016");
        m_depCode = text(*row, "1005");
    }
    m_accountArray = IO_RspData()->getRspArray(1).value_or(base::Array()).copy();
    m_tableTitleGroup->clear();
    if (auto titles = IO_RspData()->getRspArray(2))
        m_tableTitleGroup->LoadFromRspArray(*titles);
}

// --- Sending

std::optional<TradeReqData> TradeNetDataCenter::sessionRequest(const TradeRequester &delegate, int funcID,
                                                               const std::optional<base::Dict> &params) {
    if (!phoneCheckSucceeded()) {
        refuse(delegate, funcID, params, kNoSession);
        return std::nullopt;
    }
    TradeReqData req(funcID);
    SetCheckData(req);
    return req;
}

void TradeNetDataCenter::sendC(const TradeRequester &delegate, const TradeReqData &req,
                               std::optional<base::Dict> params) {
    if (!refuseInvalid(delegate, req, params))
        requestCBase(delegate, req.getReqStr(), std::move(params), req.funcID());
}

void TradeNetDataCenter::sendF(const TradeRequester &delegate, const TradeReqData &req) {
    if (!refuseInvalid(delegate, req, std::nullopt))
        requestFBase(delegate, req.getReqStr(), std::nullopt, req.funcID());
}

bool TradeNetDataCenter::refuseInvalid(const TradeRequester &delegate, const TradeReqData &req,
                                       const std::optional<base::Dict> &params) {
    if (!req.refused())
        return false;
    refuse(delegate, req.funcID(), params, kInvalidInput);
    return true;
}

void TradeNetDataCenter::refuse(const TradeRequester &delegate, int funcID,
                                const std::optional<base::Dict> &params, const std::string &errMsg) {
    if (auto parent = m_parentTarget.lock())
        parent->RefuseRequest(TradeRequestRecord{{}, 0, funcID, delegate, params}, errMsg);
}

base::Dict TradeNetDataCenter::pageParams(int start, int count, const base::Dict &extra) {
    base::Dict params = extra.copy();
    params.set("Start", start);
    params.set("Count", count);
    return params;
}

// --- Builders

void TradeNetDataCenter::RequestHeartBeat() {
    sendC(self<base::Object>(), TradeReqData(kHeartBeat));
}

void TradeNetDataCenter::RequestUserLogin(const TradeRequester &delegate, int accountType,
                                          const std::string &account, const std::string &tradePwd,
                                          const std::string &depCode) {
    if (!phoneCheckSucceeded()) {
        refuse(delegate, kUserLogin, std::nullopt, kNoSession);
        return;
    }
    clearUserLoginParams(false);
    m_tradePwd = tradePwd;
    m_depCode = depCode;
    m_customerNum = account;
    auto req = sessionRequest(delegate, kUserLogin);
    req->addIntValue(kAccountType, accountType);
    req->addStrValue(kHolderCode, account);
    req->addStrValue(kLoginEmpty1, "");
    req->addStrValue(kLoginEmpty2, "");
    req->addStrValue(kTitleFuncs, kTitleFuncsValue);
    req->addStrValue(kLoginEmpty3, "");
    req->addIntValue(kLoginFlag, 1);
    sendC(delegate, *req);
}

void TradeNetDataCenter::RequestStockInfo(const TradeRequester &delegate, int exchangeNum,
                                          const std::string &stockCode) {
    auto req = sessionRequest(delegate, kStockInfo);
    if (!req)
        return;
    req->addIntValue(kExchange, exchangeNum);
    req->addStrValue(kStockCode, stockCode);
    sendC(delegate, *req);
}

void TradeNetDataCenter::RequestMoneyList(const TradeRequester &delegate) {
    auto req = sessionRequest(delegate, kMoneyList);
    if (!req)
        return;
    req->addIntValue(kCurrency, kAllCurrencies);
    sendC(delegate, *req);
}

bool TradeNetDataCenter::RequestChangeTradePassword(const TradeRequester &delegate, const std::string &oldPwd,
                                                    const std::string &newPwd) {
    if (oldPwd != m_tradePwd)
        return false;
    auto req = sessionRequest(delegate, kChangeTradePassword);
    if (!req)
        return true;
    req->addStrValue(kNewPassword, newPwd);
    sendC(delegate, *req);
    return true;
}

void TradeNetDataCenter::RequestCanBuySellVol(const TradeRequester &delegate, int accountType,
                                              const std::string &accountStr, int exchangeNum,
                                              const std::string &stockCode, const std::string &entrustPrice,
                                              const std::string &availableMoney, int buysellFlag) {
    auto req = sessionRequest(delegate, kCanBuySellVol);
    if (!req)
        return;
    req->addIntValue(kAccountType, accountType);
    req->addStrValue(kHolderCode, accountStr.empty() ? getStockHolderCode(accountType) : accountStr);
    req->addIntValue(kExchange, exchangeNum);
    req->addStrValue(kStockCode, stockCode);
    req->addStrValue(kPrice, entrustPrice);
    req->addStrValue(kAvailableMoney, availableMoney);
    req->addIntValue(kBuySellFlag, buysellFlag);
    sendC(delegate, *req);
}

void TradeNetDataCenter::RequestDisentrust(const TradeRequester &delegate, const std::string &stockCode,
                                           const std::string &stockName, const std::string &buysellFlag,
                                           const std::string &entrustNo, const std::string &accountCode,
                                           const std::string &exchangeNum) {
    auto req = sessionRequest(delegate, kDisentrust);
    if (!req)
        return;
    req->addIntValue(kCancelFlag, 1);
    req->addStrValue(kStockCode, stockCode);
    req->addStrValue(kStockName, stockName);
    req->addStrValue(kBuySellFlag, buysellFlag);
    req->addStrValue(kOrderNumber, entrustNo);
    req->addStrValue(kHolderCode, accountCode);
    req->addStrValue(kExchange, exchangeNum);
    sendC(delegate, *req);
}

void TradeNetDataCenter::RequestBuySell(const TradeRequester &delegate, int accountType,
                                        const std::string &accountStr, int exchangeNum,
                                        const std::string &stockCode, const std::string &entrustPrice,
                                        const std::string &entrustVol, int buysellFlag) {
    auto req = sessionRequest(delegate, kBuySell);
    if (!req)
        return;
    req->addIntValue(kBuySellFlag, buysellFlag);
    req->addIntValue(kAccountType, accountType);
    req->addStrValue(kHolderCode, accountStr.empty() ? getStockHolderCode(accountType) : accountStr);
    req->addIntValue(kExchange, exchangeNum);
    req->addStrValue(kStockCode, stockCode);
    req->addStrValue(kPrice, entrustPrice);
    req->addIntValue(kOrderFlag, 1);
    req->addStrValue(kVolume, entrustVol);
    sendC(delegate, *req);
}

void TradeNetDataCenter::RequestTransfer(const TradeRequester &delegate, int transferType,
                                         const std::string &bankCode, const std::string &moneyPsw,
                                         const std::string &bankPsw, const std::string &transferMoney,
                                         int currencyType) {
    auto req = sessionRequest(delegate, kTransfer);
    if (!req)
        return;
    req->addIntValue(kTransferDirection, transferType);
    req->addStrValue(kBankCode, bankCode);
    req->addStrValue(kFundPassword, moneyPsw);
    req->addStrValue(kBankPassword, bankPsw);
    req->addStrValue(kTransferAmount, transferMoney);
    req->addIntValue(kCurrency, currencyType);
    sendC(delegate, *req);
}

void TradeNetDataCenter::RequestTransferList(const TradeRequester &delegate, const std::string &beginDate,
                                             const std::string &endDate, int start, int count,
                                             const std::string &bankCode, const std::string &currencyType,
                                             const base::Dict &extra) {
    base::Dict params = pageParams(start, count, extra);
    auto req = sessionRequest(delegate, kTransferList, params);
    if (!req)
        return;
    req->addStrValue(kBankCode, bankCode);
    req->addStrValue(kBeginDate, beginDate);
    req->addStrValue(kEndDate, endDate);
    req->addIntValue(kFirstRow, start);
    req->addIntValue(kRowCount, count);
    req->addStrValue(kCurrency, currencyType);
    sendC(delegate, *req, std::move(params));
}

void TradeNetDataCenter::RequestBankBalance(const TradeRequester &delegate, const std::string &bankCode,
                                            const std::string &moneyPsw, const std::string &bankPsw,
                                            int currencyType) {
    auto req = sessionRequest(delegate, kBankBalance);
    if (!req)
        return;
    req->addStrValue(kBankCode, bankCode);
    req->addStrValue(kFundPassword, moneyPsw);
    req->addStrValue(kBankPassword, bankPsw);
    req->addIntValue(kCurrency, currencyType);
    sendC(delegate, *req);
}

void TradeNetDataCenter::RequestBankList(const TradeRequester &delegate) {
    if (auto req = sessionRequest(delegate, kBankList))
        sendC(delegate, *req);
}

void TradeNetDataCenter::RequestEntrustList(const TradeRequester &delegate, bool queryCanDisentrust,
                                            int start, int count, const base::Dict &extra) {
    base::Dict params = pageParams(start, count, extra);
    auto req = sessionRequest(delegate, queryCanDisentrust ? kCanDisentrustList : kEntrustList, params);
    if (!req)
        return;
    req->addIntValue(kFirstRow, start);
    req->addIntValue(kRowCount, count);
    req->addStrValue(kStockCode, "");
    req->addIntValue(kBuySellFlag, kBothSides);
    sendC(delegate, *req, std::move(params));
}

void TradeNetDataCenter::RequestHistoryEntrustList(const TradeRequester &delegate,
                                                   const std::string &beginDate, const std::string &endDate,
                                                   int start, int count, const base::Dict &extra) {
    base::Dict params = pageParams(start, count, extra);
    auto req = sessionRequest(delegate, kHistoryEntrustList, params);
    if (!req)
        return;
    req->addStrValue(kBeginDate, beginDate);
    req->addStrValue(kEndDate, endDate);
    req->addIntValue(kFirstRow, start);
    req->addIntValue(kRowCount, count);
    sendC(delegate, *req, std::move(params));
}

void TradeNetDataCenter::RequestDealList(const TradeRequester &delegate, int start, int count,
                                         const base::Dict &extra) {
    base::Dict params = pageParams(start, count, extra);
    auto req = sessionRequest(delegate, kDealList, params);
    if (!req)
        return;
    req->addIntValue(kFirstRow, start);
    req->addIntValue(kRowCount, count);
    req->addIntValue(kDealKind, 0);
    req->addStrValue(kStockCode, "");
    req->addIntValue(kBuySellFlag, kBothSides);
    sendC(delegate, *req, std::move(params));
}

void TradeNetDataCenter::RequestHistoryDealList(const TradeRequester &delegate, const std::string &beginDate,
                                                const std::string &endDate, int start, int count,
                                                const base::Dict &extra) {
    base::Dict params = pageParams(start, count, extra);
    auto req = sessionRequest(delegate, kHistoryDealList, params);
    if (!req)
        return;
    req->addStrValue(kBeginDate, beginDate);
    req->addStrValue(kEndDate, endDate);
    req->addIntValue(kFirstRow, start);
    req->addIntValue(kRowCount, count);
    req->addIntValue(kDealKind, 1);
    req->addStrValue(kStockCode, "");
    req->addIntValue(kBuySellFlag, kBothSides);
    sendC(delegate, *req, std::move(params));
}

void TradeNetDataCenter::RequestHoldList(const TradeRequester &delegate, const std::string &stockCode,
                                         int start, int count, const base::Dict &extra) {
    base::Dict params = pageParams(start, count, extra);
    auto req = sessionRequest(delegate, kHoldList, params);
    if (!req)
        return;
    req->addStrValue(kHolderCode, "");
    req->addStrValue(kStockCode, stockCode);
    req->addIntValue(kFirstRow, start);
    req->addIntValue(kRowCount, count);
    sendC(delegate, *req, std::move(params));
}

void TradeNetDataCenter::RequestHoldList(const TradeRequester &delegate, int start, int count,
                                         const base::Dict &extra) {
    RequestHoldList(delegate, std::string(), start, count, extra);
}

void TradeNetDataCenter::RequestHoldList(const TradeRequester &delegate, const std::string &stockCode) {
    RequestHoldList(delegate, stockCode, 0, kHoldPage);
}

void TradeNetDataCenter::RequestLoginMode(const TradeRequester &delegate) {
    TradeReqData req(kLoginMode);
    req.addStrValue(kClientKind, kClientKindValue);
    req.addStrValue(kTypeListKind, "0");
    sendC(delegate, req);
}

void TradeNetDataCenter::RequestAccountDep(const TradeRequester &delegate, const std::string &phoneNum,
                                           const std::string &areaCode, int areaIndex) {
    TradeReqData req(kAccountDep);
    req.addIntValue(kFirstRow, 0);
    req.addIntValue(kRowCount, 100);
    req.addStrValue(kMobile, phoneNum);
    req.addStrValue(kAreaCode, areaCode);
    sendC(delegate, req, base::Dict{{"AreaIndex", areaIndex}});
}

void TradeNetDataCenter::RequestAccountArea(const TradeRequester &delegate, const std::string &phoneNum) {
    TradeReqData req(kAccountArea);
    req.addIntValue(kFirstRow, 0);
    req.addIntValue(kRowCount, 100);
    req.addStrValue(kMobile, phoneNum);
    sendC(delegate, req);
}

void TradeNetDataCenter::RequestAccountInfo(const TradeRequester &delegate, const std::string &phoneNum,
                                            const std::string &phoneCheckCode, int queryType) {
    TradeReqData req(kAccountInfo);
    req.addStrValue(kClientKind, kClientKindValue);
    req.addStrValue(kRegMobile, phoneNum);
    req.addStrValue(kRegCheckCode, phoneCheckCode);
    req.addIntValue(kQueryType, queryType);
    sendC(delegate, req);
}

void TradeNetDataCenter::RequestPhoneCheckNum(const TradeRequester &delegate, const std::string &phoneNum) {
    TradeReqData req(kPhoneCheckNum);
    req.addStrValue(kRegMobile, phoneNum);
    sendF(delegate, req);
}

void TradeNetDataCenter::RequestDeroVuvCheckNum(const TradeRequester &delegate, const std::string &phoneNum) {
    TradeReqData req(kDeroVuvCheckNum);
    req.addStrValue(kRegMobile, phoneNum);
    sendF(delegate, req);
}

void TradeNetDataCenter::RequestPhoneRegText(const TradeRequester &delegate) {
    sendF(delegate, TradeReqData(kPhoneRegText));
}

void TradeNetDataCenter::RequestDazerIveCheckNum(const TradeRequester &delegate) {
    TradeReqData req(kDazerIveCheckNum);
    req.addStrValue(kClientKind, kClientKindValue);
    sendF(delegate, req);
}
