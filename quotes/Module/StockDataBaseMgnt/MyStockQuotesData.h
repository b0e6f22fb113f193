#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "base/Object.h"
#include "base/Value.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// One row of a watch-list table: the entry's code and name (absent when the entry has none) and
// the latest quote of the code, always present.
class MyStockRow : public base::Object {
public:
    std::optional<std::string> MarketCode;
    std::optional<std::string> StockName;
    base::Ref<StockQuoteInf> basicInf;
};
using MyStockRowList = RecordList<MyStockRow>;
using QuoteRecords = std::vector<base::Ref<StockQuoteInf>>;

// The state of one request for the quotes of a list of codes.
class MyStockQuotePack : public base::Object {
public:
    base::Ref<StockQuoteList> rspArray = base::make<StockQuoteList>();
    int32_t startid = 0;
    // NO while a visible-rows request is outstanding.
    bool isIdle = true;
    bool isReq = false;
    bool isLoaded = false;
};

// The quotes of a watch-list of up to 100 rows, which the server does not know: the client asks
// for the quotes of explicit code lists and sorts locally. The list is fetched in pages of 25 as
// the user scrolls, the visible rows are refreshed when older than 5 s, and a sort fetches the set
// in two batches of 50 unless it was fetched less than 5 s ago, when the rows held are re-sorted.
// The owner sends with its own requester and hands the replies to ProcQuotes.
class MyStockQuotesData : public base::Object {
public:
    static constexpr int PageSize = 25;
    static constexpr int PageCount = 4;
    static constexpr int BatchSize = 50;
    static constexpr int MaxRows = PageSize * PageCount;
    static constexpr double StaleAge = 5.0;
    // Tags, before the begin tag is added.
    static constexpr int SortBatch1Tag = 1;
    static constexpr int SortBatch2Tag = 2;
    static constexpr int PageTag = 100;
    static constexpr int VisibleTag = 200;
    // Results of ProcQuotes.
    enum Reply { PageReply = 1, SortReply = 2, VisibleReply = 3, NotMine = -1 };

    // A source that marks its visible-rows request idle again when the connection comes back.
    static base::Ref<MyStockQuotesData> create();
    ~MyStockQuotesData() override;

    // The rows are the owner's; this source does not retain them.
    void setMyStockDataArray(const base::Ref<MyStockRowList> &rows) { m_rows = rows; }
    base::Ref<MyStockRowList> myStockDataArray() const { return m_rows.lock(); }
    int32_t extendedFieldsFlag = 0;
    void SetBeginTag(int32_t tag) { m_beginTag = tag; }

    // Rebuilds the rows in the entries' order ({"MarketCode", "StockName"} dictionaries); codes
    // that stay keep their quotes, new ones start stale.
    void createMyStockDataArray(const base::Array &entries);
    void reqQuotesByPage(int page, const QuoteRequester &requester);
    void prereqNextPageQuotes(double offset, double rowHeight, const QuoteRequester &requester);
    void reqVisibleQuotes(const std::vector<std::string> &codes, int startid, int ktype,
                          const QuoteRequester &requester);
    // The same for the records a chart grid shows, each stamped as asked now.
    void reqVisibleQuotes(const std::vector<base::Ref<StockQuoteInf>> &records, int startid, int ktype,
                          const QuoteRequester &requester);
    // `visibleRows` are row indexes of the table.
    void reqCurScreenQuotes(const std::vector<int> &visibleRows, const QuoteRequester &requester);
    // Appends the quotes of the visible rows with a code; asks again when any is stale. Answers
    // whether one was.
    bool reqCurScreenData(const std::vector<int> &visibleRows, QuoteRecords &result,
                          const QuoteRequester &requester);
    // Nothing while the set is being fetched (the rows follow with the replies); otherwise the
    // records sorted at once.
    std::optional<QuoteRecords> beginQuotesSort(int sortId, int sortType, int count,
                                                const QuoteRequester &requester);
    void reqAllQuotes(int count, const QuoteRequester &requester);
    void clearPageQuotesArray();
    // Applies a reply by its tag: page, sort batch or visible rows, or NotMine. `records` is
    // absent when a first sort batch waits for the second.
    int ProcQuotes(int tag, std::optional<QuoteRecords> &records, int &startid, int &value);
    // Whether a reply's array is one this source asked to be filled: sources that share a requester
    // name hear each other's replies and must drop them.
    bool holds(const base::Ref<base::Object> &array) const;
    bool getPageCodes(std::vector<std::string> &codes, int page, int size) const;
    // Puts each record on the row of its code, looking outward from where it was expected.
    void updateMyStockArrayQuotes(int first, const QuoteRecords &records);
    std::optional<QuoteRecords> sortAndShowMyStock(bool firstBatch);
    QuoteRecords sortLocalAgain();
    QuoteRecords doSort(QuoteRecords records);

    const std::array<base::Ref<MyStockQuotePack>, PageCount> &pageQuotesArray() const { return m_pages; }
    const base::Ref<MyStockQuotePack> &visibleQuotePack() const { return m_visible; }
    int32_t curSordId() const { return m_sortId; }
    int32_t curSortType() const { return m_sortType; }
    // When the whole set was last fetched for a sort; 0 before the first.
    double allQuotesUpdateTick() const { return m_allQuotesUpdateTick.value_or(0); }

private:
    void sendCodes(const std::vector<std::string> &codes, const base::Ref<StockQuoteList> &into, int tag,
                   const QuoteRequester &requester) const;
    std::vector<std::string> visibleCodes(const std::vector<int> &visibleRows, int &first) const;

    base::Weak<MyStockRowList> m_rows;
    std::array<base::Ref<MyStockQuotePack>, PageCount> m_pages;
    base::Ref<MyStockQuotePack> m_visible = base::make<MyStockQuotePack>();
    base::Ref<StockQuoteList> m_batch1 = base::make<StockQuoteList>();
    base::Ref<StockQuoteList> m_batch2 = base::make<StockQuoteList>();
    int32_t m_sortId = 0;
    int32_t m_sortType = 0;
    std::optional<double> m_allQuotesUpdateTick;
    int32_t m_beginTag = 0;
};
