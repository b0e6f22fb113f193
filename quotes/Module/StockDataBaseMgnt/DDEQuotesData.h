#pragma once

#include "Module/StockDataBaseMgnt/MyStockQuotesData.h"
#include "base/NotificationCenter.h"

// What a view showing the watch-list with big-order columns implements.
class DDEQuotesDataDelegate {
public:
    virtual ~DDEQuotesDataDelegate() = default;
    virtual base::Opt<void> UpdateMyStockArray(const base::Ref<MyStockRowList> &rows, bool isScrollToTop) {
        (void)rows, (void)isScrollToTop;
        return base::notImplemented;
    }
};

// The watch-list quotes for views that do not handle replies themselves: owns the rows and a
// MyStockQuotesData, receives the replies under its observer name and tells its delegate when
// the rows changed.
class DDEQuotesData : public base::Object, public DataPoolDelegate {
public:
    static constexpr int QuoteListType = 2955;

    static base::Ref<DDEQuotesData> create(std::string observerName, int32_t extendedFieldsFlag);
    ~DDEQuotesData() override;

    void createMyStockDataArray(const base::Array &entries) { m_quotes->createMyStockDataArray(entries); }
    const base::Ref<MyStockRowList> &getMyStockDataArray() const { return m_rows; }
    void MyStock_ReqQuotesByPage(int page) { m_quotes->reqQuotesByPage(page, m_observerName); }
    // Asks the whole list again from its first page.
    void MyStock_RereqMyStockQuotes();
    void MyStock_PrereqNextPageQuotes(double offset, double rowHeight) {
        m_quotes->prereqNextPageQuotes(offset, rowHeight, m_observerName);
    }
    void MyStock_ReqCurScreenQuotes(const std::vector<int> &visibleRows) {
        m_quotes->reqCurScreenQuotes(visibleRows, m_observerName);
    }
    std::optional<QuoteRecords> MyStock_SortQuotes(int sortId, int sortType);

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void setDelegate(base::Weak<DDEQuotesDataDelegate> delegate) { m_delegate = std::move(delegate); }
    const base::Ref<MyStockQuotesData> &myStockQuotesData() const { return m_quotes; }

private:
    void ProcQuotes(const base::Ref<ReqParams> &params);

    std::string m_observerName;
    base::Ref<MyStockRowList> m_rows = base::make<MyStockRowList>();
    base::Ref<MyStockQuotesData> m_quotes;
    base::Weak<DDEQuotesDataDelegate> m_delegate;
};
