#include "Module/StockDataBaseMgnt/BoardElementsData.h"

#include "DataBase/DataBase.h"

base::Ref<BoardElementsData> BoardElementsData::create(std::string observerName) {
    auto data = base::make<BoardElementsData>();
    data->m_observerName = std::move(observerName);
    data->m_pack->sortID = 1;
    base::Weak<BoardElementsData> weak = data;
    base::NotificationCenter::shared().addObserver(weak, data->m_observerName,
                                                   [weak](const base::Notification &n) {
                                                       if (auto alive = weak.lock())
                                                           DataBase::ProcRecvNotify(n, *alive);
                                                   });
    return data;
}

BoardElementsData::~BoardElementsData() {
    base::NotificationCenter::shared().removeObserver(this);
}

void BoardElementsData::tellRows(bool isFirst) {
    if (auto delegate = m_delegate.lock())
        delegate->UpdateBoardElementArray(m_pack->rspArray(), isFirst);
}

void BoardElementsData::reqBoardStocksFirst(int boardID) {
    m_pack->clearReqInfo();
    m_pack->classID = boardID;
    gotoQuotesNextPage();
}

void BoardElementsData::gotoQuotesNextPage() {
    if (m_pack->reqNextPageQuotes(false, MarketQuotePack::makeReqQuotesTag(0, false), m_observerName))
        tellRows(m_pack->pageNo == 0);
}

void BoardElementsData::reqStockQuotes(int startid, int count) {
    if (m_pack->totalCount >= 1)
        m_pack->reqQuotes(false, startid, count, MarketQuotePack::makeReqQuotesTag(0, true), 1,
                          m_observerName);
}

void BoardElementsData::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType == QuoteListType && params)
        ProcQuotes(params);
}

void BoardElementsData::ProcQuotes(const base::Ref<ReqParams> &params) {
    int tabIndex = 0, kind = 0;
    MarketQuotePack::parseReqQuotesTag(int(params->get("tag").intValue()), tabIndex, kind);
    if (params->get("classID").intValue() != m_pack->classID || tabIndex != 0 ||
        !m_pack->holds(params->object("rspArray")))
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
}
