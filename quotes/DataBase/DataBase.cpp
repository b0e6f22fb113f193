// The connection half of the coordinator: server choice, login, request sets, progress, the
// reconnect keeper, lost connections and the account-error push.
#include "DataBase/DataBase.h"

#include "Common/Util.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/Bundle.h"
#include "base/Clock.h"
#include "base/PropertyList.h"
#include "base/RunLoop.h"
#include "base/Str.h"
#include "net/Reachability.h"
#include "ui/Alert.h"

#include <cmath>
#include <mutex>
#include <random>
#include <utility>

namespace {

constexpr const char *DefaultNavServerHost = "127.0.0.1";
constexpr int NavigationType = 1000;
constexpr int MarketIndexType = 2207;
constexpr int RealInformationType = 2600;
constexpr int UserInfType = 2936;
constexpr int ProdClassType = 2937;
constexpr int CodeTableType = 2956;
constexpr float ProgressDone = -1;

struct MarketEntry {
    const char *title;
    const char *name;
};
// In market-id order: the position plus one is the id the code-table request carries.
constexpr MarketEntry Markets[] = {
    {"SH", "上海市场"}, {"SZ", "深圳市场"}, {"HK", "香港市场"}, {"IX", "全球指数"},
    {"OF", "开发基金"}, {"BI", "板块指数"}, {"SF", "股指期货"}, {"SC", "上海商品"},
    {"ZC", "郑州商品"}, {"DC", "大连商品"}, {"SG", "上海黄金"},
};
constexpr int MarketCount = int(std::size(Markets));

// "host:port" with a port of 1 to 65,535; nothing for anything else.
std::optional<std::pair<std::string, uint16_t>> splitAddress(const std::string &address) {
    size_t colon = address.find(':');
    if (colon == std::string::npos || colon == 0 || address.find(':', colon + 1) != std::string::npos)
        return std::nullopt;
    std::string port = address.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    long number = std::stol(port);
    if (number < 1 || number > 65535)
        return std::nullopt;
    return std::make_pair(address.substr(0, colon), uint16_t(number));
}

} // namespace

// What the message layer needs of its coordinator, kept apart so that the coordinator's own
// isHQConnected answers a plain boolean.
class DataBase::LayerLink : public NetDataCenterDelegate {
public:
    explicit LayerLink(base::Weak<DataBase> owner) : owner_(std::move(owner)) {}
    base::Opt<void> MakeRequestGroup(const QuoteRequestRecord &record) override {
        if (auto owner = owner_.lock())
            owner->MakeRequestGroup(record);
        return {};
    }
    base::Opt<bool> isHQConnected() override {
        auto owner = owner_.lock();
        return owner && owner->isHQConnected();
    }
    base::Opt<void> ShowTipBox(const std::string &text) override {
        Util::ShowTipBox(text);
        return {};
    }

private:
    base::Weak<DataBase> owner_;
};

class DataBase::AlertLink : public ui::AlertDelegate {
public:
    explicit AlertLink(base::Weak<DataBase> owner) : owner_(std::move(owner)) {}
    base::Opt<void> willDismiss(ui::Alert &alert, int index) override {
        if (auto owner = owner_.lock())
            owner->alertView(alert, index);
        return {};
    }

private:
    base::Weak<DataBase> owner_;
};

namespace {

base::Ref<DataBase> &sharedSlot() {
    static base::Ref<DataBase> instance;
    return instance;
}

} // namespace

base::Ref<DataBase> DataBase::sharedDataBase() {
    static std::mutex lock;
    std::lock_guard guard(lock);
    base::Ref<DataBase> &instance = sharedSlot();
    if (!instance)
        instance = base::make<DataBase>();
    return instance;
}

void DataBase::setSharedDataBase(base::Ref<DataBase> dataBase) {
    sharedSlot() = std::move(dataBase);
}

DataBase::DataBase() = default;

DataBase::~DataBase() {
    stopKeeper();
    stopReplyTimer();
    if (m_newsTimer)
        m_newsTimer->invalidate();
    if (m_TimerCenter)
        m_TimerCenter->closeTimer();
    base::NotificationCenter::shared().removeObserver(this);
}

