#include "Module/StockDataBaseMgnt/StockQuotesData.h"

#include "DataBase/DataBase.h"
#include "DataBase/NetData/RequestPosItem.h"

namespace {

constexpr int ListTypes[] = {2300, 2301, 2331, 2938, 2955};

base::Ref<NetDataCenter> center() {
    return DataBase::sharedDataBase()->IO_NetDataCenter();
}

} // namespace

StockQuotesData::StockQuotesData() {
    m_pack->extendedFieldsFlag = 511;
    m_pack->sortID = 1;
}

StockQuotesData::~StockQuotesData() {
    base::NotificationCenter::shared().removeObserver(this);
}

void StockQuotesData::SetObserverName(std::string name, int tabIndex, int classID) {
    m_observerName = std::move(name);
    m_tabIndex = tabIndex;
    m_pack->classID = classID;
    base::Weak<StockQuotesData> weak = self<StockQuotesData>();
    base::NotificationCenter::shared().addObserver(weak, m_observerName, [weak](const base::Notification &n) {
        if (auto alive = weak.lock())
            DataBase::ProcRecvNotify(n, *alive);
    });
}

void StockQuotesData::SetIsCurrClass() {
    m_isCurrClass = true;
    if (!m_udiQuoteArray)
        m_udiQuoteArray = base::make<StockQuoteList>();
}

base::Ref<base::Object> StockQuotesData::rows() const {
    if (m_pack->isOpenFundClass())
        return m_pack->fundArray();
    return m_pack->rspArray();
}

void StockQuotesData::tellRows(bool isFirst) {
    if (auto delegate = m_delegate.lock())
        delegate->UpdateTableDataSource(rows(), isFirst);
}

bool StockQuotesData::isMinLineMode() {
    auto delegate = m_delegate.lock();
    return delegate && delegate->isMinLineMode().valueOr(false);
}

void StockQuotesData::reqDataFirst() {
    gotoQuotesNextPage();
    if (m_isCurrClass)
        reqUDI();
}

void StockQuotesData::gotoQuotesNextPage() {
    int tag = MarketQuotePack::makeReqQuotesTag(m_tabIndex, false);
    if (m_pack->reqNextPageQuotes(m_isProdClass, tag, m_observerName) && !m_isProdClass)
        tellRows(m_pack->pageNo == 0);
}

void StockQuotesData::reqStockQuotes(int startid, int count) {
    if (m_pack->totalCount < 1)
        return;
    m_pack->reqQuotes(m_isProdClass, startid, count, MarketQuotePack::makeReqQuotesTag(m_tabIndex, true), 1,
                      m_observerName);
}

void StockQuotesData::reqQuotesList(MarketQuotePack &pack) {
    pack.reqCurPageQuotes(m_isProdClass, MarketQuotePack::makeReqQuotesTag(m_tabIndex, false),
                          m_observerName);
}

void StockQuotesData::restartList() {
    m_pack->clearReqInfo();
    reqQuotesList(*m_pack);
}

void StockQuotesData::resetQuotesClassId(int classID) {
    m_pack->classID = classID;
    restartList();
}

void StockQuotesData::resetQuotesSortId(int sortID) {
    if (sortID == m_pack->sortID)
        return;
    m_pack->sortID = sortID;
    restartList();
}

void StockQuotesData::resetQuotesSortType(int sortType) {
    if (sortType == m_pack->sortType)
        return;
    m_pack->sortType = sortType;
    restartList();
}

void StockQuotesData::resetQuotesSortId(int sortID, int sortType) {
    if (sortID == m_pack->sortID && sortType == m_pack->sortType)
        return;
    m_pack->sortID = sortID;
    m_pack->sortType = sortType;
    restartList();
}

void StockQuotesData::DelBottomRows(int count) {
    if (count < 0 || m_pack->rowCount() < size_t(count) + TrimSurplus)
        return;
    m_pack->trimRows(size_t(count));
    tellRows(false);
}

void StockQuotesData::reqUDI() {
    if (!m_isCurrClass)
        return;
    reqUDIQuote();
    reqUDIMinLine();
}

