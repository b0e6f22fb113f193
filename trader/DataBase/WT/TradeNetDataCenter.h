#pragma once

#include "DataBase/WT/TradeNetCodec.h"
#include "DataBase/WT/TradeReqData.h"
#include "DataBase/WT/TradeTableTitle.h"

#include "base/Timer.h"

#include <optional>
#include <string>

class TradeConnectLoginInfo;

// What the trade message layer needs of the connection that owns it.
class TradeNetDataTarget {
public:
    virtual ~TradeNetDataTarget() = default;
    // Takes a framed request into the send queue.
    virtual void MakeRequestGroup(TradeRequestRecord record) = 0;
    // Nothing was sent for `record` (it carries no frame): its requester hears, on a later pass, that
    // the request failed with `errMsg`.
    virtual void RefuseRequest(TradeRequestRecord record, const std::string &errMsg) = 0;
    // The session record whose phone check a passed D reply marks.
    virtual base::Ref<TradeConnectLoginInfo> IO_ConnectLoginInfo() const = 0;
};

// The trade message layer: the session values of one trade connection (the phone check's mobile,
// the login's account, trade password, branch and the identifiers the login reply hands out), the
// shareholder accounts and column titles the login leaves, the 30 s heartbeat, and one request
// builder per trade function. Builders write the tag message, add the session pairs where the
// function needs them and hand the sealed frame to the connection (`parentTarget`).
//
// Refusals: a function that carries the session pairs is not sent before a phone check has passed
// on this connection (it would go under the all-zero key), and a request holding a value that would
// break the tag message is not sent either; the requester then hears of the failure through the
// connection ("密钥验证失败", "输入内容包含无效字符！"). The trade password travels in every request
// with the session pairs and is never logged; it is wiped when the session values are cleared.
class TradeNetDataCenter : public TradeNetCodec {
public:
    static constexpr double kHeartbeatInterval = 30.0;
    static constexpr const char *kInvalidInput = "输入内容包含无效字符！";

    // Function numbers of the requests; replies carry the number plus 1 on success.
    enum Func : int {
        kHeartBeat = 10,
        kUserLogin = 11100,
        kStockInfo = 11102,
        kMoneyList = 11104,
        kChangeTradePassword = 11106,
        kCanBuySellVol = 11110,
        kDisentrust = 11114,
        kBuySell = 11116,
        kTransfer = 11122,
        kTransferList = 11124,
        kBankBalance = 11126,
        kBankList = 11130,
        kCanDisentrustList = 11132,
        kEntrustList = 11134,
        kHistoryEntrustList = 11136,
        kDealList = 11140,
        kHistoryDealList = 11142,
        kHoldList = 11146,
        kLoginMode = 12010,
        kAccountDep = 12056,
        kAccountArea = 12058,
        kAccountInfo = 13008,
        kPhoneCheckNum = 13028,
        kDeroVuvCheckNum = 13054,
        kPhoneRegText = 13056,
        kDazerIveCheckNum = 13064,
    };

    // A layer with cleared session values and its heartbeat timer running on the current run loop.
    static base::Ref<TradeNetDataCenter> create();
    TradeNetDataCenter();
    ~TradeNetDataCenter() override;

    base::Weak<TradeNetDataTarget> parentTarget() const { return m_parentTarget; }
    void setParentTarget(base::Weak<TradeNetDataTarget> target) { m_parentTarget = std::move(target); }

    // --- Session

    // A connection began or ended: every session value and the login's tables go.
    void OnTradeConnectSuccess();
    void OnTradeConnectFail();
    void clearConnectParams();
    // Empties the login identifiers and the trade password; the mobile only when asked.
    void clearUserLoginParams(bool clearPhoneNum);
    void clearCurrentAccountVars();
    // Appends the eight session pairs.
    void SetCheckData(TradeReqData &req) const;

    // Sends the heartbeat when a login has succeeded on this connection.
    void OnHeartBeatTimer();
    // Stops the heartbeat timer for good.
    void stopHeartbeat();

    bool isLoginSuccess() const { return m_loginSuccess; }
    // The shareholder code ("1019") of the first account of that type ("1021"); empty when none.
    std::string getStockHolderCode(int accountType) const;
    // "SH" or "SZ" for the exchange of the account holding that shareholder code; empty otherwise.
    std::string getExchangeStr(const std::string &stockHolderCode) const;

    const base::Array &IO_AccountArray() const { return m_accountArray; }
    const base::Ref<TradeTableTitleGroup> &IO_TableTitleGroup() const { return m_tableTitleGroup; }
    const base::Array &IO_TransferBankArray() const { return m_transferBankArray; }
    bool IO_GetTransferBankArray() const { return m_getTransferBankArray; }

    const std::string &checkCode() const { return m_checkCode; }
    const std::string &guid() const { return m_guid; }
    const std::string &customerNum() const { return m_customerNum; }
    const std::string &tradePwd() const { return m_tradePwd; }
    const std::string &depCode() const { return m_depCode; }

    // --- Builders, one per trade function. The first argument is the requester. The paged lists
    // hand back {"Start", "Count"} with their reply, added to the caller's `extra` entries.