void DataBase::initialize(base::Weak<DataBaseDelegate> delegate) {
    if (auto path = base::Bundle::main().pathFor("configfile", "plist"))
        if (auto list = base::PropertyList::read(*path); list && list->array())
            m_nlMobileConfigFileArray = *list->array();

    m_layerLink = base::make<LayerLink>(self<DataBase>());
    m_alertLink = base::make<AlertLink>(self<DataBase>());
    m_NetDataCenter = NetDataCenter::create();
    m_NetDataCenter->theDelegate = m_layerLink;
    // The trade connection finds the brokers' gateways in this layer's broker table.
    TradeDataBase::sharedTradeDataBase()->setQuoteLayer(m_NetDataCenter);
    m_StockDetailStatus = base::make<StockDetailStatus>();
    if (!m_TimerCenter)
        m_TimerCenter = TimerCenter::create();
    m_Delegate = std::move(delegate);

    m_HQServerIndex = 0;
    m_progress_ = 0;
    m_connectTimes = 0;
    m_inFlight.reset();
    IO_SendBytes = IO_RecvBytes = 0;

    // Neither timer keeps the coordinator alive.
    base::Weak<DataBase> weak = self<DataBase>();
    m_newsTimer =
        base::Timer::scheduled(NewsPollInterval, true, base::Action("OnNewsTimer", [weak](base::Object *) {
                                   if (auto alive = weak.lock())
                                       alive->OnNewsTimer();
                               }));
    base::NotificationCenter::shared().addObserver(weak, CommonNotify, [weak](const base::Notification &n) {
        if (auto alive = weak.lock())
            alive->CommonNotifyReceived(n);
    });
    reportProgress(0, "[正在加载配置文件]");

    m_isConnectingNavServer = m_isInitLogining = m_isConnectingHQServer = m_isKeepingConnect = false;
    m_HQServerIsConnected = m_isLoginingAccount = m_isReloginAccount = false;
    m_loginAccountType = 0;
    m_RunLoopSocket = base::make<RunLoopSocket>(base::Weak<RunLoopSocketDelegate>(self<DataBase>()));

    m_navServerIndex = -1;
    loadNavServers();
    createMarketEntries();
    IO_TempBool = m_isWillDisconnect = false;

    newsData = NewsData::create();
    newsData->setDelegate(base::Weak<NewsDataDelegate>(self<DataBase>()));
    m_isDownloadMyStock = false;
    m_myStockDownloadArray = base::Array();
}

void DataBase::loadNavServers() {
    m_navServerArray = base::Array();
    auto path = base::Bundle::main().pathFor("ServerConfig", "plist");
    std::optional<base::Value> config = path ? base::PropertyList::read(*path) : std::nullopt;
    if (!config)
        return;
    base::Value servers = (*config)["NavServers"];
    if (const base::Array *list = servers.array())
        for (const base::Value &entry : *list)
            m_navServerArray.add(entry);
}

void DataBase::createMarketEntries() {
    m_NetDataCenter->IO_MktStockCodeLib = base::Array();
    for (const MarketEntry &market : Markets)
        m_NetDataCenter->IO_MktStockCodeLib.add(base::Dict{{"title", market.title}, {"name", market.name}});
}

// ---------------------------------------------------------------------------------------------
// Login entry points

int32_t DataBase::ConnectAndLoginWithoutAccount(const base::Ref<base::Object> &, bool isRelogin) {
    m_NetDataCenter->ClearLevel2Account();
    return startLogin(3, {}, {}, false, isRelogin);
}

int32_t DataBase::ConnectAndLoginLevel2Account(const base::Ref<base::Object> &, const std::string &username,
                                               const std::string &password, bool isRelogin) {
    return startLogin(2, username, password, true, isRelogin);
}

int32_t DataBase::ConnectAndLoginFreeAccount(const base::Ref<base::Object> &, const std::string &username,
                                             const std::string &password, bool isRelogin) {
    return startLogin(1, username, password, true, isRelogin);
}

