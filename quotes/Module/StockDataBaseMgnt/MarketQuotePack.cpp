#include "Module/StockDataBaseMgnt/MarketQuotePack.h"

#include "DataBase/DataBase.h"

size_t MarketQuotePack::rowCount() const {
    return isOpenFundClass() ? m_fundArray->items.size() : m_rspArray->items.size();
}

bool MarketQuotePack::holds(const base::Ref<base::Object> &array) const {
    return array == m_rspArray || array == m_fundArray;
}

void MarketQuotePack::trimRows(size_t count) {
    if (m_rspArray->items.size() > count)
        m_rspArray->items.resize(count);
    if (m_fundArray->items.size() > count)
        m_fundArray->items.resize(count);
}

void MarketQuotePack::clearReqInfo() {
    pageNo = totalCount = 0;
    answered = false;
    m_rspArray = base::make<StockQuoteList>();
    m_fundArray = base::make<NetDataCenter::ObjectList>();
}

bool MarketQuotePack::reqNextPageQuotes(bool isProduct, int tag, const QuoteRequester &requester) {
    size_t held = rowCount();
    if ((held > 0 || answered) && (totalCount <= 0 || held >= size_t(totalCount)))
        return false;
    // Counted in the page size asked for, so that a changed size neither repeats nor overlaps.
    pageNo = int32_t(held / size_t(pageSize()));
    reqCurPageQuotes(isProduct, tag, requester);
    return true;
}

void MarketQuotePack::reqCurPageQuotes(bool isProduct, int tag, const QuoteRequester &requester) {
    int start = pageNo * pageSize();
    reqQuotes(isProduct, start, pageSize(), tag, start > 0 ? 1 : 0, requester);
}

void MarketQuotePack::reqQuotes(bool isProduct, int startid, int count, int tag, int fillType,
                                const QuoteRequester &requester) {
    auto center = DataBase::sharedDataBase()->IO_NetDataCenter();
    if (!center)
        return;
    if (isProduct)
        center->RequestMerchandiseList(requester, classID, sortID, sortType, 0, ProductCount, m_rspArray,
                                       tag);
    else if (isOpenFundClass())
        center->RequestOpenFundList(requester, classID - OpenFundFirstClass, 0, startid, count, sortID,
                                    sortType, m_fundArray, tag, fillType, totalCount);
    else
        center->RequestStockListCom(requester, classID, extendedFieldsFlag, sortID, sortType, startid, count,
                                    m_rspArray, tag, fillType, totalCount);
}

int MarketQuotePack::makeReqQuotesTag(int tabIndex, bool onlyReqCurScreen) {
    return tabIndex * 100 + 101 + (onlyReqCurScreen ? 1 : 0);
}

void MarketQuotePack::parseReqQuotesTag(int tag, int &tabIndex, int &kind) {
    tabIndex = tag / 100 - 1;
    kind = tag % 100;
}