    void RequestHeartBeat();
    // Sets the account, password and branch of the session (the mobile stays), then logs in.
    void RequestUserLogin(const TradeRequester &delegate, int accountType, const std::string &account,
                          const std::string &tradePwd, const std::string &depCode);
    void RequestStockInfo(const TradeRequester &delegate, int exchangeNum, const std::string &stockCode);
    void RequestMoneyList(const TradeRequester &delegate);
    // False, and nothing sent, when `oldPwd` is not the session's trade password. The session keeps
    // its password whatever the reply.
    bool RequestChangeTradePassword(const TradeRequester &delegate, const std::string &oldPwd,
                                    const std::string &newPwd);
    // An empty `accountStr` is replaced by the shareholder code of the account type.
    void RequestCanBuySellVol(const TradeRequester &delegate, int accountType, const std::string &accountStr,
                              int exchangeNum, const std::string &stockCode, const std::string &entrustPrice,
                              const std::string &availableMoney, int buysellFlag);
    void RequestDisentrust(const TradeRequester &delegate, const std::string &stockCode,
                           const std::string &stockName, const std::string &buysellFlag,
                           const std::string &entrustNo, const std::string &accountCode,
                           const std::string &exchangeNum);
    // An empty `accountStr` is replaced by the shareholder code of the account type.
    void RequestBuySell(const TradeRequester &delegate, int accountType, const std::string &accountStr,
                        int exchangeNum, const std::string &stockCode, const std::string &entrustPrice,
                        const std::string &entrustVol, int buysellFlag);
    void RequestTransfer(const TradeRequester &delegate, int transferType, const std::string &bankCode,
                         const std::string &moneyPsw, const std::string &bankPsw,
                         const std::string &transferMoney, int currencyType);
    void RequestTransferList(const TradeRequester &delegate, const std::string &beginDate,
                             const std::string &endDate, int start, int count, const std::string &bankCode,
                             const std::string &currencyType, const base::Dict &extra = {});
    void RequestBankBalance(const TradeRequester &delegate, const std::string &bankCode,
                            const std::string &moneyPsw, const std::string &bankPsw, int currencyType);
    void RequestBankList(const TradeRequester &delegate);
    // The cancelable orders (11132) or all of today's orders (11134).
    void RequestEntrustList(const TradeRequester &delegate, bool queryCanDisentrust, int start, int count,
                            const base::Dict &extra = {});
    void RequestHistoryEntrustList(const TradeRequester &delegate, const std::string &beginDate,
                                   const std::string &endDate, int start, int count,
                                   const base::Dict &extra = {});
    void RequestDealList(const TradeRequester &delegate, int start, int count, const base::Dict &extra = {});
    void RequestHistoryDealList(const TradeRequester &delegate, const std::string &beginDate,
                                const std::string &endDate, int start, int count,
                                const base::Dict &extra = {});
    void RequestHoldList(const TradeRequester &delegate, const std::string &stockCode, int start, int count,
                         const base::Dict &extra = {});
    void RequestHoldList(const TradeRequester &delegate, int start, int count, const base::Dict &extra = {});
    // The first ten holdings of that stock.
    void RequestHoldList(const TradeRequester &delegate, const std::string &stockCode);
    // The login-support requests: no session pairs, allowed before the phone check.
    void RequestLoginMode(const TradeRequester &delegate);
    void RequestAccountDep(const TradeRequester &delegate, const std::string &phoneNum,
                           const std::string &areaCode, int areaIndex);
    void RequestAccountArea(const TradeRequester &delegate, const std::string &phoneNum);
    void RequestAccountInfo(const TradeRequester &delegate, const std::string &phoneNum,
                            const std::string &phoneCheckCode, int queryType);
    // The phone registration steps, as plain F packets.
    void RequestPhoneCheckNum(const TradeRequester &delegate, const std::string &phoneNum);
    void RequestDeroVuvCheckNum(const TradeRequester &delegate, const std::string &phoneNum);
    void RequestPhoneRegText(const TradeRequester &delegate);
    void RequestDazerIveCheckNum(const TradeRequester &delegate);

protected:
    void queueRequest(TradeRequestRecord record) override;
    void onPhoneCheckPassed() override;
    void onReplySucceeded(int funcID) override;

private:
    // A request of a function with the session pairs; none (the requester told) before a phone check.
    std::optional<TradeReqData> sessionRequest(const TradeRequester &delegate, int funcID,
                                               const std::optional<base::Dict> &params = std::nullopt);
    void sendC(const TradeRequester &delegate, const TradeReqData &req,
               std::optional<base::Dict> params = std::nullopt);
    void sendF(const TradeRequester &delegate, const TradeReqData &req);
    // A refused value: the requester hears of it, nothing is sent.
    bool refuseInvalid(const TradeRequester &delegate, const TradeReqData &req,
                       const std::optional<base::Dict> &params);
    void refuse(const TradeRequester &delegate, int funcID, const std::optional<base::Dict> &params,
                const std::string &errMsg);
    static base::Dict pageParams(int start, int count, const base::Dict &extra);
    void loginSucceeded();

    base::Weak<TradeNetDataTarget> m_parentTarget;
    std::string m_checkCode;
    std::string m_guid;
    std::string m_customerNum;
    std::string m_tradePwd;
    std::string m_depCode;
    bool m_loginSuccess = false;
    base::Ref<base::Timer> m_heartbeatTimer;
    base::Array m_accountArray;
    base::Ref<TradeTableTitleGroup> m_tableTitleGroup = base::make<TradeTableTitleGroup>();
    base::Array m_transferBankArray;
    bool m_getTransferBankArray = false;
};
