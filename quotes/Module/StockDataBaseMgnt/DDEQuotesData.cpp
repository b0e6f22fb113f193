#include "Module/StockDataBaseMgnt/DDEQuotesData.h"

#include "DataBase/DataBase.h"

base::Ref<DDEQuotesData> DDEQuotesData::create(std::string observerName, int32_t extendedFieldsFlag) {
    auto data = base::make<DDEQuotesData>();
    data->m_observerName = std::move(observerName);
    data->m_rows->items.reserve(size_t(MyStockQuotesData::MaxRows));
    data->m_quotes = MyStockQuotesData::create();
    data->m_quotes->setMyStockDataArray(data->m_rows);
    data->m_quotes->extendedFieldsFlag = extendedFieldsFlag;
    base::Weak<DDEQuotesData> weak = data;
    base::NotificationCenter::shared().addObserver(weak, data->m_observerName,
                                                   [weak](const base::Notification &n) {
                                                       if (auto alive = weak.lock())
                                                           DataBase::ProcRecvNotify(n, *alive);
                                                   });
    return data;
}

DDEQuotesData::~DDEQuotesData() {
    base::NotificationCenter::shared().removeObserver(this);
}

void DDEQuotesData::MyStock_RereqMyStockQuotes() {
    m_quotes->clearPageQuotesArray();
    MyStock_ReqQuotesByPage(0);
}

std::optional<QuoteRecords> DDEQuotesData::MyStock_SortQuotes(int sortId, int sortType) {
    return m_quotes->beginQuotesSort(sortId, sortType, int(m_rows->items.size()), m_observerName);
}

void DDEQuotesData::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType == QuoteListType && params)
        ProcQuotes(params);
}

void DDEQuotesData::ProcQuotes(const base::Ref<ReqParams> &params) {
    // Another list's source under the same name asked for this one.
    if (!m_quotes->holds(params->object("rspArray")))
        return;
    std::optional<QuoteRecords> records;
    int startid = 0, value = 0;
    int result = m_quotes->ProcQuotes(int(params->get("tag").intValue()), records, startid, value);
    bool scrollToTop = false;
    switch (result) {
    case MyStockQuotesData::SortReply:
        if (!records)
            return;
        scrollToTop = true;
        break;
    case MyStockQuotesData::PageReply:
        scrollToTop = value == 0;
        break;
    case MyStockQuotesData::VisibleReply:
        break;
    default:
        return;
    }
    if (auto delegate = m_delegate.lock())
        delegate->UpdateMyStockArray(m_rows, scrollToTop && !m_rows->items.empty());
}
