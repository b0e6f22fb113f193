// The traffic half of the coordinator: the request queue with one request in flight, the frame
// reader and the dispatch of each reply to its parser and its requester.
#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "base/Str.h"

#include <algorithm>

namespace {

constexpr int HeartBeatType = 2925;
constexpr int AccountErrorType = 2907;
constexpr int NavigationType = 1000;
constexpr int AlarmType = 3001;
// Replies never carry these ids for a request.
constexpr uint8_t NoSeqID = 0;
constexpr uint8_t UnmatchedSeqID = 125;

} // namespace

void DataBase::MakeRequestGroup(const QuoteRequestRecord &record) {
    if (!m_RunLoopSocket || !m_RunLoopSocket->isConnected()) {
        releasePack(record);
        return;
    }
    // A request whose id has come round again replaces the one still waiting.
    std::erase_if(m_requestGroups, [&](const QuoteRequestRecord &queued) {
        if (queued.seqID != record.seqID)
            return false;
        releasePack(queued);
        return true;
    });
    m_requestGroups.push_back(record);
    SendRequest();
}

void DataBase::SendRequest() {
    if (m_inFlight || !m_RunLoopSocket->isConnected())
        return;
    while (!m_requestGroups.empty()) {
        QuoteRequestRecord &head = m_requestGroups.front();
        if (head.reqType == HeartBeatType) {
            m_RunLoopSocket->writeData(head.data, IOTimeout, HeartBeatType);
        } else if (IsValidRequest(head)) {
            break;
        }
        m_requestGroups.pop_front();
    }
    if (m_requestGroups.empty())
        return;
    m_inFlight = std::move(m_requestGroups.front());
    m_requestGroups.pop_front();
    IO_SendBytes += int32_t(m_inFlight->data.length());
    m_RunLoopSocket->writeData(m_inFlight->data, IOTimeout, m_inFlight->reqType);
    startRead(m_inFlight->reqType);
    armReplyTimer();
}

bool DataBase::IsValidRequest(const QuoteRequestRecord &record) const {
    if (!record.reqParams)
        return true;
    int64_t reqNo = record.reqParams->get("stockDetailReqNo").intValue();
    return reqNo <= 0 || m_NetDataCenter->isValidStockDetailReqNo(int32_t(reqNo));
}

void DataBase::startRead(int32_t tag) {
    if (m_readPending)
        return;
    m_readPending = true;
    m_RunLoopSocket->readDataWithTimeout(-1, tag);
}

void DataBase::armReplyTimer() {
    stopReplyTimer();
    base::Weak<DataBase> weak = self<DataBase>();
    m_replyTimer =
        base::Timer::scheduled(IOTimeout, false, base::Action("OnReplyTimeout", [weak](base::Object *) {
                                   if (auto alive = weak.lock())
                                       alive->OnReplyTimeout();
                               }));
}

void DataBase::stopReplyTimer() {
    if (m_replyTimer)
        m_replyTimer->invalidate();
    m_replyTimer = nullptr;
}

// Silence while a reply is awaited ends the link as a read time-out of the socket would.
void DataBase::OnReplyTimeout() {
    m_replyTimer = nullptr;
    if (!m_RunLoopSocket || !m_RunLoopSocket->isConnected())
        return;
    onSocket(*m_RunLoopSocket, RunLoopSocket::makeError(RunLoopSocket::ReadTimeoutError));
    m_RunLoopSocket->disconnect();
}

void DataBase::ClearRequestGroups() {
    for (const QuoteRequestRecord &record : m_requestGroups)
        releasePack(record);
    if (m_inFlight)
        releasePack(*m_inFlight);
    m_requestGroups.clear();
    m_inFlight.reset();
    m_tempNetData = base::Data();
    m_readPending = false;
    stopReplyTimer();
    ++m_bufferGeneration;
}

