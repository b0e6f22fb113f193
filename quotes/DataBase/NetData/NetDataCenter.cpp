#include "DataBase/NetData/NetDataCenter.h"

#include "Common/Util.h"
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "Module/StockDataBaseMgnt/IndexNetData.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"
#include "Module/StockDataBaseMgnt/MLineNetData.h"

#include <algorithm>

namespace {

constexpr double RefreshInterval = 30.0;
constexpr int NavigationType = 1000;
// Ids the reply matcher never matches, and the end of the id range.
constexpr uint8_t UnmatchedSeqID = 125;
constexpr int SeqIDLimit = 250;
// Requests that accept a compressed reply; code tables say so with their own value.
constexpr uint16_t CompressedAttribute = 2;
constexpr uint16_t CodeTableAttribute = 4;
constexpr int CodeTableType = 2956;

// The day candle that dates the quotes: its code, period and tag.
constexpr int CandleType = 2944;
constexpr const char *QuotesDateCode = "SH000001";
constexpr int32_t DayPeriod = 7;
constexpr int32_t QuotesDateTag = 100001;

} // namespace

base::Ref<NetDataCenter> NetDataCenter::create() {
    auto center = base::make<NetDataCenter>();
    base::Weak<NetDataCenter> weak = center;
    center->IO_MLib = base::make<MLineNetData>(weak);
    center->IO_IndexLib = base::make<IndexNetData>(weak);
    // The timer does not keep the layer alive: the layer stops it when it goes.
    center->m_refreshTimer =
        base::Timer::scheduled(RefreshInterval, true, base::Action("OnRefreshTimer", [weak](base::Object *) {
                                   if (auto alive = weak.lock())
                                       alive->OnRefreshTimer();
                               }));
    return center;
}

NetDataCenter::NetDataCenter() : m_deviceID(Util::getUUID("219")) {}

NetDataCenter::~NetDataCenter() {
    if (m_refreshTimer)
        m_refreshTimer->invalidate();
}

bool NetDataCenter::IsEmptyPack(ByteView frame) {
    auto head = NTDataPageHead::read(frame);
    return !head || head->bodyLength == 0;
}

uint8_t NetDataCenter::getNewSeqID(int type) {
    if (type == NavigationType) {
        m_seqID_ = 0;
        return 0;
    }
    int next = m_seqID_ + 1;
    if (next == UnmatchedSeqID)
        next = UnmatchedSeqID + 1;
    if (next >= SeqIDLimit)
        next = 1;
    m_seqID_ = uint8_t(next);
    return m_seqID_;
}

bool NetDataCenter::frame(base::Data &buf, int type, uint16_t attribute, ByteView body) {
    if (body.size() > NTDataPageHead::MaxBodyLength)
        return false;
    return NTDataPageHead::append(buf, getNewSeqID(type), uint16_t(type), attribute, body);
}

bool NetDataCenter::MakeNTDataPage(base::Data &buf, int type, ByteView body, int) {
    return frame(buf, type, NTDataPageHead::PlainAttribute, body);
}

bool NetDataCenter::MakeCompressNTDataPage(base::Data &buf, int type, ByteView body, int) {
    return frame(buf, type, type == CodeTableType ? CodeTableAttribute : CompressedAttribute, body);
}

void NetDataCenter::CreateDirc(base::Data data, const QuoteRequester &delegate, int reqType,
                               base::Ref<ReqParams> reqParams) {
    auto coordinator = theDelegate.lock();
    if (!coordinator)
        return;
    QuoteRequestRecord record;
    record.seqID = data.empty() ? 0 : data.bytes()[0];
    record.data = std::move(data);
    record.reqType = reqType;
    record.delegate = delegate;
    record.reqParams = std::move(reqParams);
    coordinator->MakeRequestGroup(record);
}

void NetDataCenter::sendRequest(int type, const base::Data &body, const QuoteRequester &requester,
                                base::Ref<ReqParams> params, bool compressed) {
    base::Data data;
    bool framed = compressed ? MakeCompressNTDataPage(data, type, body.span())
                             : MakeNTDataPage(data, type, body.span());
    if (framed)
        CreateDirc(std::move(data), requester, type, std::move(params));
}

void NetDataCenter::showTip(const std::string &text) {
    if (auto coordinator = theDelegate.lock())
        coordinator->ShowTipBox(text);
}

void NetDataCenter::OnDisConnect() {
    IO_L2LoginSuccess = false;
    m_sessionID = 0;
    m_rightsMask = 0;
    m_accountPowerArray.clear();
    if (IO_MLib)
        IO_MLib->setAllIdle();
    if (IO_IndexLib)
        IO_IndexLib->setAllIdle();
}

void NetDataCenter::OnRefreshTimer() {
    auto coordinator = theDelegate.lock();
    if (coordinator && coordinator->isHQConnected().valueOr(false)) {
        RequestHeartBeat();
        reqQuotesDate();
    }
    // Stale chart caches are cleared every half hour, connected or not.
    if (--m_cleanCountDown <= 0) {
        LocalFileFunc::clearTempFiles(IO_QuotesDate);
        m_cleanCountDown = CleanTicks;
    }
}

void NetDataCenter::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType != CandleType || !params)
        return;
    auto pack = KLinePack::getKLinePackFromDict(params->object("pack"));
    if (!pack || pack->code != QuotesDateCode || pack->ktype != DayPeriod || pack->tag != QuotesDateTag ||
        pack->rspArray.size() != 1)
        return;
    if (auto candle = std::dynamic_pointer_cast<KLineItem>(pack->rspArray.front()))
        IO_QuotesDate = candle->time;
}

void NetDataCenter::ClearLevel2Account() {
    IO_L2UserName.clear();
    IO_L2Password.clear();
}

void NetDataCenter::addStockDetailReqNo(int32_t reqNo) {
    m_validStockDetailReqNos.push_back(reqNo);
}

void NetDataCenter::removeStockDetailReqNo(int32_t reqNo) {
    std::erase(m_validStockDetailReqNos, reqNo);
}

bool NetDataCenter::isValidStockDetailReqNo(int32_t reqNo) const {
    return std::find(m_validStockDetailReqNos.begin(), m_validStockDetailReqNos.end(), reqNo) !=
           m_validStockDetailReqNos.end();
}
