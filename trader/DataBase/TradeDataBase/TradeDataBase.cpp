#include "DataBase/TradeDataBase/TradeDataBase.h"

#include "DataBase/TradeDataBase/TradeMsgCenter.h"

#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/WT/TradeFrame.h"

#include "base/Clock.h"
#include "base/RunLoop.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

constexpr const char *kAppNotify = "AppNotify";
constexpr const char *kInvalidInput = "输入内容包含无效字符！";
// A read or write of the queue; the tags are not looked at.
constexpr int32_t kTag = 0;

int pickByTime(int n) {
    std::srand(unsigned(base::Clock::current().now()));
    return std::rand() % n;
}

QuoteRequester quoteRequester(const TradeRequester &requester) {
    if (auto name = std::get_if<std::string>(&requester))
        return *name;
    if (auto object = std::get_if<base::Ref<base::Object>>(&requester))
        if (auto delegate = std::dynamic_pointer_cast<DataPoolDelegate>(*object))
            return delegate;
    return {};
}

bool allFlagged(const WTTraderAddressList &addresses) {
    return !addresses.empty() &&
           std::all_of(addresses.begin(), addresses.end(), [](const auto &a) { return a->connectFail(); });
}

} // namespace

base::Ref<TradeDataBase> TradeDataBase::sharedTradeDataBase() {
    static std::mutex lock;
    std::lock_guard guard(lock);
    static const base::Ref<TradeDataBase> instance = create();
    return instance;
}

base::Ref<TradeDataBase> TradeDataBase::create() {
    auto db = base::make<TradeDataBase>();
    db->m_RunLoopSocket = base::make<RunLoopSocket>(db->weakSelf<RunLoopSocketDelegate>());
    db->m_tradeNetData->setParentTarget(db->weakSelf<TradeNetDataTarget>());
    return db;
}

TradeDataBase::TradeDataBase() : m_tradeNetData(TradeNetDataCenter::create()), m_randomIndex(pickByTime) {}

TradeDataBase::~TradeDataBase() {
    m_tradeNetData->stopHeartbeat();
}

// --- Connect sequence

int TradeDataBase::ConnectAndCheckPhone(const TradeRequester &requester, const std::string &securitiesName,
                                        const WTTraderAddressList *addressArray, const std::string &mobile,
                                        const std::string &mobileCheckNum, std::string &pMsg) {
    auto layer = m_quoteLayer.lock();
    if (layer && !layer->IO_GetSecuritiesAddressRsp) {
        layer->RequestSecuritiesAddressInfo(quoteRequester(requester));
        pMsg = "正在请求券商交易地址......";
        return kRequestingBrokers;
    }
    if (!layer || layer->IO_SecuritiesAddressArray().empty()) {
        pMsg = "未能找到所有券商的交易服务器!";
        return kNoBrokers;
    }
    if (isConnected()) {
        if (CheckSecuritiesConnect(requester, securitiesName)) {
            pMsg = "正在断开连接......";
            return kDisconnecting;
        }
        if (m_connectLoginInfo->checkSuccess) {
            pMsg = "登录信息验证成功! ";
            return kReady;
        }
        if (!m_tradeNetData->requestD(requester, securitiesName, mobile, mobileCheckNum)) {
            pMsg = kInvalidInput;
            return kCannotConnect;
        }
        pMsg = "正在验证登录信息......";
        return kCheckingPhone;
    }
    if (!isConnecting() && !connectToTradeServerRandom(requester, securitiesName, addressArray, pMsg))
        return kCannotConnect;
    if (!mobile.empty() && !mobileCheckNum.empty()) {
        m_connectLoginInfo->mobile = mobile;
        m_connectLoginInfo->mobileCheckNum = mobileCheckNum;
    }
    pMsg = "正在连接交易服务器......";
    return kConnecting;
}

