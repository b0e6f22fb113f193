#pragma once

#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"
#include "Module/StockDataBaseMgnt/MarketQuotePack.h"
#include "base/NotificationCenter.h"

#include <string>
#include <vector>

using MinutePoints = std::vector<base::Ref<base::Object>>;

// What a market list screen implements; every operation is optional. The rows are the pack's
// active list: a StockQuoteList, or an ObjectList of fund records for an open-fund class.
class StockQuotesDataDelegate {
public:
    virtual ~StockQuotesDataDelegate() = default;
    virtual base::Opt<void> UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                                  bool isFirstGetQuotes) {
        (void)rows, (void)isFirstGetQuotes;
        return base::notImplemented;
    }
    virtual base::Opt<void> UpdateMinLine(const std::string &code, const MinutePoints &points) {
        (void)code, (void)points;
        return base::notImplemented;
    }
    virtual base::Opt<bool> isMinLineMode() { return base::notImplemented; }
    virtual base::Opt<void> UpdateUDI(const base::Ref<StockQuoteInf> &record) {
        (void)record;
        return base::notImplemented;
    }
    virtual base::Opt<void> UpdateUDIMinLine(const std::string &code, const MinutePoints &points) {
        (void)code, (void)points;
        return base::notImplemented;
    }
    virtual base::Opt<void> UpdateBoardIndexQuote(const base::Ref<StockQuoteInf> &record) {
        (void)record;
        return base::notImplemented;
    }
    virtual base::Opt<void> UpdateBoardIndexMinLine(const std::string &code, const MinutePoints &points) {
        (void)code, (void)points;
        return base::notImplemented;
    }
};

// The data source of one list tab of the market screen, of the product list and of the currency
// tab with its US dollar index; it also serves one board index quote and intraday chart. Requests
// go out and replies come back under the observer name.
class StockQuotesData : public base::Object, public DataPoolDelegate {
public:
    static constexpr int UDITag = 20001;
    static constexpr int BoardIndexTag = 20011;
    static constexpr const char *UDICode = "IXUDI";
    // Rows of a first page that get their small charts at once.
    static constexpr int FirstChartRows = 10;
    // Surplus rows tolerated before DelBottomRows trims.
    static constexpr size_t TrimSurplus = 50;

    StockQuotesData();
    ~StockQuotesData() override;

    void SetObserverName(std::string name, int tabIndex, int classID);
    void SetExtendedFieldsFlag(int flag) { m_pack->extendedFieldsFlag = flag; }
    void SetSortID(int id) { m_pack->sortID = id; }
    void SetSortType(int type) { m_pack->sortType = type; }
    void SetReqCount(int count) { m_pack->reqCount = count; }
    int getSortID() const { return m_pack->sortID; }
    int getSortType() const { return m_pack->sortType; }
    void SetIsProdClass() { m_isProdClass = true; }
    void SetIsCurrClass();

    void reqDataFirst();
    void gotoQuotesNextPage();
    void reqStockQuotes(int startid, int count);
    void reqQuotesList(MarketQuotePack &pack);
    void resetQuotesClassId(int classID);
    void resetQuotesSortId(int sortID);
    void resetQuotesSortType(int sortType);
    void resetQuotesSortId(int sortID, int sortType);
    // Trims the rows to `count` once at least 50 more are held.
    void DelBottomRows(int count);
    void reqUDI();
    void reqUDIQuote();
    void reqUDIMinLine();
    void reqBoardIndexQuote(const std::string &code);
    void reqBoardIndexMinLine(const std::string &code);

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;

    // Neither is retained: a screen that is gone is not called.
    void setDelegate(base::Weak<StockQuotesDataDelegate> delegate) { m_delegate = std::move(delegate); }
    void setMviews(base::Weak<MiniViewManager> mviews) { m_mviews = std::move(mviews); }
    const std::string &observerName() const { return m_observerName; }
    const base::Ref<MarketQuotePack> &pack() const { return m_pack; }

private:
    void ProcQuotes(const base::Ref<ReqParams> &params);
    void ProcMinLine(const base::Ref<ReqParams> &params);
    void restartList();
    base::Ref<base::Object> rows() const;
    void tellRows(bool isFirst);
    bool isMinLineMode();

    base::Ref<MarketQuotePack> m_pack = base::make<MarketQuotePack>();
    int m_tabIndex = 0;
    bool m_isProdClass = false;
    bool m_isCurrClass = false;
    base::Ref<StockQuoteList> m_udiQuoteArray;
    base::Ref<StockQuoteList> m_BIQuoteArray = base::make<StockQuoteList>();
    base::Weak<StockQuotesDataDelegate> m_delegate;
    base::Weak<MiniViewManager> m_mviews;
    std::string m_observerName;
};
