#include "Module/StockDataBaseMgnt/IndexQuotesData.h"

#include "DataBase/DataBase.h"
#include "DataBase/NetData/RequestPosItem.h"

IndexQuotesData::IndexQuotesData() {
    m_pack->extendedFieldsFlag = 1;
    m_pack->sortID = 1;
}

IndexQuotesData::~IndexQuotesData() {
    base::NotificationCenter::shared().removeObserver(this);
}

void IndexQuotesData::SetObserverName(std::string name, int tabIndex) {
    m_observerName = std::move(name);
    m_tabIndex = tabIndex;
    base::Weak<IndexQuotesData> weak = self<IndexQuotesData>();
    base::NotificationCenter::shared().addObserver(weak, m_observerName, [weak](const base::Notification &n) {
        if (auto alive = weak.lock())
            DataBase::ProcRecvNotify(n, *alive);
    });
}

void IndexQuotesData::reqIndexVisibleQuotes() {
    if (auto delegate = m_delegate.lock())
        reqIndexVisibleQuotes(delegate->getVisibleCodes());
}

void IndexQuotesData::reqIndexVisibleQuotes(const std::vector<std::string> &codes) {
    auto center = DataBase::sharedDataBase()->IO_NetDataCenter();
    if (center && !codes.empty())
        center->RequestPauseList(m_observerName, 1, codes, m_pack->rspArray(),
                                 MarketQuotePack::makeReqQuotesTag(m_tabIndex, false));
}

void IndexQuotesData::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    auto delegate = m_delegate.lock();
    if (!params || !delegate)
        return;
    int tag = int(params->get("tag").intValue());
    if (reqType == MLineNetData::MinLineReplyType) {
        auto pack = MinLinePack::getMinLinePackFromDict(params->object("pack"));
        if (pack && tag == m_tabIndex + 1)
            delegate->UpdateMinLine(params->get("code").stringValue(), pack->rspArray);
        return;
    }
    if (reqType != 2955)
        return;
    int tabIndex = 0, kind = 0;
    MarketQuotePack::parseReqQuotesTag(tag, tabIndex, kind);
    if (tabIndex != m_tabIndex)
        return;
    if (kind == MarketQuotePack::PageKind && m_pack->totalCount <= 0)
        if (int64_t total = params->get("totalCount").intValue(); total > 0)
            m_pack->totalCount = int32_t(total);
    delegate->UpdateTableDataSource(m_pack->rspArray());
}
