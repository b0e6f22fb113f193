#include "MiniViewManager.h"

#include "Common/TimeFunc.h"

#include <algorithm>
#include <cmath>

MiniViewManager::MiniViewManager() : m_minLineLib(base::make<MLineNetData>()) {}

base::Ref<MiniMinLineView> MiniViewManager::getMView(const std::string &code) const {
    auto it = m_mviews.find(code);
    return it == m_mviews.end() ? nullptr : it->second;
}

base::Ref<MiniMinLineView> MiniViewManager::getMViewWithCreate(const std::string &code, float height) {
    if (base::Ref<MiniMinLineView> view = getMView(code))
        return view;
    removeOldestMView();
    auto view = base::make<MiniMinLineView>(int32_t(std::trunc(height)));
    view->setCode(code);
    m_mviews[code] = view;
    return view;
}

void MiniViewManager::removeOldestMView() {
    if (int64_t(m_mviews.size()) < m_holdMiniTrendViewCount)
        return;
    const std::string *oldest = nullptr;
    double oldestTick = 0;
    for (const auto &[code, view] : m_mviews) {
        if (view->updateTick <= 0 || !view->canRemove)
            continue;
        if (!oldest || view->updateTick < oldestTick) {
            oldest = &code;
            oldestTick = view->updateTick;
        }
    }
    if (oldest)
        removeMView(std::string(*oldest));
}

void MiniViewManager::removeMView(const std::string &code) {
    m_mviews.erase(code);
    m_minLineLib->saveAndRemoveMinLine(code);
}

void MiniViewManager::reqOneMinLine(const base::Ref<StockQuoteInf> &record, const QuoteRequester &requester,
                                    int tag) {
    if (!record || record->code.empty())
        return;
    base::Ref<MiniMinLineView> view = getMViewWithCreate(record->code, ChartHeight);
    view->setBasicInf(record);
    double now = TimeFunc::getCurTick();
    // A picture never asked for is asked for at once, whatever the clock says.
    if (view->updateTick > 0 && now - view->updateTick <= RequestInterval)
        return;
    view->updateTick = now;
    m_minLineLib->reqMinLine(requester, record->code, tag);
}

void MiniViewManager::reqMinLinesWithQuotesArray(const std::vector<base::Ref<StockQuoteInf>> &records,
                                                 const QuoteRequester &requester, int tag) {
    for (const base::Ref<StockQuoteInf> &record : records)
        reqOneMinLine(record, requester, tag);
}

void MiniViewManager::reqMinLinesWithQuotesArray(const std::vector<base::Ref<StockQuoteInf>> &records,
                                                 int fromIndex, int count, const QuoteRequester &requester,
                                                 int tag) {
    int64_t end = std::min<int64_t>(int64_t(fromIndex) + count, int64_t(records.size()));
    for (int64_t i = std::max(fromIndex, 0); i < end; ++i)
        reqOneMinLine(records[size_t(i)], requester, tag);
}
