#include "Module/StockDataBaseMgnt/MyStockQuotesData.h"

#include "Common/TimeFunc.h"
#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/SortContent.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

base::Ref<NetDataCenter> center() {
    return DataBase::sharedDataBase()->IO_NetDataCenter();
}

base::Ref<MyStockRow> rowFor(const base::Ref<StockQuoteInf> &record) {
    auto row = base::make<MyStockRow>();
    if (!record->code.empty())
        row->MarketCode = record->code;
    if (!record->name.empty())
        row->StockName = record->name;
    row->basicInf = record;
    return row;
}

} // namespace

base::Ref<MyStockQuotesData> MyStockQuotesData::create() {
    auto data = base::make<MyStockQuotesData>();
    for (auto &page : data->m_pages)
        page = base::make<MyStockQuotePack>();
    // A request lost with the connection never answers: the visible rows would never refresh again.
    base::Weak<MyStockQuotesData> weak = data;
    base::NotificationCenter::shared().addObserver(
        weak, DataBase::CommonNotify, [weak](const base::Notification &n) {
            if (auto alive = weak.lock(); alive && n.userInfo.get("HQConnectStatus").boolValue())
                alive->m_visible->isIdle = true;
        });
    return data;
}

MyStockQuotesData::~MyStockQuotesData() {
    base::NotificationCenter::shared().removeObserver(this);
}

void MyStockQuotesData::createMyStockDataArray(const base::Array &entries) {
    auto rows = m_rows.lock();
    if (!rows)
        return;
    std::map<std::string, base::Ref<StockQuoteInf>> kept;
    for (const auto &row : rows->items)
        if (row->MarketCode && row->basicInf)
            kept.emplace(*row->MarketCode, row->basicInf);
    rows->items.clear();
    for (const base::Value &value : entries) {
        const base::Dict *entry = value.dict();
        if (!entry)
            continue;
        auto row = base::make<MyStockRow>();
        base::Value codeValue = entry->get("MarketCode");
        if (const std::string *code = codeValue.string())
            row->MarketCode = *code;
        base::Value nameValue = entry->get("StockName");
        if (const std::string *name = nameValue.string())
            row->StockName = *name;
        if (auto it = row->MarketCode ? kept.find(*row->MarketCode) : kept.end(); it != kept.end()) {
            row->basicInf = it->second;
        } else {
            row->basicInf = base::make<StockQuoteInf>();
            row->basicInf->code = row->MarketCode.value_or("");
            row->basicInf->name = row->StockName.value_or("");
        }
        rows->items.push_back(row);
    }
}

void MyStockQuotesData::sendCodes(const std::vector<std::string> &codes,
                                  const base::Ref<StockQuoteList> &into, int tag,
                                  const QuoteRequester &requester) const {
    if (auto c = center())
        c->RequestPauseList(requester, extendedFieldsFlag, codes, into, tag + m_beginTag);
}

bool MyStockQuotesData::holds(const base::Ref<base::Object> &array) const {
    if (!array)
        return false;
    if (array == m_visible->rspArray || array == m_batch1 || array == m_batch2)
        return true;
    return std::any_of(m_pages.begin(), m_pages.end(),
                       [&array](const auto &page) { return page && page->rspArray == array; });
}

bool MyStockQuotesData::getPageCodes(std::vector<std::string> &codes, int page, int size) const {
    codes.clear();
    auto rows = m_rows.lock();
    if (!rows)
        return false;
    for (size_t i = size_t(page * size); i < size_t((page + 1) * size) && i < rows->items.size(); ++i)
        if (rows->items[i]->MarketCode)
            codes.push_back(*rows->items[i]->MarketCode);
    return !codes.empty();
}

void MyStockQuotesData::reqQuotesByPage(int page, const QuoteRequester &requester) {
    if (page < 0 || page >= PageCount)
        return;
    const auto &pack = m_pages[size_t(page)];
    if (pack->isLoaded || pack->isReq)
        return;
    pack->rspArray->items.clear();
    pack->isReq = true;
    std::vector<std::string> codes;
    if (getPageCodes(codes, page, PageSize))
        sendCodes(codes, pack->rspArray, PageTag + page, requester);
}