// A dropped request leaves its request state idle, so that the series asks again.
void DataBase::releasePack(const QuoteRequestRecord &record) {
    if (!record.reqParams)
        return;
    if (auto pack = RequestPosItem::getPackFromDict(record.reqParams->object("pack")))
        pack->isIdle = true;
}

void DataBase::CleanTempData(size_t count) {
    if (count == 0 || m_tempNetData.empty())
        return;
    m_tempNetData.removeFront(std::min(count, m_tempNetData.length()));
}

void DataBase::closeWithProtocolError() {
    m_RunLoopSocket->disconnect();
}

base::Opt<void> DataBase::onSocket(RunLoopSocket &, const base::Data &data, int32_t tag) {
    m_readPending = false;
    IO_RecvBytes += int32_t(data.length());
    m_tempNetData.append(data);
    const uint64_t generation = m_bufferGeneration;
    while (m_RunLoopSocket->isConnected() && generation == m_bufferGeneration) {
        std::optional<NTDataPageHead> head = NTDataPageHead::read(m_tempNetData.span());
        if (!head)
            break;
        // A length no reply can have is a broken stream, not a reason to wait or to allocate.
        if (head->bodyLength > NetDataCenter::MaxCodeTableBytes) {
            closeWithProtocolError();
            return {};
        }
        if (m_tempNetData.length() < head->frameLength())
            break;
        ParseNetData(int16_t(head->type), head->bodyLength, head->seqID);
        if (generation != m_bufferGeneration)
            return {};
        CleanTempData(size_t(head->frameLength()));
    }
    if (!m_RunLoopSocket->isConnected() || generation != m_bufferGeneration)
        return {};
    // A push on an idle link leaves nothing awaited; a part of a frame or a request in flight
    // restarts the silence allowed.
    startRead(tag);
    if (!m_tempNetData.empty() || m_inFlight) {
        armReplyTimer();
    } else {
        stopReplyTimer();
        SendRequest();
    }
    return {};
}

void DataBase::ParseNetData(int16_t type, uint32_t bodyLen, uint8_t seqID) {
    uint32_t headerLength =
        uint16_t(type) == NTDataPageHead::LongHeaderType ? NTDataPageHead::LongSize : NTDataPageHead::Size;
    ByteView frame = m_tempNetData.span().first(headerLength + bodyLen);
    if (type == AccountErrorType) {
        ProcAccountError(m_NetDataCenter->ParseAccountError(frame));
        return;
    }
    // Only the request in flight can be answered; a push or a stray frame leaves it waiting.
    bool answersInFlight =
        m_inFlight && (type == NavigationType ||
                       (seqID != NoSeqID && seqID != UnmatchedSeqID && m_inFlight->seqID == seqID));
    if (!answersInFlight) {
        if (type == AlarmType)
            m_NetDataCenter->ParseAlarmPushData(frame);
        return;
    }
    const QuoteRequestRecord record = *m_inFlight;
    const uint64_t generation = m_bufferGeneration;
    if (IsValidRequest(record)) {
        int requested = record.reqType;
        if (type >= 1 && type != requested) {
            Util::ShowTipBox(base::str::format(
                "！！！！！！致命错误，请求号不匹配(%d != %d)，断开连接！！！！！！", requested, int(type)));
            closeWithProtocolError();
            return;
        }
        int effective = type;
        if (type <= 0 && (requested == 2312 || requested == 2313 || requested == 2314))
            effective = requested;
        parseReply(effective, frame, record.reqParams);
        advanceLogin(effective, record.reqParams);
        if (std::holds_alternative<std::monostate>(record.delegate))
            DataPoolCallBack(effective, record.reqParams);
        else
            processRsp(record.delegate, effective, record.reqParams);
    }
    if (generation == m_bufferGeneration)
        m_inFlight.reset();
    progressStep();
}