int32_t DataBase::startLogin(int accountType, const std::string &username, const std::string &password,
                             bool hasAccount, bool isRelogin) {
    m_loginAccountType = accountType;
    // A login always runs to a terminating status: one that finds a connection under way or
    // standing joins it instead of leaving the caller without an answer.
    bool sendAtOnce = false;
    int32_t result;
    if (m_RunLoopSocket->isConnected()) {
        sendAtOnce = m_HQServerIsConnected;
        result = sendAtOnce ? LoginSent : m_isInitLogining ? 1 : AlreadyConnected;
    } else if (m_isConnectingNavServer) {
        result = 1;
    } else if (m_isConnectingHQServer) {
        result = 2;
    } else {
        result = connectToServer();
    }
    m_isLoginingAccount = result > 0;
    m_isReloginAccount = isRelogin;
    if (result <= 0)
        return result;
    m_isWillDisconnect = false;
    m_progress_ = 0;
    if (hasAccount) {
        m_loginAccount = username;
        m_loginPassword = password;
    }
    if (sendAtOnce) {
        if (accountType == 3)
            reqDataOnConnectHQSuccessFirst();
        else
            m_NetDataCenter->RequestUserInf(self<DataBase>(), username, password);
    }
    return result;
}

bool DataBase::isHQConnected() const {
    return m_RunLoopSocket && m_RunLoopSocket->isConnected() && m_HQServerIsConnected;
}

void DataBase::Disconnect() {
    m_isWillDisconnect = true;
    stopKeeper();
    m_RunLoopSocket->disconnect();
}

// ---------------------------------------------------------------------------------------------
// Server choice

int32_t DataBase::connectToServer() {
    if (!m_NetDataCenter->IO_IndexServerINF->serverAddrlist.empty())
        return connectToHQServer();
    return connectToNavServer();
}

int32_t DataBase::connectToNavServer() {
    Endpoint endpoint{DefaultNavServerHost, DefaultNavServerPort};
    int count = int(m_navServerArray.size());
    int index = -1;
    if (count > 0) {
        if (m_navServerIndex < 0) {
            std::minstd_rand random(uint32_t(base::Clock::current().now()));
            index = int(random() % uint32_t(count));
        } else {
            index = (m_navServerIndex + 1) % count;
        }
        const base::Value &entry = m_navServerArray[size_t(index)];
        std::string host = entry["host"].stringValue();
        int64_t port = entry["port"].intValue();
        if (host.empty() || port <= 0 || port > 65535)
            index = -1;
        else
            endpoint = {host, uint16_t(port)};
    }
    m_navServerIndex = index;
    reportProgress(m_progress_, base::str::format("正在连接导航服务器[序号:%d] %@:%d", index, endpoint.host,
                                                  int(endpoint.port)));
    ClearRequestGroups();
    m_isConnectingNavServer = false;
    if (!m_RunLoopSocket->connectToHost(endpoint.host, endpoint.port))
        return -1;
    m_isConnectingNavServer = true;
    m_connecting = endpoint;
    IO_NavServerHost = endpoint.host;
    IO_NavServerPort = endpoint.port;
    return 1;
}

std::optional<DataBase::Endpoint> DataBase::nextHQServer() {
    std::vector<std::string> &list = m_NetDataCenter->IO_IndexServerINF->serverAddrlist;
    int count = int(list.size());
    if (m_HQServerIndex < 0 || m_HQServerIndex >= count)
        m_HQServerIndex = 0;
    // Malformed addresses are passed over.
    for (int step = 0; step < count; ++step) {
        if (auto address = splitAddress(list[size_t(m_HQServerIndex)]))
            return Endpoint{address->first, address->second};
        m_HQServerIndex = (m_HQServerIndex + 1) % count;
    }
    return std::nullopt;
}

// After a failed connect the next attempt goes to the next quote server; after a full round,
// back to navigation for a fresh list.
void DataBase::moveToNextHQServer() {
    auto &list = m_NetDataCenter->IO_IndexServerINF->serverAddrlist;
    ++m_HQServerIndex;
    if (++m_HQServersTried >= int(list.size())) {
        list.clear();
        m_HQServerIndex = m_HQServersTried = 0;
    }
}