void MyStockQuotesData::prereqNextPageQuotes(double offset, double rowHeight,
                                             const QuoteRequester &requester) {
    if (offset > 65 * rowHeight)
        reqQuotesByPage(3, requester);
    else if (offset > 40 * rowHeight)
        reqQuotesByPage(2, requester);
    else if (offset > 15 * rowHeight)
        reqQuotesByPage(1, requester);
}

void MyStockQuotesData::reqVisibleQuotes(const std::vector<std::string> &codes, int startid, int ktype,
                                         const QuoteRequester &requester) {
    if (!m_visible->isIdle)
        return;
    m_visible->startid = startid;
    m_visible->isIdle = false;
    sendCodes(codes, m_visible->rspArray, VisibleTag + ktype, requester);
}

void MyStockQuotesData::reqVisibleQuotes(const std::vector<base::Ref<StockQuoteInf>> &records, int startid,
                                         int ktype, const QuoteRequester &requester) {
    const double now = TimeFunc::getCurTick();
    std::vector<std::string> codes;
    for (const auto &record : records) {
        record->updateTick = now;
        if (!record->code.empty())
            codes.push_back(record->code);
    }
    reqVisibleQuotes(codes, startid, ktype, requester);
}

std::vector<std::string> MyStockQuotesData::visibleCodes(const std::vector<int> &visibleRows,
                                                         int &first) const {
    std::vector<std::string> codes;
    auto rows = m_rows.lock();
    if (!rows)
        return codes;
    for (int index : visibleRows) {
        if (index < 0 || size_t(index) >= rows->items.size() || !rows->items[size_t(index)]->MarketCode)
            continue;
        if (codes.empty())
            first = index;
        codes.push_back(*rows->items[size_t(index)]->MarketCode);
    }
    return codes;
}

void MyStockQuotesData::reqCurScreenQuotes(const std::vector<int> &visibleRows,
                                           const QuoteRequester &requester) {
    int first = 0;
    std::vector<std::string> codes = visibleCodes(visibleRows, first);
    if (codes.empty())
        return;
    auto rows = m_rows.lock();
    double now = TimeFunc::getCurTick();
    for (int index : visibleRows)
        if (index >= 0 && size_t(index) < rows->items.size())
            rows->items[size_t(index)]->basicInf->updateTick = now;
    reqVisibleQuotes(codes, first, 0, requester);
}

bool MyStockQuotesData::reqCurScreenData(const std::vector<int> &visibleRows, QuoteRecords &result,
                                         const QuoteRequester &requester) {
    auto rows = m_rows.lock();
    if (!rows)
        return false;
    double now = TimeFunc::getCurTick();
    bool stale = false;
    size_t before = result.size();
    for (int index : visibleRows) {
        if (index < 0 || size_t(index) >= rows->items.size() || !rows->items[size_t(index)]->MarketCode)
            continue;
        const auto &record = rows->items[size_t(index)]->basicInf;
        result.push_back(record);
        stale = stale || now - record->updateTick > StaleAge;
    }
    if (result.size() > before && stale)
        reqCurScreenQuotes(visibleRows, requester);
    return stale;
}

std::optional<QuoteRecords> MyStockQuotesData::beginQuotesSort(int sortId, int sortType, int count,
                                                               const QuoteRequester &requester) {
    m_sortId = sortId;
    m_sortType = sortType;
    if (!m_allQuotesUpdateTick || TimeFunc::getCurTick() - *m_allQuotesUpdateTick > StaleAge) {
        reqAllQuotes(count, requester);
        return std::nullopt;
    }
    return sortLocalAgain();
}

void MyStockQuotesData::reqAllQuotes(int count, const QuoteRequester &requester) {
    if (count <= 0)
        return;
    std::vector<std::string> codes;
    getPageCodes(codes, 0, BatchSize);
    sendCodes(codes, m_batch1, SortBatch1Tag, requester);
    if (count > BatchSize && getPageCodes(codes, 1, BatchSize))
        sendCodes(codes, m_batch2, SortBatch2Tag, requester);
}

