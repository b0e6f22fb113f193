#pragma once

#include "DataBase/WT/TradeConnectLoginInfo.h"
#include "DataBase/WT/TradeNetDataCenter.h"

#include "RunLoopSocket.h"
#include "base/NotificationCenter.h"
#include "base/Object.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>

class NetDataCenter;

// What a trade requester object hears. Both operations are optional.
class TradeDataDelegate {
public:
    virtual ~TradeDataDelegate() = default;
    // A reply, or the failure of a request, with the function the request asked for (the phone
    // check: -100). The reply object is shared and valid only during the call.
    virtual base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                           const std::optional<base::Dict> &params) {
        (void)reqType, (void)rspData, (void)params;
        return base::notImplemented;
    }
    // A connection result; `status` is one of TradeDataBase::ConnectStatus.
    virtual base::Opt<void> OnTradeConnect(bool success, int status) {
        (void)success, (void)status;
        return base::notImplemented;
    }
};

// The one connection of the process to a broker's trade gateway. It picks a gateway address of the
// broker at random and fails over to the others, drives the connect-and-phone-check sequence one
// step per call, queues requests with exactly one in flight (10 s to write it and 10 s for its
// reply), cuts the received stream into frames and hands each reply to the requester of the
// request it answers: an object implementing TradeDataDelegate, or a notification name under which
// the reply is posted ("TradeNetDataNotify", "RspData", "ReqParams"). The trading screens and the
// trade data objects are its requesters; it owns the trade message layer and the session record.
// Everything runs on the main run loop.
//
// Every request is answered exactly once, on a later run-loop pass: by its reply, or by a failure
// with its function number, the success flag cleared and an "ErrMsg" — "交易服务器已断开，请重新登录！"
// when it was made while no connection stood or was still queued when the connection ended (also by
// a 10 s time-out), "密钥验证失败" when its reply could not be opened or no phone check had passed.
// Only the reply to the request in flight, its time-out or the end of the connection frees the line;
// a frame for no request, a damaged or empty frame is consumed and the read goes on, so that no
// request is ever written twice. A frame announcing an impossible length closes the connection as an
// error. Every unasked end of a connection posts "AppNotify" with "ReLaunchTrader"; a connect that
// fails while the broker has addresses left to fail over to posts nothing, so a connect that ends
// on another address shows no alert.
class TradeDataBase : public base::Object, public RunLoopSocketDelegate, public TradeNetDataTarget {
public:
    using RunLoopSocketDelegate::onSocket;

    static constexpr double kIOTimeout = 10.0;
    static constexpr double kConnectTimeout = 10.0;
    static constexpr const char *kDisconnectedText = "交易服务器已断开，请重新登录！";

    // Results of ConnectAndCheckPhone.
    enum ConnectCode {
        kRequestingBrokers = 100,
        kNoBrokers = -101,
        kCannotConnect = -1,
        kConnecting = 1,
        kDisconnecting = 10,
        kCheckingPhone = 2,
        kReady = 0,
    };
    // The status of a connection result.
    enum ConnectStatus {
        kConnectionDropped = 0, // an established connection ended without being asked to
        kConnectAttempt = 1,    // a connect attempt ended
        kDisconnected = 2,      // a requested disconnect ended
    };

    // The process-wide connection, created on first use.
    static base::Ref<TradeDataBase> sharedTradeDataBase();
    // A connection of its own with its message layer and session record.
    static base::Ref<TradeDataBase> create();
    TradeDataBase();
    ~TradeDataBase() override;
    TradeDataBase(const TradeDataBase &) = delete;
    TradeDataBase &operator=(const TradeDataBase &) = delete;

    // The quote layer holding the broker table; not retained.
    void setQuoteLayer(base::Weak<NetDataCenter> layer) { m_quoteLayer = std::move(layer); }
    // The pick among n addresses; by default seeded with the current second.
    void setRandomIndex(std::function<int(int n)> pick) { m_randomIndex = std::move(pick); }

