#include "DataBase/TradeQuery/TradePageQueryDataBase.h"

#include "Common/TimeFunc.h"
#include "Common/Util.h"
#include "DataBase/WT/TradeInterface.h"

#include <algorithm>

namespace {

// A request date: exactly eight ASCII digits once the "-" are removed.
std::optional<std::string> requestDate(const std::string &shown) {
    std::string date = TradeUtil::getRequestDate(shown);
    bool digits = std::all_of(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (date.size() != 8 || !digits)
        return std::nullopt;
    return date;
}

} // namespace

int TradePageQueryDataBase::SearchData(const std::string &startDate, const std::string &endDate,
                                       const std::optional<base::Dict> &params) {
    if (!TradeDataBase::sharedTradeDataBase()->isConnected()) {
        Util::ShowInfoBox(TradeDataBase::kDisconnectedText);
        return -1;
    }
    if (m_isQuerying)
        return -1;
    std::optional<std::string> start = requestDate(startDate);
    if (!start) {
        Util::ShowInfoBox("起始日期(" + startDate + ")无效！");
        return -1;
    }
    std::optional<std::string> end = requestDate(endDate);
    if (!end) {
        Util::ShowInfoBox("截至日期(" + endDate + ")无效！");
        return -1;
    }
    if (*start > *end) {
        Util::ShowInfoBox("起始日期(" + startDate + ")不能大于截至日期(" + endDate + ")！");
        return -1;
    }
    bool todayOnly = TimeFunc::isTodayOfStrDate(*start, "yyyyMMdd") && *start == *end;
    if (!todayOnly && m_currentStartDate == start && m_currentEndDate == end)
        return -1;
    m_queryType = todayOnly ? kToday : kHistory;
    m_currentStartDate = start;
    m_currentEndDate = end;
    initSearchVars();
    sendPage(0, params);
    return m_queryType;
}

void TradePageQueryDataBase::SearchData3() {
    if (m_isQuerying)
        return;
    m_queryType = kList3;
    initSearchVars();
    sendPage(0, std::nullopt);
    QueryBegin();
}

int TradePageQueryDataBase::GotoNextPage(const std::optional<base::Dict> &params) {
    if (m_isQuerying)
        return -1;
    if (m_queryType <= kHistory && (!m_currentStartDate || !m_currentEndDate))
        return -1;
    int next = m_currentPageNo + 1;
    if (getPageDic(next)) {
        UpdatePage(next, m_totalNum);
        return 0;
    }
    if (m_isGetAllQueryData)
        return 0;
    sendPage(next * kPageSize, params);
    QueryBegin();
    return m_queryType;
}

void TradePageQueryDataBase::GotoPrevPage() {
    if (m_isQuerying || m_currentPageNo < 1)
        return;
    if (m_queryType <= kHistory && (!m_currentStartDate || !m_currentEndDate))
        return;
    if (getPageDic(m_currentPageNo - 1))
        UpdatePage(m_currentPageNo - 1, m_totalNum);
}

void TradePageQueryDataBase::sendPage(int start, const std::optional<base::Dict> &params) {
    switch (m_queryType) {
    case kList3:
        reqList3(start, kPageSize);
        break;
    case kHistory:
        params ? reqHistoryList(start, kPageSize, *params) : reqHistoryList(start, kPageSize);
        break;
    case kToday:
        params ? reqTodayList(start, kPageSize, *params) : reqTodayList(start, kPageSize);
        break;
    default:
        break;
    }
}

std::optional<base::Array> TradePageQueryDataBase::getDataArrayOfPage(int page) const {
    std::optional<base::Dict> entry = getPageDic(page);
    const base::Value *rows = entry ? entry->find(kRowsKey) : nullptr;
    if (!rows || !rows->array())
        return std::nullopt;
    return *rows->array();
}

void TradePageQueryDataBase::CopyFromDealData(const TradePageQueryDataBase &other) {
    m_pageDataArray.clear();
    for (const base::Value &entry : other.m_pageDataArray)
        m_pageDataArray.add(entry);
    m_isGetAllQueryData = other.m_isGetAllQueryData;
    m_currentPageNo = other.m_currentPageNo;
    m_queryType = other.m_queryType;
    m_currentStartDate = other.m_currentStartDate;
    m_currentEndDate = other.m_currentEndDate;
    m_currentPageInfo = other.m_currentPageInfo;
    m_totalNum = other.m_totalNum;
}

void TradePageQueryDataBase::initSearchVars() {
    m_currentPageNo = 0;
    m_isGetAllQueryData = false;
    m_pageDataArray.clear();
    ++m_generation;
}

void TradePageQueryDataBase::ProcRspData(const TradeRspData &rsp, const std::optional<base::Dict> &params) {
    const base::Value *generation = params ? params->find(kGenerationKey) : nullptr;
    if (generation && generation->intValue() != m_generation)
        return;
    QueryEnd();
    if (!rsp.successRsp()) {
        Util::ShowTipBox(rsp.getRspErrMsg().value_or(""));
        return;
    }
    // The reply object is refilled by the next reply: the rows kept are copies.
    std::optional<base::Array> rows = rsp.getRspArray();
    if (rows)
        rows = rows->deepCopy();
    if (!rows || !params)
        return;
    const base::Value *total = rsp.dict().find("TotalNum");
    m_totalNum = total ? std::optional(total->stringValue()) : std::nullopt;
    const base::Value *start = params->find("Start");
    const base::Value *count = params->find("Count");
    if (!start || !count)
        return;
    int page = int(start->intValue() / kPageSize);
    if (rows->empty()) {
        m_isGetAllQueryData = true;
        UpdatePage(std::max(page - 1, 0), m_totalNum);
        return;
    }
    if (int64_t(rows->size()) < count->intValue())
        m_isGetAllQueryData = true;
    getPageDicWithCreate(page)->set(kRowsKey, *rows);
    UpdatePage(page, m_totalNum);
}

void TradePageQueryDataBase::UpdatePage(int page, const std::optional<std::string> &total) {
    m_currentPageNo = page;
    std::optional<base::Array> rows = getDataArrayOfPage(page);
    std::string text;
    if (rows && !rows->empty()) {
        int first = page * kPageSize + 1;
        int last = page * kPageSize + int(rows->size());
        text = "从" + std::to_string(first) + "到" + std::to_string(last) + "条";
        if (total)
            text += "(共" + *total + "条)";
    } else {
        text = page == 0 ? "未查询到数据" : "第" + std::to_string(page + 1) + "页 未查询到数据";
    }
    m_currentPageInfo = text;
    UpdateViewWithArray(rows, text);
}

std::optional<base::Dict> TradePageQueryDataBase::getPageDicWithCreate(int page) {
    if (page < 0)
        return std::nullopt;
    while (int(m_pageDataArray.size()) <= page)
        m_pageDataArray.add(base::Dict());
    return *m_pageDataArray[size_t(page)].dict();
}

std::optional<base::Dict> TradePageQueryDataBase::getPageDic(int page) const {
    if (page < 0 || page >= int(m_pageDataArray.size()))
        return std::nullopt;
    const base::Dict *entry = m_pageDataArray[size_t(page)].dict();
    return entry ? std::optional(*entry) : std::nullopt;
}