void DataBase::parseReply(int type, ByteView frame, const base::Ref<ReqParams> &params) {
    NetDataCenter &center = *m_NetDataCenter;
    switch (type) {
    case 1000:
        center.ParseServerAddress(frame);
        break;
    case 1003:
        center.ParseSecuritiesAddressInfo(frame);
        break;
    case 2206:
    case 2310:
    case 2915:
    case 2939:
    case 2940:
        NetDataCenter::ParseStockDetailInfo(type, frame, params);
        break;
    case 2207:
        center.ParseMarketIndex(frame);
        break;
    case 2300:
    case 2301:
        NetDataCenter::ParseFundList(frame, params);
        break;
    case 2311:
    case 2312:
    case 2313:
    case 2314:
    case 2917:
    case 2922:
    case 2923:
    case 2924:
    case 2931:
    case 2932:
    case 2965:
    case 2966:
    case 2969:
    case 2970:
    case 2971:
    case 2976:
    case 2977:
        center.ParseRspArray(type, frame, params);
        break;
    case 2330:
        NetDataCenter::ParseFundCompany(frame, params);
        break;
    case 2331:
        NetDataCenter::ParseOpenFundList(frame, params);
        break;
    case 2600:
        center.ParseRealInformation(frame, params);
        break;
    case 2908:
        center.ParseRecommUser(frame);
        break;
    case 2912:
        NetDataCenter::ParseUpDownMyStocksByUserName(frame, params);
        break;
    case 2918:
    case 2919:
    case 2920:
    case 2928:
        NetDataCenter::ParseLevel2DD_(type, frame, params);
        break;
    case 2929:
        NetDataCenter::ParseIndexGX(frame, params);
        break;
    case 2933:
        NetDataCenter::ParseLevel2BS(frame, params);
        break;
    case 2936:
        center.ParseUserInf(frame);
        break;
    case 2937:
        center.ParseProdClass(frame);
        break;
    case 2938:
        NetDataCenter::ParseMerchandiseList(frame, params);
        break;
    case 2942:
        center.ParseMinLine(frame, params);
        break;
    case 2943:
        center.ParseSearchStocks(frame, params);
        break;
    case 2944:
        center.ParseKLine(frame, params);
        break;
    case 2949:
        NetDataCenter::ParseStockPoolConfigInfo(frame, params);
        break;
    case 2950:
        NetDataCenter::ParseStockPoolStockList(frame, params);
        break;
    case 2955:
        center.ParseStockListCom(frame, params);
        break;
    case 2956:
        center.ParseMarketStockList(frame, params);
        break;
    case 2963:
        center.ParseServerTime(frame);
        break;
    case 2968:
        center.ParseSearchStocksWithPrice(frame, params);
        break;
    case 2972:
        NetDataCenter::ParseWebPower(frame, params);
        break;
    case 3001:
        center.ParseAlarmData(frame, params);
        break;
    default:
        // Delivered with the parameters as the builder left them.
        break;
    }
}

void DataBase::processRsp(const QuoteRequester &requester, int32_t reqType,
                          const base::Ref<ReqParams> &reqParams) {
    if (const std::string *name = std::get_if<std::string>(&requester)) {
        base::Dict info{{NetDataNotify, reqType}};
        if (reqParams)
            info.set("ReqParams", reqParams);
        base::NotificationCenter::shared().post(*name, nullptr, std::move(info));
    } else if (const auto *object = std::get_if<base::Ref<DataPoolDelegate>>(&requester)) {
        if (*object)
            (*object)->DataPoolCallBack(reqType, reqParams);
    }
}

bool DataBase::ProcRecvNotify(const base::Notification &notification, DataPoolDelegate &delegate) {
    if (!notification.userInfo.has(NetDataNotify))
        return false;
    auto type = int32_t(notification.userInfo.get(NetDataNotify).intValue());
    delegate.DataPoolCallBack(type, notification.userInfo.get("ReqParams").objectAs<ReqParams>());
    return true;
}