bool TradeDataBase::connectToTradeServerRandom(const TradeRequester &requester,
                                               const std::string &securitiesName,
                                               const WTTraderAddressList *addressArray,
                                               std::string &pErrMsg) {
    WTTraderAddressList addresses;
    if (addressArray) {
        addresses = *addressArray;
    } else if (auto layer = m_quoteLayer.lock()) {
        if (auto broker = layer->getSecuritiesAddressInfo(securitiesName))
            addresses = broker->addressList();
    }
    if (addresses.empty()) {
        pErrMsg = "未能找到该券商的交易服务器！";
        return false;
    }
    if (isConnected()) {
        pErrMsg = "交易服务器已处于连接状态，不能再次连接！";
        return false;
    }
    m_connectLoginInfo->Clear();
    m_connectDelegate = requester;
    m_connectLoginInfo->securitiesName = securitiesName;
    m_connectLoginInfo->addressArray = std::move(addresses);
    CheckAndResetConnectFailFlags();

    const WTTraderAddressList &list = m_connectLoginInfo->addressArray;
    int index = std::abs(m_randomIndex(int(list.size())) % int(list.size()));
    bool started;
    if (list[size_t(index)]->connectFail()) {
        m_connectLoginInfo->connectIndex = index;
        started = connectToNextTradeServer();
    } else {
        started = connectToTradeServer(list[size_t(index)]->address(), list[size_t(index)]->port(), index) ||
                  connectToNextTradeServer();
    }
    if (!started)
        pErrMsg = "连接所有交易服务器失败！";
    return started;
}

bool TradeDataBase::connectToNextTradeServer() {
    const WTTraderAddressList &list = m_connectLoginInfo->addressArray;
    int n = int(list.size());
    int current = m_connectLoginInfo->connectIndex;
    m_connectLoginInfo->isConnecting = false;
    m_connectLoginInfo->connectIndex = -1;
    // The addresses after the current one in turn; without a current one, all of them.
    std::vector<int> order;
    for (int k = current < 0 ? 0 : 1; k < n; ++k)
        order.push_back(current < 0 ? k : (current + k) % n);
    for (int index : order) {
        const auto &address = list[size_t(index)];
        if (!address->connectFail() && connectToTradeServer(address->address(), address->port(), index))
            return true;
    }
    return false;
}

bool TradeDataBase::connectToTradeServer(const std::string &host, int port, int index) {
    if (m_socketInUse || port <= 0 || port > 65535)
        return false;
    failQueued();
    ClearRequestGroups();
    // A connection starts from a clean session, so that a request queued while it is being made
    // carries the numbers the gateway expects.
    m_tradeNetData->OnTradeConnectSuccess();
    m_netIdle = true;
    m_connectLoginInfo->connectIndex = index;
    m_connectLoginInfo->isConnecting = true;
    base::Ref<base::Error> error;
    if (!m_RunLoopSocket->connectToHost(host, uint16_t(port), kConnectTimeout, &error)) {
        m_connectLoginInfo->isConnecting = false;
        SetConnectFail(m_connectLoginInfo->addressArray, index);
        return false;
    }
    m_socketInUse = true;
    return true;
}

void TradeDataBase::CheckAndResetConnectFailFlags() {
    if (!allFlagged(m_connectLoginInfo->addressArray))
        return;
    for (const auto &address : m_connectLoginInfo->addressArray)
        address->setConnectFail(false);
}

void TradeDataBase::SetConnectFail(const WTTraderAddressList &addressArray, int index) {
    if (index >= 0 && size_t(index) < addressArray.size())
        addressArray[size_t(index)]->setConnectFail(true);
}

bool TradeDataBase::CheckSecuritiesConnect(const TradeRequester &requester,
                                           const std::string &securitiesName) {
    if (!isConnected() || m_connectLoginInfo->securitiesName == securitiesName)
        return false;
    disconnectTradeServer(requester);
    return true;
}

void TradeDataBase::disconnectTradeServer(const TradeRequester &requester) {
    if (!isConnected())
        return;
    m_connectDelegate = requester;
    m_connectLoginInfo->Clear();
    m_connectLoginInfo->isDisconnecting = true;
    m_RunLoopSocket->disconnect();
}

bool TradeDataBase::isConnected() const {
    return m_RunLoopSocket && m_RunLoopSocket->isConnected();
}

bool TradeDataBase::isConnecting() const {
    return m_connectLoginInfo->isConnecting;
}

// --- End of an attempt or a connection