int32_t DataBase::connectToHQServer() {
    std::optional<Endpoint> endpoint = nextHQServer();
    if (!endpoint) {
        // Nothing usable in the list: ask the navigation server again.
        m_NetDataCenter->IO_IndexServerINF->serverAddrlist.clear();
        return connectToNavServer();
    }
    reportProgress(-1, base::str::format("正在连接行情服务器[%@:%d]", endpoint->host, int(endpoint->port)));
    ClearRequestGroups();
    m_isConnectingHQServer = false;
    if (!m_RunLoopSocket->connectToHost(endpoint->host, endpoint->port)) {
        moveToNextHQServer();
        return -2;
    }
    m_isConnectingHQServer = true;
    m_connecting = *endpoint;
    return 2;
}

// ---------------------------------------------------------------------------------------------
// Connected and lost

base::Opt<void> DataBase::onSocket(RunLoopSocket &, const std::string &, uint16_t) {
    stopKeeper();
    startRead(0);
    if (m_isLoginingAccount) {
        if (m_isConnectingNavServer)
            postLoginStatus(NavServerConnected);
        if (m_isConnectingHQServer) {
            m_HQServerIsConnected = true;
            postLoginStatus(HQServerConnected);
        }
    }
    if (m_isConnectingNavServer) {
        m_isConnectingNavServer = false;
        DataManager::sharedDataManager().removeShowAlertTipInfo();
        reportProgress(m_progress_, "[导航服务器连接成功,正在获取行情服务器地址...]");
        m_isInitLogining = true;
        m_NetDataCenter->RequestServerAddress(self<DataBase>());
    } else if (m_isConnectingHQServer) {
        m_isConnectingHQServer = false;
        m_HQServerIsConnected = true;
        m_HQServersTried = 0;
        if (m_progress_ == ProgressDone) {
            if (m_loginAccountType == 3)
                reqDataOnConnectHQSuccessAgain();
            else if (m_loginAccountType == 2)
                m_NetDataCenter->RequestUserInf(self<DataBase>(), m_NetDataCenter->IO_L2UserName,
                                                m_NetDataCenter->IO_L2Password);
            base::NotificationCenter::shared().post(CommonNotify, nullptr, {{"HQConnectStatus", true}});
        } else {
            reportProgress(m_progress_, base::str::format("[行情服务器连接成功:%@:%d]", m_connecting.host,
                                                          int(m_connecting.port)));
            if (m_loginAccountType == 3)
                reqDataOnConnectHQSuccessFirst();
            else if (m_loginAccountType == 2)
                m_NetDataCenter->RequestUserInf(self<DataBase>(), m_loginAccount, m_loginPassword);
        }
    }
    return {};
}

base::Opt<void> DataBase::onSocket(RunLoopSocket &, const base::Ref<base::Error> &) {
    std::string tip;
    if (checkNetworkStatus()) {
        tip = "网络连接已断开，正在重连服务器...";
        if (m_connectTimes >= ReconnectCeiling)
            DataManager::sharedDataManager().ShowAlertView(tip);
    } else {
        tip = "网络连接已断开，请检查本地网络是否畅通...";
        DataManager::sharedDataManager().ShowAlertView(tip);
    }
    if (auto delegate = m_Delegate.lock())
        delegate->showTipMessage(base::Value(), tip);
    return {};
}

bool DataBase::checkNetworkStatus() const {
    uint32_t flags = 0;
    if (!net::ReachabilityTarget::forInternet()->flags(flags))
        return false;
    return (flags & net::Reachable) && !(flags & net::ConnectionRequired);
}