void StockQuotesData::reqUDIQuote() {
    if (auto c = center(); c && m_udiQuoteArray)
        c->RequestPauseList(m_observerName, 0, {UDICode}, m_udiQuoteArray, UDITag);
}

void StockQuotesData::reqUDIMinLine() {
    if (auto c = center(); c && c->IO_MLib)
        c->IO_MLib->reqMinLine(m_observerName, UDICode, UDITag);
}

void StockQuotesData::reqBoardIndexQuote(const std::string &code) {
    if (auto c = center())
        c->RequestPauseList(m_observerName, m_pack->extendedFieldsFlag, {code}, m_BIQuoteArray,
                            BoardIndexTag);
}

void StockQuotesData::reqBoardIndexMinLine(const std::string &code) {
    if (auto c = center(); c && c->IO_MLib)
        c->IO_MLib->reqMinLine(m_observerName, code, BoardIndexTag);
}

void StockQuotesData::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (!params)
        return;
    if (reqType == MLineNetData::MinLineReplyType) {
        ProcMinLine(params);
        return;
    }
    for (int type : ListTypes)
        if (reqType == type)
            ProcQuotes(params);
}

void StockQuotesData::ProcQuotes(const base::Ref<ReqParams> &params) {
    int tag = int(params->get("tag").intValue());
    auto delegate = m_delegate.lock();
    if (tag == UDITag) {
        if (!m_udiQuoteArray || !delegate)
            return;
        for (const auto &record : m_udiQuoteArray->items)
            if (record->code == UDICode) {
                delegate->UpdateUDI(record);
                return;
            }
        return;
    }
    if (tag == BoardIndexTag) {
        // Drill-downs of two pages share a name: each takes only the board quote it asked for.
        if (params->object("rspArray") != m_BIQuoteArray)
            return;
        if (delegate && !m_BIQuoteArray->items.empty())
            delegate->UpdateBoardIndexQuote(m_BIQuoteArray->items.front());
        return;
    }
    int tabIndex = 0, kind = 0;
    MarketQuotePack::parseReqQuotesTag(tag, tabIndex, kind);
    // A reply for a list since reset fills an array no longer shown.
    if (tabIndex != m_tabIndex || !m_pack->holds(params->object("rspArray")))
        return;
    bool isFirst = false;
    if (kind == MarketQuotePack::PageKind && m_pack->totalCount <= 0) {
        if (int64_t total = params->get("totalCount").intValue(); total > 0)
            m_pack->totalCount = int32_t(total);
        isFirst = true;
    }
    if (kind == MarketQuotePack::PageKind)
        m_pack->answered = true;
    tellRows(isFirst);
    auto mviews = m_mviews.lock();
    if (!mviews || !isMinLineMode())
        return;
    const auto &records = m_pack->rspArray()->items;
    if (kind == MarketQuotePack::PageKind && isFirst)
        mviews->reqMinLinesWithQuotesArray(records, 0, FirstChartRows, m_observerName, m_tabIndex + 1);
    else if (kind == MarketQuotePack::VisibleKind)
        mviews->reqMinLinesWithQuotesArray(records, int(params->get("startid").intValue()),
                                           int(params->get("reqCount").intValue()), m_observerName,
                                           m_tabIndex + 1);
}

void StockQuotesData::ProcMinLine(const base::Ref<ReqParams> &params) {
    auto pack = MinLinePack::getMinLinePackFromDict(params->object("pack"));
    auto delegate = m_delegate.lock();
    if (!pack || !delegate)
        return;
    int tag = int(params->get("tag").intValue());
    std::string code = params->get("code").stringValue();
    if (tag == UDITag && code == UDICode)
        delegate->UpdateUDIMinLine(code, pack->rspArray);
    else if (tag == BoardIndexTag)
        delegate->UpdateBoardIndexMinLine(code, pack->rspArray);
    else if (tag == m_tabIndex + 1)
        delegate->UpdateMinLine(code, pack->rspArray);
}
