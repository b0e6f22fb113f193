#pragma once

#include "Common/TimerCenter.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/StockDetailStatus.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"
#include "RunLoopSocket.h"
#include "base/NotificationCenter.h"
#include "base/Object.h"
#include "base/Timer.h"
#include "base/Value.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace ui {
class Alert;
}

// What the coordinator tells the application. Both operations are optional.
class DataBaseDelegate {
public:
    virtual ~DataBaseDelegate() = default;
    // Login progress (0 to 1, or -1 when no initial load is under way) with a marker text.
    virtual base::Opt<void> ReportInitProgress(float progress, const std::string &marker) {
        (void)progress, (void)marker;
        return base::notImplemented;
    }
    // The connection tip after a connection error; the first argument is always null.
    virtual base::Opt<void> showTipMessage(const base::Value &unused, const std::string &marker) {
        (void)unused, (void)marker;
        return base::notImplemented;
    }
};

// The coordinator of the one quote connection: it asks a navigation server for the quote servers,
// connects to one, logs in with or without a market account, loads the code tables, keeps the link
// and reconnects after a loss. It owns the message layer and the request queue: one request is in
// flight at a time, replies are cut out of the byte stream frame by frame, parsed by the layer and
// handed to their requesters. Everything runs on the main run loop.
class DataBase : public base::Object,
                 public DataPoolDelegate,
                 public RunLoopSocketDelegate,
                 public NewsDataDelegate {
public:
    using RunLoopSocketDelegate::onSocket;

    static constexpr const char *LoginLevel2AccountNotify = "LoginLevel2AccountNotify";
    static constexpr const char *LoginLevel2AccountStatus = "LoginLevel2AccountStatus";
    static constexpr const char *CommonNotify = "CommonNotify";
    static constexpr const char *AppNotify = "AppNotify";
    static constexpr const char *BreakNewsViewControllerNotify = "BreakNewsViewControllerNotify";
    static constexpr const char *NetDataNotify = "NetDataNotify";

    // "LoginLevel2AccountStatus" values; 4, 6 and 9 end a login.
    enum LoginStatus {
        NavServerConnected = 1,
        NavServerConnectFailed = 2,
        HQServerConnected = 3,
        HQServerConnectFailed = 4,
        AccountAccepted = 5,
        AccountRejected = 6,
        LoginFinished = 9,
    };
    // Results of the login entry points besides those of connectToServer.
    static constexpr int32_t AlreadyConnected = -100;
    static constexpr int32_t LoginSent = 100;

    static constexpr double IOTimeout = 10.0;
    static constexpr double NewsPollInterval = 3.0;
    static constexpr double ReconnectStep = 3.3;
    static constexpr double ReconnectCeiling = 30.0;
    static constexpr double QuickReconnect = 0.3;
    static constexpr uint16_t DefaultNavServerPort = 21345;
    static constexpr int UpgradeAlertTag = 1094;
    static constexpr int AccountErrorAlertTag = 1008;

    // The process-wide coordinator, created on first use; `initialize` sets it up.
    static base::Ref<DataBase> sharedDataBase();
    // Puts another coordinator in its place (a test's own); null makes the next use create one.
    static void setSharedDataBase(base::Ref<DataBase> dataBase);
    DataBase();
    ~DataBase() override;

    // One-time set-up: message layer, queue, timers, socket, navigation servers, market entries.
    void initialize(base::Weak<DataBaseDelegate> delegate);

    // Login entry points. Results: 1 navigation connect started, 2 quote connect started, -1 and -2
    // when those failed at once, 100 when the account login went straight to the connected quote
    // server, -100 when connected already. Above 0 the outcome arrives as "LoginLevel2AccountNotify".
    int32_t ConnectAndLoginWithoutAccount(const base::Ref<base::Object> &requester, bool isRelogin);
    int32_t ConnectAndLoginLevel2Account(const base::Ref<base::Object> &requester,
                                         const std::string &username, const std::string &password,
                                         bool isRelogin);
    int32_t ConnectAndLoginFreeAccount(const base::Ref<base::Object> &requester, const std::string &username,
                                       const std::string &password, bool isRelogin);

    // Connected, and the peer is a quote server.
    bool isHQConnected() const;
    // Closes the link for good: no reconnect until the next login.
    void Disconnect();

    // Upgrade notice: an alert when the navigation server announced a newer version; with `quiet`
    // NO also the answer that there is none.
    void AlertUpgrade(bool quiet);
    // Watch-list sync with the server under the market account: 1 download and replace,
    // 2 download and merge, 3 upload. Ignored while one is in flight or while disconnected.
    void syncMyStock(int type);
    void procSyncMyStock(const base::Ref<ReqParams> &reqParams);

    // The request queue. Requests while disconnected are dropped; a request whose sequence id came
    // round again replaces the waiting one.
    void MakeRequestGroup(const QuoteRequestRecord &record);
    void SendRequest();
    bool IsValidRequest(const QuoteRequestRecord &record) const;
    // Hands a reply to its requester: a notification of that name, or the reply callback.
    static void processRsp(const QuoteRequester &requester, int32_t reqType,
                           const base::Ref<ReqParams> &reqParams);
    // Turns a reply notification back into the requester's reply callback; NO when it is none.
    static bool ProcRecvNotify(const base::Notification &notification, DataPoolDelegate &delegate);
    void ClearRequestGroups();

    // Socket callbacks.
    base::Opt<void> onSocket(RunLoopSocket &sock, const std::string &host, uint16_t port) override;
    base::Opt<void> onSocket(RunLoopSocket &sock, const base::Data &data, int32_t tag) override;
    base::Opt<void> onSocket(RunLoopSocket &sock, const base::Ref<base::Error> &error) override;
    base::Opt<void> onSocketDidDisconnect(RunLoopSocket &sock) override;

    // The coordinator's own replies: breaking news and watch-list sync.
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    // A 2907 push: the account is used elsewhere or blocked.
    void ProcAccountError(const std::string &text);

    const base::Ref<NetDataCenter> &IO_NetDataCenter() const { return m_NetDataCenter; }
    const base::Ref<StockDetailStatus> &IO_StockDetailStatus() const { return m_StockDetailStatus; }
    // The screen-refresh tick, created at set-up.
    const base::Ref<TimerCenter> &IO_TimerCenter() const { return m_TimerCenter; }
    const base::Array &nlMobileConfigFileArray() const { return m_nlMobileConfigFileArray; }
    // Requests waiting to be sent, and whether one awaits its reply.
    const std::deque<QuoteRequestRecord> &m_RequestGroups() const { return m_requestGroups; }
    bool m_isNetIdle() const { return !m_inFlight; }
    float m_progress() const { return m_progress_; }
    double m_ConnectTimes() const { return m_connectTimes; }
    bool isDownloadingMyStock() const { return m_isDownloadMyStock; }

    int32_t IO_SendBytes = 0;
    int32_t IO_RecvBytes = 0;
    bool IO_TempBool = false;
    std::string m_loginAccount;
    std::string m_loginPassword;
    std::string IO_DeviceToken;
    std::string IO_NavServerHost;
    int32_t IO_NavServerPort = 0;

private:
    class LayerLink;
    class AlertLink;
    struct Endpoint {
        std::string host;
        uint16_t port = 0;
    };

    // Connecting and logging in.
    int32_t connectToServer();
    int32_t connectToNavServer();
    int32_t connectToHQServer();
    std::optional<Endpoint> nextHQServer();
    void moveToNextHQServer();
    int32_t startLogin(int accountType, const std::string &username, const std::string &password,
                       bool hasAccount, bool isRelogin);
    void loadNavServers();
    void createMarketEntries();
    void postLoginStatus(int status);
    void SetLoginLevel2AccountFinished();
    void reportProgress(float progress, const std::string &marker);
    void reqDataOnConnectHQSuccessFirst();
    void reqDataOnConnectHQSuccessAgain();
    void reqDataOnLoginFinished();
    void startKeeper(double interval);
    void stopKeeper();
    void OnConnectKeeperEvent();
    void OnNewsTimer();
    void CommonNotifyReceived(const base::Notification &notification);
    bool checkNetworkStatus() const;

    // Traffic.
    void ParseNetData(int16_t type, uint32_t bodyLen, uint8_t seqID);
    void parseReply(int type, ByteView frame, const base::Ref<ReqParams> &params);
    void advanceLogin(int type, const base::Ref<ReqParams> &params);
    void progressStep();
    void CleanTempData(size_t count);
    void startRead(int32_t tag);
    // The silence allowed while a reply is awaited: restarted by every arrival.
    void armReplyTimer();
    void stopReplyTimer();
    void OnReplyTimeout();
    void closeWithProtocolError();
    static void releasePack(const QuoteRequestRecord &record);

    // Alerts and the watch-list file.
    void alertView(ui::Alert &alert, int buttonIndex);
    void showAlert(const std::string &title, const std::string &message, std::optional<std::string> cancel,
                   std::vector<std::string> others, int tag);
    std::optional<base::Array> readMyStockList() const;
    bool writeDownloadedStocks(int tag);

    base::Array m_nlMobileConfigFileArray;
    base::Ref<RunLoopSocket> m_RunLoopSocket;
    base::Weak<DataBaseDelegate> m_Delegate;
    float m_progress_ = -1;
    base::Ref<base::Timer> m_ConnectKeeper;
    double m_connectTimes = 0;
    std::deque<QuoteRequestRecord> m_requestGroups;
    std::optional<QuoteRequestRecord> m_inFlight;
    base::Data m_tempNetData;
    // Bumped whenever the buffer is emptied, so that a reader loop knows its frame is gone.
    uint64_t m_bufferGeneration = 0;
    int32_t m_HQServerIndex = 0;
    int32_t m_HQServersTried = 0;
    base::Array m_navServerArray;
    int32_t m_navServerIndex = -1;
    base::Ref<NetDataCenter> m_NetDataCenter;
    base::Ref<StockDetailStatus> m_StockDetailStatus;
    base::Ref<base::Timer> m_newsTimer;
    base::Ref<TimerCenter> m_TimerCenter;
    bool m_isConnectingNavServer = false;
    bool m_isInitLogining = false;
    // The navigation link is being closed after its server list, for a login to go on at once.
    bool m_handingOver = false;
    bool m_isConnectingHQServer = false;
    bool m_isKeepingConnect = false;
    bool m_HQServerIsConnected = false;
    bool m_isLoginingAccount = false;
    bool m_isReloginAccount = false;
    bool m_isWillDisconnect = false;
    int32_t m_loginAccountType = 0;
    Endpoint m_connecting;
    // Replies of the first-login set still to come: (message type, market id).
    std::set<std::pair<int, int>> m_firstLoginPending;
    bool m_firstLoginSent = false;
    // The progress marker of the reply being dispatched.
    std::string m_lastMarker;
    // While connected a read is always pending, so that pushes are handled as they arrive; the
    // read itself has no time-out, the reply timer watches for silence instead.
    bool m_readPending = false;
    base::Ref<base::Timer> m_replyTimer;
    base::Ref<NewsData> newsData;
    base::Array m_myStockDownloadArray;
    bool m_isDownloadMyStock = false;
    base::Ref<LayerLink> m_layerLink;
    base::Ref<AlertLink> m_alertLink;
};