base::Opt<void> DataBase::onSocketDidDisconnect(RunLoopSocket &) {
    bool hqConnectFailed = m_isConnectingHQServer;
    if (m_isLoginingAccount) {
        if (m_isConnectingNavServer)
            postLoginStatus(NavServerConnectFailed);
        if (m_isConnectingHQServer)
            postLoginStatus(HQServerConnectFailed);
    }
    m_isConnectingNavServer = m_isInitLogining = m_isConnectingHQServer = m_HQServerIsConnected = false;
    ClearRequestGroups();
    m_NetDataCenter->OnDisConnect();
    stopKeeper();
    m_isDownloadMyStock = false;
    reportProgress(-1, "网络连接已经中断!!!");
    if (hqConnectFailed)
        moveToNextHQServer();
    if (m_isWillDisconnect)
        return {};
    if (std::exchange(m_handingOver, false)) {
        // The navigation server's list is in and its link was closed on purpose: a login goes on
        // to a quote server on the next pass instead of waiting out a reconnect delay. The keeper
        // runs meanwhile, so that a quote server that cannot be reached at once is not the end.
        startKeeper(m_connectTimes);
        base::Weak<DataBase> weak = self<DataBase>();
        base::RunLoop::main().performAfter(0, base::Action("handOver", [weak](base::Object *) {
                                               if (auto alive = weak.lock())
                                                   alive->OnConnectKeeperEvent();
                                           }));
        return {};
    }
    if (m_connectTimes < ReconnectCeiling)
        m_connectTimes += ReconnectStep;
    startKeeper(m_connectTimes);
    reportProgress(-1, base::str::format("重新启动连接[服务器id:%d,重连延时:%.2f]", m_HQServerIndex + 1,
                                         m_connectTimes));
    return {};
}

// ---------------------------------------------------------------------------------------------
// Keeper, timers and activation

void DataBase::startKeeper(double interval) {
    stopKeeper();
    base::Weak<DataBase> weak = self<DataBase>();
    m_ConnectKeeper =
        base::Timer::scheduled(interval, true, base::Action("OnConnectKeeperEvent", [weak](base::Object *) {
                                   if (auto alive = weak.lock())
                                       alive->OnConnectKeeperEvent();
                               }));
}

void DataBase::stopKeeper() {
    if (m_ConnectKeeper)
        m_ConnectKeeper->invalidate();
    m_ConnectKeeper = nullptr;
    m_isKeepingConnect = false;
}

void DataBase::OnConnectKeeperEvent() {
    if (m_isKeepingConnect || m_isConnectingNavServer || m_isConnectingHQServer)
        return;
    if (m_RunLoopSocket->isConnected())
        return;
    int32_t result = connectToServer();
    if (result >= 0)
        m_isKeepingConnect = true;
    else if (m_isLoginingAccount)
        // A connect that could not even start ends a login as one that failed later would.
        postLoginStatus(result == -2 ? HQServerConnectFailed : NavServerConnectFailed);
}

void DataBase::OnNewsTimer() {
    if (isHQConnected())
        m_NetDataCenter->RequestRealInformation(self<DataBase>(), 0);
}

void DataBase::CommonNotifyReceived(const base::Notification &notification) {
    if (notification.userInfo.get("AppActiveState").stringValue() != "AppDidBecomeActive")
        return;
    if (m_isWillDisconnect || m_RunLoopSocket->isConnected() || m_NetDataCenter->IO_L2UserName.empty())
        return;
    stopKeeper();
    m_connectTimes = QuickReconnect;
    startKeeper(m_connectTimes);
}

// ---------------------------------------------------------------------------------------------
// Statuses, progress and request sets

void DataBase::postLoginStatus(int status) {
    if (status == HQServerConnectFailed || status == AccountRejected || status == LoginFinished)
        SetLoginLevel2AccountFinished();
    base::NotificationCenter::shared().post(LoginLevel2AccountNotify, nullptr,
                                            {{LoginLevel2AccountStatus, status}});
}

void DataBase::SetLoginLevel2AccountFinished() {
    m_isLoginingAccount = m_isReloginAccount = m_isWillDisconnect = false;
}

void DataBase::reportProgress(float progress, const std::string &marker) {
    auto delegate = m_Delegate.lock();
    if (!delegate)
        return;
    if (progress == ProgressDone)
        delegate->ReportInitProgress(progress, marker);
    else
        delegate->ReportInitProgress(progress, base::str::format("加载中:%.2f%% %@", progress * 100, marker));
}

void DataBase::reqDataOnConnectHQSuccessFirst() {
    m_progress_ = std::max(m_progress_, 0.4f);
    m_firstLoginSent = true;
    m_firstLoginPending.clear();
    for (int market = 1; market <= MarketCount; ++market)
        m_firstLoginPending.insert({CodeTableType, market});
    m_firstLoginPending.insert({ProdClassType, 0});
    m_NetDataCenter->RequestMarketStockList(self<DataBase>());
    m_NetDataCenter->RequestMerchandiseMenu(self<DataBase>());
}