void MyStockQuotesData::clearPageQuotesArray() {
    for (const auto &pack : m_pages) {
        pack->rspArray->items.clear();
        pack->isReq = pack->isLoaded = false;
    }
}

int MyStockQuotesData::ProcQuotes(int tag, std::optional<QuoteRecords> &records, int &startid, int &value) {
    int t = tag - m_beginTag;
    if (t >= PageTag && t < PageTag + 100) {
        int page = t - PageTag;
        if (page >= PageCount)
            return NotMine;
        const auto &pack = m_pages[size_t(page)];
        pack->isLoaded = true;
        updateMyStockArrayQuotes(page * PageSize, pack->rspArray->items);
        records = pack->rspArray->items;
        startid = page * PageSize;
        value = page;
        return PageReply;
    }
    if (t == SortBatch1Tag || t == SortBatch2Tag) {
        records = sortAndShowMyStock(t == SortBatch1Tag);
        value = t;
        return SortReply;
    }
    if (t >= VisibleTag && t < VisibleTag + 100) {
        m_visible->isIdle = true;
        updateMyStockArrayQuotes(m_visible->startid, m_visible->rspArray->items);
        records = m_visible->rspArray->items;
        startid = m_visible->startid;
        value = t - VisibleTag;
        return VisibleReply;
    }
    return NotMine;
}

void MyStockQuotesData::updateMyStockArrayQuotes(int first, const QuoteRecords &records) {
    auto rows = m_rows.lock();
    if (!rows)
        return;
    auto &items = rows->items;
    auto matches = [&](int64_t index, const std::string &code) {
        return index >= 0 && size_t(index) < items.size() && items[size_t(index)]->MarketCode == code;
    };
    for (size_t i = 0; i < records.size(); ++i) {
        const std::string &code = records[i]->code;
        int64_t expected = int64_t(first) + int64_t(i);
        int64_t size = int64_t(items.size());
        for (int64_t step = 0; expected + step < size || expected - step - 1 >= 0; ++step) {
            if (int64_t up = expected + step; matches(up, code)) {
                items[size_t(up)]->basicInf = records[i];
                break;
            }
            if (int64_t down = expected - step - 1; matches(down, code)) {
                items[size_t(down)]->basicInf = records[i];
                break;
            }
        }
    }
}

std::optional<QuoteRecords> MyStockQuotesData::sortAndShowMyStock(bool firstBatch) {
    auto rows = m_rows.lock();
    size_t n = rows ? rows->items.size() : 0;
    if (n == 0)
        return std::nullopt;
    QuoteRecords records = m_batch1->items;
    if (n > size_t(BatchSize)) {
        if (firstBatch)
            return std::nullopt;
        records.insert(records.end(), m_batch2->items.begin(), m_batch2->items.end());
    }
    m_allQuotesUpdateTick = TimeFunc::getCurTick();
    return doSort(std::move(records));
}

QuoteRecords MyStockQuotesData::sortLocalAgain() {
    QuoteRecords records;
    if (auto rows = m_rows.lock())
        for (size_t i = 0; i < rows->items.size() && i < size_t(MaxRows); ++i)
            records.push_back(rows->items[i]->basicInf);
    return doSort(std::move(records));
}

QuoteRecords MyStockQuotesData::doSort(QuoteRecords records) {
    SortContent context;
    context.setSortId(m_sortId);
    context.setOrderStatu(m_sortType);
    context.sort(records);
    auto rows = m_rows.lock();
    if (!rows)
        return records;
    // Rows the sorted records do not cover (codes the server did not return, rows past the first
    // hundred) stay, after the sorted ones, rather than vanish from the user's list.
    std::set<std::string> codes;
    std::set<const StockQuoteInf *> sorted;
    for (const auto &record : records) {
        codes.insert(record->code);
        sorted.insert(record.get());
    }
    std::vector<base::Ref<MyStockRow>> rest;
    for (const auto &row : rows->items)
        if (!sorted.count(row->basicInf.get()) && !(row->MarketCode && codes.count(*row->MarketCode)))
            rest.push_back(row);
    rows->items.clear();
    for (const auto &record : records)
        rows->items.push_back(rowFor(record));
    rows->items.insert(rows->items.end(), rest.begin(), rest.end());
    return records;
}
