#pragma once

#include "DataBase/TradeQuery/TradeDataLayerBase.h"

#include "base/Value.h"

#include <optional>
#include <string>

// The paging shared by the trade list queries: a query for today, for a date range or without
// dates, asked for 15 rows at a time; the pages received are cached (entry i is page i, its rows
// under "DataArray") and shown again without a request, and every page shown gets its page text.
//
// Searches: SearchData answers -1 when refused (connection down: alert "交易服务器已断开，请重新登录！";
// a date that is not 8 digits once the "-" are gone: "起始日期(%@)无效！" / "截至日期(%@)无效！"; start
// after end: "起始日期(%@)不能大于截至日期(%@)！"; a query outstanding; the same history range again:
// nothing happens), 1 for today's list, 2 for a history range. Each search starts a new generation
// that its requests carry; replies of an older search change nothing. A failed page reply (also a
// request the connection could not answer) ends the query with a tip of the server's text and keeps
// the page shown. The objects have no time-out of their own.
class TradePageQueryDataBase : public TradeDataLayerBase {
public:
    static constexpr int kPageSize = 15;
    static constexpr const char *kRowsKey = "DataArray";

    // What a search or a page answers.
    enum QueryType : int8_t { kNoQuery = 0, kToday = 1, kHistory = 2, kList3 = 3 };

    using TradeDataLayerBase::TradeDataLayerBase;

    int SearchData(const std::string &startDate, const std::string &endDate,
                   const std::optional<base::Dict> &params = std::nullopt);
    void SearchData3();
    // -1 refused, 0 shown from the cache or nothing more to fetch, else the query type asked.
    int GotoNextPage(const std::optional<base::Dict> &params = std::nullopt);
    void GotoPrevPage();
    std::optional<base::Array> getDataArrayOfCurrentPage() const {
        return getDataArrayOfPage(m_currentPageNo);
    }
    std::optional<base::Array> getDataArrayOfPage(int page) const;
    // Takes over the other's pages (shared, not copied), position, range and texts; sends nothing.
    void CopyFromDealData(const TradePageQueryDataBase &other);

    int pageSize() const { return kPageSize; }
    int currentPageNo() const { return m_currentPageNo; }
    void setCurrentPageNo(int page) { m_currentPageNo = page; }
    const std::optional<std::string> &currentStartDate() const { return m_currentStartDate; }
    const std::optional<std::string> &currentEndDate() const { return m_currentEndDate; }
    void setCurrentStartDate(std::optional<std::string> date) { m_currentStartDate = std::move(date); }
    void setCurrentEndDate(std::optional<std::string> date) { m_currentEndDate = std::move(date); }
    const std::string &currentPageInfo() const { return m_currentPageInfo; }
    void setCurrentPageInfo(std::string info) { m_currentPageInfo = std::move(info); }
    const std::optional<std::string> &totalNum() const { return m_totalNum; }
    void setTotalNum(std::optional<std::string> total) { m_totalNum = std::move(total); }
    bool isGetAllQueryData() const { return m_isGetAllQueryData; }
    void setIsGetAllQueryData(bool all) { m_isGetAllQueryData = all; }
    int8_t queryType() const { return m_queryType; }
    void setQueryType(int8_t type) { m_queryType = type; }
    bool isQuerying() const { return m_isQuerying; }
    const base::Array &pageDataArray() const { return m_pageDataArray; }

protected:
    virtual void reqTodayList(int start, int count) { (void)start, (void)count; }
    virtual void reqHistoryList(int start, int count) { (void)start, (void)count; }
    virtual void reqTodayList(int start, int count, const base::Dict &params) {
        (void)start, (void)count, (void)params;
    }
    virtual void reqHistoryList(int start, int count, const base::Dict &params) {
        (void)start, (void)count, (void)params;
    }
    virtual void reqList3(int start, int count) { (void)start, (void)count; }
    virtual void QueryBegin() { m_isQuerying = true; }
    virtual void QueryEnd() { m_isQuerying = false; }
    virtual void UpdateViewWithArray(const std::optional<base::Array> &rows, const std::string &pageInfo) {
        (void)rows, (void)pageInfo;
    }

    // A page reply (or failure) of this object's list function.
    void ProcRspData(const TradeRspData &rsp, const std::optional<base::Dict> &params);
    void UpdatePage(int page, const std::optional<std::string> &total);
    void initSearchVars();
    // The entries the request builders add to their reply params: this search's generation.
    base::Dict searchTag() const { return base::Dict{{kGenerationKey, m_generation}}; }

private:
    static constexpr const char *kGenerationKey = "SearchGeneration";

    std::optional<base::Dict> getPageDicWithCreate(int page);
    std::optional<base::Dict> getPageDic(int page) const;
    void sendPage(int start, const std::optional<base::Dict> &params);

    std::optional<std::string> m_totalNum;
    base::Array m_pageDataArray;
    bool m_isQuerying = false;
    int m_currentPageNo = 0;
    std::optional<std::string> m_currentStartDate;
    std::optional<std::string> m_currentEndDate;
    std::string m_currentPageInfo;
    bool m_isGetAllQueryData = false;
    int8_t m_queryType = kNoQuery;
    int64_t m_generation = 0;
};