void DataBase::reqDataOnConnectHQSuccessAgain() {
    m_NetDataCenter->reqQuotesDate();
    m_NetDataCenter->RequestServerTime(self<DataBase>());
    m_NetDataCenter->RequestMarketStockList(self<DataBase>());
}

void DataBase::reqDataOnLoginFinished() {
    m_NetDataCenter->reqQuotesDate();
    m_NetDataCenter->RequestServerTime(self<DataBase>());
    m_NetDataCenter->TestRequest();
    newsData->reqMarketBoard();
}

// Replies that move the login on, right after their parser ran.
void DataBase::advanceLogin(int type, const base::Ref<ReqParams> &params) {
    bool loading = m_progress_ != ProgressDone;
    const char *marker = nullptr;
    float step = 0;
    switch (type) {
    case NavigationType:
        m_isInitLogining = false;
        // Only a login under way hurries on; a keeper going round failing servers keeps its pace.
        if (loading && m_isLoginingAccount && !m_NetDataCenter->IO_IndexServerINF->serverAddrlist.empty()) {
            m_connectTimes = QuickReconnect;
            m_handingOver = true;
        }
        m_HQServerIndex = m_HQServersTried = 0;
        marker = "[服务器信息加载完毕,正在断开导航服务器]";
        step = 0.1f;
        m_RunLoopSocket->disconnect();
        break;
    case UserInfType:
        if (m_NetDataCenter->IO_L2LoginSuccess) {
            if (m_isLoginingAccount)
                postLoginStatus(AccountAccepted);
            if (m_isLoginingAccount)
                reqDataOnConnectHQSuccessFirst();
            else
                reqDataOnConnectHQSuccessAgain();
        } else if (m_isLoginingAccount) {
            postLoginStatus(AccountRejected);
        }
        return;
    case MarketIndexType:
        marker = "[大盘指数加载完毕]";
        step = 0.1f;
        break;
    case RealInformationType:
        marker = "[实时解盘加载完毕]";
        step = 0.1f;
        break;
    case ProdClassType:
        m_firstLoginPending.erase({ProdClassType, 0});
        marker = "[商品分类加载完毕]";
        step = 0.1f;
        break;
    case CodeTableType: {
        int market = params ? int(params->get("marketID").intValue()) : 0;
        m_firstLoginPending.erase({CodeTableType, market});
        m_lastMarker = base::str::format(
            "[码表:%@加载完毕]", market >= 1 && market <= MarketCount ? Markets[market - 1].title : "");
        step = 0.5f / MarketCount;
        break;
    }
    default:
        return;
    }
    if (!loading)
        return;
    // Progress never goes back and never passes 1, whatever extra replies arrive during the load.
    m_progress_ = std::min(1.0f, m_progress_ + step);
    if (marker)
        m_lastMarker = marker;
}

void DataBase::progressStep() {
    if (m_progress_ == ProgressDone || m_lastMarker.empty())
        return;
    std::string marker = std::move(m_lastMarker);
    m_lastMarker.clear();
    bool finished = m_firstLoginSent && m_firstLoginPending.empty();
    reportProgress(finished ? 1.0f : m_progress_, marker);
    if (!finished)
        return;
    m_progress_ = ProgressDone;
    m_firstLoginSent = false;
    postLoginStatus(LoginFinished);
    reqDataOnLoginFinished();
}

// ---------------------------------------------------------------------------------------------
// Account error

void DataBase::ProcAccountError(const std::string &text) {
    Disconnect();
    TradeDataBase::sharedTradeDataBase()->disconnectTradeServer({});
    DataManager::sharedDataManager().SetAutoLogin(false);
    showAlert("帐号异常", text, "确 定", {}, AccountErrorAlertTag);
}

void DataBase::showAlert(const std::string &title, const std::string &message,
                         std::optional<std::string> cancel, std::vector<std::string> others, int tag) {
    auto alert = base::make<ui::Alert>(title, message, m_alertLink, std::move(cancel), std::move(others));
    alert->tag = tag;
    alert->show();
}
