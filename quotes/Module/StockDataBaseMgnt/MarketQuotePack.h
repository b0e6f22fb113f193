#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "base/Object.h"

#include <cstdint>

// The request state of one paged, server-sorted market list and its rows: the class, the sort,
// the page last asked for and the list's total. It sends the list requests: product lists (2938),
// open-fund lists (class 2300–2399, 2331) and every other list (2955).
class MarketQuotePack : public base::Object {
public:
    static constexpr int DefaultPageSize = 30;
    static constexpr int ProductCount = 50;
    static constexpr int OpenFundFirstClass = 2300;
    static constexpr int OpenFundLastClass = 2399;
    // Kinds of a list tag.
    static constexpr int PageKind = 1;
    static constexpr int VisibleKind = 2;

    // The rows held: quote records, or fund records for an open-fund class. A reset replaces the
    // arrays, so replies still on their way for the old list fill an array no longer shown.
    const base::Ref<StockQuoteList> &rspArray() const { return m_rspArray; }
    const base::Ref<NetDataCenter::ObjectList> &fundArray() const { return m_fundArray; }
    bool isOpenFundClass() const { return classID >= OpenFundFirstClass && classID <= OpenFundLastClass; }
    size_t rowCount() const;
    // Whether a reply's "rspArray" is one of the arrays of the list now held.
    bool holds(const base::Ref<base::Object> &array) const;
    // Trims the rows held to `count`.
    void trimRows(size_t count);

    int32_t classID = 0;
    int32_t sortID = 0;
    int32_t sortType = 0;
    // Rows per page request; 0 or less: 30.
    int32_t reqCount = 0;
    int32_t pageNo = 0;
    int32_t totalCount = 0;
    int32_t extendedFieldsFlag = 0;
    // A page reply of this list has arrived: an empty list then stays empty instead of asking for
    // its first page again.
    bool answered = false;
    int32_t pageSize() const { return reqCount > 0 ? reqCount : DefaultPageSize; }

    // Page and total back to 0, not answered, and a fresh, empty row array.
    void clearReqInfo();
    // Asks for the page after the rows held; NO when rows are held (or the list was answered) and
    // the total is unknown or reached.
    bool reqNextPageQuotes(bool isProduct, int tag, const QuoteRequester &requester);
    void reqCurPageQuotes(bool isProduct, int tag, const QuoteRequester &requester);
    void reqQuotes(bool isProduct, int startid, int count, int tag, int fillType,
                   const QuoteRequester &requester);

    // Tab index × 100 + 101, plus 1 for a refresh of the visible rows.
    static int makeReqQuotesTag(int tabIndex, bool onlyReqCurScreen);
    static void parseReqQuotesTag(int tag, int &tabIndex, int &kind);

private:
    base::Ref<StockQuoteList> m_rspArray = base::make<StockQuoteList>();
    base::Ref<NetDataCenter::ObjectList> m_fundArray = base::make<NetDataCenter::ObjectList>();
};
