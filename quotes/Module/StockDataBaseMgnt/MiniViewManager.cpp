#include "Module/StockDataBaseMgnt/MiniViewManager.h"

#include "Common/TimeFunc.h"

#include <algorithm>

MiniViewManager::MiniViewManager() : m_mlineLib(base::make<MLineNetData>()) {}

void MiniViewManager::reqMinLinesWithQuotesArray(const std::vector<base::Ref<StockQuoteInf>> &records,
                                                 int fromIndex, int count, const QuoteRequester &requester,
                                                 int tag) {
    int64_t end = std::min<int64_t>(int64_t(fromIndex) + count, int64_t(records.size()));
    double now = TimeFunc::getCurTick();
    for (int64_t i = std::max(fromIndex, 0); i < end; ++i) {
        const auto &record = records[size_t(i)];
        if (!record || record->code.empty())
            continue;
        Chart &chart = m_charts[record->code];
        chart.record = record;
        if (chart.requestedAt && now - *chart.requestedAt <= RequestInterval)
            continue;
        chart.requestedAt = now;
        m_mlineLib->reqMinLine(requester, record->code, tag);
    }
}

const MiniViewManager::Chart *MiniViewManager::chart(const std::string &code) const {
    auto it = m_charts.find(code);
    return it == m_charts.end() ? nullptr : &it->second;
}