void TradeDataBase::OnTradeConnectSuccessOrFail(bool success) {
    m_netIdle = true;
    m_readPending = false;
    TradeConnectLoginInfo &info = *m_connectLoginInfo;
    if (!success) {
        failQueued();
        ClearRequestGroups();
        if (info.isConnecting)
            SetConnectFail(info.addressArray, info.connectIndex);
        m_tradeNetData->OnTradeConnectFail();
    }
    int status = info.isConnecting      ? kConnectAttempt
                 : info.isDisconnecting ? kDisconnected
                                        : kConnectionDropped;
    info.isConnecting = false;
    info.isDisconnecting = false;
    notifyConnect(success, status);
    // Requests made while the connection was being made go out now.
    if (success)
        SendRequest();
}

void TradeDataBase::notifyConnect(bool success, int status) {
    TradeRequester requester = m_connectDelegate;
    if (auto name = std::get_if<std::string>(&requester)) {
        base::NotificationCenter::shared().post(*name, nullptr,
                                                base::Dict{{"TradeConnectNotify", "Conn"},
                                                           {"IsConnectSuccess", success},
                                                           {"ConnectStatus", status}});
    } else if (auto object = std::get_if<base::Ref<base::Object>>(&requester)) {
        if (auto delegate = std::dynamic_pointer_cast<TradeDataDelegate>(*object))
            delegate->OnTradeConnect(success, status);
    }
}

// --- Queue

void TradeDataBase::MakeRequestGroup(TradeRequestRecord record) {
    if (!isConnected() && !isConnecting()) {
        failLater(std::move(record), kDisconnectedText);
        return;
    }
    m_requestGroups.push_back(std::move(record));
    if (isConnected())
        SendRequest();
}

void TradeDataBase::RefuseRequest(TradeRequestRecord record, const std::string &errMsg) {
    failLater(std::move(record), errMsg);
}

void TradeDataBase::SendRequest() {
    if (m_requestGroups.empty() || !m_netIdle || !isConnected())
        return;
    m_RunLoopSocket->writeData(m_requestGroups.front().data, kIOTimeout, kTag);
    m_netIdle = false;
    armRead();
}

void TradeDataBase::armRead() {
    if (m_readPending)
        return;
    m_readPending = true;
    m_RunLoopSocket->readDataWithTimeout(kIOTimeout, kTag);
}

void TradeDataBase::ClearRequestGroups() {
    m_requestGroups.clear();
    m_tempNetData = base::Data();
}

void TradeDataBase::CleanTempData(long n) {
    if (n <= 0 || m_tempNetData.empty())
        return;
    m_tempNetData.removeFront(std::min(size_t(n), m_tempNetData.length()));
}

void TradeDataBase::failQueued() {
    while (!m_requestGroups.empty()) {
        failLater(std::move(m_requestGroups.front()), kDisconnectedText);
        m_requestGroups.pop_front();
    }
}

void TradeDataBase::failLater(TradeRequestRecord record, std::string errMsg) {
    if (std::holds_alternative<std::monostate>(record.delegate))
        return;
    record.data = base::Data();
    auto weak = weakSelf<TradeDataBase>();
    base::RunLoop::current().performAfter(
        0, base::Action(weak_from_this(), "failRequest",
                        [weak, record = std::move(record), errMsg = std::move(errMsg)](base::Object *) {
                            auto self = weak.lock();
                            if (!self)
                                return;
                            const auto &rsp = self->m_tradeNetData->IO_RspData();
                            rsp->clear();
                            rsp->setSuccessRsp(false);
                            rsp->dict().set("ErrMsg", errMsg);
                            self->NotifyDelegate(record.delegate, record.funcID, record.reqParams);
                        }));
}

// --- Receiving

void TradeDataBase::readReplies() {
    for (;;) {
        TradeFrameCut cut = cutTradeFrame(m_tempNetData.bytes(), m_tempNetData.length());
        if (cut.kind == TradeFrameCut::Kind::NeedMore)
            break;
        if (cut.kind == TradeFrameCut::Kind::Corrupt) {
            closeAsError();
            return;
        }
        CleanTempData(long(cut.consumed));
        bool answersInFlight =
            !m_netIdle && !m_requestGroups.empty() && m_requestGroups.front().synID == cut.header.synID;
        if (cut.kind != TradeFrameCut::Kind::Deliver || !answersInFlight)
            continue;
        int reqType = m_tradeNetData->processRspData(cut.payload.bytes(), cut.payload.length(), cut.header);
        TradeRequestRecord record = std::move(m_requestGroups.front());
        m_requestGroups.pop_front();
        m_netIdle = true;
        deliver(std::move(record), reqType);
        // The requester may have closed the connection or sent the next request.
        if (!isConnected())
            return;
    }
    if (!m_netIdle || !m_tempNetData.empty())
        armRead();
    if (m_netIdle)
        SendRequest();
}