    // One step of the connect sequence; see ConnectCode. `pMsg` receives the step's text. The
    // requester calls again after each connection result or phone-check reply until it gets 0.
    // Without `addressArray` the broker's gateway addresses come from the broker table.
    int ConnectAndCheckPhone(const TradeRequester &requester, const std::string &securitiesName,
                             const WTTraderAddressList *addressArray, const std::string &mobile,
                             const std::string &mobileCheckNum, std::string &pMsg);
    // Starts a connect attempt to a random address; false with `pErrMsg` when none started.
    bool connectToTradeServerRandom(const TradeRequester &requester, const std::string &securitiesName,
                                    const WTTraderAddressList *addressArray, std::string &pErrMsg);
    // After a failed attempt: tries the following addresses not flagged as failed.
    bool connectToNextTradeServer();
    bool connectToTradeServer(const std::string &host, int port, int index);
    // Clears the failure flags of the session's addresses when every one is set.
    void CheckAndResetConnectFailFlags();
    static void SetConnectFail(const WTTraderAddressList &addressArray, int index);
    // Closes a connection to another broker than the one named (true) with `requester` to hear it.
    bool CheckSecuritiesConnect(const TradeRequester &requester, const std::string &securitiesName);
    // Closes the connection if it is up; `requester` hears the status-2 result.
    void disconnectTradeServer(const TradeRequester &requester);
    bool isConnected() const;

    // The queue: called by the message layer.
    void MakeRequestGroup(TradeRequestRecord record) override;
    void RefuseRequest(TradeRequestRecord record, const std::string &errMsg) override;
    void SendRequest();
    void ClearRequestGroups();
    // Removes the first n bytes of the receive buffer; nothing for n <= 0.
    void CleanTempData(long n);

    // Turn a notification back into the requester's own call; false when it is none of that kind.
    static bool ProcRecvNotify(const base::Notification &notification, TradeDataDelegate &delegate);
    static bool ProcConnectNotify(const base::Notification &notification, TradeDataDelegate &delegate);

    const base::Ref<TradeNetDataCenter> &IO_TradeNetData() const { return m_tradeNetData; }
    base::Ref<TradeConnectLoginInfo> IO_ConnectLoginInfo() const override { return m_connectLoginInfo; }
    const TradeRequester &connectDelegate() const { return m_connectDelegate; }
    void setConnectDelegate(TradeRequester requester) { m_connectDelegate = std::move(requester); }
    const std::deque<TradeRequestRecord> &m_RequestGroups() const { return m_requestGroups; }
    bool m_isNetIdle() const { return m_netIdle; }

    base::Opt<void> onSocket(RunLoopSocket &sock, const std::string &host, uint16_t port) override;
    base::Opt<void> onSocket(RunLoopSocket &sock, const base::Data &data, int32_t tag) override;
    base::Opt<void> onSocket(RunLoopSocket &sock, const base::Ref<base::Error> &error) override;
    base::Opt<void> onSocketDidDisconnect(RunLoopSocket &sock) override;

private:
    void OnTradeConnectSuccessOrFail(bool success);
    void readReplies();
    void deliver(TradeRequestRecord record, int reqType);
    void NotifyDelegate(const TradeRequester &requester, int reqType,
                        const std::optional<base::Dict> &params);
    void notifyConnect(bool success, int status);
    // The requester hears on a later pass that the request failed.
    void failLater(TradeRequestRecord record, std::string errMsg);
    void failQueued();
    void armRead();
    void closeAsError();
    bool isConnecting() const;
    // Whether an address of the attempt's broker, other than the one being tried, has not failed.
    bool hasAddressLeftToTry() const;

    base::Ref<RunLoopSocket> m_RunLoopSocket;
    base::Data m_tempNetData;
    std::deque<TradeRequestRecord> m_requestGroups;
    bool m_netIdle = true;
    bool m_readPending = false;
    // A connect was started and its socket has not reported its end yet.
    bool m_socketInUse = false;
    base::Ref<TradeNetDataCenter> m_tradeNetData;
    base::Ref<TradeConnectLoginInfo> m_connectLoginInfo = base::make<TradeConnectLoginInfo>();
    TradeRequester m_connectDelegate;
    base::Weak<NetDataCenter> m_quoteLayer;
    std::function<int(int)> m_randomIndex;
};