void TradeDataBase::deliver(TradeRequestRecord record, int reqType) {
    // A reply that could not be read still answers the request it came for.
    if (reqType == 0) {
        reqType = record.funcID;
        m_tradeNetData->IO_RspData()->setSuccessRsp(false);
    }
    NotifyDelegate(record.delegate, reqType, record.reqParams);
}

void TradeDataBase::NotifyDelegate(const TradeRequester &requester, int reqType,
                                   const std::optional<base::Dict> &params) {
    const base::Ref<TradeRspData> &rsp = m_tradeNetData->IO_RspData();
    if (auto name = std::get_if<std::string>(&requester)) {
        base::Dict info{{"TradeNetDataNotify", reqType}, {"RspData", rsp}};
        if (params)
            info.set("ReqParams", *params);
        base::NotificationCenter::shared().post(*name, nullptr, std::move(info));
    } else if (auto object = std::get_if<base::Ref<base::Object>>(&requester)) {
        if (auto delegate = std::dynamic_pointer_cast<TradeDataDelegate>(*object))
            delegate->OnTradeDataRsp(reqType, rsp, params);
    }
}

bool TradeDataBase::ProcRecvNotify(const base::Notification &notification, TradeDataDelegate &delegate) {
    const base::Value *type = notification.userInfo.find("TradeNetDataNotify");
    if (!type)
        return false;
    const base::Value *params = notification.userInfo.find("ReqParams");
    std::optional<base::Dict> reqParams;
    if (params && params->dict())
        reqParams = *params->dict();
    delegate.OnTradeDataRsp(int(type->intValue()),
                            notification.userInfo.get("RspData").objectAs<TradeRspData>(), reqParams);
    return true;
}

bool TradeDataBase::ProcConnectNotify(const base::Notification &notification, TradeDataDelegate &delegate) {
    if (notification.userInfo.get("TradeConnectNotify").stringValue() != "Conn")
        return false;
    const base::Value *success = notification.userInfo.find("IsConnectSuccess");
    const base::Value *status = notification.userInfo.find("ConnectStatus");
    if (success && status)
        delegate.OnTradeConnect(success->boolValue(), int(status->intValue()));
    return true;
}

void TradeDataBase::closeAsError() {
    base::NotificationCenter::shared().post(kAppNotify, nullptr,
                                            base::Dict{{"MSG_ID", "Trader_MSG"}, {"Data", "ReLaunchTrader"}});
    m_RunLoopSocket->disconnect();
}

// --- Socket

base::Opt<void> TradeDataBase::onSocket(RunLoopSocket &, const std::string &, uint16_t) {
    TradeMsgCenter::sharedTradeMsgCenter()->TradeConnectionOpened();
    OnTradeConnectSuccessOrFail(true);
    return {};
}

base::Opt<void> TradeDataBase::onSocket(RunLoopSocket &, const base::Data &data, int32_t) {
    m_readPending = false;
    m_tempNetData.append(data.bytes(), data.length());
    readReplies();
    return {};
}

base::Opt<void> TradeDataBase::onSocket(RunLoopSocket &, const base::Ref<base::Error> &) {
    // An address that fails while others are left to fail over to is no reason to log in again:
    // only the end of the last one is.
    if (m_connectLoginInfo->isConnecting && hasAddressLeftToTry())
        return {};
    base::NotificationCenter::shared().post(kAppNotify, nullptr,
                                            base::Dict{{"MSG_ID", "Trader_MSG"}, {"Data", "ReLaunchTrader"}});
    return {};
}

bool TradeDataBase::hasAddressLeftToTry() const {
    const WTTraderAddressList &list = m_connectLoginInfo->addressArray;
    for (size_t i = 0; i < list.size(); ++i)
        if (int(i) != m_connectLoginInfo->connectIndex && !list[i]->connectFail())
            return true;
    return false;
}

base::Opt<void> TradeDataBase::onSocketDidDisconnect(RunLoopSocket &) {
    m_socketInUse = false;
    TradeMsgCenter::sharedTradeMsgCenter()->TradeConnectionClosed();
    OnTradeConnectSuccessOrFail(false);
    return {};
}
